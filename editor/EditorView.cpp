// The editor control's view side: metrics, painting of lines, selection and bookmark glyphs,
// the scroll bars, scrolling, the caret's place, and the keyboard, mouse and focus messages.
#include "editor/ZelEditor.h"

#include "editor/ZelUtils.h"
#include "rtl/ScopeGuards.h"
#include "vcl/Forms.h"
#include "win/Gdi.h"
#include "win/Windows.h"

#include <algorithm>
#include <cstring>

namespace editor {

namespace {

using vcl::TMessage;

constexpr win::UINT_PTR AutoScrollTimer = 1;
constexpr unsigned AutoScrollInterval = 50;

// The ten bookmark glyphs: a digit on a dark tag, each 12 x 12.
constexpr int GlyphSize = 12;
constexpr const char* Digits[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", ".##", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

// The margin cursor: an arrow leaning right, for selecting whole lines.
constexpr const char* MarginArrow[] = {
    "..........#",    ".........##",    "........#o#",    ".......#oo#",
    "......#ooo#",    ".....#oooo#",    "....#ooooo#",    "...#oooooo#",
    "..#ooooooo#",    ".#oooooooo#",    "#######ooo#",    "......#oo#.",
    ".....#oo#..",    ".....#o#...",    "....#o#....",    "....##.....",
};

win::HCURSOR MarginCursor() {
    static win::HCURSOR cursor = [] {
        std::uint8_t andPlane[32 * 4], xorPlane[32 * 4];
        std::memset(andPlane, 0xFF, sizeof andPlane);
        std::memset(xorPlane, 0, sizeof xorPlane);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; MarginArrow[y][x]; ++x) {
                const char c = MarginArrow[y][x];
                if (c == '.') continue;
                andPlane[y * 4 + x / 8] &= std::uint8_t(~(0x80 >> (x % 8)));
                if (c == 'o') xorPlane[y * 4 + x / 8] |= std::uint8_t(0x80 >> (x % 8));
            }
        return win::CreateCursor(nullptr, 10, 0, 32, 32, andPlane, xorPlane);
    }();
    return cursor;
}

} // namespace

// --- window ---------------------------------------------------------------------------------

void TZelCustomEditor::CreateParams(vcl::TCreateParams& Params) {
    TZelEditBase::CreateParams(Params);
    if (HasHorzBar()) Params.Style |= win::WS_HSCROLL;
    if (HasVertBar()) Params.Style |= win::WS_VSCROLL;
    if (FBorderStyle == TEditorBorderStyle::bsSingle) {
        if (Ctl3D()) Params.ExStyle |= win::WS_EX_CLIENTEDGE;
        else Params.Style |= win::WS_BORDER;
    }
}

void TZelCustomEditor::CreateWnd() {
    TZelEditBase::CreateWnd();
    if (IsDesigning()) ShowSampleText();
    RenewVertRange();
    RenewHorzRange();
    UpdateMetrics();
    ApplyWrapToWindow();
    if (FShowBookmarks && !IsDesigning()) LoadGlyphs();
}

void TZelCustomEditor::LoadGlyphs() {
    FGlyphs = std::make_unique<vcl::TBitmap>();
    FGlyphs->SetSize(GlyphSize * 10, GlyphSize);
    vcl::TCanvas* c = FGlyphs->Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect({0, 0, GlyphSize * 10, GlyphSize});
    for (int n = 0; n < 10; ++n) {
        const int x0 = n * GlyphSize;
        c->Brush()->SetColor(vcl::clTeal);
        c->FillRect({x0 + 1, 0, x0 + GlyphSize - 1, GlyphSize});
        c->Brush()->SetColor(vcl::clWhite);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 3; ++x)
                if (Digits[n][y][x] == '#')
                    c->FillRect({x0 + 3 + 2 * x, 1 + 2 * y, x0 + 5 + 2 * x, 3 + 2 * y});
    }
}

