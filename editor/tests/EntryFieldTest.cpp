// The entry field through real windows: typing, selection by keys and mouse, scrolling, the
// clipboard, focus checks with their reports, Tab order, and what the field shows.
#include "TestEntryField.h"

#include "editor/ZelExceptions.h"
#include "testing/UiTest.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace editor;
using editor_test::TTestEntryField;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class EntryFieldUi : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = vcl::Make<vcl::TForm>(vcl::Application);
        Form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
        Form->SetBounds(0, 0, 360, 220);
        Controller = new TZelController(Form);
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }

    TTestEntryField* AddField(const std::string& Name, std::uint8_t Mode, std::uint8_t Type,
                              const std::string& Mask, int Top, int Width = 150) {
        auto* field = new TTestEntryField(Form, Mode, Type, Mask);
        field->SetName(Name);
        field->SetParent(Form);
        field->SetBounds(100, Top, Width, field->Height());
        return field;
    }
    void Run(TRobot& Robot) {
        for (int i = 0; i < 100 && !Robot.Done(); ++i) vcl::Application->ProcessMessages();
        vcl::Application->ProcessMessages();
        ASSERT_TRUE(Robot.Done()) << Robot.Describe();
    }
    static std::string Clipboard() {
        std::string text;
        if (!win::OpenClipboard(nullptr)) return "<closed>";
        if (win::HGLOBAL mem = win::GetClipboardData(win::CF_TEXT)) {
            text = static_cast<const char*>(win::GlobalLock(mem));
            win::GlobalUnlock(mem);
        }
        win::CloseClipboard();
        return text;
    }
    static void SetClipboard(const std::string& Text) {
        win::HGLOBAL mem = win::GlobalAlloc(win::GMEM_MOVEABLE, Text.size() + 1);
        std::memcpy(win::GlobalLock(mem), Text.c_str(), Text.size() + 1);
        win::GlobalUnlock(mem);
        win::OpenClipboard(nullptr);
        win::EmptyClipboard();
        win::SetClipboardData(win::CF_TEXT, mem);
        win::CloseClipboard();
    }
    // The client point of a character boundary of the field.
    static win::POINT PointAt(TTestEntryField* Field, int Pos) {
        int x = Field->TextMargin() - 1;
        for (int i = Field->FirstVisible(); i < Pos; ++i) {
            win::SIZE size;
            win::HDC dc = win::CreateCompatibleDC(nullptr);
            win::SelectObject(dc, Field->Font()->Handle());
            win::GetTextExtentPoint32(dc, &Field->EditString()[static_cast<std::size_t>(i)], 1, &size);
            win::DeleteDC(dc);
            x += size.cx;
        }
        return {x, Field->Height() / 2 - 2};
    }

    vcl::TForm* Form = nullptr;
    TZelController* Controller = nullptr;
};

} // namespace

TEST_F(EntryFieldUi, TypingEditsTheTextWithInsertOverwriteAndDeletion) {
    auto* field = AddField("efName", fmSimple, fdString, "X", 10);
    Form->Show();
    field->SetFocus();
    TRobot robot;
    robot.Type("Hello world");
    robot.Do([&] { EXPECT_EQ(field->EditString(), "Hello world"); });
    robot.Key(win::VK_HOME);
    robot.Key(win::VK_DELETE);
    robot.Type("J");
    robot.Do([&] { EXPECT_EQ(field->EditString(), "Jello world"); });
    robot.Key(win::VK_INSERT); // overwrite
    robot.Type("Y");
    robot.Do([&] {
        EXPECT_FALSE(field->InsertMode());
        EXPECT_EQ(field->EditString(), "JYllo world");
    });
    robot.Key(win::VK_INSERT);
    robot.Key(win::VK_END);
    robot.Key(win::VK_BACK);
    robot.Key(win::VK_BACK);
    robot.Do([&] {
        EXPECT_EQ(field->EditString(), "JYllo wor");
        EXPECT_EQ(field->CaretPos(), 9);
        EXPECT_TRUE(field->GetModified());
    });
    Run(robot);
}

TEST_F(EntryFieldUi, SelectionByKeysAndMouseIsReplacedByTyping) {
    auto* field = AddField("efName", fmSimple, fdString, "X", 10, 200);
    field->SetStrText("alpha beta");
    Form->Show();
    field->SetFocus();
    // Entry by keyboard selects all and puts the caret at the end.
    EXPECT_EQ(field->SelEnd(), 10);
    EXPECT_EQ(field->CaretPos(), 10);
    TRobot robot;
    robot.Key(win::VK_HOME);
    robot.Key(win::VK_RIGHT, true, true); // Ctrl+Shift+Right: to the next word
    robot.Do([&] {
        EXPECT_EQ(field->SelStart(), 0);
        EXPECT_EQ(field->SelEnd(), 6);
    });
    robot.Type("x");
    robot.Do([&] { EXPECT_EQ(field->EditString(), "xbeta"); });
    robot.ClickAt(field->Handle(), PointAt(field, 1));
    robot.Do([&] {
        EXPECT_EQ(field->CaretPos(), 1);
        EXPECT_EQ(field->GetSelLength(), 0);
    });
    Run(robot);

    // A drag from the second to the fourth character selects them (late enough not to make
    // the click before a double click).
    TRobot drag;
    drag.Wait(1000);
    drag.Drag(field->Handle(), PointAt(field, 1), PointAt(field, 4));
    Run(drag);
    EXPECT_EQ(field->SelStart(), 1);
    EXPECT_EQ(field->SelEnd(), 4);
}

