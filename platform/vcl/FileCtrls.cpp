// The drive box, the folder list and the file list over the runtime's drives, folders and
// directory searches.
#include "vcl/FileCtrls.h"

#include "vcl/StoredControls.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vcl {

using namespace win;

namespace {

char Upper(char c) { return char(std::toupper(static_cast<unsigned char>(c))); }

// The folder each drive showed last, so that switching back finds it again.
std::array<std::string, 26>& LastOnDrive() {
    static std::array<std::string, 26> folders;
    return folders;
}

std::string RootOf(char Drive) { return std::string(1, Upper(Drive)) + ":\\"; }

// A folder's full Windows-form name in the case found on disk, without a trailing '\' but for a
// root; EInOutError when there is no such folder.
std::string ResolveFolder(const std::string& Name) {
    std::string full = rtl::ExpandFileName(Name);
    std::string host = rtl::HostPath(full);
    if (Name.empty() || host.empty() || !rtl::DirectoryExists(full))
        throw rtl::EInOutError("Path not found: " + Name, rtl::ERROR_PATH_NOT_FOUND);
    std::string win = rtl::WinPath(host);
    if (win.size() > 3 && win.back() == '\\') win.pop_back();
    return win;
}

std::string Join(const std::string& Folder, const std::string& Name) {
    return Folder.empty() || Folder.back() == '\\' ? Folder + Name : Folder + "\\" + Name;
}

std::vector<std::string> SplitMask(const std::string& Mask) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= Mask.size()) {
        std::size_t end = Mask.find(';', start);
        if (end == std::string::npos) end = Mask.size();
        std::string part = rtl::Trim(Mask.substr(start, end - start));
        if (!part.empty()) parts.push_back(part);
        start = end + 1;
    }
    if (parts.empty()) parts.push_back("*.*");
    return parts;
}

// The folder glyphs of the folder list: open for the way down, closed for the folders below.
void DrawFolder(TCanvas* c, int x, int y, bool Open, bool Current) {
    TColor face = TColor(0x00C0FFFF), dark = TColor(0x00008080);
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(face);
    // The tab and the back.
    c->Polygon({Point(x, y + 2), Point(x + 1, y + 1), Point(x + 5, y + 1), Point(x + 6, y + 2), Point(x + 13, y + 2),
                Point(x + 13, y + 11), Point(x, y + 11)});
    if (Open) {
        // The front leans forward.
        c->Brush()->SetColor(Current ? clWhite : dark);
        c->Polygon({Point(x, y + 11), Point(x + 3, y + 5), Point(x + 16, y + 5), Point(x + 13, y + 11)});
    } else {
        c->Pen()->SetColor(dark);
        c->MoveTo(x + 1, y + 4);
        c->LineTo(x + 13, y + 4);
    }
}

// The drive glyphs: a disk unit for fixed disks, a slot for removable ones, a cable for network.
void DrawDriveGlyph(TCanvas* c, int x, int y, unsigned Kind) {
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    switch (Kind) {
    case rtl::DRIVE_REMOVABLE:
        c->Brush()->SetColor(clSilver);
        c->Rectangle(x, y + 3, x + 16, y + 11);
        c->Brush()->SetColor(clBlack);
        c->FillRect(Rect(x + 3, y + 6, x + 11, y + 8));
        break;
    case rtl::DRIVE_CDROM:
        c->Brush()->SetColor(clSilver);
        c->Ellipse(x + 2, y, x + 14, y + 12);
        c->Brush()->SetColor(clWhite);
        c->Ellipse(x + 6, y + 4, x + 10, y + 8);
        break;
    case rtl::DRIVE_REMOTE:
        c->Brush()->SetColor(clSilver);
        c->Rectangle(x, y + 1, x + 16, y + 8);
        c->MoveTo(x + 8, y + 8);
        c->LineTo(x + 8, y + 12);
        c->MoveTo(x + 2, y + 12);
        c->LineTo(x + 15, y + 12);
        break;
    default:
        c->Brush()->SetColor(clSilver);
        c->Rectangle(x, y + 3, x + 16, y + 11);
        c->Pen()->SetColor(clGray);
        c->MoveTo(x + 2, y + 8);
        c->LineTo(x + 10, y + 8);
        c->Brush()->SetColor(clLime);
        c->FillRect(Rect(x + 12, y + 7, x + 14, y + 9));
        break;
    }
}

} // namespace

