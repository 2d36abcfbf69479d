// The GDI pixel rules: line ends, rectangle borders, raster operations, monochrome conversion,
// pattern brushes, the focus rectangle, the screen DC across windows, painting and scrolling.
#include "WinTestSupport.h"

#include <filesystem>

using namespace wintest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

// A small colour bitmap in a memory DC, shown as text: '#' black, '.' white, other colours by letter.
class Canvas {
public:
    Canvas(int w, int h, COLORREF fill = kWhite) : FW(w), FH(h) {
        HDC screen = GetDC(nullptr);
        FDC = CreateCompatibleDC(screen);
        FBmp = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        FOld = SelectObject(FDC, FBmp);
        Fill(fill);
    }
    ~Canvas() {
        SelectObject(FDC, FOld);
        DeleteObject(FBmp);
        DeleteDC(FDC);
    }
    HDC dc() const { return FDC; }
    void Fill(COLORREF c) {
        HBRUSH b = CreateSolidBrush(c);
        RECT r{0, 0, FW, FH};
        FillRect(FDC, &r, b);
        DeleteObject(b);
    }
    std::vector<std::string> Picture() const {
        std::vector<std::string> rows;
        for (int y = 0; y < FH; ++y) {
            std::string row;
            for (int x = 0; x < FW; ++x) row += Letter(GetPixel(FDC, x, y));
            rows.push_back(row);
        }
        return rows;
    }
    static char Letter(COLORREF c) {
        switch (c) {
        case kBlack: return '#';
        case kWhite: return '.';
        case kRed: return 'r';
        case kBlue: return 'b';
        case kGreen: return 'g';
        }
        return '?';
    }

private:
    int FW, FH;
    HDC FDC;
    HBITMAP FBmp;
    HGDIOBJ FOld;
};

class Gdi : public WinTest {};

TEST_F(Gdi, LinesLeaveOutTheirLastPixel) {
    Canvas c(6, 6);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 4, 0);
    MoveToEx(c.dc(), 0, 1, nullptr);
    LineTo(c.dc(), 3, 4);
    MoveToEx(c.dc(), 5, 5, nullptr);
    LineTo(c.dc(), 5, 2);
    std::vector<std::string> want{
        "####..",
        "#.....",
        ".#....",
        "..#..#",
        ".....#",
        ".....#",
    };
    EXPECT_EQ(c.Picture(), want);
    POINT p;
    GetCurrentPositionEx(c.dc(), &p);
    EXPECT_EQ(p, (POINT{5, 2}));
}

