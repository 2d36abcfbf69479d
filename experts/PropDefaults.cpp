// Reading and writing the eleven stored defaults.
#include "experts/PropDefaults.h"

#include "rtl/Registry.h"

namespace experts {

void TPropDefault::Assign(vcl::TPersistent* Source) {
    auto* other = dynamic_cast<TPropDefault*>(Source);
    if (!other) {
        vcl::TPersistent::Assign(Source);
        return;
    }
    DataType = other->DataType;
    Visibility = other->Visibility;
    ArrayProp = other->ArrayProp;
    ArrayIndex = other->ArrayIndex;
    ReadAccessType = other->ReadAccessType;
    WriteAccessType = other->WriteAccessType;
    ReadMethodPrefix = other->ReadMethodPrefix;
    WriteMethodPrefix = other->WriteMethodPrefix;
    DataFieldPrefix = other->DataFieldPrefix;
    MethodVisibility = other->MethodVisibility;
    MethodOverride = other->MethodOverride;
}

namespace {

// A stored number in range, else the table's default.
std::uint8_t ReadSmall(rtl::TRegistry& reg, bool open, const char* name, int max, std::uint8_t def) {
    if (!open || !reg.ValueExists(name)) return def;
    int v = reg.ReadInteger(name);
    return v >= 0 && v <= max ? static_cast<std::uint8_t>(v) : def;
}

std::string ReadText(rtl::TRegistry& reg, bool open, const char* name, const std::string& def) {
    if (!open || !reg.ValueExists(name)) return def;
    return reg.ReadString(name);
}

} // namespace

void LoadDefaults(TPropDefault& d) {
    const TPropDefault table;
    rtl::TRegistry reg;
    reg.OpenKey(ZestorKey, true);
    const bool open = reg.OpenKey("PropExpert", false);
    d.DataType = ReadText(reg, open, "DataType", table.DataType);
    d.Visibility = ReadSmall(reg, open, "Visibility", 4, table.Visibility);
    d.ArrayProp = open && reg.ValueExists("ArrayProp") ? reg.ReadInteger("ArrayProp") != 0 : table.ArrayProp;
    d.ArrayIndex = ReadText(reg, open, "ArrayIndex", table.ArrayIndex);
    d.ReadAccessType = ReadSmall(reg, open, "ReadAccessType", 2, table.ReadAccessType);
    d.WriteAccessType = ReadSmall(reg, open, "WriteAccessType", 2, table.WriteAccessType);
    d.ReadMethodPrefix = ReadText(reg, open, "ReadMethodPrefix", table.ReadMethodPrefix);
    d.WriteMethodPrefix = ReadText(reg, open, "WriteMethodPrefix", table.WriteMethodPrefix);
    d.DataFieldPrefix = ReadText(reg, open, "DataFieldPrefix", table.DataFieldPrefix);
    d.MethodVisibility = ReadSmall(reg, open, "MethodVisibility", 1, table.MethodVisibility);
    d.MethodOverride = ReadSmall(reg, open, "MethodOverride", 3, table.MethodOverride);
}

void SaveDefaults(const TPropDefault& d) {
    rtl::TRegistry reg;
    reg.OpenKey(PropExpertKey, true);
    reg.WriteString("DataType", d.DataType);
    reg.WriteInteger("Visibility", d.Visibility);
    reg.WriteBool("ArrayProp", d.ArrayProp);
    reg.WriteString("ArrayIndex", d.ArrayIndex);
    reg.WriteInteger("ReadAccessType", d.ReadAccessType);
    reg.WriteInteger("WriteAccessType", d.WriteAccessType);
    reg.WriteString("ReadMethodPrefix", d.ReadMethodPrefix);
    reg.WriteString("WriteMethodPrefix", d.WriteMethodPrefix);
    reg.WriteString("DataFieldPrefix", d.DataFieldPrefix);
    reg.WriteInteger("MethodVisibility", d.MethodVisibility);
    reg.WriteInteger("MethodOverride", d.MethodOverride);
}

} // namespace experts
