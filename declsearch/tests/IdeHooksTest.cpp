#include "declsearch/IdeHooks.h"

#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <string>

using namespace declsearch;

namespace {

int Callback(void* object, const char* name) {
    *static_cast<std::string*>(object) = name;
    return 7;
}

void ExpectAllAbsentGiveNothing(const TIdeHooks& hooks) {
    std::string seen;
    EXPECT_EQ(hooks.SetIDEKeyHook("SearchExecute", "Search Execute", 123, &Callback, &seen), 0);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(hooks.GetIDEParamStr("FontName"), "");
    EXPECT_EQ(hooks.GetIDEParamInt("TabRack"), 0);
    EXPECT_EQ(hooks.TabRack(), 0);
    EXPECT_EQ(hooks.GetIDEShortCut("Ctrl+X"), 0);
    hooks.GotoIDELine("C:\\a.pas", 1, 1);
    hooks.IDEActivate(0);
}

} // namespace

TEST(DeclIdeHooks, WithoutTheHookLibraryEveryWrapperDoesNothing) {
    testing_support::TempWinRoot root;
    TIdeHooks hooks;
    EXPECT_FALSE(hooks.Load("C:\\nowhere\\libdelvo32.so"));
    EXPECT_FALSE(hooks.Loaded());
    ExpectAllAbsentGiveNothing(hooks);

    // The start-up step looks beside the module that holds it: the test program has none there.
    LoadIdeHooks();
    EXPECT_FALSE(IdeHooks().Loaded());
    ExpectAllAbsentGiveNothing(IdeHooks());
    FreeIdeHooks();
}

TEST(DeclIdeHooks, BindsWhatTheHookLibraryHasAndSkipsTheRest) {
    TIdeHooks hooks;
    ASSERT_TRUE(hooks.Load(rtl::WinPath(DECLSEARCH_HOOK_FIXTURE_DIR) + "\\libdelvo32.so"));
    ASSERT_TRUE(hooks.Loaded());
    EXPECT_NE(hooks.Procs().SetIDEKeyHook, nullptr);
    EXPECT_NE(hooks.Procs().GotoIDELine, nullptr);
    EXPECT_EQ(hooks.Procs().GetIDEShortCut, nullptr);
    EXPECT_EQ(hooks.Procs().IDEActivate, nullptr);
    EXPECT_EQ(hooks.Procs().FreeIDEMenu, nullptr);

    std::string seen;
    EXPECT_EQ(hooks.SetIDEKeyHook("SearchResults", "Search Results", 0x6052, &Callback, &seen), 7);
    EXPECT_EQ(seen, "SearchResults");
    hooks.GotoIDELine("C:\\proj\\unit1.pas", 12, 5);
    auto calls = rtl::GetProcAddressAs<const char* (*)()>(hooks.Module(), "FixtureCalls");
    ASSERT_NE(calls, nullptr);
    EXPECT_EQ(std::string(calls()), "key:SearchResults,Search Results,24658;goto:C:\\proj\\unit1.pas,12,5;");

    EXPECT_EQ(hooks.GetIDEParamStr("FontName"), "Courier New");
    EXPECT_EQ(hooks.GetIDEShortCut("Ctrl+X"), 0); // absent
    hooks.IDEActivate(1);                         // absent

    auto setTabRack = rtl::GetProcAddressAs<void (*)(int)>(hooks.Module(), "FixtureSetTabRack");
    ASSERT_NE(setTabRack, nullptr);
    struct {
        int stored, width;
    } tabs[] = {{4, 4}, {0, 0}, {255, 255}, {256, 255}, {100000, 255}, {-3, 0}};
    for (auto t : tabs) {
        setTabRack(t.stored);
        EXPECT_EQ(hooks.TabRack(), t.width) << t.stored;
    }

    hooks.Free();
    EXPECT_FALSE(hooks.Loaded());
    ExpectAllAbsentGiveNothing(hooks);
}
