#include "spellexpert/SyntaxColour.h"

#include "rtl/Registry.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace spellexpert {

std::unique_ptr<TSyntaxList> SyntaxList;

namespace {

// The expert reads the IDE's settings as any other program would: from its registry key.
constexpr const char* IdeKey = "\\Software\\Borland\\Delphi\\2.0";

struct TLooks {
    // In lookup order; the selection record sits before the number record.
    std::array<TSyntaxAttr, 8> Attrs;
    std::string FontName;
    int FontSize;
};

TLooks DefaultLooks() {
    using namespace vcl;
    return {{{
                {'d', clBlack, clWhite, 0},
                {'i', clBlack, clWhite, 0},
                {'r', clBlack, clWhite, fsBold},
                {'c', clBlack, clWhite, fsItalic},
                {'s', clRed, clWhite, 0},
                {'y', clTeal, clWhite, 0},
                {'h', clWhite, clHighlight, 0},
                {'n', clBlack, clWhite, 0},
            }},
            "Courier New",
            9};
}

// Made with their defaults on first use, so that whichever unit of the library reads the IDE's
// settings at load finds them in place, whatever the order of the units' start-ups.
TLooks& Looks() {
    static TLooks looks = DefaultLooks();
    return looks;
}

struct TNamedCode {
    const char* Name;
    char Code;
};
constexpr TNamedCode HighlightNames[] = {
    {"Plain_text", 'd'}, {"Identifier", 'i'}, {"Reserved_word", 'r'}, {"Comment", 'c'},
    {"String", 's'},     {"Symbol", 'y'},     {"Number", 'n'},
};

constexpr std::string_view ReservedWords[] = {
    "and",       "array",      "as",        "asm",       "begin",          "case",
    "class",     "const",      "constructor", "destructor", "div",          "do",
    "downto",    "else",       "end",       "except",    "exports",        "file",
    "finalization", "finally", "for",       "function",  "goto",           "if",
    "implementation", "in",    "inherited", "initialization", "inline",    "interface",
    "is",        "label",      "library",   "mod",       "nil",            "not",
    "object",    "of",         "or",        "packed",    "private",        "procedure",
    "program",   "property",   "public",    "raise",     "record",         "repeat",
    "set",       "shl",        "shr",       "string",    "then",           "to",
    "try",       "type",       "unit",      "until",     "uses",           "var",
    "while",     "with",       "xor",
};

bool IsSymbolChar(char c) {
    switch (c) {
    case ';': case '(': case ')': case '[': case ']': case ':': case ',': case '.':
    case '+': case '=': case '/': case '>': case '<':
        return true;
    default:
        return false;
    }
}

// Underscore joins identifiers: "my_end" is one identifier, not "my" and a reserved "end".
bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int FieldNumber(std::string_view s) {
    int n = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    return ec == std::errc() && p == s.data() + s.size() ? n : 0;
}

// A value of the wrong type reads as missing.
bool ReadRegString(rtl::TRegistry& Reg, const std::string& Name, std::string& Out) {
    if (!Reg.ValueExists(Name) || Reg.GetDataType(Name) != rtl::TRegDataType::rdString)
        return false;
    Out = Reg.ReadString(Name);
    return true;
}

} // namespace

vcl::TColor IdeColour(int Index) {
    static constexpr vcl::TColor Palette[16] = {
        vcl::clBlack, vcl::clMaroon, vcl::clGreen, vcl::clOlive,  vcl::clNavy, vcl::clPurple,
        vcl::clTeal,  vcl::clSilver, vcl::clGray,  vcl::clRed,    vcl::clLime, vcl::clYellow,
        vcl::clBlue,  vcl::clFuchsia, vcl::clAqua, vcl::clWhite,
    };
    return Index >= 0 && Index < 16 ? Palette[Index] : vcl::clBlack;
}

void SetDefaultAttributes() { Looks() = DefaultLooks(); }

TSyntaxAttr& AttributeRecord(char Code) {
    auto& attrs = Looks().Attrs;
    for (auto& a : attrs)
        if (a.AttrCode == Code)
            return a;
    return attrs[0];
}

TSyntaxAttr FindAttribute(char Code) { return AttributeRecord(Code); }

const std::string& EditorFontName() { return Looks().FontName; }
int EditorFontSize() { return Looks().FontSize; }

