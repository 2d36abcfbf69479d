#include "ide/Project.h"

#include "ide/WinNames.h"

#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Paths.h"

#include <cctype>
#include <utility>

namespace ide {

namespace {

bool SameText(std::string_view a, std::string_view b) { return SameWinName(a, b); }

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

// The desktop file is a profile file, read and written by the profile rules, so that the IDE
// and the libraries that read it see the same values.
TWindowPlace ReadPlace(const rtl::TIniFile& ini, const std::string& section, TWindowPlace def) {
    return {ini.ReadInteger(section, "Left", def.Left), ini.ReadInteger(section, "Top", def.Top),
            ini.ReadInteger(section, "Width", def.Width), ini.ReadInteger(section, "Height", def.Height)};
}

// Only the values that differ are written, so that saving an unchanged desktop rewrites nothing.
void WritePlace(rtl::TIniFile& ini, const std::string& section, const TWindowPlace& p) {
    const std::pair<const char*, int> values[] = {{"Left", p.Left}, {"Top", p.Top}, {"Width", p.Width}, {"Height", p.Height}};
    for (const auto& [key, value] : values) {
        const std::string text = std::to_string(value);
        if (ini.ReadString(section, key, "") != text) ini.WriteString(section, key, text);
    }
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
    const rtl::TIniFile ini(DesktopFile());
    EditWindow = ReadPlace(ini, "EditWindow0", DefaultEditWindow);
    PropertyInspector = ReadPlace(ini, "PropertyInspector", DefaultPropertyInspector);
}

bool TProject::WriteDesktop() const {
    if (!IsOpen())
        return false;
    rtl::TIniFile ini(DesktopFile());
    try {
        WritePlace(ini, "EditWindow0", EditWindow);
        WritePlace(ini, "PropertyInspector", PropertyInspector);
    } catch (const rtl::EIniFileException&) {
        return false;
    }
    return true;
}

} // namespace ide
