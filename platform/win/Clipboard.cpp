// Global memory blocks and the process's clipboard, which owns the blocks put on it.
#include "win/WinInternal.h"

#include "rtl/CodePages.h"

#include <cstring>
#include <map>

namespace win {
using namespace detail;

namespace {

struct Block {
    std::vector<BYTE> data;
    UINT flags = 0;
    int locks = 0;
};

struct ClipState {
    std::map<std::uintptr_t, Block> blocks;
    std::uintptr_t next = 0x500000;
    bool open = false;
    HWND openedBy = nullptr, owner = nullptr;
    std::map<UINT, HGLOBAL> formats;
};

ClipState& Cl() {
    static ClipState s;
    return s;
}

Block* B(HGLOBAL h) {
    auto it = Cl().blocks.find(reinterpret_cast<std::uintptr_t>(h));
    return it == Cl().blocks.end() ? nullptr : &it->second;
}

void FreeFormats() {
    for (auto& [f, h] : Cl().formats) Cl().blocks.erase(reinterpret_cast<std::uintptr_t>(h));
    Cl().formats.clear();
}

bool OwnedByClipboard(HGLOBAL h) {
    for (auto& [f, x] : Cl().formats)
        if (x == h) return true;
    return false;
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
    if (bytes > (std::size_t(1) << 31)) return nullptr;
    Block b;
    b.flags = flags;
    b.data.assign(bytes, 0); // zero even without GMEM_ZEROINIT: nothing stale leaks
    auto h = Cl().next;
    Cl().next += 4;
    Cl().blocks.emplace(h, std::move(b));
    return reinterpret_cast<HGLOBAL>(h);
}

HGLOBAL GlobalReAlloc(HGLOBAL mem, std::size_t bytes, UINT flags) {
    Block* b = B(mem);
    if (!b || (b->locks && !(b->flags & GMEM_MOVEABLE))) return nullptr;
    std::size_t old = b->data.size();
    b->data.resize(bytes);
    if ((flags & GMEM_ZEROINIT) && bytes > old) std::memset(b->data.data() + old, 0, bytes - old);
    return mem;
}

void* GlobalLock(HGLOBAL mem) {
    Block* b = B(mem);
    if (!b || b->data.empty()) return nullptr;
    ++b->locks;
    return b->data.data();
}

BOOL GlobalUnlock(HGLOBAL mem) {
    Block* b = B(mem);
    if (!b || b->locks == 0) return FALSE;
    --b->locks;
    return b->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
    if (!B(mem) || OwnedByClipboard(mem)) return mem;
    Cl().blocks.erase(reinterpret_cast<std::uintptr_t>(mem));
    return nullptr;
}

std::size_t GlobalSize(HGLOBAL mem) {
    Block* b = B(mem);
    return b ? b->data.size() : 0;
}

BOOL OpenClipboard(HWND owner) {
    auto& s = Cl();
    if (s.open) return FALSE;
    if (owner && !IsWindow(owner)) return FALSE;
    s.open = true;
    s.openedBy = owner;
    // Text copied on the desktop since the last look replaces what this process put here.
    std::string desktop;
    if (DisplayClipboardIn(&desktop)) {
        FreeFormats();
        s.owner = nullptr;
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, desktop.size() + 1);
        std::memcpy(B(h)->data.data(), desktop.data(), desktop.size());
        s.formats[CF_TEXT] = h;
    }
    return TRUE;
}

BOOL CloseClipboard() {
    auto& s = Cl();
    if (!s.open) return FALSE;
    s.open = false;
    s.openedBy = nullptr;
    return TRUE;
}

BOOL EmptyClipboard() {
    auto& s = Cl();
    if (!s.open) return FALSE;
    FreeFormats();
    s.owner = s.openedBy;
    return TRUE;
}

HGLOBAL SetClipboardData(UINT format, HGLOBAL mem) {
    auto& s = Cl();
    if (!s.open || !B(mem) || format == 0) return nullptr;
    auto it = s.formats.find(format);
    if (it != s.formats.end() && it->second != mem) s.blocks.erase(reinterpret_cast<std::uintptr_t>(it->second));
    s.formats[format] = mem;
    if (format == CF_TEXT || format == CF_OEMTEXT) {
        Block* b = B(mem);
        std::string text(reinterpret_cast<const char*>(b->data.data()),
                         strnlen(reinterpret_cast<const char*>(b->data.data()), b->data.size()));
        DisplayClipboardOut(format == CF_OEMTEXT ? rtl::OemToAnsi(text) : text);
    }
    return mem;
}

HGLOBAL GetClipboardData(UINT format) {
    auto& s = Cl();
    if (!s.open) return nullptr;
    auto it = s.formats.find(format);
    if (it != s.formats.end()) return it->second;
    // Text in the other code page is made on demand, as Windows does.
    UINT other = format == CF_OEMTEXT ? CF_TEXT : format == CF_TEXT ? CF_OEMTEXT : 0;
    auto src = other ? s.formats.find(other) : s.formats.end();
    if (src == s.formats.end()) return nullptr;
    Block* b = B(src->second);
    std::string text(reinterpret_cast<const char*>(b->data.data()), strnlen(reinterpret_cast<const char*>(b->data.data()), b->data.size()));
    std::string conv = format == CF_OEMTEXT ? rtl::AnsiToOem(text) : rtl::OemToAnsi(text);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, conv.size() + 1);
    std::memcpy(B(h)->data.data(), conv.data(), conv.size());
    s.formats[format] = h;
    return h;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    auto& f = Cl().formats;
    if (f.count(format)) return TRUE;
    if (format == CF_TEXT) return f.count(CF_OEMTEXT) != 0;
    if (format == CF_OEMTEXT) return f.count(CF_TEXT) != 0;
    return FALSE;
}

int CountClipboardFormats() { return int(Cl().formats.size()); }

HWND GetClipboardOwner() { return Cl().owner; }

namespace detail {
void ResetClipboard() {
    auto& s = Cl();
    FreeFormats();
    s.open = false;
    s.openedBy = s.owner = nullptr;
}
} // namespace detail

} // namespace win
