// The list of top-level windows across the suite's processes: one small file per window in the
// machine root's run folder (class, caption, pid), so that one program can see another's windows.
// A file whose process has died (or whose pid now belongs to another process) is removed.
#include "win/WinInternal.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/WinRoot.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string_view>
#include <sys/inotify.h>
#include <unistd.h>

namespace win {
using namespace detail;

namespace {

namespace fs = std::filesystem;

struct Entry {
    DWORD pid = 0;
    std::string start, cls, caption;
    std::uintptr_t hwnd = 0;
};

std::string StartTime(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return {};
    auto p = line.rfind(')');
    if (p == std::string::npos) return {};
    std::istringstream rest(line.substr(p + 2));
    std::string field;
    // Fields after the command name start at 3 (state); the start time is field 22.
    for (int i = 3; i <= 22 && rest >> field; ++i)
        if (i == 22) return field;
    return {};
}

// Our own start time, read once per process: window searches ask for it for every file listed.
const std::string& OwnStartTime() {
    static DWORD cachedPid = 0;
    static std::string cached;
    if (cachedPid != OwnProcessId()) {
        cachedPid = OwnProcessId();
        cached = StartTime(long(cachedPid));
    }
    return cached;
}

bool Alive(const Entry& e) {
    if (e.pid == 0) return false;
    if (::kill(pid_t(e.pid), 0) != 0 && errno != EPERM) return false;
    std::string st = StartTime(long(e.pid));
    return st.empty() || e.start.empty() || st == e.start;
}

std::string Escape(const std::string& s) {
    std::string o;
    for (char c : s) {
        if (c == '\\') o += "\\\\";
        else if (c == '\n') o += "\\n";
        else if (c == '\r') o += "\\r";
        else o += c;
    }
    return o;
}

std::string Unescape(const std::string& s) {
    std::string o;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char n = s[++i];
            o += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            o += s[i];
        }
    }
    return o;
}

bool Parse(const fs::path& p, Entry* e) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    std::string line;
    bool any = false;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string k = line.substr(0, eq), v = Unescape(line.substr(eq + 1));
        if (k == "pid") e->pid = DWORD(std::strtoul(v.c_str(), nullptr, 10));
        else if (k == "start") e->start = v;
        else if (k == "hwnd") e->hwnd = std::uintptr_t(std::strtoull(v.c_str(), nullptr, 16));
        else if (k == "class") e->cls = v;
        else if (k == "caption") e->caption = v;
        any = true;
    }
    return any && e->pid;
}

struct Mine {
    DWORD pid;
    fs::path path;
    std::string written; // what the file holds
};

struct RunState {
    std::map<std::uintptr_t, Mine> mine; // our windows and where their files are
    std::map<std::pair<DWORD, std::uintptr_t>, std::uintptr_t> proxyOf;
    std::map<std::uintptr_t, fs::path> proxyPath;
    std::uintptr_t nextProxy = 0x40000000;
    ~RunState() {
        std::error_code ec;
        for (auto& [h, m] : mine)
            if (m.pid == OwnProcessId()) fs::remove(m.path, ec);
    }
};

RunState& R() {
    static RunState s;
    return s;
}

void Write(Window* w, Mine& m) {
    std::ostringstream out;
    out << "pid=" << getpid() << "\n"
        << "start=" << OwnStartTime() << "\n"
        << "hwnd=" << std::hex << reinterpret_cast<std::uintptr_t>(w->handle) << std::dec << "\n"
        << "class=" << Escape(w->cls->name) << "\n"
        << "caption=" << Escape(w->text) << "\n";
    // Shown or hidden, a window's file stays as it is: only what it holds is written again.
    std::string text = out.str();
    if (text == m.written) return;
    try {
        rtl::TAtomicFile file(rtl::TAtomicFile::THostPath{m.path.string()});
        file.SkipFlush();
        file.Write(text);
        file.Commit();
        m.written = std::move(text);
    } catch (const rtl::Exception&) {
        // Not listed: other programs do not see this window, which breaks nothing here.
    }
}

} // namespace

namespace detail {

void RunListAdd(Window* w) {
    std::error_code ec;
    fs::path dir = rtl::RunDir();
    fs::create_directories(dir, ec);
    char name[64];
    std::snprintf(name, sizeof name, "%ld-%lx.win", long(getpid()),
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(w->handle)));
    fs::path p = dir / name;
    Mine& m = R().mine[reinterpret_cast<std::uintptr_t>(w->handle)];
    m = Mine{OwnProcessId(), p, {}};
    Write(w, m);
}

void RunListUpdate(Window* w) {
    auto it = R().mine.find(reinterpret_cast<std::uintptr_t>(w->handle));
    if (it == R().mine.end() || it->second.pid != OwnProcessId()) return;
    Write(w, it->second);
}

void RunListRemove(Window* w) {
    auto it = R().mine.find(reinterpret_cast<std::uintptr_t>(w->handle));
    if (it == R().mine.end()) return;
    std::error_code ec;
    if (it->second.pid == OwnProcessId()) fs::remove(it->second.path, ec);
    R().mine.erase(it);
}

