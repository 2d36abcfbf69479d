// The spell-check component and its check loop; the engine's messages and the word count
// bound to the class library's windows.
#include "spellengine/SpellDlg.h"

#include "spellengine/Dictionary.h"
#include "spellengine/EngineMessages.h"
#include "spellengine/MessagePacing.h"
#include "spellengine/Suggestions.h"
#include "spellengine/WordForm.h"

#include "rtl/Clock.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/ScopeGuards.h"
#include "rtl/SysUtils.h"
#include "vcl/Dialogs.h"
#include "vcl/Notebooks.h"
#include "vcl/Streaming.h"

#include <algorithm>

namespace spellengine {

using namespace vcl;

namespace {

// The language tables, one row per language.
constexpr const char* kBaseNames[] = {"English"};
constexpr const char* kWordFound[] = {"Word found:"};
constexpr const char* kNotFound[] = {"Not found:"};
constexpr const char* kNoErrors[] = {"No errors found. Spell checking complete..."};
constexpr const char* kComplete[] = {"Spell checking complete."};
constexpr const char* kAddWord[] = {"Add \"%s\" to dictionary?"};
constexpr const char* kInDictionary[] = {"\"%s\" already in dictionary."};

// Milliseconds between two updates of the dialog with the word being checked.
constexpr std::uint64_t kFollowInterval = 50;

std::string Format(const char* Pattern, const std::string& Word) {
    std::string out = Pattern;
    out.replace(out.find("%s"), 2, Word);
    return out;
}

// Lowers A to Z only, as the dictionary compares.
std::string LowerAZ(std::string_view S) {
    std::string out(S);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return out;
}

void ErrorBox(const std::string& Text) { MessageDlg(Text, TMsgDlgType::mtError, mbOK, 0); }
void InfoBox(const std::string& Text) { MessageDlg(Text, TMsgDlgType::mtInformation, mbOK, 0); }

// The engine's messages go to the class library's error box, and word counts show in the
// word-count window.
void InitUnit() {
    SetEngineMessageProc(ErrorBox);
    SetWordCountStart(TWordForm::CountStarted);
    SetWordCountProgress(TWordForm::CountProgress);
}

rtl::TUnitInit unit(&InitUnit);

} // namespace

TSpellDlg::TSpellDlg(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    FFont->SetName("MS Sans Serif");
    FFont->SetSize(8);
    FFont->SetStyle(fsBold);
    if (!IsDesigning()) {
        FSkipAllWords = std::make_unique<rtl::TStringList>();
        // Looked up for every unknown word and grown by every Skip All: kept sorted, so that a
        // long check does not slow down with each word skipped.
        FSkipAllWords->SetSorted(true);
        FChangeFromWords = std::make_unique<rtl::TStringList>();
        FChangeToWords = std::make_unique<rtl::TStringList>();
    }
}

void TSpellDlg::AfterConstruction() {
    TComponent::AfterConstruction();
    SetDialogType(FDialogStyle);
}

void TSpellDlg::Loaded() {
    TComponent::Loaded();
    // Read from a stored form: the dialog is made with every setting read.
    if (!FDialog) SetDialogType(FDialogStyle);
}

TSpellDlg::~TSpellDlg() {
    Destroying();
    FreeDictionary();
    if (FDialog) {
        EnableTaskWindows();
        if (FDialog->HandleAllocated()) FDialog->Hide();
    }
}

void TSpellDlg::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDialog) FDialog = nullptr;
}

TComponent* TSpellDlg::DialogOwner() const { return Owner() ? Owner() : Application; }

void TSpellDlg::SetDialogType(TDialogTypes Value) {
    // While a stored form is read the dialog waits for the settings after the style (Loaded).
    if (IsDesigning() || IsLoading()) {
        FDialogStyle = Value;
        return;
    }
    delete std::exchange(FDialog, nullptr);
    FDialogStyle = Value;
    switch (Value) {
    case TDialogTypes::dtWordPerfect: AdoptDialog(Make<TWPSpellDlg>(DialogOwner())); break;
    case TDialogTypes::dtMSWord: AdoptDialog(Make<TMSSpellDlg>(DialogOwner())); break;
    case TDialogTypes::dtWordPro96: AdoptDialog(Make<TW96SpellDlg>(DialogOwner())); break;
    }
}

