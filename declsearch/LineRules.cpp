// Text routines of the declaration scanner.
#include "declsearch/LineRules.h"

#include "rtl/CodePages.h"

#include <utility>

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
            out.append(static_cast<std::size_t>(tabWidth > 0 ? tabWidth : 1), ' ');
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

int WholeWordPos(std::string_view keyword, std::string_view text) {
    if (keyword.empty()) return 0;
    for (std::size_t at = text.find(keyword); at != std::string_view::npos; at = text.find(keyword, at + 1)) {
        std::size_t after = at + keyword.size();
        if ((at == 0 || IsDelimiter(text[at - 1])) && (after >= text.size() || IsDelimiter(text[after])))
            return static_cast<int>(at) + 1;
    }
    return 0;
}

bool IsWholeWord(std::string_view keyword, std::string_view text) { return WholeWordPos(keyword, text) > 0; }

int SectionKeywordPos(std::string_view keyword, std::string_view low) {
    for (std::size_t from = 0;;) {
        int at = WholeWordPos(keyword, low.substr(from));
        if (at == 0) return 0;
        std::size_t i = from + static_cast<std::size_t>(at - 1);
        std::size_t j = i;
        while (j > 0 && static_cast<unsigned char>(low[j - 1]) <= ' ') --j;
        if (j == 0 || low[j - 1] != '=') return static_cast<int>(i) + 1;
        from = i + keyword.size();
    }
}

namespace {

// The first token of low that equals keyword, with the one before it.
std::pair<TToken, TToken> KeywordToken(std::string_view low, std::string_view keyword) {
    TTokenizer tokens(low);
    TToken previous;
    for (TToken t = tokens.NextToken(); !t.Text.empty(); t = tokens.NextToken()) {
        if (t.Text == keyword) return {t, previous};
        previous = t;
    }
    return {};
}

} // namespace

bool IsProceduralType(std::string_view low, std::string_view keyword) {
    auto [token, previous] = KeywordToken(low, keyword);
    if (token.Pos == 0) return false;
    std::size_t i = static_cast<std::size_t>(token.Pos - 1);
    while (i > 0 && static_cast<unsigned char>(low[i - 1]) <= ' ') --i;
    if (i > 0 && (low[i - 1] == '=' || low[i - 1] == ':')) return true;
    return previous.Text == "to";
}

bool EndsOnLine(std::string_view low, std::string_view keyword) {
    TToken token = KeywordToken(low, keyword).first;
    if (token.Pos == 0) return false;
    int depth = 0;
    for (std::size_t i = static_cast<std::size_t>(token.Pos - 1) + token.Text.size(); i < low.size(); ++i) {
        if (low[i] == '(') ++depth;
        else if (low[i] == ')') --depth;
        else if (low[i] == ';' && depth == 0) return true;
    }
    return false;
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
