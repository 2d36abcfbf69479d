// The IDE's own settings and files: its registry keys under the current user (the editor's font
// and tab stops, the highlight colours, the library settings), its code-template file and its program folder, made on
// first start when missing. Implementations in IdeSettings.cpp.
#pragma once

#include <string>

namespace ide {

inline constexpr const char* IdeRegistryKey = "Software\\Borland\\Delphi\\2.0";
inline constexpr const char* CodeTemplateFile = "C:\\BORLAND\\DELPHI 2.0\\DELPHI32.DCI";
inline constexpr const char* IdeProgramFile = "C:\\BORLAND\\DELPHI 2.0\\BIN\\DELPHI32.EXE";

// Writes each missing value, file and folder; what is there already is kept.
void EnsureIdeDefaults();
// The files and folders alone: the code-template file and the program folder.
void EnsureIdeFiles();

// A value of the Editor key as text (a number as its decimal digits), "" when missing.
std::string ReadEditorParamStr(const std::string& name);
// A value of the Editor key as a number (a text as the number it reads as), 0 when missing.
int ReadEditorParamInt(const std::string& name);

} // namespace ide
