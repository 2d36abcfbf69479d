#include "libconfig/ConfigReport.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/WinRoot.h"
#include "testing/Shell.h"
#include "testing/UiTest.h"
#include "vcl/Printers.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

namespace libconfig {
namespace {

using namespace vcl;

using testing_support::Shell;

bool HavePoppler() { return !Shell("command -v pdfinfo pdftotext").empty(); }

// One word of a PDF page as pdftotext places it, in points from the sheet's top left.
struct TWord {
    int Page;
    double X1, Y1, X2;
    std::string Text;
};

std::vector<TWord> Words(const std::string& File) {
    std::string html = Shell("pdftotext -bbox '" + File + "' -");
    std::vector<TWord> out;
    std::regex page("<page "), word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]*)</word>");
    int pageNo = 0;
    std::size_t at = 0;
    while (at < html.size()) {
        std::size_t p = html.find("<page ", at), w = html.find("<word ", at);
        if (p == std::string::npos && w == std::string::npos) break;
        if (p < w) {
            ++pageNo;
            at = p + 1;
            continue;
        }
        std::smatch m;
        std::string rest = html.substr(w, html.find("</word>", w) + 7 - w);
        if (std::regex_match(rest, m, word)) out.push_back({pageNo, std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), m[4]});
        at = w + 1;
    }
    return out;
}

const TWord* Find(const std::vector<TWord>& Ws, int Page, const std::string& Text, int Nth = 0) {
    for (const TWord& w : Ws)
        if (w.Page == Page && w.Text == Text && Nth-- == 0) return &w;
    return nullptr;
}

class ConfigReportTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        delete SetPrinter(new TPrinter());
        std::filesystem::create_directories(rtl::HostPath("C:\\VORL"));
        std::ofstream(rtl::HostPath(StoreName), std::ios::binary)
            << "[Alias1]\r\nAlias=Default\r\nFilename=C:\\DELPHI\\BIN\\CMPLIB32.DCL\r\n"
               "Path=C:\\DELPHI\\LIB;C:\\DELPHI\\SOURCE\\VCL\r\nUnit Aliases=WinTypes=Windows;WinProcs=Windows\r\n"
               "MapFile=0\r\nSaveSource=1\r\nDebugInfo=0\r\nHints=1\r\nWarnings=0\r\n"
               "[Alias2]\r\nAlias=Database\r\nFilename=C:\\DB\\DBLIB.DCL\r\n"
               "Path=C:\\P1;C:\\P2;C:\\P3;C:\\P4;C:\\P5;\r\nUnit Aliases=\r\n"
               "MapFile=2\r\nSaveSource=0\r\nDebugInfo=1\r\nHints=0\r\nWarnings=1\r\n"
               "[Alias3]\r\nAlias=Bare\r\nFilename=C:\\BARE.DCL\r\nPath=\r\nUnit Aliases=Forms=QForms\r\n"
               "MapFile=3\r\nSaveSource=1\r\nDebugInfo=1\r\nHints=1\r\nWarnings=1\r\n";
        Store = std::make_unique<TAliasStore>(StoreName);
        Store->LoadAll();
    }
    void TearDown() override {
        delete SetPrinter(nullptr);
        Store.reset();
        UiTest::TearDown();
    }
    void UsePaper(short Paper) {
        win::DEVMODE dm;
        dm.dmFields = win::DM_PAPERSIZE;
        dm.dmPaperSize = Paper;
        Printer()->SetPrinter("PDF Printer", "PDF:", dm);
    }
    static std::vector<std::string> Files() {
        std::vector<std::string> out;
        std::error_code ec;
        for (auto& e : std::filesystem::directory_iterator(rtl::PrinterDir(), ec)) out.push_back(e.path().filename().string());
        return out;
    }
    static std::string PdfFile() { return rtl::PrinterDir() + "/Vorl Report 1.pdf"; }

    const std::string StoreName = "C:\\VORL\\VORL.ini";
    std::unique_ptr<TAliasStore> Store;
};

// A report that shows its layout to the test.
class TOpenReport : public TDelphiConfigReport {
public:
    using TBaseReport::BodyTop;
    using TBaseReport::FooterTop;
    using TBaseReport::LabelStep;
    using TBaseReport::ValueStep;
    int Font = 10;
    bool FailAfterBody = false;
    void BeginReport() override {
        FFontSize = Font;
        TDelphiConfigReport::BeginReport();
        if (FailAfterBody) throw std::runtime_error("disk gone");
    }
};

