// mkdct: builds a main dictionary file (.DCT word tree) from a plain word list.
//
//   mkdct <word-list> <output.DCT>
//
// The list holds one word per line, in UTF-8 or cp1252 (a line that is not valid UTF-8 is read
// as cp1252). Each word is lowered and converted to the OEM code page (cp437, accented letters
// without an OEM form become their base letter, as the checker's own conversion does); a word
// of more than 49 characters, or with a character whose OEM form is no word character
// (apostrophe, digit, letter, OEM 128-165), is skipped and counted. Duplicates after this
// folding are one word.
//
// Layout of the tree: node 1 starts the list of first letters; siblings are in ascending order
// of their OEM byte value; each sibling list is followed by the lists of its members' children,
// depth first in that order, so a walk of the tree reads the file front to back.
#include "rtl/CodePages.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kSignature{"Vmk lexicon trie file, 4-byte nodes, rev 1.\0\0\0\0\0\0\0", 50};
constexpr std::size_t kHeaderSize = 83;
constexpr std::size_t kMaxWordLength = 49;
constexpr std::uint32_t kMaxNodes = 0x3FFFFF;

bool IsOemWordChar(unsigned char c) {
    return c == '\'' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (c >= 128 && c <= 165);
}

struct TrieNode {
    unsigned char Ch = 0;
    bool EndOfWord = false;
    std::vector<std::uint32_t> Children; // pool indexes, ascending by character
};

class Trie {
public:
    Trie() { FPool.emplace_back(); }

    // Answers false when the word was there already.
    bool Insert(std::string_view word) {
        std::uint32_t at = 0;
        for (unsigned char c : word) {
            auto& kids = FPool[at].Children;
            std::size_t i = 0;
            while (i < kids.size() && FPool[kids[i]].Ch < c)
                ++i;
            if (i < kids.size() && FPool[kids[i]].Ch == c) {
                at = kids[i];
                continue;
            }
            auto made = static_cast<std::uint32_t>(FPool.size());
            FPool.emplace_back();
            FPool.back().Ch = c;
            FPool[at].Children.insert(FPool[at].Children.begin() + std::ptrdiff_t(i), made);
            at = made;
        }
        bool fresh = !FPool[at].EndOfWord;
        FPool[at].EndOfWord = true;
        return fresh;
    }

    std::size_t NodeCount() const { return FPool.size() - 1; }

    // The file's nodes, node 1 first.
    std::vector<std::uint32_t> Layout() const {
        std::vector<std::uint32_t> out;
        out.reserve(NodeCount());
        if (FPool[0].Children.empty()) {
            // An empty list still needs node 1: one last sibling that ends no word.
            out.push_back(1u << 23);
            return out;
        }
        EmitList(FPool[0].Children, out);
        return out;
    }

private:
    // Places one sibling list, then its members' child lists; answers the list's first index.
    std::uint32_t EmitList(const std::vector<std::uint32_t>& list, std::vector<std::uint32_t>& out) const {
        auto first = static_cast<std::uint32_t>(out.size() + 1);
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TrieNode& n = FPool[list[i]];
            out.push_back(std::uint32_t(n.Ch) << 24 | std::uint32_t(i + 1 == list.size()) << 23 |
                          std::uint32_t(n.EndOfWord) << 22);
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TrieNode& n = FPool[list[i]];
            if (!n.Children.empty())
                out[first - 1 + i] |= EmitList(n.Children, out);
        }
        return first;
    }

    std::vector<TrieNode> FPool;
};

// The word in OEM lower case, or empty when a character has no OEM word character.
std::string FoldWord(std::string_view ansi) {
    std::string oem;
    oem.reserve(ansi.size());
    for (char c : ansi) {
        // Lowered before the conversion for the accented capitals, after it for the best
        // fits that are capitals (the euro sign's E).
        char o = rtl::AnsiToOemChar(rtl::CharLower(c));
        if (o >= 'A' && o <= 'Z')
            o = char(o + 32);
        if (!IsOemWordChar(static_cast<unsigned char>(o)))
            return {};
        oem.push_back(o);
    }
    return oem;
}

int Fail(const std::string& message) {
    std::cerr << "mkdct: " << message << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: mkdct <word-list> <output.DCT>\n";
        return 2;
    }
    const std::filesystem::path source = argv[1], target = argv[2];
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return Fail("cannot read " + source.string());

    Trie trie;
    std::size_t words = 0, duplicates = 0, tooLong = 0, badChars = 0;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        first = false;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (line.empty())
            continue;
        std::string ansi = rtl::Utf8ToAnsi(line);
        if (ansi.size() > kMaxWordLength) {
            ++tooLong;
            continue;
        }
        std::string oem = FoldWord(ansi);
        if (oem.empty()) {
            ++badChars;
            continue;
        }
        if (trie.Insert(oem))
            ++words;
        else
            ++duplicates;
    }
    if (in.bad())
        return Fail("error reading " + source.string());
    if (trie.NodeCount() > kMaxNodes)
        return Fail("the word list needs " + std::to_string(trie.NodeCount()) + " nodes; a dictionary holds at most " +
                    std::to_string(kMaxNodes));

    std::vector<std::uint32_t> nodes = trie.Layout();
    std::string data(kHeaderSize, '\0');
    data[0] = static_cast<char>(kHeaderSize - 1);
    data.replace(1, kSignature.size(), kSignature);
    data.reserve(kHeaderSize + 4 * nodes.size());
    for (std::uint32_t n : nodes)
        for (int b = 0; b < 4; ++b)
            data.push_back(static_cast<char>(n >> (8 * b)));

    // Written beside the target and renamed over it, so a failed build leaves no half file.
    std::filesystem::path temp = target;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(data.data(), std::streamsize(data.size()));
        out.close();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return Fail("cannot write " + temp.string());
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return Fail("cannot write " + target.string());
    }
    std::cout << "mkdct: " << target.string() << ": " << words << " words, " << nodes.size() << " nodes; "
              << duplicates << " duplicates merged; skipped " << tooLong << " over " << kMaxWordLength
              << " characters and " << badChars << " with characters that are no OEM word characters\n";
    return 0;
}
