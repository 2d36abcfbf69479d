// The registry store: one parsed tree per process, read again only when user.reg changed, and
// every change committed whole under the file's lock.
#include "rtl/Registry.h"

#include "rtl/CodePages.h"
#include "rtl/LineSplitter.h"
#include "rtl/LockedFile.h"
#include "rtl/StringLists.h"
#include "rtl/SysUtils.h"
#include "rtl/WinRoot.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

namespace rtl {
namespace {

const char* const kRootName = "HKEY_CURRENT_USER";

std::string Fold(std::string_view s) { return CharUpperStr(s); }

struct TRegValue {
    std::string Name;
    std::uint32_t Type = REG_NONE;
    std::string Data;
    // Its line in the file, kept so that a commit does not format every value again.
    mutable std::string Line;
};

struct TRegNode {
    std::string Name;
    std::map<std::string, std::unique_ptr<TRegNode>> Children; // by folded name
    std::vector<TRegValue> Values; // in the order they were made
    std::unordered_map<std::string, std::size_t> ValueIndex; // folded name -> position

    TRegNode* Child(std::string_view name) const {
        auto it = Children.find(Fold(name));
        return it == Children.end() ? nullptr : it->second.get();
    }
    TRegNode* MakeChild(std::string_view name, bool* made = nullptr) {
        auto& slot = Children[Fold(name)];
        if (!slot) {
            slot = std::make_unique<TRegNode>();
            slot->Name = std::string(name);
            if (made) *made = true;
        }
        return slot.get();
    }
    TRegValue* Value(std::string_view name) {
        auto it = ValueIndex.find(Fold(name));
        return it == ValueIndex.end() ? nullptr : &Values[it->second];
    }
    void AddValue(TRegValue v) {
        ValueIndex[Fold(v.Name)] = Values.size();
        Values.push_back(std::move(v));
    }
    bool EraseValue(std::string_view name) {
        auto it = ValueIndex.find(Fold(name));
        if (it == ValueIndex.end()) return false;
        Values.erase(Values.begin() + static_cast<std::ptrdiff_t>(it->second));
        ValueIndex.clear();
        for (std::size_t i = 0; i < Values.size(); ++i) ValueIndex[Fold(Values[i].Name)] = i;
        return true;
    }
};

using TKeyPath = std::vector<std::string>;

// ---- REGEDIT4 text

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

void AppendEscaped(std::string& out, std::string_view s) {
    if (s.find_first_of("\\\"") == std::string_view::npos) {
        out.append(s);
        return;
    }
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
}

const char* const kHexDigits = "0123456789abcdef";

void AppendHexBytes(std::string& out, std::string_view data) {
    std::size_t at = out.size();
    out.resize(at + (data.empty() ? 0 : data.size() * 3 - 1), ',');
    for (std::size_t i = 0; i < data.size(); ++i, at += 3) {
        auto b = static_cast<unsigned char>(data[i]);
        out[at] = kHexDigits[b >> 4];
        out[at + 1] = kHexDigits[b & 15];
    }
}

// Whether a text value can be written in quotes and read back byte for byte.
bool QuotableText(const std::string& data) {
    if (data.empty() || data.back() != '\0') return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i)
        if (static_cast<unsigned char>(data[i]) < 0x20) return false;
    return true;
}

void FormatValueLine(std::string& out, const TRegValue& v) {
    if (v.Name.empty()) {
        out += '@';
    } else {
        out += '"';
        AppendEscaped(out, v.Name);
        out += '"';
    }
    out += '=';
    if (v.Type == REG_SZ && QuotableText(v.Data)) {
        out += '"';
        AppendEscaped(out, std::string_view(v.Data).substr(0, v.Data.size() - 1));
        out += '"';
    } else if (v.Type == REG_DWORD && v.Data.size() == 4) {
        char digits[] = "dword:00000000";
        for (int i = 0; i < 4; ++i) {
            auto b = static_cast<unsigned char>(v.Data[static_cast<std::size_t>(3 - i)]);
            digits[6 + 2 * i] = kHexDigits[b >> 4];
            digits[7 + 2 * i] = kHexDigits[b & 15];
        }
        out += digits;
    } else {
        if (v.Type == REG_BINARY) {
            out += "hex:";
        } else {
            char buf[24];
            std::snprintf(buf, sizeof buf, "hex(%x):", v.Type);
            out += buf;
        }
        AppendHexBytes(out, v.Data);
    }
    out += "\r\n";
}

void AppendValueLine(std::string& out, const TRegValue& v) {
    if (v.Line.empty()) FormatValueLine(v.Line, v);
    out += v.Line;
}

void WriteNode(const TRegNode& node, std::string& path, std::string& out) {
    if (!path.empty() || !node.Values.empty()) {
        out += '[';
        out += kRootName;
        out += path;
        out += "]\r\n";
        for (const TRegValue& v : node.Values) AppendValueLine(out, v);
        out += "\r\n";
    }
    for (const auto& [folded, child] : node.Children) {
        std::size_t len = path.size();
        path += '\\';
        path += child->Name;
        WriteNode(*child, path, out);
        path.resize(len);
    }
}

std::string Serialize(const TRegNode& root) {
    std::string out;
    out.reserve(1 << 16);
    out = "REGEDIT4\r\n\r\n";
    std::string path;
    WriteNode(root, path, out);
    return out;
}

struct TParsed {
    std::unique_ptr<TRegNode> Root = std::make_unique<TRegNode>();
    std::vector<std::string> Problems; // "line N: why"
};

// A quoted text starting at s[i] == '"'; i ends after the closing quote.
std::optional<std::string> Unquote(std::string_view s, std::size_t& i) {
    std::string r;
    for (++i; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            ++i;
            return r;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) c = s[++i];
        r += c;
    }
    return std::nullopt;
}

