// The editor control's model side: properties, positions, caret moves, the selection,
// bookmarks, the ring of views over one paragraph list, and error reporting.
#include "editor/ZelEditor.h"

#include "editor/ZelExceptions.h"
#include "editor/ZelUtils.h"
#include "vcl/Streaming.h"
#include "win/Windows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace editor {

namespace {

constexpr std::string_view Delimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";

std::int32_t Clamp32(std::int64_t v, std::int32_t lo, std::int32_t hi) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, lo, hi));
}

} // namespace

bool IsDelimiter(char c) { return Delimiters.find(c) != std::string_view::npos; }

// --- construction and the ring ------------------------------------------------------------

TZelCustomEditor::TZelCustomEditor(vcl::TComponent* AOwner)
    : TZelEditBase(AOwner), FPrevView(this), FNextView(this) {
    FList = std::make_shared<TParaList>(static_cast<TParaListOwner*>(this), false, 8192);
    FCaret = std::make_unique<TZelCaretPair>(this);
    FFixedFont = std::make_unique<TZelFixedFont>();
    FFixedFont->OnChange = [this](vcl::TObject* Sender) { FontChanged(Sender); };
    FHighlightColors = std::make_unique<TZelColors>(vcl::clHighlightText, vcl::clHighlight);
    FHighlightColors->OnChange = [this](vcl::TObject*) { InvalidateAll(false); };
    FControlStyle |= vcl::csOpaque | vcl::csDoubleClicks;
    SetCtl3D(true);
    SetCursor(vcl::crIBeam);
    SetBounds(Left(), Top(), 200, 150);
    SetParentColor(false);
    SetParentCtl3D(true);
    SetTabStop(true);
}

TZelCustomEditor::~TZelCustomEditor() {
    Destroying();
    FCaret.reset();
    Detach();
}

void TZelCustomEditor::Detach() {
    if (FNextView != this) {
        FPrevView->FNextView = FNextView;
        FNextView->FPrevView = FPrevView;
        if (FList && FList->Owner() == static_cast<TParaListOwner*>(this))
            FList->SetOwner(FNextView);
        FNextView = FPrevView = this;
    }
    // The list goes with the last view that holds it.
    FList.reset();
}

void TZelCustomEditor::AttachTo(TZelCustomEditor* Editor) {
    if (!Editor || Editor == this || Editor->FList == FList) return;
    // Another view of our old list keeps it; only a list we alone hold goes.
    Detach();
    FList = Editor->FList;
    auto* owner = static_cast<TZelCustomEditor*>(FList->Owner());
    if (!owner) owner = Editor;
    // Into the ring just before the owning view, after the last one.
    FPrevView = owner->FPrevView;
    FNextView = owner;
    owner->FPrevView->FNextView = this;
    owner->FPrevView = this;
    if (WordWrap()) {
        FWrapAtLeft = true;
        FScrollPastEnd = false;
    }
    ResetView();
    RefreshView(true);
}

template <class F> void TZelCustomEditor::ForEachView(F f) {
    TZelCustomEditor* v = this;
    do {
        TZelCustomEditor* next = v->FNextView;
        f(*v);
        v = next;
    } while (v != this);
}

void TZelCustomEditor::NewList(bool WordWrap, std::int32_t UndoSize) {
    FList = std::make_shared<TParaList>(nullptr, WordWrap, UndoSize);
}

void TZelCustomEditor::ResetView() {
    FCaretLine = FCaretPara = 1;
    FCaretCol = 1;
    FCaretLineOffset = 0;
    FTopLine = FTopPara = 1;
    FTopOffset = 0;
    FHorzOffset = 0;
    FVRangePending = FVThumbPending = FHThumbPending = false;
    FKnownLineCount = FList->LineCount();
    CollapseSelection(false);
}

