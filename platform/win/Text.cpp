// Fonts and text: the Windows faces mapped to installed faces through fontconfig, drawn by
// cairo-ft without antialiasing onto the DC's pixels; text metrics, extents, TextOut,
// ExtTextOut, DrawText and the font family list.
#include "win/FontInternal.h"

#include "rtl/CodePages.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>

namespace win {
using namespace detail;

namespace {

// Windows reported these faces with these types and pitches; the drawing face only stands in.
const FaceRow kFaces[] = {
    {"MS Sans Serif", "Liberation Sans", true, false, FF_SWISS, false, ANSI_CHARSET},
    {"System", "Liberation Sans", true, false, FF_SWISS, true, ANSI_CHARSET},
    {"Courier", "Liberation Mono", true, true, FF_MODERN, false, ANSI_CHARSET},
    {"Courier New", "Liberation Mono", false, true, FF_MODERN, false, ANSI_CHARSET},
    {"Arial", "Liberation Sans", false, false, FF_SWISS, false, ANSI_CHARSET},
    {"Times New Roman", "Liberation Serif", false, false, FF_ROMAN, false, ANSI_CHARSET},
    {"MS Serif", "Liberation Serif", true, false, FF_ROMAN, false, ANSI_CHARSET},
    {"Small Fonts", "Liberation Sans", true, false, FF_SWISS, false, ANSI_CHARSET},
    {"Fixedsys", "Liberation Mono", true, true, FF_MODERN, false, ANSI_CHARSET},
    {"Terminal", "Liberation Mono", true, true, FF_MODERN, false, OEM_CHARSET},
};

bool SameFace(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

const FaceRow& RowFor(const LOGFONT& lf) {
    for (const FaceRow& r : kFaces)
        if (SameFace(r.name, lf.lfFaceName)) return r;
    BYTE pitch = lf.lfPitchAndFamily & 3, ff = lf.lfPitchAndFamily & 0xF0;
    if (pitch == FIXED_PITCH || ff == FF_MODERN) return kFaces[3];
    if (ff == FF_ROMAN) return kFaces[5];
    return kFaces[4];
}

} // namespace


namespace {

struct FontCache {
    std::map<std::string, std::unique_ptr<FontFace>> faces;
    bool fcUsed = false;
    ~FontCache() {
        // Give back what cairo and fontconfig keep for the process, so that leak checks see none.
        faces.clear();
        cairo_debug_reset_static_data();
        if (fcUsed) FcFini();
    }
};

FontCache& FC() {
    static FontCache c;
    return c;
}

std::string KeyOf(const LOGFONT& lf) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s|%d|%d|%d|%d|%d|%d|%d|%d", lf.lfFaceName, lf.lfHeight, lf.lfWidth,
                  lf.lfEscapement, lf.lfWeight, lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfPitchAndFamily);
    return buf;
}

cairo_scaled_font_t* MakeScaled(cairo_font_face_t* face, double em, double sx, double angle, bool hintMetrics) {
    cairo_matrix_t fm, ctm;
    cairo_matrix_init_scale(&fm, em * sx, em);
    if (angle != 0) {
        cairo_matrix_t rot;
        cairo_matrix_init_rotate(&rot, -angle);
        cairo_matrix_multiply(&fm, &fm, &rot);
    }
    cairo_matrix_init_identity(&ctm);
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_antialias(opt, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(opt, hintMetrics ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(opt, angle == 0 ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_NONE);
    cairo_scaled_font_t* sf = cairo_scaled_font_create(face, &fm, &ctm, opt);
    cairo_font_options_destroy(opt);
    return sf;
}

int Advance(FontFace* f, unsigned char c) {
    int& a = f->adv[c];
    if (a < 0) {
        cairo_glyph_t g{f->glyph[c], 0, 0};
        cairo_text_extents_t ext;
        cairo_scaled_font_glyph_extents(f->scaled, &g, 1, &ext);
        a = int(std::lround(ext.x_advance));
    }
    return a;
}

FontFace* Realize(const LOGFONT& in) {
    LOGFONT lf = in;
    std::string key = KeyOf(lf);
    auto& cache = FC().faces;
    auto it = cache.find(key);
    if (it != cache.end()) return it->second.get();

    if (!FC().fcUsed) FC().fcUsed = FcInit();
    auto f = std::make_unique<FontFace>();
    f->row = &RowFor(lf);
    f->lf = lf;
    bool bold = lf.lfWeight >= FW_SEMIBOLD || f->row->bold;
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(f->row->family));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, lf.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    FcPattern* match = FcFontMatch(nullptr, pat, &res);
    FcPatternDestroy(pat);
    if (!match) return nullptr;
    FcPatternDel(match, FC_ANTIALIAS);
    FcPatternAddBool(match, FC_ANTIALIAS, FcFalse);
    f->face = cairo_ft_font_face_create_for_pattern(match);
    FcPatternDestroy(match);

    // Design metrics from the face's tables, as Windows takes them.
    cairo_scaled_font_t* probe = MakeScaled(f->face, 64, 1, 0, true);
    FT_Face ft = cairo_ft_scaled_font_lock_face(probe);
    double upem = 2048, winA = 1854, winD = 434, avg = 904, hAsc = 1854, hDesc = -434, gap = 67;
    if (ft) {
        upem = ft->units_per_EM ? ft->units_per_EM : 2048;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2))) {
            winA = os2->usWinAscent;
            winD = os2->usWinDescent;
            avg = os2->xAvgCharWidth;
        }
        if (auto* hh = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA))) {
            hAsc = hh->Ascender;
            hDesc = hh->Descender;
            gap = hh->Line_Gap;
        }
        f->underlinePos = -ft->underline_position / upem;
        f->underlineThick = ft->underline_thickness / upem;
        cairo_ft_scaled_font_unlock_face(probe);
    }
    cairo_scaled_font_destroy(probe);

    TEXTMETRIC& tm = f->tm;
    int height = lf.lfHeight == 0 ? 16 : lf.lfHeight;
    if (height > 0) {
        f->em = std::max(1.0, std::round(height * upem / (winA + winD)));
        tm.tmHeight = height;
        tm.tmAscent = LONG(std::lround(winA * height / (winA + winD)));
        tm.tmDescent = height - tm.tmAscent;
    } else {
        f->em = -height;
        tm.tmAscent = LONG(std::lround(winA * f->em / upem));
        tm.tmDescent = LONG(std::lround(winD * f->em / upem));
        tm.tmHeight = tm.tmAscent + tm.tmDescent;
    }
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - LONG(f->em));
    tm.tmExternalLeading =
        std::max<LONG>(0, LONG(std::lround((gap - ((winA + winD) - (hAsc - hDesc))) * f->em / upem)));
    double naturalAvg = avg * f->em / upem;
    if (lf.lfWidth > 0 && naturalAvg > 0) f->sx = lf.lfWidth / naturalAvg;
    f->angle = lf.lfEscapement / 10.0 * M_PI / 180.0;
    f->scaled = MakeScaled(f->face, f->em, f->sx, 0, true);
    if (f->angle != 0) f->rotated = MakeScaled(f->face, f->em, f->sx, f->angle, false);

    FT_Face ft2 = cairo_ft_scaled_font_lock_face(f->scaled);
    for (int c = 0; c < 256; ++c) {
        char32_t u = rtl::AnsiToUnicode(static_cast<unsigned char>(c));
        if (f->row->charset == OEM_CHARSET) u = rtl::OemToUnicode(static_cast<unsigned char>(c));
        f->glyph[c] = ft2 ? FT_Get_Char_Index(ft2, FT_ULong(u)) : 0;
    }
    // The widest glyph of the face at this size, from its tables rather than by measuring.
    int widest = 0;
    if (ft2 && ft2->size) widest = int((ft2->size->metrics.max_advance + 32) >> 6);
    if (ft2) cairo_ft_scaled_font_unlock_face(f->scaled);
    // Characters are measured when first asked for: a font is mostly used for a few of them.
    std::fill(std::begin(f->adv), std::end(f->adv), -1);
    tm.tmAveCharWidth =
        f->row->fixed ? Advance(f.get(), 'x') : std::max<LONG>(1, LONG(std::lround(naturalAvg * f->sx)));
    tm.tmMaxCharWidth = std::max<LONG>(widest, tm.tmAveCharWidth);
    tm.tmWeight = bold ? std::max<LONG>(FW_BOLD, lf.lfWeight) : (lf.lfWeight ? lf.lfWeight : FW_NORMAL);
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = ScreenDpi();
    tm.tmFirstChar = f->row->raster ? 32 : 30;
    tm.tmLastChar = char(255);
    tm.tmDefaultChar = f->row->raster ? char(128) : 31;
    tm.tmBreakChar = 32;
    tm.tmItalic = lf.lfItalic ? 1 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    tm.tmPitchAndFamily = BYTE((f->row->fixed ? 0 : TMPF_FIXED_PITCH) | (f->row->raster ? 0 : TMPF_TRUETYPE | TMPF_VECTOR) |
                               f->row->ff);
    tm.tmCharSet = f->row->charset;
    f->strikePos = tm.tmAscent * 0.3;
    FontFace* out = f.get();
    cache.emplace(key, std::move(f));
    return out;
}

