#include "testing/UiTest.h"

#include "vcl/Dialogs.h"
#include "vcl/Menus.h"

using namespace vcl;
using testing_support::UiTest;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::PlayOut;

TEST_F(UiTest, MessageDlgAnswersTheButtonTheRobotPresses) {
    struct Case {
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
        const char* Press;
        int Want;
        const char* Caption;
        const char* Shot;
    } cases[] = {
        {TMsgDlgType::mtInformation, mbOK, "OK", mrOk, "Information", "information"},
        {TMsgDlgType::mtWarning, mbOKCancel, "Cancel", mrCancel, "Warning", "warning"},
        {TMsgDlgType::mtError, mbOK | mbHelp, "OK", mrOk, "Error", "error"},
        {TMsgDlgType::mtConfirmation, mbYesNoCancel, "No", mrNo, "Confirm", "confirmation"},
        {TMsgDlgType::mtConfirmation, mbYes | mbNo, "Yes", mrYes, "Confirm", nullptr},
    };
    for (auto& c : cases) {
        TRobot robot;
        std::string caption, text;
        robot.OnNextModal([&](win::HWND box) {
            caption = win::GetWindowText(box);
            text = TRobot::ChildText(box, "Message");
            if (c.Shot) TRobot::Screenshot(std::string("/tmp/vcl-msgdlg-") + c.Shot + ".png", box);
        });
        robot.AnswerNextModal(TBy::Name(c.Press));
        EXPECT_EQ(MessageDlg("Save changes to the file?", c.Type, c.Buttons, 0), c.Want) << c.Caption;
        EXPECT_TRUE(robot.Done()) << robot.Describe();
        EXPECT_EQ(caption, c.Caption);
        EXPECT_EQ(text, "Save changes to the file?");
    }
}

