// A label whose text is drawn raised, recessed or with a drop shadow. Implementations in
// LuLabel.cpp.
#pragma once

#include "vcl/StdCtrls.h"

#include <memory>
#include <string>

namespace libconfig {

enum class TTextStyle { tsNone, tsRaised, tsRecessed, tsShadow };

// What the designer shows about the component.
class TLuAboutInfo : public vcl::TPersistent {
public:
    std::string Description() const { return "TLuLabel: a label with raised, recessed or shadowed text"; }
};

class TLuLabel : public vcl::TLabel {
public:
    explicit TLuLabel(vcl::TComponent* AOwner);

    TTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TTextStyle Value);
    int ShadowDepth() const { return FShadowDepth; }
    void SetShadowDepth(int Value);
    vcl::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(vcl::TColor Value);
    TLuAboutInfo* About() const { return FAbout.get(); }

    // Only this much of the caption is drawn.
    static constexpr std::size_t MaxDrawnText = 255;

protected:
    void Paint() override;

private:
    void DrawLabelText(const std::string& Text, vcl::TRect R, unsigned Flags);

    TTextStyle FTextStyle = TTextStyle::tsRecessed;
    int FShadowDepth = 2;
    vcl::TColor FShadowColor = vcl::clBtnShadow;
    std::unique_ptr<TLuAboutInfo> FAbout;
};

} // namespace libconfig
