#include "IdeFixture.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace ide_test;

namespace {

class LibrariesTest : public IdeFixture {
protected:
    std::vector<std::string> AllCalls() const {
        std::vector<std::string> calls;
        for (const auto& c : Ide->CallLog().Calls())
            calls.push_back((c.FromLibrary ? "lib: " : "ide: ") + c.Text());
        return calls;
    }
};

TEST_F(LibrariesTest, EachLibraryIsEnteredThroughItsExportsAndShutDownInOrder) {
    EXPECT_EQ(Ide->LoadLibraries(FAKE_LIBRARY_DIR), 3);
    EXPECT_EQ(AllCalls(), (std::vector<std::string>{
                              "ide: Load(libdelvo32.so)",
                              "ide: Initialize()",
                              "lib: GetParentHandle()",
                              "ide: Load(libzestor.so)",
                              "ide: INITEXPERT0016()",
                              "lib: GetMainMenu()",
                              "lib: MainMenu.FindMenuItem(ToolsOptionsItem)",
                              "lib: MenuItem.GetParent(ToolsOptionsItem)",
                              "lib: MenuItem.GetIndex(ToolsOptionsItem)",
                              "lib: MenuItem.InsertItem(ToolsMenu, 1, Fake Expert, ToolsFakeItem, , 0, 0, 0, 6)",
                              "lib: RegisterProc()",
                              "ide: Expert.GetName()",
                              "ide: Expert.GetIDString()",
                              "ide: Expert.GetStyle()",
                              "ide: Load(libquillor.so)",
                          }));
    ASSERT_EQ(Ide->Experts().size(), 1u);
    EXPECT_EQ(Ide->Experts()[0].IDString, "Fake.Expert");
    ide::TMenuItem* tools = Ide->Menu().Find("ToolsMenu");
    ASSERT_EQ(tools->Count(), 3);
    EXPECT_EQ(tools->Items(1)->Name, "ToolsFakeItem");
    EXPECT_EQ(tools->Items(2)->Name, "ToolsQuilloCheckItem");

    // An error leaving the library's click is shown; an abort is not.
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsFakeItem"));
    EXPECT_EQ(Ide->Messages(), (std::vector<std::string>{"No project to work on"}));

    // The spell-check command calls the export and keeps its result.
    EXPECT_EQ(Ide->RunQuilloCheck(), 1);
    ASSERT_TRUE(OpenDemo());
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsQuilloCheckItem"));
    EXPECT_EQ(Ide->LastQuilloResult(), 2);
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsFakeItem"));
    EXPECT_EQ(Ide->Messages().size(), 1u);

    Ide->CallLog().Clear();
    Ide->Shutdown();
    EXPECT_EQ(AllCalls(), (std::vector<std::string>{
                              "ide: Expert.Release(Fake Expert)",
                              "lib: MenuItem.DestroyMenuItem(ToolsFakeItem)",
                              "ide: Terminate()",
                              "ide: CloseUp()",
                              "lib: GetCurrentFile()",
                              "ide: Unload(libquillor.so)",
                              "ide: Unload(libzestor.so)",
                              "ide: Unload(libdelvo32.so)",
                          }));
    EXPECT_EQ(Ide->Menu().Find("ToolsFakeItem"), nullptr);
    EXPECT_FALSE(Ide->IsLoaded(ide::TLibraryKind::Delvo));
}

TEST_F(LibrariesTest, MissingOrBrokenLibrariesAreSkipped) {
    namespace fs = std::filesystem;
    fs::path dir = fs::path(Root.Path()) / "libs";
    fs::create_directories(dir);
    fs::copy_file(fs::path(FAKE_LIBRARY_DIR) / "libzestor.so", dir / "libzestor.so");
    std::ofstream(dir / "libquillor.so") << "not a library";

    EXPECT_EQ(Ide->LoadLibraries((dir / "none").string()), 0);
    EXPECT_EQ(Ide->LoadLibraries(dir.string()), 1);
    EXPECT_TRUE(Ide->IsLoaded(ide::TLibraryKind::Zestor));
    EXPECT_FALSE(Ide->IsLoaded(ide::TLibraryKind::Quillor));
    ASSERT_EQ(Ide->Messages().size(), 1u);
    EXPECT_NE(Ide->Messages()[0].find("libquillor.so"), std::string::npos) << Ide->Messages()[0];
    EXPECT_EQ(Ide->RunQuilloCheck(), std::nullopt);
}

} // namespace
