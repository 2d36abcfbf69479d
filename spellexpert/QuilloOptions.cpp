#include "spellexpert/QuilloOptions.h"

#include "spellexpert/Settings.h"
#include "vcl/DialogBuilding.h"

namespace spellexpert {

using namespace vcl;

namespace {

TCheckBox* AddCheck(TForm* Form, TWinControl* Parent, const char* Name, const char* Caption, int Top) {
    auto* c = AddControl<TCheckBox>(Form, Parent, Name, 52, Top, 250, 17);
    c->SetCaption(Caption);
    return c;
}

TImage* AddPicture(TForm* Form, TWinControl* Parent, const char* Name, const char* Resource) {
    auto* image = AddControl<TImage>(Form, Parent, Name, 10, 20, 32, 32);
    image->SetTransparent(true);
    image->Picture()->Bitmap()->LoadFromResourceName(nullptr, Resource);
    return image;
}

} // namespace

TfrmOptions::TfrmOptions(TComponent* AOwner) : TForm(AOwner) {
    TLoadingBracket loading(this);
    SetName("frmOptions");
    SetCaption("Quillo Options");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(TPosition::poScreenCenter);
    Font()->SetName("MS Sans Serif");
    Font()->SetSize(8);
    Font()->SetStyle(fsBold);
    SetClientSize(330, 270);

    gbQuillo = AddControl<TGroupBox>(this, this, "gbQuillo", 8, 8, 314, 98);
    gbQuillo->SetCaption(" Quillo Properties ");
    imgQuillo = AddPicture(this, gbQuillo, "imgQuillo", "QUILLO");
    cbOverwrite = AddCheck(this, gbQuillo, "cbOverwrite", "A&utomatically Overwrite DFM Files", 22);
    cbBackup = AddCheck(this, gbQuillo, "cbBackup", "&Backup Files Before Spell Checking", 46);
    cbSyntaxHi = AddCheck(this, gbQuillo, "cbSyntaxHi", "S&yntax Highlighting In Editor", 70);

    gbVmkSpell = AddControl<TGroupBox>(this, this, "gbVmkSpell", 8, 114, 314, 104);
    gbVmkSpell->SetCaption(" VmkSpell Properties ");
    Bevel1 = AddControl<TBevel>(this, gbVmkSpell, "Bevel1", 7, 17, 38, 38);
    Bevel1->SetStyle(TBevelStyle::bsRaised);
    imgVmkSpell = AddPicture(this, gbVmkSpell, "imgVmkSpell", "VMKSPELL");
    cbAutoSuggest = AddCheck(this, gbVmkSpell, "cbAutoSuggest", "Auto&Suggest Words", 22);
    cbShowGlyphs = AddCheck(this, gbVmkSpell, "cbShowGlyphs", "Show &Glyphs", 46);
    lblSuggestions = AddControl<TLabel>(this, gbVmkSpell, "lblSuggestions", 52, 74, 0, 0);
    lblSuggestions->SetCaption("S&uggestions");
    seSuggestions = AddControl<TSpinEdit>(this, gbVmkSpell, "seSuggestions", 150, 70, 56, 22);
    // The component refuses no suggestions at all; 1 is the least.
    // 0 is offered: the component refuses it itself.
    seSuggestions->SetMinValue(0);
    seSuggestions->SetMaxValue(99);
    seSuggestions->SetValue(10);
    lblSuggestions->SetFocusControl(seSuggestions);

    btnOk = AddControl<TBitBtn>(this, this, "btnOk", 8, 232, 96, 28);
    btnOk->SetKind(TBitBtnKind::bkOK);
    btnOk->SetCaption("Ok");
    btnCancel = AddControl<TBitBtn>(this, this, "btnCancel", 117, 232, 96, 28);
    btnCancel->SetKind(TBitBtnKind::bkCancel);
    btnHtlp = AddControl<TBitBtn>(this, this, "btnHtlp", 226, 232, 96, 28);
    btnHtlp->SetKind(TBitBtnKind::bkHelp);
    btnHtlp->SetCaption("Help");

    btnOk->OnClick = [this](TObject* s) { btnOkClick(s); };
    btnHtlp->OnClick = [this](TObject* s) { btnHtlpClick(s); };
    FormCreate(this);
}

void TfrmOptions::FormCreate(TObject*) {
    ReadSettings();
    const TQuilloSettings& s = Settings();
    cbOverwrite->SetChecked(s.OverWrite);
    cbBackup->SetChecked(s.Backup);
    cbSyntaxHi->SetChecked(s.SyntaxHi);
    cbAutoSuggest->SetChecked(s.AutoSuggest);
    cbShowGlyphs->SetChecked(s.ShowGlyphs);
    seSuggestions->SetValue(s.Suggestions);
}

void TfrmOptions::btnOkClick(TObject*) {
    TQuilloSettings& s = Settings();
    s.OverWrite = cbOverwrite->Checked();
    s.Backup = cbBackup->Checked();
    s.SyntaxHi = cbSyntaxHi->Checked();
    s.AutoSuggest = cbAutoSuggest->Checked();
    s.ShowGlyphs = cbShowGlyphs->Checked();
    s.Suggestions = seSuggestions->Value();
}

void TfrmOptions::btnHtlpClick(TObject*) { Application->HelpContext(OptionsHelpContext); }

} // namespace spellexpert
