#include "experts/PropScan.h"

#include "experts/CodeParser.h"
#include "UnitFixture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace experts {
namespace {

using experts_test::UnitFixture;

std::string Crlf(const std::string& lf) {
    std::string out;
    for (char c : lf) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

TPropChoices Choice(const std::string& cls, int visibility, int methodVisibility = 0) {
    TPropChoices c;
    c.Name = "Count";
    c.DataType = "Integer";
    c.ClassName = cls;
    c.ReadAccess = atDataField;
    c.WriteAccess = atMethod;
    c.WriteMethod = "SetCount";
    c.Visibility = visibility;
    c.MethodVisibility = methodVisibility;
    return c;
}

class PropScanTest : public UnitFixture {
protected:
    std::string Insert(const std::string& unit, const TPropChoices& c) {
        OpenUnit(unit);
        TScanResult scan = ScanClass(c.ClassName);
        InsertProperty(scan, c);
        return BufferText();
    }
};

const char* const kNoSections =
    "unit U;\n"
    "interface\n"
    "type\n"
    "  TFoo = class(TObject)\n"
    "  end;\n"
    "implementation\n"
    "end.\n";

TEST_F(PropScanTest, ClassWithoutSectionsGetsPrivate) {
    EXPECT_EQ(Insert(kNoSections, Choice("TFoo", 0)),
              Crlf("unit U;\n"
                   "interface\n"
                   "type\n"
                   "  TFoo = class(TObject)\n"
                   "  private\n"
                   "    FCount: Integer;\n"
                   "    procedure SetCount(Value: Integer);\n"
                   "    property Count: Integer read FCount write SetCount;\n"
                   "  end;\n"
                   "implementation\n"
                   "procedure TFoo.SetCount(Value: Integer);\n"
                   "begin\n"
                   "  {FCount := Value;}\n"
                   "end;\n"
                   "\n"
                   "end.\n"));
}

const char* const kSections =
    "unit U;\n"
    "interface\n"
    "type\n"
    "  TFoo = class(TPersistent)\n"
    "  private \n"
    "    FName: string;\n"
    "    procedure SetName(const V: string);\n"
    "  protected\n"
    "    procedure Changed;\n"
    "  public\n"
    "    property Name: string read FName write SetName;\n"
    "  published\n"
    "  end;\n"
    "implementation\n"
    "procedure TFoo.SetName(const V: string); begin FName := V; end;\n"
    "procedure TFoo.Changed; begin end;\n"
    "end.\n";

TEST_F(PropScanTest, SectionsAndSlots) {
    OpenUnit(kSections);
    TScanResult scan = ScanClass("TFoo");
    for (TScanMark m : {smClass, smPrivate, smProtected, smPublic, smPublished, smEndClass, smEndUnit})
        EXPECT_TRUE(scan.Has(m)) << m;
    EXPECT_FALSE(scan.Has(smAutomated));
    EXPECT_EQ(scan.Len[smPrivate], 9); // "  private", the trailing blank trimmed
    EXPECT_NE(scan.MethodSlot[0], 0);
    EXPECT_EQ(scan.PropertySlot[0], 0);
    EXPECT_NE(scan.MethodSlot[1], 0);
    EXPECT_NE(scan.PropertySlot[2], 0);
    EXPECT_EQ(scan.MethodSlot[2], 0);
}

TEST_F(PropScanTest, HeaderWithTrailingBlankKeepsLineBreaksWhole) {
    // A protected property with protected methods into a class whose private header has a blank.
    std::string result = Insert(kSections, Choice("TFoo", 1, 1));
    EXPECT_EQ(result,
              Crlf("unit U;\n"
                   "interface\n"
                   "type\n"
                   "  TFoo = class(TPersistent)\n"
                   "  private \n"
                   "    FName: string;\n"
                   "    FCount: Integer;\n"
                   "    procedure SetName(const V: string);\n"
                   "  protected\n"
                   "    procedure Changed;\n"
                   "    procedure SetCount(Value: Integer);\n"
                   "    property Count: Integer read FCount write SetCount;\n"
                   "  public\n"
                   "    property Name: string read FName write SetName;\n"
                   "  published\n"
                   "  end;\n"
                   "implementation\n"
                   "procedure TFoo.SetName(const V: string); begin FName := V; end;\n"
                   "procedure TFoo.Changed; begin end;\n"
                   "procedure TFoo.SetCount(Value: Integer);\n"
                   "begin\n"
                   "  {FCount := Value;}\n"
                   "end;\n"
                   "\n"
                   "end.\n"));
}

TEST_F(PropScanTest, NoLoneLineBreakAfterAnyInsertion) {
    for (const char* unit : {kNoSections, kSections}) {
        for (int vis = 0; vis <= 4; ++vis) {
            for (int mvis = 0; mvis <= 1; ++mvis) {
                std::string text = Insert(unit, Choice("TFoo", vis, mvis));
                for (size_t i = 0; i < text.size(); ++i) {
                    if (text[i] == '\r') {
                        ASSERT_EQ(text[i + 1], '\n') << vis << mvis << " at " << i;
                    }
                    if (text[i] == '\n') {
                        ASSERT_EQ(text[i - 1], '\r') << vis << mvis << " at " << i;
                    }
                }
            }
        }
    }
}

TEST_F(PropScanTest, BodiesGoBeforeInitialization) {
    std::string unit = std::string(kNoSections);
    unit.replace(unit.find("end.\n"), 5, "initialization\n  X := 1;\nend.\n");
    std::string result = Insert(unit, Choice("TFoo", 0));
    EXPECT_LT(result.find("procedure TFoo.SetCount"), result.find("initialization"));
}

TEST_F(PropScanTest, ScanRules) {
    struct Case { const char* name; std::string unit; const char* error; };
    std::string big = "unit U;\ninterface\ntype\n  TBar = class\n";
    for (int i = 0; i < 150; ++i) big += "    F" + std::to_string(i) + ": Integer;\n";
    const Case cases[] = {
        {"class not found", kNoSections, "Could not find the start of the class"},
        {"nested record ends the class",
         "unit U;\ninterface\ntype\n  TBar = class\n  end;\nimplementation\n", "Could not find the end of the unit"},
        {"implementation in a comment ends the pass",
         "unit U;\ninterface\ntype\n  TBar = class { see Implementation }\n  end;\nimplementation\nend.\n",
         "Could not find the start of the class"},
        {"no implementation and no end", big, "Could not find the end of the class"},
    };
    for (const Case& c : cases) {
        OpenUnit(c.unit);
        try {
            ScanClass("TBar");
            FAIL() << c.name;
        } catch (const ECodeParseError& e) {
            EXPECT_STREQ(e.what(), c.error) << c.name;
        }
    }
}

TEST_F(PropScanTest, ProcedureFieldAndSectionWordLines) {
    OpenUnit("unit U;\ninterface\ntype\n  TFoo = class\n  private\n    FProcedureList: TList;\n"
             "    FPrivateData: Integer;\n  public\n  end;\nimplementation\nend.\nend.\n");
    TScanResult scan = ScanClass("TFoo");
    EXPECT_NE(scan.MethodSlot[0], 0);  // the field counts as a method line
    EXPECT_TRUE(scan.Has(smPublic));
    EXPECT_FALSE(scan.Has(smProtected));
    // The bodies go in front of the last END.
    EXPECT_EQ(scan.Pos[smEndUnit], scan.BodiesPos);
}

TEST_F(PropScanTest, TypeLists) {
    OpenUnit("unit U;\ninterface\ntype\n  TFoo = class;\n  TFooClass = class of TFoo;\n"
             "  TKind = (kOne, kTwo);\n  TFoo = class(TBar)\n  end;\n  TEv = procedure(S: TObject) of object;\n"
             "  TBar = class\n  end;\nimplementation\n  TLate = class\n");
    auto classes = ListClasses(tkClassTypes);
    EXPECT_EQ(classes->Text(), "TFoo\r\nTBar\r\n");
    EXPECT_EQ(ListClasses(tkEnumTypes)->Text(), "TKind\r\n");
    EXPECT_EQ(ListClasses(tkEventTypes)->Text(), "TEv\r\n");
}

// Every insertion must compile: properties of each visibility but automated, with the methods
// private and protected, into fixture classes, each result compiled with fpc.
TEST_F(PropScanTest, InsertionsCompileWithFpc) {
    if (std::system("command -v fpc >/dev/null 2>&1") != 0) GTEST_SKIP() << "fpc not installed";
    const std::string units[] = {
        "unit U;\n{$M+}\ninterface\ntype\n  TFoo = class(TObject)\n  end;\nimplementation\nend.\n",
        "unit U;\ninterface\nuses Classes;\ntype\n  TFoo = class(TPersistent)\n  private \n    FName: string;\n"
        "    procedure SetName(const V: string);\n  protected\n    procedure Changed;\n  public\n"
        "    property Name: string read FName write SetName;\n  published\n  end;\nimplementation\n"
        "procedure TFoo.SetName(const V: string); begin FName := V; end;\nprocedure TFoo.Changed; begin end;\n"
        "initialization\nfinalization\nend.\n",
    };
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(Root.Path()) / "fpc";
    fs::create_directories(dir);
    int n = 0;
    for (const std::string& unit : units) {
        for (int vis = 0; vis <= 3; ++vis) {
            for (int mvis = 0; mvis <= 1; ++mvis) {
                TPropChoices c = Choice("TFoo", vis, mvis);
                c.ReadAccess = (n % 2) ? atMethod : atDataField;
                c.ReadMethod = "GetCount";
                std::string text = Insert(unit, c);
                const fs::path file = dir / "u.pas";
                std::ofstream(file, std::ios::binary) << text;
                std::string cmd = "cd '" + dir.string() + "' && fpc -Mdelphi -vw u.pas >fpc.log 2>&1";
                EXPECT_EQ(std::system(cmd.c_str()), 0) << "vis " << vis << " mvis " << mvis << "\n" << text;
                ++n;
            }
        }
    }
}

} // namespace
} // namespace experts