TEST(ConfigReportRounding, HalvesGoToTheEvenNeighbourInIntegers) {
    struct {
        long long Value, Num, Den;
        int Round, Trunc;
    } cases[] = {
        {4661, 1, 2, 2330, 2330},  // A4's printable width: 2330.5, an even centre
        {4663, 1, 2, 2332, 2331},  // 2331.5
        {90, 1, 20, 4, 4},          // 4.5: a float product lies a hair above or below
        {110, 1, 20, 6, 5},         // 5.5
        {600, 1, 80, 8, 7},         // 7.5
        {300, 1, 80, 4, 3},         // 3.75
        {13, 1, 20, 1, 0},          // 0.65
        {10, 1, 20, 0, 0},          // 0.5
        {600, 7000, 2000, 2100, 2100},
        {601, 5, 4, 751, 751},      // 751.25
        {-3, 1, 2, -2, -1},         // -1.5
        {-5, 1, 2, -2, -2},         // -2.5
        {-7, 1, 4, -2, -1},         // -1.75
        {0, 1, 2, 0, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto& c = cases[i];
        EXPECT_EQ(RoundRatio(c.Value, c.Num, c.Den), c.Round) << "case " << i;
        EXPECT_EQ(TruncRatio(c.Value, c.Num, c.Den), c.Trunc) << "case " << i;
    }
    EXPECT_EQ(MapFileText(2), "Public");
    EXPECT_EQ(MapFileText(7), "7");
}

TEST_F(ConfigReportTest, ThreeAliasesPrintThreePagesOnLetterAndA4) {
    struct {
        short Paper;
        const char* Size;
        int Centre;
    } papers[] = {{win::DMPAPER_LETTER, "612 x 792 pts (letter)", 2400}, {win::DMPAPER_A4, "595.276 x 841.89 pts (A4)", 2330}};
    for (auto& paper : papers) {
        SCOPED_TRACE(paper.Size);
        for (const std::string& f : Files()) std::filesystem::remove(rtl::PrinterDir() + "/" + f);
        UsePaper(paper.Paper);
        TOpenReport report;
        report.SetAliasStore(Store.get());
        report.PrintReport();
        EXPECT_FALSE(Printer()->Printing());
        EXPECT_EQ(report.PageNumber(), 3);
        EXPECT_EQ(report.HorzResolution(), 600);
        EXPECT_EQ(report.PageCentre(), paper.Centre);
        EXPECT_EQ(report.LeftMargin(), paper.Centre - 2100);
        EXPECT_EQ(report.LineEnd(), paper.Centre + 2100);
        ASSERT_EQ(Files(), std::vector<std::string>{"Vorl Report 1.pdf"});
        if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";

        std::string info = Shell("pdfinfo '" + PdfFile() + "' | tr -s ' '");
        EXPECT_NE(info.find("Pages: 3\n"), std::string::npos) << info;
        EXPECT_NE(info.find(std::string("Page size: ") + paper.Size), std::string::npos) << info;

        const std::vector<std::vector<std::string>> pages = {
            {"Vorl Report", "Alias:", "Default", "Library Name:", "C:\\DELPHI\\BIN\\CMPLIB32.DCL", "Search Path:",
             "C:\\DELPHI\\LIB", "C:\\DELPHI\\SOURCE\\VCL", "Unit Aliases:", "WinTypes=Windows", "WinProcs=Windows",
             "Map File:", "Off", "Save Source Code:", "Yes", "Compile with Debug Info:", "No", "Show Hints:", "Yes",
             "Show Warnings:", "No", "01 Jan 26 9:00 am", "Page 1"},
            {"Vorl Report", "Alias:", "Database", "Library Name:", "C:\\DB\\DBLIB.DCL", "Search Path:", "C:\\P1",
             "C:\\P2", "C:\\P3", "C:\\P4", "C:\\P5", "Unit Aliases:", "Map File:", "Public", "Save Source Code:", "No",
             "Compile with Debug Info:", "Yes", "Show Hints:", "No", "Show Warnings:", "Yes", "01 Jan 26 9:00 am", "Page 2"},
            {"Vorl Report", "Alias:", "Bare", "Library Name:", "C:\\BARE.DCL", "Search Path:", "Unit Aliases:",
             "Forms=QForms", "Map File:", "Detailed", "Save Source Code:", "Yes", "Compile with Debug Info:", "Yes",
             "Show Hints:", "Yes", "Show Warnings:", "Yes", "01 Jan 26 9:00 am", "Page 3"},
        };
        for (std::size_t p = 0; p < pages.size(); ++p) {
            std::string n = std::to_string(p + 1);
            std::string text = Shell("pdftotext -raw -f " + n + " -l " + n + " '" + PdfFile() + "' -");
            std::size_t at = 0;
            for (const std::string& piece : pages[p]) {
                std::size_t next = text.find(piece, at);
                ASSERT_NE(next, std::string::npos) << "page " << n << ": " << piece << " after " << at << " in\n" << text;
                at = next + piece.size();
            }
        }

        // Where things stand, in points on the sheet: a printer pixel is 72/600 of a point, and the
        // printable area starts a quarter inch in.
        auto pt = [](int Px) { return (Px + 150) * 72.0 / 600; };
        std::vector<TWord> ws = Words(PdfFile());
        for (int page = 1; page <= 3; ++page) {
            SCOPED_TRACE(page);
            const TWord* title = Find(ws, page, "Vorl");
            const TWord* report2 = Find(ws, page, "Report");
            ASSERT_TRUE(title && report2);
            EXPECT_NEAR((title->X1 + report2->X2) / 2, pt(report.PageCentre()), 0.5);
            const TWord* alias = Find(ws, page, "Alias:");
            ASSERT_TRUE(alias);
            EXPECT_NEAR(alias->X1, pt(report.LeftMargin()), 0.3);
            const TWord* pageWord = Find(ws, page, "Page");
            const TWord* number = Find(ws, page, std::to_string(page));
            ASSERT_TRUE(pageWord && number);
            EXPECT_NEAR(pageWord->Y1, Find(ws, page, "Jan")->Y1, 0.01);
            // Two blanks (of 2.5 points each) short of the line's end.
            EXPECT_NEAR(pt(report.LineEnd()) - number->X2, 5.0, 0.4);
        }
        // Page 2: five entries one value step apart, the next label one label step below the last.
        double value = report.ValueStep() * 72.0 / 600, label = report.LabelStep() * 72.0 / 600;
        const TWord* first = Find(ws, 2, "C:\\P1");
        ASSERT_TRUE(first);
        EXPECT_NEAR(first->Y1, Find(ws, 2, "Search")->Y1, 0.01);
        EXPECT_NEAR(first->X1, pt(report.LeftMargin() + 1200), 0.3);
        for (int i = 2; i <= 5; ++i)
            EXPECT_NEAR(Find(ws, 2, "C:\\P" + std::to_string(i))->Y1 - first->Y1, (i - 1) * value, 0.2) << i;
        EXPECT_NEAR(Find(ws, 2, "Unit")->Y1 - Find(ws, 2, "C:\\P5")->Y1, label, 0.2);
        // Page 3: an empty search path takes one label step.
        EXPECT_NEAR(Find(ws, 3, "Unit")->Y1 - Find(ws, 3, "Search")->Y1, label, 0.2);
    }
    Shell("pdftoppm -r 50 -f 2 -l 2 -png '" + PdfFile() + "' /tmp/libconfig-report-page");
}

TEST_F(ConfigReportTest, AReportCutShortIsDroppedAndTheErrorReachesTheCaller) {
    // A font too tall for even one alias below the title: nothing filed, the alias named.
    TOpenReport tall;
    tall.Font = 1000;
    tall.SetAliasStore(Store.get());
    try {
        tall.PrintReport();
        ADD_FAILURE() << "no error";
    } catch (const EReportError& e) {
        EXPECT_STREQ(e.what(), "The page is too small to print library alias 'Default'");
    }
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_TRUE(Printer()->Aborted());

    TOpenReport failing;
    failing.FailAfterBody = true;
    failing.SetAliasStore(Store.get());
    EXPECT_THROW(failing.PrintReport(), std::runtime_error);
    EXPECT_TRUE(Printer()->Aborted());

    TDelphiConfigReport storeless;
    EXPECT_THROW(storeless.PrintReport(), EReportError);
    EXPECT_TRUE(Files().empty());

    // The printer is ready for the next report, and an empty store prints its one framed page.
    std::ofstream(rtl::HostPath(StoreName), std::ios::trunc);
    TDelphiConfigReport empty;
    empty.SetAliasStore(Store.get());
    empty.PrintReport();
    EXPECT_FALSE(Printer()->Aborted());
    ASSERT_EQ(Files(), std::vector<std::string>{"Vorl Report 1.pdf"});
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    std::string text = Shell("pdftotext -raw '" + PdfFile() + "' -");
    EXPECT_NE(text.find("Vorl Report"), std::string::npos) << text;
    EXPECT_NE(text.find("Page 1"), std::string::npos) << text;
    EXPECT_EQ(text.find("Alias:"), std::string::npos) << text;
}

} // namespace
} // namespace libconfig
