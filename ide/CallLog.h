// The record of the calls between the libraries and the IDE, in the order they were made, kept
// so that tests (and a person debugging a library) can see what a library asked for.
// Implementations in CallLog.cpp.
#pragma once

#include <string>
#include <vector>

namespace ide {

struct TCall {
    // True for a call a library made into the IDE; false for one the IDE made into a library.
    bool FromLibrary = true;
    std::string Name;               // "GetCurrentFile", "Reader.GetText", "SetIDEKeyHook"
    std::vector<std::string> Args;  // each argument as text

    // "Name(arg1, arg2)"
    std::string Text() const;
};

class TCallLog {
public:
    void Add(bool fromLibrary, std::string name, std::vector<std::string> args = {});
    const std::vector<TCall>& Calls() const { return FCalls; }
    // The Text() of each call made from the given side, in order.
    std::vector<std::string> Texts(bool fromLibrary = true) const;
    void Clear() { FCalls.clear(); }

private:
    std::vector<TCall> FCalls;
};

// Records into the running IDE's log; does nothing when no IDE runs.
void RecordCall(std::string name, std::vector<std::string> args = {});
void RecordIdeCall(std::string name, std::vector<std::string> args = {});

} // namespace ide
