// The declaration scanner's line rules.
#include "declsearch/Scanner.h"

#include "declsearch/LineRules.h"

#include <utility>

namespace declsearch {

bool TSearchSettings::PlainTextSearch() const {
    return !SearchText.empty() && !Function && !Procedure && !Class && !Constructor && !Destructor &&
           !Field && !ClassFunction && !ClassProcedure && !Property;
}

TLineScanner::TLineScanner(TSearchSettings settings, int tabWidth)
    : FSettings(std::move(settings)), FSearchLow(LowerCase(FSettings.SearchText)),
      FPlain(FSettings.PlainTextSearch()), FTabWidth(tabWidth) {}

void TLineScanner::Reset() { FState = TScanState{}; }

bool TLineScanner::IsMethod(std::string_view keyword) const {
    if (FState.InClass) return true;
    if (FState.InInterface) return false;
    return NameAfterKeyword(FLow, keyword).Text.find('.') != std::string_view::npos;
}

bool TLineScanner::MatchesClassFilter(std::string_view name) const {
    const std::string& filter = FSettings.ClassName;
    if (filter.empty()) return true;
    if (FState.InClass) return SameText(FState.ClassName, filter);
    if (FState.InInterface) return false;
    return SameText(name.substr(0, name.find('.')), filter);
}

void TLineScanner::TrackDeclarationEnd() {
    if (!FState.InInterface) {
        FState.Continuation = false;
        return;
    }
    bool ended = false;
    for (char c : FLow) {
        if (c == '(')
            ++FState.Depth;
        else if (c == ')')
            --FState.Depth;
        else if (c == ';' && FState.Depth == 0)
            ended = true;
    }
    FState.Continuation = !ended;
}

// Column in FLine of a 1-based position in FLow after its comment was removed.
int TLineScanner::LineColumnOfLowPos(int lowPos) const {
    if (FCommentLength > 0 && static_cast<std::size_t>(lowPos - 1) >= FCommentStart)
        return lowPos + static_cast<int>(FCommentLength);
    return lowPos;
}

void TLineScanner::ScanLine(int lineNo, std::string_view line, std::vector<TScanHit>& hits) {
    ScanLine(lineNo, line, ReadLineSigns(line), hits);
}

void TLineScanner::ScanLine(int lineNo, std::string_view line, TLineSigns signs, std::vector<TScanHit>& hits) {
    // Most lines hold no keyword and no comment: outside a class body they make no row and
    // move no state, unless every line is searched.
    if (signs.Keywords == 0 && !signs.Comment && !FState.InClass && !FPlain) return;
    // TABs become blanks, which are delimiters as they are: the signs hold for the expanded line.
    FLine = ExpandTabsInto(line, FTabWidth, FTabbed);
    FCommentStart = FCommentLength = 0;
    LowerCaseInto(FLine, FLow);
    signs.Keywords = WholeKeywords(signs.Keywords, FLow);

    if (int at = (signs.Keywords & kwInterface) ? SectionKeywordPos("interface", FLow) : 0) {
        AddHit(lineNo, "interface", at, true, hits);
        FState.InInterface = true;
        return;
    }
    if (int at = (signs.Keywords & kwImplementation) ? SectionKeywordPos("implementation", FLow) : 0) {
        AddHit(lineNo, "implementation", at, true, hits);
        FState.InInterface = false;
        FState.SeenImplementation = true;
        return;
    }
    if ((FState.InInterface && !FSettings.Interface) ||
        (FState.SeenImplementation && !FSettings.Implementation))
        return;

    TRemovedRange removed = signs.Comment ? StripComment(FLow) : TRemovedRange{};
    FCommentStart = removed.Start;
    FCommentLength = removed.Length;
    // Taking a comment out may join two words into a keyword, or take one away.
    FKeywords = removed.Length > 0 ? WholeKeywords(ReadLineSigns(FLow).Keywords, FLow) : signs.Keywords;

    if (FState.InClass && FLow.find("end;") != std::string::npos) {
        FState.InClass = false;
        FState.ClassName.clear();
    }

    ApplyRules(lineNo, hits);
    // A plain text search looks at every line; the rules above only moved the state along.
    if (FPlain) AddHit(lineNo, {}, 0, false, hits);
}

void TLineScanner::MemberRule(int lineNo, std::string_view keyword, bool wanted, bool stripPrefix,
                              std::vector<TScanHit>& hits) {
    TrackDeclarationEnd();
    if (!wanted) return;
    TToken name = NameAfterKeyword(FLine, keyword);
    if (!MatchesClassFilter(name.Text)) return;
    std::string_view key = stripPrefix ? StripClassPrefix(name.Text) : name.Text;
    int keyPos = name.Pos + static_cast<int>(name.Text.size() - key.size());
    AddHit(lineNo, key, keyPos, false, hits);
}

void TLineScanner::ApplyRules(int lineNo, std::vector<TScanHit>& hits) {
    const TSearchSettings& s = FSettings;
    // A procedural type names no routine.
    const bool isProcedure = Has(kwProcedure) && !IsProceduralType(FLow, "procedure");
    const bool isFunction = Has(kwFunction) && !IsProceduralType(FLow, "function");

    if (s.Procedure && isProcedure && !IsMethod("procedure")) {
        TToken name = NameAfterKeyword(FLine, "procedure");
        AddHit(lineNo, name.Text, name.Pos, false, hits);
        return;
    }
    if (s.Function && isFunction && !IsMethod("function")) {
        TToken name = NameAfterKeyword(FLine, "function");
        AddHit(lineNo, name.Text, name.Pos, false, hits);
        return;
    }
    if (!FState.InClass && Has(kwClass)) {
        TToken name = NameBeforeKeyword(FLine, "class");
        // A declaration that ends on its line (a forward declaration, a class reference, an
        // exception class without members) opens no body.
        if (!EndsOnLine(FLow, "class")) {
            FState.InClass = true;
            FState.ClassName = std::string(name.Text);
        }
        if (s.Class && MatchesClassFilter(name.Text)) AddHit(lineNo, name.Text, name.Pos, false, hits);
        return;
    }
    if (Has(kwConstructor)) return MemberRule(lineNo, "constructor", s.Constructor, true, hits);
    if (Has(kwDestructor)) return MemberRule(lineNo, "destructor", s.Destructor, true, hits);
    if (isFunction && IsMethod("function")) return MemberRule(lineNo, "function", s.ClassFunction, true, hits);
    if (isProcedure && IsMethod("procedure"))
        return MemberRule(lineNo, "procedure", s.ClassProcedure, true, hits);
    if (Has(kwProperty)) return MemberRule(lineNo, "property", s.Property, false, hits);

    if (s.Field && FState.InInterface && FState.InClass && MatchesClassFilter({})) {
        if (FState.Continuation) {
            TrackDeclarationEnd();
            return;
        }
        std::string_view body = Trim(FLow);
        if (!body.empty() && body != "private" && body != "protected" && body != "public" &&
            body != "published") {
            TToken name = FirstToken(FLine);
            AddHit(lineNo, name.Text, name.Pos, false, hits);
            // Its following lines are followed for the end, as those of any member.
            TrackDeclarationEnd();
        }
        return;
    }
    // A plain text search (the last rule) is made by ScanLine for every line.
}

void TLineScanner::AddHit(int lineNo, std::string_view key, int keyPos, bool section,
                          std::vector<TScanHit>& hits) {
    TScanHit hit;
    if (!section && !FSettings.SearchText.empty()) {
        int at;
        if (FSettings.CaseSensitive) {
            at = Pos(FSettings.SearchText, FLine);
        } else {
            at = Pos(FSearchLow, FLow);
            if (at > 0) at = LineColumnOfLowPos(at);
        }
        if (at != 0 && FSettings.WordSearch) {
            // The first occurrence that stands as a whole word, where the text was looked for.
            if (FSettings.CaseSensitive) {
                at = WholeWordPos(FSettings.SearchText, FLine);
            } else {
                at = WholeWordPos(FSearchLow, FLow);
                if (at > 0) at = LineColumnOfLowPos(at);
            }
        }
        if (at <= 0) return;
        hit.Key = FSettings.SearchText;
        hit.Pos = at;
    } else {
        if (key.empty()) return;
        hit.Key = std::string(key);
        hit.Pos = keyPos;
    }
    hit.Line = lineNo;
    hit.Kind = section ? TRowKind::Section : TRowKind::Hit;

    // The shown line, and where the match stands in it.
    std::string& shown = FShown;
    shown.assign(FLine);
    int at = hit.Pos;
    if (FSettings.Comment) {
        TRemovedRange removed = StripComment(shown);
        if (removed.Length > 0 && static_cast<std::size_t>(at - 1) >= removed.Start) {
            if (static_cast<std::size_t>(at - 1) < removed.Start + removed.Length)
                at = 0;
            else
                at -= static_cast<int>(removed.Length);
        }
    }
    std::size_t leading = 0;
    if (FSettings.Indent) {
        leading = shown.size() - TrimLeft(shown).size();
        shown.erase(0, leading);
        if (at > 0) at = static_cast<std::size_t>(at) > leading ? at - static_cast<int>(leading) : 0;
    }
    hit.Text = PadRight(std::to_string(lineNo), 6, ' ');
    hit.Text.append(shown);
    hit.TextPos = at > 0 ? at + 6 : 0;
    hits.push_back(std::move(hit));
}

} // namespace declsearch