std::optional<std::string> ParseHexList(std::string_view s) {
    std::string r;
    std::size_t i = 0;
    auto skipBlanks = [&] { while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i; };
    skipBlanks();
    if (i == s.size()) return r;
    for (;;) {
        skipBlanks();
        if (i + 1 >= s.size() || !IsHex(s[i]) || !IsHex(s[i + 1])) return std::nullopt;
        r += static_cast<char>(HexValue(s[i]) * 16 + HexValue(s[i + 1]));
        i += 2;
        skipBlanks();
        if (i == s.size()) return r;
        if (s[i++] != ',') return std::nullopt;
    }
}

// The value of a line "name"=data; nullopt when it is not sound.
std::optional<TRegValue> ParseValue(std::string_view line) {
    TRegValue v;
    std::size_t i = 0;
    if (line[0] == '@') {
        i = 1;
    } else {
        std::optional<std::string> name = Unquote(line, i);
        if (!name) return std::nullopt;
        v.Name = std::move(*name);
    }
    if (i >= line.size() || line[i] != '=') return std::nullopt;
    std::string_view data = line.substr(i + 1);
    while (!data.empty() && (data.back() == ' ' || data.back() == '\t')) data.remove_suffix(1);
    if (!data.empty() && data[0] == '"') {
        std::size_t j = 0;
        std::optional<std::string> text = Unquote(data, j);
        if (!text || j != data.size()) return std::nullopt;
        v.Type = REG_SZ;
        v.Data = std::move(*text) + '\0';
        return v;
    }
    if (data.substr(0, 6) == "dword:") {
        std::string_view digits = data.substr(6);
        if (digits.size() != 8) return std::nullopt;
        std::uint32_t n = 0;
        for (char c : digits) {
            if (!IsHex(c)) return std::nullopt;
            n = (n << 4) | static_cast<std::uint32_t>(HexValue(c));
        }
        v.Type = REG_DWORD;
        for (int k = 0; k < 4; ++k) v.Data += static_cast<char>((n >> (8 * k)) & 0xFF);
        return v;
    }
    if (data.substr(0, 4) == "hex:") {
        v.Type = REG_BINARY;
        data.remove_prefix(4);
    } else if (data.substr(0, 4) == "hex(") {
        std::size_t close = data.find("):");
        if (close == std::string_view::npos || close == 4 || close > 12) return std::nullopt;
        std::uint32_t type = 0;
        for (char c : data.substr(4, close - 4)) {
            if (!IsHex(c)) return std::nullopt;
            type = (type << 4) | static_cast<std::uint32_t>(HexValue(c));
        }
        v.Type = type;
        data.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    std::optional<std::string> bytes = ParseHexList(data);
    if (!bytes) return std::nullopt;
    v.Data = std::move(*bytes);
    return v;
}

TParsed Parse(const std::string& content) {
    TParsed result;
    std::vector<std::string_view> lines;
    TLineSplitter splitter(content);
    for (std::string_view line; splitter.Next(line);) lines.push_back(line);
    auto trim = [](std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
        return s;
    };
    auto problem = [&](std::size_t index, const std::string& why) {
        result.Problems.push_back("line " + std::to_string(index + 1) + ": " + why);
    };

    bool headerSeen = false;
    TRegNode* current = nullptr;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string_view line = trim(lines[n]);
        if (line.empty() || line[0] == ';') continue;
        if (!headerSeen) {
            headerSeen = true;
            if (line == "REGEDIT4") continue;
            problem(n, "no REGEDIT4 header");
        }
        if (line[0] == '[') {
            current = nullptr;
            std::string_view path = line.size() >= 2 && line.back() == ']' ? line.substr(1, line.size() - 2) : std::string_view();
            std::size_t rootLen = std::strlen(kRootName);
            if (path.size() < rootLen || Fold(path.substr(0, rootLen)) != kRootName ||
                (path.size() > rootLen && path[rootLen] != '\\')) {
                problem(n, "not a key of " + std::string(kRootName));
                continue;
            }
            TRegNode* node = result.Root.get();
            std::string_view rest = path.substr(rootLen);
            bool sound = true;
            while (sound && !rest.empty()) {
                rest.remove_prefix(1);
                std::size_t next = rest.find('\\');
                std::string_view name = rest.substr(0, next);
                if (name.empty()) sound = false;
                else node = node->MakeChild(name);
                rest = next == std::string_view::npos ? std::string_view() : rest.substr(next);
            }
            if (!sound) {
                problem(n, "empty key name");
                continue;
            }
            current = node;
            continue;
        }
        if (line[0] != '"' && line[0] != '@') {
            problem(n, "not a value");
            continue;
        }
        // A hex list may go on over lines ending in '\'.
        std::string joined(line);
        bool continued = false;
        while (!joined.empty() && joined.back() == '\\' && joined.find("=hex") != std::string::npos &&
               n + 1 < lines.size()) {
            joined.pop_back();
            joined += trim(lines[++n]);
            continued = true;
        }
        std::optional<TRegValue> value = ParseValue(joined);
        if (!value) {
            problem(n, "unreadable value");
            continue;
        }
        if (!current) {
            problem(n, "value outside a key");
            continue;
        }
        if (!continued) value->Line = joined + "\r\n";
        if (TRegValue* old = current->Value(value->Name)) {
            // One value per name: the later line gives the data, the first its spelling, and
            // the next commit writes that spelling, so memory and file name it alike.
            old->Type = value->Type;
            old->Data = std::move(value->Data);
            if (old->Name == value->Name) old->Line = std::move(value->Line);
            else old->Line.clear();
        } else {
            current->AddValue(std::move(*value));
        }
    }
    return result;
}

