// The Property Expert's wizard: three pages that describe a new property of a class of the
// current unit, and an options page for the stored defaults; laid out by its form file PropForm.dfm.
// Implementations in PropForm.cpp.
#pragma once

#include "experts/PropDefaults.h"
#include "experts/PropScan.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/ComCtrls.h"
#include "vcl/EditCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"
#include "vcl/StdCtrls.h"

#include <memory>
#include <string>

namespace experts {

class TfrmProperties : public vcl::TForm {
public:
    explicit TfrmProperties(vcl::TComponent* AOwner);
    ~TfrmProperties() override;

    vcl::TPageControl* pgeProperties = nullptr;
    vcl::TTabSheet* tabName = nullptr;
    vcl::TTabSheet* tabAccess = nullptr;
    vcl::TTabSheet* tabOther = nullptr;
    vcl::TTabSheet* tabOptions = nullptr;
    vcl::TButton* btnBack = nullptr;
    vcl::TButton* btnNext = nullptr;
    vcl::TButton* btnCancel = nullptr;
    vcl::TButton* btnOK = nullptr;
    vcl::TButton* btnOptions = nullptr;
    vcl::TStatusBar* barStatus = nullptr;
    // Property
    vcl::TComboBox* cbxClass = nullptr;
    vcl::TEdit* edtName = nullptr;
    vcl::TComboBox* cbxVisibility = nullptr;
    vcl::TComboBox* cbxDataType = nullptr;
    vcl::TRadioButton* optTypeSimple = nullptr;
    vcl::TRadioButton* optTypeEnum = nullptr;
    vcl::TRadioButton* optTypeProc = nullptr;
    vcl::TCheckBox* chkArray = nullptr;
    vcl::TEdit* edtArrayIndexes = nullptr;
    vcl::TCheckBox* chkArrayDefault = nullptr;
    // Storage
    vcl::TRadioButton* optReadNone = nullptr;
    vcl::TRadioButton* optReadDirect = nullptr;
    vcl::TRadioButton* optReadMethod = nullptr;
    vcl::TEdit* edtReadField = nullptr;
    vcl::TEdit* edtReadMethod = nullptr;
    vcl::TRadioButton* optWriteNone = nullptr;
    vcl::TRadioButton* optWriteDirect = nullptr;
    vcl::TRadioButton* optWriteMethod = nullptr;
    vcl::TEdit* edtWriteField = nullptr;
    vcl::TEdit* edtWriteMethod = nullptr;
    vcl::TCheckBox* chkSameReadWriteField = nullptr;
    vcl::TComboBox* cbxMethodVisibility = nullptr;
    vcl::TComboBox* cbxOverride = nullptr;
    // Other
    vcl::TCheckBox* chkDefault = nullptr;
    vcl::TEdit* edtDefault = nullptr;
    vcl::TCheckBox* chkIndex = nullptr;
    vcl::TEdit* edtIndex = nullptr;
    vcl::TCheckBox* chkStorage = nullptr;
    vcl::TEdit* edtStorage = nullptr;
    // Options
    vcl::TComboBox* cbxOptDataType = nullptr;
    vcl::TComboBox* cbxOptVisibility = nullptr;
    vcl::TCheckBox* chkOptArray = nullptr;
    vcl::TEdit* edtOptArrayIndex = nullptr;
    vcl::TComboBox* cbxOptReadAccessType = nullptr;
    vcl::TEdit* edtOptReadMethodPrefix = nullptr;
    vcl::TComboBox* cbxOptWriteAccessType = nullptr;
    vcl::TEdit* edtOptWriteMethodPrefix = nullptr;
    vcl::TEdit* edtOptDataFieldPrefix = nullptr;
    vcl::TComboBox* cbxOptMethodVisibility = nullptr;
    vcl::TComboBox* cbxOptMethodOverride = nullptr;

    // Readies the window for the current unit; raises when the unit has no class.
    void PrepareWizard();
    int Mode() const { return FMode; }
    const TPropDefault& Defaults() const { return *FDefaults; }
    // The choices as they stand, as the insertion reads them.
    TPropChoices Choices();

    void FormCreate(vcl::TObject* Sender);
    void FormShow(vcl::TObject* Sender);
    void pgePropertiesChanging(vcl::TObject* Sender, bool& AllowChange);
    void btnNextClick(vcl::TObject* Sender);
    void btnBackClick(vcl::TObject* Sender);
    void btnOKClick(vcl::TObject* Sender);
    void btnCancelClick(vcl::TObject* Sender);
    void btnOptionsClick(vcl::TObject* Sender);
    void edtNameChange(vcl::TObject* Sender);
    void edtNameExit(vcl::TObject* Sender);
    void cbxVisibilityExit(vcl::TObject* Sender);
    void cbxMethodVisibilityExit(vcl::TObject* Sender);
    void cbxOverrideExit(vcl::TObject* Sender);
    void optTypeSimpleClick(vcl::TObject* Sender);
    void chkArrayClick(vcl::TObject* Sender);
    void optReadNoneClick(vcl::TObject* Sender);
    void optReadDirectClick(vcl::TObject* Sender);
    void optReadMethodClick(vcl::TObject* Sender);
    void optWriteNoneClick(vcl::TObject* Sender);
    void optWriteDirectClick(vcl::TObject* Sender);
    void optWriteMethodClick(vcl::TObject* Sender);
    void edtReadFieldExit(vcl::TObject* Sender);
    void edtWriteFieldExit(vcl::TObject* Sender);
    void edtReadMethodExit(vcl::TObject* Sender);
    void edtWriteMethodExit(vcl::TObject* Sender);
    void chkDefaultClick(vcl::TObject* Sender);
    void chkIndexClick(vcl::TObject* Sender);
    void chkStorageClick(vcl::TObject* Sender);

private:
    void SetMode(int Mode);
    void ShowPageText();
    void ShowHint(vcl::TObject* Sender);
    void SetReadField(const std::string& Name);
    void SetWriteField(const std::string& Name);
    void MethodButtonsChanged();
    // The page's check; false after its messages.
    bool PageComplete(vcl::TTabSheet* Page);
    void Refuse(const std::string& Text);

    std::unique_ptr<TPropDefault> FDefaults;
    int FMode = 0;
    int FVisibility = 3;
    int FMethodVisibility = 0;
    int FReadAccess = atDataField;
    int FWriteAccess = atDataField;
    std::string FReadMethod, FWriteMethod, FReadField, FWriteField, FOverride;
    TScanResult FScan;
    // Off while the buttons turn pages, so that the page check runs once.
    bool FTurning = false;
};

} // namespace experts
