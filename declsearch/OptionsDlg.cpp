#include "declsearch/OptionsDlg.h"

#include "declsearch/About.h"
#include "declsearch/IdeHooks.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/DialogBuilding.h"

#include <utility>

namespace declsearch {

using namespace vcl;

TOptionsDlg* OptionsDlg = nullptr;

namespace {

constexpr int DesignLeft = 200;
constexpr int DesignTop = 120;
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

TOptionsDlg::TOptionsDlg(TComponent* AOwner) : TForm(AOwner), FProjectUnits(std::make_unique<rtl::TStringList>()) {
    RegisterDeclsearchControls();
    TLoadingBracket loading(this);
    SetName("OptionsDlg");
    SetCaption("Delvo + Options");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetBounds(DesignLeft, DesignTop, 408, 358);
    SetHelpContext(3);
    SetShowHint(true);
    SetKeyPreview(true);

    PageControl1 = AddControl<TPageControl>(this, this, "PageControl1", 8, 8, 384, 276);
    auto sheet = [&](const char* name, const char* caption, int help) {
        auto* s = new TTabSheet(this);
        s->SetName(name);
        s->SetPageControl(PageControl1);
        s->SetCaption(caption);
        s->SetHelpContext(help);
        return s;
    };
    tsSearch = sheet("tsSearch", "Search Options", 11);
    tsFiles = sheet("tsFiles", "File Options", 23);
    tsDisplay = sheet("tsDisplay", "Display Options", 24);
    PageControl1->SetActivePage(tsSearch);

    BuildSearchPage();
    BuildFilesPage();
    BuildDisplayPage();

    auto button = [&](TButton*& b, const char* name, const char* caption, const char* hint, int left) {
        b = AddControl<TButton>(this, this, name, left, 294, 75, 25);
        b->SetCaption(caption);
        b->SetHint(hint);
    };
    button(OKBtn, "OKBtn", "&OK", "Execute search", 8);
    button(CancelBtn, "CancelBtn", "&Cancel", "Close options dialog", 88);
    button(HelpBtn, "HelpBtn", "&Help", "Display Help file", 168);
    button(AboutBtn, "AboutBtn", "About...", "Display About dialog", 317);
    OKBtn->SetDefault(true);
    CancelBtn->SetCancel(true);
    OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };
    HelpBtn->OnClick = [this](TObject* s) { HelpBtnClick(s); };
    AboutBtn->OnClick = [this](TObject* s) { AboutBtnClick(s); };

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnHide = [this](TObject* s) { FormHide(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnKeyDown = [this](TObject* s, unsigned& k, TShiftState sh) { FormKeyDown(s, k, sh); };
}

TOptionsDlg::~TOptionsDlg() {
    if (OptionsDlg == this) OptionsDlg = nullptr;
}

void TOptionsDlg::BuildSearchPage() {
    auto group = [&](TGroupBox*& g, const char* name, const char* caption, const char* hint, int l, int t, int w,
                     int h) {
        g = AddControl<TGroupBox>(this, tsSearch, name, l, t, w, h);
        g->SetCaption(caption);
        g->SetHint(hint);
    };
    auto box = [&](TCheckBox*& b, TWinControl* parent, const char* name, const char* caption, int l, int t) {
        b = AddControl<TCheckBox>(this, parent, name, l, t, 100, 17);
        b->SetCaption(caption);
        b->OnClick = [this](TObject*) { UpdateOkButton(); };
    };
    group(gbEntity, "gbEntity", "Pascal Entity", "Choose which pascal entity\rto search for", 8, 4, 120, 64);
    box(cbFunction, gbEntity, "cbFunction", "function", 10, 18);
    box(cbProcedure, gbEntity, "cbProcedure", "procedure", 10, 40);
    group(gbPart, "gbPart", "Unit Part", "Choose in which part of a unit\rto search in", 8, 72, 120, 64);
    box(cbInterface, gbPart, "cbInterface", "interface", 10, 18);
    box(cbImplementation, gbPart, "cbImplementation", "implementation", 10, 40);

    group(gbClass, "gbClass", "Class Entity", "Choose which class parts to\rsearch for", 136, 4, 228, 132);
    box(cbClass, gbClass, "cbClass", "class declaration", 10, 18);
    box(cbConstructor, gbClass, "cbConstructor", "constructor", 10, 38);
    box(cbDestructor, gbClass, "cbDestructor", "destructor", 10, 58);
    box(cbProperty, gbClass, "cbProperty", "property", 10, 78);
    box(cbClassFunction, gbClass, "cbClassFunction", "function", 124, 18);
    box(cbClassProcedure, gbClass, "cbClassProcedure", "procedure", 124, 38);
    box(cbField, gbClass, "cbField", "field", 124, 58);
    cbGivenClass = AddControl<TKwCheckBox>(this, gbClass, "cbGivenClass", 10, 104, 108, 17);
    cbGivenClass->SetCaption("of the given class");
    cbGivenClass->SetBevel(kbRaised);
    cbGivenClass->OnClick = [this](TObject*) { UpdateClassNameBox(); };
    cbClassName = AddControl<TComboBox>(this, gbClass, "cbClassName", 122, 102, 98, 21);

    group(gbSearch, "gbSearch", "List all occurences of", "Enter a keyword to search for", 8, 140, 356, 68);
    cbSearch = AddControl<TComboBox>(this, gbSearch, "cbSearch", 10, 16, 336, 21);
    cbSearch->OnChange = [this](TObject*) {
        UpdateOkButton();
        UpdateClassNameBox();
    };
    box(cbCase, gbSearch, "cbCase", "case sensitive", 10, 44);
    box(cbWord, gbSearch, "cbWord", "word search", 140, 44);

    auto button = [&](TButton*& b, const char* name, const char* caption, const char* hint, int left) {
        b = AddControl<TButton>(this, tsSearch, name, left, 216, 75, 25);
        b->SetCaption(caption);
        b->SetHint(hint);
    };
    button(SaveBtn, "SaveBtn", "&Save", "Save as default", 8);
    button(DefaultBtn, "DefaultBtn", "&Default", "Restore default options", 88);
    button(ClearAllBtn, "ClearAllBtn", "Clear &All", "Clear all options", 168);
    SaveBtn->OnClick = [this](TObject*) { SaveEntityOptions("Options Default"); };
    DefaultBtn->OnClick = [this](TObject*) {
        LoadEntityOptions("Options Default");
        UpdateClassNameBox();
        UpdateOkButton();
    };
    ClearAllBtn->OnClick = [this](TObject*) { ClearAll(); };
}

void TOptionsDlg::BuildFilesPage() {
    rgFiles = AddControl<TRadioGroup>(this, tsFiles, "rgFiles", 8, 4, 360, 58);
    rgFiles->SetCaption("Select Scope");
    rgFiles->SetHint("Select scope of the search");
    rgFiles->SetColumns(2);
    for (const char* item : {"Current File", "Current Project", "Directory"}) rgFiles->Items()->Add(item);
    rgFiles->OnClick = [this](TObject* s) { rgFilesClick(s); };

    gbFiles = AddControl<TGroupBox>(this, tsFiles, "gbFiles", 8, 66, 360, 176);
    gbFiles->SetCaption("Select Files");
    gbFiles->SetHint("Select files to search in");

    lblName = AddControl<TLabel>(this, gbFiles, "lblName", 10, 16, 80, 13);
    lblName->SetCaption("File Name");
    ebName = AddControl<TEdit>(this, gbFiles, "ebName", 10, 32, 164, 21);
    ebName->SetCharCase(TEditCharCase::ecLowerCase);
    ebName->SetMaxLength(int(NameLength));
    ebName->SetText("*.*");
    ebName->OnChange = [this](TObject* s) { ebNameChange(s); };
    lblName->SetFocusControl(ebName);

    lblDir = AddControl<TLabel>(this, gbFiles, "lblDir", 10, 58, 80, 13);
    lblDir->SetCaption("Directory");
    lbDir = AddControl<TDirectoryListBox>(this, gbFiles, "lbDir", 10, 74, 164, 68);
    lbDir->OnChange = [this](TObject* s) { lbDirChange(s); };
    lblDir->SetFocusControl(lbDir);
    cbDrive = AddControl<TDriveComboBox>(this, gbFiles, "cbDrive", 10, 146, 164, 21);
    cbDrive->OnChange = [this](TObject* s) { cbDriveChange(s); };

    lblFile = AddControl<TLabel>(this, gbFiles, "lblFile", 184, 16, 80, 13);
    lblFile->SetCaption("Files");
    lbFile = AddControl<TKwCheckList>(this, gbFiles, "lbFile", 184, 32, 166, 136);
    lbFile->SetMultiSelect(true);
    lblFile->SetFocusControl(lbFile);

    FileMenu = new TPopupMenu(this);
    FileMenu->SetName("FileMenu");
    auto item = [&](TMenuItem*& m, const char* name, const char* caption) {
        m = new TMenuItem(this);
        m->SetName(name);
        m->SetCaption(caption);
        FileMenu->Items()->Add(m);
    };
    item(miSelectAll, "miSelectAll", "&Select All");
    item(miToggleAll, "miToggleAll", "&Toggle All");
    item(miClearAll, "miClearAll", "&Clear All");
    auto checkAll = [this](bool Value) {
        lbFile->BeginCheck();
        for (int i = 0; i < lbFile->Items()->Count(); ++i) lbFile->SetItemChecked(i, Value);
        lbFile->EndCheck();
    };
    miSelectAll->OnClick = [checkAll](TObject*) { checkAll(true); };
    miClearAll->OnClick = [checkAll](TObject*) { checkAll(false); };
    miToggleAll->OnClick = [this](TObject*) {
        lbFile->BeginCheck();
        for (int i = 0; i < lbFile->Items()->Count(); ++i) lbFile->ToggleItem(i);
        lbFile->EndCheck();
    };
    lbFile->SetPopupMenu(FileMenu);
}

void TOptionsDlg::BuildDisplayPage() {
    gbFont = AddControl<TGroupBox>(this, tsDisplay, "gbFont", 8, 4, 360, 104);
    gbFont->SetCaption("Select Display Font");
    gbFont->SetHint("Select the fonts for results window");
    cbFontName = AddControl<TComboBox>(this, gbFont, "cbFontName", 10, 18, 200, 21);
    cbFontName->SetStyle(TComboBoxStyle::csDropDownList);
    cbFontName->OnChange = [this](TObject* s) { cbFontNameChange(s); };
    cbFontSize = AddControl<TComboBox>(this, gbFont, "cbFontSize", 218, 18, 56, 21);
    for (int size = 6; size <= 14; ++size) cbFontSize->Items()->Add(std::to_string(size));
    cbFontSize->OnChange = [this](TObject* s) { cbFontNameChange(s); };
    lblPreview = AddControl<TLabel>(this, gbFont, "lblPreview", 10, 46, 60, 13);
    lblPreview->SetCaption("Preview");
    pnlPreview = AddControl<TPanel>(this, gbFont, "pnlPreview", 10, 62, 340, 32);
    pnlPreview->SetBevelOuter(TPanelBevel::bvNone);
    pnlPreview->SetBorderStyle(TBorderStyle::bsSingle);
    pnlPreview->SetColor(clWhite);
    pnlPreview->SetCaption("");

    gbColor = AddControl<TGroupBox>(this, tsDisplay, "gbColor", 8, 114, 176, 76);
    gbColor->SetCaption("Select Display Color");
    gbColor->SetHint("Select color for results window");
    ColorGrid = AddControl<TColorGrid>(this, gbColor, "ColorGrid", 10, 18, 156, 48);
    ColorGrid->SetGridOrdering(TGridOrdering::go8x2);
    ColorGrid->SetBackgroundEnabled(false);
    ColorGrid->OnChange = [this](TObject* s) { cbFontNameChange(s); };

    gbOther = AddControl<TGroupBox>(this, tsDisplay, "gbOther", 192, 114, 176, 76);
    gbOther->SetCaption("Other");
    gbOther->SetHint("Select other display options");
    cbComment = AddControl<TCheckBox>(this, gbOther, "cbComment", 10, 20, 156, 17);
    cbComment->SetCaption("ignore commented text");
    cbIndentation = AddControl<TCheckBox>(this, gbOther, "cbIndentation", 10, 44, 156, 17);
    cbIndentation->SetCaption("ignore indentation level");
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
    if (first && ini.ReadBool("User Defined", "No File", false)) {
        lbFile->BeginCheck();
        for (int i = 0; i < lbFile->Items()->Count(); ++i) lbFile->SetItemChecked(i, false);
        lbFile->EndCheck();
    }

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
        SetLeft(OptionsIni->ReadInteger("Options Coords", "Left", DesignLeft));
        SetTop(OptionsIni->ReadInteger("Options Coords", "Top", DesignTop));
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
    NextAction = 1;
    Close();
}

void TOptionsDlg::CancelBtnClick(TObject*) {
    NextAction = 0;
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

} // namespace declsearch
