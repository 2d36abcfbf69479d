// GDI: objects, device contexts (window, screen and memory), pens and brushes, a DC's state,
// and the drawing primitives with their Windows pixel rules, worked directly on the pixels of
// the stores. Regions and clipping are in Regions.cpp, bitmaps and blits in Bitmaps.cpp.
#include "win/GdiInternal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace win {
using namespace detail;

namespace {

struct GdiState {
    std::map<std::uintptr_t, std::unique_ptr<GdiObject>> objects;
    std::map<std::uintptr_t, std::unique_ptr<DC>> dcs;
    std::uintptr_t nextObj = 0x20000, nextDc = 0x800000;
    HGDIOBJ stock[20] = {};
    HGDIOBJ stockBitmap = nullptr;
    HGDIOBJ sysBrushes[32] = {};
};

GdiState& G() {
    static GdiState g;
    return g;
}

HGDIOBJ AddObj(std::unique_ptr<GdiObject> o) {
    auto h = G().nextObj;
    G().nextObj += 4;
    G().objects.emplace(h, std::move(o));
    return reinterpret_cast<HGDIOBJ>(h);
}

HGDIOBJ MakeStock(int type, const std::function<void(GdiObject&)>& init) {
    auto o = std::make_unique<GdiObject>();
    o->type = type;
    o->stock = true;
    init(*o);
    return AddObj(std::move(o));
}

void InitStock() {
    auto& g = G();
    if (g.stock[BLACK_PEN]) return;
    auto brush = [](COLORREF c, UINT style = BS_SOLID) {
        return [=](GdiObject& o) { o.brush.lbStyle = style; o.brush.lbColor = c; };
    };
    g.stock[WHITE_BRUSH] = MakeStock(OBJ_BRUSH, brush(RGB(255, 255, 255)));
    g.stock[LTGRAY_BRUSH] = MakeStock(OBJ_BRUSH, brush(RGB(192, 192, 192)));
    g.stock[GRAY_BRUSH] = MakeStock(OBJ_BRUSH, brush(RGB(128, 128, 128)));
    g.stock[DKGRAY_BRUSH] = MakeStock(OBJ_BRUSH, brush(RGB(64, 64, 64)));
    g.stock[BLACK_BRUSH] = MakeStock(OBJ_BRUSH, brush(RGB(0, 0, 0)));
    g.stock[NULL_BRUSH] = MakeStock(OBJ_BRUSH, brush(0, BS_NULL));
    auto pen = [](COLORREF c, UINT style = PS_SOLID) {
        return [=](GdiObject& o) { o.pen.lopnStyle = style; o.pen.lopnColor = c; o.pen.lopnWidth.x = 1; };
    };
    g.stock[WHITE_PEN] = MakeStock(OBJ_PEN, pen(RGB(255, 255, 255)));
    g.stock[BLACK_PEN] = MakeStock(OBJ_PEN, pen(0));
    g.stock[NULL_PEN] = MakeStock(OBJ_PEN, pen(0, PS_NULL));
    auto font = [](const char* face, int height, int weight) {
        return [=](GdiObject& o) {
            std::strncpy(o.font.lfFaceName, face, LF_FACESIZE - 1);
            o.font.lfHeight = height;
            o.font.lfWeight = weight;
        };
    };
    g.stock[OEM_FIXED_FONT] = MakeStock(OBJ_FONT, font("Terminal", 12, FW_NORMAL));
    g.stock[ANSI_FIXED_FONT] = MakeStock(OBJ_FONT, font("Courier", 13, FW_NORMAL));
    g.stock[ANSI_VAR_FONT] = MakeStock(OBJ_FONT, font("MS Sans Serif", 13, FW_NORMAL));
    g.stock[SYSTEM_FONT] = MakeStock(OBJ_FONT, font("System", 16, FW_BOLD));
    g.stock[DEVICE_DEFAULT_FONT] = MakeStock(OBJ_FONT, font("System", 16, FW_BOLD));
    g.stock[SYSTEM_FIXED_FONT] = MakeStock(OBJ_FONT, font("Fixedsys", 15, FW_NORMAL));
    g.stock[DEFAULT_GUI_FONT] = MakeStock(OBJ_FONT, font("MS Sans Serif", -11, FW_NORMAL));
    g.stockBitmap = MakeStock(OBJ_BITMAP, [](GdiObject& o) { o.bitmap = std::make_shared<Pixels>(1, 1, true, 0); });
}

DcState DefaultState() {
    InitStock();
    DcState s;
    s.pen = G().stock[BLACK_PEN];
    s.brush = G().stock[WHITE_BRUSH];
    s.font = G().stock[SYSTEM_FONT];
    return s;
}

HDC AddDc(std::unique_ptr<DC> dc) {
    auto h = G().nextDc;
    G().nextDc += 4;
    G().dcs.emplace(h, std::move(dc));
    return reinterpret_cast<HDC>(h);
}

std::uint32_t Rop2(int rop, std::uint32_t p, std::uint32_t d) {
    std::uint32_t r;
    switch (rop) {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(d | p); break;
    case R2_MASKNOTPEN: r = d & ~p; break;
    case R2_NOTCOPYPEN: r = ~p; break;
    case R2_MASKPENNOT: r = p & ~d; break;
    case R2_NOT: r = ~d; break;
    case R2_XORPEN: r = d ^ p; break;
    case R2_NOTMASKPEN: r = ~(d & p); break;
    case R2_MASKPEN: r = d & p; break;
    case R2_NOTXORPEN: r = ~(d ^ p); break;
    case R2_NOP: r = d; break;
    case R2_MERGENOTPEN: r = d | ~p; break;
    case R2_MERGEPENNOT: r = p | ~d; break;
    case R2_MERGEPEN: r = d | p; break;
    case R2_WHITE: r = 0xFFFFFF; break;
    default: r = p; break;
    }
    return r & 0xFFFFFF;
}

} // namespace

namespace detail {

HBRUSH ResolveBrush(HBRUSH b) {
    auto v = std::uintptr_t(b);
    if (v > 0 && v <= 32) return GetSysColorBrush(int(v) - 1);
    return b;
}

bool BrushPixel(DC& dc, GdiObject* b, int x, int y, bool mono, std::uint32_t* out) {
    if (!b || b->brush.lbStyle == BS_NULL) return false;
    std::uint32_t p;
    if (b->brush.lbStyle == BS_PATTERN && b->pattern && b->pattern->width > 0) {
        const Pixels& pat = *b->pattern;
        int px = ((x - dc.st.brushOrg.x) % pat.width + pat.width) % pat.width;
        int py = ((y - dc.st.brushOrg.y) % pat.height + pat.height) % pat.height;
        p = pat.At(px, py);
        if (pat.mono && !mono) p = p ? ToPix(dc.st.bk) : ToPix(dc.st.text);
    } else if (b->brush.lbStyle == BS_HATCHED) {
        int px = ((x - dc.st.brushOrg.x) % 8 + 8) % 8, py = ((y - dc.st.brushOrg.y) % 8 + 8) % 8;
        bool on = false;
        switch (int(b->brush.lbHatch)) {
        case HS_HORIZONTAL: on = py == 0; break;
        case HS_VERTICAL: on = px == 0; break;
        case HS_FDIAGONAL: on = px == py; break;
        case HS_BDIAGONAL: on = px == 7 - py; break;
        case HS_CROSS: on = px == 0 || py == 0; break;
        case HS_DIAGCROSS: on = px == py || px == 7 - py; break;
        }
        if (on) p = ToPix(b->brush.lbColor);
        else if (dc.st.bkMode == OPAQUE) p = ToPix(dc.st.bk);
        else return false;
    } else {
        p = ToPix(b->brush.lbColor);
    }
    *out = mono ? MonoOf(p) : p;
    return true;
}

} // namespace detail

