// The printed configuration report: every stored alias on a page of its own, laid out in printer
// pixels from the printer's resolution so that it measures the same in inches on any printer.
// Implementations in ConfigReport.cpp.
#pragma once

#include "libconfig/AliasStore.h"

#include "rtl/Clock.h"
#include "rtl/Exceptions.h"
#include "vcl/Persistent.h"

#include <string>

namespace vcl {
class TCanvas;
}

namespace libconfig {

// A report that cannot lay out what it was given.
RTL_DECLARE_EXCEPTION(EReportError, rtl::Exception);

// Value x Num / Den, rounded to the nearest integer with halves away from zero, in integers.
int RoundRatio(long long Value, long long Num, long long Den);
// Value x Num / Den without its fraction.
int TruncRatio(long long Value, long long Num, long long Den);

// Page geometry and font handling of a report on the default printer.
class TBaseReport : public vcl::TObject {
public:
    TBaseReport();
    ~TBaseReport() override;

    // Prints the report as one print job; an error on the way drops the job and passes on.
    void PrintReport();
    // Starts the report on the job's first page; descendants draw the rest.
    virtual void BeginReport();

    int PageNumber() const { return FPageNumber; }
    rtl::TDateTime ReportTime() const { return FReportTime; }
    int HorzResolution() const { return FHorzResolution; }
    int VertResolution() const { return FVertResolution; }
    int CurrentY() const { return FY; }
    int PageCentre() const { return FPageCentre; }
    int LeftMargin() const { return FLeftMargin; }
    const std::string& FontName() const { return FFontName; }
    int FontSize() const { return FFontSize; }
    double LineLength() const { return FLineLength; }

    // The end of the rules and the right edge of the footer.
    int LineEnd() const;
    // The height of a line of the printer's font.
    int LineHeight();
    // Whether a line no longer fits above the bottom rule.
    bool PageFull();

protected:
    vcl::TCanvas* Canvas() const;
    int PageWidth() const;
    int PageHeight() const;
    // Sets the printer font's size in points, measured at the printer's resolution.
    void SetFontSize(int Points);
    // The step from one line of a value to the next, and from one label to the next.
    int ValueStep();
    int LabelStep();
    int BodyTop() const;
    int FooterTop() const;

    void PrintRules();
    void PrintTitle();
    void PrintFooter();

    int FPageNumber = 1;
    rtl::TDateTime FReportTime = 0;
    int FHorzResolution = 0;
    int FVertResolution = 0;
    int FY = 0;
    int FPageCentre = 0;
    int FLeftMargin = 0;
    std::string FFontName = "Arial";
    int FFontSize = 10;
    double FLineLength = 7.0;

private:
    // The line length in thousandths of an inch, so the geometry stays in integers.
    long long LineMils() const;
};

// The report of every alias of an alias store, one alias a page.
class TDelphiConfigReport : public TBaseReport {
public:
    TDelphiConfigReport();

    TAliasStore* AliasStore() const { return FAliasStore; }
    void SetAliasStore(TAliasStore* Value) { FAliasStore = Value; }

    void BeginReport() override;

protected:
    void PrintBody();

private:
    void PrintAlias(const TIniRecord& Alias);
    // A label at the left margin and its value at the value column, on the current line.
    void PrintLine(const std::string& Label, const std::string& Value, bool BoldValue = false);
    // The entries of a list value, one a line, the first beside the label.
    void PrintList(const std::string& Label, const std::string& Value);

    TAliasStore* FAliasStore = nullptr;
};

// "Off", "Segments", "Public" or "Detailed"; another level prints as its number.
std::string MapFileText(int Level);

} // namespace libconfig
