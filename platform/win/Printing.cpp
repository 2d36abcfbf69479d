// The printer: one installed printer that writes PDF files, its paper table, printer DCs that
// draw the GDI calls as vectors on a cairo PDF surface at 600 dots per inch, and print jobs
// kept in memory until EndDoc writes them atomically to $WINROOT/printer.
#include "win/Printing.h"

#include "win/FontInternal.h"

#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Paths.h"
#include "rtl/WinRoot.h"

#include <cairo-pdf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

namespace win {
using namespace detail;

namespace {

constexpr int kDpi = 600;
// What the printer cannot reach on each side of the sheet.
constexpr int kMargin = kDpi / 4;

struct PrinterRow {
    const char* name;
    const char* port;
};
const PrinterRow kPrinters[] = {{"PDF Printer", "PDF:"}};

struct PaperRow {
    short id;
    const char* name;
    int width, length; // tenths of a millimetre, portrait
};
const PaperRow kPapers[] = {
    {DMPAPER_LETTER, "Letter 8 1/2 x 11 in", 2159, 2794},
    {DMPAPER_LEGAL, "Legal 8 1/2 x 14 in", 2159, 3556},
    {DMPAPER_A4, "A4 210 x 297 mm", 2100, 2970},
    {DMPAPER_A5, "A5 148 x 210 mm", 1480, 2100},
};

const PrinterRow* FindPrinter(const char* device) {
    if (!device) return nullptr;
    for (const PrinterRow& p : kPrinters)
        if (strcasecmp(p.name, device) == 0) return &p;
    return nullptr;
}

const PaperRow& PaperOf(short id) {
    for (const PaperRow& p : kPapers)
        if (p.id == id) return p;
    return kPapers[0];
}

// The printer's defaults with the valid fields of in laid over them.
DEVMODE Complete(const PrinterRow& printer, const DEVMODE* in) {
    DEVMODE dm;
    std::strncpy(dm.dmDeviceName, printer.name, CCHDEVICENAME - 1);
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES;
    if (in && (in->dmFields & DM_ORIENTATION) &&
        (in->dmOrientation == DMORIENT_PORTRAIT || in->dmOrientation == DMORIENT_LANDSCAPE))
        dm.dmOrientation = in->dmOrientation;
    if (in && (in->dmFields & DM_PAPERSIZE)) dm.dmPaperSize = PaperOf(in->dmPaperSize).id;
    if (in && (in->dmFields & DM_COPIES) && in->dmCopies > 0) dm.dmCopies = in->dmCopies;
    const PaperRow& paper = PaperOf(dm.dmPaperSize);
    dm.dmPaperWidth = short(paper.width);
    dm.dmPaperLength = short(paper.length);
    return dm;
}

// The sheet as the job sees it: pixels and PDF points, turned for landscape.
struct Sheet {
    int width, height;
    double widthPt, heightPt;
};

Sheet SheetOf(const DEVMODE& dm) {
    const PaperRow& paper = PaperOf(dm.dmPaperSize);
    auto px = [](int tenths) { return int(std::lround(tenths * double(kDpi) / 254.0)); };
    auto pt = [](int tenths) { return tenths * 72.0 / 254.0; };
    Sheet s{px(paper.width), px(paper.length), pt(paper.width), pt(paper.length)};
    if (dm.dmOrientation == DMORIENT_LANDSCAPE) {
        std::swap(s.width, s.height);
        std::swap(s.widthPt, s.heightPt);
    }
    return s;
}

int JobCounter = 0;

} // namespace

namespace detail {

struct PrintDevice {
    DEVMODE dm;
    int job = 0; // 0 while no job is open
    std::string title;
    std::string bytes; // the PDF so far
    cairo_surface_t* surface = nullptr;
    cairo_t* page = nullptr; // while a page is open
    int pages = 0;

    PrintDevice() = default;
    PrintDevice(const PrintDevice&) = delete;
    PrintDevice& operator=(const PrintDevice&) = delete;
    ~PrintDevice() { Drop(); }

