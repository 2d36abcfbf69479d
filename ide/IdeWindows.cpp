#include "ide/IdeWindows.h"

#include "ide/Ide.h"

#include "ide/CodeView.h"

#include "rtl/Paths.h"
#include "vcl/ComCtrls.h"
#include "vcl/DialogBuilding.h"
#include "vcl/Dialogs.h"
#include "vcl/FileDialogs.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"
#include "vcl/Menus.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace ide {

namespace {

using namespace vcl;

bool IsModifierKey(unsigned key) {
    return key == win::VK_SHIFT || key == win::VK_CONTROL || key == win::VK_MENU;
}

// Every IDE window hands the keys it is given to the menu, so a shortcut works in all.
void BindShortCuts(TForm* form, TIde& ide) {
    form->SetKeyPreview(true);
    form->OnKeyDown = [&ide](TObject*, unsigned& Key, TShiftState Shift) {
        if (IsModifierKey(Key))
            return;
        TShortCut sc = ShortCut(Key, Shift & (ssShift | ssCtrl | ssAlt));
        if (ide.PressShortCut(sc))
            Key = 0;
    };
}

// The main window's menu bar shows the core's menu tree: each change of the tree makes its items
// again, and choosing one clicks the core's item.
class TAppBuilder : public TForm {
public:
    TAppBuilder(TComponent* AOwner, TIde& ide) : TForm(AOwner), FIde(ide) {
        TLoadingBracket loading(this);
        SetName("AppBuilder");
        SetBounds(0, 0, win::GetSystemMetrics(win::SM_CXSCREEN), 96);
        MainMenu = new vcl::TMainMenu(this);
        MainMenu->SetName("MainMenu");
        BuildMenu();
        SetMenu(MainMenu);
        // Shortcuts of the menu items work through the menu; this catches those of disabled
        // parents' items as the other IDE windows do.
        BindShortCuts(this, ide);
    }

    void BuildMenu() {
        vcl::TMenuItem* root = MainMenu->Items();
        while (root->Count() > 0) delete root->Items(root->Count() - 1);
        AddItems(root, FIde.Menu().Root());
    }

    vcl::TMainMenu* MainMenu;

private:
    void AddItems(vcl::TMenuItem* to, ide::TMenuItem& from) {
        for (int i = 0; i < from.Count(); ++i) {
            ide::TMenuItem* source = from.Items(i);
            auto* item = new vcl::TMenuItem(this);
            item->SetCaption(source->Caption);
            item->SetHint(source->Hint);
            item->SetShortCut(TShortCut(source->ShortCut));
            item->SetEnabled((source->Flags & host::mfEnabled) != 0);
            item->SetVisible((source->Flags & host::mfVisible) != 0);
            to->Add(item);
            if (source->Count()) {
                AddItems(item, *source);
            } else {
                TIde* ide = &FIde;
                item->OnClick = [ide, source](TObject*) { ide->Menu().Click(source); };
            }
        }
    }

    TIde& FIde;
};

class TPropertyInspector : public TForm {
public:
    TPropertyInspector(TComponent* AOwner, TIde& ide) : TForm(AOwner) {
        TLoadingBracket loading(this);
        SetName("PropertyInspector");
        SetCaption("Object Inspector");
        BindShortCuts(this, ide);
    }

    // Whole rows the view shows.
    int VisibleRows() {
        Canvas()->SetFont(Font());
        int lineHeight = std::max(1, Canvas()->TextHeight("Wg"));
        return std::max(1, (ClientHeight() - 2) / lineHeight);
    }

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(ClientRect());
        c->Font()->SetColor(clWindowText);
        c->TextOut(8, 6, "Properties");
        c->TextOut(90, 6, "Events");
        c->Brush()->SetColor(clWindow);
        c->FillRect(Rect(2, 24, ClientWidth() - 2, ClientHeight() - 2));
    }
};

