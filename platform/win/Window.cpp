// Windows: classes, creation and destruction, the hierarchy and z-order, positions, texts,
// window longs and the default window procedure. The non-client area is in NonClient.cpp, its
// scroll bars in ScrollBars.cpp.
#include "win/WinInternal.h"
#include "win/TestHooks.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace win {
using namespace detail;

// --- Rectangles -----------------------------------------------------------------------------

BOOL SetRect(RECT* r, int l, int t, int rr, int b) {
    if (!r) return FALSE;
    *r = RECT{l, t, rr, b};
    return TRUE;
}
BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }
BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL CopyRect(RECT* d, const RECT* s) {
    if (!d || !s) return FALSE;
    *d = *s;
    return TRUE;
}
BOOL OffsetRect(RECT* r, int dx, int dy) {
    if (!r) return FALSE;
    r->left += dx; r->right += dx; r->top += dy; r->bottom += dy;
    return TRUE;
}
BOOL InflateRect(RECT* r, int dx, int dy) {
    if (!r) return FALSE;
    r->left -= dx; r->right += dx; r->top -= dy; r->bottom += dy;
    return TRUE;
}
BOOL IntersectRect(RECT* d, const RECT* a, const RECT* b) {
    if (!d || !a || !b) return FALSE;
    RECT r = Intersection(*a, *b);
    if (RectEmpty(r)) { *d = RECT{}; return FALSE; }
    *d = r;
    return TRUE;
}
BOOL UnionRect(RECT* d, const RECT* a, const RECT* b) {
    if (!d || !a || !b) return FALSE;
    if (IsRectEmpty(a)) { *d = *b; }
    else if (IsRectEmpty(b)) { *d = *a; }
    else *d = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                   std::max(a->bottom, b->bottom)};
    return !IsRectEmpty(d);
}
BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b; }
BOOL PtInRect(const RECT* r, POINT p) {
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

namespace detail {

RECT MakeRect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }
bool RectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
RECT Intersection(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (RectEmpty(r)) return RECT{};
    return r;
}

void Pixels::Resize(int w, int h, std::uint32_t fill) {
    std::vector<std::uint32_t> n(std::size_t(w) * std::size_t(h), fill);
    for (int y = 0; y < std::min(h, height); ++y)
        for (int x = 0; x < std::min(w, width); ++x) n[std::size_t(y) * w + x] = At(x, y);
    data.swap(n);
    width = w;
    height = h;
}

std::uint32_t MonoOf(std::uint32_t p) {
    int sum = int((p >> 16) & 0xFF) + int((p >> 8) & 0xFF) + int(p & 0xFF);
    return sum >= 384 ? 0xFFFFFF : 0;
}

} // namespace detail

// --- The window table -----------------------------------------------------------------------

namespace {

// Live window handles for other threads (PostMessage), which must not touch the window table.
std::mutex& AliveLock() {
    static std::mutex m;
    return m;
}
std::set<std::uintptr_t>& AliveSet() {
    static std::set<std::uintptr_t> s;
    return s;
}
void SetAlive(HWND h, bool alive) {
    std::lock_guard<std::mutex> lk(AliveLock());
    if (alive) AliveSet().insert(reinterpret_cast<std::uintptr_t>(h));
    else AliveSet().erase(reinterpret_cast<std::uintptr_t>(h));
}

struct State {
    std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<std::shared_ptr<WndClass>> classes;
    std::uintptr_t nextHandle = 0x1000;
    std::unique_ptr<Window> desktop;
};

State& S() {
    static State s;
    return s;
}

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool SameName(const std::string& a, const char* b) { return Lower(a) == Lower(b ? b : ""); }

std::string ClassNameOf(const char* name) {
    if (!name) return {};
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(std::uintptr_t(name));
    return name;
}

std::shared_ptr<WndClass> FindClass(HINSTANCE inst, const char* name) {
    std::string n = ClassNameOf(name);
    std::shared_ptr<WndClass> any;
    for (auto& c : S().classes) {
        if (!SameName(c->name, n.c_str())) continue;
        if (c->wc.hInstance == inst) return c;
        if ((c->wc.style & CS_GLOBALCLASS) || !any) any = c;
    }
    return any;
}

void Unlink(Window* w) {
    LayoutChanged();
    if (!w->parent) return;
    auto& v = w->parent->children;
    v.erase(std::remove(v.begin(), v.end(), w), v.end());
}

bool IsTopmostW(const Window* w) { return (w->exStyle & WS_EX_TOPMOST) != 0; }

// Owned windows stay above their owner: they move up with it, keeping their own order.
void RaiseOwned(Window* w) {
    LayoutChanged();
    auto& v = w->parent->children;
    std::vector<Window*> owned;
    for (Window* t : v)
        if (t->owner == w->handle && t != w) owned.push_back(t);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        v.erase(std::remove(v.begin(), v.end(), *it), v.end());
        v.insert(std::find(v.begin(), v.end(), w), *it);
    }
    for (Window* t : owned) RaiseOwned(t);
}

// Puts w among its siblings: at the top (of its topmost band), at the bottom, or after a sibling.
void LinkZ(Window* w, HWND after) {
    Unlink(w);
    auto& v = w->parent->children;
    bool top = IsTopLevel(w);
    if (after == HWND_BOTTOM) {
        v.push_back(w);
        return;
    }
    Window* a = (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) ? nullptr : W(after);
    if (a && a->parent == w->parent) {
        auto it = std::find(v.begin(), v.end(), a);
        v.insert(it + 1, w);
        return;
    }
    auto it = v.begin();
    if (top && !IsTopmostW(w))
        while (it != v.end() && IsTopmostW(*it)) ++it;
    v.insert(it, w);
    if (top) RaiseOwned(w);
}

