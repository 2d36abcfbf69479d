// Suggestions and completions through the dictionary: the exact rules on a small tree, and
// realistic ones on the built English dictionary.
#include "spellengine/Dictionary.h"

#include "DctFixture.h"

#include "rtl/CodePages.h"
#include "rtl/Paths.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace spellengine;

namespace {

std::vector<std::string> Items(const rtl::TStringList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i));
    return out;
}

class SmallSuggest : public ::testing::Test {
protected:
    void SetUp() override {
        // Siblings in the order given: completions come in this order.
        dct_fixture::WriteWords(Dir / "S.DCT", {"the", "man", "then", "than", "them", "tee", "toe", "manor",
                                                "mane", "in", "inn", "side", "inside", "caf\x82", "\x82lan"});
        ASSERT_TRUE(D.OpenMain(rtl::WinPath((Dir / "S.DCT").string())));
    }
    dct_fixture::TempDir Dir;
    TDictionary D;
};

} // namespace

TEST_F(SmallSuggest, SplitsComeFirstInOrderOfTheLeftPart) {
    auto s = D.Suggest("inside", 10);
    std::vector<std::string> got = Items(*s);
    ASSERT_GE(got.size(), 1u);
    EXPECT_EQ(got[0], "in side");
    EXPECT_NE(std::find(got.begin(), got.end(), "inside"), got.end());

    auto splits = D.SplitWords("inninside", 10);
    EXPECT_EQ(Items(*splits), (std::vector<std::string>{"inn inside"}));

    // With Max splits found there is no tree walk.
    EXPECT_EQ(Items(*D.Suggest("theman", 1)), (std::vector<std::string>{"the man"}));
}

TEST_F(SmallSuggest, EdgeWords) {
    EXPECT_EQ(D.Suggest("", 10)->Count(), 0);
    // No tree entry for the first letter: splits only.
    EXPECT_EQ(Items(*D.Suggest("xinside", 10)), std::vector<std::string>{});
    // An accented word is converted to OEM and found from its first letter.
    auto s = D.Suggest("caf\xE8", 5); // ANSI e-grave
    EXPECT_EQ(Items(*s), (std::vector<std::string>{"caf\xE9"})); // back in ANSI
    // A word that starts with an accented letter is matched on its sound code from the tree.
    EXPECT_EQ(Items(*D.Suggest("\xE9lam", 5)), (std::vector<std::string>{"\xE9lan"}));
}

TEST_F(SmallSuggest, UserWordsJoinTheRanking) {
    D.AddWord("thex");
    auto got = Items(*D.Suggest("thez", 10));
    EXPECT_NE(std::find(got.begin(), got.end(), "thex"), got.end());
}

TEST_F(SmallSuggest, LetterCaseFollowsTheWord) {
    const struct { const char* word; const char* first; } cases[] = {
        {"teh", "the"}, {"Teh", "The"}, {"TEH", "THE"}, {"Theman", "The man"}, {"THEMAN", "THE MAN"},
    };
    for (const auto& c : cases) {
        auto got = Items(*D.Suggest(c.word, 10));
        EXPECT_NE(std::find(got.begin(), got.end(), c.first), got.end()) << c.word;
    }
}

TEST_F(SmallSuggest, Completions) {
    EXPECT_EQ(Items(*D.CompleteWord("th", 10)), (std::vector<std::string>{"the", "then", "them", "than"}));
    EXPECT_EQ(Items(*D.CompleteWord("Th", 2)), (std::vector<std::string>{"The", "Then"}));
    EXPECT_EQ(Items(*D.CompleteWord("MAN", 10)), (std::vector<std::string>{"MANOR", "MANE"})) << "not the prefix";
    EXPECT_EQ(Items(*D.CompleteWord("", 3)), (std::vector<std::string>{"the", "then", "them"}));
    // Words with nothing below them, and prefixes that are not in the tree.
    for (const char* p : {"manor", "inside", "thx", "q"})
        EXPECT_EQ(D.CompleteWord(p, 10)->Count(), 0) << p;
}

TEST(CompleteWord, LoopingLinksAreRefused) {
    dct_fixture::TempDir dir;
    using dct_fixture::Node;
    dct_fixture::WriteNodes(dir / "L.DCT", {Node('a', false, false, 1), Node('b', true, false, 1)});
    TDictionary d;
    ASSERT_TRUE(d.OpenMain(rtl::WinPath((dir / "L.DCT").string())));
    EXPECT_THROW(d.CompleteWord("", 10), TEDictionaryCorrupt);
}

class EnglishDictionary : public ::testing::Test {
protected:
    void SetUp() override {
        if (!dct_fixture::HaveEnglishDct())
            GTEST_SKIP() << "no " << dct_fixture::EnglishDct();
        ASSERT_TRUE(D.OpenMain(rtl::WinPath(dct_fixture::EnglishDct())));
    }
    TDictionary D;
};

TEST_F(EnglishDictionary, CommonWordsAreKnown) {
    for (const char* w : {"the", "The", "receive", "separate", "definitely", "dictionary", "Monday", "don't",
                          "it's", "children's", "America", "running", "zoo"})
        EXPECT_TRUE(D.IsKnownWord(rtl::AnsiToOem(w))) << w;
    for (const char* w : {"recieve", "teh", "seperate", "definately", "qzxv"})
        EXPECT_FALSE(D.IsKnownWord(w)) << w;
}

TEST_F(EnglishDictionary, MisspellingsGetTheIntendedWord) {
    const struct { const char* typo; const char* intended; } cases[] = {
        {"recieve", "receive"}, {"teh", "the"}, {"definately", "definitely"},
        {"Recieve", "Receive"}, {"occured", "occurred"}, {"wierd", "weird"}, {"DEFINATELY", "DEFINITELY"},
    };
    for (const auto& c : cases) {
        auto got = Items(*D.Suggest(c.typo, 10));
        EXPECT_NE(std::find(got.begin(), got.end(), c.intended), got.end())
            << c.typo << ": " << testing::PrintToString(got);
    }
}

TEST_F(EnglishDictionary, TheWalkFindsWhatTheScoreRanksLow) {
    // Scored 50 against "seperate": the common run "rate" is not seen once "sep" has matched.
    auto got = Items(*D.Suggest("seperate", 60));
    EXPECT_NE(std::find(got.begin(), got.end(), "separate"), got.end()) << testing::PrintToString(got);
}

TEST_F(EnglishDictionary, SplitsAndCompletions) {
    auto split = Items(*D.Suggest("thankyou", 10));
    ASSERT_FALSE(split.empty());
    EXPECT_EQ(split[0], "thank you");
    auto done = Items(*D.CompleteWord("Dictionar", 5));
    EXPECT_NE(std::find(done.begin(), done.end(), "Dictionary"), done.end()) << testing::PrintToString(done);
    for (const std::string& w : done)
        EXPECT_EQ(w.rfind("Dictionar", 0), 0u) << w;
}