// The code editor: a tab for each open file over the editing view, and the status bar with the
// cursor's place, the modified flag and the typing mode.
class TEditWindow : public TForm {
public:
    TEditWindow(TComponent* AOwner, TIde& ide) : TForm(AOwner), FIde(ide) {
        TLoadingBracket loading(this);
        SetName("EditWindow");
        Status = new TStatusBar(this);
        Status->SetName("StatusBar");
        Status->SetParent(this);
        Status->SetAlign(TAlign::alBottom);
        for (int width : {90, 80, 80})
            Status->Panels()->Add()->SetWidth(width);
        Tabs = new TTabControl(this);
        Tabs->SetName("FileTabs");
        // The strip holds the view: painting the strip leaves the view's pixels (and its caret)
        // alone.
        Tabs->SetControlStyle(Tabs->ControlStyle() | csAcceptsControls);
        Tabs->SetParent(this);
        Tabs->SetAlign(TAlign::alClient);
        Tabs->OnChange = [this](TObject*) {
            if (FShowing)
                return;
            int at = Tabs->TabIndex();
            if (at >= 0 && at < static_cast<int>(FFiles.size()))
                FIde.OpenFile(FFiles[static_cast<std::size_t>(at)]);
            FIde.Windows()->Refresh();
            if (View->CanFocus())
                View->SetFocus();
        };
        View = new TCodeView(this, ide);
        View->SetParent(Tabs);
        View->SetAlign(TAlign::alClient);
        View->OnStateChange = [this] { ShowStatus(); };
        SetActiveControl(View);
        // Closing only hides it; View|Code Editor, a Goto or a tool brings it back.
        OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caHide; };
        BindShortCuts(this, ide);
    }

    // The tabs follow the open buffers and the current file.
    void ShowFiles() {
        // The tab control tells of changes made here too; only the user's choice opens a file.
        FShowing = true;
        std::vector<std::string> files;
        for (const auto& b : FIde.Buffers().Buffers())
            files.push_back(b->FileName());
        if (files != FFiles) {
            FFiles = files;
            rtl::TStringList captions;
            for (const std::string& f : files)
                captions.Add(rtl::ChangeFileExt(rtl::ExtractFileName(f), ""));
            Tabs->SetTabs(captions);
        }
        auto at = std::find(FFiles.begin(), FFiles.end(), FIde.CurrentFile());
        int index = at == FFiles.end() ? -1 : static_cast<int>(at - FFiles.begin());
        if (Tabs->TabIndex() != index)
            Tabs->SetTabIndex(index);
        FShowing = false;
        View->ShowBuffer(FIde.CurrentBuffer());
    }

    void ShowStatus() {
        TEditBuffer* b = View->Buffer();
        TTextPos cursor = b ? b->Cursor() : TTextPos{};
        std::string place = b ? std::to_string(cursor.Line) + ": " + std::to_string(cursor.Col) : "";
        std::string texts[] = {place, b && b->Modified() ? "Modified" : "",
                               b ? (View->Overwrite() ? "Overwrite" : "Insert") : ""};
        for (int i = 0; i < 3; ++i)
            if (Status->Panels()->Items(i)->Text() != texts[i])
                Status->Panels()->Items(i)->SetText(texts[i]);
    }

    TStatusBar* Status;
    TTabControl* Tabs;
    TCodeView* View;

private:
    TIde& FIde;
    std::vector<std::string> FFiles;
    bool FShowing = false;
};

// The project's units; a double click opens one in the code editor.
class TProjectManager : public TForm {
public:
    TProjectManager(TComponent* AOwner, TIde& ide) : TForm(AOwner), FIde(ide) {
        TLoadingBracket loading(this);
        SetName("ProjectManager");
        SetCaption("Project Manager");
        SetBounds(650, 120, 300, 260);
        Units = new TListBox(this);
        Units->SetName("UnitList");
        Units->SetParent(this);
        Units->SetAlign(TAlign::alClient);
        Units->OnDblClick = [this](TObject*) {
            int at = Units->ItemIndex();
            if (at >= 0 && at < static_cast<int>(FFiles.size()) && FIde.OpenFile(FFiles[static_cast<std::size_t>(at)]))
                FIde.Windows()->ShowEditor(true);
        };
        BindShortCuts(this, ide);
    }

    void ShowUnits() {
        std::vector<std::string> files = FIde.UnitFiles();
        if (files == FFiles)
            return;
        FFiles = files;
        Units->Items()->Clear();
        for (const std::string& f : files)
            Units->Items()->Add(rtl::ExtractFileName(f));
    }

    TListBox* Units;

private:
    TIde& FIde;
    std::vector<std::string> FFiles;
};

} // namespace

struct TIdeWindows::TForms {
    TAppBuilder* Main = nullptr;
    TPropertyInspector* Inspector = nullptr;
    TEditWindow* Editor = nullptr;
    TProjectManager* Manager = nullptr;
    std::string ShownProject;
    std::size_t ShownProjectVersion = 0;
};

