// The rubber band.
#include "experts/Rubberband.h"

#include "vcl/Forms.h"
#include "vcl/Streaming.h"

namespace experts {

using namespace vcl;

TRBandComponent::TRBandComponent(TComponent* AOwner) : TComponent(AOwner) {}

TRBandComponent::~TRBandComponent() {
    // A drag cut short leaves nothing on the screen.
    if (FDragging && FCanvas) FCanvas->DrawOutline(OutlineAt(FOffset.x, FOffset.y), FThickness);
}

void TRBandComponent::SetControl(TControl* Value) {
    FControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TRBandComponent::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FControl) {
        if (FDragging && FCanvas) FCanvas->DrawOutline(OutlineAt(FOffset.x, FOffset.y), FThickness);
        FControl = nullptr;
        FDragging = false;
        FCanvas.reset();
    }
}

void TRBandComponent::CheckControl() {
    if (FControl) return;
    if (auto* form = dynamic_cast<TCustomForm*>(Owner())) {
        SetControl(form);
        return;
    }
    throw rtl::Exception("Unable to match rubberband to a control.");
}

TRect TRBandComponent::OutlineAt(int DX, int DY) const {
    return Rect(DX, DY, DX + FWidth - 1, DY + FHeight - 1);
}

TRect TRBandComponent::InCoordSpace(TRect R) const {
    if (FCoordSpace != TCoordSpace::rbParent || !FControl->Parent()) return R;
    TPoint a = FControl->Parent()->ScreenToClient(FControl->ClientToScreen(Point(R.left, R.top)));
    TPoint b = FControl->Parent()->ScreenToClient(FControl->ClientToScreen(Point(R.right, R.bottom)));
    return Rect(a.x, a.y, b.x, b.y);
}

void TRBandComponent::DragStart(int X, int Y) {
    CheckControl();
    if (FDragging) FCanvas->DrawOutline(OutlineAt(FOffset.x, FOffset.y), FThickness);
    FStart = Point(X, Y);
    FCanvas = std::make_unique<TScreenCanvas>();
    FCanvas->SetOrigin(FControl);
    if (FFormOnly) FCanvas->SetClipControl(GetParentForm(FControl));
    FWidth = FControl->Width();
    FHeight = FControl->Height();
    if (BeforeDrag) BeforeDrag(this, InCoordSpace(OutlineAt(0, 0)));
    FDragging = true;
    FOffset = Point(0, 0);
    FCanvas->DrawOutline(OutlineAt(0, 0), FThickness);
}

void TRBandComponent::DragMove(int X, int Y) {
    CheckControl();
    if (!FDragging) return;
    if (FConstraint == TRBConstraint::rbHorizontal) Y = FStart.y;
    if (FConstraint == TRBConstraint::rbVertical) X = FStart.x;
    TPoint offset = Point(X - FStart.x, Y - FStart.y);
    if (BeforeMove) {
        bool action = true;
        BeforeMove(this, InCoordSpace(OutlineAt(offset.x, offset.y)), action);
        if (!action) return;
    }
    FCanvas->DrawOutline(OutlineAt(FOffset.x, FOffset.y), FThickness);
    FOffset = offset;
    FCanvas->DrawOutline(OutlineAt(FOffset.x, FOffset.y), FThickness);
}

void TRBandComponent::DragEnd(int X, int Y) {
    CheckControl();
    if (!FDragging) return;
    FCanvas->DrawOutline(OutlineAt(FOffset.x, FOffset.y), FThickness);
    FDragging = false;
    FCanvas.reset();
    if (AfterDrag) AfterDrag(this, InCoordSpace(OutlineAt(X - FStart.x, Y - FStart.y)));
}

namespace {

struct TRegistration {
    TRegistration() {
        using R = TRBandComponent;
        RegisterClass<R>("TRBandComponent", "", {
            EnumProperty<R>("Constraint", &R::Constraint, &R::SetConstraint, {"rbVertical", "rbHorizontal", "rbNone"})
                .WithDefault(int(TRBConstraint::rbNone)),
            EnumProperty<R>("CoordSpace", &R::CoordSpace, &R::SetCoordSpace, {"rbControl", "rbParent"})
                .WithDefault(int(TCoordSpace::rbParent)),
            IntegerProperty<R>("Thickness", &R::Thickness, &R::SetThickness).WithDefault(1),
            BooleanProperty<R>("FormOnly", &R::FormOnly, &R::SetFormOnly).WithDefault(1),
        });
    }
} registration;

} // namespace

} // namespace experts
