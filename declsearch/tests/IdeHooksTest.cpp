#include "declsearch/IdeHooks.h"

#include "ide/Ide.h"
#include "ide/IdeSettings.h"
#include "rtl/Paths.h"
#include "rtl/Registry.h"
#include "rtl/SysUtils.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
    EXPECT_EQ(hooks.TabRack(), 8);
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
    } tabs[] = {{4, 4}, {1, 1}, {0, 8}, {255, 255}, {256, 255}, {100000, 255}, {-3, 8}};
    for (auto t : tabs) {
        setTabRack(t.stored);
        EXPECT_EQ(hooks.TabRack(), t.width) << t.stored;
    }

    hooks.Free();
    EXPECT_FALSE(hooks.Loaded());
    ExpectAllAbsentGiveNothing(hooks);
}

TEST(DeclIdeHooks, TheIdeHookLibraryReachesTheRunningIde) {
    testing_support::TempWinRoot root;
    const std::string folder = rtl::ExtractFilePath(rtl::WinPath(DECLSEARCH_DUVIV32_FILE));
    {
        // Loaded while no IDE runs: every procedure is there and does nothing.
        TIdeHooks hooks;
        ASSERT_TRUE(hooks.Load(folder + "libdelvo32.so"));
        for (auto proc : {reinterpret_cast<void*>(hooks.Procs().SetIDEKeyHook),
                          reinterpret_cast<void*>(hooks.Procs().GetIDEShortCut),
                          reinterpret_cast<void*>(hooks.Procs().FreeIDEMenu)})
            EXPECT_NE(proc, nullptr);
        EXPECT_EQ(hooks.TabRack(), 8);
    }

    ide::TIde ide;
    TIdeHooks hooks;
    ASSERT_TRUE(hooks.Load(folder + "libdelvo32.so"));
    EXPECT_EQ(hooks.TabRack(), 8); // the IDE's default
    EXPECT_EQ(hooks.GetIDEParamStr("FontName"), "Courier New");

    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\" + std::string(ide::IdeRegistryKey) + "\\Editor", false));
    reg.WriteInteger("TabRack", 1000);
    EXPECT_EQ(hooks.TabRack(), 255);

    hooks.IDEActivate(0);
    EXPECT_FALSE(ide.Active());
    hooks.IDEActivate(1);
    EXPECT_TRUE(ide.Active());

    std::string file = (std::filesystem::path(rtl::DriveCDir()) / "unit1.pas").string();
    std::ofstream(file) << "unit Unit1;\r\ninterface\r\nprocedure A;\r\n";
    hooks.GotoIDELine("C:\\UNIT1.PAS", 3, 11);
    EXPECT_TRUE(rtl::SameText(ide.CurrentFile(), "C:\\unit1.pas")) << ide.CurrentFile();
    EXPECT_EQ(ide.CurrentBuffer()->Pos(0).Line, 3);
    EXPECT_EQ(ide.CurrentBuffer()->Pos(0).Col, 11);
}
