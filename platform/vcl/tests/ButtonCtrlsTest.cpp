#include "testing/UiTest.h"

#include "vcl/ButtonCtrls.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

// A small options dialog: two check boxes and a set of three radio buttons in a group box, a
// second set of two radio buttons straight on the form, a bevel and a button.
class ButtonCtrlsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetCaption("Options");
        Form->SetBounds(0, 0, 320, 220);
        Group = new TGroupBox(Form);
        Group->SetName("grpMode");
        Group->SetParent(Form);
        Group->SetCaption("&Mode");
        Group->SetBounds(8, 8, 150, 110);
        Fast = AddRadio(Group, "rbFast", "&Fast", 20);
        Safe = AddRadio(Group, "rbSafe", "&Safe", 44);
        Slow = AddRadio(Group, "rbSlow", "Slo&w", 68);
        Backup = AddCheck("chkBackup", "&Backup", 8);
        Mixed = AddCheck("chkMixed", "Mi&xed", 32);
        Mixed->SetAllowGrayed(true);
        Left = AddRadio(Form, "rbLeft", "&Left", 64);
        Right = AddRadio(Form, "rbRight", "&Right", 88);
        Left->SetLeft(170);
        Right->SetLeft(170);
        auto* bevel = new TBevel(Form);
        bevel->SetParent(Form);
        bevel->SetShape(TBevelShape::bsTopLine);
        bevel->SetBounds(8, 130, 300, 2);
        Ok = new TButton(Form);
        Ok->SetName("btnOk");
        Ok->SetParent(Form);
        Ok->SetCaption("OK");
        Ok->SetBounds(8, 145, 75, 25);
        Fast->SetChecked(true);
        Left->SetChecked(true);
        Log.clear();
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    template <class T>
    T* Track(T* C, const char* Name) {
        C->OnClick = [this, Name](TObject*) { Log.push_back(Name); };
        return C;
    }
    TRadioButton* AddRadio(TWinControl* Parent, const char* Name, const char* Caption, int Top) {
        auto* r = new TRadioButton(Form);
        r->SetName(Name);
        r->SetParent(Parent);
        r->SetCaption(Caption);
        r->SetBounds(10, Top, 120, 17);
        return Track(r, Name);
    }
    TCheckBox* AddCheck(const char* Name, const char* Caption, int Top) {
        auto* c = new TCheckBox(Form);
        c->SetName(Name);
        c->SetParent(Form);
        c->SetCaption(Caption);
        c->SetBounds(170, Top, 120, 17);
        return Track(c, Name);
    }
    void Run(TRobot& Robot) { ASSERT_TRUE(testing_support::PlayOut(Robot, 50)) << Robot.Describe(); }
    std::string Focus() {
        TWinControl* c = Form->ActiveControl();
        return c ? c->Name() : "-";
    }

    TForm* Form = nullptr;
    TGroupBox* Group = nullptr;
    TRadioButton *Fast, *Safe, *Slow, *Left, *Right;
    TCheckBox *Backup, *Mixed;
    TButton* Ok = nullptr;
    std::vector<std::string> Log;
};

} // namespace

TEST_F(ButtonCtrlsTest, ClickSpaceAndAcceleratorToggleACheckBoxAndRunOnClick) {
    std::vector<bool> seen;
    TRobot robot;
    robot.Click(TBy::Name("chkBackup"));
    robot.Do([&] { seen.push_back(Backup->Checked()); });
    robot.Key(win::VK_SPACE);
    robot.Do([&] { seen.push_back(Backup->Checked()); });
    robot.Key('B', false, false, true);
    robot.Do([&] { seen.push_back(Backup->Checked()); });
    Run(robot);
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(Log, (std::vector<std::string>{"chkBackup", "chkBackup", "chkBackup"}));
    EXPECT_EQ(Focus(), "chkBackup");
}

TEST_F(ButtonCtrlsTest, TwoQuickClicksOnAButtonPressItTwice) {
    Track(Ok, "btnOk");
    TRobot robot;
    robot.Click(TBy::Name("btnOk"));
    robot.Click(TBy::Name("btnOk"));
    Run(robot);
    EXPECT_EQ(Log, (std::vector<std::string>{"btnOk", "btnOk"}));
}

