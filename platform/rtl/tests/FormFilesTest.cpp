#include "rtl/BinaryObjects.h"
#include "rtl/Exceptions.h"
#include "rtl/FormFiles.h"
#include "rtl/Paths.h"
#include "rtl/Streams.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string ToBinary(const std::string& text) {
    rtl::TStringStream in(text), out;
    rtl::ObjectTextToBinary(in, out);
    return out.DataString();
}

std::string ToText(const std::string& binary) {
    rtl::TStringStream in(binary), out;
    rtl::ObjectBinaryToText(in, out);
    return out.DataString();
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned char c : bytes) {
        if (!s.empty()) s += ' ';
        s += digits[c >> 4];
        s += digits[c & 15];
    }
    return s;
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}

std::string ReadHost(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteHost(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Lines(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) s += std::string(l) + "\r\n";
    return s;
}

// Every kind of value and of object header, written as the converter writes it.
const std::string AllValues = Lines({
    "object Form1: TForm1",
    "  Left = 200",
    "  Top = -5",
    "  Width = 40000",
    "  Big = 5000000000",
    "  Huge = 18446744073709551615",
    "  Caption = 'It''s a form'",
    "  Hint = 'Tab'#9'and line'#13#10'end'#1",
    "  Accented = 'caf\xE9 \x80'",
    "  Euro = #8364' sign'",
    "  Empty = ''",
    "  Long = ",
    "    '0123456789012345678901234567890123456789012345678901234567890123' +",
    "    '4567890123456789'",
    "  Ratio = 1.5",
    "  Tiny = 1E-20",
    "  Whole = 3.0",
    "  Scale = 0.25S",
    "  Price = -12.3456C",
    "  Count = 7C",
    "  When = 45000.5D",
    "  Visible = True",
    "  Enabled = False",
    "  PopupMenu = nil",
    "  Value = Null",
    "  Color = clBtnFace",
    "  Link = Form2.Button1",
    "  Font.Style = [fsBold, fsItalic]",
    "  Anchors = []",
    "  Lines.Strings = (",
    "    'one'",
    "    2",
    "    (",
    "      'nested'",
    "      [a])",
    "    ()",
    "    '0123456789012345678901234567890123456789012345678901234567890123' +",
    "    'x')",
    "  Panels = <",
    "    item",
    "      Width = 50",
    "    end",
    "    item [3]",
    "      Text = 'x'",
    "      Sub = <>",
    "    end>",
    "  Icon.Data = {",
    "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F",
    "    20FF}",
    "  Blob = {}",
    "  object Panel1: TPanel",
    "    object Button1: TButton",
    "      Caption = 'OK'",
    "    end",
    "  end",
    "  inherited Base: TBase [2]",
    "  end",
    "  inline Frame1: TFrame1",
    "  end",
    "  object TTimer",
    "  end",
    "end",
});

TEST(FormFiles, EveryValueTypeRoundTripsThroughBothForms) {
    std::string binary = ToBinary(AllValues);
    EXPECT_EQ(ToText(binary), AllValues);
    EXPECT_EQ(ToBinary(ToText(binary)), binary);
}

// Each value alone, as the bytes the text must become: the canonical (smallest) type each time.
TEST(FormFiles, TextValuesBecomeTheirCanonicalBytes) {
    const std::string long300(300, 'z');
    const struct { std::string value; std::string bytes; } cases[] = {
        {"1", Bytes({2, 1})},
        {"-128", Bytes({2, 0x80})},
        {"-129", Bytes({3, 0x7F, 0xFF})},
        {"40000", Bytes({4, 0x40, 0x9C, 0, 0})},
        {"5000000000", Bytes({19, 0x00, 0xF2, 0x05, 0x2A, 1, 0, 0, 0})},
        {"-9223372036854775808", Bytes({19, 0, 0, 0, 0, 0, 0, 0, 0x80})},
        {"18446744073709551615", Bytes({22, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"$FF", Bytes({3, 0xFF, 0})},
        {"'ab'", Bytes({6, 2, 'a', 'b'})},
        {"'it''s'#13", Bytes({6, 5, 'i', 't', '\'', 's', 13})},
        {"'a' +\r\n  'b'#200", Bytes({6, 3, 'a', 'b', 200})},
        {"#8364'a'", Bytes({18, 2, 0, 0, 0, 0xAC, 0x20, 'a', 0})},
        {"'\x80' + #8364", Bytes({18, 2, 0, 0, 0, 0xAC, 0x20, 0xAC, 0x20})},
        {"''", Bytes({6, 0})},
        {"True", Bytes({9})},
        {"false", Bytes({8})},
        {"NIL", Bytes({13})},
        {"Null", Bytes({0})},
        {"clRed", Bytes({7, 5, 'c', 'l', 'R', 'e', 'd'})},
        {"F.B", Bytes({7, 3, 'F', '.', 'B'})},
        {"[]", Bytes({11, 0})},
        {"[a, bc]", Bytes({11, 1, 'a', 2, 'b', 'c', 0})},
        {"()", Bytes({1, 0})},
        {"(1 'x' (Null))", Bytes({1, 2, 1, 6, 1, 'x', 1, 7, 4, 'N', 'u', 'l', 'l', 0, 0})},
        {"<>", Bytes({14, 0})},
        {"<item end item [2] A = 1 end>", Bytes({14, 1, 0, 2, 2, 1, 1, 'A', 2, 1, 0, 0})},
        {"{0A0b\r\n 7F}", Bytes({10, 3, 0, 0, 0, 0x0A, 0x0B, 0x7F})},
        {"1.5", Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F})},
        {"-2E3", Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xFA, 0x09, 0xC0})},
        {"1.5S", Bytes({15, 0, 0, 0xC0, 0x3F})},
        {"1.5d", Bytes({17, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F})},
        {"1.5C", Bytes({16, 0x98, 0x3A, 0, 0, 0, 0, 0, 0})},
        {"-0.00005C", Bytes({16, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"922337203685477.5807C", Bytes({16, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})},
        {"'" + long300 + "'", Bytes({12, 0x2C, 1, 0, 0}) + long300},
    };
    const std::string head = "TPF0" + Bytes({1, 'T', 1, 'A', 1, 'P'});
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string binary = ToBinary("object A: T\r\n  P = " + cases[i].value + "\r\nend\r\n");
        EXPECT_EQ(Hex(binary), Hex(head + cases[i].bytes + Bytes({0, 0}))) << "case " << i << ": " << cases[i].value;
    }
}

