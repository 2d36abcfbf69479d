#include "IdeFixture.h"

#include "host/HookLibrary.h"
#include "vcl/Menus.h"

#include <dlfcn.h>
#include <string>
#include <vector>

using namespace ide_test;

namespace {

// The hook library as a library binds it: by file name, each procedure by name.
class THookLibrary {
public:
    THookLibrary() : FHandle(::dlopen(DUVIV32_FILE, RTLD_NOW | RTLD_LOCAL)) {
        if (FHandle)
            host::BindIDEHooks(Procs, [this](const char* name) { return ::dlsym(FHandle, name); });
    }
    ~THookLibrary() {
        if (FHandle)
            ::dlclose(FHandle);
    }
    bool Loaded() const { return FHandle != nullptr; }
    host::TIDEHookProcs Procs;

private:
    void* FHandle;
};

struct TCallbackLog {
    std::vector<std::string> Names;
};

int Callback(void* object, const char* name) {
    static_cast<TCallbackLog*>(object)->Names.push_back(name);
    return 0;
}

constexpr int CtrlAltX = 0xC058;

class HookLibraryTest : public IdeFixture {};

TEST_F(HookLibraryTest, EveryProcedureIsExportedByName) {
    THookLibrary hooks;
    ASSERT_TRUE(hooks.Loaded()) << ::dlerror();
    const auto& p = hooks.Procs;
    const void* all[] = {
        reinterpret_cast<const void*>(p.SetIDEKeyHook), reinterpret_cast<const void*>(p.SetIDEMacroHook),
        reinterpret_cast<const void*>(p.SetIDEWordHook), reinterpret_cast<const void*>(p.SetIDEMenuHook),
        reinterpret_cast<const void*>(p.GetIDEParamStr), reinterpret_cast<const void*>(p.GetIDEParamInt),
        reinterpret_cast<const void*>(p.GotoIDELine),    reinterpret_cast<const void*>(p.DeleteIDEText),
        reinterpret_cast<const void*>(p.InsertIDEText),  reinterpret_cast<const void*>(p.GetIDEShortCut),
        reinterpret_cast<const void*>(p.GetIDECaption),  reinterpret_cast<const void*>(p.GetIDEMenu),
        reinterpret_cast<const void*>(p.FreeIDEMenu),    reinterpret_cast<const void*>(p.IDEActivate),
    };
    for (int i = 0; i < host::IDEHookCount; ++i)
        EXPECT_NE(all[i], nullptr) << host::IDEHookNames[i];

    // The eight that nobody needs answer 0.
    EXPECT_EQ(p.SetIDEMacroHook(), 0);
    EXPECT_EQ(p.SetIDEWordHook(), 0);
    EXPECT_EQ(p.SetIDEMenuHook(), 0);
    EXPECT_EQ(p.DeleteIDEText(), 0);
    EXPECT_EQ(p.InsertIDEText(), 0);
    EXPECT_EQ(p.GetIDECaption(), 0);
    EXPECT_EQ(p.GetIDEMenu(), 0);
    EXPECT_EQ(p.FreeIDEMenu(), 0);
}

TEST_F(HookLibraryTest, ShortCutTextsGiveTheClassLibrarysValues) {
    THookLibrary hooks;
    ASSERT_TRUE(hooks.Loaded()) << ::dlerror();
    const char* texts[] = {"Ctrl+Alt+X", "alt+ctrl+x", "Shift+F5", "Ctrl+Del", "Ctrl+Shift+PgDn", "F12",
                           "Ctrl+Shift+Alt+Z", "Ctrl+A", "Ins", "Ctrl+", "Ctrl+Foo", "Hyper+X", "", "+"};
    for (const char* text : texts)
        EXPECT_EQ(hooks.Procs.GetIDEShortCut(text), static_cast<int>(vcl::TextToShortCut(text))) << text;
    EXPECT_EQ(hooks.Procs.GetIDEShortCut("Ctrl+Alt+X"), CtrlAltX);
    // Unreadable texts give no shortcut.
    for (const char* text : {"Ctrl+", "Ctrl+Foo", "Hyper+X", "", "+"})
        EXPECT_EQ(hooks.Procs.GetIDEShortCut(text), 0) << text;
    EXPECT_EQ(hooks.Procs.GetIDEShortCut(nullptr), 0);
}

TEST_F(HookLibraryTest, KeyHookItemsAppearInTheMenuAndCallBackWithTheirName) {
    THookLibrary hooks;
    ASSERT_TRUE(hooks.Loaded());
    TCallbackLog log;
    EXPECT_NE(hooks.Procs.SetIDEKeyHook("SearchExecute", "Search Execute", CtrlAltX, &Callback, &log), 0);
    hooks.Procs.SetIDEKeyHook(nullptr, "-", 0, nullptr, nullptr);
    hooks.Procs.SetIDEKeyHook("SearchOptions", "Search Options", 0, &Callback, &log);

    ide::TMenuItem* search = Ide->Menu().Find("SearchMenu");
    ASSERT_EQ(search->Count(), 3);
    EXPECT_EQ(search->Items(0)->Caption, "Search Execute");
    EXPECT_EQ(search->Items(0)->ShortCut, CtrlAltX);
    EXPECT_EQ(search->Items(1)->Caption, "-");
    EXPECT_EQ(search->Items(1)->Name, "");

    EXPECT_TRUE(Ide->Menu().Click(search->Items(0)));
    EXPECT_TRUE(Ide->Menu().Click(search->Items(1))); // a separator calls nothing
    EXPECT_TRUE(Ide->PressShortCut(CtrlAltX));
    EXPECT_FALSE(Ide->PressShortCut(0x4041));
    EXPECT_TRUE(Ide->Menu().ClickByName("SearchOptions"));
    EXPECT_EQ(log.Names, (std::vector<std::string>{"SearchExecute", "SearchExecute", "SearchOptions"}));
}

TEST_F(HookLibraryTest, SettingsGotoAndActivation) {
    THookLibrary hooks;
    ASSERT_TRUE(hooks.Loaded());
    const auto& p = hooks.Procs;

    std::string s = "stale";
    p.GetIDEParamStr(&s, "FontName");
    EXPECT_EQ(s, "Courier New");
    p.GetIDEParamStr(&s, "FontSize");
    EXPECT_EQ(s, "10");
    s.clear();
    p.GetIDEParamStr(&s, "NoSuchSetting");
    EXPECT_EQ(s, "");
    p.GetIDEParamStr(nullptr, "FontName");
    EXPECT_EQ(p.GetIDEParamInt("TabRack"), 8);
    EXPECT_EQ(p.GetIDEParamInt("FontName"), 0);
    EXPECT_EQ(p.GetIDEParamInt(nullptr), 0);

    p.GotoIDELine((DemoDir + "MAIN.PAS").c_str(), 13, 5);
    EXPECT_EQ(Ide->CurrentFile(), DemoDir + "Main.pas");
    EXPECT_EQ(Ide->CurrentBuffer()->Pos(0), (host::TEditPos{5, 13}));
    p.GotoIDELine((DemoDir + "Nowhere.pas").c_str(), 2, 2);
    EXPECT_EQ(Ide->CurrentFile(), DemoDir + "Main.pas");
    p.GotoIDELine(nullptr, 1, 1);

    p.IDEActivate(0);
    EXPECT_FALSE(Ide->Active());
    p.IDEActivate(1);
    EXPECT_TRUE(Ide->Active());

    EXPECT_EQ(Ide->CallLog().Texts(), (std::vector<std::string>{
                                          "GetIDEParamStr(FontName)",
                                          "GetIDEParamStr(FontSize)",
                                          "GetIDEParamStr(NoSuchSetting)",
                                          "GetIDEParamStr(FontName)",
                                          "GetIDEParamInt(TabRack)",
                                          "GetIDEParamInt(FontName)",
                                          "GetIDEParamInt()",
                                          "GotoIDELine(C:\\PROJECTS\\Demo\\MAIN.PAS, 13, 5)",
                                          "GotoIDELine(C:\\PROJECTS\\Demo\\Nowhere.pas, 2, 2)",
                                          "GotoIDELine(, 1, 1)",
                                          "IDEActivate(0)",
                                          "IDEActivate(1)",
                                      }));
}

TEST(HookLibraryWithoutIde, EveryProcedureDoesNothing) {
    THookLibrary hooks;
    ASSERT_TRUE(hooks.Loaded());
    ASSERT_EQ(ide::TIde::Current(), nullptr);
    const auto& p = hooks.Procs;
    EXPECT_EQ(p.SetIDEKeyHook("A", "A", 0, &Callback, nullptr), 0);
    std::string s;
    p.GetIDEParamStr(&s, "FontName");
    EXPECT_EQ(s, "");
    EXPECT_EQ(p.GetIDEParamInt("TabRack"), 0);
    p.GotoIDELine("C:\\X.PAS", 1, 1);
    p.IDEActivate(0);
}

} // namespace