    void Drop() {
        if (page) cairo_destroy(page);
        page = nullptr;
        if (surface) cairo_surface_destroy(surface);
        surface = nullptr;
        bytes.clear();
        bytes.shrink_to_fit();
        title.clear();
        job = pages = 0;
    }
};

} // namespace detail

namespace {

cairo_status_t Collect(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<PrintDevice*>(closure)->bytes.append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

PrintDevice* DeviceOf(HDC h) {
    DC* dc = Dc(h);
    return dc && dc->kind == DcKind::Printer ? dc->printer.get() : nullptr;
}

std::string Utf8Of(char32_t u) {
    std::string out;
    if (u < 0x80) {
        out += char(u);
    } else if (u < 0x800) {
        out += char(0xC0 | (u >> 6));
        out += char(0x80 | (u & 0x3F));
    } else {
        out += char(0xE0 | (u >> 12));
        out += char(0x80 | ((u >> 6) & 0x3F));
        out += char(0x80 | (u & 0x3F));
    }
    return out;
}

// The title as a file name: no folder separators or characters Windows refuses in names.
std::string FileTitle(const std::string& title) {
    std::string out;
    for (unsigned char c : title) out += (c < 32 || std::strchr("\\/:*?\"<>|", c)) ? '_' : char(c);
    if (out.size() > 200) out.resize(200);
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
    return out.empty() ? "Untitled" : out;
}

// The page's context, saved and clipped to the printable area, the DC's clip region and extra;
// NULL outside a page. End with cairo_restore.
cairo_t* Begin(DC& dc, const RECT* extra = nullptr) {
    PrintDevice* dev = dc.printer.get();
    if (!dev || !dev->page) return nullptr;
    cairo_t* cr = dev->page;
    cairo_save(cr);
    cairo_new_path(cr);
    RECT b = PrinterBounds(dc);
    cairo_rectangle(cr, b.left, b.top, b.right - b.left, b.bottom - b.top);
    cairo_clip(cr);
    if (dc.st.clip) {
        for (const RECT& r : dc.st.clip->Rects()) cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_clip(cr);
    }
    if (extra) {
        cairo_rectangle(cr, extra->left, extra->top, extra->right - extra->left, extra->bottom - extra->top);
        cairo_clip(cr);
    }
    return cr;
}

void SetColor(cairo_t* cr, COLORREF c) {
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

// What a pen of colour c puts on paper under the DC's mix mode; false where it leaves the paper
// alone. Paper cannot be read back, so the mixes with the destination draw as the pen.
bool PenMix(DC& dc, COLORREF c, COLORREF* out) {
    switch (dc.st.rop2) {
    case R2_NOP: return false;
    case R2_BLACK: *out = 0; return true;
    case R2_WHITE: *out = RGB(255, 255, 255); return true;
    case R2_NOTCOPYPEN: *out = ~c & 0xFFFFFF; return true;
    default: *out = c & 0xFFFFFF; return true;
    }
}

// Sets the brush as the source: false for a hollow brush.
bool SetBrush(cairo_t* cr, DC& dc, GdiObject* br) {
    if (!br || br->brush.lbStyle == BS_NULL) return false;
    if (br->brush.lbStyle == BS_SOLID) {
        COLORREF c;
        if (!PenMix(dc, br->brush.lbColor, &c)) return false;
        SetColor(cr, c);
        return true;
    }
    // Hatches and patterns repeat their device pixels, as on the screen.
    int w = 8, h = 8;
    if (br->brush.lbStyle == BS_PATTERN && br->pattern && br->pattern->width > 0) {
        w = br->pattern->width;
        h = br->pattern->height;
    }
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    unsigned char* data = cairo_image_surface_get_data(img);
    int stride = cairo_image_surface_get_stride(img);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < w; ++x) {
            std::uint32_t p;
            row[x] = BrushPixel(dc, br, x, y, false, &p) ? (0xFF000000u | p) : 0;
        }
    }
    cairo_surface_mark_dirty(img);
    cairo_pattern_t* pat = cairo_pattern_create_for_surface(img);
    cairo_pattern_set_extend(pat, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pat, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, pat);
    cairo_pattern_destroy(pat);
    cairo_surface_destroy(img);
    return true;
}

// Sets the pen's width, dashes and colour: false for a null pen.
bool SetPen(cairo_t* cr, DC& dc, GdiObject* pen, int* width) {
    if (!pen || pen->pen.lopnStyle == PS_NULL) return false;
    COLORREF c;
    if (!PenMix(dc, pen->pen.lopnColor, &c)) return false;
    int w = std::max<int>(1, pen->pen.lopnWidth.x);
    *width = w;
    cairo_set_line_width(cr, w);
    cairo_set_line_cap(cr, w > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, w > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    SetColor(cr, c);
    return true;
}

// The dashes of a one-pixel styled pen, as the screen steps them.
void SetDashes(cairo_t* cr, GdiObject* pen) {
    static const double dash[] = {18, 6}, dot[] = {3, 3}, dashdot[] = {9, 6, 3, 6}, dashdotdot[] = {9, 3, 3, 3, 3, 3};
    if (pen->pen.lopnWidth.x > 1) return;
    switch (pen->pen.lopnStyle) {
    case PS_DASH: cairo_set_dash(cr, dash, 2, 0); break;
    case PS_DOT: cairo_set_dash(cr, dot, 2, 0); break;
    case PS_DASHDOT: cairo_set_dash(cr, dashdot, 4, 0); break;
    case PS_DASHDOTDOT: cairo_set_dash(cr, dashdotdot, 6, 0); break;
    default: break;
    }
}

// Strokes the current path with the DC's pen; an opaque background fills the dashes' gaps.
void StrokePath(cairo_t* cr, DC& dc) {
    GdiObject* pen = Obj(dc.st.pen, OBJ_PEN);
    int w = 1;
    if (!SetPen(cr, dc, pen, &w)) {
        cairo_new_path(cr);
        return;
    }
    bool styled = w == 1 && pen->pen.lopnStyle >= PS_DASH && pen->pen.lopnStyle <= PS_DASHDOTDOT;
    if (styled && dc.st.bkMode == OPAQUE) {
        cairo_save(cr);
        SetColor(cr, dc.st.bk);
        cairo_stroke_preserve(cr);
        cairo_restore(cr);
    }
    if (styled) SetDashes(cr, pen);
    cairo_stroke(cr);
}

// A box with elliptical corners of radii rx, ry (an ellipse when they are half its size).
void RoundPath(cairo_t* cr, double l, double t, double r, double b, double rx, double ry) {
    rx = std::min(rx, (r - l) / 2);
    ry = std::min(ry, (b - t) / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, l, t, r - l, b - t);
        return;
    }
    auto corner = [&](double cx, double cy, double from) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, from, from + M_PI / 2);
        cairo_restore(cr);
    };
    cairo_new_sub_path(cr);
    corner(r - rx, t + ry, -M_PI / 2);
    corner(r - rx, b - ry, 0);
    corner(l + rx, b - ry, M_PI / 2);
    corner(l + rx, t + ry, M_PI);
    cairo_close_path(cr);
}

} // namespace

