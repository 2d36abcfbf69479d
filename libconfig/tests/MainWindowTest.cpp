#include "libconfig/Vormain.h"

#include "ForeignWindow.h"
#include "libconfig/Vorabout.h"
#include "libconfig/Vororder.h"
#include "libconfig/Vorpath.h"

#include "rtl/Files.h"
#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/Registry.h"
#include "rtl/StringLists.h"
#include "rtl/TestHooks.h"
#include "rtl/WinRoot.h"
#include "testing/Shell.h"
#include "testing/UiTest.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace libconfig {
namespace {

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
namespace fs = std::filesystem;

std::string ReadFile(const std::string& HostPath) {
    std::ifstream in(HostPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// What the window offers: each toolbar button with its menu item, Save and Cancel, the alias box.
struct TOffer {
    bool Apply, New, Refresh, Delete, Print, Help, SaveCancel;
    bool AliasList, AliasEnabled;
    bool operator==(const TOffer&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TOffer& o) {
    return os << "apply " << o.Apply << " new " << o.New << " refresh " << o.Refresh << " delete " << o.Delete
              << " print " << o.Print << " help " << o.Help << " save/cancel " << o.SaveCancel << " list "
              << o.AliasList << " box " << o.AliasEnabled;
}

constexpr TOffer EmptyState{false, true, false, false, false, true, false, true, true};
constexpr TOffer BrowseState{true, true, true, true, true, true, false, true, true};
constexpr TOffer NewState{false, false, false, false, false, true, true, false, true};
constexpr TOffer RefreshState{false, false, false, false, false, true, true, true, false};
constexpr TOffer PathEditedWhileBrowsing{false, false, false, false, false, true, true, true, true};

class MainWindowTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        fs::path c = fs::path(Root.Path()) / "drive_c";
        for (const char* dir : {"Vorl", "Delphi/Lib", "Delphi/Source", "Mine"}) fs::create_directories(c / dir);
        StoreHost = (c / "Vorl/vorl.ini").string();
    }
    void TearDown() override {
        Form.reset();
        rtl::SetWriteFailureHook({});
        UiTest::TearDown();
    }

    void WriteStore(const std::string& Text) { std::ofstream(StoreHost, std::ios::binary) << Text; }
    static std::string Alias(int N, const std::string& Name, const std::string& Path, int Map = 0) {
        std::string s = "Alias" + std::to_string(N);
        return "[" + s + "]\r\nAlias=" + Name + "\r\nFilename=C:\\" + Name + ".DCL\r\nPath=" + Path +
               "\r\nUnit Aliases=WinTypes=Windows\r\nMapFile=" + std::to_string(Map) +
               "\r\nSaveSource=1\r\nDebugInfo=0\r\nHints=1\r\nWarnings=0\r\n";
    }
    static void SetIDE(const std::string& Path, const std::string& Library, const std::string& Map) {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(std::string("\\") + LibraryKey, true));
        reg.WriteString("SearchPath", Path);
        reg.WriteString("ComponentLibrary", Library);
        reg.WriteString("UnitAliases", "A=B");
        reg.WriteString("MapFile", Map);
        reg.WriteString("SaveLibrarySource", "0");
        reg.WriteString("DebugInfo", "1");
        reg.WriteString("ShowWarnings", "1");
        reg.WriteString("ShowHints", "0");
    }
    // A fresh read of the store file, as the next start would see it.
    std::vector<TAliasValues> Stored() {
        TAliasStore store(StoreName);
        store.LoadAll();
        std::vector<TAliasValues> out;
        for (int i = 0; i < store.Aliases().Count(); ++i) out.push_back(ValuesOf(*store.Record(i)));
        return out;
    }

    void Open() {
        Form.reset(Make<TForm1>(Application, StoreName));
        Form->Show();
        Application->ProcessMessages();
    }
    TOffer Offer() const {
        TOffer o{Form->ebSelect->Enabled(), Form->ebNew->Enabled(), Form->ebRefresh->Enabled(),
                 Form->ebDelete->Enabled(), Form->ebPrint->Enabled(), Form->ebHelp->Enabled(),
                 Form->btnSave->Enabled(), Form->comboAlias->Style() == TComboBoxStyle::csDropDownList,
                 Form->comboAlias->Enabled()};
        // Each menu item goes with its button, and Cancel with Save.
        EXPECT_EQ(Form->Select1->Enabled(), o.Apply);
        EXPECT_EQ(Form->New1->Enabled(), o.New);
        EXPECT_EQ(Form->Refresh1->Enabled(), o.Refresh);
        EXPECT_EQ(Form->Delete1->Enabled(), o.Delete);
        EXPECT_EQ(Form->Print1->Enabled(), o.Print);
        EXPECT_EQ(Form->Help1->Enabled(), o.Help);
        EXPECT_EQ(Form->btnC1->Enabled(), o.SaveCancel);
        return o;
    }
    std::vector<std::string> Path() const {
        std::vector<std::string> out;
        for (int i = 0; i < Form->lbSearchPath->Items()->Count(); ++i) out.push_back(Form->lbSearchPath->Items()->Get(i));
        return out;
    }

    void Tool(TRobot& Robot, TExplorerButton* Button) {
        Robot.ClickAt(Form->DrawPanel1->Handle(), {Button->Left() + 27, Button->Top() + 21});
    }
    // The search path's pop-up menu, opened by a right click on the list, and one of its items.
    void PathMenu(TRobot& Robot, const std::string& Item) {
        Robot.ClickAt(Form->lbSearchPath->Handle(), {300, 80}, win::WM_RBUTTONDOWN);
        Robot.ChooseMenu(Item);
    }
    void Answer(TRobot& Robot, const char* Button, std::string* Message = nullptr) {
        if (Message) Robot.OnNextModal([Message](win::HWND box) { *Message = TRobot::ChildText(box, "Message"); });
        Robot.AnswerNextModal(TBy::Name(Button));
    }
    static void Run(TRobot& Robot) {
        EXPECT_TRUE(testing_support::PlayOut(Robot, 400, 0)) << Robot.Describe();
    }

    const std::string StoreName = "C:\\Vorl\\vorl.ini";
    std::string StoreHost;
    std::unique_ptr<TForm1> Form;
};

TEST_F(MainWindowTest, FirstStartWithNoStoreOffersOnlyNewAndHelp) {
    Open();
    EXPECT_EQ(Form->Caption(), " Vorl");
    EXPECT_EQ(Form->Width(), 401);
    EXPECT_EQ(Form->Height(), 469) << "held to the tracking size";
    EXPECT_EQ(Form->DrawPanel1->Height(), 53);
    EXPECT_EQ(Form->Left(), (1024 - 401) / 2) << "centred on the screen";
    EXPECT_EQ(Form->Top(), (768 - 469) / 2);
    EXPECT_EQ(Form->ebExit->Left(), 331);
    EXPECT_EQ(Form->ebExit->Width(), 55);
    EXPECT_EQ(Form->ebExit->Height(), 43);
    EXPECT_EQ(Form->comboAlias->Items()->Count(), 0);
    EXPECT_EQ(Offer(), EmptyState);
    EXPECT_TRUE(Form->rbNoMap->Checked());
    EXPECT_FALSE(fs::exists(StoreHost)) << "nothing is written at start";
    EXPECT_EQ(Application->HelpFile(), rtl::ExtractFilePath(rtl::GetModuleFileName()) + "vorl.hlp");
    EXPECT_EQ(rtl::ExtractFileName(ProgramAliasStoreName()), rtl::ExtractFileName(rtl::GetModuleFileName()) + ".ini");
    TRobot::Screenshot("/tmp/vorl-empty.png", Form->Handle());

    // No alias: nothing to edit a search path of.
    Form->PopupMenu1Popup(nullptr);
    EXPECT_FALSE(Form->Add1->Enabled());
    EXPECT_FALSE(Form->Delete2->Enabled());
}

TEST_F(MainWindowTest, EveryStateOffersItsCommands) {
    WriteStore(Alias(1, "Standard", "C:\\Delphi\\Lib;C:\\Mine", 2) + Alias(2, "Mine", ""));
    SetIDE("C:\\Delphi\\Lib", "C:\\NEW.DCL", "1");
    Open();
    EXPECT_EQ(Offer(), BrowseState);
    EXPECT_EQ(Form->comboAlias->Text(), "Standard");
    EXPECT_EQ(Path(), (std::vector<std::string>{"C:\\Delphi\\Lib", "C:\\Mine"}));
    EXPECT_TRUE(Form->rbPublics->Checked());
    EXPECT_TRUE(Form->cbSaveSource->Checked());
    EXPECT_TRUE(Form->cbShowHints->Checked());
    EXPECT_FALSE(Form->cbDebugInfo->Checked());
    TRobot::Screenshot("/tmp/vorl-browse.png", Form->Handle());

    TRobot robot;
    // Refresh: the box keeps its name but is off.
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&Library|&Refresh");
    Run(robot);
    EXPECT_EQ(Offer(), RefreshState);
    EXPECT_EQ(Form->comboAlias->Text(), "Standard");
    EXPECT_EQ(Form->etLibFilename->Text(), "C:\\NEW.DCL");
    EXPECT_TRUE(Form->rbSegments->Checked());
    TRobot::Screenshot("/tmp/vorl-refresh.png", Form->Handle());

    robot.Click(TBy::Name("btnC1"));
    Run(robot);
    EXPECT_EQ(Offer(), BrowseState);
    EXPECT_EQ(Form->etLibFilename->Text(), "C:\\Standard.DCL");

    // New: an empty editable box, the IDE's values.
    Tool(robot, Form->ebNew);
    Run(robot);
    EXPECT_EQ(Offer(), NewState);
    EXPECT_EQ(Form->comboAlias->Text(), "");
    EXPECT_FALSE(Form->comboAlias->OnChange);
    EXPECT_EQ(Path(), (std::vector<std::string>{"C:\\Delphi\\Lib"}));
    TRobot::Screenshot("/tmp/vorl-new.png", Form->Handle());
    // A path edit during New keeps it one.
    Form->lbSearchPath->SetItemIndex(0);
    PathMenu(robot, "&Delete");
    Run(robot);
    EXPECT_EQ(Offer(), NewState);
    EXPECT_EQ(Form->EditKind(), TForm1::TEditKind::ekNew);
    EXPECT_TRUE(Path().empty());

    // A path edit while browsing.
    robot.Click(TBy::Name("btnC1"));
    Run(robot);
    Form->lbSearchPath->SetItemIndex(1);
    PathMenu(robot, "&Delete");
    Run(robot);
    EXPECT_EQ(Offer(), PathEditedWhileBrowsing);
    EXPECT_EQ(Path(), (std::vector<std::string>{"C:\\Delphi\\Lib"}));
    EXPECT_EQ(Form->lbSearchPath->ItemIndex(), 0);
    TRobot::Screenshot("/tmp/vorl-pathedited.png", Form->Handle());

    // Choosing another alias drops the edit.
    Form->comboAlias->SetItemIndex(1);
    Form->comboAlias->OnChange(Form->comboAlias);
    EXPECT_EQ(Offer(), BrowseState);
    EXPECT_TRUE(Path().empty());
}

TEST_F(MainWindowTest, NewFromTheIdeSavesAnAliasAndCancelWritesNothing) {
    WriteStore(Alias(1, "Standard", "C:\\Delphi\\Lib"));
    SetIDE("C:\\Delphi\\Lib;;C:\\Delphi\\Source;", "C:\\DELPHI\\CMPLIB32.DCL", "3");
    Open();
    const std::string before = ReadFile(StoreHost);

    TRobot robot;
    // New then Cancel shows the alias selected before and writes nothing.
    Tool(robot, Form->ebNew);
    robot.Click(TBy::Name("btnC1"));
    robot.Do([&] {
        EXPECT_EQ(Offer(), BrowseState);
        EXPECT_EQ(Form->comboAlias->Text(), "Standard");
        EXPECT_EQ(Form->etLibFilename->Text(), "C:\\Standard.DCL");
        EXPECT_EQ(ReadFile(StoreHost), before);
    });
    // A blank name is refused and the edit goes on.
    std::string blank;
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&Library|&New");
    robot.Click(TBy::Name("btnSave"));
    Answer(robot, "OK", &blank);
    robot.Do([&] {
        EXPECT_EQ(Offer(), NewState);
        EXPECT_EQ(ReadFile(StoreHost), before);
    });
    // Save after New adds the alias without asking.
    robot.Type("Delphi Two");
    robot.Click(TBy::Name("btnSave"));
    Run(robot);
    EXPECT_EQ(blank, "Library alias must not be blank!");
    EXPECT_EQ(Offer(), BrowseState);
    EXPECT_EQ(Form->comboAlias->Items()->Count(), 2);
    EXPECT_EQ(Form->comboAlias->ItemIndex(), 1);
    EXPECT_EQ(Form->comboAlias->Text(), "Delphi Two");
    EXPECT_TRUE(Form->comboAlias->OnChange);

    auto stored = Stored();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].AliasName, "Delphi Two");
    EXPECT_EQ(stored[1].LibraryFile, "C:\\DELPHI\\CMPLIB32.DCL");
    EXPECT_EQ(stored[1].SearchPath, (std::vector<std::string>{"C:\\Delphi\\Lib", "C:\\Delphi\\Source"}));
    EXPECT_EQ(stored[1].UnitAliases, "A=B");
    EXPECT_EQ(stored[1].MapFile, 3);
    EXPECT_TRUE(stored[1].DebugInfo);
    EXPECT_TRUE(stored[1].Warnings);
    EXPECT_FALSE(stored[1].Hints);
    EXPECT_FALSE(stored[1].SaveSource);
    EXPECT_NE(ReadFile(StoreHost).find("[Alias2]"), std::string::npos);
}

