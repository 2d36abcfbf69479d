// The options window: edits the settings record (Settings.h). It reads the file when it is
// made and copies its controls into the record on OK; the main window writes the file.
// Implementations in QuilloOptions.cpp.
#pragma once

#include "vcl/Buttons.h"
#include "vcl/ButtonCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Spin.h"
#include "vcl/StdCtrls.h"

namespace spellexpert {

inline constexpr int OptionsHelpContext = 200;

class TfrmOptions : public vcl::TForm {
public:
    explicit TfrmOptions(vcl::TComponent* AOwner);

    void FormCreate(vcl::TObject* Sender);
    void btnOkClick(vcl::TObject* Sender);
    void btnHtlpClick(vcl::TObject* Sender);

    vcl::TGroupBox* gbQuillo;
    vcl::TImage* imgQuillo;
    vcl::TCheckBox* cbOverwrite;
    vcl::TCheckBox* cbBackup;
    vcl::TCheckBox* cbSyntaxHi;
    vcl::TGroupBox* gbVmkSpell;
    vcl::TBevel* Bevel1;
    vcl::TImage* imgVmkSpell;
    vcl::TCheckBox* cbAutoSuggest;
    vcl::TCheckBox* cbShowGlyphs;
    vcl::TLabel* lblSuggestions;
    vcl::TSpinEdit* seSuggestions;
    vcl::TBitBtn* btnOk;
    vcl::TBitBtn* btnCancel;
    vcl::TBitBtn* btnHtlp;
};

} // namespace spellexpert
