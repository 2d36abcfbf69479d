// Window frames: the caption's icon and buttons, the system menu, the move and size loop,
// minimized and maximized places, context help and the screen's work area.
#include "win/WinInternal.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>
#include <set>

namespace win {
using namespace detail;

namespace {

bool Captioned(const Window* w) { return (w->style & WS_CAPTION) == WS_CAPTION; }
bool HasSysMenu(const Window* w) { return Captioned(w) && (w->style & WS_SYSMENU); }
bool IsTool(const Window* w) { return (w->exStyle & WS_EX_TOOLWINDOW) != 0; }
bool HasMinMax(const Window* w) {
    return HasSysMenu(w) && !IsTool(w) && (w->style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}
bool HasHelp(const Window* w) { return HasSysMenu(w) && !IsTool(w) && (w->exStyle & WS_EX_CONTEXTHELP) && !HasMinMax(w); }
// Dialog frames and tool windows show no icon, though they have a system menu.
bool HasIcon(const Window* w) { return HasSysMenu(w) && !IsTool(w) && !(w->exStyle & WS_EX_DLGMODALFRAME); }
// A fixed frame without boxes has the short system menu.
bool ShortMenu(const Window* w) { return !(w->style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)); }

std::set<HMENU>& SystemMenus() {
    static std::set<HMENU> menus;
    return menus;
}

bool CloseGreyed(const Window* w) {
    if (w->cls && (w->cls->wc.style & CS_NOCLOSE)) return true;
    if (!w->sysMenu) return false;
    UINT state = GetMenuState(w->sysMenu, SC_CLOSE, MF_BYCOMMAND);
    return state == UINT(-1) || (state & (MF_GRAYED | MF_DISABLED));
}

bool ButtonGreyed(const Window* w, int ht) {
    switch (ht) {
    case HTCLOSE: return CloseGreyed(w);
    case HTMINBUTTON: return !(w->style & WS_MINIMIZEBOX);
    case HTMAXBUTTON: return !(w->style & WS_MAXIMIZEBOX);
    }
    return false;
}

struct CaptionParts {
    RECT icon{}, help{}, min{}, max{}, close{};
};

// Buttons are 2 pixels narrower and 4 lower than the caption, 2 from its top and right edge;
// maximize sits 2 pixels left of close, minimize against maximize.
CaptionParts CaptionLayout(const Window* w, RECT cap) {
    CaptionParts p;
    if (!HasSysMenu(w) || RectEmpty(cap)) return p;
    int bh = cap.bottom - cap.top - 4, bw = bh + 2, top = cap.top + 2;
    p.close = RECT{cap.right - 2 - bw, top, cap.right - 2, top + bh};
    int right = p.close.left - 2;
    if (HasMinMax(w)) {
        p.max = RECT{right - bw, top, right, top + bh};
        p.min = RECT{p.max.left - bw, top, p.max.left, top + bh};
    } else if (HasHelp(w)) {
        p.help = RECT{right - bw, top, right, top + bh};
    }
    if (HasIcon(w)) p.icon = RECT{cap.left + 1, cap.top + 1, cap.left + 17, cap.top + 17};
    return p;
}

// --- Painting -------------------------------------------------------------------------------

struct Glyph {
    int dx, dy; // from the button's top-left corner, unpressed
    std::vector<const char*> rows;
};

// The pictures of a 16 x 14 caption button and of a tool window's 12 x 10 close box.
const Glyph kClose{4, 3, {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##"}};
const Glyph kSmallClose{3, 2, {"##..##", ".####.", "..##..", ".####.", "##..##"}};
const Glyph kMinimize{4, 9, {"######", "######"}};
const Glyph kMaximize{3, 2, {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
                             "#.......#", "#########"}};
const Glyph kRestore{3, 2, {"..######", "..######", "..#....#", "######.#", "######.#", "#....###", "#....#..",
                            "#....#..", "######.."}};
const Glyph kHelp{5, 2, {".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..", "..##.."}};

void FillPix(HDC dc, int l, int t, int r, int b, int colour) {
    RECT rc{l, t, r, b};
    FillRect(dc, &rc, GetSysColorBrush(colour));
}

void DrawGlyph(HDC dc, int x, int y, const Glyph& g, COLORREF c) {
    for (std::size_t row = 0; row < g.rows.size(); ++row)
        for (int col = 0; g.rows[row][col]; ++col)
            if (g.rows[row][col] == '#') SetPixel(dc, x + g.dx + col, y + g.dy + int(row), c);
}

void PaintButton(HDC dc, RECT r, const Glyph& g, bool pushed, bool greyed) {
    int l = r.left, t = r.top, rr = r.right, b = r.bottom;
    FillPix(dc, l, t, rr, b, COLOR_BTNFACE);
    // Two edges, outer then inner: raised, or sunk with the colours the other way round.
    const int raised[4] = {COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW};
    const int sunk[4] = {COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DLIGHT};
    const int* c = pushed ? sunk : raised;
    for (int i = 0; i < 2; ++i) {
        int topLeft = c[2 * i], bottomRight = c[2 * i + 1];
        FillPix(dc, l + i, t + i, rr - i, t + i + 1, topLeft);
        FillPix(dc, l + i, t + i, l + i + 1, b - i, topLeft);
        FillPix(dc, l + i, b - i - 1, rr - i, b - i, bottomRight);
        FillPix(dc, rr - i - 1, t + i, rr - i, b - i, bottomRight);
    }
    int x = l + (pushed ? 1 : 0), y = t + (pushed ? 1 : 0);
    if (greyed) {
        DrawGlyph(dc, x + 1, y + 1, g, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawGlyph(dc, x, y, g, GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawGlyph(dc, x, y, g, GetSysColor(COLOR_BTNTEXT));
    }
}

// The picture of a window without an icon of its own: a small window.
void PaintDefaultIcon(HDC dc, RECT r) {
    FillPix(dc, r.left + 1, r.top + 2, r.right - 1, r.bottom - 2, COLOR_WINDOWFRAME);
    FillPix(dc, r.left + 2, r.top + 3, r.right - 2, r.top + 6, COLOR_ACTIVECAPTION);
    FillPix(dc, r.left + 2, r.top + 7, r.right - 2, r.bottom - 3, COLOR_WINDOW);
}

} // namespace

namespace detail {

void PaintCaption(Window* w, HDC dc, RECT cap) {
    bool active = GetActiveWindow() == w->handle;
    RECT bg = cap;
    FillRect(dc, &bg, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    CaptionParts p = CaptionLayout(w, cap);
    RECT text = cap;
    text.left += 4;
    if (!RectEmpty(p.icon)) {
        HICON icon = w->cls ? w->cls->wc.hIcon : nullptr;
        if (!icon || !DrawIconEx(dc, p.icon.left, p.icon.top, icon, 16, 16, 0, nullptr, DI_NORMAL))
            PaintDefaultIcon(dc, p.icon);
        text.left = p.icon.right + 2;
    }
    bool small = IsTool(w);
    struct {
        RECT r;
        int ht;
        const Glyph* g;
    } buttons[] = {
        {p.help, HTHELP, &kHelp},
        {p.min, HTMINBUTTON, w->iconic ? &kRestore : &kMinimize},
        {p.max, HTMAXBUTTON, w->zoomed ? &kRestore : &kMaximize},
        {p.close, HTCLOSE, small ? &kSmallClose : &kClose},
    };
    for (auto& b : buttons) {
        if (RectEmpty(b.r)) continue;
        PaintButton(dc, b.r, *b.g, w->pushed == b.ht, ButtonGreyed(w, b.ht));
        text.right = std::min(text.right, b.r.left - 2);
    }
    HFONT font = CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    if (text.right > text.left)
        DrawText(dc, w->text.c_str(), int(w->text.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    DeleteObject(font);
}

int CaptionHitTest(const Window* w, RECT cap, POINT p) {
    CaptionParts parts = CaptionLayout(w, cap);
    if (PtInRect(&parts.icon, p)) return HTSYSMENU;
    if (PtInRect(&parts.close, p)) return HTCLOSE;
    if (PtInRect(&parts.max, p)) return HTMAXBUTTON;
    if (PtInRect(&parts.min, p)) return HTMINBUTTON;
    if (PtInRect(&parts.help, p)) return HTHELP;
    return HTCAPTION;
}

bool IsSystemMenu(HMENU menu) { return menu && SystemMenus().count(menu) != 0; }

void FrameWindowGone(Window* w) {
    if (!w->sysMenu) return;
    SystemMenus().erase(w->sysMenu);
    DestroyMenu(w->sysMenu);
    w->sysMenu = nullptr;
}

} // namespace detail

// --- The system menu ------------------------------------------------------------------------

HMENU GetSystemMenu(HWND h, BOOL revert) {
    Window* w = W(h);
    if (!w || !(w->style & WS_SYSMENU)) return nullptr;
    if (revert) {
        FrameWindowGone(w);
        return nullptr;
    }
    if (!w->sysMenu || !IsMenu(w->sysMenu)) {
        HMENU m = CreatePopupMenu();
        if (ShortMenu(w)) {
            AppendMenu(m, MF_STRING, SC_MOVE, "&Move");
            AppendMenu(m, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
        } else {
            AppendMenu(m, MF_STRING, SC_RESTORE, "&Restore");
            AppendMenu(m, MF_STRING, SC_MOVE, "&Move");
            AppendMenu(m, MF_STRING, SC_SIZE, "&Size");
            AppendMenu(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
            AppendMenu(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
            AppendMenu(m, MF_SEPARATOR, 0, nullptr);
            AppendMenu(m, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
        }
        w->sysMenu = m;
        SystemMenus().insert(m);
    }
    return w->sysMenu;
}

namespace {

// The items that do not apply now are greyed each time the menu opens; Close keeps the state
// the program gave it.
void UpdateSystemMenu(Window* w) {
    HMENU m = w->sysMenu;
    auto set = [&](UINT id, bool on) { EnableMenuItem(m, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    bool sizeable = (w->style & WS_THICKFRAME) != 0;
    set(SC_RESTORE, w->iconic || w->zoomed);
    set(SC_MOVE, !w->zoomed);
    set(SC_SIZE, sizeable && !w->iconic && !w->zoomed);
    set(SC_MINIMIZE, (w->style & WS_MINIMIZEBOX) && !w->iconic);
    set(SC_MAXIMIZE, (w->style & WS_MAXIMIZEBOX) && !w->zoomed);
    if (w->cls && (w->cls->wc.style & CS_NOCLOSE)) set(SC_CLOSE, false);
}

void ShowSystemMenu(Window* w, POINT at, UINT flags) {
    HWND h = w->handle;
    HMENU m = GetSystemMenu(h, FALSE);
    if (!m) return;
    UpdateSystemMenu(w);
    SendMessage(h, WM_INITMENU, WPARAM(m), 0);
    if (!IsMenu(m) || !W(h)) return;
    UINT cmd = UINT(TrackPopupMenu(m, flags | TPM_RETURNCMD, at.x, at.y, 0, h, nullptr));
    if (cmd && W(h)) SendMessage(h, WM_SYSCOMMAND, cmd, 0);
}

// Below the icon, where the keyboard and the icon open it.
POINT SystemMenuPoint(const Window* w) {
    NcLayout l = Layout(w);
    POINT o = WindowOrgOnScreen(w);
    return POINT{o.x + l.caption.left, o.y + l.caption.bottom};
}

// --- Caption buttons ------------------------------------------------------------------------

void ShowPushed(HWND h, int ht) {
    Window* w = W(h);
    if (!w || w->pushed == ht) return;
    w->pushed = ht;
    SendMessage(h, WM_NCPAINT, 1, 0);
}

UINT CommandOf(const Window* w, int ht) {
    switch (ht) {
    case HTCLOSE: return SC_CLOSE;
    case HTMINBUTTON: return w->iconic ? SC_RESTORE : SC_MINIMIZE;
    case HTMAXBUTTON: return w->zoomed ? SC_RESTORE : SC_MAXIMIZE;
    case HTHELP: return SC_CONTEXTHELP;
    }
    return 0;
}

// The button shows pushed while the mouse is over it; letting go there gives its command.
void TrackCaptionButton(Window* w, int ht, POINT pt) {
    if (ButtonGreyed(w, ht)) return;
    HWND h = w->handle;
    ShowPushed(h, ht);
    SetCapture(h);
    bool over = true;
    MSG m;
    {
        rtl::TScopeExit release([h] {
            if (GetCapture() == h) ReleaseCapture();
            ShowPushed(h, HTNOWHERE);
        });
        while (GetMessage(&m, nullptr, 0, 0)) {
            if (!W(h)) return;
            if (GetCapture() != h) {
                over = false;
                break;
            }
            if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
                over = SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(m.pt.x, m.pt.y)) == ht;
                if (!W(h)) return;
                ShowPushed(h, over ? ht : HTNOWHERE);
                pt = m.pt;
                if (m.message == WM_LBUTTONUP) break;
                continue;
            }
            if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) continue;
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }
    if (over && (w = W(h))) SendMessage(h, WM_SYSCOMMAND, CommandOf(w, ht), MAKELPARAM(pt.x, pt.y));
}

// --- Moving and sizing ----------------------------------------------------------------------

constexpr int KeyStep = 8;

bool Moves(int edge, int side) {
    switch (side) {
    case HTLEFT: return edge == HTLEFT || edge == HTTOPLEFT || edge == HTBOTTOMLEFT;
    case HTRIGHT: return edge == HTRIGHT || edge == HTTOPRIGHT || edge == HTBOTTOMRIGHT;
    case HTTOP: return edge == HTTOP || edge == HTTOPLEFT || edge == HTTOPRIGHT;
    case HTBOTTOM: return edge == HTBOTTOM || edge == HTBOTTOMLEFT || edge == HTBOTTOMRIGHT;
    }
    return false;
}

// A side chosen by the keyboard turns into a corner with the arrow across it.
int EdgeForKey(int edge, UINT vk) {
    int side = vk == VK_LEFT ? HTLEFT : vk == VK_RIGHT ? HTRIGHT : vk == VK_UP ? HTTOP : HTBOTTOM;
    bool horizontal = side == HTLEFT || side == HTRIGHT;
    if (edge == HTNOWHERE) return side;
    if ((edge == HTTOP || edge == HTBOTTOM) && horizontal)
        return edge == HTTOP ? (side == HTLEFT ? HTTOPLEFT : HTTOPRIGHT) : (side == HTLEFT ? HTBOTTOMLEFT : HTBOTTOMRIGHT);
    if ((edge == HTLEFT || edge == HTRIGHT) && !horizontal)
        return side == HTTOP ? (edge == HTLEFT ? HTTOPLEFT : HTTOPRIGHT) : (edge == HTLEFT ? HTBOTTOMLEFT : HTBOTTOMRIGHT);
    return edge;
}

// The rectangle for the pointer moved by dx, dy from where the loop started: the edges it drags
// move, held at the tracking limits with the opposite edge in place.
RECT SizedRect(RECT r, int edge, int dx, int dy, const MINMAXINFO& mm) {
    int minX = mm.ptMinTrackSize.x, maxX = std::max(mm.ptMinTrackSize.x, mm.ptMaxTrackSize.x);
    int minY = mm.ptMinTrackSize.y, maxY = std::max(mm.ptMinTrackSize.y, mm.ptMaxTrackSize.y);
    if (Moves(edge, HTLEFT)) r.left = r.right - std::clamp<int>(r.right - r.left - dx, minX, maxX);
    if (Moves(edge, HTRIGHT)) r.right = r.left + std::clamp<int>(r.right - r.left + dx, minX, maxX);
    if (Moves(edge, HTTOP)) r.top = r.bottom - std::clamp<int>(r.bottom - r.top - dy, minY, maxY);
    if (Moves(edge, HTBOTTOM)) r.bottom = r.top + std::clamp<int>(r.bottom - r.top + dy, minY, maxY);
    return r;
}

UINT SizingEdge(int ht) { return UINT(ht - HTLEFT + 1); }

// One loop for both: by the mouse (edge the hit-test code the press was on) until the button is
// let go, or by the keyboard (edge HTNOWHERE; a sizing edge is chosen by the first arrow) until
// Enter or a click; Escape puts the window back.
void MoveSizeLoop(Window* w, bool sizing, int edge, POINT start) {
    HWND h = w->handle;
    if (w->zoomed || (sizing && (!(w->style & WS_THICKFRAME) || w->iconic))) return;
    bool keyboard = edge == HTNOWHERE;
    RECT orig;
    GetWindowRect(h, &orig);
    if (keyboard) start = POINT{(orig.left + orig.right) / 2, sizing ? (orig.top + orig.bottom) / 2 : orig.top + 10};
    if (!sizing) edge = HTCAPTION;
    MINMAXINFO mm{};
    if (!MinMaxInfoOf(w, &mm)) return;
    SendMessage(h, WM_ENTERSIZEMOVE, 0, 0);
    if (!W(h)) return;
    SetCapture(h);
    POINT at = start;
    bool cancel = false;
    auto follow = [&](POINT to) {
        int dx = to.x - start.x, dy = to.y - start.y;
        RECT r = orig;
        if (!sizing) {
            OffsetRect(&r, dx, dy);
            SendMessage(h, WM_MOVING, 0, LPARAM(&r));
        } else {
            r = SizedRect(orig, edge, dx, dy, mm);
            SendMessage(h, WM_SIZING, SizingEdge(edge), LPARAM(&r));
        }
        if (W(h)) SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE));
        at = to;
    };
    MSG m;
    auto finish = [&] {
        if (GetCapture() == h) ReleaseCapture();
        if (!W(h)) return;
        if (cancel) SetWindowPos(h, nullptr, orig.left, orig.top, orig.right - orig.left, orig.bottom - orig.top,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
        if (W(h)) SendMessage(h, WM_EXITSIZEMOVE, 0, 0);
    };
    rtl::TScopeExit finished(finish);
    while (GetMessage(&m, nullptr, 0, 0)) {
        if (!W(h)) return;
        if (GetCapture() != h) break;
        UINT msg = m.message;
        if (msg == WM_MOUSEMOVE) {
            if (!keyboard && (m.pt.x != at.x || m.pt.y != at.y)) follow(m.pt);
            continue;
        }
        if (msg == WM_LBUTTONUP) {
            if (!keyboard) break;
            continue;
        }
        if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) {
            if (keyboard) break;
            continue;
        }
        if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) continue;
        if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
            UINT vk = UINT(m.wParam);
            if (vk == VK_RETURN) break;
            if (vk == VK_ESCAPE) {
                cancel = true;
                break;
            }
            if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) {
                if (sizing && keyboard) {
                    int next = EdgeForKey(edge, vk);
                    bool chosen = next != edge;
                    edge = next;
                    // Choosing the edge does not move it; the arrows after that do.
                    if (chosen && (edge == HTLEFT || edge == HTRIGHT || edge == HTTOP || edge == HTBOTTOM)) continue;
                }
                POINT to = at;
                if (vk == VK_LEFT) to.x -= KeyStep;
                if (vk == VK_RIGHT) to.x += KeyStep;
                if (vk == VK_UP) to.y -= KeyStep;
                if (vk == VK_DOWN) to.y += KeyStep;
                if (sizing && edge == HTNOWHERE) continue;
                follow(to);
            }
            continue;
        }
        if (msg == WM_KEYUP || msg == WM_SYSKEYUP || msg == WM_CHAR || msg == WM_SYSCHAR) continue;
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
}

// --- Context help ---------------------------------------------------------------------------

// The help cursor until the next click: a click on the window or one of its controls sends that
// control WM_HELP; Escape, a right click or a click elsewhere ends it without help.
void ContextHelpLoop(Window* w) {
    HWND h = w->handle;
    HCURSOR before = GetCursor();
    HCURSOR help = LoadCursor(nullptr, IDC_HELP);
    SetCapture(h);
    SetCursor(help);
    MSG m;
    HWND target = nullptr;
    POINT at{};
    {
        rtl::TScopeExit release([h, before] {
            if (GetCapture() == h) ReleaseCapture();
            SetCursor(before);
        });
        while (GetMessage(&m, nullptr, 0, 0)) {
            if (!W(h) || GetCapture() != h) break;
            UINT msg = m.message;
            if (msg == WM_LBUTTONDOWN) {
                HWND under = WindowFromPoint(m.pt);
                if (under && (under == h || IsChild(h, under))) {
                    target = under;
                    at = m.pt;
                }
                break;
            }
            if (msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) break;
            if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
                SetCursor(help);
                continue;
            }
            if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
                if (m.wParam == VK_ESCAPE) break;
                continue;
            }
            if (msg == WM_KEYUP || msg == WM_SYSKEYUP || msg == WM_CHAR || msg == WM_SYSCHAR) continue;
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }
    if (target && IsWindow(target)) {
        HELPINFO info;
        info.iCtrlId = GetDlgCtrlID(target);
        info.hItemHandle = target;
        info.MousePos = at;
        SendMessage(target, WM_HELP, 0, LPARAM(&info));
    }
}

bool IsSizingBorder(WPARAM ht) { return ht >= WPARAM(HTLEFT) && ht <= WPARAM(HTBOTTOMRIGHT); }
bool IsCaptionButton(WPARAM ht) {
    return ht == WPARAM(HTMINBUTTON) || ht == WPARAM(HTMAXBUTTON) || ht == WPARAM(HTCLOSE) || ht == WPARAM(HTHELP);
}

void ActivateFor(Window* w) {
    if (IsTopLevel(w) && GetActiveWindow() != w->handle) SetActiveWindow(w->handle);
}

} // namespace

// --- Minimized and maximized places ---------------------------------------------------------

BOOL SystemParametersInfo(UINT action, UINT, void* value, UINT) {
    if (action != SPI_GETWORKAREA || !value) return FALSE;
    *static_cast<RECT*>(value) = RECT{0, 0, LONG(ScreenWidth()), LONG(ScreenHeight())};
    return TRUE;
}

namespace {

RECT WorkArea() {
    RECT r;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

SIZE MinimizedSize(const Window* w) {
    Window probe;
    probe.style = w->style;
    probe.exStyle = w->exStyle;
    probe.iconic = true;
    int cap = CaptionHeight(&probe);
    return SIZE{GetSystemMetrics(SM_CXMINIMIZED), 2 * FrameWidth(&probe) + std::max(0, cap - 1)};
}

// The first free place in the rows of minimized windows, from the bottom-left of the work area.
POINT MinimizedPlace(const Window* w, SIZE size) {
    RECT work = WorkArea();
    int spacing = std::max<int>({1, int(size.cx), GetSystemMetrics(SM_CXMINSPACING)});
    int perRow = std::max(1, int(work.right - work.left) / spacing);
    for (int i = 0;; ++i) {
        POINT p{work.left + (i % perRow) * spacing, work.bottom - size.cy - (i / perRow) * size.cy};
        bool taken = false;
        for (Window* t : TopLevelsInZOrder())
            if (t != w && t->iconic && (t->style & WS_VISIBLE) && t->rect.left == p.x && t->rect.top == p.y) taken = true;
        if (!taken || i > 256) return p;
    }
}

void Place(Window* w, RECT r) {
    SetWindowPos(w->handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

RECT MaximizedRect(Window* w) {
    MINMAXINFO mm{};
    if (!MinMaxInfoOf(w, &mm)) return RECT{};
    return RECT{mm.ptMaxPosition.x, mm.ptMaxPosition.y, mm.ptMaxPosition.x + mm.ptMaxSize.x,
                mm.ptMaxPosition.y + mm.ptMaxSize.y};
}

} // namespace

namespace detail {

bool MinMaxInfoOf(Window* w, MINMAXINFO* mm) {
    RECT work = WorkArea();
    // A maximized window's frame lies just outside the work area.
    int f = 0;
    {
        Window probe;
        probe.style = w->style;
        probe.exStyle = w->exStyle;
        f = FrameWidth(&probe);
    }
    mm->ptMaxSize = POINT{work.right - work.left + 2 * f, work.bottom - work.top + 2 * f};
    mm->ptMaxPosition = POINT{work.left - f, work.top - f};
    mm->ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mm->ptMaxTrackSize = POINT{LONG(ScreenWidth()) + 12, LONG(ScreenHeight()) + 12};
    HWND h = w->handle;
    SendMessage(h, WM_GETMINMAXINFO, 0, LPARAM(mm));
    return W(h) != nullptr;
}

void PlaceForShow(Window* w, int cmd) {
    HWND h = w->handle;
    bool minimize = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
    bool maximize = cmd == SW_SHOWMAXIMIZED;
    bool restore = cmd == SW_RESTORE || cmd == SW_SHOWNORMAL || cmd == SW_SHOWDEFAULT;
    if (minimize && !w->iconic) {
        if (!w->zoomed) w->normal = w->rect;
        w->zoomedBeforeIconic = w->zoomed;
        w->zoomed = false;
        w->iconic = true;
        SIZE size = MinimizedSize(w);
        POINT p = MinimizedPlace(w, size);
        Place(w, RECT{p.x, p.y, p.x + size.cx, p.y + size.cy});
    } else if ((maximize && !w->zoomed) || (cmd == SW_RESTORE && w->iconic && w->zoomedBeforeIconic)) {
        if (!w->iconic) w->normal = w->rect;
        w->iconic = false;
        w->zoomed = true;
        RECT r = MaximizedRect(w);
        if ((w = W(h))) Place(w, r);
    } else if (restore && (w->iconic || w->zoomed)) {
        w->iconic = false;
        w->zoomed = false;
        w->zoomedBeforeIconic = false;
        if (RectEmpty(w->normal)) SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        else Place(w, w->normal);
    }
}

void ScreenSizeChanged() {
    std::vector<HWND> tops;
    for (Window* t : TopLevelsInZOrder()) tops.push_back(t->handle);
    for (HWND h : tops) {
        Window* w = W(h);
        if (w && w->zoomed) {
            RECT r = MaximizedRect(w);
            if ((w = W(h))) Place(w, r);
        }
    }
    // Minimized windows line up again, in the order they stood.
    std::vector<std::pair<POINT, HWND>> icons;
    for (HWND h : tops)
        if (Window* w = W(h); w && w->iconic) icons.push_back({POINT{w->rect.left, w->rect.top}, h});
    std::sort(icons.begin(), icons.end(), [](auto& a, auto& b) {
        return a.first.y != b.first.y ? a.first.y > b.first.y : a.first.x < b.first.x;
    });
    for (auto& [at, h] : icons)
        if (Window* w = W(h)) w->rect = RECT{-30000, -30000, -30000 + (w->rect.right - w->rect.left), -30000 + (w->rect.bottom - w->rect.top)};
    for (auto& [at, h] : icons)
        if (Window* w = W(h)) {
            SIZE size = MinimizedSize(w);
            POINT p = MinimizedPlace(w, size);
            SetWindowPos(h, nullptr, p.x, p.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    LPARAM dims = MAKELPARAM(int(ScreenWidth()), int(ScreenHeight()));
    for (HWND h : tops)
        if (W(h)) SendMessage(h, WM_DISPLAYCHANGE, 24, dims);
}

bool FrameDefault(Window* w, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND h = w->handle;
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    *result = 0;
    // The frame's own handling is a top-level window's; a control only passes questions on.
    if (!IsTopLevel(w) && msg != WM_HELP && msg != WM_SYSCHAR) return false;
    switch (msg) {
    case WM_NCLBUTTONDOWN:
        if (wParam == WPARAM(HTCAPTION)) {
            ActivateFor(w);
            if (W(h)) SendMessage(h, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
            return true;
        }
        if (IsSizingBorder(wParam)) {
            ActivateFor(w);
            if (W(h)) SendMessage(h, WM_SYSCOMMAND, SC_SIZE + SizingEdge(int(wParam)), lParam);
            return true;
        }
        if (wParam == WPARAM(HTSYSMENU)) {
            ActivateFor(w);
            if ((w = W(h))) ShowSystemMenu(w, SystemMenuPoint(w), TPM_LEFTBUTTON);
            return true;
        }
        if (IsCaptionButton(wParam)) {
            ActivateFor(w);
            if ((w = W(h))) TrackCaptionButton(w, int(wParam), pt);
            return true;
        }
        return false;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == WPARAM(HTCAPTION)) {
            if (w->iconic) SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, lParam);
            else if (w->style & WS_MAXIMIZEBOX) SendMessage(h, WM_SYSCOMMAND, w->zoomed ? SC_RESTORE : SC_MAXIMIZE, lParam);
            return true;
        }
        if (wParam == WPARAM(HTSYSMENU)) {
            if (!CloseGreyed(w)) SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, lParam);
            return true;
        }
        // A second quick press on a box is a press like the first.
        if (IsCaptionButton(wParam)) {
            TrackCaptionButton(w, int(wParam), pt);
            return true;
        }
        return false;
    case WM_NCRBUTTONDOWN: return wParam == WPARAM(HTCAPTION) || wParam == WPARAM(HTSYSMENU) || IsCaptionButton(wParam);
    case WM_NCRBUTTONUP:
        if (wParam == WPARAM(HTCAPTION) || wParam == WPARAM(HTSYSMENU) || IsCaptionButton(wParam)) {
            SendMessage(h, WM_CONTEXTMENU, WPARAM(h), lParam);
            return true;
        }
        return false;
    case WM_CONTEXTMENU: {
        if (!IsTopLevel(w)) return false;
        int ht = int(SendMessage(h, WM_NCHITTEST, 0, lParam));
        if ((w = W(h)) && (ht == HTCAPTION || ht == HTSYSMENU)) ShowSystemMenu(w, pt, TPM_LEFTBUTTON | TPM_RIGHTBUTTON);
        return true;
    }
    case WM_SYSCHAR:
        if (wParam != VK_SPACE) return false;
        SendMessage(GetAncestor(h, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(' '));
        return true;
    case WM_HELP:
        // A control's question goes on to its parent until someone answers it.
        if (!IsTopLevel(w) && w->parent) *result = SendMessage(w->parent->handle, WM_HELP, wParam, lParam);
        return true;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MOVE:
            MoveSizeLoop(w, false, (wParam & 0x0F) ? HTCAPTION : HTNOWHERE, pt);
            return true;
        case SC_SIZE: {
            int edge = (wParam & 0x0F) ? HTLEFT + int(wParam & 0x0F) - 1 : HTNOWHERE;
            MoveSizeLoop(w, true, edge, pt);
            return true;
        }
        case SC_CONTEXTHELP: ContextHelpLoop(w); return true;
        case SC_CLOSE: return CloseGreyed(w); // a greyed Close does nothing
        case SC_KEYMENU:
            if (lParam != LPARAM(' ')) return false;
            if (HasSysMenu(w)) ShowSystemMenu(w, SystemMenuPoint(w), TPM_LEFTBUTTON);
            else MessageBeep(0);
            return true;
        }
        return false;
    }
    return false;
}

} // namespace detail

} // namespace win
