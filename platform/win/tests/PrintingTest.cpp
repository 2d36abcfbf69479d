#include "win/Printing.h"

#include "rtl/Files.h"
#include "rtl/WinRoot.h"
#include "testing/Shell.h"
#include "testing/TempWinRoot.h"
#include "win/TestHooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace win;

namespace {

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowSystem(); }
    void TearDown() override { ResetWindowSystem(); }

    static HDC Printer(short paper = DMPAPER_LETTER, short orientation = DMORIENT_PORTRAIT) {
        DEVMODE dm;
        dm.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
        dm.dmPaperSize = paper;
        dm.dmOrientation = orientation;
        return CreateDC("WINSPOOL", "PDF Printer", nullptr, &dm);
    }

    std::vector<std::string> PrinterFiles() const {
        std::vector<std::string> out;
        std::error_code ec;
        for (auto& e : std::filesystem::directory_iterator(rtl::PrinterDir(), ec)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    testing_support::TempWinRoot Root;
};

using testing_support::Shell;

bool Have(const char* tool) { return !Shell(std::string("command -v ") + tool).empty(); }

void Draw(HDC dc, const char* text, int y) {
    HFONT font = CreateFont(-83, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 600, y, text, int(std::strlen(text)));
    SelectObject(dc, old);
    DeleteObject(font);
}

} // namespace

TEST_F(PrintingTest, PaperAndOrientationGiveThePageGeometry) {
    struct Case {
        short paper, orientation;
        int width, height; // the sheet at 600 dpi
    } cases[] = {
        {DMPAPER_LETTER, DMORIENT_PORTRAIT, 5100, 6600},
        {DMPAPER_LETTER, DMORIENT_LANDSCAPE, 6600, 5100},
        {DMPAPER_A4, DMORIENT_PORTRAIT, 4961, 7016},
        {DMPAPER_A4, DMORIENT_LANDSCAPE, 7016, 4961},
        {DMPAPER_LEGAL, DMORIENT_PORTRAIT, 5100, 8400},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        HDC dc = Printer(c.paper, c.orientation);
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600) << i;
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 600) << i;
        EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), c.width) << i;
        EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), c.height) << i;
        int ox = GetDeviceCaps(dc, PHYSICALOFFSETX), oy = GetDeviceCaps(dc, PHYSICALOFFSETY);
        EXPECT_GT(ox, 0) << i;
        EXPECT_EQ(GetDeviceCaps(dc, HORZRES), c.width - 2 * ox) << i;
        EXPECT_EQ(GetDeviceCaps(dc, VERTRES), c.height - 2 * oy) << i;
        EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER) << i;
        RECT clip;
        GetClipBox(dc, &clip);
        EXPECT_EQ(clip.right, GetDeviceCaps(dc, HORZRES)) << i;
        EXPECT_TRUE(DeleteDC(dc)) << i;
    }
    EXPECT_EQ(CreateDC("WINSPOOL", "No Such Printer", nullptr, nullptr), nullptr);
}

