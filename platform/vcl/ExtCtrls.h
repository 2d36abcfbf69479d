// The timer component and the panel. Implementations in ExtCtrls.cpp.
#pragma once

#include "vcl/Classes.h"
#include "vcl/Controls.h"
#include "vcl/Graphics.h"
#include "vcl/StdCtrls.h"

#include "win/Windows.h"

#include <memory>

namespace vcl {

// Runs OnTimer every Interval milliseconds of the runtime's clock while Enabled, from the
// message loop of the thread.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);
    TNotifyEvent OnTimer;
    void SetOnTimer(TNotifyEvent Value);

protected:
    virtual void Timer();
    void Loaded() override;

private:
    static void CALLBACK_Timer(win::HWND, unsigned, win::UINT_PTR, win::DWORD);
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    win::UINT_PTR FId = 0;
};

// A face with an outer bevel, a border in the face colour and an inner bevel, its caption in
// the middle; the controls it holds are laid out inside all three.
enum class TPanelBevel { bvNone, bvLowered, bvRaised };
enum class TBorderStyle { bsNone, bsSingle };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    // bsSingle: a window frame around the panel (sunken when Ctl3D).
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // Kept for the designer of in-place objects; it changes nothing here.
    bool Locked() const { return FLocked; }
    void SetLocked(bool Value) { FLocked = Value; }

    // Runs whenever the panel's size changes, also by alignment.
    TNotifyEvent OnResize;

protected:
    void CreateParams(TCreateParams& Params) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;
    void CMTextChanged(TMessage& Message) override;
    void CMCtl3DChanged(TMessage& Message) override;
    void WMSize(TMessage& Message) override;

private:
    TAlignment FAlignment = TAlignment::taCenter;
    TPanelBevel FBevelInner = TPanelBevel::bvNone;
    TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = TBorderStyle::bsNone;
    bool FLocked = false;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

// Shows a picture: at its own size in the top left corner, centred, or stretched over the
// whole control; AutoSize makes the control the picture's size. A transparent image leaves
// the pixels of a bitmap's transparent colour (its bottom-left pixel's) unpainted.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // Where the picture is drawn, in the control's coordinates.
    TRect DestRect();

protected:
    void Paint() override;

private:
    void PictureChanged();

    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FCenter = false;
    bool FStretch = false;
    bool FTransparent = false;
};

} // namespace vcl