std::string MinimizeName(const std::string& FileName, TCanvas* Canvas, int MaxWidth) {
    if (Canvas->TextWidth(FileName) <= MaxWidth) return FileName;
    std::string drive = rtl::ExtractFileDrive(FileName);
    std::string rest = FileName.substr(drive.size());
    std::vector<std::string> parts;
    std::size_t start = rest.empty() || rest[0] != '\\' ? 0 : 1;
    while (start < rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        parts.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    // Drop folders after the drive until the name fits, keeping the last one.
    for (std::size_t drop = 1; drop < parts.size(); ++drop) {
        std::string s = drive + "\\...";
        for (std::size_t i = drop; i < parts.size(); ++i) s += "\\" + parts[i];
        if (Canvas->TextWidth(s) <= MaxWidth) return s;
    }
    std::string last = parts.empty() ? FileName : parts.back();
    while (!last.empty() && Canvas->TextWidth(last + "...") > MaxWidth) last.pop_back();
    return last + "...";
}

// --- TFileListBox ------------------------------------------------------------------------------

TFileListBox::TFileListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    SetBounds(0, 0, 145, 97);
    SetTabStop(true);
    Items()->SetSorted(true);
    try {
        FDirectory = ResolveFolder(rtl::GetCurrentDir());
    } catch (const rtl::EInOutError&) {
        FDirectory = "C:\\";
    }
    ReadFileNames();
}

TFileListBox::~TFileListBox() { SetFileEdit(nullptr); }

void TFileListBox::SetDirectory(const std::string& Value) {
    std::string folder = ResolveFolder(Value);
    if (folder == FDirectory) return;
    FDirectory = folder;
    // A file of the same name in the new folder is not the one chosen.
    SetItemIndex(-1);
    ReadFileNames();
    Change();
}

void TFileListBox::SetMask(const std::string& Value) {
    std::string mask = Value.empty() ? "*.*" : Value;
    if (mask == FMask) return;
    FMask = mask;
    ReadFileNames();
    Change();
}

void TFileListBox::ReadFileNames() {
    std::string chosen = ItemIndex() >= 0 ? Items()->Get(ItemIndex()) : std::string();
    rtl::TStringList names;
    names.SetSorted(true);
    names.SetDuplicates(rtl::TDuplicates::dupIgnore);
    for (const std::string& pattern : SplitMask(FMask)) {
        rtl::TSearchRec rec;
        for (int r = rtl::FindFirst(Join(FDirectory, pattern), 0, rec); r == 0; r = rtl::FindNext(rec))
            names.Add(rec.Name);
        rtl::FindClose(rec);
    }
    Items()->Assign(names);
    SetItemIndex(chosen.empty() ? -1 : Items()->IndexOf(chosen));
    UpdateFileEdit();
}

std::string TFileListBox::FileName() {
    if (ItemIndex() < 0) return {};
    return Join(FDirectory, Items()->Get(ItemIndex()));
}

void TFileListBox::SetFileName(const std::string& Value) {
    std::string folder = rtl::ExtractFilePath(Value);
    if (!folder.empty()) SetDirectory(folder);
    int at = Items()->IndexOf(rtl::ExtractFileName(Value));
    if (at == ItemIndex()) return;
    SetItemIndex(at);
    Change();
}

void TFileListBox::SetFileEdit(TCustomEdit* Value) {
    FFileEdit = Value;
    if (FFileEdit) {
        FFileEdit->FreeNotification(this);
        UpdateFileEdit();
    }
}

void TFileListBox::UpdateFileEdit() {
    if (FFileEdit) FFileEdit->SetText(ItemIndex() >= 0 ? Items()->Get(ItemIndex()) : FMask);
}

void TFileListBox::Click() {
    TCustomListBox::Click();
    Change();
}

void TFileListBox::Change() {
    UpdateFileEdit();
    if (OnChange) OnChange(this);
}

void TFileListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFileEdit) FFileEdit = nullptr;
}

// --- TDirectoryListBox -------------------------------------------------------------------------

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    SetBounds(0, 0, 145, 97);
    SetTabStop(true);
    SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    SetItemHeight(16);
    try {
        FDirectory = ResolveFolder(rtl::GetCurrentDir());
    } catch (const rtl::EInOutError&) {
        FDirectory = "C:\\";
    }
    LastOnDrive()[std::size_t(FDirectory[0] - 'A')] = FDirectory;
    BuildList();
}

TDirectoryListBox::~TDirectoryListBox() {
    SetDirLabel(nullptr);
    SetFileList(nullptr);
}

void TDirectoryListBox::SetDirectory(const std::string& Value) {
    std::string folder = ResolveFolder(Value);
    if (folder == FDirectory) {
        // The chosen line goes back to the current folder.
        SetItemIndex(FCurrent);
        return;
    }
    FDirectory = folder;
    LastOnDrive()[std::size_t(FDirectory[0] - 'A')] = FDirectory;
    BuildList();
    Change();
}

void TDirectoryListBox::SetDrive(char Value) {
    char drive = Upper(Value);
    if (drive < 'A' || drive > 'Z' || drive == Drive()) return;
    std::string last = LastOnDrive()[std::size_t(drive - 'A')];
    if (last.empty() || !rtl::DirectoryExists(last)) last = RootOf(drive);
    SetDirectory(last);
}

