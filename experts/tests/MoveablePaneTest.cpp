#include "experts/MoveablePane.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"
#include "testing/StoredText.h"
#include "testing/UiTest.h"
#include "vcl/Streaming.h"

#include <vector>

namespace experts {
namespace {

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;

// A block of the screen's pixels.
std::vector<win::COLORREF> Grab(TRect R) {
    std::vector<win::COLORREF> px;
    win::HDC dc = win::GetDC(nullptr);
    for (int y = R.top; y < R.bottom; ++y)
        for (int x = R.left; x < R.right; ++x) px.push_back(win::GetPixel(dc, x, y));
    win::ReleaseDC(nullptr, dc);
    return px;
}

class SplitterTest : public UiTest {
protected:
    // A form at 40, 30 without a frame: a fixed strip, the resized list, the pane, the rest.
    void SetUp() override {
        UiTest::SetUp();
        Form = BareForm(40, 30, 300, 200);
        Form->SetColor(clWhite);
        Strip = AddPanel(TAlign::alLeft, 50, clNavy);
        List = AddPanel(TAlign::alLeft, 100, clYellow);
        Pane = new TMoveablePane(Form);
        Pane->SetParent(Form);
        Pane->SetName("pnlSplit");
        Pane->SetColor(clRed);
        Pane->SetAlignSide(TAlignSide::saLeft);
        Pane->SetLeft(200);
        Pane->SetControl(List);
        Rest = AddPanel(TAlign::alClient, 10, clLime);
        Form->Show();
        Idle();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    vcl::TCustomPanel* AddPanel(TAlign Align, int Width, TColor Colour) {
        auto* p = new vcl::TCustomPanel(Form);
        p->SetParent(Form);
        p->SetBevelOuter(vcl::TPanelBevel::bvNone);
        p->SetLeft(300);
        p->SetWidth(Width);
        p->SetAlign(Align);
        p->SetColor(Colour);
        return p;
    }
    void Idle() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    // Drags the pane by DX, DY from a point inside it.
    void DragPane(int DX, int DY) {
        TRobot robot;
        robot.Drag(Pane->Handle(), Point(2, 50), Point(2 + DX, 50 + DY), 4);
        testing_support::PlayOut(robot, 30, 0);
        Idle();
        ASSERT_TRUE(robot.Done()) << robot.Describe();
    }

    TForm* Form = nullptr;
    vcl::TCustomPanel *Strip = nullptr, *List = nullptr, *Rest = nullptr;
    TMoveablePane* Pane = nullptr;
};

TEST_F(SplitterTest, ThickOutlineIsNestedRingsAndASecondDrawingRemovesIt) {
    const TRect area = Rect(40, 30, 340, 230);
    const std::vector<win::COLORREF> before = Grab(area);
    TScreenCanvas canvas;
    canvas.SetOrigin(List);
    canvas.DrawOutline(Rect(60, 40, 10, 10), 3); // corners in either order
    std::vector<win::COLORREF> drawn = Grab(area);
    // List's client origin is 90, 30 on the screen; rings 0 to 2 run inside 10,10 - 60,40.
    auto changed = [&](int sx, int sy) {
        std::size_t i = std::size_t((sy - area.top) * (area.right - area.left) + (sx - area.left));
        return drawn[i] != before[i];
    };
    for (int ring = 0; ring < 3; ++ring) {
        int left = 90 + 10 + ring, top = 30 + 10 + ring;
        EXPECT_TRUE(changed(left, top + 4) || changed(left, top + 5)) << "ring " << ring << " left side";
        EXPECT_TRUE(changed(left + 4, top) || changed(left + 5, top)) << "ring " << ring << " top side";
    }
    EXPECT_FALSE(changed(90 + 30, 30 + 25)) << "the inside stays";
    canvas.DrawOutline(Rect(10, 10, 60, 40), 3);
    EXPECT_EQ(Grab(area), before);

    // Clipped to the form: nothing lands outside it, and twice still leaves no trace.
    const TRect outside = Rect(0, 0, 40, 300);
    const std::vector<win::COLORREF> left = Grab(outside);
    canvas.SetClipControl(Form);
    canvas.DrawOutline(Rect(-80, 5, 20, 50), 2);
    EXPECT_EQ(Grab(outside), left);
    EXPECT_NE(Grab(area), before);
    canvas.DrawOutline(Rect(-80, 5, 20, 50), 2);
    EXPECT_EQ(Grab(area), before);
}

TEST_F(SplitterTest, BandFollowsTheMouseWithinItsConstraintAndReportsParentRectangles) {
    TRBandComponent band(nullptr);
    band.SetControl(List);
    band.SetConstraint(TRBConstraint::rbHorizontal);
    band.SetThickness(2);
    std::vector<TRect> moves;
    TRect started, ended;
    band.BeforeDrag = [&](TObject*, TRect R) { started = R; };
    band.BeforeMove = [&](TObject*, TRect R, bool& Action) {
        moves.push_back(R);
        Action = R.left < 120;
    };
    band.AfterDrag = [&](TObject*, TRect R) { ended = R; };
    const TRect area = Rect(40, 30, 340, 230);
    const std::vector<win::COLORREF> before = Grab(area);

    band.DragMove(5, 5); // no drag yet
    band.DragEnd(5, 5);
    EXPECT_TRUE(moves.empty());
    band.DragStart(10, 10);
    EXPECT_EQ(started, Rect(50, 0, 149, 199)) << "the list in its form's coordinates";
    band.DragMove(30, 90);
    band.DragMove(200, 90); // refused: the outline stays at the last place
    std::vector<win::COLORREF> held = Grab(area);
    band.DragMove(30, 10);
    EXPECT_EQ(Grab(area), held) << "a vertical movement leaves the outline where it is";
    band.DragEnd(40, 60);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(moves[0], Rect(70, 0, 169, 199)) << "Y held at the start";
    EXPECT_EQ(moves[1].left, 240);
    EXPECT_EQ(ended, Rect(80, 50, 179, 249)) << "the release point, unconstrained";
    EXPECT_EQ(Grab(area), before) << "nothing left on the screen";

    band.SetCoordSpace(TCoordSpace::rbControl);
    band.DragStart(0, 0);
    EXPECT_EQ(started, Rect(0, 0, 99, 199));
    band.DragEnd(0, 0);
}

TEST_F(SplitterTest, BandWithoutAControlTakesItsFormOrRefuses) {
    TRBandComponent lone(nullptr);
    for (auto call : {&TRBandComponent::DragStart, &TRBandComponent::DragMove, &TRBandComponent::DragEnd}) {
        try {
            (lone.*call)(1, 1);
            ADD_FAILURE() << "no error";
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(), "Unable to match rubberband to a control.");
        }
    }
    auto* owned = new TRBandComponent(Form);
    owned->DragStart(1, 1);
    EXPECT_EQ(owned->Control(), Form);
    owned->DragEnd(1, 1);
    EXPECT_FALSE(owned->Dragging());
}

TEST_F(SplitterTest, DraggingThePaneResizesTheList) {
    EXPECT_EQ(Pane->Left(), 150);
    EXPECT_EQ(Pane->Cursor(), crHSplit);
    EXPECT_EQ(Screen->Cursors(crHSplit), win::LoadCursor(nullptr, win::IDC_SIZEWE));
    DragPane(40, 30);
    EXPECT_EQ(List->Width(), 140);
    EXPECT_EQ(Pane->Left(), 190) << "the pane follows its aligned neighbour";

    // Beyond the form's right edge the list's right edge stays two pixels inside it.
    DragPane(400, 0);
    EXPECT_EQ(List->Width(), 300 - 2 - 4 - 50);
    // Left of the list's own left edge the list keeps a width of 4.
    DragPane(-Pane->Left() + 20, 0);
    EXPECT_EQ(List->Width(), 4);
}

TEST_F(SplitterTest, PaneRulesForEachSide) {
    // Rectangles as the band hands them, in the form's coordinates; the form is 300 x 200.
    struct TCase {
        TAlignSide Side;
        TRect Control; // bounds of the resized control before
        TRect Dropped;
        int Width, Height;
    };
    const TCase cases[] = {
        {TAlignSide::saTop, Rect(0, 0, 300, 50), Rect(0, 80, 299, 84), 300, 80},
        {TAlignSide::saTop, Rect(0, 20, 300, 50), Rect(0, 10, 299, 14), 300, 4},
        {TAlignSide::saTop, Rect(0, 0, 300, 50), Rect(0, 250, 299, 254), 300, 194},
        {TAlignSide::saRight, Rect(250, 0, 300, 200), Rect(200, 0, 204, 199), 96, 200},
        {TAlignSide::saRight, Rect(250, 0, 300, 200), Rect(-50, 0, -46, 199), 294, 200},
        {TAlignSide::saRight, Rect(250, 0, 300, 200), Rect(300, 0, 304, 199), 4, 200},
        {TAlignSide::saBottom, Rect(0, 150, 300, 200), Rect(0, 100, 299, 104), 300, 96},
        {TAlignSide::saBottom, Rect(0, 150, 300, 200), Rect(0, 210, 299, 214), 300, 4},
    };
    vcl::TCustomPanel* target = AddPanel(TAlign::alNone, 10, clBlack);
    Pane->SetControl(target);
    Pane->SetAlign(TAlign::alNone);
    for (const TCase& c : cases) {
        Pane->SetAlignSide(c.Side);
        Pane->SetAlign(TAlign::alNone);
        target->SetBoundsRect(c.Control);
        ASSERT_TRUE(Pane->RubberBand()->AfterDrag);
        Pane->RubberBand()->AfterDrag(Pane->RubberBand(), c.Dropped);
        EXPECT_EQ(target->Width(), c.Width) << "side " << int(c.Side) << " dropped at " << c.Dropped.left << "," << c.Dropped.top;
        EXPECT_EQ(target->Height(), c.Height) << "side " << int(c.Side) << " dropped at " << c.Dropped.left << "," << c.Dropped.top;
    }
    // The limit check refuses outlines wholly off the form.
    struct TLimit {
        TAlignSide Side;
        TRect R;
        bool Allowed;
    };
    const TLimit limits[] = {
        {TAlignSide::saLeft, Rect(-6, 0, -1, 199), false}, {TAlignSide::saLeft, Rect(-4, 0, 0, 199), true},
        {TAlignSide::saLeft, Rect(300, 0, 304, 199), true}, {TAlignSide::saLeft, Rect(301, 0, 305, 199), false},
        {TAlignSide::saBottom, Rect(0, 201, 299, 205), false}, {TAlignSide::saTop, Rect(0, -5, 299, -1), false},
        {TAlignSide::saTop, Rect(0, 100, 299, 104), true},
    };
    for (const TLimit& l : limits) {
        Pane->SetAlignSide(l.Side);
        bool action = true;
        Pane->RubberBand()->BeforeMove(Pane->RubberBand(), l.R, action);
        EXPECT_EQ(action, l.Allowed) << "side " << int(l.Side) << " at " << l.R.left << "," << l.R.top;
    }
    const std::pair<TAlignSide, TCursor> cursors[] = {{TAlignSide::saTop, crVSplit}, {TAlignSide::saRight, crHSplit}};
    for (auto [side, cursor] : cursors) {
        Pane->SetAlignSide(side);
        EXPECT_EQ(Pane->Cursor(), cursor);
        EXPECT_EQ(Pane->RubberBand()->Constraint(),
                  side == TAlignSide::saTop ? TRBConstraint::rbVertical : TRBConstraint::rbHorizontal);
    }
}

TEST_F(SplitterTest, StoredPaneAndBand) {
    TRBandComponent band(nullptr);
    EXPECT_EQ(testing_support::StoredText(&band), "object TRBandComponent\r\nend\r\n");
    band.SetThickness(3);
    band.SetFormOnly(false);
    band.SetConstraint(TRBConstraint::rbVertical);
    EXPECT_EQ(testing_support::StoredText(&band),
              "object TRBandComponent\r\n  Constraint = rbVertical\r\n  Thickness = 3\r\n  FormOnly = False\r\nend\r\n");

    // The side is stored even at its first value, so reading always aligns the pane.
    TMoveablePane pane(nullptr);
    EXPECT_EQ(testing_support::StoredText(&pane), "object TMoveablePane\r\n  Left = 0\r\n  Top = 0\r\n  Width = 5\r\n  Height = 5\r\n"
                             "  Color = clBtnFace\r\n  TabStop = False\r\n  AlignSide = saLeft\r\nend\r\n");
    rtl::TStringStream text("object TMoveablePane\r\n  AlignSide = saBottom\r\nend\r\n"), binary;
    rtl::ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(binary, nullptr));
    auto* stored = dynamic_cast<TMoveablePane*>(read.get());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->Align(), TAlign::alBottom);
    EXPECT_EQ(stored->Cursor(), crVSplit);
    EXPECT_EQ(stored->RubberBand()->Constraint(), TRBConstraint::rbVertical);
}

TEST_F(SplitterTest, Screenshot) {
    TRBandComponent band(nullptr);
    band.SetControl(Pane);
    band.SetThickness(3);
    band.DragStart(2, 50);
    band.DragMove(60, 50);
    EXPECT_TRUE(TRobot::Screenshot("/tmp/moveablepane.png"));
    band.DragEnd(60, 50);
}

} // namespace
} // namespace experts
