// Controls over the window system: the tree, handles, dispatch, focus, Tab order, alignment.
#include "vcl/Controls.h"

#include "vcl/Forms.h"
#include "vcl/Menus.h"

#include "rtl/Modules.h"
#include "rtl/ScopeGuards.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace vcl {

using namespace win;

namespace {

// The windows this copy of the class library made, and the control being created right now.
std::unordered_map<HWND, TWinControl*>& Windows() {
    static std::unordered_map<HWND, TWinControl*> map;
    return map;
}
TWinControl* CreationControl = nullptr;
// A graphic control that holds the mouse between a button's down and up.
TControl* CaptureControl = nullptr;

TShiftState MouseShift(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

bool IsMouseMessage(unsigned msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

} // namespace

HINSTANCE ModuleInstance() {
    static HINSTANCE instance = reinterpret_cast<HINSTANCE>(rtl::HInstance());
    return instance;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if ((KeyData & 0x20000000) || GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardStateToShiftState() { return KeyDataToShiftState(0); }

TWinControl* FindControl(HWND Wnd) { return TWinControl::FromHandle(Wnd); }

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
    HWND wnd = WindowFromPoint(Pos);
    TWinControl* ctl = FindControl(wnd);
    if (!ctl) return nullptr;
    TControl* inner = ctl->ControlAtPos(ctl->ScreenToClient(Pos), AllowDisabled);
    return inner ? inner : ctl;
}

// --- TControl -------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    FFont->OnChange = [this](TObject* s) { FontChanged(s); };
}

TControl::~TControl() {
    Destroying();
    if (CaptureControl == this) CaptureControl = nullptr;
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw rtl::EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
        Perform(CM_PARENTFONTCHANGED, 0, 0);
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
    }
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    if (FParent && Visible()) FParent->Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    Invalidate();
    RequestAlign();
}

TRect TControl::ClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(int AWidth, int AHeight) { SetBounds(FLeft, FTop, AWidth, AHeight); }

TPoint TControl::ClientOrigin() {
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) {
        POINT p{0, 0};
        win::ClientToScreen(w->Handle(), &p);
        return p;
    }
    if (!FParent) return Point(FLeft, FTop);
    TPoint o = FParent->ClientOrigin();
    return Point(o.x + FLeft, o.y + FTop);
}

TPoint TControl::ClientToScreen(TPoint P) {
    TPoint o = ClientOrigin();
    return Point(P.x + o.x, P.y + o.y);
}

TPoint TControl::ScreenToClient(TPoint P) {
    TPoint o = ClientOrigin();
    return Point(P.x - o.x, P.y - o.y);
}

void TControl::SetAlign(TAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (FParent && !IsLoading()) FParent->AlignAll(this);
}

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    VisibleChanging();
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value, 0);
    if (FAlign != TAlign::alNone) RequestAlign();
}

void TControl::Show() {
    if (FParent) FParent->ShowControl(this);
    SetVisible(true);
}

void TControl::Hide() { SetVisible(false); }

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::CMVisibleChanged(TMessage&) {
    if (FParent) FParent->Invalidate();
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

std::string TControl::GetText() { return FText; }
void TControl::SetTextValue(const std::string& Value) { FText = Value; }

void TControl::SetText(const std::string& Value) {
    if (GetText() == Value) return;
    SetTextValue(Value);
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetNameValue(const std::string& Value) {
    // A control whose caption still shows its old name follows the new one, as when designed.
    bool follow = (FControlStyle & csSetCaption) && GetText() == Name() && !IsLoading();
    TComponent::SetNameValue(Value);
    if (follow) SetText(Value);
}

void TControl::SetName(const std::string& Value) { TComponent::SetName(Value); }

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* parent = dynamic_cast<TWinControl*>(Value)) SetParent(parent);
}

