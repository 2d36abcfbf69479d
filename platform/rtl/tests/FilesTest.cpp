#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"
#include "rtl/TestHooks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadHost(const std::string& host) {
    std::ifstream in(host, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteHost(const std::string& host, const std::string& text) {
    std::ofstream(host, std::ios::binary) << text;
}

TEST(Masks, WindowsMaskTable) {
    const struct { const char* name; const char* mask; bool matches; } cases[] = {
        {"Unit1.pas", "*.*", true},
        {"README", "*.*", true},
        {".dsk", "*.*", true},
        {"a.b.c", "*.*", true},
        {"Unit1.pas", "*.PAS", true},
        {"Unit1.pas.bak", "*.pas", false},
        {"a.pas", "?.pas", true},
        {"ab.pas", "?.pas", false},
        {"A.PAS", "?.pas", true},
        {"ab", "ab??", true},           // a trailing '?' may match nothing
        {"ab.txt", "ab??.txt", true},   // so may one before a '.'
        {"abcde.txt", "ab??.txt", false},
        {"README", "*.", true},         // "*." is the names without an extension
        {"README.TXT", "*.", false},
        {"unit1", "unit1.*", true},
        {"unit1.dfm", "UNIT1.*", true},
        {"unit12.dfm", "UNIT1.*", false},
        {"x.dpr", "*", true},
        {"Main.~pa", "*.~PA", true},
        {"\xC9t\xE9.pas", "\xE9T\xC9.PAS", true}, // cp1252 letters without regard to case
        {"abc", "a*c*", true},
        {"abd", "a*c*", false},
        {"same", "same", true},
        {"same", "sam", false},
        {"", "*", true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rtl::MatchesWinMask(cases[i].name, cases[i].mask), cases[i].matches)
            << "case " << i << ": " << cases[i].name << " against " << cases[i].mask;
}

class FilesOnDisk : public testing::Test {
protected:
    void SetUp() override {
        saved = rtl::GetCurrentDir();
        dir = rtl::DriveCDir() + "/Proj";
        fs::create_directories(dir + "/Sub");
        WriteHost(dir + "/Unit1.pas", "unit Unit1;");
        WriteHost(dir + "/UNIT2.PAS", "unit Unit2;\r\n");
        WriteHost(dir + "/Unit1.dfm", "x");
        WriteHost(dir + "/README", "r");
        WriteHost(dir + "/.hidden.pas", "h");
        WriteHost(dir + "/Locked.pas", "l");
        fs::permissions(dir + "/Locked.pas", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        ASSERT_TRUE(rtl::SetCurrentDir("C:\\PROJ"));
    }
    void TearDown() override {
        rtl::SetWriteFailureHook({});
        rtl::SetCurrentDir(saved);
    }

    std::set<std::string> Find(const std::string& path, int attr) {
        std::set<std::string> names;
        rtl::TSearchRec rec;
        for (int rc = rtl::FindFirst(path, attr, rec); rc == 0; rc = rtl::FindNext(rec)) names.insert(rec.Name);
        rtl::FindClose(rec);
        return names;
    }

    testing_support::TempWinRoot root;
    std::string saved;
    std::string dir;
};

TEST_F(FilesOnDisk, FindFirstFiltersByAttribute) {
    using S = std::set<std::string>;
    const S files = {"Unit1.pas", "UNIT2.PAS", "Unit1.dfm", "README", "Locked.pas"};
    EXPECT_EQ(Find("C:\\Proj\\*.*", 0), files);
    EXPECT_EQ(Find("C:\\Proj\\*.*", rtl::faArchive | rtl::faReadOnly), files);
    S withDirs = files;
    withDirs.insert({".", "..", "Sub"});
    EXPECT_EQ(Find("c:/proj/*.*", rtl::faDirectory), withDirs);
    S all = withDirs;
    all.insert(".hidden.pas");
    EXPECT_EQ(Find("C:\\PROJ\\*.*", rtl::faAnyFile), all);
    EXPECT_EQ(Find("*.pas", 0), (S{"Unit1.pas", "UNIT2.PAS", "Locked.pas"}));
    EXPECT_EQ(Find("*.pas", rtl::faHidden), (S{"Unit1.pas", "UNIT2.PAS", "Locked.pas", ".hidden.pas"}));
    EXPECT_EQ(Find("sub\\..\\unit2.pas", 0), (S{"UNIT2.PAS"}));
}

TEST_F(FilesOnDisk, FindFirstReportsWhatItFound) {
    rtl::TSearchRec rec;
    ASSERT_EQ(rtl::FindFirst("C:\\Proj\\unit2.*", rtl::faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "UNIT2.PAS");
    EXPECT_EQ(rec.Size, 13);
    EXPECT_EQ(rec.Attr, rtl::faArchive);
    EXPECT_EQ(rec.Time, rtl::FileAge("C:\\Proj\\Unit2.pas"));
    EXPECT_EQ(rtl::FindNext(rec), rtl::ERROR_NO_MORE_FILES);
    rtl::FindClose(rec);

    ASSERT_EQ(rtl::FindFirst("C:\\Proj\\Locked.pas", 0, rec), 0);
    EXPECT_EQ(rec.Attr, rtl::faArchive | rtl::faReadOnly);
    ASSERT_EQ(rtl::FindFirst("C:\\Proj\\Sub", rtl::faDirectory, rec), 0);
    EXPECT_EQ(rec.Attr, rtl::faDirectory);
    rtl::FindClose(rec);

    EXPECT_EQ(rtl::FindFirst("C:\\Proj\\Sub", 0, rec), rtl::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(rtl::FindFirst("C:\\Proj\\*.xyz", rtl::faAnyFile, rec), rtl::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(rtl::FindFirst("C:\\Nowhere\\*.*", rtl::faAnyFile, rec), rtl::ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(rtl::FindFirst("Q:\\*.*", rtl::faAnyFile, rec), rtl::ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(rtl::FindNext(rec), rtl::ERROR_NO_MORE_FILES);
    // a drive's root has no "." or ".."
    EXPECT_EQ(Find("C:\\*.*", rtl::faDirectory), (std::set<std::string>{"Proj", "windows"}));
}

TEST_F(FilesOnDisk, ExistenceAndSize) {
    EXPECT_TRUE(rtl::FileExists("unit1.PAS"));
    EXPECT_FALSE(rtl::FileExists("C:\\Proj\\Sub"));
    EXPECT_FALSE(rtl::FileExists(""));
    EXPECT_FALSE(rtl::FileExists("D:\\Unit1.pas"));
    EXPECT_TRUE(rtl::DirectoryExists("C:\\proj\\SUB\\"));
    EXPECT_FALSE(rtl::DirectoryExists("Unit1.pas"));
    EXPECT_EQ(rtl::FileSizeByName("C:\\PROJ\\UNIT1.PAS"), 11);
    EXPECT_EQ(rtl::FileSizeByName("C:\\PROJ\\none"), -1);
}

TEST(FileDates, DosPacking) {
    // 15 March 1996 13:45:30 and the first and last DOS dates
    const struct { double dateTime; int dos; } cases[] = {
        {35139.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0, int((16u << 9 | 3u << 5 | 15u) << 16 | (13u << 11 | 45u << 5 | 15u))},
        {29221.0, int((0u << 9 | 1u << 5 | 1u) << 16)},
        {75971.0 + (23 * 3600 + 59 * 60 + 58) / 86400.0, int((127u << 9 | 12u << 5 | 31u) << 16 | (23u << 11 | 59u << 5 | 29u))},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(rtl::DateTimeToFileDate(cases[i].dateTime), cases[i].dos) << "case " << i;
        EXPECT_NEAR(rtl::FileDateToDateTime(cases[i].dos), cases[i].dateTime, 1e-9) << "case " << i;
    }
    // odd seconds round down; dates before 1980 take the first DOS date
    EXPECT_EQ(rtl::DateTimeToFileDate(35139.0 + 31 / 86400.0) & 0x1F, 15);
    EXPECT_EQ(rtl::DateTimeToFileDate(2.0), int((1u << 5 | 1u) << 16));
}

TEST_F(FilesOnDisk, FileDatesAndCopyKeepingThem) {
    const int age = rtl::DateTimeToFileDate(35139.5); // 15 March 1996, noon
    EXPECT_EQ(rtl::FileSetDate("C:\\proj\\unit1.pas", age), 0);
    EXPECT_EQ(rtl::FileAge("C:\\Proj\\Unit1.pas"), age);
    EXPECT_EQ(rtl::FileAge("C:\\Proj\\missing.pas"), -1);
    EXPECT_NE(rtl::FileSetDate("C:\\Proj\\missing.pas", age), 0);

    ASSERT_TRUE(rtl::CopyFile("Unit1.pas", "Unit1.~pa", false));
    EXPECT_EQ(ReadHost(dir + "/Unit1.~pa"), "unit Unit1;");
    EXPECT_EQ(rtl::FileAge("Unit1.~pa"), age);
    // failIfExists refuses; otherwise the copy replaces the old one
    WriteHost(dir + "/Unit1.pas", "changed");
    EXPECT_FALSE(rtl::CopyFile("Unit1.pas", "UNIT1.~PA", true));
    EXPECT_EQ(ReadHost(dir + "/Unit1.~pa"), "unit Unit1;");
    EXPECT_TRUE(rtl::CopyFile("Unit1.pas", "UNIT1.~PA", false));
    EXPECT_EQ(ReadHost(dir + "/Unit1.~pa"), "changed");
    EXPECT_FALSE(rtl::CopyFile("missing.pas", "x.pas", false));
    EXPECT_FALSE(rtl::CopyFile("Unit1.pas", "unit1.PAS", false)); // onto itself
    EXPECT_EQ(ReadHost(dir + "/Unit1.pas"), "changed");
}

TEST_F(FilesOnDisk, RenameAndDelete) {
    EXPECT_FALSE(rtl::RenameFile("Unit1.pas", "unit2.pas")); // the target exists
    EXPECT_EQ(ReadHost(dir + "/UNIT2.PAS"), "unit Unit2;\r\n");
    EXPECT_TRUE(rtl::RenameFile("unit1.pas", "UNIT1.PAS"));  // a change of case
    EXPECT_TRUE(fs::exists(dir + "/UNIT1.PAS"));
    EXPECT_FALSE(fs::exists(dir + "/Unit1.pas"));
    EXPECT_TRUE(rtl::RenameFile("unit1.pas", "Sub\\Moved.pas"));
    EXPECT_EQ(ReadHost(dir + "/Sub/Moved.pas"), "unit Unit1;");
    EXPECT_FALSE(rtl::RenameFile("unit1.pas", "x.pas"));

    EXPECT_TRUE(rtl::DeleteFile("sub\\moved.PAS"));
    EXPECT_FALSE(rtl::DeleteFile("sub\\moved.PAS"));
    EXPECT_FALSE(rtl::DeleteFile("Sub"));
    EXPECT_TRUE(fs::exists(dir + "/Sub"));
}

TEST_F(FilesOnDisk, Folders) {
    EXPECT_TRUE(rtl::CreateDir("New"));
    EXPECT_FALSE(rtl::CreateDir("NEW"));
    EXPECT_FALSE(rtl::CreateDir("A\\B"));          // no parent
    EXPECT_TRUE(rtl::RemoveDir("new"));
    EXPECT_FALSE(rtl::RemoveDir("Proj-not-there"));
    WriteHost(dir + "/Sub/f", "");
    EXPECT_FALSE(rtl::RemoveDir("Sub"));           // not empty

    rtl::ForceDirectories("C:\\Proj\\a\\B\\c\\");
    EXPECT_TRUE(fs::is_directory(dir + "/a/B/c"));
    rtl::ForceDirectories("c:\\PROJ\\A\\b");         // existing, in another case
    try {
        rtl::ForceDirectories("C:\\Proj\\README\\x");
        FAIL() << "no error";
    } catch (const rtl::EInOutError& e) {
        EXPECT_NE(std::string(e.Message()).find("C:\\Proj\\README"), std::string::npos) << e.Message();
    }
    EXPECT_THROW(rtl::ForceDirectories("Q:\\x"), rtl::EInOutError);
}

TEST_F(FilesOnDisk, AtomicWriteReplacesAndKeepsPermissions) {
    fs::permissions(dir + "/Unit1.pas", fs::perms::owner_read | fs::perms::owner_write);
    rtl::WriteFileAtomic("unit1.pas", std::string_view("new text"));
    EXPECT_EQ(ReadHost(dir + "/Unit1.pas"), "new text");
    EXPECT_EQ(fs::status(dir + "/Unit1.pas").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    rtl::WriteFileAtomic("C:\\Proj\\Sub\\New.txt", [](rtl::TAtomicFile& f) {
        f.Write("line 1\r\n");
        f.Write("line 2\r\n");
    });
    EXPECT_EQ(ReadHost(dir + "/Sub/New.txt"), "line 1\r\nline 2\r\n");
    // nothing else was left beside the targets
    EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/Sub"), fs::directory_iterator()), 1);
}

TEST_F(FilesOnDisk, AtomicWriteFailureLeavesTheOldFile) {
    std::string asked;
    rtl::SetWriteFailureHook([&](std::string_view name) {
        asked = std::string(name);
        return ENOSPC;
    });
    try {
        rtl::WriteFileAtomic("C:\\Proj\\Unit1.pas", std::string_view("half a file"));
        FAIL() << "no error";
    } catch (const rtl::EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, ENOSPC);
        EXPECT_NE(e.Message().find("C:\\Proj\\Unit1.pas"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(asked, "C:\\Proj\\Unit1.pas");
    EXPECT_EQ(ReadHost(dir + "/Unit1.pas"), "unit Unit1;");
    rtl::SetWriteFailureHook({});

    // a writer that fails half-way loses nothing either
    EXPECT_THROW(rtl::WriteFileAtomic("C:\\Proj\\Unit1.pas",
                                      [](rtl::TAtomicFile& f) {
                                          f.Write("half");
                                          throw rtl::EWriteError("stopped");
                                      }),
                 rtl::EWriteError);
    EXPECT_EQ(ReadHost(dir + "/Unit1.pas"), "unit Unit1;");
    // and a file that was never there does not appear
    rtl::SetWriteFailureHook([](std::string_view) { return EIO; });
    EXPECT_THROW(rtl::WriteFileAtomic("C:\\Proj\\Fresh.pas", std::string_view("x")), rtl::EInOutError);
    EXPECT_FALSE(fs::exists(dir + "/Fresh.pas"));

    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(dir)) left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"Unit1.pas", "UNIT2.PAS", "Unit1.dfm", "README", ".hidden.pas", "Locked.pas", "Sub"}));
}

TEST_F(FilesOnDisk, AtomicWriteIntoAMissingFolderNamesTheFile) {
    try {
        rtl::WriteFileAtomic("C:\\Proj\\NoFolder\\x.ini", std::string_view("x"));
        FAIL() << "no error";
    } catch (const rtl::EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file C:\\Proj\\NoFolder\\x.ini", 0), 0u) << e.Message();
    }
    EXPECT_THROW(rtl::WriteFileAtomic("C:\\Proj\\Sub", std::string_view("x")), rtl::EFCreateError);
    EXPECT_TRUE(fs::is_directory(dir + "/Sub"));
}

// Beside the target: every name in the folder that is not one of the fixture's own.
std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

TEST_F(FilesOnDisk, TheRewriteRefusesAReadOnlyFileEvenWhereTheRightsWouldAllowIt) {
    WriteHost(dir + "/Sub/Fresh.pas", "f");
    WriteHost(dir + "/Sub/Owner.pas", "o");
    fs::permissions(dir + "/Sub/Owner.pas", fs::perms::owner_read | fs::perms::group_write | fs::perms::others_write);
    fs::create_symlink("../Locked.pas", dir + "/Sub/Link.pas");
    struct {
        const char* Name;
        const char* Why; // empty: written
    } cases[] = {
        {"C:\\Proj\\Locked.pas", "the file is read-only"},   // 0444, as the test user may be root
        {"c:\\proj\\locked.PAS", "the file is read-only"},   // found without regard to case
        {"C:\\Proj\\Sub\\Owner.pas", "the file is read-only"}, // others may write, its owner not
        {"C:\\Proj\\Sub\\Link.pas", "the file is read-only"},  // a link to a read-only file
        {"C:\\Proj\\Sub", "it is a folder"},
        {"C:\\Proj\\Sub\\Fresh.pas", ""},
        {"C:\\Proj\\Sub\\New.pas", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(rtl::WriteRefusal(c.Name), c.Why) << "case " << i;
        const std::string expected = std::string("Cannot create file ") + c.Name + ": " + c.Why;
        for (int road = 0; road < 3; ++road) {
            try {
                if (road == 0) rtl::WriteFileAtomic(c.Name, std::string_view("new text"));
                if (road == 1) rtl::CheckFileWritable(c.Name);
                if (road == 2) rtl::WriteFileAtomic(c.Name, [](rtl::TAtomicFile& f) { f.Write("new text"); });
                EXPECT_EQ(c.Why, std::string()) << "case " << i << " road " << road << ": written";
            } catch (const rtl::EFCreateError& e) {
                EXPECT_EQ(e.Message(), expected) << "case " << i << " road " << road;
            }
        }
    }
    EXPECT_EQ(ReadHost(dir + "/Locked.pas"), "l");
    EXPECT_EQ(ReadHost(dir + "/Sub/Owner.pas"), "o");
    EXPECT_EQ(ReadHost(dir + "/Sub/Fresh.pas"), "new text");
    EXPECT_TRUE(fs::is_symlink(dir + "/Sub/Link.pas"));
    // Copies follow the same rule, as the system's copy does onto a read-only file.
    EXPECT_FALSE(rtl::CopyFile("C:\\Proj\\Unit1.pas", "C:\\Proj\\Locked.pas", false));
    EXPECT_EQ(ReadHost(dir + "/Locked.pas"), "l");
    EXPECT_EQ(NamesIn(dir), (std::set<std::string>{"Unit1.pas", "UNIT2.PAS", "Unit1.dfm", "README", ".hidden.pas",
                                                   "Locked.pas", "Sub"}));
    EXPECT_EQ(rtl::WriteRefusal("C:\\Proj\\NoFolder\\x.pas"), std::strerror(ENOENT));
}

TEST_F(FilesOnDisk, TheRewriteLeavesNoTemporaryFileWhateverBecomesOfItsWriter) {
    const std::string target = dir + "/Unit1.pas";
    // While the bytes are written the file has no name.
    rtl::WriteFileAtomic("C:\\Proj\\Unit1.pas", [&](rtl::TAtomicFile& f) {
        f.Write("first half ");
        EXPECT_EQ(NamesIn(dir).size(), 7u) << "a name appeared while writing";
        f.Write("second half");
    });
    EXPECT_EQ(ReadHost(target), "first half second half");

    // Writers killed at any moment, the rename's own included: the file is always whole, and what
    // they left the next rewrite sweeps.
    const std::string big(660 * 1024, 'a'), other(660 * 1024, 'b');
    for (int kill = 0; kill < 40; ++kill) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = 0;; ++n) rtl::WriteFileAtomic("C:\\Proj\\Unit1.pas", n % 2 ? std::string_view(big) : other);
        }
        ::usleep(static_cast<useconds_t>(200 + kill * 97 % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::string now = ReadHost(target);
        EXPECT_TRUE(now == big || now == other || now == "first half second half") << "kill " << kill << ": " << now.size();
    }
    // Leftovers of dead writers go; a live writer's locked file and another file's stay.
    WriteHost(dir + "/.Unit1.pas.1-2-3.tmp", "dead writer");
    WriteHost(dir + "/Unit1.pas.tmpAb12Cd", "an earlier version's");
    WriteHost(dir + "/.UNIT2.PAS.4-5-6.tmp", "another file's");
    WriteHost(dir + "/.Unit1.pas.7-8-9.tmp", "live writer");
    int held = ::open((dir + "/.Unit1.pas.7-8-9.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    rtl::WriteFileAtomic("C:\\Proj\\Unit1.pas", std::string_view("last"));
    ::close(held);
    EXPECT_EQ(ReadHost(target), "last");
    EXPECT_EQ(NamesIn(dir), (std::set<std::string>{"Unit1.pas", "UNIT2.PAS", "Unit1.dfm", "README", ".hidden.pas",
                                                   "Locked.pas", "Sub", ".UNIT2.PAS.4-5-6.tmp", ".Unit1.pas.7-8-9.tmp"}));
}

TEST(Drives, CAndZAreFixedDisks) {
    testing_support::TempWinRoot root; // names in Windows form touch the machine root
    EXPECT_EQ(rtl::GetLogicalDrives(), (1u << 2) | (1u << 25));
    const struct { const char* root; unsigned type; } cases[] = {
        {"C:\\", rtl::DRIVE_FIXED}, {"z:\\", rtl::DRIVE_FIXED}, {"c:", rtl::DRIVE_FIXED}, {"C:/", rtl::DRIVE_FIXED},
        {"", rtl::DRIVE_FIXED},     {"A:\\", rtl::DRIVE_NO_ROOT_DIR}, {"D:\\", rtl::DRIVE_NO_ROOT_DIR},
        {"C:\\WINDOWS", rtl::DRIVE_NO_ROOT_DIR},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rtl::GetDriveType(cases[i].root), cases[i].type) << "case " << i << ": " << cases[i].root;
}

} // namespace