// Counts the emptyings of the font cache, so that a font object's face is looked up once.
std::uint64_t gFontCacheEpoch = 1;

FontFace* FontOf(DC& dc) {
    GdiObject* o = Obj(dc.st.font, OBJ_FONT);
    if (!o) o = Obj(GetStockObject(SYSTEM_FONT), OBJ_FONT);
    if (!o) return nullptr;
    if (!o->realized || o->realizedIn != gFontCacheEpoch) {
        o->realized = Realize(o->font);
        o->realizedIn = gFontCacheEpoch;
    }
    return o->realized;
}

int CharAdv(FontFace* f, DC& dc, unsigned char c) { return Advance(f, c) + dc.st.charExtra; }

int Width(FontFace* f, DC& dc, const std::string& s) {
    int w = 0;
    for (unsigned char c : s) w += CharAdv(f, dc, c);
    return w;
}

// Calls Run(y, x0, x1) for each run of ink ([x0, x1), coverage of half or more) of the rows
// [y0, y1) of an A8 mask.
template <class F>
void InkRuns(const unsigned char* data, int stride, int w, int y0, int y1, F&& Run) {
    for (int y = y0; y < y1; ++y) {
        const unsigned char* row = data + std::size_t(y) * stride;
        int x = 0;
        while (x < w) {
            while (x < w && row[x] < 128) ++x;
            int st = x;
            while (x < w && row[x] >= 128) ++x;
            if (x > st) Run(y, st, x);
        }
    }
}