TEST_F(MainWindowTest, RefreshAsksBeforeOverwritingItsOwnSection) {
    WriteStore(Alias(1, "One", "C:\\Mine") + Alias(2, "Two", "C:\\Mine"));
    SetIDE("C:\\Delphi\\Lib", "C:\\FRESH.DCL", "2");
    Open();
    const std::string before = ReadFile(StoreHost);

    TRobot robot;
    std::string question;
    robot.Do([&] {
        Form->comboAlias->SetItemIndex(1);
        Form->comboAlias->OnChange(Form->comboAlias);
    });
    Tool(robot, Form->ebRefresh);
    robot.Click(TBy::Name("btnSave"));
    Answer(robot, "No", &question);
    robot.Do([&] {
        EXPECT_EQ(Offer(), RefreshState) << "declined: the edit goes on";
        EXPECT_EQ(ReadFile(StoreHost), before);
    });
    robot.Click(TBy::Name("btnSave"));
    Answer(robot, "Yes");
    Run(robot);
    EXPECT_EQ(question, "Ok to overwrite library configuration for \n'Two'?");
    EXPECT_EQ(Offer(), BrowseState);
    EXPECT_EQ(Form->comboAlias->Text(), "Two");
    auto stored = Stored();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].LibraryFile, "C:\\One.DCL");
    EXPECT_EQ(stored[1].AliasName, "Two");
    EXPECT_EQ(stored[1].LibraryFile, "C:\\FRESH.DCL");
    EXPECT_EQ(stored[1].MapFile, 2);
}

