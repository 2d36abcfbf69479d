// The IDE's own File, Edit and View commands. Each goes through the same operations as the
// tool-services object, so the tools and the user see one IDE.
#include "ide/Ide.h"

#include "ide/WinNames.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/Clipbrd.h"
#include "vcl/Menus.h"

namespace ide {

namespace {

int Key(unsigned key, vcl::TShiftState shift = 0) { return static_cast<int>(vcl::ShortCut(key, shift)); }

TMenuItem* AddCommand(TMenuItem& menu, const char* name, const char* caption, int shortCut,
                      std::function<void()> command) {
    TMenuItem* item = menu.Add(name, caption);
    item->ShortCut = shortCut;
    item->OnClick = [command = std::move(command)](host::TIMenuItemIntf*) { command(); };
    return item;
}

constexpr const char* ProjectFilter = "Delphi project (*.dpr)|*.dpr";
constexpr const char* FileFilter =
    "Delphi unit (*.pas)|*.pas|Delphi project (*.dpr)|*.dpr|Include file (*.inc)|*.inc|Any file (*.*)|*.*";

} // namespace

void TIde::BuildFileMenu(TMenuItem& menu) {
    using namespace win;
    AddCommand(menu, "FileOpenProjectItem", "Open &Project...", Key(VK_F11, vcl::ssCtrl), [this] { OpenCommand(true); });
    AddCommand(menu, "FileOpenItem", "&Open...", 0, [this] { OpenCommand(false); });
    menu.Add("FileSep1", "-");
    AddCommand(menu, "FileSaveItem", "&Save", Key('S', vcl::ssCtrl), [this] {
        if (!FCurrentFile.empty())
            SaveFile(FCurrentFile);
    });
    AddCommand(menu, "FileSaveAsItem", "Save &As...", 0, [this] { SaveAsCommand(); });
    AddCommand(menu, "FileSaveAllItem", "Save A&ll", 0, [this] { SaveAll(); });
    menu.Add("FileSep2", "-");
    AddCommand(menu, "FileCloseItem", "&Close", 0, [this] {
        if (!FCurrentFile.empty())
            CloseFile(FCurrentFile);
    });
    AddCommand(menu, "FileCloseAllItem", "C&lose All", 0, [this] { CloseAll(); });
    menu.Add("FileSep3", "-");
    AddCommand(menu, "FileExitItem", "E&xit", 0, [this] {
        // The main window asks before it closes; without windows there is nothing to leave.
        if (FWindows)
            FWindows->CloseMain();
        else
            CloseAll();
    });
}

void TIde::BuildEditMenu(TMenuItem& menu) {
    AddCommand(menu, "EditUndoItem", "&Undo", Key('Z', vcl::ssCtrl), [this] { Undo(); });
    AddCommand(menu, "EditRedoItem", "&Redo", Key('Z', vcl::ssCtrl | vcl::ssShift), [this] { Redo(); });
    menu.Add("EditSep1", "-");
    AddCommand(menu, "EditCutItem", "Cu&t", Key('X', vcl::ssCtrl), [this] { CutSelection(); });
    AddCommand(menu, "EditCopyItem", "&Copy", Key('C', vcl::ssCtrl), [this] { CopySelection(); });
    AddCommand(menu, "EditPasteItem", "&Paste", Key('V', vcl::ssCtrl), [this] { PasteClipboard(); });
    menu.Add("EditSep2", "-");
    AddCommand(menu, "EditSelectAllItem", "Select &All", 0, [this] { SelectAll(); });
}

void TIde::BuildViewMenu(TMenuItem& menu) {
    AddCommand(menu, "ViewPrjMgrItem", "&Project Manager", Key(win::VK_F11, vcl::ssCtrl | vcl::ssAlt), [this] {
        if (FWindows)
            FWindows->ShowProjectManager();
    });
    AddCommand(menu, "ViewObjInspItem", "&Object Inspector", Key(win::VK_F11), [this] {
        if (FWindows)
            FWindows->ShowInspector();
    });
    AddCommand(menu, "ViewEditorItem", "&Code Editor", 0, [this] {
        if (FWindows)
            FWindows->ShowEditor(true);
    });
    menu.Add("ViewSep1", "-");
    AddCommand(menu, "ViewWindowListItem", "&Window List...", Key('0', vcl::ssAlt), [this] {
        if (FWindows)
            FWindows->ShowWindowList();
    });
}

void TIde::OpenCommand(bool project) {
    if (!FWindows)
        return;
    std::string initial = FProject.IsOpen() ? FProject.Folder() : rtl::GetCurrentDir();
    std::string name = FWindows->ChooseFile(false, project ? "Open Project" : "Open", project ? ProjectFilter : FileFilter,
                                            project ? "dpr" : "pas", initial, "");
    if (name.empty())
        return;
    if (!rtl::FileExists(name)) {
        ShowMessage("File " + name + " not found");
        return;
    }
    if (project || rtl::SameText(rtl::ExtractFileExt(name), ".dpr")) {
        if (FProject.IsOpen() && SameWinName(FullWinName(name), FProject.FileName())) {
            OpenFile(FProject.FileName());
            return;
        }
        // Answered Cancel, the project that is open stays.
        if (FProject.IsOpen() && !CloseProject())
            return;
        if (!OpenProject(name))
            ShowMessage("Cannot open the project " + name);
        return;
    }
    if (!OpenFile(name))
        ShowMessage("Cannot open " + name);
    else
        FWindows->ShowEditor(true);
}

void TIde::SaveAsCommand() {
    auto buffer = CurrentBuffer();
    if (!buffer || !FWindows)
        return;
    std::string name = FWindows->ChooseFile(true, "Save " + rtl::ExtractFileName(buffer->FileName()) + " As", FileFilter,
                                            rtl::ExtractFileExt(buffer->FileName()).substr(1),
                                            rtl::ExtractFilePath(buffer->FileName()), rtl::ExtractFileName(buffer->FileName()));
    if (!name.empty())
        SaveFileAs(buffer->FileName(), name);
}

void TIde::Undo() {
    if (auto b = CurrentBuffer())
        b->Undo();
}

void TIde::Redo() {
    if (auto b = CurrentBuffer())
        b->Redo();
}

void TIde::CopySelection() {
    auto b = CurrentBuffer();
    if (b && b->HasSelection())
        vcl::PutClipboardText(reinterpret_cast<win::HWND>(FMainWindowHandle), b->SelText());
}

void TIde::CutSelection() {
    auto b = CurrentBuffer();
    if (!b || !b->HasSelection())
        return;
    if (vcl::PutClipboardText(reinterpret_cast<win::HWND>(FMainWindowHandle), b->SelText()) ==
        vcl::TClipboardResult::crOk)
        b->DeleteSelection();
}

void TIde::PasteClipboard() {
    auto b = CurrentBuffer();
    std::string text;
    if (b && vcl::GetClipboardText(reinterpret_cast<win::HWND>(FMainWindowHandle), text) && !text.empty())
        b->InsertAtCursor(text);
}

void TIde::SelectAll() {
    if (auto b = CurrentBuffer())
        b->SelectAll();
}

} // namespace ide
