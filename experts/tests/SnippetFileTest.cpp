#include "experts/SnippetFile.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace experts {
namespace {

std::string ReadFile(const std::string& Name) {
    std::ifstream in(rtl::HostPath(Name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Names(const TSnippetFile& File) {
    std::vector<std::string> names;
    for (const auto& frag : File.Snippets()) names.push_back(frag->Name);
    return names;
}

// Mixed breaks, a preamble without one and an entry the list would sort elsewhere.
constexpr const char* kFile = "; templates\r\n[while | while loop]\nwhile  do\r\n[arrayd | array declaration]\r"
                              "array[0..] of ;\r\n[forb | for statement]\r\nfor  do\r\nbegin\r\nend;\r\n";

TEST(SnippetFile, ReadsEntriesInFileOrderAndWritesAnUntouchedFileByteForByte) {
    testing_support::TempWinRoot root;
    rtl::WriteFileAtomic("C:\\T.DCI", kFile);
    TSnippetFile file;
    file.Load("C:\\T.DCI");
    EXPECT_EQ(Names(file), (std::vector<std::string>{"while", "arrayd", "forb"}));
    EXPECT_EQ(file.Snippets()[0]->Code, "while  do\r\n");
    EXPECT_EQ(file.Snippets()[1]->Description, "array declaration");
    file.Save("C:\\T.DCI");
    EXPECT_EQ(ReadFile("C:\\T.DCI"), kFile);
}

TEST(SnippetFile, AnEntryTakenOutAndPutBackIsWrittenInItsOldPlace) {
    testing_support::TempWinRoot root;
    rtl::WriteFileAtomic("C:\\T.DCI", kFile);
    TSnippetFile file;
    file.Load("C:\\T.DCI");
    auto taken = file.Take(file.Snippets()[1].get());
    ASSERT_TRUE(taken.first);
    EXPECT_EQ(Names(file), (std::vector<std::string>{"while", "forb"}));
    file.PutBack(std::move(taken.first), taken.second);
    file.Add("tryf")->Code = "try\r\nfinally\r\nend;\r\n";
    file.Save("C:\\T.DCI");
    EXPECT_EQ(ReadFile("C:\\T.DCI"), std::string(kFile) + "[tryf | ]\r\ntry\r\nfinally\r\nend;\r\n");
    // Something not held is not taken.
    TCodeFrag stranger;
    EXPECT_FALSE(file.Take(&stranger).first);
    EXPECT_EQ(file.Snippets().size(), 4u);
}

TEST(SnippetFile, AFileThatCannotBeReadRaisesAndKeepsWhatWasHeld) {
    testing_support::TempWinRoot root;
    rtl::WriteFileAtomic("C:\\T.DCI", kFile);
    TSnippetFile file;
    file.Load("C:\\T.DCI");
    EXPECT_THROW(file.Load("C:\\NONE.DCI"), std::exception);
    EXPECT_EQ(Names(file), (std::vector<std::string>{"while", "arrayd", "forb"}));
    file.Save("C:\\T.DCI");
    EXPECT_EQ(ReadFile("C:\\T.DCI"), kFile);
}

} // namespace
} // namespace experts