TEST_F(Gdi, RectangleAndFillRectBorders) {
    struct Case {
        const char* name;
        std::function<void(HDC)> draw;
        std::vector<std::string> want;
    } cases[] = {
        {"Rectangle: pen on the inside edge, brush within",
         [](HDC dc) {
             HBRUSH b = CreateSolidBrush(kRed);
             HGDIOBJ o = SelectObject(dc, b);
             Rectangle(dc, 1, 1, 6, 5);
             SelectObject(dc, o);
             DeleteObject(b);
         },
         {".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}},
        {"Rectangle with a null pen is one pixel smaller",
         [](HDC dc) {
             HBRUSH b = CreateSolidBrush(kRed);
             HGDIOBJ o = SelectObject(dc, b);
             HGDIOBJ op = SelectObject(dc, GetStockObject(NULL_PEN));
             Rectangle(dc, 1, 1, 6, 5);
             SelectObject(dc, op);
             SelectObject(dc, o);
             DeleteObject(b);
         },
         {".......", ".rrrr..", ".rrrr..", ".rrrr..", ".......", "......."}},
        {"FillRect leaves out right and bottom",
         [](HDC dc) {
             RECT r{1, 1, 4, 3};
             FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
         },
         {".......", ".###...", ".###...", ".......", ".......", "......."}},
        {"FrameRect draws one pixel inside",
         [](HDC dc) {
             RECT r{1, 1, 6, 5};
             FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
         },
         {".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}},
        {"Polyline ends short, Polygon closes",
         [](HDC dc) {
             POINT pl[] = {{0, 0}, {3, 0}, {3, 3}};
             Polyline(dc, pl, 3);
             HGDIOBJ o = SelectObject(dc, GetStockObject(NULL_BRUSH));
             POINT pg[] = {{5, 1}, {6, 1}, {6, 4}, {5, 4}};
             Polygon(dc, pg, 4);
             SelectObject(dc, o);
         },
         {"####...", "...#.##", "...#.##", ".....##", ".....##", "......."}},
        {"InvertRect flips every bit inside",
         [](HDC dc) {
             RECT r{2, 2, 4, 4};
             InvertRect(dc, &r);
         },
         {".......", ".......", "..##...", "..##...", ".......", "......."}},
        {"SetPixel",
         [](HDC dc) {
             SetPixel(dc, 0, 0, kBlue);
             SetPixel(dc, 6, 5, kGreen);
             SetPixel(dc, 7, 5, kRed); // outside: nothing
         },
         {"b......", ".......", ".......", ".......", ".......", "......g"}},
    };
    for (auto& cs : cases) {
        Canvas c(7, 6);
        cs.draw(c.dc());
        EXPECT_EQ(c.Picture(), cs.want) << cs.name;
    }
}

TEST_F(Gdi, EllipseStaysInsideItsBoxAndIsSymmetric) {
    Canvas c(12, 9);
    HBRUSH b = CreateSolidBrush(kRed);
    HGDIOBJ o = SelectObject(c.dc(), b);
    Ellipse(c.dc(), 1, 1, 11, 8);
    SelectObject(c.dc(), o);
    DeleteObject(b);
    auto pic = c.Picture();
    EXPECT_EQ(pic[0], std::string(12, '.'));
    EXPECT_EQ(pic[8], std::string(12, '.'));
    for (auto& row : pic) {
        EXPECT_EQ(row[0], '.');
        EXPECT_EQ(row[11], '.');
        for (int x = 1; x <= 10; ++x) EXPECT_EQ(row[std::size_t(x)], row[std::size_t(11 - x)]) << row;
    }
    EXPECT_EQ(pic[4][1], '#');
    EXPECT_EQ(pic[4][5], 'r');
}

TEST_F(Gdi, Rop2Modes) {
    struct Case {
        int rop;
        COLORREF pen, dst, want;
    } cases[] = {
        {R2_COPYPEN, kRed, kBlue, kRed},
        {R2_NOT, kRed, kBlue, RGB(255, 255, 0)},
        {R2_XORPEN, kRed, RGB(255, 255, 0), kGreen},
        {R2_MASKPEN, RGB(255, 255, 0), RGB(0, 255, 255), kGreen},
        {R2_MERGEPEN, kRed, kBlue, RGB(255, 0, 255)},
        {R2_NOTCOPYPEN, kRed, kBlue, RGB(0, 255, 255)},
        {R2_BLACK, kRed, kBlue, kBlack},
        {R2_WHITE, kRed, kBlue, kWhite},
        {R2_NOP, kRed, kBlue, kBlue},
    };
    for (auto& cs : cases) {
        Canvas c(3, 1, cs.dst);
        HPEN pen = CreatePen(PS_SOLID, 1, cs.pen);
        HGDIOBJ o = SelectObject(c.dc(), pen);
        SetROP2(c.dc(), cs.rop);
        MoveToEx(c.dc(), 0, 0, nullptr);
        LineTo(c.dc(), 2, 0);
        EXPECT_EQ(GetPixel(c.dc(), 0, 0), cs.want) << "rop2 " << cs.rop;
        EXPECT_EQ(GetPixel(c.dc(), 2, 0), cs.dst) << "rop2 " << cs.rop;
        SelectObject(c.dc(), o);
        DeleteObject(pen);
    }
    // An R2_NOT rubber band drawn twice leaves nothing.
    Canvas c(8, 8, kRed);
    SetROP2(c.dc(), R2_NOT);
    HGDIOBJ o = SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(c.dc(), 1, 1, 7, 7);
    EXPECT_NE(c.Picture(), Canvas(8, 8, kRed).Picture());
    Rectangle(c.dc(), 1, 1, 7, 7);
    SelectObject(c.dc(), o);
    EXPECT_EQ(c.Picture(), Canvas(8, 8, kRed).Picture());
}

TEST_F(Gdi, Rop3CodesOnPatternSourceAndDestination) {
    const COLORREF P = RGB(0xF0, 0xCC, 0xAA), S = RGB(0xCC, 0xAA, 0xF0), D = RGB(0xAA, 0xF0, 0xCC);
    auto rgb = [](COLORREF c) { return c & 0xFFFFFF; };
    struct Case {
        const char* name;
        DWORD rop;
        COLORREF want;
    } cases[] = {
        {"SRCCOPY", SRCCOPY, S},
        {"SRCAND", SRCAND, S & D},
        {"SRCPAINT", SRCPAINT, S | D},
        {"SRCINVERT", SRCINVERT, S ^ D},
        {"SRCERASE", SRCERASE, rgb(S & ~D)},
        {"NOTSRCCOPY", NOTSRCCOPY, rgb(~S)},
        {"NOTSRCERASE", NOTSRCERASE, rgb(~(S | D))},
        {"MERGECOPY", MERGECOPY, P & S},
        {"MERGEPAINT", MERGEPAINT, rgb(~S | D)},
        {"PATCOPY", PATCOPY, P},
        {"PATPAINT", PATPAINT, rgb(P | ~S | D)},
        {"PATINVERT", PATINVERT, P ^ D},
        {"DSTINVERT", DSTINVERT, rgb(~D)},
        {"BLACKNESS", BLACKNESS, 0},
        {"WHITENESS", WHITENESS, 0xFFFFFF},
        {"DSPDxax (0xE20746)", 0x00E20746, rgb((D & ~S) | (P & S))},
    };
    for (auto& cs : cases) {
        Canvas src(2, 2, S), dst(2, 2, D);
        HBRUSH b = CreateSolidBrush(P);
        HGDIOBJ o = SelectObject(dst.dc(), b);
        EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, cs.rop)) << cs.name;
        EXPECT_EQ(GetPixel(dst.dc(), 0, 0), cs.want) << cs.name;
        EXPECT_EQ(GetPixel(dst.dc(), 1, 1), D) << cs.name;
        SelectObject(dst.dc(), o);
        DeleteObject(b);
    }
}

TEST_F(Gdi, MonochromeAndColourConversionInBlits) {
    // A 4 x 1 monochrome bitmap: black, white, black, white.
    WORD bits[1] = {0x0050}; // first byte in memory: 0101 0000
    HBITMAP mono = CreateBitmap(4, 1, 1, 1, bits);
    ASSERT_TRUE(mono);
    BITMAP bm;
    GetObject(mono, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HDC mdc = CreateCompatibleDC(nullptr);
    HGDIOBJ om = SelectObject(mdc, mono);
    EXPECT_EQ(GetPixel(mdc, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(mdc, 1, 0), kWhite);

    // Mono to colour: 0 bits take the destination's text colour, 1 bits its background colour.
    Canvas c(4, 1, kGreen);
    SetTextColor(c.dc(), kRed);
    SetBkColor(c.dc(), kBlue);
    BitBlt(c.dc(), 0, 0, 4, 1, mdc, 0, 0, SRCCOPY);
    EXPECT_EQ(c.Picture(), (std::vector<std::string>{"rbrb"}));

    // Colour to mono: the source's background colour becomes white, everything else black.
    Canvas col(4, 1, kRed);
    SetPixel(col.dc(), 2, 0, kBlue);
    SetBkColor(col.dc(), kBlue);
    BitBlt(mdc, 0, 0, 4, 1, col.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(mdc, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(mdc, 2, 0), kWhite);

    // The glyph trick: SRCAND through a mono mask keeps the destination where the mask is white.
    Canvas g(4, 1, kRed);
    SetTextColor(g.dc(), kBlack);
    SetBkColor(g.dc(), kWhite);
    BitBlt(g.dc(), 0, 0, 4, 1, mdc, 0, 0, SRCAND);
    EXPECT_EQ(g.Picture(), (std::vector<std::string>{"##r#"}));

    // A memory DC starts with a 1 x 1 monochrome bitmap, so compatible bitmaps of it are mono.
    HDC fresh = CreateCompatibleDC(nullptr);
    HBITMAP cb = CreateCompatibleBitmap(fresh, 3, 3);
    GetObject(cb, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    // A bitmap goes into one memory DC at a time.
    EXPECT_EQ(SelectObject(fresh, mono), nullptr);
    DeleteObject(cb);
    DeleteDC(fresh);
    SelectObject(mdc, om);
    DeleteObject(mono);
    DeleteDC(mdc);
}

TEST_F(Gdi, StretchBltScalesAndMirrors) {
    Canvas src(2, 1);
    SetPixel(src.dc(), 0, 0, kRed);
    SetPixel(src.dc(), 1, 0, kBlue);
    Canvas dst(4, 2);
    StretchBlt(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.Picture(), (std::vector<std::string>{"rrbb", "rrbb"}));
    StretchBlt(dst.dc(), 4, 0, -4, 1, src.dc(), 0, 0, 2, 1, SRCCOPY); // a negative width mirrors
    EXPECT_EQ(dst.Picture()[0], "bbrr");
    Canvas shrink(1, 1);
    StretchBlt(shrink.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(shrink.Picture()[0], "r");
}

TEST_F(Gdi, PatternBrushesTileFromTheBrushOrigin) {
    WORD rows[8];
    for (int i = 0; i < 8; ++i) rows[i] = (i % 2) ? 0x0055 : 0x00AA; // a checker board
    HBITMAP pat = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH br = CreatePatternBrush(pat);
    Canvas c(4, 2, kGreen);
    SetTextColor(c.dc(), kRed);
    SetBkColor(c.dc(), kBlue);
    HGDIOBJ o = SelectObject(c.dc(), br);
    PatBlt(c.dc(), 0, 0, 4, 2, PATCOPY);
    EXPECT_EQ(c.Picture(), (std::vector<std::string>{"brbr", "rbrb"}));
    SetBrushOrgEx(c.dc(), 1, 0, nullptr);
    PatBlt(c.dc(), 0, 0, 4, 1, PATCOPY);
    EXPECT_EQ(c.Picture()[0], "rbrb");
    PatBlt(c.dc(), 0, 0, 4, 2, PATINVERT); // red ^ red = black, blue ^ red = magenta
    EXPECT_EQ(GetPixel(c.dc(), 0, 0), kBlack);
    SelectObject(c.dc(), o);
    DeleteObject(br);
    DeleteObject(pat);
}

// FillRect with a pattern or hatched brush, against the tiling worked out here pixel by pixel:
// a colour pattern of odd width from several brush origins, under a clip of two pieces, and a
// hatched brush opaque and transparent (which leaves the background where the hatch is off).
TEST_F(Gdi, PatternAndHatchedFillsTileExactlyUnderAClip) {
    // Three wide, two high: r g b / b . #
    const COLORREF pattern[2][3] = {{kRed, kGreen, kBlue}, {kBlue, kWhite, kBlack}};
    BYTE bits[2 * 10] = {}; // rows of nine bytes, each padded to a word
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            BYTE* p = bits + y * 10 + x * 3;
            p[0] = GetBValue(pattern[y][x]);
            p[1] = GetGValue(pattern[y][x]);
            p[2] = GetRValue(pattern[y][x]);
        }
    HBITMAP bmp = CreateBitmap(3, 2, 1, 24, bits);
    HBRUSH patternBrush = CreatePatternBrush(bmp);
    DeleteObject(bmp);
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, kRed);
    auto hatchOn = [](int x, int y) { return x == y || x == 7 - y; };
    const struct {
        const char* Name;
        HBRUSH Brush;
        POINT Origin;
        int BkMode;
    } cases[] = {
        {"pattern from 0,0", patternBrush, {0, 0}, OPAQUE},
        {"pattern from 2,1", patternBrush, {2, 1}, OPAQUE},
        {"pattern from 7,5", patternBrush, {7, 5}, OPAQUE},
        {"hatch opaque from 3,0", hatch, {3, 0}, OPAQUE},
        {"hatch transparent from 1,6", hatch, {1, 6}, TRANSPARENT},
    };
    const int w = 23, h = 9;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Canvas canvas(w, h, kGreen);
        HDC dc = canvas.dc();
        SetBkColor(dc, kBlue);
        SetBkMode(dc, c.BkMode);
        SetBrushOrgEx(dc, c.Origin.x, c.Origin.y, nullptr);
        IntersectClipRect(dc, 1, 1, 21, 8);
        ExcludeClipRect(dc, 6, 3, 11, 6);
        RECT r{-2, 0, 22, h};
        ASSERT_TRUE(FillRect(dc, &r, c.Brush));
        SelectClipRgn(dc, nullptr); // pixels outside the clip read back too
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool inside = x >= 1 && x < 21 && y >= 1 && y < 8 && !(x >= 6 && x < 11 && y >= 3 && y < 6);
                const int px = x - c.Origin.x, py = y - c.Origin.y;
                COLORREF want = kGreen;
                if (inside && c.Brush == patternBrush) want = pattern[((py % 2) + 2) % 2][((px % 3) + 3) % 3];
                else if (inside && hatchOn(((px % 8) + 8) % 8, ((py % 8) + 8) % 8)) want = kRed;
                else if (inside && c.BkMode == OPAQUE) want = kBlue;
                ASSERT_EQ(GetPixel(dc, x, y), want) << "at " << x << "," << y;
            }
    }
    DeleteObject(patternBrush);
    DeleteObject(hatch);
}

TEST_F(Gdi, FocusRectangleTwiceLeavesNothing) {
    Canvas c(6, 5, kRed);
    RECT r{0, 0, 6, 5};
    DrawFocusRect(c.dc(), &r);
    std::vector<std::string> once{"#r#r#r", "r????#", "#????r", "r????#", "#r#r#r"};
    auto pic = c.Picture();
    for (auto& row : pic)
        for (int i = 1; i < 5; ++i)
            if (&row != &pic.front() && &row != &pic.back()) row[std::size_t(i)] = '?';
    // Inverted red is cyan, which the picture shows as '?': compare the pattern of changes.
    for (std::size_t y = 0; y < pic.size(); ++y)
        for (std::size_t x = 0; x < pic[y].size(); ++x)
            if (once[y][x] != '?') {
                EXPECT_EQ(pic[y][x] == 'r', once[y][x] == 'r') << x << "," << y;
            }
    DrawFocusRect(c.dc(), &r);
    EXPECT_EQ(c.Picture(), Canvas(6, 5, kRed).Picture());
}

TEST_F(Gdi, EdgesAndFrames) {
    Canvas c(4, 4, kRed);
    RECT r{0, 0, 4, 4};
    Frame3D(c.dc(), &r, kWhite, kBlack, 1);
    EXPECT_EQ(c.Picture(), (std::vector<std::string>{"...#", ".rr#", ".rr#", "####"}));
    EXPECT_EQ(r, (RECT{1, 1, 3, 3}));
    Canvas e(4, 4, kRed);
    RECT q{0, 0, 4, 4};
    DrawEdge(e.dc(), &q, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    EXPECT_EQ(GetPixel(e.dc(), 0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(e.dc(), 3, 3), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(e.dc(), 3, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(q, (RECT{1, 1, 3, 3}));
}

TEST_F(Gdi, BadHandlesFailWithoutHarm) {
    HDC dc = GetDC(nullptr);
    ReleaseDC(nullptr, dc);
    EXPECT_FALSE(LineTo(dc, 5, 5));
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(CreateBitmap(0, 5, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 5, 5), nullptr);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 0, 0), nullptr);
    EXPECT_FALSE(BitBlt(screen, 0, 0, 5, 5, dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(std::uintptr_t(0x999))));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(GetStockObject(WHITE_BRUSH) != nullptr);
    ReleaseDC(nullptr, screen);
}

TEST_F(Gdi, HugeShapesAndWindowsStayWithinWhatIsStored) {
    HWND huge = Top(0, 0, 100000, 100000, WS_POPUP);
    RECT r;
    GetWindowRect(huge, &r);
    EXPECT_EQ(r.right, 100000); // the window is that big; only its pixels are bounded
    DestroyWindow(huge);
    // Work follows the drawing area, not the coordinates.
    HWND w = Top(0, 0, 200, 200);
    HDC dc = GetDC(w);
    RECT all{-1000000, -1000000, 1000000, 1000000};
    EXPECT_TRUE(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_TRUE(Ellipse(dc, -1000000, -1000000, 1000000, 1000000));
    POINT tri[] = {{-1000000, 0}, {1000000, 0}, {0, 1000000}};
    EXPECT_TRUE(Polygon(dc, tri, 3));
    EXPECT_TRUE(PatBlt(dc, 0, 0, 1000000, 1000000, DSTINVERT));
    EXPECT_FALSE(BitBlt(dc, 0, 0, 1000000, 1000000, dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(ScrollWindow(w, 0, 5, nullptr, nullptr));
    ReleaseDC(w, dc);
    EXPECT_EQ(CreateBitmap(100000, 100000, 1, 24, nullptr), nullptr);
}

class Screen : public WinTest {};

TEST_F(Screen, XorOnTheScreenCrossesWindowsAndComesBack) {
    HWND a = Top(10, 10, 60, 60);
    HWND b = Top(50, 30, 60, 60);
    Pump(); // both painted white (their class background)
    HDC s = GetDC(nullptr);
    COLORREF desk = GetSysColor(COLOR_BACKGROUND);
    EXPECT_EQ(GetPixel(s, 5, 5), desk);
    EXPECT_EQ(GetPixel(s, 20, 20), kWhite);
    // One outline over the desktop, a, and b where b covers a.
    SetROP2(s, R2_NOT);
    HGDIOBJ o = SelectObject(s, GetStockObject(NULL_BRUSH));
    Rectangle(s, 0, 0, 120, 100);
    Rectangle(s, 55, 35, 65, 45);
    EXPECT_EQ(GetPixel(s, 0, 0), ~desk & 0xFFFFFF);
    EXPECT_EQ(GetPixel(s, 55, 40), kBlack);
    HDC da = GetDC(a), db = GetDC(b);
    // b's window pixel at screen (55, 40) changed; a's pixel below it did not.
    EXPECT_EQ(GetPixel(db, 5, 10), kBlack);
    EXPECT_EQ(GetPixel(da, 45, 30), kWhite);
    Rectangle(s, 0, 0, 120, 100);
    Rectangle(s, 55, 35, 65, 45);
    SelectObject(s, o);
    for (POINT p : {POINT{0, 0}, POINT{55, 40}, POINT{119, 50}, POINT{10, 10}})
        EXPECT_EQ(GetPixel(s, p.x, p.y), p.x == 55 || p.x == 10 ? kWhite : desk) << p.x << "," << p.y;
    ReleaseDC(a, da);
    ReleaseDC(b, db);
    ReleaseDC(nullptr, s);
    auto shot = std::filesystem::temp_directory_path() / "win-screen-xor.png";
    EXPECT_TRUE(SaveScreenshot(shot.string()));
    EXPECT_GT(std::filesystem::file_size(shot), 100u);
}

TEST_F(Screen, BeginPaintClipsToTheUpdateRegion) {
    HWND w = Top(0, 0, 40, 40);
    Pump();
    Handlers()[w] = [](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all{0, 0, 40, 40};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(h, &ps);
        return true;
    };
    RECT r{5, 5, 10, 8};
    InvalidateRect(w, &r, FALSE);
    UpdateWindow(w);
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 5, 5), kBlack);
    EXPECT_EQ(GetPixel(dc, 9, 7), kBlack);
    EXPECT_EQ(GetPixel(dc, 10, 7), kWhite);
    EXPECT_EQ(GetPixel(dc, 4, 5), kWhite);
    ReleaseDC(w, dc);
}

TEST_F(Screen, ChildrenAndClipChildren) {
    HWND p = Top(0, 0, 60, 60, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND c = Child(p, 10, 10, 20, 20);
    Pump();
    HDC pd = GetDC(p);
    RECT all{0, 0, 60, 60};
    FillRect(pd, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetPixel(pd, 15, 15), kWhite); // the child is left alone
    ReleaseDC(p, pd);
    HDC cd = GetDC(c);
    RECT big{-10, -10, 100, 100};
    FillRect(cd, &big, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    ReleaseDC(c, cd);
    HDC s = GetDC(nullptr);
    EXPECT_EQ(GetPixel(s, 10, 10), RGB(128, 128, 128));
    EXPECT_EQ(GetPixel(s, 29, 29), RGB(128, 128, 128));
    EXPECT_EQ(GetPixel(s, 30, 30), kBlack); // the child's DC stops at its edge
    ReleaseDC(nullptr, s);
}

// A DC kept across changes draws where its window can be seen now: after a sibling shows over
// it, after it moves, and after its clip region is selected and dropped.
TEST_F(Screen, AKeptDcFollowsTheLayoutAndItsClip) {
    HWND p = Top(0, 0, 80, 80, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND c = Child(p, 0, 0, 30, 30, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    HWND sib = Child(p, 20, 0, 20, 20, WS_CHILD | WS_CLIPSIBLINGS);
    Pump();
    HDC dc = GetDC(c);
    HDC screen = GetDC(nullptr);
    RECT all{0, 0, 30, 30};
    auto fill = [&](COLORREF colour) {
        HBRUSH b = CreateSolidBrush(colour);
        FillRect(dc, &all, b);
        DeleteObject(b);
    };
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255), grey = RGB(128, 128, 128);
    fill(red);
    EXPECT_EQ(GetPixel(screen, 25, 5), red);
    ShowWindow(sib, SW_SHOWNA);
    fill(green);
    EXPECT_EQ(GetPixel(screen, 5, 5), green);
    EXPECT_NE(GetPixel(screen, 25, 5), green); // the sibling's now
    MoveWindow(c, 10, 40, 30, 30, FALSE);
    fill(blue);
    EXPECT_EQ(GetPixel(screen, 15, 45), blue);
    EXPECT_EQ(GetPixel(screen, 5, 5), green); // where it was
    HRGN corner = CreateRectRgn(0, 0, 5, 5);
    SelectClipRgn(dc, corner);
    fill(grey);
    EXPECT_EQ(GetPixel(screen, 12, 42), grey);
    EXPECT_EQ(GetPixel(screen, 17, 47), blue);
    SelectClipRgn(dc, nullptr);
    DeleteObject(corner);
    fill(red);
    EXPECT_EQ(GetPixel(screen, 17, 47), red);
    ReleaseDC(nullptr, screen);
    ReleaseDC(c, dc);
}

TEST_F(Screen, ScrollWindowMovesPixelsAndInvalidatesTheRest) {
    HWND w = Top(0, 0, 10, 10);
    Pump();
    HDC dc = GetDC(w);
    for (int y = 0; y < 10; ++y) SetPixel(dc, 3, y, RGB(y * 20, 0, 0));
    ReleaseDC(w, dc);
    ValidateRect(w, nullptr);
    ScrollWindow(w, 0, -2, nullptr, nullptr);
    dc = GetDC(w);
    for (int y = 0; y < 8; ++y) EXPECT_EQ(GetPixel(dc, 3, y), RGB((y + 2) * 20, 0, 0)) << y;
    ReleaseDC(w, dc);
    RECT u;
    EXPECT_TRUE(GetUpdateRect(w, &u, FALSE));
    EXPECT_EQ(u, (RECT{0, 8, 10, 10}));
}

TEST_F(Screen, ScreenshotsOfAWindowAndItsNonClientArea) {
    HWND w = Top(100, 100, 160, 120, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, "TRecorder",
                 "Scroll bars");
    SetScrollRange(w, SB_VERT, 0, 100, FALSE);
    SetScrollRange(w, SB_HORZ, 0, 10, FALSE);
    SetScrollPos(w, SB_VERT, 30, TRUE);
    Pump();
    HDC dc = GetDC(w);
    HGDIOBJ o = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Ellipse(dc, 10, 10, 60, 40);
    SelectObject(dc, o);
    ReleaseDC(w, dc);
    auto shot = std::filesystem::temp_directory_path() / "win-window.png";
    ASSERT_TRUE(SaveScreenshot(shot.string(), w));
    EXPECT_FALSE(SaveScreenshot(shot.string(), reinterpret_cast<HWND>(std::uintptr_t(0x55))));
    // The caption is drawn in the active caption colour.
    HDC wd = GetWindowDC(w);
    EXPECT_EQ(GetPixel(wd, 30, 8), GetSysColor(COLOR_ACTIVECAPTION));
    ReleaseDC(w, wd);
}

} // namespace

namespace {

TEST_F(Gdi, BlitsFarOutsideAnyDevice) {
    Canvas c(4, 2);
    // Nothing of these reaches the bitmap, and their extents must not overflow.
    EXPECT_TRUE(PatBlt(c.dc(), 2147483647, 0, 2, 2, BLACKNESS));
    EXPECT_TRUE(PatBlt(c.dc(), 0, -2147483647 - 1, 2, -2, BLACKNESS));
    EXPECT_TRUE(BitBlt(c.dc(), 2147483600, 2147483600, 100, 100, c.dc(), 0, 0, SRCINVERT));
    EXPECT_EQ(c.Picture(), (std::vector<std::string>{"....", "...."}));
    // A pattern fill from far left to far right still covers what is visible.
    EXPECT_TRUE(PatBlt(c.dc(), -2147483647, 1, 2147483647, 1, BLACKNESS));
    EXPECT_TRUE(PatBlt(c.dc(), 0, 1, 2147483647, 1, BLACKNESS));
    EXPECT_EQ(c.Picture(), (std::vector<std::string>{"....", "####"}));
}

} // namespace