void TControl::FontChanged(TObject*) {
    if (!FChangingFont) FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
    if (Value == FParentFont) return;
    FParentFont = Value;
    if (Value) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
    if (Value == FColor && !FParentColor) return;
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
    if (Value == FParentColor) return;
    FParentColor = Value;
    if (Value) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetCtl3D(bool Value) {
    FParentCtl3D = false;
    if (Value == FCtl3D) return;
    FCtl3D = Value;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TControl::SetParentCtl3D(bool Value) {
    if (Value == FParentCtl3D) return;
    FParentCtl3D = Value;
    if (Value) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
    FParentShowHint = false;
    if (Value == FShowHint) return;
    FShowHint = Value;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
    if (Value == FParentShowHint) return;
    FParentShowHint = Value;
    if (Value) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* Value) {
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent) {
        Perform(CM_PARENTFONTCHANGED, 0, 0);
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
    }
    RequestAlign();
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
    if (!FParentFont || !FParent) return;
    FChangingFont = true;
    FFont->Assign(FParent->Font());
    FChangingFont = false;
}

void TControl::CMParentColorChanged(TMessage&) {
    if (!FParentColor || !FParent) return;
    if (FColor != FParent->Color()) {
        FColor = FParent->Color();
        Perform(CM_COLORCHANGED, 0, 0);
    }
    FParentColor = true;
}

void TControl::CMParentCtl3DChanged(TMessage&) {
    if (!FParentCtl3D || !FParent) return;
    if (FCtl3D != FParent->Ctl3D()) {
        FCtl3D = FParent->Ctl3D();
        Perform(CM_CTL3DCHANGED, 0, 0);
    }
    FParentCtl3D = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!FParentShowHint || !FParent) return;
    if (FShowHint != FParent->ShowHint()) {
        FShowHint = FParent->ShowHint();
        Perform(CM_SHOWHINTCHANGED, 0, 0);
    }
    FParentShowHint = true;
}

