// The open-file dialog, built as a form over the drive box, the folder list and the file list.
#include "vcl/FileDialogs.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/DialogBuilding.h"
#include "vcl/Dialogs.h"
#include "vcl/FileCtrls.h"
#include "vcl/Streaming.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"

#include <memory>
#include <vector>

namespace vcl {

using namespace win;

namespace {

bool IsMask(const std::string& Name) { return Name.find_first_of("*?") != std::string::npos; }

// Description and mask of each pair of a filter.
std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& Filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= Filter.size() && !Filter.empty()) {
        std::size_t end = Filter.find('|', start);
        if (end == std::string::npos) end = Filter.size();
        parts.push_back(Filter.substr(start, end - start));
        start = end + 1;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}

// The window with its controls and the rules for what OK does with the typed name.
class TOpenForm : public TForm {
public:
    TOpenForm(TComponent* AOwner, TOpenDialog& Dialog, bool Save) : TForm(AOwner), FDialog(Dialog), FSave(Save) {}

    void Build();
    void Start();
    void Finish();

private:
    void OkClick();
    void ChooseFileName(std::string Text);
    void Refuse(const std::string& Message);
    std::string InFolder(const std::string& Name) const;

    TOpenDialog& FDialog;
    bool FSave;
    std::vector<std::pair<std::string, std::string>> FFilters;
    TEdit* FEdit = nullptr;
    TFileListBox* FFiles = nullptr;
    TLabel* FFolder = nullptr;
    TDirectoryListBox* FDirs = nullptr;
    TComboBox* FTypes = nullptr;
    TDriveComboBox* FDrives = nullptr;
    TCheckBox* FReadOnly = nullptr;
    std::string FChosen;
};

void TOpenForm::Build() {
    TLoadingBracket loading(this);
    SetUpDialogForm(this, "OpenDialog", FDialog.Title().empty() ? (FSave ? "Save As" : "Open") : FDialog.Title(), 402, 218);
    SetHelpContext(FDialog.HelpContext());

    FEdit = AddControl<TEdit>(this, this, "FileNameEdit", 9, 24, 135, 21);
    AddLabel(this, this, "FileNameLabel", "File &Name:", 9, 8, FEdit);
    FFiles = AddControl<TFileListBox>(this, this, "FileList", 9, 50, 135, 110);
    FFolder = AddControl<TLabel>(this, this, "DirLabel", 165, 28, 138, 13);
    FFolder->SetAutoSize(false);
    FFolder->SetShowAccelChar(false);
    FDirs = AddControl<TDirectoryListBox>(this, this, "DirList", 165, 50, 138, 110);
    AddLabel(this, this, "DirectoriesLabel", "&Directories:", 165, 8, FDirs);
    FTypes = AddControl<TComboBox>(this, this, "FilterCombo", 9, 184, 135, 21);
    FTypes->SetStyle(TComboBoxStyle::csDropDownList);
    AddLabel(this, this, "FilterLabel", "List Files of &Type:", 9, 168, FTypes);
    FDrives = AddControl<TDriveComboBox>(this, this, "DriveCombo", 165, 184, 138, 21);
    AddLabel(this, this, "DrivesLabel", "Dri&ves:", 165, 168, FDrives);

    AddOkCancel(this, Point(318, 8), Point(318, 37), 75, 23, [this] { OkClick(); });
    FReadOnly = AddControl<TCheckBox>(this, this, "ReadOnlyCheck", 318, 110, 80, 17);
    FReadOnly->SetCaption("&Read only");
    FReadOnly->SetVisible(!FSave && !(FDialog.Options() & ofHideReadOnly));
    FReadOnly->SetChecked(FDialog.Options() & ofReadOnly);
    SetActiveControl(FEdit);
}

void TOpenForm::Start() {
    // The folder: InitialDir, else FileName's, else the current one.
    std::string start;
    for (const std::string& candidate : {FDialog.InitialDir(), rtl::ExtractFileDir(FDialog.FileName())})
        if (start.empty() && !candidate.empty() && rtl::DirectoryExists(candidate)) start = candidate;
    if (!start.empty()) FDirs->SetDirectory(start);
    FDirs->SetDirLabel(FFolder);
    FDirs->SetFileList(FFiles);
    FDrives->SetDirList(FDirs);

    FFilters = ParseFilter(FDialog.Filter());
    for (auto& f : FFilters) FTypes->Items()->Add(f.first);
    int index = FDialog.FilterIndex() - 1;
    if (index < 0 || index >= int(FFilters.size())) index = 0;
    std::string name = rtl::ExtractFileName(FDialog.FileName());
    std::string mask = FFilters.empty() ? "*.*" : FFilters[std::size_t(index)].second;
    if (!FFilters.empty()) FTypes->SetItemIndex(index);
    if (IsMask(name)) mask = name;
    FFiles->SetMask(mask);
    FFiles->SetFileEdit(FEdit);
    FTypes->OnChange = [this](TObject*) {
        int at = FTypes->ItemIndex();
        if (at < 0) return;
        FFiles->SetMask(FFilters[std::size_t(at)].second);
        FEdit->SetText(FFiles->Mask());
    };
    FFiles->OnDblClick = [this](TObject*) {
        if (FFiles->ItemIndex() >= 0) ChooseFileName(FFiles->Items()->Get(FFiles->ItemIndex()));
    };
    FEdit->SetText(name.empty() ? mask : name);
    FEdit->SelectAll();
}

void TOpenForm::Finish() {
    FDialog.SetFileName(FChosen);
    if (FTypes->ItemIndex() >= 0) FDialog.SetFilterIndex(FTypes->ItemIndex() + 1);
    TOpenOptions options = FDialog.Options() & ~TOpenOptions(ofReadOnly);
    if (FReadOnly->Checked()) options |= ofReadOnly;
    FDialog.SetOptions(options);
}

// A name typed relative to the folder shown; "\x" is on the shown drive.
std::string TOpenForm::InFolder(const std::string& Name) const {
    if (Name.size() >= 2 && Name[1] == ':') return rtl::ExpandFileName(Name);
    if (!Name.empty() && (Name[0] == '\\' || Name[0] == '/'))
        return rtl::ExpandFileName(std::string(1, FDirs->Drive()) + ":" + Name);
    std::string folder = FDirs->Directory();
    if (folder.back() != '\\') folder += '\\';
    return rtl::ExpandFileName(folder + Name);
}

void TOpenForm::Refuse(const std::string& Message) {
    MessageBox(Handle(), Message, Caption(), MB_OK | MB_ICONWARNING);
    FocusControl(FEdit);
    FEdit->SelectAll();
}

void TOpenForm::OkClick() {
    // A name in quotes may hold blanks at its ends.
    std::string text = rtl::Trim(FEdit->Text());
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    ChooseFileName(text);
}

void TOpenForm::ChooseFileName(std::string Text) {
    if (Text.empty()) return;
    std::string folderPart = rtl::ExtractFilePath(Text);
    std::string namePart = rtl::ExtractFileName(Text);
    // A mask lists its files, in its folder when it names one.
    if (IsMask(namePart)) {
        if (!folderPart.empty()) {
            std::string folder = InFolder(folderPart);
            if (!rtl::DirectoryExists(folder)) {
                Refuse(Text + "\nPath does not exist.\nPlease verify the correct path was given.");
                return;
            }
            FDirs->SetDirectory(folder);
        }
        FFiles->SetMask(namePart);
        FEdit->SetText(namePart);
        FEdit->SelectAll();
        return;
    }
    std::string full = InFolder(Text);
    // A folder opens.
    if (rtl::DirectoryExists(full)) {
        FDirs->SetDirectory(full);
        FEdit->SetText(FFiles->Mask());
        FEdit->SelectAll();
        return;
    }
    if (rtl::ExtractFileExt(namePart).empty() && !FDialog.DefaultExt().empty()) {
        std::string withExt = full + "." + FDialog.DefaultExt();
        if (rtl::FileExists(withExt) || !rtl::FileExists(full)) full = withExt;
    }
    TOpenOptions options = FDialog.Options();
    if (!rtl::DirectoryExists(rtl::ExtractFileDir(full)) && (options & (ofPathMustExist | ofFileMustExist))) {
        Refuse(Text + "\nPath does not exist.\nPlease verify the correct path was given.");
        return;
    }
    if (!rtl::FileExists(full) && (options & ofFileMustExist)) {
        Refuse(rtl::ExtractFileName(full) + "\nFile not found.\nPlease verify the correct filename was given.");
        return;
    }
    if (FSave && rtl::FileExists(full) && (options & ofOverwritePrompt) &&
        MessageBox(Handle(), full + " already exists.\nDo you want to replace it?", Caption(),
                   MB_YESNO | MB_ICONWARNING) != IDYES) {
        FocusControl(FEdit);
        FEdit->SelectAll();
        return;
    }
    // The name in the case found on disk, as far as it is there.
    std::string host = rtl::HostPath(full);
    FChosen = host.empty() ? full : rtl::WinPath(host);
    SetModalResult(mrOk);
}

} // namespace