TIdeWindows::TIdeWindows(TIde& ide) : FIde(ide), FForms(std::make_unique<TForms>()) {
    // A window system reset since the library started leaves the application's window behind;
    // an IDE that was left (its main window closed) leaves it terminated.
    if (Application && ((Application->HandleAllocated() && !win::IsWindow(Application->Handle())) ||
                        Application->Terminated()))
        DoneApplication();
    InitApplication();
    Application->SetTitle("Delphi 2.0");
    FForms->Main = Make<TAppBuilder>(Application, ide);
    FForms->Inspector = Make<TPropertyInspector>(Application, ide);
    FForms->Editor = Make<TEditWindow>(Application, ide);
    FForms->Manager = Make<TProjectManager>(Application, ide);
    Application->SetMainForm(FForms->Main);
    Application->OnIdle = [this](TObject*, bool&) { Refresh(); };
    FIde.Menu().OnChange = [this] { MenuChanged(); };
    // Leaving the IDE closes the project and its files, each modified one asked about first.
    FForms->Main->OnCloseQuery = [this](TObject*, bool& canClose) { canClose = FIde.CloseAll(); };
    ApplyPlaces();
    FForms->Main->Show();
    FForms->Inspector->Show();
    FForms->Editor->Show();
    Refresh();
}

TIdeWindows::~TIdeWindows() {
    FIde.Menu().OnChange = nullptr;
    if (Application)
        Application->OnIdle = nullptr;
    delete FForms->Manager;
    delete FForms->Editor;
    delete FForms->Inspector;
    delete FForms->Main;
}

win::HWND TIdeWindows::MainWindow() const { return FForms->Main->Handle(); }
win::HWND TIdeWindows::PropertyInspector() const { return FForms->Inspector->Handle(); }
win::HWND TIdeWindows::EditWindow() const { return FForms->Editor->Handle(); }
win::HWND TIdeWindows::CodeView() const { return FForms->Editor->View->Handle(); }
win::HWND TIdeWindows::ProjectManager() const { return FForms->Manager->Handle(); }
TCodeView& TIdeWindows::View() const { return *FForms->Editor->View; }

void TIdeWindows::ApplyPlaces() {
    const TProject& p = FIde.Project();
    // Without a project, or with a desktop file that has no place, the windows stand where the
    // IDE puts them by default.
    auto place = [](TForm* form, const TWindowPlace& w, const TWindowPlace& fallback) {
        const TWindowPlace& use = w.Width > 0 && w.Height > 0 ? w : fallback;
        form->SetBounds(use.Left, use.Top, use.Width, use.Height);
    };
    place(FForms->Inspector, p.PropertyInspector, TProject::DefaultPropertyInspector);
    place(FForms->Editor, p.EditWindow, TProject::DefaultEditWindow);
}

void TIdeWindows::StorePlaces() {
    auto place = [](TForm* form) {
        return TWindowPlace{form->Left(), form->Top(), form->Width(), form->Height()};
    };
    FIde.Project().PropertyInspector = place(FForms->Inspector);
    FIde.Project().EditWindow = place(FForms->Editor);
}

void TIdeWindows::Refresh() {
    TForms& f = *FForms;
    const TProject& p = FIde.Project();
    std::string project = p.IsOpen() ? rtl::ChangeFileExt(rtl::ExtractFileName(p.FileName()), "") : "";
    std::string caption = project.empty() ? "Delphi 2.0" : "Delphi 2.0 - " + project;
    if (f.Main->Caption() != caption)
        f.Main->SetCaption(caption);
    auto buffer = FIde.CurrentBuffer();
    std::string file = buffer ? buffer->FileName() : "";
    std::string editCaption = file.empty() ? "" : rtl::ExtractFileName(file);
    if (f.Editor->Caption() != editCaption)
        f.Editor->SetCaption(editCaption);
    f.Editor->ShowFiles();
    f.Editor->View->Sync();
    if (f.Manager->Visible()) {
        auto projectBuffer = p.IsOpen() ? FIde.Buffers().Find(p.FileName()) : nullptr;
        std::size_t version = projectBuffer ? projectBuffer->Version() : 0;
        if (p.FileName() != f.ShownProject || version != f.ShownProjectVersion) {
            f.ShownProject = p.FileName();
            f.ShownProjectVersion = version;
            f.Manager->ShowUnits();
        }
    }
}

void TIdeWindows::ShowEditor(bool activate) {
    TEditWindow* e = FForms->Editor;
    if (!e->Visible())
        e->Show();
    if (activate) {
        e->BringToFront();
        win::SetActiveWindow(e->Handle());
        if (e->View->CanFocus())
            e->View->SetFocus();
    }
    Refresh();
}

void TIdeWindows::ShowInspector() {
    FForms->Inspector->Show();
    FForms->Inspector->BringToFront();
}

void TIdeWindows::ShowProjectManager() {
    FForms->ShownProject.clear();
    FForms->Manager->Show();
    FForms->Manager->BringToFront();
    Refresh();
}

