#include "spellexpert/WordFilter.h"

#include "spellexpert/SyntaxColour.h"

#include "spellengine/DCTFile.h"
#include "spellengine/MessagePacing.h"

#include "editor/ZelEditor.h"
#include "rtl/CodePages.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"

namespace spellexpert {

using editor::TZelCustomEditor;

TMyBuffer::TMyBuffer() : FSavedWordChars(spellengine::WordChars()) {}

TMyBuffer::~TMyBuffer() { spellengine::WordChars() = FSavedWordChars; }

std::unique_ptr<TMyBuffer> TMyBuffer::NewOnEditor(TZelCustomEditor* Editor) { return New<TMyBuffer>(Editor); }

void TMyBuffer::Create(vcl::TControl* AControl) {
    TCalvexEditor::Create(AControl);
    SetMode(fmStrings);
    FInside = false;
}

void TMyBuffer::SetMode(std::uint8_t Value) {
    if (Value != fmStrings && Value != fmComments)
        return;
    FMode = Value;
    spellengine::TCharSet& chars = spellengine::WordChars();
    chars = FSavedWordChars;
    chars.set('&');
    // Apostrophes delimit the strings being walked.
    if (FMode == fmStrings)
        chars.reset('\'');
}

char TMyBuffer::AttrAt(std::int32_t Pos) const {
    const TSyntaxStr* entry = SyntaxList ? SyntaxList->Entry(FCurrentPara) : nullptr;
    if (!entry || entry->Attributes.empty() || Pos < 1 || Pos >= FTextLength)
        return 0;
    const auto i = std::min<std::size_t>(static_cast<std::size_t>(Pos), entry->Attributes.size()) - 1;
    return entry->Attributes[i];
}

bool TMyBuffer::NextParagraph() {
    TZelCustomEditor* editor = Editor();
    while (FCurrentPara < editor->ParaCount()) {
        ++FCurrentPara;
        Reset();
        LoadText();
        if (FTextLength <= 1)
            continue;
        // Strings end with their line; a "//" comment, or one closed on the line before, too.
        if (FMode == fmStrings || AttrAt(1) != 'c')
            FInside = false;
        return true;
    }
    return false;
}

bool TMyBuffer::WalkToWord() {
    const spellengine::TCharSet& wordChars = spellengine::WordChars();
    for (;;) {
        spellengine::PaceMessages();
        // The window closed meanwhile: its syntax list is gone and the walk ends as cancelled.
        if (!SyntaxList) {
            FAborted = true;
            return false;
        }
        if (FPosition >= FTextLength) {
            if (!NextParagraph())
                return false;
            continue;
        }
        const unsigned char c = CharAt(FPosition);
        if (FInside && wordChars[c])
            return true;
        const unsigned char next = CharAt(FPosition + 1);
        if (FMode == fmStrings) {
            if (c == '\'' && AttrAt(FPosition) == 's')
                FInside = !FInside;
        } else if ((c == '{' || (c == '(' && next == '*') || (c == '/' && next == '/')) &&
                   AttrAt(FPosition) == 'c') {
            FInside = true;
        } else if (c == '}' && AttrAt(FPosition + 1) != 'c') {
            FInside = false;
        } else if (c == '*' && next == ')' && AttrAt(FPosition + 2) != 'c') {
            FInside = false;
        }
        ++FPosition;
    }
}

void TMyBuffer::GetNextWord(std::string& Word) {
    for (;;) {
        Word.clear();
        FAmpPos = 0;
        FAmpChar = 0;
        FFoundWord.clear();
        FAborted = false;
        if (!WalkToWord())
            return;
        // A run too long to be a word (a key, a code) is passed over rather than ending the check.
        std::int32_t end = FPosition;
        while (end < FTextLength && spellengine::WordChars()[CharAt(end)])
            ++end;
        if (end - FPosition >= static_cast<std::int32_t>(spellengine::MaxWordLength)) {
            FPosition = end;
            continue;
        }
        TPCharBuffer::GetNextWord(Word);
        if (Word.empty())
            return;
        const auto amp = Word.find('&');
        if (Word.size() >= 2 && amp != std::string::npos) {
            if (amp + 1 < Word.size() && Word[amp + 1] == '&')
                continue; // "&&" stands for itself: not a word to check
            if (amp + 1 == Word.size()) {
                // Nothing follows the mark: it stays in the text, outside the word.
                Word.pop_back();
                --FWordEnd;
                --FPosition;
            } else {
                FFoundWord = rtl::OemToAnsi(Word);
                Word.erase(amp, 1);
                FAmpPos = static_cast<int>(amp) + 1;
                FAmpChar = Word[amp];
                return;
            }
        }
        FFoundWord = rtl::OemToAnsi(Word);
        return;
    }
}

void TMyBuffer::ReplaceWord(std::string_view NewWord) {
    std::string word(NewWord);
    // The mark goes back before the same character place; a different letter there is the
    // user's to confirm.
    if (word.find('&') == std::string::npos && FAmpPos > 0 && FAmpPos <= static_cast<int>(word.size())) {
        word.insert(static_cast<std::size_t>(FAmpPos - 1), 1, '&');
        const std::string oldChar = rtl::OemToAnsi(std::string(1, FAmpChar));
        if (word[static_cast<std::size_t>(FAmpPos)] != oldChar[0]) {
            std::string edited = word;
            word = vcl::InputQuery("Replace Word", "Replace With:", edited) ? edited : FFoundWord;
        }
    }
    // Inside a string literal (of a source or of a form's text) an apostrophe is written twice,
    // or the replacement would end the string and break the file.
    if (FMode == fmStrings) {
        std::string quoted;
        for (char c : word) {
            quoted += c;
            if (c == '\'') quoted += c;
        }
        word = std::move(quoted);
    }
    const std::int32_t para = FCurrentPara;
    TCalvexEditor::ReplaceWord(word);
    if (SyntaxList) {
        TZelCustomEditor* editor = Editor();
        SyntaxList->Recolour(para, [editor](std::int32_t n) { return std::string(editor->GetPara(n)); });
    }
}

} // namespace spellexpert
