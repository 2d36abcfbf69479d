// Forms: showing, modal loops, closing, activation, focus, border styles, position and limits.
#include "vcl/Forms.h"

#include "vcl/Menus.h"
#include "vcl/StoredControls.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>

namespace vcl {

using namespace win;

TCustomForm* GetParentForm(TControl* Control) { return Control ? Control->ParentForm() : nullptr; }

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetVisible(false);
    SetParentColor(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    if (Screen) Screen->RemoveForm(this);
    if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
    FActiveControl = FFocusedControl = nullptr;
}

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    // A form class with a form resource is laid out from it; the handlers it binds run from here.
    InitInheritedComponent(this);
    if (OnCreate && !IsDesigning()) OnCreate(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove) {
        if (AComponent == FActiveControl) FActiveControl = nullptr;
        if (AComponent == FFocusedControl) FFocusedControl = nullptr;
        if (AComponent == FMenu) {
            FMenu = nullptr;
            if (HandleAllocated() && !Parent()) ::win::SetMenu(Handle(), nullptr);
        }
    }
}

void TCustomForm::CreateParams(TCreateParams& P) {
    TWinControl::CreateParams(P);
    P.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    P.ExStyle = 0;
    if (Parent()) {
        // A form put on a control is a child window of it.
        P.Style |= WS_CHILD;
        P.WndParent = Parent()->Handle();
    } else {
        // A form belongs to the application's window (a library's forms to the host's main window).
        P.WndParent = ParentWindow() ? ParentWindow() : (Application ? Application->Handle() : nullptr);
    }
    switch (FBorderStyle) {
    case TFormBorderStyle::bsNone:
        if (!Parent()) P.Style |= WS_POPUP;
        break;
    case TFormBorderStyle::bsSingle: P.Style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable: P.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog:
        P.Style |= (Parent() ? 0 : WS_POPUP) | WS_CAPTION | WS_BORDER;
        P.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case TFormBorderStyle::bsToolWindow:
        P.Style |= WS_CAPTION | WS_BORDER;
        P.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (FBorderStyle != TFormBorderStyle::bsNone && (FBorderIcons & biSystemMenu)) {
        P.Style |= WS_SYSMENU;
        if (FBorderStyle != TFormBorderStyle::bsDialog && FBorderStyle != TFormBorderStyle::bsToolWindow) {
            if (FBorderIcons & biMinimize) P.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons & biMaximize) P.Style |= WS_MAXIMIZEBOX;
        }
    }
    // "?" stands in the caption only where no minimize or maximize box does.
    if (FBorderStyle != TFormBorderStyle::bsNone && FBorderStyle != TFormBorderStyle::bsToolWindow &&
        (FBorderIcons & biSystemMenu) && (FBorderIcons & biHelp) &&
        (FBorderStyle == TFormBorderStyle::bsDialog || !(FBorderIcons & (biMinimize | biMaximize))))
        P.ExStyle |= WS_EX_CONTEXTHELP;
    if (FFormStyle == TFormStyle::fsStayOnTop) P.ExStyle |= WS_EX_TOPMOST;
    if (!Enabled()) P.Style |= WS_DISABLED;
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (FMenu && !Parent()) {
        ::win::SetMenu(Handle(), FMenu->Handle());
        FMenu->SetWindowHandle(Handle());
    }
    if (FFormStyle == TFormStyle::fsStayOnTop)
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (Value == FBorderIcons) return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    if (Value == FFormStyle) return;
    FFormStyle = Value;
    if (HandleAllocated())
        SetWindowPos(Handle(), Value == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
    FWindowState = Value;
    if (HandleAllocated() && Showing())
        ShowWindow(Handle(), Value == TWindowState::wsMinimized   ? SW_SHOWMINIMIZED
                             : Value == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED
                                                                  : SW_RESTORE);
}

void TCustomForm::SetTrackingLimits(int AMinWidth, int AMinHeight, int AMaxWidth, int AMaxHeight) {
    FMinWidth = AMinWidth;
    FMinHeight = AMinHeight;
    FMaxWidth = AMaxWidth;
    FMaxHeight = AMaxHeight;
    int w = Width(), h = Height();
    if (FMinWidth > 0) w = std::max(w, FMinWidth);
    if (FMinHeight > 0) h = std::max(h, FMinHeight);
    if (FMaxWidth > 0) w = std::min(w, FMaxWidth);
    if (FMaxHeight > 0) h = std::min(h, FMaxHeight);
    SetBounds(Left(), Top(), w, h);
}

void TCustomForm::WMGetMinMaxInfo(TMessage& M) {
    DefaultHandler(M);
    auto* info = reinterpret_cast<MINMAXINFO*>(M.LParam);
    if (!info) return;
    if (FMinWidth > 0) info->ptMinTrackSize.x = FMinWidth;
    if (FMinHeight > 0) info->ptMinTrackSize.y = FMinHeight;
    if (FMaxWidth > 0) info->ptMaxTrackSize.x = FMaxWidth;
    if (FMaxHeight > 0) info->ptMaxTrackSize.y = FMaxHeight;
}

void TCustomForm::Show() {
    SetVisible(true);
    if (HandleAllocated()) BringWindowToTop(Handle());
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::ApplyPosition() {
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    switch (FPosition) {
    case TPosition::poScreenCenter:
        SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
        break;
    case TPosition::poDefault:
    case TPosition::poDefaultPosOnly: {
        // Cascade from the top-left as the system placed new windows.
        static int next = 0;
        int offset = 22 * (next++ % 8);
        SetBounds(offset + 10, offset + 10, Width(), Height());
        break;
    }
    default: break;
    }
}

void TCustomForm::CMShowingChanged(TMessage&) {
    HWND h = Handle();
    if (Showing()) {
        if (!FShown) {
            FShown = true;
            ApplyPosition();
        }
        DoShow();
        int cmd = FWindowState == TWindowState::wsMinimized   ? SW_SHOWMINIMIZED
                  : FWindowState == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED
                                                              : SW_SHOWNORMAL;
        ShowWindow(h, cmd);
        SetActiveWindow(h);
        if (!FActiveControl) {
            if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FActiveControl = first;
        }
        if (FActiveControl && FActiveControl->CanFocus()) win::SetFocus(FActiveControl->Handle());
        else if (GetActiveWindow() == h) win::SetFocus(h);
    } else {
        DoHide();
        ShowWindow(h, SW_HIDE);
        FActive = false;
    }
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    switch (action) {
    case TCloseAction::caNone: return;
    case TCloseAction::caHide:
        if (Application && Application->MainForm() == this) Application->Terminate();
        Hide();
        return;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); return;
    case TCloseAction::caFree:
        if (Application && Application->MainForm() == this) Application->Terminate();
        Release();
        return;
    }
}

void TCustomForm::CloseModal() {
    TCloseAction action = TCloseAction::caNone;
    try {
        if (CloseQuery()) {
            action = TCloseAction::caHide;
            DoClose(action);
        }
    } catch (...) {
        FModalResult = mrNone;
        if (Application) Application->HandleException(this);
        return;
    }
    if (action == TCloseAction::caNone) FModalResult = mrNone;
    else if (action == TCloseAction::caFree) Release();
}

namespace {

struct DisabledWindows {
    HWND except;
    std::vector<HWND> list;
};

BOOL DisableOne(HWND wnd, LPARAM param) {
    auto* d = reinterpret_cast<DisabledWindows*>(param);
    if (wnd != d->except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
        d->list.push_back(wnd);
        EnableWindow(wnd, FALSE);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> DisableTaskWindows(HWND Except) {
    DisabledWindows disabled{Except, {}};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, LPARAM(&disabled));
    return std::move(disabled.list);
}

void EnableTaskWindows(const std::vector<HWND>& Windows) {
    for (HWND w : Windows)
        if (IsWindow(w)) EnableWindow(w, TRUE);
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FModal)
        throw rtl::EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture()) ReleaseCapture();
    FModal = true;
    // The window active before gets the activation back at the end, even when the windows the
    // loop showed and hid on its way left none active.
    HWND activeBefore = GetActiveWindow();
    auto reactivate = [&] {
        if (activeBefore && activeBefore != Handle() && IsWindow(activeBefore) && IsWindowVisible(activeBefore) &&
            IsWindowEnabled(activeBefore))
            SetActiveWindow(activeBefore);
    };
    const std::vector<HWND> disabled = DisableTaskWindows(Handle());
    bool ended = false;
    rtl::TScopeExit end([&] {
        // Other windows come back before this one hides, so that one of them gets activated.
        EnableTaskWindows(disabled);
        FModal = false;
        if (ended || HandleAllocated()) Hide();
        reactivate();
    });
    Show();
    FModalResult = mrNone;
    do {
        Application->HandleMessage();
        if (Application->Terminated()) FModalResult = mrCancel;
        else if (FModalResult != mrNone) CloseModal();
    } while (FModalResult == mrNone);
    ended = true;
    return FModalResult;
}

void TCustomForm::Release() {
    if (HandleAllocated()) PostMessage(Handle(), CM_RELEASE, 0, 0);
    else delete this;
}

void TCustomForm::CMRelease(TMessage&) { delete this; }

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control == FActiveControl) return;
    if (Control && (Control == this || Control->ParentForm() != this || !Control->CanFocus()) && !IsLoading())
        throw rtl::EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = Control;
    if (Control) Control->FreeNotification(this);
    if (Control && FActive && Control->HandleAllocated()) win::SetFocus(Control->Handle());
}

