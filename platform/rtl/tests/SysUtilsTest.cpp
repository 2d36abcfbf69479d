#include "rtl/SysUtils.h"

#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(SysUtils, StrToIntReadingRules) {
    struct Case { const char* text; bool ok; int value; };
    const Case cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"-5", true, -5},
        {"+7", true, 7},
        {" 3", true, 3},          // leading blanks are skipped
        {"   -12", true, -12},
        {"$1F", true, 31},
        {"$1f", true, 31},
        {"-$10", true, -16},
        {"$FFFFFFFF", true, -1},  // hex takes all 32 bits
        {"$7FFFFFFF", true, 2147483647},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"007", true, 7},
        {"3 ", false, 0},         // nothing may follow the digits
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"+", false, 0},
        {"$", false, 0},
        {"0x10", false, 0},
        {"1F", false, 0},
        {"\t3", false, 0},        // only blanks are skipped
        {"- 3", false, 0},
        {"+-3", false, 0},
        {"$-1", false, 0},
        {"1.5", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"$100000000", false, 0},
        {"99999999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int got = -99;
        EXPECT_EQ(rtl::TryStrToInt(c.text, got), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(got, c.value) << '"' << c.text << '"';
            EXPECT_EQ(rtl::StrToInt(c.text), c.value) << '"' << c.text << '"';
        } else {
            EXPECT_EQ(got, -99) << "value untouched for \"" << c.text << '"';
            EXPECT_EQ(rtl::StrToIntDef(c.text, 77), 77) << '"' << c.text << '"';
        }
    }
}

TEST(SysUtils, StrToIntErrorNamesTheText) {
    try {
        rtl::StrToInt("12a");
        FAIL() << "no exception";
    } catch (const rtl::EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
        EXPECT_STREQ(e.ClassName(), "EConvertError");
    }
}

