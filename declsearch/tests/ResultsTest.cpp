#include "declsearch/Results.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace declsearch;

namespace {

TProcLine Header(const std::string& file) {
    TProcLine r;
    r.FileName = file;
    r.Kind = TRowKind::FileHeader;
    return r;
}

TProcLine ErrorRow() {
    TProcLine r;
    r.Pos = -1;
    r.Kind = TRowKind::Error;
    return r;
}

TProcLine Section(const std::string& file, int line, const std::string& key) {
    TProcLine r;
    r.FileName = file;
    r.Line = line;
    r.Pos = 1;
    r.Key = key;
    r.Kind = TRowKind::Section;
    return r;
}

TProcLine Hit(const std::string& file, int line, int pos, const std::string& key = "X") {
    TProcLine r;
    r.FileName = file;
    r.Line = line;
    r.Pos = pos;
    r.Key = key;
    return r;
}

// Row texts of the model in order, "|"-separated.
std::string Texts(const TResultsModel& m) {
    std::string out;
    for (const TResultRow& r : m.Results()) out += (out.empty() ? "" : "|") + r.Text;
    return out;
}

std::string VisibleTexts(const TResultsModel& m) {
    std::string out;
    for (const TVisibleRow& r : m.Visible()) out += (out.empty() ? "" : "|") + r.Text;
    return out;
}

// Two files with hits, one without, one that could not be opened.
void Fill(TResultsModel& m) {
    m.AddRow("C:\\A.PAS", Header("C:\\a.pas"));
    m.AddRow("1     interface", Section("C:\\a.pas", 1, "interface"));
    m.AddRow("2     procedure A1;", Hit("C:\\a.pas", 2, 11, "A1"));
    m.AddRow("3     implementation", Section("C:\\a.pas", 3, "implementation"));
    m.AddRow("C:\\EMPTY.PAS", Header("C:\\empty.pas"));
    m.AddRow("1     interface", Section("C:\\empty.pas", 1, "interface"));
    m.AddRow("C:\\GONE.PAS: File could not be opened", ErrorRow());
    m.AddRow("C:\\B.PAS", Header("C:\\b.pas"));
    m.AddRow("5     procedure B1;", Hit("C:\\b.pas", 5, 11, "B1"));
    m.AddRow("9     procedure B2;", Hit("C:\\b.pas", 9, 11, "B2"));
}

} // namespace

TEST(DeclResults, CountAndPrune) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, TProcLine>> rows;
        const char* kept;
        int files, hits;
    } cases[] = {
        {"sections and headers without hits go",
         {{"H", Header("a")}, {"int", Section("a", 1, "interface")}, {"p", Hit("a", 2, 1)},
          {"impl", Section("a", 3, "implementation")}, {"E", Header("e")}},
         "H|int|p", 1, 1},
        {"an error row stays and is not counted", {{"ERR", ErrorRow()}, {"H", Header("a")}}, "ERR", 0, 0},
        {"a hit row whose key is a section keyword is a hit",
         {{"H", Header("a")}, {"impl", Section("a", 1, "implementation")}, {"hit", Hit("a", 2, 1, "interface")}},
         "H|impl|hit", 1, 1},
        {"hits of each file counted once per file",
         {{"H1", Header("a")}, {"a1", Hit("a", 1, 1)}, {"H2", Header("b")}, {"b1", Hit("b", 1, 1)},
          {"b2", Hit("b", 2, 1)}},
         "H1|a1|H2|b1|b2", 2, 3},
        {"nothing at all", {}, "", 0, 0},
    };
    for (Case& c : cases) {
        TResultsModel m;
        for (auto& [text, row] : c.rows) m.AddRow(text, row);
        int files = -1, hits = -1;
        m.CountAndPrune(files, hits);
        EXPECT_EQ(Texts(m), c.kept) << c.name;
        EXPECT_EQ(files, c.files) << c.name;
        EXPECT_EQ(hits, c.hits) << c.name;
    }
}

