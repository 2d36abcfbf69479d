// The character set and string routines of the editor library.
#include "editor/ZelUtils.h"

#include "rtl/CodePages.h"

namespace editor {

namespace {

std::bitset<256> MakeAlphaChars() {
    std::bitset<256> set;
    for (unsigned char c : std::string_view(" ,-.")) set[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) set[c] = true;
    for (int c = 'a'; c <= 'z'; ++c) set[c] = true;
    for (int c = 128; c < 256; ++c)
        if (rtl::IsCharAlpha(static_cast<char>(c))) set[c] = true;
    return set;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

} // namespace

std::bitset<256> AlphaChars = MakeAlphaChars();

std::string CharStrPChar(char c, std::size_t count) { return std::string(count, c); }

std::string DetabPChar(std::string_view source, int tabSize) {
    std::string out;
    if (tabSize <= 0) return out;
    for (char c : source) {
        if (c == '\t') {
            out.append(tabSize - out.size() % tabSize, ' ');
        } else {
            out += c;
        }
    }
    return out;
}

std::string StrChDelete(std::string_view s, std::size_t position) {
    std::string out(s);
    if (position < out.size()) out.erase(position, 1);
    return out;
}

std::string StrChInsert(std::string_view s, char c, std::size_t position) {
    std::string out(s);
    out.insert(position < out.size() ? position : out.size(), 1, c);
    return out;
}

bool StrChPos(std::string_view s, char c, std::size_t& position) {
    auto at = s.find(c);
    if (at == std::string_view::npos) return false;
    position = at;
    return true;
}

std::string StrStCopy(std::string_view s, std::size_t position, std::size_t count) {
    if (position >= s.size()) return {};
    return std::string(s.substr(position, count));
}

std::string StrStDelete(std::string_view s, std::size_t position, std::size_t count) {
    std::string out(s);
    if (position < out.size()) out.erase(position, count);
    return out;
}

bool StrStPos(std::string_view s, std::string_view sub, std::size_t& position) {
    if (sub.empty()) return false;
    auto at = s.find(sub);
    if (at == std::string_view::npos) return false;
    position = at;
    return true;
}

bool Str2Long(std::string_view s, std::int32_t& value) {
    if (s.size() > 255) {
        value = -1;
        return false;
    }
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    auto fail = [&](std::size_t at) {
        value = static_cast<std::int32_t>(at);
        return false;
    };
    if (i >= s.size()) return fail(i);
    std::int64_t n = 0;
    // Hexadecimal takes any 32-bit pattern, decimal the signed 32-bit range.
    const std::int64_t limit = hex ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
    for (; i < s.size(); ++i) {
        int digit;
        char c = s[i];
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return fail(i);
        n = n * (hex ? 16 : 10) + digit;
        if (n > limit) return fail(i);
    }
    if (hex) n = static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
    value = static_cast<std::int32_t>(negative ? -n : n);
    return true;
}

std::string TrimPChar(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return std::string(s);
}

std::string TrimTrailPChar(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

char UpCaseChar(char c) { return rtl::CharUpper(c); }

} // namespace editor
