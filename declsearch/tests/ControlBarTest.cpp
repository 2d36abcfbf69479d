#include "declsearch/ControlBar.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"
#include "testing/StoredText.h"
#include "testing/UiTest.h"
#include "vcl/Forms.h"
#include "vcl/Streaming.h"

using namespace vcl;
using namespace declsearch;
using testing_support::TBy;
using testing_support::TRobot;

namespace {

class ControlBarTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = BareForm(0, 0, 320, 120);
        Bar = new TKWControlBar(Form);
        Bar->SetParent(Form);
        Bar->SetBounds(0, 0, 300, 60);
        Bar->SetMargin(2);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    template <class T>
    T* Add(int L, int T_, int W, int H) {
        auto* s = new T(Form);
        s->SetParent(Bar);
        s->SetBounds(L, T_, W, H);
        return s;
    }
    TColor At(int X, int Y) {
        win::UpdateWindow(Form->Handle());
        win::HDC dc = win::GetDC(Bar->Handle());
        TColor c = TColor(win::GetPixel(dc, X, Y));
        win::ReleaseDC(Bar->Handle(), dc);
        return c;
    }
    static TColor Rgb(TColor C) { return TColor(ColorToRGB(C)); }
    void Run(TRobot& Robot) {
        ASSERT_TRUE(testing_support::PlayOut(Robot, 60, 5)) << Robot.Describe();
    }

    TForm* Form = nullptr;
    TKWControlBar* Bar = nullptr;
};

} // namespace

TEST_F(ControlBarTest, LeftAlignedSectionsLineUpInTheOrderOfTheirLeftEdges) {
    // Inner rectangle: one raised bevel, so x from 1.
    auto* a = Add<TKWControlSection>(100, 5, 25, 25);
    auto* b = Add<TKWControlSection>(40, 5, 30, 25);
    auto* c = Add<TKWInfoSection>(70, 10, 50, 20);
    auto* lower = Add<TKWControlSection>(200, 32, 25, 25); // another row
    for (TKWCustomSection* s : std::initializer_list<TKWCustomSection*>{b, c, a, lower}) s->SetHAlign(haLeft);
    EXPECT_EQ(b->Left(), 3);
    EXPECT_EQ(c->Left(), 3 + 30 + 2);
    EXPECT_EQ(a->Left(), 35 + 50 + 2);
    EXPECT_EQ(lower->Left(), 3) << "a row that does not overlap starts at the edge";
    EXPECT_EQ(a->Top(), 5) << "the horizontal pass keeps the top";
    // Moved to the right, b goes behind the others; moved to the left of all, it comes first
    // again; at an equal left edge the moved one wins.
    b->SetLeft(150);
    EXPECT_EQ(c->Left(), 3);
    EXPECT_EQ(a->Left(), 55);
    EXPECT_EQ(b->Left(), 82);
    a->SetLeft(3);
    EXPECT_EQ(a->Left(), 3);
    EXPECT_EQ(c->Left(), 30);
    EXPECT_EQ(b->Left(), 82);
    // The information section without its left frame sits on its neighbour.
    c->SetOptions(foRight | foTop | foBottom);
    EXPECT_EQ(c->Left(), 28);
}

