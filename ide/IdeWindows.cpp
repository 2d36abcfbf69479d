#include "ide/IdeWindows.h"

#include "ide/Ide.h"

#include "rtl/Paths.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
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

// The text of view 0 of the current buffer from its top line, with the cursor; it takes no typing.
class TCodeView : public TCustomControl {
public:
    TCodeView(TComponent* AOwner, TIde& ide) : TCustomControl(AOwner), FIde(ide) {
        SetName("CodeView");
        SetColor(clWindow);
        std::string face = ide.EditorParamStr("FontName");
        int size = ide.EditorParamInt("FontSize");
        Font()->SetName(face.empty() ? "Courier New" : face);
        Font()->SetSize(size > 0 ? size : 10);
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
        c->SetFont(Font());
        c->Brush()->SetColor(clWindow);
        c->FillRect(ClientRect());
        auto buffer = FIde.CurrentBuffer();
        if (!buffer)
            return;
        const std::string& text = buffer->Text();
        host::TEditPos cursor = buffer->Pos(0);
        int top = std::max(1, buffer->Pos(1).Line);
        int lineHeight = std::max(1, c->TextHeight("Wg"));
        int charWidth = std::max(1, c->TextWidth("W"));
        int line = 1, y = 2;
        std::size_t start = 0;
        while (start <= text.size() && y < ClientHeight()) {
            std::size_t end = text.find("\r\n", start);
            std::size_t stop = end == std::string::npos ? text.size() : end;
            if (line >= top) {
                std::string shown = text.substr(start, stop - start);
                std::replace(shown.begin(), shown.end(), '\t', ' ');
                c->Font()->SetColor(clWindowText);
                c->TextOut(4, y, shown);
                if (line == cursor.Line) {
                    int x = 4 + (cursor.Col - 1) * charWidth;
                    c->Pen()->SetColor(clWindowText);
                    c->MoveTo(x, y);
                    c->LineTo(x, y + lineHeight);
                }
                y += lineHeight;
            }
            if (end == std::string::npos)
                break;
            start = end + 2;
            ++line;
        }
    }

private:
    TIde& FIde;
};

class TEditWindow : public TForm {
public:
    TEditWindow(TComponent* AOwner, TIde& ide) : TForm(AOwner) {
        TLoadingBracket loading(this);
        SetName("EditWindow");
        View = new TCodeView(this, ide);
        View->SetParent(this);
        View->SetAlign(TAlign::alClient);
        BindShortCuts(this, ide);
    }
    TCodeView* View;
};

} // namespace

struct TIdeWindows::TForms {
    TAppBuilder* Main = nullptr;
    TPropertyInspector* Inspector = nullptr;
    TEditWindow* Editor = nullptr;
    // What the windows last showed, to repaint only what changed.
    std::string ShownFile;
    std::size_t ShownText = 0;
    host::TEditPos ShownCursor, ShownTop;
};

TIdeWindows::TIdeWindows(TIde& ide) : FIde(ide), FForms(std::make_unique<TForms>()) {
    // A window system reset since the library started leaves the application's window behind.
    if (Application && Application->HandleAllocated() && !win::IsWindow(Application->Handle()))
        DoneApplication();
    InitApplication();
    Application->SetTitle("Delphi 2.0");
    FForms->Main = Make<TAppBuilder>(Application, ide);
    FForms->Inspector = Make<TPropertyInspector>(Application, ide);
    FForms->Editor = Make<TEditWindow>(Application, ide);
    Application->SetMainForm(FForms->Main);
    Application->OnIdle = [this](TObject*, bool&) { Refresh(); };
    FIde.Menu().OnChange = [this] { MenuChanged(); };
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
    delete FForms->Editor;
    delete FForms->Inspector;
    delete FForms->Main;
}

win::HWND TIdeWindows::MainWindow() const { return FForms->Main->Handle(); }
win::HWND TIdeWindows::PropertyInspector() const { return FForms->Inspector->Handle(); }
win::HWND TIdeWindows::EditWindow() const { return FForms->Editor->Handle(); }

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
    std::size_t text = buffer ? std::hash<std::string>{}(buffer->Text()) : 0;
    host::TEditPos cursor = buffer ? buffer->Pos(0) : host::TEditPos{};
    host::TEditPos top = buffer ? buffer->Pos(1) : host::TEditPos{};
    // A cursor moved out of sight (a search's Goto, an expert's insertion) scrolls the view so
    // that its row shows, in the middle, as the IDE's editor does.
    if (buffer && cursor != f.ShownCursor) {
        int rows = f.Editor->View->VisibleRows();
        if (cursor.Line < top.Line || cursor.Line >= top.Line + rows) {
            top = host::TEditPos{1, std::max(1, cursor.Line - rows / 2)};
            buffer->SetPos(1, top);
        }
    }
    if (file != f.ShownFile || text != f.ShownText || !(cursor == f.ShownCursor) || !(top == f.ShownTop)) {
        f.ShownFile = file;
        f.ShownText = text;
        f.ShownCursor = cursor;
        f.ShownTop = top;
        f.Editor->View->Invalidate();
    }
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
