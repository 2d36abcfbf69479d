// Code-page tables and best-fit rules. The tables map each byte to Unicode; the reverse
// direction is built once from them, with the best-fit list for what a page lacks.
#include "rtl/CodePages.h"

#include <array>
#include <unordered_map>

namespace rtl {
namespace {

constexpr char32_t kAnsiHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kOemHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// Best fits for code points one of the pages lacks: to an ASCII character, or (second table)
// to a code point the target page may hold.
struct Fit { char32_t from; char32_t to; };
constexpr Fit kBestFit[] = {
    // Latin letters without their marks
    {0x00C0, 'A'}, {0x00C1, 'A'}, {0x00C2, 'A'}, {0x00C3, 'A'}, {0x00C8, 'E'}, {0x00CA, 'E'},
    {0x00CB, 'E'}, {0x00CC, 'I'}, {0x00CD, 'I'}, {0x00CE, 'I'}, {0x00CF, 'I'}, {0x00D0, 'D'},
    {0x00D2, 'O'}, {0x00D3, 'O'}, {0x00D4, 'O'}, {0x00D5, 'O'}, {0x00D8, 'O'}, {0x00D9, 'U'},
    {0x00DA, 'U'}, {0x00DB, 'U'}, {0x00DD, 'Y'}, {0x00DE, 'T'}, {0x00E3, 'a'}, {0x00F0, 'd'},
    {0x00F5, 'o'}, {0x00F8, 'o'}, {0x00FD, 'y'}, {0x00FE, 't'}, {0x0160, 'S'}, {0x0161, 's'},
    {0x017D, 'Z'}, {0x017E, 'z'}, {0x0152, 'O'}, {0x0153, 'o'}, {0x0178, 'Y'}, {0x00D7, 'x'},
    // punctuation and signs of cp1252 that cp437 lacks
    {0x20AC, 'E'}, {0x201A, ','}, {0x201E, '"'}, {0x2026, '.'}, {0x2020, '+'}, {0x2021, '+'},
    {0x02C6, '^'}, {0x2030, '%'}, {0x2039, '<'}, {0x203A, '>'}, {0x2018, '\''}, {0x2019, '\''},
    {0x201C, '"'}, {0x201D, '"'}, {0x2013, '-'}, {0x2014, '-'}, {0x02DC, '~'}, {0x2122, 'T'},
    {0x00A4, 'o'}, {0x00A6, '|'}, {0x00A8, '"'}, {0x00A9, 'c'}, {0x00AD, '-'}, {0x00AE, 'r'},
    {0x00AF, '-'}, {0x00B3, '3'}, {0x00B4, '\''}, {0x00B8, ','}, {0x00B9, '1'}, {0x00BE, '3'},
    // signs of cp437 that cp1252 lacks
    {0x20A7, 'P'}, {0x2310, '-'}, {0x03B1, 'a'}, {0x0393, 'G'}, {0x03C0, 'p'}, {0x03A3, 'S'},
    {0x03C3, 's'}, {0x03C4, 't'}, {0x03A6, 'F'}, {0x0398, 'T'}, {0x03A9, 'O'}, {0x03B4, 'd'},
    {0x221E, '8'}, {0x03C6, 'f'}, {0x03B5, 'e'}, {0x2229, 'n'}, {0x2261, '='}, {0x2265, '>'},
    {0x2264, '<'}, {0x2320, '('}, {0x2321, ')'}, {0x2248, '~'}, {0x221A, 'v'}, {0x207F, 'n'},
    {0x25A0, '#'}, {0x2591, '#'}, {0x2592, '#'}, {0x2593, '#'}, {0x2588, '#'}, {0x2584, '#'},
    {0x258C, '#'}, {0x2590, '#'}, {0x2580, '#'}, {0x2502, '|'}, {0x2551, '|'}, {0x2500, '-'},
    {0x2550, '-'},
};
// Near fits that are not ASCII: tried before the table above.
constexpr Fit kNearFit[] = {
    {0x2022, 0x00B7}, {0x2219, 0x00B7}, {0x00A7, 0x00A7}, {0x00B6, 0x00B6},
};

struct Tables {
    std::unordered_map<char32_t, unsigned char> toAnsi, toOem;
    std::array<unsigned char, 256> ansiToOem{}, oemToAnsi{};
};

char32_t AnsiCp(unsigned char c) { return c < 0x80 || c >= 0xA0 ? c : kAnsiHigh[c - 0x80]; }
char32_t OemCp(unsigned char c) { return c < 0x80 ? c : kOemHigh[c - 0x80]; }

unsigned char Lookup(const std::unordered_map<char32_t, unsigned char>& exact, char32_t cp) {
    if (auto it = exact.find(cp); it != exact.end()) return it->second;
    for (const Fit& f : kNearFit)
        if (f.from == cp)
            if (auto it = exact.find(f.to); it != exact.end()) return it->second;
    for (const Fit& f : kBestFit)
        if (f.from == cp) return static_cast<unsigned char>(f.to);
    if (cp >= 0x2500 && cp <= 0x257F) return '+'; // box-drawing corners and junctions
    return '?';
}

const Tables& T() {
    static const Tables tables = [] {
        Tables t;
        for (int c = 255; c >= 0; --c) {
            t.toAnsi[AnsiCp(static_cast<unsigned char>(c))] = static_cast<unsigned char>(c);
            t.toOem[OemCp(static_cast<unsigned char>(c))] = static_cast<unsigned char>(c);
        }
        // cp437 shows paragraph and section signs at 20 and 21, as Windows maps them.
        t.toOem[0x00B6] = 20;
        t.toOem[0x00A7] = 21;
        for (int c = 0; c < 256; ++c) {
            t.ansiToOem[c] = c < 0x80 ? c : Lookup(t.toOem, AnsiCp(static_cast<unsigned char>(c)));
            t.oemToAnsi[c] = c < 0x80 ? c : Lookup(t.toAnsi, OemCp(static_cast<unsigned char>(c)));
        }
        return t;
    }();
    return tables;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char AnsiToOemChar(char c) { return static_cast<char>(T().ansiToOem[static_cast<unsigned char>(c)]); }
char OemToAnsiChar(char c) { return static_cast<char>(T().oemToAnsi[static_cast<unsigned char>(c)]); }

std::string AnsiToOem(std::string_view text) {
    std::string out(text);
    AnsiToOemBuff(out.data(), out.data(), out.size());
    return out;
}

std::string OemToAnsi(std::string_view text) {
    std::string out(text);
    OemToAnsiBuff(out.data(), out.data(), out.size());
    return out;
}

void AnsiToOemBuff(const char* source, char* dest, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) dest[i] = AnsiToOemChar(source[i]);
}

void OemToAnsiBuff(const char* source, char* dest, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) dest[i] = OemToAnsiChar(source[i]);
}

char32_t AnsiToUnicode(unsigned char c) { return AnsiCp(c); }
char32_t OemToUnicode(unsigned char c) { return OemCp(c); }
char UnicodeToAnsi(char32_t cp) { return static_cast<char>(Lookup(T().toAnsi, cp)); }
char UnicodeToOem(char32_t cp) { return static_cast<char>(Lookup(T().toOem, cp)); }

std::string AnsiToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) AppendUtf8(out, AnsiCp(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToAnsi(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t cp = extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra > 0 && i + extra < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char n = static_cast<unsigned char>(text[i + k]);
            ok = (n & 0xC0) == 0x80;
            cp = (cp << 6) | (n & 0x3F);
        }
        // An overlong form or a stray byte is read as the cp1252 byte it is.
        if (ok) ok = !((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000));
        if (ok) {
            out += UnicodeToAnsi(cp);
            i += extra + 1;
        } else {
            out += static_cast<char>(b);
            ++i;
        }
    }
    return out;
}

