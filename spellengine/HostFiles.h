// The few file services the engine needs from the platform, over names in Windows form.
// Implementations in HostFiles.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace spellengine {

std::string HostFileName(std::string_view FileName);
bool FileExists(std::string_view FileName);

// Size and modification time of a file, as the user word list compares them.
struct TFileStamp {
    bool Exists = false;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    bool operator==(const TFileStamp&) const = default;
};
TFileStamp GetFileStamp(std::string_view FileName);

} // namespace spellengine