namespace detail {

int PrinterCaps(DC& dc, int index) {
    if (!dc.printer) return 0;
    Sheet s = SheetOf(dc.printer->dm);
    int horz = s.width - 2 * kMargin, vert = s.height - 2 * kMargin;
    switch (index) {
    case HORZRES: return horz;
    case VERTRES: return vert;
    case HORZSIZE: return int(std::lround(horz * 25.4 / kDpi));
    case VERTSIZE: return int(std::lround(vert * 25.4 / kDpi));
    case LOGPIXELSX:
    case LOGPIXELSY: return kDpi;
    case PHYSICALWIDTH: return s.width;
    case PHYSICALHEIGHT: return s.height;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: return kMargin;
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case TECHNOLOGY: return DT_RASPRINTER;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
    case SIZEPALETTE: return 0;
    }
    return 0;
}

RECT PrinterBounds(DC& dc) { return RECT{0, 0, PrinterCaps(dc, HORZRES), PrinterCaps(dc, VERTRES)}; }

void PrinterLines(DC& dc, const std::vector<POINT>& pts, bool closed) {
    if (pts.size() < 2) return;
    cairo_t* cr = Begin(dc);
    if (!cr) return;
    // Device pixel (x, y) is the square from (x, y) to (x + 1, y + 1): lines run through centres.
    cairo_move_to(cr, pts[0].x + 0.5, pts[0].y + 0.5);
    for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].x + 0.5, pts[i].y + 0.5);
    if (closed) cairo_close_path(cr);
    StrokePath(cr, dc);
    cairo_restore(cr);
}

