// The printer object over the window system's printers and print jobs.
#include "vcl/Printers.h"

#include <exception>

namespace vcl {

using namespace win;

// A canvas on the printer's DC whose font measures in the printer's pixels per inch.
class TPrinter::TPrinterCanvas : public TCanvas {
public:
    explicit TPrinterCanvas(TPrinter* APrinter) : FPrinter(APrinter) {}

    // Keeps the font's point size when the resolution changes.
    void UpdateFont() {
        int ppi = GetDeviceCaps(FPrinter->Handle(), LOGPIXELSY);
        if (ppi <= 0 || ppi == Font()->PixelsPerInch()) return;
        int size = Font()->Size();
        Font()->SetPixelsPerInch(ppi);
        Font()->SetSize(size);
    }

protected:
    void CreateHandle() override {
        HDC dc = FPrinter->Handle();
        UpdateFont();
        SetHandle(dc);
    }

private:
    TPrinter* FPrinter;
};

TPrinter::TPrinter() : FPrinters(std::make_unique<rtl::TStringList>()) {}

TPrinter::~TPrinter() {
    if (FPrinting) {
        FAborted = true;
        AbortDoc(FDC);
    }
    FreeHandle();
}

void TPrinter::CheckPrinting(bool Value) const {
    if (FPrinting == Value) return;
    throw EPrinter(Value ? "Printer is not currently printing" : "Printing in progress");
}

rtl::TStrings* TPrinter::Printers() {
    if (FPrinters->Count() == 0) {
        DWORD needed = 0, count = 0;
        EnumPrinters(PRINTER_ENUM_LOCAL, nullptr, 5, nullptr, 0, &needed, &count);
        std::vector<BYTE> buffer(needed);
        if (needed && EnumPrinters(PRINTER_ENUM_LOCAL, nullptr, 5, buffer.data(), needed, &needed, &count)) {
            auto* info = reinterpret_cast<PRINTER_INFO_5*>(buffer.data());
            for (DWORD i = 0; i < count; ++i) {
                FDevices.push_back(info[i].pPrinterName);
                FPorts.push_back(info[i].pPortName);
                FPrinters->Add(std::string(info[i].pPrinterName) + " on " + info[i].pPortName);
            }
        }
    }
    return FPrinters.get();
}

void TPrinter::FreeHandle() {
    if (FCanvas) FCanvas->SetHandle(nullptr);
    if (FDC) DeleteDC(FDC);
    FDC = nullptr;
}

void TPrinter::Choose(int Index, const DEVMODE* Settings) {
    DEVMODE dm;
    if (DocumentProperties(nullptr, nullptr, FDevices[std::size_t(Index)].c_str(), &dm, Settings,
                           DM_OUT_BUFFER | (Settings ? DM_IN_BUFFER : 0)) < 0)
        throw EPrinter("Printer selected is not valid");
    FreeHandle();
    FPrinterIndex = Index;
    FDevMode = dm;
}

int TPrinter::PrinterIndex() {
    if (FPrinterIndex < 0) {
        if (Printers()->Count() == 0) throw EPrinter("There is no default printer currently selected");
        char name[CCHDEVICENAME + 1] = {};
        DWORD size = sizeof name;
        int index = 0;
        if (GetDefaultPrinter(name, &size))
            for (std::size_t i = 0; i < FDevices.size(); ++i)
                if (FDevices[i] == name) index = int(i);
        Choose(index, nullptr);
    }
    return FPrinterIndex;
}

void TPrinter::SetPrinterIndex(int Value) {
    CheckPrinting(false);
    if (Value == -1) {
        FreeHandle();
        FPrinterIndex = -1;
        PrinterIndex();
        return;
    }
    if (Value < 0 || Value >= Printers()->Count()) throw EPrinter("Printer index out of range");
    if (Value != FPrinterIndex) Choose(Value, nullptr);
}

void TPrinter::GetPrinter(std::string& Device, std::string& Port, DEVMODE& DeviceMode) {
    int index = PrinterIndex();
    Device = FDevices[std::size_t(index)];
    Port = FPorts[std::size_t(index)];
    DeviceMode = FDevMode;
}

void TPrinter::SetPrinter(const std::string& Device, const std::string&, const DEVMODE& DeviceMode) {
    CheckPrinting(false);
    Printers();
    for (std::size_t i = 0; i < FDevices.size(); ++i)
        if (FDevices[i] == Device) return Choose(int(i), &DeviceMode);
    throw EPrinter("Printer selected is not valid");
}

TPrinterOrientation TPrinter::Orientation() {
    PrinterIndex();
    return FDevMode.dmOrientation == DMORIENT_LANDSCAPE ? TPrinterOrientation::poLandscape
                                                        : TPrinterOrientation::poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
    CheckPrinting(false);
    DEVMODE dm = (PrinterIndex(), FDevMode);
    dm.dmFields |= DM_ORIENTATION;
    dm.dmOrientation = Value == TPrinterOrientation::poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    Choose(FPrinterIndex, &dm);
}

HDC TPrinter::Handle() {
    // A DC that the window system no longer knows (it was reset) is made again.
    if (FDC && GetDeviceCaps(FDC, LOGPIXELSY) == 0) {
        if (FCanvas) FCanvas->SetHandle(nullptr);
        FDC = nullptr;
        FPrinting = false;
    }
    if (!FDC) {
        int index = PrinterIndex();
        FDC = CreateDC("WINSPOOL", FDevices[std::size_t(index)].c_str(), FPorts[std::size_t(index)].c_str(), &FDevMode);
        if (!FDC) throw EPrinter("Printer selected is not valid");
    }
    return FDC;
}

TCanvas* TPrinter::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TPrinterCanvas>(this);
    return FCanvas.get();
}

int TPrinter::PageWidth() { return GetDeviceCaps(Handle(), HORZRES); }
int TPrinter::PageHeight() { return GetDeviceCaps(Handle(), VERTRES); }

void TPrinter::BeginDoc() {
    CheckPrinting(false);
    HDC dc = Handle();
    auto* canvas = static_cast<TPrinterCanvas*>(Canvas());
    canvas->SetHandle(dc);
    canvas->UpdateFont();
    DOCINFO info;
    info.lpszDocName = FTitle.c_str();
    if (StartDoc(dc, &info) <= 0) throw EPrinter("The printer refused the print job");
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
    StartPage(dc);
}

void TPrinter::EndDoc() {
    CheckPrinting(true);
    if (std::uncaught_exceptions() > 0 || std::current_exception()) return Abort();
    HDC dc = FDC;
    FPrinting = false;
    FPageNumber = 0;
    // The canvas lets go of its objects before the job is written.
    FCanvas->SetHandle(nullptr);
    EndPage(dc);
    if (win::EndDoc(dc) <= 0) throw EPrinter("The print job could not be finished");
}

void TPrinter::Abort() {
    CheckPrinting(true);
    FCanvas->SetHandle(nullptr);
    AbortDoc(FDC);
    FPrinting = false;
    FAborted = true;
    FPageNumber = 0;
}

void TPrinter::NewPage() {
    CheckPrinting(true);
    EndPage(FDC);
    StartPage(FDC);
    ++FPageNumber;
}

namespace {
std::unique_ptr<TPrinter>& ThePrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}
} // namespace

TPrinter* Printer() {
    if (!ThePrinter()) ThePrinter() = std::make_unique<TPrinter>();
    return ThePrinter().get();
}

TPrinter* SetPrinter(TPrinter* NewPrinter) {
    TPrinter* old = ThePrinter().release();
    ThePrinter().reset(NewPrinter);
    return old;
}

} // namespace vcl
