#include "testing/UiTest.h"

#include "vcl/EditCtrls.h"
#include "vcl/ListCtrls.h"
#include "vcl/StdCtrls.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;
using win::FALSE;
using win::TRUE;

namespace {

class EditableComboTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetBounds(50, 50, 320, 200);
        Form->SetCaption("Combo");
        Before = Make<TEdit>(Form);
        Before->SetParent(Form);
        Before->SetBounds(10, 10, 120, 21);
        Combo = Make<TComboBox>(Form);
        Combo->SetName("cbSearch");
        Combo->SetParent(Form);
        Combo->SetBounds(10, 40, 150, 21);
        for (const char* s : {"Default", "Delphi 2", "Tools", "Network"}) Combo->Items()->Add(s);
        Combo->OnChange = [this](TObject*) { Changes.push_back(Combo->Text()); };
        Combo->OnEnter = [this](TObject*) { ++Enters; };
        Combo->OnExit = [this](TObject*) { ++Exits; };
        Cancel = Make<TButton>(Form);
        Cancel->SetParent(Form);
        Cancel->SetBounds(10, 140, 75, 25);
        Cancel->SetCaption("Cancel");
        Cancel->SetCancel(true);
        Cancel->OnClick = [this](TObject*) { ++Cancels; };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void Run(TRobot& Robot) { EXPECT_TRUE(testing_support::PlayOut(Robot, 60)) << Robot.Describe(); }
    win::LRESULT Send(unsigned Msg, win::WPARAM W, win::LPARAM L) { return win::SendMessage(Combo->Handle(), Msg, W, L); }
    static win::LPARAM Str(const char* S) { return reinterpret_cast<win::LPARAM>(S); }

    TForm* Form = nullptr;
    TEdit* Before = nullptr;
    TComboBox* Combo = nullptr;
    TButton* Cancel = nullptr;
    std::vector<std::string> Changes;
    int Enters = 0, Exits = 0, Cancels = 0;
};

} // namespace

TEST_F(EditableComboTest, TypingAndChoosingEachFireChange) {
    ASSERT_EQ(Combo->Style(), TComboBoxStyle::csDropDown);
    Combo->SetItemIndex(1);
    Combo->SetText("Del");
    EXPECT_TRUE(Changes.empty()); // by code: no event
    EXPECT_EQ(Combo->ItemIndex(), 1); // a text set by code keeps the chosen line

    Before->SetFocus();
    TRobot robot;
    robot.Key(win::VK_TAB);
    robot.Key(win::VK_END);
    robot.Type("ph");
    Run(robot);
    // The edit part has the focus, but the form and the box see the box as focused.
    EXPECT_TRUE(Combo->Focused());
    EXPECT_EQ(win::GetFocus(), Combo->EditControl()->Handle());
    EXPECT_EQ(Form->ActiveControl(), Combo);
    EXPECT_EQ(Enters, 1);
    EXPECT_EQ(Combo->Text(), "Delph");
    EXPECT_EQ(Changes, (std::vector<std::string>{"Delp", "Delph"}));
    EXPECT_EQ(Combo->ItemIndex(), -1); // typed text is no chosen line

    // Down chooses the next line (the first, from none); each choice fires once.
    Changes.clear();
    TRobot keys;
    keys.Key(win::VK_DOWN);
    keys.Key(win::VK_DOWN);
    keys.Key(win::VK_UP);
    Run(keys);
    EXPECT_EQ(Changes, (std::vector<std::string>{"Default", "Delphi 2", "Default"}));
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_EQ(Combo->SelLength(), 7); // the chosen line is selected, to be typed over

    // Typing over the selection, then dropping: the list opens on the line the text begins.
    Changes.clear();
    TRobot drop;
    drop.Type("To");
    drop.Key(win::VK_F4);
    Run(drop);
    ASSERT_TRUE(Combo->DroppedDown());
    EXPECT_EQ(Combo->ItemIndex(), 2);
    EXPECT_EQ(Combo->Text(), "To");
    TRobot::Screenshot("/tmp/vcl-editable-combo-dropped.png");
    // A click on a line of the list chooses it and puts it into the edit part.
    TRect line = Combo->List()->ItemRect(3);
    TRobot pick;
    pick.ClickAt(Combo->List()->Handle(), win::POINT{10, (line.top + line.bottom) / 2});
    Run(pick);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Combo->Text(), "Network");
    EXPECT_EQ(Combo->ItemIndex(), 3);
    EXPECT_EQ(Changes, (std::vector<std::string>{"T", "To", "Network"}));
    EXPECT_TRUE(Combo->Focused());

    // Escape closes a dropped list without a choice and without pressing Cancel; Tab leaves.
    Changes.clear();
    TRobot cancel;
    cancel.Key(win::VK_DOWN, false, false, true);
    cancel.Key(win::VK_UP);
    cancel.Key(win::VK_ESCAPE);
    Run(cancel);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Combo->ItemIndex(), 3);
    EXPECT_EQ(Combo->Text(), "Network");
    EXPECT_TRUE(Changes.empty());
    EXPECT_EQ(Cancels, 0);
    TRobot away;
    away.Key(win::VK_TAB);
    Run(away);
    EXPECT_EQ(Form->ActiveControl(), Cancel);
    EXPECT_EQ(Exits, 1);
    EXPECT_EQ(Enters, 1);
}

