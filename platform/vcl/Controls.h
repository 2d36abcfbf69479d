// Controls: the control tree, windowed controls with handles made on demand, message dispatch,
// focus and Tab order, alignment, graphic and custom controls. Implementations in Controls.cpp.
#pragma once

#include "vcl/Classes.h"
#include "vcl/Graphics.h"
#include "vcl/WindowData.h"

#include <functional>
#include <string>
#include <vector>

namespace vcl {

// The class library's private notifications.
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
constexpr unsigned CM_GOTFOCUS = CM_BASE + 2;
constexpr unsigned CM_LOSTFOCUS = CM_BASE + 3;
constexpr unsigned CM_CANCELMODE = CM_BASE + 4;
constexpr unsigned CM_DIALOGKEY = CM_BASE + 5;
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr unsigned CM_HITTEST = CM_BASE + 10;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 11;
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;
constexpr unsigned CM_CTL3DCHANGED = CM_BASE + 16;
constexpr unsigned CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
constexpr unsigned CM_MENUCHANGED = CM_BASE + 21;
constexpr unsigned CM_APPKEYDOWN = CM_BASE + 22;
constexpr unsigned CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 24;
constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr unsigned CM_ENTER = CM_BASE + 26;
constexpr unsigned CM_EXIT = CM_BASE + 27;
constexpr unsigned CM_DESIGNHITTEST = CM_BASE + 28;
constexpr unsigned CM_ICONCHANGED = CM_BASE + 29;
constexpr unsigned CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr unsigned CM_INVOKEHELP = CM_BASE + 31;
constexpr unsigned CM_WINDOWHOOK = CM_BASE + 32;
constexpr unsigned CM_RELEASE = CM_BASE + 33;
constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr unsigned CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr unsigned CM_WININICHANGE = CM_BASE + 37;
constexpr unsigned CM_FONTCHANGE = CM_BASE + 38;
constexpr unsigned CM_TIMECHANGE = CM_BASE + 39;
constexpr unsigned CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr unsigned CM_SHOWCONTROL = CM_BASE + 41;
constexpr unsigned CM_CONTROLLISTCHANGE = CM_BASE + 42;
constexpr unsigned CM_CHILDKEY = CM_BASE + 43;
constexpr unsigned CM_HINTSHOW = CM_BASE + 44;
constexpr unsigned CM_RECREATEWND = CM_BASE + 45;
constexpr unsigned CM_INVALIDATE = CM_BASE + 46;
constexpr unsigned CM_PARENTHELPCHANGED = CM_BASE + 47;
// Notifications a parent reflects back to the control that sent them (CN_BASE + WM_COMMAND...).
constexpr unsigned CN_BASE = 0xBC00;
constexpr unsigned CN_COMMAND = CN_BASE + win::WM_COMMAND;
constexpr unsigned CN_DRAWITEM = CN_BASE + win::WM_DRAWITEM;
constexpr unsigned CN_MEASUREITEM = CN_BASE + win::WM_MEASUREITEM;
constexpr unsigned CN_CTLCOLOREDIT = CN_BASE + win::WM_CTLCOLOREDIT;
constexpr unsigned CN_CTLCOLORLISTBOX = CN_BASE + win::WM_CTLCOLORLISTBOX;
constexpr unsigned CN_CTLCOLORSTATIC = CN_BASE + win::WM_CTLCOLORSTATIC;
constexpr unsigned CN_KEYDOWN = CN_BASE + win::WM_KEYDOWN;
constexpr unsigned CN_CHAR = CN_BASE + win::WM_CHAR;
constexpr unsigned CN_HSCROLL = CN_BASE + win::WM_HSCROLL;
constexpr unsigned CN_VSCROLL = CN_BASE + win::WM_VSCROLL;

struct TMessage {
    unsigned Msg = 0;
    win::WPARAM WParam = 0;
    win::LPARAM LParam = 0;
    win::LRESULT Result = 0;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Mouse buttons and the shift state.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
TShiftState KeyDataToShiftState(win::LPARAM KeyData);
TShiftState KeyboardStateToShiftState();

// Cursors: 0 is the default, the stock ones negative.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSize = -5;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHelp = -20;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, unsigned& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Control styles and states.
enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1, csCaptureMouse = 2, csDesignInteractive = 4, csClickEvents = 8,
    csFramed = 16, csSetCaption = 32, csOpaque = 64, csDoubleClicks = 128, csFixedWidth = 256,
    csFixedHeight = 512, csNoDesignVisible = 1024, csReplicatable = 2048, csNoStdEvents = 4096,
};
using TControlStyle = unsigned;
enum TControlStateFlag : unsigned {
    csLButtonDown = 1, csClicked = 2, csPalette = 4, csReadingState = 8, csAlignmentNeeded = 16,
    csFocusing = 32, csCreating = 64, csCustomPaint = 128, csDestroyingHandle = 256,
};
using TControlState = unsigned;

class TWinControl;
class TCustomForm;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Rect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().right; }
    int ClientHeight() { return ClientRect().bottom; }
    void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
    void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
    virtual void SetClientSize(int AWidth, int AHeight);
    TPoint ClientToScreen(TPoint P);
    TPoint ScreenToClient(TPoint P);
    TPoint ClientOrigin();

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show();
    void Hide();
    // Visible with every parent up to a top-level window that shows.
    virtual bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    std::string Caption() { return GetText(); }
    void SetCaption(const std::string& Value) { SetText(Value); }
    std::string Text() { return GetText(); }
    void SetText(const std::string& Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // The pop-up menu shown on a right click (a menu component).
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* Value);

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }

    // Sends a message to the control's own handlers, without the window system.
    win::LRESULT Perform(unsigned Msg, win::WPARAM WParam, win::LPARAM LParam);
    virtual void WndProc(TMessage& Message);
    // Routes a message by number to its handler method; the rest go to DefaultHandler.
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();
    TCustomForm* ParentForm() const;

    virtual bool HasParent() const { return true; }
    void SetName(const std::string& Value);
    // A control read from a stored form goes into the windowed control it was written under.
    void SetParentComponent(TComponent* Value) override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    friend class TWinControl;
    virtual std::string GetText();
    virtual void SetTextValue(const std::string& Value);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void Changed() {}
    virtual void RequestAlign();
    virtual void VisibleChanging() {}
    virtual void SetNameValue(const std::string& Value) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    // Handlers of the messages every control answers.
    virtual void WMLButtonDown(TMessage& Message);
    virtual void WMLButtonUp(TMessage& Message);
    virtual void WMRButtonDown(TMessage& Message);
    virtual void WMRButtonUp(TMessage& Message);
    virtual void WMLButtonDblClk(TMessage& Message);
    virtual void WMMouseMove(TMessage& Message);
    virtual void CMEnabledChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    virtual void CMTextChanged(TMessage& Message);
    virtual void CMCtl3DChanged(TMessage& Message) { (void)Message; }
    virtual void CMParentFontChanged(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMParentCtl3DChanged(TMessage& Message);
    virtual void CMParentShowHintChanged(TMessage& Message);
    virtual void CMShowHintChanged(TMessage& Message) { (void)Message; }
    virtual void CMSysColorChange(TMessage& Message) { (void)Message; }
    virtual void CMVisibleChanged(TMessage& Message);
    virtual void CMHitTest(TMessage& Message) { Message.Result = win::HTCLIENT; }
    virtual void CMDialogChar(TMessage& Message) { (void)Message; }
    virtual void CMButtonPressed(TMessage& Message) { (void)Message; }
    virtual void CMCursorChanged(TMessage& Message) { (void)Message; }

    TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState FControlState = 0;
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    std::string FText;

private:
    void FontChanged(TObject* Sender);

    TAlign FAlign = TAlign::alNone;
    bool FVisible = true;
    bool FEnabled = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    int FHelpContext = 0;
    TCursor FCursor = crDefault;
    TComponent* FPopupMenu = nullptr;
    bool FChangingFont = false;
};

