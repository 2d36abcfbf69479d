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

// One reader goes through the files of a search: each text is the file's own whatever came
// before it, through the folder it found before or the runtime's lookup of a name as typed.
TEST(DeclSourceFiles, OneReaderForManyFiles) {
    testing_support::TempWinRoot root;
    fs::path proj = fs::path(rtl::DriveCDir()) / "Proj";
    const std::string big(100000, 'x');
    Write(proj / "Big.pas", big);
    Write(proj / "Small.pas", "ab");
    Write(proj / "Empty.pas", "");
    Write(fs::path(rtl::DriveCDir()) / "Other" / "Unit.pas", "other");
    fs::create_directories(proj / "sub.pas");

    TFileReader reader;
    struct Case {
        const char* name;
        bool read;
        std::string text;
    };
    const Case cases[] = {
        {"C:\\Proj\\Big.pas", true, big},
        {"C:\\Proj\\Small.pas", true, "ab"},    // the same folder
        {"c:\\PROJ\\SMALL.PAS", true, "ab"},    // not there as written
        {"C:\\Proj\\Empty.pas", true, ""},
        {"C:\\Other\\Unit.pas", true, "other"}, // another folder
        {"C:\\Proj\\none.pas", false, ""},
        {"C:\\Proj\\sub.pas", false, ""},       // a folder
        {"C:\\Proj\\", false, ""},
        {"C:\\Nowhere\\Big.pas", false, ""},
        {"", false, ""},
        {"C:\\Proj\\Big.pas", true, big},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(reader.Read(c.name), c.read) << c.name;
        EXPECT_EQ(reader.Text(), c.text) << c.name;
    }
}
