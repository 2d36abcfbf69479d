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
    BuildFileMenu(*root.Add("FileMenu", "&File"));
    BuildEditMenu(*root.Add("EditMenu", "&Edit"));
    root.Add("SearchMenu", "&Search");
    BuildViewMenu(*root.Add("ViewMenu", "&View"));
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
    if (FProject.IsOpen() && !CloseProject())
        return false;
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

bool TIde::QuerySave(TEditBuffer& buffer) {
    if (!buffer.Modified())
        return true;
    TSaveAnswer answer = TSaveAnswer::Yes;
    if (OnQuerySave)
        answer = OnQuerySave(buffer.FileName());
    else if (FWindows && !FShutDown)
        answer = FWindows->AskSave(buffer.FileName());
    if (answer == TSaveAnswer::Cancel)
        return false;
    if (answer == TSaveAnswer::Yes && !buffer.Save()) {
        ShowMessage("Cannot save " + buffer.FileName());
        return false;
    }
    return true;
}

bool TIde::QueryCloseAll() {
    std::vector<std::shared_ptr<TEditBuffer>> dropped;
    // A copy: the buffers stay open while the user answers.
    for (const auto& b : std::vector(FBuffers.Buffers())) {
        if (!QuerySave(*b))
            return false;
        if (b->Modified())
            dropped.push_back(b);
    }
    for (const auto& b : dropped)
        b->SetModified(false);
    return true;
}

bool TIde::CloseProject() {
    if (!QueryCloseAll())
        return false;
    if (FProject.IsOpen()) {
        if (FWindows)
            FWindows->StorePlaces();
        FProject.WriteDesktop();
    }
    bool wasOpen = FProject.IsOpen();
    FBuffers.CloseAll();
    FProject.Close();
    FCurrentFile.clear();
    return wasOpen;
}

bool TIde::CloseAll() {
    if (!QueryCloseAll())
        return false;
    CloseProject();
    FBuffers.CloseAll();
    FCurrentFile.clear();
    return true;
}

bool TIde::SaveProject() {
    // Files opened on their own are saved too: callers save before reading the files from disk.
    bool ok = SaveAll();
    return FProject.IsOpen() && ok;
}

bool TIde::SaveAll() {
    bool ok = true;
    for (const auto& b : FBuffers.Buffers())
        if (b->Modified() && !b->Save()) {
            ShowMessage("Cannot save " + b->FileName());
            ok = false;
        }
    if (FProject.IsOpen()) {
        if (FWindows)
            FWindows->StorePlaces();
        ok = FProject.WriteDesktop() && ok;
    }
    return ok;
}

bool TIde::OpenFile(const std::string& fileName) {
    if (fileName.empty())
        return false;
    auto buffer = FBuffers.Open(fileName);
    if (!buffer)
        return false;
    FCurrentFile = buffer->FileName();
    if (FWindows)
        FWindows->ShowEditor(false);
    return true;
}

bool TIde::SaveFile(const std::string& fileName) {
    auto buffer = FBuffers.Find(fileName);
    if (!buffer)
        return false;
    if (!buffer->Modified() || buffer->Save())
        return true;
    ShowMessage("Cannot save " + buffer->FileName());
    return false;
}

bool TIde::SaveFileAs(const std::string& fileName, const std::string& newName) {
    auto buffer = FBuffers.Find(fileName);
    if (!buffer || newName.empty())
        return false;
    bool wasCurrent = buffer->FileName() == FCurrentFile;
    bool wasProject = FProject.IsOpen() && SameWinName(buffer->FileName(), FProject.FileName());
    if (auto other = FBuffers.Find(newName); other && other != buffer) {
        ShowMessage(newName + " is open in the editor");
        return false;
    }
    if (!buffer->SaveAs(newName)) {
        ShowMessage("Cannot save " + newName);
        return false;
    }
    if (wasCurrent)
        FCurrentFile = buffer->FileName();
    if (wasProject) {
        FProject.Open(buffer->FileName());
        rtl::SetCurrentDir(FProject.Folder());
    }
    return true;
}

bool TIde::CloseFile(const std::string& fileName) {
    auto buffer = FBuffers.Find(fileName);
    if (!buffer || !QuerySave(*buffer))
        return false;
    // The tab beside the closed one becomes the current file.
    const auto& all = FBuffers.Buffers();
    auto at = std::find(all.begin(), all.end(), buffer) - all.begin();
    bool wasCurrent = buffer->FileName() == FCurrentFile;
    FBuffers.Close(buffer->FileName());
    if (wasCurrent) {
        const auto& rest = FBuffers.Buffers();
        FCurrentFile = rest.empty() ? std::string()
                                    : rest[static_cast<std::size_t>(std::min<std::ptrdiff_t>(at, std::ssize(rest) - 1))]->FileName();
    }
    return true;
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
    if (FWindows)
        FWindows->ShowEditor(true);
    return true;
}

std::string TIde::ProgramFileName() { return IdeProgramFile; }

std::string TIde::ProgramFolder() { return rtl::ExtractFilePath(ProgramFileName()); }

} // namespace ide
