#include "experts/PropDefaults.h"

#include "rtl/Registry.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

namespace experts {
namespace {

bool Same(const TPropDefault& a, const TPropDefault& b) {
    return a.DataType == b.DataType && a.Visibility == b.Visibility && a.ArrayProp == b.ArrayProp &&
           a.ArrayIndex == b.ArrayIndex && a.ReadAccessType == b.ReadAccessType &&
           a.WriteAccessType == b.WriteAccessType && a.ReadMethodPrefix == b.ReadMethodPrefix &&
           a.WriteMethodPrefix == b.WriteMethodPrefix && a.DataFieldPrefix == b.DataFieldPrefix &&
           a.MethodVisibility == b.MethodVisibility && a.MethodOverride == b.MethodOverride;
}

TEST(PropDefaults, MissingKeyGivesTheTable) {
    testing_support::TempWinRoot root;
    TPropDefault d, table;
    d.DataType = "junk";
    d.Visibility = 0;
    LoadDefaults(d);
    EXPECT_TRUE(Same(d, table));
}

TEST(PropDefaults, AllElevenRoundTrip) {
    testing_support::TempWinRoot root;
    TPropDefault d;
    d.DataType = "TStrings";
    d.Visibility = 4;
    d.ArrayProp = true;
    d.ArrayIndex = "Row, Col: Integer";
    d.ReadAccessType = 2;
    d.WriteAccessType = 0;
    d.ReadMethodPrefix = "Fetch";
    d.WriteMethodPrefix = "Put";
    d.DataFieldPrefix = "m_";
    d.MethodVisibility = 1;
    d.MethodOverride = 3;
    SaveDefaults(d);
    TPropDefault back;
    LoadDefaults(back);
    EXPECT_TRUE(Same(d, back));
    TPropDefault copy;
    copy.Assign(&back);
    EXPECT_TRUE(Same(copy, d));
}

TEST(PropDefaults, OutOfRangeAndMissingValuesTakeTheirDefaults) {
    testing_support::TempWinRoot root;
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(PropExpertKey, true));
        reg.WriteInteger("Visibility", 5);
        reg.WriteInteger("ReadAccessType", 255); // a stored -1
        reg.WriteInteger("MethodVisibility", 2);
        reg.WriteInteger("MethodOverride", 4);
        reg.WriteInteger("WriteAccessType", 0);
        reg.WriteString("DataFieldPrefix", "X");
    }
    TPropDefault d, table;
    LoadDefaults(d);
    EXPECT_EQ(d.Visibility, table.Visibility);
    EXPECT_EQ(d.ReadAccessType, table.ReadAccessType);
    EXPECT_EQ(d.MethodVisibility, table.MethodVisibility);
    EXPECT_EQ(d.MethodOverride, table.MethodOverride);
    EXPECT_EQ(d.WriteAccessType, 0);
    EXPECT_EQ(d.DataFieldPrefix, "X");
    EXPECT_EQ(d.ReadMethodPrefix, "Get");
}

TEST(PropDefaults, WrongTypeRaises) {
    testing_support::TempWinRoot root;
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(PropExpertKey, true));
        reg.WriteString("Visibility", "3");
    }
    TPropDefault d;
    EXPECT_THROW(LoadDefaults(d), rtl::ERegistryException);
}

} // namespace
} // namespace experts
