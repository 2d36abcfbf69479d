#include "testing/StoredText.h"
#include "testing/UiTest.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/ColorGrd.h"
#include "vcl/EditCtrls.h"
#include "vcl/ListCtrls.h"
#include "vcl/Spin.h"
#include "vcl/Streaming.h"
#include "win/TestHooks.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class ChoiceTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetBounds(40, 40, 360, 260);
        Form->SetCaption("Choices");
        First = Make<TEdit>(Form);
        First->SetParent(Form);
        First->SetBounds(8, 8, 100, 21);
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void Run(TRobot& Robot) { EXPECT_TRUE(testing_support::PlayOut(Robot, 60)) << Robot.Describe(); }

    TForm* Form = nullptr;
    TEdit* First = nullptr;
};

} // namespace

TEST_F(ChoiceTest, RadioGroupLaysItsItemsOutInColumnsAndTellsEachChange) {
    auto* group = Make<TRadioGroup>(Form);
    group->SetName("rgFiles");
    group->SetParent(Form);
    group->SetBounds(8, 40, 250, 60);
    group->SetCaption("Select Scope");
    group->SetColumns(2);
    std::vector<int> clicks;
    group->OnClick = [&](TObject*) { clicks.push_back(group->ItemIndex()); };
    for (const char* s : {"Current File", "Current Project", "Directory"}) group->Items()->Add(s);
    Form->Show();

    // Down the first column, then the second; the columns share the width.
    TRadioButton* b0 = group->Buttons(0);
    TRadioButton* b1 = group->Buttons(1);
    TRadioButton* b2 = group->Buttons(2);
    EXPECT_EQ(b0->Left(), 8);
    EXPECT_EQ(b1->Left(), 8);
    EXPECT_EQ(b2->Left(), 8 + (250 - 10) / 2);
    EXPECT_EQ(b2->Top(), b0->Top());
    EXPECT_EQ(b1->Top(), b0->Top() + b0->Height());
    EXPECT_EQ(b0->Width(), (250 - 10) / 2);
    EXPECT_GT(b0->Top(), 8);                          // below the caption
    EXPECT_LE(b1->Top() + b1->Height(), group->Height());
    EXPECT_EQ(b2->Caption(), "Directory");

    // By code: the item's button is checked, the change told once.
    group->SetItemIndex(1);
    group->SetItemIndex(1);
    EXPECT_TRUE(b1->Checked());
    EXPECT_EQ(clicks, std::vector<int>{1});

    // By the mouse and by the arrow keys, which go round.
    TRobot robot;
    robot.Click(TBy::Caption("Directory"));
    robot.Key(win::VK_DOWN);
    robot.Key(win::VK_UP);
    robot.Key(win::VK_UP);
    Run(robot);
    EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0, 2, 1}));
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(b1->Focused());
    TRobot::Screenshot("/tmp/vcl-radio-group.png", Form->Handle());

    // Tab comes into the group at its checked button.
    First->SetFocus();
    TRobot tab;
    tab.Key(win::VK_TAB);
    Run(tab);
    EXPECT_TRUE(b1->Focused());

    // New items remake the buttons and keep the choice; an index past the end takes the last.
    group->Items()->Add("Chosen Files");
    ASSERT_EQ(group->ControlCount(), 4);
    EXPECT_EQ(group->Buttons(3)->Left(), group->Buttons(2)->Left());
    EXPECT_TRUE(group->Buttons(1)->Checked());
    group->SetItemIndex(9);
    EXPECT_EQ(group->ItemIndex(), 3);
    group->Items()->Delete(3);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(group->ControlCount(), 3);
    group->SetItemIndex(-1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(group->Buttons(i)->Checked()) << i;
    group->SetColumns(40);
    EXPECT_EQ(group->Columns(), 16);
    group->SetEnabled(false);
    EXPECT_FALSE(group->Buttons(0)->Enabled());
}