void TZelCustomEditor::Dispatch(vcl::TMessage& Message) {
    switch (Message.Msg) {
    case ZM_SHOWSTATUS:
        DoOnShowStatus(static_cast<std::int32_t>(Message.LParam), static_cast<int>(Message.WParam));
        return;
    case win::WM_SIZE:
        TZelEditBase::Dispatch(Message);
        UpdateMetrics();
        ApplyWrapToWindow();
        return;
    case win::WM_HSCROLL: WMHScroll(Message); return;
    case win::WM_VSCROLL: WMVScroll(Message); return;
    case win::WM_MOUSEACTIVATE: WMMouseActivate(Message); return;
    case win::WM_MOUSEWHEEL: WMMouseWheel(Message); return;
    case win::WM_TIMER:
        if (Message.WParam == AutoScrollTimer) {
            WMTimer(Message);
            return;
        }
        break;
    case win::WM_NCHITTEST:
        if (IsDesigning()) {
            Message.Result = win::DefWindowProc(Handle(), Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        break;
    case win::WM_CANCELMODE:
    case win::WM_CAPTURECHANGED:
        EndDrag();
        break;
    default: break;
    }
    TZelEditBase::Dispatch(Message);
}

void TZelCustomEditor::WMEraseBkgnd(vcl::TMessage& Message) { Message.Result = 1; }

void TZelCustomEditor::FontChanged(vcl::TObject*) {
    // The class library's font-changed notification does the work.
    if (HandleAllocated()) Perform(vcl::CM_FONTCHANGED, 0, 0);
}

void TZelCustomEditor::CMFontChanged(vcl::TMessage& Message) {
    TZelEditBase::CMFontChanged(Message);
    if (IsLoading() || !HandleAllocated()) return;
    UpdateMetrics();
    ApplyWrapToWindow();
    if (!IsDesigning() && Focused()) {
        FCaret->SetCellHeight(FLineHeight);
        FCaret->SetCellWidth(FCharWidth);
        PositionCaret(0);
    }
}

void TZelCustomEditor::CMCtl3DChanged(vcl::TMessage& Message) {
    if (!IsLoading() && HandleAllocated() && FBorderStyle == TEditorBorderStyle::bsSingle) RecreateWnd();
    TZelEditBase::CMCtl3DChanged(Message);
}

// --- metrics ---------------------------------------------------------------------------------

void TZelCustomEditor::UpdateMetrics() {
    if (!HandleAllocated() || FInMetrics) return;
    // Showing or hiding a bar resizes the client area, which comes back here through WM_SIZE.
    FInMetrics = true;
    {
        rtl::TScopeExit done([this] { FInMetrics = false; });
        win::HDC dc = win::GetDC(Handle());
        win::HGDIOBJ old = win::SelectObject(dc, FFixedFont->Font().Handle());
        win::TEXTMETRIC tm;
        win::GetTextMetrics(dc, &tm);
        win::SelectObject(dc, old);
        win::ReleaseDC(Handle(), dc);
        FCharWidth = std::max<int>(1, tm.tmAveCharWidth);
        const int lineHeight = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading + 1);
        for (int pass = 0; pass < 8; ++pass) {
            bool changed = false;
            vcl::TRect client = ClientRect();
            const int cols = std::max(1, (client.right - FLeftMargin - FRightMargin) / FCharWidth);
            if (cols != FVisibleColumns) {
                FVisibleColumns = cols;
                changed = true;
                if (client.right > 0) {
                    RenewHorzRange();
                    RenewHorzThumb();
                    if (FHorzMax == 0) FHorzOffset = 0;
                }
            }
            client = ClientRect();
            FLineHeight = lineHeight;
            const int lines = std::max(1, client.bottom / FLineHeight);
            if (lines != FVisibleLines) {
                FVisibleLines = lines;
                changed = true;
                if (client.bottom > 0) {
                    RenewVertRange();
                    RenewVertThumb();
                }
            }
            if (!changed) break;
        }
    }
    InvalidateAll(false);
}

void TZelCustomEditor::ApplyWrapToWindow() {
    if (FWrapToWindow && WordWrap()) {
        HandleNeeded();
        SetWrapColumn(FVisibleColumns - 2);
    }
}

void TZelCustomEditor::RefreshView(bool Flag) {
    if (!HandleAllocated()) return;
    RenewVertRange();
    RenewVertThumb();
    RenewHorzRange();
    RenewHorzThumb();
    UpdateMetrics();
    ApplyWrapToWindow();
    InvalidateAll(Flag);
}

// --- scroll bars -------------------------------------------------------------------------------

void TZelCustomEditor::RenewHorzRange() {
    FHThumbPending = true;
    int max = std::min(WordWrap() ? WrapColumn() : ParaLengthLimit(), 512);
    if (max <= 0 && FScrollBarsAlways) max = 1;
    if (!HasHorzBar() || (max <= FVisibleColumns && !FScrollBarsAlways)) max = 0;
    FHorzMax = std::max(max, 0);
    if (HandleAllocated() && HasHorzBar()) win::SetScrollRange(Handle(), win::SB_HORZ, 0, FHorzMax, true);
}

void TZelCustomEditor::RenewHorzThumb() {
    FHThumbPending = false;
    if (HandleAllocated() && HasHorzBar()) win::SetScrollPos(Handle(), win::SB_HORZ, FHorzOffset, true);
}

void TZelCustomEditor::RenewVertRange() {
    FVRangePending = false;
    const std::int32_t n = std::max(LineCount() - FVisibleLines + 1, 0);
    FVertDivisor = n > 32767 ? (n / 32768) * 2 : 1;
    std::int32_t max = n / FVertDivisor;
    if (max <= 1 && FScrollBarsAlways) max = 2;
    const bool fits = LineCount() <= FVisibleLines;
    FVertMax = max;
    if (!HandleAllocated() || !HasVertBar()) return;
    if (!fits || FScrollBarsAlways) win::SetScrollRange(Handle(), win::SB_VERT, 1, max, true);
    else win::SetScrollRange(Handle(), win::SB_VERT, 1, 1, true);
}

void TZelCustomEditor::RenewVertThumb() {
    FVThumbPending = false;
    if (HandleAllocated() && HasVertBar())
        win::SetScrollPos(Handle(), win::SB_VERT, FTopLine / FVertDivisor, true);
}

void TZelCustomEditor::WMHScroll(vcl::TMessage& Message) {
    const int code = win::LOWORD(Message.WParam);
    const int pos = static_cast<std::int16_t>(win::HIWORD(Message.WParam));
    switch (code) {
    case win::SB_LINELEFT: Scroll(-1, 0); break;
    case win::SB_LINERIGHT: Scroll(1, 0); break;
    case win::SB_PAGELEFT: Scroll(1 - FVisibleColumns, 0); break;
    case win::SB_PAGERIGHT: Scroll(FVisibleColumns - 1, 0); break;
    case win::SB_THUMBPOSITION:
    case win::SB_THUMBTRACK:
        if (pos != FHorzOffset) {
            FHorzOffset = std::max(pos, 0);
            RenewHorzThumb();
            InvalidateAll(false);
        }
        break;
    default: break;
    }
}

void TZelCustomEditor::WMVScroll(vcl::TMessage& Message) {
    const int code = win::LOWORD(Message.WParam);
    const int pos = static_cast<std::int16_t>(win::HIWORD(Message.WParam));
    switch (code) {
    case win::SB_LINEUP: Scroll(0, -1); break;
    case win::SB_LINEDOWN: Scroll(0, 1); break;
    case win::SB_PAGEUP: Scroll(0, -FVisibleLines); break;
    case win::SB_PAGEDOWN: Scroll(0, FVisibleLines); break;
    case win::SB_THUMBPOSITION:
    case win::SB_THUMBTRACK: {
        std::int64_t top;
        if (pos <= 1) top = 1;
        else if (pos >= FVertMax) top = std::max(LineCount() - FVisibleLines + 1, 1);
        else top = std::int64_t{pos} * FVertDivisor;
        top = std::clamp<std::int64_t>(top, 1, LineCount());
        SetTopLine(static_cast<std::int32_t>(top));
        break;
    }
    default: break;
    }
}

void TZelCustomEditor::WMMouseWheel(vcl::TMessage& Message) {
    // Three lines a notch, as the system's default.
    const int delta = static_cast<std::int16_t>(win::HIWORD(Message.WParam));
    const int notches = delta / 120;
    if (notches != 0) Scroll(0, -3 * notches);
}

// --- painting -------------------------------------------------------------------------------

bool TZelCustomEditor::SelectionShown() {
    return Enabled() && HasSelection() && (!FHideSelection || Focused());
}

bool TZelCustomEditor::DoDrawLine(vcl::TCanvas* Canvas, vcl::TRect LineRect, const char* S, int Len,
                                  std::int32_t Line, int LinePos, int Count, std::int32_t HBLine,
                                  int HBCol, std::int32_t HELine, int HECol) {
    bool drawn = false;
    if (OnDrawLine)
        OnDrawLine(this, Canvas, LineRect, S, Len, Line, LinePos, Count, HBLine, HBCol, HELine, HECol, drawn);
    return drawn;
}

void TZelCustomEditor::Paint() {
    vcl::TCanvas* canvas = Canvas();
    canvas->SetFont(&FFixedFont->Font());
    canvas->Brush()->SetColor(Color());
    canvas->Font()->SetColor(Enabled() ? FFixedFont->Font().Color() : vcl::clGrayText);
    win::HDC dc = canvas->Handle();

    win::RECT clip;
    win::GetClipBox(dc, &clip);
    const int firstRow = clip.top / FLineHeight + 1;
    int lastRow = (FLineHeight + clip.bottom - 1) / FLineHeight;
    if (lastRow == FVisibleLines) ++lastRow;

    std::int32_t hbLine = 0, heLine = 0;
    int hbCol = 0, heCol = 0;
    if (SelectionShown()) {
        hbLine = FSelStart.Line;
        heLine = FSelEnd.Line;
        hbCol = FList->PosToColumn(LineText(hbLine), FSelStart.Col);
        heCol = FList->PosToColumn(LineText(heLine), FSelEnd.Col);
    }

    const vcl::TRect client = ClientRect();
    canvas->FillRect({client.left, client.top, client.left + FLeftMargin, client.bottom});
    canvas->FillRect({TextRight(), client.top, client.right, client.bottom});
    if (FShowBookmarks)
        for (int row = 1; row <= FVisibleLines; ++row) DrawGlyph(row, FTopLine + row - 1);

    for (int row = 1; row <= FVisibleLines; ++row) {
        if (row < firstRow || row > lastRow) continue;
        PaintRow(row, FTopLine + row - 1, hbLine, hbCol, heLine, heCol);
    }
    if (lastRow > FVisibleLines) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect({FLeftMargin, FVisibleLines * FLineHeight, TextRight(), client.bottom});
    }

    FFullRepaintPending = false;
    if (FVRangePending) RenewVertRange();
    if (FVThumbPending) RenewVertThumb();
    if (FHThumbPending) RenewHorzThumb();
    PositionCaret(0);
}