// ---- The store

struct TKeyHandle {
    TKeyPath Path;
    bool Writable = false;
};

class TRegStore {
public:
    // Never destroyed: keys may still be closed by other libraries' static objects at exit.
    static TRegStore& Instance() {
        static TRegStore* store = new TRegStore;
        return *store;
    }

    std::mutex Mutex;
    std::set<TKeyHandle*> Handles;

    // The tree as user.reg holds it now. Caller holds Mutex.
    TRegNode& Tree() {
        std::string path = UserRegistryFile();
        TFileStamp now = StampOf(path);
        if (FRoot && path == FPath && now == FStamp) return *FRoot;
        std::string content;
        TFileStamp stamp;
        if (!ReadWholeFile(path, content, &stamp)) {
            Adopt(path, std::make_unique<TRegNode>(), TFileStamp{});
            return *FRoot;
        }
        TParsed parsed = Parse(content);
        if (parsed.Problems.empty()) {
            Adopt(path, std::move(parsed.Root), stamp);
            return *FRoot;
        }
        // Damaged: repair under the lock, unless another process is doing so.
        TLockedFile file(path);
        if (file.Locked()) {
            LoadLocked(file, path);
        } else {
            Report(path, parsed.Problems, false);
            Adopt(path, std::move(parsed.Root), stamp);
        }
        return *FRoot;
    }

