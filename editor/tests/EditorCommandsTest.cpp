#include "ZelEditorTestSupport.h"

#include "editor/ZelExceptions.h"
#include "vcl/Clipbrd.h"
#include "win/Windows.h"
#include "win/TestHooks.h"

#include <gtest/gtest.h>

using namespace editor;
using editor_test::EditorTest;

namespace {

enum : unsigned {
    kOvr = 1,
    kAutoIndent = 2,
    kFixedTab = 4,
    kSmartTab = 8,
    kNoWrapAtLeft = 16,
    kReadOnly = 32,
    kPastEnd = 64,
};

struct TCommandCase {
    const char* Before;
    std::uint16_t Cmd;
    char Ch;
    const char* After;
    unsigned Flags = 0;
};

class EditorCommands : public EditorTest {
protected:
    void Run(const TCommandCase* cases, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            const TCommandCase& c = cases[i];
            TZelCustomEditor& e = *Editor;
            e.SetInsertMode(true);
            e.SetAutoIndent(false);
            e.SetTabType(TTabType::ttReal);
            e.SetWrapAtLeft(true);
            e.SetReadOnly(false);
            e.SetScrollPastEnd(false);
            Load(e, c.Before);
            e.SetInsertMode(!(c.Flags & kOvr));
            e.SetAutoIndent(c.Flags & kAutoIndent);
            if (c.Flags & kFixedTab) e.SetTabType(TTabType::ttFixed);
            if (c.Flags & kSmartTab) e.SetTabType(TTabType::ttSmart);
            if (c.Flags & kNoWrapAtLeft) e.SetWrapAtLeft(false);
            if (c.Flags & kReadOnly) e.SetReadOnly(true);
            if (c.Flags & kPastEnd) e.SetScrollPastEnd(true);
            const bool handled = e.ProcessCommand(c.Cmd, static_cast<unsigned char>(c.Ch));
            EXPECT_TRUE(handled) << "case " << i;
            EXPECT_EQ(State(e), c.After) << "case " << i << ": " << c.Before << " command " << c.Cmd;
        }
    }
};

} // namespace

TEST_F(EditorCommands, CaretMoves) {
    const TCommandCase cases[] = {
        {"ab|c\nde", ccLeft, 0, "a|bc\nde"},
        {"|abc\nde", ccLeft, 0, "|abc\nde"},
        {"abc\n|de", ccLeft, 0, "abc|\nde"},
        {"abc\n|de", ccLeft, 0, "abc\n|de", kNoWrapAtLeft},
        {"ab|c\nde", ccRight, 0, "abc|\nde"},
        {"abc|\nde", ccRight, 0, "abc\n|de"},
        {"abc\nde|", ccRight, 0, "abc\nde|"},
        {"a|bc\nde", ccEnd, 0, "abc|\nde"},
        {"abc\nd|e", ccHome, 0, "abc\n|de"},
        {"abcdef|\nxy", ccDown, 0, "abcdef\nxy|"},
        {"abcdef\nxy|", ccUp, 0, "ab|cdef\nxy"},
        {"ab\nc|d", ccDown, 0, "ab\nc|d"},
        // Up and down keep the screen column over tabs.
        {"\tx|\nabcdefghijk", ccDown, 0, "\tx\nabcdefghi|jk"},
        {"\tx\nab|cdefghijk", ccUp, 0, "|\tx\nabcdefghijk"},
        {"one, two|  three", ccWordLeft, 0, "one, |two  three"},
        {"one, |two  three", ccWordLeft, 0, "|one, two  three"},
        {"don't|", ccWordLeft, 0, "don'|t"},
        {"one\n|two", ccWordLeft, 0, "one|\ntwo"},
        {"|one\ntwo", ccWordLeft, 0, "|one\ntwo"},
        {"|one, two", ccWordRight, 0, "one, |two"},
        {"one|, two", ccWordRight, 0, "one, |two"},
        {"one, tw|o", ccWordRight, 0, "one, two|"},
        {"one|\ntwo", ccWordRight, 0, "one\n|two"},
        {"ab\nc|d", ccFirstPage, 0, "|ab\ncd"},
        {"a|b\ncd", ccLastPage, 0, "ab\ncd|"},
        {"a{bc|}d", ccLeft, 0, "ab|cd"},
        {"a{bc|}d", ccHome, 0, "|abcd"},
    };
    Run(cases, std::size(cases));
}