void SendGetMinMax(Window* w, int* cx, int* cy) {
    // A minimized window is its small caption, whatever its limits.
    if (!IsTopLevel(w) || w->iconic) return;
    MINMAXINFO mm;
    if (!MinMaxInfoOf(w, &mm)) return;
    // The tracking limits hold for sizeable and overlapped windows, as on Windows.
    if ((w->style & WS_THICKFRAME) || !(w->style & (WS_POPUP | WS_CHILD))) {
        *cx = std::clamp<int>(*cx, mm.ptMinTrackSize.x, std::max(mm.ptMinTrackSize.x, mm.ptMaxTrackSize.x));
        *cy = std::clamp<int>(*cy, mm.ptMinTrackSize.y, std::max(mm.ptMinTrackSize.y, mm.ptMaxTrackSize.y));
    }
}

HWND MakeHandle() {
    std::uintptr_t h = S().nextHandle;
    S().nextHandle += 4;
    return reinterpret_cast<HWND>(h);
}

} // namespace

namespace detail {

namespace {
std::uint64_t gLayoutGeneration = 1;
} // namespace

std::uint64_t LayoutGeneration() { return gLayoutGeneration; }
void LayoutChanged() { ++gLayoutGeneration; }

bool HandleAlive(HWND hwnd) {
    std::lock_guard<std::mutex> lk(AliveLock());
    return AliveSet().count(reinterpret_cast<std::uintptr_t>(hwnd)) != 0;
}

Window* W(HWND hwnd) {
    auto& m = S().windows;
    auto it = m.find(reinterpret_cast<std::uintptr_t>(hwnd));
    if (it == m.end()) {
        if (S().desktop && hwnd == S().desktop->handle) return S().desktop.get();
        return nullptr;
    }
    return it->second.get();
}

Window* Desktop() {
    auto& d = S().desktop;
    if (!d) {
        d = std::make_unique<Window>();
        d->handle = reinterpret_cast<HWND>(std::uintptr_t(0x10));
        d->style = WS_VISIBLE | WS_CLIPCHILDREN;
        d->rect = RECT{0, 0, LONG(ScreenWidth()), LONG(ScreenHeight())};
        d->client = d->rect;
        d->store = std::make_unique<Pixels>(ScreenWidth(), ScreenHeight(), false,
                                            ToPix(GetSysColor(COLOR_BACKGROUND)));
        auto cls = std::make_shared<WndClass>();
        cls->name = "#32769";
        d->cls = cls;
        d->text = "";
    }
    return d.get();
}

bool IsTopLevel(const Window* w) { return w && w->parent == S().desktop.get() && w->parent; }

Window* TopOf(Window* w) {
    while (w && w->parent && !IsTopLevel(w)) w = w->parent;
    return w;
}

bool Visible(const Window* w) {
    for (; w; w = w->parent)
        if (!(w->style & WS_VISIBLE)) return false;
    return true;
}

POINT WindowOrgInStore(const Window* w) {
    if (!w || !w->parent || IsTopLevel(w) || w == S().desktop.get()) return POINT{0, 0};
    POINT p = ClientOrgInStore(w->parent);
    return POINT{p.x + w->rect.left, p.y + w->rect.top};
}

POINT ClientOrgInStore(const Window* w) {
    POINT p = WindowOrgInStore(w);
    return POINT{p.x + w->client.left, p.y + w->client.top};
}

POINT WindowOrgOnScreen(const Window* w) {
    if (!w || !w->parent) return POINT{0, 0};
    if (IsTopLevel(w)) return POINT{w->rect.left, w->rect.top};
    POINT p = ClientOrgOnScreen(w->parent);
    return POINT{p.x + w->rect.left, p.y + w->rect.top};
}

POINT ClientOrgOnScreen(const Window* w) {
    POINT p = WindowOrgOnScreen(w);
    return POINT{p.x + w->client.left, p.y + w->client.top};
}

Region VisibleInStore(const Window* w, bool wholeWindow) {
    Region reg;
    if (!w || !Visible(w)) return reg;
    POINT o = WindowOrgInStore(w);
    RECT r = wholeWindow ? RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top} : w->client;
    OffsetRect(&r, o.x, o.y);
    reg.Add(r);
    if (w->style & WS_CLIPCHILDREN)
        for (Window* c : w->children)
            if (c->style & WS_VISIBLE) {
                POINT co = WindowOrgInStore(c);
                reg.Subtract(RECT{co.x, co.y, co.x + c->rect.right - c->rect.left, co.y + c->rect.bottom - c->rect.top});
            }
    for (const Window* c = w; c && !IsTopLevel(c) && c->parent; c = c->parent) {
        const Window* p = c->parent;
        RECT pc = p->client;
        POINT po = WindowOrgInStore(p);
        OffsetRect(&pc, po.x, po.y);
        reg.Intersect(pc);
        if (c->style & WS_CLIPSIBLINGS)
            for (Window* s : p->children) {
                if (s == c) break;
                if (!(s->style & WS_VISIBLE)) continue;
                POINT so = WindowOrgInStore(s);
                reg.Subtract(RECT{so.x, so.y, so.x + s->rect.right - s->rect.left, so.y + s->rect.bottom - s->rect.top});
            }
    }
    return reg;
}

std::vector<Window*> TopLevelsInZOrder() { return Desktop()->children; }

void RecalcClient(Window* w, bool notify) {
    RECT old = w->client;
    NCCALCSIZE_PARAMS p{};
    p.rgrc[0] = w->rect;
    SendMessage(w->handle, WM_NCCALCSIZE, TRUE, LPARAM(&p));
    if (!W(w->handle)) return;
    RECT c = p.rgrc[0];
    OffsetRect(&c, -w->rect.left, -w->rect.top);
    w->client = c;
    w->ncDirty |= kNcAll;
    LayoutChanged();
    if (notify && (old.right - old.left != c.right - c.left || old.bottom - old.top != c.bottom - c.top)) {
        InvalidateRect(w->handle, nullptr, TRUE);
        SendMessage(w->handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right - c.left, c.bottom - c.top));
    }
}

void InvalidateWindowTree(Window* w, bool erase) {
    if (!w) return;
    w->ncDirty |= kNcAll;
    w->update.Add(RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top});
    w->update.Simplify();
    if (erase) w->erase = true;
    for (Window* c : w->children) InvalidateWindowTree(c, erase);
}

} // namespace detail

