// The product's spell dialog: its layout is its form file (QuilloDialog.dfm), inherited from the
// spell dialog family's; here is what it does.
#include "spellexpert/QuilloDialog.h"

#include "vcl/Streaming.h"
#include "win/Windows.h"

#include <initializer_list>

namespace spellexpert {

using namespace vcl;
using namespace spellengine;

// Out of line, so that a module making the window links its registration too.
TQuilloDlg::TQuilloDlg(TComponent* AOwner) : TAbsSpellDialog(AOwner) {}

void TQuilloDlg::AfterConstruction() {
    TAbsSpellDialog::AfterConstruction();
    if (IsDesigning()) return;
    SetTrackingLimits(197, 380, 197, win::GetSystemMetrics(win::SM_CYSCREEN));
    FormResize(this);
}

void TQuilloDlg::SetStatusText(const std::string& S) { lblFound->SetCaption(S); }
void TQuilloDlg::SetBadWord(const std::string& S) { edtCurWord->SetText(S); }

void TQuilloDlg::FormResize(TObject*) {
    const int w = ClientWidth();
    for (TControl* c : std::initializer_list<TControl*>{edtCurWord, edtWord, lstSuggest})
        c->SetLeft(w - c->Width() - 2);
    Image1->SetLeft(w / 2 - Image1->Width() / 2);
    for (TButton* b : std::initializer_list<TButton*>{btnSuggest, btnReplace, btnSkip, btnHelp}) b->SetBounds(1, b->Top(), w / 2 - 1, b->Height());
    for (TButton* b : std::initializer_list<TButton*>{btnAdd, btnReplaceAll, btnSkipAll, btnClose}) {
        b->SetWidth(w / 2 - 1);
        b->SetLeft(w - b->Width() - 1);
    }
}

void TQuilloDlg::FormShow(TObject* Sender) {
    FormResize(Sender);
    SetVisible(true);
}

void TQuilloDlg::edtWordChange(TObject*) { SetVisible(true); }

namespace {

struct TQuilloDlgRegistration {
    TQuilloDlgRegistration() {
        using F = TQuilloDlg;
        RegisterFormClass<F>("TQuilloDlg", "TAbsSpellDialog",
                             {
                                 PublishedField("Image1", &F::Image1),
                                 PublishedField("lblFound", &F::lblFound),
                                 PublishedField("edtCurWord", &F::edtCurWord),
                                 PublishedField("lblChange", &F::lblChange),
                                 PublishedField("btnSuggest", &F::btnSuggest),
                                 PublishedField("btnAdd", &F::btnAdd),
                                 PublishedField("btnReplaceAll", &F::btnReplaceAll),
                                 PublishedField("btnHelp", &F::btnHelp),
                                 PublishedField("btnClose", &F::btnClose),
                             },
                             {
                                 PublishedMethod("FormResize", &F::FormResize),
                                 PublishedMethod("FormShow", &F::FormShow),
                                 PublishedMethod("edtWordChange", &F::edtWordChange),
                             });
    }
} registration;

} // namespace

} // namespace spellexpert
