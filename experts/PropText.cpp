// Text builders of the Property Expert. Every line ends with CR LF.
#include "experts/PropText.h"

#include <algorithm>

namespace experts {
namespace {

const std::string kEol = "\r\n";

std::string Trimmed(const std::string& s) {
    auto first = std::find_if(s.begin(), s.end(), [](unsigned char c) { return c > ' '; });
    auto last = std::find_if(s.rbegin(), s.rend(), [](unsigned char c) { return c > ' '; }).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string OverrideSuffix(const TPropChoices& c) {
    return c.OverrideWord.empty() ? std::string() : " " + c.OverrideWord + ";";
}

std::string CaseBlock(const TPropChoices& c, const std::string& statement) {
    return "  {Case Index of" + kEol + "    " + c.IndexValue + ": begin" + kEol + "      //" + statement + kEol +
           "    end;" + kEol + "  end;}" + kEol;
}

} // namespace

std::string TPropChoices::ReadFieldName() const { return ReadField.empty() ? DataFieldPrefix + Name : ReadField; }
std::string TPropChoices::WriteFieldName() const { return WriteField.empty() ? DataFieldPrefix + Name : WriteField; }

std::string BuildParamList(const TPropChoices& c) {
    std::string p;
    if (c.Array) {
        p = c.ArrayIndexes;
        if (c.Index) p += "; ";
    }
    if (c.Index) p += "Index :Integer";
    return p;
}

std::string BuildFieldDecls(const TPropChoices& c) {
    std::string readDecl = "    " + c.ReadFieldName() + ": " + c.DataType + ";" + kEol;
    std::string result;
    if (c.ReadAccess == atDataField) result = readDecl;
    if (c.WriteAccess == atDataField) result += "    " + c.WriteFieldName() + ": " + c.DataType + ";" + kEol;
    if (result.empty()) return result;
    if (c.SameReadWriteField || Trimmed(c.ReadFieldName()) == Trimmed(c.WriteFieldName())) result = readDecl;
    return result;
}

std::string BuildMethodDecls(const TPropChoices& c) {
    const std::string p = BuildParamList(c);
    std::string result;
    if (c.ReadAccess == atMethod) {
        result = "    function " + c.ReadMethod;
        if (!p.empty()) result += "(" + p + ")";
        result += ": " + c.DataType + ";" + OverrideSuffix(c) + kEol;
    }
    if (c.WriteAccess == atMethod) {
        result += "    procedure " + c.WriteMethod + "(";
        if (!p.empty()) result += p + "; ";
        result += "Value: " + c.DataType + ");" + OverrideSuffix(c) + kEol;
    }
    return result;
}

std::string BuildPropertyLine(const TPropChoices& c) {
    std::string s = "    property " + c.Name;
    if (c.Array) s += "[" + c.ArrayIndexes + "]";
    s += ": " + c.DataType;
    if (c.Index) s += " index " + c.IndexValue;
    if (c.ReadAccess == atDataField) s += " read " + c.ReadFieldName();
    else if (c.ReadAccess == atMethod) s += " read " + c.ReadMethod;
    if (c.WriteAccess == atDataField) s += " write " + c.WriteFieldName();
    else if (c.WriteAccess == atMethod) s += " write " + c.WriteMethod;
    // The compiler takes the stored specifier before the default one.
    if (c.Storage) s += " stored " + c.StorageValue;
    if (c.Default) s += " default " + c.DefaultValue;
    if (c.ArrayDefault) s += "; default";
    return s + ";" + kEol;
}

std::string BuildMethodBodies(const TPropChoices& c) {
    const std::string p = BuildParamList(c);
    std::string result;
    if (c.ReadAccess == atMethod) {
        result = "function " + c.ClassName + "." + c.ReadMethod;
        if (!p.empty()) result += "(" + p + ")";
        result += ": " + c.DataType + ";" + kEol + "begin" + kEol + "  {Result := " + c.ReadFieldName() + ";}" + kEol;
        if (c.Index) result += CaseBlock(c, "Result := " + c.ReadFieldName() + ";");
        result += "end;" + kEol + kEol;
    }
    if (c.WriteAccess == atMethod) {
        result += "procedure " + c.ClassName + "." + c.WriteMethod + "(";
        if (!p.empty()) result += p + "; ";
        result += "Value: " + c.DataType + ");" + kEol + "begin" + kEol + "  {" + c.WriteFieldName() + " := Value;}" + kEol;
        if (c.Index) result += CaseBlock(c, c.WriteFieldName() + " := Value;");
        result += "end;" + kEol + kEol;
    }
    return result;
}

} // namespace experts
