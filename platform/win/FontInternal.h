// Private to platform/win: a realised font, shared by the screen's text (Text.cpp) and the
// printer's (Printing.cpp), so that both measure and place glyphs alike.
#pragma once

#include "win/GdiInternal.h"

#include <cairo.h>

#include <vector>

namespace win::detail {

struct FaceRow {
    const char* name;   // the Windows face
    const char* family; // what draws it
    bool raster, fixed;
    BYTE ff;
    bool bold;
    BYTE charset;
};

// The ink of one upright glyph drawn at a whole-pixel origin, as runs of pixels relative to it.
struct GlyphInk {
    bool made = false;
    struct Run {
        int y, x0, x1;
    };
    std::vector<Run> runs;
};

struct FontFace {
    const FaceRow* row = nullptr;
    LOGFONT lf;
    cairo_font_face_t* face = nullptr;
    cairo_scaled_font_t* scaled = nullptr;  // upright, for measuring and level text
    cairo_scaled_font_t* rotated = nullptr; // for escapement
    double em = 0, angle = 0, sx = 1;
    TEXTMETRIC tm;
    int adv[256]; // -1 until the character is first measured
    unsigned long glyph[256] = {};
    double underlinePos = 0, underlineThick = 1, strikePos = 0;
    GlyphInk ink[256]; // by character, made when first drawn
    ~FontFace() {
        if (rotated) cairo_scaled_font_destroy(rotated);
        if (scaled) cairo_scaled_font_destroy(scaled);
        if (face) cairo_font_face_destroy(face);
    }
};

} // namespace win::detail
