// What the class library's own dialogs share in building their forms in code: a control placed
// on a parent, a label with the control its accelerator focuses.
#pragma once

#include "vcl/StdCtrls.h"

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

} // namespace vcl