void TCustomForm::FocusControl(TWinControl* Control) {
    if (!Control) return;
    if (!Control->CanFocus()) throw rtl::EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = Control;
    if (Showing()) win::SetFocus(Control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* Control) {
    TWinControl* previous = FFocusedControl;
    if (Control == this) {
        // The form itself took the focus (its control was disabled or hidden): that control left.
        FFocusedControl = nullptr;
        for (TWinControl* c = previous; c && c != this; c = c->Parent()) c->Perform(CM_EXIT, 0, 0);
        return;
    }
    FActiveControl = Control;
    FFocusedControl = Control;
    if (Screen) Screen->SetActiveControl(Control);
    if (previous == Control) return;
    // Exits from the old control up to the common parent, enters down to the new one.
    std::vector<TWinControl*> leaving, entering;
    for (TWinControl* c = previous; c && c != this; c = c->Parent())
        if (!c->ContainsControl(Control)) leaving.push_back(c);
    for (TWinControl* c = Control; c && c != this; c = c->Parent())
        if (!previous || !c->ContainsControl(previous)) entering.insert(entering.begin(), c);
    for (TWinControl* c : leaving) c->Perform(CM_EXIT, 0, 0);
    for (TWinControl* c : entering) c->Perform(CM_ENTER, 0, 0);
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
    if (Removing && Screen && Control->ContainsControl(Screen->FActiveControl)) Screen->FActiveControl = nullptr;
    if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = nullptr;
    if (Control->ContainsControl(FActiveControl)) {
        FActiveControl = nullptr;
        if (!Removing && Showing() && Control->Focused()) win::SetFocus(Handle());
    }
}

void TCustomForm::CMDialogKey(TMessage& M) {
    unsigned key = unsigned(M.WParam);
    if (key == VK_TAB && !(GetKeyState(VK_CONTROL) < 0) && !(GetKeyState(VK_MENU) < 0)) {
        SelectNext(FActiveControl, !(GetKeyState(VK_SHIFT) < 0), true);
        M.Result = 1;
        return;
    }
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
        if (FActiveControl && FActiveControl->Parent()) {
            FActiveControl->Parent()->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false);
            M.Result = 1;
        }
        return;
    }
    TWinControl::CMDialogKey(M);
}

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (Value == FMenu) return;
    if (FMenu) FMenu->SetWindowHandle(nullptr);
    FMenu = Value;
    if (Value) Value->FreeNotification(this);
    if (HandleAllocated() && !Parent()) {
        // A stored client size is the area below the menu bar: the menu is bound after it is read,
        // so the window grows by the bar instead of the client area shrinking.
        const bool keepClient = IsLoading();
        const TRect client = keepClient ? ClientRect() : TRect{};
        ::win::SetMenu(Handle(), Value ? Value->Handle() : nullptr);
        if (Value) Value->SetWindowHandle(Handle());
        if (keepClient) SetClientSize(client.right, client.bottom);
    }
}

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& Proc) const {
    TWinControl::GetChildren(Proc);
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMenu*>(Components(i))) Proc(menu);
    // Then the other components it owns that a stored form can make again (timers and the like);
    // menu items go with their menus.
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (dynamic_cast<TControl*>(c) || dynamic_cast<TMenu*>(c) || dynamic_cast<TMenuItem*>(c)) continue;
        const TClassInfo* info = GetClass(c->ClassName());
        if (info && info->Create && info->Type == typeid(*c)) Proc(c);
    }
}