TEST_F(ControlBarTest, RightCentreAndVerticalPlacement) {
    auto* r1 = Add<TKWControlSection>(10, 5, 25, 25);
    auto* r2 = Add<TKWInfoSection>(60, 5, 40, 25);
    r2->SetHAlign(haRight);
    r1->SetHAlign(haRight);
    EXPECT_EQ(r2->Left() + r2->Width(), 299 - 2) << "the larger right edge goes first";
    EXPECT_EQ(r1->Left() + r1->Width(), r2->Left() - 2);
    r2->SetOptions(foLeft | foTop | foBottom);
    EXPECT_EQ(r2->Left() + r2->Width(), 299) << "no right frame: no margin";
    EXPECT_EQ(r1->Left() + r1->Width(), 299 - 40 - 2);
    auto* c1 = Add<TKWControlSection>(0, 30, 40, 20);
    auto* c2 = Add<TKWControlSection>(5, 30, 60, 20);
    c1->SetHAlign(haCenter);
    c2->SetHAlign(haCenter);
    EXPECT_EQ(c1->Left(), 150 - 20);
    EXPECT_EQ(c2->Left(), 150 - 30);
    c1->SetVAlign(vaTop);
    c2->SetVAlign(vaBottom);
    EXPECT_EQ(c1->Top(), 1 + 2);
    EXPECT_EQ(c2->Top() + c2->Height(), 59 - 2);
    r1->SetVAlign(vaCenter);
    EXPECT_EQ(r1->Top(), 17); // Trunc(30 - 12.5)
    // Bar settings realign.
    Bar->SetBorderWidth(3);
    EXPECT_EQ(c1->Top(), 4 + 2);
    EXPECT_EQ(r2->Left() + r2->Width(), 296);
}

TEST_F(ControlBarTest, GroupsKeepOneSectionDown) {
    auto* free = Add<TKWControlSection>(0, 0, 25, 25);
    auto* one = Add<TKWControlSection>(30, 0, 25, 25);
    auto* two = Add<TKWControlSection>(60, 0, 25, 25);
    free->SetDown(true);
    EXPECT_FALSE(free->Down()) << "no group, never down";
    one->SetGroupIndex(1);
    two->SetGroupIndex(1);
    int clicks = 0;
    one->OnClick = [&](TObject*) { ++clicks; };
    TRobot robot;
    robot.ClickAt(Bar->Handle(), Point(40, 10));
    robot.Do([&] { EXPECT_TRUE(one->Down()); EXPECT_EQ(one->State(), bsExclusive); });
    robot.ClickAt(Bar->Handle(), Point(40, 10)); // without AllowAllUp it stays down
    robot.Do([&] { EXPECT_TRUE(one->Down()); EXPECT_EQ(one->State(), bsExclusive); });
    robot.ClickAt(Bar->Handle(), Point(70, 10));
    robot.Drag(Bar->Handle(), Point(40, 10), Point(200, 10)); // let go outside: no change
    Run(robot);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(one->Down());
    EXPECT_TRUE(two->Down());
    EXPECT_EQ(one->State(), bsUp);
    // AllowAllUp travels with the group.
    two->SetAllowAllUp(true);
    EXPECT_TRUE(one->AllowAllUp());
    two->SetDown(false);
    EXPECT_FALSE(two->Down());
}

TEST_F(ControlBarTest, PressingDrawsTheSunkenFaceUntilTheRelease) {
    auto* s = Add<TKWControlSection>(10, 10, 25, 25);
    s->SetStyle(bsNew);
    TRobot robot;
    robot.Do([&] { win::SendMessage(Bar->Handle(), win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(20, 20)); });
    robot.Do([&] {
        EXPECT_EQ(s->State(), bsDown);
        EXPECT_EQ(At(10, 10), Rgb(clWindowFrame));
        win::SendMessage(Bar->Handle(), win::WM_MOUSEMOVE, win::MK_LBUTTON, win::MAKELPARAM(100, 20));
        EXPECT_EQ(s->State(), bsUp);
        win::SendMessage(Bar->Handle(), win::WM_LBUTTONUP, 0, win::MAKELPARAM(100, 20));
    });
    Run(robot);
    EXPECT_EQ(At(10, 10), Rgb(clBtnFace));
    EXPECT_EQ(At(11, 11), Rgb(clBtnHighlight));
}

