// Windows-form names over the host file system.
#include "rtl/Paths.h"

#include "rtl/CodePages.h"
#include "rtl/WinRoot.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rtl {
namespace {

std::mutex gCurrentMutex;
std::optional<std::string> gCurrentDir;

bool IsSep(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool HasDrive(std::string_view name) { return name.size() >= 2 && IsDriveLetter(name[0]) && name[1] == ':'; }

std::size_t LastDelimiter(std::string_view name) { return name.find_last_of("\\:"); }

// Splits at either separator, dropping empty parts.
std::vector<std::string> SplitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && IsSep(path[i])) ++i;
        std::size_t start = i;
        while (i < path.size() && !IsSep(path[i])) ++i;
        if (i > start) parts.emplace_back(path.substr(start, i - start));
    }
    return parts;
}

void Fold(std::vector<std::string>& stack, const std::vector<std::string>& parts) {
    for (const std::string& p : parts) {
        if (p == ".") continue;
        if (p == "..") {
            if (!stack.empty()) stack.pop_back();
            continue;
        }
        stack.push_back(p);
    }
}

bool PathExists(const std::string& hostPath) {
    struct stat st;
    return ::lstat(hostPath.c_str(), &st) == 0;
}

// The entry of folder `dir` whose cp1252 name equals `component` without regard to case.
std::optional<std::string> FindCaseInsensitive(const std::string& dir, const std::string& component) {
    DIR* d = ::opendir(dir.empty() ? "/" : dir.c_str());
    if (!d) return std::nullopt;
    const std::string wanted = CharUpperStr(component);
    std::optional<std::string> best;
    while (dirent* e = ::readdir(d)) {
        std::string_view n = e->d_name;
        if (n == "." || n == "..") continue;
        if (CharUpperStr(Utf8ToAnsi(n)) != wanted) continue;
        // Several spellings of one name: the lowest wins, so the choice does not depend on
        // the order the folder lists them in.
        if (!best || n < *best) best = std::string(n);
    }
    ::closedir(d);
    return best;
}

std::string DriveRootHost(char drive) {
    if (drive == 'C') return DriveCDir();
    return {}; // Z: is the host root
}

