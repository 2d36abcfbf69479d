// The word-count window: its layout is its form file (WordForm.dfm); here is what it does.
#include "spellengine/WordForm.h"

#include "vcl/Streaming.h"

#include <string>

namespace spellengine {

using namespace vcl;

namespace {
TWordForm* GInstance = nullptr;
} // namespace

// Out of line, so that a module making the window links its registration too.
TWordForm::TWordForm(TComponent* AOwner) : TForm(AOwner) {}

TWordForm::~TWordForm() {
    if (GInstance == this) GInstance = nullptr;
}

TWordForm* TWordForm::Instance() { return GInstance; }

void TWordForm::btnOkClick(TObject*) { Close(); }

void TWordForm::CountStarted() {
    if (!GInstance) GInstance = Make<TWordForm>(Application);
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

namespace {

struct TWordFormRegistration {
    TWordFormRegistration() {
        using F = TWordForm;
        RegisterFormClass<F>("TWordForm", "TForm",
                             {
                                 PublishedField("lblWordsCaption", &F::lblWordsCaption),
                                 PublishedField("lblUniqueCaption", &F::lblUniqueCaption),
                                 PublishedField("lblWords", &F::lblWords),
                                 PublishedField("lblUniqueWords", &F::lblUniqueWords),
                                 PublishedField("btnOk", &F::btnOk),
                             },
                             {PublishedMethod("btnOkClick", &F::btnOkClick)});
    }
} registration;

} // namespace

} // namespace spellengine
