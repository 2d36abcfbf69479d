// The Property Expert's generated text: the data fields, the access-method declarations, the
// property line and the method bodies built from the wizard's choices. Implementations in
// PropText.cpp.
#pragma once

#include "rtl/Exceptions.h"

#include <string>

namespace experts {

RTL_DECLARE_EXCEPTION(EPropExpertError, rtl::Exception);

// How a property is read or written.
enum TAccessType : int { atNone = 0, atDataField = 1, atMethod = 2 };

// The wizard's choices, as the text builders read them.
struct TPropChoices {
    std::string Name;          // property name
    std::string DataType;      // type identifier, as typed
    std::string ClassName;
    int ReadAccess = atDataField;
    int WriteAccess = atDataField;
    std::string ReadMethod;
    std::string WriteMethod;
    std::string ReadField;     // as typed; empty means the prefix and the property name
    std::string WriteField;
    std::string DataFieldPrefix = "F";
    std::string OverrideWord;  // "", "virtual", "dynamic" or "override"
    bool Array = false;
    std::string ArrayIndexes;
    bool ArrayDefault = false;
    bool Index = false;
    std::string IndexValue;
    bool Default = false;
    std::string DefaultValue;
    bool Storage = false;
    std::string StorageValue;
    bool SameReadWriteField = false;
    int Visibility = 3;        // 0 private, 1 protected, 2 public, 3 published, 4 automated
    int MethodVisibility = 0;  // 0 private, 1 protected

    std::string ReadFieldName() const;
    std::string WriteFieldName() const;
};

std::string BuildParamList(const TPropChoices& c);
std::string BuildFieldDecls(const TPropChoices& c);
std::string BuildMethodDecls(const TPropChoices& c);
std::string BuildPropertyLine(const TPropChoices& c);
std::string BuildMethodBodies(const TPropChoices& c);

} // namespace experts
