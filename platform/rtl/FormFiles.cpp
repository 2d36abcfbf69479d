// Conversion of binary object streams and form files to text and back; see FormFiles.h.
#include "rtl/FormFiles.h"

#include "rtl/SysUtils.h"

#include "rtl/BinaryObjects.h"
#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <type_traits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace rtl {

namespace {

constexpr int MaxNesting = 200;        // deeper input is refused rather than overflowing the stack
constexpr std::size_t PieceLength = 64; // characters per piece of a broken string
constexpr std::size_t BinaryLine = 32;  // bytes per line of hex
constexpr const char* CRLF = "\r\n";

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

std::string ReadRest(TStream& input) {
    std::int64_t n = input.Size() - input.Position();
    std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    s.resize(static_cast<std::size_t>(input.Read(s.data(), static_cast<std::int64_t>(s.size()))));
    return s;
}

// ---- binary to text ----

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

// What the text reader takes as one name: an identifier, or with dotted parts identifiers
// joined by dots.
bool IsName(std::string_view s, bool dotted) {
    if (s.empty()) return false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || (dotted && s[i] == '.')) {
            if (i == start) return false;
            start = i + 1;
        } else if (i == start ? !IsIdentStart(s[i]) : !IsIdentChar(s[i])) {
            return false;
        }
    }
    return true;
}

// strtold and kin in the C locale: from_chars refuses the denormals, which are values too.
template <class F>
bool ParseFloat(const std::string& s, F& v) {
    static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    char* end = nullptr;
    if constexpr (std::is_same_v<F, float>) v = strtof_l(s.c_str(), &end, c);
    else if constexpr (std::is_same_v<F, double>) v = strtod_l(s.c_str(), &end, c);
    else v = strtold_l(s.c_str(), &end, c);
    return !s.empty() && end == s.c_str() + s.size() && !std::isinf(v);
}

// The shortest text that reads back as the same value, in the "1.5E-7" style; empty for a value
// the text form cannot carry (infinities, NaN).
template <class F>
std::string FloatText(F value) {
    if (!std::isfinite(value)) return {};
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, r.ptr);
    std::size_t e = s.find('e');
    if (e == std::string::npos) {
        if (s.find('.') == std::string::npos) s += ".0";
        return s;
    }
    std::string exponent = s.substr(e + 1);
    bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
    while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
    return s.substr(0, e) + (negative ? "E-" : "E") + exponent;
}

std::string CurrencyText(std::int64_t scaled) {
    std::uint64_t a = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::string s = (scaled < 0 ? "-" : "") + std::to_string(a / 10000);
    unsigned frac = static_cast<unsigned>(a % 10000);
    if (frac != 0) {
        std::string f = std::to_string(frac + 10000).substr(1);
        while (f.back() == '0') f.pop_back();
        s += "." + f;
    }
    return s + "C";
}