TEST_F(EditableComboTest, MaxLengthLimitsTypingButNotCode) {
    Combo->SetMaxLength(5);
    Combo->SetFocus();
    TRobot robot;
    robot.Type("alias name");
    Run(robot);
    EXPECT_EQ(Combo->Text(), "alias");
    EXPECT_EQ(Changes.size(), 5u);
    Combo->SetText("a longer text");
    EXPECT_EQ(Combo->Text(), "a longer text");
    // CB_LIMITTEXT sets the same limit; a drop-down list has none to set.
    EXPECT_EQ(Send(CB_LIMITTEXT, 3, 0), TRUE);
    EXPECT_EQ(Combo->MaxLength(), 3);
    Combo->SetStyle(TComboBoxStyle::csDropDownList);
    EXPECT_EQ(Send(CB_LIMITTEXT, 9, 0), CB_ERR);
    EXPECT_EQ(Send(CB_GETEDITSEL, 0, 0), CB_ERR);
}

TEST_F(EditableComboTest, SwitchingTheStyleKeepsLinesObjectsIndexAndText) {
    int a = 1, b = 2;
    Combo->Items()->SetObjects(1, &a);
    Combo->Items()->SetObjects(2, &b);
    Combo->SetStyle(TComboBoxStyle::csDropDownList);
    Combo->SetItemIndex(2);
    Combo->SetFocus();
    EXPECT_EQ(Combo->EditControl(), nullptr);
    EXPECT_EQ(Combo->Text(), "Tools");

    // A drop-down list becomes editable: the line is its text, and clearing the text by code
    // leaves the line chosen, as the alias box does for a new alias.
    Combo->SetStyle(TComboBoxStyle::csDropDown);
    ASSERT_NE(Combo->EditControl(), nullptr);
    EXPECT_EQ(Combo->Text(), "Tools");
    EXPECT_EQ(Combo->ItemIndex(), 2);
    EXPECT_EQ(Combo->Items()->Count(), 4);
    EXPECT_EQ(Combo->Items()->Objects(2), &b);
    EXPECT_EQ(win::GetFocus(), Combo->EditControl()->Handle()); // the focus moved into the edit part
    Combo->SetText("");
    EXPECT_EQ(Combo->ItemIndex(), 2);
    TRobot::Screenshot("/tmp/vcl-editable-combo.png", Form->Handle());

    Combo->SetStyle(TComboBoxStyle::csDropDownList);
    EXPECT_EQ(Combo->ItemIndex(), 2);
    EXPECT_EQ(Combo->Text(), "Tools");
    EXPECT_EQ(Combo->Items()->Objects(1), &a);
    EXPECT_EQ(win::GetFocus(), Combo->Handle());

    // A typed text that names a line chooses it in the list; another leaves the choice empty.
    Combo->SetStyle(TComboBoxStyle::csDropDown);
    TRobot robot;
    robot.Key(win::VK_END);
    robot.Key(win::VK_BACK);
    robot.Key(win::VK_BACK);
    robot.Key(win::VK_BACK);
    robot.Key(win::VK_BACK);
    robot.Key(win::VK_BACK);
    robot.Type("network");
    Run(robot);
    EXPECT_EQ(Combo->ItemIndex(), -1);
    Combo->SetStyle(TComboBoxStyle::csDropDownList);
    EXPECT_EQ(Combo->ItemIndex(), 3);
    Combo->SetStyle(TComboBoxStyle::csDropDown);
    Combo->SetText("nothing of it");
    Combo->SetItemIndex(-1);
    EXPECT_EQ(Combo->Text(), ""); // no line: an empty edit part
    Combo->SetText("nothing of it");
    Combo->SetStyle(TComboBoxStyle::csDropDownList);
    EXPECT_EQ(Combo->ItemIndex(), -1);
    EXPECT_EQ(Combo->Text(), "");
}

