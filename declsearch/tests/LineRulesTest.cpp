#include "declsearch/LineRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace declsearch;

TEST(DeclLineRules, WholeWordLooksAtEveryOccurrence) {
    struct Case {
        const char* keyword;
        const char* text;
        bool expected;
    } cases[] = {
        {"class", "tfoo = class(tobject)", true},
        {"class", "class", true},
        {"class", "subclass = class", true},  // the second occurrence stands alone
        {"class", "tclasslist = class(tlist)", true},
        {"class", "tclasslist = tsubclass", false},
        {"end", "end;", true},
        {"end", "\"end\"", true},             // the double quote counts as a delimiter
        {"end", "x.end", false},              // the dot does not
        {"interface", "{interface}", true},
        {"unit", "units", false},
        {"unit", "", false},
        {"", "anything", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWholeWord(c.keyword, c.text), c.expected) << c.keyword << " in [" << c.text << "]";
    EXPECT_EQ(WholeWordPos("class", "tclasslist = class(tlist)"), 14);
    EXPECT_EQ(WholeWordPos("class", "tclasslist"), 0);
}

TEST(DeclLineRules, ProceduralTypesAndDeclarationsEndingOnTheirLine) {
    struct Case {
        const char* low;
        bool procType;
        bool classEnds;
    } cases[] = {
        {"tobjectlistcallback = procedure(data: tobject; arg: pointer) of object;", true, false},
        {"  fonchange: procedure(sender: tobject) of object;", true, false},
        {"tproc = reference to procedure;", true, false},
        {"procedure foo(cb: procedure);", false, false},
        {"einvalidargument = class(ematherror);", false, true},
        {"tfoo = class;", false, true},
        {"tfooclass = class of tfoo;", false, true},
        {"tfoo = class(tobject)", false, false},
        {"tfoo = class(tinterfacedobject, ifoo)", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsProceduralType(c.low, "procedure"), c.procType) << c.low;
        EXPECT_EQ(EndsOnLine(c.low, "class"), c.classEnds) << c.low;
    }
}

TEST(DeclLineRules, StripCommentRemovesOneCommentThatClosesOnTheLine) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"a { b } c", "a  c"},
        {"a (* b *) c", "a  c"},
        {"{ a } (* b *) c", " (* b *) c"},  // braces win
        {"a { b", "a { b"},                 // not closed on the line
        {"a } b { c", "a } b { c"},         // closing before opening
        {"{ one } { two }", " { two }"},    // only the first
        {"x (*) y", "x  y"},
        {"no comment", "no comment"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        StripComment(text);
        EXPECT_EQ(text, c.out) << c.in;
    }
}

TEST(DeclLineRules, TokensAndKeywordLookups) {
    TTokenizer tokens("  TFoo = class(TObject);");
    std::vector<std::string> seen;
    for (TToken t = tokens.NextToken(); !t.Text.empty(); t = tokens.NextToken())
        seen.push_back(std::string(t.Text) + "@" + std::to_string(t.Pos));
    EXPECT_EQ(seen, (std::vector<std::string>{"TFoo@3", "class@10", "TObject@16"}));
    EXPECT_TRUE(tokens.NextToken().Text.empty()); // keeps giving the empty token

    // The line ends at a NUL, as a zero-terminated copy would.
    std::string withNul("procedure A;\0procedure B;", 25);
    EXPECT_EQ(NameAfterKeyword(withNul, "procedure").Text, "A");
    EXPECT_TRUE(NameAfterKeyword(withNul, "function").Text.empty());

    EXPECT_EQ(NameAfterKeyword("Procedure TFoo.Bar(X: Integer);", "procedure").Text, "TFoo.Bar");
    EXPECT_TRUE(NameAfterKeyword("procedure", "procedure").Text.empty());
    EXPECT_TRUE(NameAfterKeyword("procedure A;", "").Text.empty());
    EXPECT_EQ(NameBeforeKeyword("TFoo = CLASS", "class").Text, "TFoo");
    EXPECT_TRUE(NameBeforeKeyword("class procedure X;", "class").Text.empty());
    EXPECT_TRUE(NameBeforeKeyword("\"class\"", "class").Text.empty()); // no token equals it

    TTokenizer own("a.b.c", ".");
    EXPECT_EQ(own.NextToken().Text, "a");
    EXPECT_EQ(own.NextToken().Text, "b");
}

TEST(DeclLineRules, TabsPaddingAndPrefixes) {
    EXPECT_EQ(ExpandTabs("a\tb", 3), "a   b");
    EXPECT_EQ(ExpandTabs("\t\tx", 2), "    x"); // a fixed count, not a tab stop
    EXPECT_EQ(ExpandTabs("a\tb", 0), "a b"); // a TAB always separates words
    EXPECT_EQ(PadRight("12", 6, ' '), "12    ");
    EXPECT_EQ(PadRight("1234567", 6, ' '), "123456");
    EXPECT_EQ(PadRight("ab   ", 3, '.'), "ab.");
    EXPECT_EQ(StripClassPrefix("TFoo.Bar.Baz"), "Bar.Baz");
    EXPECT_EQ(StripClassPrefix("Bar"), "Bar");
}
