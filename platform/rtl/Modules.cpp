// Modules over the dynamic loader.
#include "rtl/Modules.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rtl {
namespace {

struct UnitEntry {
    const TUnitInit* Unit;
    TUnitInit::TStep Init;
    TUnitInit::TStep Fini;
    bool Started;
};

struct ModuleState {
    std::vector<UnitEntry> Units;   // in link order
    std::string Failure;            // a start-up that raised, until the load is wound back
    void* Handle = nullptr;         // from LoadLibrary
    int References = 0;
    bool Pinned = false;            // loaded by other means: never wound down by FreeLibrary
    bool WoundDown = false;         // its last FreeLibrary shut its units down
};

// Never destroyed: units of modules that outlive this library's own statics still unregister.
struct Registry {
    std::mutex Mutex;
    std::map<void*, ModuleState> Modules;
};

Registry& Reg() {
    static Registry* r = new Registry;
    return *r;
}

thread_local int tLoading = 0;
thread_local std::string tLoadError;

void* BaseOf(const void* address) {
    Dl_info info;
    if (!address || !::dladdr(address, &info)) return nullptr;
    return info.dli_fbase;
}

void* BaseOfHandle(void* handle) {
    struct link_map* map = nullptr;
    if (!handle || ::dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
    return BaseOf(map->l_ld);
}

void* ProgramBase() {
    static void* base = BaseOfHandle(::dlopen(nullptr, RTLD_NOW));
    return base;
}

std::string ExceptionText(const std::exception& e) {
    if (auto* ours = dynamic_cast<const Exception*>(&e)) return std::string(ours->ClassName()) + ": " + ours->Message();
    return e.what();
}

std::string HostFileOfBase(void* base) {
    if (!base) return {};
    if (base == ProgramBase()) {
        char buf[4096];
        ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n > 0) return std::string(buf, std::size_t(n));
    }
    Dl_info info;
    if (!::dladdr(base, &info) || !info.dli_fname) return {};
    return info.dli_fname;
}

// Runs the start-ups of a module's units that are not started, in link order, until one raises.
// Returns the failure text, empty when all started.
std::string StartUnits(void* base) {
    for (std::size_t i = 0;; ++i) {
        TUnitInit::TStep init = nullptr;
        {
            std::lock_guard lock(Reg().Mutex);
            auto found = Reg().Modules.find(base);
            if (found == Reg().Modules.end()) return {};
            auto& units = found->second.Units;
            while (i < units.size() && units[i].Started) ++i;
            if (i >= units.size()) return {};
            units[i].Started = true;
            init = units[i].Init;
        }
        try {
            if (init) init();
        } catch (const std::exception& e) {
            std::lock_guard lock(Reg().Mutex);
            auto& units = Reg().Modules[base].Units;
            if (i < units.size()) units[i].Started = false;
            return ExceptionText(e);
        } catch (...) {
            std::lock_guard lock(Reg().Mutex);
            auto& units = Reg().Modules[base].Units;
            if (i < units.size()) units[i].Started = false;
            return "unknown exception";
        }
    }
}

// Runs the shut-downs of a module's started units in reverse order.
void FinishUnits(void* base) {
    for (;;) {
        TUnitInit::TStep fini = nullptr;
        {
            std::lock_guard lock(Reg().Mutex);
            auto found = Reg().Modules.find(base);
            if (found == Reg().Modules.end()) return;
            auto& units = found->second.Units;
            auto it = std::find_if(units.rbegin(), units.rend(), [](const UnitEntry& u) { return u.Started; });
            if (it == units.rend()) return;
            it->Started = false;
            fini = it->Fini;
        }
        try {
            if (fini) fini();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "Exception in shut-down of %s: %s\n", HostFileOfBase(base).c_str(), ExceptionText(e).c_str());
        } catch (...) {
            std::fprintf(stderr, "Exception in shut-down of %s\n", HostFileOfBase(base).c_str());
        }
    }
}

bool EndsWithNoCase(std::string_view s, std::string_view tail) {
    if (s.size() < tail.size()) return false;
    return CharUpperStr(s.substr(s.size() - tail.size())) == CharUpperStr(tail);
}

bool IsSharedObjectName(std::string_view file) {
    return EndsWithNoCase(file, ".so") || file.find(".so.") != std::string_view::npos;
}

