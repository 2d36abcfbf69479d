// Locking and atomic replacement of shared files.
#include "rtl/LockedFile.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace rtl {
namespace {

TFileStamp FromStat(const struct stat& st) {
    TFileStamp s;
    s.Device = st.st_dev;
    s.Inode = st.st_ino;
    s.Size = st.st_size;
    s.MTimeSec = st.st_mtim.tv_sec;
    s.MTimeNsec = st.st_mtim.tv_nsec;
    return s;
}

bool ReadAll(int fd, std::string& content) {
    content.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        content.append(buf, static_cast<std::size_t>(n));
    }
}

// The one atomic rewrite, by host path; false with errno set when it fails.
bool Rewrite(const std::string& path, const std::string& content, TFileStamp* stamp, int* lockedFd) {
    try {
        TAtomicFile file(TAtomicFile::THostPath{path});
        if (lockedFd) file.KeepLocked();
        file.Write(content);
        file.Commit();
        if (lockedFd) {
            *lockedFd = file.TakeHandle();
            struct stat st {};
            if (stamp && ::fstat(*lockedFd, &st) == 0) *stamp = FromStat(st);
        } else if (stamp) {
            *stamp = StampOf(path);
        }
        return true;
    } catch (const EInOutError& e) {
        errno = e.ErrorCode ? e.ErrorCode : EIO;
    } catch (const Exception&) {
        errno = EIO;
    }
    return false;
}

} // namespace

TFileStamp StampOf(const std::string& hostPath) {
    struct stat st {};
    if (::stat(hostPath.c_str(), &st) != 0) return {};
    return FromStat(st);
}

bool ReadWholeFile(const std::string& hostPath, std::string& content, TFileStamp* stamp) {
    content.clear();
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadAll(fd, content);
    ::close(fd);
    if (ok && stamp) *stamp = FromStat(st);
    if (!ok) content.clear();
    return ok;
}

bool ReplaceFile(const std::string& hostPath, const std::string& content, TFileStamp* stamp) {
    return Rewrite(hostPath, content, stamp, nullptr);
}

TLockedFile::TLockedFile(std::string hostPath, int timeoutMs) : FPath(std::move(hostPath)) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    auto pause = std::chrono::microseconds(50);
    for (;;) {
        int fd = ::open(FPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            FError = errno;
            return;
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                FError = errno;
                ::close(fd);
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                FError = ETIMEDOUT;
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(pause);
            if (pause < std::chrono::microseconds(200)) pause *= 2;
        }
        struct stat held {}, now {};
        if (::fstat(fd, &held) == 0 && ::stat(FPath.c_str(), &now) == 0 &&
            held.st_dev == now.st_dev && held.st_ino == now.st_ino) {
            FFd = fd;
            FStamp = FromStat(held);
            return;
        }
        ::close(fd); // replaced while we waited: lock the new version
    }
}

TLockedFile::~TLockedFile() {
    if (FFd >= 0) ::close(FFd);
}

bool TLockedFile::Read(std::string& content) {
    if (FFd < 0) return false;
    if (::lseek(FFd, 0, SEEK_SET) < 0) return false;
    return ReadAll(FFd, content);
}

bool TLockedFile::Replace(const std::string& content) {
    if (FFd < 0) return false;
    // The lock moves to the new version with it, so the holder may replace it again; waiters
    // on the old version find it replaced and wait for the new one.
    int fd = -1;
    if (!Rewrite(FPath, content, &FStamp, &fd)) return false;
    ::close(FFd);
    FFd = fd;
    return true;
}

} // namespace rtl
