// Message boxes and the input query, built as forms with an icon, a text and buttons.
#include "vcl/Dialogs.h"

#include "vcl/DialogBuilding.h"
#include "vcl/EditCtrls.h"
#include "vcl/StdCtrls.h"

#include <algorithm>
#include <memory>

namespace vcl {

using namespace win;

namespace {

enum class TIconKind { None, Warning, Error, Information, Confirmation };

// The 32 x 32 icon of a message box, drawn with the system's colours of the kind.
class TMessageIcon : public TGraphicControl {
public:
    TMessageIcon(TComponent* AOwner, TIconKind AKind) : TGraphicControl(AOwner), FKind(AKind) {
        SetBounds(0, 0, 32, 32);
    }

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        switch (FKind) {
        case TIconKind::Error:
            c->Pen()->SetColor(clMaroon);
            c->Brush()->SetColor(clRed);
            c->Ellipse(1, 1, 31, 31);
            c->Pen()->SetColor(clWhite);
            c->Pen()->SetWidth(3);
            c->MoveTo(10, 10);
            c->LineTo(22, 22);
            c->MoveTo(22, 10);
            c->LineTo(10, 22);
            break;
        case TIconKind::Warning:
            c->Pen()->SetColor(clBlack);
            c->Brush()->SetColor(clYellow);
            c->Polygon({Point(15, 1), Point(30, 29), Point(1, 29)});
            c->Brush()->SetColor(clBlack);
            c->FillRect(Rect(14, 9, 17, 21));
            c->FillRect(Rect(14, 23, 17, 26));
            break;
        case TIconKind::Information:
        case TIconKind::Confirmation: {
            c->Pen()->SetColor(clBlack);
            c->Brush()->SetColor(clWhite);
            c->Ellipse(1, 1, 31, 31);
            if (FKind == TIconKind::Information) {
                c->Brush()->SetColor(clBlue);
                c->FillRect(Rect(14, 6, 18, 10));
                c->FillRect(Rect(14, 12, 18, 25));
                c->FillRect(Rect(12, 23, 20, 25));
            } else {
                c->Font()->SetName("Arial");
                c->Font()->SetHeight(-24);
                c->Font()->SetStyle(fsBold);
                c->Font()->SetColor(clBlue);
                c->Brush()->SetStyle(TBrushStyle::bsClear);
                int w = c->TextWidth("?");
                c->TextOut((32 - w) / 2, 3, "?");
            }
            break;
        }
        case TIconKind::None: break;
        }
    }

private:
    TIconKind FKind;
};

struct TButtonSpec {
    const char* Name;
    const char* Caption;
    TModalResult Result;
};

TFont* DialogFont() {
    // Freed with the module: a library that shows a message box may be unloaded long before exit.
    static const std::unique_ptr<TFont> font = [] {
        auto f = std::make_unique<TFont>();
        f->SetName("MS Sans Serif");
        f->SetSize(8);
        return f;
    }();
    return font.get();
}

win::SIZE MeasureText(const std::string& text, int maxWidth, unsigned flags) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, DialogFont()->Handle());
    RECT r{0, 0, maxWidth, 0};
    DrawText(dc, text.c_str(), int(text.size()), &r, flags | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{r.right, r.bottom};
}

