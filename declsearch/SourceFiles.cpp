// Source files of a search on the host's disk.
#include "declsearch/SourceFiles.h"

#include "declsearch/LineRules.h"
#include "rtl/CodePages.h"
#include "rtl/WinRoot.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace declsearch {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// The entry of dir that matches name without regard to case; empty when there is none.
std::string FindEntry(const fs::path& dir, std::string_view ansiName) {
    std::error_code ec;
    if (fs::exists(dir / rtl::AnsiToUtf8(ansiName), ec)) return rtl::AnsiToUtf8(ansiName);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (SameText(rtl::Utf8ToAnsi(entry), ansiName)) return entry;
    }
    return {};
}

// A suite name (Windows form, "\" or "/", drive or none) as a host path. Each existing component
// is matched without regard to case; the first missing one and those after it stay as given.
std::string HostName(std::string_view name) {
    fs::path host;
    std::string_view rest = name;
    if (rest.size() >= 2 && rest[1] == ':') {
        char drive = static_cast<char>(rest[0] | 0x20);
        if (drive == 'c')
            host = rtl::DriveCDir();
        else if (drive == 'z')
            host = "/";
        else
            return {};
        rest.remove_prefix(2);
    } else if (!rest.empty() && (rest[0] == '/' || rest[0] == '\\')) {
        host = "/";
    } else {
        std::error_code ec;
        host = fs::current_path(ec);
    }
    bool resolving = true;
    while (!rest.empty()) {
        std::size_t cut = rest.find_first_of("\\/");
        std::string_view part = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            host = host.parent_path();
            continue;
        }
        std::string entry = resolving ? FindEntry(host, part) : std::string{};
        if (entry.empty()) {
            resolving = false;
            entry = rtl::AnsiToUtf8(part);
        }
        host /= entry;
    }
    return host.string();
}

bool MatchFrom(std::string_view name, std::string_view mask) {
    while (!mask.empty()) {
        if (mask[0] == '*') {
            mask.remove_prefix(1);
            for (std::size_t skip = 0; skip <= name.size(); ++skip)
                if (MatchFrom(name.substr(skip), mask)) return true;
            return false;
        }
        if (name.empty()) return false;
        if (mask[0] != '?' && !SameText(name.substr(0, 1), mask.substr(0, 1))) return false;
        name.remove_prefix(1);
        mask.remove_prefix(1);
    }
    return name.empty();
}

} // namespace

std::string FolderPart(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) --i;
    return std::string(path.substr(0, i));
}

std::string NamePart(std::string_view path) { return std::string(path.substr(FolderPart(path).size())); }

bool MatchesMask(std::string_view name, std::string_view mask) {
    // "*.*" also finds names without a dot, as it does on the system we stand in for.
    if (mask == "*.*") return !name.empty();
    return MatchFrom(name, mask);
}

std::string ResolveInFolder(std::string_view folder, std::string_view name) {
    std::string hostFolder = HostName(folder);
    std::string entry = hostFolder.empty() ? std::string{} : FindEntry(hostFolder, name);
    return std::string(folder) + (entry.empty() ? std::string(name) : rtl::Utf8ToAnsi(entry));
}

std::vector<std::string> FindFiles(std::string_view path) {
    std::vector<std::string> found;
    std::string folder = FolderPart(path);
    std::string mask = NamePart(path);
    std::string hostFolder = HostName(folder);
    if (mask.empty() || hostFolder.empty()) return found;
    std::error_code ec;
    for (fs::directory_iterator it(hostFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = rtl::Utf8ToAnsi(it->path().filename().string());
        std::error_code kindError;
        if (name.empty() || name[0] == '.' || !it->is_regular_file(kindError)) continue;
        if (MatchesMask(name, mask)) found.push_back(folder + name);
    }
    return found;
}

bool ReadFileLines(std::string_view fileName, std::vector<std::string>& lines) {
    lines.clear();
    if (fileName.empty()) return false;
    std::string host = HostName(fileName);
    std::error_code ec;
    if (host.empty() || !fs::is_regular_file(host, ec)) return false;
    std::FILE* f = std::fopen(host.c_str(), "rb");
    if (!f) return false;
    std::string data;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return false;

    std::size_t start = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(data, start, i - start);
        if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < data.size()) lines.emplace_back(data, start, data.size() - start);
    return true;
}

} // namespace declsearch
