#include "testing/Clipboard.h"
#include "testing/UiTest.h"

#include "vcl/EditCtrls.h"

#include <string>

using namespace vcl;
using testing_support::ClipboardText;
using testing_support::SetClipboardText;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class EditTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = BareForm(0, 0, 300, 200);
        Edit = new TEdit(Form);
        Edit->SetName("edtName");
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 200, 24);
        Memo = new TMemo(Form);
        Memo->SetName("mmoCode");
        Memo->SetParent(Form);
        Memo->SetBounds(10, 50, 200, 60);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void Run(TRobot& Robot) { ASSERT_TRUE(testing_support::PlayOut(Robot, 50)) << Robot.Describe(); }
    static win::LRESULT Send(TWinControl* C, unsigned Msg, std::intptr_t W = 0, std::intptr_t L = 0) {
        return win::SendMessage(C->Handle(), Msg, win::WPARAM(W), win::LPARAM(L));
    }

    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TMemo* Memo = nullptr;
};

} // namespace

TEST_F(EditTest, TypingMovesTheCaretAndKeysSelect) {
    Edit->SetFocus();
    TRobot robot;
    robot.Type("hello world");
    robot.Key(win::VK_LEFT, false, true); // to the start of "world"
    robot.Key(win::VK_BACK);
    robot.Type("-");
    robot.Key(win::VK_HOME);
    robot.Key(win::VK_RIGHT, true, true); // by word: up to the dash
    Run(robot);
    EXPECT_EQ(Edit->Text(), "hello-world");
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_EQ(Edit->SelText(), "hello");
    win::POINT caret{};
    win::GetCaretPos(&caret);
    EXPECT_GT(caret.x, 10);

    TRobot more;
    more.Key(win::VK_END, true);
    more.Type("X"); // replaces the selection
    more.Key(win::VK_LEFT);
    more.Key(win::VK_LEFT, true);
    Run(more);
    EXPECT_EQ(Edit->Text(), "X");
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_EQ(Edit->SelLength(), 0); // nothing left of the start to take
    EXPECT_TRUE(Edit->Modified());
}

TEST_F(EditTest, MemoTypingKeepsCrLfAndTheLines) {
    Memo->SetFocus();
    TRobot robot;
    robot.Type("ab");
    robot.Key(win::VK_RETURN);
    robot.Type("cd");
    robot.Key(win::VK_UP);
    robot.Key(win::VK_END);
    robot.Key(win::VK_RIGHT, true); // selects the line break as one step
    Run(robot);
    EXPECT_EQ(Memo->Text(), "ab\r\ncd");
    EXPECT_EQ(Memo->SelStart(), 2);
    EXPECT_EQ(Memo->SelLength(), 2);
    ASSERT_EQ(Memo->Lines().Count(), 2);
    EXPECT_EQ(Memo->Lines().Get(1), "cd");
    TRobot del;
    del.Key(win::VK_DELETE);
    Run(del);
    EXPECT_EQ(Memo->Text(), "abcd");
    EXPECT_EQ(Memo->Lines().Count(), 1);

    Memo->Lines().Add("next");
    EXPECT_EQ(Memo->Text(), "abcd\r\nnext");
    EXPECT_EQ(Send(Memo, win::EM_GETLINECOUNT), 2);
}

