// What the dialogs built in code share: the dialog form itself, a control placed on a parent, a
// label with the control its accelerator focuses, the OK and Cancel pair, and the modal run of a
// common dialog's form.
#pragma once

#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace vcl {

template <class T>
T* AddControl(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height) {
    auto* c = new T(Owner);
    c->SetName(Name);
    c->SetParent(Parent);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

inline TLabel* AddLabel(TComponent* Owner, TWinControl* Parent, const char* Name, const char* Caption, int Left,
                        int Top, TWinControl* Focus = nullptr) {
    auto* l = AddControl<TLabel>(Owner, Parent, Name, Left, Top, 0, 0);
    l->SetCaption(Caption);
    if (Focus) l->SetFocusControl(Focus);
    return l;
}

// A dialog of a fixed client size, centred on the screen, in the dialogs' 8-point font.
inline void SetUpDialogForm(TForm* Form, const char* Name, const std::string& Caption, int ClientWidth,
                            int ClientHeight, TFormBorderStyle Border = TFormBorderStyle::bsDialog) {
    Form->SetName(Name);
    Form->SetBorderStyle(Border);
    Form->SetPosition(TPosition::poScreenCenter);
    Form->Font()->SetName("MS Sans Serif");
    Form->Font()->SetSize(8);
    Form->SetCaption(Caption);
    Form->SetClientSize(ClientWidth, ClientHeight);
}

// OK and Cancel at their places, of one size: OK is the default button and runs OnOk when
// given, else it ends the dialog with mrOk; Cancel ends it with mrCancel.
inline void AddOkCancel(TForm* Form, TPoint Ok, TPoint Cancel, int Width, int Height,
                        std::function<void()> OnOk = nullptr) {
    auto* ok = AddControl<TButton>(Form, Form, "OK", Ok.x, Ok.y, Width, Height);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    if (OnOk) ok->OnClick = [OnOk = std::move(OnOk)](TObject*) { OnOk(); };
    else ok->SetModalResult(mrOk);
    auto* cancel = AddControl<TButton>(Form, Form, "Cancel", Cancel.x, Cancel.y, Width, Height);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
}

// Runs a common dialog's form: built, started from the dialog's settings, shown modally, and on
// OK finished by handing back what was chosen. False when it was cancelled.
template <class F, class... A>
bool RunDialogForm(A&&... Args) {
    auto form = std::unique_ptr<F>(Make<F>(Application, std::forward<A>(Args)...));
    form->Build();
    form->Start();
    if (form->ShowModal() != mrOk) return false;
    form->Finish();
    return true;
}

} // namespace vcl
