// The controller of a form's editor-library controls, their base class and the timer pool.
#include "editor/ZelController.h"

#include "editor/ZelExceptions.h"
#include "rtl/Clock.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Streaming.h"
#include "win/Messages.h"
#include "win/Windows.h"

#include <algorithm>

namespace editor {

namespace {

constexpr char HiddenClassName[] = "TZelHiddenWindow";
constexpr win::UINT_PTR PoolTimerId = 1;
// The system timer's tick: no shared interval is shorter.
constexpr std::uint16_t MinInterval = 55;
// A trigger may fire this early so that a tick just before its time does not cost an interval.
constexpr std::int64_t EarlySlack = 27;

// Whether Target is Root or owned, at any depth, by it. Compares addresses only, so a pointer
// to a control that is gone is never followed.
bool OwnsComponent(const vcl::TComponent* Root, const void* Target) {
    if (Root == Target) return true;
    for (int i = 0; i < Root->ComponentCount(); ++i)
        if (OwnsComponent(Root->Components(i), Target)) return true;
    return false;
}

// A form stores its controller's epoch and command tables.
const bool ControllerRegistered = [] {
    vcl::TPropInfo commands;
    commands.Name = "EntryCommands";
    commands.Kind = vcl::TPropKind::Class;
    commands.GetObject = [](vcl::TPersistent* o) -> vcl::TPersistent* {
        return &vcl::detail::As<TZelController>(o).EntryCommands();
    };
    vcl::RegisterClass<TZelController>(
        "TZelController", "TComponent",
        {std::move(commands),
         vcl::IntegerProperty<TZelController>("Epoch", &TZelController::Epoch, &TZelController::SetEpoch)
             .WithDefault(1900)});
    return true;
}();

} // namespace

// --- Hidden window --------------------------------------------------------------------------

TZelHiddenWindow::TZelHiddenWindow(THandler Handler) : FHandler(std::move(Handler)) {
    win::HINSTANCE instance = vcl::ModuleInstance();
    win::WNDCLASS wc;
    if (!win::GetClassInfo(instance, HiddenClassName, &wc)) {
        wc = {};
        wc.lpfnWndProc = &TZelHiddenWindow::WndProc;
        wc.hInstance = instance;
        wc.lpszClassName = HiddenClassName;
        win::RegisterClass(&wc);
    }
    FHandle = win::CreateWindowEx(0, HiddenClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    if (!FHandle) throw EZelException("Cannot create the controller's window");
    win::SetWindowLongPtr(FHandle, win::GWL_USERDATA, reinterpret_cast<win::LONG_PTR>(this));
}

TZelHiddenWindow::~TZelHiddenWindow() {
    // The window system may have been reset under a test; then the window is gone already.
    if (FHandle && win::IsWindow(FHandle)) {
        win::SetWindowLongPtr(FHandle, win::GWL_USERDATA, 0);
        win::DestroyWindow(FHandle);
    }
}

win::LRESULT TZelHiddenWindow::WndProc(win::HWND Wnd, unsigned Msg, win::WPARAM WParam,
                                       win::LPARAM LParam) {
    auto* self = reinterpret_cast<TZelHiddenWindow*>(win::GetWindowLongPtr(Wnd, win::GWL_USERDATA));
    if (!self || !self->FHandler) return win::DefWindowProc(Wnd, Msg, WParam, LParam);
    return self->FHandler(Msg, WParam, LParam);
}

// --- Timer pool -----------------------------------------------------------------------------

TZelTimerPool::TZelTimerPool(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {
    FWindow = std::make_unique<TZelHiddenWindow>(
        [this](unsigned Msg, win::WPARAM WParam, win::LPARAM LParam) -> win::LRESULT {
            if (Msg == win::WM_TIMER && WParam == PoolTimerId) {
                Fire();
                return 0;
            }
            return win::DefWindowProc(FWindow->Handle(), Msg, WParam, LParam);
        });
}

TZelTimerPool::~TZelTimerPool() {
    Destroying();
    FInterval = 0;
    if (FWindow && win::IsWindow(FWindow->Handle())) win::KillTimer(FWindow->Handle(), PoolTimerId);
    FTriggers.clear();
    FWindow.reset();
}

std::size_t TZelTimerPool::IndexOf(int Handle) const {
    for (std::size_t i = 0; i < FTriggers.size(); ++i)
        if (FTriggers[i].Handle == Handle) return i;
    return FTriggers.size();
}

bool TZelTimerPool::HasTrigger(int Handle) const { return IndexOf(Handle) < FTriggers.size(); }

int TZelTimerPool::AddTrigger(std::uint16_t Interval, bool Repeat, TTriggerEvent OnTrigger) {
    while (HasTrigger(FNextHandle) || FNextHandle <= 0)
        FNextHandle = FNextHandle <= 0 ? 1 : FNextHandle + 1;
    TTrigger trigger;
    trigger.Handle = FNextHandle++;
    trigger.StartTick = rtl::GetTickCount();
    trigger.LastTick = trigger.StartTick;
    trigger.Interval = Interval;
    trigger.OnTrigger = std::move(OnTrigger);
    trigger.Repeat = Repeat;
    FTriggers.push_back(std::move(trigger));
    TriggersChanged();
    return FTriggers.back().Handle;
}

void TZelTimerPool::RemoveTrigger(int Handle) {
    std::size_t i = IndexOf(Handle);
    if (i == FTriggers.size()) return;
    FTriggers.erase(FTriggers.begin() + static_cast<std::ptrdiff_t>(i));
    TriggersChanged();
}

void TZelTimerPool::SetTriggerActive(int Handle, bool Active) {
    std::size_t i = IndexOf(Handle);
    if (i == FTriggers.size() || FTriggers[i].Active == Active) return;
    FTriggers[i].Active = Active;
    if (Active) FTriggers[i].LastTick = rtl::GetTickCount();
    TriggersChanged();
}

void TZelTimerPool::TriggersChanged() {
    FActiveCount = static_cast<std::uint16_t>(
        std::count_if(FTriggers.begin(), FTriggers.end(), [](const TTrigger& t) { return t.Active; }));
    ComputeInterval();
    RestartTimer();
}

void TZelTimerPool::ComputeInterval() {
    const std::uint32_t now = rtl::GetTickCount();
    std::uint32_t result = 65535;
    bool anyActive = false;
    for (const TTrigger& t : FTriggers) {
        if (!t.Active) continue;
        anyActive = true;
        result = std::min<std::uint32_t>(result, t.Interval);
        const std::uint32_t elapsed = now - t.LastTick;
        const std::uint32_t untilDue = elapsed >= t.Interval ? 0 : t.Interval - elapsed;
        result = std::min(result, untilDue);
    }
    if (result < MinInterval) result = MinInterval;
    // 65535 is also the interval of a lone trigger of that length, which must still fire.
    if (!anyActive) {
        FInterval = 0;
        return;
    }
    // As large as possible while every trigger's interval stays a multiple of it.
    bool divides = false;
    while (!divides && result > MinInterval) {
        divides = true;
        for (const TTrigger& t : FTriggers) {
            const std::uint32_t remainder = t.Interval % result;
            if (remainder != 0) {
                result -= remainder;
                divides = false;
                break;
            }
        }
    }
    FInterval = static_cast<std::uint16_t>(std::max<std::uint32_t>(result, MinInterval));
}

void TZelTimerPool::RestartTimer() {
    if (IsDesigning() || !FWindow) return;
    win::HWND wnd = FWindow->Handle();
    win::KillTimer(wnd, PoolTimerId);
    if (FInterval != 0 && FActiveCount > 0 && win::SetTimer(wnd, PoolTimerId, FInterval, nullptr) == 0)
        throw ENoTimersAvailable();
}

void TZelTimerPool::Fire() {
    try {
        const std::uint32_t now = rtl::GetTickCount();
        std::size_t i = 0;
        while (i < FTriggers.size()) {
            TTrigger& t = FTriggers[i];
            if (!t.Active ||
                static_cast<std::int64_t>(now - t.LastTick) < std::int64_t(t.Interval) - EarlySlack) {
                ++i;
                continue;
            }
            t.LastTick = now;
            const int handle = t.Handle;
            const std::uint16_t interval = t.Interval;
            const std::int32_t elapsed = static_cast<std::int32_t>(now - t.StartTick);
            const bool repeat = t.Repeat;
            // Copies: an event may remove its own trigger.
            if (TTriggerEvent own = t.OnTrigger) own(this, handle, interval, elapsed);
            if (TTriggerEvent all = OnAllTriggers) all(this, handle, interval, elapsed);
            if (!repeat) RemoveTrigger(handle);
            if (i < FTriggers.size() && FTriggers[i].Handle == handle) ++i;
        }
    } catch (...) {
        vcl::Application->HandleException(this);
    }
}

// --- Controller -----------------------------------------------------------------------------

TZelController::TZelController(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner), FEntryCommands(std::make_unique<TZelCommandProcessor>()),
      FTimerPool(std::make_unique<TZelTimerPool>(nullptr)) {
    FTimerPool->OnAllTriggers = [this](vcl::TObject* Sender, int Handle, std::uint16_t Interval,
                                       std::int32_t Elapsed) {
        if (OnTimerTrigger) OnTimerTrigger(Sender, Handle, Interval, Elapsed);
    };
    // The owner announced this component while it was not yet a controller, so the controls
    // beside it that have none are told here.
    if (AOwner)
        for (int i = 0; i < AOwner->ComponentCount(); ++i)
            if (auto* control = dynamic_cast<TZelBase*>(AOwner->Components(i)))
                if (!control->ControllerAssigned()) control->SetController(this);
}

TZelController::~TZelController() {
    Destroying();
    FEntryCommands.reset();
    FTimerPool.reset();
    FWindow.reset();
}

void TZelController::SetEpoch(int Value) {
    if (Value != FEpoch && Value >= 1600 && Value <= 3999) FEpoch = Value;
}

void TZelController::SetButton(vcl::TWinControl*& Field, vcl::TWinControl* Value) {
    Field = Value;
    if (Value) Value->FreeNotification(this);
}

void TZelController::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::TOperation::opRemove) return;
    if (AComponent == FBtnCancel) FBtnCancel = nullptr;
    if (AComponent == FBtnHelp) FBtnHelp = nullptr;
    if (AComponent == FBtnRestore) FBtnRestore = nullptr;
}

bool TZelController::IsSpecialButton(win::HWND Wnd) {
    for (vcl::TWinControl* button : {FBtnCancel, FBtnHelp, FBtnRestore})
        if (button && button->HandleAllocated() && button->Handle() == Wnd) return true;
    return false;
}

void TZelController::DoOnError(vcl::TObject* Field, std::uint16_t ErrorCode,
                               const std::string& ErrorMsg) {
    if (OnError)
        OnError(Field, ErrorCode, ErrorMsg);
    else
        vcl::MessageDlg(ErrorMsg, vcl::TMsgDlgType::mtError, vcl::mbOK, 0);
}

void TZelController::DoOnPreEdit(vcl::TObject* Field, vcl::TWinControl* LosingControl) {
    if (OnPreEdit) OnPreEdit(Field, LosingControl);
}

void TZelController::DoOnPostEdit(vcl::TObject* Field, vcl::TWinControl* GainingControl) {
    if (OnPostEdit) OnPostEdit(Field, GainingControl);
}

win::HWND TZelController::Handle() {
    if (!FWindow)
        FWindow = std::make_unique<TZelHiddenWindow>(
            [this](unsigned Msg, win::WPARAM WParam, win::LPARAM LParam) {
                return HiddenWindowMessage(Msg, WParam, LParam);
            });
    return FWindow->Handle();
}

win::LRESULT TZelController::HiddenWindowMessage(unsigned Msg, win::WPARAM WParam,
                                                 win::LPARAM LParam) {
    if (Msg != ZM_REFOCUS) return win::DefWindowProc(FWindow->Handle(), Msg, WParam, LParam);
    // Posted, so the control may be gone by now: only one still on the form is touched.
    const void* target = reinterpret_cast<const void*>(LParam);
    vcl::TComponent* form = Owner();
    if (target && form && OwnsComponent(form, target)) {
        try {
            auto* control = static_cast<vcl::TWinControl*>(reinterpret_cast<vcl::TComponent*>(LParam));
            control->Show();
            if (control->CanFocus()) control->SetFocus();
        } catch (...) {
            vcl::Application->HandleException(this);
        }
    }
    // A field that takes the focus back clears the mark itself; one that cannot must not leave
    // it set, or no field of the form would report an error again.
    FErrorPending = false;
    return 0;
}

// --- Base control ---------------------------------------------------------------------------

TZelBase::TZelBase(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {}

TZelBase::~TZelBase() { Destroying(); }

void TZelBase::SetController(TZelController* Value) {
    FController = Value;
    if (Value) Value->FreeNotification(this);
}

void TZelBase::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TCustomControl::Notification(AComponent, Operation);
    if (Operation == vcl::TOperation::opRemove && AComponent == FController)
        FController = nullptr;
    else if (Operation == vcl::TOperation::opInsert && !FController)
        if (auto* controller = dynamic_cast<TZelController*>(AComponent)) FController = controller;
}

void TZelBase::CreateWnd() {
    if (!FController && !IsLoading()) {
        if (vcl::TCustomForm* form = vcl::GetParentForm(this)) {
            for (int i = 0; i < form->ComponentCount() && !FController; ++i)
                if (auto* controller = dynamic_cast<TZelController*>(form->Components(i)))
                    SetController(controller);
        }
        if (!FController && !IsDesigning()) throw ENoControllerAssigned();
    }
    vcl::TCustomControl::CreateWnd();
}

} // namespace editor
