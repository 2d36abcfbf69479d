#include "experts/CodeParser.h"

#include "UnitFixture.h"
#include "host/Interface.h"

namespace experts {
namespace {

using experts_test::UnitFixture;

class CodeParserTest : public UnitFixture {
protected:
    std::vector<std::string> ReadAll(TParserMode mode = pmProperty) {
        TCodeParser parser(mode);
        host::TInterfaceRef<host::TIEditReader> reader(parser.CreateReader());
        parser.SetPosition(0);
        parser.ResetReader();
        std::vector<std::string> lines;
        while (!parser.AtEnd()) lines.push_back(parser.ReadLine(reader.Get()));
        return lines;
    }
};

TEST_F(CodeParserTest, LinesCarryTheLeadingLineFeed) {
    OpenUnit("unit A;\r\ninterface\r\nend.");
    EXPECT_EQ(ReadAll(), (std::vector<std::string>{"unit A;", "\ninterface", "\nend."}));
}

TEST_F(CodeParserTest, BlocksJoinAcrossTheEdge) {
    // Lines that straddle the 2,000-character block edge, a CR LF pair split by it among them.
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i) {
        std::string line = "line" + std::to_string(i) + std::string(i % 17, 'x');
        expected.push_back((i ? "\n" : "") + line);
        text += line + (i + 1 < 300 ? "\r\n" : "");
    }
    OpenUnit(text);
    EXPECT_EQ(ReadAll(), expected);
}

TEST_F(CodeParserTest, LineLengthLimit) {
    OpenUnit("a\r\n" + std::string(498, 'b') + "\r\nc");
    EXPECT_EQ(ReadAll()[1].size(), 499u); // 498 characters and the leading LF
    OpenUnit("a\r\n" + std::string(499, 'b') + "\r\nc", "C:\\SRC\\Unit2.pas");
    try {
        ReadAll();
        FAIL() << "no error";
    } catch (const ECodeParseError& e) {
        EXPECT_STREQ(e.what(), "Code line exceeds 499 characters in length");
    }
}

TEST_F(CodeParserTest, FileKinds) {
    struct Case { const char* name; TParserMode mode; const char* error; };
    const Case cases[] = {
        {"C:\\SRC\\u.pas", pmProperty, nullptr},
        {"C:\\SRC\\p.dpr", pmProperty, "You can only insert a property into a Unit file"},
        {"C:\\SRC\\p.dpr", pmCode, nullptr},
        {"C:\\SRC\\u.pas", pmCode, nullptr},
        {"C:\\SRC\\f.dfm", pmCode, "You can only insert code into a Unit or Project file"},
    };
    for (const Case& c : cases) {
        OpenUnit("unit u;", c.name);
        try {
            TCodeParser parser(c.mode);
            EXPECT_EQ(c.error, nullptr) << c.name;
            EXPECT_EQ(parser.FileName(), Ide->CurrentFile());
        } catch (const ECodeParseError& e) {
            ASSERT_NE(c.error, nullptr) << c.name << ": " << e.what();
            EXPECT_STREQ(e.what(), c.error);
        }
    }
}

TEST_F(CodeParserTest, NoToolServicesIsAFileKindError) {
    OpenUnit("unit u;");
    ToolServices = nullptr;
    EXPECT_THROW(TCodeParser parser(pmProperty), ECodeParseError);
}

} // namespace
} // namespace experts

namespace experts {
namespace {

TEST_F(CodeParserTest, FileTheIdeCannotOpen) {
    OpenUnit("unit u;", "C:\\SRC\\Gone.pas");
    const std::string name = Ide->CurrentFile();
    Ide->Buffers().Close(name);
    std::filesystem::remove(rtl::HostPath(name));
    try {
        TCodeParser parser(pmProperty);
        FAIL() << "no error";
    } catch (const ECodeParseError& e) {
        EXPECT_EQ(std::string(e.what()), "Could not open " + name);
    }
}

} // namespace
} // namespace experts
