// The Quick Code window's snippets as its code-template file holds them: entries in the order of
// the file, each a "[name | description]" header and its code lines, and the text before the
// first header. The window shows and edits them; this reads and writes the file. Implementations
// in SnippetFile.cpp.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace experts {

// One snippet.
struct TCodeFrag {
    std::string Name;
    std::string Code; // lines ending in CR LF
    std::string Description;
    // The entry's text as the file held it, header and code lines with their own line breaks,
    // and what it was read as: while the entry is as read, it is written back as it was.
    std::string Raw;
    std::string ReadName, ReadDescription, ReadCode;
};

class TSnippetFile {
public:
    // Reads the file's entries in place of the ones held; raises when the file cannot be read,
    // and then holds what it held before.
    void Load(const std::string& FileName);
    // Rewrites the whole file: the text before the first header, then every entry in order.
    void Save(const std::string& FileName) const;
    void Clear();

    // In the order of the file, new entries last.
    const std::vector<std::unique_ptr<TCodeFrag>>& Snippets() const { return FSnippets; }
    TCodeFrag* Add(std::string Name);
    // Takes an entry out, with the place it had, so that it can be put back there.
    [[nodiscard]] std::pair<std::unique_ptr<TCodeFrag>, std::size_t> Take(const TCodeFrag* Frag);
    void PutBack(std::unique_ptr<TCodeFrag> Frag, std::size_t Place);

private:
    std::vector<std::unique_ptr<TCodeFrag>> FSnippets;
    // The lines before the first header, kept as they were read.
    std::string FPreamble;
};

} // namespace experts