// The ink of an upright glyph, rendered once on its own: without antialiasing a glyph at a
// whole-pixel origin is the same pixels alone as among others.
const GlyphInk& InkOf(FontFace* f, unsigned char c) {
    GlyphInk& g = f->ink[c];
    if (g.made) return g;
    g.made = true;
    cairo_glyph_t probe{f->glyph[c], 0, 0};
    cairo_text_extents_t ext;
    cairo_scaled_font_glyph_extents(f->scaled, &probe, 1, &ext);
    const int m = 2;
    int x0 = int(std::floor(ext.x_bearing)) - m, y0 = int(std::floor(ext.y_bearing)) - m;
    int w = int(std::ceil(ext.width)) + 2 * m + 1, h = int(std::ceil(ext.height)) + 2 * m + 1;
    if (w <= 0 || h <= 0 || std::int64_t(w) * h > (1 << 22)) return g;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_t* cr = cairo_create(mask);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_scaled_font(cr, f->scaled);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_glyph_t at{f->glyph[c], double(-x0), double(-y0)};
    cairo_show_glyphs(cr, &at, 1);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    int stride = cairo_image_surface_get_stride(mask);
    InkRuns(data, stride, w, 0, h, [&](int y, int a, int b) { g.runs.push_back(GlyphInk::Run{y + y0, a + x0, b + x0}); });
    cairo_destroy(cr);
    cairo_surface_destroy(mask);
    return g;
}

