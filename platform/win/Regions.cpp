// Regions and clipping: the region sets and their operations, region objects, the update
// region of a window, a DC's clip region and what it leaves visible, and the clip pieces of the
// stores a DC draws into.
#include "win/GdiInternal.h"

#include <algorithm>

namespace win {
using namespace detail;

namespace detail {

void Region::Add(const RECT& r) {
    if (RectEmpty(r)) return;
    Subtract(r);
    FRects.push_back(r);
}
void Region::Subtract(const RECT& s) {
    if (RectEmpty(s)) return;
    std::vector<RECT> out;
    out.reserve(FRects.size() + 4);
    for (const RECT& r : FRects) {
        RECT i = Intersection(r, s);
        if (RectEmpty(i)) { out.push_back(r); continue; }
        if (r.top < i.top) out.push_back(RECT{r.left, r.top, r.right, i.top});
        if (i.bottom < r.bottom) out.push_back(RECT{r.left, i.bottom, r.right, r.bottom});
        if (r.left < i.left) out.push_back(RECT{r.left, i.top, i.left, i.bottom});
        if (i.right < r.right) out.push_back(RECT{i.right, i.top, r.right, i.bottom});
    }
    FRects.swap(out);
}
void Region::Intersect(const RECT& c) {
    std::vector<RECT> out;
    for (const RECT& r : FRects) {
        RECT i = Intersection(r, c);
        if (!RectEmpty(i)) out.push_back(i);
    }
    FRects.swap(out);
}
void Region::Intersect(const Region& o) {
    std::vector<RECT> out;
    for (const RECT& r : FRects)
        for (const RECT& c : o.FRects) {
            RECT i = Intersection(r, c);
            if (!RectEmpty(i)) out.push_back(i);
        }
    FRects.swap(out);
}
void Region::Offset(int dx, int dy) {
    for (RECT& r : FRects) OffsetRect(&r, dx, dy);
}
RECT Region::Bounds() const {
    if (FRects.empty()) return RECT{};
    RECT b = FRects[0];
    for (const RECT& r : FRects) UnionRect(&b, &b, &r);
    return b;
}
bool Region::Contains(int x, int y) const {
    for (const RECT& r : FRects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}
bool Region::Meets(const RECT& c) const {
    for (const RECT& r : FRects)
        if (!RectEmpty(Intersection(r, c))) return true;
    return false;
}
void Region::Simplify() {
    if (FRects.size() > 32) {
        RECT b = Bounds();
        FRects.assign(1, b);
    }
}

namespace {

void MakePieces(DC& dc, std::vector<Piece>& out) {
    out.clear();
    auto userClip = [&](Region& r, POINT org) {
        if (dc.st.clip) {
            Region c = *dc.st.clip;
            c.Offset(org.x, org.y);
            r.Intersect(c);
        }
    };
    switch (dc.kind) {
    case DcKind::Memory: {
        Pixels* p = BitmapOf(dc);
        if (!p) break;
        Piece pc{p, POINT{0, 0}, Region(RECT{0, 0, p->width, p->height})};
        userClip(pc.clip, pc.org);
        out.push_back(std::move(pc));
        break;
    }
    case DcKind::Window: {
        Window* w = W(dc.hwnd);
        if (!w) break;
        Window* top = TopOf(w);
        if (!top || !top->store) break;
        Piece pc;
        pc.px = top->store.get();
        pc.org = dc.whole ? WindowOrgInStore(w) : ClientOrgInStore(w);
        pc.clip = VisibleInStore(w, dc.whole);
        pc.clip.Intersect(RECT{0, 0, pc.px->width, pc.px->height});
        if (dc.paintClip) {
            Region c = *dc.paintClip;
            c.Offset(pc.org.x, pc.org.y);
            pc.clip.Intersect(c);
        }
        userClip(pc.clip, pc.org);
        out.push_back(std::move(pc));
        break;
    }
    case DcKind::Screen: {
        Region covered;
        for (Window* t : TopLevelsInZOrder()) {
            if (!(t->style & WS_VISIBLE) || !t->store) continue;
            Piece pc;
            pc.px = t->store.get();
            pc.org = POINT{-t->rect.left, -t->rect.top};
            pc.clip = Region(RECT{0, 0, pc.px->width, pc.px->height});
            Region hide = covered;
            hide.Offset(pc.org.x, pc.org.y);
            pc.clip.Subtract(hide);
            userClip(pc.clip, pc.org);
            covered.Add(t->rect);
            out.push_back(std::move(pc));
        }
        Window* d = Desktop();
        Piece pc;
        pc.px = d->store.get();
        pc.org = POINT{0, 0};
        pc.clip = Region(RECT{0, 0, pc.px->width, pc.px->height});
        pc.clip.Subtract(covered);
        userClip(pc.clip, pc.org);
        out.push_back(std::move(pc));
        break;
    }
    case DcKind::Printer: break; // drawn as vectors, never as pixels
    }
}

} // namespace

const std::vector<Piece>& Pieces(DC& dc) {
    if (!dc.piecesValid || dc.piecesLayout != LayoutGeneration()) {
        MakePieces(dc, dc.pieces);
        dc.piecesLayout = LayoutGeneration();
        dc.piecesValid = true;
    }
    return dc.pieces;
}

} // namespace detail

// --- Regions --------------------------------------------------------------------------------

namespace {
int KindOf(const Region& r) {
    if (r.Empty()) return NULLREGION;
    return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
} // namespace

HRGN CreateRectRgn(int l, int t, int r, int b) {
    auto o = std::make_unique<GdiObject>();
    o->type = OBJ_REGION;
    o->region.Add(RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)});
    return NewObject(std::move(o));
}

HRGN CreateRectRgnIndirect(const RECT* r) { return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr; }

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
    GdiObject* d = Obj(dst, OBJ_REGION);
    GdiObject* ra = Obj(a, OBJ_REGION);
    GdiObject* rb = Obj(b, OBJ_REGION);
    if (!d || !ra || (mode != RGN_COPY && !rb)) return ERROR;
    Region A = ra->region;
    Region B = rb ? rb->region : Region();
    Region out;
    switch (mode) {
    case RGN_AND: out = A; out.Intersect(B); break;
    case RGN_OR: out = A; out.Add(B); break;
    case RGN_DIFF: out = A; out.Subtract(B); break;
    case RGN_COPY: out = A; break;
    case RGN_XOR: {
        Region both = A;
        both.Intersect(B);
        out = A;
        out.Add(B);
        out.Subtract(both);
        break;
    }
    default: return ERROR;
    }
    d->region = out;
    return KindOf(out);
}

