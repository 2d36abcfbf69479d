// Delvo32 as the IDE sees it: the real libdelvo32.so loaded by the stand-in IDE in this process,
// its menu commands chosen by their shortcuts through the IDE's hook library.
#include "declsearch/IdeCommands.h"
#include "declsearch/IdeHooks.h"
#include "declsearch/OptionsStore.h"
#include "declsearch/Results.h"

#include "host/LibraryExports.h"
#include "ide/Ide.h"
#include "ide/tests/IdeFixture.h"
#include "ide/tests/IdeUiFixture.h"
#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "testing/Shell.h"
#include "testing/UiTest.h"
#include "vcl/Menus.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace declsearch {
namespace {

namespace fs = std::filesystem;
using testing_support::TBy;
using testing_support::TRobot;

const std::string Demo = ide_test::DemoDir;
const char* const kObjpas = "/usr/share/fpcsrc/3.2.2/rtl/objpas";

int CtrlAlt(char key) { return static_cast<int>(vcl::TextToShortCut(std::string("Ctrl+Alt+") + key)); }

class Delvo32Test : public ide_test::IdeUiTest {
protected:
    void Load() {
        ASSERT_TRUE(Ide->LoadLibrary(ide::TLibraryKind::Delvo, DELVO32_LIBRARY_FILE));
        ASSERT_EQ(Ide->Messages(), std::vector<std::string>{});
    }
    void OpenDemo(const std::string& current = "Main.pas") {
        ASSERT_TRUE(Ide->OpenProject(Demo + "Demo.dpr"));
        ASSERT_TRUE(Ide->OpenFile(Demo + current));
    }
    // Presses the shortcut with the robot's steps queued; they must all have run by its end.
    void Press(char key, TRobot& robot) {
        EXPECT_TRUE(Ide->PressShortCut(CtrlAlt(key)));
        EXPECT_TRUE(robot.Done()) << robot.Describe();
        EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});
    }
    // The export of the loaded library, by a reference of our own to it.
    template <class Proc>
    Proc Export(const char* name) {
        rtl::HMODULE module = rtl::LoadLibrary(rtl::WinPath(DELVO32_LIBRARY_FILE));
        Proc proc = reinterpret_cast<Proc>(rtl::GetProcAddress(module, name));
        rtl::FreeLibrary(module);
        return proc;
    }
    std::vector<std::string> SearchItems() {
        std::vector<std::string> items;
        ide::TMenuItem* search = Ide->Menu().Find("SearchMenu");
        for (int i = 0; i < search->Count(); ++i)
            items.push_back(search->Items(i)->Name + "|" + search->Items(i)->Caption + "|" +
                            vcl::ShortCutToText(static_cast<vcl::TShortCut>(search->Items(i)->ShortCut)));
        return items;
    }
    std::vector<std::string> Calls(const std::string& name) {
        std::vector<std::string> found;
        for (const ide::TCall& c : Ide->CallLog().Calls())
            if (c.Name == name) found.push_back(c.Text());
        return found;
    }
    // The rows the library's window shows, from the same store and files.
    std::vector<TProcLine> VisibleRows(const std::string& currentFile, const std::vector<std::string>& units = {}) {
        auto store = OpenOptionsStore();
        TResultsModel model;
        model.SetCurrentFile(currentFile);
        model.SetProjectUnits(units);
        model.Search(*store, IdeHooks());
        std::vector<TProcLine> rows;
        for (const TVisibleRow& v : model.Visible()) rows.push_back(model.Results()[std::size_t(v.Index)].Row);
        return rows;
    }
    // Goes to the visible row index of the results window with the keys.
    static void ChooseRow(TRobot& robot, int index) {
        robot.Key(win::VK_PRIOR);
        for (int i = 0; i < index; ++i) robot.Key(win::VK_DOWN);
        robot.Key(win::VK_RETURN);
    }
    host::TEditPos Cursor() { return Ide->CurrentBuffer()->Pos(0); }
};

TEST_F(Delvo32Test, TheLibraryShowsOnlyItsTwoExports) {
    auto symbols = testing_support::ExportedSymbols(DELVO32_LIBRARY_FILE);
    std::sort(symbols.begin(), symbols.end());
    EXPECT_EQ(symbols, (std::vector<std::string>{"CloseUp", "Initialize"}));
}

