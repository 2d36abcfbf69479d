// The main window: its layout is its form file; here is what it does.
#include "libconfig/Vormain.h"

#include "libconfig/ConfigReport.h"
#include "libconfig/Vorabout.h"
#include "libconfig/Vororder.h"
#include "libconfig/Vorpath.h"

#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/Dialogs.h"
#include "vcl/PrintDialogs.h"
#include "vcl/Streaming.h"

#include <utility>

namespace libconfig {

using namespace vcl;

std::string ProgramAliasStoreName() { return rtl::ChangeFileExt(rtl::GetModuleFileName(), ".ini"); }

// Laid out by its form file, Vormain.dfm.
TForm1::TForm1(TComponent* AOwner, std::string StoreFile) : TForm(AOwner), FStoreFile(std::move(StoreFile)) {
    // Neither smaller nor larger: the window cannot be resized.
    SetTrackingLimits(401, 469, 401, 469);
}

// The form's own destruction would run OnDestroy once this part of it is gone; FormDestroy
// needs the store and the bitmap, so it runs here.
TForm1::~TForm1() {
    TNotifyEvent destroy = std::move(OnDestroy);
    OnDestroy = nullptr;
    if (!destroy || IsDesigning()) return;
    try {
        destroy(this);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
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
    if (FUnboundChange) comboAlias->OnChange = std::exchange(FUnboundChange, nullptr);
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
    if (comboAlias->OnChange) FUnboundChange = std::exchange(comboAlias->OnChange, nullptr);
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

namespace {

struct TMainRegistration {
    TMainRegistration() {
        using F = TForm1;
        RegisterFormClass<F>("TForm1", "TForm",
                             {
                                 PublishedField("DrawPanel1", &F::DrawPanel1),
                                 PublishedField("ebSelect", &F::ebSelect),
                                 PublishedField("ebNew", &F::ebNew),
                                 PublishedField("ebRefresh", &F::ebRefresh),
                                 PublishedField("ebDelete", &F::ebDelete),
                                 PublishedField("ebPrint", &F::ebPrint),
                                 PublishedField("ebHelp", &F::ebHelp),
                                 PublishedField("ebExit", &F::ebExit),
                                 PublishedField("Panel1", &F::Panel1),
                                 PublishedField("Label1", &F::Label1),
                                 PublishedField("comboAlias", &F::comboAlias),
                                 PublishedField("Label2", &F::Label2),
                                 PublishedField("etLibFilename", &F::etLibFilename),
                                 PublishedField("Label3", &F::Label3),
                                 PublishedField("lbSearchPath", &F::lbSearchPath),
                                 PublishedField("Label4", &F::Label4),
                                 PublishedField("etUnitAliases", &F::etUnitAliases),
                                 PublishedField("GroupBox1", &F::GroupBox1),
                                 PublishedField("rbNoMap", &F::rbNoMap),
                                 PublishedField("rbSegments", &F::rbSegments),
                                 PublishedField("rbPublics", &F::rbPublics),
                                 PublishedField("rbDetailed", &F::rbDetailed),
                                 PublishedField("cbSaveSource", &F::cbSaveSource),
                                 PublishedField("cbDebugInfo", &F::cbDebugInfo),
                                 PublishedField("cbShowHints", &F::cbShowHints),
                                 PublishedField("cbShowWarnings", &F::cbShowWarnings),
                                 PublishedField("btnSave", &F::btnSave),
                                 PublishedField("btnC1", &F::btnC1),
                                 PublishedField("MainMenu1", &F::MainMenu1),
                                 PublishedField("File1", &F::File1),
                                 PublishedField("Print1", &F::Print1),
                                 PublishedField("PrinterSetup1", &F::PrinterSetup1),
                                 PublishedField("N1", &F::N1),
                                 PublishedField("Exit1", &F::Exit1),
                                 PublishedField("Library1", &F::Library1),
                                 PublishedField("Select1", &F::Select1),
                                 PublishedField("New1", &F::New1),
                                 PublishedField("Refresh1", &F::Refresh1),
                                 PublishedField("Delete1", &F::Delete1),
                                 PublishedField("Help1", &F::Help1),
                                 PublishedField("Contents1", &F::Contents1),
                                 PublishedField("SearchforHelpOn1", &F::SearchforHelpOn1),
                                 PublishedField("HowtouseHelp2", &F::HowtouseHelp2),
                                 PublishedField("N2", &F::N2),
                                 PublishedField("About1", &F::About1),
                                 PublishedField("PopupMenu1", &F::PopupMenu1),
                                 PublishedField("Add1", &F::Add1),
                                 PublishedField("Change1", &F::Change1),
                                 PublishedField("Delete2", &F::Delete2),
                                 PublishedField("N3", &F::N3),
                                 PublishedField("Order1", &F::Order1),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("FormDestroy", &F::FormDestroy),
                                 PublishedMethod("DrawPanel1Paint", &F::DrawPanel1Paint),
                                 PublishedMethod("comboAliasChange", &F::comboAliasChange),
                                 PublishedMethod("ebNewClick", &F::ebNewClick),
                                 PublishedMethod("ebRefreshClick", &F::ebRefreshClick),
                                 PublishedMethod("btnSaveClick", &F::btnSaveClick),
                                 PublishedMethod("btnC1Click", &F::btnC1Click),
                                 PublishedMethod("ebDeleteClick", &F::ebDeleteClick),
                                 PublishedMethod("ebSelectClick", &F::ebSelectClick),
                                 PublishedMethod("ebPrintClick", &F::ebPrintClick),
                                 PublishedMethod("Exit1Click", &F::Exit1Click),
                                 PublishedMethod("About1Click", &F::About1Click),
                                 PublishedMethod("Contents1Click", &F::Contents1Click),
                                 PublishedMethod("SearchforHelpOn1Click", &F::SearchforHelpOn1Click),
                                 PublishedMethod("HowtouseHelp2Click", &F::HowtouseHelp2Click),
                                 PublishedMethod("PrinterSetup1Click", &F::PrinterSetup1Click),
                                 PublishedMethod("PopupMenu1Popup", &F::PopupMenu1Popup),
                                 PublishedMethod("Add1Click", &F::Add1Click),
                                 PublishedMethod("Change1Click", &F::Change1Click),
                                 PublishedMethod("Delete2Click", &F::Delete2Click),
                                 PublishedMethod("Order1Click", &F::Order1Click),
                             });
    }
} registration;

} // namespace

} // namespace libconfig