// --- Classes --------------------------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpszClassName[0]) return 0;
    std::string name = ClassNameOf(wc->lpszClassName);
    for (auto& c : S().classes)
        if (c->wc.hInstance == wc->hInstance && SameName(c->name, name.c_str())) return 0;
    auto c = std::make_shared<WndClass>();
    c->name = name;
    c->wc = *wc;
    c->wc.lpszClassName = nullptr;
    c->wc.lpszMenuName = nullptr;
    c->clsExtra.resize(std::size_t(std::max(0, wc->cbClsExtra)));
    S().classes.push_back(c);
    return ATOM(0xC000 + S().classes.size());
}

BOOL UnregisterClass(const char* className, HINSTANCE instance) {
    auto& v = S().classes;
    for (auto it = v.begin(); it != v.end(); ++it)
        if ((*it)->wc.hInstance == instance && SameName((*it)->name, ClassNameOf(className).c_str())) {
            for (auto& [h, w] : S().windows)
                if (w->cls == *it) return FALSE; // still in use
            v.erase(it);
            return TRUE;
        }
    return FALSE;
}

BOOL GetClassInfo(HINSTANCE instance, const char* className, WNDCLASS* wc) {
    std::string n = ClassNameOf(className);
    for (auto& c : S().classes)
        if (c->wc.hInstance == instance && SameName(c->name, n.c_str())) {
            if (wc) {
                *wc = c->wc;
                wc->lpszClassName = className;
            }
            return TRUE;
        }
    return FALSE;
}

// --- Creation and destruction ---------------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parentHandle, HMENU menu, HINSTANCE instance, void* param) {
    auto cls = FindClass(instance, className);
    if (!cls) return nullptr;
    Window* parent = nullptr;
    HWND owner = nullptr;
    if (style & WS_CHILD) {
        parent = W(parentHandle);
        if (!parent) return nullptr;
    } else {
        parent = Desktop();
        if (parentHandle) {
            Window* o = W(parentHandle);
            if (!o) return nullptr;
            o = TopOf(o);
            owner = o == Desktop() ? nullptr : o->handle;
        }
    }
    if (x == CW_USEDEFAULT) { x = 100; y = 100; }
    if (width == CW_USEDEFAULT) { width = 400; height = 300; }
    width = std::max(0, width);
    height = std::max(0, height);

    auto wp = std::make_unique<Window>();
    Window* w = wp.get();
    w->handle = MakeHandle();
    w->cls = cls;
    w->proc = cls->wc.lpfnWndProc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    if (!(style & WS_CHILD)) w->style |= WS_CLIPSIBLINGS;
    w->instance = instance;
    w->id = (style & WS_CHILD) ? LONG_PTR(menu) : 0;
    w->extra.resize(std::size_t(std::max(0, cls->wc.cbWndExtra)));
    w->parent = parent;
    w->owner = owner;
    w->rect = RECT{x, y, x + width, y + height};
    w->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : "";
    w->threadId = GetCurrentThreadId();
    HWND h = w->handle;
    S().windows.emplace(reinterpret_cast<std::uintptr_t>(h), std::move(wp));
    SetAlive(h, true);
    LinkZ(w, (exStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP);
    LayoutChanged();
    if (IsTopLevel(w)) w->store = std::make_unique<Pixels>(StoreDim(width), StoreDim(height), false, 0xFFFFFF);

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parentHandle;
    cs.x = x; cs.y = y; cs.cx = width; cs.cy = height;
    cs.style = LONG(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    int cx = width, cy = height;
    SendGetMinMax(w, &cx, &cy);
    if (!W(h)) return nullptr;
    if (cx != width || cy != height) {
        LayoutChanged();
        w->rect.right = w->rect.left + cx;
        w->rect.bottom = w->rect.top + cy;
        if (w->store) w->store->Resize(StoreDim(cx), StoreDim(cy), 0xFFFFFF);
    }
    if (!SendMessage(h, WM_NCCREATE, 0, LPARAM(&cs))) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!W(h)) return nullptr;
    RecalcClient(w, false);
    if (!W(h)) return nullptr;
    if (SendMessage(h, WM_CREATE, 0, LPARAM(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!(w = W(h))) return nullptr;
    SendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
    if (!(w = W(h))) return nullptr;
    POINT co{w->rect.left + w->client.left, w->rect.top + w->client.top};
    SendMessage(h, WM_MOVE, 0, MAKELPARAM(co.x, co.y));
    if (!(w = W(h))) return nullptr;
    if ((style & WS_CHILD) && !(exStyle & WS_EX_NOPARENTNOTIFY))
        SendMessage(parent->handle, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, int(w->id)), LPARAM(h));
    if (!(w = W(h))) return nullptr;
    if (IsTopLevel(w)) RunListAdd(w);
    if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
    return W(h) ? h : nullptr;
}

HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width, int height,
                  HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}

namespace {

void SendDestroyTree(HWND h) {
    SendMessage(h, WM_DESTROY, 0, 0);
    Window* w = W(h);
    if (!w) return;
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND k : kids)
        if (Window* c = W(k)) {
            c->destroying = true;
            SendDestroyTree(k);
        }
}

void FreeTree(HWND h) {
    Window* w = W(h);
    if (!w) return;
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND k : kids) FreeTree(k);
    if (!(w = W(h))) return;
    SendMessage(h, WM_NCDESTROY, 0, 0);
    if (!(w = W(h))) return;
    KillTimer(h, 0);
    ForgetWindowInQueue(h);
    CaretWindowGone(h);
    if (IsTopLevel(w)) RunListRemove(w);
    // The window's menu bar goes with it, as on Windows.
    if (w->menu) DestroyMenu(w->menu);
    FrameWindowGone(w);
    for (Window* c : w->children) c->parent = nullptr;
    Unlink(w);
    SetAlive(h, false);
    S().windows.erase(reinterpret_cast<std::uintptr_t>(h));
}

} // namespace

