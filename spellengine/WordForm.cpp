// The word-count window, built as its stored form was.
#include "spellengine/WordForm.h"

#include "vcl/DialogBuilding.h"

#include <string>

namespace spellengine {

using namespace vcl;

namespace {
TWordForm* GInstance = nullptr;
} // namespace

TWordForm::TWordForm(TComponent* AOwner) : TForm(AOwner) {
    TLoadingBracket loading(this);
    SetUpDialogForm(this, "WordForm", "Word Count", 209, 97);

    lblWordsCaption = AddLabel(this, this, "lblWordsCaption", "Words:", 16, 14);
    lblUniqueCaption = AddLabel(this, this, "lblUniqueCaption", "Unique Words:", 16, 36);
    lblWords = AddLabel(this, this, "lblWords", "0", 112, 14);
    lblUniqueWords = AddLabel(this, this, "lblUniqueWords", "0", 112, 36);
    btnOk = AddControl<TButton>(this, this, "btnOk", 67, 62, 75, 25);
    btnOk->SetCaption("OK");
    btnOk->SetDefault(true);
    btnOk->OnClick = [this](TObject* s) { btnOkClick(s); };
    GInstance = this;
}

TWordForm::~TWordForm() {
    if (GInstance == this) GInstance = nullptr;
}

TWordForm* TWordForm::Instance() { return GInstance; }

void TWordForm::btnOkClick(TObject*) { Close(); }

void TWordForm::CountStarted() {
    if (!GInstance) Make<TWordForm>(Application);
    GInstance->lblWords->SetCaption("0");
    GInstance->lblUniqueWords->SetCaption("0");
    if (!GInstance->Visible()) GInstance->Show();
}

bool TWordForm::CountProgress(int Total, int Unique) {
    if (!GInstance) return false;
    GInstance->lblWords->SetCaption(std::to_string(Total));
    GInstance->lblUniqueWords->SetCaption(std::to_string(Unique));
    Application->ProcessMessages();
    return GInstance && GInstance->Visible();
}

} // namespace spellengine