namespace {

int PenWidth(GdiObject* pen) { return pen ? std::max<int>(1, pen->pen.lopnWidth.x) : 1; }

bool PenNull(GdiObject* pen) { return !pen || pen->pen.lopnStyle == PS_NULL; }

// The dash pattern of a cosmetic pen: true where the pen draws at step i.
bool PenOn(GdiObject* pen, int i) {
    static const int dash[] = {18, 6}, dot[] = {3, 3}, dashdot[] = {9, 6, 3, 6}, dashdotdot[] = {9, 3, 3, 3, 3, 3};
    const int* pat = nullptr;
    int n = 0;
    switch (pen->pen.lopnStyle) {
    case PS_DASH: pat = dash; n = 2; break;
    case PS_DOT: pat = dot; n = 2; break;
    case PS_DASHDOT: pat = dashdot; n = 4; break;
    case PS_DASHDOTDOT: pat = dashdotdot; n = 6; break;
    default: return true;
    }
    int total = 0;
    for (int k = 0; k < n; ++k) total += pat[k];
    i %= total;
    for (int k = 0; k < n; ++k) {
        if (i < pat[k]) return (k & 1) == 0;
        i -= pat[k];
    }
    return true;
}

void PenPixel(DC& dc, const std::vector<Piece>& ps, GdiObject* pen, int x, int y, int step) {
    int w = PenWidth(pen);
    bool on = PenOn(pen, step);
    if (!on && dc.st.bkMode != OPAQUE) return;
    std::uint32_t c = ToPix(on ? pen->pen.lopnColor : dc.st.bk);
    int rop = dc.st.rop2;
    int x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
    for (int yy = y0; yy < y0 + w; ++yy)
        Span(ps, yy, x0, x0 + w, [&](int, int, std::uint32_t d, bool mono) { return Rop2(rop, mono ? MonoOf(c) : c, d); });
}

// A level or upright line of one pixel from a to b, the last point left out, in one colour
// through the DC's ROP2: whole spans rather than pixel by pixel.
void StraightLine(DC& dc, const std::vector<Piece>& ps, POINT a, POINT b, std::uint32_t c) {
    int rop = dc.st.rop2;
    auto ink = [&](int, int, std::uint32_t d, bool mono) { return Rop2(rop, mono ? MonoOf(c) : c, d); };
    if (a.y == b.y) {
        int x0 = a.x < b.x ? a.x : b.x + 1, x1 = a.x < b.x ? b.x : a.x + 1;
        if (rop == R2_COPYPEN) SolidSpan(ps, a.y, x0, x1, c);
        else Span(ps, a.y, x0, x1, ink);
        return;
    }
    int y0 = a.y < b.y ? a.y : b.y + 1, y1 = a.y < b.y ? b.y : a.y + 1;
    RECT pb = PiecesBounds(ps);
    if (a.x < pb.left || a.x >= pb.right) return;
    for (int y = std::max<int>(y0, pb.top); y < std::min<int>(y1, pb.bottom); ++y) Span(ps, y, a.x, a.x + 1, ink);
}

// Bresenham from a to b, the last point left out, in device coordinates.
void DeviceLine(DC& dc, const std::vector<Piece>& ps, POINT a, POINT b, int* step) {
    GdiObject* pen = Obj(dc.st.pen, OBJ_PEN);
    if (PenNull(pen)) return;
    if ((a.x == b.x || a.y == b.y) && PenWidth(pen) == 1 &&
        (pen->pen.lopnStyle == PS_SOLID || pen->pen.lopnStyle == PS_INSIDEFRAME)) {
        if (a.x == b.x && a.y == b.y) return;
        StraightLine(dc, ps, a, b, ToPix(pen->pen.lopnColor));
        *step += std::abs(b.x - a.x) + std::abs(b.y - a.y);
        return;
    }
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    int x = a.x, y = a.y;
    while (!(x == b.x && y == b.y)) {
        PenPixel(dc, ps, pen, x, y, (*step)++);
        int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
}

void FillShape(DC& dc, const std::vector<Piece>& ps, int y, int x0, int x1) {
    GdiObject* br = Obj(dc.st.brush, OBJ_BRUSH);
    if (!br || br->brush.lbStyle == BS_NULL) return;
    int rop = dc.st.rop2;
    if (br->brush.lbStyle == BS_SOLID && rop == R2_COPYPEN) return SolidSpan(ps, y, x0, x1, ToPix(br->brush.lbColor));
    Span(ps, y, x0, x1, [&](int x, int yy, std::uint32_t d, bool mono) {
        std::uint32_t p;
        if (!BrushPixel(dc, br, x, yy, mono, &p)) return d;
        return Rop2(rop, p, d);
    });
}

// A pattern or hatched brush repeats along a row: its pixels are worked out once per span and
// piece and copied along, rather than looked up pixel by pixel (the scroll bar's track).
bool PeriodicBrushSpan(DC& dc, GdiObject* br, const std::vector<Piece>& ps, int y, int x0, int x1) {
    int period = 0;
    if (br->brush.lbStyle == BS_HATCHED) period = 8;
    else if (br->brush.lbStyle == BS_PATTERN && br->pattern) period = br->pattern->width;
    constexpr int kMaxPeriod = 64;
    if (period <= 0 || period > kMaxPeriod) return false;
    if (x1 <= x0) return true;
    std::uint32_t value[kMaxPeriod];
    bool on[kMaxPeriod];
    for (const Piece& p : ps) {
        const int py = y + p.org.y;
        if (py < 0 || py >= p.px->height) continue;
        const bool mono = p.px->mono;
        for (int i = 0; i < period; ++i) {
            std::uint32_t v = 0;
            on[i] = BrushPixel(dc, br, x0 + i, y, mono, &v);
            v &= 0xFFFFFF;
            value[i] = mono ? MonoOf(v) : v;
        }
        std::uint32_t* row = p.px->Row(py);
        for (const RECT& r : p.clip.Rects()) {
            if (py < r.top || py >= r.bottom) continue;
            const int a = std::max<int>(x0 + p.org.x, r.left), b = std::min<int>(x1 + p.org.x, r.right);
            if (a >= b) continue;
            int i = (a - p.org.x - x0) % period;
            for (int px = a; px < b; ++px) {
                if (on[i]) {
                    row[px] = value[i];
                } else {
                    const std::uint32_t d = row[px] & 0xFFFFFF;
                    row[px] = mono ? MonoOf(d) : d;
                }
                if (++i == period) i = 0;
            }
        }
    }
    return true;
}

void OutlineSpan(DC& dc, const std::vector<Piece>& ps, int y, int x0, int x1) {
    GdiObject* pen = Obj(dc.st.pen, OBJ_PEN);
    if (PenNull(pen)) return;
    std::uint32_t c = ToPix(pen->pen.lopnColor);
    int rop = dc.st.rop2;
    if (rop == R2_COPYPEN) return SolidSpan(ps, y, x0, x1, c);
    Span(ps, y, x0, x1, [&](int, int, std::uint32_t d, bool mono) { return Rop2(rop, mono ? MonoOf(c) : c, d); });
}

POINT Dev(DC& dc, int x, int y) { return ToDevice(dc, x, y); }

} // namespace

namespace detail {

HGDIOBJ NewObject(std::unique_ptr<GdiObject> o) { return AddObj(std::move(o)); }

HDC NewDc(std::unique_ptr<DC> dc) {
    dc->st = DefaultState();
    return AddDc(std::move(dc));
}

GdiObject* Obj(HGDIOBJ h, int type) {
    InitStock();
    auto& m = G().objects;
    auto it = m.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == m.end()) return nullptr;
    if (type && it->second->type != type) return nullptr;
    return it->second.get();
}

DC* Dc(HDC h) {
    auto& m = G().dcs;
    auto it = m.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == m.end()) return nullptr;
    DC* dc = it->second.get();
    if (dc->kind == DcKind::Window && !W(dc->hwnd)) return nullptr;
    return dc;
}

Pixels* BitmapOf(DC& dc) {
    GdiObject* b = Obj(dc.st.bitmap, OBJ_BITMAP);
    return b ? b->bitmap.get() : nullptr;
}

