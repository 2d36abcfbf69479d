// The product's own layout of the spell dialog: a narrow, tall window laid over the IDE's
// Object Inspector, with the unknown word, the replacement, the suggestions and two columns of
// buttons that follow the window's width; laid out by its form file QuilloDialog.dfm.
// Implementations in QuilloDialog.cpp.
#pragma once

#include "spellengine/SpellDialogs.h"

namespace spellexpert {

class TQuilloDlg : public spellengine::TAbsSpellDialog {
public:
    explicit TQuilloDlg(vcl::TComponent* AOwner);
    // The window's width is fixed and its height at least the design's; the layout follows.
    void AfterConstruction() override;

    void SetStatusText(const std::string& S) override;
    void SetBadWord(const std::string& S) override;
    void ApplyLabelLanguage() override {}
    void SetAccentIcons(spellengine::TAccentSet) override {}

    // Right-aligns the fields and list, centres the picture and spreads the buttons over the
    // client width in two columns.
    void FormResize(vcl::TObject* Sender);
    void FormShow(vcl::TObject* Sender);
    void edtWordChange(vcl::TObject* Sender);

    vcl::TImage* Image1 = nullptr;
    vcl::TLabel* lblFound = nullptr;
    spellengine::TEnterEdit* edtCurWord = nullptr;
    vcl::TLabel* lblChange = nullptr;
    vcl::TBitBtn* btnSuggest = nullptr;
    vcl::TBitBtn* btnAdd = nullptr;
    vcl::TBitBtn* btnReplaceAll = nullptr;
    vcl::TBitBtn* btnHelp = nullptr;
    vcl::TBitBtn* btnClose = nullptr;
};

} // namespace spellexpert
