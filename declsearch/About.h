// The library's own path and version strings, the fixed-pitch screen fonts, and the about box
// with its credits panel, laid out by its form file About.dfm. Implementations in About.cpp.
#pragma once

#include "declsearch/Credits.h"

#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include "rtl/Modules.h"
#include "rtl/StringLists.h"

#include <string>

namespace declsearch {

// The library's own full file name (at most 254 characters).
std::string GetModulePath(const void* Caller = RTL_CALLER_MODULE);
// "Name=value" for each of the eight version strings the library's block holds, in their order;
// false when the library has no version block.
bool ReadVersionInfo(rtl::TStrings& List, const void* Caller = RTL_CALLER_MODULE);
// The face of every fixed-pitch font family of the screen, as the system enumerates them.
void GetFixedPitchFonts(rtl::TStrings& List);

class TAboutDlg : public vcl::TForm {
public:
    explicit TAboutDlg(vcl::TComponent* AOwner);
    ~TAboutDlg() override;

    vcl::TPanel* Panel1 = nullptr;
    vcl::TLabel* FileDescription = nullptr;
    vcl::TLabel* VerLabel = nullptr;
    vcl::TLabel* FileVersion = nullptr;
    TCredits* Credits1 = nullptr;
    vcl::TButton* OKButton = nullptr;

    void FormShow(vcl::TObject* Sender);
};

// The library's about box while one exists.
extern TAboutDlg* AboutDlg;

} // namespace declsearch