LRESULT TControl::Perform(unsigned Msg, WPARAM WParam, LPARAM LParam) {
    TMessage m{Msg, WParam, LParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message) {
    if (IsMouseMessage(Message.Msg) || Message.Msg == WM_MOUSEMOVE) {
        if (Application) Application->HintMouseMessage(this, Message);
    }
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& M) {
    switch (M.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(M); return;
    case WM_LBUTTONUP: WMLButtonUp(M); return;
    case WM_RBUTTONDOWN: WMRButtonDown(M); return;
    case WM_RBUTTONUP: WMRButtonUp(M); return;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(M); return;
    case WM_MOUSEMOVE: WMMouseMove(M); return;
    case WM_CANCELMODE:
        // As the system's buttons do, a cancelled press does not click when the button goes up.
        FControlState &= ~TControlState(csClicked | csLButtonDown);
        DefaultHandler(M);
        return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(M); return;
    case CM_FONTCHANGED: CMFontChanged(M); return;
    case CM_COLORCHANGED: CMColorChanged(M); return;
    case CM_TEXTCHANGED: CMTextChanged(M); return;
    case CM_CTL3DCHANGED: CMCtl3DChanged(M); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(M); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(M); return;
    case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(M); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(M); return;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(M); return;
    case CM_SYSCOLORCHANGE: CMSysColorChange(M); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(M); return;
    case CM_HITTEST: CMHitTest(M); return;
    case CM_DIALOGCHAR: CMDialogChar(M); return;
    case CM_BUTTONPRESSED: CMButtonPressed(M); return;
    case CM_CURSORCHANGED: CMCursorChanged(M); return;
    case CM_ISVCLCONTROL: M.Result = 1; return;
    case CM_GETCOMPONENTNAME: {
        const std::string& name = Name();
        CopyToBuffer(name, reinterpret_cast<char*>(M.LParam), std::size_t(M.WParam));
        M.Result = LRESULT(name.size() + 1);
        return;
    }
    default: DefaultHandler(M);
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    if (Message.Msg == WM_GETTEXTLENGTH) Message.Result = LRESULT(FText.size());
}

void TControl::WMLButtonDown(TMessage& M) {
    if (FControlStyle & csCaptureMouse) {
        if (FParent && !dynamic_cast<TWinControl*>(this)) {
            CaptureControl = this;
            if (FParent->HandleAllocated()) SetCapture(FParent->Handle());
        }
    }
    if (FControlStyle & csClickEvents) FControlState |= csClicked;
    FControlState |= csLButtonDown;
    MouseDown(TMouseButton::mbLeft, MouseShift(M.WParam), GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
}

void TControl::WMLButtonUp(TMessage& M) {
    int x = GET_X_LPARAM(M.LParam), y = GET_Y_LPARAM(M.LParam);
    bool clicked = FControlState & csClicked;
    FControlState &= ~TControlState(csClicked | csLButtonDown);
    if (CaptureControl == this) {
        CaptureControl = nullptr;
        ReleaseCapture();
    }
    if (clicked && x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
    MouseUp(TMouseButton::mbLeft, MouseShift(M.WParam), x, y);
}

void TControl::WMRButtonDown(TMessage& M) {
    MouseDown(TMouseButton::mbRight, MouseShift(M.WParam), GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
}

void TControl::WMRButtonUp(TMessage& M) {
    if (AutoPopupMenu(this, GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam))) {
        M.Result = 1;
        return;
    }
    MouseUp(TMouseButton::mbRight, MouseShift(M.WParam), GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
}

void TControl::WMLButtonDblClk(TMessage& M) {
    if (FControlStyle & csDoubleClicks) DblClick();
    MouseDown(TMouseButton::mbLeft, MouseShift(M.WParam) | ssDouble, GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
}

void TControl::WMMouseMove(TMessage& M) {
    MouseMove(MouseShift(M.WParam), GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Invalidate() {
    if (FParent && FParent->HandleAllocated() && FVisible) {
        TRect r = BoundsRect();
        InvalidateRect(FParent->Handle(), &r, TRUE);
    }
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->FParent) c = c->FParent;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

// --- TWinControl ----------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    Destroying();
    // Leaves the parent while it is still a windowed control, so the parent's Tab list lets go.
    if (FParent) FParent->RemoveControl(this);
    // Children go first, while this is still a windowed control they can leave.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        delete c;
    }
    DestroyComponents();
    DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND Wnd) {
    auto it = Windows().find(Wnd);
    return it == Windows().end() ? nullptr : it->second;
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
    if (FParent || Value == FParentWindow) {
        FParentWindow = Value;
        return;
    }
    FParentWindow = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params.Caption = FText;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle & csAcceptsControls) Params.Style |= WS_CLIPCHILDREN;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = &TWinControl::CALLBACK_WndProc;
    Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Params.WindowClass.hInstance = ModuleInstance();
    Params.WinClassName = ClassName();
}

void TWinControl::RegisterWindowClass(TCreateParams& Params) {
    WNDCLASS existing;
    if (GetClassInfo(Params.WindowClass.hInstance, Params.WinClassName.c_str(), &existing) &&
        existing.hInstance == Params.WindowClass.hInstance)
        return;
    Params.WindowClass.lpszClassName = Params.WinClassName.c_str();
    if (!RegisterClass(&Params.WindowClass))
        throw EOutOfResources("Cannot register the window class " + Params.WinClassName);
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw rtl::EInvalidOperation("Control '" + Name() + "' has no parent window");
    RegisterWindowClass(params);
    CreateWindowHandle(params);
    if (!FHandle) throw EOutOfResources("Error creating window");
}

void TWinControl::CreateWindowHandle(const TCreateParams& P) {
    TWinControl* outer = CreationControl;
    CreationControl = this;
    HWND made = nullptr;
    {
        rtl::TScopeExit restore([outer] { CreationControl = outer; });
        made = CreateWindowEx(P.ExStyle, P.WinClassName.c_str(), P.Caption.c_str(), P.Style, P.X, P.Y,
                              P.Width, P.Height, P.WndParent, nullptr, P.WindowClass.hInstance, P.Param);
    }
    if (made && !FHandle) {
        FHandle = made;
        Windows()[made] = this;
    }
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    FControlState |= csCreating;
    {
        rtl::TScopeExit created([this] { FControlState &= ~TControlState(csCreating); });
        CreateWnd();
    }
    // A child made later than its siblings still lies where the control list has it.
    if (FParent) {
        HWND above = HWND_TOP;
        auto& list = FParent->FControls;
        auto self = std::find(list.begin(), list.end(), this);
        for (auto it = self == list.end() ? list.end() : self + 1; it != list.end(); ++it)
            if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->FHandle) {
                above = w->FHandle;
                break;
            }
        if (above == HWND_TOP) SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        else SetWindowPos(FHandle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    UpdateBounds();
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated())
            win::SetParent(w->FHandle, FHandle);
}

void TWinControl::DestroyWnd() {
    FText = GetWindowText(FHandle);
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    HWND h = FHandle;
    if (!h) return;
    FreeDeviceContexts();
    FControlState |= csDestroyingHandle;
    DestroyWindow(h);
    FControlState &= ~TControlState(csDestroyingHandle);
    Windows().erase(h);
    FHandle = nullptr;
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    DestroyWnd();
    FShowing = false;
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    bool wasFocused = Focused();
    DestroyHandle();
    UpdateShowing();
    if (!FHandle && FShowing) HandleNeeded();
    if (wasFocused && CanFocus()) SetFocus();
}

void TWinControl::UpdateBounds() {
    if (!FHandle) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (FParent || (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD)) {
        HWND parent = win::GetParent(FHandle);
        POINT tl{r.left, r.top};
        win::ScreenToClient(parent, &tl);
        r = RECT{tl.x, tl.y, tl.x + (r.right - r.left), tl.y + (r.bottom - r.top)};
    }
    bool sized = r.right - r.left != FWidth || r.bottom - r.top != FHeight;
    bool moved = r.left != FLeft || r.top != FTop;
    if (!sized && !moved) return;
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
    if (FParent && Align() != TAlign::alNone) RequestAlign();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    bool sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHandle) {
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBounds(); // the window may have refused (tracking limits)
    } else if (sized) {
        Realign();
    }
    RequestAlign();
}

TRect TWinControl::ClientRect() {
    // The client area needs the window's frame, as the window system measures it.
    if (!FHandle && (FParent || dynamic_cast<TCustomForm*>(this)) && !IsDestroying()) HandleNeeded();
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        return r;
    }
    return TControl::ClientRect();
}

void TWinControl::SetClientSize(int AWidth, int AHeight) {
    TRect client = ClientRect();
    SetBounds(FLeft, FTop, FWidth - client.right + AWidth, FHeight - client.bottom + AHeight);
}

bool TWinControl::Showing() const { return FShowing; }

void TWinControl::UpdateShowing() {
    bool showing = Visible() && (FParent ? FParent->FShowing : true);
    // A top-level control shows only when asked; children follow their parent.
    if (!FParent && !dynamic_cast<TCustomForm*>(this)) showing = Visible() && FParentWindow;
    if (showing) HandleNeeded();
    if (showing != FShowing) {
        FShowing = showing;
        rtl::TScopeExit undo([this, showing] { FShowing = !showing; });
        Perform(CM_SHOWINGCHANGED, 0, 0);
        undo.Dismiss();
    }
    std::vector<TControl*> children = FControls;
    for (TControl* c : children)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
    if (!FHandle) return;
    ShowWindow(FHandle, FShowing ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::CMVisibleChanged(TMessage& M) {
    TControl::CMVisibleChanged(M);
    if (!Visible() && FParent) {
        if (TCustomForm* form = ParentForm()) form->DefocusControl(this, false);
    }
    if (FParent || dynamic_cast<TCustomForm*>(this) || FParentWindow) UpdateShowing();
}

void TWinControl::InsertControl(TControl* AControl) {
    AControl->FParent = this;
    FControls.push_back(AControl);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.push_back(w);
        if (FHandle && w->FHandle) win::SetParent(w->FHandle, FHandle);
        w->UpdateShowing();
    } else {
        AControl->Invalidate();
    }
    Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), TRUE);
    if (AControl->Align() != TAlign::alNone) AlignAll(AControl);
}

void TWinControl::RemoveControl(TControl* AControl) {
    if (AControl->FParent != this) return;
    if (TCustomForm* form = ParentForm())
        if (auto* w = dynamic_cast<TWinControl*>(AControl)) form->DefocusControl(w, true);
    AControl->Invalidate();
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (!IsDestroying()) w->DestroyHandle();
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
    }
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    AControl->FParent = nullptr;
    if (!IsDestroying()) {
        Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), FALSE);
        if (AControl->Align() != TAlign::alNone) Realign();
    }
}