void PrinterPolygon(DC& dc, const std::vector<POINT>& pts) {
    if (pts.size() < 2) return;
    cairo_t* cr = Begin(dc);
    if (!cr) return;
    cairo_move_to(cr, pts[0].x + 0.5, pts[0].y + 0.5);
    for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].x + 0.5, pts[i].y + 0.5);
    cairo_close_path(cr);
    if (pts.size() >= 3 && SetBrush(cr, dc, Obj(dc.st.brush, OBJ_BRUSH))) {
        cairo_set_fill_rule(cr, dc.st.polyFill == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill_preserve(cr);
    }
    StrokePath(cr, dc);
    cairo_restore(cr);
}

void PrinterBox(DC& dc, RECT r, double ew, double eh, bool ellipse) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    cairo_t* cr = Begin(dc);
    if (!cr) return;
    GdiObject* pen = Obj(dc.st.pen, OBJ_PEN);
    bool hasPen = pen && pen->pen.lopnStyle != PS_NULL;
    double w = hasPen ? std::max<int>(1, pen->pen.lopnWidth.x) : 0;
    double l = r.left + w / 2, t = r.top + w / 2, rt = r.right - w / 2, b = r.bottom - w / 2;
    double rx = ellipse ? (rt - l) / 2 : std::max(0.0, ew / 2 - w / 2);
    double ry = ellipse ? (b - t) / 2 : std::max(0.0, eh / 2 - w / 2);
    if (hasPen && !ellipse && ew == 0 && (r.right - r.left <= 2 * w || r.bottom - r.top <= 2 * w)) {
        // Too small for a hollow: the pen covers it.
        COLORREF c;
        if (PenMix(dc, pen->pen.lopnColor, &c)) {
            SetColor(cr, c);
            cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
            cairo_fill(cr);
        }
        cairo_restore(cr);
        return;
    }
    RoundPath(cr, l, t, rt, b, rx, ry);
    if (SetBrush(cr, dc, Obj(dc.st.brush, OBJ_BRUSH))) cairo_fill_preserve(cr);
    if (hasPen) StrokePath(cr, dc);
    cairo_new_path(cr);
    cairo_restore(cr);
}

void PrinterFillRect(DC& dc, RECT r, GdiObject* brush) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    cairo_t* cr = Begin(dc);
    if (!cr) return;
    int rop = dc.st.rop2;
    dc.st.rop2 = R2_COPYPEN; // FillRect ignores the mix mode
    if (SetBrush(cr, dc, brush)) {
        cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_fill(cr);
    }
    dc.st.rop2 = rop;
    cairo_restore(cr);
}

void PrinterFillColor(DC& dc, RECT r, COLORREF c) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    cairo_t* cr = Begin(dc);
    if (!cr) return;
    SetColor(cr, c);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_fill(cr);
    cairo_restore(cr);
}