TEST_F(EditTest, WordStepsStopAtWordsPunctuationAndLineBreaks) {
    Memo->SetWordWrap(false);
    Memo->SetText("one  two,three\r\nfour"); // "four" starts at 16
    Memo->SetFocus();
    std::vector<int> right, left;
    TRobot robot;
    for (int i = 0; i < 6; ++i) {
        robot.Key(win::VK_RIGHT, false, true);
        robot.Do([&] { right.push_back(Memo->SelStart()); });
    }
    for (int i = 0; i < 6; ++i) {
        robot.Key(win::VK_LEFT, false, true);
        robot.Do([&] { left.push_back(Memo->SelStart()); });
    }
    Run(robot);
    EXPECT_EQ(right, (std::vector<int>{5, 8, 9, 14, 16, 20}));
    EXPECT_EQ(left, (std::vector<int>{16, 14, 9, 8, 5, 0}));

    // Down and up keep the column they started from over a shorter line.
    Memo->SetText("abcdef\r\nab\r\nabcdef");
    Memo->SetSelStart(5);
    TRobot vertical;
    vertical.Key(win::VK_DOWN);
    vertical.Do([&] { EXPECT_EQ(Memo->SelStart(), 10); });
    vertical.Key(win::VK_DOWN);
    vertical.Do([&] { EXPECT_EQ(Memo->SelStart(), 17); });
    vertical.Key(win::VK_UP, true);
    Run(vertical);
    EXPECT_EQ(Memo->SelStart(), 10);
    EXPECT_EQ(Memo->SelLength(), 7);
}

TEST_F(EditTest, MemoKeepsEnterButLetsEscapeThrough) {
    auto* ok = new TButton(Form);
    ok->SetParent(Form);
    ok->SetBounds(220, 120, 70, 25);
    ok->SetDefault(true);
    auto* cancel = new TButton(Form);
    cancel->SetParent(Form);
    cancel->SetBounds(220, 150, 70, 25);
    cancel->SetCancel(true);
    int oks = 0, cancels = 0;
    ok->OnClick = [&](TObject*) { ++oks; };
    cancel->OnClick = [&](TObject*) { ++cancels; };
    Memo->SetFocus();
    TRobot robot;
    robot.Type("a");
    robot.Key(win::VK_RETURN);
    robot.Key(win::VK_ESCAPE);
    Run(robot);
    EXPECT_EQ(Memo->Text(), "a\r\n");
    EXPECT_EQ(oks, 0);
    EXPECT_EQ(cancels, 1);
    Edit->SetFocus(); // the one-line box leaves Enter to the default button
    TRobot enter;
    enter.Key(win::VK_RETURN);
    Run(enter);
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(Edit->Text(), "");
}

