// What the Property Expert does to a unit: list the type names of its interface part, find a
// class and its visibility sections, and write a property with its fields and access methods
// into it. Implementations in PropScan.cpp.
#pragma once

#include "experts/PropText.h"
#include "rtl/StringLists.h"

#include <cstdint>
#include <memory>
#include <string>

namespace experts {

enum TScanMark : int {
    smClass = 0, smPrivate, smProtected, smPublic, smPublished, smAutomated, smEndClass, smEndUnit, smMarkCount
};
// The five sections, indexed from 0 in the order private .. automated.
constexpr int SectionCount = 5;
inline constexpr TScanMark SectionMark(int section) { return static_cast<TScanMark>(smPrivate + section); }

// The scan result the wizard holds between the scan and the insertion. A line position is the
// 0-based buffer offset of the first character of the line's text plus 1.
struct TScanResult {
    std::uint8_t Found = 0;
    int Pos[smMarkCount] = {};
    int Len[smMarkCount] = {};
    // Where a section's members go after its header: the start of the line after the header,
    // or, for a header the expert inserted, the place it was inserted at.
    int AfterHeader[smMarkCount] = {};
    int MethodSlot[SectionCount] = {};
    int PropertySlot[SectionCount] = {};
    // Where the method bodies go: the first INITIALIZATION or FINALIZATION line of the
    // implementation part, else the unit's last END. line.
    int BodiesPos = 0;

    bool Has(TScanMark m) const { return (Found >> m) & 1; }
    void Mark(TScanMark m, int pos, int len, int after) {
        Found |= static_cast<std::uint8_t>(1u << m);
        Pos[m] = pos;
        Len[m] = len;
        AfterHeader[m] = after;
    }
};

enum TTypeKind : int { tkClassTypes = 0, tkEnumTypes = 1, tkEventTypes = 2 };

// The names of the interface part's types of that kind, in unit order, duplicates kept.
std::unique_ptr<rtl::TStringList> ListClasses(int kind);
// Scans the current unit for the class of that name (exact case).
TScanResult ScanClass(const std::string& className);
// Writes the pieces of the property into the class found by the scan.
void InsertProperty(const TScanResult& scan, const TPropChoices& choices);

} // namespace experts
