// The code editor's text view: an editing view over one IDE edit buffer at a time, the same
// buffer the host's editor, reader, writer and view objects reach. The buffer keeps the text,
// view 0's cursor (the caret shown here), the selection and the top line; the view keeps the
// colouring, the horizontal offset and what it last painted. Implementations in CodeView.cpp.
#pragma once

#include "ide/EditBuffers.h"

#include "vcl/Controls.h"

#include <map>
#include <memory>
#include <vector>

namespace ide {

class TIde;

class TCodeView : public vcl::TCustomControl {
public:
    TCodeView(vcl::TComponent* AOwner, TIde& ide);
    ~TCodeView() override;

    // The buffer shown; null shows nothing.
    void ShowBuffer(const std::shared_ptr<TEditBuffer>& buffer);
    TEditBuffer* Buffer() const { return FBuffer.get(); }
    // Whole rows the view shows.
    int VisibleRows();
    int VisibleColumns();
    // Brings the window up to the buffer: an edit made elsewhere scrolled into sight when none
    // of it shows, a cursor moved elsewhere into sight, the changed rows painted, the caret and
    // the scroll bars where they belong.
    void Sync();
    bool Overwrite() const { return FOverwrite; }
    void SetOverwrite(bool value);
    // The client point of a place's top-left corner, and the place under a client point.
    vcl::TPoint PointOf(TTextPos pos);
    TTextPos PosAt(int x, int y);

    std::function<void()> OnStateChange; // the cursor, the modified flag or the mode changed

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(vcl::TMessage& Message) override;
    void KeyDown(unsigned& Key, vcl::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void DblClick() override;

private:
    struct TColouring;
    void Metrics();
    void Changed(const TTextChange& change);
    void InvalidateLines(int first, int last);
    void PaintRows();
    void DrawLine(int line, int y);
    // What the user does: moves the cursor (extending the selection or not), edits at it.
    void MoveTo(TTextPos pos, bool extend, bool keepColumn = false);
    void Edit(const std::function<void(TEditBuffer&)>& edit);
    void ScrollTo(int top, int left);
    void MakeCursorVisible();
    void PlaceCaret();
    void UpdateBars();
    // Display columns from 0: a TAB runs to the next stop.
    int DisplayCol(int line, int col) const;
    int ColAtDisplay(int line, int display) const;
    TTextPos WordLeft(TTextPos pos) const;
    TTextPos WordRight(TTextPos pos) const;

    TIde& FIde;
    std::shared_ptr<TEditBuffer> FBuffer;
    std::map<const TEditBuffer*, std::unique_ptr<TColouring>> FColourings;
    TColouring* FColouring = nullptr;
    int FLineHeight = 16, FCharWidth = 8, FTabWidth = 8;
    bool FMeasured = false;
    bool FPainted = false, FCaretPending = false;
    win::RECT FPaintRect{};
    static constexpr int Margin = 4;
    bool FOverwrite = false;
    bool FEditing = false;  // the change comes from this view
    bool FDragging = false;
    bool FHasCaret = false;
    int FWantedColumn = -1; // the display column up and down keep
    // What the window last showed.
    std::size_t FShownVersion = 0;
    bool FShownModified = false;
    int FShownTop = 0, FShownLeft = -1, FShownLines = -1, FShownLongest = -1;
    TTextPos FShownCursor, FShownAnchor;
    const TEditBuffer* FShownBuffer = nullptr;
    int FExternalLine = 0; // the first line of an edit made elsewhere, to scroll into sight
};

} // namespace ide
