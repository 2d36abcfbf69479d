// Resource tables per module and the version block.
#include "rtl/Resources.h"

#include "rtl/CodePages.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <vector>

namespace rtl {
namespace {

struct Registry {
    std::mutex Mutex;
    std::map<void*, std::vector<const TResourceTable*>> Tables; // by module, in registration order
};

// Never destroyed: tables of modules unloaded after this library's statics still unregister.
Registry& Reg() {
    static Registry* r = new Registry;
    return *r;
}

void* ModuleOf(HMODULE module, const void* caller) { return module ? static_cast<void*>(module) : ModuleOfAddress(caller); }

bool Matches(const TResourceEntry& e, const TResId& name) {
    if (name.IsId()) return !e.Name && e.Id == name.Id();
    return e.Name && name.Name() == e.Name;
}

HRSRC Find(void* module, const TResId& name, unsigned type) {
    std::lock_guard lock(Reg().Mutex);
    auto found = Reg().Tables.find(module);
    if (found == Reg().Tables.end()) return nullptr;
    for (const TResourceTable* table : found->second)
        for (std::size_t i = 0; i < table->Count; ++i)
            if (table->Entries[i].Type == type && Matches(table->Entries[i], name)) return &table->Entries[i];
    return nullptr;
}

std::vector<HRSRC> All(void* module, unsigned type) {
    std::vector<HRSRC> found;
    std::lock_guard lock(Reg().Mutex);
    auto tables = Reg().Tables.find(module);
    if (tables == Reg().Tables.end()) return found;
    for (const TResourceTable* table : tables->second)
        for (std::size_t i = 0; i < table->Count; ++i)
            if (table->Entries[i].Type == type) found.push_back(&table->Entries[i]);
    return found;
}

std::string_view Bytes(HRSRC r) {
    return r ? std::string_view(reinterpret_cast<const char*>(r->Data), r->Size) : std::string_view();
}

int CopyString(std::string_view text, char* buffer, int bufferMax) {
    if (!buffer || bufferMax <= 0) return 0;
    int n = std::min<int>(int(text.size()), bufferMax - 1);
    if (n > 0) std::memcpy(buffer, text.data(), std::size_t(n));
    buffer[n] = '\0';
    return n;
}

// The version block: "SVB1", its size (4 bytes, little-endian), the translation (language and
// code page, 2 bytes each), then name and value pairs each ending in a zero, then one zero.
constexpr std::size_t kVersionHeader = 12;

std::uint32_t GetLE32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

HRSRC VersionOfFile(std::string_view fileName) {
    struct stat want;
    std::string host = HostPath(fileName);
    if (host.empty() || ::stat(host.c_str(), &want) != 0) return nullptr;
    std::vector<void*> modules;
    {
        std::lock_guard lock(Reg().Mutex);
        for (const auto& [module, tables] : Reg().Tables) modules.push_back(module);
    }
    for (void* module : modules) {
        struct stat have;
        std::string name = GetModuleFileName(HMODULE(module));
        if (name.empty() || ::stat(HostPath(name).c_str(), &have) != 0) continue;
        if (have.st_dev == want.st_dev && have.st_ino == want.st_ino) return Find(module, TResId(1u), RT_VERSION);
    }
    return nullptr;
}

} // namespace

TResId::TResId(std::string_view name) {
    if (name.size() > 1 && name[0] == '#' &&
        std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; }) && name.size() <= 6) {
        FIsId = true;
        FId = unsigned(std::stoul(std::string(name.substr(1))));
        return;
    }
    FName = CharUpperStr(name);
}

TResourceRegistration::TResourceRegistration(const TResourceTable* table) : FTable(table) {
    std::lock_guard lock(Reg().Mutex);
    Reg().Tables[ModuleOfAddress(table)].push_back(table);
}

TResourceRegistration::~TResourceRegistration() {
    std::lock_guard lock(Reg().Mutex);
    auto found = Reg().Tables.find(ModuleOfAddress(FTable));
    if (found == Reg().Tables.end()) return;
    auto& list = found->second;
    list.erase(std::remove(list.begin(), list.end(), FTable), list.end());
    if (list.empty()) Reg().Tables.erase(found);
}

