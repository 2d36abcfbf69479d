#include "spellexpert/SpellQuillo.h"

#include "spellexpert/QuilloDialog.h"

#include "vcl/Streaming.h"

namespace spellexpert {

void TSpellQuillo::SetDialogType(spellengine::TDialogTypes Value) {
    if (IsDesigning() || IsLoading()) {
        TZelSpellDlg::SetDialogType(Value);
        return;
    }
    delete Dialog();
    AdoptDialog(vcl::Make<TQuilloDlg>(DialogOwner()));
}

namespace {

struct TSpellQuilloRegistration {
    TSpellQuilloRegistration() { vcl::RegisterClass<TSpellQuillo>("TSpellQuillo", "TZelSpellDlg"); }
} spellQuilloRegistration;

} // namespace

} // namespace spellexpert
