#include "declsearch/About.h"

#include "declsearch/CheckBox.h"

#include "rtl/Resources.h"
#include "vcl/Streaming.h"

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

// Laid out by its form file, About.dfm; out of line, so that a module making the box links its
// registration too.
TAboutDlg::TAboutDlg(TComponent* AOwner) : TForm(AOwner) { RegisterDeclsearchControls(); }

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

namespace {

struct TAboutRegistration {
    TAboutRegistration() {
        using F = TAboutDlg;
        RegisterFormClass<F>("TAboutDlg", "TForm",
                             {
                                 PublishedField("Panel1", &F::Panel1),
                                 PublishedField("FileDescription", &F::FileDescription),
                                 PublishedField("VerLabel", &F::VerLabel),
                                 PublishedField("FileVersion", &F::FileVersion),
                                 PublishedField("Credits1", &F::Credits1),
                                 PublishedField("OKButton", &F::OKButton),
                             },
                             {PublishedMethod("FormShow", &F::FormShow)});
    }
} aboutRegistration;

} // namespace

} // namespace declsearch
