#include "ide/Project.h"

#include "ide/WinNames.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"

#include <cctype>
#include <charconv>
#include <map>

namespace ide {

namespace {

bool SameText(std::string_view a, std::string_view b) { return SameWinName(a, b); }

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

enum class TTokenKind { Ident, String, Symbol, End };

struct TToken {
    TTokenKind Kind = TTokenKind::End;
    std::string Text;
};

// Just enough Pascal to walk a uses clause: identifiers, quoted strings, single symbols.
class TPascalTokens {
public:
    explicit TPascalTokens(std::string_view text) : FText(text) {}

    TToken Next() {
        SkipBlanksAndComments();
        if (FPos >= FText.size())
            return {};
        char c = FText[FPos];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = FPos;
            while (FPos < FText.size() && (std::isalnum(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '_'))
                ++FPos;
            return {TTokenKind::Ident, std::string(FText.substr(start, FPos - start))};
        }
        if (c == '\'') {
            std::string s;
            ++FPos;
            while (FPos < FText.size()) {
                if (FText[FPos] == '\'') {
                    if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                        s += '\'';
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    break;
                }
                if (FText[FPos] == '\r' || FText[FPos] == '\n')
                    break; // an unclosed string ends with its line
                s += FText[FPos++];
            }
            return {TTokenKind::String, s};
        }
        ++FPos;
        return {TTokenKind::Symbol, std::string(1, c)};
    }

private:
    void SkipBlanksAndComments() {
        while (FPos < FText.size()) {
            char c = FText[FPos];
            if (static_cast<unsigned char>(c) <= ' ') {
                ++FPos;
            } else if (c == '{') {
                size_t e = FText.find('}', FPos + 1);
                FPos = e == std::string_view::npos ? FText.size() : e + 1;
            } else if (c == '(' && FPos + 1 < FText.size() && FText[FPos + 1] == '*') {
                size_t e = FText.find("*)", FPos + 2);
                FPos = e == std::string_view::npos ? FText.size() : e + 2;
            } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
                size_t e = FText.find_first_of("\r\n", FPos);
                FPos = e == std::string_view::npos ? FText.size() : e;
            } else {
                break;
            }
        }
    }

    std::string_view FText;
    size_t FPos = 0;
};

// The desktop file's lines, with the few keys the IDE writes set in place.
class TIniText {
public:
    explicit TIniText(std::string_view text) {
        size_t start = 0;
        while (start < text.size()) {
            size_t e = text.find_first_of("\r\n", start);
            if (e == std::string_view::npos) {
                FLines.emplace_back(text.substr(start));
                break;
            }
            FLines.emplace_back(text.substr(start, e - start));
            start = e + 1;
            if (text[e] == '\r' && start < text.size() && text[start] == '\n')
                ++start;
        }
    }

    std::string Read(std::string_view section, std::string_view key) const {
        bool in = false;
        for (const std::string& line : FLines) {
            std::string t = Trim(line);
            if (!t.empty() && t.front() == '[') {
                in = t.back() == ']' && SameText(Trim(t.substr(1, t.size() - 2)), section);
                continue;
            }
            size_t eq = t.find('=');
            if (in && eq != std::string::npos && SameText(Trim(t.substr(0, eq)), key))
                return Trim(t.substr(eq + 1));
        }
        return {};
    }

    void Write(const std::string& section, const std::string& key, const std::string& value) {
        std::string line = key + "=" + value;
        bool in = false;
        size_t lastInSection = std::string::npos;
        for (size_t i = 0; i < FLines.size(); ++i) {
            std::string t = Trim(FLines[i]);
            if (!t.empty() && t.front() == '[') {
                if (in)
                    break;
                in = t.back() == ']' && SameText(Trim(t.substr(1, t.size() - 2)), section);
                if (in)
                    lastInSection = i;
                continue;
            }
            if (!in)
                continue;
            size_t eq = t.find('=');
            if (eq != std::string::npos && SameText(Trim(t.substr(0, eq)), key)) {
                FLines[i] = line;
                return;
            }
            if (!t.empty())
                lastInSection = i;
        }
        if (lastInSection == std::string::npos) {
            if (!FLines.empty() && !Trim(FLines.back()).empty())
                FLines.emplace_back();
            FLines.push_back("[" + section + "]");
            FLines.push_back(line);
        } else {
            FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(lastInSection) + 1, line);
        }
    }

