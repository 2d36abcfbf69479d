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

} // namespace vcl