bool TCustomForm::IsShortCut(unsigned Key, TShiftState Shift) {
    return FMenu && FMenu->WindowHandle() && FMenu->IsShortCut(Key, Shift);
}

void TCustomForm::Dispatch(TMessage& M) {
    switch (M.Msg) {
    case WM_COMMAND:
        // A menu's command: no control sent it.
        if (M.LParam == 0 && HIWORD(M.WParam) == 0 && FMenu && FMenu->DispatchCommand(LOWORD(M.WParam))) return;
        TWinControl::Dispatch(M);
        return;
    case WM_INITMENUPOPUP:
        if (FMenu) FMenu->DispatchPopup(reinterpret_cast<HMENU>(M.WParam));
        return;
    case WM_MENUSELECT:
        if (FMenu) MenuSelectHint(FMenu, M.WParam, M.LParam);
        return;
    case WM_ACTIVATE: WMActivate(M); return;
    case WM_CLOSE: WMClose(M); return;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(M); return;
    case CM_RELEASE: CMRelease(M); return;
    case CM_ISMODAL: M.Result = FModal ? 1 : 0; return;
    case WM_NEXTDLGCTL:
        // lParam 0: the next control (wParam 0) or the previous one; otherwise wParam is the window.
        if (M.LParam) {
            if (TWinControl* target = FindControl(reinterpret_cast<HWND>(M.WParam)); target && target->CanFocus())
                target->SetFocus();
        } else {
            SelectNext(FActiveControl, M.WParam == 0, true);
        }
        M.Result = 0;
        return;
    default: TWinControl::Dispatch(M);
    }
}

