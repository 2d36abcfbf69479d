// The spell-check component: opens the dictionary from its folder and names, owns one spell
// dialog in the chosen layout, and runs the interactive check loop over any word buffer. It
// keeps the skip-all and change-all lists as long as it lives, reads an auto-correction list,
// checks every edit box of a form, counts words and offers a check-while-typing hook. A product
// derives from it for its own controls and dialog. Implementations in SpellDlg.cpp.
#pragma once

#include "spellengine/SpellDialogs.h"
#include "spellengine/WordBuffers.h"

#include "rtl/StringLists.h"
#include "vcl/Graphics.h"

#include <memory>
#include <string>
#include <vector>

namespace spellengine {

enum class TDialogTypes { dtWordPerfect, dtMSWord, dtWordPro96 };

// Results of CheckBuffer, SpellCheck and CheckAllFields, with the codes callers compare.
enum TSpellCheckResult : int { scNothingReplaced = 0, scReplaced = 1, scCancelled = 2 };

class TSpellDlg : public vcl::TComponent {
public:
    explicit TSpellDlg(vcl::TComponent* AOwner);
    ~TSpellDlg() override;
    // Makes the dialog through SetDialogType, which a descendant may override.
    void AfterConstruction() override;

    TAccentSet AccentIcons() const { return FAccentIcons; }
    void SetAccentIcons(TAccentSet Value);
    // A file of "wrong=right" lines, read when the dictionary opens.
    const std::string& AutoCorrectList() const { return FAutoCorrectList; }
    void SetAutoCorrectList(const std::string& Value) { FAutoCorrectList = Value; }
    bool AutoShift() const { return FAutoShift; }
    void SetAutoShift(bool Value) { FAutoShift = Value; }
    bool AutoSuggest() const { return FAutoSuggest; }
    void SetAutoSuggest(bool Value) { FAutoSuggest = Value; }
    bool ConfirmAdd() const { return FConfirmAdd; }
    void SetConfirmAdd(bool Value) { FConfirmAdd = Value; }
    TDialogTypes DialogStyle() const { return FDialogStyle; }
    // Frees the present dialog and makes one of the new layout.
    virtual void SetDialogType(TDialogTypes Value);
    // Empty: the language's name with ".DCT".
    const std::string& DictionaryName() const { return FDictionaryName; }
    void SetDictionaryName(const std::string& Value) { FDictionaryName = Value; }
    // "APPLICATIONPATH": the folder of the program.
    const std::string& DictionaryPath() const { return FDictionaryPath; }
    void SetDictionaryPath(const std::string& Value) { FDictionaryPath = Value; }
    TLanguages DictionaryType() const { return FDictionaryType; }
    void SetDictionaryType(TLanguages Value) { FDictionaryType = Value; }
    const std::string& ExclusionList() const { return FExclusionList; }
    // Loaded at once when a dictionary is open.
    void SetExclusionList(const std::string& Value);
    vcl::TFont* Font() const { return FFont.get(); }
    void SetFont(vcl::TFont* Value);
    // Disables the other windows while a check runs.
    bool ForceModal() const { return FForceModal; }
    void SetForceModal(bool Value) { FForceModal = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value);
    TLanguages LabelLanguage() const { return FLabelLanguage; }
    void SetLabelLanguage(TLanguages Value);
    // 1 to 255; 0 is refused with a message and becomes 1.
    int Suggestions() const { return FSuggestions; }
    void SetSuggestions(int Value);
    bool ShowGlyphs() const { return FShowGlyphs; }
    void SetShowGlyphs(bool Value) { FShowGlyphs = Value; }
    bool SupportHTML() const { return FSupportHTML; }
    void SetSupportHTML(bool Value) { FSupportHTML = Value; }
    const std::string& UserDictionary() const { return FUserDictionary; }
    void SetUserDictionary(const std::string& Value) { FUserDictionary = Value; }

