// A thin panel the user drags to resize the control beside it; a rubber band shows where it
// goes. Implementations in MoveablePane.cpp.
#pragma once

#include "vcl/ExtCtrls.h"
#include "experts/Rubberband.h"

namespace experts {

enum class TAlignSide { saLeft, saTop, saRight, saBottom };

// The splitter cursors.
constexpr vcl::TCursor crHSplit = -14;
constexpr vcl::TCursor crVSplit = -15;

class TMoveablePane : public vcl::TCustomPanel {
public:
    explicit TMoveablePane(vcl::TComponent* AOwner);
    ~TMoveablePane() override;

    TAlignSide AlignSide() const { return FAlignSide; }
    void SetAlignSide(TAlignSide Value);
    // The control the pane resizes.
    vcl::TControl* Control() const { return FControl; }
    void SetControl(vcl::TControl* Value);
    // Only at run time.
    TRBandComponent* RubberBand() const { return FRubberBand; }

protected:
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void LimitCheck(vcl::TObject* Sender, vcl::TRect R, bool& Action);
    void Resize(vcl::TObject* Sender, vcl::TRect R);
    int FormClientWidth();
    int FormClientHeight();

    TAlignSide FAlignSide = TAlignSide::saLeft;
    vcl::TControl* FControl = nullptr;
    TRBandComponent* FRubberBand = nullptr;
};

} // namespace experts