TEST_F(EditorCommands, SelectionExtends) {
    const TCommandCase cases[] = {
        {"a|bcd", ccExtendRight, 0, "a{b|}cd"},
        {"a{b|}cd", ccExtendRight, 0, "a{bc|}d"},
        {"a{bc|}d", ccExtendLeft, 0, "a{b|}cd"},
        {"a{|b}cd", ccExtendLeft, 0, "{|ab}cd"},
        {"a{|b}cd", ccExtendRight, 0, "ab|cd"},
        {"ab|c\nde", ccExtendDown, 0, "ab{c\nde|}"},
        {"ab{c\nde|}", ccExtendUp, 0, "ab|c\nde"},
        {"ab|cd", ccExtendHome, 0, "{|ab}cd"},
        {"ab|cd", ccExtendEnd, 0, "ab{cd|}"},
        {"|one two", ccExtWordRight, 0, "{one |}two"},
        {"one two|", ccExtWordLeft, 0, "one {|two}"},
        {"a|b\ncd", ccExtLastPage, 0, "a{b\ncd|}"},
        {"ab\nc|d", ccExtFirstPage, 0, "{|ab\nc}d"},
    };
    Run(cases, std::size(cases));
}

TEST_F(EditorCommands, TypingDeletingAndNewLines) {
    const TCommandCase cases[] = {
        {"ab|c", ccChar, 'x', "abx|c"},
        {"ab|c", ccChar, 'x', "abx|", kOvr},
        {"abc|", ccChar, 'x', "abcx|", kOvr},
        {"a{bc|}d", ccChar, 'x', "ax|d", kOvr},
        {"a{b\nc|}d", ccChar, 'x', "ax|d"},
        {"ab|c", ccChar, 'x', "ab|c", kReadOnly},
        {"ab|c", ccDel, 0, "ab|"},
        {"ab|\ncd", ccDel, 0, "ab|cd"},
        {"ab\ncd|", ccDel, 0, "ab\ncd|"},
        {"a{b\nc|}d", ccDel, 0, "a|d"},
        {"ab|c", ccBack, 0, "a|c"},
        {"ab\n|cd", ccBack, 0, "ab|cd"},
        {"|ab", ccBack, 0, "|ab"},
        {"a{bc|}d", ccBack, 0, "a|d"},
        {"ab|c", ccBack, 0, "a|bc", kReadOnly},
        // Without wrapping back to the line above there is nothing to delete.
        {"ab\n|cd", ccBack, 0, "ab\n|cd", kNoWrapAtLeft},
        {"ab|cd\nef", ccDelEol, 0, "ab|\nef"},
        {"abcd|\nef", ccDelEol, 0, "abcd|\nef"},
        {"ab\nc|d\nef", ccDelLine, 0, "ab\n|ef"},
        {"ab\nc|d", ccDelLine, 0, "ab\n|"},
        {"a|b\ncd", ccDelLine, 0, "|cd"},
        {"|one  two", ccDelWord, 0, "|two"},
        {"on|e two", ccDelWord, 0, "on|two"},
        {"one|, two", ccDelWord, 0, "one|, two"},
        {"a{bc|}d", ccDelWord, 0, "a|d"},
        {"ab|cd", ccNewLine, 0, "ab\n|cd"},
        {"|abcd", ccNewLine, 0, "\n|abcd"},
        {"ab  |cd", ccNewLine, 0, "ab\n|cd"},
        {"a{bc|}d", ccNewLine, 0, "a\n|d"},
        {"  ab|cd", ccNewLine, 0, "  ab\n  |cd", kAutoIndent},
        {"\tab|cd", ccNewLine, 0, "\tab\n\t|cd", kAutoIndent},
        {"\tab|cd", ccNewLine, 0, "\tab\n        |cd", kAutoIndent | kFixedTab},
        {"ab|cd\nef", ccNewLine, 0, "abcd\n|ef", kOvr},
        {"ab|cd", ccNewLine, 0, "abcd|", kOvr},
        {"ab|cd\nef", ccNewLine, 0, "abcd\n|ef", kReadOnly},
    };
    Run(cases, std::size(cases));
}

