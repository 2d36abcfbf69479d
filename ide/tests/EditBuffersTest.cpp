#include "IdeFixture.h"

#include "host/EditorIntf.h"
#include "host/Interface.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace ide_test;
using host::TInterfaceRef;

namespace {

class EditBuffersTest : public IdeFixture {
protected:
    // Opens a file of the given disk text and returns its editor object.
    TInterfaceRef<host::TIEditorInterface> EditorOf(const std::string& name, const std::string& disk) {
        WriteDisk(DemoDir + name, disk);
        EXPECT_TRUE(Services->OpenFile(DemoDir + name));
        TInterfaceRef<host::TIModuleInterface> module(Services->GetModuleInterface(DemoDir + name));
        EXPECT_TRUE(module);
        return TInterfaceRef<host::TIEditorInterface>(module->GetEditorInterface());
    }
    std::string BufferText(const std::string& name) { return Ide->Buffers().Find(DemoDir + name)->Text(); }
};

TEST(ToCrLf, EveryLineEndBecomesCrLf) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\nb", "a\r\nb"},       {"a\rb", "a\r\nb"},         {"a\r\nb", "a\r\nb"},
        {"a\r\r\nb", "a\r\n\r\nb"}, {"\n\n", "\r\n\r\n"},      {"a\n\rb", "a\r\n\r\nb"},
        {"", ""},                 {"no break", "no break"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ide::TEditBuffer::ToCrLf(cases[i].first), cases[i].second) << "case " << i;
}

TEST_F(EditBuffersTest, LfOnlyFileIsReadBackAsCrLfAndOffsetsCountTwoPerBreak) {
    ASSERT_TRUE(Services->OpenFile(DemoDir + "Helpers.pas"));
    TInterfaceRef<host::TIModuleInterface> module(Services->GetModuleInterface(DemoDir + "helpers.PAS"));
    ASSERT_TRUE(module);
    TInterfaceRef<host::TIEditorInterface> editor(module->GetEditorInterface());
    TInterfaceRef<host::TIEditReader> reader(editor->CreateReader());
    char buf[64] = {};
    // "unit Helpers;" is 13 characters, then CR LF, an empty line's CR LF, then "interface".
    ASSERT_EQ(reader->GetText(0, buf, 26), 26);
    EXPECT_EQ(std::string(buf, 26), "unit Helpers;\r\n\r\ninterface");
    ASSERT_EQ(reader->GetText(17, buf, 9), 9);
    EXPECT_EQ(std::string(buf, 9), "interface");
    EXPECT_EQ(editor->LinesInBuffer(), 37); // 36 line breaks, the last ending the file
    // The disk file itself is left as it was until saved.
    EXPECT_EQ(DiskText(DemoDir + "Helpers.pas").find('\r'), std::string::npos);
}

TEST_F(EditBuffersTest, LinesInBufferIsLineBreaksPlusOne) {
    const std::pair<const char*, int> cases[] = {{"", 1}, {"a", 1}, {"a\r\n", 2}, {"a\nb\n", 3}, {"\r\r", 3}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        auto editor = EditorOf("Lines" + std::to_string(i) + ".pas", cases[i].first);
        EXPECT_EQ(editor->LinesInBuffer(), cases[i].second) << "case " << i;
    }
}

TEST_F(EditBuffersTest, ReaderAtTheBlockEdgeAndPastTheEnd) {
    std::string disk;
    for (int i = 0; disk.size() < 4500; ++i)
        disk += static_cast<char>('a' + i % 26);
    auto editor = EditorOf("Long.pas", disk);
    TInterfaceRef<host::TIEditReader> reader(editor->CreateReader());
    std::string block;

    struct Case {
        int Pos;
        int Count;
        int Copied;
    };
    const Case cases[] = {
        {0, 2001, 2001}, {2000, 2001, 2001}, {4000, 2001, 500}, {4499, 2001, 1},
        {4500, 2001, 0}, {9000, 2001, 0},    {-1, 2001, 0},     {10, 0, 0},
    };
    for (const Case& c : cases) {
        block.assign(2002, '#'); // one more, to see that nothing is written past the count
        int n = reader->GetText(c.Pos, block.data(), c.Count);
        EXPECT_EQ(n, c.Copied) << "at " << c.Pos;
        if (n > 0) {
            EXPECT_EQ(block.substr(0, static_cast<size_t>(n)), disk.substr(static_cast<size_t>(c.Pos), static_cast<size_t>(n)))
                << "at " << c.Pos;
        }
        EXPECT_EQ(block[static_cast<size_t>(n)], '#') << "nothing written past the count copied, at " << c.Pos;
    }
}

