// Zestor as the IDE sees it: the real libzestor.so loaded by the stand-in IDE in this process,
// and the entry's refusals through the statically linked experts.
#include "experts/Experts.h"

#include "experts/Library.h"
#include "ide/Ide.h"
#include "ide/IdeSettings.h"
#include "ide/WinNames.h"
#include "ide/tests/IdeFixture.h"
#include "ide/tests/IdeUiFixture.h"
#include "rtl/Paths.h"
#include "testing/Shell.h"
#include "testing/UiTest.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace experts {
namespace {

using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

std::vector<std::string> ToolsItems(ide::TIde& Ide) {
    std::vector<std::string> names;
    ide::TMenuItem* tools = Ide.Menu().Find("ToolsMenu");
    for (int i = 0; i < tools->Count(); ++i)
        names.push_back(tools->Items(i)->Name + "|" + tools->Items(i)->Caption + "|" + tools->Items(i)->Hint);
    return names;
}

class ZestorTest : public ide_test::IdeUiTest {
protected:
    void TearDown() override {
        Ide.reset();
        DoneExperts();
        IdeUiTest::TearDown();
    }
    void Idle() {
        for (int i = 0; i < 5; ++i) vcl::Application->ProcessMessages();
    }
};

TEST_F(ZestorTest, TheLibraryShowsOnlyItsEntry) {
    auto symbols = testing_support::ExportedSymbols(ZESTOR_LIBRARY_FILE);
    EXPECT_EQ(symbols, std::vector<std::string>{"INITEXPERT0016"});
}

TEST_F(ZestorTest, BothExpertsPutTheirItemsAfterToolsOptionsAndOpenTheirWindows) {
    ASSERT_TRUE(Ide->LoadLibrary(ide::TLibraryKind::Zestor, ZESTOR_LIBRARY_FILE));
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});
    ASSERT_EQ(Ide->Experts().size(), 2u);
    EXPECT_EQ(Ide->Experts()[0].Name, "Palvane Quick Code Expert");
    EXPECT_EQ(Ide->Experts()[0].IDString, "Palvane.QuickCodeExpert");
    EXPECT_EQ(Ide->Experts()[1].Name, "Palvane Property Expert");
    EXPECT_EQ(Ide->Experts()[1].IDString, "Palvane.PropertyExpert");
    EXPECT_EQ(Ide->Experts()[1].Style, host::esAddIn);
    std::vector<std::string> items = ToolsItems(*Ide);
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items[0].substr(0, items[0].find('|')), "ToolsOptionsItem");
    EXPECT_EQ(items[1], "ToolsPropertyExpertItem|Property Expert|Displays the property expert");
    EXPECT_EQ(items[2], "ToolsQuickCodeExpertItem|Quick Code Expert|Displays the quick code expert");

    // The Quick Code window is made once and shown modeless; a later click restores it.
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsQuickCodeExpertItem"));
    Idle();
    win::HWND code = TRobot::FindWindow(TBy::Caption("Quick Code Expert"));
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(win::IsWindowVisible(code));
    win::ShowWindow(code, win::SW_MINIMIZE);
    Idle();
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsQuickCodeExpertItem"));
    Idle();
    EXPECT_EQ(TRobot::FindWindow(TBy::Caption("Quick Code Expert")), code);
    EXPECT_FALSE(win::IsIconic(code));
    EXPECT_TRUE(win::IsWindowVisible(code));
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});

    // Over a unit with a class the wizard is shown modally on its first page.
    ASSERT_TRUE(Ide->ToolServices()->OpenProject("C:\\PROJECTS\\Demo\\Demo.dpr"));
    ASSERT_TRUE(Ide->ToolServices()->OpenFile("C:\\PROJECTS\\Demo\\Main.pas"));
    std::string page, insert;
    bool nextEnabled = false, insertEnabled = true;
    {
        TRobot robot;
        robot.OnNextModal([&](win::HWND wizard) {
            EXPECT_EQ(TRobot::TextOf(wizard), "Property Expert");
            insert = TRobot::ChildText(wizard, "btnOK");
            insertEnabled = win::IsWindowEnabled(TRobot::FindControl(TBy::Name("btnOK"), wizard));
            nextEnabled = win::IsWindowEnabled(TRobot::FindControl(TBy::Name("btnNext"), wizard));
            EXPECT_TRUE(TRobot::Screenshot(SUITE_BINARY_DIR "/experts-property-expert.png", wizard));
        });
        robot.Click(TBy::Name("btnCancel"), TBy::Caption("Property Expert"));
        EXPECT_TRUE(Ide->Menu().ClickByName("ToolsPropertyExpertItem"));
        EXPECT_TRUE(robot.Done()) << robot.Describe();
    }
    EXPECT_EQ(insert, "Insert");
    EXPECT_FALSE(insertEnabled);
    EXPECT_TRUE(nextEnabled);
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});

    // A unit without a class ends the click in an error, before the window is shown.
    ASSERT_TRUE(Ide->ToolServices()->OpenFile("C:\\PROJECTS\\Demo\\Helpers.pas"));
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsPropertyExpertItem"));
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{"There are no classes in this unit"});

    // Unloading removes both items and the library's windows.
    Ide->Shutdown();
    items = ToolsItems(*Ide);
    for (const std::string& item : items)
        EXPECT_EQ(item.find("ExpertItem"), std::string::npos) << item;
    EXPECT_FALSE(Ide->IsLoaded(ide::TLibraryKind::Zestor));
    EXPECT_FALSE(win::IsWindow(code));
}