void TIdeWindows::ShowWindowList() {
    struct TEntry {
        std::string Caption;
        std::function<void()> Show;
    };
    std::vector<TEntry> entries = {
        {"Object Inspector", [this] { ShowInspector(); }},
        {FForms->Editor->Caption().empty() ? "Code Editor" : FForms->Editor->Caption(), [this] { ShowEditor(true); }},
        {"Project Manager", [this] { ShowProjectManager(); }},
    };
    auto form = std::unique_ptr<TForm>(Make<TForm>(Application));
    TListBox* list = nullptr;
    {
        TLoadingBracket loading(form.get());
        SetUpDialogForm(form.get(), "WindowList", "Window List", 250, 160);
        list = AddControl<TListBox>(form.get(), form.get(), "WindowListBox", 8, 8, 234, 110);
        auto* ok = AddControl<TButton>(form.get(), form.get(), "OK", 86, 128, 75, 25);
        ok->SetCaption("OK");
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        auto* cancel = AddControl<TButton>(form.get(), form.get(), "Cancel", 167, 128, 75, 25);
        cancel->SetCaption("Cancel");
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        for (const TEntry& e : entries)
            list->Items()->Add(e.Caption);
        list->SetItemIndex(1);
        TForm* raw = form.get();
        list->OnDblClick = [raw](TObject*) { raw->SetModalResult(mrOk); };
        form->SetActiveControl(list);
    }
    if (form->ShowModal() != mrOk)
        return;
    int at = list->ItemIndex();
    if (at >= 0 && at < static_cast<int>(entries.size()))
        entries[static_cast<std::size_t>(at)].Show();
}

std::vector<std::string> TIdeWindows::FileTabs() const {
    std::vector<std::string> captions;
    rtl::TStrings* tabs = FForms->Editor->Tabs->Tabs();
    for (int i = 0; i < tabs->Count(); ++i)
        captions.push_back(tabs->Get(i));
    return captions;
}

bool TIdeWindows::TabPlace(int index, win::HWND& wnd, win::POINT& point) const {
    TRect r = FForms->Editor->Tabs->TabRect(index);
    if (r.right <= r.left)
        return false;
    wnd = FForms->Editor->Tabs->Handle();
    point = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return true;
}

void TIdeWindows::CloseMain() { FForms->Main->Close(); }

TSaveAnswer TIdeWindows::AskSave(const std::string& fileName) {
    switch (MessageDlg("Save changes to " + fileName + "?", TMsgDlgType::mtConfirmation, mbYesNoCancel, 0)) {
    case mrYes: return TSaveAnswer::Yes;
    case mrNo: return TSaveAnswer::No;
    default: return TSaveAnswer::Cancel;
    }
}

std::string TIdeWindows::ChooseFile(bool save, const std::string& title, const std::string& filter,
                                    const std::string& defaultExt, const std::string& initialDir,
                                    const std::string& fileName) {
    std::unique_ptr<TOpenDialog> dialog(save ? new TSaveDialog(nullptr) : new TOpenDialog(nullptr));
    dialog->SetTitle(title);
    dialog->SetFilter(filter);
    dialog->SetDefaultExt(defaultExt);
    dialog->SetInitialDir(initialDir);
    dialog->SetFileName(fileName);
    dialog->SetOptions(save ? ofPathMustExist | ofOverwritePrompt : ofHideReadOnly | ofFileMustExist);
    return dialog->Execute() ? dialog->FileName() : std::string();
}

void TIdeWindows::MenuChanged() { FForms->Main->BuildMenu(); }

void TIdeWindows::ShowMessageBox(const std::string& text) {
    MessageDlg(text, TMsgDlgType::mtError, mbOK, 0);
}

bool TIdeWindows::ItemPlace(const std::string& name, win::HWND& wnd, win::POINT& point) {
    TMenuItem* item = FIde.Menu().Find(name);
    if (!item || !item->Parent() || !(item->Flags & host::mfVisible))
        return false;
    // The shown menu that holds the item: the bar, or a drop-down menu that is open.
    int position = 0;
    for (int i = 0; i < item->Index(); ++i)
        position += (item->Parent()->Items(i)->Flags & host::mfVisible) != 0;
    win::HWND main = FForms->Main->Handle();
    win::HMENU shown = win::GetMenu(main);
    std::vector<int> path;
    for (TMenuItem* p = item->Parent(); p && p->Parent(); p = p->Parent()) {
        int at = 0;
        for (int i = 0; i < p->Index(); ++i)
            at += (p->Parent()->Items(i)->Flags & host::mfVisible) != 0;
        path.insert(path.begin(), at);
    }
    for (int at : path)
        shown = win::GetSubMenu(shown, at);
    win::RECT r{};
    if (!shown || !win::GetMenuItemRect(main, shown, win::UINT(position), &r))
        return false;
    wnd = main;
    point = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    win::ScreenToClient(main, &point);
    return true;
}

void TIdeWindows::Run() {
    Application->Run();
}

void TIdeWindows::ProcessMessages() {
    Refresh();
    Application->ProcessMessages();
}

} // namespace ide
