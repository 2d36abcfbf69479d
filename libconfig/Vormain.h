// Vorl's main window: shows one stored alias at a time, makes aliases from the IDE's settings,
// edits their search path, saves, deletes, prints them and applies one to the IDE. Its button
// states carry the program's states. Laid out by its form file Vormain.dfm; implementations in
// Vormain.cpp.
#pragma once

#include "libconfig/AliasStore.h"
#include "libconfig/DrawPanel.h"
#include "libconfig/ExplorerButton.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/EditCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"
#include "vcl/Menus.h"

#include <memory>
#include <string>

namespace libconfig {

// The store beside the program: its own file name with ".ini" for its extension.
std::string ProgramAliasStoreName();

class TForm1 : public vcl::TForm {
public:
    // StoreFile: the alias store to open; empty for the one beside the program.
    explicit TForm1(vcl::TComponent* AOwner, std::string StoreFile = {});
    ~TForm1() override;

    enum class TEditKind { ekNew, ekExisting };
    TEditKind EditKind() const { return FEditKind; }
    TAliasStore* Store() const { return FStore.get(); }

    TDrawPanel* DrawPanel1 = nullptr;
    TExplorerButton* ebSelect = nullptr;
    TExplorerButton* ebNew = nullptr;
    TExplorerButton* ebRefresh = nullptr;
    TExplorerButton* ebDelete = nullptr;
    TExplorerButton* ebPrint = nullptr;
    TExplorerButton* ebHelp = nullptr;
    TExplorerButton* ebExit = nullptr;

    vcl::TPanel* Panel1 = nullptr;
    vcl::TLabel* Label1 = nullptr;
    vcl::TComboBox* comboAlias = nullptr;
    vcl::TLabel* Label2 = nullptr;
    vcl::TEdit* etLibFilename = nullptr;
    vcl::TLabel* Label3 = nullptr;
    vcl::TListBox* lbSearchPath = nullptr;
    vcl::TLabel* Label4 = nullptr;
    vcl::TEdit* etUnitAliases = nullptr;
    vcl::TGroupBox* GroupBox1 = nullptr;
    vcl::TRadioButton* rbNoMap = nullptr;
    vcl::TRadioButton* rbSegments = nullptr;
    vcl::TRadioButton* rbPublics = nullptr;
    vcl::TRadioButton* rbDetailed = nullptr;
    vcl::TCheckBox* cbSaveSource = nullptr;
    vcl::TCheckBox* cbDebugInfo = nullptr;
    vcl::TCheckBox* cbShowHints = nullptr;
    vcl::TCheckBox* cbShowWarnings = nullptr;
    vcl::TButton* btnSave = nullptr;
    vcl::TButton* btnC1 = nullptr;

    vcl::TMainMenu* MainMenu1 = nullptr;
    vcl::TMenuItem* File1 = nullptr;
    vcl::TMenuItem* Print1 = nullptr;
    vcl::TMenuItem* PrinterSetup1 = nullptr;
    vcl::TMenuItem* N1 = nullptr;
    vcl::TMenuItem* Exit1 = nullptr;
    vcl::TMenuItem* Library1 = nullptr;
    vcl::TMenuItem* Select1 = nullptr;
    vcl::TMenuItem* New1 = nullptr;
    vcl::TMenuItem* Refresh1 = nullptr;
    vcl::TMenuItem* Delete1 = nullptr;
    vcl::TMenuItem* Help1 = nullptr;
    vcl::TMenuItem* Contents1 = nullptr;
    vcl::TMenuItem* SearchforHelpOn1 = nullptr;
    vcl::TMenuItem* HowtouseHelp2 = nullptr;
    vcl::TMenuItem* N2 = nullptr;
    vcl::TMenuItem* About1 = nullptr;
    vcl::TPopupMenu* PopupMenu1 = nullptr;
    vcl::TMenuItem* Add1 = nullptr;
    vcl::TMenuItem* Change1 = nullptr;
    vcl::TMenuItem* Delete2 = nullptr;
    vcl::TMenuItem* N3 = nullptr;
    vcl::TMenuItem* Order1 = nullptr;

    void SetButtonStates(bool Apply, bool New, bool Refresh, bool Delete, bool Print, bool Help);
    void ShowAlias(int Index);

    void FormCreate(vcl::TObject* Sender);
    void FormDestroy(vcl::TObject* Sender);
    void DrawPanel1Paint(vcl::TObject* Sender);
    void comboAliasChange(vcl::TObject* Sender);
    void ebNewClick(vcl::TObject* Sender);
    void ebRefreshClick(vcl::TObject* Sender);
    void btnSaveClick(vcl::TObject* Sender);
    void btnC1Click(vcl::TObject* Sender);
    void ebDeleteClick(vcl::TObject* Sender);
    void ebSelectClick(vcl::TObject* Sender);
    void ebPrintClick(vcl::TObject* Sender);
    void Exit1Click(vcl::TObject* Sender);
    void About1Click(vcl::TObject* Sender);
    void Contents1Click(vcl::TObject* Sender);
    void SearchforHelpOn1Click(vcl::TObject* Sender);
    void HowtouseHelp2Click(vcl::TObject* Sender);
    void PrinterSetup1Click(vcl::TObject* Sender);
    void PopupMenu1Popup(vcl::TObject* Sender);
    void Add1Click(vcl::TObject* Sender);
    void Change1Click(vcl::TObject* Sender);
    void Delete2Click(vcl::TObject* Sender);
    void Order1Click(vcl::TObject* Sender);

private:
    // The alias box as a plain drop-down list that shows the selected alias on a change.
    void AliasBoxToList();
    // Whether an edit (New, Refresh or a path edit) waits for Save or Cancel.
    bool Editing() const;
    // A finished Add, Change, Delete or Order of the search path.
    void PathEdited();
    TAliasValues ShownValues();
    void ShowValues(const TAliasValues& Values);
    int MapLevel() const;
    void FillAliasBox();
    void SetMapLevel(int Level);

    std::string FStoreFile;
    std::unique_ptr<TAliasStore> FStore;
    std::unique_ptr<vcl::TBitmap> FToolbarBitmap;
    // The alias box's change handler while New has it unbound.
    vcl::TNotifyEvent FUnboundChange;
    TEditKind FEditKind = TEditKind::ekExisting;
    // The alias shown while browsing, and the one that New, Refresh or a path edit started from.
    int FShownIndex = -1;
};

} // namespace libconfig
