// The spell dialogs: the window in which the user sees an unknown word and chooses what to do
// with it. A dialog is not modal: the check loop (SpellDlg.h) shows it, fills it through the
// operations of TAbsSpellDialog and polls the result code its buttons store. Three layouts
// derive from it, each laid out by its form file (WPSpellDlg.dfm, MSSpellDlg.dfm,
// W96SpellDlg.dfm), inherited from the family's own (AbsSpellDialog.dfm); a product may add its
// own. The edit box that moves on at Enter and the list box with a change event serve every
// layout. Implementations in SpellDialogs.cpp.
#pragma once

#include "vcl/Buttons.h"
#include "vcl/EditCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"
#include "vcl/StdCtrls.h"

#include <cstdint>
#include <string>

namespace spellengine {

enum class TLanguages { lgEnglish };
enum TAccents : unsigned { acSpanish = 1 };
using TAccentSet = unsigned;

// The dialog result codes the buttons store and the check loop reads. Unscoped, so a code still
// reads as its number.
enum TSpellDialogResult : int {
    srWaiting = 0,
    srClose = 2,
    srReplace = 20,
    srAdd = 21,
    srSkip = 22,
    srSkipAll = 23,
    srReplaceAll = 24,
};

// A list box whose click on a line fires OnChange.
class TNewListBox : public vcl::TListBox {
public:
    using TListBox::TListBox;
    vcl::TNotifyEvent OnChange;

protected:
    virtual void Change();
    void Click() override;
};

// An edit box in which Enter moves the focus on; Ctrl+Up makes the text capitals and Ctrl+Down
// capitalises it.
class TEnterEdit : public vcl::TEdit {
public:
    using TEdit::TEdit;

protected:
    void KeyDown(unsigned& Key, vcl::TShiftState Shift) override;
    void KeyPress(char& Key) override;
};

// The operations the check loop fills a dialog through, and the result code. The layouts' form
// files bind the control pointers; the operations that are the same in every layout work on
// them, and a layout overrides what it does otherwise. The operations without a base behaviour
// raise EAbstractError when a layout does not provide them.
class TAbsSpellDialog : public vcl::TForm {
public:
    explicit TAbsSpellDialog(vcl::TComponent* AOwner);
    // A dialog starts without the accent buttons.
    void AfterConstruction() override;

    // The number of suggestions to fetch, 1 to 255.
    int Suggestions() const { return FSuggestions; }
    void SetSuggestions(int Value) { FSuggestions = Value; }
    TLanguages LabelLanguage() const { return FLabelLanguage; }
    void SetLabelLanguage(TLanguages Value);
    // One of the sr codes; srWaiting until a button stores one.
    TSpellDialogResult Result() const { return FResult; }
    void SetResult(TSpellDialogResult Value) { FResult = Value; }

    // Every bitmap button with a picture loses it.
    virtual void HideGlyphs();

    virtual void SetStatusText(const std::string& S);
    virtual void SetBadWord(const std::string& S);
    virtual void SetReplacement(const std::string& S);
    virtual void GetReplacement(std::string& S);
    virtual void FocusReplacement();
    // The form's caption from the language table; layouts add their own captions.
    virtual void ApplyLabelLanguage();
    virtual void EnableSkip();
    virtual void DisableSkip();
    virtual void SetAccentIcons(TAccentSet Value);
    virtual void ClearSuggestions();
    // Suggestions for the replacement text from the active dictionary.
    virtual void ShowSuggestions();

    // The handlers the layouts bind their controls to.
    void btnReplaceClick(vcl::TObject* Sender);
    void btnReplaceAllClick(vcl::TObject* Sender);
    void btnAddClick(vcl::TObject* Sender);
    void btnSkipClick(vcl::TObject* Sender);
    void btnSkipAllClick(vcl::TObject* Sender);
    void btnCloseClick(vcl::TObject* Sender);
    void btnSuggestClick(vcl::TObject* Sender);
    void lstSuggestChange(vcl::TObject* Sender);
    void lstSuggestClick(vcl::TObject* Sender);
    void lstSuggestEnter(vcl::TObject* Sender);
    void lstSuggestDblClick(vcl::TObject* Sender);
    void AccentClick(vcl::TObject* Sender);
    // Completions of the typed text when a word key is let go without a shift key.
    void QuickSuggest(vcl::TObject* Sender, unsigned& Key, vcl::TShiftState Shift);

