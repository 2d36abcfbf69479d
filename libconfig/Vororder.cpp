// The path-order window.
#include "libconfig/Vororder.h"

#include "vcl/DialogBuilding.h"

namespace libconfig {

using namespace vcl;

TfrmPathOrder::TfrmPathOrder(TComponent* AOwner) : TForm(AOwner) {
    TLoadingBracket loading(this);
    SetName("frmPathOrder");
    SetCaption(" Search Path Order");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(434, 276);

    GroupBox1 = AddControl<TGroupBox>(this, this, "GroupBox1", 8, 4, 418, 228);
    GroupBox1->SetCaption("");
    lbSearchPath = AddControl<TListBox>(this, GroupBox1, "lbSearchPath", 10, 16, 370, 199);
    lbSearchPath->SetIntegralHeight(true);
    btnUp = AddControl<TBitBtn>(this, GroupBox1, "btnUp", 386, 16, 25, 25);
    btnUp->Glyph()->LoadFromResourceName(nullptr, "ARROWUP");
    btnDown = AddControl<TBitBtn>(this, GroupBox1, "btnDown", 386, 46, 25, 25);
    btnDown->Glyph()->LoadFromResourceName(nullptr, "ARROWDOWN");

    btnOk = AddControl<TButton>(this, this, "btnOk", 270, 242, 75, 25);
    btnOk->SetCaption("&Ok");
    btnOk->SetDefault(true);
    btnOk->SetModalResult(mrOk);
    btnCancel = AddControl<TButton>(this, this, "btnCancel", 351, 242, 75, 25);
    btnCancel->SetCaption("&Cancel");
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    btnUp->OnClick = [this](TObject* Sender) { btnUpClick(Sender); };
    btnDown->OnClick = [this](TObject* Sender) { btnDownClick(Sender); };
    SetActiveControl(lbSearchPath);
}

void TfrmPathOrder::FormCreate(TObject*) {
    lbSearchPath->SetItemIndex(0);
    // The caller fills the list after creation; once the window runs its messages the first
    // entry is chosen.
    win::PostMessage(lbSearchPath->Handle(), win::LB_SETCURSEL, 0, 0);
}

void TfrmPathOrder::btnUpClick(TObject*) { MoveItem(-1); }
void TfrmPathOrder::btnDownClick(TObject*) { MoveItem(+1); }

void TfrmPathOrder::MoveItem(int Direction) {
    int at = lbSearchPath->ItemIndex();
    int count = lbSearchPath->Items()->Count();
    int to = at + Direction;
    if (at < 0 || to < 0 || to >= count) return;
    rtl::TStrings* items = lbSearchPath->Items();
    std::string moved = items->Get(at);
    items->Put(at, items->Get(to));
    items->Put(to, moved);
    lbSearchPath->SetItemIndex(to);
    if (lbSearchPath->CanFocus()) lbSearchPath->SetFocus();
}

} // namespace libconfig
