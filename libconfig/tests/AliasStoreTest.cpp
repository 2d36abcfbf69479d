#include "libconfig/AliasStore.h"

#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"
#include "rtl/TestHooks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace libconfig {
namespace {

class AliasStoreTest : public ::testing::Test {
protected:
    AliasStoreTest() { std::filesystem::create_directories(rtl::HostPath("C:\\VORL")); }
    std::string Disk() const {
        std::ifstream in(rtl::HostPath(Store), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    TAliasValues Values(const std::string& name, std::vector<std::string> path = {"C:\\LIB"}) {
        TAliasValues v;
        v.AliasName = name;
        v.LibraryFile = "C:\\DELPHI\\BIN\\" + name + ".DCL";
        v.SearchPath = std::move(path);
        v.UnitAliases = "WinTypes=Windows;WinProcs=Windows";
        v.MapFile = 2;
        v.DebugInfo = true;
        v.Warnings = true;
        return v;
    }
    void ExpectSame(const TAliasValues& a, const TAliasValues& b) {
        EXPECT_EQ(a.AliasName, b.AliasName);
        EXPECT_EQ(a.LibraryFile, b.LibraryFile);
        EXPECT_EQ(a.SearchPath, b.SearchPath);
        EXPECT_EQ(a.UnitAliases, b.UnitAliases);
        EXPECT_EQ(a.MapFile, b.MapFile);
        EXPECT_EQ(a.SaveSource, b.SaveSource);
        EXPECT_EQ(a.DebugInfo, b.DebugInfo);
        EXPECT_EQ(a.Hints, b.Hints);
        EXPECT_EQ(a.Warnings, b.Warnings);
    }

    testing_support::TempWinRoot Root;
    const std::string Store = "C:\\VORL\\VORL.ini";
};

TEST_F(AliasStoreTest, MissingFileThenFirstSave) {
    TAliasStore store(Store);
    store.LoadAll();
    EXPECT_EQ(store.Aliases().Count(), 0);
    store.Save(Values("Default"), nullptr);
    EXPECT_EQ(store.Record(0)->SectionName, "Alias1");
    EXPECT_EQ(Disk(), "[Alias1]\r\nAlias=Default\r\nFilename=C:\\DELPHI\\BIN\\Default.DCL\r\nPath=C:\\LIB\r\n"
                      "Unit Aliases=WinTypes=Windows;WinProcs=Windows\r\nMapFile=2\r\nSaveSource=0\r\n"
                      "DebugInfo=1\r\nHints=0\r\nWarnings=1\r\n");
}

TEST_F(AliasStoreTest, RoundTripsOfOddValues) {
    std::string longFolder(2000, 'x');
    const std::vector<TAliasValues> cases = {
        Values("empty path", {}),
        Values("two folders", {"C:\\A", "D:\\B"}),
        Values("long path", {"C:\\" + longFolder, "C:\\B"}),
    };
    {
        TAliasStore store(Store);
        for (const auto& v : cases) store.Save(v, nullptr);
    }
    TAliasStore store(Store);
    store.LoadAll();
    ASSERT_EQ(store.Aliases().Count(), 3);
    for (int i = 0; i < 3; ++i) ExpectSame(ValuesOf(*store.Record(i)), cases[i]);
}

TEST_F(AliasStoreTest, ManyAliasesAndRefreshOfAHighSection) {
    TAliasStore store(Store);
    for (int i = 1; i <= 1000; ++i) store.Save(Values("A" + std::to_string(i)), nullptr);
    TAliasStore again(Store);
    again.LoadAll();
    ASSERT_EQ(again.Aliases().Count(), 1000);
    TIniRecord* last = again.Record(999);
    EXPECT_EQ(last->SectionName, "Alias1000");
    TAliasValues v = ValuesOf(*last);
    v.LibraryFile = "C:\\NEW.DCL";
    again.Save(v, last);
    EXPECT_EQ(rtl::TIniFile(Store).ReadString("Alias1000", "Filename", ""), "C:\\NEW.DCL");
    EXPECT_EQ(rtl::TIniFile(Store).ReadString("Alias100", "Filename", ""), "C:\\DELPHI\\BIN\\A100.DCL");
}

TEST_F(AliasStoreTest, GapEndsTheListAndTheNextAliasFillsIt) {
    std::ofstream(rtl::HostPath(Store), std::ios::binary) << "; edited by hand\r\n[alias1]\r\n alias = One \r\n"
                                                             "[Alias3]\r\nAlias=Three\r\n";
    TAliasStore store(Store);
    store.LoadAll();
    ASSERT_EQ(store.Aliases().Count(), 1);
    EXPECT_EQ(store.Aliases()[0], "One");
    store.Save(Values("Two"), nullptr);
    EXPECT_EQ(rtl::TIniFile(Store).ReadString("Alias2", "Alias", ""), "Two");
}

TEST_F(AliasStoreTest, DeleteInTheMiddleRenumbers) {
    TAliasStore store(Store);
    for (const char* n : {"One", "Two", "Three"}) store.Save(Values(n), nullptr);
    store.Delete(0);
    ASSERT_EQ(store.Aliases().Count(), 2);
    EXPECT_EQ(store.Record(0)->SectionName, "Alias1");
    EXPECT_EQ(store.Record(1)->SectionName, "Alias2");
    rtl::TIniFile ini(Store);
    EXPECT_EQ(ini.ReadString("Alias1", "Alias", ""), "Two");
    EXPECT_EQ(ini.ReadString("Alias2", "Alias", ""), "Three");
    EXPECT_FALSE(ini.SectionExists("Alias3"));
    // A later refresh writes into the record's own section.
    TAliasValues v = ValuesOf(*store.Record(1));
    v.MapFile = 3;
    store.Save(v, store.Record(1));
    EXPECT_EQ(rtl::TIniFile(Store).ReadInteger("Alias2", "MapFile", 0), 3);
}

TEST_F(AliasStoreTest, FailedDeleteChangesNothing) {
    TAliasStore store(Store);
    for (const char* n : {"One", "Two"}) store.Save(Values(n), nullptr);
    const std::string before = Disk();
    rtl::SetWriteFailureHook([](std::string_view) { return ENOSPC; });
    try {
        store.Delete(0);
        ADD_FAILURE() << "no error";
    } catch (const rtl::EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + Store);
    }
    rtl::SetWriteFailureHook({});
    EXPECT_EQ(Disk(), before);
    ASSERT_EQ(store.Aliases().Count(), 2);
    EXPECT_EQ(store.Record(0)->AliasName, "One");
    EXPECT_EQ(store.Record(1)->SectionName, "Alias2");
}

TEST(SplitText, Segments) {
    struct Case { const char* text; std::vector<std::string> parts; };
    const Case cases[] = {
        {"", {}},
        {";", {}},
        {"C:\\A;D:\\B;", {"C:\\A", "D:\\B"}},
        {";;C:\\A;;;D:\\B", {"C:\\A", "D:\\B"}},
        {"one", {"one"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitText(c.text, ';'), c.parts) << c.text;
        EXPECT_EQ(SplitText(JoinText(c.parts), ';'), c.parts) << c.text;
    }
    EXPECT_EQ(JoinText({}), "");
    EXPECT_EQ(JoinText({"a", "b"}), "a;b");
}

TEST(SectionNumber, AllDigitsAfterAlias) {
    EXPECT_EQ(SectionNumber("Alias1"), 1);
    EXPECT_EQ(SectionNumber("Alias1000"), 1000);
    EXPECT_EQ(SectionNumber("Alias"), 0);
}

} // namespace
} // namespace libconfig
