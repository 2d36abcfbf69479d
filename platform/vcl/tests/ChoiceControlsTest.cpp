#include "testing/UiTest.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/EditCtrls.h"

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
    void Run(TRobot& Robot) {
        for (int i = 0; i < 60 && !Robot.Done(); ++i) Application->ProcessMessages();
        Application->ProcessMessages();
        EXPECT_TRUE(Robot.Done()) << Robot.Describe();
    }

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
