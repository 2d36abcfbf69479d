// The word-count window, built as its stored form was.
#include "spellengine/WordForm.h"

#include <string>

namespace spellengine {

using namespace vcl;

namespace {
TWordForm* GInstance = nullptr;
} // namespace

TWordForm::TWordForm(TComponent* AOwner) : TForm(AOwner) {
    TLoadingBracket loading(this);
    SetName("WordForm");
    SetCaption("Word Count");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    Font()->SetName("MS Sans Serif");
    Font()->SetSize(8);
    SetClientSize(209, 97);

    auto label = [this](const char* name, const char* caption, int left, int top) {
        auto* l = new TLabel(this);
        l->SetName(name);
        l->SetParent(this);
        l->SetBounds(left, top, 0, 0);
        l->SetCaption(caption);
        return l;
    };
    lblWordsCaption = label("lblWordsCaption", "Words:", 16, 14);
    lblUniqueCaption = label("lblUniqueCaption", "Unique Words:", 16, 36);
    lblWords = label("lblWords", "0", 112, 14);
    lblUniqueWords = label("lblUniqueWords", "0", 112, 36);
    btnOk = new TButton(this);
    btnOk->SetName("btnOk");
    btnOk->SetParent(this);
    btnOk->SetBounds(67, 62, 75, 25);
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
