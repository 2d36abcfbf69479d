// Delvo32's library-wide state and its command loop.
#include "declsearch/IdeCommands.h"

#include "declsearch/IdeHooks.h"
#include "declsearch/MainDlg.h"
#include "declsearch/OptionsDlg.h"
#include "declsearch/OptionsStore.h"

#include "rtl/Modules.h"
#include "rtl/ScopeGuards.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

#include <memory>

namespace declsearch {

namespace {

// Kept from the first Initialize that brings one; no IDE call is made while it is unset.
host::TIToolServices* ToolServices = nullptr;
std::unique_ptr<TIDEIntf> IdeIntf;
std::unique_ptr<TKwRegIniFile> Store;
// Owned by the application object; kept hidden between commands.
TMainDlg* Results = nullptr;

struct TMenuCommand {
    const char* Name;
    const char* Caption;
    char Key;
};

// The menu hands the callback a pointer it was given at Initialize; after a CloseUp (or before a
// fresh Initialize) the IDE may still hold items with the old one, which must not be followed.
int IdeCommandProc(void* object, const char* name) {
    if (!object || object != IdeIntf.get() || !name) return 0;
    try {
        return static_cast<TIDEIntf*>(object)->IdeCommand(name);
    } catch (...) {
        try {
            if (vcl::Application) vcl::Application->HandleException(nullptr);
        } catch (...) {
        }
        return 0;
    }
}

void InstallCommand(const char* name, const char* caption, char key) {
    std::string stored = Store->ReadString("Interface", std::string(name) + " ShortCut", "").substr(0, 64);
    int shortCut = rtl::Trim(stored).empty()
                       ? static_cast<int>(vcl::TextToShortCut(std::string("Ctrl+") + "Alt+" + key))
                       : IdeHooks().GetIDEShortCut(stored.c_str());
    std::string text = Store->ReadString("Interface", std::string(name) + " Caption", caption);
    IdeHooks().SetIDEKeyHook(name, text.c_str(), shortCut, &IdeCommandProc, IdeIntf.get());
}

// The IDE is kept inactive while a modal window of the search is up, and active again on every
// way out of it.
class TIdeInactive {
public:
    TIdeInactive() { IdeHooks().IDEActivate(0); }
    ~TIdeInactive() { IdeHooks().IDEActivate(1); }
    TIdeInactive(const TIdeInactive&) = delete;
    TIdeInactive& operator=(const TIdeInactive&) = delete;
};

std::string ExtensionKey(std::string_view fileName) {
    return rtl::LowerCase(rtl::ExtractFileExt(fileName)).substr(0, 4);
}

} // namespace

TCommand CommandOfName(std::string_view name) {
    if (rtl::SameText(name, "SearchExecute")) return cmdSearch;
    if (rtl::SameText(name, "SearchOptions")) return cmdOptions;
    if (rtl::SameText(name, "SearchResults")) return cmdResults;
    return cmdNone;
}

std::string SearchedCurrentFile(std::string_view fileName) {
    if (ExtensionKey(fileName) == ".dfm") return rtl::ChangeFileExt(fileName, ".pas");
    return std::string(fileName);
}

bool IsSearchedUnit(std::string_view fileName) {
    std::string ext = ExtensionKey(fileName);
    return ext == ".pas" || ext == ".inc" || ext == ".dpr";
}

bool AnyWindowVisible() { return (Results && Results->Visible()) || (OptionsDlg && OptionsDlg->Visible()); }

TMainDlg* ResultsWindow() { return Results; }

int TIDEIntf::IdeCommand(std::string_view name) {
    // The search lets messages run every 100 lines: a command chosen then must not start a second
    // search inside the first.
    if (FRunning || AnyWindowVisible()) return 0;
    FRunning = true;
    rtl::TScopeExit done([this] { FRunning = false; });

    std::string currentFile;
    std::vector<std::string> units;
    if (ToolServices) {
        ToolServices->SaveProject();
        currentFile = SearchedCurrentFile(ToolServices->GetCurrentFile());
        int count = ToolServices->GetUnitCount();
        for (int i = 0; i < count; ++i) {
            std::string unit = ToolServices->GetUnitName(i);
            if (IsSearchedUnit(unit)) units.push_back(std::move(unit));
        }
    }

    TCommand command = CommandOfName(name);
    while (command != cmdNone) {
        switch (command) {
        case cmdSearch: command = ExecuteSearchCommand(currentFile, units); break;
        case cmdOptions: command = ShowOptionsCommand(currentFile, units); break;
        case cmdResults: command = ShowResultsCommand(currentFile, units); break;
        default: command = cmdNone; break;
        }
    }
    return 0;
}

TCommand TIDEIntf::ExecuteSearchCommand(const std::string& currentFile, const std::vector<std::string>& units) {
    if (!Results) Results = vcl::Make<TMainDlg>(vcl::Application, Store.get());
    Results->SetCurrentFile(currentFile);
    Results->SetProjectUnits(units);
    Results->Search(IdeHooks());
    return ShowResultsCommand(currentFile, units);
}

TCommand TIDEIntf::ShowResultsCommand(const std::string& currentFile, const std::vector<std::string>& units) {
    if (!Results) return ExecuteSearchCommand(currentFile, units);
    Results->SetCurrentFile(currentFile);
    Results->SetProjectUnits(units);
    // Only a choice made in this showing moves the editor.
    Results->Results().ClearGoto();
    {
        TIdeInactive inactive;
        Results->ShowModal();
    }
    const TCommand next = Results->NextAction();
    Results->SetNextAction(cmdNone);
    if (next != cmdNone) return next;
    if (Results->GotoLine() > 0)
        IdeHooks().GotoIDELine(Results->CurrentFile().c_str(), Results->GotoLine(), Results->GotoColumn());
    return cmdNone;
}

TCommand TIDEIntf::ShowOptionsCommand(const std::string& currentFile, const std::vector<std::string>& units) {
    if (!OptionsDlg) OptionsDlg = vcl::Make<TOptionsDlg>(vcl::Application);
    OptionsDlg->CurrentFile = currentFile;
    OptionsDlg->ProjectUnits()->Clear();
    for (const std::string& unit : units) OptionsDlg->ProjectUnits()->Add(unit);
    {
        TIdeInactive inactive;
        OptionsDlg->ShowModal();
    }
    // The window frees itself once messages run again; its outcome is read before.
    const TCommand next = OptionsDlg ? OptionsDlg->NextAction : cmdNone;
    if (OptionsDlg) OptionsDlg->NextAction = cmdNone;
    return next;
}

void InitializeDelvo(host::TIToolServices* toolServices) {
    // A second call would leak the first store and install every item twice.
    if (IdeIntf) return;
    if (!ToolServices) ToolServices = toolServices;
    if (ToolServices)
        vcl::Application->SetHandle(reinterpret_cast<win::HWND>(ToolServices->GetParentHandle()));
    // Nothing is kept when the store cannot be opened, so a later Initialize can try again.
    std::unique_ptr<TKwRegIniFile> store = OpenOptionsStore();
    IdeIntf = std::make_unique<TIDEIntf>();
    Store = std::move(store);
    OptionsIni = Store.get();
    vcl::Application->SetHelpFile(rtl::ExtractFilePath(rtl::GetModuleFileName()) + "DELVO.HLP");
    vcl::Application->SetTitle("Delvo +");

    InstallCommand("SearchExecute", "Search Execute", 'X');
    InstallCommand("SearchResults", "Search Results", 'R');
    IdeHooks().SetIDEKeyHook(nullptr, "-", 0, nullptr, nullptr);
    InstallCommand("SearchOptions", "Search Options", 'O');
}

void CloseUpDelvo() {
    delete Results;
    Results = nullptr;
    delete OptionsDlg;
    OptionsIni = nullptr;
    Store.reset();
    IdeIntf.reset();
}

} // namespace declsearch
