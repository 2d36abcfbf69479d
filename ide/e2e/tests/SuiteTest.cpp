// The suite end to end: the stand-in IDE with the real libraries of the build, Vorl's window
// beside it, each road driven by the robot from its menu command to the files on disk.
#include "ide/e2e/Tour.h"

#include "ide/WinNames.h"
#include "libconfig/AliasStore.h"
#include "rtl/FormFiles.h"
#include "rtl/Paths.h"
#include "rtl/Registry.h"
#include "rtl/SysUtils.h"
#include "rtl/TestHooks.h"
#include "rtl/WinRoot.h"
#include "testing/Shell.h"
#include "testing/UiTest.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using tour::DemoDir;

class SuiteTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        FOldDir = rtl::GetCurrentDir();
        tour::CopyDemoProject(SUITE_SOURCE_DIR);
        Tour = std::make_unique<tour::TTour>(IDE_FOLDER);
        ASSERT_TRUE(Tour->Ide().IsLoaded(ide::TLibraryKind::Quillor));
        ASSERT_TRUE(Tour->Ide().IsLoaded(ide::TLibraryKind::Delvo));
        ASSERT_TRUE(Tour->Ide().IsLoaded(ide::TLibraryKind::Zestor));
    }
    void TearDown() override {
        // The IDE's windows go before the window system is reset.
        Tour.reset();
        rtl::SetCurrentDir(FOldDir);
        UiTest::TearDown();
    }
    std::string Disk(const std::string& name) {
        auto text = ide::ReadWholeFile(name);
        return text ? *text : "<missing>";
    }

    std::unique_ptr<tour::TTour> Tour;

private:
    std::string FOldDir;
};

TEST_F(SuiteTest, ToolsSpellCheckShowsQuillorsMainWindowAndCloseGivesTwo) {
    EXPECT_EQ(Tour->OpenSpellChecker(), 2);
    EXPECT_EQ(Tour->Faults(), std::vector<std::string>{});
}