bool TOpenDialog::Execute() { return Run(false); }

bool TSaveDialog::Execute() { return Run(true); }

bool TOpenDialog::Run(bool save) { return RunDialogForm<TOpenForm>(*this, save); }

namespace {

// A form keeps its file dialogs with their design-time settings.
struct TFileDialogsRegistration {
    template <class D>
    static std::vector<TPropInfo> Properties() {
        return {
            StringProperty<D>("DefaultExt", &D::DefaultExt, &D::SetDefaultExt),
            StringProperty<D>("FileName", &D::FileName, &D::SetFileName),
            StringProperty<D>("Filter", &D::Filter, &D::SetFilter),
            IntegerProperty<D>("FilterIndex", &D::FilterIndex, &D::SetFilterIndex).WithDefault(1),
            IntegerProperty<D>("HelpContext", &D::HelpContext, &D::SetHelpContext).WithDefault(0),
            StringProperty<D>("InitialDir", &D::InitialDir, &D::SetInitialDir),
            SetProperty<D>("Options", &D::Options, &D::SetOptions,
                           {"ofReadOnly", "ofHideReadOnly", "ofPathMustExist", "ofFileMustExist", "ofOverwritePrompt"})
                .WithDefault(0),
            StringProperty<D>("Title", &D::Title, &D::SetTitle),
        };
    }
    TFileDialogsRegistration() {
        RegisterClass<TOpenDialog>("TOpenDialog", "", Properties<TOpenDialog>());
        RegisterClass<TSaveDialog>("TSaveDialog", "", Properties<TSaveDialog>());
    }
} fileDialogsRegistration;

} // namespace

} // namespace vcl