TEST_F(UiTest, MessageBoxKeysAndTheHelpButton) {
    TRobot robot;
    robot.Key(win::VK_ESCAPE);
    EXPECT_EQ(MessageBox(nullptr, "Nothing to do", "", MB_YESNOCANCEL | win::MB_ICONQUESTION), IDCANCEL);
    auto* owner = Make<TForm>(Application);
    owner->Show();
    win::HWND boxOwner = nullptr;
    robot.OnNextModal([&](win::HWND box) { boxOwner = win::GetParent(box); });
    robot.Key(win::VK_RETURN); // the second button is the default
    EXPECT_EQ(MessageBox(owner->Handle(), "Really?", "Check", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(boxOwner, owner->Handle());
    // Help shows the context and leaves the box open.
    PutHelpFile("C:\\APP\\APP.HLP");
    Application->SetHelpFile("C:\\APP\\APP.HLP");
    robot.AnswerNextModal(TBy::Name("Help"));
    robot.Click(TBy::Name("OK"));
    EXPECT_EQ(MessageDlg("Read the help", TMsgDlgType::mtInformation, mbOK | mbHelp, 120), mrOk);
    ASSERT_EQ(RecordedHelpCalls().size(), 1u);
    EXPECT_EQ(RecordedHelpCalls()[0].Command, HELP_CONTEXT);
    EXPECT_EQ(RecordedHelpCalls()[0].Data, 120u);
    EXPECT_EQ(RecordedHelpCalls()[0].HelpFile, "C:\\APP\\APP.HLP");
}

TEST_F(UiTest, ShowMessageUsesTheTitleAndInputQueryReturnsTheTypedText) {
    TRobot robot;
    std::string caption;
    robot.OnNextModal([&](win::HWND box) { caption = win::GetWindowText(box); });
    robot.Key(win::VK_RETURN);
    ShowMessage("Quillo Checking Complete.");
    EXPECT_EQ(caption, "Tests");

    std::string value = "old";
    robot.OnNextModal([](win::HWND box) { TRobot::Screenshot("/tmp/vcl-inputquery.png", box); });
    robot.Type("New name");
    robot.AnswerNextModal(TBy::Caption("OK"));
    EXPECT_TRUE(InputQuery("Rename", "Name:", value));
    EXPECT_EQ(value, "New name");
    robot.Type("ignored");
    robot.Key(win::VK_ESCAPE);
    EXPECT_FALSE(InputQuery("Rename", "Name:", value));
    EXPECT_EQ(value, "New name");
}

TEST_F(UiTest, AModalLoopWithNobodyToAnswerEndsInsteadOfHanging) {
    EXPECT_THROW(MessageDlg("Nobody answers", TMsgDlgType::mtWarning, mbOK, 0), win::EMessageLoopIdle);
    // Everything is enabled again and the box is gone.
    EXPECT_EQ(TRobot::ModalWindow(), nullptr);
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST(ShortCutTest, TextsBothWays) {
    struct Case {
        const char* Text;
        TShortCut Value;
        const char* Canonical;
    } cases[] = {
        {"Ctrl+Alt+X", TShortCut('X' | scCtrl | scAlt), "Ctrl+Alt+X"},
        {"alt+ctrl+x", TShortCut('X' | scCtrl | scAlt), "Ctrl+Alt+X"},
        {"Shift+F5", TShortCut((win::VK_F1 + 4) | scShift), "Shift+F5"},
        {"Ctrl+Del", TShortCut(win::VK_DELETE | scCtrl), "Ctrl+Del"},
        {"Ctrl+Shift+PgDn", TShortCut(win::VK_NEXT | scCtrl | scShift), "Shift+Ctrl+PgDn"},
        {"F12", TShortCut(win::VK_F12), "F12"},
        {"Ctrl+", 0, ""},
        {"Ctrl+Foo", 0, ""},
        {"", 0, ""},
    };
    for (auto& c : cases) {
        EXPECT_EQ(TextToShortCut(c.Text), c.Value) << c.Text;
        EXPECT_EQ(ShortCutToText(c.Value), c.Canonical) << c.Text;
    }
    EXPECT_EQ(ShortCut('K', ssCtrl | ssShift), TShortCut('K' | scCtrl | scShift));
    unsigned key = 0;
    TShiftState shift = 0;
    ShortCutToKey(TShortCut('K' | scAlt), key, shift);
    EXPECT_EQ(key, unsigned('K'));
    EXPECT_EQ(shift, TShiftState(ssAlt));
}

TEST_F(UiTest, EscapeAnswersOkOrCancelAndIsIgnoredByBoxesThatAskYesOrNo) {
    // Escape first, then Enter for the default button: a box Escape closed never sees the Enter.
    struct Case {
        const char* What;
        std::function<int()> Show;
        int Want;
    };
    const Case cases[] = {
        {"MessageDlg OK", [] { return MessageDlg("m", TMsgDlgType::mtInformation, mbOK, 0); }, mrOk},
        {"MessageDlg OK Help", [] { return MessageDlg("m", TMsgDlgType::mtInformation, mbOK | mbHelp, 0); }, mrOk},
        {"MessageDlg OK Cancel", [] { return MessageDlg("m", TMsgDlgType::mtWarning, mbOKCancel, 0); }, mrCancel},
        {"MessageDlg Yes No Cancel", [] { return MessageDlg("m", TMsgDlgType::mtConfirmation, mbYesNoCancel, 0); },
         mrCancel},
        {"MessageDlg Yes No", [] { return MessageDlg("m", TMsgDlgType::mtConfirmation, mbYes | mbNo, 0); }, mrYes},
        {"MessageBox OK", [] { return MessageBox(nullptr, "m", "c", win::MB_OK); }, IDOK},
        {"MessageBox OK Cancel", [] { return MessageBox(nullptr, "m", "c", MB_OKCANCEL); }, IDCANCEL},
        {"MessageBox Retry Cancel", [] { return MessageBox(nullptr, "m", "c", MB_RETRYCANCEL); }, IDCANCEL},
        {"MessageBox Yes No", [] { return MessageBox(nullptr, "m", "c", MB_YESNO); }, IDYES},
        {"MessageBox Abort Retry Ignore", [] { return MessageBox(nullptr, "m", "c", MB_ABORTRETRYIGNORE); }, IDABORT},
    };
    for (const Case& c : cases) {
        TRobot robot;
        robot.Key(win::VK_ESCAPE);
        robot.Key(win::VK_RETURN);
        EXPECT_EQ(c.Show(), c.Want) << c.What;
        // What the box did not take goes to nobody.
        PlayOut(robot, 4);
        rtl::AdvanceClock(1000);
    }
}

TEST_F(UiTest, WinHelpNamesAMissingHelpFileAndFails) {
    TRobot robot;
    std::string caption, text;
    robot.OnNextModal([&](win::HWND box) {
        caption = win::GetWindowText(box);
        text = TRobot::ChildText(box, "Message");
    });
    robot.AnswerNextModal(TBy::Caption("OK"));
    EXPECT_FALSE(WinHelp(nullptr, "C:\\NOWHERE\\GONE.HLP", HELP_CONTENTS, 0));
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(caption, "Windows Help");
    EXPECT_EQ(text, "Cannot find the C:\\NOWHERE\\GONE.HLP file.");
    // A name without a folder is found in Windows' folder; quitting needs no file.
    PutHelpFile("C:\\WINDOWS\\THERE.HLP");
    EXPECT_TRUE(WinHelp(nullptr, "there.hlp", HELP_CONTENTS, 0));
    EXPECT_TRUE(WinHelp(nullptr, "C:\\NOWHERE\\GONE.HLP", HELP_QUIT, 0));
    EXPECT_EQ(RecordedHelpCalls().size(), 3u) << "every call is kept, the failed one too";
}