bool DestMono(DC& dc) {
    if (dc.kind != DcKind::Memory) return false;
    Pixels* p = BitmapOf(dc);
    return p && p->mono;
}

RECT DeviceBounds(DC& dc) {
    switch (dc.kind) {
    case DcKind::Memory: {
        Pixels* p = BitmapOf(dc);
        return p ? RECT{0, 0, p->width, p->height} : RECT{};
    }
    case DcKind::Screen: return RECT{0, 0, LONG(ScreenWidth()), LONG(ScreenHeight())};
    case DcKind::Printer: return PrinterBounds(dc);
    case DcKind::Window: {
        Window* w = W(dc.hwnd);
        if (!w) return RECT{};
        if (dc.whole) return RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
        return RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    }
    }
    return RECT{};
}

void SolidSpan(const std::vector<Piece>& ps, int y, int x0, int x1, std::uint32_t pix) {
    if (x1 <= x0) return;
    for (const Piece& p : ps) {
        int py = y + p.org.y;
        if (py < 0 || py >= p.px->height) continue;
        std::uint32_t* row = p.px->Row(py);
        std::uint32_t v = p.px->mono ? MonoOf(pix) : (pix & 0xFFFFFF);
        for (const RECT& r : p.clip.Rects()) {
            if (py < r.top || py >= r.bottom) continue;
            int a = std::max<int>(x0 + p.org.x, r.left), b = std::min<int>(x1 + p.org.x, r.right);
            if (a < b) std::fill(row + a, row + b, v);
        }
    }
}

RECT PiecesBounds(const std::vector<Piece>& ps) {
    RECT b{};
    for (const Piece& p : ps) {
        RECT r = p.clip.Bounds();
        if (RectEmpty(r)) continue;
        OffsetRect(&r, -p.org.x, -p.org.y);
        UnionRect(&b, &b, &r);
    }
    return b;
}

void FillDeviceRect(DC& dc, const std::vector<Piece>& ps, RECT r, COLORREF c) {
    if (dc.kind == DcKind::Printer) return PrinterFillColor(dc, r, c);
    std::uint32_t pix = ToPix(c);
    r = Intersection(r, PiecesBounds(ps));
    for (int y = r.top; y < r.bottom; ++y) SolidSpan(ps, y, r.left, r.right, pix);
}

bool ReadDevicePixel(DC& dc, int x, int y, std::uint32_t* pix) {
    switch (dc.kind) {
    case DcKind::Memory: {
        Pixels* p = BitmapOf(dc);
        if (!p || !p->Inside(x, y)) return false;
        *pix = p->At(x, y);
        return true;
    }
    case DcKind::Window: {
        Window* w = W(dc.hwnd);
        Window* top = TopOf(w);
        if (!w || !top || !top->store) return false;
        POINT o = dc.whole ? WindowOrgInStore(w) : ClientOrgInStore(w);
        if (!top->store->Inside(x + o.x, y + o.y)) return false;
        *pix = top->store->At(x + o.x, y + o.y);
        return true;
    }
    case DcKind::Screen: {
        if (x < 0 || y < 0 || x >= int(ScreenWidth()) || y >= int(ScreenHeight())) return false;
        for (Window* t : TopLevelsInZOrder()) {
            if (!(t->style & WS_VISIBLE) || !t->store) continue;
            if (!PtInRect(&t->rect, POINT{x, y})) continue;
            int sx = x - t->rect.left, sy = y - t->rect.top;
            if (!t->store->Inside(sx, sy)) continue;
            *pix = t->store->At(sx, sy);
            return true;
        }
        *pix = Desktop()->store->At(x, y);
        return true;
    }
    case DcKind::Printer: return false;
    }
    return false;
}

void FillPolygonDevice(DC& dc, const std::vector<Piece>& ps, const std::vector<POINT>& pts, std::uint32_t pix) {
    if (dc.kind == DcKind::Printer) return PrinterFillColor(dc, pts, ToColor(pix));
    if (pts.size() < 3) return;
    int ymin = pts[0].y, ymax = pts[0].y;
    for (auto& p : pts) { ymin = std::min<int>(ymin, p.y); ymax = std::max<int>(ymax, p.y); }
    RECT pb = PiecesBounds(ps);
    ymin = std::max<int>(ymin, pb.top);
    ymax = std::min<int>(ymax, pb.bottom);
    for (int y = ymin; y < ymax; ++y) {
        double cy = y + 0.5;
        std::vector<std::pair<double, int>> xs;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            POINT a = pts[i], b = pts[(i + 1) % pts.size()];
            if (a.y == b.y) continue;
            int dir = a.y < b.y ? 1 : -1;
            if (a.y > b.y) std::swap(a, b);
            if (cy < a.y || cy >= b.y) continue;
            xs.push_back({a.x + (cy - a.y) * (b.x - a.x) / double(b.y - a.y), dir});
        }
        std::sort(xs.begin(), xs.end());
        int wind = 0;
        for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
            wind += xs[i].second;
            bool in = dc.st.polyFill == WINDING ? wind != 0 : (i % 2) == 0;
            if (!in) continue;
            int x0 = int(std::ceil(xs[i].first - 0.5)), x1 = int(std::ceil(xs[i + 1].first - 0.5));
            SolidSpan(ps, y, x0, x1, pix);
        }
    }
}

void DropPaintDcs(HWND hwnd) {
    auto& m = G().dcs;
    for (auto it = m.begin(); it != m.end();) {
        if (it->second->paint && it->second->hwnd == hwnd) {
            it = m.erase(it);
            if (Window* w = W(hwnd)) CaretAfterPaint(w);
        } else {
            ++it;
        }
    }
}

void ResetGdi() {
    auto& g = G();
    g.dcs.clear();
    for (auto it = g.objects.begin(); it != g.objects.end();) {
        if (it->second->stock) {
            it->second->selected = 0;
            it->second->selectedIn = nullptr;
            ++it;
        } else {
            it = g.objects.erase(it);
        }
    }
}

} // namespace detail

namespace {

// The DC's points (pen position, brush and mapping origins): one set, handing back the one
// before when asked, or one read.
BOOL SwapPoint(HDC h, POINT DcState::*Field, POINT Value, POINT* Old) {
    DC* dc = Dc(h);
    if (!dc) return FALSE;
    if (Old) *Old = dc->st.*Field;
    dc->st.*Field = Value;
    return TRUE;
}

BOOL ReadPoint(HDC h, POINT DcState::*Field, POINT* P) {
    DC* dc = Dc(h);
    if (!dc || !P) return FALSE;
    *P = dc->st.*Field;
    return TRUE;
}

} // namespace

// --- Device contexts ------------------------------------------------------------------------

HDC CreateCompatibleDC(HDC) {
    auto dc = std::make_unique<DC>();
    dc->kind = DcKind::Memory;
    dc->st = DefaultState();
    dc->st.bitmap = G().stockBitmap;
    return AddDc(std::move(dc));
}

BOOL DeleteDC(HDC h) {
    DC* dc = Dc(h);
    // A printer's DC takes its open job with it.
    if (!dc || (dc->kind != DcKind::Memory && dc->kind != DcKind::Printer)) return FALSE;
    auto release = [](HGDIOBJ o) {
        if (GdiObject* g = Obj(o)) {
            if (g->selected > 0) --g->selected;
            if (g->type == OBJ_BITMAP) g->selectedIn = nullptr;
        }
    };
    release(dc->st.pen);
    release(dc->st.brush);
    release(dc->st.font);
    release(dc->st.bitmap);
    G().dcs.erase(reinterpret_cast<std::uintptr_t>(h));
    return TRUE;
}

int SaveDC(HDC h) {
    DC* dc = Dc(h);
    if (!dc) return 0;
    dc->saved.push_back(dc->st);
    return int(dc->saved.size());
}