void TCustomForm::WMActivate(TMessage& M) {
    DefaultHandler(M);
    bool active = LOWORD(M.WParam) != WA_INACTIVE;
    if (active == FActive) return;
    FActive = active;
    if (active) {
        if (Screen) Screen->SetActiveForm(this);
        if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated())
            win::SetFocus(FActiveControl->Handle());
        Activate();
    } else {
        Deactivate();
    }
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMSize(TMessage& M) {
    TWinControl::WMSize(M);
    if (M.WParam == SIZE_MINIMIZED) FWindowState = TWindowState::wsMinimized;
    else if (M.WParam == SIZE_MAXIMIZED) FWindowState = TWindowState::wsMaximized;
    else FWindowState = TWindowState::wsNormal;
    Resize();
}

void TCustomForm::Resize() {
    if (OnResize) OnResize(this);
}

void TCustomForm::PaintWindow(HDC DC) {
    FCanvas->PaintWith(DC, [this] { Paint(); });
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

// --- THintWindow ----------------------------------------------------------------------------

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
    SetParentColor(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& P) {
    TCustomControl::CreateParams(P);
    P.Style = WS_POPUP | WS_BORDER | WS_DISABLED;
    P.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    P.WndParent = Application ? Application->Handle() : nullptr;
}

void THintWindow::UpdateShowing() {}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT r{0, 0, MaxWidth, 0};
    DrawText(dc, AHint.c_str(), int(AHint.size()), &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    r.right += 6;
    r.bottom += 2;
    return r;
}

void THintWindow::ActivateHint(const TRect& R, const std::string& AHint) {
    SetText(AHint);
    HWND h = Handle();
    int w = R.right - R.left, hh = R.bottom - R.top;
    int x = std::min<int>(R.left, GetSystemMetrics(SM_CXSCREEN) - w);
    int y = std::min<int>(R.top, GetSystemMetrics(SM_CYSCREEN) - hh);
    SetWindowPos(h, HWND_TOPMOST, std::max(0, x), std::max(0, y), w, hh, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateBounds();
    Invalidate();
}

void THintWindow::ReleaseHint() {
    if (HandleAllocated() && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
}

void THintWindow::Paint() {
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
    r.left += 2;
    r.top += 1;
    Canvas()->Font()->SetColor(clInfoText);
    Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    std::string text = Caption();
    HDC dc = Canvas()->Handle();
    SelectObject(dc, Canvas()->Font()->Handle());
    SetTextColor(dc, ColorToRGB(clInfoText));
    SetBkMode(dc, TRANSPARENT);
    DrawText(dc, text.c_str(), int(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

std::string GetShortHint(const std::string& Hint) {
    auto bar = Hint.find('|');
    return bar == std::string::npos ? Hint : Hint.substr(0, bar);
}

std::string GetLongHint(const std::string& Hint) {
    auto bar = Hint.find('|');
    return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

// --- TScreen --------------------------------------------------------------------------------

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() = default;

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

int TScreen::PixelsPerInch() const {
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi > 0 ? ppi : 96;
}

void TScreen::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    FCursor = Value;
    if (Value == crDefault) {
        // The control under the mouse picks its own again.
        win::SetCursor(Cursors(crArrow));
        POINT p;
        GetCursorPos(&p);
        HWND wnd = WindowFromPoint(p);
        if (FindControl(wnd)) SendMessage(wnd, WM_SETCURSOR, WPARAM(wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    } else {
        win::SetCursor(Cursors(Value));
    }
}

HCURSOR TScreen::Cursors(TCursor Index) {
    for (auto& [id, cursor] : FCursors)
        if (id == Index) return cursor;
    const char* stock = IDC_ARROW;
    switch (Index) {
    case crNone: return nullptr;
    case crCross: stock = IDC_CROSS; break;
    case crIBeam: stock = IDC_IBEAM; break;
    case crSize: stock = IDC_SIZEALL; break;
    case crSizeNESW: stock = IDC_SIZENESW; break;
    case crSizeNS: stock = IDC_SIZENS; break;
    case crSizeNWSE: stock = IDC_SIZENWSE; break;
    case crSizeWE: stock = IDC_SIZEWE; break;
    case crUpArrow: stock = IDC_UPARROW; break;
    case crHourGlass: stock = IDC_WAIT; break;
    case crNoDrop: stock = IDC_NO; break;
    case crHelp: stock = IDC_HELP; break;
    default: break;
    }
    return LoadCursor(nullptr, stock);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Value) {
    for (auto& entry : FCursors)
        if (entry.first == Index) {
            entry.second = Value;
            return;
        }
    FCursors.emplace_back(Index, Value);
}

namespace {
int AddFontFamily(const LOGFONT* lf, const TEXTMETRIC*, DWORD, LPARAM param) {
    auto* list = reinterpret_cast<rtl::TStringList*>(param);
    list->Add(lf->lfFaceName);
    return 1;
}
} // namespace

rtl::TStrings* TScreen::Fonts() {
    if (!FFonts) {
        FFonts = std::make_unique<rtl::TStringList>();
        FFonts->SetSorted(true);
        HDC dc = GetDC(nullptr);
        EnumFontFamilies(dc, nullptr, &AddFontFamily, LPARAM(FFonts.get()));
        ReleaseDC(nullptr, dc);
    }
    return FFonts.get();
}

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
    if (FActiveForm == Form) {
        FActiveForm = nullptr;
        FActiveControl = nullptr;
    }
    if (FActiveControl && FActiveControl->ParentForm() == Form) FActiveControl = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* Form) {
    if (Form == FActiveForm) return;
    FActiveForm = Form;
    // The active form comes first in the list.
    auto it = std::find(FForms.begin(), FForms.end(), Form);
    if (it != FForms.end()) std::rotate(FForms.begin(), it, it + 1);
    if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FActiveControl) FActiveControl = nullptr;
}

void TScreen::SetActiveControl(TWinControl* Control) {
    if (Control == FActiveControl) return;
    FActiveControl = Control;
    if (Control) {
        Control->FreeNotification(this);
        if (TCustomForm* form = Control->ParentForm()) SetActiveForm(form);
    }
    if (OnActiveControlChange) OnActiveControlChange(this);
}

namespace {

// What a stored form keeps of the form itself: its client size rather than its outer one, with
// the border first, since the frame around the client area depends on it.
struct TFormRegistration {
    TFormRegistration() {
        using F = TForm;
        RegisterClass<F>("TForm", "", {
            IntegerProperty<F>("Left", &F::Left, &F::SetLeft),
            IntegerProperty<F>("Top", &F::Top, &F::SetTop),
            SetProperty<F>("BorderIcons", &F::BorderIcons, &F::SetBorderIcons,
                           {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"})
                .WithDefault(biSystemMenu | biMinimize | biMaximize),
            EnumProperty<F>("BorderStyle", &F::BorderStyle, &F::SetBorderStyle,
                            {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow"})
                .WithDefault(int(TFormBorderStyle::bsSizeable)),
            StringProperty<F>("Caption", &F::Caption, &F::SetCaption),
            IntegerProperty<F>("ClientHeight", &F::ClientHeight, &F::SetClientHeight),
            IntegerProperty<F>("ClientWidth", &F::ClientWidth, &F::SetClientWidth),
            ColorProperty<F>("Color", &F::Color, &F::SetColor).WithDefault(clBtnFace),
            ClassProperty<F>("Font", &F::Font),
            EnumProperty<F>("FormStyle", &F::FormStyle, &F::SetFormStyle, {"fsNormal", "fsStayOnTop"}).WithDefault(0),
            IntegerProperty<F>("HelpContext", &F::HelpContext, &F::SetHelpContext).WithDefault(0),
            StringProperty<F>("Hint", &F::Hint, &F::SetHint),
            BooleanProperty<F>("KeyPreview", &F::KeyPreview, &F::SetKeyPreview).WithDefault(0),
            ComponentProperty<F>("ActiveControl", &F::ActiveControl, &F::SetActiveControl),
            ComponentProperty<F>("Menu", &F::Menu, &F::SetMenu),
            EnumProperty<F>("Position", &F::Position, &F::SetPosition,
                            {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter"})
                .WithDefault(int(TPosition::poDesigned)),
            BooleanProperty<F>("ShowHint", &F::ShowHint, &F::SetShowHint).WithDefault(0),
            EventProperty<F>("OnActivate", &F::OnActivate),
            EventProperty<F>("OnClick", &F::OnClick),
            EventProperty<F>("OnClose", &F::OnClose),
            EventProperty<F>("OnCloseQuery", &F::OnCloseQuery),
            EventProperty<F>("OnCreate", &F::OnCreate),
            EventProperty<F>("OnDeactivate", &F::OnDeactivate),
            EventProperty<F>("OnDestroy", &F::OnDestroy),
            EventProperty<F>("OnHide", &F::OnHide),
            EventProperty<F>("OnKeyDown", &F::OnKeyDown),
            EventProperty<F>("OnKeyPress", &F::OnKeyPress),
            EventProperty<F>("OnPaint", &F::OnPaint),
            EventProperty<F>("OnResize", &F::OnResize),
            EventProperty<F>("OnShow", &F::OnShow),
        });
    }
} formRegistration;

} // namespace

} // namespace vcl
