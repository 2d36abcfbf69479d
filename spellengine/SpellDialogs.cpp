// The spell dialog family: the shared operations over the layouts' controls, and the three
// layouts built as their stored forms were.
#include "spellengine/SpellDialogs.h"

#include "spellengine/Dictionary.h"
#include "spellengine/Suggestions.h"
#include "spellengine/WordBuffers.h"
#include "vcl/DialogBuilding.h"

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

// The accent buttons: their names and the letters (ANSI) they type.
constexpr std::array<std::pair<const char*, const char*>, 7> kAccents = {{
    {"btnA", "\xE1"}, {"btnE", "\xE9"}, {"btnI", "\xED"}, {"btnO", "\xF3"}, {"btnU", "\xFA"}, {"btnN", "\xF1"},
    {"btnN2", "\xD1"},
}};

void Bind(TButton* Button, TAbsSpellDialog* Dialog, void (TAbsSpellDialog::*Handler)(TObject*)) {
    Button->OnClick = [Dialog, Handler](TObject* Sender) { (Dialog->*Handler)(Sender); };
}

// What every layout binds alike: the answer buttons, the suggestion list and the replacement box.
// A layout without a Replace All button passes none.
void BindAnswers(TAbsSpellDialog* Dialog, TButton* ReplaceAll, TButton* AddWord, TButton* Close) {
    Bind(Dialog->btnReplace, Dialog, &TAbsSpellDialog::btnReplaceClick);
    if (ReplaceAll) Bind(ReplaceAll, Dialog, &TAbsSpellDialog::btnReplaceAllClick);
    Bind(AddWord, Dialog, &TAbsSpellDialog::btnAddClick);
    Bind(Dialog->btnSkip, Dialog, &TAbsSpellDialog::btnSkipClick);
    Bind(Dialog->btnSkipAll, Dialog, &TAbsSpellDialog::btnSkipAllClick);
    Bind(Close, Dialog, &TAbsSpellDialog::btnCloseClick);
    Dialog->lstSuggest->OnChange = [Dialog](TObject* s) { Dialog->lstSuggestChange(s); };
    Dialog->lstSuggest->OnDblClick = [Dialog](TObject* s) { Dialog->lstSuggestDblClick(s); };
    Dialog->edtWord->OnKeyUp = [Dialog](TObject* s, unsigned& k, TShiftState sh) { Dialog->QuickSuggest(s, k, sh); };
}

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