    std::string Text() const {
        std::string s;
        for (const std::string& l : FLines)
            s += l + "\r\n";
        return s;
    }

private:
    std::vector<std::string> FLines;
};

int ReadInt(const TIniText& ini, std::string_view section, std::string_view key, int def) {
    std::string v = ini.Read(section, key);
    int n = 0;
    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    return ec == std::errc() && p == v.data() + v.size() && !v.empty() ? n : def;
}

TWindowPlace ReadPlace(const TIniText& ini, std::string_view section, TWindowPlace def) {
    return {ReadInt(ini, section, "Left", def.Left), ReadInt(ini, section, "Top", def.Top),
            ReadInt(ini, section, "Width", def.Width), ReadInt(ini, section, "Height", def.Height)};
}

void WritePlace(TIniText& ini, const std::string& section, const TWindowPlace& p) {
    ini.Write(section, "Left", std::to_string(p.Left));
    ini.Write(section, "Top", std::to_string(p.Top));
    ini.Write(section, "Width", std::to_string(p.Width));
    ini.Write(section, "Height", std::to_string(p.Height));
}

} // namespace

std::string TProject::Folder() const { return rtl::ExtractFilePath(FFileName); }

std::string TProject::DesktopFile() const { return IsOpen() ? rtl::ChangeFileExt(FFileName, ".DSK") : std::string(); }

void TProject::Open(const std::string& fileName) {
    FFileName = fileName;
    ReadDesktop();
}

void TProject::Close() {
    FFileName.clear();
    EditWindow = {};
    PropertyInspector = {};
}

std::vector<TUsesEntry> TProject::ParseUses(std::string_view text) {
    std::vector<TUsesEntry> entries;
    TPascalTokens tokens(text);
    TToken t;
    do {
        t = tokens.Next();
        if (t.Kind == TTokenKind::Ident && SameText(t.Text, "begin"))
            return entries; // no uses clause before the main block
    } while (t.Kind != TTokenKind::End && !(t.Kind == TTokenKind::Ident && SameText(t.Text, "uses")));
    while (t.Kind != TTokenKind::End) {
        t = tokens.Next();
        if (t.Kind != TTokenKind::Ident)
            break;
        TUsesEntry entry{t.Text, {}};
        t = tokens.Next();
        while (t.Kind == TTokenKind::Symbol && t.Text == ".") { // dotted names
            t = tokens.Next();
            if (t.Kind == TTokenKind::Ident)
                entry.UnitName += "." + t.Text;
            t = tokens.Next();
        }
        if (t.Kind == TTokenKind::Ident && SameText(t.Text, "in")) {
            t = tokens.Next();
            if (t.Kind == TTokenKind::String)
                entry.InFile = t.Text;
            t = tokens.Next();
        }
        entries.push_back(std::move(entry));
        if (!(t.Kind == TTokenKind::Symbol && t.Text == ","))
            break;
    }
    return entries;
}

std::vector<std::string> TProject::UnitFiles(std::string_view projectText) const {
    std::vector<std::string> files;
    if (!IsOpen())
        return files;
    files.push_back(FFileName);
    std::string folder = Folder();
    for (const TUsesEntry& e : ParseUses(projectText)) {
        std::string name = e.InFile.empty() ? e.UnitName + ".pas" : e.InFile;
        bool rooted = name.size() >= 2 && (name[1] == ':' || name[0] == '\\' || name[0] == '/');
        files.push_back(FullWinName(rooted ? name : folder + name));
    }
    return files;
}

void TProject::ReadDesktop() {
    auto text = ReadWholeFile(DesktopFile());
    TIniText ini(text ? *text : std::string());
    EditWindow = ReadPlace(ini, "EditWindow0", DefaultEditWindow);
    PropertyInspector = ReadPlace(ini, "PropertyInspector", DefaultPropertyInspector);
}

bool TProject::WriteDesktop() const {
    if (!IsOpen())
        return false;
    auto text = ReadWholeFile(DesktopFile());
    TIniText ini(text ? *text : std::string());
    WritePlace(ini, "EditWindow0", EditWindow);
    WritePlace(ini, "PropertyInspector", PropertyInspector);
    return WriteWholeFile(DesktopFile(), ini.Text());
}

} // namespace ide
