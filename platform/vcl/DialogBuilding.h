// What the dialogs built in code share: the dialog form itself, a control placed on a parent, a
// label with the control its accelerator focuses.
#pragma once

#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <string>

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

} // namespace vcl