// What CreateParams fills in and CreateWnd uses.
struct TCreateParams {
    std::string Caption;
    win::DWORD Style = 0;
    win::DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    win::HWND WndParent = nullptr;
    void* Param = nullptr;
    win::WNDCLASS WindowClass;
    std::string WinClassName;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // Makes the window when first asked (with the parents' windows).
    win::HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // Made for a window that has no parent control, such as a form owned by another window.
    win::HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(win::HWND Value);

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int Index) const { return FControls[std::size_t(Index)]; }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled);
    // Sends the message to every child control (the button-pressed notification and the like).
    void Broadcast(TMessage& Message);
    void NotifyControls(unsigned Msg);

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    void GetTabOrderList(std::vector<TWinControl*>& List);
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    virtual bool Focused();
    virtual bool CanFocus();
    virtual void SetFocus();

    void DisableAlign();
    void EnableAlign();
    void Realign();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() override;
    void SetClientSize(int AWidth, int AHeight) override;
    bool Showing() const override;
    void Invalidate() override;
    void Update() override;
    void RecreateWnd();
    void PaintTo(win::HDC DC, int X, int Y);
    // A stored form keeps the child controls that the form they are shown on owns.
    void GetChildren(const std::function<void(TComponent*)>& Proc) const override;

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // The control of a window made by this library, or nullptr.
    static TWinControl* FromHandle(win::HWND Wnd);

