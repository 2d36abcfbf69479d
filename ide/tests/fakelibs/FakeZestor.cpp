// An expert library with one add-in expert in the Tools menu, for the IDE's loading tests.
#include "host/Expert.h"

#include "rtl/Exceptions.h"

namespace {

host::TIToolServices* GServices = nullptr;

class TFakeExpert : public host::TIExpert {
public:
    TFakeExpert() {
        host::TInterfaceRef<host::TIMainMenuIntf> menu(GServices->GetMainMenu());
        host::TInterfaceRef<host::TIMenuItemIntf> options(menu->FindMenuItem("ToolsOptionsItem"));
        host::TInterfaceRef<host::TIMenuItemIntf> parent(options->GetParent());
        FItem = parent->InsertItem(options->GetIndex() + 1, "Fake Expert", "ToolsFakeItem", "", 0, 0, 0,
                                   host::mfEnabled | host::mfVisible, [](host::TIMenuItemIntf*) {
                                       // Both kinds of error leave the library, as an expert's do.
                                       if (GServices->GetProjectName().empty())
                                           throw rtl::EConvertError("No project to work on");
                                       rtl::Abort();
                                   });
    }
    ~TFakeExpert() override {
        FItem->DestroyMenuItem();
        FItem->Release();
    }
    std::string GetName() override { return "Fake Expert"; }
    host::TExpertStyle GetStyle() override { return host::esAddIn; }
    std::string GetIDString() override { return "Fake.Expert"; }

private:
    host::TIMenuItemIntf* FItem = nullptr;
};

void Terminate() {}

} // namespace

extern "C" __attribute__((visibility("default"))) bool INITEXPERT0016(host::TIToolServices* services,
                                                                     host::TExpertRegisterProc registerProc,
                                                                     host::TExpertTerminateProc* terminate) {
    if (GServices)
        return false;
    GServices = services;
    *terminate = &Terminate;
    registerProc(new TFakeExpert);
    return true;
}