// A path edit while browsing is one of the shown alias, also after an earlier New; the list gets
// its first entry and loses its last.
TEST_F(MainWindowTest, PathEditsWhileBrowsingRefreshTheShownAlias) {
    WriteStore(Alias(1, "Empty", "") + Alias(2, "Two", "C:\\Mine"));
    SetIDE("C:\\Delphi\\Lib", "C:\\X.DCL", "0");
    Open();

    TRobot robot;
    // An earlier New, saved, leaves the kind at new; the path edit after it must not add.
    Tool(robot, Form->ebNew);
    robot.Type("Third");
    robot.Click(TBy::Name("btnSave"));
    robot.Do([&] {
        Form->comboAlias->SetItemIndex(0);
        Form->comboAlias->OnChange(Form->comboAlias);
        Form->PopupMenu1Popup(nullptr);
        EXPECT_TRUE(Form->Add1->Enabled()) << "an empty path takes its first entry";
        EXPECT_FALSE(Form->Change1->Enabled());
        EXPECT_FALSE(Form->Delete2->Enabled());
        EXPECT_FALSE(Form->Order1->Enabled());
    });
    PathMenu(robot, "&Add");
    robot.OnNextModal([](win::HWND edit) { TRobot::Screenshot("/tmp/vorl-addpath.png", edit); });
    robot.Type("C:\\Delphi\\Source");
    robot.Click(TBy::Name("btnOk"));
    robot.Do([&] {
        EXPECT_EQ(Path(), (std::vector<std::string>{"C:\\Delphi\\Source"}));
        EXPECT_EQ(Form->lbSearchPath->ItemIndex(), 0);
        EXPECT_EQ(Form->EditKind(), TForm1::TEditKind::ekExisting);
    });
    std::string question;
    robot.Click(TBy::Name("btnSave"));
    Answer(robot, "Yes", &question);
    robot.Do([&] {
        auto stored = Stored();
        ASSERT_EQ(stored.size(), 3u) << "no alias added";
        EXPECT_EQ(stored[0].AliasName, "Empty");
        EXPECT_EQ(stored[0].SearchPath, (std::vector<std::string>{"C:\\Delphi\\Source"}));
        EXPECT_EQ(Offer(), BrowseState);
        // A single entry can go.
        Form->lbSearchPath->SetItemIndex(0);
        Form->PopupMenu1Popup(nullptr);
        EXPECT_TRUE(Form->Change1->Enabled());
        EXPECT_TRUE(Form->Delete2->Enabled());
        EXPECT_FALSE(Form->Order1->Enabled());
    });
    PathMenu(robot, "&Delete");
    robot.Click(TBy::Name("btnSave"));
    Answer(robot, "Yes");
    Run(robot);
    EXPECT_EQ(question, "Ok to overwrite library configuration for \n'Empty'?");
    auto stored = Stored();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_TRUE(stored[0].SearchPath.empty());
    EXPECT_EQ(stored[1].SearchPath, (std::vector<std::string>{"C:\\Mine"}));
    EXPECT_EQ(stored[2].AliasName, "Third");
}