bool TWinControl::ContainsControl(TControl* Control) const {
    for (TControl* c = Control; c; c = c->FParent)
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled) {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
        if (Pos.x >= c->FLeft && Pos.y >= c->FTop && Pos.x < c->FLeft + c->FWidth && Pos.y < c->FTop + c->FHeight)
            return c;
    }
    return nullptr;
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& Proc) const {
    // Controls a composite control made for itself are not the form's.
    const TControl* top = this;
    while (top->Parent()) top = top->Parent();
    for (TControl* c : FControls)
        if (c->Owner() == top) Proc(c);
}

void TWinControl::Broadcast(TMessage& Message) {
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) {
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
        c->WndProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(unsigned Msg) {
    TMessage m{Msg, 0, 0, 0};
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) {
        m.Result = 0;
        c->WndProc(m);
    }
}

void TWinControl::SetTabStop(bool Value) {
    if (Value == FTabStop) return;
    FTabStop = Value;
    if (FHandle) {
        LONG style = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE, Value ? (style | LONG(WS_TABSTOP)) : (style & ~LONG(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::TabOrder() const {
    if (!FParent) return -1;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
    if (!FParent) return;
    auto& list = FParent->FTabList;
    int current = TabOrder();
    if (current < 0) return;
    int count = int(list.size());
    if (Value < 0 || Value >= count) Value = count - 1;
    if (Value == current) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    for (TWinControl* c : FTabList) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int count = int(list.size());
    int start = -1;
    for (int i = 0; i < count; ++i)
        if (list[std::size_t(i)] == CurControl) start = i;
    if (start < 0) start = GoForward ? count - 1 : 0;
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* c = list[std::size_t(i)];
        if (c == CurControl) break;
        if (CheckTabStop && !c->TabStop()) continue;
        if (CheckParent && c->FParent != this) continue;
        if (c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
    if (next) next->SetFocus();
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() {
    TCustomForm* form = ParentForm();
    if (!form || !form->Visible() || !form->Enabled()) return false;
    for (TControl* c = this; c; c = c->FParent)
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TCustomForm* form = ParentForm();
    if (form) form->FocusControl(this);
    else if (CanFocus()) win::SetFocus(Handle());
}

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
    if (--FAlignLevel == 0 && FAlignPending) Realign();
}

void TWinControl::Realign() { AlignAll(nullptr); }

void TWinControl::RequestAlign() { TControl::RequestAlign(); }

void TWinControl::AlignAll(TControl* AControl) {
    if (FAlignLevel > 0 || IsLoading() || IsDestroying()) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    if (std::none_of(FControls.begin(), FControls.end(), [](TControl* c) { return c->Align() != TAlign::alNone; }))
        return;
    ++FAlignLevel;
    rtl::TScopeExit aligned([this] { --FAlignLevel; });
    TRect r = ClientRect();
    AlignControls(AControl, r);
}

void TWinControl::AlignControls(TControl* AControl, TRect& R) {
    static const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient};
    for (TAlign align : order) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == align && c->Visible()) list.push_back(c);
        // The one being placed goes where it was put; the others keep their order on that side.
        auto key = [&](TControl* c) {
            switch (align) {
            case TAlign::alTop: return c->FTop;
            case TAlign::alBottom: return -(c->FTop + c->FHeight);
            case TAlign::alLeft: return c->FLeft;
            case TAlign::alRight: return -(c->FLeft + c->FWidth);
            default: return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
            int ka = key(a), kb = key(b);
            if (ka != kb) return ka < kb;
            return a == AControl && b != AControl;
        });
        for (TControl* c : list) {
            int w = R.right - R.left, h = R.bottom - R.top;
            switch (align) {
            case TAlign::alTop:
                c->SetBounds(R.left, R.top, w, c->FHeight);
                R.top += c->FHeight;
                break;
            case TAlign::alBottom:
                c->SetBounds(R.left, R.bottom - c->FHeight, w, c->FHeight);
                R.bottom -= c->FHeight;
                break;
            case TAlign::alLeft:
                c->SetBounds(R.left, R.top, c->FWidth, h);
                R.left += c->FWidth;
                break;
            case TAlign::alRight:
                c->SetBounds(R.right - c->FWidth, R.top, c->FWidth, h);
                R.right -= c->FWidth;
                break;
            default:
                c->SetBounds(R.left, R.top, std::max(0, w), std::max(0, h));
            }
        }
    }
}

void TWinControl::ShowControl(TControl*) {
    if (FParent) FParent->ShowControl(this);
}

void TWinControl::CMShowControl(TMessage& M) { ShowControl(reinterpret_cast<TControl*>(M.LParam)); }

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update() {
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
    int saved = SaveDC(DC);
    OffsetViewportOrgEx(DC, X, Y, nullptr);
    IntersectClipRect(DC, 0, 0, FWidth, FHeight);
    PaintWindow(DC);
    PaintControls(DC, nullptr);
    RestoreDC(DC, saved);
}

std::string TWinControl::GetText() { return FHandle ? GetWindowText(FHandle) : FText; }

void TWinControl::SetTextValue(const std::string& Value) {
    FText = Value;
    if (FHandle) SetWindowText(FHandle, Value.c_str());
}

void TWinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TControl::Notification(AComponent, Operation);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    if (FAlignPending) Realign();
}

LRESULT TWinControl::CALLBACK_WndProc(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam) {
    // The first message of a window being made binds it to its control, over any entry left
    // by a window system that was reset under living controls.
    TWinControl* ctl = nullptr;
    if (CreationControl && !CreationControl->FHandle) {
        ctl = CreationControl;
        ctl->FHandle = Wnd;
        Windows()[Wnd] = ctl;
    } else {
        ctl = FromHandle(Wnd);
    }
    if (!ctl) return DefWindowProc(Wnd, Msg, WParam, LParam);
    TMessage m{Msg, WParam, LParam, 0};
    try {
        ctl->WndProc(m);
    } catch (...) {
        // Errors end the handler, never the loop: the application reports them. A capture
        // the handler would have released goes too, or the mouse would stay with this window.
        if (GetCapture() == Wnd) ReleaseCapture();
        CaptureControl = nullptr;
        if (Application) Application->HandleException(ctl);
        m.Result = 0;
    }
    return m.Result;
}

void TWinControl::WndProc(TMessage& Message) {
    // Mouse input over a graphic child goes to it, in its coordinates.
    if (IsMouseMessage(Message.Msg)) {
        TControl* target = CaptureControl && CaptureControl->FParent == this ? CaptureControl : nullptr;
        if (!target)
            target = ControlAtPos(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)), false);
        if (target) {
            TMessage inner = Message;
            inner.LParam = MAKELPARAM(GET_X_LPARAM(Message.LParam) - target->FLeft,
                                      GET_Y_LPARAM(Message.LParam) - target->FTop);
            target->WndProc(inner);
            Message.Result = inner.Result;
            return;
        }
        if (Message.Msg == WM_LBUTTONDOWN && FTabStop && CanFocus() && !Focused()) SetFocus();
    }
    TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& M) {
    switch (M.Msg) {
    case WM_PAINT: WMPaint(M); return;
    case WM_ERASEBKGND: WMEraseBkgnd(M); return;
    case WM_SIZE: WMSize(M); return;
    case WM_MOVE: WMMove(M); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(M); return;
    case WM_SETFOCUS: WMSetFocus(M); return;
    case WM_KILLFOCUS: WMKillFocus(M); return;
    case WM_KEYDOWN: WMKeyDown(M); return;
    case WM_KEYUP: WMKeyUp(M); return;
    case WM_CHAR: WMChar(M); return;
    case WM_SYSKEYDOWN: WMSysKeyDown(M); return;
    case WM_SYSCHAR: WMSysChar(M); return;
    case WM_HELP: WMHelp(M); return;
    case WM_SETCURSOR: WMSetCursor(M); return;
    case WM_COMMAND: WMCommand(M); return;
    case WM_NCDESTROY: WMNCDestroy(M); return;
    case WM_GETDLGCODE: WMGetDlgCode(M); return;
    case WM_GETTEXT: WMGetText(M); return;
    case WM_GETTEXTLENGTH: WMGetTextLength(M); return;
    case WM_SYSCOLORCHANGE: Perform(CM_SYSCOLORCHANGE, 0, 0); DefaultHandler(M); return;
    case CM_ENTER: CMEnter(M); return;
    case CM_EXIT: CMExit(M); return;
    case CM_DIALOGKEY: CMDialogKey(M); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(M); return;
    case CM_SHOWCONTROL: CMShowControl(M); return;
    case CM_GETCHILDTEXT: {
        auto* query = reinterpret_cast<TChildTextQuery*>(M.LParam);
        M.Result = 0;
        if (!query || !query->Name || !query->Buffer || query->BufferSize <= 0) return;
        std::vector<TControl*> pending = FControls;
        while (!pending.empty()) {
            TControl* c = pending.front();
            pending.erase(pending.begin());
            if (c->Name() == query->Name) {
                CopyToBuffer(c->GetText(), query->Buffer, std::size_t(query->BufferSize));
                M.Result = 1;
                return;
            }
            if (auto* w = dynamic_cast<TWinControl*>(c)) pending.insert(pending.end(), w->FControls.begin(), w->FControls.end());
        }
        return;
    }
    default: TControl::Dispatch(M);
    }
}

