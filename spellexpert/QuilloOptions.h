// The options window: edits the settings record (Settings.h), laid out by its form file
// QuilloOptions.dfm. It reads the file when it is made and copies its controls into the record
// on OK; the main window writes the file.
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

    vcl::TGroupBox* gbQuillo = nullptr;
    vcl::TImage* imgQuillo = nullptr;
    vcl::TCheckBox* cbOverwrite = nullptr;
    vcl::TCheckBox* cbBackup = nullptr;
    vcl::TCheckBox* cbSyntaxHi = nullptr;
    vcl::TGroupBox* gbVmkSpell = nullptr;
    vcl::TBevel* Bevel1 = nullptr;
    vcl::TImage* imgVmkSpell = nullptr;
    vcl::TCheckBox* cbAutoSuggest = nullptr;
    vcl::TCheckBox* cbShowGlyphs = nullptr;
    vcl::TLabel* lblSuggestions = nullptr;
    vcl::TSpinEdit* seSuggestions = nullptr;
    vcl::TBitBtn* btnOk = nullptr;
    vcl::TBitBtn* btnCancel = nullptr;
    vcl::TBitBtn* btnHtlp = nullptr;
};

} // namespace spellexpert