std::string Normal(const std::string& hostPath) {
    std::string s = std::filesystem::path(hostPath).lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

// "rest" of `path` below `root` (without the leading '/'), if it lies there.
std::optional<std::string> Below(const std::string& path, const std::string& root) {
    if (path == root) return std::string();
    if (path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/')
        return path.substr(root.size() + 1);
    return std::nullopt;
}

std::string RealCwdWinForm() {
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    if (ec) return "C:\\";
    return WinPath(cwd.string());
}

} // namespace

std::string ExtractFilePath(std::string_view fileName) {
    std::size_t i = LastDelimiter(fileName);
    return i == std::string_view::npos ? std::string() : std::string(fileName.substr(0, i + 1));
}

std::string ExtractFileDir(std::string_view fileName) {
    std::size_t i = LastDelimiter(fileName);
    if (i == std::string_view::npos) return {};
    // "C:\" and "\\" keep their separator: without it they would name another folder.
    if (i > 0 && fileName[i] == '\\' && fileName[i - 1] != '\\' && fileName[i - 1] != ':')
        return std::string(fileName.substr(0, i));
    return std::string(fileName.substr(0, i + 1));
}

std::string ExtractFileName(std::string_view fileName) {
    std::size_t i = LastDelimiter(fileName);
    return std::string(i == std::string_view::npos ? fileName : fileName.substr(i + 1));
}

std::string ExtractFileExt(std::string_view fileName) {
    std::size_t dot = fileName.find_last_of(".\\:");
    if (dot == std::string_view::npos || fileName[dot] != '.') return {};
    return std::string(fileName.substr(dot));
}

std::string ExtractFileDrive(std::string_view fileName) {
    return HasDrive(fileName) ? std::string(fileName.substr(0, 2)) : std::string();
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
    std::size_t dot = fileName.find_last_of(".\\:");
    std::string_view stem = (dot != std::string_view::npos && fileName[dot] == '.') ? fileName.substr(0, dot) : fileName;
    std::string result(stem);
    result += extension;
    return result;
}

std::string ExpandFileName(std::string_view fileName) {
    std::string current = GetCurrentDir();
    char drive = UpperAscii(current[0]);
    std::vector<std::string> stack;
    std::string_view rest = fileName;

    if (HasDrive(fileName)) {
        char named = UpperAscii(fileName[0]);
        rest = fileName.substr(2);
        if (!rest.empty() && IsSep(rest[0])) {
            // absolute on that drive
        } else if (named == drive) {
            stack = SplitComponents(std::string_view(current).substr(2));
        }
        drive = named;
    } else if (!rest.empty() && IsSep(rest[0])) {
        // Rooted on the current drive. A host-style "/usr/..." given while the current drive is
        // C: means the host path when drive C: has nothing of that name.
        if (drive == 'C' && rest[0] == '/' && !(rest.size() > 1 && IsSep(rest[1]))) {
            std::vector<std::string> parts = SplitComponents(rest);
            if (!parts.empty() && parts[0] != "." && parts[0] != "..") {
                std::string first = AnsiToUtf8(parts[0]);
                if (!PathExists(DriveCDir() + "/" + first) && !FindCaseInsensitive(DriveCDir(), parts[0]) &&
                    PathExists("/" + first))
                    drive = 'Z';
            }
        }
    } else {
        stack = SplitComponents(std::string_view(current).substr(2));
    }

    Fold(stack, SplitComponents(rest));
    std::string result{drive, ':', '\\'};
    for (std::size_t i = 0; i < stack.size(); ++i) {
        if (i) result += '\\';
        result += stack[i];
    }
    if (!stack.empty() && !fileName.empty() && IsSep(fileName.back())) result += '\\';
    return result;
}

std::string HostPath(std::string_view fileName) {
    std::string full = ExpandFileName(fileName);
    char drive = full[0];
    if (drive != 'C' && drive != 'Z') return {};
    std::string cur = DriveRootHost(drive);
    bool missing = false;
    for (const std::string& part : SplitComponents(std::string_view(full).substr(2))) {
        std::string utf8 = AnsiToUtf8(part);
        std::string candidate = cur + "/" + utf8;
        if (!missing && !PathExists(candidate)) {
            if (auto found = FindCaseInsensitive(cur, part))
                candidate = cur + "/" + *found;
            else
                missing = true;
        }
        cur = std::move(candidate);
    }
    return cur.empty() ? std::string("/") : cur;
}

std::string WinPath(std::string_view hostPath) {
    std::error_code ec;
    std::filesystem::path p{std::string(hostPath)};
    if (p.is_relative()) p = std::filesystem::absolute(p, ec);
    std::string path = Normal(p.string());
    std::string driveC = Normal(DriveCDir());

    std::optional<std::string> rest = Below(path, driveC);
    if (!rest) {
        // The same folder reached through a link (a temporary root under a linked /tmp).
        std::string canonPath = Normal(std::filesystem::weakly_canonical(path, ec).string());
        std::string canonC = Normal(std::filesystem::weakly_canonical(driveC, ec).string());
        if (!ec) rest = Below(canonPath, canonC);
    }
    std::string result;
    if (rest) {
        result = "C:\\" + *rest;
    } else {
        result = "Z:\\" + (path.size() > 1 ? path.substr(1) : std::string());
    }
    std::replace(result.begin(), result.end(), '/', '\\');
    return Utf8ToAnsi(result);
}

std::string GetCurrentDir() {
    {
        std::lock_guard lock(gCurrentMutex);
        if (gCurrentDir) return *gCurrentDir;
    }
    std::string start = RealCwdWinForm();
    std::lock_guard lock(gCurrentMutex);
    if (!gCurrentDir) gCurrentDir = start;
    return *gCurrentDir;
}

bool SetCurrentDir(std::string_view dir) {
    if (dir.empty()) return false;
    std::string host = HostPath(dir);
    struct stat st;
    if (host.empty() || ::stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    std::string win = WinPath(host);
    std::lock_guard lock(gCurrentMutex);
    gCurrentDir = win;
    return true;
}

std::string GetWindowsDirectory() { return "C:\\WINDOWS"; }

} // namespace rtl
