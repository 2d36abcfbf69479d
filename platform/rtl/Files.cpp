// Files and folders by Windows-form name.
#include "rtl/Files.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Paths.h"
#include "rtl/TestHooks.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rtl {

struct TFindData {
    std::vector<TSearchRec> Entries;
    std::size_t Next = 0;
};

namespace {

std::mutex gHookMutex;
std::function<int(std::string_view)> gWriteFailureHook;

bool StatHost(const std::string& host, struct stat& st) {
    return !host.empty() && ::stat(host.c_str(), &st) == 0;
}

// --- dates -------------------------------------------------------------------------------

// Days since 1 January 1970 of a proleptic Gregorian date.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * unsigned(m + (m > 2 ? -3 : 9)) + 2) / 5 + unsigned(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

constexpr long long kUnixDayOfDateTimeZero = -25569; // 30 December 1899

int PackDos(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1980) return int(((1u << 5) | 1u) << 16); // the earliest DOS date, 1 January 1980
    if (year > 2107) year = 2107;
    unsigned date = unsigned((year - 1980) << 9 | month << 5 | day);
    unsigned time = unsigned(hour << 11 | minute << 5 | second / 2);
    return int(date << 16 | time);
}

int DosFromTime(time_t t) {
    struct tm tm;
    if (!::localtime_r(&t, &tm)) return -1;
    return PackDos(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

bool TimeFromDos(int age, time_t& out) {
    unsigned u = unsigned(age);
    struct tm tm {};
    tm.tm_year = int((u >> 25) & 0x7F) + 80;
    tm.tm_mon = int((u >> 21) & 0x0F) - 1;
    tm.tm_mday = int((u >> 16) & 0x1F);
    tm.tm_hour = int((u >> 11) & 0x1F);
    tm.tm_min = int((u >> 5) & 0x3F);
    tm.tm_sec = int(u & 0x1F) * 2;
    tm.tm_isdst = -1;
    if (tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_mday < 1 || tm.tm_hour > 23 || tm.tm_min > 59 || tm.tm_sec > 59)
        return false;
    out = ::mktime(&tm);
    return out != time_t(-1);
}

int SetTimes(int dirFd, const char* path, int fd, time_t t) {
    struct timespec ts[2];
    ts[0].tv_sec = ts[1].tv_sec = t;
    ts[0].tv_nsec = ts[1].tv_nsec = 0;
    int rc = fd >= 0 || !path ? ::futimens(fd, ts) : ::utimensat(dirFd, path, ts, 0);
    return rc == 0 ? 0 : errno;
}

// --- searches ----------------------------------------------------------------------------

enum class Tok { Lit, Star, Qm, DosStar, DosQm, DosDot };

struct MaskTok {
    Tok kind;
    char ch;
};

// Read as the system reads a mask: a run of '?' before a '.' or at the end, a '.' before a wildcard or
// at the end and a '*' before a '.' take their DOS meanings.
std::vector<MaskTok> Tokenize(std::string_view mask) {
    std::vector<MaskTok> toks;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        char c = mask[i];
        char next = i + 1 < mask.size() ? mask[i + 1] : '\0';
        bool atEnd = i + 1 == mask.size();
        if (c == '*') {
            toks.push_back({next == '.' ? Tok::DosStar : Tok::Star, 0});
        } else if (c == '?') {
            std::size_t after = mask.find_first_not_of('?', i);
            bool dos = after == std::string_view::npos || mask[after] == '.';
            toks.push_back({dos ? Tok::DosQm : Tok::Qm, 0});
        } else if (c == '.' && (atEnd || next == '?' || next == '*')) {
            toks.push_back({Tok::DosDot, 0});
        } else {
            toks.push_back({Tok::Lit, CharUpper(c)});
        }
    }
    return toks;
}

bool MatchTokens(const std::vector<MaskTok>& toks, std::string_view name) {
    const std::size_t n = name.size();
    const std::size_t lastDot = name.rfind('.');
    std::string upper = CharUpperStr(name);
    // reach[j]: the tokens so far can consume exactly the first j characters.
    std::vector<char> reach(n + 1, 0), next(n + 1, 0);
    reach[0] = 1;
    for (const MaskTok& t : toks) {
        std::fill(next.begin(), next.end(), 0);
        for (std::size_t j = 0; j <= n; ++j) {
            if (!reach[j]) continue;
            switch (t.kind) {
            case Tok::Lit:
                if (j < n && upper[j] == t.ch) next[j + 1] = 1;
                break;
            case Tok::Qm:
                if (j < n) next[j + 1] = 1;
                break;
            case Tok::Star:
                for (std::size_t k = j; k <= n; ++k) next[k] = 1;
                break;
            case Tok::DosStar:
                // any run that leaves the name's last dot unconsumed
                for (std::size_t k = j; k <= n; ++k) {
                    next[k] = 1;
                    if (k < n && lastDot == k) break;
                }
                break;
            case Tok::DosQm:
                if (j == n || name[j] == '.') next[j] = 1;
                else next[j + 1] = 1;
                break;
            case Tok::DosDot:
                if (j == n) next[j] = 1;
                else if (name[j] == '.') next[j + 1] = 1;
                break;
            }
        }
        reach.swap(next);
    }
    return reach[n] != 0;
}

int AttrOf(std::string_view name, const struct stat& st) {
    int attr = 0;
    if (S_ISDIR(st.st_mode)) attr |= faDirectory;
    else if (S_ISREG(st.st_mode)) attr |= faArchive;
    else attr |= faSysFile;
    if (!S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR)) attr |= faReadOnly;
    if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
    return attr;
}