// The window that becomes active when the active one goes: its owner when it can, else the
// topmost other window that can.
void detail::ActivateAnother(Window* w) {
    auto usable = [&](Window* t) {
        return t && t != w && !t->destroying && (t->style & WS_VISIBLE) && !(t->style & WS_DISABLED);
    };
    HWND next = nullptr;
    if (Window* o = W(w->owner); usable(o)) next = o->handle;
    if (!next)
        for (Window* t : TopLevelsInZOrder())
            if (usable(t)) {
                next = t->handle;
                break;
            }
    SetActiveWindow(nullptr);
    if (next) SetActiveWindow(next);
}

namespace {

bool Contains(Window* outer, HWND inner) {
    for (Window* w = W(inner); w; w = w->parent)
        if (w == outer) return true;
    return false;
}

} // namespace

BOOL DestroyWindow(HWND h) {
    Window* w = W(h);
    if (!w || w == Desktop() || w->destroying) return FALSE;
    w->destroying = true;
    for (Window* t : std::vector<Window*>(TopLevelsInZOrder()))
        if (t->owner == h && W(t->handle) && t != w) DestroyWindow(t->handle);
    if (!(w = W(h))) return TRUE;
    bool wasVisible = Visible(w);
    Window* parent = w->parent;
    RECT old = w->rect;
    w->style &= ~WS_VISIBLE;
    LayoutChanged();
    if (wasVisible && parent && !IsTopLevel(w)) InvalidateUncovered(parent, old, w);
    if (Contains(w, GetCapture())) ReleaseCapture();
    if (Contains(w, GetFocus())) SetFocus(!IsTopLevel(w) && parent && !parent->destroying ? parent->handle : nullptr);
    if (GetActiveWindow() == h) ActivateAnother(w);
    if ((w = W(h)) && !IsTopLevel(w) && w->parent && !(w->exStyle & WS_EX_NOPARENTNOTIFY))
        SendMessage(w->parent->handle, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, int(w->id)), LPARAM(h));
    SendDestroyTree(h);
    FreeTree(h);
    return TRUE;
}

// --- State queries --------------------------------------------------------------------------

BOOL IsWindow(HWND h) {
    Window* w = W(h);
    if (w) return TRUE;
    return IsForeignWindow(h);
}
BOOL IsWindowVisible(HWND h) { return Visible(W(h)); }
BOOL IsWindowEnabled(HWND h) {
    Window* w = W(h);
    return w && !(w->style & WS_DISABLED);
}
BOOL IsChild(HWND parent, HWND h) {
    Window* p = W(parent);
    Window* w = W(h);
    if (!p || !w) return FALSE;
    for (Window* c = w; c && !IsTopLevel(c); c = c->parent)
        if (c->parent == p) return TRUE;
    return FALSE;
}
BOOL IsIconic(HWND h) {
    Window* w = W(h);
    return w && w->iconic;
}
BOOL IsZoomed(HWND h) {
    Window* w = W(h);
    return w && w->zoomed;
}

BOOL ShowWindow(HWND h, int cmd) {
    Window* w = W(h);
    if (!w || w == Desktop()) return FALSE;
    bool was = (w->style & WS_VISIBLE) != 0;
    if (cmd == SW_HIDE) {
        if (!was) return FALSE;
        SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    bool minimize = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
    if (IsTopLevel(w)) {
        PlaceForShow(w, cmd);
        if (!(w = W(h))) return was;
    } else if (minimize) {
        w->iconic = true;
    } else if (cmd == SW_RESTORE || cmd == SW_SHOWNORMAL) {
        w->iconic = false;
        w->zoomed = false;
    }
    bool activate = IsTopLevel(w) && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE &&
                    cmd != SW_MINIMIZE;
    if (!was)
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | (activate ? 0 : SWP_NOZORDER) | SWP_NOACTIVATE);
    if (activate && W(h) && !(W(h)->style & WS_DISABLED)) SetActiveWindow(h);
    // A window minimized away gives the activation to another.
    if (cmd == SW_MINIMIZE && (w = W(h)) && GetActiveWindow() == h) ActivateAnother(w);
    return was;
}

