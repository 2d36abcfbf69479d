// The three-dimensional label.
#include "libconfig/LuLabel.h"

#include "vcl/Streaming.h"

namespace libconfig {

using namespace vcl;

TLuLabel::TLuLabel(TComponent* AOwner) : TLabel(AOwner), FAbout(std::make_unique<TLuAboutInfo>()) {}

void TLuLabel::SetTextStyle(TTextStyle Value) {
    if (Value == FTextStyle) return;
    FTextStyle = Value;
    Invalidate();
}

void TLuLabel::SetShadowDepth(int Value) {
    if (Value == FShadowDepth) return;
    FShadowDepth = Value;
    Invalidate();
}

void TLuLabel::SetShadowColor(TColor Value) {
    if (Value == FShadowColor) return;
    FShadowColor = Value;
    Invalidate();
}

void TLuLabel::Paint() {
    TRect r = ClientRect();
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas->FillRect(r);
    }
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    std::string text = GetText();
    if (text.size() > MaxDrawnText) text.resize(MaxDrawnText);
    unsigned flags = win::DT_EXPANDTABS;
    switch (Alignment()) {
    case TAlignment::taLeftJustify: flags |= win::DT_LEFT; break;
    case TAlignment::taRightJustify: flags |= win::DT_RIGHT; break;
    case TAlignment::taCenter: flags |= win::DT_CENTER; break;
    }
    if (WordWrap()) flags |= win::DT_WORDBREAK;
    if (!ShowAccelChar()) flags |= win::DT_NOPREFIX;
    canvas->SetFont(Font());
    DrawLabelText(text, r, flags);
}

void TLuLabel::DrawLabelText(const std::string& Text, TRect R, unsigned Flags) {
    win::HDC dc = Canvas()->Handle();
    win::HGDIOBJ oldFont = win::SelectObject(dc, Canvas()->Font()->Handle());
    win::SetBkMode(dc, win::TRANSPARENT);
    auto drawAt = [&](int dx, int dy, TColor colour) {
        TRect moved = R;
        win::OffsetRect(&moved, dx, dy);
        win::SetTextColor(dc, ColorToRGB(colour));
        win::DrawText(dc, Text.c_str(), int(Text.size()), &moved, Flags);
    };
    switch (FTextStyle) {
    case TTextStyle::tsRaised:
        drawAt(1, 1, clBtnShadow);
        drawAt(-1, -1, clBtnHighlight);
        break;
    case TTextStyle::tsRecessed:
        drawAt(1, 1, clBtnHighlight);
        drawAt(-1, -1, clBtnShadow);
        break;
    case TTextStyle::tsShadow: drawAt(FShadowDepth, FShadowDepth, FShadowColor); break;
    case TTextStyle::tsNone: break;
    }
    drawAt(0, 0, Enabled() ? Font()->Color() : clGrayText);
    win::SelectObject(dc, oldFont);
}

namespace {

// The properties a stored form keeps of the label.
struct TRegistration {
    TRegistration() {
        RegisterClass<TLuLabel>("TLuLabel", "TLabel", {
            StringProperty<TLuLabel>("Caption", &TLuLabel::Caption, &TLuLabel::SetCaption),
            EnumProperty<TLuLabel>("TextStyle", &TLuLabel::TextStyle, &TLuLabel::SetTextStyle,
                                   {"tsNone", "tsRaised", "tsRecessed", "tsShadow"})
                .WithDefault(int(TTextStyle::tsRecessed)),
            IntegerProperty<TLuLabel>("ShadowDepth", &TLuLabel::ShadowDepth, &TLuLabel::SetShadowDepth).WithDefault(2),
            ColorProperty<TLuLabel>("ShadowColor", &TLuLabel::ShadowColor, &TLuLabel::SetShadowColor)
                .WithDefault(clBtnShadow),
        });
    }
} registration;

} // namespace

} // namespace libconfig
