// Fonts and text: the Windows faces' types and pitches, metrics and extents, DrawText's flags and
// "&" prefixes, rotated text, text colours and backgrounds.
#include "WinTestSupport.h"

#include <filesystem>

using namespace wintest;

namespace {

class Text : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        screen = GetDC(nullptr);
        mem = CreateCompatibleDC(screen);
        bmp = CreateCompatibleBitmap(screen, 200, 60);
        oldBmp = SelectObject(mem, bmp);
        Clear();
    }
    void TearDown() override {
        SelectObject(mem, oldBmp);
        if (font) {
            SelectObject(mem, GetStockObject(SYSTEM_FONT));
            DeleteObject(font);
        }
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        WinTest::TearDown();
    }
    void Clear() {
        RECT r{0, 0, 200, 60};
        FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    void Use(const char* face, int height, int weight = FW_NORMAL, int escapement = 0, bool underline = false) {
        if (font) {
            SelectObject(mem, GetStockObject(SYSTEM_FONT));
            DeleteObject(font);
        }
        font = CreateFont(height, 0, escapement, escapement, weight, 0, underline, 0, 0, 0, 0, 0, 0, face);
        SelectObject(mem, font);
    }
    // Columns and rows holding any non-white pixel.
    RECT Ink() {
        RECT r{1000, 1000, -1, -1};
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                if (GetPixel(mem, x, y) != RGB(255, 255, 255)) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    }
    int Width(const char* s) {
        SIZE sz;
        GetTextExtentPoint32(mem, s, int(strlen(s)), &sz);
        return sz.cx;
    }
    HDC screen{}, mem{};
    HBITMAP bmp{};
    HGDIOBJ oldBmp{};
    HFONT font{};
};

TEST_F(Text, WindowsFacesReportTheirTypeAndPitch) {
    struct Case {
        const char* face;
        DWORD type;
        bool fixed;
    } cases[] = {
        {"MS Sans Serif", RASTER_FONTTYPE, false}, {"System", RASTER_FONTTYPE, false},
        {"Courier", RASTER_FONTTYPE, true},        {"Courier New", TRUETYPE_FONTTYPE, true},
        {"Arial", TRUETYPE_FONTTYPE, false},       {"Times New Roman", TRUETYPE_FONTTYPE, false},
    };
    struct Seen {
        std::map<std::string, std::pair<DWORD, BYTE>> faces;
    } seen;
    EnumFontFamilies(
        mem, nullptr,
        [](const LOGFONT* lf, const TEXTMETRIC* tm, DWORD type, LPARAM p) {
            reinterpret_cast<Seen*>(p)->faces[lf->lfFaceName] = {type, tm->tmPitchAndFamily};
            return 1;
        },
        LPARAM(&seen));
    for (auto& c : cases) {
        ASSERT_TRUE(seen.faces.count(c.face)) << c.face;
        EXPECT_EQ(seen.faces[c.face].first, c.type) << c.face;
        // TMPF_FIXED_PITCH set means a variable pitch.
        EXPECT_EQ((seen.faces[c.face].second & TMPF_FIXED_PITCH) == 0, c.fixed) << c.face;
        Use(c.face, -13);
        TEXTMETRIC tm;
        ASSERT_TRUE(GetTextMetrics(mem, &tm));
        EXPECT_EQ((tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0, c.type == TRUETYPE_FONTTYPE) << c.face;
        EXPECT_EQ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, c.fixed) << c.face;
        char name[LF_FACESIZE];
        GetTextFace(mem, LF_FACESIZE, name);
        EXPECT_STREQ(name, c.face);
    }
    int styles = 0;
    EnumFontFamilies(mem, "Arial", [](const LOGFONT*, const TEXTMETRIC*, DWORD, LPARAM p) {
        ++*reinterpret_cast<int*>(p);
        return 1;
    }, LPARAM(&styles));
    EXPECT_EQ(styles, 4);
}

