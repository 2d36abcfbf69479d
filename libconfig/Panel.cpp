// The panel.
#include "libconfig/Panel.h"

namespace libconfig {

using namespace vcl;

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
    FBevelInner = Value;
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
    FBevelOuter = Value;
    Invalidate();
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
                     ColorToRGB(raised ? clBtnShadow : clBtnHighlight), 1);
    };
    bevel(FBevelOuter);
    bevel(FBevelInner);
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(r);
    std::string text = Caption();
    if (text.empty()) return;
    c->SetFont(Font());
    win::SelectObject(dc, c->Font()->Handle());
    win::SetBkMode(dc, win::TRANSPARENT);
    win::SetTextColor(dc, ColorToRGB(Font()->Color()));
    win::DrawText(dc, text.c_str(), int(text.size()), &r, win::DT_CENTER | win::DT_VCENTER | win::DT_SINGLELINE);
}

} // namespace libconfig
