// Scroll bars of a window's non-client area: their range, page, position and enabled state,
// a bar shown or hidden with its range, the bar's picture, and the tracking of clicks and thumb
// drags on it.
#include "win/WinInternal.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>
#include <cstdint>

namespace win {
using namespace detail;

// --- Scroll bars ----------------------------------------------------------------------------

namespace {

ScrollBar* BarOf(Window* w, int bar) {
    if (!w) return nullptr;
    if (bar == SB_HORZ) return &w->hbar;
    if (bar == SB_VERT) return &w->vbar;
    return nullptr;
}

void ClampPos(ScrollBar& b) {
    int top = b.max - std::max(0, int(b.page) - 1);
    if (top < b.min) top = b.min;
    b.pos = std::clamp(b.pos, b.min, top);
}

unsigned BarPart(int bar) { return bar == SB_HORZ ? kNcHBar : kNcVBar; }

bool SameBar(const ScrollBar& a, const ScrollBar& b) {
    return a.min == b.min && a.max == b.max && a.pos == b.pos && a.page == b.page && a.disabled == b.disabled;
}

void ShowBar(Window* w, int bar, bool show) {
    DWORD bit = bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    bool has = (w->style & bit) != 0;
    if (has == show) return;
    if (show) w->style |= bit;
    else w->style &= ~bit;
    LayoutChanged();
    RecalcClient(w, true);
}

} // namespace

int SetScrollInfo(HWND h, int bar, const SCROLLINFO* info, BOOL redraw) {
    Window* w = W(h);
    ScrollBar* b = BarOf(w, bar);
    if (!b || !info) return 0;
    const ScrollBar before = *b;
    if (info->fMask & SIF_RANGE) {
        b->min = info->nMin;
        b->max = info->nMax;
    }
    if (info->fMask & SIF_PAGE) b->page = info->nPage;
    if (info->fMask & SIF_POS) b->pos = info->nPos;
    ClampPos(*b);
    int pos = b->pos;
    if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
        bool empty = b->max <= b->min || (b->page > 0 && int(b->page) > b->max - b->min);
        if (info->fMask & SIF_DISABLENOSCROLL) {
            b->disabled = empty;
            ShowBar(w, bar, true);
        } else {
            ShowBar(w, bar, !empty);
        }
    }
    // The bar alone is painted again; a bar shown or hidden has changed the frame already.
    if ((w = W(h)) && redraw && !SameBar(before, *BarOf(w, bar))) w->ncDirty |= BarPart(bar);
    return pos;
}

BOOL GetScrollInfo(HWND h, int bar, SCROLLINFO* info) {
    ScrollBar* b = BarOf(W(h), bar);
    if (!b || !info) return FALSE;
    if (info->fMask & SIF_RANGE) {
        info->nMin = b->min;
        info->nMax = b->max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = b->page;
    if (info->fMask & SIF_POS) info->nPos = b->pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = b->trackPos;
    return TRUE;
}

BOOL SetScrollRange(HWND h, int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = minPos;
    si.nMax = maxPos;
    if (!BarOf(W(h), bar)) return FALSE;
    SetScrollInfo(h, bar, &si, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND h, int bar, int* minPos, int* maxPos) {
    ScrollBar* b = BarOf(W(h), bar);
    if (!b) return FALSE;
    if (minPos) *minPos = b->min;
    if (maxPos) *maxPos = b->max;
    return TRUE;
}

int SetScrollPos(HWND h, int bar, int pos, BOOL redraw) {
    ScrollBar* b = BarOf(W(h), bar);
    if (!b) return 0;
    int old = b->pos;
    b->pos = pos;
    ClampPos(*b);
    if (redraw && b->pos != old) W(h)->ncDirty |= BarPart(bar);
    return old;
}

int GetScrollPos(HWND h, int bar) {
    ScrollBar* b = BarOf(W(h), bar);
    return b ? b->pos : 0;
}

BOOL ShowScrollBar(HWND h, int bar, BOOL show) {
    Window* w = W(h);
    if (!w) return FALSE;
    if (bar == SB_HORZ || bar == SB_BOTH) ShowBar(w, SB_HORZ, show);
    if ((w = W(h)) && (bar == SB_VERT || bar == SB_BOTH)) ShowBar(w, SB_VERT, show);
    return TRUE;
}

BOOL EnableScrollBar(HWND h, UINT bar, UINT arrows) {
    Window* w = W(h);
    if (!w) return FALSE;
    bool dis = arrows == ESB_DISABLE_BOTH;
    if (bar == SB_HORZ || bar == SB_BOTH) w->hbar.disabled = dis;
    if (bar == SB_VERT || bar == SB_BOTH) w->vbar.disabled = dis;
    w->ncDirty |= (bar == SB_HORZ ? 0u : kNcVBar) | (bar == SB_VERT ? 0u : kNcHBar);
    return TRUE;
}

namespace detail {

namespace {

void Arrow(HDC dc, RECT r, int dir, bool disabled) { // 0 up, 1 down, 2 left, 3 right
    COLORREF c = disabled ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT);
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        for (int j = -i; j <= i; ++j) {
            switch (dir) {
            case 0: SetPixel(dc, cx + j - 1 + 1, cy - 2 + i, c); break;
            case 1: SetPixel(dc, cx + j, cy + 1 - i, c); break;
            case 2: SetPixel(dc, cx - 2 + i, cy + j, c); break;
            case 3: SetPixel(dc, cx + 1 - i, cy + j, c); break;
            }
        }
    }
}

void Button(HDC dc, RECT r) {
    FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    RECT e = r;
    DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
}

// The checkerboard of button highlight and face, highlight where x + y is even; made again when
// the system colours change.
HBRUSH TrackBrush() {
    static HBRUSH brush = nullptr;
    static COLORREF face = CLR_INVALID, light = CLR_INVALID;
    COLORREF f = GetSysColor(COLOR_BTNFACE), l = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (brush && GetObjectType(brush) == OBJ_BRUSH && f == face && l == light) return brush;
    if (brush) DeleteObject(brush);
    face = f;
    light = l;
    BYTE bits[8 * 3 * 8];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            COLORREF c = ((x + y) & 1) ? f : l;
            BYTE* p = bits + (y * 8 + x) * 3;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    HBITMAP bmp = CreateBitmap(8, 8, 1, 24, bits);
    brush = CreatePatternBrush(bmp);
    DeleteObject(bmp);
    return brush;
}

} // namespace

void PaintScrollBar(HDC dc, Window* w, int bar, RECT r) {
    if (RectEmpty(r)) return;
    ScrollBar& b = bar == SB_VERT ? w->vbar : w->hbar;
    bool vert = bar == SB_VERT;
    int len = vert ? r.bottom - r.top : r.right - r.left;
    int arrow = vert ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL);
    if (len < 2 * arrow) arrow = len / 2;
    RECT a1 = r, a2 = r, track = r;
    if (vert) {
        a1.bottom = r.top + arrow;
        a2.top = r.bottom - arrow;
        track.top = a1.bottom;
        track.bottom = a2.top;
    } else {
        a1.right = r.left + arrow;
        a2.left = r.right - arrow;
        track.left = a1.right;
        track.right = a2.left;
    }
    // The track is dithered from button face and highlight, as the classic scroll bar is.
    if (!RectEmpty(track)) FillRect(dc, &track, TrackBrush());
    bool disabled = b.disabled || b.max <= b.min;
    Button(dc, a1);
    Button(dc, a2);
    Arrow(dc, a1, vert ? 0 : 2, disabled);
    Arrow(dc, a2, vert ? 1 : 3, disabled);
    if (!disabled) {
        RECT th = track;
        int tlen = vert ? track.bottom - track.top : track.right - track.left;
        int range = b.max - b.min + 1;
        int thumb = b.page ? std::max(8, int(std::int64_t(tlen) * b.page / range)) : arrow;
        if (thumb <= tlen) {
            int span = range - std::max(1, int(b.page));
            int off = span > 0 ? int(std::int64_t(tlen - thumb) * (b.pos - b.min) / span) : 0;
            if (vert) {
                th.top = track.top + off;
                th.bottom = th.top + thumb;
            } else {
                th.left = track.left + off;
                th.right = th.left + thumb;
            }
            Button(dc, th);
        }
    }
}


