// What the user word list compares to tell whether another writer changed it: existence, size
// and modification time to the nanosecond (file dates of the runtime keep only even seconds).
// Implementations in HostFiles.cpp.
#pragma once

#include <cstdint>
#include <string_view>

namespace spellengine {

struct TFileStamp {
    bool Exists = false;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    bool operator==(const TFileStamp&) const = default;
};

// Of a name in Windows form; Exists is false for a missing file or a folder.
TFileStamp GetFileStamp(std::string_view FileName);

} // namespace spellengine
