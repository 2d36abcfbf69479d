// The spell-check component of the expert's editor window: whatever dialog style it is given at
// run time, it shows the product's own dialog (QuilloDialog.h).
#pragma once

#include "spellexpert/ZelSpellDlg.h"

namespace spellexpert {

class TSpellQuillo : public TZelSpellDlg {
public:
    using TZelSpellDlg::TZelSpellDlg;

    void SetDialogType(spellengine::TDialogTypes Value) override;
};

} // namespace spellexpert
