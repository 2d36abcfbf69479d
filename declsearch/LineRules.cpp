// Text routines of the declaration scanner.
#include "declsearch/LineRules.h"

#include "rtl/CodePages.h"

namespace declsearch {

namespace {

std::array<bool, 256> MakeSet(std::string_view chars) {
    std::array<bool, 256> set{};
    for (char c : chars) set[static_cast<unsigned char>(c)] = true;
    return set;
}

const std::array<bool, 256> kTokenDelimiters = MakeSet(DefaultTokenDelimiters);

const std::array<bool, 256> kWordDelimiters = [] {
    auto set = MakeSet(DefaultTokenDelimiters);
    for (int c : {0, 9, 10, 13, int('"')}) set[static_cast<unsigned char>(c)] = true;
    return set;
}();

const std::array<char, 256> kLower = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = rtl::CharLower(static_cast<char>(c));
    return table;
}();

char Lower(char c) { return kLower[static_cast<unsigned char>(c)]; }

bool EqualsLowered(std::string_view token, std::string_view lowerKeyword) {
    if (token.size() != lowerKeyword.size()) return false;
    for (std::size_t i = 0; i < token.size(); ++i)
        if (Lower(token[i]) != lowerKeyword[i]) return false;
    return true;
}

} // namespace

std::string ExpandTabs(std::string_view line, int tabWidth) {
    if (line.find('\t') == std::string_view::npos) return std::string(line);
    std::string out;
    out.reserve(line.size() + 8);
    for (char c : line) {
        if (c == '\t')
            out.append(static_cast<std::size_t>(tabWidth > 0 ? tabWidth : 0), ' ');
        else
            out.push_back(c);
    }
    return out;
}

TTokenizer::TTokenizer(std::string_view text, std::string_view delimiters)
    : FText(text.substr(0, text.find('\0'))), FDelimiters(&kTokenDelimiters) {
    if (!delimiters.empty()) {
        FOwnDelimiters = MakeSet(delimiters);
        FDelimiters = &FOwnDelimiters;
    }
}

TToken TTokenizer::NextToken() {
    const auto& delim = *FDelimiters;
    while (FIndex < FText.size() && delim[static_cast<unsigned char>(FText[FIndex])]) ++FIndex;
    std::size_t start = FIndex;
    while (FIndex < FText.size() && !delim[static_cast<unsigned char>(FText[FIndex])]) ++FIndex;
    if (start == FIndex) return {};
    return {FText.substr(start, FIndex - start), static_cast<int>(start) + 1};
}

TToken FirstToken(std::string_view line) { return TTokenizer(line).NextToken(); }

TToken NameAfterKeyword(std::string_view line, std::string_view keyword) {
    if (keyword.empty()) return {};
    TTokenizer tokens(line);
    for (TToken t = tokens.NextToken(); !t.Text.empty(); t = tokens.NextToken())
        if (EqualsLowered(t.Text, keyword)) return tokens.NextToken();
    return {};
}

TToken NameBeforeKeyword(std::string_view line, std::string_view keyword) {
    TTokenizer tokens(line);
    TToken previous;
    for (TToken t = tokens.NextToken(); !t.Text.empty(); t = tokens.NextToken()) {
        if (EqualsLowered(t.Text, keyword)) return previous;
        previous = t;
    }
    return {};
}

bool IsDelimiter(char c) { return kWordDelimiters[static_cast<unsigned char>(c)]; }

bool IsWholeWord(std::string_view keyword, std::string_view text) {
    if (keyword.empty()) return false;
    std::size_t at = text.find(keyword);
    if (at == std::string_view::npos) return false;
    std::size_t after = at + keyword.size();
    return (at == 0 || IsDelimiter(text[at - 1])) && (after >= text.size() || IsDelimiter(text[after]));
}

TRemovedRange StripComment(std::string& text) {
    std::size_t open = text.find('{');
    if (open == std::string::npos) open = text.find("(*");
    std::size_t close = text.find('}');
    std::size_t closeLength = 1;
    if (close == std::string::npos) {
        close = text.find("*)");
        closeLength = 2;
    }
    if (open == std::string::npos || close == std::string::npos || close <= open) return {};
    TRemovedRange removed{open, close + closeLength - open};
    text.erase(removed.Start, removed.Length);
    return removed;
}

std::string_view StripClassPrefix(std::string_view name) {
    std::size_t dot = name.find('.');
    return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

std::string PadRight(std::string_view text, std::size_t width, char fill) {
    std::string out(TrimRight(text));
    out.resize(width, fill);
    return out;
}

void LowerCaseInto(std::string_view text, std::string& out) {
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = Lower(text[i]);
}

std::string LowerCase(std::string_view text) {
    std::string out;
    LowerCaseInto(text, out);
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

int Pos(std::string_view sub, std::string_view text) {
    if (sub.empty()) return 0;
    std::size_t at = text.find(sub);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string_view TrimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    return text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && static_cast<unsigned char>(text[n - 1]) <= ' ') --n;
    return text.substr(0, n);
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

} // namespace declsearch
