// Menus: the menu objects, the menu bar drawn in a window's non-client area, the pop-up menu
// windows (class "#32768") and the one modal tracking loop that serves pop-up menus and the bar.
#include "win/WinInternal.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>

namespace win {
using namespace detail;

namespace {

struct Item {
    UINT flags = 0;
    UINT_PTR id = 0;
    HMENU sub = nullptr;
    std::string text;
};

struct Menu {
    bool bar = false;
    std::vector<Item> items;
    std::vector<int> barWidths; // measured once per change
};

struct MenuTable {
    std::map<std::uintptr_t, std::unique_ptr<Menu>> menus;
    std::uintptr_t next = 0x20000; // handles are never used again, so a stale one names nothing
};

MenuTable& T() {
    static MenuTable t;
    return t;
}

Menu* Get(HMENU h) {
    auto it = T().menus.find(reinterpret_cast<std::uintptr_t>(h));
    return it == T().menus.end() ? nullptr : it->second.get();
}

HMENU NewMenu(bool bar) {
    auto& t = T();
    std::uintptr_t h = t.next;
    t.next += 4;
    auto m = std::make_unique<Menu>();
    m->bar = bar;
    t.menus.emplace(h, std::move(m));
    return reinterpret_cast<HMENU>(h);
}

bool IsSeparator(const Item& i) { return (i.flags & MF_SEPARATOR) != 0; }
bool IsPopup(const Item& i) { return (i.flags & MF_POPUP) && Get(i.sub); }
bool Choosable(const Item& i) { return !IsSeparator(i) && !(i.flags & (MF_GRAYED | MF_DISABLED)); }

// The item named by position or by command id (also in the pop-up menus below, as Windows
// searches), with the menu that holds it and its position there.
Item* Find(HMENU h, UINT what, UINT flags, Menu** holder = nullptr, int* index = nullptr) {
    Menu* m = Get(h);
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (what >= m->items.size()) return nullptr;
        if (holder) *holder = m;
        if (index) *index = int(what);
        return &m->items[what];
    }
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        Item& it = m->items[i];
        if (!(it.flags & MF_POPUP) && it.id == what && !IsSeparator(it)) {
            if (holder) *holder = m;
            if (index) *index = int(i);
            return &it;
        }
        if (it.flags & MF_POPUP)
            if (Item* found = Find(it.sub, what, flags, holder, index)) return found;
    }
    return nullptr;
}

Item MakeItem(UINT flags, UINT_PTR idOrPopup, const char* text) {
    Item i;
    i.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR | MF_MENUBREAK |
                       MF_MENUBARBREAK | MF_HILITE);
    if (flags & MF_POPUP) i.sub = reinterpret_cast<HMENU>(idOrPopup);
    else i.id = idOrPopup;
    if (!(flags & MF_SEPARATOR) && text) i.text = text;
    return i;
}

void Changed(Menu* m) { m->barWidths.clear(); }

// --- Measuring and drawing ------------------------------------------------------------------

// The menu font on a DC for as long as it lives.
class MenuFont {
public:
    explicit MenuFont(HDC dc) : FDC(dc ? dc : GetDC(nullptr)), FOwn(!dc) {
        FFont = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
        FOld = SelectObject(FDC, FFont);
    }
    ~MenuFont() {
        SelectObject(FDC, FOld);
        DeleteObject(FFont);
        if (FOwn) ReleaseDC(nullptr, FDC);
    }
    MenuFont(const MenuFont&) = delete;
    MenuFont& operator=(const MenuFont&) = delete;
    HDC DC() const { return FDC; }
    int Width(const std::string& s) const {
        SIZE sz;
        GetTextExtentPoint32(FDC, s.c_str(), int(s.size()), &sz);
        return sz.cx;
    }
    int Height() const {
        SIZE sz;
        GetTextExtentPoint32(FDC, "Wg", 2, &sz);
        return sz.cy;
    }

private:
    HDC FDC;
    bool FOwn;
    HFONT FFont, FOld;
};

std::string Label(const std::string& text) { return text.substr(0, text.find('\t')); }
std::string ShortcutText(const std::string& text) {
    auto tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}
std::string WithoutPrefix(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        else if (s[i] == '&') continue;
        out += s[i];
    }
    return out;
}
// The accelerator letter after a single '&', lower case; 0 when there is none.
char AccelOf(const std::string& text) {
    std::string label = Label(text);
    for (std::size_t i = 0; i + 1 < label.size(); ++i)
        if (label[i] == '&') {
            if (label[i + 1] == '&') { ++i; continue; }
            return char(std::tolower(static_cast<unsigned char>(label[i + 1])));
        }
    return 0;
}

constexpr int BarItemPad = 7;
constexpr int PopupBorder = 3;
constexpr int CheckColumn = 18;
constexpr int ArrowColumn = 17;
constexpr int ShortcutGap = 12;
constexpr int SeparatorHeight = 8;

