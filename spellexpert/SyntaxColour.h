// Pascal syntax colouring for the editor window: the IDE's highlight records read from its
// registry, a one-line tokenizer that carries comment state from line to line, and the list of
// attribute strings of the file shown. The word filter reads the same list to know whether a
// character lies in a string or a comment. Implementations in SyntaxColour.cpp.
#pragma once

#include "spellengine/LinkedList.h"
#include "vcl/Graphics.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace spellexpert {

// Codes: 'd' plain text, 'i' identifier, 'r' reserved word, 'c' comment, 's' string,
// 'y' symbol, 'n' number, 'h' selection.
struct TSyntaxAttr {
    char AttrCode = 'd';
    vcl::TColor FontColor = vcl::clBlack;
    vcl::TColor BackColor = vcl::clWhite;
    vcl::TFontStyles Style = 0;
};

// The eight records back to their built-in colours, and the editor font to Courier New 9.
void SetDefaultAttributes();
// The IDE's Highlight values over the records, and its editor font; missing or mistyped values
// keep what is there.
void ReadIDEHighlight();
// One Highlight value ("style,defFg,defBg,fg,bg") into Attr; an empty value or one of fewer
// than five fields leaves it unchanged.
void ReadAttributeValue(TSyntaxAttr& Attr, const std::string& Value);
// A copy of the record of Code; an unknown code gives plain text's.
TSyntaxAttr FindAttribute(char Code);
// The record itself, for the run set-up that restyles the selection.
TSyntaxAttr& AttributeRecord(char Code);
// The IDE's colour of a palette index 0..15; any other index is black.
vcl::TColor IdeColour(int Index);

const std::string& EditorFontName();
int EditorFontSize();

// The comment and string state between characters; strings never carry past their line.
struct TSyntaxState {
    bool InBrace = false;
    bool InParen = false;
    bool InString = false;
    bool operator==(const TSyntaxState&) const = default;
};

// One code per character of Line; State moves to the state at the line's end.
std::string ColourLine(std::string_view Line, TSyntaxState& State);
bool IsReservedWord(std::string_view Word);

class TSyntaxStr : public spellengine::TLinkedListNode {
public:
    std::string Attributes;
    // The state the line starts in, kept so that a changed line is recoloured from it.
    TSyntaxState StartState;
    TSyntaxState EndState;
    std::int32_t Length() const { return static_cast<std::int32_t>(Attributes.size()); }
};

class TSyntaxList : public spellengine::TLinkedList {
public:
    void AddLine(bool& InBrace, bool& InParen, bool& InString, std::string_view Text);
    // Line counts from 1; a line without entry gives 255 plain-text codes.
    std::string GetLineAttributes(std::int32_t Line) const;
    const TSyntaxStr* Entry(std::int32_t Line) const;
    std::int32_t LineCount() const { return static_cast<std::int32_t>(FLines.size()); }
    // Line's text changed: colour it again from the state it starts in, then the lines after
    // it for as long as the state they start in changes. LineText(n) gives line n's text.
    void Recolour(std::int32_t Line, const std::function<std::string(std::int32_t)>& LineText);

private:
    std::vector<TSyntaxStr*> FLines; // the list's nodes by line, for lookups without a walk
};

// The list of the file shown, none when no file is shown.
extern std::unique_ptr<TSyntaxList> SyntaxList;

} // namespace spellexpert
