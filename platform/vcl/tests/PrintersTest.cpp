#include "testing/Shell.h"
#include "testing/UiTest.h"

#include "vcl/ListCtrls.h"
#include "vcl/PrintDialogs.h"
#include "vcl/Printers.h"

#include "rtl/Files.h"
#include "rtl/WinRoot.h"
#include "rtl/TestHooks.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;

namespace {

class PrinterTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        delete SetPrinter(new TPrinter());
    }
    void TearDown() override {
        delete SetPrinter(nullptr);
        UiTest::TearDown();
    }

    static std::vector<std::string> Files() {
        std::vector<std::string> out;
        std::error_code ec;
        for (auto& e : std::filesystem::directory_iterator(rtl::PrinterDir(), ec)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

using testing_support::Shell;

bool HavePoppler() { return !Shell("command -v pdfinfo pdftotext").empty(); }

std::string PdfInfo(const std::string& file) { return Shell("pdfinfo '" + rtl::PrinterDir() + "/" + file + "' | tr -s ' '"); }

// A page as a report draws it: rules with a wide pen, a title in bold, labelled lines.
void DrawPage(TPrinter* p, const std::string& value) {
    TCanvas* c = p->Canvas();
    int dpi = win::GetDeviceCaps(p->Handle(), win::LOGPIXELSX);
    int centre = p->PageWidth() / 2, left = centre - int(3.5 * dpi);
    c->Pen()->SetWidth(dpi / 40);
    c->MoveTo(left, dpi);
    c->LineTo(left + 7 * dpi, dpi);
    c->Pen()->SetWidth(dpi / 80);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Rectangle(left, p->PageHeight() - 2 * dpi, left + 7 * dpi, p->PageHeight() - dpi);
    c->Font()->SetName("Times New Roman");
    c->Font()->SetPixelsPerInch(win::GetDeviceCaps(p->Handle(), win::LOGPIXELSY));
    c->Font()->SetSize(12);
    c->Font()->SetStyle(fsBold);
    c->TextOut(centre - c->TextWidth("Vorl Report") / 2, dpi / 4, "Vorl Report");
    c->Font()->SetSize(10);
    c->TextOut(left, dpi * 5 / 4, "Alias:");
    c->TextOut(left + 2 * dpi, dpi * 5 / 4, value);
    c->Font()->SetStyle(0);
    c->TextOut(left, p->PageHeight() - dpi / 2, "Page " + std::to_string(p->PageNumber()));
}

} // namespace

TEST_F(PrinterTest, AJobPrintsItsPagesIntoOnePdf) {
    TPrinter* p = Printer();
    ASSERT_EQ(p->Printers()->Count(), 1);
    EXPECT_EQ(p->Printers()->Strings(0), "PDF Printer on PDF:");
    EXPECT_EQ(p->PrinterIndex(), 0);
    EXPECT_EQ(p->Orientation(), TPrinterOrientation::poPortrait);
    // Letter at 600 dpi, a quarter inch out of reach on each side.
    EXPECT_EQ(p->PageWidth(), 4800);
    EXPECT_EQ(p->PageHeight(), 6300);
    EXPECT_FALSE(p->Printing());
    EXPECT_THROW(p->EndDoc(), EPrinter);
    EXPECT_THROW(p->NewPage(), EPrinter);

    p->SetTitle("Vorl Report");
    p->BeginDoc();
    EXPECT_TRUE(p->Printing());
    EXPECT_EQ(p->PageNumber(), 1);
    EXPECT_THROW(p->BeginDoc(), EPrinter);
    EXPECT_THROW(p->SetOrientation(TPrinterOrientation::poLandscape), EPrinter);
    DrawPage(p, "Delphi 2.0 default");
    // The canvas's font measures in printer pixels: 10 points is 83 pixels high.
    EXPECT_EQ(p->Canvas()->Font()->Height(), -83);
    EXPECT_GT(p->Canvas()->TextHeight("Alias:"), 83);
    p->NewPage();
    EXPECT_EQ(p->PageNumber(), 2);
    DrawPage(p, "Project with DB");
    p->EndDoc();
    EXPECT_FALSE(p->Printing());
    EXPECT_FALSE(p->Aborted());
    EXPECT_EQ(p->PageNumber(), 0);
    ASSERT_EQ(Files(), std::vector<std::string>{"Vorl Report 1.pdf"});

    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    std::string info = PdfInfo("Vorl Report 1.pdf");
    EXPECT_NE(info.find("Pages: 2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size: 612 x 792 pts (letter)"), std::string::npos) << info;
    std::string file = rtl::PrinterDir() + "/Vorl Report 1.pdf";
    std::string text = Shell("pdftotext -layout '" + file + "' -");
    std::size_t at = 0;
    for (const char* word : {"Vorl Report", "Alias:", "Delphi 2.0 default", "Page 1", "Vorl Report", "Project with DB", "Page 2"}) {
        std::size_t next = text.find(word, at);
        ASSERT_NE(next, std::string::npos) << word << " after " << at << " in\n" << text;
        at = next + 1;
    }
    Shell("pdftoppm -r 60 -f 1 -l 1 -png '" + file + "' /tmp/vcl-printer-page");
    Shell("pdftoppm -r 300 -f 1 -l 1 -x 0 -y 0 -W 1400 -H 500 -png '" + file + "' /tmp/vcl-printer-detail");
}

TEST_F(PrinterTest, AnAbortedJobOrOneCutShortByAnErrorLeavesNoFile) {
    TPrinter* p = Printer();
    p->SetTitle("Dropped");
    p->BeginDoc();
    DrawPage(p, "never");
    p->Abort();
    EXPECT_TRUE(p->Aborted());
    EXPECT_FALSE(p->Printing());

    // EndDoc from a handler that passes the error on, and from a guard while unwinding.
    EXPECT_THROW(
        {
            p->BeginDoc();
            try {
                DrawPage(p, "half");
                throw std::runtime_error("the store failed");
            } catch (...) {
                p->EndDoc();
                throw;
            }
        },
        std::runtime_error);
    EXPECT_TRUE(p->Aborted());
    struct TEnd {
        TPrinter* P;
        ~TEnd() { P->EndDoc(); }
    };
    EXPECT_THROW(
        {
            p->BeginDoc();
            TEnd end{p};
            DrawPage(p, "half");
            throw std::runtime_error("the store failed");
        },
        std::runtime_error);
    EXPECT_TRUE(p->Aborted());
    EXPECT_FALSE(p->Printing());
    EXPECT_TRUE(Files().empty());

    // A full disk: EndDoc reports it and the job is gone, half a file nowhere.
    rtl::SetWriteFailureHook([](std::string_view) { return 28; });
    p->BeginDoc();
    DrawPage(p, "lost");
    EXPECT_THROW(p->EndDoc(), rtl::Exception);
    rtl::SetWriteFailureHook({});
    EXPECT_FALSE(p->Printing());
    EXPECT_TRUE(Files().empty());

    // The printer is ready for the next job.
    p->BeginDoc();
    DrawPage(p, "whole");
    p->EndDoc();
    EXPECT_EQ(Files(), std::vector<std::string>{"Dropped 1.pdf"});
}

TEST_F(PrinterTest, PrinterSetupChangesTheNextJobsPaperAndOrientation) {
    TPrinterSetupDialog dialog(Application);
    TRobot robot;
    // Cancel keeps what was there.
    robot.Click(TBy::Name("LandscapeButton"));
    robot.AnswerNextModal(TBy::Name("Cancel"));
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(Printer()->Orientation(), TPrinterOrientation::poPortrait);

    std::string paper;
    robot.Click(TBy::Name("PaperBox"));
    robot.Key(win::VK_DOWN);
    robot.Key(win::VK_DOWN);
    robot.Key(win::VK_RETURN);
    robot.Click(TBy::Name("LandscapeButton"));
    robot.OnNextModal([&](win::HWND) {});
    robot.Do([&] {
        auto* box = dynamic_cast<TComboBox*>(FindControl(TRobot::FindControl(TBy::Name("PaperBox"))));
        if (box && box->ItemIndex() >= 0) paper = box->Items()->Strings(box->ItemIndex());
        TRobot::Screenshot("/tmp/vcl-print-setup.png", TRobot::ModalWindow());
    });
    robot.Click(TBy::Name("OK"));
    EXPECT_TRUE(dialog.Execute());
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(paper, "A4 210 x 297 mm");

    EXPECT_EQ(Printer()->Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(Printer()->PageWidth(), 7016 - 300);
    EXPECT_EQ(Printer()->PageHeight(), 4961 - 300);
    Printer()->SetTitle("Setup");
    Printer()->BeginDoc();
    DrawPage(Printer(), "lying");
    Printer()->EndDoc();
    ASSERT_EQ(Files(), std::vector<std::string>{"Setup 1.pdf"});
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    std::string info = PdfInfo("Setup 1.pdf");
    EXPECT_NE(info.find("Page size: 841.89 x 595.276 pts (A4)"), std::string::npos) << info;
}