const std::vector<int>& BarWidths(Menu* m) {
    if (m->barWidths.size() != m->items.size()) {
        MenuFont f(nullptr);
        m->barWidths.clear();
        for (auto& i : m->items)
            m->barWidths.push_back(IsSeparator(i) ? 0 : f.Width(WithoutPrefix(Label(i.text))) + 2 * BarItemPad);
    }
    return m->barWidths;
}

// The items' places on a bar of the given width, from its top-left corner, in rows.
std::vector<RECT> BarRects(Menu* m, int width) {
    const std::vector<int>& widths = BarWidths(m);
    int row = GetSystemMetrics(SM_CYMENU);
    std::vector<RECT> out;
    int x = 0, y = 0;
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        int w = widths[i];
        if (x > 0 && x + w > width) {
            x = 0;
            y += row;
        }
        out.push_back(RECT{x, y, x + w, y + row});
        x += w;
    }
    return out;
}

int ItemHeight(const MenuFont& f) { return std::max(GetSystemMetrics(SM_CYMENUCHECK) + 4, f.Height() + 4); }

struct PopupLayout {
    int width = 0, height = 0, labelWidth = 0;
    std::vector<RECT> rects; // client coordinates
};

PopupLayout LayoutPopup(Menu* m) {
    PopupLayout l;
    MenuFont f(nullptr);
    int shortcut = 0;
    for (auto& i : m->items) {
        if (IsSeparator(i)) continue;
        l.labelWidth = std::max(l.labelWidth, f.Width(WithoutPrefix(Label(i.text))));
        shortcut = std::max(shortcut, f.Width(ShortcutText(i.text)));
    }
    int inner = CheckColumn + l.labelWidth + (shortcut ? ShortcutGap + shortcut : 0) + ArrowColumn;
    l.width = std::max(inner + 2 * PopupBorder, 60);
    int y = PopupBorder, h = ItemHeight(f);
    for (auto& i : m->items) {
        int ih = IsSeparator(i) ? SeparatorHeight : h;
        l.rects.push_back(RECT{PopupBorder, y, l.width - PopupBorder, y + ih});
        y += ih;
    }
    l.height = std::max(y + PopupBorder, 2 * PopupBorder + 4);
    return l;
}

void Fill(HDC dc, RECT r, int colour) { FillRect(dc, &r, GetSysColorBrush(colour)); }

// A grey caption as disabled items show it: a highlight copy below and right of the grey one.
void DrawItemText(HDC dc, const std::string& text, RECT r, UINT format, bool grayed, bool selected, int colour) {
    if (grayed && !selected) {
        RECT e = r;
        OffsetRect(&e, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawText(dc, text.c_str(), int(text.size()), &e, format);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, GetSysColor(grayed ? COLOR_GRAYTEXT : colour));
    }
    DrawText(dc, text.c_str(), int(text.size()), &r, format);
}

void DrawCheck(HDC dc, int x, int y, COLORREF c) {
    // A tick of seven columns, three pixels thick.
    static const int rows[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k) SetPixel(dc, x + i, y + rows[i] + k, c);
}

void DrawArrow(HDC dc, int x, int y, COLORREF c) {
    for (int i = 0; i < 4; ++i)
        for (int j = -3 + i; j <= 3 - i; ++j) SetPixel(dc, x + i, y + j, c);
}

// --- Tracking -------------------------------------------------------------------------------

struct Level {
    HMENU menu = nullptr;
    HWND wnd = nullptr;
    int sel = -1;
    PopupLayout layout;
};

struct Tracker {
    HWND owner = nullptr;
    UINT flags = 0;
    bool popupMode = false; // TrackPopupMenu; otherwise the owner's bar
    HMENU bar = nullptr;
    int barSel = -1;
    std::vector<Level> levels;
    bool done = false, chosen = false;
    UINT_PTR id = 0;
    HWND capture = nullptr;
};

Tracker* Current = nullptr;

bool Notify(const Tracker& t) { return !(t.flags & TPM_NONOTIFY); }

LRESULT CALLBACK_PopupProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);

void EnsurePopupClass() {
    WNDCLASS wc;
    if (GetClassInfo(nullptr, "#32768", &wc)) return;
    wc = WNDCLASS{};
    wc.style = CS_SAVEBITS | CS_GLOBALCLASS;
    wc.lpfnWndProc = &CALLBACK_PopupProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "#32768";
    RegisterClass(&wc);
}

Level* LevelOf(HWND h) {
    if (!Current) return nullptr;
    for (auto& l : Current->levels)
        if (l.wnd == h) return &l;
    return nullptr;
}

