#include "ide/WinNames.h"

#include "rtl/CodePages.h"
#include "rtl/WinRoot.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace ide {

namespace {

std::vector<std::string> SplitComponents(std::string_view s) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (c == '\\' || c == '/') {
            if (!cur.empty())
                parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        parts.push_back(cur);
    return parts;
}

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::string HostFileName(std::string_view winName) {
    std::string base;
    std::string_view rest = winName;
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
        base = drive == 'C' ? rtl::DriveCDir() : "/";
        rest.remove_prefix(2);
        if (rest.empty() || (rest[0] != '\\' && rest[0] != '/'))
            base = HostFileName(WinCurrentDir()); // drive-relative: against the current folder
    } else if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) {
        base = "/";
    } else {
        base = fs::current_path().string();
    }
    fs::path p = base;
    bool exists = fs::exists(p);
    for (const std::string& part : SplitComponents(rest)) {
        if (part == ".")
            continue;
        if (part == "..") {
            p = p.parent_path();
            continue;
        }
        std::string u = rtl::AnsiToUtf8(part);
        if (exists && !fs::exists(p / u)) {
            std::error_code ec;
            std::string found;
            for (const auto& e : fs::directory_iterator(p, ec))
                if (SameNoCase(e.path().filename().string(), u)) {
                    found = e.path().filename().string();
                    break;
                }
            if (!found.empty())
                u = found;
            else
                exists = false;
        }
        p /= u;
    }
    return p.lexically_normal().string();
}

std::string WinFileName(std::string_view hostPath) {
    fs::path p = fs::path(std::string(hostPath)).lexically_normal();
    std::string s = p.string();
    std::string c = fs::path(rtl::DriveCDir()).lexically_normal().string();
    std::string win;
    if (s == c || (s.size() > c.size() && s.compare(0, c.size(), c) == 0 && s[c.size()] == '/'))
        win = "C:\\" + s.substr(std::min(s.size(), c.size() + 1));
    else
        win = "Z:\\" + s.substr(s.empty() || s[0] != '/' ? 0 : 1);
    for (char& ch : win)
        if (ch == '/')
            ch = '\\';
    while (win.size() > 3 && win.back() == '\\')
        win.pop_back();
    return rtl::Utf8ToAnsi(win);
}

std::string FullWinName(std::string_view winName) { return WinFileName(HostFileName(winName)); }

std::string WinFilePath(std::string_view winName) {
    size_t i = winName.find_last_of("\\:");
    return i == std::string_view::npos ? std::string() : std::string(winName.substr(0, i + 1));
}

std::string WinFileExt(std::string_view winName) {
    size_t i = winName.find_last_of(".\\:");
    if (i == std::string_view::npos || winName[i] != '.')
        return {};
    return std::string(winName.substr(i));
}

std::string WinChangeExt(std::string_view winName, std::string_view ext) {
    size_t i = winName.find_last_of(".\\:");
    std::string base(winName);
    if (i != std::string_view::npos && winName[i] == '.')
        base.resize(i);
    return base + std::string(ext);
}

bool SameWinName(std::string_view a, std::string_view b) { return SameNoCase(a, b); }

bool WinFileExists(std::string_view winName) {
    std::error_code ec;
    return fs::is_regular_file(HostFileName(winName), ec);
}

std::optional<std::string> ReadWholeFile(std::string_view winName) {
    std::ifstream in(HostFileName(winName), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return s.str();
}

bool WriteFileAtomic(std::string_view winName, std::string_view data) {
    std::string target = HostFileName(winName);
    std::string temp = target + ".~tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

std::string WinCurrentDir() { return WinFileName(fs::current_path().string()); }

bool SetWinCurrentDir(std::string_view winDir) {
    std::error_code ec;
    fs::current_path(HostFileName(winDir), ec);
    return !ec;
}

} // namespace ide
