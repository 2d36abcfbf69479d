// The entry field through real windows: typing, selection by keys and mouse, scrolling, the
// clipboard, focus checks with their reports, Tab order, and what the field shows.
#include "TestEntryField.h"

#include "editor/ZelExceptions.h"
#include "testing/Clipboard.h"
#include "testing/UiTest.h"
#include "vcl/StdCtrls.h"
#include "win/TestHooks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace editor;
using editor_test::TTestEntryField;
using testing_support::ClipboardText;
using testing_support::SetClipboardText;
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
        ASSERT_TRUE(testing_support::PlayOut(Robot, 100)) << Robot.Describe();
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
    robot.Do([&] { EXPECT_EQ(ClipboardText(), "copy me"); });
    robot.Key(win::VK_HOME);
    robot.Key(win::VK_RIGHT, true, true);
    robot.Key('X', false, true);
    robot.Do([&] {
        EXPECT_EQ(ClipboardText(), "copy ");
        EXPECT_EQ(field->EditString(), "me");
    });
    robot.Key(win::VK_END);
    robot.Key('V', false, true);
    robot.Do([&] { EXPECT_EQ(field->EditString(), "mecopy "); });
    Run(robot);

    // The standard edit messages reach the same road; a pasted text longer than the field is cut.
    SetClipboardText("0123456789ABCDEFGHIJKLMN");
    win::SendMessage(field->Handle(), win::EM_SETSEL, 0, 0xFFFF);
    win::SendMessage(field->Handle(), win::WM_PASTE, 0, 0);
    EXPECT_EQ(field->EditString(), "0123456789ABCDEFGHIJ");
    EXPECT_EQ(win::GetWindowText(field->Handle()), "0123456789ABCDEFGHIJ");
    win::SendMessage(field->Handle(), win::EM_SETSEL, 2, 4);
    EXPECT_EQ(win::SendMessage(field->Handle(), win::EM_GETSEL, 0, 0), win::MAKELRESULT(2, 4));
    win::SendMessage(field->Handle(), win::WM_CLEAR, 0, 0);
    EXPECT_EQ(field->EditString(), "01456789ABCDEFGHIJ");
    EXPECT_EQ(ClipboardText(), "0123456789ABCDEFGHIJKLMN");
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
    count->SetSoftValidation(true);
    count->SetRange("1", "10");
    auto* disabled = AddField("efOff", fmSimple, fdString, "X", 130);
    disabled->SetStrText("disabled");
    disabled->SetEnabled(false);
    Form->Show();
    EXPECT_TRUE(count->Validate(true)); // out of range: marked, the focus may go
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

TEST_F(EntryFieldUi, ARequiredEmptyFieldReportsOnceAndKeepsTheFocus) {
    auto* required = AddField("efRequired", fmSimple, fdString, "X", 10);
    required->SetRequired(true);
    auto* next = AddField("efNext", fmSimple, fdString, "X", 40);
    auto* ok = new vcl::TButton(Form);
    ok->SetParent(Form);
    ok->SetBounds(100, 100, 75, 25);
    ok->SetCaption("OK");
    int okClicks = 0;
    ok->OnClick = [&](vcl::TObject*) { ++okClicks; };
    std::vector<std::pair<std::uint16_t, std::string>> reports;
    Controller->OnError = [&](vcl::TObject* sender, std::uint16_t code, const std::string& text) {
        EXPECT_EQ(sender, required);
        reports.emplace_back(code, text);
    };
    Form->Show();
    required->SetFocus();

    TRobot robot;
    robot.Key(win::VK_TAB);
    Run(robot);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, epRequired);
    EXPECT_EQ(reports[0].second, "A value is required in this field");
    EXPECT_EQ(win::GetFocus(), required->Handle());
    EXPECT_FALSE(Controller->ErrorPending());
    EXPECT_EQ(Controller->LastErrorText(), "A value is required in this field");

    // Clicking a button reports again, and the button does not act.
    TRobot click;
    click.Click(TBy::Caption("OK"));
    Run(click);
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(okClicks, 0);
    EXPECT_EQ(win::GetFocus(), required->Handle());

    // Once it holds a value the focus may go.
    TRobot fill;
    fill.Type("x");
    fill.Key(win::VK_TAB);
    Run(fill);
    EXPECT_EQ(win::GetFocus(), next->Handle());
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(EntryFieldUi, WithoutAnErrorEventTheControllerShowsAnErrorBox) {
    auto* field = AddField("efDate", fmPicture, fdDate, "mm/dd/yyyy", 10);
    AddField("efNext", fmSimple, fdString, "X", 40);
    Form->Show();
    field->SetFocus();
    std::string shown;
    TRobot robot;
    robot.Type("13011999");
    robot.Key(win::VK_TAB);
    robot.OnNextModal([&](win::HWND box) {
        shown = TRobot::ChildText(box, "Message");
        win::PostMessage(box, win::WM_KEYDOWN, win::VK_RETURN, 0);
    });
    Run(robot);
    EXPECT_EQ(shown, "Value is not a valid date");
    EXPECT_EQ(win::GetFocus(), field->Handle());
    EXPECT_EQ(field->EditString(), "13/01/1999");
    EXPECT_EQ(field->LastError(), epDate);
}