TEST_F(ControlBarTest, FacesAndFramesInTheOldAndNewLook) {
    auto* button = Add<TKWControlSection>(10, 10, 25, 25);
    auto* info = Add<TKWInfoSection>(60, 10, 80, 30);
    button->SetCaption("Go");
    info->SetCaption("3 found");
    struct Case { TButtonStyle Style; TColor Bar00, Bar11, Button00, Info00; } cases[] = {
        {bsNew, clBtnFace, clBtnHighlight, clBtnFace, clWindowFrame},
        {bsWin31, clBtnHighlight, clBtnFace, clWindowFrame, clBtnShadow},
    };
    for (auto& k : cases) {
        Bar->SetStyle(k.Style);
        button->SetStyle(k.Style);
        info->SetStyle(k.Style);
        EXPECT_EQ(At(0, 0), Rgb(k.Bar00)) << k.Style;
        EXPECT_EQ(At(1, 1), Rgb(k.Bar11)) << k.Style;
        EXPECT_EQ(At(10, 10), Rgb(k.Button00)) << k.Style;
        EXPECT_EQ(At(60, 10), Rgb(k.Info00)) << k.Style;
        TRobot::Screenshot(std::string("/tmp/dc/controlbar-") + (k.Style == bsNew ? "new" : "old") + ".png",
                           Form->Handle());
    }
    // Sides left out of Options are filled up to the edge.
    info->SetOptions(foLeft | foTop | foBottom);
    EXPECT_EQ(At(139, 25), Rgb(info->Color()));
    EXPECT_EQ(At(60, 25), Rgb(clBtnShadow));
    // The exclusive state shows the checkered pattern inside the bevel.
    button->SetGroupIndex(3);
    button->SetDown(true);
    EXPECT_EQ(At(12, 12), Rgb(clWhite));
    EXPECT_EQ(At(13, 12), Rgb(clBtnFace));
}

TEST_F(ControlBarTest, SizeBoundsNeedAutoResizeAndABar) {
    auto* s = Add<TKWControlSection>(0, 0, 60, 25);
    auto* loose = new TKWControlSection(Form);
    loose->SetParent(Form);
    TRobot robot;
    std::string shown;
    robot.OnNextModal([&](win::HWND box) { shown = TRobot::ChildText(box, "Message"); });
    robot.AnswerNextModal(TBy::Caption("OK"));
    s->SetMaxWidth(40);
    EXPECT_EQ(shown, AutoResizeError);
    robot.OnNextModal([&](win::HWND box) { shown = TRobot::ChildText(box, "Message"); });
    robot.AnswerNextModal(TBy::Caption("OK"));
    loose->SetAutoResize(true);
    EXPECT_EQ(shown, ParentTypeError);
    ASSERT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(s->MaxWidth(), -1);
    EXPECT_FALSE(loose->AutoResize());
    s->SetAutoResize(true);
    s->SetMaxWidth(40);
    EXPECT_EQ(s->MaxWidth(), 60) << "raised to the current size";
    s->SetWidth(100);
    EXPECT_EQ(s->Width(), 60);
    s->SetMinWidth(80);
    EXPECT_EQ(s->MinWidth(), -1) << "a minimum above the maximum is refused";
    s->SetMinWidth(50);
    EXPECT_EQ(s->MinWidth(), 50);
    s->SetWidth(10);
    EXPECT_EQ(s->Width(), 50);
    s->SetAutoResize(false);
    EXPECT_EQ(s->MaxWidth(), -1);
    EXPECT_EQ(s->MinWidth(), -1);
    s->SetNumGlyphs(6);
    EXPECT_EQ(s->NumGlyphs(), 4);
    s->SetMargin(-5);
    EXPECT_EQ(s->Margin(), -1);
}

TEST_F(ControlBarTest, StoredRules) {
    RegisterControlBar();
    auto* info = Add<TKWInfoSection>(0, 0, 50, 20);
    const TPropInfo* border = GetPropInfo("TKWInfoSection", "BorderColor");
    ASSERT_NE(border, nullptr);
    EXPECT_FALSE(border->StoredProc(info)) << "same as the bar's colour";
    info->SetBorderColor(clRed);
    EXPECT_TRUE(border->StoredProc(info));
    // An older form's ShowHints is read as ShowHint and never written back.
    rtl::TMemoryStream text, binary;
    std::string form = "object Bar2: TKWControlBar\n  ShowHints = True\n  Margin = 4\nend\n";
    text.Write(form.data(), int(form.size()));
    text.SetPosition(0);
    rtl::ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(binary, nullptr));
    auto* bar = dynamic_cast<TKWControlBar*>(read.get());
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->ShowHint());
    EXPECT_EQ(bar->Margin(), 4);
    const std::string written = testing_support::StoredText(bar);
    EXPECT_EQ(written.find("ShowHints"), std::string::npos) << written;
    EXPECT_NE(written.find("ShowHint = True"), std::string::npos) << written;
}

