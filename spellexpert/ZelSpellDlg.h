// The spell check over the editor library's controls: word buffers over the multi-line editor
// (one paragraph at a time) and over the entry field, and the spell-check component that checks
// them besides edit boxes and turns the editor notebook to the page of the control it checks.
// Implementations in ZelSpellDlg.cpp.
#pragma once

#include "spellengine/SpellDlg.h"
#include "spellengine/WordBuffers.h"

#include <cstdint>

namespace editor {
class TZelCustomEditor;
class TZelBaseEntryField;
} // namespace editor

namespace spellexpert {

// The editor's text, one paragraph in the buffer at a time; word positions lie in that paragraph.
class TCalvexEditor : public spellengine::TPCharBuffer {
public:
    static std::unique_ptr<TCalvexEditor> NewOnEditor(editor::TZelCustomEditor* Editor);

    bool GetModified() const override;
    void SetModified(bool Value) override;
    // The screen Y of the top of the word's display line.
    int GetWordScreenY() const override;
    void Create(vcl::TControl* AControl) override;
    void GetNextWord(std::string& Word) override;
    void LoadText() override;
    void SelectWord() override;
    // Selects the word again and replaces it with NewWord (ANSI); the walk goes on after it.
    void ReplaceWord(std::string_view NewWord) override;

    editor::TZelCustomEditor* Editor() const;
    std::int32_t CurrentPara() const { return FCurrentPara; }

protected:
    TCalvexEditor() = default;
    friend class spellengine::TAbsBuffer;

    std::int32_t FCurrentPara = 1;
};

// The entry field's whole text.
class TCalvexField : public spellengine::TPCharBuffer {
public:
    static std::unique_ptr<TCalvexField> NewOnField(editor::TZelBaseEntryField* Field);

    bool GetModified() const override;
    void SetModified(bool Value) override;
    int GetWordScreenY() const override;
    void LoadText() override;
    void SelectWord() override;
    // A field that is not text, or a text that would not fit, is refused with a message and the
    // field stays as it was; the walk then goes on after the word.
    void ReplaceWord(std::string_view NewWord) override;

    editor::TZelBaseEntryField* Field() const;

protected:
    TCalvexField() = default;
    friend class spellengine::TAbsBuffer;
};

class TZelSpellDlg : public spellengine::TSpellDlg {
public:
    using TSpellDlg::TSpellDlg;

    // Turns the editor notebooks the control lies on to its pages.
    void BringControlToFront(vcl::TControl* Control) override;
    // Editors and entry fields keep their caret and selection over the check.
    spellengine::TSpellCheckResult SpellCheck(vcl::TControl* Control) override;
    // Edit boxes, memos, editors and entry fields, in the owner's order.
    spellengine::TSpellCheckResult CheckAllFields(vcl::TComponent* Owner, bool Report) override;
    bool IsCheckable(vcl::TComponent* Component) const override;
    void WordCount(vcl::TControl* Control, int& Total, int& Unique) override;
};

} // namespace spellexpert
