// The timer component and the panel. Implementations in ExtCtrls.cpp.
#pragma once

#include "vcl/Classes.h"
#include "vcl/Controls.h"
#include "vcl/Graphics.h"

#include "win/Windows.h"

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

// A face with an outer and an inner bevel and a centred caption.
enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);

protected:
    void Paint() override;
    void CMTextChanged(TMessage& Message) override;

private:
    TPanelBevel FBevelInner = TPanelBevel::bvNone;
    TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
};


} // namespace vcl