void PrinterFillColor(DC& dc, const std::vector<POINT>& pts, COLORREF c) {
    if (pts.size() < 3) return;
    cairo_t* cr = Begin(dc);
    if (!cr) return;
    SetColor(cr, c);
    cairo_move_to(cr, pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].x, pts[i].y);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

void PrinterBlit(DC& dst, RECT to, DC* src, RECT from, DWORD rop) {
    int w = to.right - to.left, h = to.bottom - to.top;
    if (w <= 0 || h <= 0) return;
    if (!src) {
        // Paper has no pixels to invert; what does not depend on them is drawn.
        if (rop == PATCOPY) return PrinterFillRect(dst, to, Obj(dst.st.brush, OBJ_BRUSH));
        if (rop == BLACKNESS) return PrinterFillColor(dst, to, 0);
        if (rop == WHITENESS) return PrinterFillColor(dst, to, RGB(255, 255, 255));
        return;
    }
    bool flipX = from.right < from.left, flipY = from.bottom < from.top;
    if (flipX) std::swap(from.left, from.right);
    if (flipY) std::swap(from.top, from.bottom);
    int sw = from.right - from.left, sh = from.bottom - from.top;
    if (sw <= 0 || sh <= 0 || std::int64_t(sw) * sh > (1 << 24)) return;
    // A source's white is left out by AND, its black by OR, so masks print as they show on white.
    bool srcMono = DestMono(*src);
    std::uint32_t text = ToPix(dst.st.text), bk = ToPix(dst.st.bk);
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sw, sh);
    unsigned char* data = cairo_image_surface_get_data(img);
    int stride = cairo_image_surface_get_stride(img);
    for (int y = 0; y < sh; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < sw; ++x) {
            std::uint32_t v = 0;
            if (!ReadDevicePixel(*src, from.left + x, from.top + y, &v)) {
                row[x] = 0;
                continue;
            }
            if (srcMono) v = v ? bk : text;
            if (rop == NOTSRCCOPY) v = ~v & 0xFFFFFF;
            bool skip = (rop == SRCAND && v == 0xFFFFFF) || (rop == SRCPAINT && v == 0);
            row[x] = skip ? 0 : (0xFF000000u | v);
        }
    }
    cairo_surface_mark_dirty(img);
    if (cairo_t* cr = Begin(dst)) {
        cairo_translate(cr, flipX ? to.right : to.left, flipY ? to.bottom : to.top);
        cairo_scale(cr, (flipX ? -w : w) / double(sw), (flipY ? -h : h) / double(sh));
        cairo_set_source_surface(cr, img, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_rectangle(cr, 0, 0, sw, sh);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_surface_destroy(img);
}

void PrinterText(DC& dc, FontFace* f, double ox, double oy, const std::string& s, const std::vector<int>& adv,
                 const RECT* clip) {
    cairo_t* cr = Begin(dc, clip);
    if (!cr) return;
    cairo_set_font_face(cr, f->face);
    cairo_matrix_t fm;
    cairo_matrix_init_scale(&fm, f->em * f->sx, f->em);
    if (f->angle != 0) {
        cairo_matrix_t rot;
        cairo_matrix_init_rotate(&rot, -f->angle);
        cairo_matrix_multiply(&fm, &fm, &rot);
    }
    cairo_set_font_matrix(cr, &fm);
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
    SetColor(cr, dc.st.text);

    // One cluster per character, so that a viewer finds each glyph's text.
    double ca = std::cos(f->angle), sa = std::sin(f->angle);
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    std::string utf8;
    double pen = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        glyphs.push_back(cairo_glyph_t{f->glyph[c], ox + pen * ca, oy - pen * sa});
        pen += adv[i];
        char32_t u = f->row->charset == OEM_CHARSET ? rtl::OemToUnicode(c) : rtl::AnsiToUnicode(c);
        std::string one = Utf8Of(u < 32 ? U' ' : u);
        utf8 += one;
        clusters.push_back(cairo_text_cluster_t{int(one.size()), 1});
    }
    cairo_show_text_glyphs(cr, utf8.data(), int(utf8.size()), glyphs.data(), int(glyphs.size()), clusters.data(),
                           int(clusters.size()), cairo_text_cluster_flags_t(0));
    auto bar = [&](double top, double thick) {
        cairo_save(cr);
        cairo_translate(cr, ox, oy);
        cairo_rotate(cr, -f->angle);
        cairo_rectangle(cr, 0, std::round(top), pen, std::max(1.0, std::round(thick)));
        cairo_fill(cr);
        cairo_restore(cr);
    };
    if (f->lf.lfUnderline) bar(std::max(1.0, f->underlinePos * f->em), f->underlineThick * f->em);
    if (f->lf.lfStrikeOut) bar(-f->strikePos, f->underlineThick * f->em);
    cairo_restore(cr);
}

} // namespace detail

