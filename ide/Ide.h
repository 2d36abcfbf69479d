// The stand-in IDE: one per process (the ide program or a test), shared by the three libraries
// and the hook library. It keeps the project, the editor buffers, the main menu, the registered
// experts and the loaded libraries, offers them through the tool-services object, and records
// every call between the libraries and itself. Implementations in Ide.cpp.
//
// The core runs without windows; ShowWindows puts them on the screen (IdeWindows.h).
#pragma once

#include "host/Expert.h"
#include "host/HookLibrary.h"
#include "host/ToolServices.h"
#include "ide/CallLog.h"
#include "ide/EditBuffers.h"
#include "ide/MainMenu.h"
#include "ide/IdeWindows.h"
#include "ide/Project.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ide {

enum class TLibraryKind { Delvo, Zestor, Quillor };

// The user's answer to "Save changes to <file>?".
enum class TSaveAnswer { Yes, No, Cancel };

struct TRegisteredExpert {
    host::TIExpert* Expert = nullptr; // the IDE holds the reference the register procedure got
    std::string Name;
    std::string IDString;
    host::TExpertStyle Style = host::esStandard;
};

class TIde {
public:
    // Becomes the process's IDE; a second one while the first lives raises EInvalidOperation.
    TIde();
    // Shuts down when that has not happened yet.
    ~TIde();
    TIde(const TIde&) = delete;
    TIde& operator=(const TIde&) = delete;

    static TIde* Current();

    host::TIToolServices* ToolServices() const { return FToolServices; }
    TCallLog& CallLog() { return FCallLog; }
    TEditBuffers& Buffers() { return FBuffers; }
    TProject& Project() { return FProject; }
    TMainMenu& Menu() { return FMenu; }

    // --- project and files: what the tool-services operations and the user's File commands do.
    // A modified buffer is dropped only after QuerySave: a Cancel keeps everything open and
    // answers false.
    bool OpenProject(const std::string& fileName);
    bool CloseProject();
    bool SaveProject();
    // Makes the file the current one, shown in the code editor.
    bool OpenFile(const std::string& fileName);
    bool SaveFile(const std::string& fileName);
    bool SaveFileAs(const std::string& fileName, const std::string& newName);
    // Every modified buffer, and the desktop file of the project.
    bool SaveAll();
    bool CloseFile(const std::string& fileName);
    // The project and every file.
    bool CloseAll();
    const std::string& CurrentFile() const { return FCurrentFile; }
    std::shared_ptr<TEditBuffer> CurrentBuffer() const { return FBuffers.Find(FCurrentFile); }
    std::vector<std::string> UnitFiles() const;
    // Asks about a modified buffer: Yes saves it, No lets it go, Cancel stops (false). Asks
    // OnQuerySave when set, else the windows; without either, or at shutdown, the edits are kept.
    bool QuerySave(TEditBuffer& buffer);
    std::function<TSaveAnswer(const std::string& fileName)> OnQuerySave;

    // --- the Edit commands, on the current buffer's selection and the desktop clipboard
    void Undo();
    void Redo();
    void CutSelection();
    void CopySelection();
    void PasteClipboard();
    void SelectAll();

    // --- experts
    // The register procedure handed to an expert library.
    static bool RegisterExpertProc(host::TIExpert* expert);
    bool RegisterExpert(host::TIExpert* expert);
    const std::vector<TRegisteredExpert>& Experts() const { return FExperts; }

    // --- libraries: libdelvo32.so, libzestor.so and libquillor.so from a host folder, each when
    // present, entered through its exports. Returns how many were loaded.
    int LoadLibraries(const std::string& hostFolder);
    bool LoadLibrary(TLibraryKind kind, const std::string& hostPath);
    bool IsLoaded(TLibraryKind kind) const;
    // Calls QUILLOCHECK with the tool-services object; empty when the library is not loaded.
    std::optional<int> RunQuilloCheck();
    std::optional<int> LastQuilloResult() const { return FLastQuilloResult; }

    // Releases the experts while the menu exists, calls the terminate procedures, CloseUp, and
    // unloads the libraries; then closes the project.
    void Shutdown();

    // --- windows: made once, destroyed last at shutdown; their handle is the parent window handle.
    TIdeWindows& ShowWindows();
    TIdeWindows* Windows() const { return FWindows.get(); }

    // --- messages the IDE shows: to OnShowMessage when set, else in a message box while the
    // windows are up.
    void ShowMessage(const std::string& text);
    const std::vector<std::string>& Messages() const { return FMessages; }
    std::function<void(const std::string& text)> OnShowMessage;

    // --- what the hook library asks for
    int AddHookItem(const char* name, const char* caption, int shortCut, host::TIDEHookCallback callback,
                    void* object);
    // The menu item of that shortcut is chosen, as a key press in an IDE window does.
    bool PressShortCut(int shortCut);
    std::string EditorParamStr(const std::string& name);
    int EditorParamInt(const std::string& name);
    bool GotoLine(const std::string& fileName, int line, int column);
    void SetActive(bool active) { FActive = active; }
    bool Active() const { return FActive; }

    host::THandle MainWindowHandle() const { return FMainWindowHandle; }
    void SetMainWindowHandle(host::THandle handle) { FMainWindowHandle = handle; }

    // The IDE's program file; Quillor looks for its dictionary in its folder.
    static std::string ProgramFileName();
    static std::string ProgramFolder();

private:
    struct TLoadedLibrary;

    void BuildMenu();
    void BuildFileMenu(TMenuItem& menu);
    void BuildEditMenu(TMenuItem& menu);
    void BuildViewMenu(TMenuItem& menu);
    void AddQuilloCommand();
    // Asks about every modified buffer; the ones answered No are then dropped unsaved.
    bool QueryCloseAll();
    // The file the user picks in the open dialog, a project or any file.
    void OpenCommand(bool project);
    void SaveAsCommand();

    TCallLog FCallLog;
    TEditBuffers FBuffers;
    TProject FProject;
    TMainMenu FMenu;
    std::string FCurrentFile;
    host::TIToolServices* FToolServices = nullptr;
    std::vector<TRegisteredExpert> FExperts;
    std::vector<std::unique_ptr<TLoadedLibrary>> FLibraries;
    std::vector<host::TExpertTerminateProc> FTerminateProcs;
    std::optional<int> FLastQuilloResult;
    std::vector<std::string> FMessages;
    host::THandle FMainWindowHandle = 0;
    bool FActive = true;
    bool FShutDown = false;
    std::unique_ptr<TIdeWindows> FWindows;
};

// The tool-services object over an IDE; it does nothing once the IDE is gone.
host::TIToolServices* NewToolServices(TIde* ide);
void DetachToolServices(host::TIToolServices* services);

} // namespace ide
