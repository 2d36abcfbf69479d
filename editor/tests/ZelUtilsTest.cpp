#include "editor/ZelUtils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace editor;

TEST(ZelDates, EveryDayFrom1600To3999MatchesTheCivilCalendar) {
    using namespace std::chrono;
    const sys_days origin = year{1600} / January / 1;
    for (sys_days d = origin; d <= sys_days{year{3999} / December / 31}; d += days{1}) {
        year_month_day ymd{d};
        int y = static_cast<int>(ymd.year());
        int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
        int day = static_cast<int>(static_cast<unsigned>(ymd.day()));
        TDayNumber expected = static_cast<TDayNumber>((d - origin).count());
        ASSERT_EQ(DMYToDate(day, m, y, 1950), expected) << y << '-' << m << '-' << day;
        if (day == 1) {
            int length = static_cast<int>(static_cast<unsigned>(
                year_month_day_last{ymd.year(), month_day_last{ymd.month()}}.day()));
            ASSERT_EQ(DaysInMonth(m, y, 1950), length) << y << '-' << m;
            ASSERT_FALSE(ValidDate(length + 1, m, y, 1950));
            ASSERT_EQ(IsLeapYear(y), ymd.year().is_leap()) << y;
        }
    }
}

TEST(ZelDates, BadDatesAndTwoDigitYears) {
    struct Case { int day, month, year, epoch; TDayNumber expected; };
    const Case cases[] = {
        {31, 4, 2000, 1950, BadDate},
        {0, 1, 2000, 1950, BadDate},
        {1, 13, 2000, 1950, BadDate},
        {31, 12, 1599, 1950, BadDate},
        {1, 1, 4000, 1950, BadDate},
        {29, 2, 1900, 1950, BadDate},
        {1, 3, 1600, 1950, 60},
        {29, 2, 1600, 1950, 59},
        {1, 1, 1600, 1950, 0},
        {29, 2, 96, 1950, DMYToDate(29, 2, 1996, 0)},   // 96 with epoch 1950 is 1996
        {1, 1, 49, 1950, DMYToDate(1, 1, 2049, 0)},
        {1, 1, 50, 1950, DMYToDate(1, 1, 1950, 0)},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(DMYToDate(c.day, c.month, c.year, c.epoch), c.expected) << "case " << i;
    }
    EXPECT_EQ(DaysInMonth(2, 96, 1950), 29);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(4000));
    EXPECT_EQ(DaysInMonth(2, 4000, 1950), 0);
}

TEST(ZelDates, Times) {
    EXPECT_EQ(HMSToTime(0, 0, 0), 0);
    EXPECT_EQ(HMSToTime(23, 59, 59), 86399);
    EXPECT_EQ(HMSToTime(25, 0, 0), 3600);
    EXPECT_EQ(HMSToTime(23, 59, 60), 0);
    EXPECT_TRUE(ValidTime(23, 59, 59));
    EXPECT_FALSE(ValidTime(24, 0, 0));
    EXPECT_FALSE(ValidTime(0, 60, 0));
    EXPECT_FALSE(ValidTime(0, 0, 60));
    EXPECT_GE(CurrentYear, 1600);
    EXPECT_GE(CurrentMonth, 1);
    EXPECT_LE(CurrentMonth, 12);
}

TEST(ZelUtils, AlphaChars) {
    for (char c : std::string(" ,-.AZaz")) EXPECT_TRUE(IsAlphaChar(c)) << c;
    for (char c : std::string("09!_\t")) EXPECT_FALSE(IsAlphaChar(c)) << c;
    EXPECT_TRUE(IsAlphaChar('\xE9'));  // e acute
    EXPECT_FALSE(IsAlphaChar('\xA7')); // section sign
}