void TWinControl::WMGetText(TMessage& M) {
    if (!KeepsText()) {
        DefaultHandler(M);
        return;
    }
    M.Result = LRESULT(CopyToBuffer(GetText(), reinterpret_cast<char*>(M.LParam), std::size_t(M.WParam)));
}

void TWinControl::WMGetTextLength(TMessage& M) {
    if (!KeepsText()) {
        DefaultHandler(M);
        return;
    }
    M.Result = LRESULT(GetText().size());
}

void TWinControl::DefaultHandler(TMessage& M) {
    if (FHandle) M.Result = DefWindowProc(FHandle, M.Msg, M.WParam, M.LParam);
    else TControl::DefaultHandler(M);
}

void TWinControl::WMNCDestroy(TMessage& M) {
    DefaultHandler(M);
    if (FHandle) {
        Windows().erase(FHandle);
        FHandle = nullptr;
        FShowing = false;
    }
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC DC, TControl* First) {
    bool started = First == nullptr;
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) {
        if (!started) {
            started = c == First;
            if (!started) continue;
        }
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible()) continue;
        TRect bounds = g->BoundsRect();
        if (!RectVisible(DC, &bounds)) continue;
        int saved = SaveDC(DC);
        OffsetViewportOrgEx(DC, g->FLeft, g->FTop, nullptr);
        IntersectClipRect(DC, 0, 0, g->FWidth, g->FHeight);
        rtl::TScopeExit restore([DC, saved] { RestoreDC(DC, saved); });
        g->PaintOn(DC);
    }
}

