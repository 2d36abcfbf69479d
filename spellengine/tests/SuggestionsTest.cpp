#include "spellengine/Suggestions.h"

#include "spellengine/DCTFile.h"

#include "DctFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace spellengine;

namespace {

// A copy in a heap block of exactly its size, so that a read past its end is caught.
struct Exact {
    explicit Exact(std::string_view s) : data(new char[s.size()]), size(s.size()) {
        std::copy(s.begin(), s.end(), data.get());
    }
    std::string_view view() const { return {data.get(), size}; }
    std::unique_ptr<char[]> data;
    std::size_t size;
};

std::vector<std::string> Words(const TSuggestList& list) {
    std::vector<std::string> out;
    for (TSuggestion* s = list.First(); s; s = static_cast<TSuggestion*>(s->Next))
        out.push_back(s->Word);
    return out;
}

} // namespace

TEST(Soundex, Codes) {
    const struct { const char* word; bool pad; std::string code; } cases[] = {
        {"robert", true, "R163"},
        {"hello", true, "H400"},
        {"hel", false, "H4"},
        {"ashcraft", true, "A261"}, // H codes 2, so s-h-c fold into one 2
        {"pfister", true, "P123"},  // the second letter is coded even when it sounds like the first
        {"tata", true, "T300"},
        {"tomato", false, "T53"},
        {"a", true, "A000"},
        {"a", false, "A"},
        {"o'neil", true, std::string("O\0" "54", 4)}, // a non-letter codes as the zero byte
        {"\x82t\x82", true, "\xE9" "300"},            // OEM e-acute opens the word as its ANSI letter
        {"\x87" "a", true, "\xE7" "000"},             // c-cedilla opens the word as it is
        {"b\x87", true, "B200"},                      // c-cedilla later codes as C
        {"mississippi", true, "M210"}, // the s codes meet once the i between them drops out
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(Soundex(c.word, c.pad), c.code) << "case " << i << " (" << c.word << ")";
    }
}

TEST(Similarity, Scores) {
    const struct { const char* a; const char* b; int score; } cases[] = {
        {"ab", "ab", 100},
        {"hello", "hello", 100},
        {"a", "a", 0},        // a one-character range finds nothing
        {"a", "ab", 0},
        {"ab", "xb", 50},
        {"abc", "abd", 66},
        {"abcd", "dcba", 25}, // the first longest run wins, scanning the word from the left
        {"teh", "the", 66},
        {"recieve", "receive", 71},
        {"ab", "abxxxxxab", 36}, // after the run, the scan goes on past the end of "ab"
        {"abc", "xyz", 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Exact a(cases[i].a), b(cases[i].b);
        EXPECT_EQ(SimilarityScore(a.view(), b.view()), cases[i].score)
            << "case " << i << ": " << cases[i].a << " / " << cases[i].b;
    }
}

TEST(MatchCase, FollowsThePattern) {
    const struct { const char* word; const char* pattern; const char* result; } cases[] = {
        {"the", "Teh", "The"},
        {"the", "TEH", "THE"},
        {"the", "teh", "the"},
        {"the", "T", "THE"},  // one capital: capitals only
        {"the", "t", "the"},
        {"the", "", "the"},
        {"the", "Xyz", "The"},
        {"its", "I'", "ITS"}, // an apostrophe has no case
        {"Mixed", "ab", "mixed"},
        {"\xE9lan", "Xy", "\xC9lan"},    // e-acute to E-acute
        {"\xE2me", "Xy", "Ame"},         // a-circumflex to plain A
        {"\xE7" "a", "\xC7" "A", "\xC7" "A"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(MatchCase(cases[i].word, cases[i].pattern), cases[i].result) << "case " << i;
}

TEST(SuggestList, RankingKeepsEarlierEqualsFirstAndTheCapacity) {
    TSuggestList list;
    list.Prepare(3, "abcd");
    list.AddScored("abcd", "abcx");  // 75
    list.AddScored("abcd", "abxy");  // 50
    list.AddScored("abcd", "abcy");  // 75, after the first 75
    EXPECT_EQ(Words(list), (std::vector<std::string>{"abcx", "abcy", "abxy"}));
    list.AddScored("abcd", "wxyz");  // would be last of a full list: dropped
    EXPECT_EQ(Words(list), (std::vector<std::string>{"abcx", "abcy", "abxy"}));
    list.AddScored("abcd", "abcd");  // 100: first, and the last one goes
    EXPECT_EQ(Words(list), (std::vector<std::string>{"abcd", "abcx", "abcy"}));
    EXPECT_EQ(list.Count(), 3);
}

TEST(SuggestList, WalkPrunesBySoundAndLength) {
    dct_fixture::TempDir dir;
    dct_fixture::WriteWords(dir / "W.DCT", {"the", "then", "thee", "tee", "ten", "tea", "toe", "t", "thereafter",
                                            "eh", "tech", "teh", "th"});
    TDCTFile file((dir / "W.DCT").string());
    TSuggestList list;
    list.CollectFromTrie(file, 10, "teh");
    std::vector<std::string> got = Words(list);
    auto has = [&](const char* w) { return std::find(got.begin(), got.end(), w) != got.end(); };
    EXPECT_TRUE(has("the") && has("thee") && has("tea") && has("toe") && has("teh") && has("th"));
    EXPECT_TRUE(has("tech")) << "c and h share the code 2";
    EXPECT_FALSE(has("ten")) << "another sound code";
    EXPECT_FALSE(has("thereafter")) << "more than two characters longer";
    EXPECT_FALSE(has("eh")) << "another first letter";
    EXPECT_EQ(got.front(), "teh");
}

TEST(SuggestList, WalkOfALongWordStaysInItsArrays) {
    // A chain of 52 vowels below 'a': a 50-character word lets the walk reach level 53.
    std::vector<std::uint32_t> nodes;
    nodes.push_back(dct_fixture::Node('a', true, false, 2));
    for (int i = 0; i < 53; ++i)
        nodes.push_back(dct_fixture::Node('e', true, true, i < 52 ? std::uint32_t(i + 3) : 0));
    dct_fixture::TempDir dir;
    dct_fixture::WriteNodes(dir / "LONG.DCT", nodes);
    TDCTFile file((dir / "LONG.DCT").string());
    TSuggestList list;
    list.CollectFromTrie(file, 5, "a" + std::string(49, 'e'));
    ASSERT_GT(list.Count(), 0);
    EXPECT_EQ(list.First()->Word, "a" + std::string(49, 'e'));
}

TEST(SuggestList, WalkOfLoopingLinksIsRefused) {
    // Two vowels that both lead back to themselves: without a bound the walk doubles per level.
    dct_fixture::TempDir dir;
    dct_fixture::WriteNodes(dir / "LOOP.DCT", {dct_fixture::Node('a', true, false, 2),
                                              dct_fixture::Node('a', false, false, 2),
                                              dct_fixture::Node('e', true, false, 2)});
    TDCTFile file((dir / "LOOP.DCT").string());
    TSuggestList list;
    EXPECT_THROW(list.CollectFromTrie(file, 10, std::string(40, 'a')), TEDictionaryCorrupt);
}
