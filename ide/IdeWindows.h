// The IDE's windows on the screen: the main window with the main menu, the Object Inspector, the
// code editor (a tab for each open file over the editing view, CodeView.h) and the Project
// Manager, all top-level so that other programs see them; and the boxes and file dialogs the
// IDE's commands ask with. They follow the core through its attachment points and are destroyed
// last at shutdown. Implementations in IdeWindows.cpp.
#pragma once

#include "win/Windows.h"

#include <memory>
#include <string>
#include <vector>

namespace ide {

class TIde;
class TCodeView;
enum class TSaveAnswer;

class TIdeWindows {
public:
    // Makes the windows, placed as the project's desktop file says, and shows them.
    explicit TIdeWindows(TIde& ide);
    ~TIdeWindows();
    TIdeWindows(const TIdeWindows&) = delete;
    TIdeWindows& operator=(const TIdeWindows&) = delete;

    win::HWND MainWindow() const;
    win::HWND PropertyInspector() const;
    win::HWND EditWindow() const;
    win::HWND CodeView() const;
    win::HWND ProjectManager() const;
    TCodeView& View() const;

    // Shows a window that was closed, the code editor brought forward only with activate.
    void ShowEditor(bool activate);
    void ShowInspector();
    void ShowProjectManager();
    // "Window List": the IDE's windows; the one chosen comes forward.
    void ShowWindowList();
    // Closes the main window, which asks about modified files first.
    void CloseMain();
    // "Save changes to <file>?" with Yes, No and Cancel.
    TSaveAnswer AskSave(const std::string& fileName);
    // The open (or save) dialog; the full name chosen, empty when cancelled.
    std::string ChooseFile(bool save, const std::string& title, const std::string& filter, const std::string& defaultExt,
                           const std::string& initialDir, const std::string& fileName);

    // Moves the Object Inspector and the code editor to the project's window places.
    void ApplyPlaces();
    // Takes their current places into the project, for its desktop file.
    void StorePlaces();
    // Repaints what changed in the core: captions and the current buffer (the menu repaints on
    // its own changes).
    void Refresh();

    // The message box the IDE's messages go in while the windows are up.
    void ShowMessageBox(const std::string& text);
    // Where a click chooses a menu item: a top menu on the menu bar, any other in its drop-down
    // menu while that is open (a client point of the main window); false when not shown.
    bool ItemPlace(const std::string& name, win::HWND& wnd, win::POINT& point);

    // The code editor's tab captions, and the middle of one tab (a client point of the tab strip
    // window, FileTabs), for other programs' tests.
    std::vector<std::string> FileTabs() const;
    bool TabPlace(int index, win::HWND& wnd, win::POINT& point) const;

    // Runs the message loop until the main window closes.
    void Run();
    // Runs the messages that wait, painting included.
    void ProcessMessages();

private:
    void MenuChanged();
    struct TForms;
    TIde& FIde;
    std::unique_ptr<TForms> FForms;
};

} // namespace ide
