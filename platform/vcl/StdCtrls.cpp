// Labels and push buttons, drawn in the three-dimensional style of the system.
#include "vcl/StdCtrls.h"

#include "vcl/StoredControls.h"

#include <cctype>

namespace vcl {

using namespace win;

bool IsAccel(unsigned Key, const std::string& Text) {
    for (std::size_t i = 0; i + 1 < Text.size(); ++i) {
        if (Text[i] != '&') continue;
        if (Text[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(Text[i + 1])) == std::toupper(int(Key & 0xFF));
    }
    return false;
}

// --- TLabel ---------------------------------------------------------------------------------

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle |= csOpaque | csReplicatable;
    FControlStyle &= ~TControlStyle(csCaptureMouse);
    SetBounds(0, 0, 65, 17);
    SetColor(clBtnFace);
    SetParentColor(true);
}

unsigned TLabel::DrawFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    if (FAlignment == TAlignment::taCenter) flags |= DT_CENTER;
    if (FAlignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    return flags;
}

void TLabel::Paint() {
    TRect r = ClientRect();
    if (!FTransparent) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas()->FillRect(r);
    }
    std::string text = GetText();
    HDC dc = Canvas()->Handle();
    SelectObject(dc, Canvas()->Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    if (!Enabled()) {
        OffsetRect(&r, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawText(dc, text.c_str(), int(text.size()), &r, DrawFlags());
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
    }
    DrawText(dc, text.c_str(), int(text.size()), &r, DrawFlags());
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || IsLoading()) return;
    std::string text = GetText();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT r{0, 0, FWordWrap ? Width() : 0, 0};
    std::string measured = text.empty() ? std::string(" ") : text;
    DrawText(dc, measured.c_str(), int(measured.size()), &r, DrawFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int left = Left();
    if (FAlignment == TAlignment::taRightJustify) left += Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}
void TLabel::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}
void TLabel::SetWordWrap(bool Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}
void TLabel::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    if (Value) FControlStyle &= ~TControlStyle(csOpaque);
    else FControlStyle |= csOpaque;
    Invalidate();
}
void TLabel::SetShowAccelChar(bool Value) {
    if (Value == FShowAccelChar) return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}
void TLabel::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TLabel::CMTextChanged(TMessage& M) {
    TGraphicControl::CMTextChanged(M);
    AdjustBounds();
}

void TLabel::CMFontChanged(TMessage& M) {
    TGraphicControl::CMFontChanged(M);
    AdjustBounds();
}

void TLabel::CMDialogChar(TMessage& M) {
    if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(unsigned(M.WParam), GetText()) &&
        FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        M.Result = 1;
    }
}

// --- TButton --------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TPushControl(AOwner) {
    FControlStyle = csSetCaption | csClickEvents | csDoubleClicks;
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clBtnFace);
}

void TButton::SetDefault(bool Value) {
    if (Value == FDefault) return;
    FDefault = Value;
    Invalidate();
}

bool TButton::IsActiveDefault() const {
    TCustomForm* form = ParentForm();
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    if (auto* focused = dynamic_cast<TButton*>(active)) return focused == this;
    return FDefault;
}

void TButton::Click() {
    if (TCustomForm* form = ParentForm(); form && FModalResult != mrNone) form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

void TButton::WMLButtonUp(TMessage& M) {
    // The button lets the mouse go before it reports the click, as the system's button does.
    Release();
    TPushControl::WMLButtonUp(M);
}

void TButton::WMGetDlgCode(TMessage& M) {
    M.Result = DLGC_BUTTON | (IsActiveDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TButton::CMDialogKey(TMessage& M) {
    unsigned key = unsigned(M.WParam);
    bool mine = (key == VK_RETURN && IsActiveDefault()) || (key == VK_ESCAPE && FCancel);
    if (mine && Visible() && Enabled() && (KeyDataToShiftState(M.LParam) & (ssAlt | ssCtrl)) == 0) {
        Click();
        M.Result = 1;
    }
}

void TPushControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        FPressed = true;
        SetCapture(Handle());
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TPushControl::Release() {
    if (!FPressed) return false;
    FPressed = false;
    if (GetCapture() == Handle()) ReleaseCapture();
    Invalidate();
    return true;
}

void TPushControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // Letting go outside the control takes the press back.
    if (Button == TMouseButton::mbLeft && Release() && FPushOnMouseUp && X >= 0 && Y >= 0 && X < Width() &&
        Y < Height())
        Push();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TPushControl::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE) {
        FPressed = true;
        Invalidate();
    }
}

void TPushControl::KeyUp(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && Release()) Push();
}

void TPushControl::CMDialogChar(TMessage& M) {
    if (IsAccel(unsigned(M.WParam), GetText()) && CanFocus()) {
        SetFocus();
        Push();
        M.Result = 1;
    }
}

void TPushControl::WMSetFocus(TMessage& M) {
    TCustomControl::WMSetFocus(M);
    Invalidate();
}

