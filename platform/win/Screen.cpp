// The virtual screen: its size, the system colours and metrics, the new shell look flag,
// screenshots as PNG files, and the reset to a fresh window system.
#include "win/GdiInternal.h"
#include "win/TestHooks.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace win {
using namespace detail;

namespace {

struct ScreenState {
    int width = 1024, height = 768, dpi = 96;
    bool newLook = true;
    COLORREF colours[25] = {
        RGB(192, 192, 192), // scroll bar
        RGB(0, 128, 128),   // background (desktop)
        RGB(0, 0, 128),     // active caption
        RGB(128, 128, 128), // inactive caption
        RGB(192, 192, 192), // menu
        RGB(255, 255, 255), // window
        RGB(0, 0, 0),       // window frame
        RGB(0, 0, 0),       // menu text
        RGB(0, 0, 0),       // window text
        RGB(255, 255, 255), // caption text
        RGB(192, 192, 192), // active border
        RGB(192, 192, 192), // inactive border
        RGB(128, 128, 128), // application workspace
        RGB(0, 0, 128),     // highlight
        RGB(255, 255, 255), // highlight text
        RGB(192, 192, 192), // button face
        RGB(128, 128, 128), // button shadow
        RGB(128, 128, 128), // grey text
        RGB(0, 0, 0),       // button text
        RGB(192, 192, 192), // inactive caption text
        RGB(255, 255, 255), // button highlight
        RGB(0, 0, 0),       // 3-D dark shadow
        RGB(192, 192, 192), // 3-D light
        RGB(0, 0, 0),       // tooltip text
        RGB(255, 255, 225), // tooltip background
    };
};

ScreenState& Sc() {
    static ScreenState s;
    return s;
}

const ScreenState kDefaults;

} // namespace

namespace detail {
std::uint32_t ScreenWidth() { return std::uint32_t(Sc().width); }
std::uint32_t ScreenHeight() { return std::uint32_t(Sc().height); }
int ScreenDpi() { return Sc().dpi; }

bool WritePng(const Pixels& px, const std::string& path) {
    int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, px.width);
    std::vector<unsigned char> buf(std::size_t(stride) * px.height);
    for (int y = 0; y < px.height; ++y) std::memcpy(buf.data() + std::size_t(y) * stride, px.data.data() + std::size_t(y) * px.width, std::size_t(px.width) * 4);
    cairo_surface_t* s = cairo_image_surface_create_for_data(buf.data(), CAIRO_FORMAT_RGB24, px.width, px.height, stride);
    bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
              cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

void ResetQueue();
} // namespace detail

void SetScreenSize(int width, int height, int dpi) {
    if (width <= 0 || height <= 0 || dpi <= 0) return;
    width = StoreDim(width);
    height = StoreDim(height);
    auto& s = Sc();
    bool resized = width != s.width || height != s.height;
    s.width = width;
    s.height = height;
    s.dpi = dpi;
    Window* d = Desktop();
    d->rect = d->client = RECT{0, 0, width, height};
    LayoutChanged();
    d->store->Resize(width, height, ToPix(GetSysColor(COLOR_BACKGROUND)));
    if (resized) ScreenSizeChanged();
}

namespace detail {
void ComposeScreen(Pixels& out) {
    const Pixels& desk = *Desktop()->store;
    if (out.width != desk.width || out.height != desk.height) out = Pixels(desk.width, desk.height, false, 0);
    std::copy(desk.data.begin(), desk.data.end(), out.data.begin());
    auto tops = TopLevelsInZOrder();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        Window* t = *it;
        if (!(t->style & WS_VISIBLE) || !t->store) continue;
        int x0 = std::max(0, -int(t->rect.left)), x1 = std::min(t->store->width, out.width - int(t->rect.left));
        if (x1 <= x0) continue;
        for (int y = 0; y < t->store->height; ++y) {
            int sy = t->rect.top + y;
            if (sy < 0 || sy >= out.height) continue;
            const std::uint32_t* src = t->store->data.data() + std::size_t(y) * std::size_t(t->store->width);
            std::copy(src + x0, src + x1, out.Row(sy) + t->rect.left + x0);
        }
    }
}
} // namespace detail

bool SaveScreenshot(const std::string& path, HWND hwnd) {
    if (!hwnd) {
        Pixels shot;
        ComposeScreen(shot);
        return WritePng(shot, path);
    }
    Window* w = W(hwnd);
    if (!w) return false;
    Window* top = TopOf(w);
    if (!top || !top->store) return false;
    POINT o = WindowOrgInStore(w);
    int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
    if (width <= 0 || height <= 0) return false;
    width = std::min(width, top->store->width);
    height = std::min(height, top->store->height);
    Pixels shot(width, height, false, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (top->store->Inside(x + o.x, y + o.y)) shot.Row(y)[x] = top->store->At(x + o.x, y + o.y);
    return WritePng(shot, path);
}

COLORREF GetSysColor(int index) {
    if (index < 0 || index > 24) return 0;
    return Sc().colours[index];
}

BOOL SetSysColors(int count, const int* indexes, const COLORREF* colours) {
    if (count < 0 || (count && (!indexes || !colours))) return FALSE;
    for (int i = 0; i < count; ++i)
        if (indexes[i] >= 0 && indexes[i] <= 24) Sc().colours[indexes[i]] = colours[i] & 0xFFFFFF;
    for (Window* t : TopLevelsInZOrder()) PostMessage(t->handle, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

int GetSystemMetrics(int index) {
    auto& s = Sc();
    switch (index) {
    case SM_CXSCREEN: return s.width;
    case SM_CYSCREEN: return s.height;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 16;
    case SM_CXHTHUMB: case SM_CYVTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CYSMCAPTION: return 15;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return s.width;
    case SM_CYFULLSCREEN: return s.height - 19;
    case SM_CXMAXIMIZED: return s.width + 8;
    case SM_CYMAXIMIZED: return s.height + 8;
    case SM_CXMINIMIZED: case SM_CXMINSPACING: return 160;
    case SM_CYMINIMIZED: case SM_CYMINSPACING: return 24;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 2;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_MOUSEPRESENT: return 1;
    case SM_SWAPBUTTON: {
        BOOL was = SwapMouseButton(FALSE);
        SwapMouseButton(was);
        return was;
    }
    case SM_DEBUG: return 0;
    }
    return 0;
}

bool NewShellLook() { return Sc().newLook; }
void SetNewShellLook(bool on) { Sc().newLook = on; }

void ResetWindowSystem() {
    for (Window* t : std::vector<Window*>(TopLevelsInZOrder())) DestroyWindow(t->handle);
    ResetQueue();
    ResetMenus();
    ResetCaretCursorClipboard();
    ResetGdi();
    ResetRunList();
    LayoutChanged();
    auto& s = Sc();
    std::copy(std::begin(kDefaults.colours), std::end(kDefaults.colours), s.colours);
    s.newLook = true;
    if (s.width != kDefaults.width || s.height != kDefaults.height || s.dpi != kDefaults.dpi)
        SetScreenSize(kDefaults.width, kDefaults.height, kDefaults.dpi);
    Pixels& d = *Desktop()->store;
    std::fill(d.data.begin(), d.data.end(), ToPix(GetSysColor(COLOR_BACKGROUND)));
}

} // namespace win