TEST_F(ChoiceTest, SpinEditStepsWithinItsBoundsAndPutsATypedValueRightWhenLeft) {
    // The number of suggestions of the spell checker's options: 0 to 99, 10 at first.
    auto* spin = Make<TSpinEdit>(Form);
    spin->SetName("seSuggestions");
    spin->SetParent(Form);
    spin->SetBounds(8, 40, 60, 24);
    spin->SetMinValue(0);
    spin->SetMaxValue(99);
    spin->SetValue(10);
    int changes = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    Form->Show();
    spin->SetFocus();

    TRobot keys;
    keys.Key(win::VK_UP);
    keys.Key(win::VK_DOWN);
    keys.Key(win::VK_DOWN);
    Run(keys);
    EXPECT_EQ(spin->Value(), 9);
    EXPECT_EQ(changes, 3);
    spin->SetIncrement(5);
    spin->SetValue(97);
    TRobot up;
    up.Key(win::VK_UP);
    Run(up);
    EXPECT_EQ(spin->Text(), "99"); // a step stops at the bound
    spin->SetValue(-4);
    EXPECT_EQ(spin->Value(), 0);

    // Only digits and signs can be typed; a value out of the bounds stands until the box is left.
    win::ClearRecordedBeeps();
    spin->SetText("");
    TRobot type;
    type.Type("1x5.0");
    Run(type);
    EXPECT_EQ(spin->Text(), "150");
    EXPECT_EQ(win::RecordedBeeps().size(), 2u);
    TRobot leave;
    leave.Key(win::VK_TAB);
    Run(leave);
    EXPECT_FALSE(spin->Focused());
    EXPECT_EQ(spin->Text(), "99");
    // Nothing, or a sign alone, becomes the lowest value.
    spin->SetFocus();
    spin->SetText("-");
    First->SetFocus();
    EXPECT_EQ(spin->Text(), "0");

    // Equal bounds bound nothing.
    spin->SetMaxValue(0);
    spin->SetValue(-12);
    EXPECT_EQ(spin->Value(), -12);
    TRobot::Screenshot("/tmp/vcl-spin-edit.png", Form->Handle());
}

TEST_F(ChoiceTest, SpinButtonsStepOnceWhenClickedAndRepeatWhileHeld) {
    auto* spin = Make<TSpinEdit>(Form);
    spin->SetParent(Form);
    spin->SetBounds(8, 40, 60, 24);
    spin->SetMaxValue(1000);
    Form->Show();
    win::HWND button = spin->Button()->Handle();
    int h = spin->Button()->Height();
    ASSERT_GT(h, 8);
    EXPECT_EQ(spin->Button()->Left() + spin->Button()->Width(), spin->ClientWidth());

    TRobot click;
    click.ClickAt(button, win::POINT{5, 2});
    click.ClickAt(button, win::POINT{5, h - 2});
    click.ClickAt(button, win::POINT{5, 2});
    Run(click);
    EXPECT_EQ(spin->Value(), 1);
    EXPECT_TRUE(spin->Focused()); // the button gives the focus to its box

    // Held down: once at once, then after a pause every tenth of a second.
    win::SendMessage(button, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(5, 2));
    EXPECT_EQ(spin->Value(), 2);
    TRobot::AdvanceClock(300);
    Application->ProcessMessages();
    EXPECT_EQ(spin->Value(), 2);
    TRobot::AdvanceClock(100);
    Application->ProcessMessages();
    EXPECT_EQ(spin->Value(), 3);
    for (int i = 0; i < 5; ++i) {
        TRobot::AdvanceClock(100);
        Application->ProcessMessages();
    }
    EXPECT_EQ(spin->Value(), 8);
    // Moved off the button it waits; back on it goes on.
    win::SendMessage(button, win::WM_MOUSEMOVE, win::MK_LBUTTON, win::MAKELPARAM(5, h - 2));
    TRobot::AdvanceClock(100);
    Application->ProcessMessages();
    EXPECT_EQ(spin->Value(), 8);
    TRobot::Screenshot("/tmp/vcl-spin-held.png", Form->Handle());
    win::SendMessage(button, win::WM_LBUTTONUP, 0, win::MAKELPARAM(5, h - 2));
    TRobot::AdvanceClock(1000);
    Application->ProcessMessages();
    EXPECT_EQ(spin->Value(), 8);
}

