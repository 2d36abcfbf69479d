// The path-edit window: its layout is its form file; here is what it does.
#include "libconfig/Vorpath.h"

#include "rtl/Files.h"
#include "vcl/Dialogs.h"
#include "vcl/Streaming.h"

namespace libconfig {

using namespace vcl;

// Laid out by its form file, Vorpath.dfm.
TfrmPathEdit::TfrmPathEdit(TComponent* AOwner) : TForm(AOwner) {}

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

namespace {

struct TPathEditRegistration {
    TPathEditRegistration() {
        using F = TfrmPathEdit;
        RegisterFormClass<F>("TfrmPathEdit", "TForm",
                             {
                                 PublishedField("Edit1", &F::Edit1),
                                 PublishedField("btnOk", &F::btnOk),
                                 PublishedField("btnCancel", &F::btnCancel),
                                 PublishedField("btnBrowse", &F::btnBrowse),
                                 PublishedField("AvPathDialog1", &F::AvPathDialog1),
                             },
                             {
                                 PublishedMethod("FormShow", &F::FormShow),
                                 PublishedMethod("Edit1Change", &F::Edit1Change),
                                 PublishedMethod("btnOkClick", &F::btnOkClick),
                                 PublishedMethod("btnBrowseClick", &F::btnBrowseClick),
                             });
    }
} registration;

} // namespace

} // namespace libconfig
