// The editor control's command side: the dispatcher, the editing operations, the clipboard,
// undo and redo.
#include "editor/ZelEditor.h"

#include "editor/ZelUtils.h"
#include "vcl/Clipbrd.h"
#include "win/Windows.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace editor {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// InsertString hands the list its text in parts of this size.
constexpr std::size_t InsertPart = 61440;

} // namespace

// --- dispatcher -------------------------------------------------------------------------------

bool TZelCustomEditor::ProcessCommand(std::uint16_t Cmd, std::uint16_t Ch) {
    if (Cmd >= 256) {
        DoOnUserCommand(Cmd);
        return true;
    }
    const std::int32_t page = std::max(FVisibleLines - 1, 1);
    const int marker = static_cast<int>(Ch) - '0';
    bool changes = false;
    switch (Cmd) {
    case ccBack: BackChar(); changes = true; break;
    case ccBotOfPage: GoBottomOfPage(false); break;
    case ccCopy:
        if (HasSelection()) CopyToClipboard();
        break;
    case ccCtrlChar: break;
    case ccCut: CutToClipboard(); changes = true; break;
    case ccDel:
        if (!GetReadOnly()) DeleteChar();
        changes = true;
        break;
    case ccDelEol: DeleteToEndOfLine(); changes = true; break;
    case ccDelLine: DeleteLine(); changes = true; break;
    case ccDelWord: DeleteWord(); changes = true; break;
    case ccDown: case ccExtendDown: MoveCaretBy(0, 1, false, Cmd == ccExtendDown, false); break;
    case ccUp: case ccExtendUp: MoveCaretBy(0, -1, false, Cmd == ccExtendUp, false); break;
    case ccEnd: case ccExtendEnd: MoveEnd(Cmd == ccExtendEnd); break;
    case ccHome: case ccExtendHome: MoveHome(Cmd == ccExtendHome); break;
    case ccLeft: case ccExtendLeft: MoveLeft(Cmd == ccExtendLeft); break;
    case ccRight: case ccExtendRight: MoveRight(Cmd == ccExtendRight); break;
    case ccNextPage: case ccExtendPgDn: MoveCaretBy(0, page, false, Cmd == ccExtendPgDn, true); break;
    case ccPrevPage: case ccExtendPgUp: MoveCaretBy(0, -page, false, Cmd == ccExtendPgUp, true); break;
    case ccExtBotOfPage: GoBottomOfPage(true); break;
    case ccFirstPage: case ccExtFirstPage: MoveCaretTo(1, 1, Cmd == ccExtFirstPage); break;
    case ccLastPage: case ccExtLastPage:
        MoveCaretTo(LineCount(), FList->LineLength(LineCount()) + 1, Cmd == ccExtLastPage);
        break;
    case ccExtTopOfPage: GoTopOfPage(true); break;
    case ccWordLeft: case ccExtWordLeft: MoveWordLeft(Cmd == ccExtWordLeft); break;
    case ccWordRight: case ccExtWordRight: MoveWordRight(Cmd == ccExtWordRight); break;
    case ccGotoMarker0: case ccGotoMarker1: case ccGotoMarker2: case ccGotoMarker3:
    case ccGotoMarker4: case ccGotoMarker5: case ccGotoMarker6: case ccGotoMarker7:
    case ccGotoMarker8: case ccGotoMarker9:
        if (marker >= 0 && marker <= 9) GotoMarker(static_cast<std::uint8_t>(marker));
        break;
    case ccIns: SetInsertMode(!FInsertMode); break;
    case ccNewLine: NewLine(); changes = true; break;
    case ccPaste: PasteFromClipboard(); changes = true; break;
    case ccRedo: Redo(); changes = true; break;
    case ccScrollDown: Scroll(0, 1); break;
    case ccScrollUp: Scroll(0, -1); break;
    case ccSetMarker0: case ccSetMarker1: case ccSetMarker2: case ccSetMarker3:
    case ccSetMarker4: case ccSetMarker5: case ccSetMarker6: case ccSetMarker7:
    case ccSetMarker8: case ccSetMarker9:
        if (marker >= 0 && marker <= 9) SetMarker(static_cast<std::uint8_t>(marker));
        break;
    case ccTab: InsertTab(); changes = true; break;
    case ccTopOfPage: GoTopOfPage(false); break;
    case ccUndo: Undo(); changes = true; break;
    case ccChar:
        if (!GetReadOnly()) TypeChar(static_cast<char>(Ch));
        changes = true;
        break;
    default: return false;
    }
    if (changes) DoOnChange();
    return true;
}

