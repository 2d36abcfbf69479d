#include "spellengine/WordBuffers.h"

#include "spellengine/EngineMessages.h"

#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace spellengine;

namespace {

struct Word {
    std::string text;
    bool allDigits;
    bool operator==(const Word&) const = default;
};

void PrintTo(const Word& w, std::ostream* os) { *os << "'" << w.text << "'" << (w.allDigits ? " digits" : ""); }

std::vector<Word> Cut(TAbsBuffer& b) {
    std::vector<Word> out;
    std::string w;
    for (b.GetNextWord(w); !w.empty(); b.GetNextWord(w))
        out.push_back({w, b.AllDigits()});
    return out;
}

struct RecordMessages {
    RecordMessages() { FPrevious = SetEngineMessageProc([this](const std::string& t) { Shown.push_back(t); }); }
    ~RecordMessages() { SetEngineMessageProc(FPrevious); }
    std::vector<std::string> Shown;
    TEngineMessageProc FPrevious;
};

// A buffer over a text of its own that replacements change, as the buffers over controls do.
class TStringBuffer : public TPCharBuffer {
public:
    explicit TStringBuffer(std::string text) : FText(std::move(text)) {}
    void LoadText() override {
        std::memcpy(TextStore(FText.size() + 1), FText.c_str(), FText.size() + 1);
        FTextLength = std::int32_t(FText.size() + 1);
    }
    int GetTextLength() const override { return int(FText.size() + 1); }
    void ReplaceWord(std::string_view NewWord) override {
        FText.replace(std::size_t(FWordStart - 1), std::size_t(FWordEnd - FWordStart), NewWord);
        FPosition = FPosition - (FWordEnd - FWordStart) + std::int32_t(NewWord.size());
        LoadText();
    }
    std::string FText;
};

} // namespace

TEST(WordCutter, Words) {
    const struct { const char* text; std::vector<Word> words; } cases[] = {
        {"Hello, world.", {{"Hello", false}, {"world", false}}},
        {"O'Brien's car", {{"O'Brien's", false}, {"car", false}}},
        {"In 1996 a1 b2c 42", {{"In", false}, {"1996", true}, {"a1", false}, {"b2c", false}, {"42", true}}},
        {"caf\x82 na\xA4ve", {{"caf\x82", false}, {"na\xA4ve", false}}}, // OEM letters up to 165
        {"ab\xA6" "cd", {{"ab", false}, {"cd", false}}},                  // 166 ends a word
        {"<b>bold</b> text", {{"b", false}, {"bold", false}, {"b", false}, {"text", false}}},
        {"", {}},
        {"  ...  ", {}},
    };
    for (const auto& c : cases) {
        auto b = TPCharBuffer::NewOnPChar(c.text);
        EXPECT_EQ(Cut(*b), c.words) << "text '" << c.text << "'";
    }
}

TEST(WordCutter, MarkupIsSkippedBetweenWords) {
    const struct { const char* text; std::vector<std::string> words; } cases[] = {
        {"<b>bold</b> text", {"bold", "text"}},
        {"a <font size=3>big</font> deal", {"a", "big", "deal"}},
        {"one <two three", {"one"}},    // an unclosed tag runs to the end
        {"run<b>in", {"run", "in"}},    // a word ends at '<'
    };
    for (const auto& c : cases) {
        auto b = TPCharBuffer::NewOnPChar(c.text);
        b->SetSupportHTML(true);
        std::vector<std::string> got;
        for (const Word& w : Cut(*b))
            got.push_back(w.text);
        EXPECT_EQ(got, c.words) << "text '" << c.text << "'";
    }
}

TEST(WordCutter, FiftyWordCharactersEndTheCheck) {
    RecordMessages messages;
    const std::string w49(49, 'x'), w50(50, 'y');
    std::string text = w49 + " " + w50 + " after";
    auto b = TPCharBuffer::NewOnPChar(text.c_str());
    std::string w;
    b->GetNextWord(w);
    EXPECT_EQ(w, w49);
    EXPECT_TRUE(messages.Shown.empty());
    b->GetNextWord(w);
    EXPECT_EQ(w, "");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0], "Aborting spell check (Invalid word): \r" + w50);
}

TEST(WordCutter, PositionsAndMoveToWordStart) {
    const char* text = "ab  cdef";
    auto b = TPCharBuffer::NewOnPChar(text);
    EXPECT_EQ(b->TextLength(), 9);
    std::string w;
    b->GetNextWord(w);
    b->GetNextWord(w);
    EXPECT_EQ(w, "cdef");
    EXPECT_EQ(b->WordStart(), 5);
    EXPECT_EQ(b->WordEnd(), 9);
    b->SetPosition(7);
    b->MoveToWordStart();
    EXPECT_EQ(b->Position(), 4); // the blank before the word
    b->GetNextWord(w);
    EXPECT_EQ(w, "cdef");
}

TEST(WordBuffer, TextsLongerThanTheOldFixedBufferAreCopiedWhole) {
    std::string text;
    while (text.size() < 40000)
        text += "lorem ipsum ";
    text += "omega";
    auto b = TPCharBuffer::NewOnPChar(text.c_str());
    EXPECT_EQ(b->TextLength(), std::int32_t(text.size() + 1));
    std::vector<Word> words = Cut(*b);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words.back().text, "omega");
}

TEST(WordBuffer, ReplacementsMayOutgrowTheStoreAndTheNextWordIsWhole) {
    auto b = TAbsBuffer::New<TStringBuffer>(nullptr, "teh cat sat");
    const std::int32_t created = b->BufferSize();
    std::string w;
    b->GetNextWord(w);
    ASSERT_EQ(w, "teh");
    const std::string longer(created + 100, 'z');
    b->ReplaceWord(longer);
    EXPECT_GE(b->BufferSize(), b->TextLength());
    b->GetNextWord(w);
    EXPECT_EQ(w, "cat");
    b->GetNextWord(w);
    EXPECT_EQ(w, "sat");
    EXPECT_EQ(b->FText, longer + " cat sat");
}

TEST(WordBuffer, CountWords) {
    std::vector<std::pair<int, int>> seen;
    auto previous = SetWordCountProgress([&](int total, int unique) {
        seen.emplace_back(total, unique);
        return true;
    });
    auto b = TPCharBuffer::NewOnPChar("The cat the");
    std::string w;
    b->GetNextWord(w); // counting starts from the top whatever was read before
    int total = -1, unique = -1;
    b->CountWords(total, unique);
    EXPECT_EQ(total, 3);
    EXPECT_EQ(unique, 2);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {3, 2}, {3, 2}}));

    // Closing the count window stops it with nothing to report.
    SetWordCountProgress([](int total, int) { return total < 2; });
    b->CountWords(total, unique);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(unique, 0);
    SetWordCountProgress(previous);
}

TEST(WordBuffer, MissingOperationsAreAbstractErrors) {
    class TBare : public TAbsBuffer {};
    EXPECT_THROW(TAbsBuffer::New<TBare>(nullptr), rtl::EAbstractError);
}
