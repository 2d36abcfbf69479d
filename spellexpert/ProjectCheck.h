// One run of the check, apart from the window that starts it: the project taken out of the IDE,
// its files (or the current one) walked in the editor window with the spell dialog, and given
// back. The main window (QuilloMain.h) holds one and drives its steps. Implementations in
// ProjectCheck.cpp.
#pragma once

#include "host/ToolServices.h"
#include "rtl/StringLists.h"
#include "vcl/FileDialogs.h"

#include <memory>
#include <string>
#include <string_view>

namespace spellexpert {

inline constexpr int MainHelpContext = 100;
inline constexpr const char* NoProjectMessage = "Project must by open for spell checking";
inline constexpr const char* CompleteMessage = "Quillo Checking Complete.";

class TIDESpeller;

// How one file of the walk ended, with the codes of the walk: done (or skipped), or cancelled.
enum class TFileCheck { fcDone = 1, fcCancelled = 2 };

// The IDE's tool-services object, kept from the export's first call (null before it); it lives
// with the export, in QuilloMain.cpp.
extern host::TIToolServices* ToolServices;

class TProjectCheck {
public:
    // The editor window the files are walked in and the dialog that finds a missing one, from
    // the window's showing on; the unit list is made anew with them. Null, null lets them go.
    void SetWindows(TIDESpeller* Speller, vcl::TOpenDialog* OpenDialog);
    // The IDE's names are forgotten (the window made) or read again (the settings written).
    void ClearNames();
    void ReadIDENames();

    // The steps of a run. PrepareIDE answers false (after saying why) when there is nothing to check.
    bool PrepareIDE();
    // Lays the editor window and the dialog where the IDE's code editor and Object Inspector
    // stand, and opens the dictionary; false (after saying why) when it cannot be opened.
    bool PlaceWindows();
    // Mode is the buffer's filter (strings or comments); the project's files, or the current one.
    void CheckFiles(int Mode, bool WholeProject);
    // Every way out of a run: dialog hidden, windows enabled, dictionary closed, editor window
    // hidden.
    void EndRun();
    void RestoreIDE();
    // One file of the walk; a cancelled one ends the walk.
    [[nodiscard]] TFileCheck CheckFile(const std::string& FileName);
    // True when FileName exists or the user picks another in its place; false to skip it.
    bool LocateFile(std::string& FileName);
    // Read the lines of the file in the editor window.
    void CollectProjectUnits(const std::string& FileName);
    void CollectIncludeFiles(const std::string& FileName);

    int CheckMode() const { return FCheckMode; }
    const std::string& ProjectFile() const { return FProjectFile; }
    const std::string& CurrentFile() const { return FCurrentFile; }
    const std::string& SourceFile() const { return FSourceFile; }
    const rtl::TStringList* UnitList() const { return FUnitList.get(); }

private:
    // Says why a file is not checked and counts it against the run's completion.
    TFileCheck SkipFile(const std::string& Message);

    TIDESpeller* FSpeller = nullptr;
    vcl::TOpenDialog* FOpenDialog = nullptr;
    int FCheckMode = 0;
    std::string FSourceFile;
    std::string FProjectFile;
    std::string FCurrentFile;
    bool FPrepared = false;
    // Files of the run that could not be checked (an error, not the user's choice).
    int FNotChecked = 0;
    std::unique_ptr<rtl::TStringList> FUnitList;
    std::unique_ptr<rtl::TStringList> FIncludeList;
};

// The end of a run in which Count files could not be checked.
std::string NotCompleteMessage(int Count);
// The backup of a file: its extension cut to four characters with "~" as the second one.
std::string BackupName(const std::string& FileName);
// Copies the file to its backup name, keeping its date; false when it cannot.
bool BackupFile(const std::string& FileName);
// The include file a source line names ("{$I name}", "{$i name}" or "{$INCLUDE name}", blanks
// taken out), under Folder unless it names a drive or a root; empty when the line names none.
std::string IncludeFileOf(const std::string& Line, const std::string& Folder);
// The unit file a project line names between apostrophes, the first of which must carry the
// string attribute 's' in Attrs when there are attributes; a name without a folder of its own is
// taken in Folder unless only the current folder has it. Empty when the line names none.
std::string ProjectUnitOf(const std::string& Line, std::string_view Attrs, const std::string& Folder);

} // namespace spellexpert
