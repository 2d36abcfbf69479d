// The paragraph index against a plain walk of the list (CheckAgainstWalk): after random
// changes, undos and redos, every paragraph and every display line must be the one the walk
// finds.
#include "ParaListTestSupport.h"

#include "editor/ParaList.h"

#include <gtest/gtest.h>

#include <random>

using namespace editor;
using namespace editor_test;

TEST(ParaIndex, FindsEveryParagraphAndLineAsAWalkDoes) {
    struct Case {
        unsigned Seed;
        bool Wrap;
        std::int32_t Column;
        int Paragraphs; // loaded before the edits
        std::int32_t UndoSize;
        bool Bulk; // pastes of many lines at one place and deletions of many paragraphs
    };
    const Case cases[] = {
        {1, true, 7, 0, 8192, false},
        {2, true, 12, 300, 8192, false},
        {3, false, 80, 300, 2000, false},
        {4, true, 5, 40, 65535, false},
        {5, true, 30, 1000, 600, false},
        {6, true, 9, 400, 65535, true},
        {7, false, 80, 600, 65535, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case with seed " + std::to_string(c.Seed));
        TParaList list(nullptr, c.Wrap, c.UndoSize);
        list.SetWrapColumn(c.Column);
        std::string text = "the quick brown fox jumps over the lazy dog\n\nsome-hyphenated-words\tand tabs";
        for (int i = 0; i < c.Paragraphs; ++i) text += "\nline " + std::to_string(i) + std::string(i % 37, 'x') + " end";
        Load(list, text);
        RandomEditor editor(list, c.Seed);
        std::mt19937 rng(c.Seed);
        std::int32_t para = 0, pos = 0;
        for (int step = 0; step < 250; ++step) {
            switch (editor.Below(8)) {
            case 0: EXPECT_OK(list.Undo(para, pos)); break;
            case 1: EXPECT_OK(list.Redo(para, pos)); break;
            case 2: // paragraphs added at the end, as a load does, between other changes
                for (int i = editor.Below(30); i > 0; --i) EXPECT_OK(list.AddPara(editor.Word(20), false));
                break;
            case 3:
                if (c.Bulk) {
                    // Enough paragraphs in one place to outgrow what the index keeps together,
                    // or to empty what it had.
                    std::int32_t p = 1 + editor.Below(list.ParaCount());
                    if (editor.Below(2)) {
                        std::string block;
                        for (int i = 70 + editor.Below(150); i > 0; --i) block += editor.Word(12) + "\n";
                        std::int32_t at = 1 + editor.Below(list.ParaLength(p) + 1);
                        EXPECT_OK(list.InsertBlock(p, block, at));
                    } else {
                        const std::int32_t last = std::min(list.ParaCount(), p + 40 + editor.Below(300));
                        EXPECT_OK(list.DeleteRegion(p, 1 + editor.Below(3), last, 1 + editor.Below(3)));
                    }
                    break;
                }
                [[fallthrough]];
            default: editor.Edit(); break;
            }
            SCOPED_TRACE("step " + std::to_string(step));
            ASSERT_NO_FATAL_FAILURE(CheckAgainstWalk(list, rng));
        }
        // Every way back and forth through the history lands on an indexed list too.
        while (UndoOnce(list, para, pos)) {}
        ASSERT_NO_FATAL_FAILURE(CheckAgainstWalk(list, rng));
        while (RedoOnce(list, para, pos)) {}
        ASSERT_NO_FATAL_FAILURE(CheckAgainstWalk(list, rng));
    }
}
