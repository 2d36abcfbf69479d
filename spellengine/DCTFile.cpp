#include "spellengine/DCTFile.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace spellengine {

void RaiseDictionaryCorrupt() { throw TEDictionaryCorrupt("Dictionary Corrupt."); }

TDCTFile::TDCTFile(std::string FileName) : FFileName(std::move(FileName)) {
    if (!rtl::FileExists(FFileName))
        throw rtl::EFOpenError("Dictionary not found : " + FFileName);
    Open();
}

TDCTFile::~TDCTFile() { Close(); }

void TDCTFile::Open() {
    const std::string host = rtl::HostPath(FFileName);
    int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw rtl::EInOutError(std::strerror(errno), errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        throw rtl::EInOutError(std::strerror(err), err);
    }
    FFileSize = st.st_size;
    // A header and at least node 1; a file too short for them is no dictionary.
    if (st.st_size < static_cast<off_t>(DctHeaderSize + sizeof(TNode))) {
        ::close(fd);
        RaiseDictionaryCorrupt();
    }
    FMapSize = static_cast<std::size_t>(st.st_size);
    void* map = ::mmap(nullptr, FMapSize, PROT_READ, MAP_PRIVATE, fd, 0);
    int err = errno;
    ::close(fd); // the mapping keeps the file open
    if (map == MAP_FAILED) {
        FMapSize = 0;
        throw rtl::EInOutError(std::strerror(err), err);
    }
    FData = static_cast<const unsigned char*>(map);
    FHeader.assign(reinterpret_cast<const char*>(FData), DctHeaderSize);
    if (std::string_view(FHeader).substr(1, DctSignature.size()) != DctSignature) {
        Close();
        RaiseDictionaryCorrupt();
    }
    // A partial node at the end of a truncated file is not part of the tree.
    std::size_t nodes = (FMapSize - DctHeaderSize) / sizeof(TNode);
    FNodeCount = static_cast<std::uint32_t>(nodes > DctMaxNodes ? DctMaxNodes : nodes);
}

void TDCTFile::Close() {
    if (FData)
        ::munmap(const_cast<unsigned char*>(FData), FMapSize);
    FData = nullptr;
    FMapSize = 0;
    FNodeCount = 0;
}

TNode TDCTFile::GetNode(std::uint32_t K) const {
    if (K < 1 || K > FNodeCount)
        RaiseDictionaryCorrupt();
    const unsigned char* p = FData + DctHeaderSize + 4 * std::size_t(K - 1);
    return TNode(p[0]) | TNode(p[1]) << 8 | TNode(p[2]) << 16 | TNode(p[3]) << 24;
}

TNode TDCTFile::FindSibling(std::uint32_t Start, char Ch) const {
    // Bounded by the file: a run without its last-sibling mark ends in GetNode's check.
    for (std::uint32_t k = Start;; ++k) {
        TNode node = GetNode(k);
        if (NodeChar(node) == Ch || IsLastSibling(node))
            return node;
    }
}

bool TDCTFile::Lookup(std::string_view Word) const {
    Word = Word.substr(0, MaxWordLength);
    std::uint32_t start = 1;
    while (start != 0 && !Word.empty()) {
        TNode node = FindSibling(start, Word.front());
        if (NodeChar(node) != Word.front())
            return false;
        Word.remove_prefix(1);
        if (Word.empty() && IsEndOfWord(node))
            return true;
        start = ChildIndex(node);
    }
    return false;
}

} // namespace spellengine