namespace {

// The other processes' window files as the run folder listed them last. The folder is watched,
// so a look costs one read of the watch until another process adds or removes a window's file;
// our own writes there say nothing new. Without a watch the folder is listed again when its time
// has changed since, or changed so lately that its time may not show a change after it.
struct ListedFiles {
    fs::path dir;
    bool valid = false;
    fs::file_time_type stamp;
    std::vector<fs::path> files;
};

struct FolderWatch {
    int fd = -1;
    DWORD pid = 0; // a forked child shares its parent's watch and makes its own
    fs::path dir;
    bool unavailable = false;

    void Drop() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }

    // Starts watching dir; false when the system gives no watch.
    bool Start(const fs::path& d) {
        Drop();
        if (unavailable) return false;
        fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd < 0) {
            unavailable = true;
            return false;
        }
        if (::inotify_add_watch(fd, d.c_str(), IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                                   IN_MOVE_SELF | IN_ONLYDIR) < 0) {
            Drop();
            return false;
        }
        pid = OwnProcessId();
        dir = d;
        return true;
    }

    // Reads what happened since the last look: true when another process's window file came or
    // went, or when the watch cannot tell (then it is dropped, to be made again).
    bool OthersChanged() {
        const std::string own = std::to_string(OwnProcessId()) + "-";
        bool changed = false;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) {
                if (n < 0 && errno == EINTR) continue;
                if (n < 0 && errno != EAGAIN) {
                    Drop();
                    return true;
                }
                return changed;
            }
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + e->len);
                if (e->mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
                    Drop();
                    return true;
                }
                const std::string_view name = e->len ? std::string_view(e->name) : std::string_view();
                const bool window = name.size() > 4 && name.substr(name.size() - 4) == ".win";
                if (window && name.substr(0, own.size()) != own) changed = true;
            }
        }
    }
};

const std::vector<fs::path>& OtherWindowFiles(const fs::path& dir) {
    static ListedFiles listed;
    static FolderWatch watch;
    if (watch.fd >= 0 && (watch.pid != OwnProcessId() || watch.dir != dir)) {
        watch.Drop();
        listed.valid = false;
    }
    std::error_code ec;
    if (watch.fd >= 0) {
        if (!watch.OthersChanged() && listed.valid && watch.fd >= 0) return listed.files;
        listed.valid = false;
    }
    // Watched from before the listing, so nothing that comes after it is missed.
    const bool watched = watch.fd >= 0 || watch.Start(dir);
    fs::file_time_type stamp = fs::last_write_time(dir, ec);
    if (!watched) {
        bool settled = !ec && fs::file_time_type::clock::now() - stamp > std::chrono::milliseconds(100);
        if (settled && listed.valid && listed.dir == dir && listed.stamp == stamp) return listed.files;
    }
    auto& s = R();
    std::set<fs::path> own;
    for (auto& [h, m] : s.mine)
        if (m.pid == OwnProcessId()) own.insert(m.path);
    listed.files.clear();
    for (auto& de : fs::directory_iterator(dir, ec))
        if (de.path().extension() == ".win" && !own.count(de.path())) listed.files.push_back(de.path());
    std::sort(listed.files.begin(), listed.files.end());
    listed.dir = dir;
    listed.stamp = stamp;
    listed.valid = watched || (!ec && fs::file_time_type::clock::now() - stamp > std::chrono::milliseconds(100));
    return listed.files;
}

} // namespace

std::vector<HWND> ForeignTopLevels() {
    std::vector<HWND> out;
    std::error_code ec;
    fs::path dir = rtl::RunDir();
    auto& s = R();
    // A copy: removing a dead process's file below changes the folder.
    const std::vector<fs::path> files = OtherWindowFiles(dir);
    for (auto& p : files) {
        Entry e;
        if (!Parse(p, &e)) continue;
        bool ours = e.pid == OwnProcessId() && (e.start.empty() || e.start == OwnStartTime());
        if (ours) continue;
        if (!Alive(e)) {
            fs::remove(p, ec);
            continue;
        }
        auto key = std::make_pair(e.pid, e.hwnd);
        auto it = s.proxyOf.find(key);
        std::uintptr_t h;
        if (it == s.proxyOf.end()) {
            h = s.nextProxy;
            s.nextProxy += 4;
            s.proxyOf[key] = h;
        } else {
            h = it->second;
        }
        s.proxyPath[h] = p;
        out.push_back(reinterpret_cast<HWND>(h));
    }
    return out;
}

bool ForeignInfo(HWND hwnd, std::string* cls, std::string* caption, DWORD* pid) {
    auto& s = R();
    auto it = s.proxyPath.find(reinterpret_cast<std::uintptr_t>(hwnd));
    if (it == s.proxyPath.end()) return false;
    Entry e;
    if (!Parse(it->second, &e) || !Alive(e)) return false;
    if (cls) *cls = e.cls;
    if (caption) *caption = e.caption;
    if (pid) *pid = e.pid;
    return true;
}

bool IsForeignWindow(HWND hwnd) { return ForeignInfo(hwnd, nullptr, nullptr, nullptr); }

void ResetRunList() {
    auto& s = R();
    std::error_code ec;
    for (auto& [h, m] : s.mine)
        if (m.pid == OwnProcessId()) fs::remove(m.path, ec);
    s.mine.clear();
    s.proxyPath.clear();
}

} // namespace detail
} // namespace win