TEST_F(PrintingTest, ThePrinterListAndItsPapers) {
    DWORD needed = 0, returned = 0;
    EXPECT_FALSE(EnumPrinters(PRINTER_ENUM_LOCAL, nullptr, 5, nullptr, 0, &needed, &returned));
    std::vector<BYTE> buf(needed);
    ASSERT_TRUE(EnumPrinters(PRINTER_ENUM_LOCAL, nullptr, 5, buf.data(), needed, &needed, &returned));
    ASSERT_EQ(returned, 1u);
    auto* info = reinterpret_cast<PRINTER_INFO_5*>(buf.data());
    EXPECT_STREQ(info[0].pPrinterName, "PDF Printer");
    EXPECT_TRUE(info[0].Attributes & PRINTER_ATTRIBUTE_DEFAULT);
    char name[64];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetDefaultPrinter(name, &size));
    EXPECT_STREQ(name, "PDF Printer");

    int n = DeviceCapabilities("PDF Printer", "PDF:", DC_PAPERS, nullptr, nullptr);
    ASSERT_GE(n, 2);
    std::vector<WORD> papers(static_cast<std::size_t>(n));
    std::vector<char> names(std::size_t(n) * 64);
    DeviceCapabilities("PDF Printer", "PDF:", DC_PAPERS, papers.data(), nullptr);
    DeviceCapabilities("PDF Printer", "PDF:", DC_PAPERNAMES, names.data(), nullptr);
    EXPECT_NE(std::find(papers.begin(), papers.end(), WORD(DMPAPER_A4)), papers.end());
    EXPECT_STREQ(names.data(), "Letter 8 1/2 x 11 in");
    EXPECT_EQ(DeviceCapabilities("Nothing", "", DC_PAPERS, nullptr, nullptr), -1);

    // Settings not given take the defaults; a paper the printer lacks falls back to Letter.
    DEVMODE in, out;
    in.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    in.dmOrientation = DMORIENT_LANDSCAPE;
    in.dmPaperSize = 999;
    EXPECT_EQ(DocumentProperties(nullptr, nullptr, "PDF Printer", &out, &in, DM_OUT_BUFFER | DM_IN_BUFFER), 1);
    EXPECT_EQ(out.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(out.dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(out.dmPaperWidth, 2159);
    EXPECT_STREQ(out.dmDeviceName, "PDF Printer");
}

TEST_F(PrintingTest, AJobOfTwoPagesWritesAPdfWithSelectableText) {
    HDC dc = Printer(DMPAPER_A4, DMORIENT_PORTRAIT);
    DOCINFO di;
    di.lpszDocName = "Quarterly: report";
    ASSERT_GT(StartDoc(dc, &di), 0);
    for (int page = 1; page <= 2; ++page) {
        ASSERT_GT(StartPage(dc), 0);
        HPEN pen = CreatePen(PS_SOLID, 15, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, 300, 600, nullptr);
        LineTo(dc, 4500, 600);
        SelectObject(dc, old);
        DeleteObject(pen);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 300, 5000, 4500, 6500);
        Draw(dc, page == 1 ? "First page alpha" : "Second page omega", 1000);
        Draw(dc, "caf\xE9 costs \x80" "5", 1200);
        ASSERT_GT(EndPage(dc), 0);
    }
    // Nothing lands before the job ends.
    EXPECT_TRUE(PrinterFiles().empty());
    ASSERT_GT(EndDoc(dc), 0);
    ASSERT_EQ(PrinterFiles(), std::vector<std::string>{"Quarterly_ report 1.pdf"});
    std::string file = rtl::PrinterDir() + "/Quarterly_ report 1.pdf";

    // The same title again takes the next number and keeps the first file.
    ASSERT_GT(StartDoc(dc, &di), 0);
    StartPage(dc);
    Draw(dc, "Again", 1000);
    EndDoc(dc); // ends the open page too
    EXPECT_EQ(PrinterFiles().size(), 2u);
    DeleteDC(dc);

    if (!Have("pdfinfo") || !Have("pdftotext")) GTEST_SKIP() << "poppler-utils are not installed";
    std::string info = Shell("pdfinfo '" + file + "' | tr -s ' '");
    EXPECT_NE(info.find("Pages: 2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size: 595.276 x 841.89 pts (A4)"), std::string::npos) << info;
    EXPECT_NE(info.find("Quarterly: report"), std::string::npos) << info;
    std::string text = Shell("pdftotext -enc UTF-8 '" + file + "' -");
    std::size_t a = text.find("First page alpha"), b = text.find("caf\xC3\xA9 costs \xE2\x82\xAC" "5"),
                c = text.find("Second page omega");
    EXPECT_NE(a, std::string::npos) << text;
    EXPECT_NE(b, std::string::npos) << text;
    EXPECT_NE(c, std::string::npos) << text;
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    if (Have("pdftoppm")) Shell("pdftoppm -r 50 -f 1 -l 1 -png '" + file + "' /tmp/win-printing-page");
}

TEST_F(PrintingTest, AnAbandonedJobLeavesNoFile) {
    HDC dc = Printer();
    DOCINFO di;
    di.lpszDocName = "Dropped";
    // Out of order: no page without a job, no second job at once.
    EXPECT_EQ(StartPage(dc), SP_ERROR);
    EXPECT_EQ(EndDoc(dc), SP_ERROR);
    ASSERT_GT(StartDoc(dc, &di), 0);
    EXPECT_EQ(StartDoc(dc, &di), SP_ERROR);
    EXPECT_EQ(EndPage(dc), SP_ERROR);
    StartPage(dc);
    Draw(dc, "never printed", 600);
    EXPECT_GT(AbortDoc(dc), 0);
    EXPECT_EQ(AbortDoc(dc), SP_ERROR);
    // Freeing the DC in the middle of a job drops it too, and a job without pages writes nothing.
    ASSERT_GT(StartDoc(dc, &di), 0);
    StartPage(dc);
    Draw(dc, "never printed", 600);
    EXPECT_TRUE(DeleteDC(dc));
    dc = Printer();
    ASSERT_GT(StartDoc(dc, &di), 0);
    EXPECT_GT(EndDoc(dc), 0);
    DeleteDC(dc);
    EXPECT_TRUE(PrinterFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(rtl::PrinterDir()) && !std::filesystem::is_empty(rtl::PrinterDir()));
}