// Draws text with its baseline starting at a device point, in the DC's text colour.
void DrawGlyphs(DC& dc, FontFace* f, double ox, double oy, std::string_view s, const std::vector<int>& adv,
                const RECT* clipDev) {
    if (s.empty()) return;
    if (dc.kind == DcKind::Printer) return PrinterText(dc, f, ox, oy, std::string(s), adv, clipDev);
    double ca = std::cos(f->angle), sa = std::sin(f->angle);
    int total = 0;
    for (int a : adv) total += a;
    double asc = f->tm.tmAscent, desc = f->tm.tmDescent;
    // Bounding box of the cell, with room for glyphs that overhang it.
    double margin = 2 + f->em / 3;
    double xs[4], ys[4];
    double cx[4] = {0, double(total), double(total), 0}, cy[4] = {-asc, -asc, desc, desc};
    for (int i = 0; i < 4; ++i) {
        xs[i] = ox + cx[i] * ca + cy[i] * sa;
        ys[i] = oy - cx[i] * sa + cy[i] * ca;
    }
    int bx0 = int(std::floor(*std::min_element(xs, xs + 4) - margin)), by0 = int(std::floor(*std::min_element(ys, ys + 4) - margin));
    int bx1 = int(std::ceil(*std::max_element(xs, xs + 4) + margin)), by1 = int(std::ceil(*std::max_element(ys, ys + 4) + margin));
    int w = bx1 - bx0, h = by1 - by0;
    if (w <= 0 || h <= 0 || std::int64_t(w) * h > (1 << 25)) return;
    if (f->angle == 0 && !f->rotated && ox == std::floor(ox) && oy == std::floor(oy)) {
        // Upright text: each glyph's ink from its cache, in whole spans, within the same box.
        const auto& ps = Pieces(dc);
        RECT cut = RECT{bx0, by0, bx1, by1};
        if (clipDev) cut = Intersection(cut, *clipDev);
        if (RectEmpty(cut)) return;
        const std::uint32_t pix = ToPix(dc.st.text);
        const int gx = int(ox), gy = int(oy);
        int pen = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            for (const GlyphInk::Run& r : InkOf(f, static_cast<unsigned char>(s[i])).runs) {
                int y = gy + r.y;
                if (y < cut.top || y >= cut.bottom) continue;
                int a = std::max<int>(gx + pen + r.x0, cut.left), b = std::min<int>(gx + pen + r.x1, cut.right);
                if (a < b) SolidSpan(ps, y, a, b, pix);
            }
            pen += adv[i];
        }
        auto bar = [&](double top, double thick) {
            int y0 = gy + int(std::round(top)), y1 = y0 + int(std::max(1.0, std::round(thick)));
            int a = std::max<int>(std::min(gx, gx + total), cut.left), b = std::min<int>(std::max(gx, gx + total), cut.right);
            for (int y = std::max<int>(y0, cut.top); y < std::min<int>(y1, cut.bottom); ++y) SolidSpan(ps, y, a, b, pix);
        };
        if (f->lf.lfUnderline) bar(std::max(1.0, f->underlinePos * f->em), f->underlineThick * f->em);
        if (f->lf.lfStrikeOut) bar(-f->strikePos, f->underlineThick * f->em);
        return;
    }
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_t* cr = cairo_create(mask);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_scaled_font(cr, f->rotated ? f->rotated : f->scaled);
    std::vector<cairo_glyph_t> glyphs;
    double pen = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        double gx = ox + pen * ca - bx0, gy = oy - pen * sa - by0;
        glyphs.push_back(cairo_glyph_t{f->glyph[c], gx, gy});
        pen += adv[i];
    }
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_show_glyphs(cr, glyphs.data(), int(glyphs.size()));
    auto bar = [&](double top, double thick) {
        cairo_save(cr);
        cairo_translate(cr, ox - bx0, oy - by0);
        cairo_rotate(cr, -f->angle);
        cairo_rectangle(cr, 0, std::round(top), total, std::max(1.0, std::round(thick)));
        cairo_fill(cr);
        cairo_restore(cr);
    };
    if (f->lf.lfUnderline) bar(std::max(1.0, f->underlinePos * f->em), f->underlineThick * f->em);
    if (f->lf.lfStrikeOut) bar(-f->strikePos, f->underlineThick * f->em);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    int stride = cairo_image_surface_get_stride(mask);
    const auto& ps = Pieces(dc);
    // The clip rectangle cuts the rows and the runs.
    RECT cut = clipDev ? *clipDev : RECT{bx0, by0, bx1, by1};
    std::uint32_t pix = ToPix(dc.st.text);
    InkRuns(data, stride, w, std::max<int>(0, cut.top - by0), std::min<int>(h, cut.bottom - by0), [&](int y, int st, int x) {
        int a = std::max<int>(bx0 + st, cut.left), b = std::min<int>(bx0 + x, cut.right);
        if (a < b) SolidSpan(ps, by0 + y, a, b, pix);
    });
    cairo_destroy(cr);
    cairo_surface_destroy(mask);
}

