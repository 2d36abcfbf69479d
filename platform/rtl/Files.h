// Files and folders by Windows-form name: existence, size, dates, copy, rename, delete, folders,
// directory searches with Windows masks, the drives, and the atomic rewrite that every file the
// suite rewrites goes through. Names are resolved as Paths.h says. Implementations in Files.cpp.
#pragma once

#include "rtl/Clock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace rtl {

bool FileExists(std::string_view fileName);       // a file; false for a folder
bool DirectoryExists(std::string_view name);
std::int64_t FileSizeByName(std::string_view fileName); // -1 when there is no such file

// File dates are DOS date-times in local time: the date in the high word (day 1-5, month 6-9,
// years since 1980 10-15), the time in the low word (seconds / 2 0-4, minutes 5-10, hours 11-15).
int FileAge(std::string_view fileName);           // -1 when there is no such file
int FileGetDate(int handle);                      // of an open descriptor; -1 on error
int FileSetDate(int handle, int age);             // 0, or the error code
int FileSetDate(std::string_view fileName, int age);
TDateTime FileDateToDateTime(int fileDate);
int DateTimeToFileDate(TDateTime dateTime);       // seconds rounded down to even

// As the Windows calls: false on failure. CopyFile gives the copy the source's date and time
// and writes it atomically; RenameFile refuses an existing target (a change of case only is fine).
bool CopyFile(std::string_view existingFileName, std::string_view newFileName, bool failIfExists);
bool RenameFile(std::string_view oldName, std::string_view newName);
bool DeleteFile(std::string_view fileName);
bool CreateDir(std::string_view dir);
bool RemoveDir(std::string_view dir);              // an empty folder only
// Makes the folder and any missing parents; raises EInOutError naming the folder when it cannot.
void ForceDirectories(std::string_view dir);

// Attributes. Hidden is a name starting with '.', read-only a file its owner may not write,
// system anything that is neither a file nor a folder.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int ERROR_PATH_NOT_FOUND = 3;
constexpr int ERROR_NO_MORE_FILES = 18;

struct TFindData;

struct TSearchRec {
    int Time = 0;             // DOS date-time
    std::int64_t Size = 0;
    int Attr = 0;
    std::string Name;         // cp1252, without folder
    int ExcludeAttr = 0;
    std::shared_ptr<TFindData> FindHandle;
};

// Windows masks: '*' and '?', "*.*" matches every name, "*." the names without an extension,
// a '?' before a '.' or at the end may match nothing; letters match without regard to case.
bool MatchesWinMask(std::string_view name, std::string_view mask);

// Searches the folder part of path for names matching its last part. Files with the hidden,
// system and directory attributes come only when attr asks for them; read-only and archive
// files always come. Names come in the order of their upper-case spelling, "." and ".." first
// outside a drive's root. Results: 0 found, else ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND or
// (FindNext) ERROR_NO_MORE_FILES.
int FindFirst(std::string_view path, int attr, TSearchRec& searchRec);
int FindNext(TSearchRec& searchRec);
void FindClose(TSearchRec& searchRec);

// The drives: C: (the machine root's drive_c) and Z: (the host's root), both fixed disks.
constexpr unsigned DRIVE_UNKNOWN = 0;
constexpr unsigned DRIVE_NO_ROOT_DIR = 1;
constexpr unsigned DRIVE_REMOVABLE = 2;
constexpr unsigned DRIVE_FIXED = 3;
constexpr unsigned DRIVE_REMOTE = 4;
constexpr unsigned DRIVE_CDROM = 5;
constexpr unsigned DRIVE_RAMDISK = 6;
std::uint32_t GetLogicalDrives();                    // bit 0 is A:
unsigned GetDriveType(std::string_view rootPathName); // "C:\", "c:" or "" (the current drive)

// The rule of every rewrite: a file that is read-only (faReadOnly; refused even where the
// user's rights would allow it, as the read-only attribute is) or that the user may not write,
// or a file in a folder the user may not write, is not written. WriteRefusal gives why, or empty
// when the file may be written; CheckFileWritable raises the atomic rewrite's EFCreateError for it.
std::string WriteRefusal(std::string_view fileName);
void CheckFileWritable(std::string_view fileName);

// An atomic rewrite, the one way the suite replaces a file: the bytes go to an unnamed file in
// the target's folder (locked while it exists), which Commit flushes to disk, names beside the
// target and renames over it, and the folder is flushed after it. Until then, and on any
// failure, the target stays as it was and nothing new is left in the folder; temporary files
// that writers killed mid-way left beside the target are removed by the next rewrite of it. A
// new file gets the default permissions, a replaced one keeps its own. A target that the rule
// above refuses, or a failure to create the file, raises EFCreateError; writing, flushing or
// renaming EInOutError, each naming the target.
class TAtomicFile {
public:
    // A target given by its host path rather than by a suite name.
    struct THostPath {
        std::string Path;
    };

    explicit TAtomicFile(std::string_view fileName);
    explicit TAtomicFile(THostPath target);
    ~TAtomicFile(); // discards what was not committed; closes a file kept locked
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Keeps the new file open and locked after Commit, so that it appears already locked; its
    // descriptor is then taken with TakeHandle.
    void KeepLocked() { FKeepLocked = true; }
    // Leaves out the flushes to disk, for a file that only describes running processes: after a
    // system crash there is nothing in it to keep, and the rename alone keeps readers from seeing
    // half of it.
    void SkipFlush() { FFlush = false; }
    void Write(const void* data, std::size_t count);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    void Commit();
    // The descriptor of the committed file kept locked, now the caller's to close; -1 otherwise.
    int TakeHandle();
    const std::string& FileName() const { return FFileName; }

private:
    void Open();
    void Name();
    void Fail(int code);
    void Discard();

    std::string FFileName;    // as given, for messages
    std::string FTarget;      // host path
    std::string FTemp;        // host path, once the file has a name
    int FHandle = -1;
    bool FKeepLocked = false;
    bool FFlush = true;
    bool FCommitted = false;
};

// Removes the temporary files of interrupted rewrites of a host path that no live writer holds
// (the writer's lock on its temporary file ends with the writer). Every rewrite calls it first.
void RemoveStaleTemporaries(const std::string& hostPath);

void WriteFileAtomic(std::string_view fileName, std::string_view bytes);
// The writer fills the file; an exception from it discards the file and passes on.
void WriteFileAtomic(std::string_view fileName, const std::function<void(TAtomicFile&)>& writer);

} // namespace rtl
