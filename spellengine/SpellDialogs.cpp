// The spell dialog family: the shared operations over the layouts' controls, and what each
// layout does; their controls come from the form files.
#include "spellengine/SpellDialogs.h"

#include "spellengine/Dictionary.h"
#include "spellengine/Suggestions.h"
#include "spellengine/WordBuffers.h"
#include "vcl/StoredControls.h"

#include <array>

namespace spellengine {

using namespace vcl;

namespace {

// The caption tables, one row per language.
constexpr std::array<const char*, 1> kFormCaptions = {"Spell Checker"};
constexpr std::array<std::array<const char*, 10>, 1> kWPCaptions = {{
    {"Found", "Not Found", "Replace &With", "Sugg&estions", "&Replace", "&Add", "Skip &Once", "Skip &Always",
     "&Suggest", "Close"},
}};
constexpr std::array<std::array<const char*, 15>, 1> kMSCaptions = {{
    {"In Dictionary:", "Not in Dictionary:", "Change &To:", "Suggestio&ns:", "&Change", "C&hange All", "&Add",
     "&Ignore", "I&gnore All", "&Suggest", "Cancel", "AutoCorrect", "&Options", "&Undo Last", "Help"},
}};
constexpr std::array<std::array<const char*, 9>, 1> kW96Captions = {{
    {"Spell Check", "Word Found:", "Word in Question:", "&Replace", "Replace All", "&Add", "Skip &Once",
     "Skip &Always", "&Done"},
}};

// Shows the hourglass until it goes out of scope.
class THourGlass {
public:
    THourGlass() : FSaved(Screen->Cursor()) { Screen->SetCursor(crHourGlass); }
    ~THourGlass() { Screen->SetCursor(FSaved); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor FSaved;
};

} // namespace

// --- TNewListBox, TEnterEdit ------------------------------------------------------------------

void TNewListBox::Change() {
    if (OnChange) OnChange(this);
}

void TNewListBox::Click() {
    TListBox::Click();
    if (ItemIndex() != -1) Change();
}

void TEnterEdit::KeyDown(unsigned& Key, TShiftState Shift) {
    if ((Shift & ssCtrl) && (Key == win::VK_UP || Key == win::VK_DOWN)) {
        std::string text = Text();
        for (std::size_t i = 0; i < text.size(); ++i) {
            char& c = text[i];
            if (Key == win::VK_UP || i == 0) {
                if (c >= 'a' && c <= 'z') c = char(c - 32);
            } else if (c >= 'A' && c <= 'Z') {
                c = char(c + 32);
            }
        }
        SetText(text);
        Key = 0;
        return;
    }
    TEdit::KeyDown(Key, Shift);
}

void TEnterEdit::KeyPress(char& Key) {
    if (Key == '\r') {
        if (TCustomForm* form = GetParentForm(this)) form->Perform(win::WM_NEXTDLGCTL, 0, 0);
        Key = 0;
        return;
    }
    TEdit::KeyPress(Key);
}

// --- TAbsSpellDialog --------------------------------------------------------------------------

TAbsSpellDialog::TAbsSpellDialog(TComponent* AOwner) : TForm(AOwner) {}

void TAbsSpellDialog::AfterConstruction() {
    TForm::AfterConstruction();
    if (!IsDesigning()) SetAccentIcons(0);
}

void TAbsSpellDialog::SetStatusText(const std::string&) { throw rtl::EAbstractError("Abstract Error"); }
void TAbsSpellDialog::SetBadWord(const std::string&) { throw rtl::EAbstractError("Abstract Error"); }
void TAbsSpellDialog::SetAccentIcons(TAccentSet) { throw rtl::EAbstractError("Abstract Error"); }

void TAbsSpellDialog::CreateParams(TCreateParams& Params) {
    TForm::CreateParams(Params);
    if (Parent()) Params.WndParent = Parent()->Handle();
}

void TAbsSpellDialog::SetLabelLanguage(TLanguages Value) {
    FLabelLanguage = Value;
    ApplyLabelLanguage();
}

void TAbsSpellDialog::HideGlyphs() {
    TBitmap none;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TBitBtn*>(Components(i)))
            if (!button->Glyph()->Empty()) button->SetGlyph(&none);
}

void TAbsSpellDialog::SetReplacement(const std::string& S) {
    if (edtWord) edtWord->SetText(S);
}

void TAbsSpellDialog::GetReplacement(std::string& S) { S = edtWord ? edtWord->Text() : std::string(); }

void TAbsSpellDialog::FocusReplacement() {
    if (btnReplace && btnReplace->CanFocus()) SetActiveControl(btnReplace);
    if (edtWord && edtWord->CanFocus()) SetActiveControl(edtWord);
}

void TAbsSpellDialog::ApplyLabelLanguage() {
    if (FLabelLanguage != TLanguages::lgEnglish) SetCaption(kFormCaptions[std::size_t(FLabelLanguage)]);
}

void TAbsSpellDialog::EnableSkip() {
    if (btnSkip) btnSkip->SetEnabled(true);
    if (btnSkipAll) btnSkipAll->SetEnabled(true);
}

void TAbsSpellDialog::DisableSkip() {
    if (btnSkip) btnSkip->SetEnabled(false);
    if (btnSkipAll) btnSkipAll->SetEnabled(false);
}

void TAbsSpellDialog::ClearSuggestions() {
    if (lstSuggest) lstSuggest->Clear();
}

void TAbsSpellDialog::ShowSuggestions() {
    {
        THourGlass busy;
        Application->ProcessMessages();
        if (ActiveDictionary() && edtWord && lstSuggest) {
            std::string word = edtWord->Text().substr(0, 255);
            auto list = ActiveDictionary()->Suggest(word, FSuggestions);
            lstSuggest->Items()->Assign(*list);
            if (lstSuggest->Items()->Count() > 0) SetReplacement(lstSuggest->Items()->Strings(0));
        }
    }
    if (btnReplace && btnReplace->CanFocus()) SetActiveControl(btnReplace);
}

void TAbsSpellDialog::btnReplaceClick(TObject*) { FResult = srReplace; }
void TAbsSpellDialog::btnReplaceAllClick(TObject*) { FResult = srReplaceAll; }
void TAbsSpellDialog::btnAddClick(TObject*) { FResult = srAdd; }
void TAbsSpellDialog::btnSkipClick(TObject*) { FResult = srSkip; }
void TAbsSpellDialog::btnSkipAllClick(TObject*) { FResult = srSkipAll; }
void TAbsSpellDialog::btnCloseClick(TObject*) { FResult = srClose; }
void TAbsSpellDialog::btnSuggestClick(TObject*) { ShowSuggestions(); }

void TAbsSpellDialog::TakeSelectedSuggestion() {
    if (lstSuggest && edtWord && lstSuggest->ItemIndex() != -1)
        edtWord->SetText(lstSuggest->Items()->Strings(lstSuggest->ItemIndex()));
}

void TAbsSpellDialog::lstSuggestChange(TObject*) { TakeSelectedSuggestion(); }
void TAbsSpellDialog::lstSuggestClick(TObject*) { TakeSelectedSuggestion(); }
void TAbsSpellDialog::lstSuggestEnter(TObject*) { TakeSelectedSuggestion(); }

void TAbsSpellDialog::lstSuggestDblClick(TObject* Sender) {
    TakeSelectedSuggestion();
    btnReplaceClick(Sender);
}

void TAbsSpellDialog::AccentClick(TObject* Sender) {
    auto* button = dynamic_cast<TSpeedButton*>(Sender);
    if (!button || !edtWord) return;
    std::string caption = button->Caption();
    if (!caption.empty()) edtWord->SetSelText(caption.substr(0, 1));
}

void TAbsSpellDialog::QuickSuggest(TObject*, unsigned& Key, TShiftState Shift) {
    if (Shift & (ssShift | ssCtrl | ssAlt | ssLeft | ssRight | ssMiddle)) return;
    if (Key > 255 || !WordChars()[Key]) return;
    if (!edtWord || !lstSuggest) return;
    const std::string text = edtWord->Text();
    if (text.empty()) {
        lstSuggest->Clear();
    } else if (ActiveDictionary()) {
        auto list = ActiveDictionary()->CompleteWord(text, FSuggestions);
        lstSuggest->Items()->Assign(*list);
    }
}

namespace {

// The suggestion list and its label start just below the accent panel's top; with accents shown
// they move down by the panel's height and the list shrinks by it.
void PlaceUnderAccents(TPanel* Icons, TNewListBox* List, TLabel* Label, int ListHeight, TAccentSet Value) {
    const int top = Icons->Top() + 1;
    const int h = (Value & acSpanish) ? Icons->Height() : 0;
    Icons->SetVisible(h != 0);
    List->SetBounds(List->Left(), top + h, List->Width(), ListHeight - h);
    Label->SetTop(top + 3 + h);
}

} // namespace

// --- TWPSpellDlg ------------------------------------------------------------------------------

TWPSpellDlg::TWPSpellDlg(TComponent* AOwner) : TAbsSpellDialog(AOwner) {}

void TWPSpellDlg::SetStatusText(const std::string& S) { lblFound->SetCaption(S); }
void TWPSpellDlg::SetBadWord(const std::string& S) { lblNotFound->SetCaption(S); }

void TWPSpellDlg::ApplyLabelLanguage() {
    TAbsSpellDialog::ApplyLabelLanguage();
    const auto& t = kWPCaptions[std::size_t(LabelLanguage())];
    lblFound->SetCaption(t[0]);
    lblReplace->SetCaption(t[2]);
    lblSuggestions->SetCaption(t[3]);
    btnReplace->SetCaption(t[4]);
    btnAdd->SetCaption(t[5]);
    btnSkip->SetCaption(t[6]);
    btnSkipAll->SetCaption(t[7]);
    btnSuggest->SetCaption(t[8]);
    btnClose->SetCaption(t[9]);
}

// Without accents the list starts just below the panel's top; with them it and its label move
// down by the panel's height. Both come from the places without the panel, so setting it twice
// lays out the same.
void TWPSpellDlg::SetAccentIcons(TAccentSet Value) {
    PlaceUnderAccents(pnlIcons, lstSuggest, lblSuggestions, 161, Value);
}

// --- TMSSpellDlg ------------------------------------------------------------------------------

TMSSpellDlg::TMSSpellDlg(TComponent* AOwner) : TAbsSpellDialog(AOwner) {}

void TMSSpellDlg::SetStatusText(const std::string& S) { lblFound->SetCaption(S); }
void TMSSpellDlg::SetBadWord(const std::string& S) { edtCurWord->SetText(S); }

void TMSSpellDlg::ApplyLabelLanguage() {
    TAbsSpellDialog::ApplyLabelLanguage();
    const auto& t = kMSCaptions[std::size_t(LabelLanguage())];
    lblFound->SetCaption(t[0]);
    TControl* const controls[] = {lblReplace, lblSuggestions, btnReplace,     btnReplaceAll, btnAdd,
                                  btnSkip,    btnSkipAll,     btnSuggest,     btnClose,      btnAutoCorrect,
                                  btnOptions, btnUndo,        btnHelp};
    for (std::size_t i = 0; i < std::size(controls); ++i) controls[i]->SetCaption(t[i + 2]);
}

void TMSSpellDlg::SetAccentIcons(TAccentSet Value) {
    PlaceUnderAccents(pnlIcons, lstSuggest, lblSuggestions, 137, Value);
}

// --- TW96SpellDlg -----------------------------------------------------------------------------

TW96SpellDlg::TW96SpellDlg(TComponent* AOwner) : TAbsSpellDialog(AOwner) {}

void TW96SpellDlg::SetStatusText(const std::string& S) { lblFound->SetCaption(S); }
void TW96SpellDlg::SetBadWord(const std::string&) {}

void TW96SpellDlg::ApplyLabelLanguage() {
    TAbsSpellDialog::ApplyLabelLanguage();
    const auto& t = kW96Captions[std::size_t(LabelLanguage())];
    lblSpellChk->SetCaption(t[0]);
    lblFound->SetCaption(t[1]);
    btnReplace->SetCaption(t[3]);
    btnReplaceAll->SetCaption(t[4]);
    btnAdd->SetCaption(t[5]);
    btnSkip->SetCaption(t[6]);
    btnSkipAll->SetCaption(t[7]);
    btnClose->SetCaption(t[8]);
}

void TW96SpellDlg::SetAccentIcons(TAccentSet Value) {
    lstSuggest->SetHeight(48);
    pnlIcons->SetVisible(false);
    if (Value & acSpanish)
        pnlIcons->SetVisible(true);
    else
        lstSuggest->SetHeight(48 + pnlIcons->Height());
}

void TW96SpellDlg::edtWordExit(TObject*) {
    if (dynamic_cast<TBitBtn*>(ActiveControl())) return;
    if (!ActiveDictionary()) return;
    const auto& t = kW96Captions[std::size_t(LabelLanguage())];
    if (ActiveDictionary()->IsKnownWord(AnsiToOemWord(edtWord->Text()))) {
        lblFound->SetCaption(t[1]);
        if (btnReplace->CanFocus()) SetActiveControl(btnReplace);
    } else {
        lblFound->SetCaption(t[2]);
    }
}

// --- Registration for stored forms -----------------------------------------------------------

namespace {

struct TSpellDialogsRegistration {
    TSpellDialogsRegistration() {
        RegisterClass<TNewListBox>("TNewListBox", "TListBox",
                                   {EventProperty<TNewListBox>("OnChange", &TNewListBox::OnChange)});
        RegisterClass<TEnterEdit>("TEnterEdit", "TEdit");
        using A = TAbsSpellDialog;
        RegisterFormClass<A>("TAbsSpellDialog", "TForm",
                             {
                                 PublishedField("edtWord", &A::edtWord),
                                 PublishedField("lstSuggest", &A::lstSuggest),
                                 PublishedField("btnReplace", &A::btnReplace),
                                 PublishedField("btnSkip", &A::btnSkip),
                                 PublishedField("btnSkipAll", &A::btnSkipAll),
                             },
                             {
                                 PublishedMethod("btnReplaceClick", &A::btnReplaceClick),
                                 PublishedMethod("btnReplaceAllClick", &A::btnReplaceAllClick),
                                 PublishedMethod("btnAddClick", &A::btnAddClick),
                                 PublishedMethod("btnSkipClick", &A::btnSkipClick),
                                 PublishedMethod("btnSkipAllClick", &A::btnSkipAllClick),
                                 PublishedMethod("btnCloseClick", &A::btnCloseClick),
                                 PublishedMethod("btnSuggestClick", &A::btnSuggestClick),
                                 PublishedMethod("lstSuggestChange", &A::lstSuggestChange),
                                 PublishedMethod("lstSuggestClick", &A::lstSuggestClick),
                                 PublishedMethod("lstSuggestEnter", &A::lstSuggestEnter),
                                 PublishedMethod("lstSuggestDblClick", &A::lstSuggestDblClick),
                                 PublishedMethod("AccentClick", &A::AccentClick),
                                 PublishedMethod("QuickSuggest", &A::QuickSuggest),
                             });
        using W = TWPSpellDlg;
        RegisterFormClass<W>("TWPSpellDlg", "TAbsSpellDialog",
                             {
                                 PublishedField("lblFound", &W::lblFound),
                                 PublishedField("lblNotFound", &W::lblNotFound),
                                 PublishedField("lblReplace", &W::lblReplace),
                                 PublishedField("lblSuggestions", &W::lblSuggestions),
                                 PublishedField("pnlIcons", &W::pnlIcons),
                                 PublishedField("btnAdd", &W::btnAdd),
                                 PublishedField("btnSuggest", &W::btnSuggest),
                                 PublishedField("btnClose", &W::btnClose),
                             },
                             {});
        using M = TMSSpellDlg;
        RegisterFormClass<M>("TMSSpellDlg", "TAbsSpellDialog",
                             {
                                 PublishedField("lblFound", &M::lblFound),
                                 PublishedField("edtCurWord", &M::edtCurWord),
                                 PublishedField("lblReplace", &M::lblReplace),
                                 PublishedField("lblSuggestions", &M::lblSuggestions),
                                 PublishedField("pnlIcons", &M::pnlIcons),
                                 PublishedField("btnReplaceAll", &M::btnReplaceAll),
                                 PublishedField("btnAdd", &M::btnAdd),
                                 PublishedField("btnSuggest", &M::btnSuggest),
                                 PublishedField("btnClose", &M::btnClose),
                                 PublishedField("btnAutoCorrect", &M::btnAutoCorrect),
                                 PublishedField("btnOptions", &M::btnOptions),
                                 PublishedField("btnUndo", &M::btnUndo),
                                 PublishedField("btnHelp", &M::btnHelp),
                             },
                             {});
        using N = TW96SpellDlg;
        RegisterFormClass<N>("TW96SpellDlg", "TAbsSpellDialog",
                             {
                                 PublishedField("pnlMain", &N::pnlMain),
                                 PublishedField("btnSuggest", &N::btnSuggest),
                                 PublishedField("pnlTitle", &N::pnlTitle),
                                 PublishedField("lblSpellChk", &N::lblSpellChk),
                                 PublishedField("lblFound", &N::lblFound),
                                 PublishedField("pnlIcons", &N::pnlIcons),
                                 PublishedField("pnlButtons", &N::pnlButtons),
                                 PublishedField("btnReplaceAll", &N::btnReplaceAll),
                                 PublishedField("btnAdd", &N::btnAdd),
                                 PublishedField("btnClose", &N::btnClose),
                             },
                             {PublishedMethod("edtWordExit", &N::edtWordExit)});
    }
} registration;

} // namespace

} // namespace spellengine