// The text output of TextOut and ExtTextOut, in logical coordinates.
BOOL OutText(DC& dc, int x, int y, UINT options, const RECT* rect, std::string_view s, const int* dx) {
    FontFace* f = FontOf(dc);
    if (!f) return FALSE;
    // Kept between calls, so that drawing text makes no allocation of its own.
    static std::vector<int> adv;
    adv.clear();
    int total = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        int a = dx ? dx[i] : CharAdv(f, dc, static_cast<unsigned char>(s[i]));
        adv.push_back(a);
        total += a;
    }
    bool updateCp = (dc.st.align & TA_UPDATECP) != 0;
    POINT ref = updateCp ? dc.st.pos : POINT{x, y};
    POINT d = ToDevice(dc, ref.x, ref.y);
    double ca = std::cos(f->angle), sa = std::sin(f->angle);
    UINT h = dc.st.align & 6, v = dc.st.align & 24;
    double hoff = h == TA_RIGHT ? -total : h == TA_CENTER ? -total / 2.0 : 0;
    double voff = v == TA_BASELINE ? 0 : v == TA_BOTTOM ? -f->tm.tmDescent : f->tm.tmAscent;
    if (f->angle == 0 && h == TA_CENTER) hoff = -(total / 2);
    double ox = d.x + hoff * ca + voff * sa, oy = d.y - hoff * sa + voff * ca;
    RECT clipDev{};
    bool clipped = false;
    const auto& ps = Pieces(dc);
    if (rect) {
        POINT a = ToDevice(dc, rect->left, rect->top), b = ToDevice(dc, rect->right, rect->bottom);
        clipDev = RECT{a.x, a.y, b.x, b.y};
        if (options & ETO_OPAQUE) FillDeviceRect(dc, ps, clipDev, dc.st.bk);
        clipped = (options & ETO_CLIPPED) != 0;
    }
    if (dc.st.bkMode == OPAQUE && !s.empty()) {
        double asc = f->tm.tmAscent, desc = f->tm.tmDescent;
        if (f->angle == 0) {
            RECT cell{LONG(std::lround(ox)), LONG(std::lround(oy - asc)), LONG(std::lround(ox + total)),
                      LONG(std::lround(oy + desc))};
            if (clipped) cell = Intersection(cell, clipDev);
            FillDeviceRect(dc, ps, cell, dc.st.bk);
        } else {
            double cx[4] = {0, double(total), double(total), 0}, cy[4] = {-asc, -asc, desc, desc};
            std::vector<POINT> poly;
            for (int i = 0; i < 4; ++i)
                poly.push_back(POINT{LONG(std::lround(ox + cx[i] * ca + cy[i] * sa)), LONG(std::lround(oy - cx[i] * sa + cy[i] * ca))});
            std::vector<Piece> cut = ps;
            if (clipped)
                for (Piece& p : cut) {
                    RECT c = clipDev;
                    OffsetRect(&c, p.org.x, p.org.y);
                    p.clip.Intersect(c);
                }
            FillPolygonDevice(dc, cut, poly, DestMono(dc) ? MonoOf(ToPix(dc.st.bk)) : ToPix(dc.st.bk));
        }
    }
    DrawGlyphs(dc, f, std::round(ox), std::round(oy), s, adv, clipped ? &clipDev : nullptr);
    if (updateCp) {
        if (h == TA_LEFT) dc.st.pos = POINT{ref.x + LONG(std::lround(total * ca)), ref.y - LONG(std::lround(total * sa))};
        if (h == TA_RIGHT) dc.st.pos = POINT{ref.x - LONG(std::lround(total * ca)), ref.y + LONG(std::lround(total * sa))};
    }
    return TRUE;
}

std::string Take(const char* text, int count) {
    if (!text) return {};
    if (count < 0) return text;
    return std::string(text, std::size_t(count));
}

} // namespace