// A dialog: the icon and text at the top, the buttons centred below them.
TForm* BuildDialog(const std::string& Caption, const std::string& Msg, TIconKind Icon,
                   const std::vector<TButtonSpec>& Buttons, int DefaultIndex, int CancelIndex, int HelpCtx) {
    auto form = std::unique_ptr<TForm>(Make<TForm>(Application));
    {
        TLoadingBracket loading(form.get());
        form->SetBorderStyle(TFormBorderStyle::bsDialog);
        form->SetPosition(TPosition::poScreenCenter);
        form->SetFont(DialogFont());
        form->SetCaption(Caption);
        form->SetName("MessageDlg");
        const int margin = 8, hSpacing = 10, vSpacing = 10, buttonWidth = 75, buttonHeight = 25, buttonSpacing = 6;
        int maxText = GetSystemMetrics(SM_CXSCREEN) / 2;
        SIZE text = MeasureText(Msg, maxText, DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX);
        int iconWidth = Icon == TIconKind::None ? 0 : 32 + hSpacing;
        int contentWidth = iconWidth + text.cx;
        int buttonsWidth = int(Buttons.size()) * buttonWidth + (int(Buttons.size()) - 1) * buttonSpacing;
        int clientWidth = std::max(contentWidth, buttonsWidth) + 2 * margin;
        int textTop = margin;
        int contentHeight = std::max(Icon == TIconKind::None ? 0 : 32, int(text.cy));
        int buttonTop = margin + contentHeight + vSpacing;
        form->SetClientSize(clientWidth, buttonTop + buttonHeight + margin);
        if (Icon != TIconKind::None) {
            auto* image = new TMessageIcon(form.get(), Icon);
            image->SetName("Image");
            image->SetParent(form.get());
            image->SetBounds(margin, margin, 32, 32);
            if (text.cy < 32) textTop = margin + (32 - text.cy) / 2;
        }
        auto* label = new TLabel(form.get());
        label->SetName("Message");
        label->SetParent(form.get());
        label->SetShowAccelChar(false);
        label->SetWordWrap(true);
        label->SetBounds(margin + iconWidth, textTop, text.cx, text.cy);
        label->SetCaption(Msg);
        int x = (clientWidth - buttonsWidth) / 2;
        for (std::size_t i = 0; i < Buttons.size(); ++i) {
            auto* button = new TButton(form.get());
            button->SetName(Buttons[i].Name);
            button->SetParent(form.get());
            button->SetCaption(Buttons[i].Caption);
            button->SetModalResult(Buttons[i].Result);
            button->SetBounds(x, buttonTop, buttonWidth, buttonHeight);
            if (int(i) == DefaultIndex) button->SetDefault(true);
            if (int(i) == CancelIndex) button->SetCancel(true);
            if (Buttons[i].Result == mrNone) {
                int ctx = HelpCtx;
                button->OnClick = [ctx](TObject*) {
                    if (Application) Application->HelpContext(ctx);
                };
            }
            x += buttonWidth + buttonSpacing;
        }
    }
    // The default button is the first to get the focus.
    if (DefaultIndex >= 0)
        if (auto* b = dynamic_cast<TWinControl*>(form->FindComponent(Buttons[std::size_t(DefaultIndex)].Name)))
            form->SetActiveControl(nullptr), b->SetTabOrder(0);
    form->SetHelpContext(HelpCtx);
    return form.release();
}

TIconKind IconOfType(TMsgDlgType t) {
    switch (t) {
    case TMsgDlgType::mtWarning: return TIconKind::Warning;
    case TMsgDlgType::mtError: return TIconKind::Error;
    case TMsgDlgType::mtInformation: return TIconKind::Information;
    case TMsgDlgType::mtConfirmation: return TIconKind::Confirmation;
    default: return TIconKind::None;
    }
}

std::string CaptionOfType(TMsgDlgType t) {
    switch (t) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirm";
    default: return Application ? Application->Title() : std::string();
    }
}

TForm* MessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    static const struct {
        TMsgDlgBtn Btn;
        TButtonSpec Spec;
    } all[] = {
        {mbYes, {"Yes", "&Yes", mrYes}},       {mbNo, {"No", "&No", mrNo}},
        {mbOK, {"OK", "OK", mrOk}},            {mbCancel, {"Cancel", "Cancel", mrCancel}},
        {mbAbort, {"Abort", "&Abort", mrAbort}}, {mbRetry, {"Retry", "&Retry", mrRetry}},
        {mbIgnore, {"Ignore", "&Ignore", mrIgnore}}, {mbAll, {"All", "&All", mrAll}},
        {mbHelp, {"Help", "&Help", mrNone}},
    };
    std::vector<TButtonSpec> specs;
    int defaultIndex = -1, cancelIndex = -1;
    for (auto& b : all) {
        if (!(Buttons & b.Btn)) continue;
        if (defaultIndex < 0 && (b.Btn == mbOK || b.Btn == mbYes)) defaultIndex = int(specs.size());
        if (b.Btn == mbCancel) cancelIndex = int(specs.size());
        specs.push_back(b.Spec);
    }
    if (specs.empty()) specs.push_back(all[2].Spec);
    // Escape answers Cancel where there is one, and OK where OK is the only answer; a box that
    // asks Yes or No wants one of them.
    if ((Buttons & ~TMsgDlgButtons(mbHelp)) == TMsgDlgButtons(mbOK) || (Buttons & ~TMsgDlgButtons(mbHelp)) == 0)
        cancelIndex = 0;
    if (defaultIndex < 0) defaultIndex = 0;
    return BuildDialog(CaptionOfType(DlgType), Msg, IconOfType(DlgType), specs, defaultIndex, cancelIndex, HelpCtx);
}