TEST_F(ButtonCtrlsTest, LettingGoOutsideTakesTheClickBack) {
    TRobot robot;
    robot.Drag(Backup->Handle(), {5, 8}, {200, 8});
    Run(robot);
    EXPECT_FALSE(Backup->Checked());
    EXPECT_TRUE(Log.empty());
}

TEST_F(ButtonCtrlsTest, GrayedIsAStepOfTheCycleOnlyWhenAllowed) {
    using S = TCheckBoxState;
    std::vector<S> mixed, plain;
    TRobot robot;
    robot.Click(TBy::Name("chkMixed"));
    for (int i = 0; i < 3; ++i) {
        robot.Do([&] { mixed.push_back(Mixed->State()); });
        robot.Key(win::VK_SPACE);
    }
    robot.Click(TBy::Name("chkBackup"));
    robot.Do([&] { plain.push_back(Backup->State()); });
    robot.Key(win::VK_SPACE);
    robot.Do([&] { plain.push_back(Backup->State()); });
    Run(robot);
    EXPECT_EQ(mixed, (std::vector<S>{S::cbGrayed, S::cbChecked, S::cbUnchecked}));
    EXPECT_EQ(Mixed->State(), S::cbGrayed);
    EXPECT_FALSE(Mixed->Checked()); // grayed is not checked
    EXPECT_EQ(plain, (std::vector<S>{S::cbChecked, S::cbUnchecked}));

    // A grayed state set from code stays until the user moves on; no change, no OnClick.
    Log.clear();
    Mixed->SetState(S::cbGrayed);
    EXPECT_TRUE(Log.empty());
    EXPECT_THROW(Backup->SetAlignment(TAlignment::taCenter), rtl::EInvalidOperation);
}

TEST_F(ButtonCtrlsTest, CheckingARadioButtonUnchecksOnlyItsSiblings) {
    TRobot robot;
    robot.Click(TBy::Name("rbSlow"));
    robot.Click(TBy::Name("rbRight"));
    robot.Click(TBy::Name("rbRight")); // already checked: nothing changes
    Run(robot);
    EXPECT_EQ((std::vector<bool>{Fast->Checked(), Safe->Checked(), Slow->Checked()}),
              (std::vector<bool>{false, false, true}));
    EXPECT_FALSE(Left->Checked());
    EXPECT_TRUE(Right->Checked());
    EXPECT_EQ(Log, (std::vector<std::string>{"rbSlow", "rbRight"}));

    // From code the same rule holds, and only the checked one of each set is a Tab stop.
    Safe->SetChecked(true);
    EXPECT_FALSE(Slow->Checked());
    EXPECT_TRUE(Right->Checked());
    EXPECT_EQ((std::vector<bool>{Fast->TabStop(), Safe->TabStop(), Slow->TabStop()}),
              (std::vector<bool>{false, true, false}));
}

TEST_F(ButtonCtrlsTest, ArrowKeysMoveAmongTheRadioButtonsOfOneParentAndCheckThem) {
    std::vector<std::string> seen;
    TRobot robot;
    robot.Do([&] { Fast->SetFocus(); });
    for (unsigned key : {win::VK_DOWN, win::VK_RIGHT, win::VK_DOWN, win::VK_UP, win::VK_LEFT}) {
        robot.Key(key);
        robot.Do([&] { seen.push_back(Focus()); });
    }
    Run(robot);
    // Down past the last wraps to the first; the set on the form is never reached.
    EXPECT_EQ(seen, (std::vector<std::string>{"rbSafe", "rbSlow", "rbFast", "rbSlow", "rbSafe"}));
    EXPECT_TRUE(Safe->Checked());
    EXPECT_FALSE(Fast->Checked());
    EXPECT_TRUE(Left->Checked());
}

TEST_F(ButtonCtrlsTest, TabStopsAtTheCheckBoxesTheCheckedRadioOfEachSetAndTheButton) {
    Safe->SetChecked(true);
    Safe->SetEnabled(false); // a disabled checked radio button drops out of the Tab order
    Fast->SetFocus();
    std::vector<std::string> seen;
    TRobot robot;
    for (int i = 0; i < 5; ++i) {
        robot.Key(win::VK_TAB);
        robot.Do([&] { seen.push_back(Focus()); });
    }
    robot.Key(win::VK_TAB, true);
    robot.Do([&] { seen.push_back(Focus()); });
    Run(robot);
    EXPECT_EQ(seen, (std::vector<std::string>{"chkBackup", "chkMixed", "rbLeft", "btnOk", "chkBackup", "btnOk"}));
}

