// File names between the IDE's Windows form and the host's disk, and whole-file reads and atomic
// writes. A private stand-in of the IDE until the runtime's path and file routines are in.
// Implementations in WinNames.cpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ide {

// Windows-form name (cp1252, '\' or '/', with or without a drive) -> host path. Each existing
// component is matched without regard to case; relative names go against the current folder.
std::string HostFileName(std::string_view winName);
// Host path -> full Windows-form name: "C:\..." under drive C:, "Z:\..." otherwise.
std::string WinFileName(std::string_view hostPath);
// A full Windows-form name for what the name resolves to on disk.
std::string FullWinName(std::string_view winName);

std::string WinFilePath(std::string_view winName);  // up to and with the last '\' or ':'
std::string WinFileExt(std::string_view winName);   // with its '.'
std::string WinChangeExt(std::string_view winName, std::string_view ext);
bool SameWinName(std::string_view a, std::string_view b);

bool WinFileExists(std::string_view winName);
std::optional<std::string> ReadWholeFile(std::string_view winName);
// Writes beside the target and renames over it, so a failure leaves the old file whole.
bool WriteFileAtomic(std::string_view winName, std::string_view data);

std::string WinCurrentDir();
bool SetWinCurrentDir(std::string_view winDir);

} // namespace ide