void TSpellDlg::AdoptDialog(TAbsSpellDialog* Value) {
    FDialog = Value;
    FDialog->FreeNotification(this);
    if (!FShowGlyphs) FDialog->HideGlyphs();
    FDialog->Font()->Assign(FFont.get());
    FDialog->SetAccentIcons(FAccentIcons);
    FDialog->SetSuggestions(FSuggestions);
    FDialog->SetHelpContext(FHelpContext);
}

void TSpellDlg::SetAccentIcons(TAccentSet Value) {
    FAccentIcons = Value;
    if (FDialog) FDialog->SetAccentIcons(Value);
}

void TSpellDlg::SetExclusionList(const std::string& Value) {
    FExclusionList = Value;
    if (ActiveDictionary() && !Value.empty()) ActiveDictionary()->OpenExclude(Value);
}

void TSpellDlg::SetFont(TFont* Value) {
    FFont->Assign(Value);
    if (FDialog) FDialog->Font()->Assign(FFont.get());
}

void TSpellDlg::SetHelpContext(int Value) {
    FHelpContext = Value;
    if (FDialog) FDialog->SetHelpContext(Value);
}

void TSpellDlg::SetLabelLanguage(TLanguages Value) {
    FLabelLanguage = Value;
    if (FDialog) FDialog->SetLabelLanguage(Value);
}

void TSpellDlg::SetSuggestions(int Value) {
    if (Value == 0) {
        InfoBox("Invlid number of suggestions.");
        Value = 1;
    }
    FSuggestions = std::clamp(Value, 1, 255);
    if (FDialog) FDialog->SetSuggestions(FSuggestions);
}

// --- The dictionary ---------------------------------------------------------------------------

bool TSpellDlg::OpenDictionary() {
    if (FDictionaryName.empty())
        FDictionaryName = rtl::UpperCase(std::string(kBaseNames[std::size_t(FDictionaryType)]) + ".DCT");
    FDictionaryPath = rtl::UpperCase(FDictionaryPath);
    if (FDictionaryPath == "APPLICATIONPATH") {
        char name[1024] = {};
        rtl::GetModuleFileName(nullptr, name, int(sizeof name));
        FDictionaryPath = rtl::ExtractFilePath(name);
    } else if (!FDictionaryPath.empty() && FDictionaryPath.back() != '\\') {
        FDictionaryPath += '\\';
    }
    if (!ActiveDictionary()) SetActiveDictionary(std::make_unique<TDictionary>());
    if (!ActiveDictionary()->OpenMain(FDictionaryPath + FDictionaryName)) {
        FreeDictionary();
        return false;
    }
    ActiveDictionary()->OpenCustom(FUserDictionary);
    if (!FExclusionList.empty()) ActiveDictionary()->OpenExclude(FExclusionList);
    if (!FAutoCorrectList.empty()) LoadAutoCorrectList();
    return true;
}

void TSpellDlg::FreeDictionary() {
    SetActiveDictionary(nullptr);
}

bool TSpellDlg::Open() {
    if (OpenDictionary()) return true;
    ErrorBox("Error opening dictionary " + FDictionaryPath + FDictionaryName);
    Close();
    return false;
}

void TSpellDlg::Close() {
    if (FDialog) HideDialog();
    FreeDictionary();
}

