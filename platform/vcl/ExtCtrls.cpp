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

namespace {

// The properties a stored form keeps of a panel.
struct TPanelRegistration {
    TPanelRegistration() {
        using P = TPanel;
        RegisterClass<P>("TPanel", "", With<P>(WinControlProperties<P>(), {
            EnumProperty<P>("Alignment", &P::Alignment, &P::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
                .WithDefault(int(TAlignment::taCenter)),
            EnumProperty<P>("BevelInner", &P::BevelInner, &P::SetBevelInner, {"bvNone", "bvLowered", "bvRaised"})
                .WithDefault(int(TPanelBevel::bvNone)),
            EnumProperty<P>("BevelOuter", &P::BevelOuter, &P::SetBevelOuter, {"bvNone", "bvLowered", "bvRaised"})
                .WithDefault(int(TPanelBevel::bvRaised)),
            IntegerProperty<P>("BevelWidth", &P::BevelWidth, &P::SetBevelWidth).WithDefault(1),
            IntegerProperty<P>("BorderWidth", &P::BorderWidth, &P::SetBorderWidth).WithDefault(0),
            EnumProperty<P>("BorderStyle", &P::BorderStyle, &P::SetBorderStyle, {"bsNone", "bsSingle"})
                .WithDefault(int(TBorderStyle::bsNone)),
            BooleanProperty<P>("Locked", &P::Locked, &P::SetLocked).WithDefault(0),
            // A panel starts in the face colour, not its parent's.
            BooleanProperty<P>("ParentColor", &P::ParentColor, &P::SetParentColor).WithDefault(0),
        }));
    }
} panelRegistration;

} // namespace

} // namespace vcl
