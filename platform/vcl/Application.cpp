// The application object: its window, the message loop, exceptions, hints and help calls.
#include "vcl/Forms.h"
#include "vcl/TestHooks.h"

#include "vcl/Dialogs.h"
#include "vcl/Menus.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"

namespace vcl {

using namespace win;

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

void InitApplication() {
    if (!Application) Application = new TApplication(nullptr);
    if (!Screen) Screen = new TScreen(nullptr);
}

void DoneApplication() {
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
}

namespace {
// The application and the screen exist from the start of the module to its end.
struct ApplicationUnit {
    ApplicationUnit() {
        // The window system's state and the menus' are made before the application (a window,
        // a DC, a font, the queue, the menu commands), so that they are still there when the
        // application's forms go at the end.
        detail::MakeMenuState();
        InitApplication();
        HWND wnd = Application->Handle();
        HDC dc = GetDC(wnd);
        LOGFONT lf;
        lf.lfHeight = -11;
        HFONT font = CreateFontIndirect(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size;
        GetTextExtentPoint32(dc, "x", 1, &size);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(wnd, dc);
        HasQueuedInput();
        GetCursor();
        GetFocus();
        GetKeyState(VK_SHIFT);
        IsClipboardFormatAvailable(CF_TEXT);
        GetCaretBlinkTime();
    }
    ~ApplicationUnit() { DoneApplication(); }
} Unit;

std::vector<THelpCall>& HelpCalls() {
    static std::vector<THelpCall> calls;
    return calls;
}
} // namespace

namespace {
// A help file named without a folder is looked for in the current folder, then in Windows'.
bool HelpFileThere(const std::string& HelpFile) {
    if (HelpFile.empty()) return false;
    if (!rtl::ExtractFilePath(HelpFile).empty()) return rtl::FileExists(HelpFile);
    for (std::string dir : {rtl::GetCurrentDir(), rtl::GetWindowsDirectory()}) {
        if (!dir.empty() && dir.back() != '\\') dir += '\\';
        if (rtl::FileExists(dir + HelpFile)) return true;
    }
    return false;
}
} // namespace

bool WinHelp(HWND Wnd, const std::string& HelpFile, unsigned Command, std::uintptr_t Data) {
    THelpCall call{Wnd, HelpFile, Command, Data, {}};
    if ((Command == HELP_KEY || Command == HELP_PARTIALKEY) && Data)
        call.Key = reinterpret_cast<const char*>(Data);
    HelpCalls().push_back(call);
    if (Command == HELP_QUIT) return true;
    // A program that named no help file has none to show.
    if (HelpFile.empty()) return false;
    if (!HelpFileThere(HelpFile)) {
        // As the help system does, the user hears which file is missing.
        MessageBox(Wnd, "Cannot find the " + HelpFile + " file.", "Windows Help", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

const std::vector<THelpCall>& RecordedHelpCalls() { return HelpCalls(); }
void ClearRecordedHelpCalls() { HelpCalls().clear(); }

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
    Destroying();
    StopHintTimer();
    DestroyComponents();
    FHintWindow = nullptr;
    if (FOwnHandle && FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
}

LRESULT TApplication::CALLBACK_AppWndProc(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam) {
    if (Application && Application->FHandle == Wnd) {
        if (Msg == WM_ACTIVATEAPP) {
            TNotifyEvent& handler = WParam ? Application->OnActivate : Application->OnDeactivate;
            if (handler) {
                try {
                    handler(Application);
                } catch (...) {
                    Application->HandleException(Application);
                }
            }
        }
        if (Msg == WM_CLOSE) {
            if (Application->FMainForm) Application->FMainForm->Close();
            return 0;
        }
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

HWND TApplication::Handle() {
    if (FHandle && !IsWindow(FHandle)) FHandle = nullptr;
    if (!FHandle) {
        static const char* className = "TApplication";
        WNDCLASS wc;
        if (!GetClassInfo(ModuleInstance(), className, &wc) || wc.hInstance != ModuleInstance()) {
            WNDCLASS made;
            made.lpfnWndProc = &CALLBACK_AppWndProc;
            made.hInstance = ModuleInstance();
            made.lpszClassName = className;
            RegisterClass(&made);
        }
        // Hidden and out of sight, as the application's window was.
        FHandle = CreateWindowEx(0, className, FTitle.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                 GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                 nullptr, nullptr, ModuleInstance(), nullptr);
        FOwnHandle = FHandle != nullptr;
    }
    return FHandle;
}

void TApplication::SetHandle(HWND Value) {
    if (Value == FHandle) return;
    if (FOwnHandle && FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
    FHandle = Value;
    FOwnHandle = false;
}

bool TApplication::Active() const {
    HWND active = GetActiveWindow();
    return active && (active == FHandle || FindControl(active));
}

void TApplication::SetTitle(const std::string& Value) {
    FTitle = Value;
    if (FHandle && FOwnHandle) SetWindowText(FHandle, Value.c_str());
}

void TApplication::SetHint(const std::string& Value) {
    if (Value == FHint) return;
    FHint = Value;
    if (OnHint) {
        try {
            OnHint(this);
        } catch (...) {
            HandleException(this);
        }
    }
}

bool TApplication::ProcessMessage() {
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    bool handled = false;
    if (OnMessage) {
        try {
            OnMessage(msg, handled);
        } catch (...) {
            HandleException(this);
            handled = true;
        }
    }
    if (!handled) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TApplication::Idle() {
    bool done = true;
    if (OnIdle) {
        try {
            OnIdle(this, done);
        } catch (...) {
            HandleException(this);
        }
    }
    FreeDeviceContexts();
    if (done) WaitMessage();
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) Idle();
}

void TApplication::Run() {
    FTerminated = false;
    if (FMainForm) FMainForm->Show();
    while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

void TApplication::HandleException(TObject* Sender) {
    std::exception_ptr current = std::current_exception();
    if (!current) return;
    try {
        std::rethrow_exception(current);
    } catch (const rtl::EAbort&) {
        return;
    } catch (const EMessageLoopIdle&) {
        throw; // a test's loop that would wait for ever ends here
    } catch (const std::exception& e) {
        if (FHandlingException) return;
        FHandlingException = true;
        try {
            if (OnException) OnException(Sender, e);
            else ShowException(e);
        } catch (const EMessageLoopIdle&) {
            FHandlingException = false;
            throw;
        } catch (...) {
        }
        FHandlingException = false;
    } catch (...) {
        rtl::Exception unknown("Unknown exception");
        try {
            ShowException(unknown);
        } catch (const EMessageLoopIdle&) {
            throw;
        } catch (...) {
        }
    }
}

void TApplication::ShowException(const std::exception& E) {
    std::string text = E.what();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, FTitle, MB_OK | MB_ICONHAND);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
    return vcl::MessageBox(Handle(), Text, Caption, Flags);
}

bool TApplication::HelpCommand(unsigned Command, std::uintptr_t Data) {
    return WinHelp(Handle(), FHelpFile, Command, Data);
}

bool TApplication::HelpContext(int Context) { return HelpCommand(HELP_CONTEXT, std::uintptr_t(Context)); }

bool TApplication::HelpJump(const std::string& JumpID) {
    return WinHelp(Handle(), FHelpFile, HELP_KEY, std::uintptr_t(JumpID.c_str()));
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    if (AComponent == FHintControl) {
        FHintControl = nullptr;
        CancelHint();
    }
    if (AComponent == FHintWindow) FHintWindow = nullptr;
    if (AComponent == FMainForm) FMainForm = nullptr;
}

// --- Hints ----------------------------------------------------------------------------------

void TApplication::CALLBACK_HintTimer(HWND, unsigned, UINT_PTR, DWORD) {
    if (Application) Application->HintTimerExpired();
}

void TApplication::StartHintTimer(unsigned Ms) {
    StopHintTimer();
    FHintTimer = SetTimer(nullptr, 0, Ms, &CALLBACK_HintTimer);
}

void TApplication::StopHintTimer() {
    if (FHintTimer) KillTimer(nullptr, FHintTimer);
    FHintTimer = 0;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
    if (Message.Msg == WM_MOUSEMOVE) {
        if (Control != FHintControl) {
            CancelHint();
            FHintControl = Control;
            if (Control) Control->FreeNotification(this);
            SetHint(Control ? GetLongHint(Control->Hint()) : std::string());
            if (Control && FShowHint && Control->ShowHint() && !GetShortHint(Control->Hint()).empty())
                StartHintTimer(unsigned(FHintPause));
        }
        return;
    }
    if (Message.Msg >= WM_LBUTTONDOWN && Message.Msg <= WM_MOUSELAST) CancelHint();
}

void TApplication::CancelHint() {
    StopHintTimer();
    if (FHintWindow) FHintWindow->ReleaseHint();
    FHintShowing = false;
}

void TApplication::HintTimerExpired() {
    StopHintTimer();
    if (FHintShowing) {
        CancelHint();
        return;
    }
    POINT p;
    GetCursorPos(&p);
    ActivateHint(p);
}

void TApplication::ActivateHint(TPoint CursorPos) {
    TControl* control = FHintControl;
    if (!control || !control->Showing()) return;
    std::string text = GetShortHint(control->Hint());
    if (text.empty()) return;
    if (!FHintWindow) {
        FHintWindow = new THintWindow(this);
        FHintWindow->SetName("HintWindow");
    }
    TRect r = FHintWindow->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), text);
    OffsetRect(&r, CursorPos.x, CursorPos.y + 20);
    FHintWindow->ActivateHint(r, text);
    FHintShowing = true;
    StartHintTimer(unsigned(FHintHidePause));
}

} // namespace vcl
