// The configuration report on the printer.
#include "libconfig/ConfigReport.h"

#include "rtl/IniFiles.h"
#include "rtl/ScopeGuards.h"
#include "rtl/SysUtils.h"
#include "vcl/Printers.h"

#include <cmath>

namespace libconfig {

using namespace vcl;

namespace {

long long FloorDiv(long long A, long long B) {
    long long q = A / B;
    return (A % B != 0 && ((A < 0) != (B < 0))) ? q - 1 : q;
}

} // namespace

int RoundRatio(long long Value, long long Num, long long Den) {
    // In integers, so that a half is a half on every resolution; halves go to the even neighbour.
    const long long product = Value * Num;
    const long long q = FloorDiv(product, Den), twiceRest = 2 * (product - q * Den);
    if (twiceRest > Den || (twiceRest == Den && q % 2 != 0)) return int(q + 1);
    return int(q);
}

int TruncRatio(long long Value, long long Num, long long Den) { return int(Value * Num / Den); }

std::string MapFileText(int Level) {
    switch (Level) {
    case 0: return "Off";
    case 1: return "Segments";
    case 2: return "Public";
    case 3: return "Detailed";
    default: return std::to_string(Level);
    }
}

// --- TBaseReport -------------------------------------------------------------------------------

TBaseReport::TBaseReport() = default;
TBaseReport::~TBaseReport() = default;

TCanvas* TBaseReport::Canvas() const { return Printer()->Canvas(); }
int TBaseReport::PageWidth() const { return Printer()->PageWidth(); }
int TBaseReport::PageHeight() const { return Printer()->PageHeight(); }

long long TBaseReport::LineMils() const { return std::llround(FLineLength * 1000); }
int TBaseReport::LineEnd() const { return FLeftMargin + TruncRatio(FHorzResolution, LineMils(), 1000); }

void TBaseReport::PrintReport() {
    TPrinter* printer = Printer();
    printer->SetTitle("Vorl Report");
    printer->BeginDoc();
    rtl::TScopeExit drop([printer] {
        // A report cut short is dropped, never filed as if it were whole.
        if (printer->Printing()) printer->Abort();
    });
    BeginReport();
    drop.Dismiss();
    printer->EndDoc();
}

void TBaseReport::BeginReport() {
    FPageNumber = 1;
    FReportTime = rtl::Now();
    win::HDC dc = Printer()->Handle();
    FHorzResolution = win::GetDeviceCaps(dc, win::LOGPIXELSX);
    FVertResolution = win::GetDeviceCaps(dc, win::LOGPIXELSY);
    if (FHorzResolution <= 0 || FVertResolution <= 0) throw EReportError("The printer reports no resolution");
    FPageCentre = RoundRatio(PageWidth(), 1, 2);
    FLeftMargin = FPageCentre - RoundRatio(FHorzResolution, LineMils(), 2000);
    Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas()->Font()->SetName(FFontName);
    SetFontSize(FFontSize);
}

void TBaseReport::SetFontSize(int Points) {
    TFont* font = Canvas()->Font();
    font->SetPixelsPerInch(FVertResolution);
    font->SetSize(Points);
}

int TBaseReport::LineHeight() {
    // The extent's height is the font's cell height from its metrics, whatever the text.
    Canvas()->TextHeight("Ag");
    win::TEXTMETRIC tm;
    win::GetTextMetrics(Canvas()->Handle(), &tm);
    return int(tm.tmHeight);
}

int TBaseReport::ValueStep() {
    int lh = LineHeight();
    return lh + RoundRatio(lh, 1, 20);
}

int TBaseReport::LabelStep() {
    int lh = LineHeight();
    return 2 * lh + RoundRatio(lh, 1, 20);
}

int TBaseReport::BodyTop() const { return TruncRatio(FVertResolution, 5, 4) + RoundRatio(FVertResolution, 1, 10); }
int TBaseReport::FooterTop() const { return PageHeight() - RoundRatio(FVertResolution, 1, 2); }

bool TBaseReport::PageFull() { return LineHeight() + FY >= PageHeight() - FVertResolution; }

void TBaseReport::PrintRules() {
    TCanvas* c = Canvas();
    c->Pen()->SetWidth(RoundRatio(FHorzResolution, 1, 40));
    int top = FVertResolution, bottom = PageHeight() - FVertResolution;
    c->MoveTo(FLeftMargin, top);
    c->LineTo(LineEnd(), top);
    c->MoveTo(FLeftMargin, bottom);
    c->LineTo(LineEnd(), bottom);
    c->Pen()->SetWidth(RoundRatio(FHorzResolution, 1, 80));
}

void TBaseReport::PrintTitle() {
    TCanvas* c = Canvas();
    FY = TruncRatio(FVertResolution, 1, 4);
    c->Font()->SetStyle(fsBold);
    int size = c->Font()->Size();
    SetFontSize(12);
    FY += ValueStep();
    const std::string title = "Vorl Report";
    c->TextOut(FPageCentre - RoundRatio(c->TextWidth(title), 1, 2), FY, title);
    c->Font()->SetStyle(0);
    SetFontSize(size);
}

void TBaseReport::PrintFooter() {
    TCanvas* c = Canvas();
    int top = FooterTop();
    c->TextOut(FLeftMargin, top, rtl::FormatDateTime("dd mmm yy h:nn am/pm", FReportTime));
    const std::string page = "Page " + std::to_string(FPageNumber);
    c->TextOut(LineEnd() - c->TextWidth("  " + page), top, page);
}

// --- TDelphiConfigReport -------------------------------------------------------------------------

TDelphiConfigReport::TDelphiConfigReport() {
    FFontName = "Times New Roman";
    FFontSize = 10;
    FLineLength = 7.0;
}

void TDelphiConfigReport::BeginReport() {
    TBaseReport::BeginReport();
    PrintRules();
    PrintTitle();
    PrintBody();
}

void TDelphiConfigReport::PrintBody() {
    if (!FAliasStore) throw EReportError("No alias store to print");
    rtl::TIniFile ini(FAliasStore->FileName());
    FY = BodyTop();
    int number = 1;
    std::unique_ptr<TIniRecord> alias = ReadAlias(ini, number);
    if (!alias) {
        PrintFooter();
        return;
    }
    for (;;) {
        if (PageFull()) {
            // Nothing fits below the title: the page is closed properly and the aliases left
            // are reported, not dropped.
            PrintFooter();
            throw EReportError("The page is too small to print library alias '" + alias->AliasName + "'");
        }
        PrintAlias(*alias);
        ++number;
        PrintFooter();
        alias = ReadAlias(ini, number);
        if (!alias) return;
        Printer()->NewPage();
        PrintRules();
        PrintTitle();
        ++FPageNumber;
        FY = BodyTop();
    }
}

void TDelphiConfigReport::PrintLine(const std::string& Label, const std::string& Value, bool BoldValue) {
    TCanvas* c = Canvas();
    c->Font()->SetStyle(fsBold);
    c->TextOut(FLeftMargin, FY, Label);
    c->Font()->SetStyle(BoldValue ? TFontStyles(fsBold) : TFontStyles(0));
    c->TextOut(FLeftMargin + 2 * FHorzResolution, FY, Value);
    c->Font()->SetStyle(0);
}

void TDelphiConfigReport::PrintList(const std::string& Label, const std::string& Value) {
    std::vector<std::string> entries = SplitText(Value, ';');
    PrintLine(Label, entries.empty() ? std::string() : entries.front());
    for (std::size_t i = 1; i < entries.size(); ++i) {
        FY += ValueStep();
        PrintLine("", entries[i]);
    }
}

void TDelphiConfigReport::PrintAlias(const TIniRecord& Alias) {
    auto yesNo = [](bool Value) { return std::string(Value ? "Yes" : "No"); };
    PrintLine("Alias:", Alias.AliasName, true);
    FY += LabelStep();
    PrintLine("Library Name:", Alias.LibraryFile);
    FY += LabelStep();
    PrintList("Search Path:", Alias.SearchPath);
    FY += LabelStep();
    PrintList("Unit Aliases:", Alias.UnitAliases);
    FY += LabelStep();
    PrintLine("Map File:", MapFileText(Alias.MapFile));
    FY += LabelStep();
    PrintLine("Save Source Code:", yesNo(Alias.SaveSource));
    FY += LabelStep();
    PrintLine("Compile with Debug Info:", yesNo(Alias.DebugInfo));
    FY += LabelStep();
    PrintLine("Show Hints:", yesNo(Alias.Hints));
    FY += LabelStep();
    PrintLine("Show Warnings:", yesNo(Alias.Warnings));
}

} // namespace libconfig
