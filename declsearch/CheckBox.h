// The declaration search's self-drawn check box, with a choice of marks and bevels.
#pragma once

#include "vcl/Controls.h"

namespace declsearch {

enum TKwCheckStyle { csCross, csOK, csPoint };
enum TKwBevel { kbLowered, kbRaised };
enum TKwCheckState { kcsUnchecked, kcsChecked, kcsGrayed };

class TKwCheckBox : public vcl::TCustomControl {
public:
    explicit TKwCheckBox(vcl::TComponent* AOwner);

    // 0 puts the box on the left, anything else on the right.
    int Alignment() const { return FAlignment; }
    virtual void SetAlignment(int Value);
    TKwBevel Bevel() const { return FBevel; }
    virtual void SetBevel(TKwBevel Value);
    vcl::TColor CheckColor() const { return FCheckColor; }
    void SetCheckColor(vcl::TColor Value);
    vcl::TColor BevelColor() const { return FBevelColor; }
    void SetBevelColor(vcl::TColor Value);
    TKwCheckStyle CheckStyle() const { return FCheckStyle; }
    void SetCheckStyle(TKwCheckStyle Value);
    TKwCheckState State() const { return FState; }
    void SetState(TKwCheckState Value);
    bool Checked() const { return FState == kcsChecked; }
    void SetChecked(bool Value) { SetState(Value ? kcsChecked : kcsUnchecked); }

    // Where the box and the caption go for the current size.
    vcl::TRect BoxRect() const;
    vcl::TRect CaptionRect();

protected:
    void Paint() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, vcl::TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void CMTextChanged(vcl::TMessage& Message) override;
    void CMEnabledChanged(vcl::TMessage& Message) override;
    void CMFontChanged(vcl::TMessage& Message) override;
    void CMColorChanged(vcl::TMessage& Message) override;
    void CMCtl3DChanged(vcl::TMessage& Message) override;

private:
    void Changed(bool Click);
    void DrawMark(vcl::TCanvas* C, const vcl::TRect& Box);

    int FAlignment = 0;
    TKwBevel FBevel = kbLowered;
    vcl::TColor FCheckColor = vcl::clBlack;
    vcl::TColor FBevelColor = vcl::clWhite;
    TKwCheckStyle FCheckStyle = csOK;
    TKwCheckState FState = kcsUnchecked;
    bool FFocused = false;
    bool FMouseDown = false;
};

// Registers the stored properties of the declaration search's controls (once).
void RegisterDeclsearchControls();

} // namespace declsearch
