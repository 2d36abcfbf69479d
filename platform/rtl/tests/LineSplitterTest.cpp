#include "rtl/LineSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each line followed by "|" and its break spelled out, so that a case shows both at once.
std::string Split(std::string_view text) {
    rtl::TLineSplitter lines(text);
    std::string r;
    for (std::string_view line; lines.Next(line);) {
        r.append(line).append("|");
        for (char c : lines.Break()) r += c == '\r' ? "CR" : "LF";
        r += ";";
    }
    return r;
}

TEST(LineSplitter, EveryKindOfBreakAndNoEmptyLastLine) {
    struct Case {
        std::string Text, Want;
    } cases[] = {
        {"", ""},
        {"a", "a|;"},
        {"a\r\n", "a|CRLF;"},
        {"a\nb\rc\r\nd", "a|LF;b|CR;c|CRLF;d|;"},
        {"\r\r\n\n", "|CR;|CRLF;|LF;"},
        {"a\n\rb", "a|LF;|CR;b|;"}, // LF CR is two breaks
        {"a\r", "a|CR;"},
        {std::string("a\0b\n", 4), std::string("a\0b|LF;", 7)},
    };
    for (const Case& c : cases) EXPECT_EQ(Split(c.Text), c.Want) << testing::PrintToString(c.Text);
}

TEST(LineSplitter, ManyLinesOfEachBreakKindComeOutInOrder) {
    // The next LF and CR are kept between lines: each kind alone, and both, over many lines.
    for (const char* brk : {"\r", "\n", "\r\n"}) {
        std::string text;
        for (int i = 0; i < 20000; ++i) text.append(std::to_string(i)).append(brk);
        rtl::TLineSplitter lines(text);
        int n = 0;
        for (std::string_view line; lines.Next(line); ++n)
            if (line != std::to_string(n)) FAIL() << "line " << n << " is " << line;
        EXPECT_EQ(n, 20000);
        EXPECT_EQ(lines.Position(), text.size());
    }
}

TEST(LineSplitter, BreakLengthAtAPosition) {
    const std::string text = "a\r\nb\rc\n";
    const std::size_t want[] = {0, 2, 1, 0, 1, 0, 1, 0, 0};
    for (std::size_t at = 0; at < std::size(want); ++at) EXPECT_EQ(rtl::LineBreakLength(text, at), want[at]) << at;
}

} // namespace
