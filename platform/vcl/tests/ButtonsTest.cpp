#include "testing/StoredText.h"
#include "testing/UiTest.h"

#include "vcl/Buttons.h"
#include "vcl/DialogBuilding.h"
#include "vcl/EditCtrls.h"
#include "vcl/Streaming.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

constexpr TColor Olive = clOlive;

// A strip of Count 16 x 16 pictures on olive, each a square of its colour at 4..11.
std::unique_ptr<TBitmap> Strip(std::vector<TColor> Colors) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(16 * int(Colors.size()), 16);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(Olive);
    c->FillRect(Rect(0, 0, b->Width(), 16));
    for (std::size_t i = 0; i < Colors.size(); ++i) {
        c->Brush()->SetColor(Colors[i]);
        c->FillRect(Rect(int(i) * 16 + 4, 4, int(i) * 16 + 12, 12));
    }
    return b;
}

class ButtonsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetCaption("Buttons");
        Form->SetBounds(100, 100, 360, 200);
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    template <class T>
    T* Add(const char* Name, int Left, int Top, int Width, int Height, TWinControl* Parent = nullptr) {
        return AddControl<T>(Form, Parent ? Parent : Form, Name, Left, Top, Width, Height);
    }
    TSpeedButton* Speed(const char* Name, int Left, int Group = 0) {
        auto* b = Add<TSpeedButton>(Name, Left, 8, 25, 25);
        b->SetGroupIndex(Group);
        b->OnClick = [this, Name](TObject*) { Log.push_back(Name); };
        return b;
    }
    win::COLORREF Pixel(int X, int Y) { return testing_support::ClientPixel(Form, X, Y); }
    void Run(TRobot& Robot) { ASSERT_TRUE(testing_support::PlayOut(Robot, 50)) << Robot.Describe(); }
    void ClickSpeed(TRobot& Robot, TSpeedButton* B) { Robot.ClickAt(Form->Handle(), {B->Left() + 12, B->Top() + 12}); }

    TForm* Form = nullptr;
    std::vector<std::string> Log;
};

} // namespace

TEST_F(ButtonsTest, EachKindBringsItsCaptionResultKeysAndTwoStatePicture) {
    using K = TBitBtnKind;
    struct Case {
        K Kind;
        const char* Caption;
        TModalResult Result;
        bool Default, Cancel;
    } cases[] = {
        {K::bkOK, "OK", mrOk, true, false},         {K::bkCancel, "Cancel", mrCancel, false, true},
        {K::bkHelp, "&Help", mrNone, false, false}, {K::bkYes, "&Yes", mrYes, true, false},
        {K::bkNo, "&No", mrNo, false, true},        {K::bkClose, "&Close", mrNone, false, false},
        {K::bkAbort, "Abort", mrAbort, false, false}, {K::bkRetry, "&Retry", mrRetry, false, false},
        {K::bkIgnore, "&Ignore", mrIgnore, false, false}, {K::bkAll, "&All", mrAll, false, false},
    };
    for (const Case& c : cases) {
        TBitBtn b(nullptr);
        b.SetKind(c.Kind);
        SCOPED_TRACE(c.Caption);
        EXPECT_EQ(b.Kind(), c.Kind);
        EXPECT_EQ(b.Caption(), c.Caption);
        EXPECT_EQ(b.ModalResult(), c.Result);
        EXPECT_EQ(b.Default(), c.Default);
        EXPECT_EQ(b.Cancel(), c.Cancel);
        EXPECT_EQ(b.Glyph()->Width(), 36);
        EXPECT_EQ(b.Glyph()->Height(), 18);
        EXPECT_EQ(b.NumGlyphs(), 2);
        EXPECT_FALSE(b.IsCustomCaption());
    }
    // Changing what the kind implies makes the button a custom one; a caption of its own does not.
    TBitBtn b(nullptr);
    b.SetKind(K::bkOK);
    b.SetCaption("&Go");
    EXPECT_EQ(b.Kind(), K::bkOK);
    EXPECT_TRUE(b.IsCustomCaption());
    b.SetDefault(false);
    EXPECT_EQ(b.Kind(), K::bkCustom);
    TBitBtn g(nullptr);
    g.SetKind(K::bkYes);
    g.SetGlyph(Strip({clRed}).get());
    EXPECT_EQ(g.Kind(), K::bkCustom);
    EXPECT_EQ(g.NumGlyphs(), 1);
}

