// The timer component over the window system's timers.
#include "vcl/ExtCtrls.h"

#include "vcl/Forms.h"
#include "vcl/StoredControls.h"

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

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
    if (Value == FBevelInner) return;
    FBevelInner = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
    if (Value == FBevelOuter) return;
    FBevelOuter = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value) {
    if (Value == FBevelWidth || Value < 1) return;
    FBevelWidth = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value) {
    if (Value == FBorderWidth || Value < 0) return;
    FBorderWidth = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FBorderStyle != TBorderStyle::bsSingle) return;
    if (Ctl3D() && win::NewShellLook()) Params.ExStyle |= win::WS_EX_CLIENTEDGE;
    else Params.Style |= win::WS_BORDER;
}

void TCustomPanel::CMCtl3DChanged(TMessage& Message) {
    TCustomControl::CMCtl3DChanged(Message);
    if (FBorderStyle == TBorderStyle::bsSingle) RecreateWnd();
}

void TCustomPanel::WMSize(TMessage& Message) {
    TCustomControl::WMSize(Message);
    // While the form is read its handler's controls may not be made yet.
    if (OnResize && !IsLoading()) OnResize(this);
}

void TCustomPanel::AlignControls(TControl* AControl, TRect& Rect) {
    int inset = FBorderWidth;
    if (FBevelOuter != TPanelBevel::bvNone) inset += FBevelWidth;
    if (FBevelInner != TPanelBevel::bvNone) inset += FBevelWidth;
    win::InflateRect(&Rect, -inset, -inset);
    TCustomControl::AlignControls(AControl, Rect);
}

void TCustomPanel::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void TCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    win::HDC dc = c->Handle();
    auto bevel = [&](TPanelBevel b) {
        if (b == TPanelBevel::bvNone) return;
        bool raised = b == TPanelBevel::bvRaised;
        win::Frame3D(dc, &r, ColorToRGB(raised ? clBtnHighlight : clBtnShadow),
                     ColorToRGB(raised ? clBtnShadow : clBtnHighlight), FBevelWidth);
    };
    bevel(FBevelOuter);
    win::Frame3D(dc, &r, ColorToRGB(Color()), ColorToRGB(Color()), FBorderWidth);
    bevel(FBevelInner);
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(r);
    std::string text = Caption();
    if (text.empty()) return;
    c->SetFont(Font());
    win::SelectObject(dc, c->Font()->Handle());
    // One line high, across the middle.
    int lineHeight = c->TextHeight("W");
    r.top = (r.bottom + r.top - lineHeight) / 2;
    r.bottom = r.top + lineHeight;
    unsigned align = FAlignment == TAlignment::taLeftJustify ? win::DT_LEFT
                   : FAlignment == TAlignment::taRightJustify ? win::DT_RIGHT : win::DT_CENTER;
    win::SetBkMode(dc, win::TRANSPARENT);
    win::SetTextColor(dc, ColorToRGB(Font()->Color()));
    win::DrawText(dc, text.c_str(), int(text.size()), &r, win::DT_EXPANDTABS | win::DT_VCENTER | align);
}

// --- TImage ---------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
    FControlStyle |= csReplicatable;
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::PictureChanged() {
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    Invalidate();
}

void TImage::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    PictureChanged();
}

void TImage::SetCenter(bool Value) {
    if (Value == FCenter) return;
    FCenter = Value;
    Invalidate();
}

void TImage::SetStretch(bool Value) {
    if (Value == FStretch) return;
    FStretch = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    Invalidate();
}

TRect TImage::DestRect() {
    int w = FPicture->Width(), h = FPicture->Height();
    if (FStretch) return Rect(0, 0, Width(), Height());
    if (FCenter) {
        int x = (Width() - w) / 2, y = (Height() - h) / 2;
        return Rect(x, y, x + w, y + h);
    }
    return Rect(0, 0, w, h);
}

void TImage::Paint() {
    TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->Empty()) return;
    TRect dest = DestRect();
    auto* bitmap = dynamic_cast<TBitmap*>(graphic);
    if (!FTransparent || !bitmap) {
        Canvas()->StretchDraw(dest, graphic);
        return;
    }
    // The transparent colour's pixels are masked out, then the rest is ORed on.
    const int w = bitmap->Width(), h = bitmap->Height();
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(w, h);
    win::HDC src = bitmap->Canvas()->Handle();
    win::COLORREF oldBk = win::SetBkColor(src, ColorToRGB(bitmap->TransparentColor()));
    win::BitBlt(mask.Canvas()->Handle(), 0, 0, w, h, src, 0, 0, win::SRCCOPY);
    win::SetBkColor(src, oldBk);
    TBitmap cleared;
    cleared.Assign(bitmap);
    win::HDC c = cleared.Canvas()->Handle();
    win::SetTextColor(c, win::RGB(0, 0, 0));
    win::SetBkColor(c, win::RGB(255, 255, 255));
    win::BitBlt(c, 0, 0, w, h, mask.Canvas()->Handle(), 0, 0, 0x00220326); // D and not S
    win::HDC dc = Canvas()->Handle();
    win::COLORREF oldText = win::SetTextColor(dc, win::RGB(0, 0, 0));
    oldBk = win::SetBkColor(dc, win::RGB(255, 255, 255));
    win::StretchBlt(dc, dest.left, dest.top, dw, dh, mask.Canvas()->Handle(), 0, 0, w, h, win::SRCAND);
    win::StretchBlt(dc, dest.left, dest.top, dw, dh, c, 0, 0, w, h, win::SRCPAINT);
    win::SetTextColor(dc, oldText);
    win::SetBkColor(dc, oldBk);
}

namespace {

// The properties a stored form keeps of a panel.
struct TPanelRegistration {
    TPanelRegistration() {
        RegisterClass<TPanel>("TPanel", "", PanelProperties<TPanel>());
    }
} panelRegistration;

// The properties a stored form keeps of an image; its picture as "Picture.Data".
struct TImageRegistration {
    TImageRegistration() {
        using I = TImage;
        RegisterClass<I>("TImage", "", With<I>(ControlProperties<I>(), {
            BooleanProperty<I>("AutoSize", &I::AutoSize, &I::SetAutoSize).WithDefault(0),
            BooleanProperty<I>("Center", &I::Center, &I::SetCenter).WithDefault(0),
            ClassProperty<I>("Picture", &I::Picture),
            BooleanProperty<I>("Stretch", &I::Stretch, &I::SetStretch).WithDefault(0),
            BooleanProperty<I>("Transparent", &I::Transparent, &I::SetTransparent).WithDefault(0),
        }));
    }
} imageRegistration;

} // namespace

} // namespace vcl