BOOL RestoreDC(HDC h, int saved) {
    DC* dc = Dc(h);
    if (!dc) return FALSE;
    int n = int(dc->saved.size());
    int idx = saved < 0 ? n + saved : saved - 1;
    if (idx < 0 || idx >= n) return FALSE;
    HGDIOBJ bmp = dc->st.bitmap;
    const bool sameClip = dc->st.clip.has_value() == dc->saved[std::size_t(idx)].clip.has_value() &&
                          (!dc->st.clip || *dc->st.clip == *dc->saved[std::size_t(idx)].clip);
    dc->st = dc->saved[std::size_t(idx)];
    if (!sameClip || dc->st.bitmap != bmp) dc->ClipChanged();
    if (dc->st.bitmap != bmp) {
        // The bitmap selection moves back with the state.
        if (GdiObject* b = Obj(bmp, OBJ_BITMAP)) b->selectedIn = nullptr;
        if (GdiObject* b = Obj(dc->st.bitmap, OBJ_BITMAP)) b->selectedIn = h;
    }
    dc->saved.resize(std::size_t(idx));
    return TRUE;
}

HWND WindowFromDC(HDC h) {
    DC* dc = Dc(h);
    return dc && dc->kind == DcKind::Window ? dc->hwnd : nullptr;
}

int GetDeviceCaps(HDC h, int index) {
    DC* dc = Dc(h);
    if (!dc) return 0;
    if (dc->kind == DcKind::Printer) return PrinterCaps(*dc, index);
    bool mono = DestMono(*dc);
    switch (index) {
    case HORZRES: return int(ScreenWidth());
    case VERTRES: return int(ScreenHeight());
    case HORZSIZE: return int(ScreenWidth() * 254 / (ScreenDpi() * 10));
    case VERTSIZE: return int(ScreenHeight() * 254 / (ScreenDpi() * 10));
    case BITSPIXEL: return mono ? 1 : 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
    case LOGPIXELSX:
    case LOGPIXELSY: return ScreenDpi();
    case SIZEPALETTE: return 0;
    }
    return 0;
}

HDC GetDC(HWND h) {
    auto dc = std::make_unique<DC>();
    dc->st = DefaultState();
    if (!h || h == GetDesktopWindow()) {
        dc->kind = DcKind::Screen;
    } else {
        Window* w = W(h);
        if (!w) return nullptr;
        dc->kind = DcKind::Window;
        dc->hwnd = h;
        if (w->font) dc->st.font = w->font;
        CaretBeforePaint(w);
    }
    return AddDc(std::move(dc));
}

HDC GetWindowDC(HWND h) {
    if (!h || h == GetDesktopWindow()) return GetDC(nullptr);
    Window* w = W(h);
    if (!w) return nullptr;
    auto dc = std::make_unique<DC>();
    dc->st = DefaultState();
    dc->kind = DcKind::Window;
    dc->hwnd = h;
    dc->whole = true;
    return AddDc(std::move(dc));
}

int ReleaseDC(HWND, HDC h) {
    auto& m = G().dcs;
    auto it = m.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == m.end() || it->second->kind == DcKind::Memory) return 0;
    HWND hwnd = it->second->hwnd;
    bool whole = it->second->whole;
    m.erase(it);
    if (Window* w = W(hwnd); w && !whole) CaretAfterPaint(w);
    return 1;
}

HDC BeginPaint(HWND h, PAINTSTRUCT* ps) {
    Window* w = W(h);
    if (!w || !ps) return nullptr;
    if (w->ncDirty) {
        SendNcPaint(w);
        if (!(w = W(h))) return nullptr;
    }
    CaretBeforePaint(w);
    ++w->clientPaints;
    Region upd = w->update;
    bool erase = w->erase;
    w->update.Clear();
    w->erase = false;
    w->internalPaint = false;
    auto dc = std::make_unique<DC>();
    dc->st = DefaultState();
    if (w->font) dc->st.font = w->font;
    dc->kind = DcKind::Window;
    dc->hwnd = h;
    dc->paint = true;
    dc->paintClip = upd;
    HDC hdc = AddDc(std::move(dc));
    *ps = PAINTSTRUCT{};
    ps->hdc = hdc;
    ps->rcPaint = upd.Bounds();
    ps->fErase = FALSE;
    if (erase && !upd.Empty()) ps->fErase = SendMessage(h, WM_ERASEBKGND, WPARAM(hdc), 0) ? FALSE : TRUE;
    return hdc;
}

BOOL EndPaint(HWND h, const PAINTSTRUCT* ps) {
    if (!ps) return FALSE;
    auto& m = G().dcs;
    auto it = m.find(reinterpret_cast<std::uintptr_t>(ps->hdc));
    if (it == m.end()) return FALSE;
    m.erase(it);
    if (Window* w = W(h)) CaretAfterPaint(w);
    return TRUE;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

// --- Objects --------------------------------------------------------------------------------

HGDIOBJ GetStockObject(int index) {
    InitStock();
    if (index < 0 || index >= 20) return nullptr;
    return G().stock[index];
}

HGDIOBJ SelectObject(HDC h, HGDIOBJ obj) {
    DC* dc = Dc(h);
    GdiObject* o = Obj(obj);
    if (!dc || !o) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (o->type) {
    case OBJ_PEN: slot = &dc->st.pen; break;
    case OBJ_BRUSH: slot = &dc->st.brush; break;
    case OBJ_FONT: slot = &dc->st.font; break;
    case OBJ_BITMAP:
        if (dc->kind != DcKind::Memory) return nullptr;
        if (o->selectedIn && o->selectedIn != h && !o->stock) return nullptr;
        slot = &dc->st.bitmap;
        break;
    case OBJ_REGION: {
        int r = SelectClipRgn(h, obj);
        return reinterpret_cast<HGDIOBJ>(std::uintptr_t(r));
    }
    default: return nullptr;
    }
    HGDIOBJ old = *slot;
    if (GdiObject* prev = Obj(old)) {
        if (prev->selected > 0) --prev->selected;
        if (prev->type == OBJ_BITMAP && prev->selectedIn == h) prev->selectedIn = nullptr;
    }
    *slot = obj;
    if (o->type == OBJ_BITMAP) dc->ClipChanged();
    ++o->selected;
    if (o->type == OBJ_BITMAP && !o->stock) o->selectedIn = h;
    return old;
}

BOOL DeleteObject(HGDIOBJ obj) {
    GdiObject* o = Obj(obj);
    if (!o) return FALSE;
    if (o->stock) return TRUE;
    if (o->selected > 0) {
        // Still selected: only window and screen DCs, which do not outlive their use, may hold
        // it; memory DCs keep it alive until it is selected out.
        bool inMemory = false;
        for (auto& [hd, dc] : G().dcs) {
            DcState& s = dc->st;
            if (s.pen == obj || s.brush == obj || s.font == obj || s.bitmap == obj) {
                if (dc->kind == DcKind::Memory) inMemory = true;
            }
        }
        if (inMemory) return FALSE;
        for (auto& [hd, dc] : G().dcs) {
            DcState& s = dc->st;
            if (s.pen == obj) s.pen = G().stock[BLACK_PEN];
            if (s.brush == obj) s.brush = G().stock[WHITE_BRUSH];
            if (s.font == obj) s.font = G().stock[SYSTEM_FONT];
        }
    }
    for (int i = 0; i < 32; ++i)
        if (G().sysBrushes[i] == obj) return TRUE; // system colour brushes stay
    G().objects.erase(reinterpret_cast<std::uintptr_t>(obj));
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj) {
    if (GdiObject* o = Obj(obj)) return DWORD(o->type);
    if (DC* dc = Dc(reinterpret_cast<HDC>(obj))) return dc->kind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
    return 0;
}

HGDIOBJ GetCurrentObject(HDC h, UINT type) {
    DC* dc = Dc(h);
    if (!dc) return nullptr;
    switch (type) {
    case OBJ_PEN: return dc->st.pen;
    case OBJ_BRUSH: return dc->st.brush;
    case OBJ_FONT: return dc->st.font;
    case OBJ_BITMAP: return dc->st.bitmap;
    }
    return nullptr;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    LOGPEN lp;
    lp.lopnStyle = UINT(style);
    lp.lopnWidth.x = width;
    lp.lopnColor = color;
    return CreatePenIndirect(&lp);
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
    if (!lp || lp->lopnStyle > PS_INSIDEFRAME) return nullptr;
    auto o = std::make_unique<GdiObject>();
    o->type = OBJ_PEN;
    o->pen = *lp;
    if (o->pen.lopnWidth.x > 1 && o->pen.lopnStyle != PS_INSIDEFRAME && o->pen.lopnStyle != PS_NULL)
        o->pen.lopnStyle = PS_SOLID; // wide pens draw solid
    return AddObj(std::move(o));
}

HBRUSH CreateSolidBrush(COLORREF c) {
    LOGBRUSH lb;
    lb.lbStyle = BS_SOLID;
    lb.lbColor = c & 0xFFFFFF;
    return CreateBrushIndirect(&lb);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF c) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    LOGBRUSH lb;
    lb.lbStyle = BS_HATCHED;
    lb.lbColor = c & 0xFFFFFF;
    lb.lbHatch = std::uintptr_t(hatch);
    return CreateBrushIndirect(&lb);
}