void TZelCustomEditor::PaintRow(int Row, std::int32_t Line, std::int32_t HBLine, int HBCol,
                                std::int32_t HELine, int HECol) {
    vcl::TCanvas* canvas = Canvas();
    const vcl::TRect client = ClientRect();
    const int top = (Row - 1) * FLineHeight;
    const vcl::TRect rect{FLeftMargin, top, TextRight(), std::min(top + FLineHeight, client.bottom)};
    auto fill = [&] {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(rect);
    };

    if (Line < 1 || Line > LineCount()) {
        if (!OnDrawLine || !DoDrawLine(canvas, rect, "", 0, Line, FHorzOffset, FVisibleColumns, HBLine,
                                       HBCol, HELine, HECol))
            fill();
        return;
    }

    TLineRef ref = FList->FindLine(Line);
    const bool tabbed = HasTab(ref.Text);
    const std::string expanded = tabbed ? DetabPChar(ref.Text, TabSize()) : std::string();
    const std::string_view lineText = tabbed ? std::string_view(expanded) : ref.Text;
    const auto width = static_cast<int>(lineText.size());
    std::string_view part;
    if (FHorzOffset < width)
        part = lineText.substr(static_cast<std::size_t>(FHorzOffset),
                               static_cast<std::size_t>(std::min(FVisibleColumns, width - FHorzOffset)));

    if (OnDrawLine) {
        std::string s;
        if (!part.empty()) {
            if (tabbed) {
                s = expanded;
            } else {
                // From the start of the display line to the end of its paragraph.
                const std::string_view para = ref.Node->Text();
                s = para.substr(static_cast<std::size_t>(ref.Text.data() - para.data()));
            }
        }
        const int len = static_cast<int>(std::strlen(s.c_str()));
        if (DoDrawLine(canvas, rect, s.c_str(), len, Line, FHorzOffset, FVisibleColumns, HBLine, HBCol,
                       HELine, HECol))
            return;
        // The handler may have changed the canvas.
        canvas->SetFont(&FFixedFont->Font());
        canvas->Font()->SetColor(Enabled() ? FFixedFont->Font().Color() : vcl::clGrayText);
    }
    if (part.empty()) {
        fill();
        return;
    }

    // Runs in screen columns: before the selection, selected, after it.
    const int first = FHorzOffset + 1;
    const int last = FHorzOffset + static_cast<int>(part.size()); // inclusive
    int selFrom = 0, selTo = -1; // inclusive screen columns
    if (HBLine != 0) {
        if (Line > HBLine && Line < HELine) selFrom = 1, selTo = width;
        else if (Line == HBLine && Line == HELine) selFrom = HBCol, selTo = HECol - 1;
        else if (Line == HBLine) selFrom = HBCol, selTo = width;
        else if (Line == HELine) selFrom = 1, selTo = HECol - 1;
    }
    selFrom = std::max(selFrom, first);
    selTo = std::min(selTo, last);
    struct TRun {
        int From, To;
        bool Selected;
    };
    TRun runs[3];
    int count = 0;
    if (selFrom > selTo) {
        runs[count++] = {first, last, false};
    } else {
        if (selFrom > first) runs[count++] = {first, selFrom - 1, false};
        runs[count++] = {selFrom, selTo, true};
        if (selTo < last) runs[count++] = {selTo + 1, last, false};
    }
    // Through the canvas, so that its fixed font and colours are the ones selected.
    const vcl::TColor textColor = canvas->Font()->Color();
    for (int i = 0; i < count; ++i) {
        const TRun& run = runs[i];
        const int x = FLeftMargin + (run.From - first) * FCharWidth;
        const int end = FLeftMargin + (run.To - first + 1) * FCharWidth;
        const std::string chars(part.substr(static_cast<std::size_t>(run.From - first),
                                            static_cast<std::size_t>(run.To - run.From + 1)));
        canvas->Brush()->SetColor(run.Selected ? FHighlightColors->BackColor() : Color());
        canvas->Font()->SetColor(run.Selected ? FHighlightColors->TextColor() : textColor);
        // The last run also clears the rest of the row; the space right of a line's end is never
        // highlighted.
        const int right = i == count - 1 && !run.Selected ? rect.right : end;
        canvas->TextRect({x, rect.top, right, rect.bottom}, x, rect.top + 1, chars);
        if (i == count - 1 && run.Selected) {
            canvas->Brush()->SetColor(Color());
            canvas->FillRect({end, rect.top, rect.right, rect.bottom});
        }
    }
    canvas->Font()->SetColor(textColor);
}