protected:
    friend class TControl;
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    virtual void CreateHandle();
    void DestroyHandle();
    void UpdateBounds();
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void PaintWindow(win::HDC DC);
    void PaintControls(win::HDC DC, TControl* First);
    void PaintHandler(TMessage& Message);
    std::string GetText() override;
    void SetTextValue(const std::string& Value) override;
    // A control that keeps its text itself (not in its window) answers WM_GETTEXT from GetText.
    virtual bool KeepsText() const { return false; }
    void RequestAlign() override;
    void SetParentWindowHandle(win::HWND Wnd) { FParentWindow = Wnd; }
    virtual void ShowControl(TControl* AControl);
    virtual void UpdateShowing();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    // Keys: the dialog keys go to the form first, then KeyPreview, then the control's own events.
    virtual bool DoKeyDown(unsigned& Key, TShiftState Shift);
    virtual bool DoKeyUp(unsigned& Key, TShiftState Shift);
    virtual bool DoKeyPress(char& Key);
    virtual void KeyDown(unsigned& Key, TShiftState Shift);
    virtual void KeyUp(unsigned& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    bool IsDialogKey(unsigned Key, win::LPARAM KeyData);

    virtual void WMPaint(TMessage& Message);
    virtual void WMEraseBkgnd(TMessage& Message);
    virtual void WMSize(TMessage& Message);
    virtual void WMMove(TMessage& Message);
    virtual void WMWindowPosChanged(TMessage& Message);
    virtual void WMSetFocus(TMessage& Message);
    virtual void WMKillFocus(TMessage& Message);
    virtual void WMKeyDown(TMessage& Message);
    virtual void WMKeyUp(TMessage& Message);
    virtual void WMChar(TMessage& Message);
    virtual void WMSysKeyDown(TMessage& Message);
    virtual void WMSysChar(TMessage& Message);
    // A context-help click or F1 on a control: the help topic of the nearest control, from the one
    // asked about up its parents, that has a help context.
    void WMHelp(TMessage& Message);
    virtual void WMSetCursor(TMessage& Message);
    virtual void WMCommand(TMessage& Message);
    virtual void WMNCDestroy(TMessage& Message);
    virtual void WMGetDlgCode(TMessage& Message) { DefaultHandler(Message); }
    void WMGetText(TMessage& Message);
    void WMGetTextLength(TMessage& Message);
    virtual void CMEnter(TMessage& Message) { (void)Message; DoEnter(); }
    virtual void CMExit(TMessage& Message) { (void)Message; DoExit(); }
    virtual void CMDialogKey(TMessage& Message);
    void CMDialogChar(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMCtl3DChanged(TMessage& Message) override;
    void CMShowHintChanged(TMessage& Message) override;
    void CMSysColorChange(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    virtual void CMShowingChanged(TMessage& Message);
    virtual void CMShowControl(TMessage& Message);

    std::vector<TControl*> FControls;      // graphic and windowed, in z-order, bottom first
    std::vector<TWinControl*> FTabList;    // windowed children in Tab order
    bool FShowing = false;

private:
    static win::LRESULT CALLBACK_WndProc(win::HWND Wnd, unsigned Msg, win::WPARAM WParam, win::LPARAM LParam);
    void RegisterWindowClass(TCreateParams& Params);
    void AlignAll(TControl* AControl);

    win::HWND FHandle = nullptr;
    win::HWND FParentWindow = nullptr;
    bool FTabStop = false;
    int FAlignLevel = 0;
    bool FAlignPending = false;
};

// The canvas of a control: the paint DC while it paints, otherwise a DC of the control's window
// (for a graphic control, of its parent's, moved and clipped to it), let go when the application
// next idles.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* AControl) : FControl(AControl) {}
    ~TControlCanvas() override;
    TControl* Control() const { return FControl; }
    void FreeHandle();
    // Runs paint with the canvas on DC and the control's font, and lets DC go afterwards, also
    // when paint raises.
    void PaintWith(win::HDC DC, const std::function<void()>& paint);

protected:
    void CreateHandle() override;

private:
    TControl* FControl;
    win::HWND FWnd = nullptr;
    win::HDC FOwnDC = nullptr;
};

// Lets go of every control canvas's own DC.
void FreeDeviceContexts();

// Controls without a window, drawn on their parent's window.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    friend class TWinControl;
    virtual void Paint() {}
    void PaintOn(win::HDC DC);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// Windowed controls that paint themselves on their canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(win::HDC DC) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// The module handle windows and classes of this library are made with.
win::HINSTANCE ModuleInstance();
// The control under a screen point, made by this library, or nullptr.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
TWinControl* FindControl(win::HWND Wnd);

// Image lists: pictures of one size, drawn by index, with or without a mask.
class TImageList : public TComponent {
public:
    TImageList(TComponent* AOwner, int AWidth = 16, int AHeight = 16);
    ~TImageList() override;
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return int(FImages.size()); }
    // The image is cut into pictures of the list's width; each pixel where the mask is white
    // stays transparent. Answers the index of the first.
    int Add(TBitmap* Image, TBitmap* Mask);
    // The mask is made from the colour.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    void Delete(int Index);
    void Clear();
    void Draw(TCanvas* Canvas, int X, int Y, int Index);
    TNotifyEvent OnChange;

private:
    struct TImage {
        std::unique_ptr<TBitmap> Image;
        std::unique_ptr<TBitmap> Mask; // monochrome, 1 where transparent; none: opaque
        std::unique_ptr<TBitmap> Clean; // the picture cleared under its mask, made when first drawn
    };
    int AddParts(TBitmap* Image, TBitmap* Mask, bool FromColor, TColor MaskColor);
    int FWidth, FHeight;
    std::vector<TImage> FImages;
};

} // namespace vcl
