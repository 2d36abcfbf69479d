// The text-file editor: loading CR LF, LF and CR files, NULs and over-long lines, saving through
// the atomic rewrite, the backup copy, the open state and the file name.
#include "ZelEditorTestSupport.h"

#include "editor/ZelTextFileEditor.h"

#include "testing/Robot.h"
#include "vcl/ButtonCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Streaming.h"

#include "rtl/Files.h"
#include "rtl/LineSplitter.h"
#include "rtl/Streams.h"
#include "rtl/Paths.h"
#include "rtl/TestHooks.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace editor_test {
namespace {

std::string Slurp(const std::string& name) {
    std::ifstream in(rtl::HostPath(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Paras(TZelCustomEditor& e) {
    std::string out;
    for (std::int32_t p = 1; p <= e.ParaCount(); ++p) {
        if (p > 1) out += '|';
        out += e.GetPara(p);
    }
    return out;
}

class TextFileEditorTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        File = new TZelTextFileEditor(Form);
        File->SetParent(Form);
        File->SetBounds(0, 0, 300, 200);
    }
    void TearDown() override {
        rtl::SetWriteFailureHook({});
        EditorTest::TearDown();
    }
    TZelTextFileEditor* File = nullptr;
};

TEST_F(TextFileEditorTest, LineBreaksNulsAndFinalLinesRoundTrip) {
    struct Case {
        const char* Name;
        std::string Bytes, Paras, Saved;
    } cases[] = {
        {"crlf", "one\r\ntwo\r\n", "one|two|", "one\r\ntwo\r\n"},
        {"lf", "one\ntwo\n", "one|two|", "one\r\ntwo\r\n"},
        {"cr", "one\rtwo\r", "one|two|", "one\r\ntwo\r\n"},
        {"no final break", "one\r\ntwo", "one|two|", "one\r\ntwo\r\n"},
        {"empty lines", "\r\n\n\rx\r\n", "|||x|", "\r\n\r\n\r\nx\r\n"},
        {"empty file", "", "", ""},
        {"trailing blanks", "a  \r\nb\t\r\n", "a|b|", "a\r\nb\r\n"},
        {"nul", std::string("a\0b\r\n\0\r\n", 8), std::string("a\0b|\0|", 6), std::string("a\0b\r\n\0\r\n", 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        rtl::WriteFileAtomic("C:\\t.txt", c.Bytes);
        File->LoadFromFile("C:\\t.txt");
        EXPECT_TRUE(File->IsOpen());
        EXPECT_EQ(Paras(*File), c.Paras);
        File->SaveToFile("C:\\out.txt");
        EXPECT_EQ(Slurp("C:\\out.txt"), c.Saved);
        EXPECT_FALSE(File->GetModified());
    }
}

TEST_F(TextFileEditorTest, APascalSourceIsShownAndScrolled) {
    const std::string source = "/usr/share/fpcsrc/3.2.2/rtl/inc/objc1.inc";
    std::ifstream in(source, std::ios::binary);
    if (!in) GTEST_SKIP() << "no Free Pascal sources";
    std::stringstream bytes;
    bytes << in.rdbuf();
    rtl::WriteFileAtomic("C:\\objc1.inc", bytes.str());
    int lines = 0;
    for (char c : bytes.str()) lines += c == '\n';
    File->SetBounds(0, 0, 380, 280);
    File->LoadFromFile("C:\\objc1.inc");
    EXPECT_EQ(File->ParaCount(), lines + 1);
    win::SendMessage(File->Handle(), win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBTRACK, 40), 0);
    EXPECT_EQ(File->GetTopLine(), 40);
    File->SetParaSelection(45, 3, 47, 10, true);
    File->SetFocus();
    vcl::Application->ProcessMessages();
    ASSERT_TRUE(testing_support::TRobot::Screenshot("textfile_editor.png", File->Handle()));
    // Saved back unchanged but for line breaks and trailing blanks.
    File->SaveToFile("C:\\copy.inc");
    std::string expected;
    std::istringstream lineStream(bytes.str());
    for (std::string line; std::getline(lineStream, line);) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.pop_back();
        expected += line + "\r\n";
    }
    EXPECT_EQ(Slurp("C:\\copy.inc"), expected);
}

// However long the file, a load paints the window once, when its messages run, and the text
// it shows is the file's.
TEST_F(TextFileEditorTest, ALoadPaintsTheWindowOnce) {
    class TCountingEditor : public TZelTextFileEditor {
    public:
        using TZelTextFileEditor::TZelTextFileEditor;
        int Paints = 0;

    protected:
        void Paint() override {
            ++Paints;
            TZelTextFileEditor::Paint();
        }
    };
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + (i % 3 ? "\r\n" : "\n");
    rtl::WriteFileAtomic("C:\\big.txt", text);
    auto* counted = new TCountingEditor(Form);
    counted->SetParent(Form);
    counted->SetBounds(0, 0, 300, 200);
    vcl::Application->ProcessMessages();
    for (bool wrap : {false, true}) {
        counted->SetWordWrap(wrap);
        vcl::Application->ProcessMessages();
        counted->Paints = 0;
        counted->LoadFromFile("C:\\big.txt");
        EXPECT_EQ(counted->Paints, 0) << "wrap " << wrap;
        vcl::Application->ProcessMessages();
        EXPECT_EQ(counted->Paints, 1) << "wrap " << wrap;
        EXPECT_EQ(counted->ParaCount(), 20001);
        EXPECT_EQ(counted->GetPara(12345), "line 12344");
    }
}

// A large file is read in parts side by side; the parts meet at multiples of 2 MB, and a CR LF
// cut by such a seam is still one break. The first half is broken by LF, the second by CR alone,
// so that the paragraphs outgrow the room made for them from the line feeds.
TEST_F(TextFileEditorTest, AFileReadInPartsIsTheWholeFile) {
    std::string text;
    for (int i = 0; text.size() < 9'500'000; ++i) {
        text += "w" + std::to_string(i * 7919 % 100003) + std::string(static_cast<std::size_t>(i % 97), 'x');
        text += text.size() < 4'750'000 ? (i % 2 ? "\n" : "\r\n") : "\r";
    }
    for (std::size_t seam = std::size_t{2} << 20; seam < text.size(); seam += std::size_t{2} << 20) {
        text[seam - 1] = '\r';
        text[seam] = '\n';
    }
    std::string expected;
    std::int32_t lines = 0;
    rtl::TLineSplitter split(text);
    for (std::string_view line; split.Next(line); ++lines) {
        if (lines > 0) expected += '|';
        expected += line;
    }
    rtl::WriteFileAtomic("C:\\parts.txt", text);
    File->LoadFromFile("C:\\parts.txt");
    EXPECT_TRUE(File->IsOpen());
    EXPECT_EQ(File->ParaCount(), lines + 1);
    EXPECT_TRUE(Paras(*File) == expected + "|");
}

TEST_F(TextFileEditorTest, AnOverLongLineIsKeptWholeAndReported) {
    const std::string longLine(40000, 'x');
    rtl::WriteFileAtomic("C:\\long.txt", "first\r\n" + longLine + "\r\nlast\r\n");
    // An earlier good load does not leave the editor marked open.
    rtl::WriteFileAtomic("C:\\good.txt", "good\r\n");
    File->LoadFromFile("C:\\good.txt");
    ASSERT_TRUE(File->IsOpen());
    try {
        File->LoadFromFile("C:\\long.txt");
        FAIL() << "no error";
    } catch (const ETextFileLoadError& e) {
        EXPECT_EQ(e.Line, 2);
        EXPECT_EQ(e.FileName, "C:\\long.txt");
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(File->IsOpen());
    ASSERT_EQ(File->ParaCount(), 5);
    EXPECT_EQ(File->GetPara(2).size(), 32767u);
    EXPECT_EQ(std::string(File->GetPara(2)) + std::string(File->GetPara(3)), longLine);
    EXPECT_EQ(File->GetPara(4), "last");
}

TEST_F(TextFileEditorTest, LinesTheModelRefusesAreReported) {
    rtl::WriteFileAtomic("C:\\many.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    rtl::WriteFileAtomic("C:\\good.txt", "good\r\n");
    File->LoadFromFile("C:\\good.txt");
    ASSERT_TRUE(File->IsOpen());
    File->SetParaLimit(4);
    try {
        File->LoadFromFile("C:\\many.txt");
        FAIL() << "no error";
    } catch (const ETextFileLoadError& e) {
        EXPECT_EQ(e.Line, 5);
        EXPECT_EQ(e.ErrorCode(), 265);
    }
    EXPECT_FALSE(File->IsOpen());
    EXPECT_EQ(Paras(*File), "1|2|3|4|");
}

TEST_F(TextFileEditorTest, BackupCopies) {
    struct Case {
        const char* Name;
        const char* File;
        const char* Ext;
        const char* Backup; // nullptr: no backup is made
    } cases[] = {
        {"plain", "C:\\a.pas", "BAK", "C:\\a.BAK"},
        {"other extension", "C:\\b.pas", "~PA", "C:\\b.~PA"},
        {"no extension", "C:\\c", "BAK", "C:\\c.BAK"},
        {"the file itself", "C:\\d.BAK", "BAK", nullptr},
        {"itself in another case", "C:\\e.bak", "BAK", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        rtl::WriteFileAtomic(c.File, "old\r\n");
        if (c.Backup) rtl::WriteFileAtomic(c.Backup, "older\r\n");
        File->SetMakeBackup(true);
        File->SetBackupExt(c.Ext);
        Load(*File, "new");
        File->SaveToFile(c.File);
        EXPECT_EQ(Slurp(c.File), "new\r\n");
        if (c.Backup) {
            EXPECT_EQ(Slurp(c.Backup), "old\r\n");
        }
    }
    // No existing file, no backup; MakeBackup off, none either.
    File->SaveToFile("C:\\fresh.pas");
    EXPECT_FALSE(rtl::FileExists("C:\\fresh.BAK"));
    File->SetMakeBackup(false);
    File->SaveToFile("C:\\fresh.pas");
    EXPECT_FALSE(rtl::FileExists("C:\\fresh.BAK"));
}

TEST_F(TextFileEditorTest, AFailedSaveLeavesTheOldFile) {
    rtl::WriteFileAtomic("C:\\keep.txt", "old\r\n");
    Load(*File, "new text");
    File->SetModified(true);
    rtl::SetWriteFailureHook([](std::string_view) { return ENOSPC; });
    EXPECT_THROW(File->SaveToFile("C:\\keep.txt"), rtl::EInOutError);
    EXPECT_EQ(Slurp("C:\\keep.txt"), "old\r\n");
    EXPECT_TRUE(File->GetModified());
}

// A read-only file is refused before anything is touched: no backup copy, the file as it was,
// and what the user typed still there and still marked changed, for a save under another name.
TEST_F(TextFileEditorTest, AReadOnlyFileIsRefusedAndTheTypedTextStays) {
    rtl::WriteFileAtomic("C:\\fixed.txt", "old\r\n");
    namespace fs = std::filesystem;
    fs::permissions(rtl::HostPath("C:\\fixed.txt"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    File->LoadFromFile("C:\\fixed.txt");
    EXPECT_EQ(Paras(*File), "old|");
    File->SetMakeBackup(true);
    testing_support::TRobot robot;
    robot.ClickAt(File->Handle(), win::POINT{2, 2});
    robot.Type("typed ");
    std::string typed;
    robot.Do([&] { typed = Paras(*File); });
    // A save from a button of the application: the error reaches its handler, which shows it.
    auto* save = new vcl::TButton(Form);
    save->SetParent(Form);
    save->SetName("Save");
    save->SetBounds(310, 10, 75, 25);
    save->OnClick = [this](vcl::TObject*) { File->SaveToFile("C:\\fixed.txt"); };
    std::string shown;
    robot.Click(testing_support::TBy::Name("Save"));
    robot.OnNextModal([&](win::HWND box) { shown = testing_support::TRobot::ChildText(box, "Message"); });
    robot.AnswerNextModal(testing_support::TBy::Name("OK"));
    ASSERT_TRUE(testing_support::PlayOut(robot, 200, 0)) << robot.Describe();
    EXPECT_EQ(shown, "Cannot create file C:\\fixed.txt: the file is read-only.");
    EXPECT_EQ(Slurp("C:\\fixed.txt"), "old\r\n");
    EXPECT_FALSE(rtl::FileExists("C:\\fixed.BAK"));
    EXPECT_NE(typed.find("typed"), std::string::npos) << typed;
    EXPECT_EQ(Paras(*File), typed);
    EXPECT_TRUE(File->GetModified());
    File->SaveToFile("C:\\fixed2.txt");
    EXPECT_EQ(Slurp("C:\\fixed2.txt").substr(0, 5), "typed");
}

TEST_F(TextFileEditorTest, NamesAndTheOpenState) {
    // A missing file: the platform's error, not open.
    EXPECT_THROW(File->LoadFromFile("C:\\missing.txt"), rtl::EInOutError);
    EXPECT_FALSE(File->IsOpen());
    // A name ending in a period opens the name without it.
    rtl::WriteFileAtomic("C:\\dot", "x\r\n");
    File->LoadFromFile("C:\\dot.");
    EXPECT_EQ(File->FileName(), "C:\\dot");
    EXPECT_TRUE(File->IsOpen());
    // Another name keeps the text and closes; the same name in another case changes nothing.
    File->SetFileName("C:\\DOT");
    EXPECT_TRUE(File->IsOpen());
    File->SetFileName("C:\\other.txt");
    EXPECT_FALSE(File->IsOpen());
    EXPECT_EQ(Paras(*File), "x|");
    // Opening by the flag loads; closing clears.
    File->SetFileName("C:\\dot");
    File->SetIsOpen(true);
    EXPECT_TRUE(File->IsOpen());
    File->SetIsOpen(false);
    EXPECT_EQ(Paras(*File), "");
    File->SetFileName("");
    File->SetIsOpen(true);
    EXPECT_FALSE(File->IsOpen());
}

TEST_F(TextFileEditorTest, ALoadWithoutAWindowStartsFromAnEmptyText) {
    TZelTextFileEditor loose(nullptr);
    loose.AppendPara("old");
    rtl::WriteFileAtomic("C:\\t.txt", "new\r\n");
    loose.LoadFromFile("C:\\t.txt");
    EXPECT_EQ(Paras(loose), "new|");
}

TEST_F(TextFileEditorTest, AStoredOpenEditorLoadsItsFileWhenRead) {
    rtl::WriteFileAtomic("C:\\stored.txt", "alpha\r\nbeta\r\n");
    File->SetName("Src");
    File->SetFileName("C:\\stored.txt");
    File->SetIsOpen(true);
    rtl::TMemoryStream stream;
    vcl::WriteComponentToStream(File, stream);

    auto copy = std::make_unique<TZelTextFileEditor>(nullptr);
    stream.SetPosition(0);
    vcl::ReadComponentFromStream(stream, copy.get());
    EXPECT_TRUE(copy->IsOpen());
    EXPECT_EQ(Paras(*copy), "alpha|beta|");

    // The file gone: reading the form stays silent and the editor closed.
    rtl::DeleteFile("C:\\stored.txt");
    auto orphan = std::make_unique<TZelTextFileEditor>(nullptr);
    stream.SetPosition(0);
    EXPECT_NO_THROW(vcl::ReadComponentFromStream(stream, orphan.get()));
    EXPECT_FALSE(orphan->IsOpen());
}

} // namespace
} // namespace editor_test
