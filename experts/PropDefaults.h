// The Property Expert's stored starting values for a new property, kept under the current
// user's Zestor key. Implementations in PropDefaults.cpp.
#pragma once

#include "vcl/Persistent.h"

#include <cstdint>
#include <string>

namespace experts {

inline constexpr const char* ZestorKey = "\\SOFTWARE\\BORLAND\\DELPHI\\2.0\\Zestor";
inline constexpr const char* PropExpertKey = "\\SOFTWARE\\BORLAND\\DELPHI\\2.0\\Zestor\\PropExpert";

class TPropDefault : public vcl::TPersistent {
public:
    std::string DataType;
    std::uint8_t Visibility = 3;
    bool ArrayProp = false;
    std::string ArrayIndex = "i: Integer";
    std::uint8_t ReadAccessType = 1;
    std::uint8_t WriteAccessType = 1;
    std::string ReadMethodPrefix = "Get";
    std::string WriteMethodPrefix = "Set";
    std::string DataFieldPrefix = "F";
    std::uint8_t MethodVisibility = 0;
    std::uint8_t MethodOverride = 0;

    void Assign(vcl::TPersistent* Source) override;
};

// Missing values take their defaults, and so do stored numbers out of range; a value of the
// wrong type raises the registry's error.
void LoadDefaults(TPropDefault& defaults);
void SaveDefaults(const TPropDefault& defaults);

} // namespace experts