void PaintPopup(HDC dc, const Level& l) {
    Menu* m = Get(l.menu);
    RECT all{0, 0, l.layout.width, l.layout.height};
    Fill(dc, all, COLOR_MENU);
    RECT edge = all;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    if (!m) return;
    MenuFont f(dc);
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < m->items.size() && i < l.layout.rects.size(); ++i) {
        const Item& it = m->items[i];
        RECT r = l.layout.rects[i];
        if (IsSeparator(it)) {
            int mid = (r.top + r.bottom) / 2 - 1;
            Fill(dc, RECT{r.left + 1, mid, r.right - 1, mid + 1}, COLOR_BTNSHADOW);
            Fill(dc, RECT{r.left + 1, mid + 1, r.right - 1, mid + 2}, COLOR_BTNHIGHLIGHT);
            continue;
        }
        bool selected = int(i) == l.sel;
        bool grayed = (it.flags & MF_GRAYED) != 0;
        if (selected) Fill(dc, r, COLOR_HIGHLIGHT);
        int colour = selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
        COLORREF ink = GetSysColor(grayed ? COLOR_GRAYTEXT : colour);
        if (it.flags & MF_CHECKED) DrawCheck(dc, r.left + 5, (r.top + r.bottom) / 2 - 4, ink);
        RECT label{r.left + CheckColumn, r.top, r.left + CheckColumn + l.layout.labelWidth + 2, r.bottom};
        DrawItemText(dc, Label(it.text), label, DT_SINGLELINE | DT_VCENTER | DT_LEFT, grayed, selected, colour);
        std::string sc = ShortcutText(it.text);
        if (!sc.empty()) {
            RECT sr{label.right - 2 + ShortcutGap, r.top, r.right - ArrowColumn + 4, r.bottom};
            DrawItemText(dc, sc, sr, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX, grayed, selected, colour);
        }
        if (it.flags & MF_POPUP) DrawArrow(dc, r.right - 10, (r.top + r.bottom) / 2, ink);
    }
}

LRESULT CALLBACK_PopupProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        if (Level* l = LevelOf(h)) PaintPopup(dc, *l);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case MN_GETHMENU: {
        Level* l = LevelOf(h);
        return l ? LRESULT(l->menu) : 0;
    }
    }
    return DefWindowProc(h, msg, wParam, lParam);
}

void RepaintBar(Tracker& t) {
    if (Window* w = W(t.owner)) {
        w->ncDirty |= kNcAll;
        if (Visible(w)) SendNcPaint(w);
    }
}

RECT BarOnScreen(Window* w) {
    RECT b = MenuBarRect(w);
    POINT o = WindowOrgOnScreen(w);
    OffsetRect(&b, o.x, o.y);
    return b;
}

// The screen rectangle of a bar item of a window.
bool BarItemOnScreen(Window* w, int index, RECT* out) {
    Menu* m = Get(w ? w->menu : nullptr);
    if (!m || index < 0 || index >= int(m->items.size())) return false;
    RECT bar = BarOnScreen(w);
    std::vector<RECT> rects = BarRects(m, bar.right - bar.left);
    RECT r = rects[std::size_t(index)];
    OffsetRect(&r, bar.left, bar.top);
    r.bottom = std::min(r.bottom, bar.bottom);
    *out = r;
    return true;
}

RECT ItemOnScreen(const Level& l, int index) {
    RECT w;
    GetWindowRect(l.wnd, &w);
    RECT r = l.layout.rects[std::size_t(index)];
    OffsetRect(&r, w.left, w.top);
    return r;
}

void SendSelect(Tracker& t, HMENU menu, int index) {
    if (!Notify(t)) return;
    Menu* m = Get(menu);
    if (!m || index < 0 || index >= int(m->items.size())) return;
    const Item& it = m->items[std::size_t(index)];
    UINT flags = (it.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR)) | MF_HILITE;
    UINT_PTR what = (it.flags & MF_POPUP) ? UINT_PTR(index) : it.id;
    SendMessage(t.owner, WM_MENUSELECT, MAKEWPARAM(int(what), int(flags)), LPARAM(menu));
}

void CloseLevelsFrom(Tracker& t, std::size_t from) {
    while (t.levels.size() > from) {
        HWND wnd = t.levels.back().wnd;
        t.levels.pop_back();
        if (wnd == t.capture) t.capture = nullptr;
        if (IsWindow(wnd)) DestroyWindow(wnd);
    }
}

void SelectIn(Tracker& t, std::size_t level, int index) {
    Level& l = t.levels[level];
    if (l.sel == index) return;
    l.sel = index;
    InvalidateRect(l.wnd, nullptr, TRUE);
    HMENU menu = l.menu;
    SendSelect(t, menu, index);
}

