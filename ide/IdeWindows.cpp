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

std::string WithoutAccel(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        out += caption[i];
    }
    return out;
}

bool IsModifierKey(unsigned key) {
    return key == win::VK_SHIFT || key == win::VK_CONTROL || key == win::VK_MENU;
}

// Every IDE window hands the keys it is given to the menu first, so a shortcut works in all.
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

// The pop-up list of one menu's items, below the menu bar.
class TIdeMenuList : public TCustomControl {
public:
    TIdeMenuList(TComponent* AOwner, TIde& ide) : TCustomControl(AOwner), FIde(ide) {
        SetName("MenuList");
        SetColor(clMenu);
    }

    static constexpr int RowHeight = 18;

    void Popup(TMenuItem* menu, int x, int y) {
        FMenu = menu;
        FItems.clear();
        for (int i = 0; i < menu->Count(); ++i)
            if (menu->Items(i)->Flags & host::mfVisible)
                FItems.push_back(menu->Items(i));
        int width = 120;
        for (TMenuItem* item : FItems) {
            int w = Canvas()->TextWidth(WithoutAccel(item->Caption)) + 40;
            if (item->ShortCut)
                w += Canvas()->TextWidth(ShortCutToText(TShortCut(item->ShortCut))) + 16;
            width = std::max(width, w);
        }
        int height = std::max<int>(1, int(FItems.size())) * RowHeight + 4;
        win::SetWindowPos(Handle(), win::HWND_TOPMOST, x, y, width, height,
                          win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE);
        UpdateBounds();
        Invalidate();
    }

    void CloseUp() {
        FMenu = nullptr;
        FItems.clear();
        if (HandleAllocated() && win::IsWindowVisible(Handle()))
            win::ShowWindow(Handle(), win::SW_HIDE);
    }

    bool IsOpen() const { return FMenu != nullptr; }
    TMenuItem* OpenMenu() const { return FMenu; }

protected:
    void CreateParams(TCreateParams& P) override {
        TCustomControl::CreateParams(P);
        P.Style = win::WS_POPUP | win::WS_BORDER;
        P.ExStyle = win::WS_EX_TOOLWINDOW | win::WS_EX_TOPMOST;
        P.WndParent = Application ? Application->Handle() : nullptr;
    }
    // Shown and hidden by Popup and CloseUp only.
    void UpdateShowing() override {}
    // A click in the list leaves the IDE window it belongs to active.
    void WndProc(TMessage& Message) override {
        if (Message.Msg == win::WM_MOUSEACTIVATE) {
            Message.Result = win::MA_NOACTIVATE;
            return;
        }
        TCustomControl::WndProc(Message);
    }

    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clMenu);
        c->FillRect(ClientRect());
        int y = 2;
        for (TMenuItem* item : FItems) {
            if (item->Caption == "-") {
                c->Pen()->SetColor(clGrayText);
                c->MoveTo(4, y + RowHeight / 2);
                c->LineTo(Width() - 6, y + RowHeight / 2);
            } else {
                c->Font()->SetColor((item->Flags & host::mfEnabled) ? clWindowText : clGrayText);
                c->TextOut(18, y + 2, WithoutAccel(item->Caption) + (item->Count() ? "  >" : ""));
                if (item->ShortCut) {
                    std::string text = ShortCutToText(TShortCut(item->ShortCut));
                    c->TextOut(Width() - 10 - c->TextWidth(text), y + 2, text);
                }
            }
            y += RowHeight;
        }
    }

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        int row = (Y - 2) / RowHeight;
        if (Y < 2 || row < 0 || row >= int(FItems.size()))
            return;
        TMenuItem* item = FItems[std::size_t(row)];
        if (item->Caption == "-" || !(item->Flags & host::mfEnabled))
            return;
        if (item->Count()) {
            Popup(item, Left(), Top());
            return;
        }
        CloseUp();
        FIde.Menu().Click(item);
    }

private:
    TIde& FIde;
    TMenuItem* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
};

// The main menu's top row; a click opens the list of the menu's items.
class TIdeMenuBar : public TCustomControl {
public:
    TIdeMenuBar(TComponent* AOwner, TIde& ide, TIdeMenuList* list)
        : TCustomControl(AOwner), FIde(ide), FList(list) {
        SetName("MainMenuBar");
        SetColor(clMenu);
    }

