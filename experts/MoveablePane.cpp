// The moveable pane.
#include "experts/MoveablePane.h"

#include "vcl/Forms.h"
#include "vcl/StoredControls.h"

#include <algorithm>

namespace experts {

using namespace vcl;

TMoveablePane::TMoveablePane(TComponent* AOwner) : vcl::TCustomPanel(AOwner) {
    // The screen knows no splitter cursors of its own: the sizing arrows stand for them.
    if (Screen) {
        Screen->SetCursors(crHSplit, win::LoadCursor(nullptr, win::IDC_SIZEWE));
        Screen->SetCursors(crVSplit, win::LoadCursor(nullptr, win::IDC_SIZENS));
    }
    if (!(AOwner && AOwner->IsDesigning())) {
        FRubberBand = new TRBandComponent(nullptr);
        FRubberBand->SetControl(this);
        FRubberBand->SetCoordSpace(TCoordSpace::rbParent);
        FRubberBand->BeforeMove = [this](TObject* S, TRect R, bool& A) { LimitCheck(S, R, A); };
        FRubberBand->AfterDrag = [this](TObject* S, TRect R) { Resize(S, R); };
        OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int X, int Y) { FRubberBand->DragStart(X, Y); };
        OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { FRubberBand->DragMove(X, Y); };
        OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int X, int Y) { FRubberBand->DragEnd(X, Y); };
    }
    SetBounds(Left(), Top(), 5, 5);
    SetCaption("");
    SetBevelInner(vcl::TPanelBevel::bvNone);
    SetBevelOuter(vcl::TPanelBevel::bvNone);
    if (AOwner && AOwner->IsDesigning()) SetAlignSide(TAlignSide::saLeft);
}

TMoveablePane::~TMoveablePane() {
    Destroying();
    // The band's events point back at this pane.
    delete FRubberBand;
}

void TMoveablePane::SetAlignSide(TAlignSide Value) {
    FAlignSide = Value;
    static constexpr struct {
        TAlign Align;
        TCursor Cursor;
        TRBConstraint Constraint;
    } sides[] = {
        {TAlign::alLeft, crHSplit, TRBConstraint::rbHorizontal},
        {TAlign::alTop, crVSplit, TRBConstraint::rbVertical},
        {TAlign::alRight, crHSplit, TRBConstraint::rbHorizontal},
        {TAlign::alBottom, crVSplit, TRBConstraint::rbVertical},
    };
    const auto& s = sides[int(Value)];
    SetAlign(s.Align);
    SetCursor(s.Cursor);
    if (FRubberBand) FRubberBand->SetConstraint(s.Constraint);
}

void TMoveablePane::SetControl(TControl* Value) {
    FControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TMoveablePane::Notification(TComponent* AComponent, TOperation Operation) {
    vcl::TCustomPanel::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FControl) FControl = nullptr;
}

// The pane's window keeps the mouse while the button is held, so the outline follows it off the
// pane's few pixels.
void TMoveablePane::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (HandleAllocated()) win::SetCapture(Handle());
    vcl::TCustomPanel::MouseDown(Button, Shift, X, Y);
}

void TMoveablePane::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (HandleAllocated() && win::GetCapture() == Handle()) win::ReleaseCapture();
    vcl::TCustomPanel::MouseUp(Button, Shift, X, Y);
}

int TMoveablePane::FormClientWidth() {
    TCustomForm* f = GetParentForm(this);
    return f ? f->ClientWidth() : 0;
}

int TMoveablePane::FormClientHeight() {
    TCustomForm* f = GetParentForm(this);
    return f ? f->ClientHeight() : 0;
}

void TMoveablePane::LimitCheck(TObject*, TRect R, bool& Action) {
    if (FAlignSide == TAlignSide::saLeft || FAlignSide == TAlignSide::saRight) {
        if (R.right < 0 || R.left > FormClientWidth()) Action = false;
    } else if (R.bottom < 0 || R.top > FormClientHeight()) {
        Action = false;
    }
}

void TMoveablePane::Resize(TObject*, TRect R) {
    TControl* c = FControl;
    if (!c) return;
    const int cw = FormClientWidth(), ch = FormClientHeight();
    switch (FAlignSide) {
    case TAlignSide::saLeft:
        if (R.right > cw - 2) R.left -= R.right - (cw - 2);
        c->SetWidth(R.left < c->Left() ? 4 : R.left - c->Left());
        break;
    case TAlignSide::saTop:
        if (R.bottom > ch - 2) R.top -= R.bottom - (ch - 2);
        c->SetHeight(R.top < c->Top() ? 4 : R.top - c->Top());
        break;
    case TAlignSide::saRight:
        R.right = std::max<int>(R.right, 6);
        c->SetWidth(c->Left() + c->Width() - 1 < R.right ? 4 : cw - R.right);
        break;
    case TAlignSide::saBottom:
        R.bottom = std::max<int>(R.bottom, 6);
        c->SetHeight(c->Top() + c->Height() - 1 < R.bottom ? 4 : ch - R.bottom);
        break;
    }
}

namespace {

// The side has no default, so it is always stored and its setter runs when the form is read.
struct TRegistration {
    TRegistration() {
        using P = TMoveablePane;
        RegisterClass<P>("TMoveablePane", "", With<P>(WinControlProperties<P>(), {
            EnumProperty<P>("AlignSide", &P::AlignSide, &P::SetAlignSide, {"saLeft", "saTop", "saRight", "saBottom"}),
            ComponentProperty<P>("Control", &P::Control, &P::SetControl),
            // A pane starts in the face colour, not its parent's.
            BooleanProperty<P>("ParentColor", &P::ParentColor, &P::SetParentColor).WithDefault(0),
        }));
    }
} registration;

} // namespace

} // namespace experts