TEST_F(MainWindowTest, ChangeAndOrderTheSearchPathWithTheirWindowsFreedAfterUse) {
    WriteStore(Alias(1, "One", "C:\\Delphi\\Lib;C:\\Mine;C:\\Delphi\\Source"));
    Open();
    const int components = Form->ComponentCount();

    TRobot robot;
    Form->lbSearchPath->SetItemIndex(1);
    Form->PopupMenu1Popup(nullptr);
    EXPECT_TRUE(Form->Order1->Enabled());
    std::string caption, shown;
    PathMenu(robot, "&Change");
    robot.OnNextModal([&](win::HWND) {
        auto* edit = dynamic_cast<TfrmPathEdit*>(FindControl(TRobot::ModalWindow()));
        ASSERT_TRUE(edit);
        caption = edit->Caption();
        shown = edit->Edit1->Text();
        edit->Edit1->SetText("C:\\Delphi");
    });
    robot.Click(TBy::Name("btnOk"));
    Run(robot);
    EXPECT_EQ(caption, " Change Search Path");
    EXPECT_EQ(shown, "C:\\Mine");
    EXPECT_EQ(Path(), (std::vector<std::string>{"C:\\Delphi\\Lib", "C:\\Delphi", "C:\\Delphi\\Source"}));
    EXPECT_EQ(Form->lbSearchPath->ItemIndex(), 1);
    EXPECT_EQ(Form->ComponentCount(), components) << "the path-edit window is freed";

    // Order: the last entry moved to the top.
    PathMenu(robot, "&Order");
    robot.OnNextModal([&](win::HWND) {
        auto* order = dynamic_cast<TfrmPathOrder*>(FindControl(TRobot::ModalWindow()));
        ASSERT_TRUE(order);
        order->lbSearchPath->SetItemIndex(2);
        order->MoveItem(-1);
        order->MoveItem(-1);
        TRobot::Screenshot("/tmp/vorl-order.png", order->Handle());
    });
    robot.Click(TBy::Name("btnOk"));
    Run(robot);
    EXPECT_EQ(Form->ComponentCount(), components) << "the path-order window is freed after each use";
    // Order cancelled: nothing changes, the first line is selected all the same.
    Form->lbSearchPath->SetItemIndex(2);
    PathMenu(robot, "&Order");
    robot.Click(TBy::Name("btnCancel"));
    Run(robot);
    EXPECT_EQ(Path(), (std::vector<std::string>{"C:\\Delphi\\Source", "C:\\Delphi\\Lib", "C:\\Delphi"}));
    EXPECT_EQ(Form->lbSearchPath->ItemIndex(), 0);
    EXPECT_EQ(Form->ComponentCount(), components);
    EXPECT_EQ(Offer(), PathEditedWhileBrowsing);
}