    TAbsSpellDialog* Dialog() const { return FDialog; }
    // Lower-case OEM words passed over silently, and the parallel lists of words replaced
    // without asking (OEM) and their replacements (ANSI).
    rtl::TStringList& SkipAllWords() { return *FSkipAllWords; }
    rtl::TStringList& ChangeFromWords() { return *FChangeFromWords; }
    rtl::TStringList& ChangeToWords() { return *FChangeToWords; }
    // When false the check loop neither reports its end nor hides the dialog.
    bool ReportResult() const { return FReportResult; }
    void SetReportResult(bool Value) { FReportResult = Value; }

    // Shows Control, turning the notebook pages it lies on.
    virtual void BringControlToFront(vcl::TControl* Control);
    // Checks an edit box or memo; other controls get "Error : Unknown control." and 0.
    virtual TSpellCheckResult SpellCheck(vcl::TControl* Control);
    // Checks every component of Owner that IsCheckable, in order, until one is cancelled.
    virtual TSpellCheckResult CheckAllFields(vcl::TComponent* Owner, bool Report);
    // Whether CheckAllFields checks the component: edit boxes and memos.
    virtual bool IsCheckable(vcl::TComponent* Component) const;
    virtual void WordCount(vcl::TControl* Control, int& Total, int& Unique);
    // Told of an unknown word typed into Edit; Position is its start (from 0).
    virtual void DoWordNotFound(vcl::TCustomEdit* Edit, const std::string& Word, int Position);
    // The word (ANSI) that ends left of Edit's caret and its start; none at the text's start.
    virtual void GetWordBeforeCaret(vcl::TCustomEdit* Edit, int& Position, std::string& Word);
    // For a form's key-press handler: acts on Enter and space.
    virtual void CheckTyping(vcl::TCustomEdit* Edit, bool AutoReplace, char& Key);

    // Opens the dictionary, or tells "Error opening dictionary ..." and answers false.
    bool Open();
    void Close();
    bool OpenDictionary();
    void FreeDictionary();
    // The interactive check of one buffer.
    TSpellCheckResult CheckBuffer(TAbsBuffer& Buffer);
    void LoadAutoCorrectList();
    // Whether the dictionary knows Word (OEM); opens the dictionary when needed.
    bool IsWordOK(const std::string& Word);
    // Moves the dialog away from the screen line WordY; 0 does nothing.
    void ShiftDialog(int WordY);
    // Centres the dialog horizontally and shows it.
    void PrepareDialog();
    // Hides the dialog and enables the windows disabled for ForceModal.
    void HideDialog();

protected:
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    // The dialog's owner: the component's owner, or the application.
    vcl::TComponent* DialogOwner() const;
    // Takes a dialog made by SetDialogType and gives it the component's settings.
    void AdoptDialog(TAbsSpellDialog* Value);

private:
    // Waits for the user's choice on the offered word; srClose when the dialog was hidden.
    [[nodiscard]] TSpellDialogResult WaitForChoice();
    void DisableTaskWindows();
    void EnableTaskWindows();

    TAccentSet FAccentIcons = 0;
    std::string FAutoCorrectList;
    bool FAutoShift = false;
    bool FAutoSuggest = true;
    bool FConfirmAdd = true;
    TDialogTypes FDialogStyle = TDialogTypes::dtWordPerfect;
    std::string FDictionaryName;
    std::string FDictionaryPath = "APPLICATIONPATH";
    TLanguages FDictionaryType = TLanguages::lgEnglish;
    std::string FExclusionList;
    std::unique_ptr<vcl::TFont> FFont;
    bool FForceModal = false;
    int FHelpContext = 0;
    TLanguages FLabelLanguage = TLanguages::lgEnglish;
    int FSuggestions = 10;
    bool FShowGlyphs = true;
    bool FSupportHTML = false;
    std::string FUserDictionary = "CUSTOM.DIC";

    TAbsSpellDialog* FDialog = nullptr;
    std::unique_ptr<rtl::TStringList> FSkipAllWords;
    std::unique_ptr<rtl::TStringList> FChangeFromWords;
    std::unique_ptr<rtl::TStringList> FChangeToWords;
    bool FReportResult = true;
    bool FWindowsDisabled = false;
    std::vector<win::HWND> FDisabledWindows;
};

} // namespace spellengine
