#include "declsearch/Scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace declsearch;

namespace {

std::vector<TScanHit> Scan(const TSearchSettings& settings, int tabWidth, const std::vector<std::string>& lines) {
    TLineScanner scanner(settings, tabWidth);
    std::vector<TScanHit> hits;
    for (std::size_t i = 0; i < lines.size(); ++i) scanner.ScanLine(static_cast<int>(i) + 1, lines[i], hits);
    return hits;
}

// "line:S|H:key@pos" for every row, blank-separated.
std::string Describe(const std::vector<TScanHit>& hits) {
    std::string out;
    for (const TScanHit& h : hits) {
        if (!out.empty()) out += ' ';
        out += std::to_string(h.Line) + (h.Kind == TRowKind::Section ? ":S:" : ":H:") + h.Key + "@" +
               std::to_string(h.Pos);
    }
    return out;
}

void AllClassParts(TSearchSettings& s) {
    s.Class = s.Constructor = s.Destructor = s.ClassFunction = s.ClassProcedure = s.Property = true;
}

void NoEntities(TSearchSettings& s) {
    s.Function = s.Procedure = false;
}

struct LineCase {
    const char* name;
    std::function<void(TSearchSettings&)> setup;
    int tabWidth;
    std::vector<std::string> lines;
    const char* expected;
};

const std::vector<std::string> kClassBody = {
    "interface",
    "type",
    "  TFoo = class(TObject)",
    "    procedure Paint;",
    "    function Count: Integer;",
    "    constructor Create;",
    "    destructor Destroy; override;",
    "    property Name: string read FName;",
    "  end;",
    "procedure Free1;",
};

const std::vector<std::string> kFilterUnit = {
    "interface",
    "TFoo = class",
    "  procedure A;",
    "end;",
    "TBar = class",
    "  procedure B;",
    "end;",
    "constructor TBar.Create;",
    "implementation",
    "procedure TFoo.A;",
    "procedure tbar.B;",
    "constructor TBar.Create;",
};

const std::vector<std::string> kUnitParts = {
    "procedure Before;", "interface", "procedure A;", "implementation", "procedure B;",
};

} // namespace

