// The "Delvo + Options" window: what to search for, where, and how the results look, read from
// and written to the options store; laid out by its form file OptionsDlg.dfm. Implementations in
// OptionsDlg.cpp.
#pragma once

#include "declsearch/CheckBox.h"
#include "declsearch/CheckList.h"
#include "declsearch/Commands.h"
#include "declsearch/OptionsStore.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/ColorGrd.h"
#include "vcl/ComCtrls.h"
#include "vcl/EditCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/FileCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include "rtl/StringLists.h"

#include <cstdint>
#include <memory>
#include <string>

namespace declsearch {

// The library's options store while it is loaded; the options window reads and writes it.
extern TKwRegIniFile* OptionsIni;

class TOptionsDlg : public vcl::TForm {
public:
    explicit TOptionsDlg(vcl::TComponent* AOwner);
    ~TOptionsDlg() override;

    vcl::TPageControl* PageControl1 = nullptr;
    vcl::TTabSheet *tsSearch = nullptr, *tsFiles = nullptr, *tsDisplay = nullptr;

    vcl::TGroupBox *gbEntity = nullptr, *gbPart = nullptr, *gbClass = nullptr, *gbSearch = nullptr;
    vcl::TCheckBox *cbFunction = nullptr, *cbProcedure = nullptr;
    vcl::TCheckBox *cbInterface = nullptr, *cbImplementation = nullptr;
    vcl::TCheckBox *cbClass = nullptr, *cbConstructor = nullptr, *cbDestructor = nullptr,
                   *cbClassFunction = nullptr, *cbClassProcedure = nullptr, *cbProperty = nullptr,
                   *cbField = nullptr;
    TKwCheckBox* cbGivenClass = nullptr;
    vcl::TComboBox* cbClassName = nullptr;
    vcl::TComboBox* cbSearch = nullptr;
    vcl::TCheckBox *cbCase = nullptr, *cbWord = nullptr;
    vcl::TButton *SaveBtn = nullptr, *DefaultBtn = nullptr, *ClearAllBtn = nullptr;

    vcl::TRadioGroup* rgFiles = nullptr;
    vcl::TGroupBox* gbFiles = nullptr;
    vcl::TLabel *lblName = nullptr, *lblDir = nullptr, *lblFile = nullptr;
    vcl::TEdit* ebName = nullptr;
    vcl::TDriveComboBox* cbDrive = nullptr;
    vcl::TDirectoryListBox* lbDir = nullptr;
    TKwCheckList* lbFile = nullptr;
    vcl::TPopupMenu* FileMenu = nullptr;
    vcl::TMenuItem *miSelectAll = nullptr, *miToggleAll = nullptr, *miClearAll = nullptr;

    vcl::TGroupBox *gbFont = nullptr, *gbColor = nullptr, *gbOther = nullptr;
    vcl::TComboBox *cbFontName = nullptr, *cbFontSize = nullptr;
    vcl::TLabel* lblPreview = nullptr;
    vcl::TPanel* pnlPreview = nullptr;
    vcl::TColorGrid* ColorGrid = nullptr;
    vcl::TCheckBox *cbComment = nullptr, *cbIndentation = nullptr;

    vcl::TButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr, *AboutBtn = nullptr;

    // Set by the options command before each showing.
    std::string CurrentFile;
    rtl::TStringList* ProjectUnits() const { return FProjectUnits.get(); }
    // What the command loop does after the window closed: a search, or nothing.
    TCommand NextAction = cmdNone;

    void LoadEntityOptions(const std::string& Section);
    void SaveEntityOptions(const std::string& Section);
    void LoadGeneralOptions();
    void SaveGeneralOptions();
    void ClearAll();
    void UpdateClassNameBox();
    void UpdateOkButton();
    void RebuildFileList();

    void FormCreate(vcl::TObject* Sender);
    void FormShow(vcl::TObject* Sender);
    void FormHide(vcl::TObject* Sender);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
    void FormKeyDown(vcl::TObject* Sender, unsigned& Key, vcl::TShiftState Shift);
    void cbEntityClick(vcl::TObject* Sender);
    void cbGivenClassClick(vcl::TObject* Sender);
    void cbSearchChange(vcl::TObject* Sender);
    void SaveBtnClick(vcl::TObject* Sender);
    void DefaultBtnClick(vcl::TObject* Sender);
    void ClearAllBtnClick(vcl::TObject* Sender);
    void miSelectAllClick(vcl::TObject* Sender);
    void miToggleAllClick(vcl::TObject* Sender);
    void miClearAllClick(vcl::TObject* Sender);
    void rgFilesClick(vcl::TObject* Sender);
    void ebNameChange(vcl::TObject* Sender);
    void lbDirChange(vcl::TObject* Sender);
    void cbDriveChange(vcl::TObject* Sender);
    void cbFontNameChange(vcl::TObject* Sender);
    void OKBtnClick(vcl::TObject* Sender);
    void CancelBtnClick(vcl::TObject* Sender);
    void HelpBtnClick(vcl::TObject* Sender);
    void AboutBtnClick(vcl::TObject* Sender);

private:
    void CheckAllFiles(bool Value);
    void LoadHistory(vcl::TComboBox* Box, const std::string& Section, const std::string& Ident);
    void SaveHistory(vcl::TComboBox* Box, const std::string& Section, const std::string& Ident);

    std::unique_ptr<rtl::TStringList> FProjectUnits;
    int FUpdating = 0;
    bool FInLocation = false;
};

// The library's options window while one exists.
extern TOptionsDlg* OptionsDlg;

} // namespace declsearch
