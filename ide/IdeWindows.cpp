#include "ide/IdeWindows.h"

#include "ide/Ide.h"

#include "ide/CodeView.h"
#include "ide/TestHooks.h"

#include "rtl/Exceptions.h"
#include "rtl/Paths.h"
#include "vcl/ComCtrls.h"
#include "vcl/Dialogs.h"
#include "vcl/FileDialogs.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"
#include "vcl/Menus.h"
#include "vcl/Streaming.h"
#include "vcl/TestHooks.h"

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

// The IDE's own windows, each laid out by its form file, named after the window (AppBuilder.dfm).
// Every one hands the keys it is given to the menu, so a shortcut works in all.
class TIdeForm : public TForm {
public:
    TIdeForm(TComponent* AOwner, TIde& ide) : TForm(AOwner), FIde(ide) {}

    void FormKeyDown(TObject*, unsigned& Key, TShiftState Shift) {
        if (IsModifierKey(Key))
            return;
        TShortCut sc = ShortCut(Key, Shift & (ssShift | ssCtrl | ssAlt));
        if (FIde.PressShortCut(sc))
            Key = 0;
    }

protected:
    TIde& FIde;
};

// What a designer, or the check of the form files, makes an IDE window with: the process's IDE.
template <class F>
TComponent* MakeWithIde(TComponent* owner) {
    TIde* ide = TIde::Current();
    if (!ide)
        throw rtl::EInvalidOperation("The IDE's windows need the IDE to be made");
    return Make<F>(owner, *ide);
}

// The main window's menu bar shows the core's menu tree: each change of the tree makes its items
// again, and choosing one clicks the core's item.
class TAppBuilder : public TIdeForm {
public:
    using TIdeForm::TIdeForm;

    // The bar shows the core's menu, which has no items until the core's tree is there; the
    // window spans the screen.
    void FormCreate(TObject*) {
        SetBounds(0, 0, win::GetSystemMetrics(win::SM_CXSCREEN), 96);
        BuildMenu();
        SetMenu(MainMenu);
    }

    void BuildMenu() {
        vcl::TMenuItem* root = MainMenu->Items();
        while (root->Count() > 0) delete root->Items(root->Count() - 1);
        AddItems(root, FIde.Menu().Root());
    }

    vcl::TMainMenu* MainMenu = nullptr;

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
};

class TPropertyInspector : public TIdeForm {
public:
    using TIdeForm::TIdeForm;

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
class TEditWindow : public TIdeForm {
public:
    using TIdeForm::TIdeForm;

    // The editing view is the core's, made with the window rather than laid out; it is made as
    // the window's own components are read, so it becomes the active control unfocused.
    void FormCreate(TObject*) {
        TLoadingBracket loading(this);
        // The strip holds the view: painting the strip leaves the view's pixels (and its caret)
        // alone.
        FileTabs->SetControlStyle(FileTabs->ControlStyle() | csAcceptsControls);
        View = new TCodeView(this, FIde);
        View->SetParent(FileTabs);
        View->SetAlign(TAlign::alClient);
        View->OnStateChange = [this] { ShowStatus(); };
        SetActiveControl(View);
    }

    // Closing only hides it; View|Code Editor, a Goto or a tool brings it back.
    void FormClose(TObject*, TCloseAction& action) { action = TCloseAction::caHide; }

    void FileTabsChange(TObject*) {
        if (FShowing)
            return;
        int at = FileTabs->TabIndex();
        if (at >= 0 && at < static_cast<int>(FFiles.size()))
            FIde.OpenFile(FFiles[static_cast<std::size_t>(at)]);
        FIde.Windows()->Refresh();
        if (View->CanFocus())
            View->SetFocus();
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
            FileTabs->SetTabs(captions);
        }
        auto at = std::find(FFiles.begin(), FFiles.end(), FIde.CurrentFile());
        int index = at == FFiles.end() ? -1 : static_cast<int>(at - FFiles.begin());
        if (FileTabs->TabIndex() != index)
            FileTabs->SetTabIndex(index);
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
            if (StatusBar->Panels()->Items(i)->Text() != texts[i])
                StatusBar->Panels()->Items(i)->SetText(texts[i]);
    }

    TStatusBar* StatusBar = nullptr;
    TTabControl* FileTabs = nullptr;
    TCodeView* View = nullptr;

private:
    std::vector<std::string> FFiles;
    bool FShowing = false;
};

