// Key-command tables (TZelCommandTable) and the processor that translates keys into command
// codes through them (TZelCommandProcessor), with the table text file and the stored form of
// the tables. Implementations in KeyCommands.cpp.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Persistent.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

// Command codes 0 to 75; 256 and up are user commands.
enum TZelCommand : std::uint16_t {
    ccNone, ccBack, ccBotOfPage, ccBotRightCell, ccCompleteDate, ccCompleteTime, ccCopy,
    ccCtrlChar, ccCut, ccDec, ccDel, ccDelBol, ccDelEol, ccDelLine, ccDelWord, ccDown, ccEnd,
    ccExtendDown, ccExtendEnd, ccExtendHome, ccExtendLeft, ccExtendPgDn, ccExtendPgUp,
    ccExtendRight, ccExtendUp, ccExtBotOfPage, ccExtFirstPage, ccExtLastPage, ccExtTopOfPage,
    ccExtWordLeft, ccExtWordRight, ccFirstPage, ccGotoMarker0, ccGotoMarker1, ccGotoMarker2,
    ccGotoMarker3, ccGotoMarker4, ccGotoMarker5, ccGotoMarker6, ccGotoMarker7, ccGotoMarker8,
    ccGotoMarker9, ccHome, ccInc, ccIns, ccLastPage, ccLeft, ccNewLine, ccNextPage, ccPageLeft,
    ccPageRight, ccPaste, ccPrevPage, ccRedo, ccRestore, ccRight, ccScrollDown, ccScrollUp,
    ccSetMarker0, ccSetMarker1, ccSetMarker2, ccSetMarker3, ccSetMarker4, ccSetMarker5,
    ccSetMarker6, ccSetMarker7, ccSetMarker8, ccSetMarker9, ccTab, ccTableEdit, ccTopLeftCell,
    ccTopOfPage, ccUndo, ccUp, ccWordLeft, ccWordRight,
};

// The command code of a typed character; the editor and the entry field both make it.
constexpr std::uint16_t ccChar = 249;

// Translation results besides the command codes.
constexpr std::uint16_t tkNothing = 252;     // no binding, a shift or lock key, or after ccCtrlChar
constexpr std::uint16_t tkBrokenPair = 254;  // the second key matched no binding
constexpr std::uint16_t tkFirstOfPair = 255; // waiting for the second key

// Shift-state bits of a binding.
constexpr std::uint8_t ksShift = 2;
constexpr std::uint8_t ksCtrl = 4;
constexpr std::uint8_t ksAlt = 8;
// Shift2 of a second key that may be typed with Ctrl or without any shift key.
constexpr std::uint8_t ksNoneOrCtrl = 128;

// The class library's shift-state set, as the processor reads it.
using vcl::TShiftState;
using vcl::ssAlt;
using vcl::ssCtrl;
using vcl::ssShift;

struct TKeyBinding {
    std::uint8_t Key1 = 0;
    std::uint8_t Shift1 = 0;
    std::uint8_t Key2 = 0;
    std::uint8_t Shift2 = 0;
    std::uint16_t Cmd = 0;

    // The four key bytes as one number: Key1 in the low byte, then Shift1, Key2, Shift2.
    std::uint32_t Keys() const {
        return Key1 | (Shift1 << 8) | (Key2 << 16) | (std::uint32_t{Shift2} << 24);
    }
    static TKeyBinding FromKeys(std::uint32_t keys, std::uint16_t cmd) {
        return {static_cast<std::uint8_t>(keys), static_cast<std::uint8_t>(keys >> 8),
                static_cast<std::uint8_t>(keys >> 16), static_cast<std::uint8_t>(keys >> 24), cmd};
    }
    bool operator==(const TKeyBinding&) const = default;
};

// A table as the form stores it: name, Active and pairs of (key sequence, command).
struct TStoredCommand {
    std::int32_t Keys = 0;
    std::int32_t Cmd = 0;
    bool operator==(const TStoredCommand&) const = default;
};
struct TStoredTable {
    std::string Name;
    bool Active = true;
    std::vector<TStoredCommand> CommandList;
};

class TZelCommandTable : public vcl::TPersistent {
public:
    TZelCommandTable() = default;
    TZelCommandTable(std::string name, bool active) : FName(std::move(name)), FActive(active) {}

    const std::string& Name() const { return FName; }
    void SetName(std::string Value) { FName = std::move(Value); }
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }

    void Add(const TKeyBinding& Binding) { FCommands.push_back(Binding); }
    void Insert(int Index, const TKeyBinding& Binding);
    void Replace(int Index, const TKeyBinding& Binding);
    void Delete(int Index);
    const TKeyBinding& Item(int Index) const;
    int Count() const { return static_cast<int>(FCommands.size()); }
    // Compares the four key bytes only; -1 when no binding has them.
    int IndexOf(std::uint32_t Keys) const;
    int IndexOf(const TKeyBinding& Binding) const { return IndexOf(Binding.Keys()); }
    void Clear() { FCommands.clear(); }

    // The table file: its name on the first line, then one binding per line.
    void SaveToFile(std::string_view FileName) const;
    void LoadFromFile(std::string_view FileName);

    // The stored form: only the differences from the built-in bindings for a built-in name.
    TStoredTable Store() const;
    void Load(const TStoredTable& Stored);

private:
    std::string FName = "(Unknown)";
    bool FActive = true;
    std::vector<TKeyBinding> FCommands;
};

// The built-in bindings of "Default", "WordStar" or "Grid" (letter case ignored); null otherwise.
const std::vector<TKeyBinding>* BuiltInBindings(std::string_view Name);

class TZelCommandProcessor : public vcl::TPersistent {
public:
    // Builds "Default" (active), "WordStar" and "Grid" (inactive).
    TZelCommandProcessor();

    int TableCount() const { return static_cast<int>(FTables.size()); }
    // Raises ETableNotFound for an index out of range.
    TZelCommandTable& Table(int Index) const;

    int CreateTable(std::string Name, bool Active);
    // Appends the table under a name no other table has; returns its index.
    int AddTable(std::unique_ptr<TZelCommandTable> Table);
    TZelCommandTable* GetTable(std::string_view Name) const;
    void AddCommand(std::string_view TableName, const TKeyBinding& Binding);
    int LoadTableFromFile(std::string_view FileName);
    void SaveTableToFile(std::string_view TableName, std::string_view FileName) const;

    // One key press to a command code or a translation result.
    std::uint16_t TranslateKey(std::uint8_t Key, TShiftState Shift);
    void ResetState() { FState = 0; FKey = FShift = 0; }

    // The stored form ("TableList"); reading replaces every table.
    std::vector<TStoredTable> StoreTables() const;
    void LoadTables(const std::vector<TStoredTable>& Tables);

protected:
    // "TableList": the stored form above, written while there is a table.
    void DefineProperties(vcl::TFiler* Filer) override;

private:
    std::uint16_t Translate(std::uint8_t key, std::uint8_t shift);

    std::vector<std::unique_ptr<TZelCommandTable>> FTables;
    std::uint8_t FState = 0;
    std::uint8_t FKey = 0;
    std::uint8_t FShift = 0;
};

} // namespace editor