// The Quick Code window of the real library over a template file of the user's: a second click
// on its menu item keeps what was typed, and saving one change leaves the rest of the file as
// it was, a header "[x |]" and two snippets of one name included.
TEST_F(ZestorTest, ASecondClickKeepsAnUnsavedEditAndASaveKeepsTheRestOfTheFile) {
    const std::string file = rtl::HostPath(ide::CodeTemplateFile);
    const std::string original = "; mine\r\n[x |]\r\nx;\n[ifs | first]\r\nif a then\r\n\r\n[ifs | second]\r\n"
                                 "if b then  \r\n[zed | z]\r\nz;\r\n";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << original;
    ASSERT_TRUE(Ide->LoadLibrary(ide::TLibraryKind::Zestor, ZESTOR_LIBRARY_FILE));
    TRobot robot;
    auto window = [] { return TRobot::FindWindow(TBy::Caption("Quick Code Expert")); };
    auto memo = [&] { return TRobot::ChildText(window(), "mmoCode"); };
    auto run = [&] {
        testing_support::PlayOut(robot, 300, 0);
        Idle();
        EXPECT_TRUE(robot.Done()) << robot.Describe();
    };
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsQuickCodeExpertItem"));
    Idle();
    ASSERT_NE(window(), nullptr);
    // The last snippet of the sorted list, its code changed by typing.
    robot.Click(TBy::Name("lstName"), TBy::Caption("Quick Code Expert"));
    robot.Key(win::VK_END);
    robot.Click(TBy::Name("mmoCode"), TBy::Caption("Quick Code Expert"));
    robot.Key(win::VK_HOME, false, true);
    robot.Key(win::VK_END);
    robot.Type("!");
    run();
    ASSERT_EQ(memo(), "z;!\r\n");

    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsQuickCodeExpertItem"));
    Idle();
    EXPECT_EQ(memo(), "z;!\r\n") << "the second click kept the edit";
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});
    // Save, on the button bar.
    robot.ClickAt(TRobot::FindControl(TBy::Name("pnlButtons"), window()), {93 + 12, 3 + 12});
    run();
    std::ifstream in(file, std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(saved, "; mine\r\n[x |]\r\nx;\n[ifs | first]\r\nif a then\r\n\r\n[ifs | second]\r\n"
                     "if b then  \r\n[zed | z]\r\nz;!\r\n");
}

