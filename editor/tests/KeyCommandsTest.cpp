#include "editor/KeyCommands.h"

#include "editor/ZelExceptions.h"
#include "rtl/Files.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace editor;

namespace {

constexpr std::uint8_t VK_SHIFT = 16, VK_CONTROL = 17, VK_CAPITAL = 20, VK_NUMLOCK = 144;

struct Press {
    std::uint8_t key;
    TShiftState shift;
    std::uint16_t expected;
};

void Activate(TZelCommandProcessor& p, std::initializer_list<const char*> names) {
    for (int i = 0; i < p.TableCount(); ++i) p.Table(i).SetActive(false);
    for (const char* n : names) p.GetTable(n)->SetActive(true);
}

void ExpectPresses(TZelCommandProcessor& p, const std::vector<Press>& presses, const char* what) {
    for (std::size_t i = 0; i < presses.size(); ++i) {
        EXPECT_EQ(p.TranslateKey(presses[i].key, presses[i].shift), presses[i].expected)
            << what << ", press " << i;
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(KeyCommands, BuiltInTables) {
    TZelCommandProcessor p;
    ASSERT_EQ(p.TableCount(), 3);
    EXPECT_EQ(p.Table(0).Name(), "Default");
    EXPECT_TRUE(p.Table(0).Active());
    EXPECT_EQ(p.Table(0).Count(), 64);
    EXPECT_EQ(p.Table(1).Name(), "WordStar");
    EXPECT_FALSE(p.Table(1).Active());
    EXPECT_EQ(p.Table(1).Count(), 40);
    EXPECT_EQ(p.Table(2).Name(), "Grid");
    EXPECT_EQ(p.Table(2).Count(), 38);
    EXPECT_EQ(p.GetTable("wordstar"), &p.Table(1));
    EXPECT_EQ(p.GetTable("none"), nullptr);
    EXPECT_THROW(p.Table(3), ETableNotFound);
}

TEST(KeyCommands, Translation) {
    struct Case {
        const char* name;
        std::vector<const char*> active;
        std::vector<Press> presses;
    };
    const Case cases[] = {
        {"single keys", {"Default"},
         {{'Z', ssCtrl, ccUndo}, {'Z', ssCtrl | ssShift, ccRedo}, {37, 0, ccLeft},
          {37, ssShift | ssCtrl, ccExtWordLeft}, {'Z', 0, tkNothing}, {'Z', ssAlt, tkNothing},
          {8, ssAlt, ccRestore}}},
        {"modifier and lock keys alone", {"Default"},
         {{VK_SHIFT, ssShift, tkNothing}, {VK_CONTROL, ssCtrl, tkNothing},
          {VK_CAPITAL, 0, tkNothing}, {VK_NUMLOCK, 0, tkNothing}, {145, 0, tkNothing},
          {18, ssAlt, tkNothing}}},
        {"two keys, second with or without Ctrl", {"WordStar"},
         {{'Q', ssCtrl, tkFirstOfPair}, {'S', 0, ccHome},
          {'Q', ssCtrl, tkFirstOfPair}, {'S', ssCtrl, ccHome},
          {'Q', ssCtrl, tkFirstOfPair}, {'S', ssShift, tkBrokenPair},
          {'S', ssCtrl, ccLeft}}},
        {"a modifier inside a sequence keeps it", {"WordStar"},
         {{'Q', ssCtrl, tkFirstOfPair}, {VK_CONTROL, ssCtrl, tkFirstOfPair},
          {VK_SHIFT, ssShift, tkFirstOfPair}, {'Y', ssCtrl, ccDelEol}}},
        {"an unknown second key breaks the sequence", {"WordStar"},
         {{'K', ssCtrl, tkFirstOfPair}, {'Z', 0, tkBrokenPair}, {'Z', ssCtrl, ccScrollDown}}},
        {"the key after ccCtrlChar is not translated", {"WordStar"},
         {{'P', ssCtrl, ccCtrlChar}, {VK_SHIFT, ssShift, tkNothing}, {'S', ssCtrl, tkNothing},
          {'S', ssCtrl, ccLeft}}},
        {"the first active table wins", {"Default", "WordStar"},
         {{'Z', ssCtrl, ccUndo}, {'S', ssCtrl, ccLeft}, {'Q', ssCtrl, tkFirstOfPair},
          {'5', 0, ccGotoMarker5}}},
        {"tables in list order, not activation order", {"WordStar", "Default"},
         {{'Z', ssCtrl, ccUndo}, {'X', ssCtrl, ccCut}}},
        {"grid", {"Grid"}, {{113, 0, ccTableEdit}, {'Z', ssCtrl, ccRestore}, {38, ssCtrl, ccTopLeftCell}}},
        {"nothing active", {}, {{37, 0, tkNothing}}},
    };
    for (const auto& c : cases) {
        TZelCommandProcessor p;
        Activate(p, {});
        for (const char* n : c.active) p.GetTable(n)->SetActive(true);
        ExpectPresses(p, c.presses, c.name);
    }
}

TEST(KeyCommands, ACommandOfZeroFallsThroughToTheNextTable) {
    TZelCommandProcessor p;
    int first = p.CreateTable("Mine", true);
    p.AddCommand("Mine", {37, 0, 0, 0, ccNone});
    p.AddCommand("Mine", {'J', ksCtrl, 0, 0, 300});
    // "Mine" comes after "Default": move it to the front by rebuilding the list.
    auto stored = p.StoreTables();
    std::rotate(stored.begin(), stored.begin() + first, stored.end());
    p.LoadTables(stored);
    ASSERT_EQ(p.Table(0).Name(), "Mine");
    EXPECT_EQ(p.TranslateKey(37, 0), ccLeft);
    EXPECT_EQ(p.TranslateKey('J', ssCtrl), 300);
}

TEST(KeyCommands, AddTableMakesNamesUnique) {
    struct Case { std::vector<std::string> existing; std::string name, expected; };
    const Case cases[] = {
        {{}, "Default", "Default1"},
        {{"Default1"}, "Default", "Default2"},
        {{}, "default", "default1"},
        {{}, "Grid7", "Grid1"},
        {{}, "Mine", "Mine"},
        {{}, "Mine7", "Mine7"},
        {{"Mine7"}, "Mine7", "Mine1"},
        {{"Mine", "Mine1"}, "Mine3", "Mine2"},
        {{}, "7", "7"},
    };
    for (const auto& c : cases) {
        TZelCommandProcessor p;
        for (const auto& e : c.existing) p.CreateTable(e, false);
        int at = p.CreateTable(c.name, true);
        EXPECT_EQ(p.Table(at).Name(), c.expected) << c.name;
    }
    TZelCommandProcessor p;
    p.GetTable("Grid")->SetName("Other");
    EXPECT_EQ(p.Table(p.CreateTable("Grid7", true)).Name(), "Grid7");
}

TEST(KeyCommands, AddCommandErrors) {
    TZelCommandProcessor p;
    EXPECT_THROW(p.AddCommand("Nowhere", {1, 0, 0, 0, 1}), ETableNotFound);
    EXPECT_THROW(p.AddCommand("default", {37, 0, 0, 0, ccRight}), EDuplicateCommand);
    p.AddCommand("Default", {37, 0, 9, 0, ccRight}); // another key sequence
    EXPECT_EQ(p.GetTable("Default")->Count(), 65);
    auto& t = *p.GetTable("Default");
    EXPECT_EQ(t.IndexOf(TKeyBinding{90, 4, 0, 0, 0}), 12);
    EXPECT_THROW(t.Delete(65), rtl::EListError);
    EXPECT_THROW(t.Item(-1), rtl::EListError);
}

TEST(KeyCommands, StoredFormKeepsOnlyDifferencesOfBuiltInTables) {
    TZelCommandProcessor p;
    auto stored = p.StoreTables();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].Name, "Default");
    EXPECT_TRUE(stored[0].CommandList.empty());
    EXPECT_FALSE(stored[1].Active);

    auto& def = *p.GetTable("Default");
    def.Delete(def.IndexOf(TKeyBinding{90, 4, 0, 0, 0})); // Ctrl+Z
    stored = p.StoreTables();
    ASSERT_EQ(stored[0].CommandList.size(), 1u);
    EXPECT_EQ(stored[0].CommandList[0], (TStoredCommand{90 | 4 << 8, 0}));

    def.Replace(0, {37, 0, 0, 0, ccHome});        // a changed command
    def.Add({'W', ssCtrl, 0, 0, 999});            // a new binding
    p.CreateTable("Custom", false);
    p.AddCommand("Custom", {'A', 4, 'B', 128, 7});
    stored = p.StoreTables();
    ASSERT_EQ(stored[0].CommandList.size(), 3u);
    EXPECT_EQ(stored[3].Name, "Custom");
    ASSERT_EQ(stored[3].CommandList.size(), 1u);
    EXPECT_EQ(stored[3].CommandList[0].Keys, static_cast<std::int32_t>('A' | 4 << 8 | 'B' << 16 | 128u << 24));

    TZelCommandProcessor q;
    q.LoadTables(stored);
    ASSERT_EQ(q.TableCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(q.Table(i).Name(), p.Table(i).Name());
        EXPECT_EQ(q.Table(i).Active(), p.Table(i).Active());
        ASSERT_EQ(q.Table(i).Count(), p.Table(i).Count()) << i;
        for (int k = 0; k < q.Table(i).Count(); ++k) {
            int at = q.Table(i).IndexOf(p.Table(i).Item(k));
            ASSERT_GE(at, 0) << i << " " << k;
            EXPECT_EQ(q.Table(i).Item(at).Cmd, p.Table(i).Item(k).Cmd);
        }
    }
    EXPECT_EQ(q.TranslateKey('Z', ssCtrl), tkNothing);
    EXPECT_EQ(q.TranslateKey(37, 0), ccHome);
    EXPECT_EQ(q.TranslateKey('W', ssCtrl), 999);

    q.LoadTables({});
    EXPECT_EQ(q.TableCount(), 0);
    EXPECT_EQ(q.TranslateKey(37, 0), tkNothing);
}

TEST(KeyCommands, TableFileRoundTrip) {
    testing_support::TempWinRoot root;
    const std::string file = root.Path() + "/wordstar.tbl";
    TZelCommandProcessor p;
    p.SaveTableToFile("WordStar", file);
    std::string text = ReadFile(file);
    const std::string head = "WordStar\r\n  83   4   0   0    46\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.size(), 10u + 40 * 24);
    p.SaveTableToFile("Missing", root.Path() + "/none.tbl");
    EXPECT_FALSE(std::ifstream(root.Path() + "/none.tbl").good());

    int at = p.LoadTableFromFile(file);
    EXPECT_EQ(at, 3);
    EXPECT_EQ(p.Table(at).Name(), "WordStar1");
    ASSERT_EQ(p.Table(at).Count(), 40);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(p.Table(at).Item(i), p.Table(1).Item(i));

    // Written by hand: LF line ends, extra blanks and a blank last line.
    WriteFile(file, "Mine\n 65 4 0 0 300\n\t66\t4\t67\t128\t7\n\n");
    at = p.LoadTableFromFile(file);
    EXPECT_EQ(p.Table(at).Name(), "Mine");
    ASSERT_EQ(p.Table(at).Count(), 2);
    EXPECT_EQ(p.Table(at).Item(1), (TKeyBinding{66, 4, 67, 128, 7}));

    // Windows-form names, in any letter case.
    rtl::ForceDirectories("C:\\Tables");
    p.SaveTableToFile("grid", "C:\\Tables\\Grid.TBL");
    EXPECT_FALSE(ReadFile(root.Path() + "/drive_c/Tables/Grid.TBL").empty());
    at = p.LoadTableFromFile("c:\\tables\\grid.tbl");
    EXPECT_EQ(p.Table(at).Name(), "Grid1");
    EXPECT_EQ(p.Table(at).Count(), 38);
}

TEST(KeyCommands, BadTableFilesAddNothing) {
    testing_support::TempWinRoot root;
    const std::string file = root.Path() + "/bad.tbl";
    struct Case { std::string text; int line; };
    const Case cases[] = {
        {"", 1},
        {"T\n1 2 3 4\n", 2},
        {"T\n1 2 3 4 5 6\n", 2},
        {"T\n1 2 3 4 5\n256 0 0 0 1\n", 3},
        {"T\n1 2 3 4 65536\n", 2},
        {"T\n1 2 3 4 -1\n", 2},
        {"T\n1 2 3 4 x\n", 2},
        {"T\n1 2 3 4 5\n\n1 2 3 4 6\n", 3},
        {"T\n1 2 3 4 5\n1 2 3 4 6\n", 3},  // the same key sequence twice
    };
    for (const auto& c : cases) {
        WriteFile(file, c.text);
        TZelCommandProcessor p;
        try {
            p.LoadTableFromFile(file);
            ADD_FAILURE() << "no error for \"" << c.text << "\"";
        } catch (const rtl::EInOutError& e) {
            EXPECT_NE(e.Message().find(file), std::string::npos) << e.Message();
            EXPECT_NE(e.Message().find("line " + std::to_string(c.line)), std::string::npos)
                << e.Message();
        }
        EXPECT_EQ(p.TableCount(), 3);
    }
    TZelCommandProcessor p;
    EXPECT_THROW(p.LoadTableFromFile(root.Path() + "/missing.tbl"), rtl::EInOutError);
    EXPECT_THROW(p.SaveTableToFile("Default", root.Path() + "/no/such/folder/x.tbl"), rtl::EInOutError);
    EXPECT_EQ(p.TableCount(), 3);
}
