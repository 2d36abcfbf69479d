// The path-edit window.
#include "libconfig/Vorpath.h"

#include "rtl/Files.h"
#include "vcl/DialogBuilding.h"
#include "vcl/Dialogs.h"

namespace libconfig {

using namespace vcl;

namespace {

TButton* AddButton(TForm* Form, const char* Name, const char* Caption, int Left) {
    auto* b = AddControl<TButton>(Form, Form, Name, Left, 36, 75, 25);
    b->SetCaption(Caption);
    return b;
}

} // namespace

TfrmPathEdit::TfrmPathEdit(TComponent* AOwner) : TForm(AOwner) {
    TLoadingBracket loading(this);
    SetName("frmPathEdit");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(379, 67);
    SetShowHint(true);

    Edit1 = AddControl<TEdit>(this, this, "Edit1", 8, 8, 363, 21);
    Edit1->SetText("");

    btnOk = AddButton(this, "btnOk", "&Ok", 134);
    btnOk->SetEnabled(false);
    btnOk->SetDefault(true);
    btnOk->SetHint("Save library alias details");
    btnOk->SetHelpContext(11);
    btnCancel = AddButton(this, "btnCancel", "&Cancel", 215);
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    btnCancel->SetHint("Cancel update of library alias");
    btnCancel->SetHelpContext(12);
    btnBrowse = AddButton(this, "btnBrowse", "Browse ...", 296);

    AvPathDialog1 = new TAvPathDialog(this);
    AvPathDialog1->SetName("AvPathDialog1");
    AvPathDialog1->SetCaption(" Select Path");
    AvPathDialog1->SetFixedOnly(true);

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    Edit1->OnChange = [this](TObject* Sender) { Edit1Change(Sender); };
    btnOk->OnClick = [this](TObject* Sender) { btnOkClick(Sender); };
    btnBrowse->OnClick = [this](TObject* Sender) { btnBrowseClick(Sender); };
    SetActiveControl(Edit1);
}

void TfrmPathEdit::FormShow(TObject* Sender) {
    SetCaption(FChangeMode ? " Change Search Path" : " Add Search Path");
    // The caller may have filled the field before its window was there to tell.
    Edit1Change(Sender);
}

void TfrmPathEdit::Edit1Change(TObject*) { btnOk->SetEnabled(!Edit1->Text().empty()); }

void TfrmPathEdit::btnOkClick(TObject*) {
    const std::string folder = Edit1->Text();
    const char* refusal = nullptr;
    // The search path is kept joined by ";", so such a folder would come back as two.
    if (folder.find(';') != std::string::npos)
        refusal = FChangeMode ? "Cannot update, path must not contain ';'!" : "Cannot add, path must not contain ';'!";
    else if (!rtl::DirectoryExists(folder))
        refusal = FChangeMode ? "Cannot update, path not found!" : "Cannot add, path not found!";
    if (!refusal) {
        SetModalResult(mrOk);
        return;
    }
    MessageDlg(refusal, TMsgDlgType::mtError, mbOK, 0);
    Edit1->SetFocus();
}

void TfrmPathEdit::btnBrowseClick(TObject*) {
    if (AvPathDialog1->Execute()) Edit1->SetText(AvPathDialog1->Path());
}

} // namespace libconfig