// --- Printers -------------------------------------------------------------------------------

BOOL GetDefaultPrinter(char* buffer, DWORD* size) {
    if (!size) return FALSE;
    // WIN.INI names it as "name,driver,port".
    char device[256] = {};
    rtl::GetProfileString("windows", "device", "", device, sizeof device);
    std::string name = device;
    name = name.substr(0, name.find(','));
    const PrinterRow* p = FindPrinter(name.c_str());
    if (!p) p = &kPrinters[0];
    DWORD need = DWORD(std::strlen(p->name) + 1);
    if (!buffer || *size < need) {
        *size = need;
        return FALSE;
    }
    std::memcpy(buffer, p->name, need);
    *size = need;
    return TRUE;
}

BOOL EnumPrinters(DWORD flags, const char*, DWORD level, BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
    if (level != 5 || !needed || !returned) return FALSE;
    char def[CCHDEVICENAME + 1];
    DWORD defSize = sizeof def;
    GetDefaultPrinter(def, &defSize);
    std::vector<const PrinterRow*> rows;
    for (const PrinterRow& p : kPrinters)
        if (!(flags & PRINTER_ENUM_DEFAULT) || strcasecmp(p.name, def) == 0) rows.push_back(&p);
    DWORD need = DWORD(rows.size() * sizeof(PRINTER_INFO_5));
    for (const PrinterRow* p : rows) need += DWORD(std::strlen(p->name) + std::strlen(p->port) + 2);
    *needed = need;
    *returned = 0;
    if (!buffer || size < need) return FALSE;
    auto* info = reinterpret_cast<PRINTER_INFO_5*>(buffer);
    char* strings = reinterpret_cast<char*>(buffer + rows.size() * sizeof(PRINTER_INFO_5));
    auto put = [&](const char* s) {
        char* at = strings;
        std::size_t n = std::strlen(s) + 1;
        std::memcpy(at, s, n);
        strings += n;
        return at;
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        info[i] = PRINTER_INFO_5{};
        info[i].pPrinterName = put(rows[i]->name);
        info[i].pPortName = put(rows[i]->port);
        info[i].Attributes = PRINTER_ATTRIBUTE_LOCAL | (strcasecmp(rows[i]->name, def) == 0 ? PRINTER_ATTRIBUTE_DEFAULT : 0);
    }
    *returned = DWORD(rows.size());
    return TRUE;
}

int DeviceCapabilities(const char* device, const char*, WORD capability, void* output, const DEVMODE*) {
    if (!FindPrinter(device)) return -1;
    int n = int(std::size(kPapers));
    switch (capability) {
    case DC_PAPERS:
        if (output)
            for (int i = 0; i < n; ++i) static_cast<WORD*>(output)[i] = WORD(kPapers[i].id);
        return n;
    case DC_PAPERSIZE:
        if (output)
            for (int i = 0; i < n; ++i) static_cast<POINT*>(output)[i] = POINT{kPapers[i].width, kPapers[i].length};
        return n;
    case DC_PAPERNAMES:
        if (output)
            for (int i = 0; i < n; ++i) {
                char* at = static_cast<char*>(output) + i * 64;
                std::memset(at, 0, 64);
                std::strncpy(at, kPapers[i].name, 63);
            }
        return n;
    case DC_ORIENTATION: return 90;
    }
    return -1;
}

