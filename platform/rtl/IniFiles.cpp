// Profile files as lines: every line is kept with its own line ending, and a change touches only
// the lines it must.
#include "rtl/IniFiles.h"

#include "rtl/CodePages.h"
#include "rtl/LineSplitter.h"
#include "rtl/LockedFile.h"
#include "rtl/Paths.h"
#include "rtl/StringLists.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace rtl {
namespace {

const char* const kBlanks = " \t";

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (CharUpper(a[i]) != CharUpper(b[i])) return false;
    return true;
}

enum class TLineKind { Other, Section, Key };

struct TLine {
    std::string Text;
    std::string Eol; // "\r\n", "\n", "\r" or "" for a last line without one
    bool Header = false; // a section header, noted once so that indexing needs no parsing
};

struct TParsedLine {
    TLineKind Kind = TLineKind::Other;
    std::string_view Name;  // section or key name, trimmed
    std::string_view Value; // key value, trimmed, one pair of quotes removed
};

TParsedLine ParseLine(const std::string& text) {
    TParsedLine p;
    std::string_view t = TrimBlanks(text);
    if (t.empty() || t[0] == ';') return p;
    if (t[0] == '[') {
        std::size_t close = t.find(']');
        p.Kind = TLineKind::Section;
        p.Name = TrimBlanks(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        return p;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return p;
    p.Name = TrimBlanks(t.substr(0, eq));
    if (p.Name.empty()) return p;
    p.Kind = TLineKind::Key;
    std::string_view v = TrimBlanks(t.substr(eq + 1));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
    p.Value = v;
    return p;
}

// One profile file's lines.
class TIniText {
public:
    explicit TIniText(const std::string& content) {
        TLineSplitter lines(content);
        for (std::string_view text; lines.Next(text);) {
            TLine line{std::string(text), std::string(lines.Break())};
            line.Header = ParseLine(line.Text).Kind == TLineKind::Section;
            FLines.push_back(std::move(line));
        }
    }

    std::string Text() const {
        std::size_t size = 0;
        for (const TLine& l : FLines) size += l.Text.size() + l.Eol.size();
        std::string s;
        s.reserve(size);
        for (const TLine& l : FLines) s.append(l.Text).append(l.Eol);
        return s;
    }

    // Index of the first header of that name, or npos.
    std::size_t FindSection(std::string_view name) const {
        BuildIndex();
        auto it = FFirstHeader.find(CharUpperStr(name));
        return it == FFirstHeader.end() ? npos : it->second;
    }
    // One past the last line of the section whose header is at index header.
    std::size_t SectionEnd(std::size_t header) const {
        BuildIndex();
        auto next = std::upper_bound(FHeaders.begin(), FHeaders.end(), header);
        return next == FHeaders.end() ? FLines.size() : *next;
    }
    std::size_t FindKey(std::size_t header, std::string_view key) const {
        for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
            TParsedLine p = ParseLine(FLines[i].Text);
            if (p.Kind == TLineKind::Key && SameName(p.Name, key)) return i;
        }
        return npos;
    }

    std::optional<std::string> Value(std::string_view section, std::string_view key) const {
        std::size_t h = FindSection(section);
        if (h == npos) return std::nullopt;
        std::size_t k = FindKey(h, key);
        if (k == npos) return std::nullopt;
        return std::string(ParseLine(FLines[k].Text).Value);
    }

    std::vector<std::string> SectionNames() const {
        std::vector<std::string> names;
        for (const TLine& l : FLines) {
            TParsedLine p = ParseLine(l.Text);
            if (p.Kind == TLineKind::Section) AddOnce(names, p.Name);
        }
        return names;
    }

    // Key names of the section, or "key=value" pairs.
    std::vector<std::string> Keys(std::string_view section, bool withValues) const {
        std::vector<std::string> keys;
        std::size_t h = FindSection(section);
        if (h == npos) return keys;
        std::vector<std::string> seen;
        for (std::size_t i = h + 1, end = SectionEnd(h); i < end; ++i) {
            TParsedLine p = ParseLine(FLines[i].Text);
            if (p.Kind != TLineKind::Key || !AddOnce(seen, p.Name)) continue;
            keys.push_back(withValues ? std::string(p.Name) + "=" + std::string(p.Value) : std::string(p.Name));
        }
        return keys;
    }

    void SetValue(std::string_view section, std::string_view key, std::string_view value) {
        std::size_t h = FindSection(section);
        if (h == npos) {
            if (!FLines.empty()) {
                if (FLines.back().Eol.empty()) FLines.back().Eol = Eol();
                if (!TrimBlanks(FLines.back().Text).empty()) FLines.push_back({"", Eol()});
            }
            FLines.push_back({std::string("[").append(section).append("]"), Eol(), true});
            FLines.push_back({std::string(key) + "=" + std::string(value), Eol()});
            FIndexed = false;
            return;
        }
        if (std::size_t k = FindKey(h, key); k != npos) {
            FLines[k].Text = std::string(ParseLine(FLines[k].Text).Name) + "=" + std::string(value);
            return;
        }
        // After the section's last non-blank line, so a blank line before the next header stays.
        std::size_t at = h + 1;
        for (std::size_t i = h + 1, end = SectionEnd(h); i < end; ++i)
            if (!TrimBlanks(FLines[i].Text).empty()) at = i + 1;
        if (FLines[at - 1].Eol.empty()) FLines[at - 1].Eol = Eol();
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(at),
                      TLine{std::string(key) + "=" + std::string(value), Eol()});
        ShiftIndex(at); // a key line moves the later headers down by one

    }

    bool DeleteKey(std::string_view section, std::string_view key) {
        std::size_t h = FindSection(section);
        if (h == npos) return false;
        bool changed = false;
        for (std::size_t k; (k = FindKey(h, key)) != npos; changed = true) {
            FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(k));
            FIndexed = false;
        }
        return changed;
    }

    bool EraseSection(std::string_view section) {
        bool changed = false;
        for (std::size_t h; (h = FindSection(section)) != npos; changed = true) {
            FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(h),
                         FLines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(h)));
            FIndexed = false;
        }
        return changed;
    }

    static constexpr std::size_t npos = std::string::npos;