HBRUSH CreatePatternBrush(HBITMAP bmp) {
    GdiObject* b = Obj(bmp, OBJ_BITMAP);
    if (!b) return nullptr;
    auto o = std::make_unique<GdiObject>();
    o->type = OBJ_BRUSH;
    o->brush.lbStyle = BS_PATTERN;
    o->brush.lbHatch = std::uintptr_t(bmp);
    const Pixels& src = *b->bitmap;
    int w = std::min(8, src.width), h = std::min(8, src.height);
    o->pattern = std::make_shared<Pixels>(w, h, src.mono);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) o->pattern->Row(y)[x] = src.At(x, y);
    return AddObj(std::move(o));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb) return nullptr;
    if (lb->lbStyle == BS_PATTERN) return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    if (lb->lbStyle > BS_PATTERN) return nullptr;
    auto o = std::make_unique<GdiObject>();
    o->type = OBJ_BRUSH;
    o->brush = *lb;
    return AddObj(std::move(o));
}

BOOL SetBrushOrgEx(HDC h, int x, int y, POINT* old) { return SwapPoint(h, &DcState::brushOrg, POINT{x, y}, old); }

BOOL GetBrushOrgEx(HDC h, POINT* p) { return ReadPoint(h, &DcState::brushOrg, p); }

int GetObject(HGDIOBJ obj, int size, void* out) {
    GdiObject* o = Obj(obj);
    if (!o) return 0;
    switch (o->type) {
    case OBJ_BITMAP: {
        BITMAP bm;
        bm.bmWidth = o->bitmap->width;
        bm.bmHeight = o->bitmap->height;
        bm.bmBitsPixel = o->bitmap->mono ? 1 : 24;
        bm.bmWidthBytes = ((bm.bmWidth * bm.bmBitsPixel + 15) / 16) * 2;
        if (!out) return int(sizeof bm);
        if (size < int(sizeof bm)) return 0;
        std::memcpy(out, &bm, sizeof bm);
        return int(sizeof bm);
    }
    case OBJ_PEN:
        if (!out) return int(sizeof(LOGPEN));
        if (size < int(sizeof(LOGPEN))) return 0;
        std::memcpy(out, &o->pen, sizeof(LOGPEN));
        return int(sizeof(LOGPEN));
    case OBJ_BRUSH:
        if (!out) return int(sizeof(LOGBRUSH));
        if (size < int(sizeof(LOGBRUSH))) return 0;
        std::memcpy(out, &o->brush, sizeof(LOGBRUSH));
        return int(sizeof(LOGBRUSH));
    case OBJ_FONT:
        if (!out) return int(sizeof(LOGFONT));
        if (size < int(sizeof(LOGFONT))) return 0;
        std::memcpy(out, &o->font, sizeof(LOGFONT));
        return int(sizeof(LOGFONT));
    }
    return 0;
}

// --- State ----------------------------------------------------------------------------------

// A setter refuses, with Fail, a value for which Valid (an expression of v) is false.
#define DC_CHECKED_SETTER(Name, Type, field, Fail, Valid) \
    Type Name(HDC h, Type v) {                            \
        DC* dc = Dc(h);                                   \
        if (!dc || !(Valid)) return Fail;                 \
        Type old = Type(dc->st.field);                    \
        dc->st.field = v;                                 \
        return old;                                       \
    }
#define DC_SETTER(Name, Type, field, Fail) DC_CHECKED_SETTER(Name, Type, field, Fail, true)
#define DC_GETTER(Name, Type, field, Fail)        \
    Type Name(HDC h) {                            \
        DC* dc = Dc(h);                           \
        return dc ? Type(dc->st.field) : Fail;    \
    }

DC_SETTER(SetTextColor, COLORREF, text, CLR_INVALID)
DC_GETTER(GetTextColor, COLORREF, text, CLR_INVALID)
DC_SETTER(SetBkColor, COLORREF, bk, CLR_INVALID)
DC_GETTER(GetBkColor, COLORREF, bk, CLR_INVALID)
DC_GETTER(GetBkMode, int, bkMode, 0)
DC_GETTER(GetROP2, int, rop2, 0)
DC_GETTER(GetStretchBltMode, int, stretch, 0)
DC_GETTER(GetMapMode, int, mapMode, 0)
DC_GETTER(GetTextAlign, UINT, align, 0)
DC_SETTER(SetTextAlign, UINT, align, 0)
DC_CHECKED_SETTER(SetBkMode, int, bkMode, 0, v == OPAQUE || v == TRANSPARENT)
DC_CHECKED_SETTER(SetROP2, int, rop2, 0, v >= R2_BLACK && v <= R2_WHITE)
DC_CHECKED_SETTER(SetStretchBltMode, int, stretch, 0, v >= BLACKONWHITE && v <= HALFTONE)
DC_CHECKED_SETTER(SetPolyFillMode, int, polyFill, 0, v == ALTERNATE || v == WINDING)
DC_SETTER(SetMapMode, int, mapMode, 0)
DC_SETTER(SetTextCharacterExtra, int, charExtra, int(0x80000000))

BOOL SetWindowOrgEx(HDC h, int x, int y, POINT* old) { return SwapPoint(h, &DcState::winOrg, POINT{x, y}, old); }

BOOL GetWindowOrgEx(HDC h, POINT* p) { return ReadPoint(h, &DcState::winOrg, p); }

BOOL SetViewportOrgEx(HDC h, int x, int y, POINT* old) { return SwapPoint(h, &DcState::vpOrg, POINT{x, y}, old); }

BOOL GetViewportOrgEx(HDC h, POINT* p) { return ReadPoint(h, &DcState::vpOrg, p); }

BOOL OffsetViewportOrgEx(HDC h, int dx, int dy, POINT* old) {
    DC* dc = Dc(h);
    if (!dc) return FALSE;
    if (old) *old = dc->st.vpOrg;
    dc->st.vpOrg.x += dx;
    dc->st.vpOrg.y += dy;
    return TRUE;
}