void TWinControl::PaintHandler(TMessage&) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(FHandle, &ps);
    rtl::TScopeExit end([&] { EndPaint(FHandle, &ps); });
    PaintWindow(dc);
    PaintControls(dc, nullptr);
}

void TWinControl::WMPaint(TMessage& M) { PaintHandler(M); }

void TWinControl::WMEraseBkgnd(TMessage& M) {
    if (FControlStyle & csOpaque) {
        M.Result = 1;
        return;
    }
    HDC dc = reinterpret_cast<HDC>(M.WParam);
    RECT r;
    GetClientRect(FHandle, &r);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    win::FillRect(dc, &r, brush);
    DeleteObject(brush);
    M.Result = 1;
}

void TWinControl::WMSize(TMessage& M) {
    UpdateBounds();
    DefaultHandler(M);
    Realign();
}

void TWinControl::WMMove(TMessage& M) {
    UpdateBounds();
    DefaultHandler(M);
}

void TWinControl::WMWindowPosChanged(TMessage& M) {
    DefaultHandler(M);
    UpdateBounds();
}

void TWinControl::WMSetFocus(TMessage& M) {
    DefaultHandler(M);
    if (TCustomForm* form = ParentForm()) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& M) { DefaultHandler(M); }

bool TWinControl::IsDialogKey(unsigned Key, LPARAM KeyData) {
    LRESULT mask = 0;
    switch (Key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: return false;
    }
    if (Perform(CM_WANTSPECIALKEY, Key, KeyData) != 0) return false;
    if (Perform(WM_GETDLGCODE, 0, 0) & mask) return false;
    TCustomForm* form = ParentForm();
    return form && form->Perform(CM_DIALOGKEY, Key, KeyData) != 0;
}