TEST_F(EditBuffersTest, WriterMovesForwardOnlyAndEditsEnterAtTheLastRelease) {
    auto editor = EditorOf("W.pas", "0123456789");
    auto* writer = editor->CreateWriter();
    EXPECT_TRUE(writer->CopyTo(4));
    EXPECT_TRUE(writer->Insert("A"));
    EXPECT_FALSE(writer->CopyTo(4)) << "at the writer";
    EXPECT_FALSE(writer->CopyTo(2)) << "behind the writer";
    EXPECT_TRUE(writer->Insert("B")); // lands after A: the writer stays behind inserted text
    EXPECT_TRUE(writer->CopyTo(7));   // offsets are in the text as it was
    EXPECT_TRUE(writer->Insert("line\r\n"));
    EXPECT_TRUE(writer->CopyTo(99)); // stops at the end
    EXPECT_TRUE(writer->Insert("Z"));
    EXPECT_FALSE(writer->Insert(nullptr));

    writer->AddRef();
    writer->Release();
    EXPECT_EQ(BufferText("W.pas"), "0123456789") << "not before the last release";
    EXPECT_FALSE(Ide->Buffers().Find(DemoDir + "W.pas")->Modified());
    writer->Release();
    EXPECT_EQ(BufferText("W.pas"), "0123AB456line\r\n789Z");
    EXPECT_TRUE(Ide->Buffers().Find(DemoDir + "W.pas")->Modified());
    EXPECT_EQ(DiskText(DemoDir + "W.pas"), "0123456789") << "saving is the IDE's, not the writer's";

    // A writer that only moves leaves the buffer unmodified.
    Ide->Buffers().Find(DemoDir + "W.pas")->SetModified(false);
    editor->CreateWriter()->Release();
    TInterfaceRef<host::TIEditWriter> mover(editor->CreateWriter());
    mover->CopyTo(5);
    mover.Reset();
    EXPECT_FALSE(Ide->Buffers().Find(DemoDir + "W.pas")->Modified());
}

TEST_F(EditBuffersTest, ObjectsOutlivingTheirFileDoNothing) {
    auto editor = EditorOf("Gone.pas", "text");
    TInterfaceRef<host::TIEditWriter> writer(editor->CreateWriter());
    TInterfaceRef<host::TIEditReader> reader(editor->CreateReader());
    TInterfaceRef<host::TIEditView> view(editor->GetView(0));
    writer->Insert("lost?");
    Ide->Buffers().CloseAll();
    char c = 0;
    EXPECT_EQ(reader->GetText(0, &c, 1), 0);
    EXPECT_EQ(editor->LinesInBuffer(), 0);
    EXPECT_EQ(editor->GetView(0), nullptr);
    view->SetPos(0, {3, 1});
    writer.Reset(); // must not touch the closed buffer
    EXPECT_EQ(DiskText(DemoDir + "Gone.pas"), "text");
}

TEST_F(EditBuffersTest, ViewPositionsAreClampedToTheBuffersLines) {
    auto editor = EditorOf("V.pas", "a\tb\r\nsecond\r\nthird");
    EXPECT_EQ(editor->GetView(1), nullptr);
    TInterfaceRef<host::TIEditView> view(editor->GetView(0));
    EXPECT_EQ(view->GetPos(0), (host::TEditPos{1, 1}));
    EXPECT_EQ(view->GetPos(1), (host::TEditPos{1, 1}));

    struct Case {
        int Index;
        host::TEditPos Set;
        host::TEditPos Got;
    };
    const Case cases[] = {
        {0, {2, 2}, {2, 2}},   {0, {3, 0}, {3, 1}},   {0, {1, 99}, {1, 3}},
        {0, {40, 1}, {40, 1}}, // past the end of its line
        {0, {0, 2}, {1, 2}},   {0, {-5, -5}, {1, 1}}, {1, {1, 0}, {1, 1}},
        {1, {1, 4}, {1, 3}},   {1, {1, 2}, {1, 2}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        view->SetPos(cases[i].Index, cases[i].Set);
        EXPECT_EQ(view->GetPos(cases[i].Index), cases[i].Got) << "case " << i;
    }
    // Both positions belong to the buffer: a second view object sees them.
    TInterfaceRef<host::TIEditView> again(editor->GetView(0));
    EXPECT_EQ(again->GetPos(1), (host::TEditPos{1, 2}));
}

TEST_F(EditBuffersTest, ModuleIsNullForAFileThatIsNotOpen) {
    EXPECT_EQ(Services->GetModuleInterface(DemoDir + "Main.pas"), nullptr);
    EXPECT_EQ(Services->GetModuleInterface(""), nullptr);
    ASSERT_TRUE(Services->OpenFile(DemoDir + "Main.pas"));
    TInterfaceRef<host::TIModuleInterface> module(Services->GetModuleInterface(DemoDir + "Main.pas"));
    EXPECT_TRUE(module);
}

TEST_F(EditBuffersTest, SavingWritesTheBufferAtomically) {
    ASSERT_TRUE(OpenDemo());
    ASSERT_TRUE(Services->OpenFile(DemoDir + "Helpers.pas"));
    Ide->CurrentBuffer()->SetText(Ide->CurrentBuffer()->Text() + "{ end }");
    EXPECT_TRUE(Services->SaveFile(DemoDir + "Helpers.pas"));
    std::string disk = DiskText(DemoDir + "Helpers.pas");
    EXPECT_EQ(disk.substr(0, 15), "unit Helpers;\r\n");
    EXPECT_EQ(disk.substr(disk.size() - 7), "{ end }");
    // Nothing left beside it: the folder holds the example's files alone.
    auto count = [](const std::string& folder) {
        int files = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder))
            ++files;
        return files;
    };
    EXPECT_EQ(count(HostFile("C:\\PROJECTS\\Demo")), count(SUITE_SOURCE_DIR "/examples/Demo"));
}

} // namespace