TEST_F(EditorCommands, Tabs) {
    const TCommandCase cases[] = {
        {"ab|c", ccTab, 0, "ab\t|c"},
        {"a{bc|}d", ccTab, 0, "a\t|d"},
        {"ab|c", ccTab, 0, "ab      |c", kFixedTab},
        {"ab|cdefghijk", ccTab, 0, "ab      |ijk", kFixedTab | kOvr},
        // Smart tabs line up with the words of the line above, or below when that is empty.
        {"one   two\n|x", ccTab, 0, "one   two\n      |x", kSmartTab},
        {"one   two\n      |x", ccTab, 0, "one   two\n         |x", kSmartTab},
        {"one   two\n         |x", ccTab, 0, "one   two\n                |x", kSmartTab},
        {"ab\n\n|x\n    yz", ccTab, 0, "ab\n\n    |x\n    yz", kSmartTab},
        {"ab|c", ccTab, 0, "ab|c", kReadOnly},
    };
    Run(cases, std::size(cases));
}

TEST_F(EditorCommands, BackspacePastTheEndOfALineOnlyMovesTheCaret) {
    TZelCustomEditor& e = *Editor;
    Load(e, "ab\ncd");
    e.SetScrollPastEnd(true);
    e.SetCaretPosition(1, 5);
    EXPECT_EQ(State(e), "ab~~|\ncd");
    e.ProcessCommand(ccBack, 0);
    EXPECT_EQ(State(e), "ab~|\ncd");
    e.ProcessCommand(ccBack, 0);
    EXPECT_EQ(State(e), "ab|\ncd");
    e.ProcessCommand(ccBack, 0);
    EXPECT_EQ(State(e), "a|\ncd");
    // Typing past the end fills the gap with blanks.
    e.SetCaretPosition(1, 4);
    e.ProcessCommand(ccChar, 'x');
    EXPECT_EQ(State(e), "a  x|\ncd");
}

TEST_F(EditorCommands, DispatcherResultsAndEvents) {
    TZelCustomEditor& e = *Editor;
    Load(e, "ab|c");
    int changes = 0;
    std::vector<std::uint16_t> user;
    e.OnChange = [&](vcl::TObject* s) {
        EXPECT_EQ(s, &e);
        ++changes;
    };
    e.OnUserCommand = [&](vcl::TObject*, std::uint16_t c) { user.push_back(c); };
    for (std::uint16_t code : {0, 3, 4, 5, 9, 11, 43, 49, 50, 54, 69, 70, 250, 251, 252, 253, 254, 255})
        EXPECT_FALSE(e.ProcessCommand(code, 0)) << code;
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(e.ProcessCommand(300, 0));
    EXPECT_EQ(user, std::vector<std::uint16_t>{300});
    EXPECT_TRUE(e.ProcessCommand(ccCtrlChar, 0));
    EXPECT_TRUE(e.ProcessCommand(ccLeft, 0));
    EXPECT_EQ(changes, 0);
    // Editing commands tell of a change even when nothing changed, read-only included.
    e.SetReadOnly(true);
    for (std::uint16_t code : std::initializer_list<std::uint16_t>{ccBack, ccCut, ccDel, ccDelEol, ccDelLine, ccDelWord, ccNewLine,
                               ccPaste, ccRedo, ccTab, ccUndo, ccChar})
        e.ProcessCommand(code, 'x');
    EXPECT_EQ(changes, 12);
    EXPECT_EQ(e.GetPara(1), "abc");
    e.ProcessCommand(ccIns, 0);
    EXPECT_FALSE(e.InsertMode());
    EXPECT_FALSE(e.CaretPair().InsertMode());
}