TEST_F(Text, MetricsAndExtents) {
    Use("Arial", -16);
    TEXTMETRIC tm;
    GetTextMetrics(mem, &tm);
    // From the face's design metrics (usWinAscent, usWinDescent) at 16 pixels to the em.
    EXPECT_EQ(tm.tmAscent, 14);
    EXPECT_EQ(tm.tmDescent, 3);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 16);
    EXPECT_GT(tm.tmAveCharWidth, 5);
    SIZE sz;
    GetTextExtentPoint32(mem, "Hello", 5, &sz);
    EXPECT_EQ(sz.cy, tm.tmHeight);
    EXPECT_EQ(sz.cx, Width("He") + Width("llo")); // whole pixels per character
    Use("Arial", 20); // a cell height
    GetTextMetrics(mem, &tm);
    EXPECT_EQ(tm.tmHeight, 20);
    Use("Courier New", -13);
    EXPECT_EQ(Width("iiii"), Width("WWWW"));
    GetTextMetrics(mem, &tm);
    EXPECT_EQ(tm.tmAveCharWidth, Width("x"));
    Use("Arial", -13, FW_BOLD);
    GetTextMetrics(mem, &tm);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
}

TEST_F(Text, TextOutDrawsSolidPixelsWithItsBackground) {
    Use("Arial", -16);
    SetTextColor(mem, RGB(0, 0, 0));
    SetBkColor(mem, RGB(255, 0, 0));
    SetBkMode(mem, TRANSPARENT);
    TextOut(mem, 10, 10, "Wg", 2);
    RECT ink = Ink();
    TEXTMETRIC tm;
    GetTextMetrics(mem, &tm);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + Width("Wg") + 1);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 10 + tm.tmHeight);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            COLORREF c = GetPixel(mem, x, y);
            ASSERT_TRUE(c == RGB(0, 0, 0) || c == RGB(255, 255, 255)) << "no antialiasing: " << x << "," << y;
        }
    Clear();
    SetBkMode(mem, OPAQUE);
    TextOut(mem, 10, 10, "Wg", 2);
    EXPECT_EQ(GetPixel(mem, 10, 10), RGB(255, 0, 0)); // the cell is filled
    EXPECT_EQ(GetPixel(mem, 10 + Width("Wg") - 1, 10 + tm.tmHeight - 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(mem, 10 + Width("Wg"), 10), RGB(255, 255, 255));
    Clear();
    SetTextAlign(mem, TA_RIGHT | TA_BASELINE);
    SetBkMode(mem, TRANSPARENT);
    TextOut(mem, 100, 30, "Wg", 2);
    ink = Ink();
    EXPECT_LE(ink.right, 101);
    EXPECT_LT(ink.top, 30);
    EXPECT_GT(ink.bottom, 30); // the descender of g
    SetTextAlign(mem, TA_LEFT | TA_TOP);
    Clear();
    RECT clip{10, 10, 20, 40};
    ExtTextOut(mem, 5, 10, ETO_OPAQUE | ETO_CLIPPED, &clip, "WWWW", 4, nullptr);
    ink = Ink();
    EXPECT_EQ(ink, clip); // filled in the background colour, drawn only inside
}

TEST_F(Text, RotatedText) {
    Use("Arial", -16, FW_NORMAL, 900); // reading upwards
    SetBkMode(mem, TRANSPARENT);
    TextOut(mem, 20, 55, "Hello", 5);
    RECT ink = Ink();
    EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left);
    EXPECT_LE(ink.bottom, 56);
    EXPECT_GE(ink.left, 19);
    auto shot = std::filesystem::temp_directory_path() / "win-text-rotated.png";
    HWND w = Top(0, 0, 200, 60);
    Pump();
    HDC wd = GetDC(w);
    BitBlt(wd, 0, 0, 200, 60, mem, 0, 0, SRCCOPY);
    Use("Times New Roman", -14, FW_BOLD, 0, true);
    SetBkMode(mem, TRANSPARENT);
    Clear();
    TextOut(mem, 0, 0, "Underlined", 10);
    BitBlt(wd, 40, 10, 150, 20, mem, 0, 0, SRCCOPY);
    ReleaseDC(w, wd);
    EXPECT_TRUE(SaveScreenshot(shot.string(), w));
}