TEST_F(Delvo32Test, InitializeInstallsTheThreeCommandsWithTheirShortcuts) {
    // Stored texts: a shortcut and a caption of their own, a shortcut of blanks only.
    {
        auto store = OpenOptionsStore();
        store->WriteString("Interface", "SearchOptions ShortCut", "Ctrl+Shift+F9");
        store->WriteString("Interface", "SearchOptions Caption", "Delvo Options");
        store->WriteString("Interface", "SearchResults ShortCut", "   ");
    }
    Load();
    EXPECT_EQ(SearchItems(), (std::vector<std::string>{"SearchExecute|Search Execute|Ctrl+Alt+X",
                                                       "SearchResults|Search Results|Ctrl+Alt+R", "|-|",
                                                       "SearchOptions|Delvo Options|Shift+Ctrl+F9"}));
    EXPECT_EQ(Calls("GetIDEShortCut"), std::vector<std::string>{"GetIDEShortCut(Ctrl+Shift+F9)"});

    // A second Initialize while initialized changes nothing.
    auto initialize = Export<host::TInitializeProc>(host::InitializeName);
    ASSERT_NE(initialize, nullptr);
    initialize(Ide->ToolServices());
    EXPECT_EQ(Calls("SetIDEKeyHook").size(), 4u);
}

TEST_F(Delvo32Test, ASearchWithDefaultOptionsMovesTheEditorToTheChosenHit) {
    Load();
    OpenDemo("Helpers.pas");
    std::vector<TProcLine> rows = VisibleRows(Ide->CurrentFile());
    ASSERT_GE(rows.size(), 3u) << Ide->CurrentFile() << " " << (rows.empty() ? "" : rows[0].Key);
    int hit = int(rows.size()) - 1;
    ASSERT_GT(rows[std::size_t(hit)].Line, 0);

    TRobot robot;
    std::string caption;
    robot.Do([&] {
        caption = TRobot::TextOf(TRobot::ModalWindow());
        EXPECT_FALSE(Ide->Active());
    });
    ChooseRow(robot, hit);
    Ide->CallLog().Clear();
    Press('X', robot);
    EXPECT_EQ(caption, "Browse Search Results");
    EXPECT_TRUE(Ide->Active());
    EXPECT_EQ(Calls("IDEActivate"), (std::vector<std::string>{"IDEActivate(0)", "IDEActivate(1)"}));
    ASSERT_EQ(Calls("GotoIDELine").size(), 1u);
    EXPECT_TRUE(rtl::SameText(Ide->CurrentFile(), rows[std::size_t(hit)].FileName)) << Ide->CurrentFile();
    EXPECT_EQ(Cursor().Line, rows[std::size_t(hit)].Line);
    EXPECT_EQ(Cursor().Col, rows[std::size_t(hit)].Pos);
    EXPECT_EQ(TRobot::FindWindow(TBy::Caption("Browse Search Results")), nullptr);

    // Showing the results again and closing them with Cancel moves nothing, in spite of the
    // earlier Goto; the window is the same and no new search runs.
    ASSERT_TRUE(Ide->GotoLine(Demo + "Main.pas", 3, 2));
    Ide->CallLog().Clear();
    robot.Key(win::VK_ESCAPE);
    Press('R', robot);
    EXPECT_EQ(Calls("GotoIDELine"), std::vector<std::string>{});
    EXPECT_EQ(Calls("GetIDEParamInt"), std::vector<std::string>{});
    EXPECT_TRUE(rtl::SameText(rtl::ExtractFileName(Ide->CurrentFile()), "Main.pas"));
    EXPECT_EQ(Cursor().Line, 3);
    EXPECT_TRUE(Ide->Active());
}

TEST_F(Delvo32Test, TheIdeIsActiveAgainWhenAnExceptionLeavesTheModalWindow) {
    Load();
    OpenDemo("Helpers.pas");
    // Nobody answers the window: its loop ends with an exception instead of waiting for ever.
    Ide->CallLog().Clear();
    EXPECT_TRUE(Ide->PressShortCut(CtrlAlt('X')));
    EXPECT_EQ(Calls("IDEActivate"), (std::vector<std::string>{"IDEActivate(0)", "IDEActivate(1)"}));
    EXPECT_TRUE(Ide->Active());
}