TEST(DeclScanner, LineRules) {
    const LineCase cases[] = {
        {"free routines before any section", nullptr, 0,
         {"procedure Proc;", "function Bar(x: Integer): Boolean;"}, "1:H:Proc@11 2:H:Bar@10"},
        {"Class.Method in the implementation is a method", nullptr, 0,
         {"implementation", "procedure TFoo.Bar;", "function TFoo.Count: Integer;"}, "1:S:implementation@1"},
        {"methods listed without their class prefix",
         [](TSearchSettings& s) { s.ClassProcedure = s.ClassFunction = true; }, 0,
         {"implementation", "procedure TFoo.Bar;", "function TFoo.Count: Integer;"},
         "1:S:implementation@1 2:H:Bar@16 3:H:Count@15"},
        {"a dotted name in the interface outside a class is a free procedure", nullptr, 0,
         {"interface", "procedure TFoo.Bar;"}, "1:S:interface@1 2:H:TFoo.Bar@11"},
        {"every member kind inside a class", AllClassParts, 0, kClassBody,
         "1:S:interface@1 3:H:TFoo@3 4:H:Paint@15 5:H:Count@14 6:H:Create@17 7:H:Destroy@16 8:H:Name@14 "
         "10:H:Free1@11"},
        {"members of a class are not free routines", nullptr, 0, kClassBody, "1:S:interface@1 10:H:Free1@11"},
        {"class methods declared in a class body", [](TSearchSettings& s) { s.ClassFunction = s.Destructor = true; },
         0, {"interface", "TFoo = class", "  class function Make: TFoo;", "end;", "implementation",
             "destructor TFoo.Destroy;", "function TFoo.Make: TFoo;"},
         "1:S:interface@1 3:H:Make@18 5:S:implementation@1 6:H:Destroy@17 7:H:Make@15"},
        {"constructor implemented as Class.Create", [](TSearchSettings& s) { s.Constructor = true; }, 0,
         {"implementation", "constructor TFoo.Create;"}, "1:S:implementation@1 2:H:Create@18"},
        {"a line starting with class opens a nameless class until end;",
         [](TSearchSettings& s) { s.Class = s.ClassProcedure = true; }, 0,
         {"implementation", "class procedure TFoo.Make;", "procedure Helper;", "end;", "procedure Helper2;"},
         "1:S:implementation@1 3:H:Helper@11 5:H:Helper2@11"},
        {"fields of a class in the interface, continued lines followed",
         [](TSearchSettings& s) { s.Field = true; }, 0,
         {"interface", "  TFoo = class", "  private", "    FName: string;", "    FOnX: procedure(A,",
          "      B: Integer) of object;", "    FNext: Integer;", "  public", "    { comment only }", "  end;",
          "  X: Integer;"},
         "1:S:interface@1 4:H:FName@5 5:H:FOnX@5 7:H:FNext@5"},
        {"a member declaration continued on the next line is not a field",
         [](TSearchSettings& s) { s.Field = true; }, 0,
         {"interface", "TFoo = class", "  property Items[I: Integer]: TItem", "    read GetItem; default;",
          "  FNext: Integer;", "end;"},
         "1:S:interface@1 5:H:FNext@3"},
        {"no fields outside the interface part", [](TSearchSettings& s) { s.Field = true; }, 0,
         {"implementation", "TFoo = class", "  FName: string;", "end;"}, "1:S:implementation@1"},
        {"end; inside a longer word ends the class", [](TSearchSettings& s) { s.Field = true; }, 0,
         {"interface", "TFoo = class", "  FBackend;", "  FOther: Integer;"}, "1:S:interface@1"},
        {"class filter inside and outside classes",
         [](TSearchSettings& s) {
             s.ClassName = "TBar";
             s.ClassProcedure = s.Constructor = true;
         },
         0, kFilterUnit, "1:S:interface@1 6:H:B@13 9:S:implementation@1 11:H:B@16 12:H:Create@18"},
        {"interface part switched off", [](TSearchSettings& s) { s.Interface = false; }, 0, kUnitParts,
         "1:H:Before@11 2:S:interface@1 4:S:implementation@1 5:H:B@11"},
        {"implementation part switched off", [](TSearchSettings& s) { s.Implementation = false; }, 0, kUnitParts,
         "1:H:Before@11 2:S:interface@1 3:H:A@11 4:S:implementation@1"},
        {"search text narrows declarations and is highlighted", [](TSearchSettings& s) { s.SearchText = "count"; },
         0, {"function Count: Integer;", "procedure Paint;", "function Recount: Integer; { count }"},
         "1:H:count@10 3:H:count@12"},
        {"case-sensitive search text",
         [](TSearchSettings& s) {
             s.SearchText = "Count";
             s.CaseSensitive = true;
         },
         0, {"function Count: Integer;", "function Recount: Integer; { count }"}, "1:H:Count@10"},
        {"search text in a comment is not found without case", [](TSearchSettings& s) { s.SearchText = "find"; }, 0,
         {"procedure A; { find me }"}, ""},
        {"search text in a comment is found with case",
         [](TSearchSettings& s) {
             s.SearchText = "find";
             s.CaseSensitive = true;
         },
         0, {"procedure A; { find me }"}, "1:H:find@16"},
        {"whole-word search finds the first occurrence that stands alone",
         [](TSearchSettings& s) {
             s.SearchText = "count";
             s.WordSearch = true;
         },
         0,
         {"function Count: Integer;", "function CountAll: Integer; { count }",
          "function Total(Count: Integer): Integer;", "function CountOf(Count: Integer): Integer;"},
         "1:H:count@10 3:H:count@16 4:H:count@18"},
        {"case-sensitive whole-word search",
         [](TSearchSettings& s) {
             s.SearchText = "Count";
             s.WordSearch = s.CaseSensitive = true;
         },
         0, {"function count(Counter, Count: Integer): Integer;"}, "1:H:Count@25"},
        {"plain text search looks at lines the class rules take",
         [](TSearchSettings& s) {
             NoEntities(s);
             s.SearchText = "create";
         },
         0,
         {"interface", "TCreateList = class", "  constructor Create;", "  procedure Recreate;", "end;",
          "var Created: Boolean;"},
         "1:S:interface@1 2:H:create@2 3:H:create@15 4:H:create@15 6:H:create@5"},
        {"plain text search skips a switched-off part",
         [](TSearchSettings& s) {
             NoEntities(s);
             s.SearchText = "x";
             s.Implementation = false;
         },
         0, {"interface", "x1", "implementation", "x2"}, "1:S:interface@1 2:H:x@1 3:S:implementation@1"},
        {"a section keyword anywhere as a whole word", nullptr, 0,
         {"{ see the interface below }", "IInterface = interface", "  implementationX: Integer;"},
         "1:S:interface@11"},
        {"a search for a section keyword gives a hit row",
         [](TSearchSettings& s) {
             NoEntities(s);
             s.SearchText = "interface";
         },
         0, {"IInterface = interface"}, "1:H:interface@2"},
        {"TABs become a fixed count of blanks", nullptr, 3, {"x\t\tprocedure Foo;"}, "1:H:Foo@18"},
        {"a TAB separates words whatever the width", nullptr, 0, {"\tprocedure\tFoo;"}, "1:H:Foo@12"},
        {"declarations after and inside comments", nullptr, 0,
         {"(* note *) procedure Foo;", "{ a } (* b *) procedure X;", "{ procedure Hidden; }",
          "procedure Open; { not closed"},
         "1:H:Foo@22 2:H:X@25 4:H:Open@11"},
    };
    for (const LineCase& c : cases) {
        TSearchSettings settings;
        if (c.setup) c.setup(settings);
        EXPECT_EQ(Describe(Scan(settings, c.tabWidth, c.lines)), c.expected) << c.name;
    }
}