bool NameBefore(const TSearchRec& a, const TSearchRec& b) {
    std::string ua = CharUpperStr(a.Name), ub = CharUpperStr(b.Name);
    return ua != ub ? ua < ub : a.Name < b.Name;
}

int NextMatch(TSearchRec& rec) {
    if (!rec.FindHandle) return ERROR_NO_MORE_FILES;
    TFindData& data = *rec.FindHandle;
    while (data.Next < data.Entries.size()) {
        const TSearchRec& e = data.Entries[data.Next++];
        if (e.Attr & rec.ExcludeAttr) continue;
        rec.Time = e.Time;
        rec.Size = e.Size;
        rec.Attr = e.Attr;
        rec.Name = e.Name;
        return 0;
    }
    return ERROR_NO_MORE_FILES;
}

std::string ErrorText(int code) { return std::strerror(code); }

[[noreturn]] void RaiseInOut(const std::string& action, std::string_view fileName, int code) {
    throw EInOutError("I/O error " + std::to_string(code) + " " + action + " " + std::string(fileName) + ": " +
                          ErrorText(code),
                      code);
}

void SplitHostPath(const std::string& path, std::string& dir, std::string& base) {
    std::size_t slash = path.rfind('/');
    dir = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    base = slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".<name>.<pid>-<count>-<random>.tmp", hidden beside the target.
std::string TempNameBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 rng{std::random_device{}()};
    std::string dir, base;
    SplitHostPath(target, dir, base);
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%x-%x-%x.tmp", unsigned(::getpid()), counter++, unsigned(rng() & 0xFFFF));
    return dir + "." + base + suffix;
}

bool IsHexRun(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// Whether name is a temporary file of a rewrite of base: ours, or "<base>.tmpXXXXXX" as
// earlier versions of the suite made them.
bool IsTemporaryOf(std::string_view name, std::string_view base) {
    std::string prefix = "." + std::string(base) + ".";
    if (name.size() > prefix.size() + 4 && name.substr(0, prefix.size()) == prefix &&
        name.substr(name.size() - 4) == ".tmp") {
        std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        std::size_t a = middle.find('-'), b = middle.rfind('-');
        return a != std::string_view::npos && b != a && IsHexRun(middle.substr(0, a)) &&
               IsHexRun(middle.substr(a + 1, b - a - 1)) && IsHexRun(middle.substr(b + 1));
    }
    std::string legacy = std::string(base) + ".tmp";
    if (name.size() == legacy.size() + 6 && name.substr(0, legacy.size()) == legacy)
        return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(legacy.size()), name.end(),
                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
    return false;
}

// The target a rewrite replaces: a link is written through to the file it names, so that the
// link stays a link.
std::string ResolvedTarget(const std::string& host) {
    char resolved[PATH_MAX];
    struct stat lst;
    if (::lstat(host.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode) && ::realpath(host.c_str(), resolved))
        return resolved;
    return host;
}

// The one rule of writing a file: a read-only file is refused even to a user whose rights would
// allow it (as the read-only attribute refuses an administrator), and so is a file or folder the
// user may not write. Empty when the file may be written, else why not.
std::string RefusalOf(const std::string& target) {
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return "it is a folder";
        if (!(st.st_mode & S_IWUSR)) return "the file is read-only";
        if (::access(target.c_str(), W_OK) != 0) return ErrorText(errno);
    }
    std::string dir, base;
    SplitHostPath(target, dir, base);
    if (::access(dir.c_str(), W_OK | X_OK) != 0) return ErrorText(errno);
    return {};
}

void SyncFolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? std::string(".") : (slash == 0 ? std::string("/") : path.substr(0, slash));
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

// --- existence and size --------------------------------------------------------------------

bool FileExists(std::string_view fileName) {
    struct stat st;
    return !fileName.empty() && StatHost(HostPath(fileName), st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::string_view name) {
    struct stat st;
    return !name.empty() && StatHost(HostPath(name), st) && S_ISDIR(st.st_mode);
}

std::int64_t FileSizeByName(std::string_view fileName) {
    struct stat st;
    if (fileName.empty() || !StatHost(HostPath(fileName), st) || S_ISDIR(st.st_mode)) return -1;
    return st.st_size;
}

// --- dates ---------------------------------------------------------------------------------

int FileAge(std::string_view fileName) {
    struct stat st;
    if (fileName.empty() || !StatHost(HostPath(fileName), st) || S_ISDIR(st.st_mode)) return -1;
    return DosFromTime(st.st_mtime);
}

int FileGetDate(int handle) {
    struct stat st;
    if (::fstat(handle, &st) != 0) return -1;
    return DosFromTime(st.st_mtime);
}

int FileSetDate(int handle, int age) {
    time_t t;
    if (!TimeFromDos(age, t)) return EINVAL;
    return SetTimes(AT_FDCWD, nullptr, handle, t);
}

int FileSetDate(std::string_view fileName, int age) {
    time_t t;
    if (!TimeFromDos(age, t)) return EINVAL;
    std::string host = HostPath(fileName);
    if (host.empty()) return ENOENT;
    return SetTimes(AT_FDCWD, host.c_str(), -1, t);
}

TDateTime FileDateToDateTime(int fileDate) {
    unsigned u = unsigned(fileDate);
    int year = int((u >> 25) & 0x7F) + 1980, month = int((u >> 21) & 0x0F), day = int((u >> 16) & 0x1F);
    int hour = int((u >> 11) & 0x1F), minute = int((u >> 5) & 0x3F), second = int(u & 0x1F) * 2;
    double days = double(DaysFromCivil(year, month, day) - kUnixDayOfDateTimeZero);
    return days + (hour * 3600 + minute * 60 + second) / 86400.0;
}

int DateTimeToFileDate(TDateTime dateTime) {
    long long ms = std::llround(dateTime * 86400000.0);
    long long day = ms / 86400000, rest = ms % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --day;
    }
    int y, m, d;
    CivilFromDays(day + kUnixDayOfDateTimeZero, y, m, d);
    int secs = int(rest / 1000);
    return PackDos(y, m, d, secs / 3600, secs / 60 % 60, secs % 60);
}

// --- copy, rename, delete, folders -----------------------------------------------------------