TEST_F(ControlBarTest, DoubleClicksAcceleratorsAndTheDisabledLook) {
    auto* s = Add<TKWControlSection>(10, 10, 60, 25);
    s->SetCaption("&Go");
    s->SetGroupIndex(1);
    int clicks = 0, doubles = 0;
    s->OnClick = [&](TObject*) { ++clicks; };
    s->OnDblClick = [&](TObject*) { ++doubles; };
    auto dbl = [&] {
        win::SendMessage(Bar->Handle(), win::WM_LBUTTONDBLCLK, win::MK_LBUTTON, win::MAKELPARAM(20, 20));
        win::SendMessage(Bar->Handle(), win::WM_LBUTTONUP, 0, win::MAKELPARAM(20, 20));
    };
    dbl(); // the first press puts it down; not yet down when the double click came
    EXPECT_TRUE(s->Down());
    EXPECT_EQ(doubles, 0);
    s->SetAllowAllUp(true);
    dbl();
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(s->Perform(CM_DIALOGCHAR, 'g', 0), 1);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(s->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    s->SetEnabled(false);
    EXPECT_EQ(s->Perform(CM_DIALOGCHAR, 'g', 0), 0);
    win::UpdateWindow(Form->Handle());
    EXPECT_EQ(s->State(), bsDisabled);
    // The caption in grey with a white shadow.
    int grey = 0;
    for (int y = 10; y < 35; ++y)
        for (int x = 10; x < 70; ++x) grey += At(x, y) == TColor(win::RGB(128, 128, 128));
    EXPECT_GT(grey, 5);
    s->SetEnabled(true);
    win::UpdateWindow(Form->Handle());
    EXPECT_NE(s->State(), bsDisabled);
}

TEST_F(ControlBarTest, ResizeEventAndBorder) {
    int resized = 0;
    Bar->OnResize = [&](TObject*) { ++resized; };
    Bar->SetWidth(250);
    EXPECT_GE(resized, 1);
    Bar->SetBorderStyle(kbsSingle);
    Bar->HandleNeeded();
    EXPECT_TRUE(win::GetWindowLong(Bar->Handle(), win::GWL_STYLE) & win::WS_BORDER);
}

TEST_F(ControlBarTest, ListSectionsArePlacedAndBoundedLikeTheOthers) {
    auto* button = Add<TKWControlSection>(200, 5, 40, 25);
    auto* list = Add<TKWListSection>(100, 5, 120, 21);
    button->SetHAlign(haRight);
    list->SetHAlign(haRight);
    // The button lies further right: it takes the edge, the list goes left of it.
    TRect inner = Bar->InnerRect();
    EXPECT_EQ(button->Left() + button->Width(), inner.right - 2);
    EXPECT_EQ(list->Left() + list->Width(), button->Left() - 2);
    list->SetAutoResize(true);
    list->SetMaxWidth(150);
    list->SetWidth(200);
    EXPECT_EQ(list->Width(), 150);
    EXPECT_EQ(list->Left() + list->Width(), button->Left() - 2) << "placed again after the resize";
    // Outside a bar the bounds are refused with the error box.
    auto* loose = new TKWListSection(Form);
    loose->SetParent(Form);
    TRobot robot;
    std::string shown;
    robot.OnNextModal([&](win::HWND box) { shown = TRobot::ChildText(box, "Message"); });
    robot.AnswerNextModal(TBy::Caption("OK"));
    loose->SetAutoResize(true);
    EXPECT_EQ(shown, ParentTypeError);
    EXPECT_FALSE(loose->AutoResize());
    loose->SetHAlign(haLeft);
    EXPECT_EQ(loose->HAlign(), haNone);
}
