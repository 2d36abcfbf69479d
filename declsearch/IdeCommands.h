// Delvo32 inside the IDE: the work of the two exports and the command loop that the IDE's menu
// items run over the search, the results window and the options window. The exports themselves
// are in delvo32/, the only symbols the library shows. Implementations in IdeCommands.cpp.
#pragma once

#include "declsearch/Commands.h"

#include "host/ToolServices.h"

#include <string>
#include <string_view>
#include <vector>

namespace declsearch {

class TMainDlg;

// The object the hook library calls back with the chosen item's name.
class TIDEIntf {
public:
    // Always 0. Does nothing while a window of the search is shown or a command runs.
    int IdeCommand(std::string_view name);

private:
    // Each gives the command to run next.
    [[nodiscard]] TCommand ExecuteSearchCommand(const std::string& currentFile, const std::vector<std::string>& units);
    [[nodiscard]] TCommand ShowResultsCommand(const std::string& currentFile, const std::vector<std::string>& units);
    [[nodiscard]] TCommand ShowOptionsCommand(const std::string& currentFile, const std::vector<std::string>& units);

    bool FRunning = false;
};

// The command a menu item's name stands for (without regard to case); none for an unknown name.
TCommand CommandOfName(std::string_view name);

// A form's file is searched as its unit; the extension is compared on its first four characters.
std::string SearchedCurrentFile(std::string_view fileName);
// Whether a project unit's file is searched: ".pas", ".inc" or ".dpr", compared likewise.
bool IsSearchedUnit(std::string_view fileName);

// The export Initialize: keeps the tool services, opens the options store and installs the three
// menu commands. Does nothing while initialized.
void InitializeDelvo(host::TIToolServices* toolServices);
// The export CloseUp: frees the windows, the store and the callback object.
void CloseUpDelvo();

bool AnyWindowVisible();
// The results window, absent until the first search; for tests that link the library statically.
TMainDlg* ResultsWindow();

} // namespace declsearch