void TZelCustomEditor::GoTopOfPage(bool Extend) {
    const bool onPage = FCaretLine >= FTopLine && FCaretLine < FTopLine + FVisibleLines;
    if (!onPage) {
        if (!Extend) Scroll(0, FCaretLine - FTopLine);
        return;
    }
    MoveCaretBy(0, FTopLine - FCaretLine, false, Extend, false);
}

void TZelCustomEditor::GoBottomOfPage(bool Extend) {
    const bool onPage = FCaretLine >= FTopLine && FCaretLine < FTopLine + FVisibleLines;
    if (!onPage) {
        if (!Extend) Scroll(0, std::max(FCaretLine - FVisibleLines + 1, 1) - FTopLine);
        return;
    }
    const std::int32_t last = std::min(FTopLine + FVisibleLines - 1, LineCount());
    MoveCaretBy(0, last - FCaretLine, false, Extend, false);
}

// --- editing ----------------------------------------------------------------------------------

TParaResult TZelCustomEditor::DeleteSelection() {
    if (!HasSelection()) return TParaResult::Ok;
    const TEnd start = FSelStart, end = FSelEnd;
    TParaResult r;
    if (start.Para == end.Para) {
        r = FList->DeleteText(start.Para, end.Pos - start.Pos, start.Pos);
    } else {
        r = FList->DeleteRegion(start.Para, start.Pos, end.Para, end.Pos);
        FVRangePending = true;
        InvalidateAll(false);
    }
    if (r != TParaResult::Ok) return r;
    MoveCaretToPara(start.Para, start.Pos, false);
    if (FGroupDepth == 0 && HandleAllocated()) Update();
    return TParaResult::Ok;
}

void TZelCustomEditor::TypeChar(char Ch) {
    if (GetReadOnly()) return;
    TChangeScope scope(*this);
    // Only a deleted selection makes a group: typed characters merge into one undo record.
    std::optional<TUndoGroup> group;
    const bool replacing = HasSelection();
    if (replacing) group.emplace(*this);
    if (TParaResult r = DeleteSelection(); r != TParaResult::Ok) {
        DoOnError(r);
        return;
    }
    const std::int32_t para = FCaretPara;
    const std::int32_t pos = CaretPos();
    const std::string_view text(&Ch, 1);
    const TParaResult r = replacing || FInsertMode || pos > ParaLen(para) ? FList->InsertText(para, text, pos)
                                                     : FList->ReplaceText(para, text, 1, pos);
    if (r != TParaResult::Ok) {
        DoOnError(r);
        return;
    }
    if (FList->LastChangedLine() == MaxLongInt) FVRangePending = true;
    const std::int32_t oldLine = FCaretLine;
    MoveCaretToPara(para, pos + 1, false);
    if (FCaretLine > oldLine && FHorzOffset != 0) Scroll(-FHorzOffset, 0);
}

void TZelCustomEditor::DeleteChar() {
    TChangeScope scope(*this);
    if (HasSelection()) {
        DoOnError(DeleteSelection());
        return;
    }
    const std::int32_t para = FCaretPara;
    const std::int32_t pos = CaretPos();
    TParaResult r;
    if (pos > ParaLen(para)) {
        r = FList->JoinParas(para, pos);
        if (r == TParaResult::Ok) {
            FVRangePending = true;
            InvalidateAll(false);
        }
    } else {
        r = FList->DeleteText(para, 1, pos);
    }
    if (r != TParaResult::Ok) {
        DoOnError(r);
        return;
    }
    MoveCaretToPara(para, pos, false);
    if (FGroupDepth == 0 && HandleAllocated()) Update();
}

