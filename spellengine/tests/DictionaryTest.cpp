#include "spellengine/Dictionary.h"

#include "spellengine/EngineMessages.h"

#include "DctFixture.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"
#include "rtl/TestHooks.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace spellengine;

namespace {

struct RecordMessages {
    RecordMessages() {
        FPrevious = SetEngineMessageProc([this](const std::string& text) { Shown.push_back(text); });
    }
    ~RecordMessages() { SetEngineMessageProc(FPrevious); }
    std::vector<std::string> Shown;

private:
    TEngineMessageProc FPrevious;
};

std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::filesystem::path& p, const std::string& text) { dct_fixture::WriteRaw(p, text); }

const std::string kWord49 = "pneumonoultramicroscopicsilicovolcanoconiosisxyzw";
const std::string kWord50 = kWord49 + "q";

class DictionaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dct_fixture::WriteWords(Dir / "SMALL.DCT", {"ant", "and", "an", "a", "cat", "dog", "caf\x82", kWord49, kWord50,
                                                    "zebra"});
    }
    // The suite names files in Windows form.
    std::string Win(const std::string& name) const { return rtl::WinPath((Dir / name).string()); }

    testing_support::TempWinRoot Root;
    dct_fixture::TempDir Dir;
    RecordMessages Messages;
};

} // namespace

TEST_F(DictionaryTest, OnlyOneDictionaryAtATime) {
    EXPECT_FALSE(DictionaryInUse());
    {
        TDictionary first;
        EXPECT_TRUE(DictionaryInUse());
        try {
            TDictionary second;
            FAIL() << "made a second dictionary";
        } catch (const TEDictionaryInUse& e) {
            EXPECT_STREQ(e.what(), "Multiple Dictionaries not supported.");
        }
        ASSERT_EQ(Messages.Shown.size(), 1u);
        EXPECT_EQ(Messages.Shown[0], "Programmer Error. Only one dictionary\robject can be initialized at once.");
        EXPECT_TRUE(DictionaryInUse()) << "the first one is untouched";
    }
    EXPECT_FALSE(DictionaryInUse());
    TDictionary again;
}

