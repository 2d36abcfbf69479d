#include "rtl/ScopeGuards.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

// Leaves its scope normally, or by throwing when asked, with a guard counting its runs.
void Leave(int& runs, bool dismiss, bool fail) {
    rtl::TScopeExit guard([&runs] { ++runs; });
    if (dismiss) guard.Dismiss();
    if (fail) throw std::runtime_error("failed");
}

} // namespace

TEST(ScopeGuards, TheActionRunsOnEveryWayOutUnlessDismissed) {
    struct TCase {
        bool Dismiss, Fail;
        int Runs;
    } cases[] = {{false, false, 1}, {false, true, 1}, {true, false, 0}, {true, true, 0}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        int runs = 0;
        try {
            Leave(runs, cases[i].Dismiss, cases[i].Fail);
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(runs, cases[i].Runs) << "case " << i;
    }
}

TEST(ScopeGuards, AFailingActionReachesTheCallerOnlyWhenNothingElseFailed) {
    auto failing = [](bool fail) {
        rtl::TScopeExit guard([] { throw std::logic_error("clean-up failed"); });
        if (fail) throw std::runtime_error("first fault");
    };
    EXPECT_THROW(failing(false), std::logic_error);
    try {
        failing(true);
        FAIL() << "nothing thrown";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "first fault");
    }
}

TEST(ScopeGuards, UpdateBracketsNestAndCloseOnAThrow) {
    struct TTarget {
        int Depth = 0, Ends = 0;
        void BeginUpdate() { ++Depth; }
        void EndUpdate() {
            --Depth;
            ++Ends;
        }
    } target;
    try {
        rtl::TUpdateGuard outer(target);
        rtl::TUpdateGuard inner(target);
        EXPECT_EQ(target.Depth, 2);
        throw std::runtime_error("mid-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(target.Depth, 0);
    EXPECT_EQ(target.Ends, 2);
}
