// Hand-made dictionary files for the tests: node by node for the exact rules and damaged
// files, or from a few words for everything else.
#pragma once

#include "spellengine/DCTFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dct_fixture {

inline std::uint32_t Node(char ch, bool last, bool eow, std::uint32_t child = 0) {
    return std::uint32_t(static_cast<unsigned char>(ch)) << 24 | std::uint32_t(last) << 23 |
           std::uint32_t(eow) << 22 | child;
}

inline std::string Header() {
    std::string h(spellengine::DctHeaderSize, '\0');
    h[0] = 82;
    h.replace(1, spellengine::DctSignature.size(), spellengine::DctSignature);
    return h;
}

inline void WriteRaw(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string Body(const std::vector<std::uint32_t>& nodes) {
    std::string s;
    for (std::uint32_t n : nodes)
        for (int b = 0; b < 4; ++b)
            s.push_back(static_cast<char>(n >> (8 * b)));
    return s;
}

inline void WriteNodes(const std::filesystem::path& path, const std::vector<std::uint32_t>& nodes) {
    WriteRaw(path, Header() + Body(nodes));
}

// A tree of the given words (OEM, lower case), siblings in the order of their first
// appearance, each sibling list followed by its members' child lists.
class TreeBuilder {
public:
    explicit TreeBuilder(const std::vector<std::string>& words) {
        FKids.emplace_back();
        FChar.push_back(0);
        FEnd.push_back(false);
        for (const std::string& w : words) {
            std::size_t at = 0;
            for (char c : w) {
                std::size_t next = 0;
                for (std::size_t k : FKids[at])
                    if (FChar[k] == c)
                        next = k;
                if (!next) {
                    next = FChar.size();
                    FChar.push_back(c);
                    FEnd.push_back(false);
                    FKids.emplace_back();
                    FKids[at].push_back(next);
                }
                at = next;
            }
            FEnd[at] = true;
        }
    }
    std::vector<std::uint32_t> Nodes() const {
        std::vector<std::uint32_t> out;
        Emit(0, out);
        return out;
    }

private:
    std::uint32_t Emit(std::size_t parent, std::vector<std::uint32_t>& out) const {
        const auto& kids = FKids[parent];
        auto first = static_cast<std::uint32_t>(out.size() + 1);
        for (std::size_t i = 0; i < kids.size(); ++i)
            out.push_back(Node(FChar[kids[i]], i + 1 == kids.size(), FEnd[kids[i]]));
        for (std::size_t i = 0; i < kids.size(); ++i)
            if (!FKids[kids[i]].empty())
                out[first - 1 + i] |= Emit(kids[i], out);
        return first;
    }
    std::vector<char> FChar;
    std::vector<bool> FEnd;
    std::vector<std::vector<std::size_t>> FKids;
};

inline void WriteWords(const std::filesystem::path& path, const std::vector<std::string>& words) {
    WriteNodes(path, TreeBuilder(words).Nodes());
}

// A scratch folder of its own per test.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "spell-XXXXXX").string();
        FPath = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    std::filesystem::path operator/(const std::string& name) const { return FPath / name; }
    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

inline std::string EnglishDct() { return std::string(SUITE_BINARY_DIR) + "/ENGLISH.DCT"; }
inline bool HaveEnglishDct() { return std::filesystem::exists(EnglishDct()); }

} // namespace dct_fixture