void TWinControl::WMKeyDown(TMessage& M) {
    unsigned key = unsigned(M.WParam);
    if (IsMenuKey(this, key, KeyDataToShiftState(M.LParam))) return;
    if (IsDialogKey(key, M.LParam)) return;
    if (!DoKeyDown(key, KeyDataToShiftState(M.LParam))) DefaultHandler(M);
}

void TWinControl::WMSysKeyDown(TMessage& M) {
    unsigned key = unsigned(M.WParam);
    if (IsMenuKey(this, key, KeyDataToShiftState(M.LParam) | ssAlt)) return;
    if (!DoKeyDown(key, KeyDataToShiftState(M.LParam) | ssAlt)) DefaultHandler(M);
}

void TWinControl::WMKeyUp(TMessage& M) {
    unsigned key = unsigned(M.WParam);
    if (!DoKeyUp(key, KeyDataToShiftState(M.LParam))) DefaultHandler(M);
}

void TWinControl::WMChar(TMessage& M) {
    char key = char(M.WParam);
    if (!DoKeyPress(key)) DefaultHandler(M);
}

void TWinControl::WMSysChar(TMessage& M) {
    TCustomForm* form = ParentForm();
    if (form && form->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0) return;
    DefaultHandler(M);
}

void TWinControl::WMHelp(TMessage& M) {
    M.Result = 1;
    auto* info = reinterpret_cast<const HELPINFO*>(M.LParam);
    if (!info || !Application) return;
    TControl* asked = FindControl(info->hItemHandle);
    if (!asked) asked = this;
    // A graphic control has no window: the one under the click in its parent is meant.
    if (auto* parent = dynamic_cast<TWinControl*>(asked))
        if (TControl* inner = parent->ControlAtPos(parent->ScreenToClient(info->MousePos), false)) asked = inner;
    for (TControl* c = asked; c; c = c->Parent())
        if (c->HelpContext() != 0) {
            Application->HelpContext(c->HelpContext());
            return;
        }
}

bool TWinControl::DoKeyDown(unsigned& Key, TShiftState Shift) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(Key, Shift);
        if (Key == 0) return true;
    }
    KeyDown(Key, Shift);
    return Key == 0;
}

