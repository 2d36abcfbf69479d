// Cursors: the stock shapes, cursors made from raw planes and bound to module resource names,
// the current cursor and its display count. Headless, so a cursor is what it is, not a picture.
#include "win/WinInternal.h"

#include <algorithm>
#include <map>

namespace win {
using namespace detail;

namespace {

struct Cursor {
    int stockId = 0;
    POINT hot;
    SIZE size{32, 32};
    std::vector<BYTE> andPlane, xorPlane;
    // An icon's picture: 24-bit rows and the 1-bit mask, both padded to 16 bits as CreateBitmap
    // takes them. Kept as bits, not bitmaps, so that an icon outlives a reset of the GDI.
    bool isIcon = false;
    std::vector<BYTE> colourBits, maskBits;
};

int Stride(int width, int bpp) { return ((width * bpp + 15) / 16) * 2; }

struct CursorState {
    std::map<std::uintptr_t, Cursor> cursors;
    std::map<int, HCURSOR> stock;
    std::map<std::pair<HINSTANCE, std::string>, HCURSOR> resources;
    std::uintptr_t next = 0x300000;
    HCURSOR current = nullptr;
    int showCount = 0;
};

CursorState& Cu() {
    static CursorState s;
    return s;
}

bool KnownStock(int id) {
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651);
}

std::string ResourceKey(const char* name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(std::uintptr_t(name));
    std::string s = name;
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

HCURSOR Add(Cursor c) {
    auto h = Cu().next;
    Cu().next += 4;
    Cu().cursors.emplace(h, std::move(c));
    return reinterpret_cast<HCURSOR>(h);
}

} // namespace

// The split cursors the class library offers: two bars with arrows across them, made from planes
// like any custom cursor.
HCURSOR SplitCursor(bool horizontal) {
    auto& s = Cu();
    int key = horizontal ? -1 : -2;
    auto it = s.stock.find(key);
    if (it != s.stock.end()) return it->second;
    BYTE andPlane[4 * 32], xorPlane[4 * 32];
    std::fill(std::begin(andPlane), std::end(andPlane), BYTE(0xFF));
    std::fill(std::begin(xorPlane), std::end(xorPlane), BYTE(0));
    auto dot = [&](int x, int y) {
        if (!horizontal) std::swap(x, y);
        andPlane[y * 4 + x / 8] &= BYTE(~(0x80 >> (x % 8)));
    };
    for (int i = 8; i < 24; ++i) {
        dot(14, i);
        dot(17, i);
    }
    for (int i = 0; i < 4; ++i)
        for (int j = -i; j <= i; ++j) {
            dot(12 - 3 + i, 15 + j);
            dot(19 + 3 - i, 15 + j);
        }
    for (int x = 9; x < 23; ++x) dot(x, 15);
    HCURSOR h = CreateCursor(nullptr, 15, 15, 32, 32, andPlane, xorPlane);
    s.stock[key] = h;
    return h;
}

HCURSOR LoadCursor(HINSTANCE instance, const char* name) {
    if (!name) return nullptr;
    auto& s = Cu();
    if (!instance) {
        if (!IS_INTRESOURCE(name)) {
            if (ResourceKey(name) == "HSPLIT") return SplitCursor(true);
            if (ResourceKey(name) == "VSPLIT") return SplitCursor(false);
            return nullptr;
        }
        int id = int(std::uintptr_t(name));
        if (!KnownStock(id)) return nullptr;
        auto it = s.stock.find(id);
        if (it != s.stock.end()) return it->second;
        Cursor c;
        c.stockId = id;
        HCURSOR h = Add(c);
        s.stock[id] = h;
        return h;
    }
    auto it = s.resources.find({instance, ResourceKey(name)});
    return it == s.resources.end() ? nullptr : it->second;
}

HICON LoadIcon(HINSTANCE instance, const char* name) {
    if (!instance && IS_INTRESOURCE(name)) {
        int id = int(std::uintptr_t(name));
        if (id < 32512 || id > 32517) return nullptr;
        auto& s = Cu();
        auto it = s.stock.find(id + 100000);
        if (it != s.stock.end()) return it->second;
        Cursor c;
        c.stockId = id;
        HCURSOR h = Add(c);
        s.stock[id + 100000] = h;
        return h;
    }
    return LoadCursor(instance, name);
}

HCURSOR CreateCursor(HINSTANCE, int xHot, int yHot, int width, int height, const void* andPlane,
                     const void* xorPlane) {
    if (width <= 0 || height <= 0 || width > 32 || height > 32 || !andPlane || !xorPlane) return nullptr;
    if (xHot < 0 || yHot < 0 || xHot >= width || yHot >= height) return nullptr;
    Cursor c;
    c.hot = POINT{xHot, yHot};
    c.size = SIZE{width, height};
    std::size_t bytes = std::size_t((width + 15) / 16 * 2) * height;
    c.andPlane.assign(static_cast<const BYTE*>(andPlane), static_cast<const BYTE*>(andPlane) + bytes);
    c.xorPlane.assign(static_cast<const BYTE*>(xorPlane), static_cast<const BYTE*>(xorPlane) + bytes);
    return Add(std::move(c));
}

BOOL DestroyCursor(HCURSOR cursor) {
    auto& s = Cu();
    auto it = s.cursors.find(reinterpret_cast<std::uintptr_t>(cursor));
    if (it == s.cursors.end() || it->second.stockId) return FALSE;
    for (auto& [k, v] : s.resources)
        if (v == cursor) return FALSE; // owned by its module
    if (s.current == cursor) s.current = nullptr;
    s.cursors.erase(it);
    return TRUE;
}

void RegisterCursorResource(HINSTANCE instance, const char* name, HCURSOR cursor) {
    if (!name || !Cu().cursors.count(reinterpret_cast<std::uintptr_t>(cursor))) return;
    Cu().resources[{instance, ResourceKey(name)}] = cursor;
}

HCURSOR SetCursor(HCURSOR cursor) {
    auto& s = Cu();
    HCURSOR old = s.current;
    if (!cursor || s.cursors.count(reinterpret_cast<std::uintptr_t>(cursor))) s.current = cursor;
    return old;
}

HCURSOR GetCursor() { return Cu().current; }

int ShowCursor(BOOL show) {
    auto& s = Cu();
    s.showCount += show ? 1 : -1;
    return s.showCount;
}

HICON CreateIconIndirect(const ICONINFO* info) {
    if (!info || !info->hbmMask || !info->hbmColor) return nullptr;
    BITMAP mask, colour;
    if (!GetObject(info->hbmMask, sizeof mask, &mask) || !GetObject(info->hbmColor, sizeof colour, &colour))
        return nullptr;
    if (mask.bmWidth != colour.bmWidth || mask.bmHeight != colour.bmHeight || mask.bmBitsPixel != 1) return nullptr;
    Cursor c;
    c.isIcon = true;
    c.size = SIZE{colour.bmWidth, colour.bmHeight};
    c.hot = POINT{LONG(info->xHotspot), LONG(info->yHotspot)};
    c.maskBits.resize(std::size_t(Stride(c.size.cx, 1)) * c.size.cy);
    GetBitmapBits(info->hbmMask, LONG(c.maskBits.size()), c.maskBits.data());
    // A monochrome picture is read into colour through a memory DC.
    HDC screen = GetDC(nullptr);
    HBITMAP rgb = CreateCompatibleBitmap(screen, c.size.cx, c.size.cy);
    ReleaseDC(nullptr, screen);
    HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = SelectObject(src, info->hbmColor), oldDst = SelectObject(dst, rgb);
    SetTextColor(dst, RGB(0, 0, 0));
    SetBkColor(dst, RGB(255, 255, 255));
    BitBlt(dst, 0, 0, c.size.cx, c.size.cy, src, 0, 0, SRCCOPY);
    SelectObject(src, oldSrc);
    SelectObject(dst, oldDst);
    DeleteDC(src);
    DeleteDC(dst);
    c.colourBits.resize(std::size_t(Stride(c.size.cx, 24)) * c.size.cy);
    GetBitmapBits(rgb, LONG(c.colourBits.size()), c.colourBits.data());
    DeleteObject(rgb);
    return Add(std::move(c));
}

namespace {
const Cursor* IconOf(HICON icon) {
    auto it = Cu().cursors.find(reinterpret_cast<std::uintptr_t>(icon));
    return it == Cu().cursors.end() || !it->second.isIcon ? nullptr : &it->second;
}
} // namespace

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
    const Cursor* c = IconOf(icon);
    if (!c || !info) return FALSE;
    info->fIcon = TRUE;
    info->xHotspot = DWORD(c->hot.x);
    info->yHotspot = DWORD(c->hot.y);
    info->hbmMask = CreateBitmap(c->size.cx, c->size.cy, 1, 1, c->maskBits.data());
    info->hbmColor = CreateBitmap(c->size.cx, c->size.cy, 1, 24, c->colourBits.data());
    return TRUE;
}

