// Text routines the declaration scanner applies to one source line: TAB expansion, the token
// reader, keyword look-ups, the whole-word test and the one-line comment remover.
// Implementations in LineRules.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace declsearch {

// The scanner's token delimiters: a blank followed by 17 signs.
inline constexpr std::string_view DefaultTokenDelimiters = " +-*=,;:/()[]{}#&%";

// Each TAB becomes tabWidth blanks, wherever it stands (not the distance to a tab stop); at
// least one, so that a TAB always separates words.
std::string ExpandTabs(std::string_view line, int tabWidth);
// The same, kept in buffer when the line has a TAB; the line itself when it has none.
std::string_view ExpandTabsInto(std::string_view line, int tabWidth, std::string& buffer);

// A token of a line with its 1-based column; Pos is 0 for the empty token at the end.
struct TToken {
    std::string_view Text;
    int Pos = 0;
};

// Reads tokens from a line, which ends at its first NUL as a zero-terminated copy would.
// An empty delimiter set means DefaultTokenDelimiters. At the end it keeps giving the empty token.
class TTokenizer {
public:
    explicit TTokenizer(std::string_view text, std::string_view delimiters = {});
    TToken NextToken();

private:
    std::string_view FText;
    const std::array<bool, 256>* FDelimiters;
    std::array<bool, 256> FOwnDelimiters{};
    std::size_t FIndex = 0;
};

TToken FirstToken(std::string_view line);
// The token after the first one that equals keyword (given in lower case) when lower-cased.
// Empty when none follows, when no token equals it, or when keyword is empty.
TToken NameAfterKeyword(std::string_view line, std::string_view keyword);
// The token just before the first one that equals keyword; empty when keyword comes first or
// no token equals it.
TToken NameBeforeKeyword(std::string_view line, std::string_view keyword);

// The token delimiters plus NUL, TAB, LF, CR and the double quote.
bool IsDelimiter(char c);
// Whether some exact occurrence of keyword in text stands as a whole word.
bool IsWholeWord(std::string_view keyword, std::string_view text);
// 1-based position of the first exact occurrence of keyword that stands as a whole word; 0 when
// there is none.
int WholeWordPos(std::string_view keyword, std::string_view text);

// The keywords the scanner's rules look for, one bit each.
enum TKeyword : unsigned {
    kwInterface = 1u << 0,
    kwImplementation = 1u << 1,
    kwProcedure = 1u << 2,
    kwFunction = 1u << 3,
    kwClass = 1u << 4,
    kwConstructor = 1u << 5,
    kwDestructor = 1u << 6,
    kwProperty = 1u << 7,
};

// What a quick look at a line tells: the keywords that may stand in it as whole words once it
// is lower-cased (every one that does, and rarely one that does not), and whether StripComment
// may remove something from it (false only when it cannot).
struct TLineSigns {
    unsigned Keywords = 0;
    bool Comment = false;
};
TLineSigns ReadLineSigns(std::string_view text);
// Of the keywords in candidates, those that stand in low as whole words.
unsigned WholeKeywords(unsigned candidates, std::string_view low);

// Marks of a whole text, one bit per byte in 64-bit words: Breaks where a CR or LF stands,
// Signs where three letters of a keyword start (in either case) or a "{" or "*" stands, without
// one of which no comment opens. A line without a sign holds no keyword and loses no comment.
struct TTextMarks {
    std::vector<std::uint64_t> Breaks;
    std::vector<std::uint64_t> Signs;
};
void MarkText(std::string_view text, TTextMarks& marks);
// ReadLineSigns for text[from, to) of a marked text, from its marks alone.
TLineSigns MarkedSigns(std::string_view text, const TTextMarks& marks, std::size_t from, std::size_t to);

// WholeWordPos for a unit's section keyword; an occurrence after "=" declares an interface type
// ("IFoo = interface"), not a section.
int SectionKeywordPos(std::string_view keyword, std::string_view low);

// Whether the first token of low that equals keyword ("procedure" or "function") names a
// procedural type rather than a routine: it follows "=" or ":" (a type or a variable of the
// type) or the word "to" ("reference to procedure").
bool IsProceduralType(std::string_view low, std::string_view keyword);
// Whether the declaration that starts with the first token of low equal to keyword ends on the
// line: a ";" follows it outside parentheses.
bool EndsOnLine(std::string_view low, std::string_view keyword);

// What StripComment removed: Length 0 when it left the text alone.
struct TRemovedRange {
    std::size_t Start = 0;
    std::size_t Length = 0;
};
// Removes one comment that opens and closes on the line: "{" ... "}", else "(*" ... "*)".
TRemovedRange StripComment(std::string& text);

// The part of a Class.Method name after its first dot; the whole name when it has none.
std::string_view StripClassPrefix(std::string_view name);

// Trailing blanks removed, then padded with fill to width or cut to it.
std::string PadRight(std::string_view text, std::size_t width, char fill);

// Case mapping of the ANSI code page, as the rest of the suite does it.
std::string LowerCase(std::string_view text);
void LowerCaseInto(std::string_view text, std::string& out);
bool SameText(std::string_view a, std::string_view b);

// 1-based position of sub in text, 0 when absent or when sub is empty.
int Pos(std::string_view sub, std::string_view text);

// Characters up to and including blank are blanks here, as the runtime's trimming takes them.
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
std::string_view Trim(std::string_view text);

} // namespace declsearch