namespace {

// Edits at places of the buffer, each with the text after it, the lines it reports changed, and
// the text that Undo gives back.
TEST(EditBufferEdits, ReplaceReportsTheChangedLinesAndUndoAndRedoTakeItBackAndAgain) {
    struct Case {
        ide::TTextPos From, To;
        const char* Text;
        const char* After;
        ide::TTextChange Change;
    } cases[] = {
        {{1, 2}, {1, 2}, "x", "axbc\r\ndef\r\nghi", {1, 1, 1}},
        {{1, 4}, {2, 1}, "", "abcdef\r\nghi", {1, 2, 1}},
        {{2, 2}, {1, 3}, "\n-\r", "ab\r\n-\r\nef\r\nghi", {1, 2, 3}},
        {{3, 4}, {3, 9}, "!", "abc\r\ndef\r\nghi!", {3, 3, 3}},          // the columns kept in the line
        {{9, 1}, {9, 1}, "\r\nend", "abc\r\ndef\r\n\r\nendghi", {3, 3, 4}}, // the line kept in the text
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        ide::TEditBuffer b("C:\\X.PAS", "abc\r\ndef\r\nghi");
        std::vector<ide::TTextChange> changes;
        b.Subscribe([&](const ide::TTextChange& ch) { changes.push_back(ch); });
        b.Replace(c.From, c.To, c.Text);
        EXPECT_EQ(b.Text(), c.After) << "case " << i;
        ASSERT_EQ(changes.size(), 1u) << "case " << i;
        EXPECT_EQ(changes[0].First, c.Change.First) << "case " << i;
        EXPECT_EQ(changes[0].OldLast, c.Change.OldLast) << "case " << i;
        EXPECT_EQ(changes[0].NewLast, c.Change.NewLast) << "case " << i;
        EXPECT_EQ(b.LinesInBuffer(), 1 + int(std::count(b.Text().begin(), b.Text().end(), '\n'))) << "case " << i;
        EXPECT_TRUE(b.Modified());
        ASSERT_TRUE(b.Undo());
        EXPECT_EQ(b.Text(), "abc\r\ndef\r\nghi") << "case " << i;
        ASSERT_TRUE(b.Redo());
        EXPECT_EQ(b.Text(), c.After) << "case " << i;
    }
}

TEST(EditBufferEdits, TypingInARowIsOneUndoStepAndTheCursorComesBackWithIt) {
    ide::TEditBuffer b("C:\\X.PAS", "begin\r\nend;");
    b.SetCursor({2, 1});
    for (char c : std::string("  x := 1;"))
        b.InsertAtCursor(std::string(1, c), false, true);
    b.InsertAtCursor("\r\n");
    EXPECT_EQ(b.Text(), "begin\r\n  x := 1;\r\nend;");
    EXPECT_EQ(b.Cursor(), (ide::TTextPos{3, 1}));
    b.Undo();
    EXPECT_EQ(b.Text(), "begin\r\n  x := 1;end;");
    b.Undo();
    EXPECT_EQ(b.Text(), "begin\r\nend;");
    EXPECT_EQ(b.Cursor(), (ide::TTextPos{2, 1}));
    EXPECT_FALSE(b.Undo());
    // Overwriting takes the characters under the cursor; a cursor past the end is met with blanks.
    b.SetCursor({1, 1});
    b.InsertAtCursor("BEG", true, true);
    EXPECT_EQ(b.Line(1), "BEGin");
    b.SetPos(0, {12, 2});
    b.InsertAtCursor("{}");
    EXPECT_EQ(b.Line(2), "end;       {}");
    // A selection is replaced, and SetText changes only what differs.
    b.SetCursor({1, 1});
    b.SetCursor({2, 1}, true);
    EXPECT_EQ(b.SelText(), "BEGin\r\n");
    b.InsertAtCursor("");
    EXPECT_EQ(b.Text(), "end;       {}");
    std::vector<ide::TTextChange> changes;
    b.Subscribe([&](const ide::TTextChange& ch) { changes.push_back(ch); });
    b.SetText("end;       {}\nnext\n");
    EXPECT_EQ(b.Text(), "end;       {}\r\nnext\r\n");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].First, 1);
    EXPECT_EQ(changes[0].NewLast, 3);
}

} // namespace