// "DUVIV32" or "DUVIV32.DLL" -> "libduviv32.so"; a ".so" name stays.
std::string LibraryFileName(std::string_view file) {
    if (IsSharedObjectName(file)) return std::string(file);
    if (EndsWithNoCase(file, ".dll")) file.remove_suffix(4);
    return "lib" + CharLowerStr(file) + ".so";
}

bool IsFile(const std::string& host) {
    struct stat st;
    return !host.empty() && ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string DlError() {
    const char* e = ::dlerror();
    return e ? e : "unknown error";
}

} // namespace

// --- units ---------------------------------------------------------------------------------

TUnitInit::TUnitInit(TStep init, TStep fini) {
    void* base = BaseOf(this);
    {
        std::lock_guard lock(Reg().Mutex);
        ModuleState& m = Reg().Modules[base];
        m.Units.push_back({this, init, fini, false});
        if (!m.Failure.empty()) return; // an earlier unit failed: this one never starts
    }
    std::string failure = StartUnits(base);
    if (failure.empty()) return;
    if (tLoading > 0) {
        std::lock_guard lock(Reg().Mutex);
        Reg().Modules[base].Failure = failure;
        return;
    }
    std::fprintf(stderr, "Exception in start-up of %s: %s\n", HostFileOfBase(base).c_str(), failure.c_str());
    std::exit(217); // the units already started shut down on the way out
}

TUnitInit::~TUnitInit() {
    void* base = BaseOf(this);
    TStep fini = nullptr;
    {
        std::lock_guard lock(Reg().Mutex);
        auto found = Reg().Modules.find(base);
        if (found == Reg().Modules.end()) return;
        auto& units = found->second.Units;
        auto it = std::find_if(units.begin(), units.end(), [this](const UnitEntry& u) { return u.Unit == this; });
        if (it == units.end()) return;
        if (it->Started) fini = it->Fini;
        units.erase(it);
        if (units.empty() && found->second.References == 0) Reg().Modules.erase(found);
    }
    try {
        if (fini) fini();
    } catch (...) {
        std::fprintf(stderr, "Exception in shut-down of %s\n", HostFileOfBase(base).c_str());
    }
}

// --- loading -------------------------------------------------------------------------------

HMODULE LoadLibrary(std::string_view fileName) {
    tLoadError.clear();
    std::size_t cut = fileName.find_last_of("\\/:");
    std::string_view folder = cut == std::string_view::npos ? std::string_view() : fileName.substr(0, cut + 1);
    std::string file = LibraryFileName(cut == std::string_view::npos ? fileName : fileName.substr(cut + 1));
    if (file == "lib.so" || file.empty()) {
        tLoadError = "Cannot load library \"" + std::string(fileName) + "\": no name";
        return nullptr;
    }

    std::vector<std::string> candidates;
    if (!folder.empty()) {
        candidates.push_back(HostPath(std::string(folder) + file));
    } else {
        candidates.push_back(HostPath(ExtractFilePath(GetModuleFileName(HMODULE(ProgramBase()))) + file));
        candidates.push_back(HostPath(file));
        candidates.push_back(AnsiToUtf8(file)); // the system's search
    }

    void* handle = nullptr;
    std::string reason = "file not found";
    bool wasLoaded = false;
    for (std::size_t i = 0; i < candidates.size() && !handle; ++i) {
        const std::string& c = candidates[i];
        bool systemSearch = folder.empty() && i + 1 == candidates.size();
        if (!systemSearch && !IsFile(c)) continue;
        handle = ::dlopen(c.c_str(), RTLD_NOW | RTLD_NOLOAD);
        wasLoaded = handle != nullptr;
        if (!handle) {
            ++tLoading;
            handle = ::dlopen(c.c_str(), RTLD_NOW | RTLD_LOCAL);
            --tLoading;
            if (!handle) reason = DlError();
        }
    }
    if (!handle) {
        tLoadError = "Cannot load library \"" + std::string(fileName) + "\": " + reason;
        return nullptr;
    }

    void* base = BaseOfHandle(handle);
    std::string failure;
    bool first = false;
    {
        std::lock_guard lock(Reg().Mutex);
        ModuleState& m = Reg().Modules[base];
        failure = std::move(m.Failure);
        m.Failure.clear();
        first = m.References == 0;
        if (first) m.Pinned = wasLoaded && !m.WoundDown;
    }
    // A module that stayed in memory after its last FreeLibrary starts its units again.
    if (failure.empty() && first) {
        ++tLoading;
        failure = StartUnits(base);
        --tLoading;
    }
    if (!failure.empty()) {
        FinishUnits(base);
        {
            std::lock_guard lock(Reg().Mutex);
            Reg().Modules[base].Failure.clear();
        }
        ::dlclose(handle);
        tLoadError = "Cannot load library \"" + std::string(fileName) + "\": exception in start-up: " + failure;
        return nullptr;
    }
    std::lock_guard lock(Reg().Mutex);
    ModuleState& m = Reg().Modules[base];
    if (m.Handle) ::dlclose(handle); // the module keeps the first handle; one dlopen per module
    else m.Handle = handle;
    ++m.References;
    return HMODULE(base);
}