TEST_F(ChoiceTest, ColorGridChoosesTheForegroundByMouseAndKeys) {
    // The results colour of the search options: 8 by 2, foreground only, red at first.
    auto* grid = Make<TColorGrid>(Form);
    grid->SetName("ColorGrid");
    grid->SetParent(Form);
    grid->SetBounds(8, 40, 160, 40);
    grid->SetGridOrdering(TGridOrdering::go8x2);
    grid->SetBackgroundEnabled(false);
    std::vector<int> changes;
    grid->OnChange = [&](TObject*) { changes.push_back(grid->ForegroundIndex()); };
    grid->SetForegroundIndex(9);
    EXPECT_EQ(grid->ForegroundColor(), clRed);
    EXPECT_EQ(changes, std::vector<int>{9});
    grid->SetSelection(9);
    Form->Show();

    struct {
        int Index;
        TColor Color;
    } palette[] = {{0, clBlack}, {4, clNavy}, {7, clSilver}, {8, clGray}, {12, clBlue}, {15, clWhite}};
    for (auto& p : palette) EXPECT_EQ(TColorGrid::ColorOf(p.Index), p.Color) << p.Index;

    // Cells of 20 by 20: the first row is 0 to 7, the second 8 to 15.
    changes.clear();
    TRobot robot;
    robot.ClickAt(grid->Handle(), win::POINT{70, 30});                        // 11
    robot.ClickAt(grid->Handle(), win::POINT{150, 5}, win::WM_RBUTTONDOWN);   // no background
    robot.Key(win::VK_UP);    // 3
    robot.Key(win::VK_LEFT);  // 2
    robot.Key(win::VK_UP);    // 10, round the column
    robot.Key(win::VK_RIGHT);
    robot.Key(win::VK_HOME);
    robot.Key(win::VK_LEFT);  // round to 15
    Run(robot);
    EXPECT_EQ(changes, (std::vector<int>{11, 3, 2, 10, 11, 0, 15}));
    EXPECT_EQ(grid->ForegroundIndex(), 15);
    EXPECT_EQ(grid->Selection(), 15);
    EXPECT_EQ(grid->BackgroundIndex(), 15); // untouched while the background is off
    EXPECT_TRUE(grid->Focused());
    grid->SetForegroundIndex(9);
    grid->SetSelection(9);
    TRobot::Screenshot("/tmp/vcl-color-grid.png", Form->Handle());
    // The cell shows its own colour, the chosen one marked.
    win::POINT pt{8 + 3 * 20 + 3, 40 + 3};
    win::ClientToScreen(Form->Handle(), &pt);
    win::HDC screen = win::GetDC(nullptr);
    EXPECT_EQ(win::GetPixel(screen, pt.x, pt.y), win::RGB(128, 128, 0));
    win::ReleaseDC(nullptr, screen);
}