// Shows a pop-up menu: at the point (a pop-up of its own), below a bar item, or beside the
// item of the level before that opens it.
bool OpenLevel(Tracker& t, HMENU menu, int indexInParent, POINT at, const RECT* avoid, bool beside) {
    if (Notify(t))
        SendMessage(t.owner, WM_INITMENUPOPUP, WPARAM(menu), MAKELPARAM(indexInParent, IsSystemMenu(menu) ? 1 : 0));
    Menu* m = Get(menu);
    if (!m || !IsWindow(t.owner) || t.done) return false;
    Level l;
    l.menu = menu;
    l.layout = LayoutPopup(m);
    int w = l.layout.width, h = l.layout.height;
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    int x = at.x, y = at.y;
    if (!avoid && !beside) {
        if (t.flags & TPM_CENTERALIGN) x -= w / 2;
        else if (t.flags & TPM_RIGHTALIGN) x -= w;
        if (t.flags & TPM_VCENTERALIGN) y -= h / 2;
        else if (t.flags & TPM_BOTTOMALIGN) y -= h;
    }
    if (x + w > sw) x = (beside && avoid) ? avoid->left - w + PopupBorder : sw - w;
    if (y + h > sh) {
        if (avoid && !beside) y = avoid->top - h;
        else if (!avoid && !beside && !(t.flags & (TPM_VCENTERALIGN | TPM_BOTTOMALIGN))) y = at.y - h;
        else y = sh - h;
    }
    x = std::max(0, x);
    y = std::max(0, y);
    EnsurePopupClass();
    l.wnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "#32768", "", WS_POPUP, x, y, w, h, t.owner, nullptr,
                           nullptr, nullptr);
    if (!l.wnd) return false;
    t.levels.push_back(l);
    SetWindowPos(l.wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    return true;
}

int FirstSelectable(Menu* m, int from, int step) {
    int n = int(m->items.size());
    if (n == 0) return -1;
    for (int k = 0; k < n; ++k) {
        int i = ((from + step * (k + 1)) % n + n) % n;
        if (!IsSeparator(m->items[std::size_t(i)])) return i;
    }
    return -1;
}

void OpenSubmenuOf(Tracker& t, std::size_t level, bool selectFirst) {
    Level& l = t.levels[level];
    Menu* m = Get(l.menu);
    if (!m || l.sel < 0) return;
    const Item& it = m->items[std::size_t(l.sel)];
    if (!IsPopup(it) || (it.flags & (MF_GRAYED | MF_DISABLED))) return;
    if (t.levels.size() > level + 1 && t.levels[level + 1].menu == it.sub) return;
    CloseLevelsFrom(t, level + 1);
    RECT r = ItemOnScreen(l, l.sel);
    RECT wr;
    GetWindowRect(l.wnd, &wr);
    RECT parent{wr.left, r.top, wr.right, r.bottom};
    HMENU sub = it.sub;
    if (!OpenLevel(t, sub, l.sel, POINT{wr.right - PopupBorder, r.top - PopupBorder}, &parent, true)) return;
    if (selectFirst)
        if (Menu* sm = Get(sub)) SelectIn(t, t.levels.size() - 1, FirstSelectable(sm, -1, 1));
}

void SelectBar(Tracker& t, int index, bool open, bool selectFirst) {
    Menu* bar = Get(t.bar);
    if (!bar || index < 0 || index >= int(bar->items.size())) return;
    bool wasOpen = !t.levels.empty() && t.barSel == index;
    if (t.barSel != index || !open) CloseLevelsFrom(t, 0);
    if (t.barSel != index) {
        t.barSel = index;
        SendSelect(t, t.bar, index);
    }
    RepaintBar(t);
    if (!open || wasOpen) return;
    const Item& it = bar->items[std::size_t(index)];
    if (!IsPopup(it) || (it.flags & (MF_GRAYED | MF_DISABLED))) return;
    RECT r;
    if (!BarItemOnScreen(W(t.owner), index, &r)) return;
    HMENU sub = it.sub;
    if (!OpenLevel(t, sub, index, POINT{r.left, r.bottom}, &r, false)) return;
    RepaintBar(t);
    if (selectFirst)
        if (Menu* sm = Get(sub)) SelectIn(t, 0, FirstSelectable(sm, -1, 1));
}

void Choose(Tracker& t, UINT_PTR id) {
    t.id = id;
    t.chosen = true;
    t.done = true;
}

// Enter on the selection, or a click on it: opens its menu or chooses it.
void Activate(Tracker& t) {
    if (t.levels.empty()) {
        Menu* bar = Get(t.bar);
        if (!bar || t.barSel < 0) return;
        const Item& it = bar->items[std::size_t(t.barSel)];
        if (IsPopup(it)) SelectBar(t, t.barSel, true, true);
        else if (Choosable(it)) Choose(t, it.id);
        return;
    }
    std::size_t level = t.levels.size() - 1;
    Level& l = t.levels[level];
    Menu* m = Get(l.menu);
    if (!m || l.sel < 0) return;
    const Item& it = m->items[std::size_t(l.sel)];
    if (IsPopup(it)) OpenSubmenuOf(t, level, true);
    else if (Choosable(it)) Choose(t, it.id);
}