bool TWinControl::DoKeyUp(unsigned& Key, TShiftState Shift) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyUp(Key, Shift);
        if (Key == 0) return true;
    }
    KeyUp(Key, Shift);
    return Key == 0;
}

bool TWinControl::DoKeyPress(char& Key) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyPress(Key);
        if (Key == 0) return true;
    }
    KeyPress(Key);
    return Key == 0;
}

void TWinControl::KeyDown(unsigned& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(unsigned& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}
void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::CMDialogKey(TMessage& M) { Broadcast(M); }
void TWinControl::CMDialogChar(TMessage& M) { Broadcast(M); }

void TWinControl::WMSetCursor(TMessage& M) {
    if (reinterpret_cast<HWND>(M.WParam) == FHandle && LOWORD(std::uintptr_t(M.LParam)) == HTCLIENT) {
        TCursor cursor = Screen ? Screen->Cursor() : crDefault;
        if (cursor == crDefault) {
            POINT p;
            GetCursorPos(&p);
            TControl* under = ControlAtPos(ScreenToClient(p), false);
            cursor = under && under->Cursor() != crDefault ? under->Cursor() : TControl::Cursor();
        }
        if (cursor != crDefault && Screen) {
            win::SetCursor(Screen->Cursors(cursor));
            M.Result = 1;
            return;
        }
    }
    DefaultHandler(M);
}

void TWinControl::WMCommand(TMessage& M) {
    // Notifications from child windows go back to the control that sent them.
    if (M.LParam) {
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(M.LParam))) {
            M.Result = child->Perform(CN_COMMAND, M.WParam, M.LParam);
            return;
        }
    }
    DefaultHandler(M);
}

void TWinControl::CMEnabledChanged(TMessage& M) {
    if (!Enabled() && FParent) {
        if (TCustomForm* form = ParentForm()) form->DefocusControl(this, false);
    }
    if (FHandle) EnableWindow(FHandle, Enabled());
    TControl::CMEnabledChanged(M);
}

void TWinControl::CMFontChanged(TMessage& M) {
    TControl::CMFontChanged(M);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& M) {
    TControl::CMColorChanged(M);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage& M) {
    TControl::CMCtl3DChanged(M);
    NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage& M) {
    TControl::CMShowHintChanged(M);
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMSysColorChange(TMessage& M) {
    TControl::CMSysColorChange(M);
    TMessage m{CM_SYSCOLORCHANGE, 0, 0, 0};
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) {
        m.Result = 0;
        c->WndProc(m);
    }
}

// --- TControlCanvas -------------------------------------------------------------------------

namespace {
std::vector<TControlCanvas*>& CanvasesWithDC() {
    static std::vector<TControlCanvas*> list;
    return list;
}
} // namespace

void FreeDeviceContexts() {
    std::vector<TControlCanvas*> list = CanvasesWithDC();
    for (TControlCanvas* c : list) c->FreeHandle();
}

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::FreeHandle() {
    if (!FOwnDC) return;
    HDC dc = FOwnDC;
    FOwnDC = nullptr;
    SetHandle(nullptr);
    if (IsWindow(FWnd)) ReleaseDC(FWnd, dc);
    FWnd = nullptr;
    auto& list = CanvasesWithDC();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::PaintWith(HDC DC, const std::function<void()>& paint) {
    FreeHandle();
    SetHandle(DC);
    Font()->Assign(FControl->Font());
    rtl::TScopeExit release([this] {
        if (!FOwnDC) SetHandle(nullptr);
    });
    paint();
}

void TControlCanvas::CreateHandle() {
    TControl* c = FControl;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        FWnd = w->Handle();
        FOwnDC = GetDC(FWnd);
    } else if (c->Parent()) {
        FWnd = c->Parent()->Handle();
        FOwnDC = GetDC(FWnd);
        if (FOwnDC) {
            SetViewportOrgEx(FOwnDC, c->Left(), c->Top(), nullptr);
            IntersectClipRect(FOwnDC, 0, 0, c->Width(), c->Height());
        }
    }
    if (!FOwnDC) return;
    CanvasesWithDC().push_back(this);
    SetHandle(FOwnDC);
}

// --- TGraphicControl, TCustomControl --------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintOn(HDC DC) {
    FCanvas->PaintWith(DC, [this] { Paint(); });
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
    FCanvas->PaintWith(DC, [this] { Paint(); });
}

} // namespace vcl
