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

bool ReadFileText(std::string_view fileName, std::string& text) {
    text.clear();
    if (fileName.empty()) return false;
    try {
        rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        std::int64_t size = file.Size() - file.Position();
        text.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
        file.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    } catch (const rtl::Exception&) {
        text.clear();
        return false;
    }
    return true;
}

std::size_t TLineReader::NextBreak() const {
    const std::size_t size = FText.size();
    if (FMarks) {
        const std::vector<std::uint64_t>& breaks = FMarks->Breaks;
        std::size_t word = FPos / 64;
        std::uint64_t bits = breaks[word] & (~std::uint64_t(0) << (FPos % 64));
        while (bits == 0) {
            if (++word >= breaks.size()) return size;
            bits = breaks[word];
        }
        return std::min(size, word * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
    }
    const char* start = FText.data() + FPos;
    // Most files break lines with LF or CR LF: look for the LF, then for a CR before it.
    const void* lf = std::memchr(start, '\n', size - FPos);
    std::size_t length = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : size - FPos;
    if (const void* cr = std::memchr(start, '\r', length))
        length = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
    return FPos + length;
}

void TLineReader::Step(std::size_t end) {
    FPos = end;
    if (FPos < FText.size() && FText[FPos] == '\r') ++FPos;
    if (FPos < FText.size() && FText[FPos] == '\n') ++FPos;
}

bool TLineReader::Next(std::string_view& line) {
    if (FPos >= FText.size()) return false;
    const std::size_t end = NextBreak();
    line = FText.substr(FPos, end - FPos);
    Step(end);
    return true;
}

bool TLineReader::Next(std::string_view& line, TLineSigns& signs) {
    if (FPos >= FText.size()) return false;
    const std::size_t end = NextBreak();
    line = FText.substr(FPos, end - FPos);
    signs = FMarks ? MarkedSigns(FText, *FMarks, FPos, end) : ReadLineSigns(line);
    Step(end);
    return true;
}

bool ReadFileLines(std::string_view fileName, std::vector<std::string>& lines) {
    lines.clear();
    std::string text;
    if (!ReadFileText(fileName, text)) return false;
    TLineReader reader(text);
    for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
    return true;
}

} // namespace declsearch