void TPushControl::WMKillFocus(TMessage& M) {
    TCustomControl::WMKillFocus(M);
    FPressed = false;
    Invalidate();
}

void TPushControl::CMExit(TMessage& M) {
    TCustomControl::CMExit(M);
    FPressed = false;
}

namespace {
// Which button shows the default frame follows the focus: the default buttons show it while no
// button has the focus. The buttons gaining and losing the focus repaint themselves; the default
// buttons only when the focus moves between a button and another control, so that a dialog's
// answers do not repaint every button.
void InvalidateDefaultButtons(TWinControl* Parent) {
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c)) {
            if (b->Default()) b->Invalidate();
        } else if (auto* w = dynamic_cast<TWinControl*>(c)) {
            InvalidateDefaultButtons(w);
        }
    }
}

// The button a button left the focus to (the form's active control is the new one by then); only
// compared, never used.
const TButton* gEnteredFromButton = nullptr;
} // namespace

void TButton::CMEnter(TMessage& M) {
    TCustomControl::CMEnter(M);
    Invalidate();
    const bool fromButton = gEnteredFromButton == this;
    gEnteredFromButton = nullptr;
    if (TCustomForm* form = ParentForm(); form && !fromButton) InvalidateDefaultButtons(form);
}

void TButton::CMExit(TMessage& M) {
    TPushControl::CMExit(M);
    Invalidate();
    TCustomForm* form = ParentForm();
    if (!form) return;
    if (auto* next = dynamic_cast<TButton*>(form->ActiveControl()); next && next != this) gEnteredFromButton = next;
    else InvalidateDefaultButtons(form);
}

void TButton::CMTextChanged(TMessage&) { Invalidate(); }

void TButton::Paint() {
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    RECT r = ClientRect();
    bool isDefault = IsActiveDefault() && ParentForm() && ParentForm()->Active();
    if (isDefault || Focused()) {
        HBRUSH black = CreateSolidBrush(ColorToRGB(clWindowFrame));
        win::FrameRect(dc, &r, black);
        DeleteObject(black);
        InflateRect(&r, -1, -1);
    }
    HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
    win::FillRect(dc, &r, face);
    DeleteObject(face);
    RECT edge = r;
    if (FPressed) {
        Frame3D(dc, &edge, ColorToRGB(clBtnShadow), ColorToRGB(clBtnShadow), 1);
    } else {
        Frame3D(dc, &edge, ColorToRGB(clBtnHighlight), ColorToRGB(cl3DDkShadow), 1);
        Frame3D(dc, &edge, ColorToRGB(cl3DLight), ColorToRGB(clBtnShadow), 1);
    }
    RECT tr = r;
    if (FPressed) OffsetRect(&tr, 1, 1);
    PaintContent(dc, tr);
    if (Focused()) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        win::DrawFocusRect(dc, &focus);
    }
}

void TButton::PaintContent(HDC dc, TRect tr) {
    std::string text = GetText();
    SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (!Enabled()) {
        RECT shadow = tr;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawText(dc, text.c_str(), int(text.size()), &shadow, flags);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
    }
    DrawText(dc, text.c_str(), int(text.size()), &tr, flags);
}

namespace {

// The properties a stored form keeps of labels and buttons.
struct TStdCtrlsRegistration {
    TStdCtrlsRegistration() {
        using L = TLabel;
        RegisterClass<L>("TLabel", "", With<L>(ControlProperties<L>(), {
            EnumProperty<L>("Alignment", &L::Alignment, &L::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
                .WithDefault(int(TAlignment::taLeftJustify)),
            BooleanProperty<L>("AutoSize", &L::AutoSize, &L::SetAutoSize).WithDefault(1),
            ComponentProperty<L>("FocusControl", &L::FocusControl, &L::SetFocusControl),
            BooleanProperty<L>("ShowAccelChar", &L::ShowAccelChar, &L::SetShowAccelChar).WithDefault(1),
            BooleanProperty<L>("Transparent", &L::Transparent, &L::SetTransparent).WithDefault(0),
            BooleanProperty<L>("WordWrap", &L::WordWrap, &L::SetWordWrap).WithDefault(0),
        }));
        using B = TButton;
        RegisterClass<B>("TButton", "", With<B>(WinControlProperties<B>(), {
            BooleanProperty<B>("TabStop", &B::TabStop, &B::SetTabStop).WithDefault(1),
            // A button is drawn in the face colour, not its parent's.
            ColorProperty<B>("Color", &B::Color, &B::SetColor).WithDefault(clBtnFace),
            BooleanProperty<B>("ParentColor", &B::ParentColor, &B::SetParentColor).WithDefault(0),
            BooleanProperty<B>("Cancel", &B::Cancel, &B::SetCancel).WithDefault(0),
            BooleanProperty<B>("Default", &B::Default, &B::SetDefault).WithDefault(0),
            IntegerProperty<B>("ModalResult", &B::ModalResult, &B::SetModalResult).WithDefault(0),
        }));
    }
} stdCtrlsRegistration;

} // namespace

} // namespace vcl
