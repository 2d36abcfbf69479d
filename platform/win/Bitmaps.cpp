// Bitmaps: device-dependent bitmaps and their bits, device-independent bitmaps in and out, and
// the blits between device contexts with the ROP3 raster operations, stretched or mirrored.
#include "win/GdiInternal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace win {
using namespace detail;

namespace {

std::uint32_t Rop3(DWORD rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    unsigned code = (rop >> 16) & 0xFF;
    // The codes the suite uses most, without the walk over the eight terms.
    switch (code) {
    case 0xCC: return s & 0xFFFFFF;        // SRCCOPY
    case 0x88: return (s & d) & 0xFFFFFF;  // SRCAND
    case 0xEE: return (s | d) & 0xFFFFFF;  // SRCPAINT
    case 0x66: return (s ^ d) & 0xFFFFFF;  // SRCINVERT
    case 0x22: return (d & ~s) & 0xFFFFFF; // the destination where the source is clear
    case 0xF0: return p & 0xFFFFFF;        // PATCOPY
    }
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (code & (1u << i)) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r & 0xFFFFFF;
}

bool RopUsesSource(DWORD rop) {
    unsigned c = (rop >> 16) & 0xFF;
    return ((c >> 2) & 0x33) != (c & 0x33);
}

bool RopUsesPattern(DWORD rop) {
    unsigned c = (rop >> 16) & 0xFF;
    return ((c >> 4) & 0x0F) != (c & 0x0F);
}

} // namespace

// --- Bitmaps --------------------------------------------------------------------------------

namespace {
HBITMAP NewBitmap(int w, int h, bool mono, std::uint32_t fill) {
    if (w <= 0 || h <= 0 || std::int64_t(w) * h > (1 << 24)) return nullptr;
    auto o = std::make_unique<GdiObject>();
    o->type = OBJ_BITMAP;
    o->bitmap = std::make_shared<Pixels>(w, h, mono, fill);
    return NewObject(std::move(o));
}
} // namespace

HBITMAP CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits) {
    if (planes != 1) return nullptr;
    bool mono = bpp == 1;
    HBITMAP b = NewBitmap(w, h, mono, 0);
    if (!b || !bits) return b;
    SetBitmapBits(b, 0xFFFFFFFF, bits);
    return b;
}

HBITMAP CreateCompatibleBitmap(HDC h, int w, int hgt) {
    DC* dc = Dc(h);
    if (!dc) return nullptr;
    return NewBitmap(w, hgt, DestMono(*dc), 0);
}

LONG SetBitmapBits(HBITMAP bmp, DWORD bytes, const void* bits) {
    GdiObject* o = Obj(bmp, OBJ_BITMAP);
    if (!o || !bits) return 0;
    Pixels& p = *o->bitmap;
    const auto* b = static_cast<const BYTE*>(bits);
    int bpp = p.mono ? 1 : 24;
    int stride = ((p.width * bpp + 15) / 16) * 2;
    std::size_t need = std::size_t(stride) * p.height;
    std::size_t avail = std::min<std::size_t>(need, bytes);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            std::size_t off = std::size_t(y) * stride + (p.mono ? x / 8 : x * 3);
            if (off + (p.mono ? 1 : 3) > avail) return LONG(avail);
            if (p.mono) p.Row(y)[x] = (b[off] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0;
            else p.Row(y)[x] = (std::uint32_t(b[off + 2]) << 16) | (std::uint32_t(b[off + 1]) << 8) | b[off];
        }
    return LONG(avail);
}

LONG GetBitmapBits(HBITMAP bmp, LONG bytes, void* bits) {
    GdiObject* o = Obj(bmp, OBJ_BITMAP);
    if (!o || !bits || bytes <= 0) return 0;
    Pixels& p = *o->bitmap;
    auto* b = static_cast<BYTE*>(bits);
    int bpp = p.mono ? 1 : 24;
    int stride = ((p.width * bpp + 15) / 16) * 2;
    std::size_t need = std::min<std::size_t>(std::size_t(stride) * p.height, std::size_t(bytes));
    std::memset(b, 0, need);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            std::size_t off = std::size_t(y) * stride + (p.mono ? x / 8 : x * 3);
            if (off + (p.mono ? 1 : 3) > need) return LONG(need);
            std::uint32_t v = p.At(x, y);
            if (p.mono) {
                if (v) b[off] |= BYTE(0x80 >> (x % 8));
            } else {
                b[off] = BYTE(v);
                b[off + 1] = BYTE(v >> 8);
                b[off + 2] = BYTE(v >> 16);
            }
        }
    return LONG(need);
}