TEST_F(EditorCommands, PageCommandsMoveByTheVisibleLines) {
    TZelCustomEditor& e = *Editor;
    std::string text;
    for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + (i < 100 ? "\n" : "");
    Load(e, text);
    const int page = e.GetVisibleLines();
    ASSERT_GT(page, 3);
    std::vector<std::int32_t> tops;
    e.OnTopLineChanged = [&](vcl::TObject*, std::int32_t line) { tops.push_back(line); };
    int col;
    e.SetCaretPosition(3, 2);
    e.ProcessCommand(ccNextPage, 0);
    EXPECT_EQ(e.GetCaretPosition(col), 3 + page - 1);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(e.GetTopLine(), page); // the caret keeps its row
    EXPECT_EQ(tops, std::vector<std::int32_t>{page});
    e.ProcessCommand(ccTopOfPage, 0);
    EXPECT_EQ(e.GetCaretPosition(col), page);
    e.ProcessCommand(ccBotOfPage, 0);
    EXPECT_EQ(e.GetCaretPosition(col), 2 * page - 1);
    e.ProcessCommand(ccExtendPgUp, 0);
    std::int32_t l1, l2;
    int c1, c2;
    ASSERT_TRUE(e.GetSelection(l1, c1, l2, c2));
    EXPECT_EQ(l1, page);
    EXPECT_EQ(l2, 2 * page - 1);
    e.ProcessCommand(ccLastPage, 0);
    EXPECT_EQ(e.GetCaretPosition(col), 100);
    EXPECT_EQ(e.GetTopLine(), 100 - page + 1);
    e.ProcessCommand(ccScrollDown, 0); // already at the last page
    EXPECT_EQ(e.GetTopLine(), 100 - page + 1);
    e.ProcessCommand(ccScrollUp, 0);
    EXPECT_EQ(e.GetTopLine(), 100 - page);
    // The caret now lies below the page: bottom of page scrolls to it.
    e.ProcessCommand(ccBotOfPage, 0);
    EXPECT_EQ(e.GetTopLine(), 100 - page + 1);
    EXPECT_EQ(e.GetCaretPosition(col), 100);
    e.ProcessCommand(ccFirstPage, 0);
    EXPECT_EQ(e.GetTopLine(), 1);
    e.ProcessCommand(ccPrevPage, 0);
    EXPECT_EQ(e.GetCaretPosition(col), 1);
}

TEST_F(EditorCommands, WrappedLines) {
    TZelCustomEditor& e = *Editor;
    e.SetWordWrap(true);
    e.SetWrapColumn(10);
    Load(e, "alpha beta gamma delta\nx");
    ASSERT_EQ(e.LineCount(), 4); // "alpha beta " "gamma " "delta", then "x"
    std::string line;
    e.GetLine(2, line);
    EXPECT_EQ(line, "gamma ");
    int col;
    e.SetCaretPosition(1, 3);
    e.ProcessCommand(ccDown, 0);
    EXPECT_EQ(e.GetCaretPosition(col), 2);
    EXPECT_EQ(col, 3);
    // End of a line that is not its paragraph's last stops before the next line's start.
    e.ProcessCommand(ccEnd, 0);
    EXPECT_EQ(e.GetCaretPosition(col), 2);
    EXPECT_EQ(col, 6);
    e.ProcessCommand(ccRight, 0);
    EXPECT_EQ(e.GetCaretPosition(col), 3);
    EXPECT_EQ(col, 1);
    e.ProcessCommand(ccLeft, 0);
    EXPECT_EQ(e.GetCaretPosition(col), 2);
    EXPECT_EQ(col, 6);
    // Typing re-wraps; a word pushed over the wrap column carries the caret with it.
    e.SetCaretPosition(1, 6);
    for (char c : std::string("xyzwv")) e.ProcessCommand(ccChar, static_cast<unsigned char>(c));
    EXPECT_EQ(e.GetPara(1), "alphaxyzwv beta gamma delta");
    EXPECT_EQ(e.GetCaretPosition(col), 1);
    EXPECT_EQ(col, 11);
    e.ProcessCommand(ccChar, 'u');
    EXPECT_EQ(e.GetCaretPosition(col), 2);
    EXPECT_EQ(col, 2);
    e.GetLine(1, line);
    EXPECT_EQ(line, "alphaxyzwv");
    // Backspace at the start of a wrapped line deletes the character before it.
    e.SetCaretPosition(2, 1);
    e.ProcessCommand(ccBack, 0);
    EXPECT_EQ(e.GetPara(1), "alphaxyzwu beta gamma delta");
}

