#include "declsearch/OptionsDlg.h"

#include "declsearch/About.h"
#include "declsearch/IdeHooks.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/Streaming.h"

#include <utility>

namespace declsearch {

using namespace vcl;

TOptionsDlg* OptionsDlg = nullptr;

namespace {

// What the name entry takes; the other stored texts are cut shorter.
constexpr std::size_t NameLength = 128;
constexpr std::size_t ValueLength = 64;
constexpr int HistoryLength = 10;

std::string Cut(std::string s, std::size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

// Exactly one "\" between a folder and a name.
std::string JoinPath(std::string Folder, const std::string& Name) {
    while (!Folder.empty() && Folder.back() == '\\') Folder.pop_back();
    return Folder + "\\" + Name;
}

std::string FolderOf(const std::string& Path) {
    std::string folder = rtl::ExtractFilePath(Path);
    // A root keeps its "\"; any other folder loses it.
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

} // namespace

TKwRegIniFile* OptionsIni = nullptr;

// Laid out by its form file, OptionsDlg.dfm.
TOptionsDlg::TOptionsDlg(TComponent* AOwner) : TForm(AOwner), FProjectUnits(std::make_unique<rtl::TStringList>()) {
    RegisterDeclsearchControls();
}

TOptionsDlg::~TOptionsDlg() {
    if (OptionsDlg == this) OptionsDlg = nullptr;
}

void TOptionsDlg::cbEntityClick(TObject*) { UpdateOkButton(); }

void TOptionsDlg::cbGivenClassClick(TObject*) { UpdateClassNameBox(); }

void TOptionsDlg::cbSearchChange(TObject*) {
    UpdateOkButton();
    UpdateClassNameBox();
}

void TOptionsDlg::SaveBtnClick(TObject*) { SaveEntityOptions("Options Default"); }

void TOptionsDlg::DefaultBtnClick(TObject*) {
    LoadEntityOptions("Options Default");
    UpdateClassNameBox();
    UpdateOkButton();
}

void TOptionsDlg::ClearAllBtnClick(TObject*) { ClearAll(); }

void TOptionsDlg::CheckAllFiles(bool Value) {
    lbFile->BeginCheck();
    for (int i = 0; i < lbFile->Items()->Count(); ++i) lbFile->SetItemChecked(i, Value);
    lbFile->EndCheck();
}

void TOptionsDlg::miSelectAllClick(TObject*) { CheckAllFiles(true); }

void TOptionsDlg::miClearAllClick(TObject*) { CheckAllFiles(false); }

void TOptionsDlg::miToggleAllClick(TObject*) {
    lbFile->BeginCheck();
    for (int i = 0; i < lbFile->Items()->Count(); ++i) lbFile->ToggleItem(i);
    lbFile->EndCheck();
}

namespace {

struct TEntityValue {
    TCheckBox* TOptionsDlg::*Box;
    const char* Ident;
    bool OnByDefault;
};

const TEntityValue EntityValues[] = {
    {&TOptionsDlg::cbFunction, "Function", true},
    {&TOptionsDlg::cbProcedure, "Procedure", true},
    {&TOptionsDlg::cbInterface, "Interface", true},
    {&TOptionsDlg::cbImplementation, "Implementation", true},
    {&TOptionsDlg::cbClass, "Class", false},
    {&TOptionsDlg::cbConstructor, "Constructor", false},
    {&TOptionsDlg::cbDestructor, "Destructor", false},
    {&TOptionsDlg::cbField, "Field", false},
    {&TOptionsDlg::cbClassFunction, "Class Function", false},
    {&TOptionsDlg::cbClassProcedure, "Class Procedure", false},
    {&TOptionsDlg::cbProperty, "Property", false},
    {&TOptionsDlg::cbCase, "Case Sensitive", false},
    {&TOptionsDlg::cbWord, "Word Search", false},
};

} // namespace

void TOptionsDlg::LoadEntityOptions(const std::string& Section) {
    if (!OptionsIni) return;
    bool defaults = Section == "Options Default";
    for (const TEntityValue& v : EntityValues)
        (this->*v.Box)->SetChecked(OptionsIni->ReadBool(Section, v.Ident, defaults && v.OnByDefault));
    cbGivenClass->SetChecked(OptionsIni->ReadBool(Section, "Given Class", false));
    cbClassName->SetText(OptionsIni->ReadString(Section, "Class Name", ""));
    cbSearch->SetText(OptionsIni->ReadString(Section, "Search Text", ""));
}

void TOptionsDlg::SaveEntityOptions(const std::string& Section) {
    if (!OptionsIni) return;
    for (const TEntityValue& v : EntityValues) OptionsIni->WriteBool(Section, v.Ident, (this->*v.Box)->Checked());
    OptionsIni->WriteBool(Section, "Given Class", cbGivenClass->Checked());
    OptionsIni->WriteString(Section, "Class Name", cbClassName->Text());
    OptionsIni->WriteString(Section, "Search Text", cbSearch->Text());
}

void TOptionsDlg::LoadGeneralOptions() {
    if (!OptionsIni) return;
    TKwRegIniFile& ini = *OptionsIni;
    ++FUpdating;
    int option = ini.ReadInteger("Files", "Option", 1);
    rgFiles->SetItemIndex(option >= 1 && option <= 3 ? option - 1 : 0);
    rgFilesClick(rgFiles);
    ebName->SetText(Cut(ini.ReadString("User Defined", "Path", JoinPath(rtl::GetCurrentDir(), "*.pas")), NameLength));
    --FUpdating;
    // The stored choice of files applies to the list as rebuilt from the path, not before it.
    RebuildFileList();
    bool first = true;
    for (int i = 0;; ++i) {
        // Whole, as they were written: a cut name would match no listed file.
        std::string name = ini.ReadString("User Defined", "File" + std::to_string(i), "");
        if (name.empty()) break;
        if (first) lbFile->Checked()->Clear();
        first = false;
        lbFile->SetCheckedByName(name, true);
    }
    if (first && ini.ReadBool("User Defined", "No File", false)) CheckAllFiles(false);

    std::string fontName = Cut(ini.ReadString("Interface", "Font Name", IdeHooks().GetIDEParamStr("FontName")), ValueLength);
    int fontIndex = cbFontName->Items()->IndexOf(fontName);
    cbFontName->SetItemIndex(fontIndex >= 0 ? fontIndex : (cbFontName->Items()->Count() > 0 ? 0 : -1));
    int ideSize = IdeHooks().GetIDEParamInt("FontSize");
    std::string defaultSize = std::to_string(ideSize > 0 ? ideSize : 10);
    std::string fontSize = Cut(ini.ReadString("Interface", "Font Size", defaultSize), ValueLength);
    // A stored size that is no number would stop the window from showing at all.
    int parsed = 0;
    if (!rtl::TryStrToInt(fontSize, parsed)) fontSize = defaultSize;
    int sizeIndex = cbFontSize->Items()->IndexOf(fontSize);
    if (sizeIndex >= 0) cbFontSize->SetItemIndex(sizeIndex);
    else cbFontSize->SetText(fontSize);
    int colorIndex = ini.ReadInteger("Interface", "Color Index", 9);
    ColorGrid->SetForegroundIndex(colorIndex >= 0 && colorIndex < 16 ? colorIndex : 9);
    cbFontNameChange(this);
    cbComment->SetChecked(ini.ReadBool("Interface", "Comment", false));
    cbIndentation->SetChecked(ini.ReadBool("Interface", "Indent", false));

    LoadHistory(cbSearch, "Search Text", "Search");
    LoadHistory(cbClassName, "Class Name", "Class");
}

void TOptionsDlg::LoadHistory(TComboBox* Box, const std::string& Section, const std::string& Ident) {
    std::string current = Box->Text();
    Box->Items()->Clear();
    if (!current.empty()) Box->Items()->Add(current);
    for (int i = 0;; ++i) {
        std::string entry = Cut(OptionsIni->ReadString(Section, Ident + std::to_string(i), ""), ValueLength);
        if (entry.empty()) break;
        Box->Items()->Add(entry);
    }
    // Emptying the list must not take the text with it.
    if (Box->Text() != current) Box->SetText(current);
}

void TOptionsDlg::SaveGeneralOptions() {
    if (!OptionsIni) return;
    TKwRegIniFile& ini = *OptionsIni;
    ini.WriteInteger("Files", "Option", rgFiles->ItemIndex() + 1);
    ini.EraseSection("User Defined");
    ini.WriteString("User Defined", "Path", ebName->Text());
    int listed = lbFile->Items()->Count();
    int written = 0;
    for (int i = 0; i < listed; ++i)
        if (lbFile->IsItemChecked(i)) ++written;
    if (written < listed) {
        // None checked means none searched, not the whole scope.
        if (written == 0) ini.WriteBool("User Defined", "No File", true);
        written = 0;
        for (int i = 0; i < listed; ++i)
            if (lbFile->IsItemChecked(i))
                ini.WriteString("User Defined", "File" + std::to_string(written++), lbFile->ItemKey(i));
    }
    ini.WriteString("Interface", "Font Name", cbFontName->Text());
    ini.WriteString("Interface", "Font Size", cbFontSize->Text());
    ini.WriteInteger("Interface", "Color Index", ColorGrid->ForegroundIndex());
    ini.WriteInteger("Interface", "Color", int(ColorGrid->ForegroundColor()));
    ini.WriteBool("Interface", "Comment", cbComment->Checked());
    ini.WriteBool("Interface", "Indent", cbIndentation->Checked());
    SaveHistory(cbSearch, "Search Text", "Search");
    SaveHistory(cbClassName, "Class Name", "Class");
}

void TOptionsDlg::SaveHistory(TComboBox* Box, const std::string& Section, const std::string& Ident) {
    OptionsIni->EraseSection(Section);
    std::string current = Box->Text();
    int n = 0;
    for (int i = 0; i < Box->Items()->Count() && n < HistoryLength; ++i) {
        std::string entry = Box->Items()->Get(i);
        if (rtl::AnsiCompareText(entry, current) != 0)
            OptionsIni->WriteString(Section, Ident + std::to_string(n++), entry);
    }
}

void TOptionsDlg::ClearAll() {
    for (const TEntityValue& v : EntityValues) (this->*v.Box)->SetChecked(false);
    cbGivenClass->SetChecked(false);
    cbClassName->SetText("");
    cbSearch->SetText("");
    UpdateClassNameBox();
    UpdateOkButton();
}

void TOptionsDlg::UpdateClassNameBox() {
    bool on = cbGivenClass->Checked();
    if (!on) cbClassName->SetText("");
    cbClassName->SetEnabled(on);
    cbClassName->SetColor(on ? clWindow : clBtnFace);
}

void TOptionsDlg::UpdateOkButton() {
    bool part = cbInterface->Checked() || cbImplementation->Checked();
    bool entity = cbFunction->Checked() || cbProcedure->Checked() || cbClass->Checked() ||
                  cbConstructor->Checked() || cbDestructor->Checked() || cbField->Checked() ||
                  cbClassFunction->Checked() || cbClassProcedure->Checked() || cbProperty->Checked() ||
                  !cbSearch->Text().empty();
    OKBtn->SetEnabled(part && entity);
}

void TOptionsDlg::rgFilesClick(TObject*) {
    ++FUpdating;
    int scope = rgFiles->ItemIndex();
    bool directory = scope == 2;
    ebName->SetEnabled(directory);
    cbDrive->SetEnabled(directory);
    lbDir->SetEnabled(directory);
    lbFile->SetEnabled(scope != 0);
    TColor location = directory ? clWindow : clBtnFace;
    ebName->SetColor(location);
    cbDrive->SetColor(location);
    lbDir->SetColor(location);
    lbFile->SetColor(scope == 0 ? clBtnFace : clWindow);
    std::string firstUnitFolder =
        FProjectUnits->Count() > 0 ? Cut(FolderOf(FProjectUnits->Get(0)), NameLength) : std::string();
    switch (scope) {
    case 0: ebName->SetText(rtl::ExpandFileName(CurrentFile)); break;
    case 1: ebName->SetText(FProjectUnits->Count() > 0 ? JoinPath(firstUnitFolder, "*.*") : CurrentFile); break;
    case 2: ebName->SetText(FProjectUnits->Count() > 0 ? JoinPath(firstUnitFolder, "*.pas") : CurrentFile); break;
    default: break;
    }
    --FUpdating;
    RebuildFileList();
}

void TOptionsDlg::RebuildFileList() {
    if (FUpdating > 0) return;
    bool wasIn = std::exchange(FInLocation, true);
    std::string path = ebName->Text();
    std::string folder = FolderOf(path);
    std::string mask = rtl::ExtractFileName(path);
    if (!folder.empty() && rtl::DirectoryExists(folder)) {
        lbDir->SetDirectory(folder);
    } else {
        path = JoinPath(lbDir->Directory(), mask);
        ebName->SetText(path);
    }
    cbDrive->SetDrive(lbDir->Drive());

    rtl::TStringList* items = lbFile->Items();
    items->BeginUpdate();
    items->Clear();
    int scope = rgFiles->ItemIndex();
    if (scope == 0) {
        if (!rtl::ExtractFileName(CurrentFile).empty())
            items->Add(rtl::AnsiLowerCase(rtl::ExtractFileName(CurrentFile)));
    } else {
        rtl::TSearchRec rec;
        for (int r = rtl::FindFirst(ebName->Text(), 0, rec); r == 0; r = rtl::FindNext(rec)) {
            if (rec.Attr & (rtl::faDirectory | rtl::faHidden | rtl::faSysFile)) continue;
            if (scope == 1) {
                bool inProject = false;
                for (int i = 0; i < FProjectUnits->Count() && !inProject; ++i)
                    inProject = rtl::AnsiCompareText(rtl::ExtractFileName(FProjectUnits->Get(i)), rec.Name) == 0;
                if (!inProject) continue;
            }
            items->Add(rtl::AnsiLowerCase(rec.Name));
        }
        rtl::FindClose(rec);
    }
    items->EndUpdate();
    lbFile->BeginCheck();
    for (int i = 0; i < items->Count(); ++i) lbFile->SetItemChecked(i, true);
    lbFile->EndCheck();
    FInLocation = wasIn;
}

void TOptionsDlg::ebNameChange(TObject*) {
    if (FInLocation) return;
    FInLocation = true;
    RebuildFileList();
    FInLocation = false;
}

void TOptionsDlg::lbDirChange(TObject*) {
    if (FInLocation) return;
    FInLocation = true;
    ebName->SetText(JoinPath(lbDir->Directory(), rtl::ExtractFileName(ebName->Text())));
    RebuildFileList();
    FInLocation = false;
}

void TOptionsDlg::cbDriveChange(TObject*) {
    if (FInLocation) return;
    FInLocation = true;
    lbDir->SetDrive(cbDrive->Drive());
    ebName->SetText(JoinPath(lbDir->Directory(), rtl::ExtractFileName(ebName->Text())));
    RebuildFileList();
    FInLocation = false;
}

void TOptionsDlg::cbFontNameChange(TObject*) {
    std::string size = cbFontSize->Text();
    if (size.empty()) return;
    TFont* font = pnlPreview->Font();
    font->SetName(cbFontName->Text());
    font->SetSize(rtl::StrToInt(size));
    font->SetColor(ColorGrid->ForegroundColor());
    pnlPreview->SetCaption(cbFontName->Text());
}

void TOptionsDlg::FormCreate(TObject*) {
    if (OptionsIni) {
        SetLeft(OptionsIni->ReadInteger("Options Coords", "Left", Left()));
        SetTop(OptionsIni->ReadInteger("Options Coords", "Top", Top()));
    }
    GetFixedPitchFonts(*cbFontName->Items());
}

void TOptionsDlg::FormShow(TObject*) {
    LoadEntityOptions("Options Last");
    LoadGeneralOptions();
    UpdateClassNameBox();
    UpdateOkButton();
}

void TOptionsDlg::FormHide(TObject*) {
    if (!OptionsIni) return;
    OptionsIni->WriteInteger("Options Coords", "Left", Left());
    OptionsIni->WriteInteger("Options Coords", "Top", Top());
}

void TOptionsDlg::FormClose(TObject*, TCloseAction& Action) { Action = TCloseAction::caFree; }

void TOptionsDlg::FormKeyDown(TObject*, unsigned& Key, TShiftState Shift) {
    if (Key != win::VK_F1 || Shift != TShiftState()) return;
    Key = 0;
    // The focused control's context, or that of the page or group it lies on.
    for (TWinControl* c = ActiveControl(); c && c != this; c = c->Parent())
        if (c->HelpContext() != 0) {
            if (Application->HelpContext(c->HelpContext())) return;
            break;
        }
    HelpBtnClick(this);
}

void TOptionsDlg::OKBtnClick(TObject*) {
    SaveEntityOptions("Options Last");
    SaveGeneralOptions();
    NextAction = cmdSearch;
    Close();
}

void TOptionsDlg::CancelBtnClick(TObject*) {
    NextAction = cmdNone;
    Close();
}

void TOptionsDlg::HelpBtnClick(TObject*) {
    if (!Application->HelpContext(HelpContext())) Application->HelpCommand(HELP_CONTENTS, 0);
}

void TOptionsDlg::AboutBtnClick(TObject*) {
    AboutDlg = Make<TAboutDlg>(Application);
    std::unique_ptr<TAboutDlg> about(AboutDlg);
    about->ShowModal();
}

namespace {

struct TOptionsRegistration {
    TOptionsRegistration() {
        using F = TOptionsDlg;
        RegisterFormClass<F>("TOptionsDlg", "TForm",
                             {
                                 PublishedField("PageControl1", &F::PageControl1),
                                 PublishedField("tsSearch", &F::tsSearch),
                                 PublishedField("tsFiles", &F::tsFiles),
                                 PublishedField("tsDisplay", &F::tsDisplay),
                                 PublishedField("gbEntity", &F::gbEntity),
                                 PublishedField("gbPart", &F::gbPart),
                                 PublishedField("gbClass", &F::gbClass),
                                 PublishedField("gbSearch", &F::gbSearch),
                                 PublishedField("cbFunction", &F::cbFunction),
                                 PublishedField("cbProcedure", &F::cbProcedure),
                                 PublishedField("cbInterface", &F::cbInterface),
                                 PublishedField("cbImplementation", &F::cbImplementation),
                                 PublishedField("cbClass", &F::cbClass),
                                 PublishedField("cbConstructor", &F::cbConstructor),
                                 PublishedField("cbDestructor", &F::cbDestructor),
                                 PublishedField("cbClassFunction", &F::cbClassFunction),
                                 PublishedField("cbClassProcedure", &F::cbClassProcedure),
                                 PublishedField("cbProperty", &F::cbProperty),
                                 PublishedField("cbField", &F::cbField),
                                 PublishedField("cbGivenClass", &F::cbGivenClass),
                                 PublishedField("cbClassName", &F::cbClassName),
                                 PublishedField("cbSearch", &F::cbSearch),
                                 PublishedField("cbCase", &F::cbCase),
                                 PublishedField("cbWord", &F::cbWord),
                                 PublishedField("SaveBtn", &F::SaveBtn),
                                 PublishedField("DefaultBtn", &F::DefaultBtn),
                                 PublishedField("ClearAllBtn", &F::ClearAllBtn),
                                 PublishedField("rgFiles", &F::rgFiles),
                                 PublishedField("gbFiles", &F::gbFiles),
                                 PublishedField("lblName", &F::lblName),
                                 PublishedField("lblDir", &F::lblDir),
                                 PublishedField("lblFile", &F::lblFile),
                                 PublishedField("ebName", &F::ebName),
                                 PublishedField("cbDrive", &F::cbDrive),
                                 PublishedField("lbDir", &F::lbDir),
                                 PublishedField("lbFile", &F::lbFile),
                                 PublishedField("FileMenu", &F::FileMenu),
                                 PublishedField("miSelectAll", &F::miSelectAll),
                                 PublishedField("miToggleAll", &F::miToggleAll),
                                 PublishedField("miClearAll", &F::miClearAll),
                                 PublishedField("gbFont", &F::gbFont),
                                 PublishedField("gbColor", &F::gbColor),
                                 PublishedField("gbOther", &F::gbOther),
                                 PublishedField("cbFontName", &F::cbFontName),
                                 PublishedField("cbFontSize", &F::cbFontSize),
                                 PublishedField("lblPreview", &F::lblPreview),
                                 PublishedField("pnlPreview", &F::pnlPreview),
                                 PublishedField("ColorGrid", &F::ColorGrid),
                                 PublishedField("cbComment", &F::cbComment),
                                 PublishedField("cbIndentation", &F::cbIndentation),
                                 PublishedField("OKBtn", &F::OKBtn),
                                 PublishedField("CancelBtn", &F::CancelBtn),
                                 PublishedField("HelpBtn", &F::HelpBtn),
                                 PublishedField("AboutBtn", &F::AboutBtn),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("FormShow", &F::FormShow),
                                 PublishedMethod("FormHide", &F::FormHide),
                                 PublishedMethod("FormClose", &F::FormClose),
                                 PublishedMethod("FormKeyDown", &F::FormKeyDown),
                                 PublishedMethod("cbEntityClick", &F::cbEntityClick),
                                 PublishedMethod("cbGivenClassClick", &F::cbGivenClassClick),
                                 PublishedMethod("cbSearchChange", &F::cbSearchChange),
                                 PublishedMethod("SaveBtnClick", &F::SaveBtnClick),
                                 PublishedMethod("DefaultBtnClick", &F::DefaultBtnClick),
                                 PublishedMethod("ClearAllBtnClick", &F::ClearAllBtnClick),
                                 PublishedMethod("rgFilesClick", &F::rgFilesClick),
                                 PublishedMethod("ebNameChange", &F::ebNameChange),
                                 PublishedMethod("lbDirChange", &F::lbDirChange),
                                 PublishedMethod("cbDriveChange", &F::cbDriveChange),
                                 PublishedMethod("miSelectAllClick", &F::miSelectAllClick),
                                 PublishedMethod("miToggleAllClick", &F::miToggleAllClick),
                                 PublishedMethod("miClearAllClick", &F::miClearAllClick),
                                 PublishedMethod("cbFontNameChange", &F::cbFontNameChange),
                                 PublishedMethod("OKBtnClick", &F::OKBtnClick),
                                 PublishedMethod("CancelBtnClick", &F::CancelBtnClick),
                                 PublishedMethod("HelpBtnClick", &F::HelpBtnClick),
                                 PublishedMethod("AboutBtnClick", &F::AboutBtnClick),
                             });
    }
} optionsRegistration;

} // namespace

} // namespace declsearch
