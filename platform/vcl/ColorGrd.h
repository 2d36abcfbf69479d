// The colour grid: the sixteen standard colours in cells, one chosen as the foreground (left
// button) and one as the background (right button). Implementations in ColorGrd.cpp.
#pragma once

#include "vcl/Controls.h"

namespace vcl {

// Columns by rows.
enum class TGridOrdering { go16x1, go8x2, go4x4, go2x8, go1x16 };

class TColorGrid : public TCustomControl {
public:
    explicit TColorGrid(TComponent* AOwner);

    TGridOrdering GridOrdering() const { return FGridOrdering; }
    void SetGridOrdering(TGridOrdering Value);
    // 0 to 15; the colours are those of the system's standard palette, black first, white last.
    int ForegroundIndex() const { return FForegroundIndex; }
    void SetForegroundIndex(int Value);
    int BackgroundIndex() const { return FBackgroundIndex; }
    void SetBackgroundIndex(int Value);
    TColor ForegroundColor() const { return ColorOf(FForegroundIndex); }
    TColor BackgroundColor() const { return ColorOf(FBackgroundIndex); }
    // Whether the user can choose the colour, and the grid marks it.
    bool ForegroundEnabled() const { return FForegroundEnabled; }
    void SetForegroundEnabled(bool Value);
    bool BackgroundEnabled() const { return FBackgroundEnabled; }
    void SetBackgroundEnabled(bool Value);
    // The cell the keys move, framed while the grid has the focus.
    int Selection() const { return FSelection; }
    void SetSelection(int Value);
    static TColor ColorOf(int Index);

    // On each change of a chosen colour, by the user or by code.
    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    virtual void Change();

private:
    int Columns() const;
    int Rows() const { return 16 / Columns(); }
    TRect CellRect(int Index);
    int CellAt(int X, int Y);

    TGridOrdering FGridOrdering = TGridOrdering::go4x4;
    int FForegroundIndex = 0;
    int FBackgroundIndex = 15;
    bool FForegroundEnabled = true;
    bool FBackgroundEnabled = true;
    int FSelection = 0;
};

} // namespace vcl
