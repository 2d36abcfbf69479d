// The files a search reads: names resolved on disk without regard to case, folder listings by a
// file mask, and whole files split into lines. Implementations in SourceFiles.cpp.
#pragma once

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

// The whole file split at CR LF, LF or CR; false when it cannot be opened.
bool ReadFileLines(std::string_view fileName, std::vector<std::string>& lines);

} // namespace declsearch