TEST_F(EditorCommands, ClipboardRoundTripUsesCrLf) {
    TZelCustomEditor& e = *Editor;
    Load(e, "one {two\nthree\nfou|}r");
    ASSERT_TRUE(e.ProcessCommand(ccCopy, 0));
    std::string text;
    ASSERT_TRUE(vcl::GetClipboardText(nullptr, text));
    EXPECT_EQ(text, "two\r\nthree\r\nfou");
    e.ProcessCommand(ccCut, 0);
    EXPECT_EQ(State(e), "one |r");
    e.ProcessCommand(ccLastPage, 0);
    e.ProcessCommand(ccPaste, 0);
    EXPECT_EQ(State(e), "one rtwo\nthree\nfou|");
    e.ProcessCommand(ccPaste, 0);
    EXPECT_EQ(State(e), "one rtwo\nthree\nfoutwo\nthree\nfou|");
    // Text another program put there, with a break at its very end.
    ASSERT_EQ(vcl::PutClipboardText(nullptr, "x\r\ny\r\n"), vcl::TClipboardResult::crOk);
    Load(e, "a|b");
    e.ProcessCommand(ccPaste, 0);
    EXPECT_EQ(State(e), "ax\ny\n|b");
    // Nothing selected: copy leaves the clipboard alone; read-only: no cut, no paste.
    Load(e, "a|b");
    e.ProcessCommand(ccCopy, 0);
    ASSERT_TRUE(vcl::GetClipboardText(nullptr, text));
    EXPECT_EQ(text, "x\r\ny\r\n");
    Load(e, "{a|}b");
    e.SetReadOnly(true);
    e.ProcessCommand(ccCut, 0);
    e.ProcessCommand(ccPaste, 0);
    EXPECT_EQ(State(e), "{a|}b");
    e.ProcessCommand(ccCopy, 0);
    ASSERT_TRUE(vcl::GetClipboardText(nullptr, text));
    EXPECT_EQ(text, "a");
}