TEST_F(EditableComboTest, ComboMessagesReachTheLinesAndTheEditPart) {
    win::SetWindowText(Combo->Handle(), "Delphi");
    EXPECT_EQ(Combo->Text(), "Delphi");
    EXPECT_EQ(win::GetWindowText(Combo->Handle()), "Delphi");
    EXPECT_EQ(Send(CB_SETEDITSEL, 0, win::MAKELPARAM(1, 4)), TRUE);
    win::DWORD s = 0, e = 0;
    win::LRESULT sel = Send(CB_GETEDITSEL, reinterpret_cast<win::WPARAM>(&s), reinterpret_cast<win::LPARAM>(&e));
    EXPECT_EQ(s, 1u);
    EXPECT_EQ(e, 4u);
    EXPECT_EQ(sel, win::MAKELRESULT(1, 4));
    EXPECT_EQ(Combo->SelText(), "elp");
    Send(CB_SETEDITSEL, 0, win::MAKELPARAM(0, -1));
    EXPECT_EQ(Combo->SelLength(), 6);

    struct {
        unsigned Msg;
        int Start;
        const char* Text;
        win::LRESULT Expected;
    } finds[] = {
        {CB_FINDSTRING, -1, "de", 0},          // a prefix, without regard to case
        {CB_FINDSTRING, 0, "de", 1},           // after the line given
        {CB_FINDSTRING, 1, "de", 0},           // going round past the end
        {CB_FINDSTRINGEXACT, -1, "delphi", CB_ERR},
        {CB_FINDSTRINGEXACT, -1, "DELPHI 2", 1},
        {CB_FINDSTRING, -1, "x", CB_ERR},
        {CB_FINDSTRING, 7, "N", 3},           // a start past the end searches all
    };
    for (std::size_t i = 0; i < std::size(finds); ++i)
        EXPECT_EQ(Send(finds[i].Msg, win::WPARAM(finds[i].Start), Str(finds[i].Text)), finds[i].Expected) << "case " << i;

    EXPECT_EQ(Send(CB_ADDSTRING, 0, Str("Zeta")), 4);
    EXPECT_EQ(Send(CB_INSERTSTRING, 0, Str("Alpha")), 0);
    EXPECT_EQ(Send(CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(Send(CB_SELECTSTRING, win::WPARAM(-1), Str("tool")), 3);
    EXPECT_EQ(Combo->Text(), "Tools");
    EXPECT_EQ(Send(CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(Send(CB_GETLBTEXTLEN, 5, 0), 4);
    char buf[16] = {};
    EXPECT_EQ(Send(CB_GETLBTEXT, 5, reinterpret_cast<win::LPARAM>(buf)), 4);
    EXPECT_STREQ(buf, "Zeta");
    int data = 7;
    EXPECT_EQ(Send(CB_SETITEMDATA, 2, reinterpret_cast<win::LPARAM>(&data)), TRUE);
    EXPECT_EQ(Combo->Items()->Objects(2), &data);
    EXPECT_EQ(Send(CB_DELETESTRING, 0, 0), 5);
    EXPECT_EQ(Combo->ItemIndex(), 2); // the chosen line moved up with its line
    EXPECT_EQ(Send(CB_SETCURSEL, 9, 0), CB_ERR);
    EXPECT_EQ(Combo->ItemIndex(), -1);
    EXPECT_EQ(Send(CB_DELETESTRING, 9, 0), CB_ERR);
    EXPECT_EQ(Send(CB_GETLBTEXTLEN, 9, 0), CB_ERR);
    EXPECT_EQ(Send(CB_SHOWDROPDOWN, TRUE, 0), TRUE);
    EXPECT_EQ(Send(CB_GETDROPPEDSTATE, 0, 0), TRUE);
    Send(CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_FALSE(Combo->DroppedDown());
    Send(CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(Combo->Items()->Count(), 0);
    EXPECT_TRUE(Changes.empty()); // messages are code: no events
}

TEST_F(EditableComboTest, ADisabledBoxShowsItsTextGrayedAndTakesNoInput) {
    Combo->SetItemIndex(1);
    Combo->SetEnabled(false);
    EXPECT_FALSE(Combo->EditControl()->Enabled());
    TRobot::Screenshot("/tmp/vcl-editable-combo-disabled.png", Form->Handle());
    Combo->SetEnabled(true);
    Combo->SetColor(clBtnFace);
    EXPECT_EQ(Combo->EditControl()->Color(), clBtnFace); // the edit part takes the box's colour
}
