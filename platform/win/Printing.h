// Printers: the installed printers (one, which writes PDF files), their paper sizes, printer
// device contexts and print jobs. A printer DC draws with the same GDI calls and text rules as
// the screen, at 600 dots per inch, on a PDF page; a finished job lands atomically in
// $WINROOT/printer as "<document title> <n>.pdf". Implementations in Printing.cpp.
#pragma once

#include "win/Windows.h"

namespace win {

// --- Printers -------------------------------------------------------------------------------

constexpr int CCHDEVICENAME = 32;

constexpr DWORD DM_ORIENTATION = 0x00000001;
constexpr DWORD DM_PAPERSIZE = 0x00000002;
constexpr DWORD DM_PAPERLENGTH = 0x00000004;
constexpr DWORD DM_PAPERWIDTH = 0x00000008;
constexpr DWORD DM_COPIES = 0x00000100;
constexpr short DMORIENT_PORTRAIT = 1;
constexpr short DMORIENT_LANDSCAPE = 2;
constexpr short DMPAPER_LETTER = 1;
constexpr short DMPAPER_LEGAL = 5;
constexpr short DMPAPER_A4 = 9;
constexpr short DMPAPER_A5 = 11;

// The settings of a job. A field counts only when its bit is in dmFields; the others take the
// printer's defaults (Letter, portrait).
struct DEVMODE {
    char dmDeviceName[CCHDEVICENAME] = {};
    DWORD dmFields = 0;
    short dmOrientation = DMORIENT_PORTRAIT;
    short dmPaperSize = DMPAPER_LETTER;
    short dmPaperLength = 0; // tenths of a millimetre, portrait; answered, not taken
    short dmPaperWidth = 0;
    short dmCopies = 1;
};

constexpr DWORD PRINTER_ENUM_DEFAULT = 0x00000001;
constexpr DWORD PRINTER_ENUM_LOCAL = 0x00000002;
constexpr DWORD PRINTER_ATTRIBUTE_DEFAULT = 0x00000004;
constexpr DWORD PRINTER_ATTRIBUTE_LOCAL = 0x00000040;
struct PRINTER_INFO_5 {
    char* pPrinterName = nullptr;
    char* pPortName = nullptr;
    DWORD Attributes = 0;
    DWORD DeviceNotSelectedTimeout = 0;
    DWORD TransmissionRetryTimeout = 0;
};
// Level 5 only. The records come first in the buffer, their strings after them; a buffer that
// is too small answers FALSE with the size needed.
BOOL EnumPrinters(DWORD flags, const char* name, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                  DWORD* returned);
// The default printer: the one WIN.INI's [windows] device= names, else the first installed.
BOOL GetDefaultPrinter(char* buffer, DWORD* size);

constexpr WORD DC_PAPERS = 2;      // WORD paper numbers
constexpr WORD DC_PAPERSIZE = 3;   // POINT in tenths of a millimetre, portrait
constexpr WORD DC_PAPERNAMES = 16; // 64 characters each
constexpr WORD DC_ORIENTATION = 17; // degrees landscape turns
// Answers the number of entries written (or that would be, with output NULL); -1 for a device
// or capability that is not there.
int DeviceCapabilities(const char* device, const char* port, WORD capability, void* output, const DEVMODE* dm);

constexpr DWORD DM_OUT_BUFFER = 2;
constexpr DWORD DM_IN_BUFFER = 8;
// With DM_OUT_BUFFER: out gets the printer's defaults with the valid fields of in (DM_IN_BUFFER)
// laid over them, answering 1. Mode 0 answers the size of a DEVMODE; a device that is not there -1.
LONG DocumentProperties(HWND hwnd, void* printer, const char* device, DEVMODE* out, const DEVMODE* in, DWORD mode);

// --- Printer device contexts ----------------------------------------------------------------

// A DC of the named printer (the driver is not looked at) with the paper and orientation of dm;
// NULL when there is no such printer. DeleteDC frees it and abandons an open job.
HDC CreateDC(const char* driver, const char* device, const char* port, const DEVMODE* dm);

// GetDeviceCaps of a printer DC: HORZRES and VERTRES give the printable area in pixels,
// PHYSICALWIDTH and PHYSICALHEIGHT the sheet, PHYSICALOFFSETX and PHYSICALOFFSETY where the
// printable area starts on it; LOGPIXELSX and LOGPIXELSY 600.
constexpr int DT_RASPRINTER = 2;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// --- Print jobs -----------------------------------------------------------------------------

constexpr int SP_ERROR = -1;
struct DOCINFO {
    int cbSize = sizeof(DOCINFO);
    const char* lpszDocName = nullptr; // cp1252; names the file
    const char* lpszOutput = nullptr;  // not used: the file always goes to the printer's folder
};
// Answers the job number (above 0), or SP_ERROR when the DC is no printer's or a job is open.
int StartDoc(HDC dc, const DOCINFO* info);
// Each page takes the paper and orientation the DC has when it starts. SP_ERROR out of order.
int StartPage(HDC dc);
int EndPage(HDC dc);
// Ends an open page and writes the file atomically; a job without pages writes nothing. Raises
// the runtime's file errors when the file cannot be written; the job is gone either way.
int EndDoc(HDC dc);
// Drops the job: no file is written.
int AbortDoc(HDC dc);

} // namespace win