    // Runs change on the latest tree under the file's lock and commits it when it says it
    // changed something. Caller holds Mutex.
    template <typename Change>
    long Commit(Change change) {
        std::string path = UserRegistryFile();
        TLockedFile file(path);
        if (!file.Locked()) return ERROR_CANTWRITE;
        if (!(FRoot && path == FPath && file.Stamp() == FStamp) && !LoadLocked(file, path))
            return ERROR_CANTWRITE;
        bool changed = false;
        long rc = change(*FRoot, changed);
        if (rc != ERROR_SUCCESS || !changed) return rc;
        if (!file.Replace(Serialize(*FRoot))) {
            FRoot.reset(); // the tree no longer matches the file: read it again
            return ERROR_CANTWRITE;
        }
        FStamp = file.Stamp();
        return ERROR_SUCCESS;
    }

private:
    void Adopt(const std::string& path, std::unique_ptr<TRegNode> root, const TFileStamp& stamp) {
        FPath = path;
        FRoot = std::move(root);
        FStamp = stamp;
    }

    // Reads the locked file; a damaged one is set aside as .bad and rewritten with its sound part.
    bool LoadLocked(TLockedFile& file, const std::string& path) {
        std::string content;
        if (!file.Read(content)) return false;
        TParsed parsed = Parse(content);
        if (!parsed.Problems.empty()) {
            bool saved = ReplaceFile(path + ".bad", content);
            Report(path, parsed.Problems, saved);
            if (saved) file.Replace(Serialize(*parsed.Root));
        }
        Adopt(path, std::move(parsed.Root), file.Stamp());
        return true;
    }

    void Report(const std::string& path, const std::vector<std::string>& problems, bool saved) {
        std::string key = path + '\n' + problems.front();
        if (FReported.count(key)) return;
        FReported.insert(key);
        std::string msg = "registry file " + path + " is damaged (" + problems.front();
        if (problems.size() > 1) msg += ", and " + std::to_string(problems.size() - 1) + " more";
        msg += "); its sound part is kept";
        if (saved) msg += ", the file as it was is in " + path + ".bad";
        std::fprintf(stderr, "%s\n", msg.c_str());
    }

    std::string FPath;
    std::unique_ptr<TRegNode> FRoot;
    TFileStamp FStamp;
    std::set<std::string> FReported;
};

bool IsRootKey(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE || key == HKEY_USERS;
}

// The path and access of a key handle. Caller holds the store's mutex.
long Resolve(TRegStore& store, HKEY key, TKeyPath& path, bool& writable) {
    if (key == HKEY_CURRENT_USER) {
        path.clear();
        writable = true;
        return ERROR_SUCCESS;
    }
    if (IsRootKey(key)) return ERROR_ACCESS_DENIED;
    auto* h = reinterpret_cast<TKeyHandle*>(key);
    if (!store.Handles.count(h)) return ERROR_INVALID_HANDLE;
    path = h->Path;
    writable = h->Writable;
    return ERROR_SUCCESS;
}

// Appends the names of subKey to path; false when a name would not survive the file.
bool AppendPath(TKeyPath& path, const char* subKey) {
    if (!subKey) return true;
    std::string_view s = subKey;
    while (!s.empty()) {
        std::size_t next = s.find('\\');
        std::string_view name = s.substr(0, next);
        for (char c : name)
            if (static_cast<unsigned char>(c) < 0x20) return false;
        if (!name.empty()) path.emplace_back(name);
        s = next == std::string_view::npos ? std::string_view() : s.substr(next + 1);
    }
    return true;
}