void TZelCustomEditor::DrawGlyph(int Row, std::int32_t Line) {
    if (!FGlyphs || Line < 1 || Line > LineCount()) return;
    int n = -1;
    for (int i = 0; i < 10; ++i) {
        const TParaList::TBookmark b = FList->Bookmark(static_cast<std::uint8_t>(i));
        if (b.Para == 0 || b.Pos == 0 || b.Para > ParaCount()) continue;
        int col;
        if (FList->ParaPosToLine(b.Para, b.Pos, col) == Line) {
            n = i;
            break;
        }
    }
    if (n < 0) return;
    const int w = FGlyphs->Width() / 10;
    const int h = FGlyphs->Height();
    if (w <= 0 || FLeftMargin < w) return;
    int y = (Row - 1) * FLineHeight;
    if (FLineHeight >= h + 2) y += (FLineHeight - h) / 2;
    win::BitBlt(Canvas()->Handle(), 1, y, w, h, FGlyphs->Canvas()->Handle(), n * w, 0, win::SRCCOPY);
}

void TZelCustomEditor::InvalidateAll(bool Update) {
    if (!HandleAllocated()) return;
    if (!FFullRepaintPending) {
        FFullRepaintPending = true;
        win::InvalidateRect(Handle(), nullptr, false);
    }
    if (Update && FPaintDeferred == 0) this->Update();
}

