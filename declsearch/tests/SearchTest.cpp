#include "declsearch/Results.h"

#include "declsearch/IdeHooks.h"
#include "declsearch/OptionsStore.h"
#include "rtl/Paths.h"

#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "TestFiles.h"

using namespace declsearch;
namespace fs = std::filesystem;

namespace {

using declsearch_test::Write;

std::string VisibleTexts(const TResultsModel& m) {
    std::string out;
    for (const TVisibleRow& r : m.Visible()) out += (out.empty() ? "" : "|") + r.Text;
    return out;
}

} // namespace

TEST(DeclSearch, ScanFilesBuildsRowsPerFile) {
    testing_support::TempWinRoot root;
    fs::path proj = fs::path(rtl::DriveCDir()) / "proj";
    Write(proj / "Unit1.pas", "unit Unit1;\r\ninterface\r\nprocedure A;\r\nimplementation\r\nprocedure A;\r\n"
                              "begin\r\nend;\r\nend.\r\n");
    Write(proj / "empty.pas", "unit Empty;\r\ninterface\r\nimplementation\r\nend.\r\n");
    std::string big;
    for (int i = 1; i <= 250; ++i) big += i == 120 ? "function Deep: Integer;\n" : "x\n";
    Write(proj / "big.inc", big);

    TResultsModel m;
    int pumps = 0, listChanges = 0;
    m.OnProcessMessages = [&] { ++pumps; };
    m.OnListChanged = [&] { ++listChanges; };
    m.ScanFiles({"C:\\proj\\unit1.pas", "C:\\proj\\empty.pas", "C:\\proj\\gone.pas", "C:\\proj\\big.inc"},
                TSearchSettings{}, 0);

    EXPECT_EQ(VisibleTexts(m), "C:\\PROJ\\UNIT1.PAS|2     interface|3     procedure A;|4     implementation|"
                               "5     procedure A;|C:\\PROJ\\GONE.PAS: File could not be opened|C:\\PROJ\\BIG.INC|"
                               "120   function Deep: Integer;");
    EXPECT_EQ(pumps, 2); // lines 100 and 200 of big.inc
    EXPECT_GT(listChanges, 0);
    EXPECT_EQ(m.FileCount(), 2);
    EXPECT_EQ(m.HitCount(), 3); // section rows are not hits
    EXPECT_TRUE(m.ListEnabled());
    ASSERT_EQ(m.ItemIndex(), 1); // the first row after the first header
    EXPECT_EQ(m.SelectedRow()->Key, "interface");
    EXPECT_EQ(m.SelectedRow()->FileName, "C:\\proj\\unit1.pas");
    EXPECT_EQ(m.StatusFileName(), "C:\\proj\\unit1.pas");
    EXPECT_EQ(m.GotoLine(), -1);

    const TProcLine& error = m.Results()[5].Row;
    EXPECT_EQ(error.Kind, TRowKind::Error);
    EXPECT_TRUE(error.FileName.empty());
    EXPECT_EQ(error.Pos, -1);
}

TEST(DeclSearch, NothingFoundIsOneDisabledRow) {
    testing_support::TempWinRoot root;
    Write(fs::path(rtl::DriveCDir()) / "a.pas", "unit A;\ninterface\nimplementation\nend.\n");
    TResultsModel m;
    m.ScanFiles({"C:\\a.pas"}, TSearchSettings{}, 0);
    EXPECT_EQ(VisibleTexts(m), "Nothing found");
    EXPECT_EQ(m.ItemIndex(), 0);
    EXPECT_FALSE(m.ListEnabled());
    EXPECT_EQ(m.FileCount(), 0);
    EXPECT_EQ(m.HitCount(), 0);
    EXPECT_TRUE(m.StatusFileName().empty());
    EXPECT_FALSE(m.GotoSelected());
    EXPECT_TRUE(m.FileMenuItems().empty());

    // The next search starts from nothing.
    Write(fs::path(rtl::DriveCDir()) / "b.pas", "procedure B;\n");
    m.ScanFiles({"C:\\b.pas"}, TSearchSettings{}, 0);
    EXPECT_EQ(VisibleTexts(m), "C:\\B.PAS|1     procedure B;");
    EXPECT_TRUE(m.ListEnabled());
}

namespace {

// A project folder on drive C: and the store the search reads.
class DeclSearchStore : public ::testing::Test {
protected:
    void SetUp() override {
        proj = fs::path(rtl::DriveCDir()) / "Proj";
        Write(proj / "Unit1.pas", "unit Unit1;\r\ninterface\r\nprocedure One;\r\nimplementation\r\nend.\r\n");
        Write(proj / "Unit2.PAS", "procedure Two;\r\nprocedure\tTabbed;\r\n");
        Write(proj / "notes.txt", "procedure Notes;\r\n");
        store = OpenOptionsStore();
        model.SetCurrentFile("C:\\proj\\unit1.pas");
    }