TEST_F(PrintingTest, FontsScaleToTheDevicesResolution) {
    // A 10-point face measures 600/96 times its screen size, within the rounding of the screen's
    // whole-pixel advances.
    HDC screen = GetDC(nullptr), dc = Printer();
    const char* text = "Library Name: C:\\DELPHI\\LIB\\CMPLIB32.DCL";
    SIZE small{}, large{};
    for (auto [target, size] : {std::pair<HDC, SIZE*>{screen, &small}, {dc, &large}}) {
        int ppi = GetDeviceCaps(target, LOGPIXELSY);
        HFONT f = CreateFont(-(10 * ppi + 36) / 72, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Times New Roman");
        HGDIOBJ old = SelectObject(target, f);
        GetTextExtentPoint32(target, text, int(std::strlen(text)), size);
        TEXTMETRIC tm;
        GetTextMetrics(target, &tm);
        EXPECT_EQ(tm.tmDigitizedAspectY, ppi);
        SelectObject(target, old);
        DeleteObject(f);
    }
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(large.cx, small.cx * 600.0 / 96, small.cx * 600.0 / 96 * 0.1);
    EXPECT_NEAR(large.cy, small.cy * 600.0 / 96, small.cy * 600.0 / 96 * 0.06);
    DeleteDC(dc);
}

TEST_F(PrintingTest, DevicePixelsLandOnTheSheetAtTheirPlace) {
    if (!Have("pdftoppm")) GTEST_SKIP() << "poppler-utils are not installed";
    HDC dc = Printer();
    DOCINFO di;
    di.lpszDocName = "Pixels";
    StartDoc(dc, &di);
    StartPage(dc);
    // Device (0, 0) is the corner of the printable area, PHYSICALOFFSET pixels into the sheet.
    int off = GetDeviceCaps(dc, PHYSICALOFFSETX);
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 1000, 1000, 1101, 1101); // without a pen: 1000 to 1099
    RECT r{1200, 1000, 1210, 1010};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // A one-pixel line covers its row; a wide pen lies centred on it.
    SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, 1300, 1005, nullptr);
    LineTo(dc, 1400, 1005);
    HPEN wide = CreatePen(PS_SOLID, 15, 0);
    SelectObject(dc, wide);
    MoveToEx(dc, 1300, 1020, nullptr);
    LineTo(dc, 1400, 1020);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(wide);
    EndDoc(dc);
    DeleteDC(dc);
    std::string file = rtl::PrinterDir() + "/Pixels 1.pdf";
    int x0 = off + 990, y0 = off + 990;
    std::string pgm = Shell("pdftoppm -r 600 -gray -aa no -aaVector no -x " + std::to_string(x0) + " -y " +
                            std::to_string(y0) + " -W 440 -H 40 '" + file + "'");
    // "P5\n440 40\n255\n", then one byte a pixel.
    ASSERT_GT(pgm.size(), 440u * 40u);
    const unsigned char* px = reinterpret_cast<const unsigned char*>(pgm.data() + pgm.size() - 440 * 40);
    auto at = [&](int x, int y) { return px[(y - y0) * 440 + (x - x0)] < 128; }; // true: ink
    struct Case {
        int x, y;
        bool ink;
    } cases[] = {
        {999, 1005, false}, {1000, 1005, true}, {1099, 1005, true}, {1100, 1005, false},
        {1005, 999, false}, {1005, 1000, true}, {1199, 1005, false}, {1200, 1005, true},
        {1209, 1009, true}, {1210, 1005, false}, {1205, 1010, false},
        {1350, 1004, false}, {1350, 1005, true}, {1350, 1006, false},
        {1350, 1012, false}, {1350, 1013, true}, {1350, 1027, true}, {1350, 1028, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(at(off + c.x, off + c.y), c.ink) << "device " << c.x << ", " << c.y;
}
