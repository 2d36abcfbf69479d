#include "spellexpert/SyntaxColour.h"

#include "rtl/Registry.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <vector>

namespace spellexpert {
namespace {

TEST(SyntaxColour, LinesGiveOneCodePerCharacter) {
    struct TCase {
        const char* Line;
        const char* Want;
    };
    const TCase cases[] = {
        {"x := 'abc'; // note", "iiyyysssssyyccccccc"},
        {"x := 1", "iiyyyn"},
        {"Begin BEGIN end;", "rrrrrrrrrrrrrrry"},
        {"finalization Initialization", "rrrrrrrrrrrrrrrrrrrrrrrrrrr"},
        {"s := 'it''s';", "iiyyysssssssy"},
        {"s := #13#10;", "iiyyyynnnnny"},
        {"{$I defs.inc} x", "cccccccccccccii"},
        {"(* a *) b", "cccccccii"},
        {"my_end := 12ab;", "iiiiiiiyyyiiiiy"},
        {"a[1]+b<=c;", "iynyyiyyiy"},
        {"p^.x - 1.5", "iiyiiiinyn"},
        {"x//c", "iccc"},
        {"a;b", "iyi"},
        {"s := 'open", "iiyyysssss"},
        {"", ""},
    };
    for (const auto& c : cases) {
        TSyntaxState st;
        EXPECT_EQ(ColourLine(c.Line, st), c.Want) << c.Line;
        EXPECT_EQ(st, TSyntaxState{}) << c.Line; // strings end with their line
    }
}

TEST(SyntaxColour, CommentsCarryAcrossLines) {
    struct TCase {
        std::vector<const char*> Lines;
        std::vector<const char*> Want;
        TSyntaxState End;
    };
    const TCase cases[] = {
        {{"a { open", "still } b"}, {"iicccccc", "cccccccii"}, {}},
        {{"(* one", "", "two *) x"}, {"cccccc", "", "ccccccii"}, {}},
        // Comments do not nest: "(*" inside braces and "}" inside "(* *)" are comment text.
        {{"{ see (* }", "s := 'x';"}, {"cccccccccc", "iiyyysssy"}, {}},
        {{"{ (* } x"}, {"ccccccii"}, {}},
        {{"(* a } b *) c", "d"}, {"cccccccccccii", "i"}, {}},
        {{"(* a {", "} b *) c"}, {"cccccc", "ccccccii"}, {}},
        {{"x := '{';", "y"}, {"iiyyysssy", "i"}, {}},
        {{"// { not open", "z"}, {"ccccccccccccc", "i"}, {}},
    };
    for (const auto& c : cases) {
        TSyntaxList list;
        bool b = false, p = false, s = false;
        for (const char* l : c.Lines)
            list.AddLine(b, p, s, l);
        ASSERT_EQ(list.LineCount(), static_cast<int>(c.Lines.size()));
        for (std::size_t i = 0; i < c.Lines.size(); ++i)
            EXPECT_EQ(list.GetLineAttributes(static_cast<int>(i) + 1), c.Want[i]) << c.Lines[i];
        EXPECT_EQ((TSyntaxState{b, p, s}), c.End) << c.Lines[0];
    }
}

TEST(SyntaxColour, ListLookupsAndRecolouring) {
    std::vector<std::string> text = {"a := 'x';", "b := 1;", "c;", "d;"};
    TSyntaxList list;
    bool b = false, p = false, s = false;
    for (const auto& l : text)
        list.AddLine(b, p, s, l);
    EXPECT_EQ(list.GetLineAttributes(0), std::string(255, 'd'));
    EXPECT_EQ(list.GetLineAttributes(5), std::string(255, 'd'));
    EXPECT_EQ(list.Count(), 4);

    int coloured = 0;
    auto lineText = [&](int n) {
        ++coloured;
        return text[static_cast<std::size_t>(n - 1)];
    };
    // A replacement that opens a comment colours the following lines until it closes.
    text[1] = "b := 1; { open";
    list.Recolour(2, lineText);
    EXPECT_EQ(list.GetLineAttributes(2), "iiyyynyycccccc");
    EXPECT_EQ(list.GetLineAttributes(3), "cc");
    EXPECT_EQ(list.GetLineAttributes(4), "cc");
    EXPECT_EQ(coloured, 3);
    // Closing it again on line 3 gives line 4 back; nothing beyond is touched.
    text[2] = "c } ;";
    coloured = 0;
    list.Recolour(3, lineText);
    EXPECT_EQ(list.GetLineAttributes(3), "ccciy");
    EXPECT_EQ(list.GetLineAttributes(4), "iy");
    EXPECT_EQ(coloured, 2);
    // A change that leaves the state alone recolours its own line only.
    text[0] = "aa := 'xy';";
    coloured = 0;
    list.Recolour(1, lineText);
    EXPECT_EQ(list.GetLineAttributes(1), "iiiyyyssssy");
    EXPECT_EQ(coloured, 1);
}

bool SameAttr(const TSyntaxAttr& a, const TSyntaxAttr& b) {
    return a.AttrCode == b.AttrCode && a.FontColor == b.FontColor && a.BackColor == b.BackColor &&
           a.Style == b.Style;
}

TEST(SyntaxColour, HighlightValuesGiveRecords) {
    SetDefaultAttributes();
    AttributeRecord('d') = {'d', vcl::clNavy, vcl::clYellow, 0};
    struct TCase {
        const char* Value;
        TSyntaxAttr Want;
    };
    const TSyntaxAttr start{'s', vcl::clRed, vcl::clWhite, vcl::fsItalic};
    const TCase cases[] = {
        {"", start},
        {"B,0,0", start}, // too few fields: kept
        {",0,0,0,15", {'s', vcl::clBlack, vcl::clWhite, 0}},
        {"BIU,0,0,12,9", {'s', vcl::clBlue, vcl::clRed, vcl::fsBold | vcl::fsItalic | vcl::fsUnderline}},
        {"B,1,1,4,4", {'s', vcl::clNavy, vcl::clYellow, vcl::fsBold}}, // plain text's colours
        {"xxB,0,1,2,3", {'s', vcl::clGreen, vcl::clYellow, vcl::fsBold}},
        {"xxxB,0,0,16,-1", {'s', vcl::clBlack, vcl::clBlack, 0}}, // style past three; bad indexes
        {"I,0,0,abc,7", {'s', vcl::clBlack, vcl::clSilver, vcl::fsItalic}},
        {"more,I,0,0,6,8", {'s', vcl::clTeal, vcl::clGray, vcl::fsItalic}}, // read from the end
    };
    for (const auto& c : cases) {
        TSyntaxAttr a = start;
        ReadAttributeValue(a, c.Value);
        EXPECT_TRUE(SameAttr(a, c.Want)) << c.Value;
    }
    SetDefaultAttributes();
}

TEST(SyntaxColour, LookupsFallBackToPlainText) {
    SetDefaultAttributes();
    EXPECT_EQ(FindAttribute('r').Style, vcl::fsBold);
    EXPECT_EQ(FindAttribute('y').FontColor, vcl::clTeal);
    EXPECT_EQ(FindAttribute('h').BackColor, vcl::clHighlight);
    EXPECT_EQ(FindAttribute('q').AttrCode, 'd');
    EXPECT_EQ(EditorFontName(), "Courier New");
    EXPECT_EQ(EditorFontSize(), 9);
}

TEST(SyntaxColour, RegistryValuesAreReadAndMistypedOnesKeepDefaults) {
    testing_support::TempWinRoot root;
    SetDefaultAttributes();
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Highlight", true));
        reg.WriteString("Plain_text", ",0,0,1,7");
        reg.WriteString("Comment", "I,0,1,4,15");
        reg.WriteInteger("String", 5); // wrong type
        reg.WriteString("Reserved_word", "U,1,1,0,0");
    }
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Editor", true));
        reg.WriteString("FontName", std::string(50, 'F'));
        reg.WriteInteger("FontSize", 12);
    }
    ReadIDEHighlight();
    EXPECT_TRUE(SameAttr(FindAttribute('d'), {'d', vcl::clMaroon, vcl::clSilver, 0}));
    EXPECT_TRUE(SameAttr(FindAttribute('c'), {'c', vcl::clNavy, vcl::clSilver, vcl::fsItalic}));
    EXPECT_TRUE(SameAttr(FindAttribute('s'), {'s', vcl::clRed, vcl::clWhite, 0}));
    EXPECT_TRUE(SameAttr(FindAttribute('r'), {'r', vcl::clMaroon, vcl::clSilver, vcl::fsUnderline}));
    EXPECT_TRUE(SameAttr(FindAttribute('y'), {'y', vcl::clTeal, vcl::clWhite, 0})); // missing
    EXPECT_EQ(EditorFontName(), std::string(40, 'F'));
    EXPECT_EQ(EditorFontSize(), 12);

    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Editor", true));
        reg.WriteInteger("FontName", 3);
        reg.WriteString("FontSize", "big");
    }
    SetDefaultAttributes();
    ReadIDEHighlight();
    EXPECT_EQ(EditorFontName(), "Courier New");
    EXPECT_EQ(EditorFontSize(), 9);
    SetDefaultAttributes();
}

} // namespace
} // namespace spellexpert
