#include "declsearch/Results.h"

#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace declsearch;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

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