BOOL LPtoDP(HDC h, POINT* pts, int n) {
    DC* dc = Dc(h);
    if (!dc || !pts) return FALSE;
    for (int i = 0; i < n; ++i) pts[i] = Dev(*dc, pts[i].x, pts[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC h, POINT* pts, int n) {
    DC* dc = Dc(h);
    if (!dc || !pts) return FALSE;
    for (int i = 0; i < n; ++i) {
        pts[i].x += dc->st.winOrg.x - dc->st.vpOrg.x;
        pts[i].y += dc->st.winOrg.y - dc->st.vpOrg.y;
    }
    return TRUE;
}

COLORREF GetNearestColor(HDC h, COLORREF c) {
    DC* dc = Dc(h);
    if (!dc) return CLR_INVALID;
    return DestMono(*dc) ? ToColor(MonoOf(ToPix(c))) : (c & 0xFFFFFF);
}

// --- Drawing --------------------------------------------------------------------------------

COLORREF SetPixel(HDC h, int x, int y, COLORREF c) {
    DC* dc = Dc(h);
    if (!dc) return CLR_INVALID;
    POINT p = Dev(*dc, x, y);
    if (dc->kind == DcKind::Printer) {
        PrinterFillColor(*dc, RECT{p.x, p.y, p.x + 1, p.y + 1}, c);
        return c & 0xFFFFFF;
    }
    const auto& ps = Pieces(*dc);
    bool hit = false;
    std::uint32_t set = ToPix(c);
    Span(ps, p.y, p.x, p.x + 1, [&](int, int, std::uint32_t, bool mono) {
        hit = true;
        if (mono) set = MonoOf(set);
        return set;
    });
    return hit ? ToColor(set) : CLR_INVALID;
}

COLORREF GetPixel(HDC h, int x, int y) {
    DC* dc = Dc(h);
    if (!dc) return CLR_INVALID;
    POINT p = Dev(*dc, x, y);
    if (dc->st.clip && !dc->st.clip->Contains(p.x, p.y)) return CLR_INVALID;
    std::uint32_t v;
    if (!ReadDevicePixel(*dc, p.x, p.y, &v)) return CLR_INVALID;
    return ToColor(v);
}

BOOL MoveToEx(HDC h, int x, int y, POINT* old) { return SwapPoint(h, &DcState::pos, POINT{x, y}, old); }

BOOL GetCurrentPositionEx(HDC h, POINT* p) { return ReadPoint(h, &DcState::pos, p); }

BOOL LineTo(HDC h, int x, int y) {
    DC* dc = Dc(h);
    if (!dc) return FALSE;
    if (dc->kind == DcKind::Printer) PrinterLines(*dc, {Dev(*dc, dc->st.pos.x, dc->st.pos.y), Dev(*dc, x, y)}, false);
    const auto& ps = Pieces(*dc);
    int step = 0;
    DeviceLine(*dc, ps, Dev(*dc, dc->st.pos.x, dc->st.pos.y), Dev(*dc, x, y), &step);
    dc->st.pos = POINT{x, y};
    return TRUE;
}

BOOL Polyline(HDC h, const POINT* pts, int n) {
    DC* dc = Dc(h);
    if (!dc || !pts || n < 2) return FALSE;
    if (dc->kind == DcKind::Printer) {
        std::vector<POINT> dev;
        for (int i = 0; i < n; ++i) dev.push_back(Dev(*dc, pts[i].x, pts[i].y));
        PrinterLines(*dc, dev, false);
        return TRUE;
    }
    const auto& ps = Pieces(*dc);
    int step = 0;
    for (int i = 1; i < n; ++i)
        DeviceLine(*dc, ps, Dev(*dc, pts[i - 1].x, pts[i - 1].y), Dev(*dc, pts[i].x, pts[i].y), &step);
    return TRUE;
}

BOOL PolylineTo(HDC h, const POINT* pts, int n) {
    DC* dc = Dc(h);
    if (!dc || !pts || n < 1) return FALSE;
    for (int i = 0; i < n; ++i) LineTo(h, pts[i].x, pts[i].y);
    return TRUE;
}

BOOL Polygon(HDC h, const POINT* pts, int n) {
    DC* dc = Dc(h);
    if (!dc || !pts || n < 2) return FALSE;
    const auto& ps = Pieces(*dc);
    std::vector<POINT> dev;
    for (int i = 0; i < n; ++i) dev.push_back(Dev(*dc, pts[i].x, pts[i].y));
    if (dc->kind == DcKind::Printer) {
        PrinterPolygon(*dc, dev);
        return TRUE;
    }
    GdiObject* br = Obj(dc->st.brush, OBJ_BRUSH);
    if (br && br->brush.lbStyle != BS_NULL && n >= 3) {
        // Fill through a scratch mask so that pattern brushes and ROP2 apply per pixel.
        int ymin = dev[0].y, ymax = dev[0].y, xmin = dev[0].x, xmax = dev[0].x;
        for (auto& p : dev) {
            ymin = std::min<int>(ymin, p.y); ymax = std::max<int>(ymax, p.y);
            xmin = std::min<int>(xmin, p.x); xmax = std::max<int>(xmax, p.x);
        }
        RECT pb = PiecesBounds(ps);
        xmin = std::max<int>(xmin, pb.left);
        ymin = std::max<int>(ymin, pb.top);
        xmax = std::min<int>(xmax, pb.right);
        ymax = std::min<int>(ymax, pb.bottom);
        if (xmax < xmin || ymax < ymin) xmax = xmin - 1;
        Pixels mask(std::max(1, xmax - xmin + 1), std::max(1, ymax - ymin + 1), false, 0);
        std::vector<Piece> mp{Piece{&mask, POINT{-xmin, -ymin}, Region(RECT{0, 0, mask.width, mask.height})}};
        FillPolygonDevice(*dc, mp, dev, 0xFFFFFF);
        for (int y = 0; y < mask.height; ++y) {
            int x = 0;
            while (x < mask.width) {
                while (x < mask.width && !mask.At(x, y)) ++x;
                int s = x;
                while (x < mask.width && mask.At(x, y)) ++x;
                if (x > s) FillShape(*dc, ps, y + ymin, s + xmin, x + xmin);
            }
        }
    }
    int step = 0;
    for (int i = 0; i < n; ++i) DeviceLine(*dc, ps, dev[std::size_t(i)], dev[std::size_t((i + 1) % n)], &step);
    return TRUE;
}

BOOL Rectangle(HDC h, int l, int t, int r, int b) {
    DC* dc = Dc(h);
    if (!dc) return FALSE;
    POINT a = Dev(*dc, l, t), c = Dev(*dc, r, b);
    int x0 = std::min(a.x, c.x), x1 = std::max(a.x, c.x), y0 = std::min(a.y, c.y), y1 = std::max(a.y, c.y);
    if (dc->kind == DcKind::Printer) {
        // Without a pen the brush stops short of the right and bottom edges, as on the screen.
        int shrink = PenNull(Obj(dc->st.pen, OBJ_PEN)) ? 1 : 0;
        PrinterBox(*dc, RECT{x0, y0, x1 - shrink, y1 - shrink}, 0, 0, false);
        return TRUE;
    }
    const auto& ps = Pieces(*dc);
    GdiObject* pen = Obj(dc->st.pen, OBJ_PEN);
    if (PenNull(pen)) {
        RECT pb0 = PiecesBounds(ps);
        for (int y = std::max<int>(y0, pb0.top); y < std::min<int>(y1 - 1, pb0.bottom); ++y) FillShape(*dc, ps, y, x0, x1 - 1);
        return TRUE;
    }
    int w = PenWidth(pen);
    if (x1 - x0 <= 2 * w || y1 - y0 <= 2 * w) {
        for (int y = y0; y < y1; ++y) OutlineSpan(*dc, ps, y, x0, x1);
        return TRUE;
    }
    RECT pb = PiecesBounds(ps);
    for (int y = std::max<int>(y0 + w, pb.top); y < std::min<int>(y1 - w, pb.bottom); ++y) FillShape(*dc, ps, y, x0 + w, x1 - w);
    if (w == 1 && pen->pen.lopnStyle != PS_SOLID && pen->pen.lopnStyle != PS_INSIDEFRAME) {
        int step = 0;
        POINT p0{x0, y0}, p1{x1 - 1, y0}, p2{x1 - 1, y1 - 1}, p3{x0, y1 - 1};
        DeviceLine(*dc, ps, p0, p1, &step);
        DeviceLine(*dc, ps, p1, p2, &step);
        DeviceLine(*dc, ps, p2, p3, &step);
        DeviceLine(*dc, ps, p3, p0, &step);
        return TRUE;
    }
    for (int y = y0; y < y0 + w; ++y) OutlineSpan(*dc, ps, y, x0, x1);
    for (int y = y1 - w; y < y1; ++y) OutlineSpan(*dc, ps, y, x0, x1);
    for (int y = std::max<int>(y0 + w, pb.top); y < std::min<int>(y1 - w, pb.bottom); ++y) {
        OutlineSpan(*dc, ps, y, x0, x0 + w);
        OutlineSpan(*dc, ps, y, x1 - w, x1);
    }
    return TRUE;
}

namespace {

// Pixels of a rounded shape on the box [x0, x1) x [y0, y1), corner ellipse ew x eh.
struct RoundShape {
    int x0, y0, x1, y1;
    double ew, eh;
    bool In(int x, int y, int inset) const {
        double l = x0 + inset, t = y0 + inset, r = x1 - inset, b = y1 - inset;
        double cx = x + 0.5, cy = y + 0.5;
        if (cx < l || cx > r || cy < t || cy > b) return false;
        double rx = std::max(0.0, ew / 2 - inset), ry = std::max(0.0, eh / 2 - inset);
        if (rx <= 0 || ry <= 0) return true;
        double ex = cx < l + rx ? l + rx : (cx > r - rx ? r - rx : cx);
        double ey = cy < t + ry ? t + ry : (cy > b - ry ? b - ry : cy);
        double dx = (cx - ex) / rx, dy = (cy - ey) / ry;
        return dx * dx + dy * dy <= 1.0;
    }
};

void DrawRound(DC& dc, const RoundShape& s, bool ellipse) {
    if (dc.kind == DcKind::Printer) return PrinterBox(dc, RECT{s.x0, s.y0, s.x1, s.y1}, s.ew, s.eh, ellipse);
    const auto& ps = Pieces(dc);
    GdiObject* pen = Obj(dc.st.pen, OBJ_PEN);
    int w = PenNull(pen) ? 0 : PenWidth(pen);
    RECT pb = PiecesBounds(ps);
    int xa = std::max<int>(s.x0, pb.left), xb = std::min<int>(s.x1, pb.right);
    for (int y = std::max<int>(s.y0, pb.top); y < std::min<int>(s.y1, pb.bottom); ++y) {
        int x = xa;
        while (x < xb) {
            // Runs of the same kind: outside, outline or inside.
            auto kind = [&](int xx) {
                if (!s.In(xx, y, 0)) return 0;
                if (w == 0) return 2;
                if (w == 1) {
                    if (!s.In(xx - 1, y, 0) || !s.In(xx + 1, y, 0) || !s.In(xx, y - 1, 0) || !s.In(xx, y + 1, 0)) return 1;
                    return 2;
                }
                return s.In(xx, y, w) ? 2 : 1;
            };
            int k = kind(x), st = x;
            while (x < xb && kind(x) == k) ++x;
            if (k == 1) OutlineSpan(dc, ps, y, st, x);
            if (k == 2) FillShape(dc, ps, y, st, x);
        }
    }
}

} // namespace

BOOL Ellipse(HDC h, int l, int t, int r, int b) {
    DC* dc = Dc(h);
    if (!dc) return FALSE;
    POINT a = Dev(*dc, l, t), c = Dev(*dc, r, b);
    RoundShape s{std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y), 0, 0};
    if (PenNull(Obj(dc->st.pen, OBJ_PEN))) { s.x1 -= 1; s.y1 -= 1; }
    s.ew = s.x1 - s.x0;
    s.eh = s.y1 - s.y0;
    DrawRound(*dc, s, true);
    return TRUE;
}

BOOL RoundRect(HDC h, int l, int t, int r, int b, int ew, int eh) {
    DC* dc = Dc(h);
    if (!dc) return FALSE;
    POINT a = Dev(*dc, l, t), c = Dev(*dc, r, b);
    RoundShape s{std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y),
                 double(std::abs(ew)), double(std::abs(eh))};
    if (PenNull(Obj(dc->st.pen, OBJ_PEN))) { s.x1 -= 1; s.y1 -= 1; }
    s.ew = std::min(s.ew, double(s.x1 - s.x0));
    s.eh = std::min(s.eh, double(s.y1 - s.y0));
    DrawRound(*dc, s, false);
    return TRUE;
}