BOOL EnableWindow(HWND h, BOOL enable) {
    Window* w = W(h);
    if (!w) return FALSE;
    bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        SendMessage(h, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendMessage(h, WM_CANCELMODE, 0, 0);
        if (!(w = W(h))) return FALSE;
        w->style |= WS_DISABLED;
        if (Contains(w, GetFocus())) SetFocus(nullptr);
        if (Contains(w, GetCapture())) ReleaseCapture();
        SendMessage(h, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL SetWindowPos(HWND h, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Window* w = W(h);
    if (!w || w == Desktop()) return FALSE;
    WINDOWPOS wp;
    wp.hwnd = h;
    wp.hwndInsertAfter = after;
    wp.x = (flags & SWP_NOMOVE) ? w->rect.left : x;
    wp.y = (flags & SWP_NOMOVE) ? w->rect.top : y;
    wp.cx = (flags & SWP_NOSIZE) ? w->rect.right - w->rect.left : std::max(0, cx);
    wp.cy = (flags & SWP_NOSIZE) ? w->rect.bottom - w->rect.top : std::max(0, cy);
    if (!(flags & SWP_NOSIZE)) {
        SendGetMinMax(w, &wp.cx, &wp.cy);
        if (!(w = W(h))) return FALSE;
    }
    if (wp.x == w->rect.left && wp.y == w->rect.top) flags |= SWP_NOMOVE;
    if (wp.cx == w->rect.right - w->rect.left && wp.cy == w->rect.bottom - w->rect.top) flags |= SWP_NOSIZE;
    if ((flags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE)) flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE)) flags &= ~SWP_HIDEWINDOW;
    wp.flags = flags;
    SendMessage(h, WM_WINDOWPOSCHANGING, 0, LPARAM(&wp));
    if (!(w = W(h))) return FALSE;
    flags = wp.flags;
    if (flags & SWP_SHOWWINDOW) SendMessage(h, WM_SHOWWINDOW, TRUE, 0);
    if (flags & SWP_HIDEWINDOW) SendMessage(h, WM_SHOWWINDOW, FALSE, 0);
    if (!(w = W(h))) return FALSE;

    bool wasVisible = Visible(w);
    RECT old = w->rect;
    LayoutChanged();
    if (!(flags & SWP_NOMOVE)) {
        w->rect.right += wp.x - w->rect.left;
        w->rect.bottom += wp.y - w->rect.top;
        w->rect.left = wp.x;
        w->rect.top = wp.y;
    }
    if (!(flags & SWP_NOSIZE)) {
        w->rect.right = w->rect.left + wp.cx;
        w->rect.bottom = w->rect.top + wp.cy;
        if (w->store) w->store->Resize(StoreDim(wp.cx), StoreDim(wp.cy), 0xFFFFFF);
    }
    if (!(flags & SWP_NOZORDER)) {
        if (after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
        if (after == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
        LinkZ(w, after);
    }
    if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) {
        w->style &= ~WS_VISIBLE;
        LayoutChanged();
        if (Contains(w, GetCapture())) ReleaseCapture();
        if (Contains(w, GetFocus()))
            SetFocus(!IsTopLevel(w) && w->parent ? w->parent->handle : nullptr);
        if (GetActiveWindow() == h) ActivateAnother(w);
        if (!(w = W(h))) return FALSE;
    }
    if (!(flags & SWP_NOSIZE) || (flags & SWP_FRAMECHANGED)) {
        RecalcClient(w, false);
        if (!(w = W(h))) return FALSE;
    }
    bool nowVisible = Visible(w);
    bool changed = !(flags & SWP_NOSIZE) || !(flags & SWP_NOMOVE) || !(flags & SWP_NOZORDER) ||
                   (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED));
    if (changed && !(flags & SWP_NOREDRAW)) {
        // Top-level windows keep their pixels when they move; children expose their parent.
        if (!IsTopLevel(w) && w->parent && (wasVisible || nowVisible)) {
            if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE) || (flags & SWP_HIDEWINDOW) || !(flags & SWP_NOZORDER)) {
                if (wasVisible) InvalidateUncovered(w->parent, old, w);
                else InvalidateRect(w->parent->handle, &old, TRUE);
                RECT n = w->rect;
                InvalidateRect(w->parent->handle, &n, TRUE);
            }
        }
        if (nowVisible && (!(flags & SWP_NOSIZE) || (flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED)) ||
                           (!IsTopLevel(w) && !(flags & SWP_NOMOVE))))
            InvalidateWindowTree(w, true);
    }
    SendMessage(h, WM_WINDOWPOSCHANGED, 0, LPARAM(&wp));
    if (W(h) && IsTopLevel(W(h)) && (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) RunListUpdate(W(h));
    return TRUE;
}

