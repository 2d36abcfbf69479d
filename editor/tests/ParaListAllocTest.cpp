// Allocation failures: the test binary's operator new can be told to fail the n-th
// allocation from now. Each operation is run with every n until it succeeds; a failing run must
// report 263 and leave the text as it was.
#include "ParaListTestSupport.h"

#include "editor/ParaList.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>

namespace {
long FailCountdown = -1; // allocations left before the one that fails; -1 never fails
bool FailOn = false;     // every allocation after that one fails too

void* Allocate(std::size_t n) {
    if (FailCountdown >= 0 && FailCountdown-- == 0) {
        if (FailOn) FailCountdown = 0;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
// The library's temporary buffers come from the no-throw forms; they must pair with the above.
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

using namespace editor;
using namespace editor_test;

TEST(ParaListAlloc, FailedAllocationsChangeNothing) {
    struct Case {
        const char* name;
        std::function<TParaResult(TParaList&)> op;
    };
    const Case cases[] = {
        {"insert", [](TParaList& l) { return l.InsertText(2, "inserted words ", 9); }},
        {"insert padded", [](TParaList& l) { return l.InsertText(2, "x", 60); }},
        {"delete", [](TParaList& l) { return l.DeleteText(2, 7, 3); }},
        {"replace", [](TParaList& l) { return l.ReplaceText(2, "a longer replacement", 4, 6); }},
        {"paragraph before", [](TParaList& l) { return l.InsertParaBefore(2, "new paragraph text"); }},
        {"paragraph after", [](TParaList& l) { return l.InsertParaAfter(2, "new paragraph text"); }},
        {"split", [](TParaList& l) { std::int32_t i = 0; return l.SplitPara(2, true, i, 0, 12); }},
        {"join", [](TParaList& l) { return l.JoinParas(1, 30); }},
        {"region", [](TParaList& l) { return l.DeleteRegion(1, 7, 3, 3); }},
        {"region from a start", [](TParaList& l) { return l.DeleteRegion(1, 1, 2, 8); }},
    };
    for (const auto& c : cases) {
        bool succeeded = false;
        for (long n = 0; n < 200 && !succeeded; ++n) {
            TParaList list(nullptr, true);
            list.SetWrapColumn(10);
            Load(list, "first paragraph\nsecond paragraph of several words\nthird");
            const std::string before = Text(list);
            FailCountdown = n;
            TParaResult r = c.op(list);
            FailCountdown = -1;
            SCOPED_TRACE(std::string(c.name) + " failing from allocation " + std::to_string(n));
            ASSERT_NO_FATAL_FAILURE(CheckList(list));
            if (r == TParaResult::Ok) {
                succeeded = true;
                continue;
            }
            ASSERT_EQ(r, TParaResult::OutOfMemory);
            EXPECT_EQ(Text(list), before);
            // Nothing was recorded either: no undo step that changes nothing.
            EXPECT_FALSE(list.CanUndo());
            std::int32_t para = 0, pos = 0;
            while (UndoOnce(list, para, pos)) {}
            EXPECT_EQ(Text(list), before);
        }
        EXPECT_TRUE(succeeded) << c.name;
    }
}

TEST(ParaListAlloc, ReWrapAllStaysConsistentWhenItFails) {
    TParaList list(nullptr, true);
    for (int i = 0; i < 50; ++i) EXPECT_OK(list.AddPara("some words to wrap into several lines", false));
    FailCountdown = 20;
    EXPECT_THROW(list.SetWrapColumn(8), rtl::EOutOfMemory);
    FailCountdown = -1;
    std::int32_t lines = 0;
    for (auto* p = list.FirstPara(); p; p = p->Next()) lines += p->LineCount();
    EXPECT_EQ(list.LineCount(), lines);
    list.ReWrapAll();
    CheckList(list);
}

// An undo or redo whose step cannot get memory puts back the steps of its group already
// replayed: the text, the history and the caret position stay as they were, and a later try
// replays the whole group.
TEST(ParaListAlloc, FailedUndoAndRedoChangeNothing) {
    for (bool redo : {false, true}) {
        bool succeeded = false;
        for (long n = 0; n < 300 && !succeeded; ++n) {
            TParaList list(nullptr, true);
            list.SetWrapColumn(10);
            // Texts beyond the short-string buffer, so that every step allocates.
            Load(list, "the first paragraph is long enough\nsecond paragraph of several "
                       "words\nthe third one is long as well");
            const std::string original = Text(list);
            EXPECT_OK(list.DeleteRegion(1, 7, 3, 5));
            const std::string edited = Text(list);
            std::int32_t para = 0, pos = 0;
            if (redo) EXPECT_OK(list.Undo(para, pos));
            const std::string before = redo ? original : edited;
            const std::int32_t undos = list.UndoBuffer().UndoCount();
            para = -1, pos = -1;
            FailCountdown = n;
            TParaResult r = redo ? list.Redo(para, pos) : list.Undo(para, pos);
            FailCountdown = -1;
            SCOPED_TRACE(std::string(redo ? "redo" : "undo") + " failing from allocation " +
                         std::to_string(n));
            ASSERT_NO_FATAL_FAILURE(CheckList(list));
            if (r == TParaResult::Ok) {
                succeeded = true;
                EXPECT_EQ(Text(list), redo ? edited : original);
                continue;
            }
            ASSERT_EQ(r, TParaResult::OutOfMemory);
            EXPECT_EQ(Text(list), before);
            EXPECT_EQ(list.UndoBuffer().UndoCount(), undos);
            EXPECT_EQ(para, -1);
            EXPECT_EQ(pos, -1);
            EXPECT_OK(redo ? list.Redo(para, pos) : list.Undo(para, pos));
            EXPECT_EQ(Text(list), redo ? edited : original);
        }
        EXPECT_TRUE(succeeded);
    }
}

// The index needs no memory to stay right: refused it for the groups of a load, for new groups
// after a change of wrapping and for splitting a group grown long, it finds every paragraph and line from
// the groups it has, and edits after that split them as memory allows.
TEST(ParaListAlloc, TheIndexStaysRightWithoutMemoryForItsGroups) {
    std::mt19937 rng(3);
    TParaList list(nullptr, true);
    list.SetWrapColumn(12);
    for (int i = 0; i < 3000; ++i)
        EXPECT_OK(list.AddPara("paragraph " + std::to_string(i) + " of a long load", false));
    FailOn = true;
    FailCountdown = 0;
    (void)list.FindPara(1500); // the load's paragraphs join the index here
    FailCountdown = -1;
    ASSERT_NO_FATAL_FAILURE(CheckAgainstWalk(list, rng));

    // Every paragraph one line again, counted in the groups there are.
    FailCountdown = 0;
    list.SetWordWrap(false);
    FailCountdown = -1;
    FailOn = false;
    ASSERT_NO_FATAL_FAILURE(CheckList(list));
    ASSERT_NO_FATAL_FAILURE(CheckAgainstWalk(list, rng));

    RandomEditor editor(list, 11);
    for (int step = 0; step < 60; ++step) {
        std::int32_t para = 1 + editor.Below(list.ParaCount()), pos = 1;
        EXPECT_OK(list.InsertBlock(para, "a\nfew\nnew lines\n", pos));
        editor.Edit();
    }
    ASSERT_NO_FATAL_FAILURE(CheckAgainstWalk(list, rng));
}
