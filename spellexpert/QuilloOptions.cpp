#include "spellexpert/QuilloOptions.h"

#include "spellexpert/Settings.h"
#include "vcl/Streaming.h"

namespace spellexpert {

using namespace vcl;

// Laid out by its form file, QuilloOptions.dfm.
TfrmOptions::TfrmOptions(TComponent* AOwner) : TForm(AOwner) {}

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

namespace {

struct TOptionsRegistration {
    TOptionsRegistration() {
        using F = TfrmOptions;
        RegisterFormClass<F>("TfrmOptions", "TForm",
                             {
                                 PublishedField("gbQuillo", &F::gbQuillo),
                                 PublishedField("imgQuillo", &F::imgQuillo),
                                 PublishedField("cbOverwrite", &F::cbOverwrite),
                                 PublishedField("cbBackup", &F::cbBackup),
                                 PublishedField("cbSyntaxHi", &F::cbSyntaxHi),
                                 PublishedField("gbVmkSpell", &F::gbVmkSpell),
                                 PublishedField("Bevel1", &F::Bevel1),
                                 PublishedField("imgVmkSpell", &F::imgVmkSpell),
                                 PublishedField("cbAutoSuggest", &F::cbAutoSuggest),
                                 PublishedField("cbShowGlyphs", &F::cbShowGlyphs),
                                 PublishedField("lblSuggestions", &F::lblSuggestions),
                                 PublishedField("seSuggestions", &F::seSuggestions),
                                 PublishedField("btnOk", &F::btnOk),
                                 PublishedField("btnCancel", &F::btnCancel),
                                 PublishedField("btnHtlp", &F::btnHtlp),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("btnOkClick", &F::btnOkClick),
                                 PublishedMethod("btnHtlpClick", &F::btnHtlpClick),
                             });
    }
} registration;

} // namespace

} // namespace spellexpert
