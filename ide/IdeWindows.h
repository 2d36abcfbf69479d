// The IDE's windows on the screen: the main window with the main menu, the Object Inspector and
// the code editor, all top-level so that other programs see them. They follow the core through
// its attachment points and are destroyed last at shutdown. Implementations in IdeWindows.cpp.
#pragma once

#include "win/Windows.h"

#include <memory>
#include <string>

namespace ide {

class TIde;

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
