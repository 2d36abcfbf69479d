#include "declsearch/CheckBox.h"

#include "rtl/BinaryObjects.h"
#include "rtl/Streams.h"
#include "testing/UiTest.h"
#include "vcl/Forms.h"
#include "vcl/Streaming.h"

using namespace vcl;
using namespace declsearch;
using testing_support::TRobot;

namespace {

class CheckBoxTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = BareForm(0, 0, 200, 60);
        Box = new TKwCheckBox(Form);
        Box->SetName("Box");
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 98, 20);
        Box->SetCaption("Case sensitive");
        Box->OnClick = [this](TObject*) { ++Clicks; };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    // A pixel of the box in client coordinates, as on the screen.
    TColor At(int X, int Y) {
        win::UpdateWindow(Form->Handle());
        win::HDC dc = win::GetDC(Form->Handle());
        TColor c = TColor(win::GetPixel(dc, Box->Left() + X, Box->Top() + Y));
        win::ReleaseDC(Form->Handle(), dc);
        return c;
    }
    int Count(TColor Colour, const TRect& R) {
        win::UpdateWindow(Form->Handle());
        win::HDC dc = win::GetDC(Form->Handle());
        int n = 0;
        for (int y = R.top; y < R.bottom; ++y)
            for (int x = R.left; x < R.right; ++x)
                if (TColor(win::GetPixel(dc, Box->Left() + x, Box->Top() + y)) == TColor(ColorToRGB(Colour))) ++n;
        win::ReleaseDC(Form->Handle(), dc);
        return n;
    }
    static TColor Rgb(TColor C) { return TColor(ColorToRGB(C)); }
    void Pump() {
        for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    }

    TForm* Form = nullptr;
    TKwCheckBox* Box = nullptr;
    int Clicks = 0;
};

} // namespace

TEST_F(CheckBoxTest, BoxAndBevelsArePaintedWhereTheyBelong) {
    // Lowered: box from x 1 to 13, y 4 to 16 in a 20-pixel-high control.
    EXPECT_EQ(At(1, 4), Rgb(clBtnShadow));
    EXPECT_EQ(At(13, 16), Rgb(clBtnHighlight));
    EXPECT_EQ(At(2, 5), Rgb(clBlack)) << "inner line of the lowered box";
    EXPECT_EQ(At(7, 10), Rgb(clWhite)) << "BevelColor fill";
    EXPECT_EQ(At(0, 10), Rgb(Box->Color()));
    Box->SetBevel(kbRaised);
    EXPECT_EQ(At(1, 4), Rgb(clBtnHighlight));
    EXPECT_EQ(At(13, 16), Rgb(clBtnShadow));
    EXPECT_EQ(At(7, 10), Rgb(clBtnFace));
    Box->SetAlignment(1); // box on the right: 84 to 96
    EXPECT_EQ(At(84, 4), Rgb(clBtnHighlight));
    EXPECT_EQ(At(96, 16), Rgb(clBtnShadow));
    EXPECT_NE(At(1, 4), Rgb(clBtnHighlight));
    Box->SetCtl3D(false);
    EXPECT_EQ(At(84, 4), Rgb(clBlack));
    EXPECT_EQ(At(90, 10), Rgb(Box->Color()));
    TRobot::Screenshot("/tmp/dc/checkbox.png", Form->Handle());
}

TEST_F(CheckBoxTest, MarksInCheckColourAndTheGrayedSquare) {
    Box->SetCheckColor(clRed);
    TRect inside = Rect(2, 5, 13, 16);
    EXPECT_EQ(Count(clRed, inside), 0);
    struct Case { TKwCheckStyle Style; int Min, Max; } cases[] = {{csCross, 25, 60}, {csOK, 12, 30}, {csPoint, 25, 25}};
    Box->SetChecked(true);
    for (auto& k : cases) {
        Box->SetCheckStyle(k.Style);
        int n = Count(clRed, inside);
        EXPECT_GE(n, k.Min) << k.Style;
        EXPECT_LE(n, k.Max) << k.Style;
        TRobot::Screenshot("/tmp/dc/checkbox-mark" + std::to_string(k.Style) + ".png", Form->Handle());
    }
    EXPECT_EQ(At(7, 10), Rgb(clRed)) << "the point is in the middle";
    Box->SetState(kcsGrayed);
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Count(clRed, inside), 0);
    EXPECT_EQ(Count(clBtnShadow, Rect(3, 6, 12, 15)), 81);
    TRobot::Screenshot("/tmp/dc/checkbox-grayed.png", Form->Handle());
}

TEST_F(CheckBoxTest, EveryChangeOfStateAlignmentOrBevelFiresOneClick) {
    Box->SetAlignment(1);
    EXPECT_EQ(Clicks, 1);
    Box->SetAlignment(1);
    Box->SetAlignment(7); // still "on the right", but another value
    EXPECT_EQ(Clicks, 2);
    Box->SetBevel(kbRaised);
    Box->SetChecked(true);
    Box->SetChecked(true);
    EXPECT_EQ(Clicks, 4);
    Box->SetCheckColor(clRed);
    Box->SetCheckStyle(csCross);
    EXPECT_EQ(Clicks, 4);
}

TEST_F(CheckBoxTest, MouseReleaseInsideAndSpaceToggle) {
    TRobot robot;
    robot.ClickAt(Box->Handle(), Point(5, 10));
    robot.Key(win::VK_SPACE);
    robot.Drag(Box->Handle(), Point(5, 10), Point(150, 10)); // let go outside: nothing
    testing_support::PlayOut(robot, 50, 0);
    Pump();
    ASSERT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(Clicks, 2);
    EXPECT_FALSE(Box->Checked());
    EXPECT_TRUE(Box->Focused());
    // The focus rectangle goes around the caption.
    TRect cap = Box->CaptionRect();
    int col = cap.bottom - cap.top - Count(Box->Color(), Rect(cap.left, cap.top, cap.left + 1, cap.bottom));
    EXPECT_GT(col, 2);
}

TEST_F(CheckBoxTest, DisabledCaptionIsGrey) {
    TRect cap = Box->CaptionRect();
    EXPECT_GT(Count(clWindowText, cap), 10);
    Box->SetEnabled(false);
    EXPECT_EQ(Count(clWindowText, cap), 0);
    EXPECT_GT(Count(clGrayText, cap), 10);
}

TEST_F(CheckBoxTest, StoredPropertiesComeBack) {
    RegisterDeclsearchControls();
    Box->SetAlignment(1);
    Box->SetBevel(kbRaised);
    Box->SetCheckStyle(csPoint);
    Box->SetCheckColor(clNavy);
    Box->SetState(kcsGrayed);
    rtl::TMemoryStream s;
    WriteComponentToStream(Box, s);
    s.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(s, nullptr));
    auto* copy = dynamic_cast<TKwCheckBox*>(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Alignment(), 1);
    EXPECT_EQ(copy->Bevel(), kbRaised);
    EXPECT_EQ(copy->CheckStyle(), csPoint);
    EXPECT_EQ(copy->CheckColor(), clNavy);
    EXPECT_EQ(copy->State(), kcsGrayed);
    EXPECT_EQ(copy->Caption(), "Case sensitive");
    EXPECT_EQ(copy->Width(), 98);
}