TEST_F(DictionaryTest, KnownWordsFollowExclusionThenUserListThenMainFiles) {
    Write(Dir / "USER.TXT", "zork\r\nzebu\r\n");
    Write(Dir / "EXCL.TXT", "Dog\r\nzebu\r\n");
    TDictionary d;
    ASSERT_TRUE(d.OpenMain(Win("SMALL.DCT")));
    ASSERT_TRUE(d.OpenCustom("USER.TXT"));
    ASSERT_TRUE(d.OpenExclude("EXCL.TXT"));
    const struct { std::string word; bool known; } cases[] = {
        {"ant", true}, {"ANT", true}, {"Cat", true},
        {"ca", false}, {"ants", false},
        {"ant's", true},   // a trailing 's goes
        {"'s", false},
        {"a's", true},
        {"zork", true},    // user list
        {"ZORK", true},
        {"dog", false},    // excluded, though in the main file
        {"zebu", false},   // excluded, though in the user list
        {kWord49, true},
        {kWord50, true},
        {kWord50 + "tail", true}, // cut to 50 characters
        {"caf\x82", true},  // OEM e-acute
        {"CAF\x82", true},
        {"caf\x90", false}, // OEM E-acute: only A to Z are folded
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(d.IsKnownWord(c.word), c.known) << "word '" << c.word << "'";
}

TEST_F(DictionaryTest, OpeningMainFiles) {
    TDictionary d;
    EXPECT_FALSE(d.OpenMain(Win("NONE.DCT")));
    EXPECT_FALSE(d.Opened());
    EXPECT_EQ(d.Files().Count(), 0);

    ASSERT_TRUE(d.OpenMain(Win("SMALL.DCT")));
    EXPECT_TRUE(d.Opened());
    std::filesystem::create_directory(Dir / "other");
    dct_fixture::WriteWords(Dir / "other" / "small.dct", {"x"});
    // The same file in another case is open already; one of that name in another folder is not.
    EXPECT_TRUE(d.OpenMain(Win("small.dct")));
    EXPECT_EQ(d.Files().Count(), 1);
    EXPECT_FALSE(d.IsOpen("Z:\\elsewhere\\Small.Dct"));
    EXPECT_TRUE(d.OpenMain(Win("other/small.dct"))) << "same name, other folder";
    EXPECT_TRUE(d.IsOpen(Win("OTHER/Small.Dct")));
    EXPECT_EQ(d.Files().Count(), 2);
    EXPECT_TRUE(d.IsKnownWord("x"));

    dct_fixture::WriteWords(Dir / "EXTRA.DCT", {"xylem"});
    ASSERT_TRUE(d.OpenMain(Win("EXTRA.DCT")));
    EXPECT_EQ(d.Files().Count(), 3);
    EXPECT_TRUE(d.IsKnownWord("xylem"));
    EXPECT_TRUE(d.IsKnownWord("zebra"));

    Write(Dir / "BAD.DCT", "not a dictionary at all, but long enough to hold a header of 83 bytes ..............");
    EXPECT_THROW(d.OpenMain(Win("BAD.DCT")), TEDictionaryCorrupt);
    EXPECT_EQ(d.Files().Count(), 3);

    d.Close();
    EXPECT_FALSE(d.Opened());
    EXPECT_EQ(d.Files().Count(), 0);
}

TEST_F(DictionaryTest, AddWordAndSaveOnClose) {
    TDictionary d;
    ASSERT_TRUE(d.OpenMain(Win("SMALL.DCT")));
    EXPECT_FALSE(d.OpenCustom("USER.TXT"));
    EXPECT_EQ(d.UserListPath(), Win("USER.TXT"));
    EXPECT_FALSE(d.AddWord("Ant"));
    EXPECT_FALSE(d.Modified());
    EXPECT_TRUE(d.AddWord("Quux"));
    EXPECT_TRUE(d.AddWord("blorp"));
    EXPECT_TRUE(d.Modified());
    EXPECT_TRUE(d.IsKnownWord("QUUX"));
    d.Close();
    EXPECT_FALSE(d.Modified());
    EXPECT_EQ(Read(Dir / "USER.TXT"), "blorp\r\nquux\r\n");
    EXPECT_EQ(d.UserFileSize(), 13);
}

TEST_F(DictionaryTest, SavingMergesWhatAnotherWriterChanged) {
    Write(Dir / "USER.TXT", "mine\r\n");
    {
        TDictionary d;
        d.OpenMain(Win("SMALL.DCT"));
        ASSERT_TRUE(d.OpenCustom("USER.TXT"));
        d.AddWord("added");
        Write(Dir / "USER.TXT", "mine\r\ntheirs\r\n"); // the file grew
        d.SaveCustom();
        EXPECT_EQ(Read(Dir / "USER.TXT"), "added\r\nmine\r\ntheirs\r\n");
        EXPECT_EQ(d.UserFileSize(), std::int64_t(Read(Dir / "USER.TXT").size()));

        // Same size, other words: the date tells.
        d.AddWord("more");
        Write(Dir / "USER.TXT", "other1\r\nother2\r\nother3\r\n");
        d.SaveCustom();
        EXPECT_EQ(Read(Dir / "USER.TXT"), "added\r\nmine\r\nmore\r\nother1\r\nother2\r\nother3\r\ntheirs\r\n");

        // Deleted meanwhile: nothing to merge, the words are written anew.
        d.AddWord("last");
        std::filesystem::remove(Dir / "USER.TXT");
        EXPECT_NO_THROW(d.SaveCustom());
        EXPECT_EQ(Read(Dir / "USER.TXT"),
                  "added\r\nlast\r\nmine\r\nmore\r\nother1\r\nother2\r\nother3\r\ntheirs\r\n");
    }
}

TEST_F(DictionaryTest, AFailedSaveLosesNothing) {
    Write(Dir / "USER.TXT", "mine\r\n");
    rtl::SetWriteFailureHook([](std::string_view) { return 28; }); // a full disk
    {
        TDictionary d;
        d.OpenMain(Win("SMALL.DCT"));
        d.OpenCustom("USER.TXT");
        d.AddWord("added");
        EXPECT_THROW(d.SaveCustom(), rtl::EInOutError);
        EXPECT_TRUE(d.Modified());
        EXPECT_EQ(Read(Dir / "USER.TXT"), "mine\r\n");
        EXPECT_TRUE(Messages.Shown.empty());
    } // the destructor's save fails too: shown, not thrown
    rtl::SetWriteFailureHook({});
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_NE(Messages.Shown[0].find("USER.TXT"), std::string::npos) << Messages.Shown[0];
    EXPECT_EQ(Read(Dir / "USER.TXT"), "mine\r\n");
    EXPECT_FALSE(DictionaryInUse());
}

TEST_F(DictionaryTest, WordListLocations) {
    // The shared user list of the Windows folder replaces the default name.
    std::filesystem::path proof = std::filesystem::path(rtl::WindowsDir()) / "MSAPPS" / "PROOF";
    std::filesystem::create_directories(proof);
    Write(proof / "CUSTOM.DIC", "shared\r\n");
    Write(Dir / "EXCL.TXT", "ant\r\n");
    TDictionary d;
    d.OpenMain(Win("SMALL.DCT"));
    EXPECT_TRUE(d.OpenCustom("CUSTOM.DIC"));
    EXPECT_EQ(d.UserListPath(), rtl::GetWindowsDirectory() + "\\MSAPPS\\PROOF\\CUSTOM.DIC");
    EXPECT_TRUE(d.IsKnownWord("shared"));

    // An exclusion list missing where named is looked for beside the main file.
    EXPECT_TRUE(d.OpenExclude("Z:\\no\\such\\folder\\EXCL.TXT"));
    EXPECT_FALSE(d.IsKnownWord("ant"));
    EXPECT_FALSE(d.OpenExclude("NONE.TXT"));
    EXPECT_EQ(d.ExcludedWords(), nullptr);
    EXPECT_TRUE(d.IsKnownWord("ant"));
}
