// Private to platform/win: GDI objects and device contexts, and the pieces of pixels a DC draws
// into, shared by Gdi.cpp, Regions.cpp, Bitmaps.cpp, Text.cpp and Screen.cpp.
#pragma once

#include "win/WinInternal.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

namespace win::detail {

struct FontFace; // realised font, FontInternal.h

struct GdiObject {
    int type = 0; // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION
    bool stock = false;
    int selected = 0;
    LOGPEN pen;
    LOGBRUSH brush;
    std::shared_ptr<Pixels> pattern; // pattern brushes
    LOGFONT font;
    FontFace* realized = nullptr;    // the font's face while the font cache holds it
    std::uint64_t realizedIn = 0;
    std::shared_ptr<Pixels> bitmap;
    HDC selectedIn = nullptr;        // a bitmap is selected into one memory DC at most
    Region region;
};

GdiObject* Obj(HGDIOBJ h, int type = 0);
HGDIOBJ NewObject(std::unique_ptr<GdiObject> o);

struct DcState {
    HGDIOBJ pen = nullptr, brush = nullptr, font = nullptr, bitmap = nullptr;
    COLORREF text = 0, bk = 0xFFFFFF;
    int bkMode = OPAQUE, rop2 = R2_COPYPEN, polyFill = ALTERNATE, stretch = BLACKONWHITE, mapMode = MM_TEXT;
    int charExtra = 0;
    UINT align = 0;
    POINT pos, winOrg, vpOrg, brushOrg;
    std::optional<Region> clip; // device coordinates
};

enum class DcKind { Window, Screen, Memory, Printer };

// A part of a DC's drawing surface: device point (0, 0) lies at org in px, clip in px.
struct Piece {
    Pixels* px = nullptr;
    POINT org;
    Region clip;
};

struct PrintDevice; // Printing.cpp

struct DC {
    DcKind kind = DcKind::Memory;
    HWND hwnd = nullptr;
    bool whole = false; // GetWindowDC
    bool paint = false;
    std::optional<Region> paintClip; // device coordinates
    DcState st;
    std::vector<DcState> saved;
    std::shared_ptr<PrintDevice> printer; // printer DCs
    // The clip pieces as last made, valid while piecesLayout is the layout's generation.
    std::vector<Piece> pieces;
    std::uint64_t piecesLayout = 0;
    bool piecesValid = false;
    // The device area left by the paint and the selected clip, kept the same way.
    Region visible;
    std::uint64_t visibleLayout = 0;
    bool visibleValid = false;
    void ClipChanged() { piecesValid = visibleValid = false; }
};

DC* Dc(HDC h);
HDC NewDc(std::unique_ptr<DC> dc); // with the default state

HBRUSH ResolveBrush(HBRUSH b); // a system colour index + 1 to its brush
// The brush's pixel at a device point; false where a hatch leaves the background alone.
bool BrushPixel(DC& dc, GdiObject* b, int x, int y, bool mono, std::uint32_t* out);

// The DC's clip pieces, kept in the DC and made again only when the window layout or the DC's
// clip has changed since.
const std::vector<Piece>& Pieces(DC& dc);
// The DC's drawing area in device coordinates, before clip regions.
RECT DeviceBounds(DC& dc);

inline POINT ToDevice(const DC& dc, int x, int y) {
    return POINT{x - dc.st.winOrg.x + dc.st.vpOrg.x, y - dc.st.winOrg.y + dc.st.vpOrg.y};
}

// The bitmap selected into a memory DC; NULL for other DCs.
Pixels* BitmapOf(DC& dc);
bool DestMono(DC& dc);
// The device rectangle that the pieces can change at all; loops stay within it.
RECT PiecesBounds(const std::vector<Piece>& ps);
// Calls f(deviceX, deviceY, dst, mono) for each pixel of a device span [x0, x1) and stores its answer.
template <class F>
void Span(const std::vector<Piece>& ps, int y, int x0, int x1, F&& f) {
    if (x1 <= x0) return;
    for (const Piece& p : ps) {
        int py = y + p.org.y;
        if (py < 0 || py >= p.px->height) continue;
        std::uint32_t* row = p.px->Row(py);
        bool mono = p.px->mono;
        for (const RECT& r : p.clip.Rects()) {
            if (py < r.top || py >= r.bottom) continue;
            int a = std::max<int>(x0 + p.org.x, r.left), b = std::min<int>(x1 + p.org.x, r.right);
            for (int px = a; px < b; ++px) {
                std::uint32_t v = std::uint32_t(f(px - p.org.x, y, row[px], mono)) & 0xFFFFFF;
                row[px] = mono ? MonoOf(v) : v;
            }
        }
    }
}
// One colour over a device span, or over a device rectangle, with no per-pixel work beyond the store.
void SolidSpan(const std::vector<Piece>& ps, int y, int x0, int x1, std::uint32_t pix);
void FillDeviceRect(DC& dc, const std::vector<Piece>& ps, RECT r, COLORREF c);
// Reads a pixel as the DC shows it (the screen composes its windows); false outside.
bool ReadDevicePixel(DC& dc, int x, int y, std::uint32_t* pix);
void FillPolygonDevice(DC& dc, const std::vector<Piece>& ps, const std::vector<POINT>& pts, std::uint32_t pix);

// Text.cpp
void ResetFonts();

// Printing.cpp: a printer DC draws as vectors on its PDF page, in device coordinates, clipped
// to the printable area and the DC's clip region. Nothing is drawn outside a page.
int PrinterCaps(DC& dc, int index);
RECT PrinterBounds(DC& dc);
void PrinterLines(DC& dc, const std::vector<POINT>& pts, bool closed);
void PrinterPolygon(DC& dc, const std::vector<POINT>& pts);
// Rectangle, RoundRect (corner ellipse ew x eh) and Ellipse (ellipse set) on [r.left, r.right) x
// [r.top, r.bottom): the pen inside the box, the brush within the pen.
void PrinterBox(DC& dc, RECT r, double ew, double eh, bool ellipse);
void PrinterFillRect(DC& dc, RECT r, GdiObject* brush);
void PrinterFillColor(DC& dc, RECT r, COLORREF c);
void PrinterFillColor(DC& dc, const std::vector<POINT>& pts, COLORREF c);
void PrinterBlit(DC& dst, RECT to, DC* src, RECT from, DWORD rop);
// Glyphs with their baseline starting at a device point, as selectable text.
void PrinterText(DC& dc, FontFace* f, double ox, double oy, const std::string& s, const std::vector<int>& adv,
                 const RECT* clip);

} // namespace win::detail