LONG DocumentProperties(HWND, void*, const char* device, DEVMODE* out, const DEVMODE* in, DWORD mode) {
    const PrinterRow* p = FindPrinter(device);
    if (!p) return -1;
    if (mode == 0) return LONG(sizeof(DEVMODE));
    if ((mode & DM_OUT_BUFFER) && out) *out = Complete(*p, (mode & DM_IN_BUFFER) ? in : nullptr);
    return 1;
}

HDC CreateDC(const char*, const char* device, const char*, const DEVMODE* dm) {
    const PrinterRow* p = FindPrinter(device);
    if (!p) return nullptr;
    auto dc = std::make_unique<DC>();
    dc->kind = DcKind::Printer;
    dc->printer = std::make_shared<PrintDevice>();
    dc->printer->dm = Complete(*p, dm);
    return NewDc(std::move(dc));
}

// --- Print jobs -----------------------------------------------------------------------------

int StartDoc(HDC h, const DOCINFO* info) {
    PrintDevice* dev = DeviceOf(h);
    if (!dev || dev->job) return SP_ERROR;
    Sheet s = SheetOf(dev->dm);
    dev->surface = cairo_pdf_surface_create_for_stream(Collect, dev, s.widthPt, s.heightPt);
    if (cairo_surface_status(dev->surface) != CAIRO_STATUS_SUCCESS) {
        dev->Drop();
        return SP_ERROR;
    }
    dev->title = info && info->lpszDocName ? info->lpszDocName : "";
    if (!dev->title.empty())
        cairo_pdf_surface_set_metadata(dev->surface, CAIRO_PDF_METADATA_TITLE, rtl::AnsiToUtf8(dev->title).c_str());
    dev->job = ++JobCounter;
    return dev->job;
}

int StartPage(HDC h) {
    PrintDevice* dev = DeviceOf(h);
    if (!dev || !dev->job || dev->page) return SP_ERROR;
    Sheet s = SheetOf(dev->dm);
    cairo_pdf_surface_set_size(dev->surface, s.widthPt, s.heightPt);
    dev->page = cairo_create(dev->surface);
    // Device pixels from the printable area's corner.
    cairo_scale(dev->page, 72.0 / kDpi, 72.0 / kDpi);
    cairo_translate(dev->page, kMargin, kMargin);
    ++dev->pages;
    return 1;
}

int EndPage(HDC h) {
    PrintDevice* dev = DeviceOf(h);
    if (!dev || !dev->page) return SP_ERROR;
    cairo_show_page(dev->page);
    cairo_destroy(dev->page);
    dev->page = nullptr;
    return 1;
}

int EndDoc(HDC h) {
    PrintDevice* dev = DeviceOf(h);
    if (!dev || !dev->job) return SP_ERROR;
    if (dev->page) EndPage(h);
    if (dev->pages == 0) {
        dev->Drop();
        return 1;
    }
    cairo_surface_finish(dev->surface);
    bool ok = cairo_surface_status(dev->surface) == CAIRO_STATUS_SUCCESS;
    std::string bytes = std::move(dev->bytes);
    std::string title = FileTitle(dev->title);
    dev->Drop();
    if (!ok) return SP_ERROR;
    std::string folder = rtl::WinPath(rtl::PrinterDir());
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    std::string name;
    for (int n = 1;; ++n) {
        name = folder + title + " " + std::to_string(n) + ".pdf";
        if (!rtl::FileExists(name)) break;
    }
    rtl::WriteFileAtomic(name, bytes);
    return 1;
}

int AbortDoc(HDC h) {
    PrintDevice* dev = DeviceOf(h);
    if (!dev || !dev->job) return SP_ERROR;
    dev->Drop();
    return 1;
}

} // namespace win
