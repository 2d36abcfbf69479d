// The main window and the driver of one run: it takes the project out of the IDE, walks its
// files and gives them back. The library's export shows it modally; its layout is its form file
// QuilloMain.dfm. Implementations in QuilloMain.cpp.
#pragma once

#include "host/ToolServices.h"
#include "rtl/StringLists.h"
#include "vcl/ButtonCtrls.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/FileDialogs.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <memory>
#include <string>
#include <string_view>

namespace spellexpert {

inline constexpr int MainHelpContext = 100;
inline constexpr const char* NoProjectMessage = "Project must by open for spell checking";

class TfrmOptions;
class TIDESpeller;

// How one file of the walk ended, with the codes of the walk: done (or skipped), or cancelled.
enum class TFileCheck { fcDone = 1, fcCancelled = 2 };

class TMainForm : public vcl::TForm {
public:
    explicit TMainForm(vcl::TComponent* AOwner);
    ~TMainForm() override;
    void AfterConstruction() override;

    void FormCreate(vcl::TObject* Sender);
    void FormShow(vcl::TObject* Sender);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
    void FormResize(vcl::TObject* Sender);
    void btnCheckStringsClick(vcl::TObject* Sender);
    void btnCheckCommentsClick(vcl::TObject* Sender);
    void btnOptionsClick(vcl::TObject* Sender);
    void btnCancelClick(vcl::TObject* Sender);
    void btnHtlpClick(vcl::TObject* Sender);

    // The steps of a run. PrepareIDE answers false (after saying why) when there is nothing to check.
    bool PrepareIDE();
    // Lays the editor window and the dialog where the IDE's code editor and Object Inspector
    // stand, and opens the dictionary; false (after saying why) when it cannot be opened.
    bool PlaceWindows();
    void CheckFiles();
    void RestoreIDE();
    // One file of the walk; a cancelled one ends the walk.
    [[nodiscard]] TFileCheck CheckFile(const std::string& FileName);
    // True when FileName exists or the user picks another in its place; false to skip it.
    bool LocateFile(std::string& FileName);
    // Read the lines of the file in the editor window.
    void CollectProjectUnits(const std::string& FileName);
    void CollectIncludeFiles(const std::string& FileName);
    // Writes the options and the IDE's names of the moment to the settings file.
    void WriteSettings();
    // The editor and options windows and the unit list, made each time the window is shown.
    void FreeShowingWindows();

    int CheckMode() const { return FCheckMode; }
    const std::string& ProjectFile() const { return FProjectFile; }
    const std::string& CurrentFile() const { return FCurrentFile; }
    const std::string& SourceFile() const { return FSourceFile; }
    TfrmOptions* OptionsWindow() const { return FOptions.get(); }
    TIDESpeller* Speller() const { return FSpeller.get(); }
    const rtl::TStringList* UnitList() const { return FUnitList.get(); }

    vcl::TPanel* pnlMain = nullptr;
    vcl::TImage* Image1 = nullptr;
    vcl::TBitBtn* btnCheckStrings = nullptr;
    vcl::TBitBtn* btnCheckComments = nullptr;
    vcl::TCheckBox* cbProject = nullptr;
    vcl::TPanel* pnlButtons = nullptr;
    vcl::TBitBtn* btnOptions = nullptr;
    vcl::TBitBtn* btnCancel = nullptr;
    vcl::TBitBtn* btnHtlp = nullptr;
    vcl::TOpenDialog* OpenDialog1 = nullptr;

private:
    void Run(int Mode);
    // Every way out of a run: dialog hidden, windows enabled, dictionary closed, editor window
    // hidden.
    void EndRun();
    // Says why a file is not checked and counts it against the run's completion.
    TFileCheck SkipFile(const std::string& Message);

    int FCheckMode = 0;
    std::string FSourceFile;
    std::string FProjectFile;
    std::string FCurrentFile;
    bool FPrepared = false;
    // Files of the run that could not be checked (an error, not the user's choice).
    int FNotChecked = 0;
    std::unique_ptr<TfrmOptions> FOptions;
    std::unique_ptr<TIDESpeller> FSpeller;
    std::unique_ptr<rtl::TStringList> FUnitList;
    std::unique_ptr<rtl::TStringList> FIncludeList;
};

// The IDE's tool-services object, kept from the export's first call (null before it).
extern host::TIToolServices* ToolServices;

// The export's work: made on the first call, the main window is shown modally on every call;
// the result is its modal result.
int QuilloCheck(host::TIToolServices* Services);
// Frees the main window (the library going away, or a test done with it).
void DoneQuillo();
TMainForm* MainForm();

inline constexpr const char* CompleteMessage = "Quillo Checking Complete.";
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
