#include "spellexpert/WordFilter.h"
#include "spellexpert/SyntaxColour.h"

#include "spellengine/WordBuffers.h"

#include "editor/tests/ZelEditorTestSupport.h"
#include "testing/Robot.h"
#include "win/Windows.h"

#include <memory>
#include <string>
#include <vector>

using namespace spellexpert;

namespace {

const char* const kUnit =
    "unit Sample;\n"
    "{ Shows a greting }\n"
    "interface\n"
    "\n"
    "const Caption = 'Hello wrold'; // the titel\n"
    "  Menu = 'E&xit'#13'Save && Close'; (* acelerator\n"
    "  marks *) Done = 'it''s';\n"
    "{$I defs.inc}\n"
    "implementation\n"
    "(* one *) x := 'don''t'; { two }\n"
    "end.";

class WordFilterTest : public editor_test::EditorTest {
protected:
    void TearDown() override {
        SyntaxList.reset();
        EditorTest::TearDown();
    }

    void Show(const std::string& Text) {
        Editor->ClearText(true);
        ASSERT_EQ(Editor->InsertString(Text), 0);
        SyntaxList = std::make_unique<TSyntaxList>();
        bool b = false, p = false, s = false;
        for (std::int32_t n = 1; n <= Editor->ParaCount(); ++n)
            SyntaxList->AddLine(b, p, s, Editor->GetPara(n));
    }

    std::unique_ptr<TMyBuffer> Filter(std::uint8_t Mode) {
        auto f = TMyBuffer::NewOnEditor(Editor);
        f->SetMode(Mode);
        return f;
    }

