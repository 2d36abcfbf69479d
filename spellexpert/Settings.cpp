#include "spellexpert/Settings.h"

#include "rtl/IniFiles.h"

#include <algorithm>

namespace spellexpert {

TQuilloSettings& Settings() {
    static TQuilloSettings settings;
    return settings;
}

void ReadSettings() {
    const rtl::TIniFile ini(SettingsFileName);
    const TQuilloSettings defaults;
    TQuilloSettings& s = Settings();
    s.AutoSuggest = ini.ReadBool("VmkSpell", "AutoSuggest", defaults.AutoSuggest);
    s.ShowGlyphs = ini.ReadBool("VmkSpell", "ShowGlyphs", defaults.ShowGlyphs);
    // The dictionary takes at most 255 suggestions; 0 is kept, for the component to refuse.
    s.Suggestions = std::clamp(ini.ReadInteger("VmkSpell", "Suggestions", defaults.Suggestions), 0, 255);
    s.OverWrite = ini.ReadBool("Quillo", "OverWrite", defaults.OverWrite);
    s.Backup = ini.ReadBool("Quillo", "Backup", defaults.Backup);
    s.SyntaxHi = ini.ReadBool("Quillo", "SyntaxHi", defaults.SyntaxHi);
}

void WriteSettings(const std::string& ProjectFile, const std::string& CurrentFile) {
    rtl::TIniFile ini(SettingsFileName);
    const TQuilloSettings& s = Settings();
    ini.WriteBool("VmkSpell", "AutoSuggest", s.AutoSuggest);
    ini.WriteBool("VmkSpell", "ShowGlyphs", s.ShowGlyphs);
    ini.WriteInteger("VmkSpell", "Suggestions", s.Suggestions);
    ini.WriteBool("Quillo", "OverWrite", s.OverWrite);
    ini.WriteBool("Quillo", "Backup", s.Backup);
    ini.WriteBool("Quillo", "SyntaxHi", s.SyntaxHi);
    ini.WriteString("Project", "ProjectFile", ProjectFile);
    ini.WriteString("Project", "CurrentFile", CurrentFile);
}

} // namespace spellexpert