BOOL SetRectRgn(HRGN rgn, int l, int t, int r, int b) {
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!o) return FALSE;
    o->region.Clear();
    o->region.Add(RECT{l, t, r, b});
    return TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!o) return ERROR;
    o->region.Offset(dx, dy);
    return KindOf(o->region);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    GdiObject* o = Obj(rgn, OBJ_REGION);
    return o && o->region.Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* r) {
    GdiObject* o = Obj(rgn, OBJ_REGION);
    return o && r && o->region.Meets(*r);
}

int GetRgnBox(HRGN rgn, RECT* r) {
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!o || !r) return ERROR;
    *r = o->region.Bounds();
    return KindOf(o->region);
}

BOOL EqualRgn(HRGN a, HRGN b) {
    GdiObject* ra = Obj(a, OBJ_REGION);
    GdiObject* rb = Obj(b, OBJ_REGION);
    if (!ra || !rb) return FALSE;
    Region x = ra->region;
    x.Subtract(rb->region);
    Region y = rb->region;
    y.Subtract(ra->region);
    return x.Empty() && y.Empty();
}

BOOL FillRgn(HDC h, HRGN rgn, HBRUSH brush) {
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!o || !Dc(h)) return FALSE;
    for (const RECT& r : o->region.Rects()) FillRect(h, &r, brush);
    return TRUE;
}

BOOL InvertRgn(HDC h, HRGN rgn) {
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!o || !Dc(h)) return FALSE;
    for (const RECT& r : o->region.Rects()) InvertRect(h, &r);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!o || !W(hwnd)) return FALSE;
    for (const RECT& r : o->region.Rects()) InvalidateRect(hwnd, &r, erase);
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
    if (!rgn) return ValidateRect(hwnd, nullptr);
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!o || !W(hwnd)) return FALSE;
    for (const RECT& r : o->region.Rects()) ValidateRect(hwnd, &r);
    return TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL) {
    Window* w = W(hwnd);
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!w || !o) return ERROR;
    o->region = w->update;
    return KindOf(o->region);
}