TEST(FormFiles, ObjectHeadersCarryTheirFlags) {
    const struct { const char* header; std::string bytes; } cases[] = {
        {"object A: TB", Bytes({2, 'T', 'B', 1, 'A'})},
        {"OBJECT TB", Bytes({2, 'T', 'B', 0})},
        {"inherited A: TB", Bytes({0xF1, 2, 'T', 'B', 1, 'A'})},
        {"inline A: TB", Bytes({0xF4, 2, 'T', 'B', 1, 'A'})},
        {"object A: TB [3]", Bytes({0xF2, 2, 3, 2, 'T', 'B', 1, 'A'})},
        {"inherited A: TB [300]", Bytes({0xF3, 3, 0x2C, 1, 2, 'T', 'B', 1, 'A'})},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string text = std::string(cases[i].header) + "\r\nend\r\n";
        std::string binary = ToBinary(text);
        EXPECT_EQ(Hex(binary), Hex("TPF0" + cases[i].bytes + Bytes({0, 0}))) << "case " << i;
        EXPECT_EQ(ToBinary(ToText(binary)), binary) << "case " << i;
    }
}

// A class name of 240 characters or more would have its length byte taken for a prefix.
TEST(FormFiles, LongClassNamesSurviveTheRoundTrip) {
    for (std::size_t length : {239u, 240u, 247u, 255u}) {
        const std::string className = "T" + std::string(length - 1, 'x');
        const std::string text = "object A: " + className + "\r\n  Tag = 1\r\nend\r\n";
        const std::string binary = ToBinary(text);
        EXPECT_EQ(ToText(binary), text) << length;
        EXPECT_EQ(binary[4] == '\xF0', length >= 240) << length;
        rtl::TStringStream in(text), out;
        rtl::ObjectTextToResource(in, out);
        rtl::TStringStream res(out.DataString()), back;
        rtl::ObjectResourceToText(res, back);
        EXPECT_EQ(back.DataString(), text) << length;
    }
}