TEST_F(EntryFieldUi, AValueWiderThanTheFieldScrollsWithTheCaret) {
    auto* field = AddField("efLong", fmSimple, fdString, "X", 10, 80);
    field->SetMaxLength(60);
    Form->Show();
    field->SetFocus();
    TRobot robot;
    robot.Type("the quick brown fox jumps over the lazy dog");
    Run(robot);
    EXPECT_GT(field->FirstVisible(), 0);
    // The caret stands inside the client area, after the last character shown.
    win::POINT caret;
    win::GetCaretPos(&caret);
    EXPECT_LT(caret.x, field->ClientWidth());
    EXPECT_GT(caret.x, field->ClientWidth() / 2);

    TRobot home;
    home.Key(win::VK_HOME);
    Run(home);
    EXPECT_EQ(field->FirstVisible(), 0);
    EXPECT_EQ(field->CaretPos(), 0);

    // Right-justified text that does not fit is shown from the caret like any other.
    field->SetRightJustify(true);
    TRobot end;
    end.Key(win::VK_END);
    Run(end);
    EXPECT_FALSE(field->RightJustifiedNow());
    EXPECT_GT(field->FirstVisible(), 0);
}

TEST_F(EntryFieldUi, ClipboardCutCopyAndPasteGoThroughTheSelection) {
    auto* field = AddField("efClip", fmSimple, fdString, "X", 10, 200);
    field->SetMaxLength(20);
    field->SetStrText("copy me");
    Form->Show();
    field->SetFocus(); // selects everything
    TRobot robot;
    robot.Key('C', false, true);
    robot.Do([&] { EXPECT_EQ(Clipboard(), "copy me"); });
    robot.Key(win::VK_HOME);
    robot.Key(win::VK_RIGHT, true, true);
    robot.Key('X', false, true);
    robot.Do([&] {
        EXPECT_EQ(Clipboard(), "copy ");
        EXPECT_EQ(field->EditString(), "me");
    });
    robot.Key(win::VK_END);
    robot.Key('V', false, true);
    robot.Do([&] { EXPECT_EQ(field->EditString(), "mecopy "); });
    Run(robot);

    // The standard edit messages reach the same road; a pasted text longer than the field is cut.
    SetClipboard("0123456789ABCDEFGHIJKLMN");
    win::SendMessage(field->Handle(), win::EM_SETSEL, 0, 0xFFFF);
    win::SendMessage(field->Handle(), win::WM_PASTE, 0, 0);
    EXPECT_EQ(field->EditString(), "0123456789ABCDEFGHIJ");
    EXPECT_EQ(win::GetWindowText(field->Handle()), "0123456789ABCDEFGHIJ");
    win::SendMessage(field->Handle(), win::EM_SETSEL, 2, 4);
    EXPECT_EQ(win::SendMessage(field->Handle(), win::EM_GETSEL, 0, 0), win::MAKELRESULT(2, 4));
    win::SendMessage(field->Handle(), win::WM_CLEAR, 0, 0);
    EXPECT_EQ(field->EditString(), "01456789ABCDEFGHIJ");
    EXPECT_EQ(Clipboard(), "0123456789ABCDEFGHIJKLMN");
    // Read-only fields refuse editing commands and beep.
    win::ClearRecordedBeeps();
    field->SetReadOnly(true);
    win::SendMessage(field->Handle(), win::WM_SETTEXT, 0, reinterpret_cast<win::LPARAM>("gone"));
    EXPECT_EQ(field->EditString(), "01456789ABCDEFGHIJ");
    EXPECT_EQ(win::RecordedBeeps().size(), 1u);
}

TEST_F(EntryFieldUi, AFormOfFieldsAsItLooks) {
    auto* label = new vcl::TLabel(Form);
    label->SetParent(Form);
    label->SetBounds(10, 14, 80, 16);
    label->SetCaption("Name:");
    auto* name = AddField("efName", fmSimple, fdString, "X", 10);
    name->SetMaxLength(30);
    name->SetStrText("Ada Lovelace");
    auto* phone = AddField("efPhone", fmPicture, fdString, "(999) 999-9999", 40);
    phone->SetFieldText("(555) 123-4567");
    auto* date = AddField("efDate", fmPicture, fdDate, "mm/dd/yyyy", 70);
    date->SetFieldText("12/10/2026");
    auto* count = AddField("efCount", fmPicture, fdWord, "99999", 100);
    count->SetFieldText("65535");
    auto* disabled = AddField("efOff", fmSimple, fdString, "X", 130);
    disabled->SetStrText("disabled");
    disabled->SetEnabled(false);
    Form->Show();
    name->SetFocus();
    vcl::Application->ProcessMessages();
    const std::string png = std::string(SUITE_BINARY_DIR) + "/entryfields.png";
    ASSERT_TRUE(win::SaveScreenshot(png, Form->Handle()));

    EXPECT_EQ(phone->EditString(), "(555) 123-4567");
    EXPECT_EQ(date->EditString(), "12/10/2026");
    // The font's height and 8 for the sunken edge and the margins.
    win::TEXTMETRIC tm;
    win::HDC dc = win::CreateCompatibleDC(nullptr);
    win::SelectObject(dc, name->Font()->Handle());
    win::GetTextMetrics(dc, &tm);
    win::DeleteDC(dc);
    EXPECT_EQ(name->Height(), tm.tmHeight + 8);
    // The focused field shows its text selected; the others plain.
    EXPECT_EQ(name->SelEnd(), 12);
}
