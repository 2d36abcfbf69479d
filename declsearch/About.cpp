#include "declsearch/About.h"

#include "rtl/Resources.h"

#include <algorithm>
#include <vector>

namespace declsearch {

using namespace vcl;

TAboutDlg* AboutDlg = nullptr;

namespace {

const char* const VersionNames[] = {"CompanyName",    "FileDescription",  "FileVersion", "InternalName",
                                    "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"};

int CollectFixedFace(const win::LOGFONT* lf, const win::TEXTMETRIC*, win::DWORD, win::LPARAM param) {
    if ((lf->lfPitchAndFamily & 3) == win::FIXED_PITCH)
        reinterpret_cast<rtl::TStrings*>(param)->Add(lf->lfFaceName);
    return 1;
}

// The value of a name in "name=value" lines, or empty.
std::string ValueOf(const rtl::TStrings& List, const std::string& Name) {
    for (int i = 0; i < List.Count(); ++i) {
        std::string line = List.Get(i);
        if (line.size() > Name.size() && line.compare(0, Name.size(), Name) == 0 && line[Name.size()] == '=')
            return line.substr(Name.size() + 1);
    }
    return {};
}

} // namespace

std::string GetModulePath(const void* Caller) {
    std::string path = rtl::GetModuleFileName(nullptr, Caller);
    if (path.size() > 254) path.resize(254);
    return path;
}

bool ReadVersionInfo(rtl::TStrings& List, const void* Caller) {
    List.Clear();
    std::string file = GetModulePath(Caller);
    unsigned handle = 0;
    unsigned size = rtl::GetFileVersionInfoSize(file, &handle);
    if (size == 0) return false;
    std::vector<char> block(size);
    if (!rtl::GetFileVersionInfo(file, handle, size, block.data())) return false;
    for (const char* name : VersionNames) {
        const void* value = nullptr;
        unsigned len = 0;
        if (rtl::VerQueryValue(block.data(), std::string("\\StringFileInfo\\040904E4\\") + name, &value, &len) && value)
            List.Add(std::string(name) + "=" + static_cast<const char*>(value));
    }
    return true;
}

void GetFixedPitchFonts(rtl::TStrings& List) {
    List.Clear();
    // The screen device of the active window: one screen here, whichever window is active.
    win::HDC dc = win::GetDC(nullptr);
    if (!dc) return;
    win::EnumFontFamilies(dc, nullptr, &CollectFixedFace, reinterpret_cast<win::LPARAM>(&List));
    win::ReleaseDC(nullptr, dc);
}

TAboutDlg::TAboutDlg(TComponent* AOwner) : TForm(AOwner) {
    TLoadingBracket loading(this);
    SetName("AboutDlg");
    SetCaption("About...");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetBounds(0, 0, 392, 212);

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(8, 8, 368, 132);
    Panel1->SetBevelOuter(TPanelBevel::bvLowered);
    Panel1->SetCaption("");

    FileDescription = new TLabel(this);
    FileDescription->SetName("FileDescription");
    FileDescription->SetParent(Panel1);
    FileDescription->SetBounds(12, 10, 150, 16);
    FileDescription->Font()->SetStyle(fsBold);
    FileDescription->SetCaption("Delvo +");

    VerLabel = new TLabel(this);
    VerLabel->SetName("VerLabel");
    VerLabel->SetParent(Panel1);
    VerLabel->SetBounds(12, 30, 30, 13);
    VerLabel->SetCaption("Ver.");

    FileVersion = new TLabel(this);
    FileVersion->SetName("FileVersion");
    FileVersion->SetParent(Panel1);
    FileVersion->SetBounds(42, 30, 120, 13);
    FileVersion->SetCaption("");

    Credits1 = new TCredits(this);
    Credits1->SetName("Credits1");
    Credits1->SetParent(Panel1);
    Credits1->SetBounds(172, 8, 188, 116);
    Credits1->SetNumberPolygons(3);
    Credits1->SetBackground(clBlack);
    Credits1->SetPolygon1Color(clBlue);
    Credits1->SetPolygon2Color(clGreen);
    Credits1->SetPolygon3Color(clRed);
    Credits1->SetPolygon4Color(clYellow);
    Credits1->SetPolygon5Color(clPurple);
    Credits1->SetIncrement(1);
    rtl::TStringList lines;
    for (const char* line : {"Delvo +", "", "Declarations found", "in every unit", "of your project,", "",
                             "written by the", "Delvo team", "", "Thanks for searching!"})
        lines.Add(line);
    Credits1->SetCredits(lines);

    OKButton = new TButton(this);
    OKButton->SetName("OKButton");
    OKButton->SetParent(this);
    OKButton->SetBounds(158, 150, 75, 25);
    OKButton->SetCaption("OK");
    OKButton->SetDefault(true);
    OKButton->SetCancel(true);
    OKButton->SetModalResult(mrOk);

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

TAboutDlg::~TAboutDlg() {
    if (AboutDlg == this) AboutDlg = nullptr;
}

void TAboutDlg::FormShow(TObject*) {
    Credits1->SetStarted(true);
    rtl::TStringList info;
    ReadVersionInfo(info);
    std::string product = ValueOf(info, "ProductName");
    if (!product.empty()) SetCaption("About " + product + " " + ValueOf(info, "ProductVersion") + " ...");
    std::string description = ValueOf(info, "FileDescription");
    if (!description.empty()) FileDescription->SetCaption(description);
    std::string version = ValueOf(info, "FileVersion");
    if (!version.empty()) FileVersion->SetCaption(version);
}

} // namespace declsearch
