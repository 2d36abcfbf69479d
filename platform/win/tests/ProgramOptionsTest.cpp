// The command line every program with windows reads: screen options, --help, its own arguments
// and what it refuses.
#include "win/ProgramOptions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct Line {
    std::vector<std::string> Words;
    std::vector<char*> Argv;
    explicit Line(std::vector<std::string> words) : Words(std::move(words)) {
        Words.insert(Words.begin(), "prog");
        for (std::string& w : Words) Argv.push_back(w.data());
        Argv.push_back(nullptr);
    }
    int Argc() const { return int(Words.size()); }
};

TEST(ProgramOptions, TheCommandLineIsReadOrRefusedWithItsReason) {
    struct Case {
        std::vector<std::string> Words;
        std::size_t MaxArguments;
        std::optional<int> Code;
        std::vector<std::string> Arguments;
        const char* Says; // what the terminal shows besides the usage line, "" for nothing
    } cases[] = {
        {{}, 1, std::nullopt, {}, ""},
        {{"--headless", "a.dpr", "--scale", "2"}, 1, std::nullopt, {"a.dpr"}, ""},
        {{"--help"}, 1, 0, {}, ""},
        {{"-h", "a.dpr"}, 1, 0, {}, ""},
        {{"--frobnicate"}, 1, 2, {}, "prog: unknown option --frobnicate"},
        {{"a.dpr", "b.dpr"}, 1, 2, {"a.dpr"}, "prog: unknown argument b.dpr"},
        {{"a.dpr"}, 0, 2, {}, "prog: unknown argument a.dpr"},
        {{"--screenshot"}, 1, 2, {}, "prog: --screenshot needs a value"},
        {{"--scale", "9"}, 1, 2, {}, "prog: the scale is a whole number from 1 to 8"},
        {{"--size", "10x"}, 1, 2, {}, "prog: the size is WIDTHxHEIGHT"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        Line line(c.Words);
        win::TScreenOptions options;
        std::vector<std::string> arguments;
        testing::internal::CaptureStderr();
        std::optional<int> code =
            win::ReadCommandLine(line.Argc(), line.Argv.data(), "prog", "[file]", c.MaxArguments, options, arguments);
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, c.Code) << "case " << i;
        EXPECT_EQ(arguments, c.Arguments) << "case " << i;
        EXPECT_NE(said.find(c.Says), std::string::npos) << "case " << i << ": " << said;
        bool usage = said.find("usage: prog [--headless] [--scale N] [--screenshot FILE] [--size WxH] "
                               "[--position X,Y] [file]\n") != std::string::npos;
        EXPECT_EQ(usage, c.Code.has_value()) << "case " << i << ": " << said;
    }
}

TEST(ProgramOptions, ScreenOptionsAreKept) {
    Line line({"--headless", "--scale", "3", "--screenshot", "x.png", "--size", "800x600", "--position", "-5,7"});
    win::TScreenOptions options;
    std::vector<std::string> arguments;
    ASSERT_EQ(win::ReadCommandLine(line.Argc(), line.Argv.data(), "prog", "", 0, options, arguments), std::nullopt);
    EXPECT_TRUE(options.Headless);
    EXPECT_EQ(options.Scale, 3);
    EXPECT_EQ(options.Screenshot, "x.png");
    EXPECT_EQ(options.Width, 800);
    EXPECT_EQ(options.Height, 600);
    EXPECT_TRUE(options.Placed);
    EXPECT_EQ(options.X, -5);
    EXPECT_EQ(options.Y, 7);
}

} // namespace
