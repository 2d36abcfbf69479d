#include "spellexpert/Settings.h"

#include "rtl/IniFiles.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace spellexpert {
namespace {

void WriteIni(const char* Text) {
    std::filesystem::create_directories(rtl::WindowsDir());
    std::ofstream(std::filesystem::path(rtl::WindowsDir()) / "Quillo.INI") << Text;
}

bool operator==(const TQuilloSettings& a, const TQuilloSettings& b) {
    return a.AutoSuggest == b.AutoSuggest && a.ShowGlyphs == b.ShowGlyphs && a.Suggestions == b.Suggestions &&
           a.OverWrite == b.OverWrite && a.Backup == b.Backup && a.SyntaxHi == b.SyntaxHi;
}

TEST(Settings, IniTextsGiveTheRecord) {
    struct TCase {
        const char* Name;
        const char* Ini; // nullptr: no file
        TQuilloSettings Want;
    };
    const TCase cases[] = {
        {"no file", nullptr, {}},
        {"empty file", "", {}},
        {"other sections only", "[Other]\nSuggestions=3\n", {}},
        {"every key", "[VmkSpell]\nAutoSuggest=0\nShowGlyphs=0\nSuggestions=25\n"
                      "[Quillo]\nOverWrite=1\nBackup=0\nSyntaxHi=0\n",
         {false, false, 25, true, false, false}},
        {"keys in any case, non-zero is true", "[vmkspell]\nautosuggest=0\n[QUILLO]\noverwrite=7\n",
         {false, true, 10, true, true, true}},
        {"bad numbers give the defaults", "[VmkSpell]\nSuggestions=many\nShowGlyphs=yes\n[Quillo]\nBackup=\n",
         {true, true, 10, false, true, true}},
        {"too many suggestions", "[VmkSpell]\nSuggestions=300\n", {true, true, 255, false, true, true}},
        {"negative suggestions", "[VmkSpell]\nSuggestions=-1\n", {true, true, 0, false, true, true}},
        {"no suggestions", "[VmkSpell]\nSuggestions=0\n", {true, true, 0, false, true, true}},
        {"largest byte", "[VmkSpell]\nSuggestions=255\n", {true, true, 255, false, true, true}},
    };
    for (const TCase& c : cases) {
        testing_support::TempWinRoot root;
        if (c.Ini) WriteIni(c.Ini);
        Settings() = TQuilloSettings{false, false, 99, true, false, false}; // nothing kept from before
        ReadSettings();
        EXPECT_TRUE(Settings() == c.Want) << c.Name;
    }
}

TEST(Settings, WriteReadsBackAndKeepsOtherLines) {
    testing_support::TempWinRoot root;
    WriteIni("; mine\n[Other]\nKeep=me\n");
    Settings() = TQuilloSettings{false, true, 42, true, false, true};
    WriteSettings("C:\\PROJECTS\\Demo\\Demo.dpr", "C:\\PROJECTS\\Demo\\Unit1.pas");
    Settings() = TQuilloSettings{};
    ReadSettings();
    EXPECT_TRUE(Settings() == (TQuilloSettings{false, true, 42, true, false, true}));

    const rtl::TIniFile ini(SettingsFileName);
    EXPECT_EQ(ini.ReadString("Other", "Keep", ""), "me");
    EXPECT_EQ(ini.ReadString("VmkSpell", "AutoSuggest", ""), "0");
    EXPECT_EQ(ini.ReadString("Quillo", "OverWrite", ""), "1");
    EXPECT_EQ(ini.ReadString("Project", "ProjectFile", ""), "C:\\PROJECTS\\Demo\\Demo.dpr");
    EXPECT_EQ(ini.ReadString("Project", "CurrentFile", ""), "C:\\PROJECTS\\Demo\\Unit1.pas");
}

} // namespace
} // namespace spellexpert
