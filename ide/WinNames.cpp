#include "ide/WinNames.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace ide {

std::string FullWinName(std::string_view winName) {
    std::string expanded = rtl::ExpandFileName(winName);
    std::string host = rtl::HostPath(expanded);
    return host.empty() ? expanded : rtl::WinPath(host);
}

bool SameWinName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::string> ReadWholeFile(std::string_view winName) {
    if (!rtl::FileExists(winName))
        return std::nullopt;
    std::ifstream in(rtl::HostPath(winName), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return s.str();
}

bool WriteWholeFile(std::string_view winName, std::string_view data) {
    try {
        rtl::WriteFileAtomic(winName, data);
        return true;
    } catch (const rtl::Exception&) {
        return false;
    }
}

} // namespace ide
