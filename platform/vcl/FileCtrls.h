// The file-system lists: the drive box, the folder list and the file list, linked to one another
// and to a label and an edit field as a form lays them out. Implementations in FileCtrls.cpp.
#pragma once

#include "vcl/EditCtrls.h"
#include "vcl/ListCtrls.h"
#include "vcl/StdCtrls.h"

#include <string>
#include <vector>

namespace vcl {

class TDirectoryListBox;
class TFileListBox;

// The files of a folder whose names match a mask, in name order.
class TFileListBox : public TCustomListBox {
public:
    explicit TFileListBox(TComponent* AOwner);
    ~TFileListBox() override;

    // Windows form, the drive's root with its '\', any other folder without one. Setting a
    // folder that does not exist raises EInOutError and keeps the list as it was.
    const std::string& Directory() const { return FDirectory; }
    void SetDirectory(const std::string& Value);
    char Drive() const { return FDirectory.empty() ? 'C' : FDirectory[0]; }
    // Patterns separated by ';' ("*.pas;*.inc"); an empty mask is "*.*".
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& Value);
    // The full name of the chosen file; empty when none is chosen. Setting a name with a folder
    // goes to that folder first; the file is chosen when it is listed.
    std::string FileName();
    void SetFileName(const std::string& Value);
    // The edit field that shows the chosen file's name, or the mask while none is chosen.
    TCustomEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TCustomEdit* Value);
    // Reads the folder again.
    void ReadFileNames();

    // When the chosen file or the folder changes.
    TNotifyEvent OnChange;

protected:
    void Click() override;
    virtual void Change();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateFileEdit();

    std::string FDirectory;
    std::string FMask = "*.*";
    TCustomEdit* FFileEdit = nullptr;
};

// The folder tree of one drive as the period drew it: the root and every folder down to the
// current one as open folders, then the current folder's own folders as closed ones. A double
// click or Enter opens the chosen folder.
class TDirectoryListBox : public TCustomListBox {
public:
    explicit TDirectoryListBox(TComponent* AOwner);
    ~TDirectoryListBox() override;

    // Windows form in the case found on disk; set in any case, relative names against the
    // current folder. A folder that does not exist raises EInOutError and changes nothing.
    const std::string& Directory() const { return FDirectory; }
    void SetDirectory(const std::string& Value);
    // Switching the drive goes to the folder last shown on it (its root at first).
    char Drive() const { return FDirectory[0]; }
    void SetDrive(char Value);
    // The folder a line stands for.
    std::string GetItemPath(int Index) const;
    // Goes into the chosen folder.
    void OpenCurrent();
    // The label whose caption follows the current folder.
    TLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TLabel* Value);
    // The file list that follows the current folder.
    TFileListBox* FileList() const { return FFileList; }
    void SetFileList(TFileListBox* Value);

    // When the current folder changes.
    TNotifyEvent OnChange;

protected:
    void DblClick() override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    virtual void Change();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void BuildList();
    void UpdateDirLabel();

    std::string FDirectory;
    int FCurrent = 0;          // the line of the current folder
    std::vector<std::string> FPaths; // the folder of each line
    TLabel* FDirLabel = nullptr;
    TFileListBox* FFileList = nullptr;
};

// The machine's drives with their kinds, "c:" and the like; choosing one switches the linked
// folder list to it.
class TDriveComboBox : public TComboBox {
public:
    explicit TDriveComboBox(TComponent* AOwner);
    ~TDriveComboBox() override;

    // The chosen drive's letter in upper case. Setting a drive the machine lacks changes nothing.
    char Drive() const { return FDrive; }
    void SetDrive(char Value);
    TDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TDirectoryListBox* Value);

protected:
    void DrawFace(int Index, TRect Rect) override;
    void Change() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ReadDrives();
    void DrawDrive(TCanvas* Canvas, int Index, const TRect& Rect);

    char FDrive = 'C';
    std::vector<unsigned> FKinds; // the drive type of each line
    TDirectoryListBox* FDirList = nullptr;
};

// Shortens a folder name to fit MaxWidth pixels in Canvas's font: middle folders give way to
// "...", then the start of the last one.
std::string MinimizeName(const std::string& FileName, TCanvas* Canvas, int MaxWidth);

} // namespace vcl