// The text of a binary form file.
std::string FormText(const std::string& formFile) {
    const std::string text = "C:\\form.txt";
    rtl::ObjectResourceFileToTextFile(formFile, text);
    auto t = ide::ReadWholeFile(text);
    return t ? *t : "<missing>";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST_F(SuiteTest, TheProjectsStringsAreCheckedAndWrittenBackToAUnitItsIncludeFileAndTheForm) {
    const std::string form = Disk(DemoDir + "Main.dfm"), formText = FormText(DemoDir + "Main.dfm");
    const std::string shapes = Disk(DemoDir + "Shapes.pas"), inc = Disk(DemoDir + "Demo.inc");
    const std::string main = Disk(DemoDir + "Main.pas");
    ASSERT_TRUE(Tour->Ide().OpenFile(DemoDir + "Main.pas"));

    tour::TSpellOutcome out = Tour->CheckStrings(tour::DemoStringAnswers(), {});
    EXPECT_EQ(Tour->Faults(), std::vector<std::string>{});
    EXPECT_EQ(out.Result, 2);
    EXPECT_EQ(out.Boxes,
              (std::vector<std::string>{DemoDir + "MAIN.DFM already exists. Overwrite?", "Quillo Checking Complete."}));

    EXPECT_EQ(Disk(DemoDir + "Shapes.pas"), Replaced(shapes, "an aera of", "an area of"));
    EXPECT_EQ(Disk(DemoDir + "Demo.inc"), Replaced(inc, "recieved", "received"));
    std::string expected = Replaced(Replaced(Replaced(formText, "Welcom ", "Welcome "), "drawe'", "draw'"), "thier", "their");
    EXPECT_NE(expected, formText);
    EXPECT_EQ(FormText(DemoDir + "Main.dfm"), expected);
    EXPECT_EQ(Disk(DemoDir + "Main.dfm").substr(0, 1), "\xFF") << "binary again";
    EXPECT_EQ(Disk(DemoDir + "Main.pas"), main) << "no string to change";
    // Each changed file's backup holds what it was.
    EXPECT_EQ(Disk(DemoDir + "Main.~DF"), form);
    EXPECT_EQ(Disk(DemoDir + "Shapes.~pa"), shapes);
    EXPECT_EQ(Disk(DemoDir + "Demo.~in"), inc);
    // The IDE has its project and file back.
    EXPECT_TRUE(rtl::SameText(Tour->Ide().ToolServices()->GetProjectName(), DemoDir + "Demo.dpr"));
    EXPECT_TRUE(rtl::SameText(Tour->Ide().CurrentFile(), DemoDir + "Main.pas"));
    EXPECT_EQ(Tour->Ide().Messages(), std::vector<std::string>{});
}

TEST_F(SuiteTest, TheSearchShortcutPutsTheEditorAtTheChosenDeclaration) {
    tour::TSearchOutcome out = Tour->SearchDeclarations(DemoDir + "Helpers.pas");
    EXPECT_EQ(Tour->Faults(), std::vector<std::string>{});
    EXPECT_EQ(out.Caption, "Browse Search Results");
    EXPECT_TRUE(rtl::SameText(out.File, DemoDir + "Helpers.pas")) << out.File;
    // The last hit is the last heading of the unit.
    EXPECT_EQ(out.LineText, "procedure Swap(var A, B: Integer);");
    EXPECT_TRUE(Tour->Ide().Active());
}

TEST_F(SuiteTest, APropertyInsertedWithTheWizardCompiles) {
    tour::TPropertyOutcome out = Tour->InsertProperty(DemoDir + "Shapes.pas", "TCircle", "Filled");
    EXPECT_EQ(Tour->Faults(), std::vector<std::string>{});
    EXPECT_EQ(out.Caption, "Property Expert");
    const std::string& text = out.UnitText;
    std::size_t circle = text.find("TCircle = class(TShape)"), rectangle = text.find("TRectangle = class(TShape)");
    std::size_t field = text.find("    FFilled: Boolean;\r\n");
    std::size_t property = text.find("    property Filled: Boolean read FFilled write FFilled;\r\n");
    ASSERT_NE(field, std::string::npos) << text;
    ASSERT_NE(property, std::string::npos) << text;
    EXPECT_TRUE(circle < field && field < rectangle) << text;
    EXPECT_TRUE(circle < property && property < rectangle) << text;
    // The code editor shows the new property where it went in.
    EXPECT_LE(out.TopLine, out.PropertyLine);
    EXPECT_LT(out.PropertyLine, out.TopLine + out.Rows);

    ASSERT_TRUE(Tour->Ide().SaveFile(DemoDir + "Shapes.pas"));
    EXPECT_EQ(Disk(DemoDir + "Shapes.pas"), text);
    if (!tour::HaveFpc())
        GTEST_SKIP() << "fpc is not installed";
    std::string log;
    EXPECT_TRUE(tour::CompileProject(SUITE_SOURCE_DIR, log)) << log;
}

TEST_F(SuiteTest, OpenOfAnotherUnitMakesItTheCurrentFileForThePropertyExpert) {
    // The project file is current after opening the project; the expert takes only units.
    ASSERT_EQ(Tour->Ide().CurrentFile(), DemoDir + "Demo.dpr");
    ASSERT_TRUE(Tour->OpenThroughDialog(DemoDir + "Shapes.pas"));
    EXPECT_EQ(Tour->Ide().ToolServices()->GetCurrentFile(), DemoDir + "Shapes.pas");
    tour::TPropertyOutcome out = Tour->InsertProperty("", "TCircle", "Filled");
    EXPECT_EQ(Tour->Faults(), std::vector<std::string>{});
    EXPECT_EQ(out.File, DemoDir + "Shapes.pas");
    EXPECT_NE(out.UnitText.find("    property Filled: Boolean read FFilled write FFilled;\r\n"), std::string::npos);
    EXPECT_EQ(Tour->Ide().Messages(), std::vector<std::string>{});
}

TEST_F(SuiteTest, ASnippetGoesInAtTheEditorsCursor) {
    const std::string before = Disk(DemoDir + "Drawing.pas");
    // A search's Goto leaves the cursor elsewhere first; the user's caret is what counts.
    ASSERT_TRUE(Tour->Ide().GotoLine(DemoDir + "Drawing.pas", 20, 5));
    tour::TSnippetOutcome out = Tour->InsertSnippet(DemoDir + "Drawing.pas", 66, 3, "trye");
    EXPECT_EQ(Tour->Faults(), std::vector<std::string>{});
    EXPECT_EQ(out.Caption, "Quick Code Expert");
    EXPECT_NE(out.UnitText.find("  Result := 0;\r\n  try\r\n    |\r\n  except\r\n  end;\r\n\r\n  for I"), std::string::npos) << out.UnitText;
    EXPECT_EQ(Disk(DemoDir + "Drawing.pas"), before) << "the buffer changes, the file waits for a save";
}

TEST_F(SuiteTest, VorlAppliesAConfigurationOnlyOnceTheIdeHasClosed) {
    tour::TVorlOutcome out = Tour->ApplyLibraryConfiguration("Demo Library");
    EXPECT_EQ(Tour->Faults(), std::vector<std::string>{});
    EXPECT_EQ(out.Refused, "Delphi IDE is running, library configuration cannot be changed!");
    EXPECT_TRUE(out.KeyKeptWhileRefused);
    EXPECT_EQ(out.Applied, "Registry updated. New library configuration\nwill take effect next time you start Delphi.");

    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + libconfig::LibraryKey, false));
    EXPECT_EQ(reg.ReadString("MapFile"), "3");
    EXPECT_EQ(reg.ReadString("SaveLibrarySource"), "1");
    // The rest came from the IDE's own key, unchanged.
    EXPECT_EQ(reg.ReadString("ComponentLibrary"), "C:\\BORLAND\\DELPHI 2.0\\BIN\\CMPLIB32.DCL");
    EXPECT_EQ(reg.ReadString("SearchPath"), "C:\\BORLAND\\DELPHI 2.0\\LIB");
    EXPECT_EQ(reg.ReadString("UnitAliases"), "WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;DbiErrs=BDE");
    EXPECT_EQ(reg.ReadString("DebugInfo"), "1");
    std::string store = Disk("C:\\VORL\\vorl.ini");
    EXPECT_NE(store.find("Alias=Demo Library"), std::string::npos) << store;
    EXPECT_NE(store.find("MapFile=3"), std::string::npos) << store;
}

