// Byte streams of the class library: the abstract TStream, streams over an open file handle and
// over a named file, and streams in memory and over a string. Implementations in Streams.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

// Seek origins.
enum : std::uint16_t { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

// TFileStream modes: one access mode or'ed with one share mode, or fmCreate alone.
enum : std::uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFFFF,
};

class TStream {
public:
    TStream() = default;
    virtual ~TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Read and Write move at most count bytes and answer how many they moved.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Answers the new position.
    virtual std::int64_t Seek(std::int64_t offset, std::uint16_t origin) = 0;

    // Exactly count bytes, or EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies count bytes from source's position; a count of 0 copies the whole source from its
    // start. Answers the bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    std::int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(std::int64_t value) { Seek(value, soFromBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t newSize);
};

// A stream over an open POSIX file descriptor, which it does not close.
class THandleStream : public TStream {
public:
    explicit THandleStream(int handle) : FHandle(handle) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override;
    // Cuts or extends the file and moves the position to the new end; EWriteError on failure.
    void SetSize(std::int64_t newSize) override;

    int Handle() const { return FHandle; }

protected:
    int FHandle;
};

// A stream over a named file. fmCreate makes the file (emptying one that exists) and raises
// EFCreateError "Cannot create file <name>"; the open modes raise EFOpenError
// "Cannot open file <name>", also for a folder. The name is a suite (Windows-form) name.
class TFileStream : public THandleStream {
public:
    TFileStream(std::string_view fileName, std::uint16_t mode);
    ~TFileStream() override;
};

// A stream over a block of memory that it owns and grows as it is written.
class TMemoryStream : public TStream {
public:
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    // New bytes are zero; the position is kept inside the new size.
    void SetSize(std::int64_t newSize) override;

    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    void Clear();
    // Replace the contents with all of stream (from its start) or the file, position 0.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(std::string_view fileName);
    // Write the whole contents, whatever the position; a file through a temporary file beside
    // it, so that a failed save leaves the old file whole.
    void SaveToStream(TStream& stream);
    void SaveToFile(std::string_view fileName);

private:
    std::vector<char> FData;
    std::int64_t FPosition = 0;
};

// A stream over a string; writing overwrites from the position and extends at the end.
class TStringStream : public TStream {
public:
    explicit TStringStream(std::string dataString = {}) : FDataString(std::move(dataString)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // The position is kept between 0 and the size.
    std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FDataString.size()); }
    void SetSize(std::int64_t newSize) override;

    const std::string& DataString() const { return FDataString; }
    // At most count characters from the position.
    std::string ReadString(std::int64_t count);
    void WriteString(std::string_view s);

private:
    std::string FDataString;
    std::int64_t FPosition = 0;
};

} // namespace rtl