TEST_F(Delvo32Test, ResultsBeforeAnySearchSearchAndAFormIsSearchedAsItsUnit) {
    {
        auto store = OpenOptionsStore();
        store->WriteBool("Options Last", "Function", false);
        store->WriteBool("Options Last", "Procedure", false);
        store->WriteString("Options Last", "Search Text", "Bump");
    }
    Load();
    OpenDemo();
    std::vector<TProcLine> rows = VisibleRows(Ide->CurrentFile());
    ASSERT_TRUE(Ide->OpenFile(Demo + "Main.dfm"));
    ASSERT_GE(rows.size(), 2u);
    TRobot robot;
    ChooseRow(robot, 1);
    Press('R', robot);
    EXPECT_EQ(Calls("GetIDEParamInt").size(), 1u); // the search's TAB width
    EXPECT_TRUE(rtl::SameText(rtl::ExtractFileName(Ide->CurrentFile()), "Main.pas")) << Ide->CurrentFile();
    EXPECT_EQ(Cursor().Line, rows[1].Line);
}

TEST_F(Delvo32Test, OptionsConfirmedWithOkSearchAgainAndCancelEndsTheLoop) {
    {
        auto store = OpenOptionsStore();
        store->WriteBool("Options Last", "Function", true);
        store->WriteBool("Options Last", "Interface", true);
    }
    Load();
    OpenDemo();
    TRobot robot;
    std::string options, results;
    robot.Do([&] {
        options = TRobot::TextOf(TRobot::ModalWindow());
        EXPECT_FALSE(Ide->Active());
    });
    robot.Click(TBy::Name("cbProcedure"));
    robot.Click(TBy::Name("OKBtn"));
    robot.Do([&] { results = TRobot::TextOf(TRobot::ModalWindow()); });
    robot.Key(win::VK_ESCAPE);
    Ide->CallLog().Clear();
    Press('O', robot);
    EXPECT_EQ(options, "Delvo + Options");
    EXPECT_EQ(results, "Browse Search Results");
    EXPECT_EQ(Calls("IDEActivate"),
              (std::vector<std::string>{"IDEActivate(0)", "IDEActivate(1)", "IDEActivate(0)", "IDEActivate(1)"}));
    EXPECT_TRUE(Ide->Active());
    {
        auto store = OpenOptionsStore();
        EXPECT_TRUE(store->ReadBool("Options Last", "Procedure", false));
        EXPECT_EQ(store->ReadString("Interface", "Font Name", ""), "Courier New");
    }

    // Cancel: the loop ends, no results window comes up.
    robot.Click(TBy::Name("CancelBtn"));
    Ide->CallLog().Clear();
    Press('O', robot);
    EXPECT_EQ(Calls("IDEActivate"), (std::vector<std::string>{"IDEActivate(0)", "IDEActivate(1)"}));
}