TEST_F(SuiteTest, VorlSaysWhenTheIdesKeyCannotBeWrittenAndWritesNothingElsewhere) {
    // The registry's file takes no change from here on, as with its lock held by another program;
    // the values the configuration shares with the key need none, the first that differs fails.
    const std::string registryFile = rtl::UserRegistryFile();
    rtl::SetWriteFailureHook([registryFile](std::string_view name) { return name == registryFile ? 11 : 0; });
    tour::TVorlOutcome out = Tour->ApplyLibraryConfiguration("Demo Library");
    rtl::SetWriteFailureHook({});
    EXPECT_EQ(out.Refused, "Delphi IDE is running, library configuration cannot be changed!");
    EXPECT_EQ(out.Applied, "Unable to write to registry key HKEY_CURRENT_USER\\Software\\Borland\\Delphi\\2.0\\Library "
                           "(Failed to set data for 'SaveLibrarySource').\nThe library configuration was not changed.");
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + libconfig::LibraryKey, false));
    EXPECT_EQ(reg.ReadString("MapFile"), "0");
    EXPECT_EQ(reg.ReadString("SaveLibrarySource"), "0");
    ASSERT_TRUE(reg.OpenKey("\\", false));
    EXPECT_FALSE(reg.ValueExists("MapFile"));
    EXPECT_FALSE(reg.ValueExists("ComponentLibrary"));
}

TEST(SuiteProject, TheExampleProjectCompilesWithFpc) {
    if (!tour::HaveFpc())
        GTEST_SKIP() << "fpc is not installed";
    testing_support::TempWinRoot root;
    tour::CopyDemoProject(SUITE_SOURCE_DIR);
    std::string log;
    EXPECT_TRUE(tour::CompileProject(SUITE_SOURCE_DIR, log)) << log;
    // Nothing of fpc's is left in the project.
    for (const auto& e : fs::directory_iterator(rtl::HostPath(DemoDir)))
        EXPECT_NE(e.path().extension(), ".ppu") << e.path();
}

TEST(SuiteTour, TheTourRunsEveryRoadAndKeepsAPictureOfEachStep) {
    testing_support::TempWinRoot root;
    const std::string shots = root.Path() + "/shots";
    std::string command = "env WINROOT='" + root.Path() + "' '" TOUR_PROGRAM_FILE "' '" SUITE_SOURCE_DIR "' '" IDE_FOLDER
                          "' '" + shots + "' 2>&1";
    int status = -1;
    std::string output = testing_support::Shell(command, &status);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_EQ(output.find("FAULT"), std::string::npos) << output;
    int pictures = 0;
    for (const auto& e : fs::directory_iterator(shots)) {
        EXPECT_EQ(e.path().extension(), ".png") << e.path();
        ++pictures;
    }
    EXPECT_NE(output.find("demo: " + std::to_string(pictures) + " pictures in"), std::string::npos) << output;
    for (const char* road : {"Spell Check...", "Spell Check Strings", "Ctrl+Alt+X", "Property Expert", "Quick Code Expert", "Vorl made"})
        EXPECT_NE(output.find(road), std::string::npos) << road << "\n" << output;
}

} // namespace