private:
    static bool AddOnce(std::vector<std::string>& names, std::string_view name) {
        for (const std::string& n : names)
            if (SameName(n, name)) return false;
        names.emplace_back(name);
        return true;
    }
    // New lines take the file's own line ending.
    std::string Eol() const {
        for (const TLine& l : FLines)
            if (!l.Eol.empty()) return l.Eol;
        return "\r\n";
    }

    // The section headers in line order and the first header of each name (upper case), made
    // on first use after a change, so that a look-up does not parse the whole file.
    void BuildIndex() const {
        if (FIndexed) return;
        FHeaders.clear();
        FFirstHeader.clear();
        for (std::size_t i = 0; i < FLines.size(); ++i) {
            if (!FLines[i].Header) continue;
            FHeaders.push_back(i);
            FFirstHeader.emplace(CharUpperStr(ParseLine(FLines[i].Text).Name), i);
        }
        FIndexed = true;
    }

    void ShiftIndex(std::size_t from) {
        if (!FIndexed) return;
        for (std::size_t& h : FHeaders)
            if (h >= from) ++h;
        for (auto& entry : FFirstHeader)
            if (entry.second >= from) ++entry.second;
    }

    std::vector<TLine> FLines;
    mutable bool FIndexed = false;
    mutable std::vector<std::size_t> FHeaders;
    mutable std::unordered_map<std::string, std::size_t> FFirstHeader;
};

// Host path of a profile file; empty for no name.
std::string ProfileHostPath(const char* fileName) {
    std::string name = fileName ? fileName : "WIN.INI";
    if (name.empty()) return {};
    if (name.find_first_of("\\/:") == std::string::npos)
        name = GetWindowsDirectory() + "\\" + name;
    return HostPath(name);
}

// Parsed files by host path, each with the stamp of the version it holds: a file is parsed
// again only when it changed on disk.
struct TCachedText {
    TFileStamp Stamp;
    std::shared_ptr<const TIniText> Text;
};
std::mutex gCacheMutex;
std::unordered_map<std::string, TCachedText> gCache;