TRegNode* Find(TRegNode& root, const TKeyPath& path) {
    TRegNode* node = &root;
    for (const std::string& name : path)
        if (!(node = node->Child(name))) return nullptr;
    return node;
}

HKEY NewHandle(TRegStore& store, TKeyPath path, bool writable) {
    auto* h = new TKeyHandle{std::move(path), writable};
    store.Handles.insert(h);
    return reinterpret_cast<HKEY>(h);
}

// A key handle resolved under the store's lock, which it holds for the call: the key's path and
// access, or the error resolving it gave.
struct TOpenKey {
    explicit TOpenKey(HKEY key) : Error(Resolve(Store, key, Path, Writable)) {}
    TRegStore& Store = TRegStore::Instance();
    std::lock_guard<std::mutex> Lock{Store.Mutex};
    TKeyPath Path;
    bool Writable = false;
    long Error;
};

bool WantsWrite(REGSAM access) { return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0; }

// Value or subkey names of an open key, in the store's order.
long ListNames(HKEY key, bool subKeys, std::vector<std::string>& names) {
    TOpenKey k(key);
    if (k.Error) return k.Error;
    TRegNode* node = Find(k.Store.Tree(), k.Path);
    if (!node) return ERROR_KEY_DELETED;
    names.clear();
    if (subKeys)
        for (const auto& [folded, child] : node->Children) names.push_back(child->Name);
    else
        for (const TRegValue& v : node->Values) names.push_back(v.Name);
    return ERROR_SUCCESS;
}

bool ValidValueName(const char* name) {
    if (!name) return true;
    for (const char* p = name; *p; ++p)
        if (static_cast<unsigned char>(*p) < 0x20) return false;
    return true;
}

} // namespace

// ---- Reg* calls

long RegOpenKeyEx(HKEY key, const char* subKey, std::uint32_t, REGSAM access, HKEY* result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    TOpenKey k(key);
    if (k.Error) return k.Error;
    if (!AppendPath(k.Path, subKey)) return ERROR_INVALID_PARAMETER;
    // The handle keeps the names as they were made.
    TKeyPath actual;
    TRegNode* node = &k.Store.Tree();
    for (const std::string& name : k.Path) {
        if (!(node = node->Child(name))) return ERROR_FILE_NOT_FOUND;
        actual.push_back(node->Name);
    }
    *result = NewHandle(k.Store, std::move(actual), WantsWrite(access));
    return ERROR_SUCCESS;
}

long RegCreateKeyEx(HKEY key, const char* subKey, std::uint32_t, const char*, std::uint32_t, REGSAM access,
                    const void*, HKEY* result, std::uint32_t* disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    TOpenKey k(key);
    if (k.Error) return k.Error;
    std::size_t baseDepth = k.Path.size();
    if (!AppendPath(k.Path, subKey)) return ERROR_INVALID_PARAMETER;
    if (k.Path.size() > baseDepth && !k.Writable) return ERROR_ACCESS_DENIED;
    bool made = false;
    TKeyPath actual;
    long rc = k.Store.Commit([&](TRegNode& root, bool& changed) -> long {
        actual.assign(k.Path.begin(), k.Path.begin() + static_cast<std::ptrdiff_t>(baseDepth));
        TRegNode* node = Find(root, actual);
        if (!node) return ERROR_KEY_DELETED;
        for (std::size_t i = baseDepth; i < k.Path.size(); ++i) {
            node = node->MakeChild(k.Path[i], &made);
            actual.push_back(node->Name);
        }
        changed = made;
        return ERROR_SUCCESS;
    });
    if (rc != ERROR_SUCCESS) return rc;
    if (disposition) *disposition = made ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandle(k.Store, std::move(actual), WantsWrite(access));
    return ERROR_SUCCESS;
}