TEST_F(EntryFieldUi, TheCancelButtonTakesTheFocusWithoutAReport) {
    auto* field = AddField("efRequired", fmSimple, fdString, "X", 10);
    field->SetRequired(true);
    auto* cancel = new vcl::TButton(Form);
    cancel->SetParent(Form);
    cancel->SetBounds(100, 100, 75, 25);
    cancel->SetCaption("Cancel");
    Controller->SetBtnCancel(cancel);
    int reports = 0;
    Controller->OnError = [&](vcl::TObject*, std::uint16_t, const std::string&) { ++reports; };
    Form->Show();
    field->SetFocus();
    TRobot robot;
    robot.Click(TBy::Caption("Cancel"));
    Run(robot);
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(win::GetFocus(), cancel->Handle());
}

TEST_F(EntryFieldUi, SoftValidationMarksTheFieldAndLetsTheFocusGo) {
    auto* field = AddField("efCount", fmPicture, fdWord, "99999", 10);
    field->SetSoftValidation(true);
    field->SetRange("1", "10");
    auto* next = AddField("efNext", fmSimple, fdString, "X", 40);
    int reports = 0;
    Controller->OnError = [&](vcl::TObject*, std::uint16_t, const std::string&) { ++reports; };
    Form->Show();
    field->SetFocus();
    TRobot robot;
    robot.Type("50");
    robot.Key(win::VK_TAB);
    Run(robot);
    EXPECT_EQ(win::GetFocus(), next->Handle());
    EXPECT_EQ(reports, 0);
    EXPECT_TRUE(field->HasStatus(sfErrorShown));
    EXPECT_EQ(field->LastError(), epRange);
    // Painted in the error colours: red behind black text.
    win::UpdateWindow(field->Handle());
    win::HDC dc = win::GetDC(field->Handle());
    EXPECT_EQ(win::GetPixel(dc, field->ClientWidth() - 4, field->ClientHeight() / 2), win::RGB(255, 0, 0));
    win::ReleaseDC(field->Handle(), dc);
}

TEST_F(EntryFieldUi, TabMovesThroughTheFieldsInTabOrderWithTheirEditEvents) {
    auto* a = AddField("efA", fmSimple, fdString, "X", 10);
    auto* b = AddField("efB", fmSimple, fdString, "X", 40);
    auto* c = AddField("efC", fmSimple, fdString, "X", 70);
    c->SetTabOrder(0); // c, a, b
    std::vector<std::string> events;
    Controller->OnPreEdit = [&](vcl::TObject* s, vcl::TWinControl* losing) {
        events.push_back("pre " + static_cast<vcl::TComponent*>(s)->Name() + " from " + (losing ? losing->Name() : "-"));
    };
    Controller->OnPostEdit = [&](vcl::TObject* s, vcl::TWinControl* gaining) {
        events.push_back("post " + static_cast<vcl::TComponent*>(s)->Name() + " to " + (gaining ? gaining->Name() : "-"));
    };
    Form->Show();
    c->SetFocus();
    events.clear();
    TRobot robot;
    robot.Key(win::VK_TAB);
    robot.Do([&] { EXPECT_EQ(win::GetFocus(), a->Handle()); });
    robot.Key(win::VK_TAB);
    robot.Do([&] { EXPECT_EQ(win::GetFocus(), b->Handle()); });
    robot.Key(win::VK_TAB, true);
    robot.Do([&] { EXPECT_EQ(win::GetFocus(), a->Handle()); });
    Run(robot);
    const std::vector<std::string> expected = {"post efC to efA", "pre efA from efC", "post efA to efB",
                                               "pre efB from efA", "post efB to efA", "pre efA from efB"};
    EXPECT_EQ(events, expected);
}