// A read-only template file is not rewritten: Save shows the error naming the file, and the window
// keeps what was typed, still to be saved.
TEST_F(ZestorTest, QuickCodeShowsWhyAReadOnlyTemplateFileIsNotSavedAndKeepsTheEdit) {
    ASSERT_TRUE(Ide->LoadLibrary(ide::TLibraryKind::Zestor, ZESTOR_LIBRARY_FILE));
    const std::string file = rtl::HostPath(ide::CodeTemplateFile);
    namespace fs = std::filesystem;
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = ide::ReadWholeFile(ide::CodeTemplateFile).value_or("<missing>");
    const TBy window = TBy::Caption("Quick Code Expert");
    std::string error, description;
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsQuickCodeExpertItem"));
    Idle();
    win::HWND panel = TRobot::FindControl(TBy::Name("pnlButtons"), TRobot::FindWindow(window));
    ASSERT_NE(panel, nullptr);
    {
        TRobot robot;
        robot.Do([&] {
            win::HWND list = TRobot::FindControl(TBy::Name("lstName"), TRobot::FindWindow(window));
            const char* name = "fors";
            int index = int(win::SendMessage(list, win::LB_FINDSTRINGEXACT, win::WPARAM(-1),
                                             reinterpret_cast<win::LPARAM>(name)));
            win::SendMessage(list, win::LB_SETCURSEL, win::WPARAM(index), 0);
            win::SendMessage(win::GetParent(list), win::WM_COMMAND,
                             win::MAKEWPARAM(win::GetDlgCtrlID(list), win::LBN_SELCHANGE),
                             reinterpret_cast<win::LPARAM>(list));
        });
        robot.Click(TBy::Name("edtDescription"), window);
        robot.Key(win::VK_END);
        robot.Type(" of mine");
        // Save is the fourth speed button of the button bar.
        robot.ClickAt(panel, {93 + 12, 3 + 12});
        robot.OnNextModal([&](win::HWND box) {
            error = TRobot::ChildText(box, "Message");
            TRobot::Screenshot("/tmp/quick-code-read-only.png");
        });
        robot.AnswerNextModal(TBy::Name("OK"));
        robot.Do([&] {
            win::HWND code = TRobot::FindWindow(window);
            description = TRobot::ChildText(code, "edtDescription");
        });
        EXPECT_TRUE(testing_support::PlayOut(robot, 300, 0)) << robot.Describe();
    }
    EXPECT_EQ(error, "Cannot create file " + std::string(ide::CodeTemplateFile) + ": the file is read-only.");
    EXPECT_EQ(description, "for statement of mine");
    EXPECT_EQ(ide::ReadWholeFile(ide::CodeTemplateFile).value_or("<missing>"), before);
}

TEST_F(ZestorTest, TheEntryRefusesWithoutServicesOrOptionsItemAndASecondCall) {
    static std::vector<host::TIExpert*> registered;
    registered.clear();
    host::TExpertRegisterProc reg = [](host::TIExpert* e) {
        registered.push_back(e);
        return true;
    };
    host::TExpertTerminateProc terminate = nullptr;

    EXPECT_FALSE(InitExpert(nullptr, reg, &terminate));
    EXPECT_EQ(ToolServices, nullptr);

    // An IDE without a Tools Options item: nothing registered, nothing kept.
    ide::TMenuItem* options = Ide->Menu().Find("ToolsOptionsItem");
    ASSERT_NE(options, nullptr);
    std::string oldName = options->Name;
    options->Name = "SomethingElse";
    EXPECT_FALSE(InitExpert(Ide->ToolServices(), reg, &terminate));
    EXPECT_TRUE(registered.empty());
    EXPECT_EQ(ToolServices, nullptr);
    options->Name = oldName;

    ASSERT_TRUE(InitExpert(Ide->ToolServices(), reg, &terminate));
    EXPECT_NE(terminate, nullptr);
    ASSERT_EQ(registered.size(), 2u);
    std::vector<std::string> before = ToolsItems(*Ide);

    // A second call changes nothing of the first registration.
    host::TExpertTerminateProc second = nullptr;
    EXPECT_FALSE(InitExpert(Ide->ToolServices(), reg, &second));
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(registered.size(), 2u);
    EXPECT_EQ(ToolsItems(*Ide), before);
    EXPECT_EQ(ToolServices, Ide->ToolServices());

    // A click on another item than the expert's own does nothing.
    auto* code = static_cast<TCodeExpert*>(registered[0]);
    auto* prop = static_cast<TPropExpert*>(registered[1]);
    ide::TMenuItem* codeItem = Ide->Menu().Find("ToolsQuickCodeExpertItem");
    ASSERT_NE(codeItem, nullptr);
    codeItem->OnClick(prop->MenuItem());
    codeItem->OnClick(nullptr);
    Idle();
    EXPECT_EQ(TRobot::FindWindow(TBy::Caption("Quick Code Expert")), nullptr);
    codeItem->OnClick(code->MenuItem());
    Idle();
    EXPECT_NE(TRobot::FindWindow(TBy::Caption("Quick Code Expert")), nullptr);

    // Releasing the experts takes their items away.
    for (host::TIExpert* e : registered) e->Release();
    for (const std::string& item : ToolsItems(*Ide))
        EXPECT_EQ(item.find("ExpertItem"), std::string::npos) << item;
}

} // namespace
} // namespace experts