    static std::vector<std::string> Words(TMyBuffer& F) {
        std::vector<std::string> words;
        for (std::string w;;) {
            F.GetNextWord(w);
            if (w.empty())
                return words;
            words.push_back(w);
        }
    }
};

TEST_F(WordFilterTest, StringAndCommentWordsOfAUnit) {
    Show(kUnit);
    {
        auto f = Filter(TMyBuffer::fmStrings);
        EXPECT_EQ(Words(*f), (std::vector<std::string>{"Hello", "wrold", "Exit", "Save", "Close", "it", "s",
                                                       "don", "t"}));
    }
    {
        auto f = Filter(TMyBuffer::fmComments);
        EXPECT_EQ(Words(*f), (std::vector<std::string>{"Shows", "a", "greting", "the", "titel", "acelerator",
                                                       "marks", "I", "defs", "inc", "one", "two"}));
    }
}

TEST_F(WordFilterTest, QuotesAndBracketsOfTheOtherKindDoNotCount) {
    const struct {
        const char* Text;
        std::uint8_t Mode;
        std::vector<std::string> Want;
    } cases[] = {
        {"x := 1; { it's a coment } y := 'ok';", TMyBuffer::fmStrings, {"ok"}},
        {"s := '{ not a comment }'; // real one", TMyBuffer::fmComments, {"real", "one"}},
        {"s := 'open\nnext line'", TMyBuffer::fmStrings, {"open"}},
        {"// first\nsecond", TMyBuffer::fmComments, {"first"}},
        {"{ first\n\n second } third", TMyBuffer::fmComments, {"first", "second"}},
        {"(* a { b *) c", TMyBuffer::fmComments, {"a", "b"}},
        {"{ a *) b } c", TMyBuffer::fmComments, {"a", "b"}},
        {"{\nbody }", TMyBuffer::fmComments, {"body"}},
        // A brace comment ends at its brace, whatever it holds.
        {"{ see (* } s := 'ok';", TMyBuffer::fmStrings, {"ok"}},
        {"{ see (* } x := y; // tail", TMyBuffer::fmComments, {"see", "tail"}},
        {"", TMyBuffer::fmComments, {}},
    };
    for (const auto& c : cases) {
        Show(c.Text);
        auto f = Filter(c.Mode);
        EXPECT_EQ(Words(*f), c.Want) << c.Text;
    }
}

TEST_F(WordFilterTest, AcceleratorMarks) {
    Show("a := 'E&xit &File Sav&e Save&'#13'Save && Close &'");
    auto f = Filter(TMyBuffer::fmStrings);
    const struct {
        const char* Word;
        const char* Found;
        int AmpPos;
        char AmpChar;
    } want[] = {
        {"Exit", "E&xit", 2, 'x'}, {"File", "&File", 1, 'F'}, {"Save", "Sav&e", 4, 'e'},
        {"Save", "Save", 0, 0},    {"&", "&", 0, 0}, // the trailing mark, outside the word
        {"Save", "Save", 0, 0},    {"Close", "Close", 0, 0}, {"&", "&", 0, 0},
    };
    std::string w;
    for (const auto& x : want) {
        f->GetNextWord(w);
        EXPECT_EQ(w, x.Word);
        EXPECT_EQ(f->FoundWord(), x.Found) << x.Found;
        EXPECT_EQ(f->AmpPos(), x.AmpPos) << x.Found;
        EXPECT_EQ(f->AmpChar(), x.AmpChar) << x.Found;
    }
    f->GetNextWord(w);
    EXPECT_EQ(w, "");
}

TEST_F(WordFilterTest, ReplacementsKeepColoursAndTheWalk) {
    Show("s := 'Helo wrold'; { a coment here }\nt := 'E&xti';");
    auto f = Filter(TMyBuffer::fmStrings);
    std::string w;
    f->GetNextWord(w);
    ASSERT_EQ(w, "Helo");
    f->ReplaceWord("Hello there");
    EXPECT_EQ(Editor->GetPara(1), "s := 'Hello there wrold'; { a coment here }");
    TSyntaxState st;
    EXPECT_EQ(SyntaxList->GetLineAttributes(1), ColourLine(Editor->GetPara(1), st));
    f->GetNextWord(w);
    EXPECT_EQ(w, "wrold");
    f->ReplaceWord("world");
    f->GetNextWord(w);
    ASSERT_EQ(w, "Exti");
    // The same letter after the mark: put back without asking.
    f->ReplaceWord("Exit");
    EXPECT_EQ(Editor->GetPara(2), "t := 'E&xit';");
    f->GetNextWord(w);
    EXPECT_EQ(w, "");

    auto c = Filter(TMyBuffer::fmComments);
    c->GetNextWord(w);
    c->GetNextWord(w);
    ASSERT_EQ(w, "coment");
    c->ReplaceWord("comment");
    EXPECT_EQ(Editor->GetPara(1), "s := 'Hello there world'; { a comment here }");
    st = {};
    EXPECT_EQ(SyntaxList->GetLineAttributes(1), ColourLine(Editor->GetPara(1), st));
    c->GetNextWord(w);
    EXPECT_EQ(w, "here");
    c->GetNextWord(w);
    EXPECT_EQ(w, "");
}

TEST_F(WordFilterTest, AnApostropheOfAReplacementIsDoubledInsideAStringOnly) {
    Show("s := 'dont go'; { dont }");
    auto f = Filter(TMyBuffer::fmStrings);
    std::string w;
    f->GetNextWord(w);
    ASSERT_EQ(w, "dont");
    f->ReplaceWord("don't");
    EXPECT_EQ(Editor->GetPara(1), "s := 'don''t go'; { dont }");
    // The walk goes on inside the same string.
    f->GetNextWord(w);
    EXPECT_EQ(w, "go");
    f->GetNextWord(w);
    EXPECT_EQ(w, "");
    auto c = Filter(TMyBuffer::fmComments);
    c->GetNextWord(w);
    ASSERT_EQ(w, "dont");
    c->ReplaceWord("don't");
    EXPECT_EQ(Editor->GetPara(1), "s := 'don''t go'; { don't }");
}

TEST_F(WordFilterTest, AMarkBeforeAnotherLetterIsTheUsersToConfirm) {
    Show("a := 'E&xit';\nb := 'E&xit';");
    auto f = Filter(TMyBuffer::fmStrings);
    testing_support::TRobot robot;
    std::string prompt, proposed;
    robot.OnNextModal([&](win::HWND box) {
        prompt = win::GetWindowText(box);
        proposed = testing_support::TRobot::ChildText(box, "Edit");
    });
    robot.AnswerNextModal(testing_support::TBy::Caption("OK"));
    std::string w;
    f->GetNextWord(w);
    ASSERT_EQ(w, "Exit");
    f->ReplaceWord("Quit");
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(prompt, "Replace Word");
    EXPECT_EQ(proposed, "Q&uit");
    EXPECT_EQ(Editor->GetPara(1), "a := 'Q&uit';");
    // Cancelled: the text keeps its word, mark and all.
    robot.AnswerNextModal(testing_support::TBy::Caption("Cancel"));
    f->GetNextWord(w);
    ASSERT_EQ(w, "Exit");
    f->ReplaceWord("Quit");
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(Editor->GetPara(2), "b := 'E&xit';");
}

TEST_F(WordFilterTest, WordCharactersComeBackAsTheyWere) {
    Show("x := 'a';");
    const spellengine::TCharSet before = spellengine::WordChars();
    {
        auto f = Filter(TMyBuffer::fmStrings);
        EXPECT_TRUE(spellengine::WordChars()['&']);
        EXPECT_FALSE(spellengine::WordChars()['\'']);
        f->SetMode(TMyBuffer::fmComments);
        EXPECT_TRUE(spellengine::WordChars()['\'']);
        f->SetMode(7);
        EXPECT_EQ(f->Mode(), TMyBuffer::fmComments);
    }
    EXPECT_EQ(spellengine::WordChars(), before);
    try {
        auto f = Filter(TMyBuffer::fmStrings);
        throw std::runtime_error("out");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(spellengine::WordChars(), before);
}

TEST_F(WordFilterTest, AWalkWhoseSyntaxListGoesAwayEndsAborted) {
    Show("a := 'one two three';");
    auto f = Filter(TMyBuffer::fmStrings);
    std::string w;
    f->GetNextWord(w);
    ASSERT_EQ(w, "one");
    SyntaxList.reset();
    f->GetNextWord(w);
    EXPECT_EQ(w, "");
    EXPECT_TRUE(f->Aborted());
}

} // namespace
