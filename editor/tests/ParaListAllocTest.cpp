// Allocation failures: the test binary's operator new can be told to fail the n-th
// allocation from now. Each operation is run with every n until it succeeds; a failing run must
// report 263 and leave the text as it was.
#include "ParaListTestSupport.h"

#include "editor/ParaList.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
long FailCountdown = -1; // allocations left before the one that fails; -1 never fails

void* Allocate(std::size_t n) {
    if (FailCountdown >= 0 && FailCountdown-- == 0) throw std::bad_alloc();
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

using namespace editor;
using namespace editor_test;

TEST(ParaListAlloc, FailedAllocationsChangeNothing) {
    struct Case {
        const char* name;
        std::function<int(TParaList&)> op;
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
    };
    for (const auto& c : cases) {
        bool succeeded = false;
        for (long n = 0; n < 200 && !succeeded; ++n) {
            TParaList list(nullptr, true);
            list.SetWrapColumn(10);
            Load(list, "first paragraph\nsecond paragraph of several words\nthird");
            const std::string before = Text(list);
            FailCountdown = n;
            int r = c.op(list);
            FailCountdown = -1;
            SCOPED_TRACE(std::string(c.name) + " failing from allocation " + std::to_string(n));
            ASSERT_NO_FATAL_FAILURE(CheckList(list));
            if (r == 0) {
                succeeded = true;
                continue;
            }
            ASSERT_EQ(r, 263);
            EXPECT_EQ(Text(list), before);
            // Nothing that changes the text was recorded either.
            std::int32_t para = 0, pos = 0;
            while (list.Undo(para, pos)) {}
            EXPECT_EQ(Text(list), before);
        }
        EXPECT_TRUE(succeeded) << c.name;
    }
}

TEST(ParaListAlloc, ReWrapAllStaysConsistentWhenItFails) {
    TParaList list(nullptr, true);
    for (int i = 0; i < 50; ++i) list.AddPara("some words to wrap into several lines", false);
    FailCountdown = 20;
    EXPECT_THROW(list.SetWrapColumn(8), rtl::EOutOfMemory);
    FailCountdown = -1;
    std::int32_t lines = 0;
    for (auto* p = list.FirstPara(); p; p = p->Next()) lines += p->LineCount();
    EXPECT_EQ(list.LineCount(), lines);
    list.ReWrapAll();
    CheckList(list);
}
