// Spin buttons with their repeat while held, and the spin edit built on the edit window.
#include "vcl/Spin.h"

#include "vcl/StoredControls.h"

#include "rtl/SysUtils.h"

#include <algorithm>
#include <climits>

namespace vcl {

using namespace win;

namespace {
constexpr UINT_PTR RepeatTimer = 1;
constexpr UINT FirstRepeat = 400; // ms before a held button repeats
constexpr UINT NextRepeat = 100;  // ms between repeats
constexpr int SpinWidth = 15;
} // namespace

// --- TSpinButton ----------------------------------------------------------------------------

TSpinButton::TSpinButton(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = csOpaque;
    SetBounds(0, 0, 20, 25);
}

TSpinButton::TPart TSpinButton::PartAt(int Y) const {
    if (Y < 0 || Y >= Height()) return TPart::None;
    return Y < Height() / 2 ? TPart::Up : TPart::Down;
}

void TSpinButton::Step() {
    if (FPressed == TPart::Up && OnUpClick) OnUpClick(this);
    else if (FPressed == TPart::Down && OnDownClick) OnDownClick(this);
}

void TSpinButton::Dispatch(TMessage& M) {
    switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (FFocusControl && FFocusControl->CanFocus() && !FFocusControl->Focused()) FFocusControl->SetFocus();
        FPressed = PartAt(GET_Y_LPARAM(M.LParam));
        if (FPressed == TPart::None) break;
        FInside = true;
        SetCapture(Handle());
        Invalidate();
        SetTimer(Handle(), RepeatTimer, FirstRepeat, nullptr);
        Step();
        M.Result = 0;
        return;
    }
    case WM_MOUSEMOVE:
        if (FPressed != TPart::None) {
            int x = GET_X_LPARAM(M.LParam), y = GET_Y_LPARAM(M.LParam);
            bool inside = x >= 0 && x < Width() && PartAt(y) == FPressed;
            if (inside != FInside) {
                FInside = inside;
                Invalidate();
            }
        }
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (FPressed != TPart::None) {
            FPressed = TPart::None;
            KillTimer(Handle(), RepeatTimer);
            if (M.Msg != WM_CAPTURECHANGED && GetCapture() == Handle()) ReleaseCapture();
            Invalidate();
        }
        break;
    case WM_TIMER:
        if (M.WParam == RepeatTimer) {
            if (FPressed == TPart::None) KillTimer(Handle(), RepeatTimer);
            else {
                SetTimer(Handle(), RepeatTimer, NextRepeat, nullptr);
                if (FInside) Step();
            }
            M.Result = 0;
            return;
        }
        break;
    }
    TCustomControl::Dispatch(M);
}

void TSpinButton::DrawPart(TRect R, bool Up, bool Pressed) {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(R);
    RECT edge = R;
    if (Pressed) {
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(R);
    } else {
        DrawEdge(c->Handle(), &edge, EDGE_RAISED, BF_RECT);
    }
    int shift = Pressed ? 1 : 0;
    int cx = (R.left + R.right) / 2 + shift - (((R.right - R.left) % 2) ? 0 : 1);
    int cy = (R.top + R.bottom) / 2 + shift;
    TColor arrow = Enabled() ? clBtnText : clGrayText;
    c->Brush()->SetColor(arrow);
    c->Pen()->SetColor(arrow);
    if (Up) c->Polygon({Point(cx - 2, cy + 1), Point(cx + 2, cy + 1), Point(cx, cy - 1)});
    else c->Polygon({Point(cx - 2, cy - 1), Point(cx + 2, cy - 1), Point(cx, cy + 1)});
}

void TSpinButton::Paint() {
    int half = Height() / 2;
    bool down = FInside;
    DrawPart(Rect(0, 0, Width(), half), true, down && FPressed == TPart::Up);
    DrawPart(Rect(0, half, Width(), Height()), false, down && FPressed == TPart::Down);
}

// --- TSpinEdit ------------------------------------------------------------------------------

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner), FButton(new TSpinButton(nullptr)) {
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject*) { UpClick(); };
    FButton->OnDownClick = [this](TObject*) { DownClick(); };
    SetRightSpace(SpinWidth);
    SetBuffer("0", false);
    PlaceButton();
}

void TSpinEdit::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

int TSpinEdit::CheckValue(long long Value) const {
    if (FMaxValue != FMinValue) Value = std::clamp<long long>(Value, FMinValue, FMaxValue);
    return int(std::clamp<long long>(Value, INT_MIN, INT_MAX));
}

int TSpinEdit::Value() {
    int v = 0;
    return rtl::TryStrToInt(Text(), v) ? v : FMinValue;
}

void TSpinEdit::SetValue(int Value) { SetText(rtl::IntToStr(CheckValue(Value))); }

void TSpinEdit::UpClick() {
    if (ReadOnly()) MessageBeep(0);
    else SetValue(CheckValue((long long)Value() + FIncrement));
}

void TSpinEdit::DownClick() {
    if (ReadOnly()) MessageBeep(0);
    else SetValue(CheckValue((long long)Value() - FIncrement));
}

void TSpinEdit::KeyDown(unsigned& Key, TShiftState Shift) {
    if (Key == VK_UP || Key == VK_DOWN) {
        TWinControl::KeyDown(Key, Shift);
        if (Key == VK_UP) UpClick();
        else if (Key == VK_DOWN) DownClick();
        Key = 0;
        return;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

void TSpinEdit::KeyPress(char& Key) {
    unsigned char k = static_cast<unsigned char>(Key);
    bool valid = (Key >= '0' && Key <= '9') || Key == '+' || Key == '-' || (k < 32 && Key != '\r');
    if (!valid) {
        Key = 0;
        MessageBeep(0);
        return;
    }
    TCustomEdit::KeyPress(Key);
}

void TSpinEdit::CMExit(TMessage& M) {
    TCustomEdit::CMExit(M);
    // What the box shows when left is its value within the bounds: a number out of them, a
    // sign alone or nothing at all is put right.
    std::string shown = rtl::IntToStr(CheckValue(Value()));
    if (Text() != shown) SetText(shown);
}

void TSpinEdit::PlaceButton() {
    TRect r = ClientRect();
    FButton->SetBounds(std::max(0, int(r.right) - SpinWidth), 0, SpinWidth, r.bottom);
}

void TSpinEdit::WMSize(TMessage& M) {
    TCustomEdit::WMSize(M);
    PlaceButton();
}

namespace {

// The properties stored forms keep of spin edits: the bounds before the value they bound.
struct TSpinEditRegistration {
    TSpinEditRegistration() {
        using S = TSpinEdit;
        RegisterClass<S>("TSpinEdit", "", With<S>(TextControlProperties<S>(), {
            IntegerProperty<S>("Increment", &S::Increment, &S::SetIncrement).WithDefault(1),
            IntegerProperty<S>("MaxLength", &S::MaxLength, &S::SetMaxLength).WithDefault(0),
            IntegerProperty<S>("MaxValue", &S::MaxValue, &S::SetMaxValue).WithDefault(0),
            IntegerProperty<S>("MinValue", &S::MinValue, &S::SetMinValue).WithDefault(0),
            BooleanProperty<S>("ReadOnly", &S::ReadOnly, &S::SetReadOnly).WithDefault(0),
            IntegerProperty<S>("Value", &S::Value, &S::SetValue),
        }));
    }
} spinEditRegistration;

} // namespace

} // namespace vcl
