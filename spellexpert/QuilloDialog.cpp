#include "spellexpert/QuilloDialog.h"

#include "vcl/DialogBuilding.h"
#include "win/Windows.h"

#include <initializer_list>

namespace spellexpert {

using namespace vcl;
using namespace spellengine;

namespace {

TBitBtn* AddButton(TForm* Form, const char* Name, const char* Caption, int Top, const char* Glyph) {
    return AddLayoutButton<TBitBtn>(Form, Form, Name, Caption, 0, Top, 94, 28, Glyph);
}

} // namespace

TQuilloDlg::TQuilloDlg(TComponent* AOwner) : TAbsSpellDialog(AOwner) {
    TLoadingBracket loading(this);
    SetName("QuilloDlg");
    SetCaption("Object Inspector");
    SetBorderIcons(biSystemMenu | biMinimize);
    Font()->SetName("MS Sans Serif");
    Font()->SetSize(8);
    SetBounds(0, 0, 200, 365);
    SetTrackingLimits(197, 380, 197, win::GetSystemMetrics(win::SM_CYSCREEN));

    Image1 = AddControl<TImage>(this, this, "Image1", 0, 1, 40, 32);
    Image1->SetCenter(true);
    Image1->SetTransparent(true);
    Image1->Picture()->Bitmap()->LoadFromResourceName(nullptr, "QUILLO");

    lblFound = AddControl<TLabel>(this, this, "lblFound", 4, 38, 0, 0);
    lblFound->SetCaption("Not Found:");
    edtCurWord = AddControl<TEnterEdit>(this, this, "edtCurWord", 68, 33, 120, 21);
    edtCurWord->SetReadOnly(true);
    edtCurWord->SetText("Checking...");
    lblChange = AddControl<TLabel>(this, this, "lblChange", 4, 61, 0, 0);
    lblChange->SetCaption("Change &To:");
    edtWord = AddControl<TEnterEdit>(this, this, "edtWord", 68, 58, 120, 21);
    lblChange->SetFocusControl(edtWord);
    lstSuggest = AddControl<TNewListBox>(this, this, "lstSuggest", 4, 84, 184, 108);
    // A standard list box measures its rows by its font; drawn by the list, they are 16 high.
    lstSuggest->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    lstSuggest->SetItemHeight(16);

    btnSuggest = AddButton(this, "btnSuggest", "&Suggest", 193, "SPSUGGEST");
    btnAdd = AddButton(this, "btnAdd", "&Add", 193, "SPADD");
    btnReplace = AddButton(this, "btnReplace", "&Change", 221, "SPREPLACE");
    btnReplaceAll = AddButton(this, "btnReplaceAll", "C&hange All", 221, "SPREPLACEALL");
    btnSkip = AddButton(this, "btnSkip", "&Ignore", 249, "SPSKIP");
    btnSkipAll = AddButton(this, "btnSkipAll", "I&gnore All", 249, "SPSKIPALL");
    btnHelp = AddButton(this, "btnHelp", "", 277, nullptr);
    btnHelp->SetKind(TBitBtnKind::bkHelp);
    btnClose = AddButton(this, "btnClose", "Cancel", 277, "SPCLOSE");
    btnClose->SetCancel(true);

    // Change All stores the change-all result, not the Change button's.
    btnSuggest->OnClick = [this](TObject* s) { btnSuggestClick(s); };
    btnAdd->OnClick = [this](TObject* s) { btnAddClick(s); };
    btnReplace->OnClick = [this](TObject* s) { btnReplaceClick(s); };
    btnReplaceAll->OnClick = [this](TObject* s) { btnReplaceAllClick(s); };
    btnSkip->OnClick = [this](TObject* s) { btnSkipClick(s); };
    btnSkipAll->OnClick = [this](TObject* s) { btnSkipAllClick(s); };
    btnClose->OnClick = [this](TObject* s) { btnCloseClick(s); };
    edtWord->OnChange = [this](TObject* s) { edtWordChange(s); };
    edtWord->OnKeyUp = [this](TObject* s, unsigned& k, TShiftState sh) { QuickSuggest(s, k, sh); };
    lstSuggest->OnChange = [this](TObject* s) { lstSuggestChange(s); };
    lstSuggest->OnDblClick = [this](TObject* s) { lstSuggestDblClick(s); };
    OnResize = [this](TObject* s) { FormResize(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
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

} // namespace spellexpert