long RegCloseKey(HKEY key) {
    if (IsRootKey(key)) return ERROR_SUCCESS;
    TRegStore& store = TRegStore::Instance();
    std::lock_guard lock(store.Mutex);
    auto* h = reinterpret_cast<TKeyHandle*>(key);
    if (!store.Handles.erase(h)) return ERROR_INVALID_HANDLE;
    delete h;
    return ERROR_SUCCESS;
}

long RegDeleteKey(HKEY key, const char* subKey) {
    TOpenKey k(key);
    if (k.Error) return k.Error;
    std::size_t baseDepth = k.Path.size();
    if (!AppendPath(k.Path, subKey) || k.Path.size() == baseDepth) return ERROR_INVALID_PARAMETER;
    if (!k.Writable) return ERROR_ACCESS_DENIED;
    return k.Store.Commit([&](TRegNode& root, bool& changed) -> long {
        TRegNode* parent = Find(root, TKeyPath(k.Path.begin(), k.Path.end() - 1));
        if (!parent || !parent->Children.erase(Fold(k.Path.back()))) return ERROR_FILE_NOT_FOUND;
        changed = true;
        return ERROR_SUCCESS;
    });
}

long RegDeleteValue(HKEY key, const char* valueName) {
    TOpenKey k(key);
    if (k.Error) return k.Error;
    if (!k.Writable) return ERROR_ACCESS_DENIED;
    std::string name = valueName ? valueName : "";
    return k.Store.Commit([&](TRegNode& root, bool& changed) -> long {
        TRegNode* node = Find(root, k.Path);
        if (!node) return ERROR_KEY_DELETED;
        if (!node->EraseValue(name)) return ERROR_FILE_NOT_FOUND;
        changed = true;
        return ERROR_SUCCESS;
    });
}

long RegQueryValueEx(HKEY key, const char* valueName, std::uint32_t*, std::uint32_t* type,
                     unsigned char* data, std::uint32_t* dataSize) {
    if (data && !dataSize) return ERROR_INVALID_PARAMETER;
    TOpenKey k(key);
    if (k.Error) return k.Error;
    TRegNode* node = Find(k.Store.Tree(), k.Path);
    if (!node) return ERROR_KEY_DELETED;
    TRegValue* v = node->Value(valueName ? valueName : "");
    if (!v) return ERROR_FILE_NOT_FOUND;
    if (type) *type = v->Type;
    auto size = static_cast<std::uint32_t>(v->Data.size());
    if (data) {
        if (*dataSize < size) {
            *dataSize = size;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, v->Data.data(), size);
    }
    if (dataSize) *dataSize = size;
    return ERROR_SUCCESS;
}

long RegSetValueEx(HKEY key, const char* valueName, std::uint32_t, std::uint32_t type,
                   const unsigned char* data, std::uint32_t dataSize) {
    if ((!data && dataSize) || !ValidValueName(valueName)) return ERROR_INVALID_PARAMETER;
    TOpenKey k(key);
    if (k.Error) return k.Error;
    if (!k.Writable) return ERROR_ACCESS_DENIED;
    std::string name = valueName ? valueName : "";
    std::string bytes(reinterpret_cast<const char*>(data), data ? dataSize : 0);
    return k.Store.Commit([&](TRegNode& root, bool& changed) -> long {
        TRegNode* node = Find(root, k.Path);
        if (!node) return ERROR_KEY_DELETED;
        if (TRegValue* v = node->Value(name)) {
            changed = v->Type != type || v->Data != bytes;
            v->Type = type;
            v->Data = std::move(bytes);
            v->Line.clear();
        } else {
            node->AddValue({name, type, std::move(bytes), {}});
            changed = true;
        }
        return ERROR_SUCCESS;
    });
}

// ---- TRegistry

