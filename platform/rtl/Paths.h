// File names in Windows form. Names the platform hands to the suite are Windows-form, cp1252
// ("C:\..." under the machine root's drive_c, "Z:\..." for any other host path); names the suite
// hands in are accepted with '\' or '/', with or without a drive, and resolved on disk with a
// fall-back to a case-insensitive match of each component. Implementations in Paths.cpp.
#pragma once

#include <string>
#include <string_view>

namespace rtl {

// Splitting, as the class library does it: at the last '\' or ':'.
std::string ExtractFilePath(std::string_view fileName); // with the trailing '\'
std::string ExtractFileDir(std::string_view fileName);  // without it
std::string ExtractFileName(std::string_view fileName);
std::string ExtractFileExt(std::string_view fileName);  // with the '.'
std::string ExtractFileDrive(std::string_view fileName); // "C:" or ""
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);
// A full Windows-form name: relative names against the current folder, "." and ".." folded.
std::string ExpandFileName(std::string_view fileName);

// Suite name -> host path (UTF-8). Each existing component is matched without regard to case;
// the first missing one and all after it are kept as given. Empty for a drive other than C: or Z:.
std::string HostPath(std::string_view fileName);
// Host path (UTF-8) -> Windows-form name (cp1252).
std::string WinPath(std::string_view hostPath);

// The current folder is one value for the process, kept apart from the host's working folder;
// it starts as the host's working folder in Windows form.
std::string GetCurrentDir();                 // Windows form, without a trailing '\' but for a root
bool SetCurrentDir(std::string_view dir);    // false when dir is not an existing folder
std::string GetWindowsDirectory();           // "C:\WINDOWS"

} // namespace rtl
