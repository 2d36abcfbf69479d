// Random edits with fixed seeds: every change must leave the line starts of a full re-wrap and
// consistent counts, and undo and redo must walk back and forth through the same texts.
#include "ParaListTestSupport.h"

#include "editor/ParaList.h"

#include <gtest/gtest.h>

#include <random>

using namespace editor;
using namespace editor_test;

namespace {

std::vector<std::string> DisplayLines(TParaList& list) {
    std::vector<std::string> lines;
    for (std::int32_t l = 1; l <= list.LineCount(); ++l) lines.emplace_back(list.FindLine(l).Text);
    return lines;
}

const char* const Start = "the quick brown fox jumps over the lazy dog\n\nsome-hyphenated-words and\ttabs\tin it\nend";

} // namespace

TEST(ParaListRandom, EditsMatchAFullReWrap) {
    struct Setup { unsigned seed; std::int32_t column; std::uint8_t tab; };
    for (auto s : {Setup{1, 5, 4}, Setup{2, 8, 8}, Setup{3, 13, 4}, Setup{4, 80, 8}}) {
        TParaList list(nullptr, true);
        list.SetWrapColumn(s.column);
        list.SetTabSize(s.tab);
        Load(list, Start);
        RandomEditor editor(list, s.seed);
        for (int step = 0; step < 400; ++step) {
            std::string what = editor.Edit();
            SCOPED_TRACE("seed " + std::to_string(s.seed) + " step " + std::to_string(step) + " op " + what);
            ASSERT_NO_FATAL_FAILURE(CheckList(list));
        }
    }
}

// A single text change reports a range outside which no display line changed.
TEST(ParaListRandom, ChangedRangeCoversEveryChangedLine) {
    TParaList list(nullptr, true);
    list.SetWrapColumn(7);
    Load(list, Start);
    std::mt19937 rng(11);
    for (int step = 0; step < 600; ++step) {
        std::int32_t para = 1 + static_cast<std::int32_t>(rng() % list.ParaCount());
        std::int32_t pos = 1 + static_cast<std::int32_t>(rng() % (list.ParaLength(para) + 1));
        auto before = DisplayLines(list);
        switch (rng() % 3) {
        case 0: EXPECT_OK(list.InsertText(para, std::string(1 + rng() % 3, "ab -"[rng() % 4]), pos)); break;
        case 1: EXPECT_OK(list.DeleteText(para, 1 + rng() % 3, pos)); break;
        default: EXPECT_OK(list.ReplaceText(para, std::string(rng() % 4, 'r'), rng() % 4, pos)); break;
        }
        if (list.ParaLength(para) == 0 && rng() % 2) EXPECT_OK(list.InsertText(para, "refill me with words", 1));
        auto after = DisplayLines(list);
        std::int32_t first = list.FirstChangedLine(), last = list.LastChangedLine();
        SCOPED_TRACE("step " + std::to_string(step));
        for (std::int32_t l = 1; l < first && l <= static_cast<std::int32_t>(after.size()); ++l)
            ASSERT_EQ(after[l - 1], before[l - 1]) << "line " << l << " before " << first;
        if (last != MaxLongInt) {
            ASSERT_EQ(after.size(), before.size());
            for (std::size_t l = last; l < after.size(); ++l)
                ASSERT_EQ(after[l], before[l]) << "line " << l + 1 << " after " << last;
        }
    }
}

TEST(ParaListRandom, UndoAllAndRedoAllWithRoomForEverything) {
    for (unsigned seed : {21u, 22u, 23u}) {
        TParaList list(nullptr, true, 65535);
        list.SetWrapColumn(9);
        Load(list, Start);
        const std::string original = Text(list);
        RandomEditor editor(list, seed);
        for (int step = 0; step < 150; ++step) editor.Edit();
        const std::string final = Text(list);
        ASSERT_EQ(list.UndoBuffer().Discarded(), 0) << "seed " << seed;
        std::int32_t para = 0, pos = 0;
        int undos = 0;
        while (UndoOnce(list, para, pos)) ++undos;
        EXPECT_EQ(Text(list), original) << "seed " << seed;
        EXPECT_FALSE(list.Modified()) << "seed " << seed;
        ASSERT_NO_FATAL_FAILURE(CheckList(list));
        int redos = 0;
        while (RedoOnce(list, para, pos)) ++redos;
        EXPECT_EQ(redos, undos);
        EXPECT_EQ(Text(list), final) << "seed " << seed;
        ASSERT_NO_FATAL_FAILURE(CheckList(list));
        EXPECT_EQ(list.UndoBuffer().Discarded(), 0);
    }
}

// With a small buffer old groups are discarded: every undo must still land on a text the
// editing went through, each one earlier than the last, and redo must come back to the end.
TEST(ParaListRandom, SmallUndoBufferStillGivesValidTexts) {
    for (std::int32_t size : {200, 700, 2000}) {
        TParaList list(nullptr, true, size);
        list.SetWrapColumn(11);
        Load(list, Start);
        std::vector<std::string> texts{Text(list)};
        RandomEditor editor(list, 100 + size);
        editor.Texts = &texts;
        for (int step = 0; step < 200; ++step) editor.Edit();
        EXPECT_GT(list.UndoBuffer().Discarded(), 0) << size;
        std::size_t at = texts.size() - 1;
        std::int32_t para = 0, pos = 0;
        while (UndoOnce(list, para, pos)) {
            std::string now = Text(list);
            std::size_t k = at;
            while (k > 0 && texts[k - 1] != now) --k;
            ASSERT_GT(k, 0u) << "size " << size << ": undo reached a text never seen before";
            at = k - 1;
            ASSERT_NO_FATAL_FAILURE(CheckList(list));
        }
        while (RedoOnce(list, para, pos)) ASSERT_NO_FATAL_FAILURE(CheckList(list));
        EXPECT_EQ(Text(list), texts.back()) << size;
    }
}

// Edits, undos, redos, saves and buffer changes mixed: paragraphs move between the list and
// the records, and records are dropped on every path (the sanitizer watches ownership).
TEST(ParaListRandom, MixedUndoRedoAndEditsKeepTheListWhole) {
    for (unsigned seed : {31u, 32u}) {
        TParaList list(nullptr, seed % 2 == 0, 600);
        list.SetWrapColumn(6);
        Load(list, Start);
        RandomEditor editor(list, seed);
        std::int32_t para = 0, pos = 0;
        for (int step = 0; step < 700; ++step) {
            switch (editor.Below(10)) {
            case 0: case 1: EXPECT_OK(list.Undo(para, pos)); break;
            case 2: EXPECT_OK(list.Redo(para, pos)); break;
            case 3: if (editor.Below(10) == 0) list.SetModified(false); break;
            case 4: if (editor.Below(40) == 0) list.SetUndoSize(300 + editor.Below(900)); break;
            default: editor.Edit(); break;
            }
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            ASSERT_NO_FATAL_FAILURE(CheckList(list));
        }
        const std::string now = Text(list);
        int undos = 0;
        while (UndoOnce(list, para, pos)) ++undos;
        while (undos-- > 0) ASSERT_TRUE(RedoOnce(list, para, pos));
        EXPECT_EQ(Text(list), now);
    }
}
