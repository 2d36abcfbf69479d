#include "experts/PropText.h"

#include <gtest/gtest.h>

namespace experts {
namespace {

TPropChoices Count() {
    TPropChoices c;
    c.Name = "Count";
    c.DataType = "Integer";
    c.ClassName = "TFoo";
    c.ReadAccess = atDataField;
    c.WriteAccess = atMethod;
    c.WriteMethod = "SetCount";
    return c;
}

TEST(PropText, FieldReadMethodWrite) {
    TPropChoices c = Count();
    EXPECT_EQ(BuildFieldDecls(c), "    FCount: Integer;\r\n");
    EXPECT_EQ(BuildMethodDecls(c), "    procedure SetCount(Value: Integer);\r\n");
    EXPECT_EQ(BuildPropertyLine(c), "    property Count: Integer read FCount write SetCount;\r\n");
    EXPECT_EQ(BuildMethodBodies(c),
              "procedure TFoo.SetCount(Value: Integer);\r\nbegin\r\n  {FCount := Value;}\r\nend;\r\n\r\n");
}

TEST(PropText, IndexedSetter) {
    TPropChoices c = Count();
    c.Index = true;
    c.IndexValue = "3";
    EXPECT_EQ(BuildPropertyLine(c), "    property Count: Integer index 3 read FCount write SetCount;\r\n");
    EXPECT_EQ(BuildMethodDecls(c), "    procedure SetCount(Index :Integer; Value: Integer);\r\n");
    EXPECT_EQ(BuildMethodBodies(c),
              "procedure TFoo.SetCount(Index :Integer; Value: Integer);\r\n"
              "begin\r\n"
              "  {FCount := Value;}\r\n"
              "  {Case Index of\r\n"
              "    3: begin\r\n"
              "      //FCount := Value;\r\n"
              "    end;\r\n"
              "  end;}\r\n"
              "end;\r\n\r\n");
}

TEST(PropText, ArrayPropertyWithOverride) {
    TPropChoices c;
    c.Name = "Items";
    c.DataType = "string";
    c.ClassName = "TList2";
    c.ReadAccess = c.WriteAccess = atMethod;
    c.ReadMethod = "GetItems";
    c.WriteMethod = "SetItems";
    c.Array = true;
    c.ArrayIndexes = "i: Integer";
    c.OverrideWord = "virtual";
    EXPECT_EQ(BuildFieldDecls(c), "");
    EXPECT_EQ(BuildMethodDecls(c), "    function GetItems(i: Integer): string; virtual;\r\n"
                                   "    procedure SetItems(i: Integer; Value: string); virtual;\r\n");
    EXPECT_EQ(BuildPropertyLine(c), "    property Items[i: Integer]: string read GetItems write SetItems;\r\n");
    EXPECT_EQ(BuildMethodBodies(c),
              "function TList2.GetItems(i: Integer): string;\r\nbegin\r\n  {Result := FItems;}\r\nend;\r\n\r\n"
              "procedure TList2.SetItems(i: Integer; Value: string);\r\nbegin\r\n  {FItems := Value;}\r\nend;\r\n\r\n");
    c.Index = true;
    c.IndexValue = "0";
    EXPECT_EQ(BuildParamList(c), "i: Integer; Index :Integer");
}

TEST(PropText, FieldDeclarationTable) {
    struct Case { int read, write; std::string readField, writeField; bool same; std::string expected; };
    const Case cases[] = {
        {atDataField, atDataField, "FA", "FB", false, "    FA: Byte;\r\n    FB: Byte;\r\n"},
        {atDataField, atDataField, "FA", " FA ", false, "    FA: Byte;\r\n"},
        {atDataField, atDataField, "FA", "FB", true, "    FA: Byte;\r\n"},
        {atNone, atDataField, "FA", "FB", false, "    FB: Byte;\r\n"},
        {atNone, atDataField, "FA", "FB", true, "    FA: Byte;\r\n"}, // the same-field rule keeps the read name
        {atMethod, atNone, "FA", "FB", true, ""},
        {atDataField, atMethod, "", "", false, "    FX: Byte;\r\n"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& k = cases[i];
        TPropChoices c;
        c.Name = "X";
        c.DataType = "Byte";
        c.ReadAccess = k.read;
        c.WriteAccess = k.write;
        c.ReadField = k.readField;
        c.WriteField = k.writeField;
        c.SameReadWriteField = k.same;
        EXPECT_EQ(BuildFieldDecls(c), k.expected) << "case " << i;
    }
}

TEST(PropText, PropertyLineSpecifiers) {
    TPropChoices c;
    c.Name = "Items";
    c.DataType = "TItem";
    c.ReadAccess = atMethod;
    c.ReadMethod = "GetItem";
    c.WriteAccess = atNone;
    c.Array = true;
    c.ArrayIndexes = "Index: Integer";
    c.Default = true;
    c.DefaultValue = "nil";
    c.Storage = true;
    c.StorageValue = "False";
    c.ArrayDefault = true;
    EXPECT_EQ(BuildPropertyLine(c),
              "    property Items[Index: Integer]: TItem read GetItem stored False default nil; default;\r\n");
    c.ReadAccess = atNone;
    c.Array = c.Default = c.Storage = c.ArrayDefault = false;
    EXPECT_EQ(BuildPropertyLine(c), "    property Items: TItem;\r\n");
}

} // namespace
} // namespace experts