// UTF-8 as UTF-16 units; a byte that is not part of a valid sequence stands for its cp1252 character.
std::u16string Utf8ToUnits(const std::string& s) {
    std::u16string out;
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        bool ok = n != 0 && i + n <= s.size();
        if (ok) {
            cp = n == 1 ? c : c & (0x7F >> n);
            for (std::size_t k = 1; k < n; ++k) {
                unsigned char cc = static_cast<unsigned char>(s[i + k]);
                if ((cc & 0xC0) != 0x80) { ok = false; break; }
                cp = (cp << 6) | (cc & 0x3F);
            }
            static const char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok && (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        }
        if (!ok) {
            cp = AnsiToUnicode(c);
            n = 1;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += n;
    }
    return out;
}

// Units of a string value: bytes of a byte string, UTF-16 units of a wide one.
struct TStringUnits {
    std::vector<std::uint32_t> Units;
    bool Wide = false;
};

std::string EncodePiece(const TStringUnits& s, std::size_t from, std::size_t to) {
    std::string out;
    bool quoted = false;
    for (std::size_t i = from; i < to; ++i) {
        std::uint32_t u = s.Units[i];
        bool literal = u >= 32 && (s.Wide ? u < 127 : u < 256);
        if (literal) {
            if (!quoted) out += '\'';
            quoted = true;
            if (u == '\'') out += '\'';
            out += static_cast<char>(u);
        } else {
            if (quoted) out += '\'';
            quoted = false;
            out += '#' + std::to_string(u);
        }
    }
    if (quoted) out += '\'';
    return out.empty() ? "''" : out;
}

class TBinaryToText {
public:
    TBinaryToText(TStream& input, std::string& out) : R(input), Out(out) {}

    void Object(const std::string& indent, int depth) {
        if (depth > MaxNesting) throw EReadError("Invalid stream format: objects nested too deeply");
        int flags;
        std::int64_t childPos;
        std::string className, name;
        const std::int64_t at = R.Position();
        R.ReadObjectHeader(flags, childPos, className, name);
        CheckName(className, false, "class name", at);
        if (!name.empty()) CheckName(name, false, "object name", at);
        Out += indent;
        Out += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
        if (!name.empty()) Out += name + ": ";
        Out += className;
        if (flags & ffChildPos) Out += " [" + std::to_string(childPos) + "]";
        Out += CRLF;
        std::string inner = indent + "  ";
        while (!R.EndOfList()) Property(inner, depth);
        R.ReadListEnd();
        while (!R.EndOfList()) Object(inner, depth + 1);
        R.ReadListEnd();
        Out += indent + "end" + CRLF;
    }

private:
    // A name the text reader would not read back is refused, rather than written as it stands.
    [[noreturn]] void Untextual(const std::string& what, std::int64_t at) {
        throw EReadError("Invalid stream format: " + what + " has no text form at offset " + std::to_string(at));
    }
    void CheckName(const std::string& name, bool dotted, const char* what, std::int64_t at) {
        if (!IsName(name, dotted)) Untextual(std::string(what) + " '" + name + "'", at);
    }

    template <class F>
    std::string CheckedFloat(F value, std::int64_t at, std::size_t bytes) {
        std::string text = FloatText(value);
        F back{};
        if (!ParseFloat(text, back) || std::memcmp(&back, &value, bytes) != 0) Untextual("floating point value", at);
        return text;
    }

    void Property(const std::string& indent, int depth) {
        const std::int64_t at = R.Position();
        std::string name = R.ReadStr();
        CheckName(name, true, "property name", at);
        // The text reader takes these words, at the start of a line, for the object's structure.
        std::string_view first = std::string_view(name).substr(0, name.find('.'));
        for (const char* word : {"end", "object", "inherited", "inline"})
            if (SameText(first, word)) Untextual("property name '" + name + "'", at);
        Out += indent + name + " = ";
        Value(R.ReadValue(), indent, false, depth + 1);
        Out += CRLF;
    }

    // indent is that of the line the value starts on; atLineStart when nothing precedes it there.
    void Value(TValueType type, const std::string& indent, bool atLineStart, int depth) {
        if (depth > MaxNesting) throw EReadError("Invalid stream format: values nested too deeply");
        switch (type) {
        case vaNull: Out += "Null"; return;
        case vaList: {
            Out += "(";
            std::string inner = indent + "  ";
            while (!R.EndOfList()) {
                Out += CRLF + inner;
                Value(R.ReadValue(), inner, true, depth + 1);
            }
            R.ReadListEnd();
            Out += ")";
            return;
        }
        case vaInt8: case vaInt16: case vaInt32: case vaInt64:
            Out += std::to_string(R.ReadInteger(type));
            return;
        case vaQWord: Out += std::to_string(R.ReadQWord()); return;
        case vaExtended: {
            const std::int64_t at = R.Position();
            Out += CheckedFloat(R.ReadExtended(), at, 10);
            return;
        }
        case vaSingle: {
            const std::int64_t at = R.Position();
            Out += CheckedFloat(R.ReadSingle(), at, 4) + "S";
            return;
        }
        case vaDate: {
            const std::int64_t at = R.Position();
            Out += CheckedFloat(R.ReadDate(), at, 8) + "D";
            return;
        }
        case vaCurrency: Out += CurrencyText(R.ReadCurrency()); return;
        case vaString: case vaLString: {
            TStringUnits s;
            for (unsigned char c : R.ReadString(type)) s.Units.push_back(c);
            String(s, indent, atLineStart);
            return;
        }
        case vaUTF8String: case vaWString: case vaUString: {
            std::u16string w = type == vaUTF8String ? Utf8ToUnits(R.ReadString(type)) : R.ReadWideString(type);
            TStringUnits s;
            s.Wide = true;
            s.Units.assign(w.begin(), w.end());
            String(s, indent, atLineStart);
            return;
        }
        case vaIdent: {
            const std::int64_t at = R.Position();
            std::string ident = R.ReadString(type);
            CheckName(ident, true, "identifier", at);
            Out += ident;
            return;
        }
        case vaFalse: Out += "False"; return;
        case vaTrue: Out += "True"; return;
        case vaNil: Out += "nil"; return;
        case vaSet: {
            Out += "[";
            bool first = true;
            const std::int64_t at = R.Position();
            for (const std::string& e : R.ReadSet()) {
                CheckName(e, false, "set element", at);
                if (!first) Out += ", ";
                first = false;
                Out += e;
            }
            Out += "]";
            return;
        }
        case vaBinary: {
            std::string data = R.ReadBinary();
            static const char hex[] = "0123456789ABCDEF";
            Out += "{";
            for (std::size_t i = 0; i < data.size(); ++i) {
                if (i % BinaryLine == 0) Out += CRLF + indent + "  ";
                unsigned char b = static_cast<unsigned char>(data[i]);
                Out += hex[b >> 4];
                Out += hex[b & 15];
            }
            Out += "}";
            return;
        }
        case vaCollection: {
            Out += "<";
            std::string item = indent + "  ";
            while (!R.EndOfList()) {
                Out += CRLF + item + "item";
                TValueType t = R.ReadValue();
                if (t != vaList) {
                    if (t != vaInt8 && t != vaInt16 && t != vaInt32 && t != vaInt64)
                        throw EReadError("Invalid stream format: collection item expected at offset " +
                                         std::to_string(R.Position() - 1));
                    Out += " [" + std::to_string(R.ReadInteger(t)) + "]";
                    std::int64_t at = R.Position();
                    if (R.ReadValue() != vaList)
                        throw EReadError("Invalid stream format: collection item expected at offset " + std::to_string(at));
                }
                Out += CRLF;
                while (!R.EndOfList()) Property(item + "  ", depth + 1);
                R.ReadListEnd();
                Out += item + "end";
            }
            R.ReadListEnd();
            Out += ">";
            return;
        }
        }
    }

    void String(const TStringUnits& s, const std::string& indent, bool atLineStart) {
        std::size_t n = s.Units.size();
        if (n <= PieceLength) {
            Out += EncodePiece(s, 0, n);
            return;
        }
        std::string cont = atLineStart ? indent : indent + "  ";
        if (!atLineStart) Out += CRLF + cont;
        for (std::size_t i = 0; i < n; i += PieceLength) {
            if (i > 0) Out += " +" + std::string(CRLF) + cont;
            Out += EncodePiece(s, i, std::min(n, i + PieceLength));
        }
    }

    TBinaryObjectReader R;
    std::string& Out;
};

// ---- text to binary ----

enum TTokenKind { tkEOF, tkSymbol, tkInteger, tkFloat, tkString, tkChar };

struct TToken {
    TTokenKind Kind = tkEOF;
    std::string Text;      // symbol, number without its suffix
    char Char = 0;         // tkChar
    char FloatType = 0;    // 'S', 'C', 'D' or 0
    std::string Bytes;     // tkString as a byte string
    std::u16string Wide;   // tkString as a wide string
    bool IsWide = false;   // a character above 255 needs the wide form
    int Line = 1;
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

class TTextToBinary {
public:
    TTextToBinary(std::string_view text, TStream& out) : FText(text), W(out) { NextToken(); }

    // Converts the one object; answers the offset just after its "end".
    std::size_t Convert() {
        W.WriteSignature();
        Object(0);
        return FEndOffset;
    }

private:
    [[noreturn]] void Error(const std::string& what, int line) {
        throw EParserError(what + " on line " + std::to_string(line));
    }
    [[noreturn]] void Error(const std::string& what) { Error(what, T.Line); }

    bool IsChar(char c) const { return T.Kind == tkChar && T.Char == c; }
    bool IsSymbol(std::string_view s) const { return T.Kind == tkSymbol && SameText(T.Text, s); }
    void ExpectChar(char c) {
        if (!IsChar(c)) Error(std::string("'") + c + "' expected");
    }
    void ExpectSymbol() {
        if (T.Kind != tkSymbol) Error("Identifier expected");
    }

    // Blanks and control characters separate tokens; a line ends at CR LF, LF or CR.
    void SkipBlanks() {
        while (FPos < FText.size()) {
            char c = FText[FPos];
            if (c == '\n' || (c == '\r' && (FPos + 1 >= FText.size() || FText[FPos + 1] != '\n'))) ++FLine;
            else if (static_cast<unsigned char>(c) > ' ' || c == '\0') return;
            ++FPos;
        }
    }

    void NextToken() {
        SkipBlanks();
        T = TToken();
        T.Line = FLine;
        if (FPos >= FText.size()) return;
        char c = FText[FPos];
        if (IsIdentStart(c)) {
            std::size_t start = FPos;
            while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
            T.Kind = tkSymbol;
            T.Text = FText.substr(start, FPos - start);
            if (T.Text.size() > 255) Error("Identifier too long");
        } else if (c == '$') {
            std::size_t start = ++FPos;
            while (FPos < FText.size() && HexValue(FText[FPos]) >= 0) ++FPos;
            if (FPos == start || FPos - start > 16 || (FPos < FText.size() && IsIdentChar(FText[FPos])))
                Error("Invalid integer");
            T.Kind = tkInteger;
            T.Text = "$" + std::string(FText.substr(start, FPos - start));
        } else if (IsDigit(c) || (c == '-' && FPos + 1 < FText.size() && IsDigit(FText[FPos + 1]))) {
            Number();
        } else if (c == '\'' || c == '#') {
            String();
        } else {
            T.Kind = tkChar;
            T.Char = c;
            ++FPos;
        }
    }

    void Number() {
        std::size_t start = FPos;
        auto digits = [&] {
            std::size_t from = FPos;
            while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
            return FPos > from;
        };
        if (FText[FPos] == '-') ++FPos;
        digits();
        T.Kind = tkInteger;
        if (FPos < FText.size() && FText[FPos] == '.') {
            ++FPos;
            digits();
            T.Kind = tkFloat;
        }
        if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
            ++FPos;
            if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-')) ++FPos;
            if (!digits()) Error("Invalid number");
            T.Kind = tkFloat;
        }
        T.Text = FText.substr(start, FPos - start);
        if (FPos < FText.size()) {
            char s = static_cast<char>(FText[FPos] & ~0x20);
            if (s == 'S' || s == 'C' || s == 'D') {
                T.Kind = tkFloat;
                T.FloatType = s;
                ++FPos;
            }
        }
        if (FPos < FText.size() && (IsIdentChar(FText[FPos]) || FText[FPos] == '.')) Error("Invalid number");
    }

    void String() {
        T.Kind = tkString;
        while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
            if (FText[FPos] == '\'') {
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size() || FText[FPos] == '\r' || FText[FPos] == '\n') Error("Unterminated string");
                    char c = FText[FPos++];
                    if (c == '\'') {
                        if (FPos < FText.size() && FText[FPos] == '\'') ++FPos;
                        else break;
                    }
                    T.Bytes += c;
                    T.Wide += static_cast<char16_t>(AnsiToUnicode(static_cast<unsigned char>(c)));
                }
            } else {
                std::size_t start = ++FPos;
                std::uint32_t code = 0;
                while (FPos < FText.size() && IsDigit(FText[FPos])) {
                    code = code * 10 + static_cast<std::uint32_t>(FText[FPos] - '0');
                    if (code > 0xFFFF) Error("Invalid character code");
                    ++FPos;
                }
                if (FPos == start) Error("Invalid character code");
                if (code > 255) T.IsWide = true;
                T.Bytes += static_cast<char>(code & 0xFF);
                T.Wide += static_cast<char16_t>(code);
            }
        }
    }

    void Object(int depth) {
        if (depth > MaxNesting) Error("Objects nested too deeply");
        int flags = 0;
        if (IsSymbol("inherited")) flags = ffInherited;
        else if (IsSymbol("inline")) flags = ffInline;
        else if (!IsSymbol("object")) Error("'object' expected");
        NextToken();
        ExpectSymbol();
        std::string name, className = T.Text;
        NextToken();
        if (IsChar(':')) {
            NextToken();
            ExpectSymbol();
            name = className;
            className = T.Text;
            NextToken();
        }
        std::int64_t childPos = 0;
        if (IsChar('[')) {
            NextToken();
            childPos = Integer("Number expected");
            NextToken();
            ExpectChar(']');
            NextToken();
            flags |= ffChildPos;
        }
        W.WriteObjectHeader(flags, childPos, className, name);
        while (!IsSymbol("end") && !IsSymbol("object") && !IsSymbol("inherited") && !IsSymbol("inline")) {
            if (T.Kind == tkEOF) Error("'end' expected");
            Property(depth);
        }
        W.WriteListEnd();
        while (!IsSymbol("end")) {
            if (T.Kind == tkEOF) Error("'end' expected");
            Object(depth + 1);
        }
        W.WriteListEnd();
        // What follows the outermost object is not ours to read.
        if (depth == 0) FEndOffset = FPos;
        else NextToken();
    }

    // A name or identifier with its dotted parts: Font.Name, Form2.Button1.
    std::string DottedName() {
        ExpectSymbol();
        std::string name = T.Text;
        NextToken();
        while (IsChar('.')) {
            NextToken();
            ExpectSymbol();
            name += "." + T.Text;
            NextToken();
        }
        if (name.size() > 255) Error("Identifier too long");
        return name;
    }

    void Property(int depth) {
        W.WriteStr(DottedName());
        ExpectChar('=');
        NextToken();
        Value(depth + 1, false);
    }

    std::int64_t Integer(const char* expected) {
        if (T.Kind != tkInteger) Error(expected);
        bool big;
        std::uint64_t u = IntegerValue(big);
        if (big) Error("Invalid integer");
        return static_cast<std::int64_t>(u);
    }

    // The token's value as a 64-bit pattern; big when it is a positive decimal above the Int64 range.
    std::uint64_t IntegerValue(bool& big) {
        big = false;
        const std::string& s = T.Text;
        std::uint64_t v = 0;
        if (s[0] == '$') {
            for (std::size_t i = 1; i < s.size(); ++i) v = (v << 4) | static_cast<std::uint64_t>(HexValue(s[i]));
            return v;
        }
        bool negative = s[0] == '-';
        auto r = std::from_chars(s.data() + (negative ? 1 : 0), s.data() + s.size(), v);
        if (r.ec != std::errc()) Error("Invalid integer");
        if (negative) {
            if (v > static_cast<std::uint64_t>(INT64_MAX) + 1) Error("Invalid integer");
            return 0 - v;
        }
        big = v > static_cast<std::uint64_t>(INT64_MAX);
        return v;
    }

    template <class F>
    F FloatValue(const std::string& s) {
        F v;
        if (!ParseFloat(s, v)) Error("Invalid floating point number");
        return v;
    }

    // Currency exactly, from the decimal digits: ten-thousandths, rounded half away from zero.
    std::int64_t CurrencyValue(const std::string& s) {
        bool negative = s[0] == '-';
        std::string digits;
        int exponent = 0;
        std::size_t i = negative ? 1 : 0;
        for (; i < s.size() && IsDigit(s[i]); ++i) digits += s[i];
        if (i < s.size() && s[i] == '.')
            for (++i; i < s.size() && IsDigit(s[i]); ++i, --exponent) digits += s[i];
        if (i < s.size()) {
            int e = 0;
            auto r = std::from_chars(s.data() + i + 1 + (s[i + 1] == '+' ? 1 : 0), s.data() + s.size(), e);
            if (r.ec != std::errc()) Error("Invalid floating point number");
            exponent += e;
        }
        exponent += 4;
        std::size_t zeros = digits.find_first_not_of('0');
        digits.erase(0, zeros == std::string::npos ? digits.size() : zeros);
        __int128 v = 0;
        for (std::size_t k = 0; k < digits.size(); ++k) {
            int pos = static_cast<int>(digits.size() - k) - 1 + exponent; // power of ten of this digit
            if (pos < -1) break;
            if (pos == -1) {
                if (digits[k] >= '5') ++v;
                break;
            }
            if (pos > 19) Error("Invalid floating point number");
            __int128 d = digits[k] - '0';
            for (int p = 0; p < pos; ++p) d *= 10;
            v += d;
            if (v > static_cast<__int128>(INT64_MAX) + 1) Error("Invalid floating point number");
        }
        if (!negative && v > INT64_MAX) Error("Invalid floating point number");
        return static_cast<std::int64_t>(negative ? -v : v);
    }

    void Value(int depth, bool inList) {
        if (depth > MaxNesting) Error("Values nested too deeply");
        switch (T.Kind) {
        case tkInteger: {
            bool big;
            std::uint64_t u = IntegerValue(big);
            if (big) W.WriteUnsigned(u);
            else W.WriteInteger(static_cast<std::int64_t>(u));
            NextToken();
            return;
        }
        case tkFloat:
            switch (T.FloatType) {
            case 'S': W.WriteSingle(FloatValue<float>(T.Text)); break;
            case 'D': W.WriteDate(FloatValue<double>(T.Text)); break;
            case 'C': W.WriteCurrency(CurrencyValue(T.Text)); break;
            default: W.WriteExtended(FloatValue<long double>(T.Text)); break;
            }
            NextToken();
            return;
        case tkString: {
            std::string bytes = T.Bytes;
            std::u16string wide = T.Wide;
            bool isWide = T.IsWide;
            NextToken();
            while (IsChar('+')) {
                NextToken();
                if (T.Kind != tkString) Error("String expected");
                bytes += T.Bytes;
                wide += T.Wide;
                isWide = isWide || T.IsWide;
                NextToken();
            }
            if (isWide) W.WriteWideString(wide);
            else W.WriteString(bytes);
            return;
        }
        case tkSymbol: {
            std::string ident = DottedName();
            // In a list a null would end the list; there it stays an identifier.
            if (!inList && SameText(ident, "Null")) W.WriteValue(vaNull);
            else W.WriteIdent(ident);
            return;
        }
        case tkChar: break;
        case tkEOF: Error("Unexpected end of text");
        }
        switch (T.Char) {
        case '[': {
            std::vector<std::string> elements;
            NextToken();
            if (!IsChar(']')) {
                for (;;) {
                    ExpectSymbol();
                    elements.push_back(T.Text);
                    NextToken();
                    if (IsChar(']')) break;
                    ExpectChar(',');
                    NextToken();
                }
            }
            W.WriteSet(elements);
            NextToken();
            return;
        }
        case '(':
            NextToken();
            W.WriteValue(vaList);
            while (!IsChar(')')) {
                if (T.Kind == tkEOF) Error("')' expected");
                Value(depth + 1, true);
            }
            W.WriteListEnd();
            NextToken();
            return;
        case '<':
            NextToken();
            W.WriteValue(vaCollection);
            while (!IsChar('>')) {
                if (!IsSymbol("item")) Error("'item' expected");
                NextToken();
                if (IsChar('[')) {
                    NextToken();
                    W.WriteInteger(Integer("Number expected"));
                    NextToken();
                    ExpectChar(']');
                    NextToken();
                }
                W.WriteValue(vaList);
                while (!IsSymbol("end")) {
                    if (T.Kind == tkEOF) Error("'end' expected");
                    Property(depth + 1);
                }
                W.WriteListEnd();
                NextToken();
            }
            W.WriteListEnd();
            NextToken();
            return;
        case '{':
            Binary();
            NextToken();
            return;
        default: Error("Invalid property value");
        }
    }

    // The hex digits after '{', up to '}', in pairs with blanks anywhere between the pairs.
    void Binary() {
        std::string data;
        for (;;) {
            SkipBlanks();
            if (FPos >= FText.size()) Error("Invalid binary value", FLine);
            if (FText[FPos] == '}') break;
            int hi = HexValue(FText[FPos]);
            int lo = FPos + 1 < FText.size() ? HexValue(FText[FPos + 1]) : -1;
            if (hi < 0 || lo < 0) Error("Invalid binary value", FLine);
            data += static_cast<char>(hi * 16 + lo);
            FPos += 2;
        }
        ++FPos;
        W.WriteBinary(data.data(), data.size());
    }

    std::string_view FText;
    std::size_t FPos = 0;
    int FLine = 1;
    std::size_t FEndOffset = 0;
    TToken T;
    TBinaryObjectWriter W;
};

