// The results window: the rows of a search under collapsible file headers, with the match in
// bold, a speed search, a pop-up menu of files, and the choice of a row to go to. The rules live
// in the results model; the window shows it and hands the user's input to it.
#pragma once

#include "declsearch/CheckBox.h"
#include "declsearch/ControlBar.h"
#include "declsearch/Results.h"

#include "vcl/EditCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"
#include "vcl/Menus.h"

#include <memory>

namespace declsearch {

class TKwRegIniFile;
class TIdeHooks;

class TMainDlg : public vcl::TForm {
public:
    // Store: the options store, for the display settings and the window's placement; may be null.
    TMainDlg(vcl::TComponent* AOwner, TKwRegIniFile* Store);
    ~TMainDlg() override;

    TResultsModel& Results() { return FModel; }

    // What a command hands in before a showing and reads back after it.
    TCommand NextAction() const { return FModel.NextAction(); }
    void SetNextAction(TCommand Value) { FModel.SetNextAction(Value); }
    const std::string& CurrentFile() const { return FModel.CurrentFile(); }
    void SetCurrentFile(std::string Value) { FModel.SetCurrentFile(std::move(Value)); }
    void SetProjectUnits(std::vector<std::string> Value) { FModel.SetProjectUnits(std::move(Value)); }
    int32_t GotoLine() const { return FModel.GotoLine(); }
    int32_t GotoColumn() const { return FModel.GotoColumn(); }
    vcl::TColor MatchColor() const { return vcl::TColor(FModel.MatchColor()); }
    int TextIndent() const { return FTextIndent; }

    // A search over the files the store names, its rows then shown.
    void Search(const TIdeHooks& Hooks);
    // Applies the font and match colour the last search read.
    void ApplyDisplaySettings();

    // The controls, named as the window's stored form names them.
    vcl::TListBox* ListBox = nullptr;
    TKWControlBar* TopBar = nullptr;
    vcl::TEdit* Edit = nullptr;
    TKwCheckBox* cbCase = nullptr;
    TKWControlSection* btnBack = nullptr;
    TKWControlSection* BtnFind = nullptr;
    TKWControlSection* BtnClose = nullptr;
    TKWControlSection* BtnHelp = nullptr;
    TKWControlBar* BottomBar = nullptr;
    TKWInfoSection* FileNameCaption = nullptr;
    TKWInfoSection* FileNameText = nullptr;
    TKWInfoSection* FileCaption = nullptr;
    TKWInfoSection* FileText = nullptr;
    TKWInfoSection* HitCaption = nullptr;
    TKWInfoSection* HitText = nullptr;
    vcl::TPopupMenu* ListBoxMnu = nullptr;
    vcl::TMenuItem *mnuExpand = nullptr, *mnuCollapse = nullptr, *N1 = nullptr;

    void FormCreate(vcl::TObject* Sender);
    void FormHide(vcl::TObject* Sender);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
    void FormKeyDown(vcl::TObject* Sender, unsigned& Key, vcl::TShiftState Shift);
    void FormKeyPress(vcl::TObject* Sender, char& Key);
    void EditChange(vcl::TObject* Sender);
    void btnBackClick(vcl::TObject* Sender);
    void BtnFindClick(vcl::TObject* Sender);
    void BtnCloseClick(vcl::TObject* Sender);
    void BtnHelpClick(vcl::TObject* Sender);
    void ListBoxClick(vcl::TObject* Sender);
    void ListBoxDblClick(vcl::TObject* Sender);
    void ListBoxDrawItem(vcl::TWinControl* Control, int Index, vcl::TRect Rect, vcl::TOwnerDrawState State);
    void ListBoxMnuPopup(vcl::TObject* Sender);
    void mnuExpandClick(vcl::TObject* Sender);
    void mnuCollapseClick(vcl::TObject* Sender);
    // An item of the pop-up's list of files: selects that file's header.
    void FileMenuItemClick(vcl::TObject* Sender);

    // Counts of the row paintings, for the benchmark.
    long RowsPainted() const { return FRowsPainted; }

private:
    void ReadPlacement();
    void SyncList();
    void SyncStatus();
    void CloseWith(TCommand Next);
    void Help(int Context);

    TResultsModel FModel;
    TKwRegIniFile* FStore;
    std::unique_ptr<vcl::TBitmap> FBookClosed, FBookOpen;
    int FTextIndent = 2;
    bool FSyncing = false;
    bool FSelecting = false;
    bool FReload = true;
    long FRowsPainted = 0;
};

} // namespace declsearch