TEST_F(MainWindowTest, DeleteAsksAndRewritesTheStore) {
    WriteStore(Alias(1, "One", "C:\\A") + Alias(2, "Two", "C:\\B"));
    Open();
    TRobot robot;
    std::string question;
    Tool(robot, Form->ebDelete);
    Answer(robot, "No", &question);
    robot.Do([&] { EXPECT_EQ(Stored().size(), 2u); });
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&Library|&Delete");
    Answer(robot, "Yes");
    robot.Do([&] {
        auto stored = Stored();
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored[0].AliasName, "Two");
        EXPECT_EQ(Form->comboAlias->Text(), "Two");
        EXPECT_EQ(Offer(), BrowseState);
    });
    Tool(robot, Form->ebDelete);
    Answer(robot, "Yes");
    Run(robot);
    EXPECT_EQ(question, "Delete the selected library configuration entry?");
    EXPECT_TRUE(Stored().empty());
    EXPECT_EQ(Offer(), EmptyState);
    EXPECT_TRUE(Form->etLibFilename->Text().empty());
}

TEST_F(MainWindowTest, AFailedWriteShowsTheStoresErrorAndKeepsTheEdit) {
    SetIDE("C:\\Delphi\\Lib", "C:\\X.DCL", "0");
    Open();
    TRobot robot;
    std::string error;
    Tool(robot, Form->ebNew);
    robot.Type("Kept");
    robot.Do([] { rtl::SetWriteFailureHook([](std::string_view) { return ENOSPC; }); });
    robot.Click(TBy::Name("btnSave"));
    Answer(robot, "OK", &error);
    robot.Do([&] {
        EXPECT_EQ(Offer(), NewState);
        EXPECT_EQ(Form->comboAlias->Text(), "Kept");
        EXPECT_EQ(Form->comboAlias->Items()->Count(), 0);
        rtl::SetWriteFailureHook({});
    });
    // Once the disk takes it, the same edit saves.
    robot.Click(TBy::Name("btnSave"));
    Run(robot);
    EXPECT_EQ(error, "Unable to write to " + StoreName + ".");
    EXPECT_EQ(Offer(), BrowseState);
    auto stored = Stored();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].AliasName, "Kept");
}