// Clicks on a scroll bar: arrows send line codes, the track page codes, and dragging the thumb
// sends thumb-track codes and a thumb position when released.
void TrackScrollBar(Window* w, int bar, POINT screen) {
    HWND h = w->handle;
    NcLayout l = Layout(w);
    bool vert = bar == SB_VERT;
    RECT r = vert ? l.vbar : l.hbar;
    POINT o = WindowOrgOnScreen(w);
    POINT p{screen.x - o.x, screen.y - o.y};
    int arrow = vert ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL);
    int len = vert ? r.bottom - r.top : r.right - r.left;
    if (len < 2 * arrow) arrow = len / 2;
    int at = vert ? p.y - r.top : p.x - r.left;
    ScrollBar& b = vert ? w->vbar : w->hbar;
    if (b.disabled || b.max <= b.min) return;
    UINT msg = vert ? WM_VSCROLL : WM_HSCROLL;
    int tlen = len - 2 * arrow;
    int range = b.max - b.min + 1;
    int thumb = b.page ? std::max(8, int(std::int64_t(tlen) * b.page / range)) : arrow;
    int span = range - std::max(1, int(b.page));
    int off = span > 0 && tlen > thumb ? int(std::int64_t(tlen - thumb) * (b.pos - b.min) / span) : 0;
    int code;
    bool thumbDrag = false;
    if (at < arrow) code = SB_LINEUP;
    else if (at >= len - arrow) code = SB_LINEDOWN;
    else if (at - arrow < off) code = SB_PAGEUP;
    else if (at - arrow >= off + thumb) code = SB_PAGEDOWN;
    else { code = SB_THUMBTRACK; thumbDrag = true; }
    if (!thumbDrag) SendMessage(h, msg, MAKEWPARAM(code, 0), 0);
    SetCapture(h);
    int grab = at - arrow - off;
    int pos = b.pos;
    MSG m;
    {
        // The capture goes however the loop ends, before the end of the scroll is told.
        rtl::TScopeExit release([h] {
            if (GetCapture() == h) ReleaseCapture();
        });
        while (GetMessage(&m, nullptr, 0, 0)) {
            if (!W(h)) return;
            if (m.hwnd == h && (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP)) {
                if (thumbDrag) {
                    POINT cp{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
                    ClientToScreen(h, &cp);
                    int a = (vert ? cp.y - o.y - r.top : cp.x - o.x - r.left) - arrow - grab;
                    int room = tlen - thumb;
                    pos = room > 0 ? b.min + int(std::int64_t(std::clamp(a, 0, room)) * span / room) : b.min;
                    if (vert) W(h)->vbar.trackPos = pos; else W(h)->hbar.trackPos = pos;
                    SendMessage(h, msg, MAKEWPARAM(m.message == WM_LBUTTONUP ? SB_THUMBPOSITION : SB_THUMBTRACK, pos), 0);
                    if (!W(h)) return;
                }
                if (m.message == WM_LBUTTONUP) break;
                continue;
            }
            if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) continue;
            TranslateMessage(&m);
            DispatchMessage(&m);
            if (!W(h)) return;
        }
    }
    if (W(h)) SendMessage(h, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

} // namespace detail

} // namespace win