bool FreeLibrary(HMODULE module) {
    void* base = module;
    void* handle = nullptr;
    bool windDown = false;
    {
        std::lock_guard lock(Reg().Mutex);
        auto found = Reg().Modules.find(base);
        if (found == Reg().Modules.end() || found->second.References == 0) return false;
        ModuleState& m = found->second;
        if (--m.References > 0) return true;
        handle = m.Handle;
        m.Handle = nullptr;
        windDown = !m.Pinned;
        m.WoundDown = windDown;
        if (m.Units.empty()) Reg().Modules.erase(found);
    }
    if (windDown) FinishUnits(base);
    if (handle) ::dlclose(handle);
    return true;
}

std::string LoadLibraryError() { return tLoadError; }

FARPROC GetProcAddress(HMODULE module, const char* procName) {
    if (!module || !procName) return nullptr;
    void* base = module;
    {
        std::lock_guard lock(Reg().Mutex);
        auto found = Reg().Modules.find(base);
        if (found != Reg().Modules.end() && found->second.Handle) return ::dlsym(found->second.Handle, procName);
    }
    void* handle = nullptr;
    if (base == ProgramBase()) {
        handle = ::dlopen(nullptr, RTLD_NOW);
    } else {
        std::string file = HostFileOfBase(base);
        if (file.empty()) return nullptr;
        handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    }
    if (!handle) return nullptr;
    void* proc = ::dlsym(handle, procName);
    ::dlclose(handle);
    return proc;
}

HMODULE GetModuleHandle(const char* moduleName) {
    if (!moduleName || !*moduleName) return HMODULE(ProgramBase());
    std::string_view name = moduleName;
    std::size_t cut = name.find_last_of("\\/:");
    if (cut != std::string_view::npos) name = name.substr(cut + 1);
    struct Search {
        std::string Wanted;
        void* Base = nullptr;
    } search{CharUpperStr(LibraryFileName(name))};
    ::dl_iterate_phdr(
        [](struct dl_phdr_info* info, std::size_t, void* data) -> int {
            auto* s = static_cast<Search*>(data);
            std::string_view path = info->dlpi_name ? info->dlpi_name : "";
            std::size_t slash = path.rfind('/');
            std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
            if (base.empty() || CharUpperStr(Utf8ToAnsi(base)) != s->Wanted) return 0;
            for (int i = 0; i < info->dlpi_phnum; ++i) {
                if (info->dlpi_phdr[i].p_type == PT_LOAD) {
                    s->Base = BaseOf(reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr));
                    return 1;
                }
            }
            return 0;
        },
        &search);
    return HMODULE(search.Base);
}

HMODULE ModuleOfAddress(const void* address) { return HMODULE(BaseOf(address)); }

HMODULE HInstance(const void* caller) { return HMODULE(BaseOf(caller)); }

namespace {
std::string ModuleFileName(void* base) {
    std::string host = HostFileOfBase(base);
    return host.empty() ? std::string() : WinPath(host);
}
} // namespace

std::string GetModuleFileName(HMODULE module, const void* caller) {
    return ModuleFileName(module ? static_cast<void*>(module) : BaseOf(caller));
}

int GetModuleFileName(HMODULE module, char* buffer, int size, const void* caller) {
    std::string name = ModuleFileName(module ? static_cast<void*>(module) : BaseOf(caller));
    if (!buffer || size <= 0) return 0;
    int n = std::min<int>(int(name.size()), size - 1);
    if (n > 0) std::memcpy(buffer, name.data(), std::size_t(n));
    buffer[n] = '\0';
    return n;
}

} // namespace rtl