TEST_F(EditorCommands, UndoAndRedoOfMixedCommandsReturnToEachText) {
    TZelCustomEditor& e = *Editor;
    const std::string original = "first line\nsecond line\nthird";
    Load(e, original + "|");
    // A mix of typing, deleting, splitting, joining, tabs, pasting and replacing a selection.
    auto type = [&](const std::string& s) {
        for (char c : s) e.ProcessCommand(ccChar, static_cast<unsigned char>(c));
    };
    type(" word");
    e.ProcessCommand(ccNewLine, 0);
    type("new");
    e.ProcessCommand(ccFirstPage, 0);
    e.ProcessCommand(ccEnd, 0);
    e.ProcessCommand(ccDel, 0); // joins the second line
    e.ProcessCommand(ccBack, 0);
    e.ProcessCommand(ccTab, 0);
    e.SetSelection(1, 1, 1, 6, true);
    type("X");
    e.ProcessCommand(ccDelLine, 0);
    vcl::PutClipboardText(nullptr, "pasted\r\ntext");
    e.ProcessCommand(ccPaste, 0);
    e.SetInsertMode(false);
    type("ov");
    const std::string final = [&] {
        std::string s;
        for (std::int32_t p = 1; p <= e.ParaCount(); ++p) s += std::string(e.GetPara(p)) + (p < e.ParaCount() ? "\n" : "");
        return s;
    }();
    auto text = [&] {
        std::string s;
        for (std::int32_t p = 1; p <= e.ParaCount(); ++p) s += std::string(e.GetPara(p)) + (p < e.ParaCount() ? "\n" : "");
        return s;
    };
    EXPECT_NE(final, original);
    EXPECT_TRUE(e.GetModified());
    int undos = 0;
    while (e.CanUndo()) {
        e.ProcessCommand(ccUndo, 0);
        ++undos;
    }
    EXPECT_GE(undos, 8);
    EXPECT_EQ(text(), original);
    EXPECT_FALSE(e.GetModified());
    win::ClearRecordedBeeps();
    e.ProcessCommand(ccUndo, 0); // nothing left: a beep
    EXPECT_EQ(win::RecordedBeeps().size(), 1u);
    while (e.CanRedo()) e.ProcessCommand(ccRedo, 0);
    EXPECT_EQ(text(), final);
    EXPECT_TRUE(e.GetModified());
    // Typed characters undo together; the caret goes back with the text.
    Load(e, "ab|");
    type("cde");
    e.Undo();
    EXPECT_EQ(State(e), "ab|");
    e.Redo();
    EXPECT_EQ(State(e), "abcde|");
    // Read-only: nothing to undo.
    e.SetReadOnly(true);
    EXPECT_FALSE(e.CanUndo());
}

TEST_F(EditorCommands, BookmarksFollowEditsAndTakeTheirNumberFromTheKey) {
    TZelCustomEditor& e = *Editor;
    Load(e, "one\ntwo\nth|ree");
    EXPECT_TRUE(e.ProcessCommand(ccSetMarker3, '3'));
    EXPECT_EQ(e.ParaList().Bookmark(3).Para, 3);
    EXPECT_EQ(e.ParaList().Bookmark(3).Pos, 3);
    e.ProcessCommand(ccSetMarker4, 'K'); // a key that is not a digit sets none
    for (int n = 0; n < 10; ++n) {
        if (n == 3) continue;
        EXPECT_EQ(e.ParaList().Bookmark(n).Para, 0) << n;
    }
    // Edits before the bookmark move it.
    e.ProcessCommand(ccFirstPage, 0);
    e.ProcessCommand(ccNewLine, 0);
    e.ProcessCommand(ccLastPage, 0);
    e.ProcessCommand(ccHome, 0);
    e.ProcessCommand(ccChar, 'X');
    EXPECT_EQ(State(e), "\none\ntwo\nX|three");
    e.ProcessCommand(ccFirstPage, 0);
    e.ProcessCommand(ccGotoMarker3, '3');
    EXPECT_EQ(State(e), "\none\ntwo\nXth|ree");
    // GotoMarker of an unset bookmark or a number above 9 does nothing.
    e.ProcessCommand(ccFirstPage, 0);
    e.GotoMarker(5);
    e.GotoMarker(12);
    e.ProcessCommand(ccGotoMarker3, 'A');
    EXPECT_EQ(State(e), "|\none\ntwo\nXthree");
    // A bookmark inside deleted text goes.
    e.SetMarkerAt(7, 2, 2);
    EXPECT_EQ(e.ParaList().Bookmark(7).Para, 2);
    e.SetSelection(2, 1, 2, 4, true);
    e.ProcessCommand(ccDel, 0);
    EXPECT_EQ(e.ParaList().Bookmark(7).Para, 0);
    EXPECT_THROW(e.SetMarkerAt(1, 99, 1), EInvalidLineOrCol);
    EXPECT_THROW(e.SetMarkerAt(1, 1, 0), EInvalidLineOrCol);
    EXPECT_NO_THROW(e.SetMarkerAt(10, 99, 1)); // numbers above 9: nothing, not even the check
}
