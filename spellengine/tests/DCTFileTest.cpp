#include "spellengine/DCTFile.h"

#include "DctFixture.h"

#include <gtest/gtest.h>

using namespace spellengine;
using dct_fixture::Node;

namespace {

// Words: a, an, and, ant, be (node 7 starts the second list of first letters' children).
std::vector<std::uint32_t> SmallTree() {
    return {
        Node('a', false, true, 3), // 1
        Node('b', true, false, 6), // 2
        Node('n', true, true, 4),  // 3  a-n
        Node('d', false, true),    // 4  an-d
        Node('t', true, true),     // 5  an-t
        Node('e', true, true),     // 6  b-e
    };
}

} // namespace

TEST(DCTFile, LookupFollowsSiblingsAndEndOfWord) {
    dct_fixture::TempDir dir;
    dct_fixture::WriteNodes(dir / "SMALL.DCT", SmallTree());
    TDCTFile file((dir / "SMALL.DCT").string());
    EXPECT_EQ(file.NodeCount(), 6u);
    const struct { const char* word; bool known; } cases[] = {
        {"a", true}, {"an", true}, {"and", true}, {"ant", true}, {"be", true},
        {"b", false},     // a node without the end-of-word bit
        {"ana", false},   // past a word with no such child
        {"ante", false},  // below a node without children
        {"c", false},     // not among the first letters
        {"", false},
        {"bee", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(file.Lookup(c.word), c.known) << "word '" << c.word << "'";
}

TEST(DCTFile, NodesAcrossTheOldBlockBoundary) {
    // Node 1 leads to a sibling run at 128..129, the last of the first 512-byte block and the
    // first of the next.
    std::vector<std::uint32_t> nodes(129, Node('x', true, false));
    nodes[0] = Node('a', true, false, 128);
    nodes[127] = Node('b', false, true);
    nodes[128] = Node('c', true, true);
    dct_fixture::TempDir dir;
    dct_fixture::WriteNodes(dir / "B.DCT", nodes);
    TDCTFile file((dir / "B.DCT").string());
    EXPECT_TRUE(file.Lookup("ab"));
    EXPECT_TRUE(file.Lookup("ac"));
    EXPECT_FALSE(file.Lookup("ax"));
}

TEST(DCTFile, SignatureChecksAllFiftyBytesAndNothingElse) {
    dct_fixture::TempDir dir;
    const std::string body = dct_fixture::Body(SmallTree());

    std::string loose = dct_fixture::Header();
    loose[0] = 7; // the length byte is not checked
    for (std::size_t i = 51; i < DctHeaderSize; ++i)
        loose[i] = 'z';
    dct_fixture::WriteRaw(dir / "OK.DCT", loose + body);
    EXPECT_TRUE(TDCTFile((dir / "OK.DCT").string()).Lookup("and"));

    for (std::size_t at : {1u, 43u, 44u, 50u}) {
        std::string bad = dct_fixture::Header();
        bad[at] ^= 1;
        dct_fixture::WriteRaw(dir / "BAD.DCT", bad + body);
        try {
            TDCTFile file((dir / "BAD.DCT").string());
            ADD_FAILURE() << "accepted a signature changed at byte " << at;
        } catch (const TEDictionaryCorrupt& e) {
            EXPECT_STREQ(e.what(), "Dictionary Corrupt.");
        }
    }
}

TEST(DCTFile, MissingFileIsAnOpenError) {
    dct_fixture::TempDir dir;
    const std::string name = (dir / "NONE.DCT").string();
    try {
        TDCTFile file(name);
        FAIL() << "opened a missing file";
    } catch (const rtl::EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Dictionary not found : " + name);
    }
}

TEST(DCTFile, DamagedFilesRaiseCorruptInsteadOfReadingPastTheData) {
    dct_fixture::TempDir dir;
    const std::string full = dct_fixture::Header() + dct_fixture::Body(SmallTree());

    // Too short for a header and one node.
    for (std::size_t size : {0u, 40u, 83u, 86u}) {
        dct_fixture::WriteRaw(dir / "T.DCT", full.substr(0, size));
        EXPECT_THROW(TDCTFile((dir / "T.DCT").string()), TEDictionaryCorrupt) << "size " << size;
    }

    // Cut inside node 5: node 4 is still there, node 5 is not.
    dct_fixture::WriteRaw(dir / "T.DCT", full.substr(0, DctHeaderSize + 4 * 4 + 2));
    {
        TDCTFile file((dir / "T.DCT").string());
        EXPECT_EQ(file.NodeCount(), 4u);
        EXPECT_TRUE(file.Lookup("and"));
        EXPECT_THROW(file.Lookup("ant"), TEDictionaryCorrupt);
    }

    // A child index past the end, and a sibling run that never ends.
    const struct { const char* what; std::vector<std::uint32_t> nodes; const char* word; } cases[] = {
        {"child past the end", {Node('a', true, false, 99)}, "ab"},
        {"child index 0x3FFFFF", {Node('a', true, false, 0x3FFFFF)}, "ab"},
        {"run without last sibling", {Node('a', false, false), Node('b', false, false)}, "c"},
    };
    for (const auto& c : cases) {
        dct_fixture::WriteNodes(dir / "C.DCT", c.nodes);
        TDCTFile file((dir / "C.DCT").string());
        EXPECT_THROW(file.Lookup(c.word), TEDictionaryCorrupt) << c.what;
    }
}

TEST(DCTFile, LookupOfALoopingTreeStopsAtTheWordLength) {
    dct_fixture::TempDir dir;
    dct_fixture::WriteNodes(dir / "L.DCT", {Node('a', true, false, 1)});
    TDCTFile file((dir / "L.DCT").string());
    EXPECT_FALSE(file.Lookup(std::string(200, 'a')));
}