// Where a screen point falls: a level's item (level, index), the bar's item (-1, index), or
// outside everything (-2).
std::pair<int, int> HitTest(Tracker& t, POINT p) {
    for (int k = int(t.levels.size()) - 1; k >= 0; --k) {
        Level& l = t.levels[std::size_t(k)];
        RECT wr;
        GetWindowRect(l.wnd, &wr);
        if (!PtInRect(&wr, p)) continue;
        for (std::size_t i = 0; i < l.layout.rects.size(); ++i) {
            RECT r = ItemOnScreen(l, int(i));
            if (PtInRect(&r, p)) return {k, int(i)};
        }
        return {k, -1};
    }
    if (!t.popupMode)
        if (Menu* bar = Get(t.bar))
            for (std::size_t i = 0; i < bar->items.size(); ++i) {
                RECT r;
                if (BarItemOnScreen(W(t.owner), int(i), &r) && PtInRect(&r, p)) return {-1, int(i)};
            }
    return {-2, -1};
}

enum class TMouse { Move, Down, Up };

void OnMouse(Tracker& t, TMouse kind, bool chooses, POINT p) {
    auto [level, index] = HitTest(t, p);
    if (level >= 0) {
        std::size_t lv = std::size_t(level);
        if (index < 0) return;
        if (t.levels[lv].sel != index) {
            CloseLevelsFrom(t, lv + 1);
            SelectIn(t, lv, index);
        }
        OpenSubmenuOf(t, lv, false);
        if (kind == TMouse::Up && chooses) {
            Menu* m = Get(t.levels[lv].menu);
            const Item& it = m->items[std::size_t(index)];
            if (!IsPopup(it) && Choosable(it)) Choose(t, it.id);
        }
        return;
    }
    if (level == -1) {
        Menu* bar = Get(t.bar);
        const Item& it = bar->items[std::size_t(index)];
        if (kind == TMouse::Down) {
            if (index == t.barSel && !t.levels.empty()) t.done = true; // a second press closes it
            else SelectBar(t, index, true, false);
        } else if (kind == TMouse::Move) {
            if (index != t.barSel && !t.levels.empty()) SelectBar(t, index, true, false);
        } else if (chooses && !IsPopup(it) && index == t.barSel && Choosable(it)) {
            Choose(t, it.id);
        }
        return;
    }
    if (kind == TMouse::Down) t.done = true; // a press outside ends it without a choice
}

void OnChar(Tracker& t, char c) {
    HMENU target = t.levels.empty() ? t.bar : t.levels.back().menu;
    Menu* m = Get(target);
    if (!m) return;
    char lc = char(std::tolower(static_cast<unsigned char>(c)));
    std::vector<int> hits;
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (!IsSeparator(m->items[i]) && AccelOf(m->items[i].text) == lc) hits.push_back(int(i));
    if (hits.empty()) {
        MessageBeep(0);
        return;
    }
    int current = t.levels.empty() ? t.barSel : t.levels.back().sel;
    if (hits.size() > 1) {
        // Several items share the letter: each press selects the next of them.
        auto next = std::upper_bound(hits.begin(), hits.end(), current);
        int to = next == hits.end() ? hits.front() : *next;
        if (t.levels.empty()) SelectBar(t, to, false, false);
        else SelectIn(t, t.levels.size() - 1, to);
        return;
    }
    if (t.levels.empty()) SelectBar(t, hits[0], false, false);
    else SelectIn(t, t.levels.size() - 1, hits[0]);
    Activate(t);
}

void OnKey(Tracker& t, UINT vk) {
    switch (vk) {
    case VK_ESCAPE:
        if (t.levels.size() > (t.popupMode ? 1u : 0u)) {
            CloseLevelsFrom(t, t.levels.size() - 1);
            RepaintBar(t);
        } else {
            t.done = true;
        }
        return;
    case VK_MENU:
    case VK_F10: t.done = true; return;
    case VK_UP:
    case VK_DOWN: {
        if (t.levels.empty()) {
            if (vk == VK_DOWN) SelectBar(t, t.barSel, true, true);
            return;
        }
        std::size_t level = t.levels.size() - 1;
        Menu* m = Get(t.levels[level].menu);
        if (!m) return;
        int from = t.levels[level].sel;
        if (from < 0 && vk == VK_UP) from = 0;
        SelectIn(t, level, FirstSelectable(m, from, vk == VK_DOWN ? 1 : -1));
        return;
    }
    case VK_LEFT:
    case VK_RIGHT: {
        if (vk == VK_LEFT && t.levels.size() > 1) {
            CloseLevelsFrom(t, t.levels.size() - 1);
            return;
        }
        if (vk == VK_RIGHT && !t.levels.empty()) {
            Level& l = t.levels.back();
            Menu* m = Get(l.menu);
            if (m && l.sel >= 0 && IsPopup(m->items[std::size_t(l.sel)])) {
                OpenSubmenuOf(t, t.levels.size() - 1, true);
                return;
            }
        }
        if (t.popupMode) return;
        Menu* bar = Get(t.bar);
        if (!bar) return;
        int to = FirstSelectable(bar, t.barSel, vk == VK_RIGHT ? 1 : -1);
        bool open = !t.levels.empty();
        if (to >= 0) {
            if (to == t.barSel) return;
            SelectBar(t, to, open, open);
        }
        return;
    }
    case VK_RETURN: Activate(t); return;
    }
}

