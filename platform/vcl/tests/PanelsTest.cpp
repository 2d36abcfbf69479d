#include "testing/UiTest.h"

#include "vcl/DialogBuilding.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Streaming.h"

#include "rtl/Streams.h"

#include <string>

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class PanelsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetCaption("Panels");
        Form->SetBounds(100, 100, 400, 260);
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    TPanel* Add(const char* Name, int Left, int Top, int Width, int Height) {
        return AddControl<TPanel>(Form, Form, Name, Left, Top, Width, Height);
    }
    // A pixel of the form's client area.
    win::COLORREF Pixel(int X, int Y) { return testing_support::ClientPixel(Form, X, Y); }

    TForm* Form = nullptr;
};

} // namespace

TEST_F(PanelsTest, OuterBevelBorderAndInnerBevelLieInsideOneAnother) {
    auto* p = Add("pnlFrames", 10, 10, 100, 60);
    p->SetCaption("");
    p->SetBevelWidth(2);
    p->SetBorderWidth(3);
    p->SetBevelInner(TPanelBevel::bvLowered);
    p->SetColor(clYellow);
    Form->Show();
    Form->Update();
    const win::COLORREF light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow), face = ColorToRGB(clYellow);
    // Down the left side at mid height: 2 raised, 3 border, 2 lowered, then the face; the right
    // side mirrors it.
    const win::COLORREF left[] = {light, light, face, face, face, dark, dark, face};
    const win::COLORREF right[] = {dark, dark, face, face, face, light, light, face};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Pixel(10 + i, 40), left[i]) << "left " << i;
        EXPECT_EQ(Pixel(10 + 99 - i, 40), right[i]) << "right " << i;
    }
    // The controls it holds lie inside all three.
    auto* inner = new TPanel(Form);
    inner->SetParent(p);
    inner->SetAlign(TAlign::alClient);
    EXPECT_EQ(inner->BoundsRect().left, 7);
    EXPECT_EQ(inner->BoundsRect().bottom, 60 - 7);
    p->SetBevelInner(TPanelBevel::bvNone);
    EXPECT_EQ(inner->BoundsRect().left, 5);
}

TEST_F(PanelsTest, ASingleBorderIsASunkenWindowEdgeAndTheCaptionFollowsAlignment) {
    auto* plain = Add("pnlPlain", 10, 10, 120, 40);
    auto* framed = Add("pnlFramed", 10, 60, 120, 40);
    framed->SetBorderStyle(TBorderStyle::bsSingle);
    framed->SetBevelOuter(TPanelBevel::bvNone);
    framed->SetColor(clWhite);
    framed->SetCaption("Preview");
    auto* left = Add("pnlLeft", 150, 10, 120, 40);
    left->SetAlignment(TAlignment::taLeftJustify);
    left->SetCaption("Left");
    auto* right = Add("pnlRight", 150, 60, 120, 40);
    right->SetAlignment(TAlignment::taRightJustify);
    right->SetCaption("Right");
    Form->Show();
    Form->Update();
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-panels.png", Form->Handle()));
    EXPECT_EQ(plain->Caption(), "pnlPlain");
    EXPECT_EQ(framed->ClientWidth(), 116) << "the sunken edge is two pixels on each side";
    EXPECT_EQ(Pixel(10, 80), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Pixel(11, 80), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(Pixel(12, 80), ColorToRGB(clWhite));
    auto inkColumns = [&](TPanel* P) {
        int first = -1, last = -1;
        for (int x = 2; x < P->Width() - 2; ++x)
            for (int y = 2; y < P->Height() - 2; ++y)
                if (Pixel(P->Left() + x, P->Top() + y) == ColorToRGB(clWindowText)) {
                    if (first < 0) first = x;
                    last = x;
                }
        return std::make_pair(first, last);
    };
    auto [leftFirst, leftLast] = inkColumns(left);
    auto [rightFirst, rightLast] = inkColumns(right);
    EXPECT_GE(leftFirst, 1);
    EXPECT_LT(leftFirst, 5);
    EXPECT_GT(rightLast, 120 - 5);
    EXPECT_GT(rightFirst, 60);
    auto [framedFirst, framedLast] = inkColumns(framed);
    EXPECT_NEAR(framedFirst + framedLast, 120, 4) << "centred";
}

TEST_F(PanelsTest, AStoredPanelComesBackWithItsFramesAndChildren) {
    auto* p = Add("pnlButtons", 0, 0, 200, 40);
    p->SetAlign(TAlign::alBottom);
    p->SetBevelInner(TPanelBevel::bvLowered);
    p->SetBevelOuter(TPanelBevel::bvNone);
    p->SetBevelWidth(2);
    p->SetBorderWidth(4);
    p->SetBorderStyle(TBorderStyle::bsSingle);
    p->SetAlignment(TAlignment::taRightJustify);
    p->SetCaption("");
    p->SetLocked(true);
    p->SetParentColor(true);
    auto* child = new TPanel(Form);
    child->SetName("pnlChild");
    child->SetParent(p);
    child->SetAlign(TAlign::alLeft);
    child->SetColor(clNavy);

    rtl::TMemoryStream s;
    WriteComponentToStream(Form, s);
    auto* copy = Make<TForm>(Application);
    copy->SetBounds(0, 0, 400, 260);
    s.SetPosition(0);
    ReadComponentFromStream(s, copy);
    auto* p2 = dynamic_cast<TPanel*>(copy->FindComponent("pnlButtons"));
    auto* child2 = dynamic_cast<TPanel*>(copy->FindComponent("pnlChild"));
    ASSERT_TRUE(p2 && child2);
    EXPECT_EQ(p2->Align(), TAlign::alBottom);
    EXPECT_EQ(p2->BevelInner(), TPanelBevel::bvLowered);
    EXPECT_EQ(p2->BevelOuter(), TPanelBevel::bvNone);
    EXPECT_EQ(p2->BevelWidth(), 2);
    EXPECT_EQ(p2->BorderWidth(), 4);
    EXPECT_EQ(p2->BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_EQ(p2->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(p2->Caption(), "") << "a cleared caption does not come back as the name";
    EXPECT_TRUE(p2->Locked());
    EXPECT_TRUE(p2->ParentColor());
    EXPECT_EQ(child2->Parent(), p2);
    EXPECT_EQ(child2->Color(), clNavy);
    EXPECT_EQ(child2->Align(), TAlign::alLeft);
    delete copy;
}
