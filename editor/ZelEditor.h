// The multi-line editor control: text held in a paragraph list that several views may share (a
// ring of views), a caret and a selection per view, bookmarks, the command dispatcher, editing,
// the clipboard and undo. Implementations in ZelEditor.cpp (text, caret, selection, ring) and
// EditorCommands.cpp (commands, editing, clipboard, undo).
#pragma once

#include "editor/ParaList.h"
#include "editor/ZelController.h"
#include "editor/ZelLooks.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace editor {

enum class TEditorBorderStyle { bsNone, bsSingle };
enum class TEditorScrollBars { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TTabType { ttReal, ttFixed, ttSmart };

class TZelCustomEditor;

using TEditorDrawLineEvent = std::function<void(
    vcl::TObject* Sender, vcl::TCanvas* EditorCanvas, vcl::TRect LineRect, const char* S,
    int Len, std::int32_t Line, int LinePos, int Count, std::int32_t HBLine, int HBCol,
    std::int32_t HELine, int HECol, bool& WasDrawn)>;
using TEditorErrorEvent = std::function<void(vcl::TObject* Sender, std::uint16_t& ErrorCode)>;
using TShowStatusEvent = std::function<void(vcl::TObject* Sender, std::int32_t LineNum, int ColNum)>;
using TTopLineChangedEvent = std::function<void(vcl::TObject* Sender, std::int32_t Line)>;
using TUserCommandEvent = std::function<void(vcl::TObject* Sender, std::uint16_t Command)>;

// Option bits of FindReplace.
constexpr std::uint8_t frBackward = 2;     // towards the start of the text
constexpr std::uint8_t frMatchCase = 4;
constexpr std::uint8_t frWholeText = 8;    // from the start (or end) of the text, not the caret
constexpr std::uint8_t frReplace = 16;     // replace once
constexpr std::uint8_t frReplaceAll = 32;
constexpr std::uint8_t frWholeWords = 64;
constexpr std::uint8_t frInSelection = 128;

// What a search did: the replacements made, the paragraph list's error code that stopped it
// (0 for none), and whether a hit was selected or replaced.
struct TFindReplaceResult {
    std::int32_t Replaced = 0;
    std::uint16_t Error = 0;
    bool Found = false;
};

// The 35 characters that end a word for word moves and word deletion.
bool IsDelimiter(char c);

class TZelCustomEditor : public TZelEditBase, private TParaListOwner {
public:
    explicit TZelCustomEditor(vcl::TComponent* AOwner);
    ~TZelCustomEditor() override;

