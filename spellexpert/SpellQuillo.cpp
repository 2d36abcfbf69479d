#include "spellexpert/SpellQuillo.h"

#include "spellexpert/QuilloDialog.h"

namespace spellexpert {

void TSpellQuillo::SetDialogType(spellengine::TDialogTypes Value) {
    if (IsDesigning()) {
        TZelSpellDlg::SetDialogType(Value);
        return;
    }
    delete Dialog();
    AdoptDialog(vcl::Make<TQuilloDlg>(DialogOwner()));
}

} // namespace spellexpert