TEST_F(ChoiceTest, AStoredFormBringsTheControlsBackWithTheirItems) {
    auto add = [&](auto* c, const char* Name, int Top) {
        c->SetName(Name);
        c->SetParent(Form);
        c->SetBounds(8, Top, 150, 21);
        return c;
    };
    auto* combo = add(Make<TComboBox>(Form), "cbxDataType", 40);
    for (const char* s : {"string", "Integer", "Boolean"}) combo->Items()->Add(s);
    combo->SetMaxLength(40);
    combo->SetText("TMyType");
    auto* alias = add(Make<TComboBox>(Form), "comboAlias", 64);
    alias->SetStyle(TComboBoxStyle::csDropDownList);
    alias->SetSorted(true);
    auto* name = add(Make<TEdit>(Form), "ebName", 88);
    name->SetCharCase(TEditCharCase::ecLowerCase);
    name->SetMaxLength(128);
    name->SetText("*.*");
    auto* list = add(Make<TListBox>(Form), "lbSearchPath", 112);
    list->SetIntegralHeight(true);
    list->Items()->Add("C:\\DELPHI\\LIB");
    list->Items()->Add("it's quoted");
    auto* group = add(Make<TRadioGroup>(Form), "rgFiles", 140);
    group->SetHeight(60);
    group->SetCaption("Select Scope");
    group->SetColumns(2);
    for (const char* s : {"Current File", "Current Project", "Directory"}) group->Items()->Add(s);
    group->SetItemIndex(2);
    auto* spin = add(Make<TSpinEdit>(Form), "seSuggestions", 204);
    spin->SetMaxValue(99);
    spin->SetValue(10);
    auto* grid = add(Make<TColorGrid>(Form), "ColorGrid", 228);
    grid->SetGridOrdering(TGridOrdering::go8x2);
    grid->SetBackgroundEnabled(false);
    grid->SetForegroundIndex(9);

    rtl::TMemoryStream binary;
    WriteComponentToStream(Form, binary);
    const std::string shown = testing_support::BinaryAsText(binary);
    for (const char* expected : {"Style = csDropDownList", "Items.Strings = (", "'it''s quoted'", "CharCase = ecLowerCase",
                                 "IntegralHeight = True", "Columns = 2", "ItemIndex = 2", "MaxValue = 99",
                                 "Value = 10", "GridOrdering = go8x2", "ForegroundIndex = 9", "Text = 'TMyType'"})
        EXPECT_NE(shown.find(expected), std::string::npos) << expected << "\n" << shown;
    // The parts the controls make for themselves are not the form's to store.
    EXPECT_EQ(shown.find("TComboEdit"), std::string::npos);
    EXPECT_EQ(shown.find("TGroupButton"), std::string::npos);
    EXPECT_EQ(shown.find("Caption = 'cbxDataType'"), std::string::npos);

    auto* copy = Make<TForm>(Application);
    binary.SetPosition(0);
    ReadComponentFromStream(binary, copy);
    auto* combo2 = dynamic_cast<TComboBox*>(copy->FindComponent("cbxDataType"));
    auto* alias2 = dynamic_cast<TComboBox*>(copy->FindComponent("comboAlias"));
    auto* name2 = dynamic_cast<TEdit*>(copy->FindComponent("ebName"));
    auto* list2 = dynamic_cast<TListBox*>(copy->FindComponent("lbSearchPath"));
    auto* group2 = dynamic_cast<TRadioGroup*>(copy->FindComponent("rgFiles"));
    auto* spin2 = dynamic_cast<TSpinEdit*>(copy->FindComponent("seSuggestions"));
    auto* grid2 = dynamic_cast<TColorGrid*>(copy->FindComponent("ColorGrid"));
    ASSERT_TRUE(combo2 && alias2 && name2 && list2 && group2 && spin2 && grid2);
    EXPECT_EQ(combo2->Style(), TComboBoxStyle::csDropDown);
    EXPECT_EQ(combo2->Items()->Text(), "string\r\nInteger\r\nBoolean\r\n");
    EXPECT_EQ(combo2->Text(), "TMyType");
    EXPECT_EQ(combo2->MaxLength(), 40);
    EXPECT_EQ(alias2->Style(), TComboBoxStyle::csDropDownList);
    EXPECT_TRUE(alias2->Sorted());
    EXPECT_EQ(name2->CharCase(), TEditCharCase::ecLowerCase);
    EXPECT_EQ(name2->MaxLength(), 128);
    EXPECT_EQ(name2->Text(), "*.*");
    EXPECT_TRUE(list2->IntegralHeight());
    EXPECT_EQ(list2->Items()->Get(1), "it's quoted");
    EXPECT_EQ(group2->Columns(), 2);
    EXPECT_EQ(group2->ItemIndex(), 2);
    ASSERT_EQ(group2->ControlCount(), 3);
    EXPECT_TRUE(group2->Buttons(2)->Checked());
    EXPECT_EQ(group2->Buttons(1)->Caption(), "Current Project");
    EXPECT_EQ(spin2->MaxValue(), 99);
    EXPECT_EQ(spin2->Value(), 10);
    EXPECT_EQ(grid2->GridOrdering(), TGridOrdering::go8x2);
    EXPECT_FALSE(grid2->BackgroundEnabled());
    EXPECT_EQ(grid2->ForegroundColor(), clRed);
    copy->Show();
    TRobot::Screenshot("/tmp/vcl-choices-stored.png", copy->Handle());
    delete copy;
}