TEST_F(Delvo32Test, TheOptionsButtonAfterAnEarlierGotoLeadsToANewSearchAndNoMove) {
    Load();
    OpenDemo("Helpers.pas");
    std::vector<TProcLine> rows = VisibleRows(Ide->CurrentFile());
    ASSERT_GE(rows.size(), 3u);
    TRobot robot;
    ChooseRow(robot, 2);
    Press('X', robot);
    ASSERT_EQ(Cursor().Line, rows[2].Line);

    ASSERT_TRUE(Ide->GotoLine(Demo + "Main.pas", 4, 1));
    std::vector<std::string> captions;
    auto seen = [&] { captions.push_back(TRobot::TextOf(TRobot::ModalWindow())); };
    robot.Do(seen);
    // The Options button is a section drawn on the top bar, clicked where it stands.
    robot.Do([] {
        win::HWND bar = TRobot::FindControl(TBy::Name("TopBar"), TRobot::ModalWindow());
        ASSERT_NE(bar, nullptr);
        win::PostMessage(bar, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(340, 15));
        win::PostMessage(bar, win::WM_LBUTTONUP, 0, win::MAKELPARAM(340, 15));
    });
    robot.OnNextModal([&](win::HWND) { seen(); });
    // With nothing stored the window offers nothing checked, and OK waits for an entity and a part.
    robot.Click(TBy::Name("cbFunction"));
    robot.Click(TBy::Name("cbInterface"));
    robot.Click(TBy::Name("OKBtn"));
    robot.Do(seen);
    robot.Key(win::VK_ESCAPE);
    Ide->CallLog().Clear();
    Press('R', robot);
    EXPECT_EQ(captions, (std::vector<std::string>{"Browse Search Results", "Delvo + Options", "Browse Search Results"}));
    EXPECT_EQ(Calls("IDEActivate").size(), 6u);
    std::vector<std::string> ints = Calls("GetIDEParamInt");
    EXPECT_EQ(std::count(ints.begin(), ints.end(), "GetIDEParamInt(TabRack)"), 1) << "one new search";
    EXPECT_EQ(Calls("GotoIDELine"), std::vector<std::string>{});
    EXPECT_TRUE(rtl::SameText(rtl::ExtractFileName(Ide->CurrentFile()), "Main.pas"));
    EXPECT_EQ(Cursor().Line, 4);
    EXPECT_TRUE(Ide->Active());
}

// A file chosen in an earlier session under a long name is still the one searched, and the
// results window, with no place stored yet, comes up centred on the screen.
TEST_F(Delvo32Test, ALongStoredFileNameIsSearchedAndTheResultsComeUpCentred) {
    const std::string longName = "a_unit_whose_name_runs_on_well_past_sixty_four_characters_long_x.pas";
    ASSERT_GT(longName.size(), 64u);
    {
        std::ofstream(rtl::HostPath(Demo) + "/" + longName, std::ios::binary)
            << "unit LongOne;\r\ninterface\r\nprocedure OnlyHere;\r\nimplementation\r\nprocedure OnlyHere;\r\nbegin\r\nend;\r\nend.\r\n";
        auto store = OpenOptionsStore();
        store->WriteInteger("Files", "Option", 3);
        store->WriteString("User Defined", "Path", Demo + "*.pas");
        store->WriteString("User Defined", "File0", longName);
        store->WriteBool("Options Last", "Procedure", true);
        store->WriteBool("Options Last", "Interface", true);
        store->WriteBool("Options Last", "Implementation", true);
    }
    Load();
    OpenDemo();
    TRobot robot;
    win::RECT place{};
    robot.Do([&] {
        win::HWND options = TRobot::ModalWindow();
        TRobot::Screenshot("/tmp/delvo-options-long-name.png", options);
    });
    robot.Click(TBy::Name("OKBtn"));
    robot.Do([&] {
        win::HWND results = TRobot::ModalWindow();
        EXPECT_EQ(TRobot::TextOf(results), "Browse Search Results");
        win::GetWindowRect(results, &place);
        TRobot::Screenshot("/tmp/delvo-results-centred.png");
    });
    robot.Key(win::VK_ESCAPE);
    Press('O', robot);
    const int width = place.right - place.left, height = place.bottom - place.top;
    EXPECT_EQ(place.left, (1024 - width) / 2);
    EXPECT_EQ(place.top, (768 - height) / 2);
    auto store = OpenOptionsStore();
    EXPECT_EQ(store->ReadString("User Defined", "File0", "<none>"), longName);
    EXPECT_FALSE(store->ReadBool("User Defined", "No File", false));
    std::vector<TProcLine> rows = VisibleRows(Ide->CurrentFile());
    ASSERT_GE(rows.size(), 2u);
    for (const TProcLine& row : rows) EXPECT_TRUE(rtl::SameText(rtl::ExtractFileName(row.FileName), longName)) << row.FileName;
    // Once hidden, the window's place is stored and used the next time it is made.
    EXPECT_EQ(store->ReadInteger("Main Coords", "Left", -1), place.left);
}

