// The form side of a check: text copies of binary forms, their conversion back, and the files
// that are not the check's to touch.
#include "spellexpert/FormText.h"
#include "IdeHighlightFixture.h"
#include "spellexpert/IDESpeller.h"
#include "spellexpert/Settings.h"
#include "spellexpert/SyntaxColour.h"
#include "spellexpert/WordFilter.h"

#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/FormFiles.h"
#include "rtl/Paths.h"
#include "rtl/Streams.h"
#include "rtl/TestHooks.h"
#include "testing/Robot.h"
#include "testing/UiTest.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace spellexpert {
namespace {

using testing_support::TBy;
using testing_support::TRobot;

// A form with strings at several depths, accented letters and a long string that the writer
// breaks into pieces.
const std::string FormSource = "object Form1: TForm1\r\n"
                               "  Left = 200\r\n"
                               "  Caption = 'Helo wrold'\r\n"
                               "  Hint = 'Caf\xE9 cr\xE8me na\xEFve'\r\n"
                               "  object Memo1: TMemo\r\n"
                               "    Lines.Strings = (\r\n"
                               "      'first lyne'\r\n"
                               "      'A rather long line of text that goes on well past the length at which it "
                               "is broken')\r\n"
                               "  end\r\n"
                               "end\r\n";

std::string ToBinary(const std::string& Text) {
    rtl::TStringStream in(Text), out;
    rtl::ObjectTextToResource(in, out);
    return out.DataString();
}

std::string ToText(const std::string& Binary) {
    rtl::TStringStream in(Binary), out;
    rtl::ObjectResourceToText(in, out);
    return out.DataString();
}

std::string Replaced(std::string Text, const std::string& From, const std::string& To) {
    const std::size_t at = Text.find(From);
    EXPECT_NE(at, std::string::npos) << From;
    if (at != std::string::npos) Text.replace(at, From.size(), To);
    return Text;
}

class FormTextTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Settings() = {};
        Dir = Root.Path() + "/project";
        std::filesystem::create_directories(Dir);
        Form = Dir + "/Main.dfm";
        Text = Dir + "/Main.TXT";
        Original = ToBinary(FormSource);
        Write(Form, Original);
    }
    void TearDown() override {
        rtl::SetWriteFailureHook({});
        Settings() = {};
        UiTest::TearDown();
    }
    static void Write(const std::string& Name, const std::string& Bytes) {
        std::ofstream(Name, std::ios::binary) << Bytes;
    }
    static std::string Read(const std::string& Name) {
        std::ifstream in(Name, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(Dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Queues the answer to the next message box and keeps its text (and its picture, when named).
    void Answer(TRobot& Robot, const char* Button, const std::string& Png = {}) {
        Robot.OnNextModal([this, Png](win::HWND box) {
            Shown.push_back(TRobot::ChildText(box, "Message"));
            if (!Png.empty()) TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/spellexpert/" + Png, box);
        });
        Robot.AnswerNextModal(TBy::Name(Button));
    }

    std::string Dir, Form, Text, Original;
    std::vector<std::string> Shown;
};

TEST_F(FormTextTest, AFormIsToldByItsExtensionInAnyCase) {
    const struct {
        const char* Name;
        bool Form;
    } cases[] = {
        {"Main.dfm", true},       {"C:\\P\\MAIN.DFM", true},   {"a/b.Dfm", true},
        {"Main.dfm.bak", false},  {"C:\\x.dfm\\Main.pas", false}, {"Maindfm", false},
        {"Main.DFMX", false},     {"Main.xdfm", false},        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsFormFile(c.Name), c.Form) << c.Name;
}

TEST_F(FormTextTest, ConvertFormFileNamesBothFilesByDirection) {
    std::string file = Form, other, error;
    ASSERT_EQ(ConvertFormFile(file, other, &error), 1) << error;
    EXPECT_EQ(file, Form);
    EXPECT_EQ(other, Dir + "/Main.TXT");
    EXPECT_EQ(Read(Text), ToText(Original));

    Write(Text, Replaced(Read(Text), "Left = 200", "Left = 7"));
    file = Dir + "/Main.TXT";
    ASSERT_EQ(ConvertFormFile(file, other, &error), 1) << error;
    EXPECT_EQ(file, Dir + "/Main.TXT");
    EXPECT_EQ(other, Dir + "/Main.DFM");
    EXPECT_EQ(Read(Form), ToBinary(Replaced(FormSource, "Left = 200", "Left = 7")));
    EXPECT_EQ(Files(), (std::vector<std::string>{"Main.TXT", "Main.dfm"})); // the form kept its name

    // A source that is not a form: 0 with the reason, the target as it was.
    Write(Form, "object but not binary");
    const std::string before = Read(Text);
    file = Form;
    error.clear();
    EXPECT_EQ(ConvertFormFile(file, other), 0);
    EXPECT_EQ(ConvertFormFile(file, other, &error), 0);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(Text), before);
}

TEST_F(FormTextTest, AStringChangedInTheCopyIsAllThatChangesInTheForm) {
    Settings().OverWrite = true;
    std::string textName;
    ASSERT_TRUE(MakeFormText(Form, textName));
    EXPECT_EQ(textName, Text);
    const std::string copy = Read(Text);
    EXPECT_EQ(copy, ToText(Original));
    Write(Text, Replaced(copy, "wrold", "world"));
    ASSERT_TRUE(WriteFormBack(Form, textName));
    EXPECT_EQ(Read(Form), ToBinary(Replaced(FormSource, "wrold", "world")));
    EXPECT_NE(Read(Form).find("Caf\xE9 cr\xE8me na\xEFve"), std::string::npos);
    EXPECT_TRUE(Shown.empty());

    // The copy stays; the next check takes it as its own and makes it anew.
    ASSERT_TRUE(MakeFormText(Form, textName));
    EXPECT_EQ(Read(Text), ToText(Read(Form)));
}

TEST_F(FormTextTest, TheExamplesFormComesBackByteForByte) {
    const std::string example = Read(std::string(SUITE_SOURCE_DIR) + "/examples/Demo/Main.dfm");
    ASSERT_FALSE(example.empty());
    Write(Form, example);
    Settings().OverWrite = true;
    std::string textName;
    ASSERT_TRUE(MakeFormText(Form, textName));
    ASSERT_TRUE(WriteFormBack(Form, textName));
    EXPECT_EQ(Read(Form), example);

    const std::string text = Read(Text);
    const std::size_t quote = text.find("Caption = '");
    ASSERT_NE(quote, std::string::npos);
    const std::string edited = text.substr(0, quote) + "Caption = 'Checked " + text.substr(quote + 11);
    Write(Text, edited);
    ASSERT_TRUE(WriteFormBack(Form, textName));
    EXPECT_EQ(Read(Form), ToBinary(edited));
    EXPECT_EQ(ToText(Read(Form)), edited);
}

// The road of a form through the editor window: the copy is shown as it is and each word is
// converted to OEM once, by the filter, so accented words reach the dictionary whole and come
// back into the form unchanged.
TEST_F(FormTextTest, AccentedWordsSurviveACheckThroughTheEditor) {
    spellexpert_test::UseIdeHighlight();
    Settings().OverWrite = true;
    auto* window = vcl::Make<TIDESpeller>(vcl::Application);
    window->Show();
    std::string textName;
    ASSERT_TRUE(MakeFormText(Form, textName));
    window->LoadFile(textName);
    window->ShowFileInEditor(Form);
    std::vector<std::string> words;
    {
        auto filter = TMyBuffer::NewOnEditor(window->Editor1);
        for (std::string w;;) {
            filter->GetNextWord(w);
            if (w.empty()) break;
            words.push_back(w);
            if (w == "wrold") filter->ReplaceWord("world");
            if (w == "lyne") filter->ReplaceWord("l\xEEne"); // an accented replacement, in ANSI
        }
    }
    EXPECT_EQ(words, (std::vector<std::string>{"Helo", "wrold", rtl::AnsiToOem("Caf\xE9"), rtl::AnsiToOem("cr\xE8me"),
                                               rtl::AnsiToOem("na\xEFve"), "first", "lyne", "A", "rather", "long",
                                               "line", "of", "text", "that", "goes", "on", "well", "past", "the",
                                               "length", "at", "which", "it", "is", "broken"}));
    ASSERT_TRUE(window->Editor1->GetModified());
    window->Editor1->SaveToFile(textName);
    ASSERT_TRUE(WriteFormBack(Form, textName));
    EXPECT_EQ(Read(Form),
              ToBinary(Replaced(Replaced(FormSource, "wrold", "world"), "first lyne", "first l\xEEne")));
    delete window;
    SetDefaultAttributes();
}

TEST_F(FormTextTest, ATextFileThatIsNotTheFormsCopyIsLeftAlone) {
    const std::string copy = ToText(Original);
    const struct {
        const char* What;
        std::string Bytes;
        bool Ours;
    } cases[] = {
        {"notes of the user", "Remember: the main form needs a new caption.\r\n", false},
        {"the copy with notes after it", copy + "and my notes\r\n", false},
        {"an edited copy not put back", Replaced(copy, "wrold", "world"), false},
        {"an empty file", "", false},
        {"the copy itself", copy, true},
        {"the same form written another way", Replaced(FormSource, "  Left = 200", "  Left=200"), true},
    };
    for (const auto& c : cases) {
        Write(Text, c.Bytes);
        TRobot robot;
        if (!c.Ours) Answer(robot, "OK", "form-text-exists.png");
        std::string textName;
        EXPECT_EQ(MakeFormText(Form, textName), c.Ours) << c.What;
        EXPECT_TRUE(robot.Done()) << c.What << robot.Describe();
        EXPECT_EQ(Read(Text), c.Ours ? copy : c.Bytes) << c.What;
        EXPECT_EQ(Read(Form), Original) << c.What;
    }
    ASSERT_EQ(Shown.size(), 4u);
    EXPECT_EQ(Shown[0], "Form " + Form + " skipped: " + Text + " already exists and is not its text copy.");
    EXPECT_EQ(Files(), (std::vector<std::string>{"Main.TXT", "Main.dfm"}));
}

TEST_F(FormTextTest, ACorruptFormIsSkippedWithItsNameAndNothingWritten) {
    const std::string truncated = Original.substr(0, Original.size() / 2);
    std::string flipped = Original;
    flipped[flipped.find("\x04Left") + 5] = '\x7F'; // an unknown value type inside the stream
    for (const std::string& bytes : {std::string("not a form at all"), truncated, flipped, std::string()}) {
        Write(Form, bytes);
        TRobot robot;
        Answer(robot, "OK");
        std::string textName;
        EXPECT_FALSE(MakeFormText(Form, textName));
        EXPECT_TRUE(robot.Done()) << robot.Describe();
        EXPECT_EQ(Files(), (std::vector<std::string>{"Main.dfm"}));
        EXPECT_EQ(Read(Form), bytes);
    }
    ASSERT_EQ(Shown.size(), 4u);
    for (const auto& s : Shown) EXPECT_EQ(s.rfind("Form " + Form + " skipped: it cannot be converted to text (", 0), 0u) << s;

    // A stale copy from an earlier check is not taken for the corrupt form's text.
    Write(Text, ToText(Original));
    TRobot robot;
    Answer(robot, "OK");
    std::string textName;
    EXPECT_FALSE(MakeFormText(Form, textName));
    EXPECT_EQ(Read(Text), ToText(Original));
}

TEST_F(FormTextTest, TheOverwriteQuestionDecides) {
    std::string textName;
    ASSERT_TRUE(MakeFormText(Form, textName));
    const std::string edited = Replaced(Read(Text), "wrold", "world");
    Write(Text, edited);
    {
        TRobot robot;
        Answer(robot, "No", "form-overwrite.png");
        EXPECT_FALSE(WriteFormBack(Form, textName));
        EXPECT_TRUE(robot.Done()) << robot.Describe();
        EXPECT_EQ(Read(Form), Original);
        EXPECT_EQ(Read(Text), edited); // the edited copy stays for the user
    }
    {
        TRobot robot;
        Answer(robot, "Yes");
        EXPECT_TRUE(WriteFormBack(Form, textName));
        EXPECT_TRUE(robot.Done()) << robot.Describe();
        EXPECT_EQ(Read(Form), ToBinary(Replaced(FormSource, "wrold", "world")));
    }
    EXPECT_EQ(Shown, std::vector<std::string>(2, Form + " already exists. Overwrite?"));
}

TEST_F(FormTextTest, AFailedWriteBackLeavesTheFormWhole) {
    Settings().OverWrite = true;
    std::string textName;
    ASSERT_TRUE(MakeFormText(Form, textName));
    const std::string edited = Replaced(Read(Text), "wrold", "world");
    Write(Text, edited);
    rtl::SetWriteFailureHook([](std::string_view name) { return IsFormFile(name) ? ENOSPC : 0; });
    {
        TRobot robot;
        Answer(robot, "OK", "form-write-failed.png");
        EXPECT_FALSE(WriteFormBack(Form, textName));
        EXPECT_TRUE(robot.Done()) << robot.Describe();
    }
    rtl::SetWriteFailureHook({});
    // A copy the user broke while the overwrite question waited fails as well.
    Write(Text, "object Form1: TForm1\r\n  Caption = 'unterminated\r\nend\r\n");
    {
        TRobot robot;
        Answer(robot, "OK");
        EXPECT_FALSE(WriteFormBack(Form, textName));
        EXPECT_TRUE(robot.Done()) << robot.Describe();
    }
    EXPECT_EQ(Read(Form), Original);
    EXPECT_EQ(Files(), (std::vector<std::string>{"Main.TXT", "Main.dfm"})); // no temporary left
    ASSERT_EQ(Shown.size(), 2u);
    for (const auto& s : Shown) {
        EXPECT_EQ(s.rfind(Form + " could not be written (", 0), 0u) << s;
        EXPECT_NE(s.find("it is left as it was, the checked text is in " + Text + "."), std::string::npos) << s;
    }
}

} // namespace
} // namespace spellexpert