// A pair already in the lists is not added again, so that opening the dictionary for every
// check does not grow them.
void TSpellDlg::LoadAutoCorrectList() {
    std::string name = FAutoCorrectList;
    if (!rtl::FileExists(name)) name = FDictionaryPath + FAutoCorrectList;
    if (!rtl::FileExists(name)) {
        ErrorBox(FAutoCorrectList + " file not found.");
        return;
    }
    rtl::TStringList lines;
    lines.LoadFromFile(name);
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Strings(i).substr(0, 255);
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == line.size()) continue;
        const std::string from = rtl::AnsiToOem(line.substr(0, eq));
        const std::string to = line.substr(eq + 1);
        const int at = FChangeFromWords->IndexOf(from);
        if (at >= 0 && FChangeToWords->Strings(at) == to) continue;
        FChangeFromWords->Add(from);
        FChangeToWords->Add(to);
    }
}

bool TSpellDlg::IsWordOK(const std::string& Word) {
    if (!ActiveDictionary()) OpenDictionary();
    if (!ActiveDictionary()) return false;
    return ActiveDictionary()->IsKnownWord(std::string_view(Word).substr(0, 255));
}

// --- The dialog -------------------------------------------------------------------------------

void TSpellDlg::ShiftDialog(int WordY) {
    if (WordY == 0 || !FDialog) return;
    const int old = FDialog->Top();
    const int top = WordY > Screen->Height() / 2 ? 10 : Screen->Height() - FDialog->Height() - 10;
    if (top == old) return;
    FDialog->SetTop(top);
    win::POINT p{};
    win::GetCursorPos(&p);
    win::SetCursorPos(p.x, p.y + (top - old));
}

void TSpellDlg::PrepareDialog() {
    FDialog->SetLeft(Screen->Width() / 2 - FDialog->Width() / 2);
    if (FAutoShift) ShiftDialog(10);
    FDialog->Show();
    if (!FShowGlyphs) FDialog->HideGlyphs();
    FDialog->Font()->Assign(FFont.get());
}

void TSpellDlg::HideDialog() {
    EnableTaskWindows();
    if (FDialog) FDialog->Hide();
}

void TSpellDlg::DisableTaskWindows() {
    if (FWindowsDisabled) return;
    FDisabledWindows = vcl::DisableTaskWindows(FDialog->Handle());
    FWindowsDisabled = true;
}

void TSpellDlg::EnableTaskWindows() {
    vcl::EnableTaskWindows(FDisabledWindows);
    FDisabledWindows.clear();
    FWindowsDisabled = false;
}

TSpellDialogResult TSpellDlg::WaitForChoice() {
    for (;;) {
        Application->ProcessMessages();
        // A quitting application cancels, rather than waiting on a queue that stays empty.
        if (!FDialog || !FDialog->Visible() || Application->Terminated()) return srClose;
        if (FDialog->Result() != srWaiting) return FDialog->Result();
        win::WaitMessage();
    }
}

// --- The check loop ---------------------------------------------------------------------------