void TZelCustomEditor::InvalidateLines(std::int32_t Line1, std::int32_t Line2) {
    if (!HandleAllocated() || FFullRepaintPending) return;
    if (Line1 > Line2) std::swap(Line1, Line2);
    const std::int32_t last = FTopLine + FVisibleLines - 1;
    Line1 = std::max(Line1, FTopLine);
    Line2 = std::min(Line2, last);
    if (Line1 > Line2) return;
    const vcl::TRect client = ClientRect();
    win::RECT r{client.left, (Line1 - FTopLine) * FLineHeight, client.right,
                Line2 == last ? client.bottom : (Line2 - FTopLine + 1) * FLineHeight};
    win::InvalidateRect(Handle(), &r, false);
}

// --- scrolling and the caret -----------------------------------------------------------------

void TZelCustomEditor::Scroll(int DCols, std::int32_t DLines) {
    int offset = FHorzOffset + DCols;
    if (DCols < 0 && -DCols > FHorzOffset) offset = 0;
    std::int64_t top = std::int64_t{FTopLine} + DLines;
    top = std::min<std::int64_t>(top, std::int64_t{LineCount()} - FVisibleLines + 1);
    top = std::max<std::int64_t>(top, 1);
    if (offset == FHorzOffset && top == FTopLine) {
        PositionCaret(0);
        return;
    }
    const std::int32_t oldTop = FTopLine;
    const int oldOffset = FHorzOffset;
    rtl::TScopeExit notify([this, oldTop] {
        if (FTopLine != oldTop) DoOnTopLineChanged(FTopLine);
    });
    if (top != FTopLine) {
        FTopLine = static_cast<std::int32_t>(top);
        FTopPara = FList->LineToParaPos(FTopLine, FTopOffset);
        RenewVertThumb();
    }
    if (offset != FHorzOffset) {
        FHorzOffset = offset;
        RenewHorzThumb();
    }
    // Nothing is painted here: the window paints once when its messages have run, and what
    // waits to be painted moves with the scrolled pixels. A pending full repaint shows the
    // new place anyway.
    if (HandleAllocated() && !FFullRepaintPending) {
        const int dx = (oldOffset - FHorzOffset) * FCharWidth;
        const int dy = (oldTop - FTopLine) * FLineHeight;
        if (std::abs(dx) >= FVisibleColumns * FCharWidth || std::abs(dy) >= FVisibleLines * FLineHeight ||
            (dx != 0 && dy != 0)) {
            InvalidateAll(false);
        } else {
            win::RECT area{FLeftMargin, 0, TextRight(), FVisibleLines * FLineHeight};
            win::ScrollWindow(Handle(), dx, dy, &area, &area);
            if (FShowBookmarks && dy != 0) {
                win::RECT margin{0, 0, FLeftMargin, FVisibleLines * FLineHeight};
                win::ScrollWindow(Handle(), 0, dy, &margin, &margin);
            }
        }
    }
    PositionCaret(0);
}

