// Plain text to and from the window system's clipboard.
#include "vcl/Clipbrd.h"

#include <cstring>

namespace vcl {

using namespace win;

TClipboardResult PutClipboardText(HWND Owner, const std::string& Text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, Text.size() + 1);
    if (!mem) return TClipboardResult::crOutOfMemory;
    char* p = static_cast<char*>(GlobalLock(mem));
    if (!p) {
        GlobalFree(mem);
        return TClipboardResult::crOutOfMemory;
    }
    std::memcpy(p, Text.c_str(), Text.size() + 1);
    GlobalUnlock(mem);
    if (!OpenClipboard(Owner)) {
        GlobalFree(mem);
        return TClipboardResult::crUnavailable;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, mem) != nullptr;
    if (!ok) GlobalFree(mem);
    CloseClipboard();
    return ok ? TClipboardResult::crOk : TClipboardResult::crUnavailable;
}

bool GetClipboardText(HWND Owner, std::string& Text) {
    if (!OpenClipboard(Owner)) return false;
    bool ok = false;
    if (HGLOBAL mem = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(mem))) {
            std::size_t size = GlobalSize(mem);
            Text.assign(p, strnlen(p, size));
            GlobalUnlock(mem);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

} // namespace vcl
