// The reader of a main dictionary file (".DCT"): a word tree of 32-bit nodes after an 83-byte
// header, mapped into memory read-only. Every node index is checked against the file's size,
// so a damaged file raises TEDictionaryCorrupt instead of being read past its end.
// Implementations in DCTFile.cpp.
#pragma once

#include "spellengine/LinkedList.h"

#include "rtl/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace spellengine {

class TEDictionaryCorrupt : public rtl::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "TEDictionaryCorrupt"; }
};

using TNode = std::uint32_t;

constexpr std::size_t DctHeaderSize = 83;
// A 22-bit child index.
constexpr std::uint32_t DctMaxNodes = 0x3FFFFF;
// The signature that follows the header's length byte: 43 characters and 7 zero bytes.
inline constexpr std::string_view DctSignature{"Vmk lexicon trie file, 4-byte nodes, rev 1.\0\0\0\0\0\0\0", 50};
// Longest word the system handles (the shared Word type).
constexpr std::size_t MaxWordLength = 50;

constexpr bool IsLastSibling(TNode Node) { return (Node >> 23) & 1; }
constexpr bool IsEndOfWord(TNode Node) { return (Node >> 22) & 1; }
constexpr std::uint32_t ChildIndex(TNode Node) { return Node & 0x3FFFFF; }
constexpr char NodeChar(TNode Node) { return static_cast<char>(Node >> 24); }

class TDCTFile : public TLinkedListNode {
public:
    // Raises EFOpenError "Dictionary not found : <name>" when there is no such file,
    // TEDictionaryCorrupt when it is not a dictionary, EInOutError when it cannot be read.
    explicit TDCTFile(std::string FileName);
    ~TDCTFile() override;

    const std::string& FileName() const { return FFileName; }
    std::int64_t FileSize() const { return FFileSize; }
    // The first 83 bytes of the file.
    const std::string& Header() const { return FHeader; }
    std::uint32_t NodeCount() const { return FNodeCount; }
    bool IsOpen() const { return FData != nullptr; }

    // Node K (from 1); raises TEDictionaryCorrupt for an index outside the file.
    TNode GetNode(std::uint32_t K) const;
    // The first node from Start on whose character is Ch, or the run's last sibling.
    TNode FindSibling(std::uint32_t Start, char Ch) const;
    // Word in OEM lower case.
    bool Lookup(std::string_view Word) const;
    void Close();

private:
    void Open();

    std::string FFileName;
    std::int64_t FFileSize = 0;
    std::string FHeader;
    const unsigned char* FData = nullptr;
    std::size_t FMapSize = 0;
    std::uint32_t FNodeCount = 0;
};

[[noreturn]] void RaiseDictionaryCorrupt();

} // namespace spellengine
