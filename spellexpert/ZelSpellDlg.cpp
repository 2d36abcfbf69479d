#include "spellexpert/ZelSpellDlg.h"

#include "spellengine/EngineMessages.h"

#include "editor/EntryField.h"
#include "editor/Pictures.h"
#include "editor/ZelEditor.h"
#include "editor/ZelExceptions.h"
#include "editor/ZelNotebook.h"

#include "rtl/CodePages.h"
#include "rtl/ScopeGuards.h"
#include "vcl/Streaming.h"

#include <algorithm>
#include <cstring>

namespace spellexpert {

using namespace vcl;
using editor::TZelBaseEntryField;
using editor::TZelCustomEditor;

namespace {

void CopyOem(char* Store, std::string_view Text) {
    std::memcpy(Store, Text.data(), Text.size());
    Store[Text.size()] = '\0';
    rtl::AnsiToOemBuff(Store, Store, Text.size() + 1);
}

} // namespace

// --- TCalvexEditor ---------------------------------------------------------------------------

std::unique_ptr<TCalvexEditor> TCalvexEditor::NewOnEditor(TZelCustomEditor* Editor) {
    return New<TCalvexEditor>(Editor);
}

TZelCustomEditor* TCalvexEditor::Editor() const { return static_cast<TZelCustomEditor*>(FControl); }

bool TCalvexEditor::GetModified() const { return Editor()->GetModified(); }
void TCalvexEditor::SetModified(bool Value) { Editor()->SetModified(Value); }

void TCalvexEditor::Create(TControl* AControl) {
    FCurrentPara = 1;
    TPCharBuffer::Create(AControl);
}

void TCalvexEditor::LoadText() {
    TZelCustomEditor* editor = Editor();
    std::string_view para;
    if (FCurrentPara >= 1 && FCurrentPara <= editor->ParaCount()) para = editor->GetPara(FCurrentPara);
    CopyOem(TextStore(para.size() + 1), para);
    FTextLength = static_cast<std::int32_t>(para.size() + 1);
}

void TCalvexEditor::GetNextWord(std::string& Word) {
    TPCharBuffer::GetNextWord(Word);
    while (Word.empty() && !Aborted() && FCurrentPara < Editor()->ParaCount()) {
        ++FCurrentPara;
        Reset();
        LoadText();
        TPCharBuffer::GetNextWord(Word);
    }
}

int TCalvexEditor::GetWordScreenY() const {
    TZelCustomEditor* editor = Editor();
    std::int32_t line = FCurrentPara, col = FWordStart;
    editor->ParaToLine(line, col);
    // The editor's own row height, so the dialog clears the row it draws.
    return editor->ClientOrigin().y + (line - editor->GetTopLine()) * editor->LineHeight();
}

void TCalvexEditor::SelectWord() {
    TZelCustomEditor* editor = Editor();
    editor->SetParaSelection(FCurrentPara, FWordStart, FCurrentPara, FWordEnd, true);
    // The selection has invalidated the rows it left and reached (or the page it scrolled to):
    // painting them now shows it as a whole refresh would, without redrawing every row per word.
    editor->Update();
}

void TCalvexEditor::ReplaceWord(std::string_view NewWord) {
    TZelCustomEditor* editor = Editor();
    if (editor->ReadOnly()) {
        // Nothing changes, so the walk goes on after the word as it stands.
        spellengine::EngineMessage("The text is read-only; the word is left as it is.");
        LoadText();
        return;
    }
    // The user may have moved the caret while the dialog waited.
    SelectWord();
    if (std::uint16_t code = editor->InsertString(NewWord); code != 0) {
        // The paragraph refused the word: say why and go on after what stands there now.
        spellengine::EngineMessage(editor::EditorErrorText(code));
        LoadText();
        FPosition = std::min(FPosition, FTextLength);
        return;
    }
    FPosition += static_cast<std::int32_t>(NewWord.size()) + FWordStart - FWordEnd;
    LoadText();
}

// --- TCalvexField ----------------------------------------------------------------------------

std::unique_ptr<TCalvexField> TCalvexField::NewOnField(TZelBaseEntryField* Field) { return New<TCalvexField>(Field); }

TZelBaseEntryField* TCalvexField::Field() const { return static_cast<TZelBaseEntryField*>(FControl); }

bool TCalvexField::GetModified() const { return Field()->GetModified(); }
void TCalvexField::SetModified(bool Value) { Field()->SetModified(Value); }

int TCalvexField::GetWordScreenY() const { return Field()->ClientOrigin().y; }

void TCalvexField::LoadText() {
    const std::string text = Field()->GetFieldText();
    CopyOem(TextStore(text.size() + 1), text);
    FTextLength = static_cast<std::int32_t>(text.size() + 1);
}

void TCalvexField::SelectWord() {
    Field()->SetSelection(static_cast<std::uint16_t>(FWordStart - 1), static_cast<std::uint16_t>(FWordEnd - 1));
}

void TCalvexField::ReplaceWord(std::string_view NewWord) {
    TZelBaseEntryField* field = Field();
    std::string text = field->GetFieldText();
    const std::size_t at = std::size_t(FWordStart - 1);
    const std::size_t length = std::size_t(FWordEnd - FWordStart);
    if (field->DataType() != editor::fdString) {
        spellengine::EngineMessage("The field \"" + field->Name() + "\" holds no text; the word is left as it is.");
        LoadText();
        return;
    }
    if (at + length > text.size()) { // the text changed under the check
        LoadText();
        return;
    }
    text.replace(at, length, NewWord);
    if (text.size() > field->MaxLength()) {
        spellengine::EngineMessage("\"" + std::string(NewWord) + "\" does not fit in the field \"" + field->Name() +
                                   "\"; the word is left as it is.");
        LoadText();
        return;
    }
    field->SetFieldText(text);
    FPosition += static_cast<std::int32_t>(NewWord.size()) + FWordStart - FWordEnd;
    LoadText();
}

// --- TZelSpellDlg ----------------------------------------------------------------------------

void TZelSpellDlg::BringControlToFront(TControl* Control) {
    TSpellDlg::BringControlToFront(Control);
    for (TWinControl* p = Control ? Control->Parent() : nullptr; p; p = p->Parent()) {
        if (auto* page = dynamic_cast<editor::TZelNotebookPage*>(p); page && page->Notebook())
            page->Notebook()->SetActivePageName(page->Caption());
        if (p->HandleAllocated() && win::IsWindowVisible(p->Handle())) break;
    }
}

spellengine::TSpellCheckResult TZelSpellDlg::SpellCheck(TControl* Control) {
    if (auto* editor = dynamic_cast<TZelCustomEditor*>(Control)) {
        const bool hideSelection = editor->HideSelection();
        editor->SetHideSelection(false);
        int caretCol = 1;
        const std::int32_t caretLine = editor->GetCaretPosition(caretCol);
        std::int32_t line1 = 0, line2 = 0;
        int col1 = 0, col2 = 0;
        const bool selected = editor->GetSelection(line1, col1, line2, col2);
        rtl::TScopeExit restore([=] {
            const std::int32_t lines = editor->LineCount();
            if (lines >= 1 && selected) {
                const bool caretAtEnd = caretLine == line2 && caretCol == col2;
                editor->SetSelection(line1, col1, line2, col2, caretAtEnd);
            } else if (lines >= 1) {
                editor->SetSelection(caretLine, caretCol, caretLine, caretCol, true);
            }
            editor->SetHideSelection(hideSelection);
        });
        auto buffer = TCalvexEditor::NewOnEditor(editor);
        return CheckBuffer(*buffer);
    }
    if (auto* field = dynamic_cast<TZelBaseEntryField*>(Control)) {
        const int selStart = field->GetSelStart();
        const int selLength = field->GetSelLength();
        const int insertPos = field->GetInsertPos();
        rtl::TScopeExit restore([=] {
            field->SetSelStart(selStart);
            field->SetSelLength(selLength);
            if (insertPos >= 0) field->SetInsertPos(insertPos);
        });
        auto buffer = TCalvexField::NewOnField(field);
        return CheckBuffer(*buffer);
    }
    return TSpellDlg::SpellCheck(Control);
}

spellengine::TSpellCheckResult TZelSpellDlg::CheckAllFields(TComponent* AOwner, bool Report) {
    return TSpellDlg::CheckAllFields(AOwner, Report);
}

bool TZelSpellDlg::IsCheckable(TComponent* Component) const {
    return TSpellDlg::IsCheckable(Component) || dynamic_cast<TZelCustomEditor*>(Component) ||
           dynamic_cast<TZelBaseEntryField*>(Component);
}

void TZelSpellDlg::WordCount(TControl* Control, int& Total, int& Unique) {
    if (auto* editor = dynamic_cast<TZelCustomEditor*>(Control)) {
        TCalvexEditor::NewOnEditor(editor)->CountWords(Total, Unique);
    } else if (auto* field = dynamic_cast<TZelBaseEntryField*>(Control)) {
        TCalvexField::NewOnField(field)->CountWords(Total, Unique);
    } else {
        TSpellDlg::WordCount(Control, Total, Unique);
    }
}

namespace {

struct TZelSpellDlgRegistration {
    TZelSpellDlgRegistration() { vcl::RegisterClass<TZelSpellDlg>("TZelSpellDlg", "TSpellDlg"); }
} zelSpellDlgRegistration;

} // namespace

} // namespace spellexpert
