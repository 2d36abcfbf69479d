// The few file-name and whole-file helpers the IDE core needs on top of the runtime's paths and
// files. Implementations in WinNames.cpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ide {

// The full Windows-form name of what the name resolves to on disk, in the case the disk has it.
std::string FullWinName(std::string_view winName);
bool SameWinName(std::string_view a, std::string_view b);

std::optional<std::string> ReadWholeFile(std::string_view winName);
// An atomic rewrite; false, with the old file whole, when it could not be written.
bool WriteWholeFile(std::string_view winName, std::string_view data);

} // namespace ide