int FillRect(HDC h, const RECT* r, HBRUSH brush) {
    DC* dc = Dc(h);
    GdiObject* br = Obj(ResolveBrush(brush), OBJ_BRUSH);
    if (!dc || !r || !br) return 0;
    POINT a = Dev(*dc, r->left, r->top), c = Dev(*dc, r->right, r->bottom);
    if (dc->kind == DcKind::Printer) {
        PrinterFillRect(*dc, RECT{a.x, a.y, c.x, c.y}, br);
        return 1;
    }
    const auto& ps = Pieces(*dc);
    RECT pb = PiecesBounds(ps);
    a.y = std::max<LONG>(a.y, pb.top);
    c.y = std::min<LONG>(c.y, pb.bottom);
    if (br->brush.lbStyle == BS_SOLID) {
        for (int y = a.y; y < c.y; ++y) SolidSpan(ps, y, a.x, c.x, ToPix(br->brush.lbColor));
        return 1;
    }
    for (int y = a.y; y < c.y; ++y) {
        if (PeriodicBrushSpan(*dc, br, ps, y, a.x, c.x)) continue;
        Span(ps, y, a.x, c.x, [&](int x, int yy, std::uint32_t d, bool mono) {
            std::uint32_t p;
            return BrushPixel(*dc, br, x, yy, mono, &p) ? p : d;
        });
    }
    return 1;
}

int FrameRect(HDC h, const RECT* r, HBRUSH brush) {
    if (!r || r->right <= r->left || r->bottom <= r->top) return Dc(h) ? 1 : 0;
    RECT top{r->left, r->top, r->right, r->top + 1}, bottom{r->left, r->bottom - 1, r->right, r->bottom};
    RECT left{r->left, r->top + 1, r->left + 1, r->bottom - 1}, right{r->right - 1, r->top + 1, r->right, r->bottom - 1};
    if (!FillRect(h, &top, brush)) return 0;
    if (r->bottom - r->top > 1) FillRect(h, &bottom, brush);
    if (r->bottom - r->top > 2) {
        FillRect(h, &left, brush);
        if (r->right - r->left > 1) FillRect(h, &right, brush);
    }
    return 1;
}

BOOL InvertRect(HDC h, const RECT* r) {
    DC* dc = Dc(h);
    if (!dc || !r) return FALSE;
    POINT a = Dev(*dc, r->left, r->top), c = Dev(*dc, r->right, r->bottom);
    const auto& ps = Pieces(*dc);
    RECT pb = PiecesBounds(ps);
    for (int y = std::max<LONG>(a.y, pb.top); y < std::min<LONG>(c.y, pb.bottom); ++y)
        Span(ps, y, a.x, c.x, [](int, int, std::uint32_t d, bool) { return ~d; });
    return TRUE;
}

BOOL DrawFocusRect(HDC h, const RECT* r) {
    DC* dc = Dc(h);
    if (!dc || !r) return FALSE;
    POINT a = Dev(*dc, r->left, r->top), c = Dev(*dc, r->right, r->bottom);
    if (c.x <= a.x || c.y <= a.y) return TRUE;
    const auto& ps = Pieces(*dc);
    auto inv = [](int x, int y, std::uint32_t d, bool) { return ((x + y) & 1) == 0 ? ~d : d; };
    Span(ps, a.y, a.x, c.x, inv);
    if (c.y - 1 > a.y) Span(ps, c.y - 1, a.x, c.x, inv);
    for (int y = a.y + 1; y < c.y - 1; ++y) {
        Span(ps, y, a.x, a.x + 1, inv);
        if (c.x - 1 > a.x) Span(ps, y, c.x - 1, c.x, inv);
    }
    return TRUE;
}

// --- 3-D edges ------------------------------------------------------------------------------

