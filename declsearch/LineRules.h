// Text routines the declaration scanner applies to one source line: TAB expansion, the token
// reader, keyword look-ups, the whole-word test and the one-line comment remover.
// Implementations in LineRules.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace declsearch {

// The scanner's token delimiters: a blank followed by 17 signs.
inline constexpr std::string_view DefaultTokenDelimiters = " +-*=,;:/()[]{}#&%";

// Each TAB becomes tabWidth blanks, wherever it stands (not the distance to a tab stop); at
// least one, so that a TAB always separates words.
std::string ExpandTabs(std::string_view line, int tabWidth);

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
