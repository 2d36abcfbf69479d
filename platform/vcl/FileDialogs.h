// The open-file dialog: a modal window of this library's own made for each Execute from the
// file-system lists. Implementations in FileDialogs.cpp.
#pragma once

#include "vcl/Forms.h"

#include <string>

namespace vcl {

enum TOpenOptionFlag : unsigned {
    ofReadOnly = 1,      // the read-only box is (and was left) checked
    ofHideReadOnly = 2,  // no read-only box
    ofPathMustExist = 4, // a name in a folder that is not there is refused
    ofFileMustExist = 8, // a file that is not there is refused
    ofOverwritePrompt = 16, // saving over a file that is there asks first
};
using TOpenOptions = unsigned;

// The window, "Open" unless Title says otherwise: the file-name field ("FileNameEdit") over the
// file list ("FileList"), the folder ("DirLabel") over the folder list ("DirList"), the file
// types ("FilterCombo"), the drives ("DriveCombo"), OK, Cancel and the read-only box
// ("ReadOnlyCheck"). A typed name with '*' or '?' becomes the list's mask, a typed folder is
// opened, any other name is the choice.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

    // OK answers true with FileName the chosen file's full name; Cancel answers false and
    // changes nothing.
    virtual bool Execute();

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    // Pairs of description and mask separated by '|': "Pascal Files (*.pas)|*.pas|...".
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    // From 1; one outside the filter's pairs shows the first.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // Added to a typed name without an extension.
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
    // Where the window opens: this folder, else FileName's, else the current one.
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    // In: the name shown in the field (a mask with '*' or '?' lists its files); out: the choice.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

protected:
    // The window of either kind, run modally.
    bool Run(bool save);

private:
    std::string FTitle;
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FDefaultExt;
    std::string FInitialDir;
    std::string FFileName;
    TOpenOptions FOptions = 0;
    int FHelpContext = 0;
};

// The save-file dialog: the same window, "Save As" unless Title says otherwise, without the
// read-only box; a name that is not there yet is a choice.
class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
    bool Execute() override;
};

} // namespace vcl
