// The printer of the class library: the chosen printer with its paper and orientation, a canvas
// on its device context, and the print job (pages in printer pixels). Implementations in
// Printers.cpp.
#pragma once

#include "vcl/Graphics.h"

#include "rtl/StringLists.h"
#include "win/Printing.h"

#include <memory>
#include <string>

namespace vcl {

RTL_DECLARE_EXCEPTION(EPrinter, rtl::Exception);

enum class TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;

    // Starts a job titled Title with its first page.
    void BeginDoc();
    // Ends the job and writes it. Called while an exception passes (from a handler that passes
    // it on, or while unwinding) it drops the job instead: a report cut short leaves no file.
    void EndDoc();
    // Drops the job: nothing is written.
    void Abort();
    void NewPage();

    TCanvas* Canvas();
    // The printable area in printer pixels, for the chosen paper and orientation.
    int PageWidth();
    int PageHeight();
    int PageNumber() const { return FPageNumber; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    bool Printing() const { return FPrinting; }
    // Whether the last job was dropped by Abort (or by EndDoc during an error).
    bool Aborted() const { return FAborted; }
    // The printer's device context, made when first asked.
    win::HDC Handle();

    // "<printer> on <port>", one a line.
    rtl::TStrings* Printers();
    // -1 chooses the default printer; reading answers the index it resolved to.
    int PrinterIndex();
    void SetPrinterIndex(int Value);
    TPrinterOrientation Orientation();
    void SetOrientation(TPrinterOrientation Value);

    // The chosen printer with its settings; SetPrinter chooses the printer named Device and lays
    // the valid fields of DeviceMode over its defaults.
    void GetPrinter(std::string& Device, std::string& Port, win::DEVMODE& DeviceMode);
    void SetPrinter(const std::string& Device, const std::string& Port, const win::DEVMODE& DeviceMode);

private:
    class TPrinterCanvas;
    void CheckPrinting(bool Value) const;
    void Choose(int Index, const win::DEVMODE* Settings);
    void FreeHandle();

    std::unique_ptr<rtl::TStrings> FPrinters;
    std::vector<std::string> FDevices, FPorts;
    int FPrinterIndex = -1;
    win::DEVMODE FDevMode;
    win::HDC FDC = nullptr;
    std::unique_ptr<TCanvas> FCanvas; // a TPrinterCanvas
    std::string FTitle;
    int FPageNumber = 0;
    bool FPrinting = false;
    bool FAborted = false;
};

// The module's printer, made when first asked.
TPrinter* Printer();
// Puts NewPrinter in place of the module's printer and answers the old one, which the caller
// then owns.
TPrinter* SetPrinter(TPrinter* NewPrinter);

} // namespace vcl
