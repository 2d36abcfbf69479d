// Text routines of the declaration scanner.
#include "declsearch/LineRules.h"

#include "rtl/CodePages.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    std::string buffer;
    return std::string(ExpandTabsInto(line, tabWidth, buffer));
}

std::string_view ExpandTabsInto(std::string_view line, int tabWidth, std::string& buffer) {
    if (line.find('\t') == std::string_view::npos) return line;
    buffer.clear();
    for (char c : line) {
        if (c == '\t')
            buffer.append(static_cast<std::size_t>(tabWidth > 0 ? tabWidth : 1), ' ');
        else
            buffer.push_back(c);
    }
    return buffer;
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

namespace {

struct TKeywordName {
    std::string_view Name;
    TKeyword Bit;
};

constexpr std::array<TKeywordName, 8> kKeywords{{{"interface", kwInterface},
                                                 {"implementation", kwImplementation},
                                                 {"procedure", kwProcedure},
                                                 {"function", kwFunction},
                                                 {"class", kwClass},
                                                 {"constructor", kwConstructor},
                                                 {"destructor", kwDestructor},
                                                 {"property", kwProperty}}};

// A line is looked at without a branch per character: each run of word characters is hashed
// as it goes, and at its end the hash picks the keywords it may be. A word that merely shares a
// keyword's hash only costs the exact look that follows.
constexpr std::uint32_t kHashFactor = 0x9E3779B1u;
constexpr int kHashShift = 20; // 4096 slots
constexpr std::uint32_t HashStep(std::uint32_t hash, unsigned char lowered) { return (hash + lowered) * kHashFactor; }
constexpr std::uint32_t HashOf(std::string_view word) {
    std::uint32_t hash = 0;
    for (char c : word) hash = HashStep(hash, static_cast<unsigned char>(c));
    return hash;
}

const std::array<std::uint8_t, std::size_t(1) << (32 - kHashShift)> kHashKeywords = [] {
    std::array<std::uint8_t, std::size_t(1) << (32 - kHashShift)> table{};
    for (const TKeywordName& k : kKeywords) table[HashOf(k.Name) >> kHashShift] |= static_cast<std::uint8_t>(k.Bit);
    return table;
}();
// The empty run between two delimiters hashes to slot 0, which must name no keyword.
static_assert([] {
    for (const TKeywordName& k : kKeywords)
        if ((HashOf(k.Name) >> kHashShift) == 0) return false;
    return true;
}());

// Per character: the delimiter bit (of the character once lower-cased) and the comment signs.
enum : std::uint8_t { csOpenBrace = 1, csCloseBrace = 2, csOpenParen = 4, csStar = 8, csCloseParen = 16, csDelimiter = 128 };
const std::array<std::uint8_t, 256> kCharSigns = [] {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        std::uint8_t signs = kWordDelimiters[static_cast<unsigned char>(kLower[c])] ? csDelimiter : 0;
        switch (c) {
        case '{': signs |= csOpenBrace; break;
        case '}': signs |= csCloseBrace; break;
        case '(': signs |= csOpenParen; break;
        case '*': signs |= csStar; break;
        case ')': signs |= csCloseParen; break;
        default: break;
        }
        table[c] = signs;
    }
    return table;
}();

} // namespace

TLineSigns ReadLineSigns(std::string_view text) {
    std::uint32_t hash = 0;
    unsigned keywords = 0;
    unsigned seen = 0;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const unsigned signs = kCharSigns[c];
        seen |= signs;
        const unsigned delimiter = signs >> 7;
        keywords |= kHashKeywords[hash >> kHashShift] & (0u - delimiter);
        const std::uint32_t next = HashStep(hash, static_cast<unsigned char>(kLower[c]));
        hash = delimiter ? 0 : next;
    }
    keywords |= kHashKeywords[hash >> kHashShift];
    TLineSigns result;
    result.Keywords = keywords;
    const bool open = (seen & csOpenBrace) || ((seen & csOpenParen) && (seen & csStar));
    const bool close = (seen & csCloseBrace) || ((seen & csStar) && (seen & csCloseParen));
    result.Comment = open && close;
    return result;
}