namespace {

[[noreturn]] void RaiseGet(const std::string& name) {
    throw ERegistryException("Failed to get data for '" + name + "'");
}
[[noreturn]] void RaiseType(const std::string& name) {
    throw ERegistryException("Invalid data type for '" + name + "'");
}
[[noreturn]] void RaiseSet(const std::string& name) {
    throw ERegistryException("Failed to set data for '" + name + "'");
}

// The text of a string value; nullopt when missing; raises for another type.
std::optional<std::string> QueryText(HKEY key, const std::string& name) {
    std::string data(256, '\0');
    for (;;) {
        std::uint32_t type = 0, size = static_cast<std::uint32_t>(data.size());
        long rc = RegQueryValueEx(key, name.c_str(), nullptr, &type, reinterpret_cast<unsigned char*>(data.data()), &size);
        if (rc == ERROR_MORE_DATA && (type == REG_SZ || type == REG_EXPAND_SZ)) {
            data.resize(size);
            continue;
        }
        if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseType(name);
        data.resize(size);
        return data.substr(0, data.find('\0'));
    }
}

void SetText(HKEY key, const std::string& name, const std::string& value) {
    if (RegSetValueEx(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const unsigned char*>(value.c_str()),
                      static_cast<std::uint32_t>(value.size() + 1)) != ERROR_SUCCESS)
        RaiseSet(name);
}

void Fill(TStrings& strings, const std::vector<std::string>& names) {
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& s : names) strings.Add(s);
    strings.EndUpdate();
}

// Splits a TRegistry key path into its relative flag and the path below the base.
std::pair<bool, std::string> SplitKey(const std::string& key) {
    bool relative = key.empty() || key[0] != '\\';
    return {relative, relative ? key : key.substr(1)};
}

} // namespace

TRegistry::TRegistry() : FRootKey(HKEY_CURRENT_USER) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY value) {
    if (value != HKEY_CURRENT_USER)
        throw ERegistryException("Only the root key HKEY_CURRENT_USER is kept on this machine");
    if (value == FRootKey) return;
    CloseKey();
    FRootKey = value;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    auto [relative, path] = SplitKey(key);
    HKEY h = nullptr;
    long rc = canCreate
                  ? RegCreateKeyEx(BaseKey(relative), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr)
                  : RegOpenKeyEx(BaseKey(relative), path.c_str(), 0, KEY_ALL_ACCESS, &h);
    if (rc != ERROR_SUCCESS) {
        CloseKey();
        return false;
    }
    std::string newPath = relative && FCurrentKey ? FCurrentPath : std::string();
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (!path.empty()) newPath += newPath.empty() ? path : "\\" + path;
    CloseKey();
    FCurrentKey = h;
    FCurrentPath = newPath;
    return true;
}

void TRegistry::CloseKey() {
    if (FCurrentKey) RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
    FCurrentPath.clear();
}