namespace detail {
void ResetFonts() {
    FC().faces.clear();
    ++gFontCacheEpoch;
}
} // namespace detail

// --- Fonts ----------------------------------------------------------------------------------

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (!lf) return nullptr;
    auto o = std::make_unique<GdiObject>();
    o->type = OBJ_FONT;
    o->font = *lf;
    o->font.lfFaceName[LF_FACESIZE - 1] = 0;
    return NewObject(std::move(o));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, const char* face) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = BYTE(italic != 0);
    lf.lfUnderline = BYTE(underline != 0);
    lf.lfStrikeOut = BYTE(strikeOut != 0);
    lf.lfCharSet = BYTE(charSet);
    lf.lfOutPrecision = BYTE(outPrecision);
    lf.lfClipPrecision = BYTE(clipPrecision);
    lf.lfQuality = BYTE(quality);
    lf.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL GetTextMetrics(HDC h, TEXTMETRIC* tm) {
    DC* dc = Dc(h);
    if (!dc || !tm) return FALSE;
    FontFace* f = FontOf(*dc);
    if (!f) return FALSE;
    *tm = f->tm;
    if (dc->kind == DcKind::Printer) tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = PrinterCaps(*dc, LOGPIXELSX);
    return TRUE;
}

int GetTextFace(HDC h, int count, char* face) {
    DC* dc = Dc(h);
    if (!dc) return 0;
    FontFace* f = FontOf(*dc);
    if (!f) return 0;
    std::string n = f->row->name;
    if (!face) return int(n.size()) + 1;
    if (count <= 0) return 0;
    int k = std::min<int>(int(n.size()), count - 1);
    std::memcpy(face, n.data(), std::size_t(k));
    face[k] = 0;
    return k;
}

BOOL GetTextExtentPoint32(HDC h, const char* text, int count, SIZE* size) {
    DC* dc = Dc(h);
    if (!dc || !size || count < 0 || (!text && count)) return FALSE;
    FontFace* f = FontOf(*dc);
    if (!f) return FALSE;
    size->cx = Width(f, *dc, Take(text, count));
    size->cy = f->tm.tmHeight;
    return TRUE;
}

BOOL GetTextExtentPoint(HDC h, const char* text, int count, SIZE* size) {
    return GetTextExtentPoint32(h, text, count, size);
}

BOOL GetCharWidth(HDC h, UINT first, UINT last, int* widths) {
    DC* dc = Dc(h);
    if (!dc || !widths || last < first || last > 255) return FALSE;
    FontFace* f = FontOf(*dc);
    if (!f) return FALSE;
    for (UINT c = first; c <= last; ++c) widths[c - first] = Advance(f, static_cast<unsigned char>(c));
    return TRUE;
}

BOOL TextOut(HDC h, int x, int y, const char* text, int count) {
    DC* dc = Dc(h);
    if (!dc || count < 0 || (!text && count)) return FALSE;
    return OutText(*dc, x, y, 0, nullptr, count ? std::string_view(text, std::size_t(count)) : std::string_view(), nullptr);
}

BOOL ExtTextOut(HDC h, int x, int y, UINT options, const RECT* rect, const char* text, UINT count, const int* dx) {
    DC* dc = Dc(h);
    if (!dc || (!text && count)) return FALSE;
    return OutText(*dc, x, y, options, rect, count ? std::string_view(text, count) : std::string_view(), dx);
}

// --- DrawText -------------------------------------------------------------------------------

namespace {

struct TextLine {
    std::string s;
    int underline = -1; // index of the prefixed character in s
};

// "&x" underlines x, "&&" is one "&".
TextLine StripPrefix(const std::string& in, bool noPrefix) {
    TextLine l;
    if (noPrefix) {
        l.s = in;
        return l;
    }
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '&' && i + 1 < in.size()) {
            ++i;
            if (in[i] != '&') l.underline = int(l.s.size()); // the last prefix wins
        }
        l.s += in[i];
    }
    return l;
}

