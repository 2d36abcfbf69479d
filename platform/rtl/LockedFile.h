// Files that several processes rewrite: an exclusive lock held on the file itself while it is
// read, changed and replaced whole through the runtime's atomic rewrite (TAtomicFile), and a
// stamp that tells a reader whether the file changed since it last read it. Implementations in
// LockedFile.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace rtl {

// Identity of one version of a file: every replacement is a new inode, and size and
// modification time catch in-place edits.
struct TFileStamp {
    std::uint64_t Device = 0, Inode = 0;
    std::int64_t Size = -1, MTimeSec = 0, MTimeNsec = 0;
    bool Exists() const { return Size >= 0; }
    bool operator==(const TFileStamp&) const = default;
};

// The stamp of what is at the path now; Size -1 when nothing is there.
TFileStamp StampOf(const std::string& hostPath);

// Reads a whole file; false (content empty) when it cannot be opened.
bool ReadWholeFile(const std::string& hostPath, std::string& content, TFileStamp* stamp = nullptr);

// Replaces a file by host path through the atomic rewrite. On failure the target is left as it
// was and errno tells why.
bool ReplaceFile(const std::string& hostPath, const std::string& content, TFileStamp* stamp = nullptr);

// The exclusive lock on a file. The lock is taken on the file now at the path (made empty when
// missing); a lock taken on a version that was replaced meanwhile is dropped and taken again.
// Waits at most timeoutMs for another holder.
class TLockedFile {
public:
    explicit TLockedFile(std::string hostPath, int timeoutMs = 10000);
    ~TLockedFile();
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;

    bool Locked() const { return FFd >= 0; }
    int Error() const { return FError; } // errno of a failed lock
    const TFileStamp& Stamp() const { return FStamp; }
    // The locked version's content.
    bool Read(std::string& content);
    // Replaces the file under the lock, first removing the temporary files that dead writers left
    // beside it; the new version, locked before it appears, and its stamp become this one's.
    bool Replace(const std::string& content);

private:
    std::string FPath;
    int FFd = -1;
    int FError = 0;
    TFileStamp FStamp;
};

} // namespace rtl