void TZelCustomEditor::BackChar() {
    if (GetReadOnly()) {
        MoveLeft(false);
        return;
    }
    if (HasSelection()) {
        TChangeScope scope(*this);
        DoOnError(DeleteSelection());
        return;
    }
    if (FCaretLine == 1 && FCaretCol == 1) return;
    const std::int32_t para = FCaretPara;
    const std::int32_t pos = CaretPos();
    const bool pastEnd = pos > ParaLen(para) + 1;
    MoveLeft(false);
    // Over the space past a line's end the caret only moves; with nothing to its left (no
    // wrapping back to the line above) nothing is deleted.
    if (pastEnd || (FCaretPara == para && CaretPos() == pos)) return;
    DeleteChar();
}

void TZelCustomEditor::DeleteToEndOfLine() {
    if (GetReadOnly()) return;
    const auto len = static_cast<std::int32_t>(LineText(FCaretLine).size());
    if (FCaretCol > len) {
        CollapseSelection(true);
        return;
    }
    TChangeScope scope(*this);
    CollapseSelection(true);
    SetEnd(FSelEnd, FCaretPara, FCaretLineOffset + len + 1);
    DoOnError(DeleteSelection());
}

void TZelCustomEditor::DeleteLine() {
    if (GetReadOnly()) return;
    TChangeScope scope(*this);
    TUndoGroup group(*this);
    const std::int32_t para = FCaretPara;
    const std::int32_t start = FCaretLineOffset + 1;
    if (FCaretLine == LineCount()) {
        const auto len = static_cast<std::int32_t>(LineText(FCaretLine).size());
        if (len == 0) return;
        SetEnd(FSelStart, para, start);
        SetEnd(FSelEnd, para, start + len);
    } else {
        std::int32_t offset = 0;
        const std::int32_t next = FList->LineToParaPos(FCaretLine + 1, offset);
        SetEnd(FSelStart, para, start);
        SetEnd(FSelEnd, next, offset + 1);
    }
    FCaretEnd = {FSelEnd.Para, FSelEnd.Pos};
    DoOnError(DeleteSelection());
}

void TZelCustomEditor::DeleteWord() {
    if (GetReadOnly()) return;
    TChangeScope scope(*this);
    if (!HasSelection()) {
        std::string_view text = FList->ParaText(FCaretPara);
        const auto len = static_cast<std::int32_t>(text.size());
        const std::int32_t pos = CaretPos();
        std::int32_t i = pos;
        while (i <= len && !IsDelimiter(text[static_cast<std::size_t>(i - 1)])) ++i;
        while (i <= len && IsBlank(text[static_cast<std::size_t>(i - 1)])) ++i;
        if (i == pos) return;
        SetEnd(FSelStart, FCaretPara, pos);
        SetEnd(FSelEnd, FCaretPara, i);
        FCaretEnd = {FSelEnd.Para, FSelEnd.Pos};
    }
    DoOnError(DeleteSelection());
}

void TZelCustomEditor::NewLine() {
    TChangeScope scope(*this);
    const bool split = FInsertMode && !GetReadOnly();
    if (!GetReadOnly() && HasSelection()) {
        TUndoGroup group(*this);
        if (TParaResult r = DeleteSelection(); r != TParaResult::Ok) {
            DoOnError(r);
            return;
        }
    }
    const std::int32_t para = FCaretPara;
    std::int32_t chars = 0;
    if (split) {
        std::int32_t indent = 0;
        if (FAutoIndent) {
            std::string_view line = LineText(FCaretLine);
            line = line.substr(0, std::min<std::size_t>(line.size(), static_cast<std::size_t>(FCaretCol - 1)));
            std::size_t n = 0;
            while (n < line.size() && IsBlank(line[n])) ++n;
            indent = TextWidth(line.substr(0, n), TabSize());
        }
        TParaResult r = FList->CheckLimits(0, 1, std::int64_t{indent} + 2);
        if (r == TParaResult::Ok)
            r = FList->SplitPara(para, FTrimWhiteSpace, indent,
                                 FTabType == TTabType::ttReal ? TabSize() : 0, CaretPos());
        if (r != TParaResult::Ok) {
            DoOnError(r);
            return;
        }
        chars = indent;
        FVRangePending = true;
        InvalidateAll(false);
    }
    if (split || para < ParaCount()) MoveCaretToPara(para + 1, chars + 1, false);
    else MoveCaretTo(LineCount(), FList->LineLength(LineCount()) + 1, false);
}

