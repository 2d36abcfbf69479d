#include "rtl/Paths.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct SplitCase {
    const char* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
    const char* drive;
};

TEST(Paths, ExtractFileParts) {
    const SplitCase cases[] = {
        {"C:\\DELPHI\\SOURCE\\UNIT1.PAS", "C:\\DELPHI\\SOURCE\\", "C:\\DELPHI\\SOURCE", "UNIT1.PAS", ".PAS", "C:"},
        {"C:\\UNIT1.PAS", "C:\\", "C:\\", "UNIT1.PAS", ".PAS", "C:"},
        {"C:UNIT1.PAS", "C:", "C:", "UNIT1.PAS", ".PAS", "C:"},
        {"UNIT1", "", "", "UNIT1", "", ""},
        {"dir.old\\readme", "dir.old\\", "dir.old", "readme", "", ""},
        {"a\\b.tar.gz", "a\\", "a", "b.tar.gz", ".gz", ""},
        {"C:\\PROJ\\", "C:\\PROJ\\", "C:\\PROJ", "", "", "C:"},
        {"\\\\server\\x", "\\\\server\\", "\\\\server", "x", "", ""},
        {".dsk", "", "", ".dsk", ".dsk", ""},
        // '/' is not a delimiter for the splitting routines, as for the class library.
        {"C:/a/b.pas", "C:", "C:", "/a/b.pas", ".pas", "C:"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const SplitCase& c = cases[i];
        SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.name);
        EXPECT_EQ(rtl::ExtractFilePath(c.name), c.path);
        EXPECT_EQ(rtl::ExtractFileDir(c.name), c.dir);
        EXPECT_EQ(rtl::ExtractFileName(c.name), c.file);
        EXPECT_EQ(rtl::ExtractFileExt(c.name), c.ext);
        EXPECT_EQ(rtl::ExtractFileDrive(c.name), c.drive);
    }
}

