#include "rtl/CodePages.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePages, Cp1252ToUtf8AndBackOverEveryByte) {
    for (int c = 0; c < 256; ++c) {
        std::string one(1, static_cast<char>(c));
        EXPECT_EQ(rtl::Utf8ToAnsi(rtl::AnsiToUtf8(one)), one) << "byte " << c;
    }
}

TEST(CodePages, AnsiOemRoundTripForSharedCharacters) {
    int shared = 0;
    for (int c = 0; c < 256; ++c) {
        char32_t cp = rtl::AnsiToUnicode(static_cast<unsigned char>(c));
        char oem = rtl::AnsiToOemChar(static_cast<char>(c));
        if (rtl::OemToUnicode(static_cast<unsigned char>(oem)) != cp) continue;
        ++shared;
        EXPECT_EQ(static_cast<unsigned char>(rtl::OemToAnsiChar(oem)), c) << "byte " << c;
    }
    EXPECT_GT(shared, 128 + 40);
}

TEST(CodePages, BestFit) {
    struct Case { const char* name; bool toOem; unsigned char from, to; };
    const Case cases[] = {
        {"Pts sign", false, 158, 'P'},
        {"e acute to OEM", true, 0xE9, 130},
        {"A grave has no OEM form", true, 0xC0, 'A'},
        {"o slash", true, 0xF8, 'o'},
        {"left quote", true, 0x91, '\''},
        {"section sign", true, 0xA7, 21},
        {"alpha to a", false, 0xE0, 'a'},
        {"sharp s kept", false, 0xE1, 0xDF},
        {"single vertical box line", false, 0xB3, '|'},
        {"box corner", false, 0xDA, '+'},
    };
    for (const Case& c : cases) {
        unsigned char got = c.toOem ? rtl::AnsiToOemChar(static_cast<char>(c.from))
                                    : rtl::OemToAnsiChar(static_cast<char>(c.from));
        EXPECT_EQ(got, c.to) << c.name;
    }
}

TEST(CodePages, Utf8InvalidBytesAreTakenAsAnsi) {
    EXPECT_EQ(rtl::Utf8ToAnsi("a\xE9z"), "a\xE9z");
    EXPECT_EQ(rtl::Utf8ToAnsi("\xC3\xA9"), "\xE9");
    EXPECT_EQ(rtl::Utf8ToAnsi("\xE2\x82\xAC"), "\x80");
    EXPECT_EQ(rtl::Utf8ToAnsi("\xE4\xB8\xAD"), "?"); // not in cp1252
    EXPECT_EQ(rtl::Utf8ToAnsi("ab\xC3"), "ab\xC3");   // cut short at the end
    EXPECT_EQ(rtl::Utf8ToAnsi("\xC0\xAF"), "\xC0\xAF"); // overlong form of '/'
    EXPECT_EQ(rtl::Utf8ToAnsi("\xF0\x9F\x98\x80!"), "?!");
}

TEST(CodePages, CaseAndAlpha) {
    EXPECT_EQ(rtl::CharUpperStr("abc\xE9\xFF\x9A"), "ABC\xC9\x9F\x8A");
    EXPECT_EQ(rtl::CharLowerStr("ABC\xC9\x9F\x8A"), "abc\xE9\xFF\x9A");
    EXPECT_TRUE(rtl::IsCharAlpha('\xE9'));
    EXPECT_FALSE(rtl::IsCharAlpha('\xD7'));
    EXPECT_FALSE(rtl::IsCharAlpha('1'));
    EXPECT_EQ(rtl::CharUpper('\xDF'), '\xDF');
}

} // namespace
