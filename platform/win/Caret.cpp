// The caret of the thread: inverted into its window's pixels while shown and in the visible
// half of its blink, taken out while the window paints so that it never smears.
#include "win/GdiInternal.h"

#include "rtl/Clock.h"

namespace win {
using namespace detail;

namespace {

struct CaretState {
    HWND owner = nullptr;
    HBITMAP shape = nullptr; // our own copy of a bitmap shape
    bool gray = false;
    int width = 0, height = 0;
    POINT pos;
    int hide = 1;       // ShowCaret and HideCaret count against it; shown at 0
    int suspended = 0;  // a DC of the owner is in use
    bool drawn = false;
    bool blinkOn = true;
    std::uint64_t lastToggle = 0;
    UINT blinkTime = 530;
};

CaretState& C() {
    static CaretState c;
    return c;
}

void Invert() {
    auto& c = C();
    Window* w = W(c.owner);
    if (!w) return;
    ++c.suspended; // GetDC below must not call back
    HDC dc = GetDC(c.owner);
    if (dc) {
        if (c.shape) {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, c.shape);
            BitBlt(dc, c.pos.x, c.pos.y, c.width, c.height, mem, 0, 0, SRCINVERT);
            SelectObject(mem, old);
            DeleteDC(mem);
        } else if (c.gray) {
            WORD bits[8] = {0xAA00, 0x5500, 0xAA00, 0x5500, 0xAA00, 0x5500, 0xAA00, 0x5500};
            for (auto& b : bits) b = WORD((b >> 8) | (b << 8)); // rows are bytes in memory order
            HBITMAP pat = CreateBitmap(8, 8, 1, 1, bits);
            HBRUSH br = CreatePatternBrush(pat);
            HGDIOBJ old = SelectObject(dc, br);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, PATINVERT);
            SelectObject(dc, old);
            DeleteObject(br);
            DeleteObject(pat);
        } else {
            PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
        }
        ReleaseDC(c.owner, dc);
    }
    --c.suspended;
    c.drawn = !c.drawn;
}

bool ShouldShow() {
    auto& c = C();
    return c.owner && W(c.owner) && c.hide == 0 && c.suspended == 0 && c.blinkOn && Visible(W(c.owner));
}

void Sync() {
    if (C().drawn != ShouldShow()) Invert();
}

void Undraw() {
    if (C().drawn) Invert();
}

void RestartBlink() {
    C().blinkOn = true;
    C().lastToggle = rtl::GetTickCount64();
}

} // namespace

namespace detail {

void CaretBeforePaint(Window* w) {
    auto& c = C();
    if (!w || w->handle != c.owner || c.suspended) {
        if (w && w->handle == c.owner) ++c.suspended;
        return;
    }
    Undraw();
    ++c.suspended;
}

void CaretAfterPaint(Window* w) {
    auto& c = C();
    if (!w || w->handle != c.owner || c.suspended == 0) return;
    --c.suspended;
    if (c.suspended == 0) Sync();
}

void CaretWindowGone(HWND h) {
    auto& c = C();
    if (c.owner != h) return;
    if (c.shape) DeleteObject(c.shape);
    c = CaretState{0, nullptr, false, 0, 0, {}, 1, 0, false, true, 0, c.blinkTime};
}

void CaretTick() {
    auto& c = C();
    if (!c.owner || !c.blinkTime) return;
    std::uint64_t now = rtl::GetTickCount64();
    if (now - c.lastToggle < c.blinkTime) return;
    c.blinkOn = !c.blinkOn;
    c.lastToggle = now;
    if (c.suspended == 0) Sync();
}

} // namespace detail

BOOL CreateCaret(HWND h, HBITMAP bitmap, int width, int height) {
    Window* w = W(h);
    if (!w) return FALSE;
    DestroyCaret();
    auto& c = C();
    c.owner = h;
    c.gray = bitmap == reinterpret_cast<HBITMAP>(1);
    if (bitmap && !c.gray) {
        BITMAP bm;
        if (!GetObject(bitmap, sizeof bm, &bm)) {
            c.owner = nullptr;
            return FALSE;
        }
        c.width = bm.bmWidth;
        c.height = bm.bmHeight;
        HDC screen = GetDC(nullptr);
        HDC src = CreateCompatibleDC(screen), dst = CreateCompatibleDC(screen);
        c.shape = CreateCompatibleBitmap(screen, c.width, c.height);
        HGDIOBJ o1 = SelectObject(src, bitmap), o2 = SelectObject(dst, c.shape);
        BitBlt(dst, 0, 0, c.width, c.height, src, 0, 0, SRCCOPY);
        SelectObject(src, o1);
        SelectObject(dst, o2);
        DeleteDC(src);
        DeleteDC(dst);
        ReleaseDC(nullptr, screen);
    } else {
        c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
        c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    }
    c.pos = POINT{0, 0};
    c.hide = 1;
    c.drawn = false;
    c.suspended = 0;
    RestartBlink();
    return TRUE;
}

BOOL DestroyCaret() {
    auto& c = C();
    if (!c.owner) return FALSE;
    if (W(c.owner) && c.suspended == 0) Undraw();
    CaretWindowGone(c.owner);
    return TRUE;
}

BOOL ShowCaret(HWND h) {
    auto& c = C();
    if (!c.owner || (h && h != c.owner)) return FALSE;
    if (c.hide > 0) --c.hide;
    RestartBlink();
    if (c.suspended == 0) Sync();
    return TRUE;
}

BOOL HideCaret(HWND h) {
    auto& c = C();
    if (!c.owner || (h && h != c.owner)) return FALSE;
    ++c.hide;
    if (c.suspended == 0) Sync();
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    auto& c = C();
    if (!c.owner) return FALSE;
    if (c.pos.x == x && c.pos.y == y) return TRUE;
    bool suspended = c.suspended != 0;
    if (!suspended) Undraw();
    c.pos = POINT{x, y};
    RestartBlink();
    if (!suspended) Sync();
    return TRUE;
}

BOOL GetCaretPos(POINT* p) {
    if (!p || !C().owner) return FALSE;
    *p = C().pos;
    return TRUE;
}

UINT GetCaretBlinkTime() { return C().blinkTime; }

BOOL SetCaretBlinkTime(UINT ms) {
    C().blinkTime = ms;
    return TRUE;
}

} // namespace win