std::string TDirectoryListBox::GetItemPath(int Index) const {
    if (Index < 0 || Index >= int(FPaths.size())) return {};
    return FPaths[std::size_t(Index)];
}

void TDirectoryListBox::OpenCurrent() {
    if (ItemIndex() >= 0) SetDirectory(GetItemPath(ItemIndex()));
}

void TDirectoryListBox::BuildList() {
    FPaths.clear();
    std::vector<std::string> names;
    // The way down: the root, then each folder to the current one.
    std::string root = FDirectory.substr(0, 3);
    FPaths.push_back(root);
    names.push_back(root);
    std::string path = root;
    std::size_t start = 3;
    while (start < FDirectory.size()) {
        std::size_t end = FDirectory.find('\\', start);
        if (end == std::string::npos) end = FDirectory.size();
        std::string name = FDirectory.substr(start, end - start);
        path = Join(path, name);
        FPaths.push_back(path);
        names.push_back(name);
        start = end + 1;
    }
    FCurrent = int(FPaths.size()) - 1;
    // The current folder's own folders, in name order.
    rtl::TStringList below;
    below.SetSorted(true);
    rtl::TSearchRec rec;
    for (int r = rtl::FindFirst(Join(FDirectory, "*.*"), rtl::faDirectory, rec); r == 0; r = rtl::FindNext(rec))
        if ((rec.Attr & rtl::faDirectory) && rec.Name != "." && rec.Name != "..") below.Add(rec.Name);
    rtl::FindClose(rec);
    for (int i = 0; i < below.Count(); ++i) {
        FPaths.push_back(Join(FDirectory, below.Get(i)));
        names.push_back(below.Get(i));
    }
    rtl::TStringList lines;
    for (auto& n : names) lines.Add(n);
    Items()->Assign(lines);
    SetItemIndex(FCurrent);
    SetTopIndex(std::max(0, FCurrent - 2));
}

void TDirectoryListBox::Change() {
    UpdateDirLabel();
    if (FFileList) FFileList->SetDirectory(FDirectory);
    if (OnChange) OnChange(this);
}

void TDirectoryListBox::UpdateDirLabel() {
    // A designed form keeps the label's own caption: the folder is the machine's at run time.
    if (!FDirLabel || IsDesigning()) return;
    std::string caption = FDirectory;
    TWinControl* parent = FDirLabel->Parent();
    if (!FDirLabel->AutoSize() && parent && parent->HandleAllocated()) {
        TCanvas* c = FDirLabel->Canvas();
        c->Font()->Assign(FDirLabel->Font());
        caption = MinimizeName(FDirectory, c, FDirLabel->Width());
    }
    // '&' in a folder name is a character, not an accelerator.
    std::string shown;
    for (char ch : caption) {
        if (ch == '&' && FDirLabel->ShowAccelChar()) shown += '&';
        shown += ch;
    }
    FDirLabel->SetCaption(shown);
}

void TDirectoryListBox::SetDirLabel(TLabel* Value) {
    FDirLabel = Value;
    if (FDirLabel) {
        FDirLabel->FreeNotification(this);
        UpdateDirLabel();
    }
}

void TDirectoryListBox::SetFileList(TFileListBox* Value) {
    FFileList = Value;
    if (FFileList) {
        FFileList->FreeNotification(this);
        FFileList->SetDirectory(FDirectory);
    }
}

void TDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    if (AComponent == FDirLabel) FDirLabel = nullptr;
    if (AComponent == FFileList) FFileList = nullptr;
}

void TDirectoryListBox::DblClick() {
    TCustomListBox::DblClick();
    OpenCurrent();
}

void TDirectoryListBox::KeyDown(unsigned& Key, TShiftState Shift) {
    if (Key == VK_RETURN) {
        OpenCurrent();
        Key = 0;
        return;
    }
    TCustomListBox::KeyDown(Key, Shift);
}

void TDirectoryListBox::Dispatch(TMessage& M) {
    // Enter opens a chosen folder; on the current one it goes to the form's default button.
    if (M.Msg == CM_WANTSPECIALKEY && M.WParam == VK_RETURN && ItemIndex() >= 0 && ItemIndex() != FCurrent) {
        M.Result = 1;
        return;
    }
    TCustomListBox::Dispatch(M);
}

