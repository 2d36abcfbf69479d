// The quick look at a search's files: lines split from the file's marks, and lines passed over
// when their signs show nothing a rule looks at. Neither may change a row.
#include "declsearch/LineRules.h"
#include "declsearch/Scanner.h"
#include "declsearch/SourceFiles.h"

#include "rtl/StringLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace declsearch;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> ListLines(const std::string& text) {
    rtl::TStringList list;
    list.SetText(text);
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
    return lines;
}

std::vector<std::string> ReaderLines(const std::string& text, bool marked) {
    TTextMarks marks;
    MarkText(text, marks);
    TLineReader reader(text, marked ? &marks : nullptr);
    std::vector<std::string> lines;
    for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
    return lines;
}

// Lines that put keywords, comments and line breaks where a quick look could miss them: in
// either case, at every offset of a 16-byte block and of a 64-bit word, split by a comment,
// glued to other characters, and across every kind of line break.
std::string TrickyText() {
    const std::vector<std::string> keywords = {"interface", "implementation", "procedure", "function",
                                               "class",     "constructor",    "destructor", "property"};
    const std::vector<std::string> breaks = {"\r\n", "\n", "\r"};
    std::string text;
    int n = 0;
    auto line = [&](const std::string& s) { text += s + breaks[static_cast<std::size_t>(n++) % breaks.size()]; };
    line("unit Tricky;");
    line("interface");
    line("type");
    line("  TFoo = class(TObject)");
    line("    FBar: Integer;");
    line("    property Bar: Integer read FBar;");
    line("    constructor Create;");
    line("  end;");
    for (const std::string& k : keywords) {
        std::string upper = k, capital = k;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(c - 32); });
        capital[0] = char(capital[0] - 32);
        for (const std::string& word : {k, upper, capital}) {
            for (int pad = 0; pad < 70; pad += 3)
                line(std::string(static_cast<std::size_t>(pad), pad % 2 ? '\t' : ' ') + word + " Foo(A: Integer);");
            line("x" + word + " Foo;");
            line(word + "_ Foo;");
            line("a." + word + " Foo;");
            line("\xC9" + word + " Foo;");
            line(word + "\xE9 Foo;");
            line("  TBar = " + word + "(TObject)");
            line("end; " + word + " Baz;");
            // Taken apart by a comment, and whole once it is gone.
            line(word.substr(0, 2) + "{x}" + word.substr(2) + " Split;");
            line(word.substr(0, 3) + "(*x*)" + word.substr(3) + " Split;");
            line("{ a comment } " + word + " After;");
            line(word + "{c}Glued;");
        }
    }
    line("implementation");
    line("procedure TFoo.Done; { done (* *) }");
    text += "function Last: Integer;"; // no line break at the end
    return text;
}

} // namespace

TEST(DeclQuickLook, LinesSplitAsTheClassLibraryDoes) {
    std::vector<std::string> texts = {"", "a", "\n", "\r\n", "\r", "a\n", "a\n\n", "a\r\rb", "a\n\rb", "a\r\r\nb",
                                      "x\ry\r\nz\n", std::string("a\0b\nc", 5), TrickyText()};
    // Breaks on both sides of a 64-byte word's edge, and in a last block shorter than 18 bytes.
    for (std::size_t at : {15u, 16u, 17u, 62u, 63u, 64u, 65u, 127u, 128u}) {
        for (const char* brk : {"\n", "\r", "\r\n"}) {
            std::string t(at, 'q');
            t += brk;
            t += std::string(20, 'w');
            texts.push_back(t);
            texts.push_back(std::string(at, 'e') + brk);
        }
    }
    for (const std::string& t : texts) {
        std::vector<std::string> expected = ListLines(t);
        EXPECT_EQ(ReaderLines(t, false), expected) << t.size() << " bytes";
        EXPECT_EQ(ReaderLines(t, true), expected) << t.size() << " bytes";
    }
}

TEST(DeclQuickLook, SignsNeverMissAKeywordOrAComment) {
    const std::string text = TrickyText();
    TTextMarks marks;
    MarkText(text, marks);
    TLineReader reader(text, &marks);
    int lines = 0, keywordLines = 0, commentLines = 0;
    TLineSigns marked;
    for (std::string_view line; reader.Next(line, marked);) {
        ++lines;
        std::string low = LowerCase(ExpandTabs(line, 4));
        const unsigned whole = WholeKeywords(~0u, low);
        const bool comment = StripComment(low).Length > 0;
        keywordLines += whole != 0;
        commentLines += comment;
        const TLineSigns read = ReadLineSigns(line);
        EXPECT_EQ(read.Keywords & whole, whole) << line;
        EXPECT_EQ(marked.Keywords & whole, whole) << line;
        if (comment) {
            EXPECT_TRUE(read.Comment) << line;
            EXPECT_TRUE(marked.Comment) << line;
        }
    }
    // The fixture has what it claims to have.
    EXPECT_GT(keywordLines, 600);
    EXPECT_GT(commentLines, 90);
    EXPECT_GT(lines, 800);
    // A line without keyword or comment sign has no sign.
    EXPECT_EQ(ReadLineSigns("  X := Y + Z; // integer").Keywords, 0u);
    EXPECT_FALSE(ReadLineSigns("  X := (Y + Z) / 2;").Comment);
}

// The search passes over lines by their signs; each file must give the rows a look at every
// line gives.
TEST(DeclQuickLook, RowsEqualThoseOfAFullLookAtEveryLine) {
    std::vector<std::string> texts = {TrickyText()};
    const fs::path tree = "/usr/share/fpcsrc/3.2.2/rtl/objpas";
    std::error_code ec;
    for (fs::recursive_directory_iterator it(tree, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        if (!it->is_regular_file() || (ext != ".pp" && ext != ".pas" && ext != ".inc")) continue;
        std::ifstream in(it->path(), std::ios::binary);
        texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    TSearchSettings defaults;
    TSearchSettings all;
    all.Class = all.Constructor = all.Destructor = all.Field = all.ClassFunction = all.ClassProcedure =
        all.Property = true;
    TSearchSettings plain;
    plain.Function = plain.Procedure = false;
    plain.SearchText = "integer";
    TSearchSettings filtered = all;
    filtered.ClassName = "TFoo";
    filtered.Interface = false;
    const TLineSigns full{~0u, true};
    long rows = 0;
    for (const TSearchSettings& settings : {defaults, all, plain, filtered}) {
        TLineScanner quick(settings, 4), slow(settings, 4);
        TTextMarks marks;
        std::vector<TScanHit> quickHits, slowHits;
        for (const std::string& text : texts) {
            quick.Reset();
            slow.Reset();
            quickHits.clear();
            slowHits.clear();
            MarkText(text, marks);
            TLineReader reader(text, &marks);
            int lineNo = 0;
            TLineSigns signs;
            for (std::string_view line; reader.Next(line, signs);) {
                ++lineNo;
                quick.ScanLine(lineNo, line, signs, quickHits);
                slow.ScanLine(lineNo, line, full, slowHits);
            }
            ASSERT_EQ(quickHits.size(), slowHits.size());
            for (std::size_t i = 0; i < quickHits.size(); ++i) {
                const TScanHit &q = quickHits[i], &s = slowHits[i];
                EXPECT_TRUE(q.Line == s.Line && q.Pos == s.Pos && q.Key == s.Key && q.Kind == s.Kind &&
                            q.Text == s.Text && q.TextPos == s.TextPos)
                    << s.Line << ": " << s.Text;
            }
            rows += static_cast<long>(slowHits.size());
        }
    }
    EXPECT_GT(rows, 1000);
}