TEST(Paths, ChangeFileExt) {
    const struct { const char* name; const char* ext; const char* expected; } cases[] = {
        {"C:\\P\\UNIT1.PAS", ".TXT", "C:\\P\\UNIT1.TXT"},
        {"C:\\P\\UNIT1", ".DFM", "C:\\P\\UNIT1.DFM"},
        {"C:\\P.D\\UNIT1", ".~PA", "C:\\P.D\\UNIT1.~PA"},
        {"UNIT1.PAS", "", "UNIT1"},
        {"a.b.c", ".d", "a.b.d"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rtl::ChangeFileExt(cases[i].name, cases[i].ext), cases[i].expected) << "case " << i;
}

class PathsOnDisk : public testing::Test {
protected:
    void SetUp() override {
        saved = rtl::GetCurrentDir();
        fs::create_directories(rtl::DriveCDir() + "/Delphi 2.0/Source");
        std::ofstream(rtl::DriveCDir() + "/Delphi 2.0/Source/Unit1.pas") << "unit Unit1;";
        ASSERT_TRUE(rtl::SetCurrentDir("C:\\"));
    }
    void TearDown() override { rtl::SetCurrentDir(saved); }

    testing_support::TempWinRoot root;
    std::string saved;
};

TEST_F(PathsOnDisk, ExpandFileName) {
    ASSERT_TRUE(rtl::SetCurrentDir("c:/delphi 2.0"));
    EXPECT_EQ(rtl::GetCurrentDir(), "C:\\Delphi 2.0"); // the case found on disk
    const struct { const char* name; const char* expected; } cases[] = {
        {"Source\\Unit1.pas", "C:\\Delphi 2.0\\Source\\Unit1.pas"},
        {"source/unit1.pas", "C:\\Delphi 2.0\\source\\unit1.pas"}, // the caller's case is kept
        {".\\USERDCT.TXT", "C:\\Delphi 2.0\\USERDCT.TXT"},
        {"..\\WINDOWS\\WIN.INI", "C:\\WINDOWS\\WIN.INI"},
        {"..\\..\\..\\x", "C:\\x"},
        {"\\BIN", "C:\\BIN"},
        {"c:\\a\\.\\b\\..\\c", "C:\\a\\c"},
        {"C:a.pas", "C:\\Delphi 2.0\\a.pas"},
        {"z:/usr//share/", "Z:\\usr\\share\\"},
        {"Z:lib", "Z:\\lib"},
        {"", "C:\\Delphi 2.0"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rtl::ExpandFileName(cases[i].name), cases[i].expected) << "case " << i << ": " << cases[i].name;
}

TEST_F(PathsOnDisk, HostPathMatchesEachComponentWithoutCase) {
    const std::string c = rtl::DriveCDir();
    const struct { const char* name; std::string expected; } cases[] = {
        {"C:\\DELPHI 2.0\\SOURCE\\UNIT1.PAS", c + "/Delphi 2.0/Source/Unit1.pas"},
        {"c:/delphi 2.0/source/unit1.pas", c + "/Delphi 2.0/Source/Unit1.pas"},
        {"\\Delphi 2.0\\Source\\Unit1.pas", c + "/Delphi 2.0/Source/Unit1.pas"},
        // the first missing component and the rest stay as given, ready to be created
        {"C:\\DELPHI 2.0\\New\\Sub\\X.PAS", c + "/Delphi 2.0/New/Sub/X.PAS"},
        {"C:\\WINDOWS\\WIN.INI", c + "/windows/WIN.INI"},
        {"C:\\", c},
        {"Z:\\", "/"},
        {"D:\\DATA", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rtl::HostPath(cases[i].name), cases[i].expected) << "case " << i << ": " << cases[i].name;
}

TEST_F(PathsOnDisk, HostPathAndWinPathRoundTripCp1252Names) {
    // "Ü" and "é" are single bytes to the suite and UTF-8 on disk.
    const std::string ansi = "C:\\\xDC" "ber\\caf\xE9.pas";
    fs::create_directories(rtl::DriveCDir() + "/\xC3\x9C" "ber");
    std::ofstream(rtl::HostPath(ansi)) << "x";
    EXPECT_TRUE(fs::exists(rtl::DriveCDir() + "/\xC3\x9C" "ber/caf\xC3\xA9.pas"));
    EXPECT_EQ(rtl::HostPath("c:\\\xFC" "BER\\CAF\xC9.PAS"), rtl::DriveCDir() + "/\xC3\x9C" "ber/caf\xC3\xA9.pas");
    EXPECT_EQ(rtl::WinPath(rtl::DriveCDir() + "/\xC3\x9C" "ber/caf\xC3\xA9.pas"), ansi);
}

TEST_F(PathsOnDisk, WinPathHandsBackWindowsForm) {
    EXPECT_EQ(rtl::WinPath(rtl::DriveCDir()), "C:\\");
    EXPECT_EQ(rtl::WinPath(rtl::DriveCDir() + "/Delphi 2.0/Source/"), "C:\\Delphi 2.0\\Source");
    EXPECT_EQ(rtl::WinPath(rtl::WindowsDir() + "/../windows/x.ini"), "C:\\windows\\x.ini");
    EXPECT_EQ(rtl::WinPath("/usr/share/dict"), "Z:\\usr\\share\\dict");
    EXPECT_EQ(rtl::WinPath("/"), "Z:\\");
    // a host path through a link to the root still names drive C:
    fs::create_directory_symlink(rtl::DriveCDir(), root.Path() + "/link");
    EXPECT_EQ(rtl::WinPath(root.Path() + "/link/Delphi 2.0"), "C:\\Delphi 2.0");
}

TEST_F(PathsOnDisk, HostStyleRootedNameWhileOnDriveC) {
    // "/usr/..." given while the current drive is C: means the host folder when drive C: has none.
    EXPECT_EQ(rtl::ExpandFileName("/usr/share"), "Z:\\usr\\share");
    EXPECT_EQ(rtl::HostPath("/usr/share"), "/usr/share");
    // but a name that drive C: has stays on it
    fs::create_directories(rtl::DriveCDir() + "/usr");
    EXPECT_EQ(rtl::ExpandFileName("/usr/share"), "C:\\usr\\share");
}

TEST_F(PathsOnDisk, SetCurrentDirRefusesMissingFoldersAndFiles) {
    EXPECT_FALSE(rtl::SetCurrentDir("C:\\NoSuchFolder"));
    EXPECT_FALSE(rtl::SetCurrentDir("C:\\Delphi 2.0\\Source\\Unit1.pas"));
    EXPECT_FALSE(rtl::SetCurrentDir("Q:\\"));
    EXPECT_FALSE(rtl::SetCurrentDir(""));
    EXPECT_EQ(rtl::GetCurrentDir(), "C:\\");
    EXPECT_TRUE(rtl::SetCurrentDir("\\delphi 2.0\\SOURCE\\"));
    EXPECT_EQ(rtl::GetCurrentDir(), "C:\\Delphi 2.0\\Source");
    EXPECT_EQ(rtl::HostPath("unit1.PAS"), rtl::DriveCDir() + "/Delphi 2.0/Source/Unit1.pas");
}

TEST(Paths, WindowsDirectoryResolvesToTheMachineRoot) {
    testing_support::TempWinRoot root;
    EXPECT_EQ(rtl::GetWindowsDirectory(), "C:\\WINDOWS");
    EXPECT_EQ(rtl::HostPath(rtl::GetWindowsDirectory()), rtl::WindowsDir());
}

TEST(Paths, CurrentDirStartsAtTheHostWorkingFolder) {
    testing_support::TempWinRoot root; // names in Windows form touch the machine root
    // Before any test moves it, the value mirrors the host's working folder; afterwards the
    // host's working folder is left alone.
    std::string host = fs::current_path().string();
    std::string win = rtl::WinPath(host);
    EXPECT_EQ(rtl::HostPath(win), host);
}

} // namespace
