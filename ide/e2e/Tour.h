// The suite as a person uses it: the stand-in IDE with its windows over a copy of the example
// project, the three libraries loaded from a folder, Vorl's main window beside it, and each road
// of the four tools driven by the robot from its menu command to the files on disk. The
// end-to-end tests check what each road leaves; the scripted tour of `make demo` runs the same
// roads and keeps a picture and a line of account of each step. Implementations in Tour.cpp.
#pragma once

#include "ide/Ide.h"
#include "testing/Robot.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tour {

inline const std::string DemoDir = "C:\\PROJECTS\\Demo\\";

// Copies the example project (examples/Demo under the source folder) to C:\PROJECTS\Demo of the
// current machine root, replacing what was there.
void CopyDemoProject(const std::string& sourceFolder);

// Compiles a copy of the project's folder with fpc, each unit on its own and the form unit with
// the stand-ins of the class library's units; false with fpc's output in log when one fails.
bool HaveFpc();
bool CompileProject(const std::string& sourceFolder, std::string& log);

// One answer of a spell-check run, in the order the run asks: a word the dialog offers as not
// found and what replaces it, or (Word empty) the next message box and the button that answers it.
struct TSpellAnswer {
    std::string Word;
    std::string Answer;
};

// What a check of the example project's strings offers, in order, each word replaced by its
// correction: the form's three words, its overwrite question, a unit's word, its include file's
// word, and the closing message.
const std::vector<TSpellAnswer>& DemoStringAnswers();

struct TSpellOutcome {
    int Result = 0;                  // of the call
    std::vector<std::string> Boxes;  // the message boxes' texts, in order
};

struct TSearchOutcome {
    std::string Caption;     // of the window the shortcut showed
    std::string File;        // the IDE's current file after the choice
    int Line = 0;            // the editor's cursor line after the choice
    std::string LineText;    // that line of the buffer
};

struct TPropertyOutcome {
    std::string Caption;     // of the wizard
    std::string File;        // the file it inserted into
    std::string UnitText;    // the unit's buffer after the insertion
    int PropertyLine = 0;    // the line of the new property
    int TopLine = 0;         // the code editor's first row after the insertion
    int Rows = 0;            // and how many rows it shows
};

struct TSnippetOutcome {
    std::string Caption;     // of the Quick Code window
    std::string UnitText;    // the unit's buffer after the insertion
};

struct TVorlOutcome {
    std::string Refused;     // the message while the IDE's windows are up
    bool KeyKeptWhileRefused = false;
    std::string Applied;     // the message after the IDE has closed
};

class TTour {
public:
    // The IDE with its windows over C:\PROJECTS\Demo\Demo.dpr (copy it first) and the libraries
    // of libraryFolder. With shotFolder, each step writes "<nn>-<name>.png" there.
    TTour(const std::string& libraryFolder, std::string shotFolder = {});
    ~TTour();
    TTour(const TTour&) = delete;
    TTour& operator=(const TTour&) = delete;

    ide::TIde& Ide() { return *FIde; }

    // Each step's line of account, as it happens.
    std::function<void(const std::string& line)> OnAccount;
    const std::vector<std::string>& Accounts() const { return FAccounts; }
    const std::vector<std::string>& Shots() const { return FShots; }
    // What a road could not do (a robot step that never ran, a message nobody expected).
    const std::vector<std::string>& Faults() const { return FFaults; }

    // Tools|Spell Check... shows Quillor's main window; Close ends it. The call's result.
    int OpenSpellChecker();
    // Tools|Spell Check..., then Spell Check Strings over the whole project, answered in order.
    // A picture is kept when the dialog offers a word of snapAt.
    TSpellOutcome CheckStrings(const std::vector<TSpellAnswer>& answers, const std::vector<std::string>& snapAt);
    // The editor at the first line of the file that holds text, with a picture named name.
    void ShowLine(const std::string& file, const std::string& text, const std::string& name);
    // Ctrl+Alt+X over the unit: the results window; the last hit is chosen.
    TSearchOutcome SearchDeclarations(const std::string& unitFile);
    // File|Open... of the file through the open dialog, as a person opens a unit.
    bool OpenThroughDialog(const std::string& fileName);
    // Tools|Property Expert over the unit (empty: the current file): a Boolean property of the
    // class with data fields.
    TPropertyOutcome InsertProperty(const std::string& unitFile, const std::string& className,
                                    const std::string& propertyName);
    // Tools|Quick Code Expert: the snippet inserted at the cursor the user placed at line, column
    // (Ctrl+Home, the down arrow to the line, a click at the column).
    TSnippetOutcome InsertSnippet(const std::string& unitFile, int line, int column, const std::string& snippet);
    // Vorl's window beside the IDE: a new configuration from the IDE's library key with a detailed
    // map file and the library's source saved, Apply refused while the IDE's windows are up, and
    // applied once the IDE has closed (which ends the IDE).
    TVorlOutcome ApplyLibraryConfiguration(const std::string& aliasName);

private:
    void Account(const std::string& line);
    // A picture of the whole screen, every window painted first.
    void Snap(const std::string& name);
    void Run(testing_support::TRobot& robot);
    void ChooseIdeMenu(testing_support::TRobot& robot, const std::string& path);

    std::string FShotFolder;
    std::unique_ptr<ide::TIde> FIde;
    std::vector<std::string> FAccounts, FShots, FFaults;
};

} // namespace tour