TEST_F(ButtonsTest, EnterAndEscapeCloseAModalFormWithTheKindsResults) {
    struct Case {
        TBitBtnKind DefaultKind, CancelKind;
        unsigned Key;
        TModalResult Expected;
    } cases[] = {
        {TBitBtnKind::bkOK, TBitBtnKind::bkCancel, win::VK_RETURN, mrOk},
        {TBitBtnKind::bkOK, TBitBtnKind::bkCancel, win::VK_ESCAPE, mrCancel},
        {TBitBtnKind::bkYes, TBitBtnKind::bkNo, win::VK_RETURN, mrYes},
        {TBitBtnKind::bkYes, TBitBtnKind::bkNo, win::VK_ESCAPE, mrNo},
    };
    for (const Case& c : cases) {
        auto* dialog = Make<TForm>(Application);
        dialog->SetCaption("Ask");
        dialog->SetBounds(50, 50, 300, 120);
        auto* edit = new TEdit(dialog);
        edit->SetParent(dialog);
        edit->SetBounds(8, 8, 120, 21);
        auto* yes = new TBitBtn(dialog);
        yes->SetParent(dialog);
        yes->SetBounds(8, 50, 75, 25);
        yes->SetKind(c.DefaultKind);
        auto* no = new TBitBtn(dialog);
        no->SetParent(dialog);
        no->SetBounds(100, 50, 75, 25);
        no->SetKind(c.CancelKind);
        TRobot robot;
        robot.Key(c.Key);
        EXPECT_EQ(dialog->ShowModal(), c.Expected) << int(c.DefaultKind) << " key " << c.Key;
        EXPECT_TRUE(robot.Done()) << robot.Describe();
        delete dialog;
    }
}

TEST_F(ButtonsTest, CloseKindClosesTheFormAndHelpKindOpensTheNearestContext) {
    auto* close = Add<TBitBtn>("btnClose", 8, 8, 75, 25);
    close->SetKind(TBitBtnKind::bkClose);
    auto* help = Add<TBitBtn>("btnHelp", 100, 8, 75, 25);
    help->SetKind(TBitBtnKind::bkHelp);
    help->OnClick = [this](TObject*) { Log.push_back("help clicked"); };
    Form->SetHelpContext(42);
    Form->Show();
    TRobot robot;
    robot.Click(TBy::Name("btnHelp"));
    robot.Click(TBy::Name("btnClose"));
    Run(robot);
    ASSERT_EQ(RecordedHelpCalls().size(), 1u);
    EXPECT_EQ(RecordedHelpCalls()[0].Command, HELP_CONTEXT);
    EXPECT_EQ(RecordedHelpCalls()[0].Data, 42u);
    EXPECT_TRUE(Log.empty()) << "a help button with a context runs no OnClick";
    EXPECT_FALSE(Form->Visible());

    // Without any help context it clicks as any button.
    Form->SetHelpContext(0);
    Form->Show();
    TRobot again;
    again.Click(TBy::Name("btnHelp"));
    Run(again);
    EXPECT_EQ(Log, (std::vector<std::string>{"help clicked"}));
}