bool TZelCustomEditor::IsCaretVisible() {
    if (FCaretLine < FTopLine || FCaretLine >= FTopLine + FVisibleLines) return false;
    const int screen = CaretScreenColumn();
    return screen > FHorzOffset && screen <= FHorzOffset + FVisibleColumns;
}

void TZelCustomEditor::PositionCaret(int ScreenCol) {
    FCaretLine = std::min(FCaretLine, LineCount());
    const int screen = ScreenCol ? ScreenCol : CaretScreenColumn();
    int x = 32767, y = 32767;
    if (IsCaretVisible()) {
        x = (screen - FHorzOffset - 1) * FCharWidth + FLeftMargin;
        y = (FCaretLine - FTopLine) * FLineHeight;
    }
    if (!HandleAllocated()) return;
    if (Focused() && FCaret->Linked()) {
        const TZelCaretRef& look = FCaret->CaretType();
        const bool wide = look->Shape() == TZelCaretShape::csBlock ||
                          look->Shape() == TZelCaretShape::csHalfBlock ||
                          look->Shape() == TZelCaretShape::csHorzLine || look->CaretWidth() > 4;
        FCaret->SetPosition(wide || x == 32767 ? x : x - 1, y);
    }
    win::PostMessage(Handle(), ZM_SHOWSTATUS, static_cast<win::WPARAM>(screen),
                     static_cast<win::LPARAM>(FCaretLine));
}

// --- keyboard ------------------------------------------------------------------------------

void TZelCustomEditor::WMKeyDown(vcl::TMessage& Message) {
    unsigned key = static_cast<unsigned>(Message.WParam);
    if (IsDialogKey(key, Message.LParam)) return;
    const vcl::TShiftState shift = vcl::KeyDataToShiftState(Message.LParam);
    // A key the OnKeyDown handler clears is translated as no key.
    if (DoKeyDown(key, shift)) key = 0;
    const std::uint16_t command =
        Controller() && key ? Controller()->EntryCommands().TranslateKey(static_cast<std::uint8_t>(key), shift)
                            : std::uint16_t{ccNone};
    if (command != ccNone && command != 252 && command != 254 && command != 255 &&
        ProcessCommand(command, static_cast<std::uint16_t>(key)))
        return;
    if (key == win::VK_TAB && FWantTab) {
        InsertTab();
        return;
    }
    if (key == win::VK_RETURN && FWantEnter) {
        NewLine();
        return;
    }
    FSwallowChar = command == 255 || key == win::VK_BACK;
}

void TZelCustomEditor::WMSysKeyDown(vcl::TMessage& Message) {
    TZelEditBase::WMSysKeyDown(Message);
    const unsigned key = static_cast<unsigned>(Message.WParam);
    if (key == win::VK_TAB || key == win::VK_MENU || !Controller()) return;
    const vcl::TShiftState shift = vcl::KeyDataToShiftState(Message.LParam) | vcl::ssAlt;
    const std::uint16_t command = Controller()->EntryCommands().TranslateKey(static_cast<std::uint8_t>(key), shift);
    if (command != ccNone && command != 252 && command != 254 && command != 255)
        ProcessCommand(command, static_cast<std::uint16_t>(key));
}

void TZelCustomEditor::WMChar(vcl::TMessage& Message) {
    char ch = static_cast<char>(Message.WParam);
    if (DoKeyPress(ch)) return;
    if (FSwallowChar) return;
    if (static_cast<unsigned char>(ch) >= 32) ProcessCommand(ccChar, static_cast<unsigned char>(ch));
}

void TZelCustomEditor::WMGetDlgCode(vcl::TMessage& Message) {
    if (IsDesigning()) {
        Message.Result = win::DLGC_STATIC;
        return;
    }
    DefaultHandler(Message);
    Message.Result |= win::DLGC_WANTARROWS | win::DLGC_WANTALLKEYS | win::DLGC_WANTCHARS;
    if (FWantTab) Message.Result |= win::DLGC_WANTTAB;
}

void TZelCustomEditor::CMDialogChar(vcl::TMessage& Message) {
    if (Message.WParam == win::VK_BACK && (vcl::KeyDataToShiftState(Message.LParam) & vcl::ssAlt)) {
        Message.Result = 1;
        return;
    }
    TZelEditBase::CMDialogChar(Message);
}

// --- focus ---------------------------------------------------------------------------------