void WriteResourceHeader(TStream& output, const std::string& className, std::uint32_t dataSize) {
    std::string h;
    h += '\xFF';
    h += '\x0A';
    h += '\0';
    h += UpperAscii(className);
    h += '\0';
    h += '\x30';
    h += '\x10';
    for (int i = 0; i < 4; ++i) h += static_cast<char>((dataSize >> (8 * i)) & 0xFF);
    output.WriteBuffer(h.data(), static_cast<std::int64_t>(h.size()));
}

[[noreturn]] void fail(const std::string& what) { throw EReadError("Invalid form file: " + what); }

// Skips the resource header. Its data size is not relied on, as the class library did not: the
// object's own structure tells where it ends.
void ReadResourceHeader(TStream& input) {
    unsigned char b[4];
    if (input.Read(b, 3) != 3) fail("resource header expected");
    if (b[0] != 0xFF || b[1] != 0x0A || b[2] != 0x00) fail("resource header expected");
    if (input.Read(b, 1) != 1) fail("truncated resource header");
    if (b[0] == 0xFF) {
        if (input.Read(b, 2) != 2) fail("truncated resource header");
    } else {
        while (b[0] != 0)
            if (input.Read(b, 1) != 1) fail("truncated resource header");
    }
    // The memory flags are not checked: they do not change how the data reads.
    if (input.Read(b, 2) != 2 || input.Read(b, 4) != 4) fail("truncated resource header");
}