    std::vector<std::string> Headers() const {
        std::vector<std::string> names;
        for (const TResultRow& r : model.Results())
            if (r.Row.IsHeader()) names.push_back(r.Text);
        return names;
    }

    testing_support::TempWinRoot root;
    fs::path proj;
    std::unique_ptr<TKwRegIniFile> store;
    TIdeHooks noHooks;
    TResultsModel model;
};

} // namespace

TEST_F(DeclSearchStore, ScopeGivesTheFileList) {
    struct Case {
        const char* name;
        int option; // 0: none stored
        std::vector<std::string> units;
        std::vector<std::string> headers;
    } cases[] = {
        {"current file by default", 0, {}, {"C:\\PROJ\\UNIT1.PAS"}},
        {"project units", 2, {"c:/proj/UNIT2.pas", "C:\\Proj\\Unit1.pas"}, {"C:/PROJ/UNIT2.PAS", "C:\\PROJ\\UNIT1.PAS"}},
        {"project without units: the current file", 2, {}, {"C:\\PROJ\\UNIT1.PAS"}},
        {"folder by mask", 3, {}, {"C:\\PROJ\\UNIT1.PAS", "C:\\PROJ\\UNIT2.PAS"}},
        {"another scope: no file", 7, {}, {"Nothing found"}},
    };
    store->WriteString("User Defined", "Path", "C:\\PROJ\\*.pas");
    for (const Case& c : cases) {
        if (c.option)
            store->WriteInteger("Files", "Option", c.option);
        model.SetProjectUnits(c.units);
        model.Search(*store, noHooks);
        EXPECT_EQ(Headers(), c.headers) << c.name;
    }
}

TEST_F(DeclSearchStore, ChosenFilesKeepTheirCaseOnDisk) {
    store->WriteString("User Defined", "Path", "c:/proj/*.*");
    store->WriteString("User Defined", "File0", "unit2.pas");
    store->WriteString("User Defined", "File1", "unit1.pas");
    store->WriteString("User Defined", "File2", "gone.pas");
    store->WriteString("User Defined", "File4", "notes.txt"); // after the first empty one
    model.Search(*store, noHooks);
    EXPECT_EQ(Headers(), (std::vector<std::string>{"C:/PROJ/UNIT2.PAS", "C:/PROJ/UNIT1.PAS",
                                                   "C:/PROJ/GONE.PAS: File could not be opened"}));
    EXPECT_EQ(model.Results()[0].Row.FileName, "c:/proj/Unit2.PAS");
    EXPECT_EQ(model.FileCount(), 2);
}

TEST_F(DeclSearchStore, SettingsDisplayAndHourglass) {
    store->WriteBool("Options Last", "Function", false);
    store->WriteString("Interface", "Font Name", "Fixedsys");
    store->WriteString("Interface", "Font Size", "12");
    store->WriteString("Interface", "Color", "not a colour");
    std::vector<bool> busy;
    int displays = 0;
    model.OnBusy = [&](bool b) { busy.push_back(b); };
    model.OnDisplaySettings = [&] { ++displays; };
    model.SetCurrentFile("C:\\proj\\unit2.pas");
    model.Search(*store, noHooks);
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(displays, 1);
    EXPECT_EQ(model.FontName(), "Fixedsys");
    EXPECT_EQ(model.FontSize(), 12);
    EXPECT_EQ(model.MatchColor(), 255u);
    // Without the hook library a TAB is 8 blanks.
    ASSERT_EQ(model.Visible().size(), 3u);
    EXPECT_EQ(model.Visible()[1].Text, "1     procedure Two;");
    EXPECT_EQ(model.Visible()[2].Text, "2     procedure        Tabbed;");

    TIdeHooks hooks; // the test library answers a TAB width of 4
    ASSERT_TRUE(hooks.Load(rtl::WinPath(DECLSEARCH_HOOK_FIXTURE_DIR) + "\\libdelvo32.so"));
    model.Search(*store, hooks);
    ASSERT_EQ(model.Visible().size(), 3u);
    EXPECT_EQ(model.Visible()[2].Text, "2     procedure    Tabbed;");
    EXPECT_EQ(model.Results()[2].Row.Pos, 14);

    // An error in the middle still restores the cursor.
    busy.clear();
    model.OnProcessMessages = [] { throw std::runtime_error("stop"); };
    std::string many;
    for (int i = 0; i < 150; ++i) many += "x\n";
    Write(proj / "many.pas", many);
    model.SetCurrentFile("C:\\proj\\many.pas");
    EXPECT_THROW(model.Search(*store, hooks), std::runtime_error);
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
}

TEST_F(DeclSearchStore, WithoutACurrentFileOneErrorRow) {
    model.SetCurrentFile("");
    model.Search(*store, noHooks);
    ASSERT_EQ(model.Visible().size(), 1u);
    EXPECT_EQ(model.Visible()[0].Text, ": File could not be opened");
    EXPECT_TRUE(model.ListEnabled());
    EXPECT_FALSE(model.GotoSelected());
}
