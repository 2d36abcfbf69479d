#include "spellexpert/SourceView.h"

#include "spellexpert/SyntaxColour.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>
#include <string>

namespace spellexpert {

void DrawSyntaxLine(vcl::TCanvas* Canvas, vcl::TRect LineRect, const char* S, int Len, std::int32_t Line,
                    int LinePos, int Count, std::int32_t HBLine, int HBCol, std::int32_t HELine, int HECol,
                    bool& WasDrawn) {
    if (!SyntaxList) {
        WasDrawn = false;
        return;
    }
    WasDrawn = true;
    // Selected columns, from 1, both inclusive; the end column itself is never selected.
    int selFrom = 0, selTo = -1;
    if (HBLine > 0) {
        if (Line > HBLine && Line < HELine)
            selFrom = 1, selTo = Len;
        else if (Line == HBLine)
            selFrom = HBCol, selTo = HELine == HBLine ? HECol - 1 : Len;
        else if (Line == HELine)
            selFrom = 1, selTo = HECol - 1;
    }
    Canvas->FillRect(LineRect);
    // The runs' colours must not reach the next row's fill.
    rtl::TScopeExit restore([Canvas, brush = Canvas->Brush()->Color(), font = Canvas->Font()->Color(),
                             style = Canvas->Font()->Style()] {
        Canvas->Brush()->SetColor(brush);
        Canvas->Font()->SetColor(font);
        Canvas->Font()->SetStyle(style);
    });
    std::string codes = SyntaxList->GetLineAttributes(Line);
    if (codes.empty() || Len <= 0 || !S)
        return;
    // A line longer than its entry (changed since it was coloured) goes on in its last code.
    if (static_cast<int>(codes.size()) < Len)
        codes.append(static_cast<std::size_t>(Len) - codes.size(), codes.back());
    for (int c = std::max(selFrom, 1); c <= std::min(selTo, Len); ++c)
        codes[static_cast<std::size_t>(c - 1)] = 'h';

    const int first = std::max(LinePos, 0);
    const int last = std::min(Len, first + std::max(Count, 0) + 1); // exclusive
    int x = LineRect.left;
    for (int i = first; i < last;) {
        int j = i + 1;
        while (j < last && codes[static_cast<std::size_t>(j)] == codes[static_cast<std::size_t>(i)])
            ++j;
        const TSyntaxAttr a = FindAttribute(codes[static_cast<std::size_t>(i)]);
        const std::string run(S + i, static_cast<std::size_t>(j - i));
        Canvas->Font()->SetColor(a.FontColor);
        Canvas->Font()->SetStyle(a.Style);
        Canvas->Brush()->SetColor(a.BackColor);
        Canvas->TextOut(x, LineRect.top + 1, run);
        x += Canvas->TextWidth(run);
        i = j;
    }
}

} // namespace spellexpert