TEST_F(Text, DrawTextFlags) {
    Use("Arial", -13);
    TEXTMETRIC tm;
    GetTextMetrics(mem, &tm);
    int lh = tm.tmHeight;
    struct Case {
        const char* name;
        const char* text;
        UINT flags;
        RECT in;
        RECT want; // after DT_CALCRECT
        int height;
    };
    int wAbc = Width("abc"), wLong = Width("one two"), wOne = Width("one"), wThree = Width("three");
    Case cases[] = {
        {"single line", "abc", DT_SINGLELINE, {5, 5, 100, 50}, {5, 5, 5 + wAbc, 5 + lh}, lh},
        {"prefix removed", "a&bc", DT_SINGLELINE, {0, 0, 100, 50}, {0, 0, wAbc, lh}, lh},
        {"no prefix keeps &", "a&bc", DT_SINGLELINE | DT_NOPREFIX, {0, 0, 100, 50}, {0, 0, Width("a&bc"), lh}, lh},
        {"double && is one", "a&&bc", DT_SINGLELINE, {0, 0, 100, 50}, {0, 0, Width("a&bc"), lh}, lh},
        {"lines", "one\r\nthree", 0, {0, 0, 100, 50}, {0, 0, wThree, 2 * lh}, 2 * lh},
        {"word break", "one two three", DT_WORDBREAK, {0, 0, wLong + 2, 100}, {0, 0, wLong, 2 * lh}, 2 * lh},
        {"a long word stays whole", "three", DT_WORDBREAK, {0, 0, 5, 100}, {0, 0, wThree, lh}, lh},
        {"narrow word break", "one two", DT_WORDBREAK, {0, 0, wOne + 1, 100}, {0, 0, Width("two") > wOne ? Width("two") : wOne, 2 * lh}, 2 * lh},
        {"empty", "", DT_SINGLELINE, {3, 3, 50, 50}, {3, 3, 3, 3}, 0},
        {"tabs expand", "a\tb", DT_SINGLELINE | DT_EXPANDTABS, {0, 0, 200, 50}, {0, 0, 8 * tm.tmAveCharWidth + Width("b"), lh}, lh},
    };
    for (auto& c : cases) {
        RECT r = c.in;
        int h = DrawText(mem, c.text, -1, &r, c.flags | DT_CALCRECT);
        EXPECT_EQ(r, c.want) << c.name;
        EXPECT_EQ(h, c.height) << c.name;
    }
    // Drawing: centring, right alignment, vertical centring and its answer.
    SetBkMode(mem, TRANSPARENT);
    RECT r{0, 0, 200, 60};
    int h = DrawText(mem, "abc", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(h, (60 - lh) / 2 + lh);
    RECT ink = Ink();
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30, 3);
    Clear();
    DrawText(mem, "abc", -1, &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    ink = Ink();
    EXPECT_LE(ink.right, 200);
    EXPECT_GE(ink.right, 200 - 2);
    EXPECT_LE(ink.bottom, 60);
    // Clipped to the rectangle unless DT_NOCLIP.
    Clear();
    RECT small{10, 10, 15, 30};
    DrawText(mem, "WWWW", -1, &small, DT_SINGLELINE);
    ink = Ink();
    EXPECT_LE(ink.right, 15);
    Clear();
    DrawText(mem, "WWWW", -1, &small, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Ink().right, 15);
}

TEST_F(Text, PrefixUnderlinesItsCharacterAndEllipsisFits) {
    Use("Arial", -13);
    TEXTMETRIC tm;
    GetTextMetrics(mem, &tm);
    SetBkMode(mem, TRANSPARENT);
    RECT r{0, 0, 200, 60};
    DrawText(mem, "ab&cd", -1, &r, DT_SINGLELINE);
    int y = tm.tmAscent + 1;
    int x0 = Width("ab"), x1 = x0 + Width("c");
    for (int x = x0; x < x1; ++x) EXPECT_EQ(GetPixel(mem, x, y), RGB(0, 0, 0)) << x;
    EXPECT_EQ(GetPixel(mem, x0 - 2, y), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mem, x1 + 1, y), RGB(255, 255, 255));
    Clear();
    DrawText(mem, "ab&&cd", -1, &r, DT_SINGLELINE);
    for (int x = 0; x < 200; ++x) EXPECT_EQ(GetPixel(mem, x, y), RGB(255, 255, 255)) << x; // nothing underlined

    int limit = Width("abcdefghij") / 2;
    RECT e{0, 0, limit, 20};
    RECT calc = e;
    DrawText(mem, "abcdefghij", -1, &calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(calc.right, limit);
    EXPECT_GT(calc.right, Width("..."));
}

TEST_F(Text, StockAndWindowFonts) {
    SelectObject(mem, GetStockObject(SYSTEM_FONT));
    TEXTMETRIC tm;
    GetTextMetrics(mem, &tm);
    EXPECT_EQ(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    LOGFONT lf;
    ASSERT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), int(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    EXPECT_FALSE(GetTextMetrics(reinterpret_cast<HDC>(std::uintptr_t(8)), &tm));
}

} // namespace