    vcl::TEdit* edtWord = nullptr;
    TNewListBox* lstSuggest = nullptr;
    vcl::TButton* btnReplace = nullptr;
    vcl::TButton* btnSkip = nullptr;
    vcl::TButton* btnSkipAll = nullptr;

protected:
    // A dialog placed in a parent control has its window owned by the parent's.
    void CreateParams(vcl::TCreateParams& Params) override;
    // The selected suggestion becomes the replacement.
    void TakeSelectedSuggestion();

private:
    int FSuggestions = 10;
    TLanguages FLabelLanguage = TLanguages::lgEnglish;
    TSpellDialogResult FResult = srWaiting;
};

// The word-processor layout: a column of labels, the replacement box and suggestions, and a
// column of bitmap buttons.
class TWPSpellDlg : public TAbsSpellDialog {
public:
    explicit TWPSpellDlg(vcl::TComponent* AOwner);

    void SetStatusText(const std::string& S) override;
    void SetBadWord(const std::string& S) override;
    void ApplyLabelLanguage() override;
    void SetAccentIcons(TAccentSet Value) override;

    vcl::TLabel* lblFound = nullptr;
    vcl::TLabel* lblNotFound = nullptr;
    vcl::TLabel* lblReplace = nullptr;
    vcl::TLabel* lblSuggestions = nullptr;
    vcl::TPanel* pnlIcons = nullptr;
    vcl::TBitBtn* btnAdd = nullptr;
    vcl::TBitBtn* btnSuggest = nullptr;
    vcl::TBitBtn* btnClose = nullptr;
};

// The word-processor layout of the other kind: the word in an entry box, two columns of buttons.
class TMSSpellDlg : public TAbsSpellDialog {
public:
    explicit TMSSpellDlg(vcl::TComponent* AOwner);

    void SetStatusText(const std::string& S) override;
    void SetBadWord(const std::string& S) override;
    void ApplyLabelLanguage() override;
    void SetAccentIcons(TAccentSet Value) override;

    vcl::TLabel* lblFound = nullptr;
    TEnterEdit* edtCurWord = nullptr;
    vcl::TLabel* lblReplace = nullptr;
    vcl::TLabel* lblSuggestions = nullptr;
    vcl::TPanel* pnlIcons = nullptr;
    vcl::TButton* btnReplaceAll = nullptr;
    vcl::TButton* btnAdd = nullptr;
    vcl::TButton* btnSuggest = nullptr;
    vcl::TButton* btnClose = nullptr;
    vcl::TButton* btnAutoCorrect = nullptr;
    vcl::TButton* btnOptions = nullptr;
    vcl::TButton* btnUndo = nullptr;
    vcl::TButton* btnHelp = nullptr;
};

// A borderless strip: suggestions on the left, buttons on a lowered panel at the right.
class TW96SpellDlg : public TAbsSpellDialog {
public:
    explicit TW96SpellDlg(vcl::TComponent* AOwner);

    void SetStatusText(const std::string& S) override;
    void SetBadWord(const std::string& S) override;
    void ApplyLabelLanguage() override;
    void SetAccentIcons(TAccentSet Value) override;
    // Tells whether the typed word is known, unless the focus went to a button.
    void edtWordExit(vcl::TObject* Sender);

    vcl::TPanel* pnlMain = nullptr;
    vcl::TSpeedButton* btnSuggest = nullptr;
    vcl::TPanel* pnlTitle = nullptr;
    vcl::TLabel* lblSpellChk = nullptr;
    vcl::TLabel* lblFound = nullptr;
    vcl::TPanel* pnlIcons = nullptr;
    vcl::TPanel* pnlButtons = nullptr;
    vcl::TBitBtn* btnReplaceAll = nullptr;
    vcl::TBitBtn* btnAdd = nullptr;
    vcl::TBitBtn* btnClose = nullptr;
};

} // namespace spellengine
