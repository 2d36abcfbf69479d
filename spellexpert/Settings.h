// The expert's options: one record for the whole library, read from Quillo.INI in the Windows
// folder each time the main window is shown and written back when the options window is
// confirmed. Implementations in Settings.cpp.
#pragma once

#include <string>

namespace spellexpert {

inline constexpr const char* SettingsFileName = "Quillo.INI";

struct TQuilloSettings {
    bool AutoSuggest = true;
    bool ShowGlyphs = true;
    int Suggestions = 10; // 1 to 255
    bool OverWrite = false;
    bool Backup = true;
    bool SyntaxHi = true;
};

// The library-wide record.
TQuilloSettings& Settings();

// Fills the record from the file; a missing file, section or key gives the default, and a
// Suggestions value outside 1..255 is brought to the nearer bound.
void ReadSettings();
// Writes the six options from the record and the IDE's names of the moment; raises
// rtl::EIniFileException when the file cannot be written.
void WriteSettings(const std::string& ProjectFile, const std::string& CurrentFile);

} // namespace spellexpert