void TZelCustomEditor::InsertTab() {
    if (GetReadOnly()) return;
    TChangeScope scope(*this);
    std::optional<TUndoGroup> group;
    if (HasSelection()) group.emplace(*this);
    if (TParaResult r = DeleteSelection(); r != TParaResult::Ok) {
        DoOnError(r);
        return;
    }
    if (FTabType == TTabType::ttReal) {
        TypeChar('\t');
        return;
    }
    const int tab = TabSize();
    const int column = CaretScreenColumn();
    int count = tab * ((column - 1) / tab + 1) - column + 1;
    if (FTabType == TTabType::ttSmart) {
        std::string model;
        auto expanded = [&](std::int32_t line) {
            std::string_view t = LineText(line);
            return HasTab(t) ? DetabPChar(t, tab) : std::string(t);
        };
        if (FCaretPara > 1) model = expanded(FCaretLine - 1);
        if (model.empty() && FCaretLine < LineCount()) model = expanded(FCaretLine + 1);
        int reached = column;
        if (static_cast<int>(model.size()) >= column) {
            std::size_t i = static_cast<std::size_t>(column - 1);
            while (i < model.size() && !IsBlank(model[i])) ++i;
            while (i < model.size() && IsBlank(model[i])) ++i;
            reached = static_cast<int>(i) + 1;
        }
        if (reached > column) count = reached - column;
    }
    DoOnError(InsertBlanks(count));
}

TParaResult TZelCustomEditor::InsertBlanks(int Count) {
    const std::int32_t para = FCaretPara;
    const std::int32_t pos = CaretPos();
    TParaResult r = FList->CheckLimits(para, 0, Count);
    if (r != TParaResult::Ok) return r;
    const std::string blanks(static_cast<std::size_t>(Count), ' ');
    {
        std::optional<TUndoGroup> group;
        if (!FInsertMode) {
            group.emplace(*this);
            r = FList->DeleteText(para, Count, pos);
        }
        if (r == TParaResult::Ok) r = FList->InsertText(para, blanks, pos);
    }
    if (r != TParaResult::Ok) return r;
    MoveCaretToPara(para, pos + Count, false);
    return TParaResult::Ok;
}

std::uint16_t TZelCustomEditor::InsertString(std::string_view S) {
    if (GetReadOnly()) return 0;
    TChangeScope scope(*this);
    TParaResult r = TParaResult::Ok;
    std::int32_t para, pos;
    {
        std::optional<TUndoGroup> group;
        if (HasSelection()) group.emplace(*this);
        r = DeleteSelection();
        if (r != TParaResult::Ok || S.empty()) return static_cast<std::uint16_t>(Code(r));
        para = FCaretPara;
        pos = CaretPos();
        std::size_t at = 0;
        while (at < S.size() && r == TParaResult::Ok) {
            std::size_t n = std::min(InsertPart, S.size() - at);
            // A line break is never cut between two parts.
            while (at + n < S.size() && (S[at + n] == '\r' || S[at + n] == '\n')) ++n;
            r = FList->InsertBlock(para, S.substr(at, n), pos);
            at += n;
        }
    }
    FVRangePending = true;
    InvalidateLines(FList->FirstChangedLine(), FList->LastChangedLine());
    MoveCaretToPara(para, pos, false);
    if (HandleAllocated()) Update();
    return static_cast<std::uint16_t>(Code(r));
}

// --- clipboard --------------------------------------------------------------------------------

