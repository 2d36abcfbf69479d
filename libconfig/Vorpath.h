// The path-edit window: adds or changes one folder of the search path, refusing a folder that
// does not exist. Implementations in Vorpath.cpp.
#pragma once

#include "libconfig/Avpdlg.h"

#include "vcl/EditCtrls.h"
#include "vcl/Forms.h"

namespace libconfig {

class TfrmPathEdit : public vcl::TForm {
public:
    explicit TfrmPathEdit(vcl::TComponent* AOwner);

    // Set by the caller before showing: true to change an entry, false to add one.
    bool ChangeMode() const { return FChangeMode; }
    void SetChangeMode(bool Value) { FChangeMode = Value; }

    vcl::TEdit* Edit1 = nullptr;
    vcl::TButton* btnOk = nullptr;
    vcl::TButton* btnCancel = nullptr;
    vcl::TButton* btnBrowse = nullptr;
    TAvPathDialog* AvPathDialog1 = nullptr;

    void FormShow(vcl::TObject* Sender);
    void Edit1Change(vcl::TObject* Sender);
    void btnOkClick(vcl::TObject* Sender);
    void btnBrowseClick(vcl::TObject* Sender);

private:
    bool FChangeMode = false;
};

} // namespace libconfig