namespace {
void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c) {
    // On pixels the edge's lines are drawn straight away, with no pen made for each.
    if (DC* d = Dc(dc); d && d->kind != DcKind::Printer && (x0 == x1 || y0 == y1)) {
        if (x0 != x1 || y0 != y1) StraightLine(*d, Pieces(*d), Dev(*d, x0, y0), Dev(*d, x1, y1), ToPix(c));
        d->st.pos = POINT{x1, y1};
        return;
    }
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// One ring of an edge: top-left in tl, bottom-right in br, as DrawEdge lays its lines.
void Ring(HDC dc, RECT& r, COLORREF tl, COLORREF br, UINT flags) {
    if (flags & BF_BOTTOM) Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1, br);
    if (flags & BF_RIGHT) Line(dc, r.right - 1, r.top, r.right - 1, r.bottom, br);
    if (flags & BF_TOP) Line(dc, r.left, r.top, r.right - ((flags & BF_RIGHT) ? 1 : 0), r.top, tl);
    if (flags & BF_LEFT) Line(dc, r.left, r.top, r.left, r.bottom - ((flags & BF_BOTTOM) ? 1 : 0), tl);
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
}
} // namespace

BOOL DrawEdge(HDC h, RECT* rect, UINT edge, UINT flags) {
    if (!Dc(h) || !rect) return FALSE;
    RECT r = *rect;
    COLORREF light = GetSysColor(COLOR_3DLIGHT), hi = GetSysColor(COLOR_BTNHIGHLIGHT),
             shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
    if (flags & BF_MONO) light = hi = shadow = dark = GetSysColor(COLOR_WINDOWFRAME);
    UINT outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER), inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
    if (outer == BDR_RAISEDOUTER) Ring(h, r, light, dark, flags);
    else if (outer == BDR_SUNKENOUTER) Ring(h, r, shadow, hi, flags);
    if (inner == BDR_RAISEDINNER) Ring(h, r, hi, shadow, flags);
    else if (inner == BDR_SUNKENINNER) Ring(h, r, dark, light, flags);
    if (flags & BF_MIDDLE) FillRect(h, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (flags & BF_ADJUST) *rect = r;
    return TRUE;
}

void Frame3D(HDC dc, RECT* rect, COLORREF topLeft, COLORREF bottomRight, int width) {
    if (!rect || !Dc(dc)) return;
    RECT& r = *rect;
    --r.bottom;
    --r.right;
    for (int i = 0; i < width; ++i) {
        HPEN tl = CreatePen(PS_SOLID, 1, topLeft), brp = CreatePen(PS_SOLID, 1, bottomRight);
        HGDIOBJ old = SelectObject(dc, tl);
        POINT a[3] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
        Polyline(dc, a, 3);
        SelectObject(dc, brp);
        POINT b[3] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
        Polyline(dc, b, 3);
        SelectObject(dc, old);
        DeleteObject(tl);
        DeleteObject(brp);
        InflateRect(&r, -1, -1);
    }
    ++r.bottom;
    ++r.right;
}

// --- Scrolling ------------------------------------------------------------------------------

namespace {

// The x runs of a region on one row within [x0, x1), in order and merged.
void RowSpans(const Region& r, int y, int x0, int x1, std::vector<std::pair<int, int>>& out) {
    out.clear();
    for (const RECT& c : r.Rects())
        if (y >= c.top && y < c.bottom) {
            int a = std::max<int>(c.left, x0), b = std::min<int>(c.right, x1);
            if (a < b) out.push_back({a, b});
        }
    std::sort(out.begin(), out.end());
    std::size_t k = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (k && out[i].first <= out[k - 1].second) out[k - 1].second = std::max(out[k - 1].second, out[i].second);
        else out[k++] = out[i];
    }
    out.resize(k);
}

void IntersectSpans(const std::vector<std::pair<int, int>>& a, const std::vector<std::pair<int, int>>& b,
                    std::vector<std::pair<int, int>>& out) {
    out.clear();
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        int l = std::max(a[i].first, b[j].first), r = std::min(a[i].second, b[j].second);
        if (l < r) out.push_back({l, r});
        if (a[i].second < b[j].second) ++i;
        else ++j;
    }
}

} // namespace

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect, HRGN update,
                   RECT* updateRect, UINT flags) {
    Window* w = W(hwnd);
    if (!w) return ERROR;
    RECT client{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    RECT src = scrollRect ? Intersection(*scrollRect, client) : client;
    RECT clip = clipRect ? Intersection(*clipRect, client) : client;
    CaretBeforePaint(w);
    Window* top = TopOf(w);
    Region exposed;
    if (top && top->store && Visible(w)) {
        POINT o = ClientOrgInStore(w);
        Region vis = VisibleInStore(w, false);
        vis.Offset(-o.x, -o.y);
        RECT dest = src;
        OffsetRect(&dest, dx, dy);
        dest = Intersection(dest, clip);
        RECT inStore{-o.x, -o.y, top->store->width - o.x, top->store->height - o.y};
        RECT fromStore = inStore;
        OffsetRect(&fromStore, dx, dy);
        RECT work = Intersection(Intersection(dest, inStore), fromStore);
        // Whole runs of a row: where the pixel and its source are both visible. Rows go in the
        // order that reads each source row before it is written.
        std::vector<std::pair<int, int>> here, there, both;
        std::vector<std::uint32_t> line;
        Pixels& px = *top->store;
        for (int n = 0; n < work.bottom - work.top; ++n) {
            int y = dy > 0 ? work.bottom - 1 - n : work.top + n;
            RowSpans(vis, y, work.left, work.right, here);
            RowSpans(vis, y - dy, work.left - dx, work.right - dx, there);
            for (auto& t : there) { t.first += dx; t.second += dx; }
            IntersectSpans(here, there, both);
            if (both.empty()) continue;
            const std::uint32_t* from = px.Row(y - dy + o.y);
            line.assign(from, from + px.width);
            std::uint32_t* to = px.Row(y + o.y);
            for (auto [l, r] : both) std::copy(line.begin() + (l - dx + o.x), line.begin() + (r - dx + o.x), to + l + o.x);
        }
        exposed.Add(Intersection(src, clip));
        exposed.Subtract(dest);
        // Pixels whose source was hidden have to be painted anew too.
        Region hidden(dest);
        Region visSrc = vis;
        visSrc.Offset(dx, dy);
        hidden.Subtract(visSrc);
        exposed.Add(hidden);
    } else {
        exposed.Add(Intersection(src, clip));
    }
    // The pending update moves with the pixels.
    if (!w->update.Empty()) {
        Region inside = w->update;
        inside.Intersect(src);
        Region outside = w->update;
        outside.Subtract(src);
        inside.Offset(dx, dy);
        inside.Intersect(clip);
        w->update = outside;
        w->update.Add(inside);
    }
    if ((flags & SW_SCROLLCHILDREN) || (!scrollRect && !clipRect && flags == 0xFFFF))
        for (Window* c : std::vector<Window*>(w->children)) {
            HWND ch = c->handle;
            SetWindowPos(ch, nullptr, c->rect.left + dx, c->rect.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
    if (!(w = W(hwnd))) return ERROR;
    for (const RECT& r : exposed.Rects()) {
        if (flags & SW_INVALIDATE || flags == 0xFFFF) InvalidateRect(hwnd, &r, (flags & SW_ERASE) || flags == 0xFFFF);
    }
    if (updateRect) *updateRect = exposed.Bounds();
    if (GdiObject* o = Obj(update, OBJ_REGION)) o->region = exposed;
    CaretAfterPaint(w);
    return exposed.Empty() ? NULLREGION : SIMPLEREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect) {
    // 0xFFFF: the classic call, which invalidates with erasing and moves children when it
    // scrolls the whole client area.
    return ScrollWindowEx(hwnd, dx, dy, scrollRect, clipRect, nullptr, nullptr, 0xFFFF) != ERROR;
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index > 24) return nullptr;
    auto& b = G().sysBrushes[index];
    if (!b) {
        b = CreateSolidBrush(GetSysColor(index));
        if (GdiObject* o = Obj(b)) o->stock = true;
    }
    if (GdiObject* o = Obj(b)) o->brush.lbColor = GetSysColor(index); // follows SetSysColors
    return b;
}

} // namespace win
