#include "spellengine/WordBuffers.h"

#include "spellengine/DCTFile.h"
#include "spellengine/EngineMessages.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

namespace spellengine {
namespace {

TCharSet MakeWordChars() {
    TCharSet s;
    s.set('\'');
    for (int c = '0'; c <= '9'; ++c)
        s.set(std::size_t(c));
    for (int c = 'A'; c <= 'Z'; ++c)
        s.set(std::size_t(c)), s.set(std::size_t(c + 32));
    for (int c = 128; c <= 165; ++c)
        s.set(std::size_t(c));
    return s;
}

TCharSet MakeDigits() {
    TCharSet s;
    for (int c = '0'; c <= '9'; ++c)
        s.set(std::size_t(c));
    return s;
}

TWordCountProgress& CountProgress() {
    static TWordCountProgress proc;
    return proc;
}

[[noreturn]] void AbstractCall() { throw rtl::EAbstractError("Abstract Error"); }

// The base protocol's text length, which a plain text buffer keeps.
constexpr int kDefaultTextLength = 28671;

} // namespace

TCharSet& WordChars() {
    static TCharSet chars = MakeWordChars();
    return chars;
}

const TCharSet& DigitChars() {
    static const TCharSet digits = MakeDigits();
    return digits;
}

TWordCountProgress SetWordCountProgress(TWordCountProgress Proc) {
    return std::exchange(CountProgress(), std::move(Proc));
}

bool TAbsBuffer::GetModified() const { AbstractCall(); }
void TAbsBuffer::SetModified(bool) { AbstractCall(); }
int TAbsBuffer::GetWordScreenY() const { return 0; }

void TAbsBuffer::Create(vcl::TControl* AControl) {
    FControl = AControl;
    FBuffer.assign(std::size_t(std::max(GetTextLength(), 1) + BufferSlack), '\0');
    Reset();
    LoadText();
}

int TAbsBuffer::GetTextLength() const { return kDefaultTextLength; }
void TAbsBuffer::GetNextWord(std::string&) { AbstractCall(); }
void TAbsBuffer::MoveToWordStart() { AbstractCall(); }
void TAbsBuffer::LoadText() { AbstractCall(); }
void TAbsBuffer::SelectWord() {}
void TAbsBuffer::ReplaceWord(std::string_view) { AbstractCall(); }

void TAbsBuffer::CountWords(int& Total, int& Unique) {
    Reset();
    LoadText();
    Total = 0;
    Unique = 0;
    std::unordered_set<std::string> distinct;
    std::string word;
    for (;;) {
        GetNextWord(word);
        std::string upper = word;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = char(c - 32);
        if (!upper.empty()) {
            ++Total;
            distinct.insert(upper);
        }
        if (CountProgress() && !CountProgress()(Total, int(distinct.size()))) {
            Total = 0;
            distinct.clear();
            break;
        }
        if (upper.empty())
            break;
    }
    Unique = int(distinct.size());
}

void TAbsBuffer::Reset() {
    FTextLength = 0;
    FPosition = 1;
}

char* TAbsBuffer::TextStore(std::size_t Bytes) {
    if (FBuffer.size() < Bytes)
        FBuffer.resize(Bytes + BufferSlack, '\0');
    return FBuffer.data();
}

unsigned char TAbsBuffer::CharAt(std::int32_t Pos) const {
    if (Pos < 1 || Pos > FTextLength || std::size_t(Pos) > FBuffer.size())
        return 0;
    return static_cast<unsigned char>(FBuffer[std::size_t(Pos - 1)]);
}

std::unique_ptr<TPCharBuffer> TPCharBuffer::NewOnPChar(const char* Text) {
    std::unique_ptr<TPCharBuffer> buffer(new TPCharBuffer());
    buffer->CreateOnPChar(Text);
    return buffer;
}

void TPCharBuffer::CreateOnPChar(const char* Text) {
    FSource = Text;
    FModified = false;
    TAbsBuffer::Create(nullptr);
}

void TPCharBuffer::Create(vcl::TControl* AControl) {
    TAbsBuffer::Create(AControl);
    FModified = false;
}

void TPCharBuffer::GetNextWord(std::string& Word) {
    const TCharSet& wordChars = WordChars();
    FWordStart = FPosition;
    FWordEnd = FPosition;
    Word.clear();
    FAllDigits = true;
    bool inMarkup = false;
    while ((!wordChars[CharAt(FPosition)] || inMarkup) && FPosition < FTextLength) {
        if (FSupportHTML) {
            if (inMarkup) {
                if (CharAt(FPosition) == '>')
                    inMarkup = false;
            } else if (CharAt(FPosition) == '<') {
                inMarkup = true;
            }
        }
        ++FPosition;
    }
    if (FPosition >= FTextLength)
        return;
    FWordStart = FPosition;
    while (wordChars[CharAt(FPosition)] && FPosition < FTextLength) {
        unsigned char c = CharAt(FPosition);
        Word.push_back(char(c));
        ++FPosition;
        if (!DigitChars()[c])
            FAllDigits = false;
        FWordEnd = FPosition;
        if (FWordEnd == FWordStart + std::int32_t(MaxWordLength)) {
            EngineMessage("Aborting spell check (Invalid word): \r" + Word);
            Word.clear();
            return;
        }
    }
}

void TPCharBuffer::MoveToWordStart() {
    while (WordChars()[CharAt(FPosition)] && FPosition >= 2)
        --FPosition;
}

void TPCharBuffer::LoadText() {
    const char* text = FSource ? FSource : "";
    const std::size_t length = std::strlen(text) + 1;
    std::memcpy(TextStore(length), text, length);
    FTextLength = static_cast<std::int32_t>(length);
}

void TPCharBuffer::ReplaceWord(std::string_view) { LoadText(); }

} // namespace spellengine