TEST_F(ButtonsTest, AStripOfFourPicturesShowsOnePerState) {
    auto strip = Strip({clRed, clGreen, clBlue, clYellow});
    auto* up = Speed("sbUp", 8);
    auto* off = Speed("sbOff", 40);
    auto* latched = Speed("sbLatched", 72, 1);
    for (TSpeedButton* b : {up, off, latched}) b->SetGlyph(strip.get());
    EXPECT_EQ(up->NumGlyphs(), 4);
    off->SetEnabled(false);
    latched->SetDown(true);
    auto* pressed = Speed("sbPressed", 104);
    pressed->SetGlyph(strip.get());
    Form->Show();
    Form->Update();
    // No caption: the picture is centred in the face, 4 pixels in from the button's top left
    // corner, one pixel further down and right when pressed.
    auto centre = [&](TSpeedButton* b, int shift) { return Pixel(b->Left() + 4 + 8 + shift, b->Top() + 4 + 8 + shift); };
    EXPECT_EQ(centre(up, 0), ColorToRGB(clRed));
    EXPECT_EQ(centre(off, 0), ColorToRGB(clGreen));
    EXPECT_EQ(centre(latched, 1), ColorToRGB(clYellow));
    // Transparent parts show the face, on a latched button the checkered pattern.
    EXPECT_EQ(Pixel(up->Left() + 4, up->Top() + 5), ColorToRGB(clBtnFace));
    std::vector<win::COLORREF> checker = {Pixel(latched->Left() + 5, latched->Top() + 6),
                                          Pixel(latched->Left() + 6, latched->Top() + 6)};
    std::sort(checker.begin(), checker.end());
    EXPECT_EQ(checker, (std::vector<win::COLORREF>{ColorToRGB(clBtnFace), ColorToRGB(clWhite)}));

    std::vector<win::COLORREF> whilePressed;
    TRobot robot;
    robot.Do([&] {
        win::POINT p{pressed->Left() + 12, pressed->Top() + 12};
        win::ClientToScreen(Form->Handle(), &p);
        win::PostMouseInput(win::WM_MOUSEMOVE, p);
        win::PostMouseInput(win::WM_LBUTTONDOWN, p);
    });
    robot.Do([&] {
        Form->Update();
        whilePressed.push_back(centre(pressed, 1));
        whilePressed.push_back(Pixel(pressed->Left(), pressed->Top() + 10));
    });
    Run(robot);
    // A strip of four has its own pressed picture; the face's left edge is dark while pressed.
    ASSERT_EQ(whilePressed.size(), 2u);
    EXPECT_EQ(whilePressed[0], ColorToRGB(clBlue));
    EXPECT_EQ(whilePressed[1], ColorToRGB(cl3DDkShadow));
}