TEST_F(EditTest, EditMessagesOverCrLfText) {
    Memo->SetWordWrap(false);
    Memo->SetText("ab\r\ncde\r\n\r\nf"); // lines start at 0, 4, 9, 11
    struct {
        unsigned Msg;
        std::intptr_t W;
        win::LRESULT Want;
    } cases[] = {
        {win::EM_GETLINECOUNT, 0, 4},
        {win::EM_LINEFROMCHAR, 0, 0},  {win::EM_LINEFROMCHAR, 2, 0},  {win::EM_LINEFROMCHAR, 3, 0},
        {win::EM_LINEFROMCHAR, 4, 1},  {win::EM_LINEFROMCHAR, 7, 1},  {win::EM_LINEFROMCHAR, 9, 2},
        {win::EM_LINEFROMCHAR, 11, 3}, {win::EM_LINEFROMCHAR, 99, 3},
        {win::EM_LINEINDEX, 0, 0},     {win::EM_LINEINDEX, 1, 4},     {win::EM_LINEINDEX, 2, 9},
        {win::EM_LINEINDEX, 3, 11},    {win::EM_LINEINDEX, 4, -1},
        {win::EM_LINELENGTH, 0, 2},    {win::EM_LINELENGTH, 5, 3},    {win::EM_LINELENGTH, 9, 0},
        {win::EM_LINELENGTH, 11, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(Send(Memo, c.Msg, c.W), c.Want) << c.Msg << " " << c.W;

    // Selection, and the caret's own line asked for with 65535 (or -1).
    Send(Memo, win::EM_SETSEL, 5, 9);
    win::DWORD s = 0, e = 0;
    win::LRESULT r = Send(Memo, win::EM_GETSEL, std::intptr_t(&s), std::intptr_t(&e));
    EXPECT_EQ(s, 5u);
    EXPECT_EQ(e, 9u);
    EXPECT_EQ(r, win::MAKELRESULT(5, 9));
    EXPECT_EQ(Memo->SelText(), "de\r\n");
    EXPECT_EQ(Send(Memo, win::EM_LINEFROMCHAR, 65535), 1);
    EXPECT_EQ(Send(Memo, win::EM_LINEINDEX, 65535), 9);
    EXPECT_EQ(Send(Memo, win::EM_LINEINDEX, -1), 9);
    EXPECT_EQ(Send(Memo, win::EM_LINELENGTH, -1), 1); // "c" before the selection, nothing after
    Send(Memo, win::EM_SETSEL, 0, -1);
    EXPECT_EQ(Memo->SelLength(), 12);
    Send(Memo, win::EM_SETSEL, 10, 3); // between CR and LF: before the break
    EXPECT_EQ(Memo->SelStart(), 2);
    EXPECT_EQ(Memo->SelText(), "\r\ncde\r\n");
    Send(Memo, win::EM_SETSEL, -1, 0);
    EXPECT_EQ(Memo->SelLength(), 0);

    Memo->SetSelStart(4);
    Memo->SetSelLength(3);
    Memo->SetSelText("X\nY");
    EXPECT_EQ(Memo->Text(), "ab\r\nX\r\nY\r\n\r\nf");
    EXPECT_EQ(Memo->SelStart(), 8);
    EXPECT_EQ(Memo->Lines().Count(), 5);

    // The single-line box: one line, breaks not taken from a replacement.
    Edit->SetText("one");
    Send(Edit, win::EM_SETSEL, 3, 3);
    Send(Edit, win::EM_REPLACESEL, 0, std::intptr_t("two\r\nthree"));
    EXPECT_EQ(Edit->Text(), "onetwo");
    EXPECT_EQ(Send(Edit, win::EM_GETLINECOUNT), 1);
    EXPECT_EQ(Send(Edit, win::EM_LINELENGTH, 2), 6);
    char buf[4];
    EXPECT_EQ(Send(Edit, win::WM_GETTEXT, sizeof buf, std::intptr_t(buf)), 3);
    EXPECT_STREQ(buf, "one");
    EXPECT_EQ(Send(Edit, win::WM_GETTEXTLENGTH), 6);
}

TEST_F(EditTest, ScrollingAndTheFirstVisibleLine) {
    Memo->SetWordWrap(false);
    Memo->SetScrollBars(TScrollStyle::ssVertical);
    std::string text;
    for (int i = 0; i < 20; ++i) text += (i ? "\r\nline " : "line ") + std::to_string(i);
    Memo->SetText(text);
    EXPECT_EQ(Send(Memo, win::EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_TRUE(Send(Memo, EM_LINESCROLL, 0, 5));
    EXPECT_EQ(Send(Memo, win::EM_GETFIRSTVISIBLELINE), 5);
    EXPECT_EQ(win::GetScrollPos(Memo->Handle(), win::SB_VERT), 5);
    Send(Memo, EM_LINESCROLL, 0, -100);
    EXPECT_EQ(Send(Memo, win::EM_GETFIRSTVISIBLELINE), 0);

    // The caret at the end is scrolled to the last row of the window.
    Memo->SetSelStart(int(text.size()));
    Send(Memo, win::EM_SCROLLCARET);
    int first = int(Send(Memo, win::EM_GETFIRSTVISIBLELINE));
    EXPECT_GT(first, 10);
    EXPECT_LT(first, 19);
    Send(Memo, win::WM_VSCROLL, win::SB_TOP);
    EXPECT_EQ(Send(Memo, win::EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_FALSE(Send(Edit, EM_LINESCROLL, 0, 1));
    // A one-line box scrolls sideways to its caret; its first visible "line" is a character.
    Edit->SetText(std::string(100, 'w') + "end");
    Edit->SetSelStart(103);
    Send(Edit, win::EM_SCROLLCARET);
    EXPECT_GT(Send(Edit, win::EM_GETFIRSTVISIBLELINE), 50);
    Edit->SetSelStart(0);
    Send(Edit, win::EM_SCROLLCARET);
    EXPECT_EQ(Send(Edit, win::EM_GETFIRSTVISIBLELINE), 0);

    // Word wrap makes rows of one long line; Lines still holds the line.
    Memo->SetWordWrap(true);
    Memo->SetText("the quick brown fox jumps over the lazy dog and runs far away");
    EXPECT_GT(Send(Memo, win::EM_GETLINECOUNT), 1);
    EXPECT_EQ(Memo->Lines().Count(), 1);
    EXPECT_EQ(Send(Memo, win::EM_LINEINDEX, 1) > 0, true);
    std::string shot = "/tmp/edit-controls.png";
    Edit->SetText("selected text");
    Edit->SetFocus();
    Edit->SelectAll();
    win::UpdateWindow(Form->Handle());
    EXPECT_TRUE(TRobot::Screenshot(shot, Form->Handle()));
}

TEST_F(EditTest, CutCopyPasteThroughTheClipboard) {
    Edit->SetText("hello world");
    Edit->SetSelStart(5);
    Edit->SetSelLength(6);
    Send(Edit, win::WM_CUT);
    EXPECT_EQ(Edit->Text(), "hello");
    EXPECT_EQ(ClipboardText(), " world");
    Edit->SetSelStart(0);
    Send(Edit, win::WM_PASTE);
    EXPECT_EQ(Edit->Text(), " worldhello");
    Edit->SelectAll();
    Send(Edit, win::WM_COPY);
    EXPECT_EQ(ClipboardText(), " worldhello");
    Send(Edit, win::WM_CLEAR);
    EXPECT_EQ(Edit->Text(), "");

    // By keys, into the memo, with line breaks kept.
    SetClipboardText("a\r\nb");
    Memo->SetFocus();
    TRobot robot;
    robot.Key('V', false, true);
    robot.Key(win::VK_HOME, true);
    robot.Key(win::VK_INSERT, false, true);
    Run(robot);
    EXPECT_EQ(Memo->Text(), "a\r\nb");
    EXPECT_EQ(ClipboardText(), "b");

    // A clipboard someone else holds open: the cut leaves the text alone.
    Memo->SelectAll();
    ASSERT_TRUE(win::OpenClipboard(nullptr));
    Send(Memo, win::WM_CUT);
    win::CloseClipboard();
    EXPECT_EQ(Memo->Text(), "a\r\nb");
}

TEST_F(EditTest, ReadOnlyAndMaxLengthLimitTheUserNotTheProgram) {
    Edit->SetText("fixed");
    Send(Edit, win::EM_SETREADONLY, 1);
    EXPECT_TRUE(Edit->ReadOnly());
    Edit->SetFocus();
    SetClipboardText("pasted");
    TRobot robot;
    robot.Type("zz");
    robot.Key(win::VK_BACK);
    robot.Key(win::VK_HOME, true);
    robot.Key('V', false, true);
    robot.Key('X', false, true);
    Run(robot);
    EXPECT_EQ(Edit->Text(), "fixed");
    EXPECT_FALSE(Edit->Modified());
    Edit->SelectAll();
    Send(Edit, win::WM_COPY); // still allowed
    EXPECT_EQ(ClipboardText(), "fixed");
    Edit->SetSelText("!"); // the program may
    EXPECT_EQ(Edit->Text(), "!");

    Edit->SetReadOnly(false);
    Edit->SetText("");
    Send(Edit, win::EM_LIMITTEXT, 4);
    EXPECT_EQ(Edit->MaxLength(), 4);
    TRobot typing;
    typing.Type("abcdef");
    Run(typing);
    EXPECT_EQ(Edit->Text(), "abcd");
    Edit->SetSelStart(2);
    Edit->SetSelLength(1);
    SetClipboardText("XYZ");
    Send(Edit, win::WM_PASTE);
    EXPECT_EQ(Edit->Text(), "abXd");
    Edit->SetText("longer than four"); // the limit is for typing and pasting
    EXPECT_EQ(Edit->Text(), "longer than four");

    // A memo never keeps half a line break at the limit.
    Memo->SetMaxLength(3);
    Memo->SetText("");
    Memo->SetSelText("ab\r\ncd");
    EXPECT_EQ(Memo->Text(), "ab");
}

TEST_F(EditTest, ModifiedFlagAndChangeNotifications) {
    int changes = 0;
    std::string seen;
    Edit->OnChange = [&](TObject*) {
        ++changes;
        seen = Edit->Text();
    };
    Edit->SetText("start");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(Edit->Modified());
    EXPECT_EQ(Send(Edit, win::EM_GETMODIFY), 0);
    Edit->SetFocus();
    TRobot robot;
    robot.Key(win::VK_END);
    robot.Type("!");
    robot.Key(win::VK_LEFT); // moving is no change
    Run(robot);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(seen, "start!");
    EXPECT_TRUE(Edit->Modified());
    EXPECT_EQ(Send(Edit, win::EM_GETMODIFY), 1);
    Send(Edit, win::EM_SETMODIFY, 0);
    EXPECT_FALSE(Edit->Modified());
    Send(Edit, win::EM_REPLACESEL, 0, std::intptr_t("?"));
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(Edit->Modified());
    Send(Edit, win::WM_CLEAR); // nothing selected: nothing changes
    EXPECT_EQ(changes, 3);

    // The parent hears of the change through WM_COMMAND.
    struct TListener : TCustomControl {
        using TCustomControl::TCustomControl;
        int Notices = 0;
        void WMCommand(TMessage& M) override {
            if (win::HIWORD(M.WParam) == EN_CHANGE) ++Notices;
            TCustomControl::WMCommand(M);
        }
    };
    auto* panel = new TListener(Form);
    panel->SetParent(Form);
    panel->SetBounds(220, 10, 70, 70);
    auto* inner = new TEdit(Form);
    inner->SetParent(panel);
    inner->SetBounds(0, 0, 60, 20);
    int innerChanges = 0;
    inner->OnChange = [&](TObject*) { ++innerChanges; };
    inner->SetText("x");
    EXPECT_EQ(panel->Notices, 1);
    EXPECT_EQ(innerChanges, 1);
}

TEST_F(EditTest, MouseSelectsAndPlacesTheCaret) {
    Edit->SetText("drag over me");
    TRobot robot;
    robot.Drag(Edit->Handle(), win::POINT{1, 8}, win::POINT{190, 8});
    Run(robot);
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_EQ(Edit->SelLength(), 12);
    TRobot click;
    click.ClickAt(Edit->Handle(), win::POINT{1, 8});
    Run(click);
    EXPECT_EQ(Edit->SelLength(), 0);
    EXPECT_EQ(Edit->SelStart(), 0);
}

TEST_F(EditTest, CharCaseTurnsTypedPastedAndSetTextAndMaxLengthCountsTheResult) {
    // The file-name entry of the search options: lower case only, at most 128 characters.
    Edit->SetCharCase(TEditCharCase::ecLowerCase);
    Edit->SetMaxLength(128);
    Edit->SetText("C:\\Projects\\*.PAS");
    EXPECT_EQ(Edit->Text(), "c:\\projects\\*.pas");
    Edit->SetFocus();
    SetClipboardText("\xC4RGER.INC"); // the cp1252 capital A with diaeresis turns too
    TRobot robot;
    robot.Key(win::VK_END);
    robot.Type(" Main");
    robot.Key('V', false, true);
    Run(robot);
    EXPECT_EQ(Edit->Text(), "c:\\projects\\*.pas main\xE4rger.inc");

    Edit->SetText(std::string(200, 'X'));
    EXPECT_EQ(Edit->Text(), std::string(200, 'x')); // the program is not limited
    Edit->SetText("");
    TRobot many;
    many.Type(std::string(130, 'Q'));
    Run(many);
    EXPECT_EQ(Edit->Text(), std::string(128, 'q'));

    // Changing the case turns what is there, and typing follows the new case.
    Edit->SetText("MixEd");
    Edit->SetCharCase(TEditCharCase::ecUpperCase);
    EXPECT_EQ(Edit->Text(), "MIXED");
    Edit->SetCharCase(TEditCharCase::ecNormal);
    Edit->SetText("MixEd");
    EXPECT_EQ(Edit->Text(), "MixEd");
}