std::string TZelCustomEditor::SelectedText() {
    std::string text;
    if (!HasSelection()) return text;
    TParaNode* node = FList->FindPara(FSelStart.Para);
    for (std::int32_t para = FSelStart.Para; node && para <= FSelEnd.Para; ++para, node = node->Next()) {
        std::string_view t = node->Text();
        const auto len = static_cast<std::int32_t>(t.size());
        const std::int32_t from = para == FSelStart.Para ? std::min(FSelStart.Pos, len + 1) : 1;
        const std::int32_t to = para == FSelEnd.Para ? std::min(FSelEnd.Pos, len + 1) : len + 1;
        text.append(t.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from)));
        if (para != FSelEnd.Para) text.append("\r\n");
    }
    return text;
}

bool TZelCustomEditor::CopySelection() {
    if (!HasSelection()) return false;
    const vcl::TClipboardResult r = vcl::PutClipboardText(HandleAllocated() ? Handle() : nullptr, SelectedText());
    if (r == vcl::TClipboardResult::crOutOfMemory) DoOnError(TParaResult::OutOfMemory);
    return r == vcl::TClipboardResult::crOk;
}

void TZelCustomEditor::CopyToClipboard() { CopySelection(); }

void TZelCustomEditor::CutToClipboard() {
    if (!HasSelection() || GetReadOnly()) return;
    // What could not be copied is not deleted.
    if (!CopySelection()) return;
    {
        TChangeScope scope(*this);
        DoOnError(DeleteSelection());
    }
    FVRangePending = true;
    Scroll(0, 0);
}

void TZelCustomEditor::PasteFromClipboard() {
    if (GetReadOnly()) return;
    std::string text;
    if (!vcl::GetClipboardText(HandleAllocated() ? Handle() : nullptr, text)) return;
    DoOnError(InsertString(text));
    FVRangePending = true;
    Scroll(0, 0);
}

// --- undo and redo ------------------------------------------------------------------------------

bool TZelCustomEditor::CanUndo() const {
    return !FReadOnly && FList->CanUndo();
}

bool TZelCustomEditor::CanRedo() const {
    return !FReadOnly && FList->CanRedo();
}

void TZelCustomEditor::PlaceCaretAfterReplay(std::int32_t Para, std::int32_t Pos) {
    FCaretPara = std::clamp(Para, 1, ParaCount());
    int col;
    FCaretLine = FList->ParaPosToLine(FCaretPara, Pos, col);
    FCaretCol = col;
    FCaretLineOffset = Pos - col;
}

void TZelCustomEditor::Undo() {
    if (GetReadOnly()) return; // read-only blocks it silently
    if (!CanUndo()) {
        win::MessageBeep(0);
        return;
    }
    std::int32_t para = FCaretPara, pos = CaretPos();
    TParaResult r;
    {
        TChangeScope scope(*this);
        r = FList->Undo(para, pos);
    }
    // A replay that fails leaves the text and the history as they were.
    if (r != TParaResult::Ok) {
        DoOnError(r);
        return;
    }
    PlaceCaretAfterReplay(para, pos);
    FVRangePending = true;
    Scroll(0, 0);
    CollapseSelection(false);
    InvalidateAll(false);
    if (!IsCaretVisible()) MoveCaretTo(FCaretLine, FCaretCol, false);
}

void TZelCustomEditor::Redo() {
    if (GetReadOnly()) return; // read-only blocks it silently
    if (!CanRedo()) {
        win::MessageBeep(0);
        return;
    }
    std::int32_t para = FCaretPara, pos = CaretPos();
    TParaResult r;
    {
        TChangeScope scope(*this);
        r = FList->Redo(para, pos);
    }
    // A replay that fails leaves the text and the history as they were.
    if (r != TParaResult::Ok) {
        DoOnError(r);
        return;
    }
    PlaceCaretAfterReplay(para, pos);
    CollapseSelection(false);
    InvalidateAll(false);
    if (!IsCaretVisible()) MoveCaretTo(FCaretLine, FCaretCol, false);
}

} // namespace editor