void TZelCustomEditor::WMSetFocus(vcl::TMessage& Message) {
    TZelEditBase::WMSetFocus(Message);
    if (IsDesigning()) return;
    if (Controller()) {
        Controller()->EntryCommands().ResetState();
        SetInsertMode(Controller()->InsertMode());
    }
    FCaret->SetLinked(true);
    FCaret->SetCellHeight(FLineHeight);
    FCaret->SetCellWidth(FCharWidth);
    FCaret->SetInsertMode(FInsertMode);
    PositionCaret(0);
    FCaret->SetVisible(true);
    if (FHideSelection) InvalidateAll(false);
}

void TZelCustomEditor::WMKillFocus(vcl::TMessage& Message) {
    EndDrag();
    FCaret->SetVisible(false);
    FCaret->SetLinked(false);
    if (FHideSelection) InvalidateAll(false);
    if (Controller()) Controller()->SetInsertMode(FInsertMode);
    TZelEditBase::WMKillFocus(Message);
}

// --- mouse -----------------------------------------------------------------------------------

void TZelCustomEditor::WMMouseActivate(vcl::TMessage& Message) {
    if (!IsDesigning() && !Focused()) {
        if (Controller() && Controller()->ErrorPending()) Message.Result = win::MA_NOACTIVATEANDEAT;
        else Message.Result = win::MA_ACTIVATE;
        return;
    }
    TZelEditBase::Dispatch(Message);
}

void TZelCustomEditor::WMSetCursor(vcl::TMessage& Message) {
    FOverMargin = false;
    if (!IsDesigning() && reinterpret_cast<win::HWND>(Message.WParam) == Handle() &&
        win::LOWORD(static_cast<std::uintptr_t>(Message.LParam)) == win::HTCLIENT) {
        win::POINT p;
        win::GetCursorPos(&p);
        win::ScreenToClient(Handle(), &p);
        if (p.x <= FLeftMargin) {
            win::SetCursor(MarginCursor());
            FOverMargin = true;
            Message.Result = 1;
            return;
        }
    }
    TZelEditBase::WMSetCursor(Message);
}

void TZelCustomEditor::HitTest(int X, int Y, std::int32_t& Line, int& Col) {
    const vcl::TRect client = ClientRect();
    std::int64_t line;
    if (Y < 0) line = std::int64_t{FTopLine} - 1;
    else if (Y < client.bottom) {
        line = Y / FLineHeight + std::int64_t{FTopLine};
        if (Y >= FVisibleLines * FLineHeight) --line;
    } else line = std::int64_t{FTopLine} + FVisibleLines;
    Line = static_cast<std::int32_t>(std::clamp<std::int64_t>(line, 1, LineCount()));

    const std::string_view text = LineText(Line);
    const int screen = (X + FCharWidth / 2 - FLeftMargin) / FCharWidth + FHorzOffset + 1;
    Col = screen >= 1 ? FList->ColumnToPos(text, screen) : 1;
    if (Col < 1) Col = 1;
    if (!FScrollPastEnd) Col = std::min(Col, static_cast<int>(text.size()) + 1);
    if (X >= TextRight() - FCharWidth / 2 && X < client.right)
        Col = FList->ColumnToPos(text, FHorzOffset + FVisibleColumns);
}

void TZelCustomEditor::WMLButtonDown(vcl::TMessage& Message) {
    TZelEditBase::WMLButtonDown(Message);
    if (!HandleAllocated()) return;
    if (!Focused() && CanFocus()) SetFocus();
    if (FList->TextSize() == 0 || !HandleAllocated()) return;
    const int x = win::GET_X_LPARAM(Message.LParam), y = win::GET_Y_LPARAM(Message.LParam);
    std::int32_t line;
    int col;
    HitTest(x, y, line, col);
    FDrag = {};
    FDrag.Active = true;
    FDrag.Margin = FOverMargin || x <= FLeftMargin;
    FDrag.Shift = (Message.WParam & win::MK_SHIFT) != 0;
    if (FDrag.Margin) {
        if (FDrag.Shift) {
            if (line < FSelStart.Line) FDrag.AnchorLine = FSelEnd.Line, FDrag.AnchorCol = FSelEnd.Col;
            else FDrag.AnchorLine = FSelStart.Line, FDrag.AnchorCol = FSelStart.Col;
        } else {
            FDrag.AnchorLine = line;
            FDrag.AnchorCol = 1;
        }
    }
    win::SetCapture(Handle());
    DragStep(x, y, true);
}

void TZelCustomEditor::WMMouseMove(vcl::TMessage& Message) {
    TZelEditBase::WMMouseMove(Message);
    if (!FDrag.Active || !HandleAllocated()) return;
    const int x = win::GET_X_LPARAM(Message.LParam), y = win::GET_Y_LPARAM(Message.LParam);
    DragStep(x, y, false);
    // Outside the window the selection goes on growing while the mouse stands still.
    const vcl::TRect client = ClientRect();
    const bool outside = y < 0 || y >= client.bottom;
    if (outside && !FDrag.TimerOn) {
        win::SetTimer(Handle(), AutoScrollTimer, AutoScrollInterval, nullptr);
        FDrag.TimerOn = true;
    } else if (!outside && FDrag.TimerOn) {
        win::KillTimer(Handle(), AutoScrollTimer);
        FDrag.TimerOn = false;
    }
}