bool IsMouse(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

void HandleMouse(Tracker& t, const MSG& m) {
    UINT msg = m.message >= WM_NCMOUSEMOVE && m.message <= WM_NCMBUTTONDBLCLK ? m.message - WM_NCMOUSEMOVE + WM_MOUSEMOVE
                                                                               : m.message;
    POINT p = m.pt;
    switch (msg) {
    case WM_MOUSEMOVE: OnMouse(t, TMouse::Move, false, p); break;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
        OnMouse(t, TMouse::Down, false, p);
        break;
    case WM_LBUTTONUP: OnMouse(t, TMouse::Up, true, p); break;
    case WM_RBUTTONUP: OnMouse(t, TMouse::Up, t.popupMode ? (t.flags & TPM_RIGHTBUTTON) != 0 : false, p); break;
    default: break;
    }
}

bool StillThere(Tracker& t) {
    if (!IsWindow(t.owner)) return false;
    if (!t.popupMode && (!Get(t.bar) || !W(t.owner) || W(t.owner)->menu != t.bar)) return false;
    for (auto& l : t.levels)
        if (!Get(l.menu) || !IsWindow(l.wnd)) return false;
    return true;
}

// Puts everything back as it was before the loop; notifications only when the loop ended well.
void Finish(Tracker& t, bool notify) {
    CloseLevelsFrom(t, 0);
    t.barSel = -1;
    if (t.capture && GetCapture() == t.capture) ReleaseCapture();
    RepaintBar(t);
    Current = nullptr;
    if (notify && IsWindow(t.owner) && Notify(t)) {
        SendMessage(t.owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(t.owner, WM_EXITMENULOOP, t.popupMode ? TRUE : FALSE, 0);
    }
}

void RunLoop(Tracker& t) {
    rtl::TScopeExit unwind([&t] { Finish(t, false); });
    while (!t.done) {
        if (!StillThere(t)) break;
        if (!t.capture || GetCapture() != t.capture) {
            t.capture = t.levels.empty() ? t.owner : t.levels.front().wnd;
            SetCapture(t.capture);
        }
        MSG m;
        if (!GetMessage(&m, nullptr, 0, 0)) {
            PostQuitMessage(int(m.wParam));
            break;
        }
        if (IsMouse(m.message)) {
            HandleMouse(t, m);
        } else if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
            TranslateMessage(&m);
            OnKey(t, UINT(m.wParam));
        } else if (m.message == WM_CHAR || m.message == WM_SYSCHAR) {
            OnChar(t, char(m.wParam));
        } else if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) {
            // taken by the menu
        } else {
            DispatchMessage(&m);
        }
    }
    unwind.Dismiss();
    Finish(t, true);
}

} // namespace

