// The panel the splitter pane is made from: a face with an outer and an inner bevel and a centred
// caption. It stands in for the class library's panel until that has one. Implementations in
// Panel.cpp.
#pragma once

#include "vcl/Controls.h"

namespace experts {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TCustomPanel : public vcl::TCustomControl {
public:
    explicit TCustomPanel(vcl::TComponent* AOwner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);

protected:
    void Paint() override;
    void CMTextChanged(vcl::TMessage& Message) override;

private:
    TPanelBevel FBevelInner = TPanelBevel::bvNone;
    TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
};

} // namespace experts
