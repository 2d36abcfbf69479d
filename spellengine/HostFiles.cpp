#include "spellengine/HostFiles.h"

#include "rtl/Paths.h"

#include <sys/stat.h>

namespace spellengine {

TFileStamp GetFileStamp(std::string_view FileName) {
    TFileStamp stamp;
    struct stat st {};
    if (::stat(rtl::HostPath(FileName).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        stamp.Exists = true;
        stamp.Size = st.st_size;
        stamp.ModifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    return stamp;
}

} // namespace spellengine