TEST_F(EntryFieldUi, AFailedCheckWhoseFieldCannotTakeTheFocusBackLeavesNoMark) {
    auto* field = AddField("efRequired", fmSimple, fdString, "X", 10);
    field->SetRequired(true);
    auto* other = AddField("efOther", fmSimple, fdString, "X", 40);
    other->SetRequired(true);
    auto* button = new vcl::TButton(Form);
    button->SetParent(Form);
    button->SetBounds(100, 100, 75, 25);
    std::vector<std::string> reports;
    Controller->OnError = [&](vcl::TObject* s, std::uint16_t, const std::string&) {
        reports.push_back(static_cast<vcl::TComponent*>(s)->Name());
    };
    Form->Show();
    field->SetFocus();
    // The field fails on leaving, then is disabled before its refocus request runs.
    button->SetFocus();
    field->SetEnabled(false);
    vcl::Application->ProcessMessages();
    EXPECT_FALSE(Controller->ErrorPending());
    // Another field's failure is still reported.
    other->SetFocus();
    button->SetFocus();
    vcl::Application->ProcessMessages();
    const std::vector<std::string> expected = {"efRequired", "efOther"};
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(win::GetFocus(), other->Handle());
}

TEST_F(EntryFieldUi, RefocusFromAnotherFormSendsThatFormNoClick) {
    auto* field = AddField("efRequired", fmSimple, fdString, "X", 10);
    auto* other = vcl::Make<vcl::TForm>(vcl::Application);
    other->SetBounds(400, 0, 200, 100);
    auto* button = new vcl::TButton(other);
    button->SetParent(other);
    int ups = 0;
    button->OnMouseUp = [&](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { ++ups; };
    Form->Show();
    other->Show();
    field->SetFocus();
    button->SetFocus(); // the focus leaves the field's form: the field waits to be refocused
    ASSERT_EQ(win::GetFocus(), button->Handle());
    EXPECT_TRUE(field->HasStatus(sfRefocusPending));
    // The focus comes straight from the other form's button, as from another program's window.
    win::SendMessage(field->Handle(), win::WM_SETFOCUS, reinterpret_cast<win::WPARAM>(button->Handle()), 0);
    EXPECT_EQ(ups, 0);
    field->SetFocus();
    EXPECT_EQ(win::GetFocus(), field->Handle());
    delete other;
}

TEST_F(EntryFieldUi, SelectionAndInsertPositionStayWithinTheText) {
    auto* first = AddField("efFirst", fmSimple, fdString, "X", 40);
    auto* field = AddField("efText", fmSimple, fdString, "X", 10);
    field->SetStrText("0123456789");
    Form->Show();
    first->SetFocus();
    EXPECT_EQ(field->GetInsertPos(), -1);
    field->SetInsertPos(3); // without the focus: nothing
    EXPECT_EQ(field->CaretPos(), 0);
    field->SetFocus();

    struct Case {
        std::uint16_t start, stop;
        int selStart, selEnd;
    };
    const Case cases[] = {{5, 3, 10, 10}, {0, 255, 0, 10}, {2, 4, 2, 4}, {12, 20, 10, 10}};
    field->SetSelection(10, 10);
    for (const Case& c : cases) {
        EXPECT_EQ(field->SetSelection(c.start, c.stop), c.stop);
        EXPECT_EQ(field->SelStart(), c.selStart) << c.start << ".." << c.stop;
        EXPECT_EQ(field->SelEnd(), c.selEnd) << c.start << ".." << c.stop;
    }
    field->SetSelStart(3);
    field->SetSelLength(4);
    EXPECT_EQ(field->GetSelStart(), 3);
    EXPECT_EQ(field->GetSelLength(), 4);

    const std::pair<int, int> positions[] = {{-3, 0}, {4, 4}, {10, 10}, {11, 10}, {300, 10}};
    for (auto [set, expected] : positions) {
        field->SetInsertPos(set);
        EXPECT_EQ(field->GetInsertPos(), expected) << set;
    }

    // A numeric field selects all of its text or nothing.
    field->SetFieldMode(fmNumeric);
    field->RecreateWnd();
    field->SetFocus();
    field->SetSelection(2, 3);
    EXPECT_EQ(field->SelStart(), 0);
    EXPECT_EQ(field->SelEnd(), 10);
}

TEST_F(EntryFieldUi, RestoreBringsBackTheTextOfEntry) {
    auto* field = AddField("efText", fmSimple, fdString, "X", 10);
    field->SetStrText("before");
    AddField("efNext", fmSimple, fdString, "X", 40);
    int changes = 0;
    field->OnChange = [&](vcl::TObject*) { ++changes; };
    Form->Show();
    field->SetFocus();
    TRobot robot;
    robot.Type("after");
    robot.Do([&] { EXPECT_EQ(field->EditString(), "after"); });
    robot.Key('Z', false, true); // undo restores
    robot.Do([&] {
        EXPECT_EQ(field->EditString(), "before");
        EXPECT_FALSE(field->GetModified());
    });
    robot.Type("x");
    robot.Key(win::VK_BACK, false, false, true); // Alt+Backspace restores too
    Run(robot);
    EXPECT_EQ(field->EditString(), "before");
    EXPECT_EQ(changes, 8); // five letters, a restore, one letter, a restore
}

TEST_F(EntryFieldUi, ZeroValuesShowAsBlanksWhileTheFieldHasNoFocus) {
    auto* field = AddField("efAmount", fmPicture, fdLongInt, "#####", 10);
    field->SetZeroDisplay(1);
    field->SetFieldText("0");
    auto* next = AddField("efNext", fmSimple, fdString, "X", 40);
    Form->Show();
    next->SetFocus();
    EXPECT_EQ(field->GetDisplayString(), "     ");
    field->SetFocus();
    EXPECT_EQ(field->GetDisplayString(), "    0");
    next->SetFocus();
    field->SetFieldText("7");
    EXPECT_EQ(field->GetDisplayString(), "    7");
    // Mode 2 shows the zero once the user has changed the field.
    field->SetZeroDisplay(2);
    field->SetFieldText("0");
    EXPECT_EQ(field->GetDisplayString(), "     ");
    field->SetModified(true);
    EXPECT_EQ(field->GetDisplayString(), "    0");
}

TEST_F(EntryFieldUi, HeightAndMaskRules) {
    auto* field = AddField("efText", fmPicture, fdString, "!!!!", 10);
    Form->Show();
    int autoHeight = field->Height();
    // A larger font makes the field taller and its text wider.
    field->SetFieldText("WWWW");
    field->SetFocus();
    win::POINT before;
    win::GetCaretPos(&before);
    field->Font()->SetSize(14);
    EXPECT_GT(field->Height(), autoHeight);
    autoHeight = field->Height();
    win::POINT after;
    win::GetCaretPos(&after);
    EXPECT_GT(after.x, before.x);
    // Loading a stored height keeps AutoSize; a height set by hand switches it off.
    {
        vcl::TLoadingBracket loading(Form);
        auto* loaded = new TTestEntryField(Form, fmSimple, fdString, "X");
        loaded->SetBounds(100, 60, 150, 30);
        EXPECT_TRUE(loaded->AutoSize());
    }
    EXPECT_TRUE(field->AutoSize());
    field->SetHeight(autoHeight + 6);
    EXPECT_FALSE(field->AutoSize());

    field->SetFieldText("abcd");
    EXPECT_EQ(field->EditString(), "abcd");
    field->SetPictureMask("");
    EXPECT_EQ(field->PictureMask(), "!!!!");
    // A new mask keeps the value.
    field->SetPictureMask("XX-XX");
    EXPECT_EQ(field->EditString(), "ab-cd");
}

TEST_F(EntryFieldUi, ARequiredNumberCountsAsEmptyUntilChanged) {
    auto* field = AddField("efCount", fmPicture, fdWord, "99999", 10);
    field->SetRequired(true);
    std::vector<std::uint16_t> reports;
    Controller->OnError = [&](vcl::TObject*, std::uint16_t code, const std::string&) { reports.push_back(code); };
    Form->Show();
    EXPECT_TRUE(field->Uninitialized());
    field->SetFieldText("42");
    EXPECT_FALSE(field->Validate(false));
    EXPECT_EQ(field->LastError(), epRequired);
    field->SetModified(true);
    EXPECT_TRUE(field->Validate(false));
    vcl::Application->ProcessMessages();
    EXPECT_EQ(reports, std::vector<std::uint16_t>{epRequired});
}
