#include "ide/Ide.h"

#include "host/LibraryExports.h"
#include "ide/IdeSettings.h"
#include "ide/WinNames.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <filesystem>

namespace ide {

namespace {

TIde* GCurrent = nullptr;

const char* LibraryFileName(TLibraryKind kind) {
    switch (kind) {
    case TLibraryKind::Delvo: return "libdelvo32.so";
    case TLibraryKind::Zestor: return "libzestor.so";
    case TLibraryKind::Quillor: return "libquillor.so";
    }
    return "";
}

} // namespace

struct TIde::TLoadedLibrary {
    TLibraryKind Kind;
    std::string Path;
    rtl::HMODULE Handle = nullptr;
    host::TCloseUpProc CloseUp = nullptr;
    host::TQuilloCheckProc QuilloCheck = nullptr;
};

TIde::TIde() {
    if (GCurrent)
        throw rtl::EInvalidOperation("The IDE is already running");
    GCurrent = this;
    FMenu.OnError = [this](const std::string& message) { ShowMessage(message); };
    try {
        EnsureIdeDefaults();
    } catch (const rtl::Exception& e) {
        ShowMessage(e.Message());
    }
    BuildMenu();
    FToolServices = NewToolServices(this);
}

TIde::~TIde() {
    Shutdown();
    DetachToolServices(FToolServices);
    FToolServices->Release();
    GCurrent = nullptr;
}

TIde* TIde::Current() { return GCurrent; }

void TIde::BuildMenu() {
    TMenuItem& root = FMenu.Root();
    root.Add("FileMenu", "&File");
    root.Add("EditMenu", "&Edit");
    root.Add("SearchMenu", "&Search");
    root.Add("ViewMenu", "&View");
    root.Add("ProjectMenu", "&Project");
    root.Add("RunMenu", "&Run");
    root.Add("ComponentMenu", "&Component");
    TMenuItem* tools = root.Add("ToolsMenu", "&Tools");
    tools->Add("ToolsOptionsItem", "&Options...");
    root.Add("HelpMenu", "&Help");
}

// --- project and files

bool TIde::OpenProject(const std::string& fileName) {
    if (fileName.empty() || !rtl::FileExists(fileName))
        return false;
    std::string full = FullWinName(fileName);
    if (FProject.IsOpen())
        CloseProject();
    auto buffer = FBuffers.Open(full);
    if (!buffer)
        return false;
    FProject.Open(buffer->FileName());
    FCurrentFile = buffer->FileName();
    rtl::SetCurrentDir(FProject.Folder());
    if (FWindows)
        FWindows->ApplyPlaces();
    return true;
}

bool TIde::CloseProject() {
    // Closing keeps the edits, as when the user answers Yes to saving them.
    bool saved = true;
    for (const auto& b : FBuffers.Buffers())
        if (b->Modified() && !b->Save())
            saved = false;
    if (FProject.IsOpen()) {
        if (FWindows)
            FWindows->StorePlaces();
        FProject.WriteDesktop();
    }
    if (!saved) {
        ShowMessage("Cannot save the modified files; the project stays open");
        return false;
    }
    bool wasOpen = FProject.IsOpen();
    FBuffers.CloseAll();
    FProject.Close();
    FCurrentFile.clear();
    return wasOpen;
}

bool TIde::SaveProject() {
    // Files opened on their own are saved too: callers save before reading the files from disk.
    bool ok = true;
    for (const auto& b : FBuffers.Buffers())
        if (b->Modified() && !b->Save())
            ok = false;
    if (FProject.IsOpen() && FWindows)
        FWindows->StorePlaces();
    return FProject.IsOpen() && FProject.WriteDesktop() && ok;
}

bool TIde::OpenFile(const std::string& fileName) {
    if (fileName.empty())
        return false;
    auto buffer = FBuffers.Open(fileName);
    if (!buffer)
        return false;
    FCurrentFile = buffer->FileName();
    return true;
}

bool TIde::SaveFile(const std::string& fileName) {
    auto buffer = FBuffers.Find(fileName);
    if (!buffer)
        return false;
    return !buffer->Modified() || buffer->Save();
}

std::vector<std::string> TIde::UnitFiles() const {
    if (!FProject.IsOpen())
        return {};
    if (auto b = FBuffers.Find(FProject.FileName()))
        return FProject.UnitFiles(b->Text());
    auto text = ReadWholeFile(FProject.FileName());
    return FProject.UnitFiles(text ? *text : std::string());
}

// --- experts

bool TIde::RegisterExpertProc(host::TIExpert* expert) {
    RecordCall("RegisterProc");
    if (TIde* ide = Current())
        return ide->RegisterExpert(expert);
    if (expert)
        expert->Release();
    return false;
}

bool TIde::RegisterExpert(host::TIExpert* expert) {
    if (!expert)
        return false;
    if (FShutDown) {
        expert->Release();
        return false;
    }
    TRegisteredExpert entry;
    entry.Expert = expert;
    try {
        RecordIdeCall("Expert.GetName");
        entry.Name = expert->GetName();
        RecordIdeCall("Expert.GetIDString");
        entry.IDString = expert->GetIDString();
        RecordIdeCall("Expert.GetStyle");
        entry.Style = expert->GetStyle();
    } catch (...) {
        ShowMessage(rtl::CurrentExceptionMessage());
    }
    FExperts.push_back(std::move(entry));
    return true;
}

// --- libraries

int TIde::LoadLibraries(const std::string& hostFolder) {
    int loaded = 0;
    for (TLibraryKind kind : {TLibraryKind::Delvo, TLibraryKind::Zestor, TLibraryKind::Quillor}) {
        std::string path = hostFolder + "/" + LibraryFileName(kind);
        std::error_code ec;
        if (std::filesystem::exists(path, ec) && LoadLibrary(kind, path))
            ++loaded;
    }
    return loaded;
}

bool TIde::LoadLibrary(TLibraryKind kind, const std::string& hostPath) {
    if (FShutDown || IsLoaded(kind))
        return false;
    rtl::HMODULE handle = rtl::LoadLibrary(rtl::WinPath(hostPath));
    if (!handle) {
        ShowMessage(rtl::LoadLibraryError());
        return false;
    }
    auto lib = std::make_unique<TLoadedLibrary>();
    lib->Kind = kind;
    lib->Path = hostPath;
    lib->Handle = handle;
    TLoadedLibrary& l = *lib;
    FLibraries.push_back(std::move(lib));
    RecordIdeCall("Load", {LibraryFileName(kind)});

    try {
        switch (kind) {
        case TLibraryKind::Delvo: {
            auto init = reinterpret_cast<host::TInitializeProc>(rtl::GetProcAddress(handle, host::InitializeName));
            l.CloseUp = reinterpret_cast<host::TCloseUpProc>(rtl::GetProcAddress(handle, host::CloseUpName));
            if (init) {
                RecordIdeCall(host::InitializeName);
                init(FToolServices);
            }
            break;
        }
        case TLibraryKind::Zestor: {
            auto init = reinterpret_cast<host::TInitExpertProc>(rtl::GetProcAddress(handle, host::InitExpertName));
            if (init) {
                host::TExpertTerminateProc terminate = nullptr;
                RecordIdeCall(host::InitExpertName);
                init(FToolServices, &TIde::RegisterExpertProc, &terminate);
                if (terminate)
                    FTerminateProcs.push_back(terminate);
            }
            break;
        }
        case TLibraryKind::Quillor:
            l.QuilloCheck = reinterpret_cast<host::TQuilloCheckProc>(rtl::GetProcAddress(handle, host::QuilloCheckName));
            if (l.QuilloCheck)
                AddQuilloCommand();
            break;
        }
    } catch (...) {
        ShowMessage(rtl::CurrentExceptionMessage());
    }
    return true;
}

bool TIde::IsLoaded(TLibraryKind kind) const {
    for (const auto& l : FLibraries)
        if (l->Kind == kind)
            return true;
    return false;
}

void TIde::AddQuilloCommand() {
    TMenuItem* tools = FMenu.Find("ToolsMenu");
    TMenuItem* item = tools->Add("ToolsQuilloCheckItem", "Spell Check...");
    item->OnClick = [this](host::TIMenuItemIntf*) { RunQuilloCheck(); };
    FMenu.Changed();
}

std::optional<int> TIde::RunQuilloCheck() {
    for (const auto& l : FLibraries)
        if (l->QuilloCheck) {
            RecordIdeCall(host::QuilloCheckName);
            try {
                FLastQuilloResult = l->QuilloCheck(FToolServices);
            } catch (...) {
                ShowMessage(rtl::CurrentExceptionMessage());
                return std::nullopt;
            }
            return FLastQuilloResult;
        }
    return std::nullopt;
}

void TIde::Shutdown() {
    if (FShutDown)
        return;
    FShutDown = true;
    // The experts' destructors take their items out of the menu, so it must still be there.
    std::vector<TRegisteredExpert> experts = std::move(FExperts);
    FExperts.clear();
    for (auto& e : experts) {
        RecordIdeCall("Expert.Release", {e.Name});
        try {
            e.Expert->Release();
        } catch (...) {
            ShowMessage(rtl::CurrentExceptionMessage());
        }
    }
    for (host::TExpertTerminateProc terminate : FTerminateProcs) {
        RecordIdeCall("Terminate");
        try {
            terminate();
        } catch (...) {
            ShowMessage(rtl::CurrentExceptionMessage());
        }
    }
    FTerminateProcs.clear();
    for (const auto& l : FLibraries)
        if (l->CloseUp) {
            RecordIdeCall(host::CloseUpName);
            try {
                l->CloseUp();
            } catch (...) {
                ShowMessage(rtl::CurrentExceptionMessage());
            }
        }
    for (auto it = FLibraries.rbegin(); it != FLibraries.rend(); ++it) {
        RecordIdeCall("Unload", {LibraryFileName((*it)->Kind)});
        rtl::FreeLibrary((*it)->Handle);
    }
    FLibraries.clear();
    if (FProject.IsOpen())
        CloseProject();
    FBuffers.CloseAll();
    FCurrentFile.clear();
    FWindows.reset();
    FMainWindowHandle = 0;
}

// --- windows and messages

TIdeWindows& TIde::ShowWindows() {
    if (FShutDown)
        throw rtl::EInvalidOperation("The IDE has shut down");
    if (!FWindows) {
        FWindows = std::make_unique<TIdeWindows>(*this);
        FMainWindowHandle = reinterpret_cast<host::THandle>(FWindows->MainWindow());
    }
    return *FWindows;
}

void TIde::ShowMessage(const std::string& text) {
    FMessages.push_back(text);
    if (OnShowMessage)
        OnShowMessage(text);
    else if (FWindows)
        FWindows->ShowMessageBox(text);
}

// --- hook library

int TIde::AddHookItem(const char* name, const char* caption, int shortCut, host::TIDEHookCallback callback,
                      void* object) {
    TMenuItem* search = FMenu.Find("SearchMenu");
    std::string itemName = name ? name : "";
    std::string itemCaption = caption ? caption : "";
    // A hook set again (a library initialized anew) takes the place of the one before.
    TMenuItem* item = nullptr;
    for (int i = 0; i < search->Count() && !item; ++i) {
        TMenuItem* old = search->Items(i);
        if (rtl::SameText(old->Name, itemName) && (!itemName.empty() || old->Caption == itemCaption))
            item = old;
    }
    if (item) {
        item->Caption = itemCaption;
        item->OnClick = nullptr;
    } else {
        item = search->Add(itemName, itemCaption);
    }
    item->ShortCut = shortCut;
    if (callback) {
        std::string itemName = item->Name;
        item->OnClick = [callback, object, itemName](host::TIMenuItemIntf*) { callback(object, itemName.c_str()); };
    }
    FMenu.Changed();
    return 1;
}

bool TIde::PressShortCut(int shortCut) {
    TMenuItem* item = FMenu.Root().FindByShortCut(shortCut);
    return item && FMenu.Click(item);
}

std::string TIde::EditorParamStr(const std::string& name) {
    try {
        return ReadEditorParamStr(name);
    } catch (const rtl::Exception&) {
        return {};
    }
}

int TIde::EditorParamInt(const std::string& name) {
    try {
        return ReadEditorParamInt(name);
    } catch (const rtl::Exception&) {
        return 0;
    }
}

bool TIde::GotoLine(const std::string& fileName, int line, int column) {
    if (!OpenFile(fileName))
        return false;
    auto buffer = CurrentBuffer();
    host::TEditPos pos;
    pos.Line = line;
    pos.Col = static_cast<std::int16_t>(std::clamp(column, 1, 32767));
    buffer->SetPos(0, pos);
    host::TEditPos cursor = buffer->Pos(0);
    if (buffer->Pos(1).Line > cursor.Line)
        buffer->SetPos(1, {1, cursor.Line});
    return true;
}

std::string TIde::ProgramFileName() { return IdeProgramFile; }

std::string TIde::ProgramFolder() { return rtl::ExtractFilePath(ProgramFileName()); }

} // namespace ide
