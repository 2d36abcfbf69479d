#include "rtl/CodePages.h"
#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/Resources.h"

#include "testing/Shell.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(SUITE_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(Resources, BitmapsCursorsAndDataOfTheProgram) {
    const std::string bmp = ReadSource("platform/rtl/tests/res/Tiny.bmp");
    const std::string cur = ReadSource("platform/rtl/tests/res/Tiny.cur");
    ASSERT_FALSE(bmp.empty());
    EXPECT_EQ(rtl::LoadBitmapData(nullptr, "BOOKCLS"), bmp);
    EXPECT_EQ(rtl::LoadBitmapData(nullptr, "bookcls"), bmp);
    EXPECT_EQ(rtl::LoadCursorData(nullptr, 32668), cur);
    EXPECT_EQ(rtl::LoadCursorData(nullptr, "#32668"), cur);
    EXPECT_TRUE(rtl::LoadBitmapData(nullptr, "BOOKOPEN").empty());
    EXPECT_TRUE(rtl::LoadCursorData(nullptr, "BOOKCLS").empty()); // another type
    EXPECT_TRUE(rtl::LoadBitmapData(nullptr, 32668).empty());

    rtl::HRSRC notes = rtl::FindResource(nullptr, "Notes", rtl::RT_RCDATA);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(rtl::LoadResource(nullptr, notes)), rtl::SizeofResource(nullptr, notes)),
              std::string("line 1\r\nline 2\0end", 18));
    rtl::HRSRC empty = rtl::FindResource(nullptr, "EMPTY", rtl::RT_RCDATA);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(rtl::SizeofResource(nullptr, empty), 0u);
    EXPECT_EQ(rtl::FindResource(nullptr, "NOTES", rtl::RT_BITMAP), nullptr);
    EXPECT_EQ(rtl::FindResource(nullptr, "NOTES", "RCDATA"), nullptr);
}

