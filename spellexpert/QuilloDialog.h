// The product's own layout of the spell dialog: a narrow, tall window laid over the IDE's
// Object Inspector, with the unknown word, the replacement, the suggestions and two columns of
// buttons that follow the window's width. Implementations in QuilloDialog.cpp.
#pragma once

#include "spellengine/SpellDialogs.h"

namespace spellexpert {

class TQuilloDlg : public spellengine::TAbsSpellDialog {
public:
    explicit TQuilloDlg(vcl::TComponent* AOwner);

    void SetStatusText(const std::string& S) override;
    void SetBadWord(const std::string& S) override;
    void ApplyLabelLanguage() override {}
    void SetAccentIcons(spellengine::TAccentSet) override {}

    // Right-aligns the fields and list, centres the picture and spreads the buttons over the
    // client width in two columns.
    void FormResize(vcl::TObject* Sender);
    void FormShow(vcl::TObject* Sender);
    void edtWordChange(vcl::TObject* Sender);

    vcl::TImage* Image1;
    vcl::TLabel* lblFound;
    spellengine::TEnterEdit* edtCurWord;
    vcl::TLabel* lblChange;
    vcl::TBitBtn* btnSuggest;
    vcl::TBitBtn* btnAdd;
    vcl::TBitBtn* btnReplaceAll;
    vcl::TBitBtn* btnHelp;
    vcl::TBitBtn* btnClose;
};

} // namespace spellexpert