TModalResult RunDialog(TForm* Dialog) {
    std::unique_ptr<TForm> owned(Dialog);
    return owned->ShowModal();
}

} // namespace

TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    return MessageDialog(Msg, DlgType, Buttons, 0);
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
    TForm* dlg = MessageDialog(Msg, DlgType, Buttons, HelpCtx);
    if (X >= 0) {
        dlg->SetPosition(TPosition::poDesigned);
        dlg->SetLeft(X);
    }
    if (Y >= 0) {
        dlg->SetPosition(TPosition::poDesigned);
        dlg->SetTop(Y);
    }
    return RunDialog(dlg);
}

void ShowMessage(const std::string& Msg) { MessageDlg(Msg, TMsgDlgType::mtCustom, mbOK, 0); }

int MessageBox(HWND Owner, const std::string& Text, const std::string& Caption, unsigned Flags) {
    std::vector<TButtonSpec> specs;
    switch (Flags & 0x0F) {
    case MB_OKCANCEL: specs = {{"OK", "OK", IDOK}, {"Cancel", "Cancel", IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE:
        specs = {{"Abort", "&Abort", IDABORT}, {"Retry", "&Retry", IDRETRY}, {"Ignore", "&Ignore", IDIGNORE}};
        break;
    case MB_YESNOCANCEL: specs = {{"Yes", "&Yes", IDYES}, {"No", "&No", IDNO}, {"Cancel", "Cancel", IDCANCEL}}; break;
    case MB_YESNO: specs = {{"Yes", "&Yes", IDYES}, {"No", "&No", IDNO}}; break;
    case MB_RETRYCANCEL: specs = {{"Retry", "&Retry", IDRETRY}, {"Cancel", "Cancel", IDCANCEL}}; break;
    default: specs = {{"OK", "OK", IDOK}};
    }
    TIconKind icon = TIconKind::None;
    switch (Flags & 0xF0) {
    case MB_ICONHAND: icon = TIconKind::Error; break;
    case MB_ICONQUESTION: icon = TIconKind::Confirmation; break;
    case MB_ICONEXCLAMATION: icon = TIconKind::Warning; break;
    case MB_ICONASTERISK: icon = TIconKind::Information; break;
    default: break;
    }
    int defaultIndex = std::min<int>(int((Flags >> 8) & 0x0F), int(specs.size()) - 1);
    int cancelIndex = -1;
    for (std::size_t i = 0; i < specs.size(); ++i)
        if (specs[i].Result == IDCANCEL) cancelIndex = int(i);
    if (specs.size() == 1) cancelIndex = 0; // a lone OK answers Escape with OK
    if (Flags & 0xF0) MessageBeep(Flags & 0xF0);
    TForm* dlg = BuildDialog(Caption.empty() ? "Error" : Caption, Text, icon, specs, defaultIndex, cancelIndex, 0);
    if (Owner && IsWindow(Owner)) dlg->SetParentWindow(Owner);
    return RunDialog(dlg);
}

bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) {
    auto form = std::unique_ptr<TForm>(Make<TForm>(Application));
    TEdit* edit = nullptr;
    {
        TLoadingBracket loading(form.get());
        form->SetBorderStyle(TFormBorderStyle::bsDialog);
        form->SetPosition(TPosition::poScreenCenter);
        form->SetFont(DialogFont());
        form->SetCaption(ACaption);
        form->SetName("InputQuery");
        form->SetClientSize(232, 90);
        AddControl<TLabel>(form.get(), form.get(), "Prompt", 8, 8, 216, 13)->SetCaption(APrompt);
        edit = AddControl<TEdit>(form.get(), form.get(), "Edit", 8, 26, 216, 21);
        edit->SetText(Value);
        edit->SelectAll(); // typing replaces the old value
        AddOkCancel(form.get(), Point(39, 58), Point(118, 58), 75, 25);
    }
    bool ok = form->ShowModal() == mrOk;
    if (ok) Value = edit->Text();
    return ok;
}

std::string InputBox(const std::string& ACaption, const std::string& APrompt, const std::string& ADefault) {
    std::string value = ADefault;
    InputQuery(ACaption, APrompt, value);
    return value;
}

} // namespace vcl
