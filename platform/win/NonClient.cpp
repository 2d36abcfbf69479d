// The non-client area of a window: the layout of its frame, caption, menu bar, client edge and
// scroll bars, the frame's painting, and the hit test of a screen point.
#include "win/WinInternal.h"

#include <algorithm>

namespace win {
using namespace detail;

namespace detail {

int FrameWidth(const Window* w) {
    if (w->iconic && (w->style & WS_CAPTION) == WS_CAPTION) return GetSystemMetrics(SM_CXDLGFRAME);
    if (w->style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
    if ((w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
    if (w->style & WS_BORDER) return 1;
    return 0;
}

int CaptionHeight(const Window* w) {
    if ((w->style & WS_CAPTION) != WS_CAPTION) return 0;
    return GetSystemMetrics((w->exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int EdgeWidth(const Window* w) {
    int e = 0;
    if (w->exStyle & WS_EX_CLIENTEDGE) e += 2;
    if (w->exStyle & WS_EX_STATICEDGE) e += 1;
    return e;
}

NcLayout Layout(const Window* w) {
    NcLayout l{};
    int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
    RECT r{0, 0, width, height};
    int f = FrameWidth(w);
    InflateRect(&r, -f, -f);
    int cap = CaptionHeight(w);
    if (cap) {
        l.caption = RECT{r.left, r.top, r.right, r.top + cap - 1};
        r.top += cap;
    }
    if (w->iconic) {
        l.client = RECT{r.left, std::min(r.top, r.bottom), r.right, std::min(r.top, r.bottom)};
        return l;
    }
    if (int mh = MenuBarHeight(w, r.right - r.left)) {
        l.menu = RECT{r.left, r.top, r.right, std::min<LONG>(r.bottom, r.top + mh)};
        r.top = l.menu.bottom;
    }
    int e = EdgeWidth(w);
    InflateRect(&r, -e, -e);
    if (w->style & WS_VSCROLL) {
        int sw = GetSystemMetrics(SM_CXVSCROLL);
        l.vbar = RECT{std::max(r.left, r.right - sw), r.top, r.right, r.bottom};
        r.right = l.vbar.left;
    }
    if (w->style & WS_HSCROLL) {
        int sh = GetSystemMetrics(SM_CYHSCROLL);
        l.hbar = RECT{r.left, std::max(r.top, r.bottom - sh), r.right, r.bottom};
        r.bottom = l.hbar.top;
        if (w->style & WS_VSCROLL) {
            l.corner = RECT{l.vbar.left, l.hbar.top, l.vbar.right, l.hbar.bottom};
            l.vbar.bottom = l.hbar.top;
        }
    }
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    l.client = r;
    return l;
}

RECT MenuBarRect(const Window* w) { return Layout(w).menu; }

void FillSolid(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void SendNcPaint(Window* w) {
    HWND h = w->handle;
    w->ncPainting = w->ncDirty;
    w->ncDirty = 0;
    SendMessage(h, WM_NCPAINT, 1, 0);
    if ((w = W(h))) w->ncPainting = 0;
}

void PaintNonClient(Window* w) {
    // A WM_NCPAINT sent from outside paints the whole frame.
    unsigned parts = w->ncPainting ? w->ncPainting : unsigned(kNcAll);
    w->ncPainting = 0;
    w->ncDirty &= ~parts;
    if (!Visible(w)) return;
    HDC dc = GetWindowDC(w->handle);
    if (!dc) return;
    NcLayout l = Layout(w);
    if (parts & kNcFrame) ++w->framePaints;
    if (!(parts & kNcFrame)) {
        if ((parts & kNcVBar) && (w->style & WS_VSCROLL)) PaintScrollBar(dc, w, SB_VERT, l.vbar);
        if ((parts & kNcHBar) && (w->style & WS_HSCROLL)) PaintScrollBar(dc, w, SB_HORZ, l.hbar);
        ReleaseDC(w->handle, dc);
        return;
    }
    int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
    RECT r{0, 0, width, height};
    int f = FrameWidth(w);
    if (f == 1) {
        HBRUSH b = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
        FrameRect(dc, &r, b);
        DeleteObject(b);
    } else if (f > 1) {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        for (int i = 2; i < f; ++i) {
            HBRUSH b = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
            FrameRect(dc, &r, b);
            DeleteObject(b);
            InflateRect(&r, -1, -1);
        }
    }
    if (!RectEmpty(l.caption)) {
        RECT line{l.caption.left, l.caption.bottom, l.caption.right, l.caption.bottom + 1};
        FillSolid(dc, line, GetSysColor(COLOR_BTNFACE));
        PaintCaption(w, dc, l.caption);
    }
    if (!RectEmpty(l.menu)) PaintMenuBar(w, dc, l.menu);
    if (w->iconic) {
        ReleaseDC(w->handle, dc);
        return;
    }
    if (w->exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) {
        RECT e{l.client.left - EdgeWidth(w), l.client.top - EdgeWidth(w), l.client.right + EdgeWidth(w),
               l.client.bottom + EdgeWidth(w)};
        if (w->style & WS_VSCROLL) e.right = l.vbar.right + EdgeWidth(w);
        if (w->style & WS_HSCROLL) e.bottom = l.hbar.bottom + EdgeWidth(w);
        DrawEdge(dc, &e, (w->exStyle & WS_EX_CLIENTEDGE) ? EDGE_SUNKEN : BDR_SUNKENOUTER, BF_RECT);
    }
    if (w->style & WS_VSCROLL) PaintScrollBar(dc, w, SB_VERT, l.vbar);
    if (w->style & WS_HSCROLL) PaintScrollBar(dc, w, SB_HORZ, l.hbar);
    if (!RectEmpty(l.corner)) FillSolid(dc, l.corner, GetSysColor(COLOR_BTNFACE));
    ReleaseDC(w->handle, dc);
}

int NonClientHitTest(Window* w, POINT screen) {
    POINT o = WindowOrgOnScreen(w);
    POINT p{screen.x - o.x, screen.y - o.y};
    int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
    RECT all{0, 0, width, height};
    if (!PtInRect(&all, p)) return HTNOWHERE;
    NcLayout l = Layout(w);
    if (PtInRect(&l.client, p)) return HTCLIENT;
    if (PtInRect(&l.vbar, p)) return HTVSCROLL;
    if (PtInRect(&l.hbar, p)) return HTHSCROLL;
    if (PtInRect(&l.caption, p)) return CaptionHitTest(w, l.caption, p);
    if (PtInRect(&l.menu, p)) return HTMENU;
    // A maximized or minimized window has no sizing borders.
    if ((w->style & WS_THICKFRAME) && !w->zoomed && !w->iconic) {
        int f = FrameWidth(w);
        bool left = p.x < f, right = p.x >= width - f, top = p.y < f, bottom = p.y >= height - f;
        if (top && left) return HTTOPLEFT;
        if (top && right) return HTTOPRIGHT;
        if (bottom && left) return HTBOTTOMLEFT;
        if (bottom && right) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
    }
    return HTBORDER;
}

} // namespace detail

} // namespace win