BOOL MoveWindow(HWND h, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(h, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND h) { return SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

// --- Text and class names -------------------------------------------------------------------

std::size_t CopyToBuffer(const std::string& text, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return 0;
    std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
    return n;
}

int GetWindowText(HWND h, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    return int(CopyToBuffer(GetWindowText(h), buffer, std::size_t(maxCount)));
}

std::string GetWindowText(HWND h) {
    Window* w = W(h);
    if (!w) {
        std::string caption;
        if (ForeignInfo(h, nullptr, &caption, nullptr)) return caption;
        return {};
    }
    int len = int(SendMessage(h, WM_GETTEXTLENGTH, 0, 0));
    if (len <= 0) return {};
    std::string buf(std::size_t(len) + 1, '\0');
    int got = int(SendMessage(h, WM_GETTEXT, WPARAM(len + 1), LPARAM(buf.data())));
    buf.resize(std::size_t(std::clamp(got, 0, len)));
    return buf;
}

int GetWindowTextLength(HWND h) {
    if (!W(h)) return int(GetWindowText(h).size());
    return int(SendMessage(h, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowText(HWND h, const char* text) {
    if (!W(h)) return FALSE;
    return SendMessage(h, WM_SETTEXT, 0, LPARAM(text ? text : "")) != 0;
}

std::string GetClassName(HWND h) {
    Window* w = W(h);
    if (w) return w->cls->name;
    std::string cls;
    if (ForeignInfo(h, &cls, nullptr, nullptr)) return cls;
    return {};
}

int GetClassName(HWND h, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    std::string t = GetClassName(h);
    int n = std::min<int>(int(t.size()), maxCount - 1);
    std::memcpy(buffer, t.data(), std::size_t(n));
    buffer[n] = 0;
    return n;
}

// --- Hierarchy ------------------------------------------------------------------------------

HWND GetParent(HWND h) {
    Window* w = W(h);
    if (!w || w == Desktop()) return nullptr;
    if (w->style & WS_CHILD) return w->parent ? w->parent->handle : nullptr;
    return w->owner;
}

HWND SetParent(HWND h, HWND newParent) {
    Window* w = W(h);
    if (!w || w == Desktop()) return nullptr;
    Window* p = newParent ? W(newParent) : Desktop();
    if (!p) return nullptr;
    for (Window* c = p; c; c = c->parent)
        if (c == w) return nullptr;
    HWND old = w->parent ? w->parent->handle : nullptr;
    bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible) ShowWindow(h, SW_HIDE);
    if (!(w = W(h))) return nullptr;
    bool wasTop = IsTopLevel(w);
    if (wasTop) RunListRemove(w);
    Unlink(w);
    w->parent = p;
    LayoutChanged();
    if (p == Desktop()) {
        w->style &= ~WS_CHILD;
        if (!w->store) {
            w->store = std::make_unique<Pixels>(StoreDim(w->rect.right - w->rect.left),
                                                StoreDim(w->rect.bottom - w->rect.top), false, 0xFFFFFF);
        }
    } else {
        w->style |= WS_CHILD;
        w->store.reset();
    }
    LinkZ(w, HWND_TOP);
    if (IsTopLevel(w)) RunListAdd(w);
    if (visible) ShowWindow(h, SW_SHOWNA);
    return old == Desktop()->handle ? GetDesktopWindow() : old;
}

HWND GetDesktopWindow() { return Desktop()->handle; }

HWND GetWindow(HWND h, UINT cmd) {
    Window* w = W(h);
    if (!w) return nullptr;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (cmd == GW_OWNER) return IsTopLevel(w) ? w->owner : nullptr;
    if (!w->parent) return nullptr;
    auto& v = w->parent->children;
    auto it = std::find(v.begin(), v.end(), w);
    switch (cmd) {
    case GW_HWNDFIRST: return v.front()->handle;
    case GW_HWNDLAST: return v.back()->handle;
    case GW_HWNDNEXT: return (it != v.end() && it + 1 != v.end()) ? (*(it + 1))->handle : nullptr;
    case GW_HWNDPREV: return (it != v.end() && it != v.begin()) ? (*(it - 1))->handle : nullptr;
    }
    return nullptr;
}

HWND GetTopWindow(HWND h) { return GetWindow(h ? h : GetDesktopWindow(), GW_CHILD); }

HWND GetAncestor(HWND h, UINT flags) {
    Window* w = W(h);
    if (!w || w == Desktop()) return nullptr;
    if (flags == GA_PARENT) return w->parent ? w->parent->handle : nullptr;
    Window* t = TopOf(w);
    if (flags == GA_ROOT) return t->handle;
    while (t->owner && W(t->owner)) t = W(t->owner);
    return t->handle;
}

BOOL EnumWindows(const std::function<bool(HWND)>& proc) {
    std::vector<HWND> list;
    for (Window* t : TopLevelsInZOrder()) list.push_back(t->handle);
    for (HWND f : ForeignTopLevels()) list.push_back(f);
    for (HWND x : list)
        if (IsWindow(x) && !proc(x)) return FALSE;
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
    if (!proc) return FALSE;
    return EnumWindows([&](HWND x) { return proc(x, param) != 0; });
}

HWND FindWindow(const char* className, const char* windowName) {
    HWND found = nullptr;
    EnumWindows([&](HWND x) {
        if (className && !IS_INTRESOURCE(className) && !SameName(GetClassName(x), className)) return true;
        if (windowName && GetWindowText(x) != windowName) return true;
        found = x;
        return false;
    });
    return found;
}

namespace {
void CollectDescendants(Window* w, std::vector<HWND>& out) {
    for (Window* c : w->children) {
        out.push_back(c->handle);
        CollectDescendants(c, out);
    }
}
} // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
    Window* w = W(parent);
    if (!w || !proc) return FALSE;
    std::vector<HWND> list;
    CollectDescendants(w, list);
    for (HWND x : list)
        if (W(x) && !proc(x, param)) return FALSE;
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM param) {
    if (!proc) return FALSE;
    std::vector<HWND> list;
    for (Window* t : TopLevelsInZOrder())
        if (t->threadId == threadId) list.push_back(t->handle);
    for (HWND x : list)
        if (W(x) && !proc(x, param)) return FALSE;
    return TRUE;
}

namespace detail {

DWORD OwnProcessId() {
    static DWORD pid = [] {
        // A forked child has an id of its own.
        pthread_atfork(nullptr, nullptr, [] { pid = DWORD(getpid()); });
        return DWORD(getpid());
    }();
    return pid;
}

} // namespace detail

DWORD GetWindowThreadProcessId(HWND h, DWORD* processId) {
    Window* w = W(h);
    if (w) {
        if (processId) *processId = OwnProcessId();
        return w->threadId;
    }
    DWORD pid = 0;
    if (ForeignInfo(h, nullptr, nullptr, &pid)) {
        if (processId) *processId = pid;
        return 1;
    }
    if (processId) *processId = 0;
    return 0;
}

DWORD GetCurrentThreadId() {
    return DWORD(std::hash<std::thread::id>()(std::this_thread::get_id()) & 0x7FFFFFFF) | 1;
}
DWORD GetCurrentProcessId() { return OwnProcessId(); }

// --- Coordinates ----------------------------------------------------------------------------

BOOL GetWindowRect(HWND h, RECT* r) {
    Window* w = W(h);
    if (!w || !r) return FALSE;
    POINT o = WindowOrgOnScreen(w);
    *r = RECT{o.x, o.y, o.x + w->rect.right - w->rect.left, o.y + w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL GetClientRect(HWND h, RECT* r) {
    Window* w = W(h);
    if (!w || !r) return FALSE;
    *r = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

BOOL ClientToScreen(HWND h, POINT* p) {
    Window* w = W(h);
    if (!w || !p) return FALSE;
    POINT o = ClientOrgOnScreen(w);
    p->x += o.x;
    p->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND h, POINT* p) {
    Window* w = W(h);
    if (!w || !p) return FALSE;
    POINT o = ClientOrgOnScreen(w);
    p->x -= o.x;
    p->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT a{}, b{};
    if (from && !ClientToScreen(from, &a)) return 0;
    if (to && !ClientToScreen(to, &b)) return 0;
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELPARAM(dx, dy);
}

namespace {
Window* ChildAt(Window* w, POINT screen, bool skipDisabled) {
    for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        RECT r;
        GetWindowRect(c->handle, &r);
        if (!PtInRect(&r, screen)) continue;
        if (skipDisabled && (c->style & WS_DISABLED)) return nullptr;
        POINT co = ClientOrgOnScreen(c);
        RECT cr{co.x, co.y, co.x + c->client.right - c->client.left, co.y + c->client.bottom - c->client.top};
        if (PtInRect(&cr, screen))
            if (Window* d = ChildAt(c, screen, skipDisabled)) return d;
        return c;
    }
    return nullptr;
}
} // namespace

HWND WindowFromPoint(POINT screen) {
    for (Window* t : TopLevelsInZOrder()) {
        if (!(t->style & WS_VISIBLE)) continue;
        if (!PtInRect(&t->rect, screen)) continue;
        POINT co = ClientOrgOnScreen(t);
        RECT cr{co.x, co.y, co.x + t->client.right - t->client.left, co.y + t->client.bottom - t->client.top};
        if (PtInRect(&cr, screen))
            if (Window* c = ChildAt(t, screen, true)) return c->handle;
        return t->handle;
    }
    return GetDesktopWindow();
}

HWND ChildWindowFromPoint(HWND parent, POINT client) {
    Window* w = W(parent);
    if (!w) return nullptr;
    RECT cr{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    if (!PtInRect(&cr, client)) return nullptr;
    for (Window* c : w->children)
        if (PtInRect(&c->rect, client)) return c->handle;
    return parent;
}

// --- Window longs ---------------------------------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND h, int index) {
    Window* w = W(h);
    if (!w) return 0;
    switch (index) {
    case GWL_WNDPROC: return LONG_PTR(w->proc);
    case GWL_HINSTANCE: return LONG_PTR(w->instance);
    case GWL_HWNDPARENT: return LONG_PTR(IsTopLevel(w) ? w->owner : (w->parent ? w->parent->handle : nullptr));
    case GWL_STYLE: return LONG_PTR(LONG(w->style));
    case GWL_EXSTYLE: return LONG_PTR(LONG(w->exStyle));
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return w->id;
    }
    if (index >= 0 && std::size_t(index) + sizeof(LONG_PTR) <= w->extra.size()) {
        LONG_PTR v;
        std::memcpy(&v, w->extra.data() + index, sizeof v);
        return v;
    }
    return 0;
}

LONG_PTR SetWindowLongPtr(HWND h, int index, LONG_PTR value) {
    Window* w = W(h);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtr(h, index);
    switch (index) {
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); return old;
    case GWL_HWNDPARENT:
        if (IsTopLevel(w)) w->owner = reinterpret_cast<HWND>(value);
        return old;
    case GWL_STYLE: {
        LayoutChanged();
        DWORD keep = w->style & WS_VISIBLE;
        w->style = (DWORD(value) & ~WS_VISIBLE) | keep;
        if ((DWORD(value) & WS_VISIBLE) && !keep) w->style |= WS_VISIBLE;
        return old;
    }
    case GWL_EXSTYLE: w->exStyle = DWORD(value); LayoutChanged(); return old;
    case GWL_USERDATA: w->userData = value; return old;
    case GWL_ID: w->id = value; return old;
    }
    if (index >= 0 && std::size_t(index) + sizeof(LONG_PTR) <= w->extra.size()) {
        std::memcpy(w->extra.data() + index, &value, sizeof value);
        return old;
    }
    return 0;
}

LONG GetWindowLong(HWND h, int index) {
    Window* w = W(h);
    if (w && index >= 0 && std::size_t(index) + sizeof(LONG) <= w->extra.size() &&
        std::size_t(index) + sizeof(LONG_PTR) > w->extra.size()) {
        LONG v;
        std::memcpy(&v, w->extra.data() + index, sizeof v);
        return v;
    }
    return LONG(GetWindowLongPtr(h, index));
}

LONG SetWindowLong(HWND h, int index, LONG value) {
    Window* w = W(h);
    if (w && index >= 0 && std::size_t(index) + sizeof(LONG) <= w->extra.size() &&
        std::size_t(index) + sizeof(LONG_PTR) > w->extra.size()) {
        LONG old;
        std::memcpy(&old, w->extra.data() + index, sizeof old);
        std::memcpy(w->extra.data() + index, &value, sizeof value);
        return old;
    }
    return LONG(SetWindowLongPtr(h, index, value));
}

LONG_PTR GetClassLongPtr(HWND h, int index) {
    Window* w = W(h);
    if (!w) return 0;
    switch (index) {
    case GCL_HBRBACKGROUND: return LONG_PTR(w->cls->wc.hbrBackground);
    case GCL_HCURSOR: return LONG_PTR(w->cls->wc.hCursor);
    case GCL_STYLE: return LONG_PTR(w->cls->wc.style);
    case GCL_WNDPROC: return LONG_PTR(w->cls->wc.lpfnWndProc);
    }
    return 0;
}

LONG_PTR SetClassLongPtr(HWND h, int index, LONG_PTR value) {
    Window* w = W(h);
    if (!w) return 0;
    LONG_PTR old = GetClassLongPtr(h, index);
    switch (index) {
    case GCL_HBRBACKGROUND: w->cls->wc.hbrBackground = reinterpret_cast<HBRUSH>(value); break;
    case GCL_HCURSOR: w->cls->wc.hCursor = reinterpret_cast<HCURSOR>(value); break;
    case GCL_STYLE: w->cls->wc.style = UINT(value); break;
    case GCL_WNDPROC: w->cls->wc.lpfnWndProc = reinterpret_cast<WNDPROC>(value); break;
    default: return 0;
    }
    return old;
}

namespace {
std::string PropKey(const char* name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(std::uintptr_t(name));
    std::string k = name;
    for (char& c : k) c = char(std::toupper(static_cast<unsigned char>(c)));
    return k;
}
} // namespace

BOOL SetProp(HWND h, const char* name, void* value) {
    Window* w = W(h);
    if (!w || !name) return FALSE;
    w->props[PropKey(name)] = value;
    return TRUE;
}

void* GetProp(HWND h, const char* name) {
    Window* w = W(h);
    if (!w || !name) return nullptr;
    auto it = w->props.find(PropKey(name));
    return it == w->props.end() ? nullptr : it->second;
}

void* RemoveProp(HWND h, const char* name) {
    Window* w = W(h);
    if (!w || !name) return nullptr;
    auto it = w->props.find(PropKey(name));
    if (it == w->props.end()) return nullptr;
    void* v = it->second;
    w->props.erase(it);
    return v;
}

UINT RegisterWindowMessage(const char* name) {
    static std::map<std::string, UINT> names;
    if (!name || !name[0]) return 0;
    std::string k = Lower(name);
    auto it = names.find(k);
    if (it != names.end()) return it->second;
    if (names.size() >= 0x3FFF) return 0;
    UINT id = UINT(0xC000 + names.size());
    names[k] = id;
    return id;
}

int GetDlgCtrlID(HWND h) {
    Window* w = W(h);
    return w && !IsTopLevel(w) ? int(w->id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
    Window* w = W(parent);
    if (!w) return nullptr;
    for (Window* c : w->children)
        if (c->id == id) return c->handle;
    return nullptr;
}

// --- Default window procedure ---------------------------------------------------------------

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = W(h);
    if (!w) return 0;
    if (LRESULT r = 0; FrameDefault(w, msg, wParam, lParam, &r)) return r;
    switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_NCCALCSIZE: {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        if (!p) return 0;
        RECT save = w->rect;
        w->rect = p->rgrc[0];
        NcLayout l = Layout(w);
        w->rect = save;
        RECT c = l.client;
        OffsetRect(&c, p->rgrc[0].left, p->rgrc[0].top);
        p->rgrc[0] = c;
        return 0;
    }
    case WM_NCPAINT: PaintNonClient(w); return 0;
    case WM_NCACTIVATE: w->ncDirty |= kNcAll; return TRUE;
    case WM_NCHITTEST: return NonClientHitTest(w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCLBUTTONDOWN:
        if (wParam == HTVSCROLL || wParam == HTHSCROLL)
            TrackScrollBar(w, wParam == HTVSCROLL ? SB_VERT : SB_HORZ, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        else if (wParam == HTMENU)
            TrackMenuBar(w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, 0, true);
        else if (IsTopLevel(w) && GetActiveWindow() != h)
            SetActiveWindow(h);
        return 0;
    case WM_SETTEXT: {
        const char* t = reinterpret_cast<const char*>(lParam);
        std::string text = t ? t : "";
        // The text shows in the frame only in a caption, and only a new one paints it again.
        if (text != w->text && (w->style & WS_CAPTION) == WS_CAPTION) w->ncDirty |= kNcAll;
        w->text = std::move(text);
        if (IsTopLevel(w)) RunListUpdate(w);
        return TRUE;
    }
    case WM_GETTEXT: {
        return LRESULT(CopyToBuffer(w->text, reinterpret_cast<char*>(lParam), wParam));
    }
    case WM_GETTEXTLENGTH: return LRESULT(w->text.size());
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(std::uintptr_t(lParam))) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return LRESULT(w->font);
    case WM_CLOSE: DestroyWindow(h); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH b = w->cls->wc.hbrBackground;
        if (!b) return 0;
        if (std::uintptr_t(b) <= 64) b = GetSysColorBrush(int(std::uintptr_t(b)) - 1);
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, b);
        return 1;
    }
    case WM_WINDOWPOSCHANGED: {
        auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!wp) return 0;
        if (!(wp->flags & SWP_NOMOVE)) {
            POINT co{w->rect.left + w->client.left, w->rect.top + w->client.top};
            SendMessage(h, WM_MOVE, 0, MAKELPARAM(co.x, co.y));
        }
        if ((w = W(h)) && (!(wp->flags & SWP_NOSIZE) || (wp->flags & SWP_FRAMECHANGED)))
            SendMessage(h, WM_SIZE, w->iconic ? SIZE_MINIMIZED : w->zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED,
                        MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
        return 0;
    }
    case WM_SETCURSOR: {
        if (!IsTopLevel(w) && w->parent && SendMessage(w->parent->handle, WM_SETCURSOR, wParam, lParam)) return TRUE;
        int ht = SHORT(LOWORD(std::uintptr_t(lParam)));
        if (ht == HTERROR) {
            UINT m = HIWORD(std::uintptr_t(lParam));
            if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN) MessageBeep(0);
            return FALSE;
        }
        if (ht == HTCLIENT) {
            if (w->cls->wc.hCursor) SetCursor(w->cls->wc.hCursor);
            return FALSE;
        }
        const char* id = IDC_ARROW;
        if (ht == HTLEFT || ht == HTRIGHT) id = IDC_SIZEWE;
        else if (ht == HTTOP || ht == HTBOTTOM) id = IDC_SIZENS;
        else if (ht == HTTOPLEFT || ht == HTBOTTOMRIGHT) id = IDC_SIZENWSE;
        else if (ht == HTTOPRIGHT || ht == HTBOTTOMLEFT) id = IDC_SIZENESW;
        SetCursor(LoadCursor(nullptr, id));
        return FALSE;
    }
    case WM_MOUSEACTIVATE:
        if (!IsTopLevel(w) && w->parent) {
            LRESULT r = SendMessage(w->parent->handle, WM_MOUSEACTIVATE, wParam, lParam);
            if (r) return r;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(h);
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == h) ReleaseCapture();
        return 0;
    case WM_GETDLGCODE: return 0;
    case WM_NEXTDLGCTL: return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 in a control closes the window that holds it.
        if (wParam == VK_F4) PostMessage(GetAncestor(h, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
        else if (wParam == VK_F10) SendMessage(GetAncestor(h, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    case WM_SYSKEYUP:
        // Alt pressed and let go with no other key between activates the menu bar.
        if (wParam == VK_MENU && TakeAltAlone()) SendMessage(GetAncestor(h, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    case WM_SYSCHAR:
        if (wParam != VK_SPACE) SendMessage(GetAncestor(h, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam & 0xFF));
        return 0;
    case WM_SHOWWINDOW: return 0;
    case WM_PARENTNOTIFY: return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) SendMessage(h, WM_CLOSE, 0, 0);
        else if ((wParam & 0xFFF0) == SC_MINIMIZE) ShowWindow(h, SW_MINIMIZE);
        else if ((wParam & 0xFFF0) == SC_MAXIMIZE) ShowWindow(h, SW_SHOWMAXIMIZED);
        else if ((wParam & 0xFFF0) == SC_RESTORE) ShowWindow(h, SW_RESTORE);
        else if ((wParam & 0xFFF0) == SC_KEYMENU && GetMenu(h)) TrackMenuBar(w, POINT{}, int(lParam), false);
        return 0;
    }
    return 0;
}

PaintCounts PaintCountsOf(HWND hwnd) {
    Window* w = W(hwnd);
    return w ? PaintCounts{w->clientPaints, w->framePaints} : PaintCounts{};
}

LRESULT CallWindowProc(WNDPROC proc, HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) return DefWindowProc(h, msg, wParam, lParam);
    return proc(h, msg, wParam, lParam);
}

} // namespace win