TSpellCheckResult TSpellDlg::CheckBuffer(TAbsBuffer& Buffer) {
    const bool wasModified = Buffer.GetModified();
    bool changed = false;
    bool nothingReplaced = true;
    bool cancelled = false;
    // On every way out the buffer reads modified when it was, or when this check changed it.
    rtl::TScopeExit modified([&] { Buffer.SetModified(wasModified || changed); });
    Buffer.SetModified(false);
    Buffer.SetSupportHTML(FSupportHTML);
    if (!Open()) return scCancelled;

    // The cursor and the windows disabled for ForceModal come back on every way out.
    rtl::TScopeExit loopEnded([this] {
        Screen->SetCursor(crDefault);
        EnableTaskWindows();
    });

    FDialog->HandleNeeded();
    if (FForceModal) DisableTaskWindows();
    FDialog->Show();
    FDialog->SetResult(srWaiting);
    FDialog->ClearSuggestions();

    const std::size_t lang = std::size_t(FLabelLanguage);
    bool followed = false;
    std::uint64_t lastFollow = 0;
    std::string word;
    RunMessagesNow();
    for (;;) {
        // Messages run between words, paced so that the dialog's buttons answer at once while
        // looking for them does not slow the check down.
        PaceMessages();
        if (!FDialog || FDialog->Result() == srClose) {
            cancelled = true;
            HideDialog();
            break;
        }
        Screen->SetCursor(crHourGlass);
        if (Buffer.GetModified()) {
            changed = true;
            // Read again only once per change; the guard sets the flag back at the end.
            Buffer.SetModified(false);
            Buffer.LoadText();
            Buffer.MoveToWordStart();
        }
        Buffer.GetNextWord(word);
        if (word.empty() && Buffer.Aborted()) {
            cancelled = true;
            HideDialog();
            break;
        }
        const std::string w = word.substr(0, MaxWordLength);
        if (w.size() >= 2 && !Buffer.AllDigits() && !IsWordOK(w)) {
            const std::string lower = LowerAZ(w);
            const int changeAt = FChangeFromWords->IndexOf(lower);
            if (changeAt >= 0) {
                Buffer.SelectWord();
                Buffer.ReplaceWord(FChangeToWords->Strings(changeAt));
            } else if (FSkipAllWords->IndexOf(lower) < 0) {
                Screen->SetCursor(crDefault);
                BringControlToFront(Buffer.Control());
                Buffer.SelectWord();
                if (!FDialog->Visible()) PrepareDialog();
                if (FAutoShift) ShiftDialog(Buffer.GetWordScreenY());
                Application->ProcessMessages();
                const std::string ansi = OemToAnsiWord(w);
                FDialog->SetStatusText(kNotFound[lang]);
                FDialog->SetBadWord(ansi);
                FDialog->SetReplacement(ansi);
                Application->ProcessMessages();
                // A close that came while the word was being offered (the checked window
                // closed, say) is not written over by the wait.
                if (!FDialog || FDialog->Result() == srClose) {
                    cancelled = true;
                    HideDialog();
                    break;
                }
                if (FAutoSuggest) FDialog->ShowSuggestions();
                FDialog->SetResult(srWaiting);
                FDialog->FocusReplacement();
                const TSpellDialogResult choice = WaitForChoice();
                std::string replacement;
                switch (choice) {
                case srClose: cancelled = true; break;
                case srReplace:
                case srReplaceAll:
                    nothingReplaced = false;
                    FDialog->GetReplacement(replacement);
                    // A replacement equal to the word changes nothing; one that differs only in
                    // letter case is written.
                    if (replacement != ansi) {
                        if (choice == srReplaceAll) {
                            FChangeFromWords->Add(lower);
                            FChangeToWords->Add(replacement);
                        }
                        Buffer.ReplaceWord(replacement);
                        changed = true;
                        FDialog->SetReplacement("");
                    }
                    break;
                case srAdd:
                    if (IsWordOK(w)) {
                        InfoBox(Format(kInDictionary[lang], ansi));
                    } else if (!FConfirmAdd ||
                               MessageDlg(Format(kAddWord[lang], ansi), TMsgDlgType::mtConfirmation, mbYes | mbNo, 0) ==
                                   mrYes) {
                        if (ActiveDictionary()) ActiveDictionary()->AddWord(w);
                    }
                    if (FDialog) FDialog->FocusReplacement();
                    break;
                case srSkip: break;
                case srSkipAll: FSkipAllWords->Add(lower); break;
                default: break;
                }
                if (cancelled) {
                    HideDialog();
                    break;
                }
                if (FDialog) FDialog->ClearSuggestions();
            }
        } else if (!w.empty()) {
            // The dialog follows the check, redrawn a few times a second rather than per word,
            // which would cost far more than the lookup.
            const std::uint64_t now = rtl::GetTickCount64();
            if (!followed || now - lastFollow >= kFollowInterval) {
                const std::string ansi = OemToAnsiWord(w);
                FDialog->SetStatusText(kWordFound[lang]);
                FDialog->SetBadWord(ansi);
                FDialog->SetReplacement(ansi);
                followed = true;
                lastFollow = now;
            }
        }
        if (w.empty()) break;
    }

    Screen->SetCursor(crDefault);
    if (ActiveDictionary()) ActiveDictionary()->SaveCustom();
    TSpellCheckResult result = scReplaced;
    std::string message;
    if (cancelled) {
        result = scCancelled;
    } else if (nothingReplaced) {
        result = scNothingReplaced;
        message = kNoErrors[lang];
    } else {
        message = kComplete[lang];
    }
    if (!FReportResult) return result;
    if (!message.empty()) InfoBox(message);
    HideDialog();
    return result;
}