void BinaryToText(TStream& input, std::string& text) {
    TBinaryObjectReader reader(input);
    reader.ReadSignature();
    TBinaryToText(input, text).Object("", 0);
}

void TextToBinary(TStream& input, TMemoryStream& binary) {
    std::int64_t start = input.Position();
    std::string text = ReadRest(input);
    std::size_t end = TTextToBinary(text, binary).Convert();
    input.SetPosition(start + static_cast<std::int64_t>(end));
}

} // namespace

void ObjectBinaryToText(TStream& input, TStream& output) {
    std::string text;
    BinaryToText(input, text);
    output.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void ObjectTextToBinary(TStream& input, TStream& output) {
    TMemoryStream binary;
    TextToBinary(input, binary);
    output.WriteBuffer(binary.Memory(), binary.Size());
}

void ObjectResourceToText(TStream& input, TStream& output) {
    ReadResourceHeader(input);
    std::string text;
    BinaryToText(input, text);
    output.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void ObjectTextToResource(TStream& input, TStream& output) {
    TMemoryStream binary;
    TextToBinary(input, binary);
    binary.SetPosition(0);
    TBinaryObjectReader reader(binary);
    reader.ReadSignature();
    int flags;
    std::int64_t childPos;
    std::string className, name;
    reader.ReadObjectHeader(flags, childPos, className, name);
    if (binary.Size() > UINT32_MAX) throw EWriteError("Form too large");
    TMemoryStream result;
    WriteResourceHeader(result, className, static_cast<std::uint32_t>(binary.Size()));
    result.WriteBuffer(binary.Memory(), binary.Size());
    output.WriteBuffer(result.Memory(), result.Size());
}

void ObjectResourceFileToTextFile(std::string_view resourceFile, std::string_view textFile) {
    TMemoryStream text;
    {
        TFileStream input(resourceFile, fmOpenRead | fmShareDenyWrite);
        ObjectResourceToText(input, text);
    }
    WriteFileAtomic(textFile, std::string_view(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size())));
}

void ObjectTextFileToResourceFile(std::string_view textFile, std::string_view resourceFile) {
    TMemoryStream binary;
    {
        TFileStream input(textFile, fmOpenRead | fmShareDenyWrite);
        ObjectTextToResource(input, binary);
    }
    WriteFileAtomic(resourceFile, std::string_view(static_cast<const char*>(binary.Memory()), static_cast<std::size_t>(binary.Size())));
}

} // namespace rtl
