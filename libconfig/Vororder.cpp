// The path-order window: its layout is its form file; here is what it does.
#include "libconfig/Vororder.h"

#include "vcl/Streaming.h"

namespace libconfig {

using namespace vcl;

// Laid out by its form file, Vororder.dfm.
TfrmPathOrder::TfrmPathOrder(TComponent* AOwner) : TForm(AOwner) {}

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

namespace {

struct TPathOrderRegistration {
    TPathOrderRegistration() {
        using F = TfrmPathOrder;
        RegisterFormClass<F>("TfrmPathOrder", "TForm",
                             {
                                 PublishedField("GroupBox1", &F::GroupBox1),
                                 PublishedField("lbSearchPath", &F::lbSearchPath),
                                 PublishedField("btnUp", &F::btnUp),
                                 PublishedField("btnDown", &F::btnDown),
                                 PublishedField("btnOk", &F::btnOk),
                                 PublishedField("btnCancel", &F::btnCancel),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("btnUpClick", &F::btnUpClick),
                                 PublishedMethod("btnDownClick", &F::btnDownClick),
                             });
    }
} registration;

} // namespace

} // namespace libconfig
