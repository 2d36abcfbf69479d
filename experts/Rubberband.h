// An inverted outline of a control that follows the mouse while the control is dragged.
// Implementations in Rubberband.cpp.
#pragma once

#include "experts/GraphicSecrets.h"

#include <functional>
#include <memory>

namespace experts {

enum class TRBConstraint { rbVertical, rbHorizontal, rbNone };
enum class TCoordSpace { rbControl, rbParent };

using TBeforeMove = std::function<void(vcl::TObject* Sender, vcl::TRect Rect, bool& Action)>;
using TRBandEvent = std::function<void(vcl::TObject* Sender, vcl::TRect ARect)>;

class TRBandComponent : public vcl::TComponent {
public:
    explicit TRBandComponent(vcl::TComponent* AOwner);
    ~TRBandComponent() override;

    vcl::TControl* Control() const { return FControl; }
    void SetControl(vcl::TControl* Value);
    TRBConstraint Constraint() const { return FConstraint; }
    void SetConstraint(TRBConstraint Value) { FConstraint = Value; }
    TCoordSpace CoordSpace() const { return FCoordSpace; }
    void SetCoordSpace(TCoordSpace Value) { FCoordSpace = Value; }
    int Thickness() const { return FThickness; }
    void SetThickness(int Value) { FThickness = Value; }
    bool FormOnly() const { return FFormOnly; }
    void SetFormOnly(bool Value) { FFormOnly = Value; }

    TBeforeMove BeforeMove;
    TRBandEvent BeforeDrag;
    TRBandEvent AfterDrag;

    // Points in the control's client coordinates.
    void DragStart(int X, int Y);
    void DragMove(int X, int Y);
    void DragEnd(int X, int Y);
    bool Dragging() const { return FDragging; }

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void CheckControl();
    vcl::TRect OutlineAt(int DX, int DY) const;
    vcl::TRect InCoordSpace(vcl::TRect R) const;

    vcl::TControl* FControl = nullptr;
    TRBConstraint FConstraint = TRBConstraint::rbNone;
    TCoordSpace FCoordSpace = TCoordSpace::rbParent;
    int FThickness = 1;
    bool FFormOnly = true;

    bool FDragging = false;
    vcl::TPoint FStart;
    int FWidth = 0, FHeight = 0;
    vcl::TPoint FOffset;
    std::unique_ptr<TScreenCanvas> FCanvas;
};

} // namespace experts
