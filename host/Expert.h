// The expert base class, the register procedure the IDE hands to an expert library, and the
// expert library's entry export.
#pragma once

#include "host/Interface.h"
#include "host/ToolServices.h"

#include <cstdint>
#include <string>

namespace host {

enum TExpertStyle : int { esStandard = 0, esForm = 1, esProject = 2, esAddIn = 3 };

using TExpertState = std::uint8_t;
constexpr TExpertState esEnabled = 1;
constexpr TExpertState esChecked = 2;

// An expert overrides the operations it has; the others answer empty.
class TIExpert : public TInterface {
public:
    virtual std::string GetName() { return {}; }
    virtual std::string GetAuthor() { return {}; }
    virtual std::string GetComment() { return {}; }
    virtual std::string GetPage() { return {}; }
    virtual THandle GetGlyph() { return 0; }
    virtual TExpertStyle GetStyle() { return esStandard; }
    virtual TExpertState GetState() { return 0; }
    virtual std::string GetIDString() { return {}; }
    virtual std::string GetMenuText() { return {}; }
    virtual void Execute() {}
};

// Takes over the expert's reference; the IDE releases it at shutdown. The result is not looked at.
using TExpertRegisterProc = bool (*)(TIExpert* expert);
// The library's termination procedure, set by the entry export and called by the IDE at shutdown.
using TExpertTerminateProc = void (*)();

// extern "C" bool INITEXPERT0016(TIToolServices*, TExpertRegisterProc, TExpertTerminateProc*)
using TInitExpertProc = bool (*)(TIToolServices* toolServices, TExpertRegisterProc registerProc,
                                 TExpertTerminateProc* terminate);
constexpr const char* InitExpertName = "INITEXPERT0016";

} // namespace host