TPanel* TAbsSpellDialog::AddAccentPanel(TWinControl* Parent, int Left, int Top, int Width) {
    auto* panel = AddControl<TPanel>(this, Parent, "pnlIcons", Left, Top, Width, 24);
    panel->SetBevelOuter(TPanelBevel::bvNone);
    int left = 1;
    for (const auto& [name, letter] : kAccents) {
        auto* b = AddLayoutButton<TSpeedButton>(this, panel, name, letter, left, 1, 22, 22);
        b->OnClick = [this](TObject* Sender) { AccentClick(Sender); };
        left += 23;
    }
    return panel;
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

TWPSpellDlg::TWPSpellDlg(TComponent* AOwner) : TAbsSpellDialog(AOwner) {
    TLoadingBracket loading(this);
    SetUpDialogForm(this, "WPSpellDlg", "Spell Checker", 412, 224);
    SetKeyPreview(true);

    lblFound = AddLabel(this, this, "lblFound", "Not found:", 8, 12);
    lblFound->SetAutoSize(false);
    lblFound->SetBounds(8, 12, 88, 13);
    lblFound->SetAlignment(TAlignment::taRightJustify);
    lblNotFound = AddLabel(this, this, "lblNotFound", "BadWord", 104, 12);
    lblReplace = AddLabel(this, this, "lblReplace", "Replace &With:", 8, 40);
    lblSuggestions = AddLabel(this, this, "lblSuggestions", "Sugg&estions:", 8, 85);

    edtWord = AddControl<TEnterEdit>(this, this, "edtWord", 104, 36, 177, 21);
    pnlIcons = AddAccentPanel(this, 104, 60, 177);
    pnlIcons->SetVisible(false);
    lstSuggest = AddControl<TNewListBox>(this, this, "lstSuggest", 104, 85, 177, 137);
    lblReplace->SetFocusControl(edtWord);
    lblSuggestions->SetFocusControl(lstSuggest);

    btnReplace = AddLayoutButton<TBitBtn>(this, this, "btnReplace", "&Replace", 307, 8, 97, 26, "SPREPLACE");
    btnAdd = AddLayoutButton<TBitBtn>(this, this, "btnAdd", "&Add", 307, 43, 97, 26, "SPADD");
    btnSkip = AddLayoutButton<TBitBtn>(this, this, "btnSkip", "Skip &Once", 307, 78, 97, 26, "SPSKIP");
    btnSkipAll = AddLayoutButton<TBitBtn>(this, this, "btnSkipAll", "Skip A&lways", 307, 113, 97, 26, "SPSKIPALL");
    btnSuggest = AddLayoutButton<TBitBtn>(this, this, "btnSuggest", "&Suggest", 307, 148, 97, 26, "SPSUGGEST");
    btnClose = AddLayoutButton<TBitBtn>(this, this, "btnClose", "Close", 307, 190, 97, 26, "SPCLOSE");
    btnClose->SetCancel(true);

    BindAnswers(this, nullptr, btnAdd, btnClose);
    Bind(btnSuggest, this, &TAbsSpellDialog::btnSuggestClick);
    lstSuggest->OnClick = [this](TObject* s) { lstSuggestClick(s); };
    lstSuggest->OnEnter = [this](TObject* s) { lstSuggestEnter(s); };
    SetAccentIcons(0);
}

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

TMSSpellDlg::TMSSpellDlg(TComponent* AOwner) : TAbsSpellDialog(AOwner) {
    TLoadingBracket loading(this);
    SetUpDialogForm(this, "MSSpellDlg", "Spelling", 512, 242);

    lblFound = AddLabel(this, this, "lblFound", "Not in Dictionary:", 8, 12);
    edtCurWord = AddControl<TEnterEdit>(this, this, "edtCurWord", 108, 8, 200, 21);
    lblReplace = AddLabel(this, this, "lblReplace", "Change &To:", 8, 40);
    edtWord = AddControl<TEnterEdit>(this, this, "edtWord", 108, 36, 200, 21);
    lblSuggestions = AddLabel(this, this, "lblSuggestions", "Suggestio&ns:", 8, 68);
    pnlIcons = AddAccentPanel(this, 108, 64, 200);
    pnlIcons->SetVisible(false);
    lstSuggest = AddControl<TNewListBox>(this, this, "lstSuggest", 108, 89, 200, 113);
    lblReplace->SetFocusControl(edtWord);
    lblSuggestions->SetFocusControl(lstSuggest);

    constexpr int c1 = 320, c2 = 416, w = 88, h = 24;
    btnSkip = AddLayoutButton<TButton>(this, this, "btnSkip", "&Ignore", c1, 8, w, h);
    btnSkipAll = AddLayoutButton<TButton>(this, this, "btnSkipAll", "I&gnore All", c2, 8, w, h);
    btnReplace = AddLayoutButton<TButton>(this, this, "btnReplace", "&Change", c1, 38, w, h);
    btnReplaceAll = AddLayoutButton<TButton>(this, this, "btnReplaceAll", "&Change All", c2, 38, w, h);
    btnAdd = AddLayoutButton<TButton>(this, this, "btnAdd", "&Add", c1, 68, w, h);
    btnSuggest = AddLayoutButton<TButton>(this, this, "btnSuggest", "&Suggest", c2, 68, w, h);
    btnAutoCorrect = AddLayoutButton<TButton>(this, this, "btnAutoCorrect", "AutoCorrect", c1, 112, w, h);
    btnOptions = AddLayoutButton<TButton>(this, this, "btnOptions", "&Options...", c2, 112, w, h);
    btnUndo = AddLayoutButton<TButton>(this, this, "btnUndo", "Undo Last", c1, 142, w, h);
    btnClose = AddLayoutButton<TButton>(this, this, "btnClose", "Cancel", c2, 142, w, h);
    btnClose->SetCancel(true);
    btnHelp = AddLayoutButton<TButton>(this, this, "btnHelp", "Help", c2, 210, w, h);

    BindAnswers(this, btnReplaceAll, btnAdd, btnClose);
    Bind(btnSuggest, this, &TAbsSpellDialog::btnSuggestClick);
    SetAccentIcons(0);
}

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

TW96SpellDlg::TW96SpellDlg(TComponent* AOwner) : TAbsSpellDialog(AOwner) {
    TLoadingBracket loading(this);
    SetUpDialogForm(this, "W96SpellDlg", "Spelling", 627, 89, TFormBorderStyle::bsNone);

    pnlMain = AddControl<TPanel>(this, this, "pnlMain", 0, 0, 627, 89);
    pnlMain->SetAlign(TAlign::alClient);
    btnSuggest = AddLayoutButton<TSpeedButton>(this, pnlMain, "btnSuggest", "", 6, 6, 25, 25, "SPSUGGEST");
    pnlTitle = AddControl<TPanel>(this, pnlMain, "pnlTitle", 33, 6, 145, 25);
    pnlTitle->SetBevelOuter(TPanelBevel::bvNone);
    pnlTitle->SetColor(clBlack);
    lblSpellChk = AddLabel(this, pnlTitle, "lblSpellChk", "Spell Check", 0, 0);
    lblSpellChk->SetAutoSize(false);
    lblSpellChk->SetBounds(0, 6, 145, 13);
    lblSpellChk->SetAlignment(TAlignment::taCenter);
    lblSpellChk->Font()->SetColor(clWhite);
    lblFound = AddLabel(this, pnlMain, "lblFound", "&Word in Question:", 6, 40);
    edtWord = AddControl<TEnterEdit>(this, pnlMain, "edtWord", 6, 58, 172, 21);
    edtWord->SetText("edtWord");
    lblFound->SetFocusControl(edtWord);
    lstSuggest = AddControl<TNewListBox>(this, pnlMain, "lstSuggest", 186, 6, 177, 48);
    pnlIcons = AddAccentPanel(pnlMain, 186, 56, 177);
    pnlButtons = AddControl<TPanel>(this, pnlMain, "pnlButtons", 371, 4, 250, 81);
    pnlButtons->SetBevelOuter(TPanelBevel::bvLowered);
    pnlButtons->SetCaption("");

    constexpr int w = 78, h = 36;
    btnReplace = AddLayoutButton<TBitBtn>(this, pnlButtons, "btnReplace", "&Replace", 6, 3, w, h, "SPREPLACE");
    btnReplaceAll = AddLayoutButton<TBitBtn>(this, pnlButtons, "btnReplaceAll", "Replace All", 86, 3, w, h, "SPREPLACEALL");
    btnAdd = AddLayoutButton<TBitBtn>(this, pnlButtons, "btnAdd", "&Add", 166, 3, w, h, "SPADD");
    btnSkip = AddLayoutButton<TBitBtn>(this, pnlButtons, "btnSkip", "Skip &Once", 6, 42, w, h, "SPSKIP");
    btnSkipAll = AddLayoutButton<TBitBtn>(this, pnlButtons, "btnSkipAll", "S&kip All", 86, 42, w, h, "SPSKIPALL");
    btnClose = AddLayoutButton<TBitBtn>(this, pnlButtons, "btnClose", "Close", 166, 42, w, h, "SPCLOSE");
    btnClose->SetCancel(true);
    for (TBitBtn* b : {static_cast<TBitBtn*>(btnReplace), btnReplaceAll, btnAdd, static_cast<TBitBtn*>(btnSkip),
                       static_cast<TBitBtn*>(btnSkipAll), btnClose})
        b->SetLayout(TButtonLayout::blGlyphTop);

    BindAnswers(this, btnReplaceAll, btnAdd, btnClose);
    btnSuggest->OnClick = [this](TObject* s) { btnSuggestClick(s); };
    edtWord->OnExit = [this](TObject* s) { edtWordExit(s); };
    SetAccentIcons(0);
}

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

} // namespace spellengine