    // --- properties ---
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }
    TEditorBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TEditorBorderStyle Value);
    std::int32_t ByteLimit() const { return FList->ByteLimit(); }
    // A negative value is ignored.
    virtual void SetByteLimit(std::int32_t Value);
    const TZelCaretRef& CaretIns() const { return FCaret->CaretIns(); }
    const TZelCaretRef& CaretOvr() const { return FCaret->CaretOvr(); }
    void SetCaretIns(TZelCaretRef Value) { FCaret->SetCaretIns(std::move(Value)); }
    void SetCaretOvr(TZelCaretRef Value) { FCaret->SetCaretOvr(std::move(Value)); }
    TZelCaretPair& CaretPair() { return *FCaret; }
    TZelFixedFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TZelFixedFont* Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    TZelColors* HighlightColors() const { return FHighlightColors.get(); }
    void SetHighlightColors(TZelColors* Value) { FHighlightColors->Assign(Value); }
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value);
    // Only 1 to 32767 is taken.
    int ParaLengthLimit() const { return FList->ParaLengthLimit(); }
    void SetParaLengthLimit(int Value);
    // A value of 0 or less is ignored.
    std::int32_t ParaLimit() const { return FList->ParaLimit(); }
    void SetParaLimit(std::int32_t Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int Value);
    TEditorScrollBars ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TEditorScrollBars Value);
    bool ScrollBarsAlways() const { return FScrollBarsAlways; }
    void SetScrollBarsAlways(bool Value);
    bool ScrollPastEnd() const { return FScrollPastEnd; }
    void SetScrollPastEnd(bool Value);
    bool ShowBookmarks() const { return FShowBookmarks; }
    void SetShowBookmarks(bool Value);
    // Whether the glyph bitmap is loaded (while bookmarks are shown on a made window).
    bool HasBookmarkGlyphs() const { return FGlyphs != nullptr; }
    std::uint8_t TabSize() const { return FList->TabSize(); }
    void SetTabSize(std::uint8_t Value);
    TTabType TabType() const { return FTabType; }
    void SetTabType(TTabType Value);
    bool TrimWhiteSpace() const { return FTrimWhiteSpace; }
    void SetTrimWhiteSpace(bool Value) { FTrimWhiteSpace = Value; }
    std::uint16_t UndoBufferSize() const { return static_cast<std::uint16_t>(FList->UndoSize()); }
    void SetUndoBufferSize(std::uint16_t Value);
    bool WantEnter() const { return FWantEnter; }
    void SetWantEnter(bool Value) { FWantEnter = Value; }
    bool WantTab() const { return FWantTab; }
    void SetWantTab(bool Value) { FWantTab = Value; }
    bool WordWrap() const { return FList->WordWrap(); }
    void SetWordWrap(bool Value);
    bool WrapAtLeft() const { return FWrapAtLeft; }
    void SetWrapAtLeft(bool Value);
    int WrapColumn() const { return FList->WrapColumn(); }
    void SetWrapColumn(int Value);
    bool WrapToWindow() const { return FWrapToWindow; }
    void SetWrapToWindow(bool Value);

    // --- events ---
    vcl::TNotifyEvent OnChange;
    TEditorDrawLineEvent OnDrawLine;
    TEditorErrorEvent OnError;
    TShowStatusEvent OnShowStatus;
    TTopLineChangedEvent OnTopLineChanged;
    TUserCommandEvent OnUserCommand;

    // --- text ---
    void Clear() { ClearText(true); }
    void ClearText(bool Repaint);
    // Adds S as paragraphs before the last one, cut at blanks to the paragraph length limit.
    std::uint16_t AppendPara(std::string_view S);
    // Shares Editor's paragraph list; nil or the editor itself does nothing.
    virtual void AttachTo(TZelCustomEditor* Editor);
    std::int32_t ParaCount() const { return FList->ParaCount(); }
    std::int32_t LineCount() const { return FList->LineCount(); }
    // Paragraphs and lines outside their ranges raise EInvalidLineOrPara.
    std::string_view GetPara(std::int32_t Para);
    std::string_view GetParaPointer(std::int32_t Para, std::uint16_t& Len);
    // The display line with tabs expanded, at most MaxLen characters and a zero; its length.
    int GetLineText(std::int32_t Line, char* Dest, int MaxLen);
    void GetLine(std::int32_t Line, std::string& S);
    void ParaToLine(std::int32_t& Para, std::int32_t& Pos);
    std::uint16_t InsertString(std::string_view S);
    bool GetModified() const { return FList->Modified(); }
    void SetModified(bool Value);
    TParaList& ParaList() { return *FList; }

    // --- caret, selection and view ---
    std::int32_t GetCaretPosition(int& Col) const;
    void SetCaretPosition(std::int32_t Line, int Col);
    bool GetSelection(std::int32_t& Line1, int& Col1, std::int32_t& Line2, int& Col2) const;
    // With CaretAtEnd the selection is anchored at the first position and the caret ends at the
    // second; otherwise the reverse. Nothing happens while the text is empty.
    void SetSelection(std::int32_t Line1, int Col1, std::int32_t Line2, int Col2, bool CaretAtEnd);
    void SetParaSelection(std::int32_t Para1, std::int32_t Pos1, std::int32_t Para2,
                          std::int32_t Pos2, bool CaretAtEnd);
    std::int32_t GetTopLine() const { return FTopLine; }
    // The height of one display line in pixels.
    int LineHeight() const { return FLineHeight; }
    void SetTopLine(std::int32_t Line);
    int GetVisibleLines();
    int GetVisibleColumns();
    int HorizontalOffset() const { return FHorzOffset; }
    void RefreshView(bool Flag);

    // --- commands (EditorCommands.cpp) ---
    virtual bool ProcessCommand(std::uint16_t Cmd, std::uint16_t Ch);
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    virtual void Undo();
    virtual void Redo();
    bool CanUndo() const;
    bool CanRedo() const;

    // --- bookmarks ---
    virtual void SetMarker(std::uint8_t N);
    virtual void SetMarkerAt(std::uint8_t N, std::int32_t Line, int Col);
    void GotoMarker(std::uint8_t N);

    virtual void ShowSampleText();

    // --- search and replace (EditorSearch.cpp) ---
    // Texts of up to 255 characters; a read-only editor finds but never replaces.
    TFindReplaceResult FindReplace(const char* FindText, const char* ReplaceText, std::uint8_t Options);
    // Longer texts are cut at 255 characters.
    virtual TFindReplaceResult FindReplaceStr(std::string_view FindText, std::string_view ReplaceText,
                                              std::uint8_t Options);

    // The views of the ring, for tests and the text-file editor.
    TZelCustomEditor* NextView() const { return FNextView; }
    TZelCustomEditor* PrevView() const { return FPrevView; }

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(vcl::TMessage& Message) override;
    void DefineProperties(vcl::TFiler* Filer) override;
    void Paint() override;

    // Fires OnDrawLine; true when the handler painted the row.
    virtual bool DoDrawLine(vcl::TCanvas* Canvas, vcl::TRect LineRect, const char* S, int Len,
                            std::int32_t Line, int LinePos, int Count, std::int32_t HBLine,
                            int HBCol, std::int32_t HELine, int HECol);

    // Messages (EditorView.cpp).
    void WMKeyDown(vcl::TMessage& Message) override;
    void WMSysKeyDown(vcl::TMessage& Message) override;
    void WMChar(vcl::TMessage& Message) override;
    void WMGetDlgCode(vcl::TMessage& Message) override;
    void CMDialogChar(vcl::TMessage& Message) override;
    void WMLButtonDown(vcl::TMessage& Message) override;
    void WMLButtonUp(vcl::TMessage& Message) override;
    void WMLButtonDblClk(vcl::TMessage& Message) override;
    void WMMouseMove(vcl::TMessage& Message) override;
    void WMSetCursor(vcl::TMessage& Message) override;
    void WMSetFocus(vcl::TMessage& Message) override;
    void WMKillFocus(vcl::TMessage& Message) override;
    void WMEraseBkgnd(vcl::TMessage& Message) override;
    void CMFontChanged(vcl::TMessage& Message) override;
    void CMCtl3DChanged(vcl::TMessage& Message) override;

    // A client point to a display line and character column.
    void HitTest(int X, int Y, std::int32_t& Line, int& Col);

    virtual bool GetReadOnly() { return FReadOnly; }
    virtual void DoOnChange();
    virtual void DoOnError(std::uint16_t Code);
    void DoOnError(TParaResult Result) { DoOnError(static_cast<std::uint16_t>(Code(Result))); }
    virtual void DoOnShowStatus(std::int32_t Line, int Col);
    virtual void DoOnTopLineChanged(std::int32_t Line);
    virtual void DoOnUserCommand(std::uint16_t Cmd);

    // Caret moves. Every move goes through MoveCaretBy.
    void MoveCaretBy(int DCol, std::int32_t DLine, bool Absolute, bool Extend, bool KeepRow);
    void MoveCaretTo(std::int32_t Line, int Col, bool Extend);
    void MoveCaretToPara(std::int32_t Para, std::int32_t Pos, bool Extend);
    void MoveLeft(bool Extend);
    void MoveRight(bool Extend);
    void MoveHome(bool Extend);
    void MoveEnd(bool Extend);
    void MoveWordLeft(bool Extend);
    void MoveWordRight(bool Extend);
    std::int32_t CaretPos() const { return FCaretLineOffset + FCaretCol; }
    int CaretScreenColumn();

    bool HasSelection() const;
    void CollapseSelection(bool Repaint);
    void ExtendSelection();

    // View side: metrics, invalidation, scrolling and caret placement.
    virtual void Scroll(int DCols, std::int32_t DLines);
    void UpdateMetrics();
    void ApplyWrapToWindow();
    void InvalidateAll(bool Update);
    void InvalidateLines(std::int32_t Line1, std::int32_t Line2);
    // While one lives, the view only invalidates where it would paint at once: the window
    // paints when its messages next run (or when a caller updates it).
    class TDeferPaint {
    public:
        explicit TDeferPaint(TZelCustomEditor& Editor) : FEditor(Editor) { ++FEditor.FPaintDeferred; }
        ~TDeferPaint() { --FEditor.FPaintDeferred; }
        TDeferPaint(const TDeferPaint&) = delete;
        TDeferPaint& operator=(const TDeferPaint&) = delete;

    private:
        TZelCustomEditor& FEditor;
    };
    void PositionCaret(int ScreenCol);
    bool IsCaretVisible();
    void MarkRangesPending() { FVRangePending = FVThumbPending = FHThumbPending = true; }

    // Editing (EditorCommands.cpp).
    void TypeChar(char Ch);
    void DeleteChar();
    void BackChar();
    TParaResult DeleteSelection();
    void DeleteToEndOfLine();
    void DeleteLine();
    void DeleteWord();
    void NewLine();
    void InsertTab();
    TParaResult InsertBlanks(int Count);
    void GoTopOfPage(bool Extend);
    void GoBottomOfPage(bool Extend);

    // Where the view stands, by paragraph position and by display line.
    struct TViewState {
        std::int32_t CaretPara, CaretPos, CaretLine, CaretCol, CaretLineOffset;
        std::int32_t StartPara, StartPos, StartLine, StartCol;
        std::int32_t EndPara, EndPos, EndLine, EndCol;
        std::int32_t TopPara, TopOffset, TopLine;
    };
    TViewState ViewState() const {
        return {FCaretPara, CaretPos(), FCaretLine, FCaretCol, FCaretLineOffset,
                FSelStart.Para, FSelStart.Pos, FSelStart.Line, FSelStart.Col,
                FSelEnd.Para, FSelEnd.Pos, FSelEnd.Line, FSelEnd.Col,
                FTopPara, FTopOffset, FTopLine};
    }

    int FCharWidth = 8;
    int FLineHeight = 16;
    int FVisibleColumns = 1;
    int FVisibleLines = 1;

