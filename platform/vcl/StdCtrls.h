// Labels and push buttons. Implementations in StdCtrls.cpp.
#pragma once

#include "vcl/Forms.h"

namespace vcl {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // '&' marks the accelerator unless ShowAccelChar is off.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

protected:
    void Paint() override;
    void Loaded() override;
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AdjustBounds();
    unsigned DrawFlags() const;

    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

// What the controls a user pushes share: pressed while the left button or the space bar is held
// down on it, released when it is let go or the focus leaves. Push is what letting go of the
// space bar and the caption's accelerator do, and, when FPushOnMouseUp is set, letting go of the
// mouse inside the control.
class TPushControl : public TCustomControl {
public:
    explicit TPushControl(TComponent* AOwner) : TCustomControl(AOwner) {}

protected:
    virtual void Push() = 0;
    // Ends a press; whether there was one.
    bool Release();

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void KeyUp(unsigned& Key, TShiftState Shift) override;
    void CMDialogChar(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    // The focus rectangle shows where the focus is, however it came or went.
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;

    bool FPressed = false;
    bool FPushOnMouseUp = false;
};

// A push button: clicked by the mouse, the space bar, its accelerator, or Enter (Default) and
// Escape (Cancel) anywhere on its form. A ModalResult is given to the form before OnClick runs.
class TButton : public TPushControl {
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    void Click() override;

protected:
    void Push() override { Click(); }
    void Paint() override;
    // Draws what the face shows inside its edges (moved down and right while pressed).
    virtual void PaintContent(win::HDC DC, TRect Inside);
    void WMLButtonUp(TMessage& Message) override;
    // A second click soon after the first presses the button again, as the system's button does.
    void WMLButtonDblClk(TMessage& Message) override { WMLButtonDown(Message); }
    void CMDialogKey(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;

    // Whether Enter clicks this button now: the focused button, or the default one while no
    // other button has the focus.
    bool IsActiveDefault() const;

private:
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
};

// Whether the '&' accelerator of Text is the character Key (without regard to case).
bool IsAccel(unsigned Key, const std::string& Text);

} // namespace vcl
