// The runtime's byte streams; declarations in Streams.h.
#include "rtl/Streams.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace rtl {

// --- TStream ---

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const std::int64_t total = count;
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(std::max<std::int64_t>(count, 1), 0xF000)));
    while (count > 0) {
        std::int64_t n = std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return total;
}

std::int64_t TStream::Size() {
    std::int64_t pos = Seek(0, soFromCurrent);
    std::int64_t size = Seek(0, soFromEnd);
    Seek(pos, soFromBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) {}

// --- THandleStream ---

std::int64_t THandleStream::Read(void* buffer, std::int64_t count) {
    std::int64_t done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(FHandle, p + done, static_cast<std::size_t>(std::min<std::int64_t>(count - done, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

std::int64_t THandleStream::Write(const void* buffer, std::int64_t count) {
    std::int64_t done = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(FHandle, p + done, static_cast<std::size_t>(std::min<std::int64_t>(count - done, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

std::int64_t THandleStream::Seek(std::int64_t offset, std::uint16_t origin) {
    int whence = origin == soFromCurrent ? SEEK_CUR : origin == soFromEnd ? SEEK_END : SEEK_SET;
    off_t r = ::lseek(FHandle, static_cast<off_t>(offset), whence);
    return static_cast<std::int64_t>(r);
}

void THandleStream::SetSize(std::int64_t newSize) {
    if (newSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(newSize)) != 0) throw EWriteError("Stream write error");
    Seek(newSize, soFromBeginning);
}

// --- TFileStream ---

TFileStream::TFileStream(std::string_view fileName, std::uint16_t mode) : THandleStream(-1) {
    const bool create = mode == fmCreate;
    int flags = O_CLOEXEC;
    if (create) flags |= O_RDWR | O_CREAT | O_TRUNC;
    else if ((mode & 3) == fmOpenWrite) flags |= O_WRONLY;
    else if ((mode & 3) == fmOpenReadWrite) flags |= O_RDWR;
    else flags |= O_RDONLY;
    // Share modes are accepted; the host has no mandatory file locks to stand for them.

    std::string path;
    try {
        path = HostPath(fileName);
    } catch (const Exception&) {
        path.clear();
    }
    if (!path.empty()) FHandle = ::open(path.c_str(), flags, 0666);
    struct stat st;
    if (FHandle >= 0 && (::fstat(FHandle, &st) != 0 || S_ISDIR(st.st_mode))) {
        ::close(FHandle);
        FHandle = -1;
    }
    if (FHandle < 0) {
        if (create) throw EFCreateError("Cannot create file " + std::string(fileName));
        throw EFOpenError("Cannot open file " + std::string(fileName));
    }
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

// --- TMemoryStream ---

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    if (FPosition < 0 || count <= 0) return 0;
    std::int64_t n = std::min(count, Size() - FPosition);
    if (n <= 0) return 0;
    std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (FPosition < 0 || count <= 0) return 0;
    std::int64_t end = FPosition + count;
    if (end > Size()) {
        try {
            FData.resize(static_cast<std::size_t>(end));
        } catch (const std::bad_alloc&) {
            return 0;
        } catch (const std::length_error&) {
            return 0;
        }
    }
    std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
    FPosition = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, std::uint16_t origin) {
    if (origin == soFromCurrent) FPosition += offset;
    else if (origin == soFromEnd) FPosition = Size() + offset;
    else FPosition = offset;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t newSize) {
    if (newSize < 0) newSize = 0;
    try {
        FData.resize(static_cast<std::size_t>(newSize));
    } catch (const std::exception&) {
        throw EOutOfMemory("Out of memory");
    }
    FData.shrink_to_fit();
    if (FPosition > newSize) FPosition = newSize;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    std::int64_t count = stream.Size();
    std::vector<char> data(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
    stream.ReadBuffer(data.data(), count);
    FData = std::move(data);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(std::string_view fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream) { stream.WriteBuffer(FData.data(), Size()); }

// Through a temporary file, so that a failed save leaves the old file whole.
void TMemoryStream::SaveToFile(std::string_view fileName) {
    WriteFileAtomic(fileName, std::string_view(FData.data(), FData.size()));
}

// --- TStringStream ---

std::int64_t TStringStream::Read(void* buffer, std::int64_t count) {
    std::int64_t n = std::min(count, Size() - FPosition);
    if (n <= 0) return 0;
    std::memcpy(buffer, FDataString.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TStringStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    auto at = static_cast<std::size_t>(FPosition);
    auto n = static_cast<std::size_t>(count);
    try {
        if (at + n > FDataString.size()) FDataString.resize(at + n);
    } catch (const std::exception&) {
        return 0;
    }
    FDataString.replace(at, n, static_cast<const char*>(buffer), n);
    FPosition += count;
    return count;
}

std::int64_t TStringStream::Seek(std::int64_t offset, std::uint16_t origin) {
    if (origin == soFromCurrent) FPosition += offset;
    else if (origin == soFromEnd) FPosition = Size() + offset;
    else FPosition = offset;
    FPosition = std::clamp<std::int64_t>(FPosition, 0, Size());
    return FPosition;
}

void TStringStream::SetSize(std::int64_t newSize) {
    FDataString.resize(static_cast<std::size_t>(std::max<std::int64_t>(newSize, 0)));
    FPosition = std::min(FPosition, Size());
}

std::string TStringStream::ReadString(std::int64_t count) {
    std::int64_t n = std::clamp<std::int64_t>(count, 0, Size() - FPosition);
    std::string r = FDataString.substr(static_cast<std::size_t>(FPosition), static_cast<std::size_t>(n));
    FPosition += n;
    return r;
}

void TStringStream::WriteString(std::string_view s) { Write(s.data(), static_cast<std::int64_t>(s.size())); }

} // namespace rtl