TEST(DeclScanner, RowTextAndMatchPositionInIt) {
    struct Case {
        const char* name;
        bool comment, indent, caseSensitive;
        const char* searchText;
        int lineNo;
        const char* line;
        const char* text;
        int textPos;
    } cases[] = {
        {"indent removed", true, true, false, "", 1, "    procedure Foo;   ", "1     procedure Foo;   ", 17},
        {"indent kept", true, false, false, "", 1, "    procedure Foo;", "1         procedure Foo;", 21},
        {"comment removed", true, true, false, "", 12, "(* note *) procedure Foo;", "12    procedure Foo;", 17},
        {"comment kept", false, true, false, "", 12, "(* note *) procedure Foo;", "12    (* note *) procedure Foo;", 28},
        {"match inside the removed comment", true, true, true, "find", 3, "procedure A; { find me }",
         "3     procedure A; ", 0},
        {"long line number cut", true, true, false, "", 1234567, "procedure Foo;", "123456procedure Foo;", 17},
    };
    for (const Case& c : cases) {
        TSearchSettings s;
        s.Comment = c.comment;
        s.Indent = c.indent;
        s.CaseSensitive = c.caseSensitive;
        s.SearchText = c.searchText;
        TLineScanner scanner(s, 0);
        std::vector<TScanHit> hits;
        scanner.ScanLine(c.lineNo, c.line, hits);
        ASSERT_EQ(hits.size(), 1u) << c.name;
        EXPECT_EQ(hits[0].Text, c.text) << c.name;
        EXPECT_EQ(hits[0].TextPos, c.textPos) << c.name;
        EXPECT_EQ(hits[0].Line, c.lineNo) << c.name;
    }
}

TEST(DeclScanner, StateMovesAlongAndResetsPerFile) {
    TSearchSettings s;
    NoEntities(s);
    s.SearchText = "zzz"; // plain text search: the rules still move the state
    TLineScanner scanner(s, 0);
    std::vector<TScanHit> hits;
    scanner.ScanLine(1, "interface", hits);
    scanner.ScanLine(2, "  TFoo = class(TObject)", hits);
    EXPECT_TRUE(scanner.State().InInterface);
    EXPECT_TRUE(scanner.State().InClass);
    EXPECT_EQ(scanner.State().ClassName, "TFoo");
    scanner.ScanLine(3, "  procedure P(A: Integer;", hits);
    EXPECT_TRUE(scanner.State().Continuation);
    EXPECT_EQ(scanner.State().Depth, 1);
    scanner.ScanLine(4, "  end;", hits);
    EXPECT_FALSE(scanner.State().InClass);
    EXPECT_TRUE(scanner.State().ClassName.empty());
    EXPECT_TRUE(hits.size() == 1 && hits[0].Kind == TRowKind::Section);

    scanner.Reset();
    EXPECT_FALSE(scanner.State().InInterface);
    EXPECT_EQ(scanner.State().Depth, 0);
}