bool CopyFile(std::string_view existingFileName, std::string_view newFileName, bool failIfExists) {
    std::string source = HostPath(existingFileName);
    struct stat st;
    if (!StatHost(source, st) || S_ISDIR(st.st_mode)) return false;
    std::string target = HostPath(newFileName);
    struct stat tst;
    if (target.empty() || (failIfExists && ::lstat(target.c_str(), &tst) == 0)) return false;
    if (StatHost(target, tst) && tst.st_dev == st.st_dev && tst.st_ino == st.st_ino) return false;
    struct Source {
        int Fd;
        ~Source() {
            if (Fd >= 0) ::close(Fd);
        }
    } in{::open(source.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.Fd < 0) return false;
    try {
        WriteFileAtomic(newFileName, [&in](TAtomicFile& out) {
            char buf[65536];
            for (;;) {
                ssize_t got = ::read(in.Fd, buf, sizeof buf);
                if (got < 0 && errno == EINTR) continue;
                if (got < 0) throw EInOutError("read failed", errno);
                if (got == 0) break;
                out.Write(buf, std::size_t(got));
            }
        });
    } catch (const Exception&) {
        return false;
    }
    struct timespec ts[2] = {st.st_atim, st.st_mtim};
    ::utimensat(AT_FDCWD, HostPath(newFileName).c_str(), ts, 0);
    return true;
}

bool RenameFile(std::string_view oldName, std::string_view newName) {
    std::string from = HostPath(oldName);
    std::string to = HostPath(newName);
    struct stat fst, tst;
    if (from.empty() || to.empty() || ::lstat(from.c_str(), &fst) != 0) return false;
    if (::lstat(to.c_str(), &tst) == 0) {
        if (tst.st_dev != fst.st_dev || tst.st_ino != fst.st_ino) return false;
        // The new name found the old file: a change of case. Give it the new spelling.
        std::string spelled = AnsiToUtf8(ExtractFileName(ExpandFileName(newName)));
        to = to.substr(0, to.rfind('/') + 1) + spelled;
        if (to == from) return true;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool DeleteFile(std::string_view fileName) {
    std::string host = HostPath(fileName);
    struct stat st;
    if (host.empty() || ::lstat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(host.c_str()) == 0;
}

bool CreateDir(std::string_view dir) {
    std::string host = HostPath(dir);
    return !host.empty() && ::mkdir(host.c_str(), 0777) == 0;
}

bool RemoveDir(std::string_view dir) {
    std::string host = HostPath(dir);
    return !host.empty() && ::rmdir(host.c_str()) == 0;
}

void ForceDirectories(std::string_view dir) {
    std::string full = ExpandFileName(dir);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    if (DirectoryExists(full)) return;
    std::string parent = ExtractFileDir(full);
    if (parent != full) ForceDirectories(parent);
    std::string host = HostPath(full);
    if (host.empty()) throw EInOutError("Cannot create folder " + full + ": no such drive", ENOENT);
    if (::mkdir(host.c_str(), 0777) != 0 && !(errno == EEXIST && DirectoryExists(full)))
        RaiseInOut("creating folder", full, errno);
}

// --- searches ------------------------------------------------------------------------------

bool MatchesWinMask(std::string_view name, std::string_view mask) {
    return MatchTokens(Tokenize(mask), name);
}

int FindFirst(std::string_view path, int attr, TSearchRec& searchRec) {
    FindClose(searchRec);
    std::size_t cut = path.find_last_of("\\/:");
    std::string_view folder = cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
    std::string_view mask = cut == std::string_view::npos ? path : path.substr(cut + 1);
    std::string fullFolder = ExpandFileName(folder.empty() ? std::string_view(".") : folder);
    std::string host = HostPath(fullFolder);
    struct stat st;
    if (!StatHost(host, st) || !S_ISDIR(st.st_mode)) return ERROR_PATH_NOT_FOUND;
    if (mask.empty()) return ERROR_FILE_NOT_FOUND;

    DIR* d = ::opendir(host.c_str());
    if (!d) return ERROR_PATH_NOT_FOUND;
    auto data = std::make_shared<TFindData>();
    const std::vector<MaskTok> toks = Tokenize(mask);
    const bool atRoot = fullFolder.size() <= 3;
    std::vector<TSearchRec> dots;
    while (dirent* e = ::readdir(d)) {
        std::string_view raw = e->d_name;
        bool isDot = raw == "." || raw == "..";
        if (isDot && atRoot) continue;
        std::string name = Utf8ToAnsi(raw);
        if (!MatchTokens(toks, name)) continue;
        std::string entryHost = host + (host == "/" ? "" : "/") + std::string(raw);
        struct stat est;
        if (::stat(entryHost.c_str(), &est) != 0 && ::lstat(entryHost.c_str(), &est) != 0) continue;
        TSearchRec rec;
        rec.Name = std::move(name);
        rec.Attr = AttrOf(rec.Name, est);
        rec.Size = S_ISDIR(est.st_mode) ? 0 : std::int64_t(est.st_size);
        rec.Time = DosFromTime(est.st_mtime);
        (isDot ? dots : data->Entries).push_back(std::move(rec));
    }
    ::closedir(d);
    std::sort(data->Entries.begin(), data->Entries.end(), NameBefore);
    std::sort(dots.begin(), dots.end(), [](const TSearchRec& a, const TSearchRec& b) { return a.Name < b.Name; });
    data->Entries.insert(data->Entries.begin(), dots.begin(), dots.end());

    searchRec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    searchRec.FindHandle = std::move(data);
    int rc = NextMatch(searchRec);
    if (rc != 0) {
        FindClose(searchRec);
        return ERROR_FILE_NOT_FOUND;
    }
    return 0;
}

int FindNext(TSearchRec& searchRec) { return NextMatch(searchRec); }

void FindClose(TSearchRec& searchRec) { searchRec.FindHandle.reset(); }

// --- drives --------------------------------------------------------------------------------

std::uint32_t GetLogicalDrives() { return (1u << ('C' - 'A')) | (1u << ('Z' - 'A')); }

unsigned GetDriveType(std::string_view rootPathName) {
    std::string root = rootPathName.empty() ? GetCurrentDir().substr(0, 3) : std::string(rootPathName);
    if (root.size() < 2 || root[1] != ':') return DRIVE_NO_ROOT_DIR;
    if (root.size() > 3 || (root.size() == 3 && root[2] != '\\' && root[2] != '/')) return DRIVE_NO_ROOT_DIR;
    char drive = CharUpper(root[0]);
    return (drive == 'C' || drive == 'Z') ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
}

// --- atomic rewrite ------------------------------------------------------------------------

TAtomicFile::TAtomicFile(std::string_view fileName) : FFileName(fileName) {
    FTarget = HostPath(fileName);
    if (FTarget.empty() || fileName.empty())
        throw EFCreateError("Cannot create file " + FFileName);
    Open();
}

TAtomicFile::TAtomicFile(THostPath target) : FFileName(target.Path), FTarget(std::move(target.Path)) {
    if (FTarget.empty()) throw EFCreateError("Cannot create file " + FFileName);
    Open();
}

void TAtomicFile::Open() {
    FTarget = ResolvedTarget(FTarget);
    if (std::string why = RefusalOf(FTarget); !why.empty())
        throw EFCreateError("Cannot create file " + FFileName + ": " + why);
    struct stat st;
    bool replacing = ::stat(FTarget.c_str(), &st) == 0;
    // Leftovers of writers that died before their rename. A live writer holds the lock on its
    // file from before the file has a name until after the rename, so none of its is taken.
    RemoveStaleTemporaries(FTarget);
    std::string dir, base;
    SplitHostPath(FTarget, dir, base);
    // Written without a name, so that a writer killed before Commit leaves nothing behind.
    FHandle = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (FHandle >= 0) {
        ::flock(FHandle, LOCK_EX);
    } else {
        for (int attempt = 0; attempt < 100 && FHandle < 0; ++attempt) {
            FTemp = TempNameBeside(FTarget);
            FHandle = ::open(FTemp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (FHandle < 0 && errno != EEXIST) break;
            if (FHandle < 0) continue;
            // Another writer's sweep may have taken the file before it was locked: then anew.
            ::flock(FHandle, LOCK_EX);
            struct stat held, named;
            if (::fstat(FHandle, &held) != 0 || ::stat(FTemp.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
                held.st_dev != named.st_dev) {
                ::close(FHandle);
                FHandle = -1;
            }
        }
    }
    if (FHandle < 0) {
        int code = errno;
        FTemp.clear();
        throw EFCreateError("Cannot create file " + FFileName + ": " + ErrorText(code));
    }
    if (replacing) ::fchmod(FHandle, st.st_mode & 07777);
}

// Gives the unnamed file a temporary name beside the target, ready to be renamed over it.
void TAtomicFile::Name() {
    if (!FTemp.empty()) return;
    const std::string self = "/proc/self/fd/" + std::to_string(FHandle);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TempNameBeside(FTarget);
        int rc = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW);
        if (rc != 0 && errno != EEXIST) rc = ::linkat(FHandle, "", AT_FDCWD, temp.c_str(), AT_EMPTY_PATH);
        if (rc == 0) {
            FTemp = std::move(temp);
            return;
        }
        if (errno != EEXIST) break;
    }
    Fail(errno);
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Discard() {
    if (FHandle >= 0) ::close(FHandle);
    FHandle = -1;
    if (!FTemp.empty()) ::unlink(FTemp.c_str());
    FTemp.clear();
}

void TAtomicFile::Fail(int code) {
    Discard();
    RaiseInOut("writing", FFileName, code);
}

void TAtomicFile::Write(const void* data, std::size_t count) {
    if (FHandle < 0 || FCommitted) throw EInOutError("File not open for writing: " + FFileName, EBADF);
    const char* p = static_cast<const char*>(data);
    while (count > 0) {
        ssize_t put = ::write(FHandle, p, count);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) Fail(put < 0 ? errno : EIO);
        p += put;
        count -= std::size_t(put);
    }
}

void TAtomicFile::Commit() {
    if (FHandle < 0 || FCommitted) throw EInOutError("File not open for writing: " + FFileName, EBADF);
    int injected = 0;
    {
        std::lock_guard lock(gHookMutex);
        if (gWriteFailureHook) injected = gWriteFailureHook(FFileName);
    }
    if (injected) Fail(injected);
    // Flushed before the rename, so that even a system crash leaves the old or the new file whole.
    if (FFlush && ::fsync(FHandle) != 0) Fail(errno);
    Name();
    // The lock is held over the rename: an unlocked temporary file is a dead writer's.
    if (::rename(FTemp.c_str(), FTarget.c_str()) != 0) Fail(errno);
    FTemp.clear();
    FCommitted = true;
    if (!FKeepLocked) {
        ::close(FHandle);
        FHandle = -1;
    }
    if (FFlush) SyncFolderOf(FTarget);
}

int TAtomicFile::TakeHandle() {
    if (!FCommitted) return -1;
    int handle = FHandle;
    FHandle = -1;
    return handle;
}

void RemoveStaleTemporaries(const std::string& hostPath) {
    std::string dir, base;
    SplitHostPath(hostPath, dir, base);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    std::vector<std::string> stale;
    while (dirent* e = ::readdir(d))
        if (IsTemporaryOf(e->d_name, base)) stale.push_back(dir + e->d_name);
    ::closedir(d);
    for (const std::string& path : stale) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        // Only the file that was locked goes: the name may have been renamed away meanwhile.
        struct stat st, now;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(path.c_str(), &now) == 0 && now.st_ino == st.st_ino && now.st_dev == st.st_dev)
            ::unlink(path.c_str());
        ::close(fd);
    }
}

std::string WriteRefusal(std::string_view fileName) {
    std::string host = HostPath(fileName);
    if (host.empty() || fileName.empty()) return "no such drive";
    return RefusalOf(ResolvedTarget(host));
}

void CheckFileWritable(std::string_view fileName) {
    if (std::string why = WriteRefusal(fileName); !why.empty())
        throw EFCreateError("Cannot create file " + std::string(fileName) + ": " + why);
}

void WriteFileAtomic(std::string_view fileName, std::string_view bytes) {
    TAtomicFile file(fileName);
    file.Write(bytes);
    file.Commit();
}

void WriteFileAtomic(std::string_view fileName, const std::function<void(TAtomicFile&)>& writer) {
    TAtomicFile file(fileName);
    writer(file);
    file.Commit();
}

void SetWriteFailureHook(std::function<int(std::string_view fileName)> hook) {
    std::lock_guard lock(gHookMutex);
    gWriteFailureHook = std::move(hook);
}

} // namespace rtl