TEST_F(ButtonCtrlsTest, TheGroupBoxAcceleratorFocusesItsFirstControl) {
    Ok->SetFocus();
    TRobot robot;
    robot.Key('M', false, false, true);
    Run(robot);
    EXPECT_EQ(Focus(), "rbFast");
    EXPECT_TRUE(Log.empty());
}

TEST_F(ButtonCtrlsTest, TheControlsDrawTheirMarksAndFrames) {
    Backup->SetChecked(true);
    Mixed->SetState(TCheckBoxState::cbGrayed);
    Form->Update();
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-button-controls.png", Form->Handle()));
    auto pixel = testing_support::ClientPixel;
    win::COLORREF window = ColorToRGB(clWindow), face = ColorToRGB(clBtnFace), text = ColorToRGB(clWindowText);
    // The tick of a checked box and the dot of a checked radio button; the empty box is window-coloured.
    int top = (17 - 13) / 2;
    EXPECT_EQ(pixel(Backup, 5, top + 9), text);
    EXPECT_EQ(pixel(Fast, 6, top + 6), text);
    EXPECT_EQ(pixel(Safe, 6, top + 6), window);
    // A grayed box has the face colour behind a grey tick.
    EXPECT_EQ(pixel(Mixed, 10, top + 10), face);
    EXPECT_EQ(pixel(Mixed, 5, top + 9), ColorToRGB(clBtnShadow));
    // A grayed box keeps its caption in the text colour.
    auto hasTextInk = [&](TWinControl* C) {
        bool found = false;
        for (int x = 17; x < 60 && !found; ++x)
            for (int y = 0; y < 17 && !found; ++y) found = pixel(C, x, y) == text;
        return found;
    };
    EXPECT_TRUE(hasTextInk(Mixed));
    EXPECT_TRUE(hasTextInk(Backup));
    // The group box's etched frame: shadow then highlight along the left side.
    EXPECT_EQ(pixel(Group, 0, 60), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel(Group, 1, 60), ColorToRGB(clBtnHighlight));
}

TEST_F(ButtonCtrlsTest, BevelShapesAndStylesPutShadowAndHighlightOnTheRightSides) {
    using Sh = TBevelShape;
    using St = TBevelStyle;
    win::COLORREF shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    struct Probe {
        int X, Y;
        bool Shadow;
    };
    struct Case {
        Sh Shape;
        St Style;
        std::vector<Probe> Probes; // points inside a 20 x 10 bevel
    } cases[] = {
        {Sh::bsBox, St::bsLowered, {{0, 5, true}, {10, 0, true}, {19, 5, false}, {10, 9, false}}},
        {Sh::bsBox, St::bsRaised, {{0, 5, false}, {10, 0, false}, {19, 5, true}, {10, 9, true}}},
        {Sh::bsFrame, St::bsLowered, {{0, 5, true}, {1, 5, false}, {18, 5, true}, {19, 5, false}}},
        {Sh::bsTopLine, St::bsLowered, {{10, 0, true}, {10, 1, false}}},
        {Sh::bsBottomLine, St::bsRaised, {{10, 8, false}, {10, 9, true}}},
        {Sh::bsLeftLine, St::bsLowered, {{0, 5, true}, {1, 5, false}}},
        {Sh::bsRightLine, St::bsLowered, {{18, 5, true}, {19, 5, false}}},
    };
    auto* bevel = new TBevel(Form);
    bevel->SetParent(Form);
    bevel->SetBounds(200, 150, 20, 10);
    for (const Case& c : cases) {
        bevel->SetShape(c.Shape);
        bevel->SetStyle(c.Style);
        Form->Update();
        win::HDC dc = win::GetDC(Form->Handle());
        for (const Probe& p : c.Probes)
            EXPECT_EQ(win::GetPixel(dc, 200 + p.X, 150 + p.Y), p.Shadow ? shadow : light)
                << int(c.Shape) << "/" << int(c.Style) << " at " << p.X << "," << p.Y;
        win::ReleaseDC(Form->Handle(), dc);
    }
}