// --- Controls ---------------------------------------------------------------------------------

// A page is turned to by its place among the notebook's pages, which is the page its caption
// names unless two pages share one.
void TSpellDlg::BringControlToFront(TControl* Control) {
    for (TWinControl* p = Control ? Control->Parent() : nullptr; p; p = p->Parent()) {
        if (auto* page = dynamic_cast<TTabPage*>(p)) {
            if (auto* notebook = dynamic_cast<TTabbedNotebook*>(page->Parent())) {
                const int at = notebook->Pages()->IndexOfObject(page);
                if (at >= 0) notebook->SetPageIndex(at);
            }
        } else if (auto* sheet = dynamic_cast<TPage*>(p)) {
            if (auto* notebook = dynamic_cast<TNotebook*>(sheet->Parent())) {
                const int at = notebook->Pages()->IndexOfObject(sheet);
                if (at >= 0) notebook->SetPageIndex(at);
            }
        }
        if (p->HandleAllocated() && win::IsWindowVisible(p->Handle())) break;
    }
}

TSpellCheckResult TSpellDlg::SpellCheck(TControl* Control) {
    auto* edit = dynamic_cast<TCustomEdit*>(Control);
    if (!edit) {
        ErrorBox("Error : Unknown control.");
        return scNothingReplaced;
    }
    const int selStart = edit->SelStart();
    const int selLength = edit->SelLength();
    const bool hideSelection = edit->HideSelection();
    edit->SetHideSelection(false);
    rtl::TScopeExit restore([=] {
        edit->SetSelStart(selStart);
        edit->SetSelLength(selLength);
        edit->SetHideSelection(hideSelection);
    });
    auto buffer = TCEBuffer::NewOnEdit(edit);
    return CheckBuffer(*buffer);
}

TSpellCheckResult TSpellDlg::CheckAllFields(TComponent* AOwner, bool Report) {
    if (!Open()) return scCancelled;
    rtl::TScopeExit reported([this] { FReportResult = true; });
    FReportResult = false;
    TSpellCheckResult result = scNothingReplaced;
    for (int i = 0; AOwner && i < AOwner->ComponentCount(); ++i) {
        TComponent* component = AOwner->Components(i);
        if (!IsCheckable(component)) continue;
        const TSpellCheckResult r = SpellCheck(static_cast<TControl*>(component));
        if (r == scCancelled) {
            result = scCancelled;
            break;
        }
        if (r == scReplaced) result = scReplaced;
    }
    Close();
    if (Report && result != scCancelled)
        InfoBox(result == scNothingReplaced ? kNoErrors[std::size_t(FLabelLanguage)]
                                            : kComplete[std::size_t(FLabelLanguage)]);
    if (FDialog && FDialog->Visible()) HideDialog();
    return result;
}

bool TSpellDlg::IsCheckable(TComponent* Component) const { return dynamic_cast<TCustomEdit*>(Component); }

void TSpellDlg::WordCount(TControl* Control, int& Total, int& Unique) {
    auto* edit = dynamic_cast<TCustomEdit*>(Control);
    if (!edit) return;
    auto buffer = TCEBuffer::NewOnEdit(edit);
    buffer->CountWords(Total, Unique);
}

void TSpellDlg::DoWordNotFound(TCustomEdit*, const std::string&, int) {}

void TSpellDlg::GetWordBeforeCaret(TCustomEdit* Edit, int& Position, std::string& Word) {
    Word.clear();
    Position = 0;
    const std::string text = rtl::AnsiToOem(Edit->Text());
    int end = std::min(Edit->SelStart(), int(text.size()));
    const TCharSet& chars = WordChars();
    while (end > 0 && !chars[static_cast<unsigned char>(text[std::size_t(end - 1)])]) --end;
    int start = end;
    while (start > 0 && chars[static_cast<unsigned char>(text[std::size_t(start - 1)])]) --start;
    Position = start;
    Word = rtl::OemToAnsi(text.substr(std::size_t(start), std::size_t(end - start)));
}