TEST_F(MainWindowTest, ApplyIsRefusedWhileAnIdeWindowIsOpenAndDoneAfter) {
    WriteStore(Alias(1, "One", "C:\\Delphi\\Lib;C:\\Mine", 3));
    Open();
    std::string refused, done;
    {
        ForeignWindow ide("TPropertyInspector");
        ASSERT_TRUE(ide.Ready());
        TRobot robot;
        Tool(robot, Form->ebSelect);
        Answer(robot, "OK", &refused);
        Run(robot);
        rtl::TRegistry reg;
        EXPECT_FALSE(reg.OpenKey(std::string("\\") + LibraryKey, false)) << "nothing written";
    }
    TRobot robot;
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&Library|&Select");
    Answer(robot, "OK", &done);
    Run(robot);
    EXPECT_EQ(refused, "Delphi IDE is running, library configuration cannot be changed!");
    EXPECT_EQ(done, "Registry updated. New library configuration\nwill take effect next time you start Delphi.");
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + LibraryKey, false));
    EXPECT_EQ(reg.ReadString("SearchPath"), "C:\\Delphi\\Lib;C:\\Mine");
    EXPECT_EQ(reg.ReadString("ComponentLibrary"), "C:\\One.DCL");
    EXPECT_EQ(reg.ReadString("UnitAliases"), "WinTypes=Windows");
    EXPECT_EQ(reg.ReadString("MapFile"), "3");
    EXPECT_EQ(reg.ReadString("SaveLibrarySource"), "1");
    EXPECT_EQ(reg.ReadString("DebugInfo"), "0");
    EXPECT_EQ(reg.ReadString("ShowHints"), "1");
    EXPECT_EQ(reg.ReadString("ShowWarnings"), "0");
}