void TDirectoryListBox::DrawItem(int Index, TRect R, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, R, State);
        return;
    }
    TCanvas* c = Canvas();
    c->FillRect(R);
    if (Index < 0 || Index >= int(FPaths.size())) return;
    int level = Index <= FCurrent ? Index : FCurrent + 1;
    int x = R.left + 2 + level * 8;
    TColor text = c->Font()->Color();
    TBrush saved;
    saved.Assign(c->Brush());
    DrawFolder(c, x, R.top + (R.bottom - R.top - 12) / 2, Index <= FCurrent, Index == FCurrent);
    c->Brush()->Assign(&saved);
    c->Font()->SetColor(text);
    std::string s = Items()->Get(Index);
    int tx = x + 20;
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->TextOut(tx, R.top + (R.bottom - R.top - c->TextHeight(s)) / 2, s);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (State & odFocused) c->DrawFocusRect(Rect(tx - 2, R.top, std::min(int(R.right), tx + c->TextWidth(s) + 2), R.bottom));
}

// --- TDriveComboBox ----------------------------------------------------------------------------

TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TComboBox(AOwner) {
    SetStyle(TComboBoxStyle::csDropDownList);
    List()->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    List()->SetItemHeight(16);
    List()->OnDrawItem = [this](TWinControl*, int Index, TRect R, TOwnerDrawState) {
        DrawDrive(List()->Canvas(), Index, R);
    };
    ReadDrives();
    std::string current = rtl::GetCurrentDir();
    FDrive = current.empty() ? 'C' : Upper(current[0]);
    SetItemIndex(Items()->IndexOf(std::string(1, char(std::tolower(static_cast<unsigned char>(FDrive)))) + ":"));
}

TDriveComboBox::~TDriveComboBox() { SetDirList(nullptr); }

void TDriveComboBox::ReadDrives() {
    Items()->Clear();
    FKinds.clear();
    std::uint32_t drives = rtl::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        char letter = char('a' + i);
        Items()->Add(std::string(1, letter) + ":");
        FKinds.push_back(rtl::GetDriveType(std::string(1, letter) + ":\\"));
    }
}

void TDriveComboBox::SetDrive(char Value) {
    char drive = Upper(Value);
    int at = -1;
    for (int i = 0; i < Items()->Count(); ++i)
        if (Upper(Items()->Get(i)[0]) == drive) at = i;
    if (at < 0) return;
    SetItemIndex(at);
    if (drive == FDrive) return;
    FDrive = drive;
    if (FDirList) FDirList->SetDrive(FDrive);
    TComboBox::Change();
}

void TDriveComboBox::Change() {
    int at = ItemIndex();
    if (at >= 0 && Upper(Items()->Get(at)[0]) != FDrive) {
        FDrive = Upper(Items()->Get(at)[0]);
        if (FDirList) FDirList->SetDrive(FDrive);
    }
    TComboBox::Change();
}

void TDriveComboBox::SetDirList(TDirectoryListBox* Value) {
    FDirList = Value;
    if (FDirList) {
        FDirList->FreeNotification(this);
        FDirList->SetDrive(FDrive);
    }
}

void TDriveComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TComboBox::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDirList) FDirList = nullptr;
}

void TDriveComboBox::DrawDrive(TCanvas* c, int Index, const TRect& R) {
    c->FillRect(R);
    if (Index < 0 || Index >= Items()->Count()) return;
    TColor text = c->Font()->Color();
    TBrush saved;
    saved.Assign(c->Brush());
    DrawDriveGlyph(c, R.left + 2, R.top + (R.bottom - R.top - 12) / 2, FKinds[std::size_t(Index)]);
    c->Brush()->Assign(&saved);
    c->Font()->SetColor(text);
    std::string s = Items()->Get(Index);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->TextOut(R.left + 22, R.top + (R.bottom - R.top - c->TextHeight(s)) / 2, s);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
}

void TDriveComboBox::DrawFace(int Index, TRect Rect) { DrawDrive(Canvas(), Index, Rect); }

namespace {

// What a stored form keeps of the drive box and the folder list: their lines are the machine's,
// read when they are made, so neither items nor text is stored.
struct TFileCtrlsRegistration {
    TFileCtrlsRegistration() {
        using D = TDriveComboBox;
        RegisterClass<D>("TDriveComboBox", "", With<D>(TextControlProperties<D>(), {
            ComponentProperty<D>("DirList", &D::DirList, &D::SetDirList),
            EventProperty<D>("OnChange", &D::OnChange),
        }));
        using L = TDirectoryListBox;
        RegisterClass<L>("TDirectoryListBox", "", With<L>(TextControlProperties<L>(), {
            ComponentProperty<L>("DirLabel", &L::DirLabel, &L::SetDirLabel),
            ComponentProperty<L>("FileList", &L::FileList, &L::SetFileList),
            BooleanProperty<L>("IntegralHeight", &L::IntegralHeight, &L::SetIntegralHeight).WithDefault(0),
            IntegerProperty<L>("ItemHeight", &L::ItemHeight, &L::SetItemHeight),
            EventProperty<L>("OnChange", &L::OnChange),
        }));
    }
} fileCtrlsRegistration;

} // namespace

} // namespace vcl