struct Measure {
    FontFace* f;
    DC* dc;
    bool tabs;
    int tabWidth;
    int Of(const std::string& s, std::size_t from, std::size_t to) const {
        int w = 0;
        for (std::size_t i = from; i < to && i < s.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            if (c == '\t' && tabs) w = tabWidth > 0 ? (w / tabWidth + 1) * tabWidth : w;
            else w += CharAdv(f, *dc, c);
        }
        return w;
    }
    int Of(const std::string& s) const { return Of(s, 0, s.size()); }
};

} // namespace

int DrawText(HDC h, const char* text, int count, RECT* rect, UINT fmt) {
    DC* dc = Dc(h);
    if (!dc || !rect || (!text && count)) return 0;
    FontFace* f = FontOf(*dc);
    if (!f) return 0;
    std::string all = Take(text, count);
    TEXTMETRIC& tm = f->tm;
    int lineH = tm.tmHeight + ((fmt & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    int tabChars = (fmt & DT_TABSTOP) ? int((fmt >> 8) & 0xFF) : 8;
    if (tabChars <= 0) tabChars = 8;
    Measure m{f, dc, (fmt & DT_EXPANDTABS) != 0, tabChars * tm.tmAveCharWidth};
    bool single = (fmt & DT_SINGLELINE) != 0;
    int width = rect->right - rect->left;

    std::vector<std::string> logical;
    if (single) logical.push_back(all);
    else {
        std::string cur;
        for (std::size_t i = 0; i < all.size(); ++i) {
            char c = all[i];
            if (c == '\r' || c == '\n') {
                logical.push_back(cur);
                cur.clear();
                if (c == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
            } else {
                cur += c;
            }
        }
        if (!cur.empty() || logical.empty()) logical.push_back(cur);
    }
    if (all.empty()) logical.clear();

    std::vector<TextLine> lines;
    for (const std::string& raw : logical) {
        TextLine tl = StripPrefix(raw, (fmt & DT_NOPREFIX) != 0);
        if (!(fmt & DT_WORDBREAK) || single) {
            lines.push_back(tl);
            continue;
        }
        // Break at blanks; a word wider than the rectangle stays whole on its own line.
        std::size_t start = 0;
        const std::string& s = tl.s;
        if (s.empty()) lines.push_back(tl);
        while (start < s.size()) {
            std::size_t end = start, lastFit = std::string::npos;
            while (end < s.size()) {
                std::size_t wordEnd = end;
                while (wordEnd < s.size() && s[wordEnd] == ' ') ++wordEnd;
                while (wordEnd < s.size() && s[wordEnd] != ' ') ++wordEnd;
                if (m.Of(s, start, wordEnd) > width && lastFit != std::string::npos) break;
                lastFit = wordEnd;
                end = wordEnd;
                if (m.Of(s, start, wordEnd) > width) break;
            }
            if (lastFit == std::string::npos) lastFit = s.size();
            TextLine part;
            part.s = s.substr(start, lastFit - start);
            if (tl.underline >= int(start) && tl.underline < int(lastFit)) part.underline = tl.underline - int(start);
            lines.push_back(part);
            start = lastFit;
            while (start < s.size() && s[start] == ' ') ++start;
        }
    }
    if (fmt & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))
        for (TextLine& l : lines) {
            if (m.Of(l.s) <= width) continue;
            std::string base = l.s;
            while (!base.empty() && m.Of(base + "...") > width) base.pop_back();
            if (l.underline >= int(base.size())) l.underline = -1;
            l.s = base + "...";
        }

    int maxW = 0;
    for (const TextLine& l : lines) maxW = std::max(maxW, m.Of(l.s));
    int total = int(lines.size()) * lineH;
    int y = rect->top;
    if (single && (fmt & DT_VCENTER)) y = rect->top + (rect->bottom - rect->top - lineH) / 2;
    else if (single && (fmt & DT_BOTTOM)) y = rect->bottom - lineH;
    int answer = (single && (fmt & (DT_VCENTER | DT_BOTTOM))) ? y - rect->top + total : total;
    if (lines.empty()) answer = 0;
    if (fmt & DT_CALCRECT) {
        rect->right = rect->left + maxW;
        rect->bottom = rect->top + total;
        return answer;
    }
    // On pixels the rectangle clips each run and the mark as it is drawn, leaving the DC's clip
    // (and its pieces) as they are; a printer's page is clipped through its region.
    const bool clipRuns = !(fmt & DT_NOCLIP) && dc->kind != DcKind::Printer;
    int saved = clipRuns ? 0 : SaveDC(h);
    if (!clipRuns && !(fmt & DT_NOCLIP)) IntersectClipRect(h, rect->left, rect->top, rect->right, rect->bottom);
    const RECT box = *rect;
    UINT oldAlign = dc->st.align;
    dc->st.align = TA_LEFT | TA_TOP;
    for (const TextLine& l : lines) {
        int lw = m.Of(l.s);
        int x = rect->left;
        if (fmt & DT_CENTER) x = rect->left + (width - lw) / 2;
        else if (fmt & DT_RIGHT) x = rect->right - lw;
        // Tabs split the line into runs placed at their stops.
        std::size_t runStart = 0;
        for (std::size_t i = 0; i <= l.s.size(); ++i) {
            if (i == l.s.size() || (l.s[i] == '\t' && m.tabs)) {
                std::string_view run = std::string_view(l.s).substr(runStart, i - runStart);
                OutText(*dc, x + m.Of(l.s, 0, runStart), y, clipRuns ? ETO_CLIPPED : 0, clipRuns ? &box : nullptr, run,
                        nullptr);
                runStart = i + 1;
            }
        }
        if (l.underline >= 0 && l.underline < int(l.s.size())) {
            int ux = x + m.Of(l.s, 0, std::size_t(l.underline));
            int uw = CharAdv(f, *dc, static_cast<unsigned char>(l.s[std::size_t(l.underline)]));
            if (clipRuns) {
                POINT a = ToDevice(*dc, ux, y + tm.tmAscent + 1), b = ToDevice(*dc, ux + uw, y + tm.tmAscent + 1);
                POINT c0 = ToDevice(*dc, box.left, box.top), c1 = ToDevice(*dc, box.right, box.bottom);
                if (a.y >= c0.y && a.y < c1.y)
                    SolidSpan(Pieces(*dc), a.y, std::max(std::min(a.x, b.x), c0.x), std::min(std::max(a.x, b.x), c1.x),
                              ToPix(dc->st.text));
                y += lineH;
                continue;
            }
            HPEN pen = CreatePen(PS_SOLID, 1, dc->st.text);
            HGDIOBJ old = SelectObject(h, pen);
            int rop = SetROP2(h, R2_COPYPEN);
            MoveToEx(h, ux, y + tm.tmAscent + 1, nullptr);
            LineTo(h, ux + uw, y + tm.tmAscent + 1);
            SetROP2(h, rop);
            SelectObject(h, old);
            DeleteObject(pen);
        }
        y += lineH;
    }
    if (Dc(h)) Dc(h)->st.align = oldAlign;
    if (!clipRuns) RestoreDC(h, saved);
    return answer;
}

// --- Font families --------------------------------------------------------------------------

int EnumFontFamilies(HDC h, const char* family, FONTENUMPROC proc, LPARAM param) {
    if (!Dc(h) || !proc) return 0;
    int last = 1;
    for (const FaceRow& r : kFaces) {
        if (family && !SameFace(family, r.name)) continue;
        struct Style {
            int weight;
            BYTE italic;
        };
        std::vector<Style> styles{{FW_NORMAL, 0}};
        if (family && !r.raster) styles = {{FW_NORMAL, 0}, {FW_BOLD, 0}, {FW_NORMAL, 1}, {FW_BOLD, 1}};
        for (const Style& st : styles) {
            LOGFONT lf;
            std::strncpy(lf.lfFaceName, r.name, LF_FACESIZE - 1);
            lf.lfHeight = r.raster ? 13 : 16;
            lf.lfWeight = r.bold ? FW_BOLD : st.weight;
            lf.lfItalic = st.italic;
            lf.lfCharSet = r.charset;
            lf.lfPitchAndFamily = BYTE((r.fixed ? FIXED_PITCH : VARIABLE_PITCH) | r.ff);
            lf.lfQuality = DRAFT_QUALITY;
            FontFace* f = Realize(lf);
            if (!f) continue;
            last = proc(&lf, &f->tm, r.raster ? RASTER_FONTTYPE : TRUETYPE_FONTTYPE, param);
            if (!last) return 0;
        }
    }
    return last;
}

} // namespace win