// Apply whose registry key cannot be opened or written says so, and writes nothing anywhere else.
TEST_F(MainWindowTest, AFailedApplySaysSoAndWritesNothingElsewhere) {
    WriteStore(Alias(1, "One", "C:\\Delphi\\Lib;C:\\Mine", 3));
    Open();
    const std::string keyName = "HKEY_CURRENT_USER\\Software\\Borland\\Delphi\\2.0\\Library";
    // The key's values that reached the root of HKEY_CURRENT_USER instead.
    auto rootValues = [] {
        rtl::TRegistry root;
        std::string found;
        if (root.OpenKey("\\", false))
            for (const char* name : {"ComponentLibrary", "SearchPath", "UnitAliases", "SaveLibrarySource", "MapFile",
                                     "DebugInfo", "ShowWarnings", "ShowHints"})
                if (root.ValueExists(name)) found += std::string(name) + " ";
        return found;
    };
    struct {
        const char* Label;
        bool KeyThere;   // the IDE's key exists before
        int PassCommits; // how many of the registry's next commits go through
        int FailCommits; // how many fail after them (-1 all)
        std::string Message;
    } cases[] = {
        // The lock held past its time, or the disk refusing: the key is not made.
        {"open", false, 0, 1,
         "Unable to open registry key " + keyName + ".\nThe library configuration was not changed."},
        {"first write", true, 0, -1,
         "Unable to write to registry key " + keyName +
             " (Failed to set data for 'ComponentLibrary').\nThe library configuration was not changed."},
        {"second write", true, 1, -1,
         "Unable to write to registry key " + keyName +
             " (Failed to set data for 'SearchPath').\nThe library configuration was changed only in part."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        {
            rtl::TRegistry reg;
            reg.DeleteKey(std::string("\\") + LibraryKey);
        }
        if (c.KeyThere) SetIDE("C:\\OLD", "C:\\OLD.DCL", "1");
        int pass = c.PassCommits, left = c.FailCommits;
        rtl::SetWriteFailureHook([&pass, &left](std::string_view) {
            if (pass > 0) return --pass, 0;
            if (left == 0) return 0;
            if (left > 0) --left;
            return EAGAIN;
        });
        std::string shown;
        win::HWND box = nullptr;
        TRobot robot;
        Tool(robot, Form->ebSelect);
        robot.OnNextModal([&](win::HWND b) {
            box = b;
            shown = TRobot::ChildText(b, "Message");
            TRobot::Screenshot(std::string("/tmp/vorl-apply-failed-") + c.Label + ".png", b);
        });
        robot.AnswerNextModal(TBy::Name("OK"));
        Run(robot);
        rtl::SetWriteFailureHook({});
        EXPECT_EQ(shown, c.Message);
        EXPECT_NE(box, nullptr);
        EXPECT_EQ(rootValues(), "") << "nothing written into the root";
        rtl::TRegistry reg;
        if (c.KeyThere) {
            ASSERT_TRUE(reg.OpenKey(std::string("\\") + LibraryKey, false));
            EXPECT_EQ(reg.ReadString("SearchPath"), "C:\\OLD");
            EXPECT_EQ(reg.ReadString("ComponentLibrary"), c.PassCommits ? "C:\\One.DCL" : "C:\\OLD.DCL");
            EXPECT_EQ(reg.ReadString("MapFile"), "1");
        } else {
            EXPECT_FALSE(reg.OpenKey(std::string("\\") + LibraryKey, false));
        }
    }
    // New reads the key it asks for or says why not; it reads nothing from the root.
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\", false));
        reg.WriteString("SearchPath", "C:\\ROOT");
        reg.DeleteKey(std::string("\\") + LibraryKey);
    }
    rtl::SetWriteFailureHook([](std::string_view) { return EAGAIN; });
    std::string failedNew;
    {
        TRobot robot;
        Tool(robot, Form->ebNew);
        Answer(robot, "OK", &failedNew);
        Run(robot);
    }
    rtl::SetWriteFailureHook({});
    EXPECT_EQ(failedNew, "Unable to open registry key " + keyName + ".");
    EXPECT_EQ(Path(), (std::vector<std::string>{"C:\\Delphi\\Lib", "C:\\Mine"}));
    {
        TRobot robot;
        robot.Click(TBy::Name("btnC1"));
        Run(robot);
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\", false));
        reg.DeleteValue("SearchPath");
    }

    // Once the registry takes it, the same Apply writes the key.
    std::string done;
    TRobot robot;
    Tool(robot, Form->ebSelect);
    Answer(robot, "OK", &done);
    Run(robot);
    EXPECT_EQ(done, "Registry updated. New library configuration\nwill take effect next time you start Delphi.");
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + LibraryKey, false));
    EXPECT_EQ(reg.ReadString("SearchPath"), "C:\\Delphi\\Lib;C:\\Mine");
    EXPECT_EQ(rootValues(), "");
}