// Every search must agree with a plain find, on both sides of 255 characters.
TEST(ZelUtils, BoyerMooreAgreesWithPlainSearch) {
    std::string longPattern(300, 'a');
    longPattern[0] = 'b';
    const std::string haystack = std::string(700, 'a') + longPattern + "xyz";
    struct Case { std::string buffer, pattern; };
    const Case cases[] = {
        {"hello world", "o"},
        {"hello world", "world"},
        {"hello world", "worlds"},
        {"hello world", ""},
        {"abcabcabd", "abd"},
        {"aaaa", "aaaaa"},
        {haystack, longPattern},
        {haystack, longPattern + "x"},
        {haystack, std::string(256, 'a') + "b"},
        {haystack, std::string(256, 'c')},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        std::size_t pos = 12345;
        bool found = BMSearch(c.buffer, BMMakeTable(c.pattern), c.pattern, pos);
        auto expected = c.pattern.empty() ? std::string::npos : c.buffer.find(c.pattern);
        EXPECT_EQ(found, expected != std::string::npos) << "case " << i;
        if (found) {
            EXPECT_EQ(pos, expected) << "case " << i;
        }
    }
    std::size_t pos = 0;
    EXPECT_TRUE(BMSearchUC("Hello World", BMMakeTable("WORLD"), "WORLD", pos));
    EXPECT_EQ(pos, 6u);
    EXPECT_FALSE(BMSearch("Hello World", BMMakeTable("WORLD"), "WORLD", pos));
    EXPECT_EQ(BMMakeTable("abc")['a'], 2);
    EXPECT_EQ(BMMakeTable("abc")['c'], 3);
    EXPECT_EQ(BMMakeTable(std::string(400, 'q'))['z'], 255);
}

TEST(ZelUtils, StringRoutines) {
    EXPECT_EQ(CharStrPChar('x', 3), "xxx");
    EXPECT_EQ(DetabPChar("a\tb", 8), "a       b");
    EXPECT_EQ(DetabPChar("\tab\tc", 4), "    ab  c");
    EXPECT_EQ(DetabPChar("a\tb", 0), "");
    EXPECT_EQ(StrChDelete("abc", 1), "ac");
    EXPECT_EQ(StrChDelete("abc", 9), "abc");
    EXPECT_EQ(StrChInsert("abc", 'x', 0), "xabc");
    EXPECT_EQ(StrChInsert("abc", 'x', 9), "abcx");
    std::size_t pos = 0;
    EXPECT_TRUE(StrChPos("abcb", 'b', pos));
    EXPECT_EQ(pos, 1u);
    EXPECT_FALSE(StrChPos("abc", 'z', pos));
    EXPECT_EQ(StrStCopy("abcdef", 2, 3), "cde");
    EXPECT_EQ(StrStCopy("abcdef", 4, 10), "ef");
    EXPECT_EQ(StrStCopy("abcdef", 6, 1), "");
    EXPECT_EQ(StrStDelete("abcdef", 1, 2), "adef");
    EXPECT_EQ(StrStDelete("abcdef", 3, 10), "abc");
    EXPECT_TRUE(StrStPos("abcdef", "de", pos));
    EXPECT_EQ(pos, 3u);
    EXPECT_FALSE(StrStPos("abcdef", "", pos));
    EXPECT_EQ(TrimPChar("  a b \t "), "a b");
    EXPECT_EQ(TrimTrailPChar(" a \x01\x1f "), " a");
    EXPECT_EQ(TrimTrailPChar("   "), "");
    EXPECT_EQ(UpCaseChar('\xE9'), '\xC9');
}

TEST(ZelUtils, Str2Long) {
    struct Case { std::string text; bool ok; std::int32_t value; };
    const Case cases[] = {
        {"0x1F ", true, 31},
        {"$ff", true, 255},
        {"123\r\n", true, 123},
        {"  42", true, 42},
        {"-17", true, -17},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 9},
        {"99999999999", false, 9},
        {"$FFFFFFFF", true, -1},
        {"$100000000", false, 9},
        {"12a4", false, 2},
        {"", false, 0},
        {"-", false, 1},
        {"0x", false, 2},
        {std::string(256, '1'), false, -1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::int32_t value = 777;
        EXPECT_EQ(Str2Long(cases[i].text, value), cases[i].ok) << "case " << i;
        EXPECT_EQ(value, cases[i].value) << "case " << i;
    }
}

TEST(ZelUtils, WordCounters) {
    EXPECT_EQ(CompareWords(1, 2), -1);
    EXPECT_EQ(CompareWords(0, 65535), 1);
    EXPECT_EQ(CompareWords(40000, 1), static_cast<std::int16_t>(39999 - 65536));
    std::int32_t v = 70000;
    IncByWord(v, 65535);
    EXPECT_EQ(v, 135535);
    DecByWord(v, 65535);
    DecByWord(v, 65535);
    EXPECT_EQ(v, 4465);
}
