// The timer component over the window system's timers.
#include "vcl/ExtCtrls.h"

#include "vcl/Forms.h"

#include <unordered_map>

namespace vcl {

using namespace win;

namespace {
std::unordered_map<UINT_PTR, TTimer*>& Timers() {
    static std::unordered_map<UINT_PTR, TTimer*> map;
    return map;
}
} // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
    FEnabled = false;
    UpdateTimer();
}

void TTimer::CALLBACK_Timer(HWND, unsigned, UINT_PTR Id, DWORD) {
    auto it = Timers().find(Id);
    if (it == Timers().end()) return;
    TTimer* timer = it->second;
    try {
        timer->Timer();
    } catch (...) {
        if (Application) Application->HandleException(timer);
    }
}

void TTimer::UpdateTimer() {
    if (FId) {
        KillTimer(nullptr, FId);
        Timers().erase(FId);
        FId = 0;
    }
    // While loading, the timer waits for Loaded, so that OnTimer is bound first.
    if (FEnabled && FInterval > 0 && OnTimer && !IsLoading() && !IsDesigning()) {
        FId = SetTimer(nullptr, 0, FInterval, &CALLBACK_Timer);
        if (!FId) throw EOutOfResources("Not enough timers available");
        Timers()[FId] = this;
    }
}

void TTimer::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == FInterval) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
    OnTimer = std::move(Value);
    UpdateTimer();
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
    FBevelInner = Value;
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
    FBevelOuter = Value;
    Invalidate();
}

void TCustomPanel::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void TCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    win::HDC dc = c->Handle();
    auto bevel = [&](TPanelBevel b) {
        if (b == TPanelBevel::bvNone) return;
        bool raised = b == TPanelBevel::bvRaised;
        win::Frame3D(dc, &r, ColorToRGB(raised ? clBtnHighlight : clBtnShadow),
                     ColorToRGB(raised ? clBtnShadow : clBtnHighlight), 1);
    };
    bevel(FBevelOuter);
    bevel(FBevelInner);
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(r);
    std::string text = Caption();
    if (text.empty()) return;
    c->SetFont(Font());
    win::SelectObject(dc, c->Font()->Handle());
    win::SetBkMode(dc, win::TRANSPARENT);
    win::SetTextColor(dc, ColorToRGB(Font()->Color()));
    win::DrawText(dc, text.c_str(), int(text.size()), &r, win::DT_CENTER | win::DT_VCENTER | win::DT_SINGLELINE);
}


} // namespace vcl