int SelectClipRgn(HDC h, HRGN rgn) { return ExtSelectClipRgn(h, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC h, HRGN rgn, int mode) {
    DC* dc = Dc(h);
    if (!dc) return ERROR;
    GdiObject* o = rgn ? Obj(rgn, OBJ_REGION) : nullptr;
    if (rgn && !o) return ERROR;
    if (!o) {
        if (mode != RGN_COPY) return ERROR;
        dc->st.clip.reset();
        dc->ClipChanged();
        return SIMPLEREGION;
    }
    Region cur = dc->st.clip ? *dc->st.clip : Region(DeviceBounds(*dc));
    switch (mode) {
    case RGN_COPY: cur = o->region; break;
    case RGN_AND: cur.Intersect(o->region); break;
    case RGN_OR: cur.Add(o->region); break;
    case RGN_DIFF: cur.Subtract(o->region); break;
    case RGN_XOR: {
        Region both = cur;
        both.Intersect(o->region);
        cur.Add(o->region);
        cur.Subtract(both);
        break;
    }
    default: return ERROR;
    }
    dc->st.clip = cur;
    dc->ClipChanged();
    return KindOf(cur);
}

namespace {
// Narrows the DC's clip to a rectangle in logical coordinates, or cuts the rectangle out of it.
int ClipRect(HDC h, int l, int t, int r, int b, bool exclude) {
    DC* dc = Dc(h);
    if (!dc) return ERROR;
    POINT a = ToDevice(*dc, l, t), c = ToDevice(*dc, r, b);
    Region cur = dc->st.clip ? *dc->st.clip : Region(RECT{-100000, -100000, 100000, 100000});
    if (exclude) cur.Subtract(RECT{a.x, a.y, c.x, c.y});
    else cur.Intersect(RECT{a.x, a.y, c.x, c.y});
    dc->st.clip = cur;
    dc->ClipChanged();
    return KindOf(cur);
}
} // namespace

int IntersectClipRect(HDC h, int l, int t, int r, int b) { return ClipRect(h, l, t, r, b, false); }

int ExcludeClipRect(HDC h, int l, int t, int r, int b) { return ClipRect(h, l, t, r, b, true); }

int OffsetClipRgn(HDC h, int dx, int dy) {
    DC* dc = Dc(h);
    if (!dc) return ERROR;
    if (!dc->st.clip) return SIMPLEREGION;
    dc->st.clip->Offset(dx, dy);
    dc->ClipChanged();
    return KindOf(*dc->st.clip);
}

namespace {
const Region& VisibleOf(DC& dc) {
    // A printer's page may change under the DC; it is read each time.
    if (!dc.visibleValid || dc.visibleLayout != LayoutGeneration() || dc.kind == DcKind::Printer) {
        dc.visible = Region(DeviceBounds(dc));
        if (dc.paintClip) dc.visible.Intersect(*dc.paintClip);
        if (dc.st.clip) dc.visible.Intersect(*dc.st.clip);
        dc.visibleLayout = LayoutGeneration();
        dc.visibleValid = true;
    }
    return dc.visible;
}
} // namespace

int GetClipBox(HDC h, RECT* r) {
    DC* dc = Dc(h);
    if (!dc || !r) return ERROR;
    const Region& vis = VisibleOf(*dc);
    RECT b = vis.Bounds();
    int ox = dc->st.winOrg.x - dc->st.vpOrg.x, oy = dc->st.winOrg.y - dc->st.vpOrg.y;
    if (!vis.Empty()) OffsetRect(&b, ox, oy);
    *r = b;
    return KindOf(vis);
}

int GetClipRgn(HDC h, HRGN rgn) {
    DC* dc = Dc(h);
    GdiObject* o = Obj(rgn, OBJ_REGION);
    if (!dc || !o) return -1;
    if (!dc->st.clip) return 0;
    o->region = *dc->st.clip;
    return 1;
}

BOOL PtVisible(HDC h, int x, int y) {
    DC* dc = Dc(h);
    if (!dc) return FALSE;
    POINT p = ToDevice(*dc, x, y);
    const Region& vis = VisibleOf(*dc);
    return vis.Contains(p.x, p.y);
}

BOOL RectVisible(HDC h, const RECT* r) {
    DC* dc = Dc(h);
    if (!dc || !r) return FALSE;
    POINT a = ToDevice(*dc, r->left, r->top), c = ToDevice(*dc, r->right, r->bottom);
    const Region& vis = VisibleOf(*dc);
    return vis.Meets(RECT{a.x, a.y, c.x, c.y});
}

} // namespace win