std::shared_ptr<const TIniText> Cached(const std::string& path, const TFileStamp& stamp) {
    std::lock_guard lock(gCacheMutex);
    auto it = gCache.find(path);
    return it != gCache.end() && it->second.Stamp == stamp ? it->second.Text : nullptr;
}

// Takes the file's parsed text out of the cache for a change: the cached object itself when no
// reader holds it, so a write does not copy the whole file.
std::shared_ptr<TIniText> TakeForChange(const std::string& path, const TFileStamp& stamp) {
    std::shared_ptr<const TIniText> text;
    {
        std::lock_guard lock(gCacheMutex);
        auto it = gCache.find(path);
        if (it == gCache.end() || !(it->second.Stamp == stamp)) return nullptr;
        text = std::move(it->second.Text);
        gCache.erase(it);
    }
    if (text.use_count() == 1) return std::const_pointer_cast<TIniText>(text);
    return std::make_shared<TIniText>(*text);
}

void Remember(const std::string& path, const TFileStamp& stamp, std::shared_ptr<const TIniText> text) {
    std::lock_guard lock(gCacheMutex);
    gCache[path] = {stamp, std::move(text)};
}

// The file's lines; none when it is missing or cannot be read, so every read gives its default.
std::shared_ptr<const TIniText> Load(const std::string& path) {
    static const auto empty = std::make_shared<const TIniText>(std::string());
    if (path.empty()) return empty;
    if (auto text = Cached(path, StampOf(path))) return text;
    std::string content;
    TFileStamp stamp;
    if (!ReadWholeFile(path, content, &stamp)) return empty;
    auto text = std::make_shared<const TIniText>(content);
    Remember(path, stamp, text);
    return text;
}

// Copies a zero-separated list, ending in a second zero, cut to fit as the profile calls do.
std::uint32_t CopyList(const std::vector<std::string>& items, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return 0;
    std::string list;
    for (const std::string& s : items) {
        list += s;
        list += '\0';
    }
    if (list.empty()) list += '\0';
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return items.empty() ? 0 : static_cast<std::uint32_t>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

std::uint32_t CopyValue(std::string_view value, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return 0;
    std::size_t n = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Runs change on the file's lines under its lock and writes the result back.
template <typename Change>
bool Rewrite(const char* fileName, bool createWhenMissing, Change change) {
    std::string path = ProfileHostPath(fileName);
    if (path.empty()) return false;
    if (!createWhenMissing && !StampOf(path).Exists()) return true;
    TLockedFile file(path);
    if (!file.Locked()) return false;
    std::shared_ptr<TIniText> text = TakeForChange(path, file.Stamp());
    if (!text) {
        std::string content;
        if (!file.Read(content)) return false;
        text = std::make_shared<TIniText>(content);
    }
    if (!change(*text)) return true;
    if (!file.Replace(text->Text())) return false;
    Remember(path, file.Stamp(), std::move(text));
    return true;
}

// Decimal, or hexadecimal after "0x"; nullopt when s is no number.
std::optional<int> ParseInteger(std::string_view s) {
    std::string t(TrimBlanks(s));
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t.replace(0, 2, "$");
    int v = 0;
    if (!TryStrToInt(t, v)) return std::nullopt;
    return v;
}

} // namespace

std::uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                      char* buffer, std::uint32_t size, const char* fileName) {
    if (!buffer || size == 0) return 0;
    auto text = Load(ProfileHostPath(fileName));
    if (!section) return CopyList(text->SectionNames(), buffer, size);
    if (!key) return CopyList(text->Keys(section, false), buffer, size);
    if (std::optional<std::string> v = text->Value(section, key)) return CopyValue(*v, buffer, size);
    std::string_view def = defaultValue ? defaultValue : "";
    def = def.substr(0, def.find_last_not_of(kBlanks) + 1);
    return CopyValue(def, buffer, size);
}

int GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* fileName) {
    if (!section || !key) return defaultValue;
    auto text = Load(ProfileHostPath(fileName));
    std::optional<std::string> v = text->Value(section, key);
    if (!v || v->empty()) return defaultValue;
    std::string_view s = *v;
    bool negative = !s.empty() && s[0] == '-';
    if (negative) s.remove_prefix(1);
    long long n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        n = std::min<long long>(n * 10 + (c - '0'), 1LL << 32);
    }
    return static_cast<int>(static_cast<std::uint32_t>(negative ? -n : n));
}

std::uint32_t GetPrivateProfileSection(const char* section, char* buffer, std::uint32_t size,
                                       const char* fileName) {
    auto text = Load(ProfileHostPath(fileName));
    return CopyList(section ? text->Keys(section, true) : std::vector<std::string>{}, buffer, size);
}

std::uint32_t GetPrivateProfileSectionNames(char* buffer, std::uint32_t size, const char* fileName) {
    auto text = Load(ProfileHostPath(fileName));
    return CopyList(text->SectionNames(), buffer, size);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* fileName) {
    if (!section) return !key && !value; // the flush request: nothing is held back
    std::string sec(TrimBlanks(section));
    if (sec.empty() || HasLineBreak(sec) || sec.find(']') != std::string::npos) return false;
    if (!key)
        return Rewrite(fileName, false, [&](TIniText& t) { return t.EraseSection(sec); });
    std::string k(TrimBlanks(key));
    if (k.empty() || HasLineBreak(k) || k.find('=') != std::string::npos || k[0] == ';' || k[0] == '[')
        return false;
    if (!value)
        return Rewrite(fileName, false, [&](TIniText& t) { return t.DeleteKey(sec, k); });
    if (HasLineBreak(value)) return false;
    return Rewrite(fileName, true, [&](TIniText& t) {
        t.SetValue(sec, k, value);
        return true;
    });
}

std::uint32_t GetProfileString(const char* section, const char* key, const char* defaultValue,
                               char* buffer, std::uint32_t size) {
    return GetPrivateProfileString(section, key, defaultValue, buffer, size, "WIN.INI");
}

int GetProfileInt(const char* section, const char* key, int defaultValue) {
    return GetPrivateProfileInt(section, key, defaultValue, "WIN.INI");
}

// ---- TIniFile

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

void TIniFile::WriteError() const { throw EIniFileException("Unable to write to " + FFileName); }

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) const {
    auto text = Load(ProfileHostPath(FFileName.c_str()));
    std::optional<std::string> v = text->Value(TrimBlanks(section), TrimBlanks(ident));
    return v ? *v : defaultValue;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) const {
    return ParseInteger(ReadString(section, ident, "")).value_or(defaultValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    if (!WritePrivateProfileString(section.c_str(), ident.c_str(), value.c_str(), FFileName.c_str()))
        WriteError();
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::EraseSection(const std::string& section) {
    if (!WritePrivateProfileString(section.c_str(), nullptr, nullptr, FFileName.c_str())) WriteError();
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    if (!WritePrivateProfileString(section.c_str(), ident.c_str(), nullptr, FFileName.c_str())) WriteError();
}

namespace {
void Fill(TStrings& strings, const std::vector<std::string>& items) {
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& s : items) strings.Add(s);
    strings.EndUpdate();
}
} // namespace

void TIniFile::ReadSection(const std::string& section, TStrings& strings) const {
    auto text = Load(ProfileHostPath(FFileName.c_str()));
    Fill(strings, text->Keys(TrimBlanks(section), false));
}

void TIniFile::ReadSections(TStrings& strings) const {
    auto text = Load(ProfileHostPath(FFileName.c_str()));
    Fill(strings, text->SectionNames());
}

void TIniFile::ReadSectionValues(const std::string& section, TStrings& strings) const {
    auto text = Load(ProfileHostPath(FFileName.c_str()));
    Fill(strings, text->Keys(TrimBlanks(section), true));
}

bool TIniFile::SectionExists(const std::string& section) const {
    auto text = Load(ProfileHostPath(FFileName.c_str()));
    return text->FindSection(TrimBlanks(section)) != TIniText::npos;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const {
    auto text = Load(ProfileHostPath(FFileName.c_str()));
    return text->Value(TrimBlanks(section), TrimBlanks(ident)).has_value();
}

} // namespace rtl