namespace detail {

int MenuBarHeight(const Window* w, int width) {
    if (!w || (w->style & WS_CHILD)) return 0;
    Menu* m = Get(w->menu);
    if (!m) return 0;
    std::vector<RECT> rects = BarRects(m, width);
    int row = GetSystemMetrics(SM_CYMENU);
    return rects.empty() ? row : rects.back().bottom;
}

void PaintMenuBar(Window* w, HDC dc, RECT bar) {
    Menu* m = Get(w->menu);
    if (!m || IsRectEmpty(&bar)) return;
    Fill(dc, bar, COLOR_MENU);
    MenuFont f(dc);
    SetBkMode(dc, TRANSPARENT);
    std::vector<RECT> rects = BarRects(m, bar.right - bar.left);
    bool mine = Current && !Current->popupMode && Current->owner == w->handle;
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        const Item& it = m->items[i];
        if (IsSeparator(it)) continue;
        RECT r = rects[i];
        OffsetRect(&r, bar.left, bar.top);
        if (r.bottom > bar.bottom) break;
        bool selected = mine && Current->barSel == int(i);
        if (selected) {
            RECT e = r;
            DrawEdge(dc, &e, Current->levels.empty() ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
        }
        RECT tr = r;
        if (selected && !Current->levels.empty()) OffsetRect(&tr, 1, 1);
        DrawItemText(dc, Label(it.text), tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER, (it.flags & MF_GRAYED) != 0,
                     false, COLOR_MENUTEXT);
    }
}

void TrackMenuBar(Window* w, POINT screen, int key, bool byMouse) {
    if (Current || !w || !Get(w->menu)) {
        if (!byMouse && key) MessageBeep(0);
        return;
    }
    Tracker t;
    t.owner = w->handle;
    t.bar = w->menu;
    Menu* bar = Get(t.bar);
    int start = -1;
    if (byMouse) {
        for (std::size_t i = 0; i < bar->items.size() && start < 0; ++i) {
            RECT r;
            if (BarItemOnScreen(w, int(i), &r) && PtInRect(&r, screen)) start = int(i);
        }
    } else if (key) {
        char lc = char(std::tolower(key & 0xFF));
        for (std::size_t i = 0; i < bar->items.size() && start < 0; ++i)
            if (!IsSeparator(bar->items[i]) && AccelOf(bar->items[i].text) == lc) start = int(i);
        if (start < 0) {
            MessageBeep(0);
            return;
        }
    } else {
        start = FirstSelectable(bar, -1, 1);
    }
    if (start < 0) return;
    Current = &t;
    {
        rtl::TScopeExit unwind([&t] { Finish(t, false); });
        SendMessage(t.owner, WM_ENTERMENULOOP, FALSE, 0);
        SendMessage(t.owner, WM_INITMENU, WPARAM(t.bar), 0);
        if (StillThere(t)) {
            // A letter opens its menu with the first item selected; the mouse opens it bare;
            // Alt or F10 alone only selects the first menu on the bar.
            if (byMouse) SelectBar(t, start, true, false);
            else if (key) {
                SelectBar(t, start, false, false);
                Activate(t);
            } else SelectBar(t, start, false, false);
        }
        unwind.Dismiss();
    }
    RunLoop(t);
    if (t.chosen) PostMessage(t.owner, WM_COMMAND, MAKEWPARAM(int(t.id), 0), 0);
}

void ResetMenus() {
    Current = nullptr;
    T().menus.clear();
}

} // namespace detail

HMENU CreateMenu() { return NewMenu(true); }
HMENU CreatePopupMenu() { return NewMenu(false); }

BOOL DestroyMenu(HMENU h) {
    Menu* m = Get(h);
    if (!m) return FALSE;
    std::vector<HMENU> subs;
    for (auto& i : m->items)
        if (i.flags & MF_POPUP) subs.push_back(i.sub);
    T().menus.erase(reinterpret_cast<std::uintptr_t>(h));
    for (HMENU s : subs) DestroyMenu(s);
    return TRUE;
}

BOOL IsMenu(HMENU h) { return Get(h) ? TRUE : FALSE; }

BOOL AppendMenu(HMENU h, UINT flags, UINT_PTR idOrPopup, const char* text) {
    return InsertMenu(h, UINT(-1), flags | MF_BYPOSITION, idOrPopup, text);
}

BOOL InsertMenu(HMENU h, UINT position, UINT flags, UINT_PTR idOrPopup, const char* text) {
    Menu* m = Get(h);
    if (!m) return FALSE;
    if ((flags & MF_POPUP) && (!Get(reinterpret_cast<HMENU>(idOrPopup)) || reinterpret_cast<HMENU>(idOrPopup) == h))
        return FALSE;
    Item item = MakeItem(flags, idOrPopup, text);
    Menu* holder = m;
    int at = int(m->items.size());
    if (flags & MF_BYPOSITION) {
        if (position < m->items.size()) at = int(position);
    } else if (!Find(h, position, MF_BYCOMMAND, &holder, &at)) {
        holder = m;
        at = int(m->items.size());
    }
    holder->items.insert(holder->items.begin() + at, item);
    Changed(holder);
    return TRUE;
}

BOOL ModifyMenu(HMENU h, UINT position, UINT flags, UINT_PTR idOrPopup, const char* text) {
    Menu* holder = nullptr;
    Item* it = Find(h, position, flags, &holder);
    if (!it) return FALSE;
    if ((flags & MF_POPUP) && !Get(reinterpret_cast<HMENU>(idOrPopup))) return FALSE;
    HMENU oldSub = (it->flags & MF_POPUP) ? it->sub : nullptr;
    *it = MakeItem(flags, idOrPopup, text);
    if (oldSub && oldSub != it->sub) DestroyMenu(oldSub);
    Changed(holder);
    return TRUE;
}

namespace {
BOOL TakeOut(HMENU h, UINT position, UINT flags, bool destroy) {
    Menu* holder = nullptr;
    int index = -1;
    if (!Find(h, position, flags, &holder, &index)) return FALSE;
    Item gone = holder->items[std::size_t(index)];
    holder->items.erase(holder->items.begin() + index);
    Changed(holder);
    if (destroy && (gone.flags & MF_POPUP)) DestroyMenu(gone.sub);
    return TRUE;
}
} // namespace