// The project's units; a double click opens one in the code editor.
class TProjectManager : public TIdeForm {
public:
    using TIdeForm::TIdeForm;

    void UnitListDblClick(TObject*) {
        int at = UnitList->ItemIndex();
        if (at >= 0 && at < static_cast<int>(FFiles.size()) && FIde.OpenFile(FFiles[static_cast<std::size_t>(at)]))
            FIde.Windows()->ShowEditor(true);
    }

    void ShowUnits() {
        std::vector<std::string> files = FIde.UnitFiles();
        if (files == FFiles)
            return;
        FFiles = files;
        UnitList->Items()->Clear();
        for (const std::string& f : files)
            UnitList->Items()->Add(rtl::ExtractFileName(f));
    }

    TListBox* UnitList = nullptr;

private:
    std::vector<std::string> FFiles;
};

// "Window List": the IDE's windows, filled when it is shown; a double click chooses one.
class TWindowList : public TForm {
public:
    using TForm::TForm;

    void WindowListBoxDblClick(TObject*) { SetModalResult(mrOk); }

    TListBox* WindowListBox = nullptr;
    TButton* OK = nullptr;
    TButton* Cancel = nullptr;
};

struct TIdeFormsRegistration {
    TIdeFormsRegistration() {
        auto keys = PublishedMethod("FormKeyDown", &TIdeForm::FormKeyDown);
        RegisterFormClass<TAppBuilder>(
            "TAppBuilder", "TForm", {PublishedField("MainMenu", &TAppBuilder::MainMenu)},
            {keys, PublishedMethod("FormCreate", &TAppBuilder::FormCreate)}, {}, MakeWithIde<TAppBuilder>);
        RegisterFormClass<TPropertyInspector>("TPropertyInspector", "TForm", {}, {keys}, {},
                                              MakeWithIde<TPropertyInspector>);
        using E = TEditWindow;
        RegisterFormClass<E>("TEditWindow", "TForm",
                             {PublishedField("StatusBar", &E::StatusBar), PublishedField("FileTabs", &E::FileTabs)},
                             {keys, PublishedMethod("FormCreate", &E::FormCreate),
                              PublishedMethod("FormClose", &E::FormClose),
                              PublishedMethod("FileTabsChange", &E::FileTabsChange)},
                             {}, MakeWithIde<E>);
        using P = TProjectManager;
        RegisterFormClass<P>("TProjectManager", "TForm", {PublishedField("UnitList", &P::UnitList)},
                             {keys, PublishedMethod("UnitListDblClick", &P::UnitListDblClick)}, {}, MakeWithIde<P>);
        using W = TWindowList;
        RegisterFormClass<W>("TWindowList", "TForm",
                             {PublishedField("WindowListBox", &W::WindowListBox), PublishedField("OK", &W::OK),
                              PublishedField("Cancel", &W::Cancel)},
                             {PublishedMethod("WindowListBoxDblClick", &W::WindowListBoxDblClick)});
    }
} ideFormsRegistration;

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
    auto form = std::unique_ptr<TWindowList>(Make<TWindowList>(Application));
    TListBox* list = form->WindowListBox;
    for (const TEntry& e : entries)
        list->Items()->Add(e.Caption);
    list->SetItemIndex(1);
    if (form->ShowModal() != mrOk)
        return;
    int at = list->ItemIndex();
    if (at >= 0 && at < static_cast<int>(entries.size()))
        entries[static_cast<std::size_t>(at)].Show();
}

std::vector<std::string> TIdeWindows::FileTabs() const {
    std::vector<std::string> captions;
    rtl::TStrings* tabs = FForms->Editor->FileTabs->Tabs();
    for (int i = 0; i < tabs->Count(); ++i)
        captions.push_back(tabs->Get(i));
    return captions;
}

bool TIdeWindows::TabPlace(int index, win::HWND& wnd, win::POINT& point) const {
    TRect r = FForms->Editor->FileTabs->TabRect(index);
    if (r.right <= r.left)
        return false;
    wnd = FForms->Editor->FileTabs->Handle();
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

std::vector<std::string> FormResourceNames() { return vcl::FormResourceNames(); }
std::vector<std::string> FormResourceMismatches() { return vcl::FormResourceMismatches(); }

} // namespace ide