void ReadAttributeValue(TSyntaxAttr& Attr, const std::string& Value) {
    std::vector<std::string_view> f;
    std::string_view rest = Value;
    for (;;) {
        auto comma = rest.find(',');
        f.push_back(rest.substr(0, comma));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (Value.empty() || f.size() < 5)
        return;
    const auto n = f.size();
    const TSyntaxAttr& plain = AttributeRecord('d');
    Attr.BackColor = IdeColour(FieldNumber(f[n - 1]));
    Attr.FontColor = IdeColour(FieldNumber(f[n - 2]));
    if (FieldNumber(f[n - 3]) == 1)
        Attr.BackColor = plain.BackColor;
    if (FieldNumber(f[n - 4]) == 1)
        Attr.FontColor = plain.FontColor;
    const std::string_view letters = f[n - 5].substr(0, 3);
    vcl::TFontStyles style = 0;
    if (letters.find('B') != std::string_view::npos)
        style |= vcl::fsBold;
    if (letters.find('I') != std::string_view::npos)
        style |= vcl::fsItalic;
    if (letters.find('U') != std::string_view::npos)
        style |= vcl::fsUnderline;
    Attr.Style = style;
}

void ReadIDEHighlight() {
    {
        rtl::TRegistry reg;
        if (reg.OpenKey(std::string(IdeKey) + "\\Highlight", false)) {
            std::string v;
            // Plain text first: the others may take its colours.
            for (const auto& h : HighlightNames)
                if (ReadRegString(reg, h.Name, v))
                    ReadAttributeValue(AttributeRecord(h.Code), v);
        }
    }
    rtl::TRegistry reg;
    if (!reg.OpenKey(std::string(IdeKey) + "\\Editor", false))
        return;
    std::string name;
    std::string& fontName = Looks().FontName;
    int& fontSize = Looks().FontSize;
    if (ReadRegString(reg, "FontName", name) && !name.empty())
        fontName = name.substr(0, 40);
    if (reg.ValueExists("FontSize")) {
        if (reg.GetDataType("FontSize") == rtl::TRegDataType::rdInteger)
            fontSize = reg.ReadInteger("FontSize");
        else if (ReadRegString(reg, "FontSize", name) && FieldNumber(name) > 0)
            fontSize = FieldNumber(name);
    }
    if (fontSize <= 0)
        fontSize = 9;
}

bool IsReservedWord(std::string_view Word) {
    if (Word.size() > 14)
        return false;
    char lower[16];
    for (std::size_t i = 0; i < Word.size(); ++i)
        lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(Word[i])));
    const std::string_view w(lower, Word.size());
    return std::find(std::begin(ReservedWords), std::end(ReservedWords), w) != std::end(ReservedWords);
}

std::string ColourLine(std::string_view Line, TSyntaxState& State) {
    const std::size_t len = Line.size();
    std::string attr(len, State.InBrace || State.InParen ? 'c' : 'i');
    // A token's code runs on over the blanks after it, up to the next token.
    auto fill = [&](std::size_t from, char code) {
        if (from < len)
            std::fill(attr.begin() + static_cast<std::ptrdiff_t>(from), attr.end(), code);
    };
    auto at = [&](std::size_t i) { return i < len ? Line[i] : '\0'; };
    std::size_t p = 0;
    while (p < len) {
        const char ch = Line[p];
        if (State.InBrace || State.InParen) {
            // Comments do not nest: inside one kind only its own end counts, so "(*" inside
            // braces (or "}" inside "(* *)") is comment text.
            if (State.InBrace && ch == '}') {
                State.InBrace = false;
                ++p;
            } else if (State.InParen && ch == '*' && at(p + 1) == ')') {
                State.InParen = false;
                p += 2;
            } else {
                ++p;
            }
            if (!State.InBrace && !State.InParen)
                fill(p, 'i');
        } else if (State.InString) {
            if (ch == '\'') {
                State.InString = false;
                ++p;
                // A doubled quote stays inside the string: the next quote reopens it.
            } else {
                ++p;
            }
        } else if (IsWordChar(ch)) {
            std::size_t q = p;
            bool digits = true;
            while (q < len && IsWordChar(Line[q])) {
                digits = digits && std::isdigit(static_cast<unsigned char>(Line[q]));
                ++q;
            }
            const std::string_view word = Line.substr(p, q - p);
            fill(p, IsReservedWord(word) ? 'r' : digits ? 'n' : 'i');
            p = q;
        } else if (ch == '\'') {
            State.InString = true;
            fill(p, 's');
            ++p;
        } else if (ch == '{') {
            State.InBrace = true;
            fill(p, 'c');
            ++p;
        } else if (ch == '(' && at(p + 1) == '*') {
            State.InParen = true;
            fill(p, 'c');
            p += 2;
        } else if (ch == '/' && at(p + 1) == '/') {
            fill(p, 'c');
            break;
        } else if (IsSymbolChar(ch)) {
            fill(p, 'y');
            ++p;
        } else {
            ++p;
        }
    }
    State.InString = false;
    return attr;
}

void TSyntaxList::AddLine(bool& InBrace, bool& InParen, bool& InString, std::string_view Text) {
    auto s = std::make_unique<TSyntaxStr>();
    TSyntaxState st{InBrace, InParen, InString};
    s->StartState = st;
    s->Attributes = ColourLine(Text, st);
    s->EndState = st;
    InBrace = st.InBrace;
    InParen = st.InParen;
    InString = st.InString;
    FLines.push_back(s.get());
    Append(std::move(s));
}

const TSyntaxStr* TSyntaxList::Entry(std::int32_t Line) const {
    if (Line < 1 || Line > LineCount())
        return nullptr;
    return FLines[static_cast<std::size_t>(Line - 1)];
}

std::string TSyntaxList::GetLineAttributes(std::int32_t Line) const {
    const TSyntaxStr* s = Entry(Line);
    return s ? s->Attributes : std::string(255, 'd');
}

void TSyntaxList::Recolour(std::int32_t Line, const std::function<std::string(std::int32_t)>& LineText) {
    for (std::int32_t n = Line; n >= 1 && n <= LineCount(); ++n) {
        TSyntaxStr* s = FLines[static_cast<std::size_t>(n - 1)];
        if (n > Line) {
            const TSyntaxState& before = FLines[static_cast<std::size_t>(n - 2)]->EndState;
            if (s->StartState == before)
                break;
            s->StartState = before;
        }
        TSyntaxState st = s->StartState;
        s->Attributes = ColourLine(LineText(n), st);
        s->EndState = st;
    }
}

} // namespace spellexpert
