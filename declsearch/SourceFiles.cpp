// Source files of a search, through the runtime's Windows-form names.
#include "declsearch/SourceFiles.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/StringLists.h"

#include <filesystem>

namespace declsearch {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

} // namespace

std::string FolderPart(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) --i;
    return std::string(path.substr(0, i));
}

std::string NamePart(std::string_view path) { return std::string(path.substr(FolderPart(path).size())); }

std::string ResolveInFolder(std::string_view folder, std::string_view name) {
    std::string joined = std::string(folder) + std::string(name);
    std::string host = rtl::HostPath(joined);
    std::error_code ec;
    if (host.empty() || !std::filesystem::exists(host, ec)) return joined;
    return std::string(folder) + rtl::Utf8ToAnsi(std::filesystem::path(host).filename().string());
}

std::vector<std::string> FindFiles(std::string_view path) {
    std::vector<std::string> found;
    std::string folder = FolderPart(path);
    rtl::TSearchRec rec;
    // Attribute 0: plain files only, no folders and no hidden or system files.
    for (int rc = rtl::FindFirst(path, 0, rec); rc == 0; rc = rtl::FindNext(rec)) found.push_back(folder + rec.Name);
    rtl::FindClose(rec);
    return found;
}

bool ReadFileLines(std::string_view fileName, std::vector<std::string>& lines) {
    lines.clear();
    if (fileName.empty()) return false;
    rtl::TStringList list;
    try {
        list.LoadFromFile(fileName);
    } catch (const rtl::Exception&) {
        return false;
    }
    lines.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
    return true;
}

} // namespace declsearch
