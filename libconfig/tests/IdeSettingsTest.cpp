#include "libconfig/AliasStore.h"

#include "rtl/Registry.h"
#include "testing/TempWinRoot.h"
#include "ForeignWindow.h"
#include "win/Windows.h"

#include <gtest/gtest.h>

namespace libconfig {
namespace {

TAliasValues Sample() {
    TAliasValues v;
    v.LibraryFile = "C:\\DELPHI 2.0\\BIN\\CMPLIB32.DCL";
    v.SearchPath = {"C:\\DELPHI 2.0\\LIB", "C:\\MINE"};
    v.UnitAliases = "WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE";
    v.MapFile = 3;
    v.SaveSource = true;
    v.Hints = true;
    return v;
}

TEST(IdeSettings, ApplyThenReadBack) {
    testing_support::TempWinRoot root;
    TApplyResult r = ApplyToIDE(Sample());
    EXPECT_FALSE(r.Refused);
    EXPECT_EQ(r.Message, "Registry updated. New library configuration\nwill take effect next time you start Delphi.");
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + LibraryKey, false));
    EXPECT_EQ(reg.ReadString("SearchPath"), "C:\\DELPHI 2.0\\LIB;C:\\MINE");
    EXPECT_EQ(reg.ReadString("MapFile"), "3");
    EXPECT_EQ(reg.GetDataType("ShowHints"), rtl::TRegDataType::rdString);
    TAliasValues back;
    ReadIDESettings(back);
    EXPECT_EQ(back.SearchPath, Sample().SearchPath);
    EXPECT_EQ(back.LibraryFile, Sample().LibraryFile);
    EXPECT_EQ(back.UnitAliases, Sample().UnitAliases);
    EXPECT_EQ(back.MapFile, 3);
    EXPECT_TRUE(back.SaveSource);
    EXPECT_TRUE(back.Hints);
    EXPECT_FALSE(back.DebugInfo);
    EXPECT_FALSE(back.Warnings);
}

TEST(IdeSettings, MissingOddAndWrongTypedValues) {
    testing_support::TempWinRoot root;
    TAliasValues v;
    v.MapFile = 2;
    v.Hints = true;
    ReadIDESettings(v); // the key is made empty
    EXPECT_TRUE(v.SearchPath.empty());
    EXPECT_EQ(v.MapFile, 0);
    EXPECT_FALSE(v.Hints);
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(std::string("\\") + LibraryKey, true));
        reg.WriteString("MapFile", "7");
        reg.WriteString("DebugInfo", "0x10");
        reg.WriteString("ShowWarnings", "yes");
    }
    v.MapFile = 1;
    ReadIDESettings(v);
    EXPECT_EQ(v.MapFile, 1); // out of range keeps the caller's
    EXPECT_TRUE(v.DebugInfo);
    EXPECT_FALSE(v.Warnings);
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(std::string("\\") + LibraryKey, true));
        reg.WriteInteger("ShowHints", 1);
    }
    EXPECT_THROW(ReadIDESettings(v), rtl::ERegistryException);
}

TEST(IdeSettings, ApplyRefusedWhileAnotherProcessShowsTheIde) {
    testing_support::TempWinRoot root;
    for (const char* cls : {"TAppBuilder", "tappbuilder", "TWatchWindow"}) {
        ForeignWindow ide(cls);
        ASSERT_TRUE(ide.Ready()) << cls;
        EXPECT_TRUE(IsIDERunning()) << cls;
        TApplyResult r = ApplyToIDE(Sample());
        EXPECT_TRUE(r.Refused);
        EXPECT_EQ(r.Message, "Delphi IDE is running, library configuration cannot be changed!");
        rtl::TRegistry reg;
        EXPECT_FALSE(reg.OpenKey(std::string("\\") + LibraryKey, false)) << "nothing written";
        ide.End();
        EXPECT_FALSE(IsIDERunning()) << cls;
    }
    ForeignWindow other("TForm1");
    ASSERT_TRUE(other.Ready());
    EXPECT_FALSE(IsIDERunning());
    EXPECT_FALSE(ApplyToIDE(Sample()).Refused);
}

} // namespace
} // namespace libconfig
