// Forms, the application object with its message loop, hints and help calls, and the screen.
// Implementations in Forms.cpp (forms and the screen) and Application.cpp.
#pragma once

#include "vcl/Controls.h"

#include "rtl/StringLists.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace vcl {

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
enum TBorderIconFlag : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

class TMainMenu;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    void AfterConstruction() override;

    void Show();
    void Hide();
    // Asks OnCloseQuery, then OnClose with the close action; a modal form ends its loop instead.
    void Close();
    bool CloseQuery();
    // Shows the form with every other window of the thread disabled until ModalResult is set.
    TModalResult ShowModal();
    // Frees the form once the messages queued before have run.
    void Release();

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool Modal() const { return FModal; }
    bool Active() const { return FActive; }

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    // Makes Control the active control and gives it the focus when the form is showing.
    void FocusControl(TWinControl* Control);
    // Called when a control of the form got the focus: OnExit and OnEnter run.
    void SetFocusedControl(TWinControl* Control);
    // A control that goes away or can no longer take the focus gives it back.
    void DefocusControl(TWinControl* Control, bool Removing);

    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    // Tracking-size limits of the window; 0 for none.
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetTrackingLimits(int AMinWidth, int AMinHeight, int AMaxWidth, int AMaxHeight);
    TCanvas* Canvas() const { return FCanvas.get(); }
    // The menu bar; the form runs its items' shortcuts.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    bool IsShortCut(unsigned Key, TShiftState Shift);
    // Stored forms hold their controls, then the menus they own.
    void GetChildren(const std::function<void(TComponent*)>& Proc) const override;
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnResize;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    using TWinControl::KeyDown;
    using TWinControl::KeyPress;
    using TWinControl::KeyUp;

protected:
    friend class TWinControl;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void PaintWindow(win::HDC DC) override;
    virtual void Paint();
    virtual void DoClose(TCloseAction& Action);
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();
    virtual void Resize();
    void CMShowingChanged(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ApplyPosition();
    void CloseModal();
    void WMActivate(TMessage& Message);
    void WMClose(TMessage& Message);
    void WMGetMinMaxInfo(TMessage& Message);
    void CMRelease(TMessage& Message);

    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FActive = false;
    bool FKeyPreview = false;
    bool FShown = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = TPosition::poDesigned;
    TWindowState FWindowState = TWindowState::wsNormal;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
    int FPixelsPerInch = 96;
    std::unique_ptr<TControlCanvas> FCanvas;
    TMainMenu* FMenu = nullptr;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

// A small window with the hint text, on the info colours.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    void ActivateHint(const TRect& Rect, const std::string& AHint);
    void ReleaseHint();
    TRect CalcHintRect(int MaxWidth, const std::string& AHint);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void UpdateShowing() override;
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TMessageEvent = std::function<void(win::MSG& Msg, bool& Handled)>;

// WinHelp commands.
constexpr unsigned HELP_CONTEXT = 0x0001;
constexpr unsigned HELP_QUIT = 0x0002;
constexpr unsigned HELP_CONTENTS = 0x0003;
constexpr unsigned HELP_HELPONHELP = 0x0004;
constexpr unsigned HELP_SETCONTENTS = 0x0005;
constexpr unsigned HELP_KEY = 0x0101;
constexpr unsigned HELP_PARTIALKEY = 0x0105;
constexpr unsigned HELP_FINDER = 0x000B;

// The help system's stand-in: every call is recorded for the tests (vcl/TestHooks.h). A help
// file that is not there (named without a folder: neither in the current folder nor in Windows')
// is named to the user in a message box, and the call fails; so does a call without a help file.
bool WinHelp(win::HWND Wnd, const std::string& HelpFile, unsigned Command, std::uintptr_t Data);

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // The application's window: one made on demand, or the one given (a library's host window).
    win::HWND Handle();
    void SetHandle(win::HWND Value);
    bool HandleAllocated() const { return FHandle != nullptr; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& Value) { FHelpFile = Value; }
    TCustomForm* MainForm() const { return FMainForm; }
    bool Terminated() const { return FTerminated; }
    // Whether the active window is one of this application's.
    bool Active() const;
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    TColor HintColor() const { return FHintColor; }
    THintWindow* HintWindow() const { return FHintWindow; }

    template <class T>
    T* CreateForm() {
        T* form = Make<T>(this);
        if (!FMainForm) FMainForm = form;
        return form;
    }
    void SetMainForm(TCustomForm* Form) { FMainForm = Form; }

    void Initialize() {}
    // Shows the main form and runs the message loop until Terminate or the main form closes.
    void Run();
    void Terminate();
    // Runs every message that waits, then returns.
    void ProcessMessages();
    // Runs one message, or idles and waits for the next.
    void HandleMessage();
    // An exception that left a handler: OnException, or the error box (a silent abort: nothing).
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);

    bool HelpContext(int Context);
    bool HelpCommand(unsigned Command, std::uintptr_t Data);
    bool HelpJump(const std::string& JumpID);

    // Hints: the control under the mouse, the pause before the window shows.
    void HintMouseMessage(TControl* Control, TMessage& Message);
    void CancelHint();
    void ActivateHint(TPoint CursorPos);

    TExceptionEvent OnException;
    TNotifyEvent OnHint;
    TIdleEvent OnIdle;
    TMessageEvent OnMessage;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool ProcessMessage();
    void Idle();
    void HintTimerExpired();
    static void CALLBACK_HintTimer(win::HWND, unsigned, win::UINT_PTR, win::DWORD);
    static win::LRESULT CALLBACK_AppWndProc(win::HWND, unsigned, win::WPARAM, win::LPARAM);
    void StartHintTimer(unsigned Ms);
    void StopHintTimer();

    win::HWND FHandle = nullptr;
    bool FOwnHandle = false;
    std::string FTitle;
    std::string FHelpFile;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    std::string FHint;
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    TColor FHintColor = clInfoBk;
    TControl* FHintControl = nullptr;
    THintWindow* FHintWindow = nullptr;
    win::UINT_PTR FHintTimer = 0;
    bool FHintShowing = false;
    bool FHandlingException = false;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    int Width() const;
    int Height() const;
    int PixelsPerInch() const;
    TCursor Cursor() const { return FCursor; }
    // The hourglass and the other screen cursors show at once, over every control's own cursor.
    void SetCursor(TCursor Value);
    win::HCURSOR Cursors(TCursor Index);
    void SetCursors(TCursor Index, win::HCURSOR Value);
    rtl::TStrings* Fonts();
    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int Index) const { return FForms[std::size_t(Index)]; }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void SetActiveForm(TCustomForm* Form);
    void SetActiveControl(TWinControl* Control);

    TCursor FCursor = crDefault;
    std::vector<std::pair<TCursor, win::HCURSOR>> FCursors;
    std::unique_ptr<rtl::TStringList> FFonts;
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
};

// One of each per copy of the class library (per program or library).
extern TApplication* Application;
extern TScreen* Screen;

// Made on first use of the class library in a module; tests may reset them between cases.
void InitApplication();
void DoneApplication();

TCustomForm* GetParentForm(TControl* Control);
// Disables every visible, enabled window of the thread but Except, for a window shown modally;
// answers the ones it disabled, for EnableTaskWindows to enable again (those still there).
std::vector<win::HWND> DisableTaskWindows(win::HWND Except);
void EnableTaskWindows(const std::vector<win::HWND>& Windows);
// The text before and after the '|' of a hint.
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

} // namespace vcl
