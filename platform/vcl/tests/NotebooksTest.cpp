#include "testing/UiTest.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/Notebooks.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

// A form with a plain notebook of three pages on the left and a tabbed notebook of two pages on
// the right; each page holds a button named after it.
class NotebooksTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetCaption("Notebooks");
        Form->SetBounds(50, 50, 520, 260);
        Plain = new TNotebook(Form);
        Plain->SetName("nbkPlain");
        Plain->SetParent(Form);
        Plain->SetBounds(8, 8, 200, 200);
        Plain->Pages()->Clear();
        for (const char* caption : {"One", "Two", "Three"}) Plain->Pages()->Add(caption);
        Tabbed = new TTabbedNotebook(Form);
        Tabbed->SetName("nbkTabbed");
        Tabbed->SetParent(Form);
        Tabbed->SetBounds(216, 8, 280, 200);
        Tabbed->Pages()->SetStrings(0, "&General");
        Tabbed->Pages()->Add("&Advanced");
        for (int i = 0; i < 3; ++i) AddButton(Plain, i);
        for (int i = 0; i < 2; ++i) AddButton(Tabbed, i);
        Plain->OnPageChanged = [this](TObject*) { Log.push_back("plain " + Plain->ActivePage()); };
        Tabbed->OnChange = [this](TObject*, int NewTab, bool& Allow) {
            Log.push_back("tabbed " + std::to_string(NewTab));
            Allow = AllowChange;
        };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    TButton* AddButton(TWinControl* Book, int Index) {
        rtl::TStrings* pages = dynamic_cast<TNotebook*>(Book) ? Plain->Pages() : Tabbed->Pages();
        auto* page = static_cast<TWinControl*>(pages->Objects(Index));
        auto* b = new TButton(Form);
        b->SetName("btn" + Book->Name().substr(3) + std::to_string(Index));
        b->SetParent(page);
        b->SetBounds(10, 10, 75, 25);
        b->SetTabStop(true);
        return b;
    }
    TButton* Button(const std::string& Name) { return static_cast<TButton*>(Form->FindComponent(Name)); }
    void Run(TRobot& Robot) { ASSERT_TRUE(testing_support::PlayOut(Robot, 50)) << Robot.Describe(); }
    std::vector<bool> Showing(const std::string& Book, int Count) {
        std::vector<bool> out;
        for (int i = 0; i < Count; ++i) out.push_back(Button("btn" + Book + std::to_string(i))->Showing());
        return out;
    }

    TForm* Form = nullptr;
    TNotebook* Plain = nullptr;
    TTabbedNotebook* Tabbed = nullptr;
    std::vector<std::string> Log;
    bool AllowChange = true;
};

} // namespace

TEST_F(NotebooksTest, PagesTurnByCaptionAndByIndex) {
    EXPECT_EQ(Plain->PageIndex(), 0);
    EXPECT_EQ(Plain->ActivePage(), "One");
    EXPECT_EQ(Showing("Plain", 3), (std::vector<bool>{true, false, false}));
    Plain->SetActivePage("tHREE"); // captions match in any case
    EXPECT_EQ(Plain->PageIndex(), 2);
    EXPECT_EQ(Showing("Plain", 3), (std::vector<bool>{false, false, true}));
    Plain->SetActivePage("Four"); // no such page: nothing happens
    Plain->SetPageIndex(7);
    Plain->SetPageIndex(1);
    EXPECT_EQ(Plain->ActivePage(), "Two");
    EXPECT_EQ(Log, (std::vector<std::string>{"plain Three", "plain Two"}));

    Tabbed->SetActivePage("&Advanced");
    EXPECT_EQ(Tabbed->PageIndex(), 1);
    EXPECT_EQ(Showing("Tabbed", 2), (std::vector<bool>{false, true}));
    Tabbed->SetPageIndex(0);
    EXPECT_EQ(Tabbed->ActivePage(), "&General");
    EXPECT_EQ(Log.size(), 2u); // code turns the tabbed notebook without asking OnChange
}

TEST_F(NotebooksTest, TheTabbedNotebookTurnsByClickCtrlTabAndAcceleratorWhenAllowed) {
    Button("btnTabbed0")->SetFocus();
    std::vector<int> seen;
    TRobot robot;
    robot.Key(win::VK_TAB, false, true);
    robot.Do([&] { seen.push_back(Tabbed->PageIndex()); });
    robot.Key('G', false, false, true);
    robot.Do([&] { seen.push_back(Tabbed->PageIndex()); });
    TRect r = Tabbed->TabRect(1);
    robot.ClickAt(Tabbed->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    robot.Do([&] { seen.push_back(Tabbed->PageIndex()); });
    robot.Do([&] { AllowChange = false; });
    robot.Key(win::VK_TAB, false, true);
    robot.Do([&] { seen.push_back(Tabbed->PageIndex()); });
    Run(robot);
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(Log, (std::vector<std::string>{"tabbed 1", "tabbed 0", "tabbed 1", "tabbed 0"}));
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-notebooks.png", Form->Handle()));
}

TEST_F(NotebooksTest, ControlsOnHiddenPagesAreNotReachedByTab) {
    Button("btnPlain0")->SetFocus();
    std::vector<std::string> seen;
    TRobot robot;
    for (int i = 0; i < 3; ++i) {
        robot.Key(win::VK_TAB);
        robot.Do([&] { seen.push_back(Form->ActiveControl()->Name()); });
    }
    Run(robot);
    EXPECT_EQ(seen, (std::vector<std::string>{"nbkTabbed", "btnTabbed0", "btnPlain0"}));
    // Turning away from the page with the focus takes the focus to the new page's first control.
    Plain->SetActivePage("Two");
    EXPECT_EQ(Form->ActiveControl()->Name(), "btnPlain1");
}

TEST_F(NotebooksTest, EditingThePagesMakesRenamesAndFreesPages) {
    rtl::TStrings* pages = Plain->Pages();
    Plain->SetPageIndex(1);
    pages->Insert(0, "Zero");
    EXPECT_EQ(pages->Text(), "Zero\r\nOne\r\nTwo\r\nThree\r\n");
    EXPECT_EQ(Plain->PageIndex(), 2); // still the page "Two"
    pages->SetStrings(2, "Deux");
    EXPECT_EQ(Plain->ActivePage(), "Deux");
    pages->Delete(2); // the page shown goes, with its button: its neighbour shows
    EXPECT_EQ(Form->FindComponent("btnPlain1"), nullptr);
    EXPECT_EQ(Plain->ActivePage(), "Three");
    EXPECT_TRUE(Button("btnPlain2")->Showing());
    pages->Move(2, 0);
    EXPECT_EQ(pages->Text(), "Three\r\nZero\r\nOne\r\n");
    EXPECT_EQ(Plain->PageIndex(), 0);
    EXPECT_THROW(pages->Delete(5), rtl::EStringListError);
    pages->Clear();
    EXPECT_EQ(Plain->PageIndex(), -1);
    EXPECT_EQ(Plain->ActivePage(), "");
    pages->Add("Fresh");
    EXPECT_EQ(Plain->ActivePage(), "Fresh");

    // The tabbed notebook's tabs follow its pages.
    Tabbed->Pages()->Add("&Third");
    Tabbed->SetPageIndex(2);
    EXPECT_GT(Tabbed->TabRect(2).left, Tabbed->TabRect(1).left);
    Tabbed->Pages()->Delete(2);
    EXPECT_EQ(Tabbed->PageIndex(), 1);
    EXPECT_EQ(Tabbed->TabRect(2), Rect(0, 0, 0, 0));
}