HRSRC FindResource(HMODULE module, TResId name, TResId type, const void* caller) {
    if (!type.IsId()) return nullptr; // only the numbered types are compiled in
    return Find(ModuleOf(module, caller), name, type.Id());
}

std::vector<HRSRC> EnumResources(HMODULE module, unsigned type, const void* caller) {
    return All(ModuleOf(module, caller), type);
}

const void* LoadResource(HMODULE, HRSRC resource) { return resource ? resource->Data : nullptr; }

std::size_t SizeofResource(HMODULE, HRSRC resource) { return resource ? resource->Size : 0; }

std::string_view LoadBitmapData(HMODULE module, TResId name, const void* caller) {
    return Bytes(Find(ModuleOf(module, caller), name, RT_BITMAP));
}

std::string_view LoadCursorData(HMODULE module, TResId name, const void* caller) {
    return Bytes(Find(ModuleOf(module, caller), name, RT_CURSOR));
}

std::string_view LoadIconData(HMODULE module, TResId name, const void* caller) {
    return Bytes(Find(ModuleOf(module, caller), name, RT_ICON));
}

int LoadString(HMODULE module, unsigned id, char* buffer, int bufferMax, const void* caller) {
    return CopyString(Bytes(Find(ModuleOf(module, caller), TResId(id), RT_STRING)), buffer, bufferMax);
}

std::string LoadString(HMODULE module, unsigned id, const void* caller) {
    return std::string(Bytes(Find(ModuleOf(module, caller), TResId(id), RT_STRING)));
}

std::string LoadStr(unsigned id, const void* caller) {
    return std::string(Bytes(Find(ModuleOf(nullptr, caller), TResId(id), RT_STRING)));
}

unsigned GetFileVersionInfoSize(std::string_view fileName, unsigned* handle) {
    if (handle) *handle = 0;
    HRSRC r = VersionOfFile(fileName);
    return r && r->Size >= kVersionHeader ? unsigned(r->Size) : 0;
}

bool GetFileVersionInfo(std::string_view fileName, unsigned, unsigned len, void* data) {
    HRSRC r = VersionOfFile(fileName);
    if (!r || !data || r->Size < kVersionHeader || len < kVersionHeader) return false;
    std::size_t n = std::min<std::size_t>(len, r->Size);
    auto* out = static_cast<unsigned char*>(data);
    std::memcpy(out, r->Data, n);
    // A shortened copy says so, so that a query does not read past it.
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<unsigned char>(n >> (8 * i));
    return true;
}

bool VerQueryValue(const void* block, std::string_view subBlock, const void** buffer, unsigned* len) {
    const auto* p = static_cast<const unsigned char*>(block);
    if (!p || std::memcmp(p, "SVB1", 4) != 0) return false;
    const std::size_t size = GetLE32(p + 4);
    if (size < kVersionHeader) return false;
    std::string query = CharUpperStr(subBlock);
    std::replace(query.begin(), query.end(), '/', '\\');
    if (query == "\\VARFILEINFO\\TRANSLATION") {
        if (buffer) *buffer = p + 8;
        if (len) *len = 4;
        return true;
    }
    const std::string prefix = "\\STRINGFILEINFO\\040904E4\\";
    if (query.compare(0, prefix.size(), prefix) != 0 || query.size() == prefix.size()) return false;
    const std::string key = query.substr(prefix.size());
    std::size_t at = kVersionHeader;
    auto field = [&](std::string_view& out) {
        const void* zero = std::memchr(p + at, 0, size - at);
        if (!zero) return false;
        std::size_t end = std::size_t(static_cast<const unsigned char*>(zero) - p);
        out = std::string_view(reinterpret_cast<const char*>(p + at), end - at);
        at = end + 1;
        return true;
    };
    while (at < size) {
        std::string_view name, value;
        if (!field(name) || name.empty()) return false;
        std::size_t valueAt = at;
        if (!field(value)) return false;
        if (CharUpperStr(name) == key) {
            if (buffer) *buffer = p + valueAt;
            if (len) *len = unsigned(value.size() + 1);
            return true;
        }
    }
    return false;
}

std::uint32_t GetVersion() { return 0xC0000004u; }

} // namespace rtl
