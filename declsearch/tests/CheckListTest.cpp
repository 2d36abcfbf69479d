#include "declsearch/CheckList.h"

#include "testing/UiTest.h"

#include <vector>

using namespace vcl;
using namespace declsearch;

namespace {

std::vector<std::string> Keys(const rtl::TStrings& L) {
    std::vector<std::string> out;
    for (int i = 0; i < L.Count(); ++i) out.push_back(L.Get(i));
    return out;
}

struct CheckItems : ::testing::Test {
    CheckItems() {
        for (const char* s : {"System.pas", "Classes.pas", "Forms.pas", "Dialogs.pas"}) Items.Items()->Add(s);
        Items.OnChange = [this](TObject*) { ++Changes; };
    }
    TKwCheckItems Items;
    int Changes = 0;
};

} // namespace

TEST_F(CheckItems, CheckedKeysFollowTheItemOrder) {
    Items.SetItemChecked(2, true);
    Items.SetItemChecked(0, true); // nothing checked before it: first
    Items.SetItemChecked(3, true);
    Items.SetItemChecked(1, true);
    EXPECT_EQ(Keys(*Items.Checked()), (std::vector<std::string>{"System.pas", "Classes.pas", "Forms.pas", "Dialogs.pas"}));
    EXPECT_EQ(Changes, 4);
    Items.SetItemChecked(1, true); // already there
    Items.SetItemChecked(1, false);
    EXPECT_EQ(Changes, 5);
    EXPECT_FALSE(Items.IsItemChecked(1));
    EXPECT_TRUE(Items.IsCheckedByName("FORMS.PAS")) << "without regard to case";
    Items.SetItemChecked(9, true); // no such item
    EXPECT_EQ(Items.Checked()->Count(), 3);
}

TEST_F(CheckItems, ValuesGiveTheKeysAndAssigningThemDropsStrayKeys) {
    rtl::TStringList checked;
    for (const char* s : {"Forms.pas", "gone.pas", "sys"}) checked.Add(s);
    Items.SetChecked(checked);
    rtl::TStringList values;
    values.Add("sys");
    Items.SetValues(values);
    EXPECT_EQ(Keys(*Items.Checked()), (std::vector<std::string>{"Forms.pas", "sys"}));
    EXPECT_EQ(Items.ItemKey(0), "sys");
    EXPECT_EQ(Items.ItemKey(1), "Classes.pas");
    EXPECT_TRUE(Items.IsItemChecked(0));
    // By name: the value first, else the text.
    Items.SetCheckedByName("SYS", false);
    Items.SetCheckedByName("Dialogs.pas", true);
    Items.SetCheckedByName("missing", true);
    EXPECT_EQ(Keys(*Items.Checked()), (std::vector<std::string>{"Forms.pas", "Dialogs.pas"}));
}

TEST_F(CheckItems, ToggleAsksOnCheckAndABatchReportsOnce) {
    std::vector<int> asked;
    Items.OnCheck = [&](TObject*, int Index, bool& Value) {
        asked.push_back(Index);
        if (Index == 3) Value = false; // refuses to check the last one
    };
    std::vector<int> redrawn;
    Items.OnRedraw = [&](int Index) { redrawn.push_back(Index); };
    Items.BeginCheck();
    Items.ToggleItem(0);
    Items.ToggleItem(3);
    Items.ToggleItem(2);
    EXPECT_EQ(Changes, 0);
    Items.EndCheck();
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(asked, (std::vector<int>{0, 3, 2}));
    EXPECT_EQ(redrawn, (std::vector<int>{0, 3, 2}));
    EXPECT_EQ(Keys(*Items.Checked()), (std::vector<std::string>{"System.pas", "Forms.pas"}));
    Items.ToggleItem(0);
    EXPECT_EQ(Changes, 2);
    Items.EndCheck(); // unbalanced: ignored
    EXPECT_EQ(Changes, 2);
}

class CheckPicture : public testing_support::UiTest {};

TEST_F(CheckPicture, KeyColoursTakeTheWindowAndControlColours) {
    TBitmap src, dst;
    src.SetSize(3, 1);
    src.Canvas()->SetPixels(0, 0, clFuchsia);
    src.Canvas()->SetPixels(1, 0, clOlive);
    src.Canvas()->SetPixels(2, 0, clBlack);
    PrepareCheckPicture(&src, &dst, clRed, clOlive, clFuchsia);
    EXPECT_EQ(dst.Width(), 3);
    EXPECT_EQ(dst.Canvas()->Pixels(0, 0), TColor(ColorToRGB(clWindow)));
    EXPECT_EQ(dst.Canvas()->Pixels(1, 0), clRed);
    EXPECT_EQ(dst.Canvas()->Pixels(2, 0), clBlack);
}
