#include "ParaListTestSupport.h"

#include "editor/ParaList.h"

#include <gtest/gtest.h>

using namespace editor;
using namespace editor_test;

namespace {

struct WrappedList {
    RecordingOwner owner;
    TParaList list{&owner, true};
    explicit WrappedList(std::int32_t column = 40) { list.SetWrapColumn(column); }
};

std::vector<std::int32_t> LineLengths(TParaList& list) {
    std::vector<std::int32_t> lengths;
    for (std::int32_t l = 1; l <= list.LineCount(); ++l) lengths.push_back(list.LineLength(l));
    return lengths;
}

} // namespace

TEST(ParaList, NewListHoldsOneEmptyParagraph) {
    TParaList list(nullptr, false);
    EXPECT_EQ(list.ParaCount(), 1);
    EXPECT_EQ(list.LineCount(), 1);
    EXPECT_EQ(list.TextSize(), 0);
    EXPECT_EQ(list.ParaText(1), "");
    EXPECT_EQ(list.FindPara(0), nullptr);
    EXPECT_EQ(list.FindPara(2), nullptr);
    EXPECT_EQ(list.InsertText(5, "x", 1), TParaResult::Ok); // no such paragraph: nothing done
    EXPECT_FALSE(list.Modified());
}

TEST(ParaList, WrapsAtBlanksAndHyphens) {
    struct Case { std::string text; std::int32_t column; std::vector<std::int32_t> lengths; };
    std::string blank(100, 'x');
    blank[40] = ' ';
    std::string hyphen(100, 'x');
    hyphen[30] = '-';
    const Case cases[] = {
        {std::string(100, 'x'), 40, {40, 40, 20}},
        {blank, 40, {41, 40, 19}},           // the blank stays at the end of its line
        {hyphen, 40, {31, 40, 29}},          // the line ends after the hyphen
        {"abc" + std::string(60, ' '), 40, {63}}, // trailing blanks make no extra line
        {"aaa bbb ccc", 5, {4, 4, 3}},
        {"aaa   bbb", 4, {6, 3}},
        {"\tab\tcd", 8, {1, 3, 2}},          // tab stops restart on every display line
        {"", 40, {0}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        WrappedList w(cases[i].column);
        Load(w.list, cases[i].text);
        EXPECT_EQ(LineLengths(w.list), cases[i].lengths) << "case " << i;
    }
    WrappedList w(40);
    Load(w.list, std::string(100, 'x'));
    w.list.SetWordWrap(false);
    EXPECT_EQ(w.list.LineCount(), 1);
    EXPECT_EQ(w.owner.Reports.back(), "rewrap");
}

TEST(ParaList, PositionsLinesAndColumns) {
    WrappedList w(10);
    Load(w.list, "first para\naaaa bbbb cccc dddd\nx");
    // Lines: "first para" | "aaaa bbbb " "cccc dddd" | "x"
    ASSERT_EQ(w.list.LineCount(), 4);
    std::int32_t col = 0;
    EXPECT_EQ(w.list.ParaPosToLine(2, 12, col), 3);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(w.list.ParaPosToLine(99, 1, col), 4); // clamped to the last paragraph
    std::int32_t offset = -1;
    EXPECT_EQ(w.list.LineToParaPos(3, offset), 2);
    EXPECT_EQ(offset, 10);
    auto ref = w.list.FindLine(3);
    EXPECT_EQ(ref.Text, "cccc dddd");
    EXPECT_EQ(ref.LineInPara, 2);

    struct Case { std::string text; std::int32_t pos, col; };
    const Case cases[] = {
        {"abc", 0, 1}, {"abc", 1, 1}, {"abc", 3, 3}, {"abc", 6, 6},
        {"\tab", 2, 9}, {"\tab", 3, 10}, {"a\tb", 3, 9}, {"a\t", 5, 11}, {"", 4, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PosToColumn(c.text, c.pos, 8), c.col) << c.text << " " << c.pos;
        if (c.pos >= 1) {
            EXPECT_EQ(ColumnToPos(c.text, c.col, 8), c.pos) << c.text << " " << c.col;
        }
    }
    EXPECT_EQ(ColumnToPos("\tab", 4, 8), 1); // inside a tab: the tab's position
    EXPECT_EQ(ColumnToPos("a\t", 5, 8), 2);  // also inside a trailing tab
    EXPECT_EQ(TrimmedLength("ab \t "), 2);
    EXPECT_EQ(TrimmedLength("   "), 3);
    EXPECT_EQ(BlanksBefore("ab  cd", 5), 2);
    EXPECT_EQ(LengthToLineFeed("ab\ncd"), 3);
    EXPECT_EQ(LengthToLineFeed("abcd"), 4);
}

TEST(ParaList, TypingAndBackspacingMakeOneRecordEach) {
    TParaList list(nullptr, false);
    EXPECT_OK(list.InsertText(1, "a", 1));
    EXPECT_OK(list.InsertText(1, "b", 2));
    EXPECT_OK(list.InsertText(1, "c", 3));
    EXPECT_EQ(list.UndoBuffer().UndoCount(), 1);
    std::int32_t para = 0, pos = 0;
    ASSERT_TRUE(UndoOnce(list, para, pos));
    EXPECT_EQ(Text(list), "");
    EXPECT_FALSE(list.Modified());
    ASSERT_TRUE(RedoOnce(list, para, pos));
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(Text(list), "abc");

    TParaList back(nullptr, false);
    Load(back, "abcdef");
    EXPECT_OK(back.DeleteText(1, 1, 6));
    EXPECT_OK(back.DeleteText(1, 1, 5));
    EXPECT_OK(back.DeleteText(1, 1, 4));
    EXPECT_OK(back.DeleteText(1, 1, 1)); // forward delete elsewhere: a record of its own
    EXPECT_OK(back.DeleteText(1, 1, 1));
    EXPECT_EQ(Text(back), "c");
    EXPECT_EQ(back.UndoBuffer().UndoCount(), 2);
    EXPECT_OK(back.Undo(para, pos));
    EXPECT_EQ(Text(back), "abc");
    EXPECT_OK(back.Undo(para, pos));
    EXPECT_EQ(Text(back), "abcdef");
}

TEST(ParaList, InsertingPastTheEndPadsAndUndoRemovesThePadding) {
    TParaList list(nullptr, false);
    Load(list, "abcde");
    ASSERT_EQ(list.InsertText(1, "XY", 10), TParaResult::Ok);
    EXPECT_EQ(Text(list), "abcde    XY");
    EXPECT_EQ(list.TextSize(), 11);
    std::int32_t para = 0, pos = 0;
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_EQ(Text(list), "abcde");
    EXPECT_EQ(list.TextSize(), 5);
}

TEST(ParaList, SplitWithIndentAndAtTheStart) {
    RecordingOwner owner;
    TParaList list(&owner, false);
    Load(list, "hello   world");
    owner.Reports.clear();
    std::int32_t indent = 10;
    ASSERT_EQ(list.SplitPara(1, true, indent, 4, 9), TParaResult::Ok);
    EXPECT_EQ(indent, 4);
    EXPECT_EQ(Text(list), "hello\n\t\t  world");
    EXPECT_EQ(owner.Reports, std::vector<std::string>{"split 1:9 4"});
    std::int32_t para = 0, pos = 0;
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_EQ(Text(list), "hello   world");
    EXPECT_EQ(para, 1);
    EXPECT_EQ(pos, 9);
    EXPECT_OK(list.Redo(para, pos));
    EXPECT_EQ(Text(list), "hello\n\t\t  world");
    EXPECT_EQ(para, 2);
    EXPECT_EQ(pos, 5);

    indent = 6;
    ASSERT_EQ(list.SplitPara(1, false, indent, 0, 1), TParaResult::Ok);
    EXPECT_EQ(indent, 0);
    EXPECT_EQ(Text(list), "\nhello\n\t\t  world");
}

TEST(ParaList, JoinsAndRegionDeletes) {
    RecordingOwner owner;
    TParaList list(&owner, false);
    Load(list, "one\ntwo\nthree\nfour");
    ASSERT_EQ(list.JoinParas(1, 6), TParaResult::Ok); // past the end: padded
    EXPECT_EQ(Text(list), "one  two\nthree\nfour");
    EXPECT_EQ(owner.Reports.back(), "join 1:6");
    ASSERT_EQ(list.JoinParas(1, 2), TParaResult::Ok); // a join never cuts into the paragraph
    EXPECT_EQ(Text(list), "one  twothree\nfour");
    ASSERT_EQ(list.JoinParas(2, 1), TParaResult::Ok); // nothing after the last paragraph
    ASSERT_EQ(list.DeleteRegion(1, 4, 2, 3), TParaResult::Ok);
    EXPECT_EQ(Text(list), "oneur");

    TParaList whole(nullptr, false);
    Load(whole, "x\na\nb\nc\nd");
    ASSERT_EQ(whole.DeleteRegion(3, 1, 5, 1), TParaResult::Ok); // whole paragraphs
    EXPECT_EQ(Text(whole), "x\na\nd");
    std::int32_t para = 0, pos = 0;
    EXPECT_OK(whole.Undo(para, pos));
    EXPECT_EQ(Text(whole), "x\na\nb\nc\nd");

    TParaList empty(nullptr, false);
    Load(empty, "\nkeep");
    ASSERT_EQ(empty.JoinParas(1, 1), TParaResult::Ok); // an empty paragraph joined: it is deleted
    EXPECT_EQ(Text(empty), "keep");
}

TEST(ParaList, InsertBlockSplitsAtLineBreaks) {
    TParaList list(nullptr, false);
    Load(list, "startend");
    std::int32_t para = 1, pos = 6;
    ASSERT_EQ(list.InsertBlock(para, "A\r\nB\nC\rD", pos), TParaResult::Ok);
    EXPECT_EQ(Text(list), "startA\nB\nC\rDend");
    EXPECT_EQ(para, 3);
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(list.LastChangedLine(), MaxLongInt);
    std::int32_t p = 0, q = 0;
    EXPECT_OK(list.Undo(p, q));
    EXPECT_EQ(Text(list), "startend");

    para = 1, pos = 1;
    ASSERT_EQ(list.InsertBlock(para, "L1\nL2\n", pos), TParaResult::Ok);
    EXPECT_EQ(Text(list), "L1\nL2\nstartend");
    EXPECT_EQ(para, 3);
    EXPECT_EQ(pos, 1);
    para = 3, pos = 9;
    ASSERT_EQ(list.InsertBlock(para, "x\r", pos), TParaResult::Ok); // no line feed: the return is a character
    EXPECT_EQ(list.ParaText(3), "startendx\r");
}

TEST(ParaList, ReplaceTextNotifiesAndUndoesMergedReplacements) {
    RecordingOwner owner;
    TParaList list(&owner, false);
    Load(list, "abcdefgh");
    ASSERT_EQ(list.ReplaceText(1, "X", 3, 2), TParaResult::Ok); // bcd -> X
    EXPECT_EQ(Text(list), "aXefgh");
    EXPECT_EQ(owner.Reports.back(), "del 1:3 2");
    ASSERT_EQ(list.ReplaceText(1, "YYY", 1, 3), TParaResult::Ok); // e -> YYY, right after the new text
    EXPECT_EQ(Text(list), "aXYYYfgh");
    EXPECT_EQ(owner.Reports.back(), "ins 1:4 2");
    EXPECT_EQ(list.UndoBuffer().UndoCount(), 1); // merged
    ASSERT_EQ(list.ReplaceText(1, "Q", 99, 8), TParaResult::Ok); // the old length ends at the paragraph's end
    EXPECT_EQ(Text(list), "aXYYYfgQ");
    ASSERT_EQ(list.ReplaceText(1, "Z", 1, 1), TParaResult::Ok);
    EXPECT_EQ(owner.Reports.back(), "ins 1:1 0");
    std::int32_t para = 0, pos = 0;
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_EQ(Text(list), "abcdefgh");
    EXPECT_FALSE(list.Modified());
    EXPECT_OK(list.Redo(para, pos));
    EXPECT_OK(list.Redo(para, pos));
    EXPECT_EQ(Text(list), "aXYYYfgQ");
    EXPECT_EQ(pos, 9);
}

TEST(ParaList, DeletingTheOnlyParagraphKeepsIt) {
    TParaList list(nullptr, false);
    Load(list, "text");
    ASSERT_EQ(list.DeletePara(1), TParaResult::Ok);
    EXPECT_EQ(list.ParaCount(), 1);
    EXPECT_EQ(Text(list), "");
    std::int32_t para = 0, pos = 0;
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_EQ(Text(list), "text");
}

TEST(ParaList, LimitsAreClampedToSixteenBits) {
    TParaList list(nullptr, false, 100000);
    EXPECT_EQ(list.UndoSize(), 65535);
    list.SetUndoSize(1 << 20);
    EXPECT_EQ(list.UndoSize(), 65535);
    list.SetParaLengthLimit(70000);
    EXPECT_EQ(list.ParaLengthLimit(), 65535);
    EXPECT_EQ(list.AddPara(std::string(70000, 'x'), false), TParaResult::ParaTooLarge);
    EXPECT_EQ(list.ParaCount(), 1);
}

// Each case sets limits on a small text, runs one operation and expects its code; a refused
// operation leaves the text, the sizes and the history as they were.
TEST(ParaList, LimitCodes) {
    struct Case {
        const char* name;
        std::string text;
        std::int32_t paraLimit, byteLimit, lengthLimit;
        std::function<TParaResult(TParaList&)> op;
        TParaResult expected;
    };
    auto insert = [](std::int32_t p, std::string s, std::int32_t pos) {
        return [=](TParaList& l) { return l.InsertText(p, s, pos); };
    };
    const Case cases[] = {
        {"insert within limits", "abc", MaxLongInt, 100, 10, insert(1, "de", 4), TParaResult::Ok},
        {"insert beyond length", "abc", MaxLongInt, 100, 4, insert(1, "de", 4), TParaResult::ParaTooLarge},
        {"padding counts", "abc", MaxLongInt, 100, 8, insert(1, "de", 8), TParaResult::ParaTooLarge},
        {"padding counts bytes", "abc", MaxLongInt, 8, 100, insert(1, "de", 8), TParaResult::TextTooLarge},
        {"insert beyond bytes", "abc", MaxLongInt, 4, 100, insert(1, "de", 4), TParaResult::TextTooLarge},
        {"empty last paragraph may be added", "", 1, 100, 100,
         [](TParaList& l) { return l.InsertParaBefore(1, "x"); }, TParaResult::Ok},
        {"paragraph limit", "abc", 1, 100, 100,
         [](TParaList& l) { return l.InsertParaBefore(1, "x"); }, TParaResult::TooManyParas},
        {"paragraph longer than allowed", "abc", MaxLongInt, 100, 3,
         [](TParaList& l) { return l.InsertParaBefore(1, "wxyz"); }, TParaResult::ParaTooLarge},
        {"editing beyond the paragraph limit", "a\nb\nc\nd", 2, 100, 100, insert(4, "x", 1), TParaResult::TooManyParas},
        {"editing within the paragraph limit", "a\nb\nc\nd", 2, 100, 100, insert(2, "x", 1), TParaResult::Ok},
        {"split needs a paragraph", "abc\nd", 2, 100, 100,
         [](TParaList& l) { std::int32_t i = 0; return l.SplitPara(1, false, i, 0, 2); }, TParaResult::TooManyParas},
        {"split needs two bytes", "abcd", MaxLongInt, 5, 100,
         [](TParaList& l) { std::int32_t i = 0; return l.SplitPara(1, false, i, 0, 2); }, TParaResult::TextTooLarge},
        {"join too long", "abc\ndef", MaxLongInt, 100, 5,
         [](TParaList& l) { return l.JoinParas(1, 4); }, TParaResult::CannotJoin},
        {"join near the byte limit", "abc\ndef", MaxLongInt, 8, 100,
         [](TParaList& l) { return l.JoinParas(1, 4); }, TParaResult::Ok},
        {"join padding beyond bytes", "abc\ndef", MaxLongInt, 8, 100,
         [](TParaList& l) { return l.JoinParas(1, 7); }, TParaResult::CannotJoin},
        {"region joined too long", "abcdef\nx\nghijkl", MaxLongInt, 100, 6,
         [](TParaList& l) { return l.DeleteRegion(1, 5, 3, 2); }, TParaResult::CannotJoin},
        {"replace growing too long", "abc", MaxLongInt, 100, 4,
         [](TParaList& l) { return l.ReplaceText(1, "xyz", 1, 2); }, TParaResult::ParaTooLarge},
        {"replace beyond bytes", "abc", MaxLongInt, 4, 100,
         [](TParaList& l) { return l.ReplaceText(1, "xyz", 1, 2); }, TParaResult::TextTooLarge},
        {"replace shrinking", "abc", MaxLongInt, 3, 3,
         [](TParaList& l) { return l.ReplaceText(1, "x", 2, 2); }, TParaResult::Ok},
        {"block respects the paragraph limit", "abc", 2, 100, 100,
         [](TParaList& l) { std::int32_t p = 1, q = 4; return l.InsertBlock(p, "1\n2\n3", q); }, TParaResult::TooManyParas},
    };
    for (const auto& c : cases) {
        TParaList list(nullptr, false);
        Load(list, c.text);
        list.SetParaLimit(c.paraLimit);
        list.SetByteLimit(c.byteLimit);
        list.SetParaLengthLimit(c.lengthLimit);
        auto size = list.TextSize();
        TParaResult result = c.op(list);
        EXPECT_EQ(result, c.expected) << c.name;
        if (result != TParaResult::Ok && std::string(c.name).find("block") == std::string::npos) {
            EXPECT_EQ(Text(list), c.text) << c.name;
            EXPECT_EQ(list.TextSize(), size) << c.name;
            EXPECT_EQ(list.UndoBuffer().UndoCount(), 0) << c.name;
            EXPECT_FALSE(list.Modified()) << c.name;
        }
        CheckList(list);
    }
}

// Bookmarks in, before and after the changed place, through each kind of change.
TEST(ParaList, BookmarksFollowEveryChange) {
    using BM = TParaList::TBookmark;
    struct Case {
        const char* name;
        std::function<void(TParaList&)> op;
        BM expected[6];
    };
    // Text "abcdef" "ghijkl" "mnopqr"; bookmarks 0..5 at 1:2 1:5 2:1 2:4 2:6 3:3.
    const Case cases[] = {
        {"insert", [](TParaList& l) { EXPECT_OK(l.InsertText(2, "XY", 4)); },
         {{1, 2}, {1, 5}, {2, 1}, {2, 6}, {2, 8}, {3, 3}}},
        {"delete", [](TParaList& l) { EXPECT_OK(l.DeleteText(2, 3, 3)); },
         {{1, 2}, {1, 5}, {2, 1}, {0, 0}, {2, 3}, {3, 3}}},
        {"replace shorter", [](TParaList& l) { EXPECT_OK(l.ReplaceText(2, "X", 3, 2)); },
         {{1, 2}, {1, 5}, {2, 1}, {0, 0}, {2, 4}, {3, 3}}},
        {"replace longer", [](TParaList& l) { EXPECT_OK(l.ReplaceText(2, "WXYZ", 1, 2)); },
         {{1, 2}, {1, 5}, {2, 1}, {2, 7}, {2, 9}, {3, 3}}},
        {"split", [](TParaList& l) { std::int32_t i = 2; EXPECT_OK(l.SplitPara(2, false, i, 0, 4)); },
         {{1, 2}, {1, 5}, {2, 1}, {3, 3}, {3, 5}, {4, 3}}},
        {"paragraph before", [](TParaList& l) { EXPECT_OK(l.InsertParaBefore(2, "new")); },
         {{1, 2}, {1, 5}, {3, 1}, {3, 4}, {3, 6}, {4, 3}}},
        {"paragraph after", [](TParaList& l) { EXPECT_OK(l.InsertParaAfter(2, "new")); },
         {{1, 2}, {1, 5}, {2, 1}, {2, 4}, {2, 6}, {4, 3}}},
        {"paragraph deleted", [](TParaList& l) { EXPECT_OK(l.DeletePara(2)); },
         {{1, 2}, {1, 5}, {0, 0}, {0, 0}, {0, 0}, {2, 3}}},
        {"join", [](TParaList& l) { EXPECT_OK(l.JoinParas(1, 7)); },
         {{1, 2}, {1, 5}, {1, 7}, {1, 10}, {1, 12}, {2, 3}}},
        {"region", [](TParaList& l) { EXPECT_OK(l.DeleteRegion(1, 4, 2, 5)); },
         {{1, 2}, {0, 0}, {0, 0}, {0, 0}, {1, 5}, {2, 3}}},
        {"block", [](TParaList& l) { std::int32_t p = 2, q = 3; EXPECT_OK(l.InsertBlock(p, "X\nY", q)); },
         {{1, 2}, {1, 5}, {2, 1}, {3, 3}, {3, 5}, {4, 3}}},
        {"undo of a join", [](TParaList& l) { EXPECT_OK(l.JoinParas(1, 7)); std::int32_t p, q; EXPECT_OK(l.Undo(p, q)); },
         {{1, 2}, {1, 5}, {0, 0}, {0, 0}, {0, 0}, {3, 3}}},
    };
    for (const auto& c : cases) {
        TParaList list(nullptr, false);
        Load(list, "abcdef\nghijkl\nmnopqr");
        const BM start[6] = {{1, 2}, {1, 5}, {2, 1}, {2, 4}, {2, 6}, {3, 3}};
        for (int n = 0; n < 6; ++n) list.SetBookmark(n, start[n].Para, start[n].Pos);
        c.op(list);
        for (int n = 0; n < 6; ++n) {
            EXPECT_EQ(list.Bookmark(n).Para, c.expected[n].Para) << c.name << " bookmark " << n;
            EXPECT_EQ(list.Bookmark(n).Pos, c.expected[n].Pos) << c.name << " bookmark " << n;
        }
    }
    TParaList list(nullptr, true);
    list.SetWrapColumn(4);
    Load(list, "aaa bbb ccc");
    list.SetBookmarkFromLine(7, 2, 2);
    EXPECT_EQ(list.Bookmark(7).Para, 1);
    EXPECT_EQ(list.Bookmark(7).Pos, 6);
    list.SetBookmark(10, 1, 1); // ignored
    EXPECT_EQ(list.Bookmark(10).Para, 0);
}

TEST(ParaList, CaretPositionsAfterDeletions) {
    TParaList list(nullptr, false);
    Load(list, "a\nb\nc");
    struct Case { std::int32_t para, pos, expectPara, expectPos; };
    for (auto c : {Case{2, 5, 2, 1}, Case{3, 2, 2, 2}, Case{1, 3, 1, 3}}) {
        list.AdjustPosParaDeleted(2, c.para, c.pos);
        EXPECT_EQ(c.para, c.expectPara);
        EXPECT_EQ(c.pos, c.expectPos);
    }
    for (auto c : {Case{1, 4, 1, 3}, Case{1, 9, 1, 6}, Case{1, 2, 1, 2}, Case{2, 9, 2, 9}}) {
        TParaList::AdjustPosTextDeleted(1, 3, 3, c.para, c.pos);
        EXPECT_EQ(c.pos, c.expectPos);
    }
}

TEST(ParaList, UndoAfterSavingLeavesTheTextModified) {
    TParaList list(nullptr, false);
    EXPECT_OK(list.InsertText(1, "abc", 1));
    list.SetModified(false);
    EXPECT_OK(list.InsertText(1, "x", 1));
    std::int32_t para = 0, pos = 0;
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_FALSE(list.Modified()); // back at the saved state
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_TRUE(list.Modified());  // before the save
    EXPECT_OK(list.Redo(para, pos));
    EXPECT_TRUE(list.Modified()); // a replayed change marks the text changed
}

TEST(ParaList, UndoBufferSmallerThanOneRecordKeepsNoHistory) {
    TParaList list(nullptr, false, 10);
    EXPECT_EQ(list.InsertText(1, "abc", 1), TParaResult::Ok);
    std::int32_t para = 0, pos = 0;
    EXPECT_FALSE(UndoOnce(list, para, pos));
    EXPECT_EQ(Text(list), "abc");
    std::int32_t indent = 0;
    EXPECT_EQ(list.SplitPara(1, false, indent, 0, 2), TParaResult::Ok);
    EXPECT_EQ(Text(list), "a\nbc");
    EXPECT_FALSE(UndoOnce(list, para, pos));
}

TEST(ParaList, RecodingIsNoEditButMovesLineBreaks) {
    WrappedList w(10);
    Load(w.list, "aaaa_bbbb_cccc\n\nxy");
    EXPECT_OK(w.list.InsertText(3, "z", 3));
    w.list.SetModified(false);
    int calls = 0;
    // A character that becomes a blank gives the line a place to break.
    w.list.RecodeText([&](char* text, std::size_t n) {
        ++calls;
        for (std::size_t i = 0; i < n; ++i)
            if (text[i] == '_') text[i] = ' ';
    });
    EXPECT_EQ(calls, 2) << "empty paragraphs are passed over";
    EXPECT_EQ(Text(w.list), "aaaa bbbb cccc\n\nxyz");
    EXPECT_EQ(LineLengths(w.list), (std::vector<std::int32_t>{10, 4, 0, 3}));
    EXPECT_FALSE(w.list.Modified());
    std::int32_t para = 0, pos = 0;
    ASSERT_TRUE(UndoOnce(w.list, para, pos)); // the typing before it, and nothing more
    EXPECT_EQ(Text(w.list), "aaaa bbbb cccc\n\nxy");
    EXPECT_FALSE(w.list.CanUndo());
    CheckList(w.list);
}

TEST(ParaList, HourglassOnlyAboveTenThousandBytes) {
    std::vector<bool> calls;
    SetBusyCursorHook([&](bool busy) { calls.push_back(busy); });
    TParaList list(nullptr, true);
    for (int i = 0; i < 99; ++i) EXPECT_OK(list.AddPara(std::string(99, 'x'), false)); // 99 * 101 = 9999
    EXPECT_OK(list.InsertText(list.ParaCount(), "x", 1));                              // 10000
    ASSERT_EQ(list.TextSize(), 10000);
    list.ReWrapAll();
    EXPECT_TRUE(calls.empty());
    EXPECT_OK(list.InsertText(1, "y", 1));
    list.SetWrapColumn(30);
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
    SetBusyCursorHook(nullptr);
    CheckList(list);
}

TEST(ParaList, ReportsTheChangedLines) {
    WrappedList w(10);
    Load(w.list, "zero\naaaa bbbb cccc dddd\nlast");
    // "aaaa bbbb " "cccc dddd" at lines 2 and 3
    EXPECT_OK(w.list.InsertText(2, "x", 12));
    EXPECT_EQ(w.list.FirstChangedLine(), 3);
    EXPECT_EQ(w.list.LastChangedLine(), 3);
    EXPECT_OK(w.list.DeleteText(2, 6, 1)); // "bbbb " moves up a line
    EXPECT_EQ(w.list.FirstChangedLine(), 2);
    EXPECT_OK(w.list.InsertText(2, "yyyyyyyy", 1)); // one line more
    EXPECT_EQ(w.list.LastChangedLine(), MaxLongInt);
    CheckList(w.list);
}

TEST(ParaList, TypingIntoAFullBufferNeverSkipsAChange) {
    TParaList list(nullptr, false, 34); // room for one record of 18 characters
    const std::string typed = "abcdefghijklmnopqrs";
    for (std::size_t i = 0; i < typed.size(); ++i)
        EXPECT_OK(list.InsertText(1, typed.substr(i, 1), static_cast<std::int32_t>(i) + 1));
    std::int32_t para = 0, pos = 0;
    ASSERT_TRUE(UndoOnce(list, para, pos));
    EXPECT_EQ(Text(list), typed.substr(0, 18)); // a text the typing went through
    EXPECT_FALSE(UndoOnce(list, para, pos));
}

TEST(ParaList, GroupNumbersThatWrapStayApart) {
    TParaList list(nullptr, false, 65535);
    std::vector<std::string> texts{""};
    for (int i = 0; i < 300; ++i) {
        EXPECT_OK(list.InsertText(1, std::string(1, static_cast<char>('a' + i % 26)), 1)); // never merges
        texts.push_back(Text(list));
    }
    std::int32_t para = 0, pos = 0;
    for (int i = 0; i < 255; ++i) EXPECT_OK(list.Undo(para, pos));
    ASSERT_EQ(Text(list), texts[45]);
    EXPECT_OK(list.InsertText(1, "!", 1)); // its group number comes round to that of the record below
    EXPECT_OK(list.Undo(para, pos));
    EXPECT_EQ(Text(list), texts[45]);
}