TEST(SysUtils, IntToStrAndHex) {
    EXPECT_EQ(rtl::IntToStr(0), "0");
    EXPECT_EQ(rtl::IntToStr(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(rtl::IntToStr(1234567890123LL), "1234567890123");
    EXPECT_EQ(rtl::IntToHex(255, 4), "00FF");
    EXPECT_EQ(rtl::IntToHex(0x1234, 2), "1234");
    EXPECT_EQ(rtl::IntToHex(-1, 1), "FFFFFFFF");
    EXPECT_EQ(rtl::IntToHex(0, 0), "0");
}

TEST(SysUtils, TrimAndCase) {
    EXPECT_EQ(rtl::Trim(" \t\r\n x y \x01"), "x y");
    EXPECT_EQ(rtl::TrimLeft("  x "), "x ");
    EXPECT_EQ(rtl::TrimRight("  x \x1F"), "  x");
    EXPECT_EQ(rtl::Trim("   "), "");
    EXPECT_EQ(rtl::Trim("\xA0x\xA0"), "\xA0x\xA0"); // a no-break space is not a blank
    EXPECT_EQ(rtl::UpperCase("abc\xE9z"), "ABC\xE9Z");
    EXPECT_EQ(rtl::LowerCase("ABC\xC9Z"), "abc\xC9z");
    EXPECT_EQ(rtl::AnsiUpperCase("abc\xE9z"), "ABC\xC9Z");
    EXPECT_EQ(rtl::AnsiLowerCase("ABC\xC9Z"), "abc\xE9z");
}

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(SysUtils, Comparisons) {
    struct Case { const char* a; const char* b; int str, text, ansiStr, ansiText; };
    const Case cases[] = {
        {"abc", "abc", 0, 0, 0, 0},
        {"abc", "ABC", 1, 0, -1, 0},   // lower case before its capital
        {"ABC", "abc", -1, 0, 1, 0},
        {"abc", "abd", -1, -1, -1, -1},
        {"ab", "abc", -1, -1, -1, -1},
        {"", "a", -1, -1, -1, -1},
        {"a_", "aZ", 1, 1, -1, -1},    // ASCII folds to capitals, the ANSI order to small letters
        {"\xE9t\xE9", "\xC9T\xC9", 1, 1, -1, 0}, // accented letters fold only in the ANSI forms
        {"Zoo", "apple", -1, 1, 1, 1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(Sign(rtl::CompareStr(c.a, c.b)), c.str) << "case " << i;
        EXPECT_EQ(Sign(rtl::CompareText(c.a, c.b)), c.text) << "case " << i;
        EXPECT_EQ(Sign(rtl::AnsiCompareStr(c.a, c.b)), c.ansiStr) << "case " << i;
        EXPECT_EQ(Sign(rtl::AnsiCompareText(c.a, c.b)), c.ansiText) << "case " << i;
        EXPECT_EQ(Sign(rtl::AnsiCompareText(c.b, c.a)), -c.ansiText) << "case " << i << " reversed";
    }
    EXPECT_TRUE(rtl::SameText("Begin", "BEGIN"));
    EXPECT_FALSE(rtl::SameText("\xE9", "\xC9"));
    EXPECT_TRUE(rtl::AnsiSameText("\xE9", "\xC9"));
}

TEST(SysUtils, PascalPositions) {
    EXPECT_EQ(rtl::PascalPos("b", "abcb"), 2);
    EXPECT_EQ(rtl::PascalPos("x", "abc"), 0);
    EXPECT_EQ(rtl::PascalPos("", "abc"), 0);
    EXPECT_EQ(rtl::PascalPos("abcd", "abc"), 0);

    struct CopyCase { const char* s; int index, count; const char* want; };
    const CopyCase copies[] = {
        {"hello", 1, 2, "he"}, {"hello", 4, 99, "lo"}, {"hello", 5, 1, "o"}, {"hello", 6, 1, ""},
        {"hello", 0, 2, "he"}, {"hello", -5, 2, "he"}, {"hello", 2, 0, ""}, {"hello", 2, -1, ""},
    };
    for (const CopyCase& c : copies)
        EXPECT_EQ(rtl::PascalCopy(c.s, c.index, c.count), c.want) << c.index << "," << c.count;

    struct DeleteCase { int index, count; const char* want; };
    const DeleteCase deletes[] = {
        {1, 1, "ello"}, {2, 3, "ho"}, {4, 99, "hel"}, {5, 1, "hell"}, {6, 1, "hello"}, {0, 2, "hello"}, {2, 0, "hello"},
    };
    for (const DeleteCase& c : deletes) {
        std::string s = "hello";
        rtl::PascalDelete(s, c.index, c.count);
        EXPECT_EQ(s, c.want) << c.index << "," << c.count;
    }

    struct InsertCase { int index; const char* want; };
    const InsertCase inserts[] = {{1, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {99, "abcXY"}, {0, "XYabc"}};
    for (const InsertCase& c : inserts) {
        std::string s = "abc";
        rtl::PascalInsert("XY", s, c.index);
        EXPECT_EQ(s, c.want) << c.index;
    }
}

TEST(SysUtils, QuotesAndRuns) {
    EXPECT_EQ(rtl::QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(rtl::QuotedStr(""), "''");
    EXPECT_EQ(rtl::StringOfChar('-', 3), "---");
    EXPECT_EQ(rtl::StringOfChar('-', -1), "");
}

TEST(SysUtils, Format) {
    struct Case { const char* format; std::string got; const char* want; };
    const Case cases[] = {
        {"%s=%d", rtl::Format("%s=%d", {"x", 42}), "x=42"},
        {"%5d|%-5d|", rtl::Format("%5d|%-5d|", {42, 42}), "   42|42   |"},
        {"%.4d", rtl::Format("%.4d", {-42}), "-0042"},
        {"%x", rtl::Format("%x %.4x", {255, 255}), "FF 00FF"},
        {"%x negative", rtl::Format("%x", {-1}), "FFFFFFFF"},
        {"%u", rtl::Format("%u", {-1}), "4294967295"},
        {"%.2f", rtl::Format("%.2f", {3.14159}), "3.14"},
        {"%f default", rtl::Format("%f", {2.5}), "2.50"},
        {"%f of an int", rtl::Format("%.1f", {3}), "3.0"},
        {"%n", rtl::Format("%n", {1234567.891}), "1,234,567.89"},
        {"%-8s|", rtl::Format("%-8s|%8s", {"ab", "cd"}), "ab      |      cd"},
        {"%.2s", rtl::Format("%.2s", {std::string("abcdef")}), "ab"},
        {"index", rtl::Format("%1:s %0:s %s", {"a", "b"}), "b a b"},
        {"%%", rtl::Format("100%% %s", {"sure"}), "100% sure"},
        {"char", rtl::Format("[%s]", {'c'}), "[c]"},
        {"no args", rtl::Format("plain", {}), "plain"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.format;
}

TEST(SysUtils, FormatErrors) {
    struct Case { const char* format; const char* message; };
    const Case cases[] = {
        {"%d", "Format '%d' invalid or incompatible with argument"},   // a text for %d
        {"%q", "Format '%q' invalid or incompatible with argument"},
        {"abc %", "Format 'abc %' invalid or incompatible with argument"},
        {"%.f", "Format '%.f' invalid or incompatible with argument"},
        {"%s %s", "No argument for format '%s %s'"},
        {"%5:s", "No argument for format '%5:s'"},
    };
    for (const Case& c : cases) {
        try {
            rtl::Format(c.format, {"text"});
            ADD_FAILURE() << c.format << ": no exception";
        } catch (const rtl::EConvertError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.format;
        }
    }
    EXPECT_THROW(rtl::Format("%s", {1}), rtl::EConvertError);
    EXPECT_THROW(rtl::Format("%d", {1.5}), rtl::EConvertError);
}

TEST(SysUtils, DatesEncodeAndDecode) {
    struct Case { int y, m, d; double serial; int dayOfWeek; };
    const Case cases[] = {
        {1899, 12, 30, 0, 7},       // Saturday
        {1900, 1, 1, 2, 2},
        {1996, 2, 29, 35124, 5},    // leap day, Thursday
        {2000, 3, 1, 36586, 4},
        {2026, 1, 1, 46023, 5},
        {1, 1, 1, -693593, 2},      // Monday
        {9999, 12, 31, 2958465, 6},
        {1899, 12, 29, -1, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rtl::EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        rtl::DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.serial;
        // Before 1899 the fraction counts away from zero, the time of day still forward.
        EXPECT_EQ(rtl::DayOfWeek(c.serial + (c.serial < 0 ? -0.75 : 0.75)), c.dayOfWeek) << c.serial;
    }
    const int bad[][3] = {{1900, 2, 29}, {2023, 13, 1}, {2023, 4, 31}, {0, 1, 1}, {10000, 1, 1}, {2023, 1, 0}};
    for (const auto& b : bad) EXPECT_THROW(rtl::EncodeDate(b[0], b[1], b[2]), rtl::EConvertError) << b[0] << "-" << b[1] << "-" << b[2];
    EXPECT_TRUE(rtl::IsLeapYear(2000));
    EXPECT_FALSE(rtl::IsLeapYear(1900));
    EXPECT_EQ(rtl::DaysInMonth(2024, 2), 29);
}

TEST(SysUtils, TimesEncodeAndDecode) {
    double t = rtl::EncodeTime(13, 7, 45, 250);
    int h, n, s, ms;
    rtl::DecodeTime(46023 + t, h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 130745250);
    EXPECT_DOUBLE_EQ(rtl::EncodeTime(12, 0, 0, 0), 0.5);
    // A hair before midnight rounds to the next day, in both halves alike.
    int y, m, d;
    rtl::DecodeDate(46023.9999999999, y, m, d);
    rtl::DecodeTime(46023.9999999999, h, n, s, ms);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(h + n + s + ms, 0);
    // Before 1899 the time of day still counts forward from midnight.
    rtl::DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(h, 6);
    EXPECT_THROW(rtl::EncodeTime(24, 0, 0, 0), rtl::EConvertError);
    EXPECT_THROW(rtl::EncodeTime(1, 60, 0, 0), rtl::EConvertError);
    EXPECT_THROW(rtl::EncodeTime(1, 0, 0, 1000), rtl::EConvertError);
}

TEST(SysUtils, FormatDateTime) {
    const double morning = rtl::EncodeDate(1996, 3, 5) + rtl::EncodeTime(9, 4, 7, 8);
    const double afternoon = rtl::EncodeDate(2026, 11, 23) + rtl::EncodeTime(13, 30, 0, 0);
    const double midnight = rtl::EncodeDate(1999, 12, 31);
    const double noon = rtl::EncodeDate(2000, 1, 1) + 0.5;
    struct Case { const char* format; double when; const char* want; };
    const Case cases[] = {
        {"dd mmm yy h:nn am/pm", morning, "05 Mar 96 9:04 am"},
        {"dd mmm yy h:nn am/pm", afternoon, "23 Nov 26 1:30 pm"},
        {"dd mmm yy h:nn am/pm", midnight, "31 Dec 99 12:00 am"},
        {"dd mmm yy h:nn am/pm", noon, "01 Jan 00 12:00 pm"},
        {"h:nn AM/PM", afternoon, "1:30 PM"},
        {"hh:nn a/p", morning, "09:04 a"},
        {"h:mm ampm", afternoon, "1:30 PM"},
        {"hh:mm:ss.zzz", morning, "09:04:07.008"},
        {"h:n:s z", morning, "9:4:7 8"},
        {"hh", afternoon, "13"},                       // no am/pm: 24 hours
        {"d/m/yyyy", morning, "5/3/1996"},
        {"dddd, mmmm d", morning, "Tuesday, March 5"},
        {"ddd mm", afternoon, "Mon 11"},
        {"ddddd", morning, "3/5/96"},
        {"dddddd", morning, "Tuesday, March 05, 1996"},
        {"c", morning, "3/5/96 9:04:07 AM"},
        {"c", midnight, "12/31/99"},
        {"", midnight, "12/31/99"},
        {"t", afternoon, "1:30 PM"},
        {"tt", afternoon, "1:30:00 PM"},
        {"'at' h \"o'clock\"", afternoon, "at 13 o'clock"},
        {"'am/pm' h", afternoon, "am/pm 13"},           // quoted am/pm does not switch the clock
        {"DD MMM YYYY", afternoon, "23 Nov 2026"},
        {"yy", rtl::EncodeDate(2005, 1, 1), "05"},
        {"x-ay", morning, "x-a96"},
    };
    for (const Case& c : cases) EXPECT_EQ(rtl::FormatDateTime(c.format, c.when), c.want) << '"' << c.format << '"';
}

TEST(SysUtils, NameTables) {
    EXPECT_EQ(rtl::ShortMonthNames[1], "Jan");
    EXPECT_EQ(rtl::ShortMonthNames[12], "Dec");
    EXPECT_EQ(rtl::LongMonthNames[9], "September");
    EXPECT_EQ(rtl::ShortDayNames[1], "Sun");
    EXPECT_EQ(rtl::LongDayNames[7], "Saturday");
}

} // namespace
