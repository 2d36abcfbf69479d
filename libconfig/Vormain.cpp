// The main window, laid out as its stored form has it, and its handlers.
#include "libconfig/Vormain.h"

#include "libconfig/ConfigReport.h"
#include "libconfig/Vorabout.h"
#include "libconfig/Vororder.h"
#include "libconfig/Vorpath.h"

#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/DialogBuilding.h"
#include "vcl/Dialogs.h"
#include "vcl/PrintDialogs.h"

namespace libconfig {

using namespace vcl;

std::string ProgramAliasStoreName() { return rtl::ChangeFileExt(rtl::GetModuleFileName(), ".ini"); }

TForm1::TForm1(TComponent* AOwner, std::string StoreFile) : TForm(AOwner), FStoreFile(std::move(StoreFile)) {
    TLoadingBracket loading(this);
    SetName("Form1");
    SetCaption(" Vorl");
    SetBorderIcons(biSystemMenu | biHelp);
    SetPosition(TPosition::poScreenCenter);
    SetBounds(0, 0, 401, 471);
    // Neither smaller nor larger: the window cannot be resized.
    SetTrackingLimits(401, 469, 401, 469);
    SetShowHint(true);

    BuildMenus();
    BuildToolbar();
    BuildClient();

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
}

// The form's own destruction runs FormDestroy while this part of it still stands.
TForm1::~TForm1() {
    try {
        FormDestroy(this);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

TMenuItem* TForm1::MenuItem(TMenuItem* Parent, const char* Name, const char* Caption,
                            void (TForm1::*Handler)(TObject*)) {
    auto* item = new TMenuItem(this);
    item->SetName(Name);
    item->SetCaption(Caption);
    if (Handler) item->OnClick = [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
    Parent->Add(item);
    return item;
}

void TForm1::BuildMenus() {
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    TMenuItem* root = MainMenu1->Items();
    File1 = MenuItem(root, "File1", "&File");
    // Enabled with the Print button; it prints as the button does.
    Print1 = MenuItem(File1, "Print1", "&Print", &TForm1::ebPrintClick);
    PrinterSetup1 = MenuItem(File1, "PrinterSetup1", "Printer &Setup", &TForm1::PrinterSetup1Click);
    N1 = MenuItem(File1, "N1", "-");
    Exit1 = MenuItem(File1, "Exit1", "E&xit", &TForm1::Exit1Click);
    Library1 = MenuItem(root, "Library1", "&Library");
    Select1 = MenuItem(Library1, "Select1", "&Select", &TForm1::ebSelectClick);
    New1 = MenuItem(Library1, "New1", "&New", &TForm1::ebNewClick);
    Refresh1 = MenuItem(Library1, "Refresh1", "&Refresh", &TForm1::ebRefreshClick);
    Delete1 = MenuItem(Library1, "Delete1", "&Delete", &TForm1::ebDeleteClick);
    Help1 = MenuItem(root, "Help1", "&Help");
    Contents1 = MenuItem(Help1, "Contents1", "&Contents", &TForm1::Contents1Click);
    SearchforHelpOn1 = MenuItem(Help1, "SearchforHelpOn1", "&Search for Help On...", &TForm1::SearchforHelpOn1Click);
    HowtouseHelp2 = MenuItem(Help1, "HowtouseHelp2", "&How to Use Help", &TForm1::HowtouseHelp2Click);
    N2 = MenuItem(Help1, "N2", "-");
    About1 = MenuItem(Help1, "About1", "&About...", &TForm1::About1Click);
    SetMenu(MainMenu1);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    root = PopupMenu1->Items();
    Add1 = MenuItem(root, "Add1", "&Add", &TForm1::Add1Click);
    Change1 = MenuItem(root, "Change1", "&Change", &TForm1::Change1Click);
    Delete2 = MenuItem(root, "Delete2", "&Delete", &TForm1::Delete2Click);
    N3 = MenuItem(root, "N3", "-");
    Order1 = MenuItem(root, "Order1", "&Order", &TForm1::Order1Click);
    PopupMenu1->OnPopup = [this](TObject* Sender) { PopupMenu1Popup(Sender); };
}

TExplorerButton* TForm1::ToolButton(const char* Name, int Left, const char* Caption, const char* Hint,
                                    TShadingType Shading, const char* Picture) {
    auto* button = AddControl<TExplorerButton>(this, DrawPanel1, Name, Left, 5, 55, 43);
    button->SetCaption(Caption);
    button->SetHint(Hint);
    button->SetOptions(boMonoDisplay | boPopupMark);
    button->SetShadingType(Shading);
    TBitmap picture;
    picture.LoadFromResourceName(nullptr, Picture);
    button->SetBitmap(&picture);
    return button;
}

void TForm1::BuildToolbar() {
    DrawPanel1 = new TDrawPanel(this);
    DrawPanel1->SetName("DrawPanel1");
    DrawPanel1->SetParent(this);
    DrawPanel1->SetAlign(TAlign::alTop);
    DrawPanel1->SetHeight(53);
    DrawPanel1->SetBevelInner(TPanelBevel::bvRaised);
    DrawPanel1->SetBevelOuter(TPanelBevel::bvLowered);
    DrawPanel1->SetCaption("");
    DrawPanel1->SetHelpContext(13);
    DrawPanel1->OnPaint = [this](TObject* Sender) { DrawPanel1Paint(Sender); };

    using enum TShadingType;
    ebSelect = ToolButton("ebSelect", 7, "Apply", "Apply the selected library alias", stDark, "TBAPPLY");
    ebNew = ToolButton("ebNew", 61, "New", "Create a new library alias", stMedium, "TBNEW");
    ebRefresh = ToolButton("ebRefresh", 115, "Refresh", "Refresh the selected library alias", stDark, "TBREFRESH");
    ebDelete = ToolButton("ebDelete", 169, "Delete", "Delete the selected library alias", stDark, "TBDELETE");
    ebPrint = ToolButton("ebPrint", 223, "Print", "Print the library alias report", stDark, "TBPRINT");
    ebHelp = ToolButton("ebHelp", 277, "Help", "Get help on Vorl", stDark, "TBHELP");
    ebExit = ToolButton("ebExit", 331, "Exit", "", stDark, "TBEXIT");
    TBitmap picture;
    picture.LoadFromResourceName(nullptr, "TBREFRESHOFF");
    ebRefresh->SetNoFocusBitmap(&picture);
    picture.LoadFromResourceName(nullptr, "TBDELETEOFF");
    ebDelete->SetDisabledBitmap(&picture);

    ebSelect->OnClick = [this](TObject* Sender) { ebSelectClick(Sender); };
    ebNew->OnClick = [this](TObject* Sender) { ebNewClick(Sender); };
    ebRefresh->OnClick = [this](TObject* Sender) { ebRefreshClick(Sender); };
    ebDelete->OnClick = [this](TObject* Sender) { ebDeleteClick(Sender); };
    ebPrint->OnClick = [this](TObject* Sender) { ebPrintClick(Sender); };
    ebHelp->OnClick = [this](TObject* Sender) { Contents1Click(Sender); };
    ebExit->OnClick = [this](TObject* Sender) { Exit1Click(Sender); };
}

void TForm1::BuildClient() {
    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetAlign(TAlign::alClient);
    Panel1->SetBevelOuter(TPanelBevel::bvLowered);
    Panel1->SetCaption("");

    auto label = [this](const char* Name, const char* Caption, int Top, TWinControl* FocusControl) {
        auto* l = AddControl<TLabel>(this, Panel1, Name, 12, Top, 120, 13);
        l->SetCaption(Caption);
        l->SetFocusControl(FocusControl);
        return l;
    };
    auto field = [this](const char* Name, int Top, int HelpContext) {
        auto* e = AddControl<TEdit>(this, Panel1, Name, 12, Top, 365, 21);
        e->SetReadOnly(true);
        e->SetColor(clBtnFace);
        e->SetHelpContext(HelpContext);
        return e;
    };

    comboAlias = AddControl<TComboBox>(this, Panel1, "comboAlias", 12, 26, 365, 21);
    comboAlias->SetStyle(TComboBoxStyle::csDropDownList);
    comboAlias->SetMaxLength(40);
    comboAlias->SetHelpContext(1);
    comboAlias->OnChange = [this](TObject* Sender) { comboAliasChange(Sender); };
    Label1 = label("Label1", "Library alias:", 10, comboAlias);

    etLibFilename = field("etLibFilename", 70, 2);
    Label2 = label("Label2", "Library filename:", 54, etLibFilename);

    lbSearchPath = AddControl<TListBox>(this, Panel1, "lbSearchPath", 12, 114, 365, 91);
    lbSearchPath->SetHelpContext(3);
    lbSearchPath->SetPopupMenu(PopupMenu1);
    Label3 = label("Label3", "Search path:", 98, lbSearchPath);

    etUnitAliases = field("etUnitAliases", 227, 5);
    Label4 = label("Label4", "Unit Aliases:", 211, etUnitAliases);

    GroupBox1 = AddControl<TGroupBox>(this, Panel1, "GroupBox1", 12, 258, 105, 100);
    GroupBox1->SetCaption("Map file");
    GroupBox1->SetHelpContext(4);
    auto radio = [this](const char* Name, const char* Caption, int Top) {
        auto* r = AddControl<TRadioButton>(this, GroupBox1, Name, 10, Top, 85, 17);
        r->SetCaption(Caption);
        r->SetHelpContext(4);
        return r;
    };
    rbNoMap = radio("rbNoMap", "Off", 18);
    rbSegments = radio("rbSegments", "Segments", 37);
    rbPublics = radio("rbPublics", "Publics", 56);
    rbDetailed = radio("rbDetailed", "Detailed", 75);

    auto check = [this](const char* Name, const char* Caption, int Top, int HelpContext) {
        auto* c = AddControl<TCheckBox>(this, Panel1, Name, 130, Top, 170, 17);
        c->SetCaption(Caption);
        c->SetHelpContext(HelpContext);
        return c;
    };
    cbSaveSource = check("cbSaveSource", "Save Library Source Code", 264, 9);
    cbDebugInfo = check("cbDebugInfo", "Compile with Debug Info", 287, 6);
    cbShowHints = check("cbShowHints", "Show Compiler Hints", 310, 7);
    cbShowWarnings = check("cbShowWarnings", "Show Compiler Warnings", 333, 8);

    auto button = [this](const char* Name, const char* Caption, int Top, const char* Hint, int HelpContext) {
        auto* b = AddControl<TButton>(this, Panel1, Name, 302, Top, 75, 25);
        b->SetCaption(Caption);
        b->SetHint(Hint);
        b->SetHelpContext(HelpContext);
        b->SetEnabled(false);
        return b;
    };
    btnSave = button("btnSave", "&Save", 296, "Save library alias details", 11);
    btnC1 = button("btnC1", "&Cancel", 331, "Cancel update of library alias", 12);
    btnSave->OnClick = [this](TObject* Sender) { btnSaveClick(Sender); };
    btnC1->OnClick = [this](TObject* Sender) { btnC1Click(Sender); };
}

// --- Showing ----------------------------------------------------------------------------------

void TForm1::SetButtonStates(bool Apply, bool New, bool Refresh, bool Delete, bool Print, bool Help) {
    ebSelect->SetEnabled(Apply);
    Select1->SetEnabled(Apply);
    ebNew->SetEnabled(New);
    New1->SetEnabled(New);
    ebRefresh->SetEnabled(Refresh);
    Refresh1->SetEnabled(Refresh);
    ebDelete->SetEnabled(Delete);
    Delete1->SetEnabled(Delete);
    ebPrint->SetEnabled(Print);
    Print1->SetEnabled(Print);
    ebHelp->SetEnabled(Help);
    Help1->SetEnabled(Help);
}

void TForm1::FillAliasBox() {
    comboAlias->Items()->Clear();
    rtl::TStringList& aliases = FStore->Aliases();
    for (int i = 0; i < aliases.Count(); ++i) comboAlias->Items()->AddObject(aliases.Get(i), aliases.Objects(i));
}

int TForm1::MapLevel() const {
    if (rbSegments->Checked()) return 1;
    if (rbPublics->Checked()) return 2;
    if (rbDetailed->Checked()) return 3;
    return 0;
}

void TForm1::SetMapLevel(int Level) {
    TRadioButton* buttons[] = {rbNoMap, rbSegments, rbPublics, rbDetailed};
    if (Level < 0 || Level > 3) return;
    for (int i = 0; i < 4; ++i) buttons[i]->SetChecked(i == Level);
}

void TForm1::ShowValues(const TAliasValues& Values) {
    etLibFilename->SetText(Values.LibraryFile);
    lbSearchPath->Items()->Clear();
    for (const std::string& entry : Values.SearchPath) lbSearchPath->Items()->Add(entry);
    etUnitAliases->SetText(Values.UnitAliases);
    SetMapLevel(Values.MapFile);
    cbSaveSource->SetChecked(Values.SaveSource);
    cbDebugInfo->SetChecked(Values.DebugInfo);
    cbShowHints->SetChecked(Values.Hints);
    cbShowWarnings->SetChecked(Values.Warnings);
}

TAliasValues TForm1::ShownValues() {
    TAliasValues v;
    v.AliasName = comboAlias->Text();
    v.LibraryFile = etLibFilename->Text();
    for (int i = 0; i < lbSearchPath->Items()->Count(); ++i) v.SearchPath.push_back(lbSearchPath->Items()->Get(i));
    v.UnitAliases = etUnitAliases->Text();
    v.MapFile = MapLevel();
    v.SaveSource = cbSaveSource->Checked();
    v.DebugInfo = cbDebugInfo->Checked();
    v.Hints = cbShowHints->Checked();
    v.Warnings = cbShowWarnings->Checked();
    return v;
}

void TForm1::ShowAlias(int Index) {
    TIniRecord* record = Index >= 0 ? FStore->Record(Index) : nullptr;
    FShownIndex = record ? Index : -1;
    if (!record) {
        ShowValues(TAliasValues{});
        SetButtonStates(false, true, false, false, false, true);
        return;
    }
    ShowValues(ValuesOf(*record));
    SetButtonStates(true, true, true, true, true, true);
}

void TForm1::AliasBoxToList() {
    comboAlias->SetStyle(TComboBoxStyle::csDropDownList);
    comboAlias->SetEnabled(true);
    comboAlias->OnChange = [this](TObject* Sender) { comboAliasChange(Sender); };
}

bool TForm1::Editing() const { return btnSave->Enabled(); }

// --- Life ---------------------------------------------------------------------------------------

void TForm1::FormCreate(TObject*) {
    Application->SetHelpFile(rtl::ExtractFilePath(rtl::GetModuleFileName()) + "vorl.hlp");
    FToolbarBitmap = std::make_unique<TBitmap>();
    FToolbarBitmap->LoadFromResourceName(nullptr, "MYBITMAP");
    FStore = std::make_unique<TAliasStore>(FStoreFile.empty() ? ProgramAliasStoreName() : FStoreFile);
    FStore->LoadAll();
    FillAliasBox();
    const int first = comboAlias->Items()->Count() > 0 ? 0 : -1;
    comboAlias->SetItemIndex(first);
    ShowAlias(first);
}

void TForm1::FormDestroy(TObject*) {
    Application->HelpCommand(HELP_QUIT, 0);
    FStore.reset();
    FToolbarBitmap.reset();
}

void TForm1::DrawPanel1Paint(TObject*) {
    if (!FToolbarBitmap || FToolbarBitmap->Empty()) return;
    const int right = DrawPanel1->Width() - 4, bottom = DrawPanel1->Height() - 2;
    win::BitBlt(DrawPanel1->Canvas()->Handle(), 2, 2, right - 2, bottom - 2, FToolbarBitmap->Canvas()->Handle(), 2, 2,
                win::SRCCOPY);
}

// --- Aliases ------------------------------------------------------------------------------------

void TForm1::comboAliasChange(TObject*) {
    // Choosing another alias drops a pending path edit with the values it was made on.
    btnSave->SetEnabled(false);
    btnC1->SetEnabled(false);
    ShowAlias(comboAlias->ItemIndex());
}

void TForm1::ebNewClick(TObject*) {
    FEditKind = TEditKind::ekNew;
    SetButtonStates(false, false, false, false, false, true);
    comboAlias->OnChange = nullptr;
    comboAlias->SetStyle(TComboBoxStyle::csDropDown);
    comboAlias->SetText("");
    btnSave->SetEnabled(true);
    btnC1->SetEnabled(true);
    TAliasValues v = ShownValues();
    ReadIDESettings(v);
    ShowValues(v);
    comboAlias->SetFocus();
}

void TForm1::ebRefreshClick(TObject*) {
    FEditKind = TEditKind::ekExisting;
    SetButtonStates(false, false, false, false, false, true);
    comboAlias->SetEnabled(false);
    btnSave->SetEnabled(true);
    btnC1->SetEnabled(true);
    TAliasValues v = ShownValues();
    ReadIDESettings(v);
    ShowValues(v);
}

void TForm1::btnSaveClick(TObject*) {
    TAliasValues v = ShownValues();
    TIniRecord* record = FEditKind == TEditKind::ekExisting ? FStore->Record(FShownIndex) : nullptr;
    if (record) {
        if (MessageDlg("Ok to overwrite library configuration for \n'" + v.AliasName + "'?", TMsgDlgType::mtConfirmation,
                       mbYes | mbNo, 0) != mrYes)
            return;
    }
    if (rtl::Trim(v.AliasName).empty()) {
        MessageDlg("Library alias must not be blank!", TMsgDlgType::mtError, mbOK, 0);
        if (comboAlias->CanFocus()) comboAlias->SetFocus();
        return;
    }
    // Written first: a refused write leaves the edit open as it was, and the error box tells why.
    FStore->Save(v, record);
    const int shown = record ? FShownIndex : FStore->Aliases().Count() - 1;
    btnSave->SetEnabled(false);
    btnC1->SetEnabled(false);
    FillAliasBox();
    AliasBoxToList();
    comboAlias->SetItemIndex(shown);
    ShowAlias(shown);
}

void TForm1::btnC1Click(TObject*) {
    btnSave->SetEnabled(false);
    btnC1->SetEnabled(false);
    AliasBoxToList();
    comboAlias->SetItemIndex(FShownIndex);
    ShowAlias(FShownIndex);
}

void TForm1::ebDeleteClick(TObject*) {
    if (FShownIndex < 0) return;
    if (MessageDlg("Delete the selected library configuration entry?", TMsgDlgType::mtConfirmation, mbYes | mbNo, 0) !=
        mrYes)
        return;
    FStore->Delete(FShownIndex);
    FillAliasBox();
    const int first = comboAlias->Items()->Count() > 0 ? 0 : -1;
    comboAlias->SetItemIndex(first);
    ShowAlias(first);
}

void TForm1::ebSelectClick(TObject*) {
    TApplyResult result = ApplyToIDE(ShownValues());
    const TMsgDlgType type = result.Refused  ? TMsgDlgType::mtWarning
                             : result.Failed ? TMsgDlgType::mtError
                                             : TMsgDlgType::mtInformation;
    MessageDlg(result.Message, type, mbOK, 0);
}

void TForm1::ebPrintClick(TObject*) {
    if (MessageDlg("Ok to print library configuration report?", TMsgDlgType::mtConfirmation, mbYes | mbNo, 0) != mrYes)
        return;
    struct TCursorBack {
        ~TCursorBack() { Screen->SetCursor(crDefault); }
    } cursorBack;
    Screen->SetCursor(crHourGlass);
    TDelphiConfigReport report;
    report.SetAliasStore(FStore.get());
    report.PrintReport();
}

// --- Other commands ----------------------------------------------------------------------------

void TForm1::Exit1Click(TObject*) { Close(); }

void TForm1::About1Click(TObject*) {
    std::unique_ptr<TfrmAbout> about(Make<TfrmAbout>(this));
    about->ShowModal();
}

void TForm1::Contents1Click(TObject*) { Application->HelpCommand(HELP_CONTENTS, 0); }

void TForm1::SearchforHelpOn1Click(TObject*) {
    static const char none[] = "";
    Application->HelpCommand(HELP_PARTIALKEY, std::uintptr_t(none));
}

void TForm1::HowtouseHelp2Click(TObject*) {
    const std::string own = Application->HelpFile();
    Application->SetHelpFile("winhelp.hlp");
    struct TBack {
        std::string File;
        ~TBack() { Application->SetHelpFile(File); }
    } back{own};
    Application->HelpCommand(HELP_CONTENTS, 0);
}

void TForm1::PrinterSetup1Click(TObject*) {
    TPrinterSetupDialog dialog(nullptr);
    dialog.Execute();
}

// --- The search path ----------------------------------------------------------------------------

void TForm1::PopupMenu1Popup(TObject*) {
    // An alias must be shown, or one being made; Add needs no entry, so an empty path gets its
    // first one, and the last entry can go.
    const bool alias = FShownIndex >= 0 || Editing();
    const bool selected = alias && lbSearchPath->ItemIndex() >= 0;
    Add1->SetEnabled(alias);
    Change1->SetEnabled(selected);
    Delete2->SetEnabled(selected);
    Order1->SetEnabled(selected && lbSearchPath->Items()->Count() >= 2);
}

void TForm1::PathEdited() {
    // A path edit begun while browsing is one of the shown alias.
    if (!Editing()) FEditKind = TEditKind::ekExisting;
    SetButtonStates(false, false, false, false, false, true);
    btnSave->SetEnabled(true);
    btnC1->SetEnabled(true);
}

void TForm1::Add1Click(TObject*) {
    std::unique_ptr<TfrmPathEdit> edit(Make<TfrmPathEdit>(this));
    edit->SetChangeMode(false);
    edit->Edit1->SetText("");
    if (edit->ShowModal() != mrOk) return;
    lbSearchPath->Items()->Add(edit->Edit1->Text());
    lbSearchPath->SetItemIndex(lbSearchPath->Items()->Count() - 1);
    PathEdited();
}

void TForm1::Change1Click(TObject*) {
    const int index = lbSearchPath->ItemIndex();
    if (index < 0) return;
    std::unique_ptr<TfrmPathEdit> edit(Make<TfrmPathEdit>(this));
    edit->SetChangeMode(true);
    edit->Edit1->SetText(lbSearchPath->Items()->Get(index));
    if (edit->ShowModal() != mrOk) return;
    lbSearchPath->Items()->Put(index, edit->Edit1->Text());
    lbSearchPath->SetItemIndex(index);
    PathEdited();
}

void TForm1::Delete2Click(TObject*) {
    const int index = lbSearchPath->ItemIndex();
    if (index < 0) return;
    lbSearchPath->Items()->Delete(index);
    lbSearchPath->SetItemIndex(lbSearchPath->Items()->Count() > 0 ? 0 : -1);
    PathEdited();
}

void TForm1::Order1Click(TObject*) {
    {
        std::unique_ptr<TfrmPathOrder> order(Make<TfrmPathOrder>(this));
        order->lbSearchPath->Items()->Assign(*lbSearchPath->Items());
        if (order->ShowModal() == mrOk) {
            lbSearchPath->Items()->Assign(*order->lbSearchPath->Items());
            PathEdited();
        }
    }
    lbSearchPath->SetItemIndex(lbSearchPath->Items()->Count() > 0 ? 0 : -1);
    if (lbSearchPath->CanFocus()) lbSearchPath->SetFocus();
}

} // namespace libconfig
