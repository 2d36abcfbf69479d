#include "experts/Experts.h"

#include "experts/CodeForm.h"
#include "experts/Library.h"
#include "experts/PropForm.h"

#include "rtl/Exceptions.h"
#include "vcl/Forms.h"

namespace experts {

namespace {

// Made on the first click of their items, owned by the library's application object.
TfrmCodeForm* CodeForm = nullptr;
TfrmProperties* PropForm = nullptr;

// The IDE calls this last, right before it unloads the library: the windows and the application
// object go now, while the class library's own state is still all there (the module's static
// teardown would free some of it before the application's forms).
void Terminate() {
    CodeForm = nullptr;
    PropForm = nullptr;
    vcl::DoneApplication();
}

} // namespace

void ReportExpertException() {
    std::string message = rtl::CurrentExceptionMessage();
    try {
        if (ToolServices)
            ToolServices->RaiseException(message);
    } catch (...) {
        // The IDE's raise is for the IDE's side; nothing of it comes back through us.
    }
}

TMenuExpert::TMenuExpert(const std::string& caption, const std::string& name, const std::string& hint) {
    host::TInterfaceRef<host::TIMainMenuIntf> mainMenu(ToolServices->GetMainMenu());
    if (!mainMenu)
        throw rtl::Exception("The IDE has no main menu");
    host::TInterfaceRef<host::TIMenuItemIntf> root(mainMenu->GetMenuItems());
    host::TInterfaceRef<host::TIMenuItemIntf> options(mainMenu->FindMenuItem("ToolsOptionsItem"));
    if (!options)
        throw rtl::Exception("The IDE has no Tools Options menu item");
    host::TInterfaceRef<host::TIMenuItemIntf> parent(options->GetParent());
    if (!parent)
        throw rtl::Exception("The IDE's Tools Options menu item has no menu");
    FMenuItem = parent->InsertItem(options->GetIndex() + 1, caption, name, hint, 0, 0, 0,
                                   host::mfEnabled | host::mfVisible,
                                   [this](host::TIMenuItemIntf* Sender) { MenuClick(Sender); });
    // The holders release the parent, the found item, the root and the menu, in that order.
    parent.Reset();
    options.Reset();
    root.Reset();
}

TMenuExpert::~TMenuExpert() {
    if (FMenuItem) {
        FMenuItem->DestroyMenuItem();
        FMenuItem->Release();
    }
}

void TMenuExpert::MenuClick(host::TIMenuItemIntf* Sender) {
    if (Sender && Sender == FMenuItem)
        Click();
}

std::string TMenuExpert::Guarded(std::string (*make)()) {
    try {
        return make();
    } catch (...) {
        ReportExpertException();
        return {};
    }
}

TCodeExpert::TCodeExpert()
    : TMenuExpert("Quick Code Expert", "ToolsQuickCodeExpertItem", "Displays the quick code expert") {}

std::string TCodeExpert::GetName() {
    return Guarded([] { return std::string("Palvane Quick Code Expert"); });
}

std::string TCodeExpert::GetIDString() {
    return Guarded([] { return std::string("Palvane.QuickCodeExpert"); });
}

void TCodeExpert::Click() {
    if (!CodeForm)
        CodeForm = vcl::Make<TfrmCodeForm>(vcl::Application);
    // A fresh showing starts from browsing; an unsaved edit in the window is kept for the user.
    if (CodeForm->EditMode() == emBrowse) CodeForm->ClearForBrowsing();
    if (CodeForm->WindowState() == vcl::TWindowState::wsMinimized ||
        (CodeForm->HandleAllocated() && win::IsIconic(CodeForm->Handle())))
        CodeForm->SetWindowState(vcl::TWindowState::wsNormal);
    CodeForm->Show();
    CodeForm->BringToFront();
}

TPropExpert::TPropExpert()
    : TMenuExpert("Property Expert", "ToolsPropertyExpertItem", "Displays the property expert") {}

std::string TPropExpert::GetName() {
    return Guarded([] { return std::string("Palvane Property Expert"); });
}

std::string TPropExpert::GetIDString() {
    return Guarded([] { return std::string("Palvane.PropertyExpert"); });
}

void TPropExpert::Click() {
    if (!PropForm)
        PropForm = vcl::Make<TfrmProperties>(vcl::Application);
    PropForm->PrepareWizard();
    PropForm->ShowModal();
}

bool InitExpert(host::TIToolServices* toolServices, host::TExpertRegisterProc registerProc,
                host::TExpertTerminateProc* terminate) {
    if (ToolServices || !toolServices || !registerProc)
        return false;
    // Without the Tools Options item neither expert has a place for its item.
    {
        host::TInterfaceRef<host::TIMainMenuIntf> mainMenu(toolServices->GetMainMenu());
        if (!mainMenu)
            return false;
        host::TInterfaceRef<host::TIMenuItemIntf> options(mainMenu->FindMenuItem("ToolsOptionsItem"));
        if (!options)
            return false;
    }
    ToolServices = toolServices;
    if (host::THandle parent = toolServices->GetParentHandle())
        vcl::Application->SetHandle(reinterpret_cast<win::HWND>(parent));
    if (terminate)
        *terminate = &Terminate;
    registerProc(new TCodeExpert);
    registerProc(new TPropExpert);
    return true;
}

void DoneExperts() {
    CodeForm = nullptr;
    PropForm = nullptr;
    ToolServices = nullptr;
}

} // namespace experts
