// The dictionary builder, run as the build runs it, read back with the dictionary reader.
#include "spellengine/DCTFile.h"

#include "DctFixture.h"
#include "testing/Shell.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace spellengine;

namespace {

const std::string kMkdct = std::string(SUITE_BINARY_DIR) + "/tools/mkdct/mkdct";

struct TRun {
    int status;
    std::string output;
};

TRun Mkdct(const std::filesystem::path& list, const std::filesystem::path& dct) {
    std::string command = "'" + kMkdct + "' '" + list.string() + "' '" + dct.string() + "' 2>&1";
    TRun r{-1, {}};
    r.output = testing_support::Shell(command, &r.status);
    return r;
}

} // namespace

TEST(Mkdct, BuildsATreeTheReaderFinds) {
    if (!std::filesystem::exists(kMkdct))
        GTEST_SKIP() << "no " << kMkdct;
    dct_fixture::TempDir dir;
    const std::string long50(50, 'l'), long49(49, 'k');
    dct_fixture::WriteRaw(dir / "words.txt",
                          "\xEF\xBB\xBF" "Zebra\r\napple\nApple\n\n"  // BOM, CR LF, a duplicate by case
                          "caf\xC3\xA9\n"                           // UTF-8 e-acute
                          "na\xEFve\n"                              // cp1252 i-diaeresis
                          "\xC3\x89" "cole\n"                        // UTF-8 E-acute, lowered
                          "don't\n" + long49 + "\n" + long50 + "\n"
                          "two words\nx-ray\n\xE2\x82\xAC" "uro\n");  // a blank, a hyphen, the euro sign
    TRun r = Mkdct(dir / "words.txt", dir / "OUT.DCT");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(" 8 words"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("1 duplicates merged"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("skipped 1 over 49 characters and 2 with"), std::string::npos) << r.output;

    TDCTFile file((dir / "OUT.DCT").string());
    const struct { std::string word; bool known; } cases[] = {
        {"zebra", true}, {"apple", true}, {"Apple", false}, // stored lower case only
        {"caf\x82", true}, {"na\x8Bve", true}, {"\x82" "cole", true}, {"don't", true},
        {long49, true}, {long50, false}, {"two", false}, {"x-ray", false},
        {"euro", true}, // the euro sign's best fit is the letter E
    };
    for (const auto& c : cases)
        EXPECT_EQ(file.Lookup(c.word), c.known) << c.word;

    // Siblings in ascending order of their byte values.
    std::string firsts;
    for (std::uint32_t k = 1;; ++k) {
        TNode n = file.GetNode(k);
        firsts.push_back(NodeChar(n));
        if (IsLastSibling(n))
            break;
    }
    EXPECT_EQ(firsts, "acdeknz\x82");
}
