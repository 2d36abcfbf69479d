// The word filter of the source check: the editor's words that lie inside string literals, or
// inside comments, judged by the syntax list of the file shown. Accelerator marks ("E&xit") are
// taken out before a word is looked up and put back when it is replaced.
// Implementations in WordFilter.cpp.
#pragma once

#include "spellexpert/ZelSpellDlg.h"

#include <cstdint>
#include <memory>
#include <string>

namespace spellexpert {

class TMyBuffer : public TCalvexEditor {
public:
    static constexpr std::uint8_t fmStrings = 0;
    static constexpr std::uint8_t fmComments = 1;

    // A filter over the editor in strings mode; SetMode changes it.
    static std::unique_ptr<TMyBuffer> NewOnEditor(editor::TZelCustomEditor* Editor);
    // Gives the library's word characters back as they were before this filter.
    ~TMyBuffer() override;

    void Create(vcl::TControl* AControl) override;
    // 0 strings, 1 comments; other values change nothing.
    void SetMode(std::uint8_t Value);
    // An empty word ends the text; it also ends when the shown file's syntax list goes away
    // (the window closed), which reads as an aborted walk.
    void GetNextWord(std::string& Word) override;
    void MoveToWordStart() override {}
    void ReplaceWord(std::string_view NewWord) override;

    std::uint8_t Mode() const { return FMode; }
    bool Inside() const { return FInside; }
    int AmpPos() const { return FAmpPos; }
    char AmpChar() const { return FAmpChar; }
    const std::string& FoundWord() const { return FFoundWord; }

protected:
    TMyBuffer();
    friend class spellengine::TAbsBuffer;

private:
    // The code at Pos of the current paragraph (past its entry: the entry's last); 0 for none.
    char AttrAt(std::int32_t Pos) const;
    bool NextParagraph();
    bool WalkToWord();

    spellengine::TCharSet FSavedWordChars;
    std::uint8_t FMode = fmStrings;
    bool FInside = false;
    int FAmpPos = 0;
    char FAmpChar = 0;
    std::string FFoundWord;
};

} // namespace spellexpert
