#include "editor/ZelIntl.h"

#include "rtl/IniFiles.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace editor;

namespace {

// Settings read from a WIN.INI holding exactly the given [intl] keys.
TZelIntlSup ReadIntl(const std::map<std::string, std::string>& keys) {
    for (const auto& [key, value] : keys)
        EXPECT_TRUE(rtl::WritePrivateProfileString("intl", key.c_str(), value.c_str(), "WIN.INI"));
    return TZelIntlSup();
}

} // namespace

TEST(ZelIntl, MissingWinIniGivesTheDefaults) {
    testing_support::TempWinRoot root;
    TZelIntlSup intl;
    EXPECT_EQ(intl.DecimalChar, '.');
    EXPECT_EQ(intl.CommaChar, ',');
    EXPECT_EQ(intl.CurrencyDigits, 2);
    EXPECT_EQ(intl.ListChar, ',');
    EXPECT_EQ(intl.SlashChar, '/');
    EXPECT_EQ(intl.TimeSepChar, ':');
    EXPECT_EQ(intl.CurrencyLtStr, "$");
    EXPECT_EQ(intl.CurrencyRtStr, "$");
    EXPECT_EQ(intl.AMString, "AM");
    EXPECT_EQ(intl.PMString, "PM");
    EXPECT_EQ(intl.Country, "");
    EXPECT_FALSE(intl.HourLeadingZero);
    EXPECT_EQ(intl.ShortDatePicture, "MM/dd/yy");
    EXPECT_EQ(intl.LongDatePicture, "wwww, nnnn dd, yyyy");
    EXPECT_EQ(intl.TrueChar, 'T');
    EXPECT_EQ(intl.NoChar, 'N');
    EXPECT_EQ(intl.DateMask(false), "mm/dd/yy");
    EXPECT_EQ(intl.TimeMask(true), "Hh:mm:ss tt");
}

TEST(ZelIntl, SettingsReadFromWinIni) {
    struct Case {
        std::map<std::string, std::string> keys;
        std::string shortDate, longDate, dateMask2, dateMask4, timeMask, timeMaskSecs;
        std::string currLt, currRt;
        char decimal, comma, slash, timeSep;
    };
    const Case cases[] = {
        {{{"sShortDate", "dd.MM.yyyy"}, {"sDate", "."}, {"sDecimal", ","}, {"sThousand", "."},
          {"iTLZero", "1"}, {"s1159", ""}, {"s2359", ""}, {"sTime", "."}},
         "dd/MM/yyyy", "wwww, nnnn dd, yyyy", "dd/mm/yyyy", "dd/mm/yyyy", "hh:mm", "hh:mm:ss",
         "$", "$", ',', '.', '.', '.'},
        {{{"sShortDate", "M/d/yy"}, {"sLongDate", "dddd, d 'de' MMMM 'de' yyyy"},
          {"sCurrency", "DM"}, {"iCurrency", "3"}, {"s1159", "a"}, {"s2359", "pm"}},
         "M/d/yy", "wwww, d ff nnnn gg yyyy", "MM/DD/yy", "MM/DD/yyyy", "Hh:mm tt",
         "Hh:mm:ss tt", "DM", " DM", '.', ',', '/', ':'},
        {{{"sShortDate", "yy-M-d"}, {"sDate", "-"}, {"sLongDate", "d.MMM.yyyy"},
          {"sCurrency", "kr"}, {"iCurrency", "2"}},
         "yy/M/d", "d. nnn. yyyy", "yy/MM/DD", "yyyy/MM/DD", "Hh:mm tt", "Hh:mm:ss tt", "kr ",
         "kr", '.', ',', '-', ':'},
        // Empty characters keep their defaults; a long currency symbol is cut to five.
        {{{"sDecimal", ""}, {"sDate", ""}, {"sCurrency", "Dollars"}}, "MM/dd/yy",
         "wwww, nnnn dd, yyyy", "mm/dd/yy", "mm/dd/yyyy", "Hh:mm tt", "Hh:mm:ss tt", "Dolla",
         "Dolla", '.', ',', '/', ':'},
    };
    for (const Case& c : cases) {
        testing_support::TempWinRoot root;
        TZelIntlSup intl = ReadIntl(c.keys);
        SCOPED_TRACE(c.shortDate);
        EXPECT_EQ(intl.ShortDatePicture, c.shortDate);
        EXPECT_EQ(intl.LongDatePicture, c.longDate);
        EXPECT_EQ(intl.DateMask(false), c.dateMask2);
        EXPECT_EQ(intl.DateMask(true), c.dateMask4);
        EXPECT_EQ(intl.TimeMask(false), c.timeMask);
        EXPECT_EQ(intl.TimeMask(true), c.timeMaskSecs);
        EXPECT_EQ(intl.CurrencyLtStr, c.currLt);
        EXPECT_EQ(intl.CurrencyRtStr, c.currRt);
        EXPECT_EQ(intl.DecimalChar, c.decimal);
        EXPECT_EQ(intl.CommaChar, c.comma);
        EXPECT_EQ(intl.SlashChar, c.slash);
        EXPECT_EQ(intl.TimeSepChar, c.timeSep);
    }
}