void TZelCustomEditor::ClearText(bool Repaint) {
    // The old list may go with Detach: its settings are taken first.
    const bool wrap = FList->WordWrap();
    const std::int32_t undoSize = FList->UndoSize();
    const std::int32_t byteLimit = FList->ByteLimit();
    const std::int32_t paraLimit = FList->ParaLimit();
    const std::int32_t paraLengthLimit = FList->ParaLengthLimit();
    const std::int32_t wrapColumn = FList->WrapColumn();
    const std::uint8_t tabSize = FList->TabSize();
    const std::int32_t oldTop = FTopLine;
    Detach();
    NewList(wrap, undoSize);
    FList->SetByteLimit(byteLimit);
    FList->SetParaLimit(paraLimit);
    FList->SetParaLengthLimit(paraLengthLimit);
    FList->SetWrapColumn(wrapColumn);
    FList->SetTabSize(tabSize);
    FList->SetOwner(this);
    ResetView();
    if (oldTop != 1) DoOnTopLineChanged(1);
    if (Repaint) RefreshView(true);
}

// --- what the list reports, followed by every view -----------------------------------------

void TZelCustomEditor::SetEnd(TEnd& End, std::int32_t Para, std::int32_t Pos) {
    End.Para = Para;
    End.Pos = Pos;
    End.Line = FList->ParaPosToLine(Para, Pos, End.Col);
}

void TZelCustomEditor::SetTopFromPara(std::int32_t Para, std::int32_t Pos) {
    Para = std::clamp(Para, 1, FList->ParaCount());
    int col;
    std::int32_t line = FList->ParaPosToLine(Para, std::max(Pos, 1), col);
    FTopLine = line;
    FTopPara = Para;
    FTopOffset = std::max(Pos, 1) - col;
}

template <class F>
void TZelCustomEditor::FollowChange(F Adjust, std::int32_t ChangedPara, std::int32_t LastNear) {
    const std::int32_t delta = FList->LineCount() - FKnownLineCount;
    FKnownLineCount = FList->LineCount();
    const std::int32_t paras = FList->ParaCount();

    // The top keeps showing the same text.
    const std::int32_t oldTop = FTopLine;
    if (FTopPara >= ChangedPara) {
        std::int32_t para = FTopPara, pos = FTopOffset + 1;
        Adjust(para, pos);
        if (FTopPara <= LastNear || para > paras) {
            SetTopFromPara(para, pos);
        } else {
            FTopPara = para;
            FTopLine += delta;
        }
    }
    if (FTopLine > FList->LineCount()) SetTopFromPara(paras, ParaLen(paras) + 1);

    if (!FChanging) {
        auto follow = [&](std::int32_t& para, std::int32_t& pos, std::int32_t* line, int* col,
                          std::int32_t* offset) {
            if (para < ChangedPara) return;
            const std::int32_t before = para;
            Adjust(para, pos);
            para = std::clamp(para, 1, paras);
            if (!line) return;
            if (before <= LastNear) {
                int c;
                *line = FList->ParaPosToLine(para, pos, c);
                if (col) *col = c;
                if (offset) *offset = pos - c;
            } else {
                *line += delta;
            }
        };
        std::int32_t caretPos = CaretPos();
        follow(FCaretPara, caretPos, &FCaretLine, &FCaretCol, &FCaretLineOffset);
        FCaretCol = caretPos - FCaretLineOffset;
        follow(FSelStart.Para, FSelStart.Pos, &FSelStart.Line, &FSelStart.Col, nullptr);
        follow(FSelEnd.Para, FSelEnd.Pos, &FSelEnd.Line, &FSelEnd.Col, nullptr);
        follow(FCaretEnd.Para, FCaretEnd.Pos, nullptr, nullptr, nullptr);
    }
    MarkRangesPending();
    if (FTopLine != oldTop) DoOnTopLineChanged(FTopLine);
}