BOOL DeleteMenu(HMENU h, UINT position, UINT flags) { return TakeOut(h, position, flags, true); }
BOOL RemoveMenu(HMENU h, UINT position, UINT flags) { return TakeOut(h, position, flags, false); }

UINT EnableMenuItem(HMENU h, UINT what, UINT enable) {
    Item* it = Find(h, what, enable);
    if (!it) return UINT(-1);
    UINT was = it->flags & (MF_GRAYED | MF_DISABLED);
    it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return was;
}

DWORD CheckMenuItem(HMENU h, UINT what, UINT check) {
    Item* it = Find(h, what, check);
    if (!it) return DWORD(-1);
    DWORD was = it->flags & MF_CHECKED;
    it->flags = (it->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return was;
}

int GetMenuItemCount(HMENU h) {
    Menu* m = Get(h);
    return m ? int(m->items.size()) : -1;
}

HMENU GetSubMenu(HMENU h, int position) {
    Menu* m = Get(h);
    if (!m || position < 0 || position >= int(m->items.size())) return nullptr;
    const Item& it = m->items[std::size_t(position)];
    return (it.flags & MF_POPUP) ? it.sub : nullptr;
}

UINT GetMenuItemID(HMENU h, int position) {
    Menu* m = Get(h);
    if (!m || position < 0 || position >= int(m->items.size())) return UINT(-1);
    const Item& it = m->items[std::size_t(position)];
    return (it.flags & MF_POPUP) ? UINT(-1) : UINT(it.id);
}

UINT GetMenuState(HMENU h, UINT what, UINT flags) {
    Item* it = Find(h, what, flags);
    if (!it) return UINT(-1);
    UINT state = it->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR | MF_HILITE);
    if (it->flags & MF_POPUP)
        if (Menu* sub = Get(it->sub)) state |= UINT(sub->items.size()) << 8;
    return state;
}

int GetMenuString(HMENU h, UINT what, char* buffer, int maxCount, UINT flags) {
    Item* it = Find(h, what, flags);
    if (!it) return 0;
    if (!buffer || maxCount <= 0) return int(it->text.size());
    return int(CopyToBuffer(it->text, buffer, std::size_t(maxCount)));
}

std::string GetMenuString(HMENU h, UINT what, UINT flags) {
    Item* it = Find(h, what, flags);
    return it ? it->text : std::string();
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
    Window* w = W(hwnd);
    if (!w || (w->style & WS_CHILD)) return FALSE;
    if (menu && !Get(menu)) return FALSE;
    if (w->menu == menu) return TRUE;
    w->menu = menu;
    RecalcClient(w, true);
    if ((w = W(hwnd))) w->ncDirty |= kNcAll;
    return TRUE;
}

HMENU GetMenu(HWND hwnd) {
    Window* w = W(hwnd);
    return w && !(w->style & WS_CHILD) && Get(w->menu) ? w->menu : nullptr;
}

BOOL DrawMenuBar(HWND hwnd) {
    Window* w = W(hwnd);
    if (!w || !Get(w->menu)) return FALSE;
    RecalcClient(w, true);
    if ((w = W(hwnd))) w->ncDirty |= kNcAll;
    return TRUE;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect) {
    if (!rect) return FALSE;
    Window* w = W(hwnd);
    if (w && w->menu == menu && Get(menu)) return BarItemOnScreen(w, int(position), rect) ? TRUE : FALSE;
    if (Current)
        for (auto& l : Current->levels)
            if (l.menu == menu && position < l.layout.rects.size()) {
                *rect = ItemOnScreen(l, int(position));
                return TRUE;
            }
    return FALSE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
    if (Current || !Get(menu) || !IsWindow(hwnd)) return FALSE;
    Tracker t;
    t.owner = hwnd;
    t.flags = flags;
    t.popupMode = true;
    Current = &t;
    {
        rtl::TScopeExit unwind([&t] { Finish(t, false); });
        if (Notify(t)) SendMessage(hwnd, WM_ENTERMENULOOP, TRUE, 0);
        bool opened = StillThere(t) && OpenLevel(t, menu, 0, POINT{x, y}, nullptr, false);
        unwind.Dismiss();
        if (!opened) {
            Finish(t, true);
            return FALSE;
        }
    }
    RunLoop(t);
    if (flags & TPM_RETURNCMD) return t.chosen ? BOOL(t.id) : 0;
    if (t.chosen && IsWindow(hwnd)) PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(int(t.id), 0), 0);
    return TRUE;
}

BOOL EndMenu() {
    if (!Current) return FALSE;
    Current->done = true;
    return TRUE;
}

} // namespace win