private:
    // View side (EditorView.cpp).
    bool HasHorzBar() const {
        return FScrollBars == TEditorScrollBars::ssHorizontal || FScrollBars == TEditorScrollBars::ssBoth;
    }
    bool HasVertBar() const {
        return FScrollBars == TEditorScrollBars::ssVertical || FScrollBars == TEditorScrollBars::ssBoth;
    }
    bool SelectionShown();
    void PaintRow(int Row, std::int32_t Line, std::int32_t HBLine, int HBCol, std::int32_t HELine,
                  int HECol);
    void DrawGlyph(int Row, std::int32_t Line);
    void LoadGlyphs();
    void RenewHorzRange();
    void RenewHorzThumb();
    void RenewVertRange();
    void RenewVertThumb();
    void WMHScroll(vcl::TMessage& Message);
    void WMVScroll(vcl::TMessage& Message);
    void WMMouseWheel(vcl::TMessage& Message);
    void WMMouseActivate(vcl::TMessage& Message);
    void WMTimer(vcl::TMessage& Message);
    void DragStep(int X, int Y, bool First);
    void EndDrag();
    void MarginDoubleClick(std::int32_t Line, bool Shift);
    void TextDoubleClick(std::int32_t Line, int Col, bool Shift);
    int TextRight() const { return FLeftMargin + FVisibleColumns * FCharWidth; }

    int FHorzMax = 0;
    std::int32_t FVertMax = 0;
    std::int32_t FVertDivisor = 1;
    bool FInMetrics = false;
    std::unique_ptr<vcl::TBitmap> FGlyphs;
    bool FOverMargin = false;
    bool FSwallowChar = false;
    // Drag selection: the mouse is captured while the button is down; a timer scrolls while the
    // mouse stands outside the window.
    struct TDrag {
        bool Active = false;
        bool Margin = false;
        bool Shift = false;
        bool TimerOn = false;
        std::int32_t AnchorLine = 0;
        int AnchorCol = 0;
        std::int32_t LastLine = -1;
        int LastCol = -1;
    } FDrag;

    struct TEnd {
        std::int32_t Para = 1, Pos = 1; // paragraph position
        std::int32_t Line = 1;          // its display line and column
        int Col = 1;
    };
    struct TParaPos {
        std::int32_t Para = 1, Pos = 1;
    };
    // Marks the view that makes a change: the ring moves every other view's caret and
    // selection, while this one places its own afterwards.
    class TChangeScope {
    public:
        explicit TChangeScope(TZelCustomEditor& E) : FEditor(E), FWas(E.FChanging) { E.FChanging = true; }
        ~TChangeScope() { FEditor.FChanging = FWas; }
        TChangeScope(const TChangeScope&) = delete;
        TChangeScope& operator=(const TChangeScope&) = delete;

    private:
        TZelCustomEditor& FEditor;
        bool FWas;
    };
    // One undo group around the steps of an edit (nested groups join the outer one).
    class TUndoGroup {
    public:
        explicit TUndoGroup(TZelCustomEditor& E)
            : FEditor(E), FList(E.FList), FWasOpen(FList->UndoBuffer().BeginGroup()) {
            ++E.FGroupDepth;
        }
        ~TUndoGroup() {
            FList->UndoBuffer().EndGroup(FWasOpen);
            --FEditor.FGroupDepth;
        }
        TUndoGroup(const TUndoGroup&) = delete;
        TUndoGroup& operator=(const TUndoGroup&) = delete;

    private:
        TZelCustomEditor& FEditor;
        std::shared_ptr<TParaList> FList;
        bool FWasOpen;
    };

    // What the list tells its owner, passed on to every view of the ring.
    void TextInserted(std::int32_t Para, std::int32_t Pos, std::int32_t Count) override;
    void TextDeleted(std::int32_t Para, std::int32_t Pos, std::int32_t Count) override;
    void ParaSplit(std::int32_t Para, std::int32_t Pos, std::int32_t Indent) override;
    void ParaDeleted(std::int32_t Para) override;
    void ParasJoined(std::int32_t Para, std::int32_t Pos) override;
    void ReWrapped() override;
    template <class F> void ForEachView(F f);
    // Moves this view's positions by Adjust (which changes a paragraph position in place). The
    // change touched paragraphs ChangedPara to LastNear; positions below them only move by the
    // change of the line count.
    template <class F> void FollowChange(F Adjust, std::int32_t ChangedPara, std::int32_t LastNear);
    void FollowReWrap();
    void SetTopFromPara(std::int32_t Para, std::int32_t Pos);
    void SetEnd(TEnd& End, std::int32_t Para, std::int32_t Pos);

    void Detach();
    void NewList(bool WordWrap, std::int32_t UndoSize);
    void ResetView();
    void FontChanged(vcl::TObject* Sender);
    std::string_view LineText(std::int32_t Line);
    std::int32_t ParaLen(std::int32_t Para) { return FList->ParaLength(Para); }
    std::string SelectedText();
    // Copies the selection; false when nothing went to the clipboard.
    bool CopySelection();
    void PlaceCaretAfterReplay(std::int32_t Para, std::int32_t Pos);

    std::shared_ptr<TParaList> FList;
    TZelCustomEditor* FPrevView;
    TZelCustomEditor* FNextView;
    // Set while this view changes the text: it places its own caret afterwards.
    bool FChanging = false;

    std::unique_ptr<TZelCaretPair> FCaret;
    std::unique_ptr<TZelFixedFont> FFixedFont;
    std::unique_ptr<TZelColors> FHighlightColors;

    bool FAutoIndent = false;
    TEditorBorderStyle FBorderStyle = TEditorBorderStyle::bsSingle;
    bool FHideSelection = true;
    bool FInsertMode = true;
    int FLeftMargin = 15;
    bool FReadOnly = false;
    int FRightMargin = 5;
    TEditorScrollBars FScrollBars = TEditorScrollBars::ssBoth;
    bool FScrollBarsAlways = false;
    bool FScrollPastEnd = false;
    bool FShowBookmarks = true;
    TTabType FTabType = TTabType::ttReal;
    bool FTrimWhiteSpace = true;
    bool FWantEnter = true;
    bool FWantTab = false;
    bool FWrapAtLeft = true;
    bool FWrapToWindow = false;

    // Caret: its display line and character column, its paragraph and the offset of its line
    // within the paragraph.
    std::int32_t FCaretLine = 1;
    int FCaretCol = 1;
    std::int32_t FCaretPara = 1;
    std::int32_t FCaretLineOffset = 0;
    TEnd FSelStart, FSelEnd;
    TParaPos FCaretEnd;
    std::int32_t FTopLine = 1;
    std::int32_t FTopPara = 1;
    std::int32_t FTopOffset = 0;
    int FHorzOffset = 0;

    // The list's line count when this view last followed a change: views below a change move
    // by the difference without looking their paragraphs up.
    std::int32_t FKnownLineCount = 1;
    // Undo groups this view has open; the window is updated only when none is.
    int FGroupDepth = 0;
    int FPaintDeferred = 0;
    bool FFullRepaintPending = false;
    bool FVRangePending = false;
    bool FVThumbPending = false;
    bool FHThumbPending = false;
};

} // namespace editor