    // The client rectangle of a top menu; empty when it is not on the bar.
    TRect ItemRect(const std::string& name) {
        int x = 4;
        TMenuItem& root = FIde.Menu().Root();
        for (int i = 0; i < root.Count(); ++i) {
            TMenuItem* item = root.Items(i);
            if (!(item->Flags & host::mfVisible))
                continue;
            int w = Canvas()->TextWidth(WithoutAccel(item->Caption)) + 14;
            if (item->Name == name)
                return Rect(x, 0, x + w, Height());
            x += w;
        }
        return Rect(0, 0, 0, 0);
    }

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clMenu);
        c->FillRect(ClientRect());
        int x = 4;
        TMenuItem& root = FIde.Menu().Root();
        for (int i = 0; i < root.Count(); ++i) {
            TMenuItem* item = root.Items(i);
            if (!(item->Flags & host::mfVisible))
                continue;
            std::string text = WithoutAccel(item->Caption);
            int w = c->TextWidth(text) + 14;
            bool open = FList->OpenMenu() == item;
            c->Brush()->SetColor(open ? clHighlight : clMenu);
            if (open)
                c->FillRect(Rect(x, 1, x + w, Height() - 1));
            c->Font()->SetColor(open ? clHighlightText
                                     : ((item->Flags & host::mfEnabled) ? clWindowText : clGrayText));
            c->TextOut(x + 7, (Height() - c->TextHeight(text)) / 2, text);
            x += w;
        }
    }

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        TMenuItem& root = FIde.Menu().Root();
        for (int i = 0; i < root.Count(); ++i) {
            TMenuItem* item = root.Items(i);
            TRect r = ItemRect(item->Name);
            if (X < r.left || X >= r.right)
                continue;
            bool wasOpen = FList->OpenMenu() == item;
            FList->CloseUp();
            if (!(item->Flags & host::mfEnabled) || wasOpen)
                break;
            if (item->Count()) {
                win::POINT p{r.left, r.bottom};
                win::ClientToScreen(Handle(), &p);
                FList->Popup(item, p.x, p.y);
            } else {
                FIde.Menu().Click(item);
            }
            break;
        }
        Invalidate();
    }

private:
    TIde& FIde;
    TIdeMenuList* FList;
};

class TAppBuilder : public TForm {
public:
    TAppBuilder(TComponent* AOwner, TIde& ide) : TForm(AOwner) {
        TLoadingBracket loading(this);
        SetName("AppBuilder");
        SetBounds(0, 0, win::GetSystemMetrics(win::SM_CXSCREEN), 96);
        MenuList = new TIdeMenuList(this, ide);
        MenuBar = new TIdeMenuBar(this, ide, MenuList);
        MenuBar->SetParent(this);
        MenuBar->SetAlign(TAlign::alTop);
        MenuBar->SetHeight(20);
        BindShortCuts(this, ide);
        auto shortCuts = OnKeyDown;
        OnKeyDown = [this, shortCuts](TObject* Sender, unsigned& Key, TShiftState Shift) {
            if (Key == win::VK_ESCAPE && MenuList->IsOpen()) {
                MenuList->CloseUp();
                MenuBar->Invalidate();
                Key = 0;
                return;
            }
            shortCuts(Sender, Key, Shift);
        };
        // A click in another window leaves the open list behind.
        OnDeactivate = [this](TObject*) {
            MenuList->CloseUp();
            MenuBar->Invalidate();
        };
    }
    TIdeMenuBar* MenuBar;
    TIdeMenuList* MenuList;
};

class TPropertyInspector : public TForm {
public:
    TPropertyInspector(TComponent* AOwner, TIde& ide) : TForm(AOwner) {
        TLoadingBracket loading(this);
        SetName("PropertyInspector");
        SetCaption("Object Inspector");
                BindShortCuts(this, ide);
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
    if (file != f.ShownFile || text != f.ShownText || !(cursor == f.ShownCursor) || !(top == f.ShownTop)) {
        f.ShownFile = file;
        f.ShownText = text;
        f.ShownCursor = cursor;
        f.ShownTop = top;
        f.Editor->View->Invalidate();
    }
}

void TIdeWindows::MenuChanged() {
    // The open list may show items that are gone.
    FForms->Main->MenuList->CloseUp();
    FForms->Main->MenuBar->Invalidate();
}

void TIdeWindows::ShowMessageBox(const std::string& text) {
    MessageDlg(text, TMsgDlgType::mtError, mbOK, 0);
}

bool TIdeWindows::ItemPlace(const std::string& name, win::HWND& wnd, win::POINT& point) {
    TMenuItem* item = FIde.Menu().Find(name);
    if (!item || !item->Parent())
        return false;
    TRect r{};
    if (item->Parent() == &FIde.Menu().Root()) {
        r = FForms->Main->MenuBar->ItemRect(name);
        wnd = FForms->Main->MenuBar->Handle();
    } else {
        // The row it has in its menu's list, wherever the list comes to stand.
        int row = 0;
        for (int i = 0; i < item->Index(); ++i)
            row += (item->Parent()->Items(i)->Flags & host::mfVisible) != 0;
        r = Rect(2, 2 + row * TIdeMenuList::RowHeight, 40, 2 + (row + 1) * TIdeMenuList::RowHeight);
        wnd = FForms->Main->MenuList->Handle();
    }
    if (r.right <= r.left)
        return false;
    point = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
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