TEST(DeclResults, VisibleListFollowsExpandedHeaders) {
    TResultsModel m;
    Fill(m);
    int files, hits;
    m.CountAndPrune(files, hits);
    EXPECT_EQ(files, 2);
    EXPECT_EQ(hits, 3);
    m.RebuildVisibleList();
    ASSERT_EQ(m.Visible().size(), 7u);

    m.SetItemIndex(0); // a.pas header
    EXPECT_TRUE(m.CollapseSelected());
    EXPECT_EQ(VisibleTexts(m), "C:\\A.PAS|C:\\GONE.PAS: File could not be opened|C:\\B.PAS|5     procedure B1;|"
                               "9     procedure B2;");
    EXPECT_EQ(m.ItemIndex(), 0);
    EXPECT_TRUE(m.ExpandSelected());
    EXPECT_EQ(m.Visible().size(), 7u);

    // Left and Right on a line row change nothing but are still taken.
    m.SetItemIndex(2);
    EXPECT_TRUE(m.CollapseSelected());
    EXPECT_EQ(m.Visible().size(), 7u);

    // A selection past the end of the rebuilt list selects nothing.
    m.SetItemIndex(6);
    m.ExpandAll(false);
    EXPECT_EQ(m.Visible().size(), 3u);
    EXPECT_EQ(m.ItemIndex(), -1);
    EXPECT_EQ(m.SelectedRow(), nullptr);
    EXPECT_FALSE(m.CollapseSelected());
    m.ExpandAll(true);
    EXPECT_EQ(m.Visible().size(), 7u);
}

TEST(DeclResults, GotoDecision) {
    TResultsModel m;
    Fill(m);
    int files, hits;
    m.CountAndPrune(files, hits);
    m.RebuildVisibleList();
    m.SetNextAction(cmdOptions);

    EXPECT_FALSE(m.GotoSelected()); // nothing selected
    m.SetItemIndex(3);              // the error row
    EXPECT_FALSE(m.GotoSelected());
    EXPECT_EQ(m.NextAction(), 2);

    m.SetItemIndex(5); // b.pas line 5
    EXPECT_TRUE(m.GotoSelected());
    EXPECT_EQ(m.CurrentFile(), "C:\\b.pas");
    EXPECT_EQ(m.GotoLine(), 5);
    EXPECT_EQ(m.GotoColumn(), 11);
    EXPECT_EQ(m.NextAction(), 0);
    EXPECT_EQ(m.StatusFileName(), "C:\\b.pas");

    m.SetItemIndex(0); // a file header: line 1, column 1
    EXPECT_TRUE(m.GotoSelected());
    EXPECT_EQ(m.CurrentFile(), "C:\\a.pas");
    EXPECT_EQ(m.GotoLine(), 1);
    EXPECT_EQ(m.GotoColumn(), 1);

    // A double click folds a header and goes to a line row.
    EXPECT_FALSE(m.ActivateSelected());
    EXPECT_EQ(m.Visible().size(), 5u);
    m.SetItemIndex(4);
    EXPECT_TRUE(m.ActivateSelected());
    EXPECT_EQ(m.GotoLine(), 9);
}

TEST(DeclResults, SpeedSearchAndFileMenu) {
    TResultsModel m;
    Fill(m);
    int files, hits;
    m.CountAndPrune(files, hits);
    m.RebuildVisibleList();

    EXPECT_TRUE(m.SpeedSearch("b2", false));
    EXPECT_EQ(m.ItemIndex(), 6);
    EXPECT_FALSE(m.SpeedSearch("b1", true)); // case counts: selection stays
    EXPECT_EQ(m.ItemIndex(), 6);
    EXPECT_TRUE(m.SpeedSearch("B1", true));
    EXPECT_EQ(m.ItemIndex(), 5);
    EXPECT_FALSE(m.SpeedSearch("a.pas", false)); // headers are passed over
    EXPECT_FALSE(m.SpeedSearch("", false));
    EXPECT_EQ(m.ItemIndex(), 5);

    std::vector<TFileMenuItem> items = m.FileMenuItems();
    ASSERT_EQ(items.size(), 2u); // the error row has no file to offer
    EXPECT_EQ(items[0].Name, "File0");
    EXPECT_EQ(items[0].Hint, "C:\\a.pas");
    EXPECT_EQ(items[1].Name, "File4");
    m.FileMenuItemClick(items[1].Hint);
    EXPECT_EQ(m.ItemIndex(), 4);
    EXPECT_EQ(m.StatusFileName(), "C:\\b.pas");
}

TEST(DeclResults, ShortFileName) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:\\short\\name.pas", "C:\\short\\name.pas"},
        {"C:\\abcdefghij\\abcdefghij\\abc.pas", "C:\\abcdefghij\\abcdefghij\\abc.pas"}, // 32 stays
        {"C:\\projects\\pascal\\components\\unit1.pas", "C:\\...ascal\\components\\unit1.pas"},
        {"\\\\server\\share\\projects\\pascal\\unit1.pas", "\\share\\projects\\pascal\\unit1.pas"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortFileName(c.in), c.out) << c.in;
}
