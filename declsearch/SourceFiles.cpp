// Source files of a search, through the runtime's Windows-form names.
#include "declsearch/SourceFiles.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/Streams.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

char* TFileReader::Room(std::size_t size) {
    if (size > FCapacity) {
        // Every byte is read over, so the room need not be cleared.
        FData = std::make_unique_for_overwrite<char[]>(size);
        FCapacity = size;
    }
    return FData.get();
}

bool TFileReader::ReadHandle(int handle) {
    struct stat st;
    if (::fstat(handle, &st) != 0 || S_ISDIR(st.st_mode)) return false;
    const auto size = static_cast<std::size_t>(std::max<off_t>(st.st_size, 0));
    char* data = Room(size);
    std::size_t got = 0;
    while (got < size) {
        ssize_t n = ::read(handle, data + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break; // the file got shorter: what there is
        got += static_cast<std::size_t>(n);
    }
    FSize = got;
    return true;
}

bool TFileReader::Read(std::string_view fileName) {
    FSize = 0;
    if (fileName.empty()) return false;
    // A name with its drive and folder is opened in the folder found on the host before; one that
    // is not there as written, or any other name, takes the runtime's whole lookup.
    const std::string folder = FolderPart(fileName);
    if (folder.size() >= 3 && folder[1] == ':' && IsSeparator(folder[2])) {
        if (folder != FFolder) {
            FFolder = folder;
            try {
                FHostFolder = rtl::HostPath(folder);
            } catch (const rtl::Exception&) {
                FHostFolder.clear();
            }
        }
        if (!FHostFolder.empty()) {
            std::string host = FHostFolder;
            if (host.back() != '/') host += '/';
            host += rtl::AnsiToUtf8(fileName.substr(folder.size()));
            const int handle = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
            if (handle >= 0) {
                const bool read = ReadHandle(handle);
                ::close(handle);
                return read;
            }
        }
    }
    try {
        rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        const std::int64_t size = std::max<std::int64_t>(file.Size() - file.Position(), 0);
        file.ReadBuffer(Room(static_cast<std::size_t>(size)), size);
        FSize = static_cast<std::size_t>(size);
    } catch (const rtl::Exception&) {
        FSize = 0;
        return false;
    }
    return true;
}

// The break after the line at FPos, from the marks of the text.
std::size_t TLineReader::NextBreak() const {
    const std::vector<std::uint64_t>& breaks = FMarks->Breaks;
    std::size_t word = FPos / 64;
    std::uint64_t bits = breaks[word] & (~std::uint64_t(0) << (FPos % 64));
    while (bits == 0) {
        if (++word >= breaks.size()) return FText.size();
        bits = breaks[word];
    }
    return std::min(FText.size(), word * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
}

bool TLineReader::Next(std::string_view& line) {
    if (!FMarks) return FPlain.Next(line);
    if (FPos >= FText.size()) return false;
    const std::size_t end = NextBreak();
    line = FText.substr(FPos, end - FPos);
    FPos = end + rtl::LineBreakLength(FText, end);
    return true;
}

bool TLineReader::Next(std::string_view& line, TLineSigns& signs) {
    if (!FMarks) {
        if (!FPlain.Next(line)) return false;
        signs = ReadLineSigns(line);
        return true;
    }
    const std::size_t start = FPos;
    if (!Next(line)) return false;
    signs = MarkedSigns(FText, *FMarks, start, start + line.size());
    return true;
}

bool ReadFileLines(std::string_view fileName, std::vector<std::string>& lines) {
    lines.clear();
    TFileReader file;
    if (!file.Read(fileName)) return false;
    TLineReader reader(file.Text());
    for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
    return true;
}

} // namespace declsearch
