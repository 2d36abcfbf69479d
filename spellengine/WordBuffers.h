// Word buffers: the check loop's iterators over the text of one control. A buffer copies the
// text into a store of its own, hands out one word after another, selects and replaces the
// current word, and counts words. TAbsBuffer is the protocol; TPCharBuffer works on a
// zero-terminated text and holds the word cutter every buffer shares; TCEBuffer works on an edit
// box or memo. Buffers are made in two
// steps: the C++ constructor sets fields only, then the virtual creation step (Create or
// CreateOnPChar) runs, so that it reaches a descendant's operations. Implementations in
// WordBuffers.cpp.
#pragma once

#include "vcl/Persistent.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vcl {
class TControl;
class TCustomEdit;
class TCustomMemo;
} // namespace vcl

namespace spellengine {

using TCharSet = std::bitset<256>;

// The characters words are made of: apostrophe, digits, A to Z, a to z and OEM 128 to 165.
// One value for the whole library; a word filter may add to it while it exists.
TCharSet& WordChars();
const TCharSet& DigitChars();

// Told the running totals after each word of a count (and once more at its end); answering
// false stops the count, which then reports 0 and 0. The word-count window supplies it.
using TWordCountProgress = std::function<bool(int Total, int Unique)>;
TWordCountProgress SetWordCountProgress(TWordCountProgress Proc);
// Told when a count starts, before the first word.
using TWordCountStart = std::function<void()>;
TWordCountStart SetWordCountStart(TWordCountStart Proc);

// The number of bytes a buffer reserves beyond the text it is created over.
constexpr std::int32_t BufferSlack = 4096;

class TAbsBuffer : public vcl::TObject {
public:
    // Makes a T and runs its creation step over AControl.
    template <class T, class... Args>
    static std::unique_ptr<T> New(vcl::TControl* AControl, Args&&... args) {
        std::unique_ptr<T> buffer(new T(std::forward<Args>(args)...));
        buffer->Create(AControl);
        return buffer;
    }

    // The operations of the protocol, in its order. Those without a base behaviour raise
    // EAbstractError when a descendant does not provide them.
    virtual bool GetModified() const;
    virtual void SetModified(bool Value);
    virtual int GetWordScreenY() const;
    // Creation step: Control, a store of GetTextLength + 4096 bytes, Reset, LoadText.
    virtual void Create(vcl::TControl* AControl);
    virtual int GetTextLength() const;
    // An empty Word is the end of the text.
    virtual void GetNextWord(std::string& Word);
    virtual void MoveToWordStart();
    virtual void LoadText();
    virtual void SelectWord();
    virtual void ReplaceWord(std::string_view NewWord);
    virtual void CountWords(int& Total, int& Unique);

    void Reset();

    // Positions are 1-based indexes into the store.
    std::int32_t TextLength() const { return FTextLength; } // with the terminating zero
    const char* Current() const { return FBuffer.data() + (FPosition - 1); }
    std::int32_t WordStart() const { return FWordStart; }
    std::int32_t WordEnd() const { return FWordEnd; }
    vcl::TControl* Control() const { return FControl; }
    bool AllDigits() const { return FAllDigits; }
    // Whether the last GetNextWord ended the words at a run of 50 word characters.
    bool Aborted() const { return FAborted; }
    bool SupportHTML() const { return FSupportHTML; }
    void SetSupportHTML(bool Value) { FSupportHTML = Value; }
    const char* Buffer() const { return FBuffer.data(); }
    std::int32_t BufferSize() const { return static_cast<std::int32_t>(FBuffer.size()); }
    std::int32_t Position() const { return FPosition; }
    void SetPosition(std::int32_t Value) { FPosition = Value; }

protected:
    TAbsBuffer() = default;

    // A store of at least Bytes bytes for LoadText to copy into; it grows when the text has
    // outgrown it, so no text is ever cut or written past the store.
    char* TextStore(std::size_t Bytes);
    // The character at Pos, or 0 outside the loaded text.
    unsigned char CharAt(std::int32_t Pos) const;

    std::int32_t FTextLength = 0;
    std::int32_t FWordStart = 0;
    std::int32_t FWordEnd = 0;
    vcl::TControl* FControl = nullptr;
    bool FAllDigits = false;
    bool FAborted = false;
    bool FSupportHTML = false;
    std::vector<char> FBuffer = std::vector<char>(1, '\0');
    std::int32_t FPosition = 1;
};

// A buffer over a zero-terminated text that the caller keeps; replacements do not change it.
class TPCharBuffer : public TAbsBuffer {
public:
    static std::unique_ptr<TPCharBuffer> NewOnPChar(const char* Text);

    bool GetModified() const override { return FModified; }
    void SetModified(bool Value) override { FModified = Value; }
    void Create(vcl::TControl* AControl) override;
    void GetNextWord(std::string& Word) override;
    void MoveToWordStart() override;
    void LoadText() override;
    void ReplaceWord(std::string_view NewWord) override;
    // Creation step over Text, without a control.
    virtual void CreateOnPChar(const char* Text);

    const char* Source() const { return FSource; }

protected:
    TPCharBuffer() = default;
    friend class TAbsBuffer;

    bool FModified = false;
    const char* FSource = nullptr;
};

// A buffer over an edit box or memo: the edit's text in OEM, its Modified flag, its selection.
class TCEBuffer : public TPCharBuffer {
public:
    static std::unique_ptr<TCEBuffer> NewOnEdit(vcl::TCustomEdit* Edit);

    bool GetModified() const override;
    void SetModified(bool Value) override;
    // Of a memo, the caret line's; of an edit box, its client origin's.
    int GetWordScreenY() const override;
    int GetTextLength() const override;
    void LoadText() override;
    void SelectWord() override;
    // Replaces the selected word in the edit (NewWord in ANSI) and goes on after it.
    void ReplaceWord(std::string_view NewWord) override;

    vcl::TCustomEdit* Edit() const;

protected:
    TCEBuffer() = default;
    friend class TAbsBuffer;
};

// The caret's line and column in an edit, both from 0. The caret is where selecting a word
// leaves it: at the selection's end.
struct TLineCol {
    int Line = 0;
    int Col = 0;
};
TLineCol CaretLineCol(vcl::TCustomEdit* Edit);
// The screen Y of the top of the caret's line in a memo.
int CaretScreenY(vcl::TCustomMemo* Memo);

} // namespace spellengine
