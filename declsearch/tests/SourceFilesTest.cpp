#include "declsearch/SourceFiles.h"

#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "TestFiles.h"

using namespace declsearch;
namespace fs = std::filesystem;

namespace {

using declsearch_test::Write;

} // namespace

TEST(DeclSourceFiles, FolderParts) {
    EXPECT_EQ(FolderPart("C:\\proj\\*.pas"), "C:\\proj\\");
    EXPECT_EQ(FolderPart("C:/proj/src/*.pas"), "C:/proj/src/");
    EXPECT_EQ(FolderPart("C:unit1.pas"), "C:");
    EXPECT_EQ(FolderPart("unit1.pas"), "");
    EXPECT_EQ(NamePart("C:\\proj\\*.pas"), "*.pas");
}

TEST(DeclSourceFiles, NamesResolveWithoutRegardToCase) {
    testing_support::TempWinRoot root;
    fs::path proj = fs::path(rtl::DriveCDir()) / "Proj";
    Write(proj / "Unit1.pas", "a\r\nb\nc\rd");
    Write(proj / "Other.PAS", "");
    Write(proj / ".hidden.pas", "x");
    Write(proj / "Notes.txt", "x");
    fs::create_directories(proj / "sub.pas");

    EXPECT_EQ(ResolveInFolder("C:\\proj\\", "unit1.pas"), "C:\\proj\\Unit1.pas");
    EXPECT_EQ(ResolveInFolder("c:/PROJ/", "missing.pas"), "c:/PROJ/missing.pas");

    std::vector<std::string> found = FindFiles("C:\\PROJ\\*.pas");
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"C:\\PROJ\\Other.PAS", "C:\\PROJ\\Unit1.pas"}));
    EXPECT_TRUE(FindFiles("C:\\nowhere\\*.pas").empty());

    std::vector<std::string> lines;
    ASSERT_TRUE(ReadFileLines("c:\\proj\\UNIT1.PAS", lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));
    ASSERT_TRUE(ReadFileLines("C:/Proj/Other.pas", lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(ReadFileLines("C:\\proj\\sub.pas", lines)); // a folder
    EXPECT_FALSE(ReadFileLines("C:\\proj\\none.pas", lines));
    EXPECT_FALSE(ReadFileLines("", lines));
}
