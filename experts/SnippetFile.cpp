#include "experts/SnippetFile.h"

#include "rtl/Files.h"
#include "rtl/LineSplitter.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <tuple>

namespace experts {

namespace {

// A header's name and description as the file format reads them: "[name | description]", or
// "[name]" with no description.
std::pair<std::string, std::string> ReadHeader(const std::string& Line) {
    const auto separator = Line.find(" | ");
    if (separator != std::string::npos) {
        const std::size_t from = separator + 3;
        return {Line.substr(1, separator - 1),
                Line.size() > from ? Line.substr(from, Line.size() - from - 1) : std::string()};
    }
    return {Line.size() >= 2 ? Line.substr(1, Line.size() - 2) : std::string(), std::string()};
}

// The header of an entry written anew: the form that reads back as the same name and
// description ("[x |]" stays itself rather than turning into "[x | | ]").
std::string WriteHeader(const std::string& Name, const std::string& Description) {
    const std::string name = rtl::TrimRight(Name), description = rtl::TrimRight(Description);
    const std::string full = "[" + name + " | " + description + "]";
    if (description.empty() && ReadHeader(full) != std::pair(name, description)) {
        const std::string bare = "[" + name + "]";
        if (ReadHeader(bare) == std::pair(name, description)) return bare;
    }
    return full;
}

bool EndsWithBreak(const std::string& Text) {
    return !Text.empty() && (Text.back() == '\n' || Text.back() == '\r');
}

} // namespace

void TSnippetFile::Load(const std::string& FileName) {
    std::string data;
    {
        rtl::TFileStream file(FileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        data.resize(static_cast<std::size_t>(std::max<std::int64_t>(file.Size(), 0)));
        file.ReadBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    }

    std::vector<std::unique_ptr<TCodeFrag>> snippets;
    std::string preamble;
    bool headerSeen = false;
    std::string name, description, code, raw;
    auto finish = [&] {
        if (!headerSeen) {
            preamble = raw;
            return;
        }
        auto frag = std::make_unique<TCodeFrag>();
        frag->Name = name;
        frag->Description = description;
        frag->Code = code;
        frag->Raw = raw;
        frag->ReadName = name;
        frag->ReadDescription = description;
        frag->ReadCode = code;
        snippets.push_back(std::move(frag));
    };
    // Each line keeps its own break in the entry's text as read.
    rtl::TLineSplitter lines(data);
    for (std::string_view view; lines.Next(view);) {
        const std::string line(view);
        const std::string whole = line + std::string(lines.Break());
        if (line.empty() || line[0] != '[') {
            code += line + "\r\n";
            raw += whole;
            continue;
        }
        finish();
        std::tie(name, description) = ReadHeader(line);
        code.clear();
        raw = whole;
        headerSeen = true;
    }
    finish();
    FSnippets = std::move(snippets);
    FPreamble = std::move(preamble);
}

void TSnippetFile::Save(const std::string& FileName) const {
    // An entry as it was read is written as it was read, so a file with nothing new keeps its
    // bytes.
    std::string text = FPreamble;
    for (const auto& frag : FSnippets) {
        if (!text.empty() && !EndsWithBreak(text)) text += "\r\n";
        if (!frag->Raw.empty() && frag->Name == frag->ReadName && frag->Description == frag->ReadDescription &&
            frag->Code == frag->ReadCode) {
            text += frag->Raw;
            continue;
        }
        text += WriteHeader(frag->Name, frag->Description) + "\r\n";
        const std::string code = rtl::TrimRight(frag->Code);
        if (!code.empty()) text += code + "\r\n";
    }
    rtl::WriteFileAtomic(FileName, text);
}

void TSnippetFile::Clear() {
    FSnippets.clear();
    FPreamble.clear();
}

TCodeFrag* TSnippetFile::Add(std::string Name) {
    auto frag = std::make_unique<TCodeFrag>();
    frag->Name = std::move(Name);
    FSnippets.push_back(std::move(frag));
    return FSnippets.back().get();
}

std::pair<std::unique_ptr<TCodeFrag>, std::size_t> TSnippetFile::Take(const TCodeFrag* Frag) {
    auto it = std::find_if(FSnippets.begin(), FSnippets.end(), [Frag](const auto& p) { return p.get() == Frag; });
    if (it == FSnippets.end()) return {nullptr, FSnippets.size()};
    const std::size_t place = static_cast<std::size_t>(it - FSnippets.begin());
    std::unique_ptr<TCodeFrag> taken = std::move(*it);
    FSnippets.erase(it);
    return {std::move(taken), place};
}

void TSnippetFile::PutBack(std::unique_ptr<TCodeFrag> Frag, std::size_t Place) {
    if (!Frag) return;
    FSnippets.insert(FSnippets.begin() + static_cast<std::ptrdiff_t>(std::min(Place, FSnippets.size())), std::move(Frag));
}

} // namespace experts