TEST_F(ButtonsTest, FewerPicturesStandInForTheMissingStates) {
    auto one = Strip({clBlack});
    auto two = Strip({clRed, clGreen});
    auto* single = Speed("sbSingle", 8);
    single->SetGlyph(one.get());
    single->SetEnabled(false);
    auto* pair = Speed("sbPair", 40, 2);
    pair->SetGlyph(two.get());
    pair->SetDown(true);
    auto* pairOff = Speed("sbPairOff", 72);
    pairOff->SetGlyph(two.get());
    pairOff->SetEnabled(false);
    Form->Show();
    Form->Update();
    int gx = single->Left() + 4, gy = single->Top() + 4;

    // A single picture disabled: its black pixels in the shadow colour, with a highlight copy
    // one pixel right and down.
    EXPECT_EQ(Pixel(gx + 8, gy + 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Pixel(gx + 12, gy + 8), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Pixel(gx + 8, gy + 12), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Pixel(gx + 2, gy + 2), ColorToRGB(clBtnFace));
    // A latched button with only up and disabled pictures shows the up one.
    EXPECT_EQ(Pixel(pair->Left() + 4 + 8 + 1, pair->Top() + 4 + 8 + 1), ColorToRGB(clRed));
    EXPECT_EQ(Pixel(pairOff->Left() + 4 + 8, pairOff->Top() + 4 + 8), ColorToRGB(clGreen));
}

TEST_F(ButtonsTest, GroupedSpeedButtonsKeepOneDownAndUngroupedOnesSpringBack) {
    auto* edit = Add<TEdit>("edtFocus", 8, 100, 100, 21);
    auto* left = Speed("sbLeft", 8, 1);
    auto* centre = Speed("sbCentre", 40, 1);
    auto* right = Speed("sbRight", 72, 1);
    auto* add = Speed("sbAdd", 150);
    left->SetDown(true);
    Form->Show();
    edit->SetFocus();
    std::vector<std::vector<bool>> seen;
    auto snapshot = [&] { seen.push_back({left->Down(), centre->Down(), right->Down()}); };
    TRobot robot;
    ClickSpeed(robot, centre);
    robot.Do(snapshot);
    ClickSpeed(robot, centre); // the down one of a group that must keep one stays down
    robot.Do(snapshot);
    robot.Do([&] { right->SetAllowAllUp(true); });
    ClickSpeed(robot, centre); // now it goes up and leaves the group empty
    robot.Do(snapshot);
    ClickSpeed(robot, add);
    Run(robot);
    EXPECT_EQ(seen, (std::vector<std::vector<bool>>{{false, true, false}, {false, true, false}, {false, false, false}}));
    EXPECT_TRUE(left->AllowAllUp()) << "AllowAllUp is shared by the group";
    EXPECT_EQ(Log, (std::vector<std::string>{"sbCentre", "sbCentre", "sbCentre", "sbAdd"}));
    EXPECT_FALSE(add->Down());
    EXPECT_EQ(add->State(), TButtonState::bsUp);
    add->SetDown(true); // a button of no group cannot be held down
    EXPECT_FALSE(add->Down());
    EXPECT_TRUE(edit->Focused()) << "speed buttons do not take the focus";

    // The caption's accelerator runs its OnClick, and the focus stays where it was.
    right->SetCaption("&Right");
    TRobot keys;
    keys.Key('R', false, false, true);
    Run(keys);
    EXPECT_EQ(Log.back(), "sbRight");
    EXPECT_TRUE(edit->Focused());
}

TEST_F(ButtonsTest, ASpeedButtonPressLetGoOutsideIsNoClickAndADoubleClickReportsOnlyWhenDown) {
    auto* b = Speed("sbOne", 8, 3);
    b->SetAllowAllUp(true);
    int doubles = 0;
    b->OnDblClick = [&](TObject*) { ++doubles; };
    Form->Show();
    TRobot robot;
    robot.Drag(Form->Handle(), {20, 20}, {200, 120});
    Run(robot);
    EXPECT_TRUE(Log.empty());
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(b->State(), TButtonState::bsUp);

    win::POINT p{20, 20};
    win::ClientToScreen(Form->Handle(), &p);
    TRobot::AdvanceClock(2000); // the drag's press is no first half of a double click
    TRobot twice;
    twice.Do([&] {
        win::PostMouseInput(win::WM_MOUSEMOVE, p);
        win::PostMouseInput(win::WM_LBUTTONDOWN, p);
        win::PostMouseInput(win::WM_LBUTTONUP, p);
        win::PostMouseInput(win::WM_LBUTTONDOWN, p);
        win::PostMouseInput(win::WM_LBUTTONUP, p);
    });
    Run(twice);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(Log.size(), 2u);
    EXPECT_FALSE(b->Down()) << "down with the first click, up with the second";
}

TEST_F(ButtonsTest, AStoredFormBringsTheButtonsBack) {
    auto* ok = Add<TBitBtn>("btnOk", 8, 140, 75, 25);
    ok->SetKind(TBitBtnKind::bkOK);
    auto* close = Add<TBitBtn>("btnCancel", 100, 140, 90, 25);
    close->SetKind(TBitBtnKind::bkCancel);
    close->SetCaption("Close");
    auto* custom = Add<TBitBtn>("btnGo", 200, 140, 90, 30);
    custom->SetCaption("&Go");
    auto strip = Strip({clRed, clGreen});
    custom->SetGlyph(strip.get());
    custom->SetLayout(TButtonLayout::blGlyphTop);
    custom->SetMargin(2);
    custom->SetModalResult(mrRetry);
    auto* sb = Speed("sbBold", 8, 4);
    sb->SetCaption("B");
    sb->SetGlyph(strip.get());
    sb->SetAllowAllUp(true);
    sb->SetDown(true);
    sb->SetSpacing(-1);

    rtl::TMemoryStream binary;
    WriteComponentToStream(Form, binary);
    const std::string shown = testing_support::BinaryAsText(binary);
    EXPECT_NE(shown.find("Kind = bkOK"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("Caption = 'OK'"), std::string::npos) << "the stock caption is not stored";
    EXPECT_NE(shown.find("Caption = 'Close'"), std::string::npos);
    EXPECT_NE(shown.find("Glyph.Data"), std::string::npos);

    auto* copy = Make<TForm>(Application);
    binary.SetPosition(0);
    ReadComponentFromStream(binary, copy);
    auto* ok2 = dynamic_cast<TBitBtn*>(copy->FindComponent("btnOk"));
    auto* close2 = dynamic_cast<TBitBtn*>(copy->FindComponent("btnCancel"));
    auto* custom2 = dynamic_cast<TBitBtn*>(copy->FindComponent("btnGo"));
    auto* sb2 = dynamic_cast<TSpeedButton*>(copy->FindComponent("sbBold"));
    ASSERT_TRUE(ok2 && close2 && custom2 && sb2);
    EXPECT_EQ(ok2->Parent(), copy);
    EXPECT_EQ(ok2->Kind(), TBitBtnKind::bkOK);
    EXPECT_EQ(ok2->Caption(), "OK");
    EXPECT_TRUE(ok2->Default());
    EXPECT_EQ(ok2->BoundsRect().left, 8);
    EXPECT_EQ(close2->Kind(), TBitBtnKind::bkCancel);
    EXPECT_EQ(close2->Caption(), "Close");
    EXPECT_EQ(close2->ModalResult(), mrCancel);
    EXPECT_EQ(custom2->Kind(), TBitBtnKind::bkCustom);
    EXPECT_EQ(custom2->ModalResult(), mrRetry);
    EXPECT_EQ(custom2->Layout(), TButtonLayout::blGlyphTop);
    EXPECT_EQ(custom2->Margin(), 2);
    EXPECT_EQ(custom2->NumGlyphs(), 2);
    ASSERT_EQ(custom2->Glyph()->Width(), 32);
    EXPECT_EQ(custom2->Glyph()->Canvas()->Pixels(8, 8), clRed);
    EXPECT_EQ(custom2->Glyph()->Canvas()->Pixels(24, 8), clGreen);
    EXPECT_EQ(custom2->Glyph()->Canvas()->Pixels(0, 15), Olive);
    EXPECT_TRUE(sb2->Down());
    EXPECT_TRUE(sb2->AllowAllUp());
    EXPECT_EQ(sb2->GroupIndex(), 4);
    EXPECT_EQ(sb2->Spacing(), -1);
    EXPECT_EQ(sb2->Caption(), "B");
    EXPECT_EQ(sb2->Glyph()->Width(), 32);
    delete copy;
}

TEST_F(ButtonsTest, TheButtonsDrawTheirFacesPicturesAndFocus) {
    auto* ok = Add<TBitBtn>("btnOk", 8, 60, 90, 28);
    ok->SetKind(TBitBtnKind::bkOK);
    auto* cancel = Add<TBitBtn>("btnCancel", 110, 60, 90, 28);
    cancel->SetKind(TBitBtnKind::bkCancel);
    auto* help = Add<TBitBtn>("btnHelp", 210, 60, 90, 28);
    help->SetKind(TBitBtnKind::bkHelp);
    help->SetEnabled(false);
    auto* top = Add<TBitBtn>("btnTop", 8, 100, 90, 50);
    top->SetKind(TBitBtnKind::bkRetry);
    top->SetLayout(TButtonLayout::blGlyphTop);
    auto strip = Strip({clRed, clGreen, clBlue, clYellow});
    auto* a = Speed("sbA", 8, 1);
    auto* b = Speed("sbB", 33, 1);
    a->SetGlyph(strip.get());
    b->SetCaption("&B");
    b->SetDown(true);
    Form->Show();
    cancel->SetFocus();
    Form->Update();
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-buttons.png", Form->Handle()));
    // The focused button has the dark frame and the dotted focus rectangle; the stock picture of
    // OK is green, that of a disabled button grey.
    EXPECT_EQ(Pixel(cancel->Left(), cancel->Top() + 10), ColorToRGB(clWindowFrame));
    auto count = [&](TControl* c, win::COLORREF colour) {
        int n = 0;
        for (int x = c->Left(); x < c->Left() + c->Width(); ++x)
            for (int y = c->Top(); y < c->Top() + c->Height(); ++y) n += Pixel(x, y) == colour;
        return n;
    };
    EXPECT_GT(count(ok, ColorToRGB(clGreen)), 20);
    EXPECT_GT(count(cancel, ColorToRGB(clRed)), 20);
    EXPECT_EQ(count(help, ColorToRGB(clBlue)), 0);
    EXPECT_GT(count(help, ColorToRGB(clBtnShadow)), 40);
}