bool TRegistry::KeyExists(const std::string& key) {
    auto [relative, path] = SplitKey(key);
    HKEY h = nullptr;
    if (RegOpenKeyEx(BaseKey(relative), path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
    auto [relative, path] = SplitKey(key);
    return RegDeleteKey(BaseKey(relative), path.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetKeyNames(TStrings& strings) {
    std::vector<std::string> names;
    ListNames(ValueKey(), true, names);
    Fill(strings, names);
}

bool TRegistry::ValueExists(const std::string& name) {
    return RegQueryValueEx(ValueKey(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& name) {
    return RegDeleteValue(ValueKey(), name.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetValueNames(TStrings& strings) {
    std::vector<std::string> names;
    ListNames(ValueKey(), false, names);
    Fill(strings, names);
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
    std::uint32_t type = 0;
    if (RegQueryValueEx(ValueKey(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return TRegDataType::rdUnknown;
    switch (type) {
    case REG_SZ: return TRegDataType::rdString;
    case REG_EXPAND_SZ: return TRegDataType::rdExpandString;
    case REG_DWORD: return TRegDataType::rdInteger;
    case REG_BINARY: return TRegDataType::rdBinary;
    default: return TRegDataType::rdUnknown;
    }
}

std::string TRegistry::ReadString(const std::string& name) {
    return QueryText(ValueKey(), name).value_or(std::string());
}

int TRegistry::ReadInteger(const std::string& name) {
    std::uint32_t type = 0, size = 4;
    unsigned char data[4] = {};
    long rc = RegQueryValueEx(ValueKey(), name.c_str(), nullptr, &type, data, &size);
    if (rc == ERROR_MORE_DATA) RaiseType(name);
    if (rc != ERROR_SUCCESS) RaiseGet(name);
    if (type != REG_DWORD || size != 4) RaiseType(name);
    std::uint32_t n = data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t(data[3]) << 24);
    return static_cast<int>(n);
}

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }

void TRegistry::WriteString(const std::string& name, const std::string& value) { SetText(ValueKey(), name, value); }

void TRegistry::WriteInteger(const std::string& name, int value) {
    auto n = static_cast<std::uint32_t>(value);
    unsigned char data[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                             static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
    if (RegSetValueEx(ValueKey(), name.c_str(), 0, REG_DWORD, data, 4) != ERROR_SUCCESS) RaiseSet(name);
}

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

// ---- TRegIniFile

namespace {

// A section's key, closed when it goes; null when the section is missing and not to be made.
class TSectionKey {
public:
    TSectionKey(HKEY fileKey, const std::string& section, bool create) {
        if (section.empty()) {
            FKey = fileKey;
            return;
        }
        HKEY h = nullptr;
        long rc = create ? RegCreateKeyEx(fileKey, section.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr)
                         : RegOpenKeyEx(fileKey, section.c_str(), 0, KEY_ALL_ACCESS, &h);
        if (rc == ERROR_SUCCESS) FKey = FOwned = h;
    }
    ~TSectionKey() {
        if (FOwned) RegCloseKey(FOwned);
    }
    TSectionKey(const TSectionKey&) = delete;
    TSectionKey& operator=(const TSectionKey&) = delete;
    HKEY Key() const { return FKey; }

private:
    HKEY FKey = nullptr;
    HKEY FOwned = nullptr;
};

std::optional<int> ParseInteger(std::string_view s) {
    std::string t(s);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t.replace(0, 2, "$");
    int v = 0;
    if (!TryStrToInt(t, v)) return std::nullopt;
    return v;
}

} // namespace

TRegIniFile::TRegIniFile(const std::string& fileName) : TRegIniFile(HKEY_CURRENT_USER, fileName) {}

TRegIniFile::TRegIniFile(HKEY rootKey, const std::string& fileName) : FFileName(fileName) {
    SetRootKey(rootKey);
    if (!OpenKey(fileName, true) && !OpenKey(fileName, false))
        throw ERegistryException("Failed to open key '" + fileName + "'");
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& defaultValue) {
    TSectionKey key(ValueKey(), section, false);
    if (!key.Key()) return defaultValue;
    return QueryText(key.Key(), ident).value_or(defaultValue);
}

int TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) {
    return ParseInteger(ReadString(section, ident, "")).value_or(defaultValue);
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    TSectionKey key(ValueKey(), section, true);
    if (!key.Key()) RaiseSet(ident);
    SetText(key.Key(), ident, value);
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

void TRegIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TRegIniFile::ReadSection(const std::string& section, TStrings& strings) {
    std::vector<std::string> names;
    TSectionKey key(ValueKey(), section, false);
    if (key.Key()) ListNames(key.Key(), false, names);
    Fill(strings, names);
}

void TRegIniFile::ReadSections(TStrings& strings) {
    std::vector<std::string> names;
    ListNames(ValueKey(), true, names);
    Fill(strings, names);
}

void TRegIniFile::ReadSectionValues(const std::string& section, TStrings& strings) {
    std::vector<std::string> lines;
    TSectionKey key(ValueKey(), section, false);
    if (key.Key()) {
        std::vector<std::string> names;
        ListNames(key.Key(), false, names);
        for (const std::string& n : names) lines.push_back(n + "=" + QueryText(key.Key(), n).value_or(std::string()));
    }
    Fill(strings, lines);
}

void TRegIniFile::EraseSection(const std::string& section) {
    long rc = RegDeleteKey(ValueKey(), section.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        throw ERegistryException("Failed to delete key '" + section + "'");
}

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    TSectionKey key(ValueKey(), section, false);
    if (!key.Key()) return;
    long rc = RegDeleteValue(key.Key(), ident.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        throw ERegistryException("Failed to delete value '" + ident + "'");
}

} // namespace rtl