void TZelCustomEditor::WMTimer(vcl::TMessage&) {
    if (!FDrag.Active) {
        EndDrag();
        return;
    }
    win::POINT p;
    win::GetCursorPos(&p);
    win::ScreenToClient(Handle(), &p);
    FDrag.LastLine = -1; // every tick moves on by a line
    DragStep(p.x, p.y, false);
}

void TZelCustomEditor::WMLButtonUp(vcl::TMessage& Message) {
    EndDrag();
    TZelEditBase::WMLButtonUp(Message);
}

void TZelCustomEditor::EndDrag() {
    const bool wasActive = FDrag.Active;
    FDrag.Active = false;
    if (!HandleAllocated()) return;
    if (FDrag.TimerOn) {
        win::KillTimer(Handle(), AutoScrollTimer);
        FDrag.TimerOn = false;
    }
    if (wasActive && win::GetCapture() == Handle()) win::ReleaseCapture();
}

void TZelCustomEditor::DragStep(int X, int Y, bool First) {
    std::int32_t line;
    int col;
    HitTest(X, Y, line, col);
    if (!First && line == FDrag.LastLine && (FDrag.Margin || col == FDrag.LastCol)) return;
    FDrag.LastLine = line;
    FDrag.LastCol = col;
    if (FDrag.Margin) {
        if (line < FDrag.AnchorLine || Y < 0) {
            SetSelection(FDrag.AnchorLine, FDrag.AnchorCol, line, 1, true);
        } else if (line < LineCount()) {
            SetSelection(FDrag.AnchorLine, FDrag.AnchorCol, line + 1, 1, true);
        } else {
            SetSelection(FDrag.AnchorLine, FDrag.AnchorCol, line,
                         static_cast<int>(LineText(line).size()) + 1, true);
        }
    } else {
        MoveCaretTo(line, col, First ? FDrag.Shift : true);
    }
    if (HandleAllocated()) Update();
}

void TZelCustomEditor::WMLButtonDblClk(vcl::TMessage& Message) {
    TZelEditBase::WMLButtonDblClk(Message);
    if (!HandleAllocated() || FList->TextSize() == 0) return;
    const int x = win::GET_X_LPARAM(Message.LParam), y = win::GET_Y_LPARAM(Message.LParam);
    std::int32_t line;
    int col;
    HitTest(x, y, line, col);
    const bool shift = (Message.WParam & win::MK_SHIFT) != 0;
    if (FOverMargin || x <= FLeftMargin) MarginDoubleClick(line, shift);
    else TextDoubleClick(line, col, shift);
}

void TZelCustomEditor::MarginDoubleClick(std::int32_t Line, bool Shift) {
    std::int32_t offset;
    const std::int32_t para = FList->LineToParaPos(Line, offset);
    const std::int32_t end = ParaLen(para) + 1;
    if (Shift && HasSelection() && !(FSelStart.Para == para && FSelEnd.Para == para)) {
        if (para > FSelStart.Para) SetParaSelection(FSelStart.Para, FSelStart.Pos, para, end, true);
        else SetParaSelection(para, 1, FSelEnd.Para, FSelEnd.Pos, false);
        return;
    }
    SetParaSelection(para, 1, para, end, true);
}

void TZelCustomEditor::TextDoubleClick(std::int32_t Line, int Col, bool Shift) {
    std::int32_t offset;
    const std::int32_t para = FList->LineToParaPos(Line, offset);
    const std::string_view text = FList->ParaText(para);
    const auto len = static_cast<std::int32_t>(text.size());
    if (len == 0) return;
    std::int32_t i = std::clamp<std::int32_t>(offset + Col, 1, len);
    auto at = [&](std::int32_t p) { return text[static_cast<std::size_t>(p - 1)]; };
    while (i > 1 && IsDelimiter(at(i))) --i;
    while (i > 1 && !IsDelimiter(at(i - 1))) --i;
    std::int32_t end = i;
    while (end <= len && !IsDelimiter(at(end))) ++end;
    while (end <= len && (at(end) == ' ' || at(end) == '\t')) ++end;
    if (!Shift) {
        SetParaSelection(para, i, para, end, true);
        return;
    }
    if (FSelStart.Para < para || (FSelStart.Para == para && FSelStart.Pos < i))
        SetParaSelection(FSelStart.Para, FSelStart.Pos, para, end, true);
    else
        SetParaSelection(para, i, FSelEnd.Para, FSelEnd.Pos, false);
}

} // namespace editor