void TZelCustomEditor::TextInserted(std::int32_t Para, std::int32_t Pos, std::int32_t Count) {
    ForEachView([&](TZelCustomEditor& v) {
        v.FollowChange(
            [&](std::int32_t& para, std::int32_t& pos) {
                if (para == Para && pos >= Pos) pos += Count;
            },
            Para, Para);
        v.InvalidateLines(FList->FirstChangedLine(), FList->LastChangedLine());
    });
}

void TZelCustomEditor::TextDeleted(std::int32_t Para, std::int32_t Pos, std::int32_t Count) {
    ForEachView([&](TZelCustomEditor& v) {
        v.FollowChange(
            [&](std::int32_t& para, std::int32_t& pos) {
                TParaList::AdjustPosTextDeleted(Para, Pos, Count, para, pos);
            },
            Para, Para);
        v.InvalidateLines(FList->FirstChangedLine(), FList->LastChangedLine());
    });
}

void TZelCustomEditor::ParaSplit(std::int32_t Para, std::int32_t Pos, std::int32_t Indent) {
    ForEachView([&](TZelCustomEditor& v) {
        v.FollowChange(
            [&](std::int32_t& para, std::int32_t& pos) {
                if (para > Para) {
                    ++para;
                } else if (para == Para && pos >= Pos) {
                    ++para;
                    pos = pos - Pos + 1 + Indent;
                }
            },
            Para, Para);
        v.InvalidateAll(false);
    });
}

void TZelCustomEditor::ParaDeleted(std::int32_t Para) {
    ForEachView([&](TZelCustomEditor& v) {
        const bool inside = v.HasSelection() && v.FSelStart.Para == Para && v.FSelEnd.Para == Para;
        v.FollowChange(
            [&](std::int32_t& para, std::int32_t& pos) {
                if (para == Para) pos = 1;
                else if (para > Para) --para;
            },
            Para, Para);
        if (inside && !v.FChanging) v.CollapseSelection(false);
        v.InvalidateAll(false);
    });
}

void TZelCustomEditor::ParasJoined(std::int32_t Para, std::int32_t Pos) {
    ForEachView([&](TZelCustomEditor& v) {
        v.FollowChange(
            [&](std::int32_t& para, std::int32_t& pos) {
                if (para == Para + 1) {
                    --para;
                    pos += Pos - 1;
                } else if (para > Para + 1) {
                    --para;
                }
            },
            Para, Para + 1);
        v.InvalidateAll(false);
    });
}

void TZelCustomEditor::ReWrapped() {
    ForEachView([](TZelCustomEditor& v) { v.FollowReWrap(); });
}

void TZelCustomEditor::FollowReWrap() {
    if (WordWrap()) {
        FWrapAtLeft = true;
        FScrollPastEnd = false;
    }
    const std::int32_t oldTop = FTopLine;
    const std::int32_t paras = FList->ParaCount();
    FCaretPara = std::clamp(FCaretPara, 1, paras);
    std::int32_t pos = CaretPos();
    if (WordWrap()) pos = std::min(pos, ParaLen(FCaretPara) + 1);
    int col;
    FCaretLine = FList->ParaPosToLine(FCaretPara, pos, col);
    FCaretCol = col;
    FCaretLineOffset = pos - col;
    SetTopFromPara(FTopPara, FTopOffset + 1);
    SetEnd(FSelStart, std::clamp(FSelStart.Para, 1, paras), FSelStart.Pos);
    SetEnd(FSelEnd, std::clamp(FSelEnd.Para, 1, paras), FSelEnd.Pos);
    FKnownLineCount = FList->LineCount();
    MarkRangesPending();
    if (FTopLine != oldTop) DoOnTopLineChanged(FTopLine);
    RefreshView(false);
}

// --- properties ---------------------------------------------------------------------------

