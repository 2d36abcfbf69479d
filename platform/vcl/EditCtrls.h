// Edit boxes and memos: edit windows of our own class, answering the edit messages, with the
// text kept as the system keeps it (line breaks are CR LF and count two positions).
#pragma once

#include "vcl/StdCtrls.h"

#include "rtl/StringLists.h"

#include <array>
#include <vector>

namespace vcl {

// The edit messages and notifications by their short names, as the suite uses them.
using win::EM_LINESCROLL;
using win::EN_CHANGE;

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TCustomControl {
public:
    explicit TCustomEdit(TComponent* AOwner);

    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);
    std::string SelText();
    void SetSelText(const std::string& Value);
    void SelectAll();
    void ClearSelection();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();

    // 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    // Every character that enters the text, typed or set, is turned to this case; changing it
    // turns the text already there.
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    // Whether the selection is drawn while the control has no focus (shown when false).
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    // The text changed in the window (typing, pasting, messages), not by a property.
    virtual void BufferChanged() {}
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    bool KeepsText() const override { return true; }
    std::string GetText() override;
    void SetTextValue(const std::string& Value) override;
    void Paint() override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void WMSetText(TMessage& Message);
    void EMGetSel(TMessage& Message);
    void EMSetSel(TMessage& Message);
    void EMLineFromChar(TMessage& Message);
    void EMLineIndex(TMessage& Message);
    void EMLineLength(TMessage& Message);
    void EMGetLineCount(TMessage& Message);
    void EMGetFirstVisibleLine(TMessage& Message);
    void EMLineScroll(TMessage& Message);
    void EMScrollCaret(TMessage& Message);
    void EMReplaceSel(TMessage& Message);
    void EMGetModify(TMessage& Message);
    void EMSetModify(TMessage& Message);
    void EMLimitText(TMessage& Message);
    void EMSetReadOnly(TMessage& Message);
    void WMCopy(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMPaste(TMessage& Message);
    void WMClear(TMessage& Message);
    void WMScroll(TMessage& Message); // WM_VSCROLL and WM_HSCROLL
    void CMWantSpecialKey(TMessage& Message);
    void CNCommand(TMessage& Message);

    // Replaces the whole text as the window's own (no undo, selection at the start).
    void SetBuffer(const std::string& Value, bool Notify);
    const std::string& Buffer() const { return FBuf; }
    void Relayout();
    // Pixels at the right of the client area that the text leaves free (for a child there).
    void SetRightSpace(int Value);

    bool FMultiLine = false;
    bool FWordWrap = false;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;

private:
    struct TRow {
        int Start = 0;
        int Length = 0; // without the line break
    };
    std::string InCase(const std::string& Value) const;
    void ReplaceSelection(const std::string& Value, bool ByUser);
    void SetSel(int Anchor, int Caret, bool Scroll = true);
    int Clamp(int Pos) const;
    int RowOf(int Pos) const;
    int RowCount() const { return int(FRows.size()); }
    int LineHeight();
    int VisibleRows();
    void LoadMetrics();
    int Measure(const char* Text, int Count);
    int TextWidth(int Start, int Count);
    int XOf(int Pos);
    int PosAt(int Row, int X);
    int PosFromPoint(int X, int Y);
    int WordLeft(int Pos) const;
    int WordRight(int Pos) const;
    void ScrollCaret();
    void ScrollTo(int TopRow, int LeftPx);
    void UpdateCaret();
    void UpdateScrollBars();
    void NotifyChange();
    win::RECT TextRect();

    std::string FBuf;
    std::vector<TRow> FRows{TRow{}};
    int FAnchor = 0;
    int FCaret = 0;
    int FTopRow = 0;
    int FLeftPx = 0;
    int FGoalX = -1;
    int FLineHeight = 0; // cached for the font, with the two below
    int FAveCharWidth = 1;
    std::array<int, 256> FAdvance{};
    int FWidest = 0;     // pixels, of the widest unwrapped row
    int FMaxLength = 0;
    int FRightSpace = 0;
    TEditCharCase FCharCase = TEditCharCase::ecNormal;
    bool FReadOnly = false;
    bool FModified = false;
    bool FHideSelection = true;
    bool FSelecting = false;
    bool FHasCaret = false;
    bool FInScrollBars = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);

    // The lines of the text; changing them changes the window's text.
    rtl::TStringList& Lines() { return FLines; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

protected:
    void BufferChanged() override;

private:
    void LinesChanged();
    rtl::TStringList FLines;
    bool FSyncing = false;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

} // namespace vcl
