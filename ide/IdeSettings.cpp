#include "ide/IdeSettings.h"

#include "rtl/Registry.h"

#include <charconv>

namespace ide {

namespace {

const std::string EditorKey = std::string(IdeRegistryKey) + "\\Editor";
const std::string HighlightKey = std::string(IdeRegistryKey) + "\\Highlight";
const std::string LibraryKey = std::string(IdeRegistryKey) + "\\Library";

// Style letters, default-foreground flag, default-background flag, foreground and background
// colour indexes of the IDE's sixteen.
struct THighlightDefault {
    const char* Name;
    const char* Value;
};
constexpr THighlightDefault HighlightDefaults[] = {
    {"Plain_text", ",0,0,0,15"}, {"Identifier", ",1,1,0,15"}, {"Reserved_word", "B,1,1,0,15"},
    {"Comment", "I,0,1,4,15"},   {"String", ",0,1,4,15"},      {"Symbol", ",1,1,0,15"},
    {"Number", ",1,1,0,15"},
};

// The library settings of a fresh installation, all kept as texts.
struct TLibraryDefault {
    const char* Name;
    const char* Value;
};
constexpr TLibraryDefault LibraryDefaults[] = {
    {"SearchPath", "C:\\BORLAND\\DELPHI 2.0\\LIB"},
    {"ComponentLibrary", "C:\\BORLAND\\DELPHI 2.0\\BIN\\CMPLIB32.DCL"},
    {"UnitAliases", "WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;DbiErrs=BDE"},
    {"MapFile", "0"},
    {"SaveLibrarySource", "0"},
    {"DebugInfo", "1"},
    {"ShowHints", "1"},
    {"ShowWarnings", "1"},
};

int ToInt(const std::string& s) {
    int n = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    return ec == std::errc() && p == s.data() + s.size() ? n : 0;
}

} // namespace

void EnsureIdeDefaults() {
    {
        rtl::TRegistry reg;
        if (reg.OpenKey(EditorKey, true)) {
            if (!reg.ValueExists("FontName"))
                reg.WriteString("FontName", "Courier New");
            if (!reg.ValueExists("FontSize"))
                reg.WriteInteger("FontSize", 10);
            if (!reg.ValueExists("TabRack"))
                reg.WriteInteger("TabRack", 8);
        }
    }
    {
        rtl::TRegistry reg;
        if (reg.OpenKey(HighlightKey, true))
            for (const auto& h : HighlightDefaults)
                if (!reg.ValueExists(h.Name))
                    reg.WriteString(h.Name, h.Value);
    }
    {
        rtl::TRegistry reg;
        if (reg.OpenKey(LibraryKey, true))
            for (const auto& l : LibraryDefaults)
                if (!reg.ValueExists(l.Name))
                    reg.WriteString(l.Name, l.Value);
    }
    EnsureIdeFiles();
}

std::string ReadEditorParamStr(const std::string& name) {
    rtl::TRegistry reg;
    if (name.empty() || !reg.OpenKey(EditorKey, false) || !reg.ValueExists(name))
        return {};
    if (reg.GetDataType(name) == rtl::TRegDataType::rdInteger)
        return std::to_string(reg.ReadInteger(name));
    if (reg.GetDataType(name) == rtl::TRegDataType::rdString)
        return reg.ReadString(name);
    return {};
}

int ReadEditorParamInt(const std::string& name) {
    rtl::TRegistry reg;
    if (name.empty() || !reg.OpenKey(EditorKey, false) || !reg.ValueExists(name))
        return 0;
    if (reg.GetDataType(name) == rtl::TRegDataType::rdInteger)
        return reg.ReadInteger(name);
    if (reg.GetDataType(name) == rtl::TRegDataType::rdString)
        return ToInt(reg.ReadString(name));
    return 0;
}

} // namespace ide
