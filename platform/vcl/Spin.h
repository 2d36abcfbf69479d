// Spin buttons and spin edits: a number typed or stepped up and down within bounds.
// Implementations in Spin.cpp.
#pragma once

#include "vcl/EditCtrls.h"

namespace vcl {

// Two buttons, one above the other; each steps once when pressed and again and again while it
// is held down.
class TSpinButton : public TCustomControl {
public:
    explicit TSpinButton(TComponent* AOwner);

    // Takes the focus when a button is pressed.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value) { FFocusControl = Value; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    enum class TPart { None, Up, Down };
    TPart PartAt(int Y) const;
    void Step();
    void DrawPart(TRect R, bool Up, bool Pressed);

    TWinControl* FFocusControl = nullptr;
    TPart FPressed = TPart::None;
    bool FInside = false;
};

// An edit box for a whole number with a spin button at its right. Only digits and signs can be
// typed; Up and Down step by Increment. When MinValue and MaxValue differ they bound the value:
// a step, a value set by code and a typed value (when the box is left) are kept within them.
class TSpinEdit : public TCustomEdit {
public:
    explicit TSpinEdit(TComponent* AOwner);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value) { FMinValue = Value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value) { FMaxValue = Value; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    // The number shown; MinValue while the text is no number.
    int Value();
    void SetValue(int Value);
    TSpinButton* Button() const { return FButton; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMSize(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    virtual void UpClick();
    virtual void DownClick();

private:
    int CheckValue(long long Value) const;
    void PlaceButton();

    TSpinButton* FButton; // a child of the box, freed with it
    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
};

} // namespace vcl
