// The editor window's view of a Pascal source: rows painted run by run in the IDE's colours
// from the syntax list of the file shown. Implementations in SourceView.cpp.
#pragma once

#include "vcl/Graphics.h"

#include <cstdint>

namespace spellexpert {

// The editor's per-row drawing event: the row of display line Line, S its text from the line's
// start, LinePos the first column shown (from 0); the selection from (HBLine, HBCol) to
// (HELine, HECol), the end column excluded. Without a syntax list the editor draws the row.
void DrawSyntaxLine(vcl::TCanvas* Canvas, vcl::TRect LineRect, const char* S, int Len, std::int32_t Line,
                    int LinePos, int Count, std::int32_t HBLine, int HBCol, std::int32_t HELine, int HECol,
                    bool& WasDrawn);

} // namespace spellexpert