// What the text form cannot carry is refused with the offset, rather than written as text that
// does not convert back or converts to another value.
TEST(FormFilesErrors, BinariesWithoutATextFormAreRefused) {
    auto object = [](const std::string& header, const std::string& properties) {
        return "TPF0" + header + properties + Bytes({0, 0});
    };
    const std::string head = Bytes({2, 'T', 'B', 1, 'A'});
    auto extended = [](std::uint64_t mantissa, int signAndExponent) {
        std::string s = Bytes({5});
        for (int b = 0; b < 8; ++b) s += static_cast<char>(mantissa >> (8 * b));
        return s + static_cast<char>(signAndExponent & 0xFF) + static_cast<char>(signAndExponent >> 8);
    };
    auto single = [](std::uint32_t bits) {
        std::string s = Bytes({15});
        for (int b = 0; b < 4; ++b) s += static_cast<char>(bits >> (8 * b));
        return s;
    };
    auto date = [](std::uint64_t bits) {
        std::string s = Bytes({17});
        for (int b = 0; b < 8; ++b) s += static_cast<char>(bits >> (8 * b));
        return s;
    };
    const struct { std::string bytes; const char* message; } cases[] = {
        {object(Bytes({3, 'T', ' ', 'A', 1, 'A'}), ""), "class name 'T A' has no text form at offset 4"},
        {object(Bytes({2, 'T', 'B', 3, 'A', '-', 'B'}), ""), "object name 'A-B' has no text form at offset 4"},
        {object(head, Bytes({2, 'B', '%', 2, 1})), "property name 'B%' has no text form at offset 9"},
        {object(head, Bytes({3, 'A', '.', '.', 2, 1})), "property name 'A..' has no text form at offset 9"},
        {object(head, Bytes({3, 'E', 'n', 'd', 2, 1})), "property name 'End' has no text form at offset 9"},
        {object(head, Bytes({1, 'X', 7, 3, 'a', ' ', 'b'})), "identifier 'a b' has no text form at offset 12"},
        {object(head, Bytes({1, 'X', 11, 1, 'a', 2, '1', 'x', 0})), "set element '1x' has no text form at offset 12"},
        {object(head, Bytes({1, 'X'}) + extended(1ULL << 63, 0xFFFF)), "floating point value has no text form at offset 12"},
        {object(head, Bytes({1, 'X'}) + extended(1ULL << 63, 0x7FFF)), "floating point value has no text form at offset 12"},
        {object(head, Bytes({1, 'X'}) + extended(3ULL << 62, 0x7FFF)), "floating point value has no text form at offset 12"},
        {object(head, Bytes({1, 'X'}) + extended(1ULL << 63, 0)), "floating point value has no text form at offset 12"},
        {object(head, Bytes({1, 'X'}) + extended(1, 0x3FFF)), "floating point value has no text form at offset 12"},
        {object(head, Bytes({1, 'X'}) + single(0xFF800000u)), "floating point value has no text form at offset 12"},
        {object(head, Bytes({1, 'X'}) + single(0x7FC00000u)), "floating point value has no text form at offset 12"},
        {object(head, Bytes({1, 'X'}) + date(0x7FF0000000000000ULL)), "floating point value has no text form at offset 12"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rtl::TStringStream in(cases[i].bytes), out;
        try {
            rtl::ObjectBinaryToText(in, out);
            ADD_FAILURE() << "case " << i << " converted: " << out.DataString();
        } catch (const rtl::EReadError& e) {
            EXPECT_NE(e.Message().find(cases[i].message), std::string::npos) << "case " << i << ": " << e.Message();
        }
        EXPECT_EQ(out.DataString(), "") << "case " << i;
    }
    // Negative zero and the largest values keep their bits.
    for (const std::string& value : {extended(0, 0x8000), extended(~0ULL, 0x7FFE), single(0x80000000u),
                                     date(0x7FEFFFFFFFFFFFFFULL)}) {
        const std::string binary = object(head, Bytes({1, 'X'}) + value);
        EXPECT_EQ(Hex(ToBinary(ToText(binary))), Hex(binary));
    }
}

// Types the text form does not write back come back as the same values in canonical types.
TEST(FormFiles, NonCanonicalTypesReadAsTheirValues) {
    rtl::TStringStream s;
    rtl::TBinaryObjectWriter w(s);
    w.WriteSignature();
    w.WriteStr("TA");
    w.WriteStr("A");
    auto prop = [&](const char* name, std::string payload) {
        w.WriteStr(name);
        s.WriteString(payload);
    };
    prop("Int32Small", Bytes({4, 5, 0, 0, 0}));
    prop("Int64Small", Bytes({19, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    prop("QWordSmall", Bytes({22, 7, 0, 0, 0, 0, 0, 0, 0}));
    prop("ShortLString", Bytes({12, 2, 0, 0, 0, 'h', 'i'}));
    prop("LatinWide", Bytes({18, 2, 0, 0, 0, 'h', 0, 0xE9, 0}));
    prop("UString", Bytes({21, 1, 0, 0, 0, 0xAC, 0x20}));
    prop("Utf8", Bytes({20, 8, 0, 0, 0, 'a', 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80})); // a, euro, U+1F600
    prop("BadUtf8", Bytes({20, 1, 0, 0, 0, 0x80}));
    w.WriteListEnd();
    w.WriteListEnd();
    std::string text = ToText(s.DataString());
    EXPECT_EQ(text, Lines({
        "object A: TA",
        "  Int32Small = 5",
        "  Int64Small = -2",
        "  QWordSmall = 7",
        "  ShortLString = 'hi'",
        "  LatinWide = 'h'#233",
        "  UString = #8364",
        "  Utf8 = 'a'#8364#55357#56832",
        "  BadUtf8 = #8364",
        "end",
    }));
    // Back in canonical types the values stay; only the Latin wide string became a byte string.
    std::string canonical = text;
    canonical.replace(canonical.find("'h'#233"), 7, "'h\xE9'");
    EXPECT_EQ(ToText(ToBinary(text)), canonical);
}

// Floats of every magnitude, denormals included, come back bit for bit through their text.
TEST(FormFiles, FloatsRoundTripExactly) {
    std::uint64_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return seed;
    };
    rtl::TStringStream s;
    rtl::TBinaryObjectWriter w(s);
    w.WriteSignature();
    w.WriteStr("TA");
    w.WriteStr("A");
    for (int i = 0; i < 1500; ++i) {
        std::uint64_t mantissa = next();
        int exponent = static_cast<int>(next() % 0x7FFF); // not the all-ones exponent of INF and NAN
        if (i % 10 == 0) exponent = 0;                     // denormals
        mantissa = exponent ? mantissa | (1ULL << 63) : mantissa & ~(1ULL << 63);
        int signAndExponent = exponent | (i % 2 ? 0x8000 : 0);
        std::string ext = Bytes({5});
        for (int b = 0; b < 8; ++b) ext += static_cast<char>(mantissa >> (8 * b));
        ext += static_cast<char>(signAndExponent & 0xFF);
        ext += static_cast<char>(signAndExponent >> 8);
        w.WriteStr("E" + std::to_string(i));
        s.WriteString(ext);

        std::uint64_t bits = next();
        if (((bits >> 52) & 0x7FF) == 0x7FF) bits ^= 1ULL << 62;
        double d;
        std::memcpy(&d, &bits, 8);
        w.WriteStr("D" + std::to_string(i));
        w.WriteDate(d);

        std::uint32_t fbits = static_cast<std::uint32_t>(next());
        if (((fbits >> 23) & 0xFF) == 0xFF) fbits ^= 1U << 30;
        float f;
        std::memcpy(&f, &fbits, 4);
        w.WriteStr("S" + std::to_string(i));
        w.WriteSingle(f);
        w.WriteStr("C" + std::to_string(i));
        w.WriteCurrency(static_cast<std::int64_t>(next()));
    }
    w.WriteListEnd();
    w.WriteListEnd();
    std::string text = ToText(s.DataString());
    EXPECT_EQ(ToBinary(text), s.DataString());
}

TEST(FormFiles, LongStringsBreakIntoPiecesThatJoinAgain) {
    std::string value;
    for (int i = 0; i < 150; ++i) value += static_cast<char>(i % 7 == 0 ? 10 : 'a' + i % 26);
    rtl::TStringStream s;
    rtl::TBinaryObjectWriter w(s);
    w.WriteSignature();
    w.WriteStr("TA");
    w.WriteStr("A");
    w.WriteStr("Text");
    w.WriteString(value);
    w.WriteListEnd();
    w.WriteListEnd();
    std::string text = ToText(s.DataString());
    EXPECT_EQ(text.find("  Text = \r\n    "), text.find("Text") - 2) << text;
    std::istringstream lines(text);
    std::string line;
    int pieces = 0;
    while (std::getline(lines, line))
        if (line.find("    '") == 0 || line.find("    #") == 0) {
            ++pieces;
            EXPECT_LE(line.size(), 4 + 64 * 4 + 3) << line;
        }
    EXPECT_EQ(pieces, 3);
    EXPECT_EQ(ToBinary(text), s.DataString());
}

TEST(FormFiles, ResourceHeaderIsWrittenAndRead) {
    const std::string text = Lines({"object Main: TMainForm", "  Caption = 'Hi'", "end"});
    rtl::TStringStream in(text), res;
    rtl::ObjectTextToResource(in, res);
    std::string bare = ToBinary(text);
    std::string header = Bytes({0xFF, 0x0A, 0x00}) + "TMAINFORM" + Bytes({0, 0x30, 0x10}) +
                         Bytes({static_cast<int>(bare.size()), 0, 0, 0});
    EXPECT_EQ(Hex(res.DataString()), Hex(header + bare));

    rtl::TStringStream resIn(res.DataString()), back;
    rtl::ObjectResourceToText(resIn, back);
    EXPECT_EQ(back.DataString(), text);

    // An ordinal resource name instead of a string reads as well.
    rtl::TStringStream ordinal(Bytes({0xFF, 0x0A, 0x00, 0xFF, 0x01, 0x00, 0x30, 0x10}) +
                               Bytes({static_cast<int>(bare.size()), 0, 0, 0}) + bare), back2;
    rtl::ObjectResourceToText(ordinal, back2);
    EXPECT_EQ(back2.DataString(), text);

    // A bare stream is not a form file, nor a form file a bare stream.
    rtl::TStringStream bareIn(bare), out;
    EXPECT_THROW(rtl::ObjectResourceToText(bareIn, out), rtl::EReadError);
    rtl::TStringStream resIn2(res.DataString());
    EXPECT_THROW(rtl::ObjectBinaryToText(resIn2, out), rtl::EReadError);
    EXPECT_EQ(out.DataString(), "");
}

TEST(FormFiles, TextStreamIsLeftAfterTheObject) {
    rtl::TStringStream in(Lines({"object A: TA", "end", "object B: TB", "end", "junk '"})), out;
    rtl::ObjectTextToBinary(in, out);
    rtl::ObjectTextToBinary(in, out);
    EXPECT_EQ(out.DataString(), ToBinary("object A: TA end") + ToBinary("object B: TB end"));
}

// Cut anywhere, a binary fails with a read error and writes nothing.
TEST(FormFilesErrors, EveryTruncationOfABinaryIsAReadError) {
    std::string binary = ToBinary(AllValues);
    for (std::size_t n = 0; n < binary.size(); ++n) {
        rtl::TStringStream in(binary.substr(0, n)), out;
        EXPECT_THROW(rtl::ObjectBinaryToText(in, out), rtl::EReadError) << "cut at " << n;
        EXPECT_EQ(out.DataString(), "") << "cut at " << n;
    }
    std::string resource = Bytes({0xFF, 0x0A, 0x00, 'T', 0, 0x30, 0x10}) + Bytes({static_cast<int>(binary.size() & 0xFF), static_cast<int>(binary.size() >> 8), 0, 0}) + binary;
    for (std::size_t n = 0; n < resource.size(); n += 7) {
        rtl::TStringStream in(resource.substr(0, n)), out;
        EXPECT_THROW(rtl::ObjectResourceToText(in, out), rtl::EReadError) << "cut at " << n;
    }
}

TEST(FormFilesErrors, CorruptBinariesNameWhatIsWrong) {
    const std::string head = "TPF0" + Bytes({1, 'T', 1, 'A', 1, 'P'});
    const struct { std::string bytes; const char* message; } cases[] = {
        {"TPF1" + Bytes({1, 'T', 1, 'A', 0, 0}), "Invalid stream format"},
        {head + Bytes({23, 0, 0}), "unknown value type 23 at offset 10"},
        {head + Bytes({12, 0xFF, 0xFF, 0xFF, 0xFF}), "length 4294967295 beyond the end of data at offset 11"},
        {head + Bytes({18, 0, 0, 0, 0x40, 'a'}), "beyond the end of data"},
        {head + Bytes({14, 2, 1, 6}), "collection item expected at offset 13"},
        {head + std::string(100000, '\x01'), "values nested too deeply"},
        {"TPF0" + std::string(100, '\x00'), "class name expected at offset 4"},
        {"TPF0" + [] { std::string s; for (int i = 0; i < 10000; ++i) s += Bytes({1, 'T', 1, 'A', 0}); return s; }(),
         "objects nested too deeply"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rtl::TStringStream in(cases[i].bytes), out;
        try {
            rtl::ObjectBinaryToText(in, out);
            ADD_FAILURE() << "case " << i << " converted";
        } catch (const rtl::EReadError& e) {
            EXPECT_NE(e.Message().find(cases[i].message), std::string::npos) << "case " << i << ": " << e.Message();
        }
    }
    // A header that ends before the object.
    rtl::TStringStream shortData(Bytes({0xFF, 0x0A, 0x00, 'T', 0, 0x30, 0x10, 0x40, 0, 0, 0}) + "TPF0"), out;
    EXPECT_THROW(rtl::ObjectResourceToText(shortData, out), rtl::EReadError);
}

TEST(FormFilesErrors, BadTextNamesTheFaultAndItsLine) {
    const struct { std::string text; const char* message; } cases[] = {
        {"thing A: TB\r\nend", "'object' expected on line 1"},
        {"object A: TB\r\n  X = 'abc\r\nend", "Unterminated string on line 2"},
        {"object A: TB\r\n  X 1\r\nend", "'=' expected on line 2"},
        {"object A: TB\r\n  X = {0A0}\r\nend", "Invalid binary value on line 2"},
        {"object A: TB\r\n  X = {0A\r\n\r\n", "Invalid binary value on line 4"},
        {"object A: TB\r\n  X = (1\r\n", "')' expected on line 3"},
        {"object A: TB\n  X = 1.5Q\nend", "Invalid number on line 2"},
        {"object A: TB\n  X = 1E\nend", "Invalid number on line 2"},
        {"object A: TB\r  X = 'a' +\r  Y = 1\rend", "String expected on line 3"},
        {"object A: TB\n  X = #99999\nend", "Invalid character code on line 2"},
        {"object A: TB\n  X = 99999999999999999999\nend", "Invalid integer on line 2"},
        {"object A: TB\n  X = $\nend", "Invalid integer on line 2"},
        {"object A: TB\n  X = 99999999999999999C\nend", "Invalid floating point number on line 2"},
        {"object A: TB\n  X = 1E5000\nend", "Invalid floating point number on line 2"},
        {"object A: TB\n  X = 1E39S\nend", "Invalid floating point number on line 2"},
        {"object A: TB\n  X = [a b]\nend", "',' expected on line 2"},
        {"object A: TB\n  X = <foo>\nend", "'item' expected on line 2"},
        {"object A: TB\n  X = <item\n", "'end' expected on line 3"},
        {"object A: TB\n  X = @\nend", "Invalid property value on line 2"},
        {"object A: TB\n  X = 1\n", "'end' expected on line 3"},
        {"object A: TB\n  object B: TC\n  X = 1\nend", "'end' expected on line 4"},
        {"object A: TB [x]\nend", "Number expected on line 1"},
        {"object A: TB\n  X = \n", "Unexpected end of text on line 3"},
        {"object A: TB\n  " + std::string(300, 'n') + " = 1\nend", "Identifier too long on line 2"},
        {"object A: TB\n  X = " + std::string(10000, '(') + "\nend", "nested too deeply on line 2"},
        {"", "'object' expected on line 1"},
        {[] { std::string s; for (int i = 0; i < 10000; ++i) s += "object A: T\n"; return s; }(), "Objects nested too deeply"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rtl::TStringStream in(cases[i].text), out;
        try {
            rtl::ObjectTextToBinary(in, out);
            ADD_FAILURE() << "case " << i << " converted";
        } catch (const rtl::EParserError& e) {
            EXPECT_NE(e.Message().find(cases[i].message), std::string::npos) << "case " << i << ": " << e.Message();
        }
        EXPECT_EQ(out.DataString(), "") << "case " << i;
    }
}

TEST(FormFilesFiles, FailedConversionKeepsTheTarget) {
    testing_support::TempWinRoot root;
    const std::string dir = rtl::WinPath(root.Path() + "/forms");
    fs::create_directories(root.Path() + "/forms");
    const std::string text = Lines({"object Main: TMain", "  Caption = 'Hi'", "end"});
    WriteHost(rtl::HostPath(dir + "/main.txt"), text);
    rtl::ObjectTextFileToResourceFile(dir + "/main.txt", dir + "/MAIN.DFM");
    rtl::ObjectResourceFileToTextFile(dir + "/MAIN.DFM", dir + "/copy.txt");
    EXPECT_EQ(ReadHost(rtl::HostPath(dir) + "/copy.txt"), text);

    std::string dfm = ReadHost(rtl::HostPath(dir) + "/MAIN.DFM");
    WriteHost(rtl::HostPath(dir) + "/bad.txt", "object Main: TMain\r\n  Caption = 'Hi\r\nend\r\n");
    EXPECT_THROW(rtl::ObjectTextFileToResourceFile(dir + "/bad.txt", dir + "/MAIN.DFM"), rtl::EParserError);
    EXPECT_EQ(ReadHost(rtl::HostPath(dir) + "/MAIN.DFM"), dfm);

    WriteHost(rtl::HostPath(dir) + "/bad.dfm", dfm.substr(0, dfm.size() - 3));
    EXPECT_THROW(rtl::ObjectResourceFileToTextFile(dir + "/bad.dfm", dir + "/copy.txt"), rtl::EReadError);
    EXPECT_EQ(ReadHost(rtl::HostPath(dir) + "/copy.txt"), text);
    EXPECT_THROW(rtl::ObjectResourceFileToTextFile(dir + "/none.dfm", dir + "/copy.txt"), rtl::EFOpenError);

    int files = 0;
    for (auto& e : fs::directory_iterator(root.Path() + "/forms")) files += e.is_regular_file();
    EXPECT_EQ(files, 5) << "no temporary file is left behind";
}

} // namespace
