#include "rtl/IniFiles.h"

#include "rtl/Files.h"

#include "rtl/StringLists.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <functional>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <csignal>
#include <sys/resource.h>

#include "TestFiles.h"
#include "rtl/TestHooks.h"

namespace {

using rtl_test::ReadRaw;
using rtl_test::TFileSizeLimit;
using rtl_test::WriteRaw;

const char* const kReadFixture =
    "; comment=1\r\n"
    "[Quotes]\r\n"
    "Dq=\"  padded  \"\r\n"
    "Sq='single'\r\n"
    "Mixed=\"open'\r\n"
    "Lone=\"\r\n"
    "Two=\"\"x\"\"\r\n"
    "  Blank  =   value with blanks   \r\n"
    "Empty=\r\n"
    "[ spaced section ]\n"
    "Key=v\n"
    "[Case]\r"
    "MiXeD=1\r"
    "no equals line\r"
    "=novalue\r"
    "; Hidden=1\r"
    "Dup=first\r"
    "dup=second";

TEST(ProfileRead, WindowsSemantics) {
    testing_support::TempWinRoot root;
    WriteRaw(rtl::WindowsDir() + "/test.ini", kReadFixture);
    struct Case { const char* section; const char* key; const char* def; const char* expected; };
    const Case cases[] = {
        {"Quotes", "Dq", "", "  padded  "},
        {"Quotes", "Sq", "", "single"},
        {"Quotes", "Mixed", "", "\"open'"},
        {"Quotes", "Lone", "", "\""},
        {"Quotes", "Two", "", "\"x\""},
        {"Quotes", "Blank", "", "value with blanks"},
        {"Quotes", "Empty", "def", ""},
        {"spaced section", "key", "", "v"},
        {"CASE", "mixed", "", "1"},
        {"Case", "no equals line", "def", "def"},
        {"Case", "", "def", "def"},
        {"Case", "Hidden", "def", "def"},
        {"Case", "DUP", "", "first"},
        {"Missing", "Key", "def  ", "def"},
        {"Quotes", "Missing", nullptr, ""},
        {"", "comment", "def", "def"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        char buf[64];
        std::uint32_t n = rtl::GetPrivateProfileString(c.section, c.key, c.def, buf, sizeof buf, "TEST.INI");
        EXPECT_EQ(std::string(buf), c.expected) << "case " << i << " [" << c.section << "] " << c.key;
        EXPECT_EQ(n, std::strlen(c.expected)) << "case " << i;
    }
}

TEST(ProfileRead, BufferLimitsAndTerminatingZeros) {
    testing_support::TempWinRoot root;
    WriteRaw(rtl::WindowsDir() + "/t.ini", "[A]\r\nv=abcdef\r\nlong=" + std::string(2000, 'x') + "\r\n[BB]\r\n");
    struct Case { const char* section; const char* key; std::uint32_t size; std::string expected; std::uint32_t result; };
    const Case cases[] = {
        {"A", "v", 1, std::string("\0", 1), 0},
        {"A", "v", 4, std::string("abc\0", 4), 3},
        {"A", "v", 7, std::string("abcdef\0", 7), 6},
        {"A", "long", 1024, std::string(1023, 'x') + '\0', 1023},
        // lists: each name ends in a zero, the list in a second one
        {nullptr, nullptr, 7, std::string("A\0BB\0\0", 6), 5},
        {nullptr, nullptr, 5, std::string("A\0B\0\0", 5), 3},
        {nullptr, nullptr, 2, std::string("\0\0", 2), 0},
        {"A", nullptr, 8, std::string("v\0long\0\0", 8), 7},
        {"BB", nullptr, 4, std::string("\0\0", 2), 0},
        {"None", nullptr, 4, std::string("\0\0", 2), 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        std::string buf(c.size + 4, '#');
        std::uint32_t n = rtl::GetPrivateProfileString(c.section, c.key, "", buf.data(), c.size, "t.ini");
        EXPECT_EQ(n, c.result) << "case " << i;
        EXPECT_EQ(buf.substr(0, c.expected.size()), c.expected) << "case " << i;
        EXPECT_EQ(buf.substr(c.size), "####") << "case " << i << " wrote past the buffer";
    }
    char untouched = '#';
    EXPECT_EQ(rtl::GetPrivateProfileString("A", "v", "", &untouched, 0, "t.ini"), 0u);
    EXPECT_EQ(untouched, '#');

    char section[32];
    EXPECT_EQ(rtl::GetPrivateProfileSection("a", section, sizeof section, "t.ini"), 30u);
    EXPECT_EQ(std::string(section, 9), std::string("v=abcdef\0", 9));
    char names[16];
    EXPECT_EQ(rtl::GetPrivateProfileSectionNames(names, sizeof names, "t.ini"), 5u);
    EXPECT_EQ(std::string(names, 6), std::string("A\0BB\0\0", 6));
}

TEST(ProfileRead, IntegersAndWinIni) {
    testing_support::TempWinRoot root;
    WriteRaw(rtl::WindowsDir() + "/WIN.INI", "[intl]\r\nsDecimal=,\r\niCurrDigits=3\r\nneg=-5\r\ntail=12abc\r\nword=abc\r\nempty=\r\n");
    char buf[8];
    EXPECT_EQ(rtl::GetProfileString("Intl", "sdecimal", ".", buf, sizeof buf), 1u);
    EXPECT_STREQ(buf, ",");
    EXPECT_EQ(rtl::GetProfileString("intl", "sThousand", ",", buf, sizeof buf), 1u);
    struct Case { const char* key; int def; int expected; };
    const Case cases[] = {{"iCurrDigits", 2, 3}, {"neg", 0, -5}, {"tail", 0, 12}, {"word", 7, 0},
                          {"empty", 7, 7}, {"missing", 2, 2}};
    for (const Case& c : cases) EXPECT_EQ(rtl::GetProfileInt("intl", c.key, c.def), c.expected) << c.key;
}

// Each write starts from this file: mixed line endings, comments, blank lines, no final line end.
const char* const kWriteFixture =
    "; top\r\n"
    "[One]\r\n"
    "a=1\r\n"
    "no equals\r\n"
    "\r\n"
    "[Two]\n"
    "b=2\n"
    "c = \"3\"\n"
    "[Three]\r\n"
    "x=9";

TEST(ProfileWrite, KeepsEveryOtherLine) {
    testing_support::TempWinRoot root;
    const std::string path = rtl::WindowsDir() + "/w.ini";
    const std::string f = kWriteFixture;
    struct Case { const char* section; const char* key; const char* value; bool ok; std::string expected; };
    const Case cases[] = {
        {"One", "a", "10", true, "; top\r\n[One]\r\na=10\r\nno equals\r\n\r\n[Two]\nb=2\nc = \"3\"\n[Three]\r\nx=9"},
        {"one", "new", "5", true, "; top\r\n[One]\r\na=1\r\nno equals\r\nnew=5\r\n\r\n[Two]\nb=2\nc = \"3\"\n[Three]\r\nx=9"},
        {"TWO", "C", "4", true, "; top\r\n[One]\r\na=1\r\nno equals\r\n\r\n[Two]\nb=2\nc=4\n[Three]\r\nx=9"},
        {"Three", "y", "1", true, f + "\r\ny=1\r\n"},
        {"Four", "k", "v", true, f + "\r\n\r\n[Four]\r\nk=v\r\n"},
        {"Two", "B", nullptr, true, "; top\r\n[One]\r\na=1\r\nno equals\r\n\r\n[Two]\nc = \"3\"\n[Three]\r\nx=9"},
        {"two", nullptr, nullptr, true, "; top\r\n[One]\r\na=1\r\nno equals\r\n\r\n[Three]\r\nx=9"},
        {"Two", "missing", nullptr, true, f},
        {"Missing", nullptr, nullptr, true, f},
        {"One", "a=b", "1", false, f},
        {"One", "a", "line\r\nbreak", false, f},
        {"Bad]", "a", "1", false, f},
        {nullptr, nullptr, nullptr, true, f},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        WriteRaw(path, f);
        EXPECT_EQ(rtl::WritePrivateProfileString(c.section, c.key, c.value, "w.ini"), c.ok) << "case " << i;
        EXPECT_EQ(ReadRaw(path), c.expected) << "case " << i;
    }
    // No temporary file is left beside it.
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(rtl::WindowsDir())) entries += e.path().filename() != "w.ini";
    EXPECT_EQ(entries, 0);
}

TEST(ProfileWrite, ErasingInAMissingFileMakesNoFile) {
    testing_support::TempWinRoot root;
    EXPECT_TRUE(rtl::WritePrivateProfileString("S", "k", nullptr, "none.ini"));
    EXPECT_TRUE(rtl::WritePrivateProfileString("S", nullptr, nullptr, "none.ini"));
    EXPECT_FALSE(std::filesystem::exists(rtl::WindowsDir() + "/none.ini"));
    EXPECT_TRUE(rtl::WritePrivateProfileString("S", "k", "v", "none.ini"));
    EXPECT_EQ(ReadRaw(rtl::WindowsDir() + "/none.ini"), "[S]\r\nk=v\r\n");
}

TEST(IniFile, IntegersBooleansAndDefaults) {
    testing_support::TempWinRoot root;
    WriteRaw(rtl::WindowsDir() + "/Quillo.INI",
             "[N]\r\ndec=12\r\nneg=-7\r\nhex=0x1F\r\nHEX=0X1f\r\nword=abc\r\nempty=\r\ntail=12abc\r\n"
             "big=99999999999\r\nblank= 42 \r\nzero=0\r\ntwo=2\r\n");
    rtl::TIniFile ini("quillo.ini"); // found without regard to case in the Windows folder
    struct Case { const char* key; int expected; };
    const Case cases[] = {{"dec", 12}, {"neg", -7}, {"hex", 31}, {"word", -1}, {"empty", -1}, {"tail", -1},
                          {"big", -1}, {"blank", 42}, {"missing", -1}};
    for (const Case& c : cases) EXPECT_EQ(ini.ReadInteger("n", c.key, -1), c.expected) << c.key;
    EXPECT_FALSE(ini.ReadBool("N", "zero", true));
    EXPECT_TRUE(ini.ReadBool("N", "two", false));
    EXPECT_TRUE(ini.ReadBool("N", "word", true));
    EXPECT_FALSE(ini.ReadBool("Gone", "x", false));

    ini.WriteInteger("VmkSpell", "Suggestions", 10);
    ini.WriteBool("Quillo", "Backup", true);
    ini.WriteBool("Quillo", "OverWrite", false);
    ini.WriteString("Project", "ProjectFile", "C:\\P\\PROJECT.DPR");
    EXPECT_EQ(ini.ReadString("vmkspell", "suggestions", ""), "10");
    EXPECT_EQ(ini.ReadString("Quillo", "Backup", ""), "1");
    EXPECT_EQ(ini.ReadString("Quillo", "OverWrite", ""), "0");
    EXPECT_EQ(ini.ReadString("Project", "ProjectFile", ""), "C:\\P\\PROJECT.DPR");
    EXPECT_FALSE(std::filesystem::exists(rtl::WindowsDir() + "/quillo.ini")); // the existing file was used
}

TEST(IniFile, SectionsKeysAndErasing) {
    testing_support::TempWinRoot root;
    WriteRaw(rtl::WindowsDir() + "/a.ini", "[Alias1]\r\nAlias=First\r\nPath=C:\\A;C:\\B\r\n\r\n[Empty]\r\n[Alias2]\r\nAlias=\"Second\"\r\n");
    rtl::TIniFile ini("a.ini");
    rtl::TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(list.Text(), "Alias1\r\nEmpty\r\nAlias2\r\n");
    ini.ReadSection("alias1", list);
    EXPECT_EQ(list.Text(), "Alias\r\nPath\r\n");
    ini.ReadSectionValues("Alias2", list);
    EXPECT_EQ(list.Text(), "Alias=Second\r\n");
    ini.ReadSection("nothing", list);
    EXPECT_EQ(list.Count(), 0);

    EXPECT_TRUE(ini.SectionExists("EMPTY"));
    EXPECT_FALSE(ini.SectionExists("Alias3"));
    EXPECT_TRUE(ini.ValueExists("Alias1", "path"));
    EXPECT_FALSE(ini.ValueExists("Alias1", "MapFile"));

    ini.DeleteKey("Alias1", "Path");
    ini.EraseSection("alias2");
    EXPECT_EQ(ReadRaw(rtl::WindowsDir() + "/a.ini"), "[Alias1]\r\nAlias=First\r\n\r\n[Empty]\r\n");
}

TEST(IniFile, FailedWriteRaises) {
    testing_support::TempWinRoot root;
    rtl::TIniFile ini("C:\\No Such Folder\\store.ini");
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
    try {
        ini.WriteString("S", "k", "v");
        FAIL() << "no error";
    } catch (const rtl::EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to C:\\No Such Folder\\store.ini");
    }
    EXPECT_THROW(ini.WriteString("S", "k", "two\nlines"), rtl::EIniFileException);

    std::filesystem::create_directory(rtl::DriveCDir() + "/no such folder");
    ini.WriteString("S", "k", "v"); // the folder is found without regard to case
    EXPECT_EQ(ReadRaw(rtl::DriveCDir() + "/no such folder/store.ini"), "[S]\r\nk=v\r\n");
}

TEST(IniFile, AReadOnlyFileIsRefusedAsTheRewriteRefusesIt) {
    testing_support::TempWinRoot root;
    const std::string path = rtl::WindowsDir() + "/fixed.ini";
    const std::string before = "[S]\r\nk=old\r\n";
    WriteRaw(path, before);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    rtl::TIniFile ini("fixed.ini");
    for (auto write : std::initializer_list<std::function<void()>>{
             [&] { ini.WriteString("S", "k", "new"); }, [&] { ini.WriteInteger("T", "n", 1); },
             [&] { ini.DeleteKey("S", "k"); }, [&] { ini.EraseSection("S"); }}) {
        try {
            write();
            FAIL() << "no error";
        } catch (const rtl::EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to fixed.ini");
        }
    }
    EXPECT_FALSE(rtl::WritePrivateProfileString("S", "k", "new", "fixed.ini"));
    EXPECT_EQ(rtl::WriteRefusal("C:\\WINDOWS\\fixed.ini"), "the file is read-only");
    EXPECT_EQ(ReadRaw(path), before);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
}

TEST(IniFile, FailedWriteKeepsTheFile) {
    testing_support::TempWinRoot root;
    const std::string path = rtl::WindowsDir() + "/keep.ini";
    const std::string before = "; mine\r\n[S]\r\nk=old\r\n";
    WriteRaw(path, before);
    rtl::TIniFile ini("keep.ini");
    {
        TFileSizeLimit full(before.size());
        EXPECT_THROW(ini.WriteString("S", "k", std::string(100, 'n')), rtl::EIniFileException);
    }
    EXPECT_EQ(ReadRaw(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(rtl::WindowsDir()), {}), 1); // no temporary file left
}

TEST(IniFile, InjectedWriteFailureKeepsTheFile) {
    testing_support::TempWinRoot root;
    const std::string path = rtl::WindowsDir() + "/keep.ini";
    const std::string before = "; mine\r\n[S]\r\nk=old\r\n";
    WriteRaw(path, before);
    rtl::TIniFile ini("keep.ini");
    std::string asked;
    rtl::SetWriteFailureHook([&](std::string_view name) {
        asked = name;
        return 28; // no space left on the device
    });
    EXPECT_THROW(ini.WriteString("S", "k", "new"), rtl::EIniFileException);
    rtl::SetWriteFailureHook({});
    EXPECT_EQ(asked, path);
    EXPECT_EQ(ReadRaw(path), before);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(rtl::WindowsDir()), {}), 1);
}

} // namespace