TEST(ZelIntl, LongDateLiteralsFillTheThreeSlots) {
    testing_support::TempWinRoot root;
    TZelIntlSup intl = ReadIntl({{"sLongDate", "'Le' dddd 'the' d 'of longish' MMMM"},
                                 {"sCountry", "Testland"}, {"iNegCurr", "5"}, {"iCurrDigits", "3"}});
    EXPECT_EQ(intl.LiteralText[0], "Le");
    EXPECT_EQ(intl.LiteralText[1], "the");
    EXPECT_EQ(intl.LiteralText[2], "of lon"); // six characters at most; the rest goes
    EXPECT_EQ(intl.LongDatePicture, "ff wwww ggg d hhhhhh nnnn");
    EXPECT_EQ(intl.Country, "Testland");
    EXPECT_EQ(intl.NegCurrFormat, 5);
    EXPECT_EQ(intl.CurrencyDigits, 3);
}

TEST(ZelIntl, DatesParsedAgainstAPicture) {
    testing_support::TempWinRoot root;
    TZelIntlSup intl;
    struct Case {
        const char* picture;
        const char* text;
        int epoch;
        TDayNumber expected;
    };
    const Case cases[] = {
        {"MM/dd/yy", "02/29/96", 1950, DMYToDate(29, 2, 1996, 1950)},
        {"MM/dd/yy", "02/30/96", 1950, BadDate},
        {"MM/dd/yy", "01/02/05", 1950, DMYToDate(2, 1, 2005, 1950)},
        {"dd/MM/yyyy", " 1/ 2/2001", 1900, DMYToDate(1, 2, 2001, 1900)},
        {"MM/dd/yy", "02/29/9", 1950, BadDate},   // lengths differ
        {"MM/dd/yy", "0x/12/96", 1950, BadDate},  // not a number
        {"MM/dd/yy", "  /12/96", 1950, BadDate},  // a blank field
        {"nnn dd yyyy", "FEB 03 1999", 1900, DMYToDate(3, 2, 1999, 1900)},
        {"nnnnnnnn dd", "march    05", 1900, DMYToDate(5, 3, CurrentYear, 1900)},
        {"nnn dd yyyy", "Fex 03 1999", 1900, BadDate},
        {"MM/dd", "07/04", 1900, DMYToDate(4, 7, CurrentYear, 1900)}, // no year: this year
        {"dd", "15", 1900, DMYToDate(15, CurrentMonth, CurrentYear, 1900)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(intl.DateStringToDate(c.picture, c.text, c.epoch), c.expected)
            << c.picture << " " << c.text;
    }
    EXPECT_EQ(intl.DateStringToDate(nullptr, "01/01/96", 1900), BadDate);

    int day = 0, month = 0, year = 0;
    ASSERT_TRUE(intl.DateStringToDMY("MM/dd/yy", "02/29/96", day, month, year, 1950));
    EXPECT_EQ(day, 29);
    EXPECT_EQ(month, 2);
    EXPECT_EQ(year, 96);
}

TEST(ZelIntl, TimesParsedAgainstAPicture) {
    testing_support::TempWinRoot root;
    TZelIntlSup intl;
    struct Case {
        const char* picture;
        const char* text;
        TTimeOfDay expected;
    };
    const Case cases[] = {
        {"hh:mm tt", "12:30 AM", 30 * 60},
        {"hh:mm tt", "12:30 PM", 12 * 3600 + 30 * 60},
        {"hh:mm tt", "01:15 pm", 13 * 3600 + 15 * 60},
        {"hh:mm tt", "13:00 PM", -1},
        {"hh:mm tt", "00:10 AM", -1},
        {"hh:mm tt", "09:10   ", -1}, // the AM or PM text is missing
        {"hh:mm tt", "09:10 XM", -1},
        {"hh:mm:ss", "23:59:59", 23 * 3600 + 59 * 60 + 59},
        {"hh:mm:ss", "24:00:00", -1},
        {"hh:mm", " 7:05", 7 * 3600 + 5 * 60},
        {"hh:mm", "7:05", -1},
        {"hh:mm", "7x:05", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(intl.TimeStringToTime(c.picture, c.text), c.expected) << c.picture << " " << c.text;
    EXPECT_EQ(intl.TimeStringToTime("hh:mm", nullptr), -1);
}

TEST(ZelIntl, WithoutAmPmStringsTheHourStandsAsWritten) {
    testing_support::TempWinRoot root;
    TZelIntlSup intl = ReadIntl({{"s1159", ""}, {"s2359", ""}});
    EXPECT_EQ(intl.TimeStringToTime("hh:mm tt", "13:00 PM"), 13 * 3600);
}

TEST(ZelUserData, EightUserCharactersAcceptEverythingByDefault) {
    TZelUserData data;
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(data.UserCharSet[i][0]);
        EXPECT_EQ(data.UserCharSet[i].count(), 255u);
        EXPECT_EQ(data.ForceCase[i], 0);
        EXPECT_EQ(static_cast<unsigned char>(data.SubstChar[i]), 241 + i);
    }
    EXPECT_EQ(MaxWord(3, 65535), 65535);
}