// A read-only store is refused by the one rule of every rewrite, with the store's own message.
TEST_F(MainWindowTest, AReadOnlyStoreIsNotWritten) {
    WriteStore(Alias(1, "One", "C:\\A"));
    fs::permissions(StoreHost, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = ReadFile(StoreHost);
    Open();
    std::string error;
    TRobot robot;
    Tool(robot, Form->ebRefresh);
    robot.Click(TBy::Name("btnSave"));
    Answer(robot, "Yes");
    Answer(robot, "OK", &error);
    Run(robot);
    EXPECT_EQ(error, "Unable to write to " + StoreName + ".");
    EXPECT_EQ(ReadFile(StoreHost), before);
}

TEST_F(MainWindowTest, PrintAsksThenPrintsOnePageAnAlias) {
    WriteStore(Alias(1, "One", "C:\\A") + Alias(2, "Two", "C:\\B") + Alias(3, "Three", ""));
    Open();
    auto files = [] {
        std::vector<std::string> out;
        std::error_code ec;
        for (auto& e : fs::directory_iterator(rtl::PrinterDir(), ec)) out.push_back(e.path().string());
        return out;
    };
    TRobot robot;
    Tool(robot, Form->ebPrint);
    Answer(robot, "No");
    robot.Do([&] { EXPECT_TRUE(files().empty()); });
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&File|&Print");
    Answer(robot, "Yes");
    Run(robot);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    auto printed = files();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(fs::path(printed[0]).filename(), "Vorl Report 1.pdf");
    if (FILE* p = popen(("pdfinfo '" + printed[0] + "' 2>/dev/null").c_str(), "r")) {
        char line[256];
        std::string pages;
        while (fgets(line, sizeof line, p))
            if (std::string(line).rfind("Pages:", 0) == 0) pages = line;
        pclose(p);
        if (!pages.empty()) {
            EXPECT_EQ(std::stoi(pages.substr(6)), 3);
        }
    }
}

TEST_F(MainWindowTest, HelpAboutPrinterSetupAndExit) {
    Open();
    // The help system's own help is there; Vorl's help file is not, and the user is told so.
    PutHelpFile("C:\\WINDOWS\\winhelp.hlp");
    std::vector<std::string> missing;
    TRobot robot;
    auto tellsMissing = [&] {
        robot.OnNextModal([&](win::HWND box) { missing.push_back(TRobot::ChildText(box, "Message")); });
        robot.AnswerNextModal(TBy::Caption("OK"));
    };
    Tool(robot, Form->ebHelp);
    tellsMissing();
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&Help|&Search for Help On...");
    tellsMissing();
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&Help|&How to Use Help");
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&Help|&About...");
    bool about = false;
    robot.OnNextModal([&](win::HWND) { about = dynamic_cast<TfrmAbout*>(FindControl(TRobot::ModalWindow())); });
    robot.Click(TBy::Caption("OK"));
    Run(robot);
    EXPECT_TRUE(about);
    const std::string own = Application->HelpFile();
    EXPECT_EQ(Application->HelpFile(), rtl::ExtractFilePath(rtl::GetModuleFileName()) + "vorl.hlp");
    const auto& calls = RecordedHelpCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].Command, HELP_CONTENTS);
    EXPECT_EQ(calls[0].HelpFile, own);
    EXPECT_EQ(calls[1].Command, HELP_PARTIALKEY);
    EXPECT_EQ(calls[1].Key, "");
    EXPECT_EQ(calls[2].Command, HELP_CONTENTS);
    EXPECT_EQ(calls[2].HelpFile, "winhelp.hlp");
    const std::string told = "Cannot find the " + own + " file.";
    EXPECT_EQ(missing, (std::vector<std::string>{told, told}));

    // Printer setup is the class library's dialog.
    bool setup = false;
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&File|Printer &Setup");
    robot.OnNextModal([&](win::HWND dialog) { setup = TRobot::FindControl(TBy::Name("LandscapeButton"), dialog) != nullptr; });
    robot.AnswerNextModal(TBy::Name("Cancel"));
    Run(robot);
    EXPECT_TRUE(setup);

    // Exit ends the program's message loop.
    Application->SetMainForm(Form.get());
    robot.ChooseMenu(TBy::Caption(" Vorl"), "&File|E&xit");
    Application->Run();
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_FALSE(Form->Visible());
    Form.reset();
    ASSERT_EQ(RecordedHelpCalls().size(), 4u);
    EXPECT_EQ(RecordedHelpCalls()[3].Command, HELP_QUIT);
}

// The program on its own: started with a machine root, it shows its window with the alias store
// beside it, writes the screenshot and ends cleanly.
TEST(VorlProgram, ShowsItsWindowAndExits) {
    testing_support::TempWinRoot root;
    fs::path folder = fs::path(root.Path()) / "drive_c" / "Tools";
    fs::create_directories(folder);
    fs::copy_file(VORL_PROGRAM_FILE, folder / "vorl");
    fs::permissions(folder / "vorl", fs::perms::owner_exec, fs::perm_options::add);
    std::ofstream(folder / "vorl.ini", std::ios::binary)
        << "[Alias1]\r\nAlias=Beside\r\nFilename=C:\\BESIDE.DCL\r\nPath=C:\\Tools\r\nMapFile=1\r\n";
    const std::string png = root.Path() + "/vorl.png";
    const std::string command = "env WINROOT='" + root.Path() + "' '" + (folder / "vorl").string() +
                                "' --headless --screenshot '" + png + "' 2>&1";
    int status = -1;
    std::string output = testing_support::Shell(command, &status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "");
    ASSERT_TRUE(fs::exists(png));
    fs::copy_file(png, "/tmp/vorl-program.png", fs::copy_options::overwrite_existing);
    EXPECT_EQ(ReadFile(png).substr(1, 3), "PNG");
    EXPECT_FALSE(fs::exists(root.Path() + "/drive_c/vorl.ini"));
}

} // namespace
} // namespace libconfig
