// The files a search reads: names resolved on disk without regard to case, folder listings by a
// file mask, and whole files split into lines. Implementations in SourceFiles.cpp.
#pragma once

#include "declsearch/LineRules.h"
#include "rtl/LineSplitter.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace declsearch {

// Everything up to and including the last "\", "/" or ":".
std::string FolderPart(std::string_view path);
std::string NamePart(std::string_view path);

// folder joined with the name of the file in it that matches name without regard to case, in
// the case it has on disk; folder + name as given when there is none.
std::string ResolveInFolder(std::string_view folder, std::string_view name);

// Every plain file that the mask of path finds in its folder (no folders, no hidden files),
// each as the folder part of path plus its name as on disk, in the order the runtime's file search gives them.
std::vector<std::string> FindFiles(std::string_view path);

// Whole files read one after another into one buffer that only grows; a run of files in one
// folder looks the folder up on the host once.
class TFileReader {
public:
    // False when the file cannot be opened or read. The text stays until the next Read.
    bool Read(std::string_view fileName);
    std::string_view Text() const { return {FData.get(), FSize}; }

private:
    char* Room(std::size_t size);
    bool ReadHandle(int handle);

    std::unique_ptr<char[]> FData;
    std::size_t FCapacity = 0;
    std::size_t FSize = 0;
    std::string FFolder;     // the last folder looked up
    std::string FHostFolder; // where it is on the host; empty when it could not be looked up
};

// The lines of a text split at CR LF, LF or CR, as views into it; a last line break opens no
// empty line. With the text's marks the breaks are found from them, and each line comes with
// its signs read from them.
class TLineReader {
public:
    explicit TLineReader(std::string_view text, const TTextMarks* marks = nullptr)
        : FText(text), FMarks(marks), FPlain(marks ? std::string_view() : text) {}
    bool Next(std::string_view& line);
    bool Next(std::string_view& line, TLineSigns& signs);

private:
    std::size_t NextBreak() const;

    std::string_view FText;
    const TTextMarks* FMarks;
    rtl::TLineSplitter FPlain; // the lines of a text without marks (it looks through the text once)
    std::size_t FPos = 0;
};

// The whole file split at CR LF, LF or CR; false when it cannot be opened.
bool ReadFileLines(std::string_view fileName, std::vector<std::string>& lines);

} // namespace declsearch
