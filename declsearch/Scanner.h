// The declaration scanner: ordered, line-local rules that recognise Pascal declarations one
// line at a time, with a few flags carried from line to line within a file.
// Implementations in Scanner.cpp.
#pragma once

#include "declsearch/LineRules.h"

#include <string>
#include <string_view>
#include <vector>

namespace declsearch {

// What a result row is; the browser draws, prunes and goes to rows by it.
enum class TRowKind { FileHeader, Error, NothingFound, Section, Hit };

// The switches a search runs with; the defaults are those of a search before anything was stored.
struct TSearchSettings {
    bool Function = true;
    bool Procedure = true;
    bool Interface = true;
    bool Implementation = true;
    bool Class = false;
    bool Constructor = false;
    bool Destructor = false;
    bool Field = false;
    bool ClassFunction = false;
    bool ClassProcedure = false;
    bool Property = false;
    std::string ClassName;  // empty: no class filter
    std::string SearchText; // empty: none
    bool CaseSensitive = false;
    bool WordSearch = false;
    bool Comment = true; // drop a one-line comment from the shown line
    bool Indent = true;  // drop leading blanks from the shown line

    // A search text with every entity switch off: every line of the enabled parts is searched.
    bool PlainTextSearch() const;
};

// One row the scanner makes for a line.
struct TScanHit {
    int Line = 0;
    // 1-based column in the line after TAB expansion, before comment removal and trimming, of
    // the name, keyword or search text that made the hit.
    int Pos = 0;
    std::string Key;
    TRowKind Kind = TRowKind::Hit;
    // Row text: the line number padded to 6 characters, then the shown line.
    std::string Text;
    // 1-based position of the match in Text; 0 when the shown line no longer holds it.
    int TextPos = 0;
};

// Carried from line to line; reset at the start of every file.
struct TScanState {
    bool InInterface = false;
    bool SeenImplementation = false;
    bool InClass = false;
    bool Continuation = false;
    int Depth = 0;
    std::string ClassName;
};

class TLineScanner {
public:
    TLineScanner(TSearchSettings settings, int tabWidth);

    void Reset();
    // Scans one line (numbered from 1) and appends the rows it makes.
    void ScanLine(int lineNo, std::string_view line, std::vector<TScanHit>& hits);
    // The same for a line whose signs were read already (ReadLineSigns or MarkedSigns).
    void ScanLine(int lineNo, std::string_view line, TLineSigns signs, std::vector<TScanHit>& hits);

    const TScanState& State() const { return FState; }
    const TSearchSettings& Settings() const { return FSettings; }

private:
    bool Has(unsigned keyword) const { return (FKeywords & keyword) != 0; }
    bool IsMethod(std::string_view keyword) const;
    bool MatchesClassFilter(std::string_view name) const;
    void TrackDeclarationEnd();
    void ApplyRules(int lineNo, std::vector<TScanHit>& hits);
    void MemberRule(int lineNo, std::string_view keyword, bool wanted, bool stripPrefix,
                    std::vector<TScanHit>& hits);
    void AddHit(int lineNo, std::string_view key, int keyPos, bool section, std::vector<TScanHit>& hits);
    int LineColumnOfLowPos(int lowPos) const;

    TSearchSettings FSettings;
    std::string FSearchLow;
    bool FPlain;
    int FTabWidth;
    TScanState FState;
    std::string_view FLine; // the line after TAB expansion, in FTabbed or the caller's line
    std::string FTabbed;
    std::string FLow; // the same in lower case, later without its one-line comment
    unsigned FKeywords = 0; // the keywords standing in FLow
    std::string FShown;     // a row's shown line while it is made
    std::size_t FCommentStart = 0;
    std::size_t FCommentLength = 0;
};

} // namespace declsearch