namespace {

// Three letters of each keyword, with the keywords they stand for.
struct TKeywordLetters {
    std::string_view Letters;
    unsigned Keywords;
};
constexpr std::array<TKeywordLetters, 7> kKeywordLetters{{{"erf", kwInterface},
                                                         {"lem", kwImplementation},
                                                         {"edu", kwProcedure},
                                                         {"unc", kwFunction},
                                                         {"cla", kwClass},
                                                         {"ruc", kwConstructor | kwDestructor},
                                                         {"rty", kwProperty}}};
static_assert([] {
    for (const TKeywordName& k : kKeywords) {
        bool found = false;
        for (const TKeywordLetters& l : kKeywordLetters)
            found = found || ((l.Keywords & k.Bit) && k.Name.find(l.Letters) != std::string_view::npos);
        if (!found) return false;
    }
    return true;
}());

// The marks set bit 5 to compare letters in either case; that holds as long as no other
// character lower-cases to an ASCII letter.
const bool kLettersFoldByBit = [] {
    for (int c = 0; c < 256; ++c) {
        const auto low = static_cast<unsigned char>(kLower[c]);
        if (low >= 'a' && low <= 'z' && (c | 0x20) != low) return false;
    }
    return true;
}();

// 16 bytes from p (18 readable) to two masks, one bit per byte.
void MarkBlock(const unsigned char* p, unsigned& breaks, unsigned& signs) {
#if defined(__SSE2__)
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i fold = _mm_set1_epi8(0x20);
    const __m128i la = _mm_or_si128(a, fold);
    const __m128i lb = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)), fold);
    const __m128i lc = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2)), fold);
    auto is = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    __m128i sign = _mm_or_si128(is(a, '{'), is(a, '*'));
    for (const TKeywordLetters& l : kKeywordLetters) {
        const std::string_view letters = l.Letters;
        sign = _mm_or_si128(sign, _mm_and_si128(_mm_and_si128(is(la, letters[0]), is(lb, letters[1])),
                                                is(lc, letters[2])));
    }
    breaks = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(is(a, '\n'), is(a, '\r'))));
    signs = static_cast<unsigned>(_mm_movemask_epi8(sign));
#else
    auto isSignAt = [](const unsigned char* q) {
        if (q[0] == '{' || q[0] == '*') return true;
        for (const TKeywordLetters& l : kKeywordLetters)
            if ((q[0] | 0x20) == l.Letters[0] && (q[1] | 0x20) == l.Letters[1] && (q[2] | 0x20) == l.Letters[2])
                return true;
        return false;
    };
    breaks = signs = 0;
    for (int i = 0; i < 16; ++i) {
        if (p[i] == '\n' || p[i] == '\r') breaks |= 1u << i;
        if (isSignAt(p + i)) signs |= 1u << i;
    }
#endif
}

} // namespace

void MarkText(std::string_view text, TTextMarks& marks) {
    const std::size_t words = text.size() / 64 + 1;
    marks.Breaks.assign(words, 0);
    marks.Signs.assign(words, 0);
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    // Whole blocks while 18 bytes can be read, then the rest from a copy with room after it.
    for (; i + 18 <= size; i += 16) {
        unsigned breaks, signs;
        MarkBlock(data + i, breaks, signs);
        marks.Breaks[i / 64] |= std::uint64_t(breaks) << (i % 64);
        marks.Signs[i / 64] |= std::uint64_t(signs) << (i % 64);
    }
    for (; i < size; i += 16) {
        unsigned char tail[18 + 16] = {};
        std::memcpy(tail, data + i, size - i);
        unsigned breaks, signs;
        MarkBlock(tail, breaks, signs);
        marks.Breaks[i / 64] |= std::uint64_t(breaks) << (i % 64);
        marks.Signs[i / 64] |= std::uint64_t(signs) << (i % 64);
    }
    if (!kLettersFoldByBit) std::fill(marks.Signs.begin(), marks.Signs.end(), ~std::uint64_t(0));
}

TLineSigns MarkedSigns(std::string_view text, const TTextMarks& marks, std::size_t from, std::size_t to) {
    TLineSigns signs;
    for (std::size_t word = from / 64; word * 64 < to; ++word) {
        std::uint64_t bits = marks.Signs[word];
        if (word == from / 64) bits &= ~std::uint64_t(0) << (from % 64);
        if (to - word * 64 < 64) bits &= (std::uint64_t(1) << (to - word * 64)) - 1;
        for (; bits != 0; bits &= bits - 1) {
            const std::size_t at = word * 64 + static_cast<std::size_t>(std::countr_zero(bits));
            const char c = text[at];
            if (c == '{' || c == '*') {
                // A comment opens only at "{" or "(*"; StripComment decides.
                signs.Comment = true;
                continue;
            }
            if (!kLettersFoldByBit) return {~0u, true};
            // Three letters read past the line are no keyword of it.
            if (to - at < 3) continue;
            for (const TKeywordLetters& l : kKeywordLetters)
                if ((text[at] | 0x20) == l.Letters[0] && (text[at + 1] | 0x20) == l.Letters[1] &&
                    (text[at + 2] | 0x20) == l.Letters[2])
                    signs.Keywords |= l.Keywords;
        }
    }
    return signs;
}

unsigned WholeKeywords(unsigned candidates, std::string_view low) {
    unsigned found = 0;
    for (const TKeywordName& k : kKeywords)
        if ((candidates & k.Bit) && IsWholeWord(k.Name, low)) found |= k.Bit;
    return found;
}

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
    // ASCII without a branch, in a loop the compiler widens; the table only for a line with
    // other characters.
    const auto* __restrict in = reinterpret_cast<const unsigned char*>(text.data());
    auto* __restrict low = reinterpret_cast<unsigned char*>(out.data());
    const std::size_t size = text.size();
    unsigned char high = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = in[i];
        high |= c;
        low[i] = static_cast<unsigned char>(c + ((static_cast<unsigned char>(c - 'A') < 26 ? 1 : 0) << 5));
    }
    if (high & 0x80)
        for (std::size_t i = 0; i < size; ++i) low[i] = static_cast<unsigned char>(Lower(static_cast<char>(in[i])));
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