// Lines as they stand in the Free Pascal sources, each with what the rules used to get wrong.
TEST(DeclScanner, RealPascalLines) {
    const LineCase cases[] = {
        {"an exception class on one line opens no body (rtl/objpas/math.pp)",
         [](TSearchSettings& s) { s.Class = true; }, 0,
         {"interface", "       EInvalidArgument = class(ematherror);", "       TValueRelationship = -1..1;",
          "function MinIntValue(const Data: array of Integer): Integer;"},
         "1:S:interface@1 2:H:EInvalidArgument@8 4:H:MinIntValue@10"},
        {"forward class declarations (rtl/objpas/classes/classesh.inc)", nullptr, 0,
         {"interface", "  TStream = class;", "  TFiler = class;", "function LineStart(Buffer, BufPos: PChar): PChar;"},
         "1:S:interface@1 4:H:LineStart@10"},
        {"a class reference type (rtl/objpas/classes/classesh.inc)", nullptr, 0,
         {"interface", "  TPersistentClass = class of TPersistent;", "procedure RegisterClass(AClass: TPersistentClass);"},
         "1:S:interface@1 3:H:RegisterClass@11"},
        {"a class whose name holds \"class\" (packages/fcl-base/src/contnrs.pp)",
                  [](TSearchSettings& s) {
             s.ClassName = "TClassList";
             s.ClassFunction = true;
             s.Function = s.Procedure = false;
         },
         0,
         {"interface", "  TClassList = class(TList)", "  public", "    Function Add(AClass: TClass): Integer;",
          "    Function First: TClass;", "  end;"},
         "1:S:interface@1 4:H:Add@14 5:H:First@14"},
        {"its methods are no free routines (packages/fcl-base/src/contnrs.pp)", nullptr, 0,
         {"interface", "  TClassList = class(TList)", "    Function Add(AClass: TClass): Integer;", "  end;"},
         "1:S:interface@1"},
        {"a procedural type is no routine (packages/fcl-base/src/contnrs.pp)", nullptr, 0,
         {"interface", "  TObjectListCallback = Procedure(data:TObject;arg:pointer) of object;",
          "  TObjectListStaticCallback = Procedure(data:TObject;arg:pointer);"},
         "1:S:interface@1"},
        {"a routine taking a procedural type is one (packages/fcl-base/src/contnrs.pp)", nullptr, 0,
         {"implementation", "Procedure TFPObjectList.ForEachCall(proc2call:TObjectListCallback;arg:pointer);",
          "procedure Walk(cb: procedure);"},
         "1:S:implementation@1 3:H:Walk@11"},
        {"an interface type is no section", [](TSearchSettings& s) { s.Interface = false; }, 0,
         {"implementation", "  IFoo = interface(IUnknown)", "procedure Local;"},
         "1:S:implementation@1 3:H:Local@11"},
        {"a TAB after the keyword with no width known (packages/ide/wchmhwrap.pas)", nullptr, 0,
         {"function\t  LoadIndex(id:integer):boolean;"}, "1:H:LoadIndex@12"},
    };
    for (const LineCase& c : cases) {
        TSearchSettings settings;
        if (c.setup) c.setup(settings);
        EXPECT_EQ(Describe(Scan(settings, c.tabWidth, c.lines)), c.expected) << c.name;
    }
}

// The interface part of objpas's math unit: its routine headings, counted by hand, are lines 169
// to 667; two of them (176, 177) stand in a comment of several lines, which a line-local scan
// cannot see. The exception class at line 138 must not swallow them.
TEST(DeclScanner, InterfaceOfTheMathUnit) {
    const char* const kMath = "/usr/share/fpcsrc/3.2.2/rtl/objpas/math.pp";
    std::ifstream in(kMath, std::ios::binary);
    if (!in) GTEST_SKIP() << "no Free Pascal sources at " << kMath;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    TSearchSettings settings;
    settings.Implementation = false;
    std::vector<TScanHit> hits = Scan(settings, 8, lines);
    std::vector<std::string> routines;
    for (const TScanHit& h : hits)
        if (h.Kind == TRowKind::Hit) routines.push_back(std::to_string(h.Line) + " " + h.Key);
    ASSERT_EQ(routines.size(), 228u);
    EXPECT_EQ(routines.front(), "169 MinIntValue");
    EXPECT_EQ(routines.back(), "667 ClearExceptions");
    for (const char* expected : {"176 Min", "177 Max", "202 EnsureRange", "316 RadToDeg", "408 Ceil64",
                                 "505 MinValue", "597 MomentSkewKurtosis", "650 RandomFrom<T>",
                                 "666 SetExceptionMask"})
        EXPECT_NE(std::find(routines.begin(), routines.end(), expected), routines.end()) << expected;
}