void TZelCustomEditor::SetBorderStyle(TEditorBorderStyle Value) {
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TZelCustomEditor::SetByteLimit(std::int32_t Value) {
    if (Value < 0) return;
    FList->SetByteLimit(Value);
}

void TZelCustomEditor::SetFixedFont(TZelFixedFont* Value) {
    if (Value) FFixedFont->Assign(Value);
}

void TZelCustomEditor::SetHideSelection(bool Value) {
    if (FHideSelection == Value) return;
    FHideSelection = Value;
    InvalidateAll(false);
}

void TZelCustomEditor::SetInsertMode(bool Value) {
    if (FInsertMode == Value) return;
    FInsertMode = Value;
    FCaret->SetInsertMode(Value);
    PositionCaret(0);
}

void TZelCustomEditor::SetLeftMargin(int Value) {
    if (Value < 0 || Value == FLeftMargin) return;
    FLeftMargin = Value;
    UpdateMetrics();
    ApplyWrapToWindow();
    InvalidateAll(false);
}

void TZelCustomEditor::SetRightMargin(int Value) {
    if (Value < 0 || Value == FRightMargin) return;
    FRightMargin = Value;
    UpdateMetrics();
    ApplyWrapToWindow();
    InvalidateAll(false);
}

void TZelCustomEditor::SetParaLengthLimit(int Value) {
    if (Value < 1 || Value > 32767) return;
    FList->SetParaLengthLimit(Value);
    FHThumbPending = true;
}

void TZelCustomEditor::SetParaLimit(std::int32_t Value) {
    if (Value <= 0) return;
    FList->SetParaLimit(Value);
}

void TZelCustomEditor::SetScrollBars(TEditorScrollBars Value) {
    if (FScrollBars == Value) return;
    FScrollBars = Value;
    if (Value == TEditorScrollBars::ssNone) FScrollBarsAlways = false;
    if (HandleAllocated()) RecreateWnd();
}

void TZelCustomEditor::SetScrollBarsAlways(bool Value) {
    if (FScrollBars == TEditorScrollBars::ssNone) Value = false;
    if (FScrollBarsAlways == Value) return;
    FScrollBarsAlways = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TZelCustomEditor::SetScrollPastEnd(bool Value) {
    FScrollPastEnd = Value;
    if (Value) SetWordWrap(false);
}

void TZelCustomEditor::SetShowBookmarks(bool Value) {
    if (FShowBookmarks == Value) return;
    FShowBookmarks = Value;
    // The glyphs live while bookmarks are shown on a made window, as at window creation.
    if (Value && HandleAllocated() && !IsDesigning()) LoadGlyphs();
    else if (!Value) FGlyphs.reset();
    InvalidateAll(false);
}

void TZelCustomEditor::SetTabSize(std::uint8_t Value) {
    if (Value == 0) return;
    FList->SetTabSize(Value);
    InvalidateAll(false);
}

void TZelCustomEditor::SetTabType(TTabType Value) {
    FTabType = Value;
    InvalidateAll(false);
}

void TZelCustomEditor::SetUndoBufferSize(std::uint16_t Value) { FList->SetUndoSize(Value); }

void TZelCustomEditor::SetWordWrap(bool Value) {
    FList->SetWordWrap(Value);
    if (FList->WordWrap()) {
        FWrapAtLeft = true;
        FScrollPastEnd = false;
    }
}

void TZelCustomEditor::SetWrapAtLeft(bool Value) { FWrapAtLeft = Value || WordWrap(); }

void TZelCustomEditor::SetWrapColumn(int Value) {
    if (Value <= 0) return;
    FList->SetWrapColumn(Value);
}

void TZelCustomEditor::SetWrapToWindow(bool Value) {
    FWrapToWindow = Value;
    if (HandleAllocated()) ApplyWrapToWindow();
}

void TZelCustomEditor::SetModified(bool Value) {
    if (FList->Modified() == Value) return;
    FList->SetModified(Value);
    ForEachView([](TZelCustomEditor& v) { v.InvalidateAll(false); });
}

void TZelCustomEditor::DefineProperties(vcl::TFiler* Filer) {
    TZelEditBase::DefineProperties(Filer);
    // Margin is obsolete: read into both margins, never written.
    Filer->DefineProperty(
        "Margin",
        [this](vcl::TReader& Reader) {
            const auto v = static_cast<int>(Reader.ReadInteger());
            SetLeftMargin(v);
            SetRightMargin(v);
        },
        nullptr, false);
}

// --- text -----------------------------------------------------------------------------------

std::string_view TZelCustomEditor::LineText(std::int32_t Line) { return FList->FindLine(Line).Text; }

std::uint16_t TZelCustomEditor::AppendPara(std::string_view S) {
    const std::int32_t limit = ParaLengthLimit();
    const bool wasPage = LineCount() <= FVisibleLines;
    TParaResult r = FList->CheckLimits(0, 1, static_cast<std::int64_t>(S.size()) + 2);
    bool first = true;
    while (r == TParaResult::Ok) {
        std::string_view part = S;
        if (static_cast<std::int32_t>(S.size()) > limit) {
            std::string_view window = S.substr(0, static_cast<std::size_t>(limit));
            auto blank = window.find_last_of(" \t");
            part = blank == std::string_view::npos ? window : S.substr(0, blank + 1);
        }
        if (!first) {
            r = FList->CheckLimits(0, 1, static_cast<std::int64_t>(part.size()) + 2);
            if (r != TParaResult::Ok) break;
        }
        r = FList->AddPara(part, FTrimWhiteSpace);
        first = false;
        S.remove_prefix(part.size());
        if (S.empty()) break;
    }
    ForEachView([](TZelCustomEditor& v) { v.FKnownLineCount = v.FList->LineCount(); });
    if (wasPage && LineCount() > FVisibleLines) {
        FVRangePending = true;
        InvalidateAll(false);
    }
    return static_cast<std::uint16_t>(Code(r));
}

std::string_view TZelCustomEditor::GetPara(std::int32_t Para) {
    if (Para < 1 || Para > ParaCount()) throw EInvalidLineOrPara();
    return FList->ParaText(Para);
}

std::string_view TZelCustomEditor::GetParaPointer(std::int32_t Para, std::uint16_t& Len) {
    std::string_view text = GetPara(Para);
    Len = static_cast<std::uint16_t>(text.size());
    return text;
}

int TZelCustomEditor::GetLineText(std::int32_t Line, char* Dest, int MaxLen) {
    std::string s;
    GetLine(Line, s);
    const int n = std::clamp(static_cast<int>(s.size()), 0, std::max(MaxLen, 0));
    if (Dest) {
        std::memcpy(Dest, s.data(), static_cast<std::size_t>(n));
        Dest[n] = 0;
    }
    return n;
}

void TZelCustomEditor::GetLine(std::int32_t Line, std::string& S) {
    if (Line < 1 || Line > LineCount()) throw EInvalidLineOrPara();
    std::string_view text = LineText(Line);
    S = HasTab(text) ? DetabPChar(text, TabSize()) : std::string(text);
}

void TZelCustomEditor::ParaToLine(std::int32_t& Para, std::int32_t& Pos) {
    if (Para < 1 || Para > ParaCount()) throw EInvalidLineOrPara();
    int col;
    Para = FList->ParaPosToLine(Para, Pos, col);
    Pos = col;
}

// --- caret ------------------------------------------------------------------------------------

std::int32_t TZelCustomEditor::GetCaretPosition(int& Col) const {
    Col = FCaretCol;
    return FCaretLine;
}

void TZelCustomEditor::SetCaretPosition(std::int32_t Line, int Col) {
    if (Line < 1 || Line > LineCount() || Col < 1) throw EInvalidLineOrPara();
    MoveCaretTo(Line, Col, false);
}

int TZelCustomEditor::CaretScreenColumn() {
    return FList->PosToColumn(LineText(FCaretLine), FCaretCol);
}

void TZelCustomEditor::MoveCaretBy(int DCol, std::int32_t DLine, bool Absolute, bool Extend,
                                   bool KeepRow) {
    const std::int32_t count = LineCount();
    const std::int32_t oldLine = FCaretLine;
    const bool lineVisible = FCaretLine >= FTopLine && FCaretLine < FTopLine + FVisibleLines;
    KeepRow = KeepRow && lineVisible;
    const std::int32_t row = FCaretLine - FTopLine;

    std::int64_t line = std::int64_t{FCaretLine} + DLine;
    if (line < 0) line = DLine < 0 ? 1 : count;
    if (line == 0) line = 1;
    if (line > count) {
        line = count;
        if (line == oldLine) return;
    }
    const auto newLine = static_cast<std::int32_t>(line);

    int col = FCaretCol;
    if (newLine != oldLine && !Absolute && oldLine <= count) {
        const std::int32_t screen = FList->PosToColumn(LineText(oldLine), col);
        col = FList->ColumnToPos(LineText(newLine), screen);
    }
    std::string_view text = LineText(newLine);
    const std::int32_t lenLimit = ParaLengthLimit();
    std::int32_t limit = FScrollPastEnd ? lenLimit + 1 : static_cast<std::int32_t>(text.size()) + 1;
    if (FList->PosToColumn(text, limit) > lenLimit) limit = FList->ColumnToPos(text, lenLimit) + 1;
    FCaretLine = newLine;
    FCaretCol = Clamp32(std::int64_t{col} + DCol, 1, std::max(limit, 1));
    FCaretPara = FList->LineToParaPos(newLine, FCaretLineOffset);

    if (Extend) ExtendSelection();
    else CollapseSelection(true);

    const int screen = CaretScreenColumn();
    const bool visible = FCaretLine >= FTopLine && FCaretLine < FTopLine + FVisibleLines &&
                         screen > FHorzOffset && screen <= FHorzOffset + FVisibleColumns;
    if (!KeepRow && visible) {
        PositionCaret(0);
        return;
    }
    std::int32_t top;
    if (KeepRow) top = FCaretLine - row;
    else if (FCaretLine >= FTopLine && FCaretLine < FTopLine + FVisibleLines) top = FTopLine;
    else if (FCaretLine >= FTopLine + FVisibleLines) top = FCaretLine - (FVisibleLines - 1);
    else top = FCaretLine;
    top = std::max({top, 1, FCaretLine - FVisibleLines + 1});

    int offset = FHorzOffset;
    if (screen <= FHorzOffset) offset = screen <= 2 ? 0 : screen - 1;
    else if (screen > FHorzOffset + FVisibleColumns) offset = screen - FVisibleColumns;
    if (offset != FHorzOffset && FCaretLine > oldLine) offset = 0;
    Scroll(offset - FHorzOffset, top - FTopLine);
}

void TZelCustomEditor::MoveCaretTo(std::int32_t Line, int Col, bool Extend) {
    MoveCaretBy(Col - FCaretCol, Line - FCaretLine, true, Extend, false);
}

void TZelCustomEditor::MoveCaretToPara(std::int32_t Para, std::int32_t Pos, bool Extend) {
    int col;
    const std::int32_t line = FList->ParaPosToLine(Para, Pos, col);
    MoveCaretTo(line, col, Extend);
}

void TZelCustomEditor::MoveLeft(bool Extend) {
    const std::int32_t pos = CaretPos();
    if (pos > 1) MoveCaretToPara(FCaretPara, pos - 1, Extend);
    else if (FWrapAtLeft && FCaretLine > 1) MoveCaretToPara(FCaretPara - 1, ParaLen(FCaretPara - 1) + 1, Extend);
    else MoveCaretBy(0, 0, true, Extend, false);
}

void TZelCustomEditor::MoveRight(bool Extend) {
    const std::int32_t pos = CaretPos();
    if (pos <= ParaLen(FCaretPara) || FScrollPastEnd) MoveCaretToPara(FCaretPara, pos + 1, Extend);
    else MoveCaretBy(1 - FCaretCol, 1, true, Extend, false);
}

void TZelCustomEditor::MoveHome(bool Extend) { MoveCaretBy(1 - FCaretCol, 0, true, Extend, false); }

void TZelCustomEditor::MoveEnd(bool Extend) {
    TLineRef ref = FList->FindLine(FCaretLine);
    int col = ref.Length();
    if (ref.Node && ref.LineInPara == ref.Node->LineCount()) ++col;
    MoveCaretBy(col - FCaretCol, 0, true, Extend, false);
}

void TZelCustomEditor::MoveWordLeft(bool Extend) {
    std::string_view text = FList->ParaText(FCaretPara);
    const auto len = static_cast<std::int32_t>(text.size());
    const std::int32_t pos = std::min(CaretPos(), len + 1);
    if (pos <= 1) {
        if (FCaretPara > 1) MoveCaretToPara(FCaretPara - 1, ParaLen(FCaretPara - 1) + 1, Extend);
        else MoveCaretBy(0, 0, true, Extend, false);
        return;
    }
    std::int32_t i = pos - 1;
    while (i >= 1 && IsDelimiter(text[static_cast<std::size_t>(i - 1)])) --i;
    while (i >= 1 && !IsDelimiter(text[static_cast<std::size_t>(i - 1)])) --i;
    MoveCaretToPara(FCaretPara, i + 1, Extend);
}

void TZelCustomEditor::MoveWordRight(bool Extend) {
    std::string_view text = FList->ParaText(FCaretPara);
    const auto len = static_cast<std::int32_t>(text.size());
    std::int32_t i = CaretPos();
    if (i > len) {
        MoveCaretBy(1 - FCaretCol, 1, true, Extend, false);
        return;
    }
    while (i <= len && !IsDelimiter(text[static_cast<std::size_t>(i - 1)])) ++i;
    while (i <= len && IsDelimiter(text[static_cast<std::size_t>(i - 1)])) ++i;
    MoveCaretToPara(FCaretPara, i, Extend);
}

// --- selection ------------------------------------------------------------------------------

bool TZelCustomEditor::HasSelection() const {
    return FSelStart.Para != FSelEnd.Para || FSelStart.Pos != FSelEnd.Pos;
}

void TZelCustomEditor::CollapseSelection(bool Repaint) {
    if (Repaint && HasSelection()) InvalidateLines(FSelStart.Line, FSelEnd.Line);
    const std::int32_t pos = std::min(CaretPos(), ParaLen(FCaretPara) + 1);
    FSelStart = {FCaretPara, pos, FCaretLine, pos - FCaretLineOffset};
    FSelEnd = FSelStart;
    FCaretEnd = {FCaretPara, pos};
}

void TZelCustomEditor::ExtendSelection() {
    const std::int32_t pos = std::min(CaretPos(), ParaLen(FCaretPara) + 1);
    const bool atStart = FCaretEnd.Para == FSelStart.Para && FCaretEnd.Pos == FSelStart.Pos;
    TEnd& moved = atStart ? FSelStart : FSelEnd;
    const std::int32_t oldLine = moved.Line;
    moved = {FCaretPara, pos, FCaretLine, pos - FCaretLineOffset};
    if (FSelStart.Para > FSelEnd.Para || (FSelStart.Para == FSelEnd.Para && FSelStart.Pos > FSelEnd.Pos))
        std::swap(FSelStart, FSelEnd);
    FCaretEnd = {FCaretPara, pos};
    InvalidateLines(std::min(oldLine, FCaretLine), std::max(oldLine, FCaretLine));
}

bool TZelCustomEditor::GetSelection(std::int32_t& Line1, int& Col1, std::int32_t& Line2,
                                    int& Col2) const {
    if (!HasSelection()) return false;
    Line1 = FSelStart.Line;
    Col1 = FSelStart.Col;
    Line2 = FSelEnd.Line;
    Col2 = FSelEnd.Col;
    return true;
}

void TZelCustomEditor::SetSelection(std::int32_t Line1, int Col1, std::int32_t Line2, int Col2,
                                    bool CaretAtEnd) {
    if (FList->TextSize() == 0) return;
    const std::int32_t count = LineCount();
    Line1 = std::clamp(Line1, 1, count);
    Line2 = std::clamp(Line2, 1, count);
    Col1 = std::clamp(Col1, 1, static_cast<int>(LineText(Line1).size()) + 1);
    Col2 = std::clamp(Col2, 1, static_cast<int>(LineText(Line2).size()) + 1);
    if (!CaretAtEnd) {
        std::swap(Line1, Line2);
        std::swap(Col1, Col2);
    }
    MoveCaretTo(Line1, Col1, false);
    MoveCaretTo(Line2, Col2, true);
}

void TZelCustomEditor::SetParaSelection(std::int32_t Para1, std::int32_t Pos1, std::int32_t Para2,
                                        std::int32_t Pos2, bool CaretAtEnd) {
    ParaToLine(Para1, Pos1);
    ParaToLine(Para2, Pos2);
    SetSelection(Para1, Pos1, Para2, Pos2, CaretAtEnd);
}

// --- bookmarks ------------------------------------------------------------------------------

void TZelCustomEditor::SetMarker(std::uint8_t N) {
    if (N > 9) return;
    FList->SetBookmark(N, FCaretPara, CaretPos());
    InvalidateAll(false);
}

void TZelCustomEditor::SetMarkerAt(std::uint8_t N, std::int32_t Line, int Col) {
    if (N > 9) return;
    if (Line < 1 || Line > LineCount() || Col < 1) throw EInvalidLineOrCol();
    FList->SetBookmarkFromLine(N, Line, Col);
    InvalidateAll(false);
}

void TZelCustomEditor::GotoMarker(std::uint8_t N) {
    if (N > 9) return;
    const TParaList::TBookmark b = FList->Bookmark(N);
    if (b.Para == 0 || b.Pos == 0) return;
    MoveCaretToPara(b.Para, b.Pos, false);
}

void TZelCustomEditor::ShowSampleText() {
    if (!IsDesigning()) return;
    if (ParaCount() > 1) ClearText(false);
    char line[64];
    for (int i = 1; i <= 30; ++i) {
        std::snprintf(line, sizeof line, "%i: Editor paragraph.\tTab.", i);
        AppendPara(line);
    }
}

// --- events and errors ------------------------------------------------------------------------

void TZelCustomEditor::DoOnChange() {
    if (OnChange) OnChange(this);
}

void TZelCustomEditor::DoOnError(std::uint16_t Code) {
    if (Code == 0) return;
    if (OnError) {
        std::uint16_t code = Code;
        OnError(this, code);
        return;
    }
    throw MakeEditorError(Code);
}

void TZelCustomEditor::DoOnShowStatus(std::int32_t Line, int Col) {
    if (OnShowStatus) OnShowStatus(this, Line, Col);
}

void TZelCustomEditor::DoOnTopLineChanged(std::int32_t Line) {
    if (OnTopLineChanged) OnTopLineChanged(this, Line);
}

void TZelCustomEditor::DoOnUserCommand(std::uint16_t Cmd) {
    if (OnUserCommand) OnUserCommand(this, Cmd);
}

// --- view -----------------------------------------------------------------------------------

void TZelCustomEditor::SetTopLine(std::int32_t Line) {
    if (Line < 1 || Line > LineCount()) throw EInvalidLineOrPara();
    Scroll(0, Line - FTopLine);
}

int TZelCustomEditor::GetVisibleLines() {
    HandleNeeded();
    return FVisibleLines;
}

int TZelCustomEditor::GetVisibleColumns() {
    HandleNeeded();
    return FVisibleColumns;
}

} // namespace editor