TEST_F(Delvo32Test, ExtensionsAreComparedOnTheirFirstFourCharacters) {
    struct Case {
        const char* Name;
        const char* Searched;
        bool Unit;
    } cases[] = {
        {"C:\\P\\Main.DFM", "C:\\P\\Main.pas", false},
        {"C:\\P\\Main.dfmx", "C:\\P\\Main.pas", false},
        {"C:\\P\\Main.pas", "C:\\P\\Main.pas", true},
        {"C:\\P\\Unit.Pascal", "C:\\P\\Unit.Pascal", true},
        {"C:\\P\\defs.INC", "C:\\P\\defs.INC", true},
        {"C:\\P\\Demo.dpr", "C:\\P\\Demo.dpr", true},
        {"C:\\P\\Demo.pp", "C:\\P\\Demo.pp", false},
        {"C:\\P\\Main", "C:\\P\\Main", false},
        {"", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SearchedCurrentFile(c.Name), c.Searched) << c.Name;
        EXPECT_EQ(IsSearchedUnit(c.Name), c.Unit) << c.Name;
    }
    for (auto [name, command] : {std::pair{"SearchExecute", 1}, {"searchoptions", 2}, {"SEARCHRESULTS", 3},
                                 {"Search", 0}, {"", 0}})
        EXPECT_EQ(CommandOfName(name), command) << name;
}

TEST_F(Delvo32Test, ACommandDuringASearchDoesNothing) {
    std::error_code ec;
    if (!fs::is_directory(kObjpas, ec)) GTEST_SKIP() << "no Free Pascal sources";
    {
        auto store = OpenOptionsStore();
        store->WriteInteger("Files", "Option", 3);
        store->WriteString("User Defined", "Path", rtl::WinPath(std::string(kObjpas) + "/*.pp"));
    }
    Load();
    OpenDemo();
    TRobot robot;
    // Runs at the search's first look at the queue, long before its window shows.
    bool nested = false;
    robot.Do([&] {
        nested = TRobot::ModalWindow() == nullptr;
        Ide->PressShortCut(CtrlAlt('O'));
        Ide->PressShortCut(CtrlAlt('X'));
    });
    robot.Key(win::VK_ESCAPE);
    Ide->CallLog().Clear();
    Press('X', robot);
    EXPECT_TRUE(nested);
    EXPECT_EQ(Calls("SaveProject").size(), 1u);
    EXPECT_EQ(Calls("IDEActivate").size(), 2u);
    EXPECT_EQ(Calls("GotoIDELine"), std::vector<std::string>{});
    EXPECT_TRUE(Ide->Active());
}

TEST_F(Delvo32Test, CloseUpAndAFreshInitialize) {
    Load();
    OpenDemo();
    auto closeUp = Export<host::TCloseUpProc>(host::CloseUpName);
    auto initialize = Export<host::TInitializeProc>(host::InitializeName);
    ASSERT_NE(closeUp, nullptr);
    ASSERT_NE(initialize, nullptr);
    {
        TRobot robot;
        robot.Key(win::VK_ESCAPE);
        Press('X', robot);
    }
    closeUp();
    // The IDE's items stay; choosing one now does nothing.
    Ide->CallLog().Clear();
    EXPECT_TRUE(Ide->PressShortCut(CtrlAlt('X')));
    EXPECT_EQ(Calls("SaveProject"), std::vector<std::string>{});

    initialize(Ide->ToolServices());
    EXPECT_EQ(SearchItems().size(), 4u);
    TRobot robot;
    std::string caption;
    robot.Do([&] { caption = TRobot::TextOf(TRobot::ModalWindow()); });
    robot.Key(win::VK_ESCAPE);
    Press('R', robot);
    EXPECT_EQ(caption, "Browse Search Results");
    EXPECT_EQ(Calls("SaveProject").size(), 1u);
}

TEST_F(Delvo32Test, WithoutTheHookLibraryNothingIsInstalled) {
    fs::path alone = fs::path(Root.Path()) / "alone";
    fs::create_directories(alone);
    fs::copy_file(DELVO32_LIBRARY_FILE, alone / "libdelvo32.so");
    ASSERT_TRUE(Ide->LoadLibrary(ide::TLibraryKind::Delvo, (alone / "libdelvo32.so").string()));
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});
    EXPECT_EQ(SearchItems(), std::vector<std::string>{});
    Ide->Shutdown();
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});
    EXPECT_FALSE(Ide->IsLoaded(ide::TLibraryKind::Delvo));
}

} // namespace
} // namespace declsearch
