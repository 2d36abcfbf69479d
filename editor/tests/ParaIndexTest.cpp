// The paragraph index against a plain walk of the list: after random changes, undos and redos,
// every paragraph and every display line is looked up in a scattered order (so that the index
// is used, not the walk from the last look-up) and must be the one the walk finds.
#include "ParaListTestSupport.h"

#include "editor/ParaList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

using namespace editor;
using namespace editor_test;

namespace {

struct TWalked {
    const TParaNode* Node;
    std::int32_t Para;
    std::int32_t FirstLine;
};

void CheckAgainstWalk(TParaList& list, std::mt19937& rng) {
    std::vector<TWalked> paras;
    std::vector<std::int32_t> paraOfLine{0};
    std::int32_t line = 1;
    for (const TParaNode* p = list.FirstPara(); p; p = p->Next()) {
        paras.push_back({p, static_cast<std::int32_t>(paras.size()) + 1, line});
        for (std::int32_t k = 0; k < p->LineCount(); ++k) paraOfLine.push_back(paras.back().Para);
        line += p->LineCount();
    }
    ASSERT_EQ(list.ParaCount(), static_cast<std::int32_t>(paras.size()));
    ASSERT_EQ(list.LineCount(), line - 1);

    std::vector<std::int32_t> order(paras.size());
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), rng);
    for (std::int32_t n : order) {
        const TWalked& w = paras[n - 1];
        ASSERT_EQ(list.FindPara(n), w.Node) << "paragraph " << n;
        const std::int32_t pos = 1 + static_cast<std::int32_t>(rng() % (w.Node->Length() + 1));
        std::int32_t col = 0;
        const std::int32_t k = w.Node->LineOfPos(pos);
        ASSERT_EQ(list.ParaPosToLine(n, pos, col), w.FirstLine + k - 1) << "paragraph " << n << " position " << pos;
        ASSERT_EQ(col, pos - w.Node->LineStart(k));
    }
    order.resize(paraOfLine.size() - 1);
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), rng);
    for (std::int32_t l : order) {
        const TWalked& w = paras[paraOfLine[l] - 1];
        const TLineRef ref = list.FindLine(l);
        ASSERT_EQ(ref.Node, w.Node) << "line " << l;
        ASSERT_EQ(ref.Para, w.Para) << "line " << l;
        const std::int32_t inPara = list.WordWrap() ? l - w.FirstLine + 1 : 1;
        ASSERT_EQ(ref.LineInPara, inPara) << "line " << l;
        std::int32_t offset = -1;
        ASSERT_EQ(list.LineToParaPos(l, offset), list.WordWrap() ? w.Para : l) << "line " << l;
        ASSERT_EQ(offset, list.WordWrap() ? w.Node->LineStart(inPara) : 0) << "line " << l;
    }
}

} // namespace

TEST(ParaIndex, FindsEveryParagraphAndLineAsAWalkDoes) {
    struct Case {
        unsigned Seed;
        bool Wrap;
        std::int32_t Column;
        int Paragraphs; // loaded before the edits
        std::int32_t UndoSize;
    };
    const Case cases[] = {
        {1, true, 7, 0, 8192},
        {2, true, 12, 300, 8192},
        {3, false, 80, 300, 2000},
        {4, true, 5, 40, 65535},
        {5, true, 30, 1000, 600},
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
