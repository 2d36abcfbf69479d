// Zestor's two add-in experts, each with its own item in the IDE's Tools menu, and the entry
// export's work (the export itself is in zestor/, the only symbol the library shows).
#pragma once

#include "host/Expert.h"
#include "host/MenuIntf.h"

#include <string>

namespace experts {

// An add-in expert whose item sits right after the IDE's Tools Options item.
class TMenuExpert : public host::TIExpert {
public:
    ~TMenuExpert() override;
    host::TExpertStyle GetStyle() override { return host::esAddIn; }
    host::TIMenuItemIntf* MenuItem() const { return FMenuItem; }

protected:
    TMenuExpert(const std::string& caption, const std::string& name, const std::string& hint);
    // Runs for a click on the expert's own item only.
    virtual void Click() = 0;
    // Sets a string result without letting an exception leave the library.
    std::string Guarded(std::string (*make)());

private:
    void MenuClick(host::TIMenuItemIntf* Sender);
    host::TIMenuItemIntf* FMenuItem = nullptr;
};

class TCodeExpert : public TMenuExpert {
public:
    TCodeExpert();
    std::string GetName() override;
    std::string GetIDString() override;

protected:
    void Click() override;
};

class TPropExpert : public TMenuExpert {
public:
    TPropExpert();
    std::string GetName() override;
    std::string GetIDString() override;

protected:
    void Click() override;
};

// Hands the message of the exception being handled to the IDE, which raises it there.
void ReportExpertException();

// The entry export: keeps the tool services and registers both experts. Refused (False, nothing
// changed) on a second call, without tool services, or when the IDE has no Tools Options item.
bool InitExpert(host::TIToolServices* toolServices, host::TExpertRegisterProc registerProc,
                host::TExpertTerminateProc* terminate);

// Forgets the tool services and the windows, as an unload of the library does (for tests that link
// the experts statically).
void DoneExperts();

} // namespace experts
