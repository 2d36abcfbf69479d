// The controller every form with editor-library controls holds, the base class of those
// controls, and the timer pool that runs any number of timed triggers on one window timer.
// Implementations in ZelController.cpp.
#pragma once

#include "editor/KeyCommands.h"
#include "vcl/Controls.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace editor {

// Messages of the library's controls and hidden windows.
constexpr unsigned ZM_FIELDERROR = 32512;   // to a field: wParam the error code
constexpr unsigned ZM_REFOCUS = 32513;      // to the controller: lParam the control
constexpr unsigned ZM_SHOWSTATUS = 32514;   // to an editor: caret column and line
constexpr unsigned ZM_VALUESIZE = 32515;    // to a field: the size of its typed value

using TTriggerEvent = std::function<void(vcl::TObject* Sender, int Handle, std::uint16_t Interval,
                                         std::int32_t ElapsedTime)>;
using TDataErrorEvent =
    std::function<void(vcl::TObject* Sender, std::uint16_t ErrorCode, const std::string& ErrorMsg)>;
using TPostEditEvent = std::function<void(vcl::TObject* Sender, vcl::TWinControl* GainingControl)>;
using TPreEditEvent = std::function<void(vcl::TObject* Sender, vcl::TWinControl* LosingControl)>;

// A window that is never shown and hands its messages to its owner.
class TZelHiddenWindow {
public:
    using THandler = std::function<win::LRESULT(unsigned Msg, win::WPARAM, win::LPARAM)>;
    explicit TZelHiddenWindow(THandler Handler);
    ~TZelHiddenWindow();
    TZelHiddenWindow(const TZelHiddenWindow&) = delete;
    TZelHiddenWindow& operator=(const TZelHiddenWindow&) = delete;

    win::HWND Handle() const { return FHandle; }

private:
    static win::LRESULT WndProc(win::HWND, unsigned, win::WPARAM, win::LPARAM);
    THandler FHandler;
    win::HWND FHandle = nullptr;
};

class TZelTimerPool : public vcl::TComponent {
public:
    explicit TZelTimerPool(vcl::TComponent* AOwner);
    ~TZelTimerPool() override;

    // A trigger due Interval milliseconds from now; its handle. A trigger without Repeat is
    // removed after it fires once.
    int AddTrigger(std::uint16_t Interval, bool Repeat, TTriggerEvent OnTrigger = {});
    // A handle no trigger has does nothing.
    void RemoveTrigger(int Handle);
    void SetTriggerActive(int Handle, bool Active);
    bool HasTrigger(int Handle) const;

    // The shared timer's interval in milliseconds; 0 when no timer runs.
    std::uint16_t Interval() const { return FInterval; }
    std::uint16_t ActiveCount() const { return FActiveCount; }
    win::HWND Handle() const { return FWindow ? FWindow->Handle() : nullptr; }

    TTriggerEvent OnAllTriggers;

private:
    struct TTrigger {
        bool Active = true;
        int Handle = 0;
        std::uint32_t StartTick = 0;
        std::uint16_t Interval = 0;
        std::uint32_t LastTick = 0;
        TTriggerEvent OnTrigger;
        bool Repeat = false;
    };

    void TriggersChanged();
    void ComputeInterval();
    void RestartTimer();
    void Fire();
    std::size_t IndexOf(int Handle) const;

    std::vector<TTrigger> FTriggers;
    std::unique_ptr<TZelHiddenWindow> FWindow;
    std::uint16_t FInterval = 0;
    std::uint16_t FActiveCount = 0;
    int FNextHandle = 1;
};

class TZelController : public vcl::TComponent {
public:
    explicit TZelController(vcl::TComponent* AOwner);
    ~TZelController() override;

    // Buttons to which the focus may move from an entry field without validation.
    vcl::TWinControl* BtnCancel() const { return FBtnCancel; }
    vcl::TWinControl* BtnHelp() const { return FBtnHelp; }
    vcl::TWinControl* BtnRestore() const { return FBtnRestore; }
    void SetBtnCancel(vcl::TWinControl* Value) { SetButton(FBtnCancel, Value); }
    void SetBtnHelp(vcl::TWinControl* Value) { SetButton(FBtnHelp, Value); }
    void SetBtnRestore(vcl::TWinControl* Value) { SetButton(FBtnRestore, Value); }

    TZelCommandProcessor& EntryCommands() { return *FEntryCommands; }
    int Epoch() const { return FEpoch; }
    // Only years from 1600 to 3999 are taken.
    void SetEpoch(int Value);

    bool ErrorPending() const { return FErrorPending; }
    void SetErrorPending(bool Value) { FErrorPending = Value; }
    const std::string& LastErrorText() const { return FLastErrorText; }
    void SetLastErrorText(std::string Value) { FLastErrorText = std::move(Value); }
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value) { FInsertMode = Value; }

    TZelTimerPool& TimerPool() { return *FTimerPool; }
    // The hidden window, made on first use.
    win::HWND Handle();

    // OnError when assigned, else an error box.
    void DoOnError(vcl::TObject* Field, std::uint16_t ErrorCode, const std::string& ErrorMsg);
    void DoOnPreEdit(vcl::TObject* Field, vcl::TWinControl* LosingControl);
    void DoOnPostEdit(vcl::TObject* Field, vcl::TWinControl* GainingControl);
    virtual bool IsSpecialButton(win::HWND Wnd);

    TDataErrorEvent OnError;
    TPostEditEvent OnPostEdit;
    TPreEditEvent OnPreEdit;
    TTriggerEvent OnTimerTrigger;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void SetButton(vcl::TWinControl*& Field, vcl::TWinControl* Value);
    win::LRESULT HiddenWindowMessage(unsigned Msg, win::WPARAM WParam, win::LPARAM LParam);

    vcl::TWinControl* FBtnCancel = nullptr;
    vcl::TWinControl* FBtnHelp = nullptr;
    vcl::TWinControl* FBtnRestore = nullptr;
    std::unique_ptr<TZelCommandProcessor> FEntryCommands;
    int FEpoch = 1900;
    bool FErrorPending = false;
    std::string FLastErrorText;
    bool FInsertMode = true;
    std::unique_ptr<TZelTimerPool> FTimerPool;
    std::unique_ptr<TZelHiddenWindow> FWindow;
};

// The base of the library's windowed controls: it finds its form's controller.
class TZelBase : public vcl::TCustomControl {
public:
    explicit TZelBase(vcl::TComponent* AOwner);
    ~TZelBase() override;

    TZelController* Controller() const { return FController; }
    void SetController(TZelController* Value);
    bool ControllerAssigned() const { return FController != nullptr; }

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    // Takes the form's controller; at run time a form without one raises ENoControllerAssigned.
    void CreateWnd() override;

private:
    TZelController* FController = nullptr;
};

// The class between the base control and the editor.
class TZelEditBase : public TZelBase {
public:
    using TZelBase::TZelBase;
};

} // namespace editor