TEST(Resources, StringTable) {
    const struct { unsigned id; const char* text; } cases[] = {
        {34370, "T"},
        {65000, "Parameter value is invalid"},
        {65001, "caf\xE9 \x96 \x93quoted\x94 \"too\""}, // UTF-8 in the list, cp1252 here
        {65002, ""},
        {65100, "from a static library"},
        {0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::LoadString(nullptr, c.id), c.text) << c.id;
        EXPECT_EQ(rtl::LoadStr(c.id), c.text) << c.id;
    }
    char buffer[10] = "xxxxxxxxx";
    EXPECT_EQ(rtl::LoadString(nullptr, 65000, buffer, sizeof buffer), 9);
    EXPECT_STREQ(buffer, "Parameter");
    EXPECT_EQ(rtl::LoadString(nullptr, 65002, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(rtl::LoadString(nullptr, 65000, buffer, 0), 0);
}

TEST(Resources, EachModuleSeesItsOwn) {
    testing_support::TempWinRoot root; // names in Windows form touch the machine root
    rtl::HMODULE module = rtl::LoadLibrary(rtl::WinPath(RTL_TEST_MODULE_DIR) + "\\RTLTESTMOD.DLL");
    ASSERT_NE(module, nullptr) << rtl::LoadLibraryError();
    auto modString = rtl::GetProcAddressAs<int (*)(unsigned, char*, int)>(module, "ModString");
    ASSERT_NE(modString, nullptr);
    char buffer[64];
    modString(65000, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "from the module");
    EXPECT_EQ(rtl::LoadString(module, 65000), "from the module");
    EXPECT_EQ(rtl::LoadString(nullptr, 65000), "Parameter value is invalid");
    EXPECT_FALSE(rtl::LoadBitmapData(module, "MODBMP").empty());
    EXPECT_TRUE(rtl::LoadBitmapData(nullptr, "MODBMP").empty());

    unsigned handle = 1;
    const std::string name = rtl::GetModuleFileName(module);
    unsigned size = rtl::GetFileVersionInfoSize(name, &handle);
    EXPECT_EQ(handle, 0u);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(rtl::GetFileVersionInfo(name, 0, size, block.data()));
    const void* value = nullptr;
    unsigned len = 0;
    ASSERT_TRUE(rtl::VerQueryValue(block.data(), "\\StringFileInfo\\040904E4\\FileDescription", &value, &len));
    EXPECT_STREQ(static_cast<const char*>(value), "Test module");
    EXPECT_TRUE(rtl::FreeLibrary(module));
}

TEST(Resources, VersionStringsOfTheProgram) {
    testing_support::TempWinRoot root; // names in Windows form touch the machine root
    const std::string self = rtl::GetModuleFileName();
    unsigned size = rtl::GetFileVersionInfoSize(self, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(rtl::GetFileVersionInfo(self, 0, size, block.data()));

    const struct { const char* name; const char* value; } cases[] = {
        {"CompanyName", "Test Makers"},  {"FileDescription", "Runtime tests"}, {"FileVersion", "1.0.2"},
        {"InternalName", nullptr},       {"LegalCopyright", "\xA9 2026"},     {"OriginalFilename", nullptr},
        {"ProductName", nullptr},        {"ProductVersion", nullptr},
    };
    for (const auto& c : cases) {
        const void* value = nullptr;
        unsigned len = 0;
        bool found = rtl::VerQueryValue(block.data(), std::string("\\StringFileInfo\\040904E4\\") + c.name, &value, &len);
        EXPECT_EQ(found, c.value != nullptr) << c.name;
        if (found && c.value) {
            EXPECT_STREQ(static_cast<const char*>(value), c.value) << c.name;
            EXPECT_EQ(len, std::strlen(c.value) + 1) << c.name;
        }
    }
    const void* value = nullptr;
    unsigned len = 0;
    EXPECT_TRUE(rtl::VerQueryValue(block.data(), "\\stringfileinfo\\040904e4\\fileversion", &value, &len));
    EXPECT_FALSE(rtl::VerQueryValue(block.data(), "\\StringFileInfo\\040704E4\\FileVersion", &value, &len));
    EXPECT_FALSE(rtl::VerQueryValue(block.data(), "\\StringFileInfo\\040904E4\\", &value, &len));
    ASSERT_TRUE(rtl::VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &len));
    ASSERT_EQ(len, 4u);
    const auto* t = static_cast<const unsigned char*>(value);
    EXPECT_EQ(t[0] | t[1] << 8, 0x0409);
    EXPECT_EQ(t[2] | t[3] << 8, 1252);

    // the program's name in another case and with '/' still finds it
    EXPECT_EQ(rtl::GetFileVersionInfoSize(rtl::CharUpperStr(self), nullptr), size);
    // a file that is no loaded module has no block
    EXPECT_EQ(rtl::GetFileVersionInfoSize(rtl::WinPath(std::string(SUITE_SOURCE_DIR) + "/platform/rtl/tests/res/Tiny.bmp"), nullptr), 0u);
    EXPECT_EQ(rtl::GetFileVersionInfoSize("C:\\NOWHERE.DLL", nullptr), 0u);

    // a copy cut short answers what it holds and reads no further
    auto cut = std::make_unique<char[]>(20);
    ASSERT_TRUE(rtl::GetFileVersionInfo(self, 0, 20, cut.get()));
    EXPECT_FALSE(rtl::VerQueryValue(cut.get(), "\\StringFileInfo\\040904E4\\LegalCopyright", &value, &len));
    EXPECT_FALSE(rtl::GetFileVersionInfo(self, 0, 4, cut.get()));
}

TEST(Resources, SystemVersionIsWindows95Family) {
    std::uint32_t v = rtl::GetVersion();
    EXPECT_NE(v & 0x80000000u, 0u);
    EXPECT_EQ(v & 0xFF, 4u);
    EXPECT_EQ((v >> 8) & 0xFF, 0u);
}

// The list compiler refuses a bad list with the line and the reason.
TEST(Rescomp, BadListsNameLineAndFault) {
    const fs::path dir = fs::temp_directory_path() / ("rescomp-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "notbmp.bmp") << "plain text";
    const struct { const char* list; const char* message; } cases[] = {
        {"BITMAP X notbmp.bmp\n", "list:1: " },
        {"BITMAP X notbmp.bmp\n", "notbmp.bmp is not a .bmp file"},
        {"# comment\n\nPICTURE X \"a\"\n", "list:3: unknown resource type PICTURE"},
        {"STRING 1 \"open\n", "list:1: unterminated text"},
        {"STRING 1 \"a\"\nSTRING 1 \"b\"\n", "list:2: STRING 1 given twice"},
        {"STRING ONE \"a\"\n", "a string's name is its number"},
        {"STRING 70000 \"a\"\n", "above 65535"},
        {"BITMAP X missing.bmp\n", "cannot read file"},
        {"BITMAP X \"inline\"\n", "resources are files"},
        {"VERSION FileVersion file.txt\n", "a version value is quoted text"},
        {"STRING 1 \"\xE2\x82\xAC \xE2\x98\x83\"\n", "not in the ANSI code page"},
        {"STRING 1 \"bad \\q\"\n", "unknown escape"},
        {"STRING 1\n", "expected: TYPE NAME"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::ofstream(dir / "list", std::ios::trunc) << cases[i].list;
        std::string cmd = std::string(RESCOMP_PATH) + " '" + (dir / "list").string() + "' '" + (dir / "out.cpp").string() + "' anchor 2>&1";
        int status = -1;
        std::string output = testing_support::Shell(cmd, &status);
        EXPECT_EQ(WEXITSTATUS(status), 1) << "case " << i << ": " << output;
        EXPECT_NE(output.find(cases[i].message), std::string::npos) << "case " << i << ": " << output;
        EXPECT_FALSE(fs::exists(dir / "out.cpp")) << "case " << i;
    }
    fs::remove_all(dir);
}

} // namespace