BOOL GetBitmapDimensionEx(HBITMAP bmp, SIZE* size) {
    GdiObject* o = Obj(bmp, OBJ_BITMAP);
    if (!o || !size) return FALSE;
    *size = SIZE{o->bitmap->width, o->bitmap->height};
    return TRUE;
}

namespace {

int DibStride(int w, int bpp) { return ((w * bpp + 31) / 32) * 4; }

bool DibIsBlackWhite(const BITMAPINFO* info) {
    const RGBQUAD* t = info->bmiColors;
    auto is = [](const RGBQUAD& q, int v) { return q.rgbRed == v && q.rgbGreen == v && q.rgbBlue == v; };
    return (is(t[0], 0) && is(t[1], 255)) || (is(t[0], 255) && is(t[1], 0));
}

std::uint32_t DibPixel(const BITMAPINFO* info, const BYTE* row, int x) {
    int bpp = info->bmiHeader.biBitCount;
    auto table = [&](int i) {
        const RGBQUAD& q = info->bmiColors[i];
        return (std::uint32_t(q.rgbRed) << 16) | (std::uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
    };
    switch (bpp) {
    case 1: return table((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return table((row[x / 2] >> ((x % 2) ? 0 : 4)) & 15);
    case 8: return table(row[x]);
    case 16: {
        unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
        unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return ((r * 255 / 31) << 16) | ((g * 255 / 31) << 8) | (b * 255 / 31);
    }
    case 24: return (std::uint32_t(row[x * 3 + 2]) << 16) | (std::uint32_t(row[x * 3 + 1]) << 8) | row[x * 3];
    case 32: return (std::uint32_t(row[x * 4 + 2]) << 16) | (std::uint32_t(row[x * 4 + 1]) << 8) | row[x * 4];
    }
    return 0;
}

} // namespace

HBITMAP CreateDIBitmap(HDC, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
    if (!header) return nullptr;
    int w = header->biWidth, h = std::abs(header->biHeight);
    bool mono = header->biBitCount == 1 && info && DibIsBlackWhite(info);
    HBITMAP b = NewBitmap(w, h, mono, 0);
    if (b && (init & CBM_INIT) && bits && info) SetDIBits(nullptr, b, 0, UINT(h), bits, info, usage);
    return b;
}

int SetDIBits(HDC, HBITMAP bmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT) {
    GdiObject* o = Obj(bmp, OBJ_BITMAP);
    if (!o || !bits || !info || info->bmiHeader.biCompression != BI_RGB) return 0;
    int bpp = info->bmiHeader.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
    Pixels& p = *o->bitmap;
    int w = std::min<int>(p.width, info->bmiHeader.biWidth);
    int h = std::abs(info->bmiHeader.biHeight);
    bool topDown = info->bmiHeader.biHeight < 0;
    int stride = DibStride(info->bmiHeader.biWidth, bpp);
    const auto* src = static_cast<const BYTE*>(bits);
    int done = 0;
    for (UINT i = 0; i < lines; ++i) {
        int dibRow = int(start + i);
        if (dibRow >= h) break;
        int y = topDown ? dibRow : h - 1 - dibRow;
        if (y < 0 || y >= p.height) continue;
        const BYTE* row = src + std::size_t(i) * stride;
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = DibPixel(info, row, x);
            p.Row(y)[x] = p.mono ? MonoOf(v) : v;
        }
        ++done;
    }
    return done;
}

int GetDIBits(HDC, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
    GdiObject* o = Obj(bmp, OBJ_BITMAP);
    if (!o || !info) return 0;
    Pixels& p = *o->bitmap;
    if (!bits) {
        info->bmiHeader.biWidth = p.width;
        info->bmiHeader.biHeight = p.height;
        info->bmiHeader.biPlanes = 1;
        if (info->bmiHeader.biBitCount == 0) info->bmiHeader.biBitCount = p.mono ? 1 : 24;
        info->bmiHeader.biSizeImage = DWORD(DibStride(p.width, info->bmiHeader.biBitCount) * p.height);
        return 1;
    }
    int bpp = info->bmiHeader.biBitCount;
    if (bpp != 24 && bpp != 32) return 0;
    bool topDown = info->bmiHeader.biHeight < 0;
    int h = p.height;
    int stride = DibStride(p.width, bpp);
    auto* dst = static_cast<BYTE*>(bits);
    int done = 0;
    for (UINT i = 0; i < lines; ++i) {
        int dibRow = int(start + i);
        if (dibRow >= h) break;
        int y = topDown ? dibRow : h - 1 - dibRow;
        BYTE* row = dst + std::size_t(i) * stride;
        std::memset(row, 0, std::size_t(stride));
        for (int x = 0; x < p.width; ++x) {
            std::uint32_t v = p.At(x, y);
            BYTE* q = row + x * (bpp / 8);
            q[0] = BYTE(v);
            q[1] = BYTE(v >> 8);
            q[2] = BYTE(v >> 16);
        }
        ++done;
    }
    return done;
}

// --- Blits ----------------------------------------------------------------------------------

namespace {

// Coordinates beyond this reach no device; past it the arithmetic below could overflow.
constexpr std::int64_t kFarCoordinate = std::int64_t(1) << 26;

// Brings a span [a, a + len) into the reachable range: false when none of it lies there. A span
// that has to be cut is only cut where no source is mapped onto it.
bool ReachableSpan(int& a, int& len, bool mapped) {
    std::int64_t lo = std::min<std::int64_t>(a, std::int64_t(a) + len);
    std::int64_t hi = std::max<std::int64_t>(a, std::int64_t(a) + len);
    if (hi < -kFarCoordinate || lo > kFarCoordinate) return false;
    if (lo >= -kFarCoordinate && hi <= kFarCoordinate) return true;
    if (mapped) return false;
    lo = std::max(lo, -kFarCoordinate);
    hi = std::min(hi, kFarCoordinate);
    a = int(lo);
    len = int(hi - lo);
    return true;
}

BOOL Blit(DC* dst, int x, int y, int w, int h, DC* src, int sx, int sy, int sw, int sh, DWORD rop) {
    bool useSrc = RopUsesSource(rop);
    if (useSrc && !src) return FALSE;
    if (!ReachableSpan(x, w, useSrc) || !ReachableSpan(y, h, useSrc)) return TRUE;
    POINT d0 = ToDevice(*dst, x, y);
    bool mirrorX = (w < 0) != (sw < 0), mirrorY = (h < 0) != (sh < 0);
    if (w < 0) { d0.x += w; w = -w; }
    if (h < 0) { d0.y += h; h = -h; }
    if (w == 0 || h == 0) return TRUE;
    if (dst->kind == DcKind::Printer) {
        RECT from{};
        if (useSrc) {
            // Normalised; a mirrored axis comes as right < left or bottom < top.
            POINT s0 = ToDevice(*src, sx, sy);
            int fw = sw, fh = sh;
            if (fw < 0) { s0.x += fw; fw = -fw; }
            if (fh < 0) { s0.y += fh; fh = -fh; }
            from = RECT{s0.x, s0.y, s0.x + fw, s0.y + fh};
            if (mirrorX) std::swap(from.left, from.right);
            if (mirrorY) std::swap(from.top, from.bottom);
        }
        PrinterBlit(*dst, RECT{d0.x, d0.y, d0.x + w, d0.y + h}, useSrc ? src : nullptr, from, rop);
        return TRUE;
    }
    // Kept between calls, so that a blit makes no allocation of its own.
    static std::vector<std::uint32_t> sbuf;
    static std::vector<char> sok;
    bool srcMono = false;
    std::uint32_t srcBk = 0;
    if (useSrc) {
        POINT s0 = ToDevice(*src, sx, sy);
        if (sw < 0) { s0.x += sw; sw = -sw; }
        if (sh < 0) { s0.y += sh; sh = -sh; }
        if (sw == 0 || sh == 0) return TRUE;
        if (std::int64_t(sw) * sh > (1 << 24)) return FALSE;
        srcMono = DestMono(*src);
        srcBk = ToPix(src->st.bk);
        sbuf.resize(std::size_t(sw) * sh);
        sok.resize(sbuf.size());
        if (src->kind == DcKind::Memory) {
            // A bitmap's rows are read straight.
            Pixels* sp = BitmapOf(*src);
            for (int j = 0; j < sh; ++j) {
                int yy = s0.y + j;
                for (int i = 0; i < sw; ++i) {
                    int xx = s0.x + i;
                    bool in = sp && sp->Inside(xx, yy);
                    sok[std::size_t(j) * sw + i] = in;
                    sbuf[std::size_t(j) * sw + i] = in ? sp->At(xx, yy) : 0;
                }
            }
        } else {
            for (int j = 0; j < sh; ++j)
                for (int i = 0; i < sw; ++i) {
                    std::uint32_t v = 0;
                    sok[std::size_t(j) * sw + i] = ReadDevicePixel(*src, s0.x + i, s0.y + j, &v);
                    sbuf[std::size_t(j) * sw + i] = v;
                }
        }
    }
    GdiObject* br = Obj(dst->st.brush, OBJ_BRUSH);
    bool usePat = RopUsesPattern(rop);
    std::uint32_t dstText = ToPix(dst->st.text), dstBk = ToPix(dst->st.bk);
    const auto& ps = Pieces(*dst);
    RECT pb = PiecesBounds(ps);
    unsigned code = (rop >> 16) & 0xFF;
    if (code == 0x00 || code == 0xFF) {
        // BLACKNESS and WHITENESS: one colour in whole spans.
        for (int j = std::max<int>(0, pb.top - d0.y); j < std::min<int>(h, pb.bottom - d0.y); ++j)
            SolidSpan(ps, d0.y + j, d0.x, d0.x + w, code ? 0xFFFFFF : 0);
        return TRUE;
    }
    for (int j = std::max<int>(0, pb.top - d0.y); j < std::min<int>(h, pb.bottom - d0.y); ++j)
        Span(ps, d0.y + j, d0.x, d0.x + w, [&](int xx, int yy, std::uint32_t d, bool mono) {
            std::uint32_t s = 0, p = 0;
            if (useSrc) {
                int i = sw == w ? xx - d0.x : (xx - d0.x) * sw / w, k = sh == h ? yy - d0.y : (yy - d0.y) * sh / h;
                if (mirrorX) i = sw - 1 - i;
                if (mirrorY) k = sh - 1 - k;
                std::size_t idx = std::size_t(k) * sw + i;
                if (!sok[idx]) return d;
                s = sbuf[idx];
                if (srcMono && !mono) s = s ? dstBk : dstText;
                else if (!srcMono && mono) s = s == srcBk ? 0xFFFFFF : 0;
            }
            if (usePat && !BrushPixel(*dst, br, xx, yy, mono, &p)) p = 0;
            return Rop3(rop, p, s, d);
        });
    return TRUE;
}

} // namespace

BOOL BitBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, DWORD rop) {
    DC* dst = Dc(hdst);
    if (!dst) return FALSE;
    return Blit(dst, x, y, w, h, Dc(hsrc), sx, sy, w, h, rop);
}

BOOL StretchBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, DWORD rop) {
    DC* dst = Dc(hdst);
    if (!dst) return FALSE;
    return Blit(dst, x, y, w, h, Dc(hsrc), sx, sy, sw, sh, rop);
}

BOOL PatBlt(HDC h, int x, int y, int w, int hh, DWORD rop) {
    DC* dc = Dc(h);
    if (!dc || RopUsesSource(rop)) return FALSE;
    return Blit(dc, x, y, w, hh, nullptr, 0, 0, w, hh, rop);
}

} // namespace win