bool IsCharUpper(char ch) {
    unsigned char c = static_cast<unsigned char>(ch);
    return (c >= 'A' && c <= 'Z') || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F ||
           (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

bool IsCharLower(char ch) {
    unsigned char c = static_cast<unsigned char>(ch);
    return (c >= 'a' && c <= 'z') || c == 0x83 || c == 0x9A || c == 0x9C || c == 0x9E || c == 0xAA ||
           c == 0xB5 || c == 0xBA || (c >= 0xDF && c != 0xF7);
}

bool IsCharAlpha(char c) { return IsCharUpper(c) || IsCharLower(c); }
bool IsCharAlphaNumeric(char c) { return IsCharAlpha(c) || (c >= '0' && c <= '9'); }

char CharUpper(char ch) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 32);
    switch (c) {
    case 0x9A: return static_cast<char>(0x8A);
    case 0x9C: return static_cast<char>(0x8C);
    case 0x9E: return static_cast<char>(0x8E);
    case 0xFF: return static_cast<char>(0x9F);
    default: return ch;
    }
}

char CharLower(char ch) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char>(c + 32);
    switch (c) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
    default: return ch;
    }
}

std::string CharUpperStr(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = CharUpper(c);
    return out;
}

std::string CharLowerStr(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = CharLower(c);
    return out;
}

} // namespace rtl