void TSpellDlg::CheckTyping(TCustomEdit* Edit, bool AutoReplace, char& Key) {
    if (!ActiveDictionary()) OpenDictionary();
    if (Key != '\r' && Key != ' ') return;
    int start = 0;
    std::string word;
    GetWordBeforeCaret(Edit, start, word);
    if (word.empty()) return;
    const std::string oem = AnsiToOemWord(word);
    const int at = AutoReplace ? FChangeFromWords->IndexOf(LowerAZ(oem)) : -1;
    if (at >= 0) {
        const std::string to = FChangeToWords->Strings(at);
        const int selStart = Edit->SelStart(), selLength = Edit->SelLength();
        Edit->SetSelStart(start);
        Edit->SetSelLength(int(word.size()));
        Edit->SetSelText(to);
        const int shift = int(to.size()) - int(word.size());
        Edit->SetSelStart(selStart + shift);
        Edit->SetSelLength(selLength);
    } else if (!IsWordOK(oem)) {
        DoWordNotFound(Edit, word, start);
    }
}

namespace {

// A form keeps its spell-check component with the settings it was designed with.
struct TSpellDlgRegistration {
    TSpellDlgRegistration() {
        using S = TSpellDlg;
        RegisterClass<S>("TSpellDlg", "", {
            SetProperty<S>("AccentIcons", &S::AccentIcons, &S::SetAccentIcons, {"acSpanish"}).WithDefault(0),
            StringProperty<S>("AutoCorrectList", &S::AutoCorrectList, &S::SetAutoCorrectList),
            BooleanProperty<S>("AutoShift", &S::AutoShift, &S::SetAutoShift).WithDefault(0),
            BooleanProperty<S>("AutoSuggest", &S::AutoSuggest, &S::SetAutoSuggest).WithDefault(1),
            BooleanProperty<S>("ConfirmAdd", &S::ConfirmAdd, &S::SetConfirmAdd).WithDefault(1),
            EnumProperty<S>("DialogStyle", &S::DialogStyle, &S::SetDialogType, {"dtWordPerfect", "dtMSWord", "dtWordPro96"})
                .WithDefault(int(TDialogTypes::dtWordPerfect)),
            StringProperty<S>("DictionaryName", &S::DictionaryName, &S::SetDictionaryName),
            StringProperty<S>("DictionaryPath", &S::DictionaryPath, &S::SetDictionaryPath),
            EnumProperty<S>("DictionaryType", &S::DictionaryType, &S::SetDictionaryType, {"lgEnglish"}).WithDefault(0),
            StringProperty<S>("ExclusionList", &S::ExclusionList, &S::SetExclusionList),
            ClassProperty<S>("Font", &S::Font),
            BooleanProperty<S>("ForceModal", &S::ForceModal, &S::SetForceModal).WithDefault(0),
            IntegerProperty<S>("HelpContext", &S::HelpContext, &S::SetHelpContext).WithDefault(0),
            EnumProperty<S>("LabelLanguage", &S::LabelLanguage, &S::SetLabelLanguage, {"lgEnglish"}).WithDefault(0),
            IntegerProperty<S>("Suggestions", &S::Suggestions, &S::SetSuggestions).WithDefault(10),
            BooleanProperty<S>("ShowGlyphs", &S::ShowGlyphs, &S::SetShowGlyphs).WithDefault(1),
            BooleanProperty<S>("SupportHTML", &S::SupportHTML, &S::SetSupportHTML).WithDefault(0),
            StringProperty<S>("UserDictionary", &S::UserDictionary, &S::SetUserDictionary),
        });
    }
} spellDlgRegistration;

} // namespace

} // namespace spellengine