BOOL DestroyIcon(HICON icon) {
    if (!IconOf(icon)) return DestroyCursor(icon);
    Cu().cursors.erase(reinterpret_cast<std::uintptr_t>(icon));
    return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
    const Cursor* c = IconOf(icon);
    if (!c || !dc) return FALSE;
    const int w = c->size.cx, h = c->size.cy;
    if (cx <= 0) cx = w;
    if (cy <= 0) cy = h;
    if (!(flags & DI_NORMAL)) flags = DI_NORMAL;
    HBITMAP mask = CreateBitmap(w, h, 1, 1, c->maskBits.data());
    HBITMAP colour = CreateBitmap(w, h, 1, 24, c->colourBits.data());
    HDC mem = CreateCompatibleDC(nullptr);
    // The mask goes on as black and white whatever the DC's colours are.
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0)), oldBk = SetBkColor(dc, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(mem, mask);
    BOOL ok = TRUE;
    if (flags & DI_MASK) ok &= StretchBlt(dc, x, y, cx, cy, mem, 0, 0, w, h, (flags & DI_IMAGE) ? SRCAND : SRCCOPY);
    SelectObject(mem, colour);
    if (flags & DI_IMAGE) ok &= StretchBlt(dc, x, y, cx, cy, mem, 0, 0, w, h, (flags & DI_MASK) ? SRCINVERT : SRCCOPY);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(mask);
    DeleteObject(colour);
    return ok;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL GetCursorInfoOf(HCURSOR cursor, CursorInfo* info) {
    auto& s = Cu();
    auto it = s.cursors.find(reinterpret_cast<std::uintptr_t>(cursor));
    if (it == s.cursors.end() || !info) return FALSE;
    info->stockId = it->second.stockId;
    info->hotSpot = it->second.hot;
    info->size = it->second.size;
    return TRUE;
}

namespace detail {
void ResetClipboard();
void ResetCaretCursorClipboard() {
    DestroyCaret();
    auto& s = Cu();
    s.current = nullptr;
    s.showCount = 0;
    for (auto it = s.cursors.begin(); it != s.cursors.end();) {
        bool keep = it->second.stockId != 0;
        for (auto& [k, v] : s.stock)
            if (v == reinterpret_cast<HCURSOR>(it->first)) keep = true;
        for (auto& [k, v] : s.resources)
            if (v == reinterpret_cast<HCURSOR>(it->first)) keep = true;
        it = keep ? std::next(it) : s.cursors.erase(it);
    }
    ResetClipboard();
}
} // namespace detail

} // namespace win
