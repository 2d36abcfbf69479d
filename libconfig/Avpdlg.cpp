// The folder picker and its window.
#include "libconfig/Avpdlg.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "vcl/Streaming.h"

#include <cctype>

namespace libconfig {

using namespace vcl;

namespace {

char Upper(char C) { return char(std::toupper(static_cast<unsigned char>(C))); }

} // namespace

// --- TdialogPath ------------------------------------------------------------------------------

// Laid out by its form file, Avpdlg.dfm.
TdialogPath::TdialogPath(TComponent* AOwner) : TForm(AOwner) {}

void TdialogPath::FormCreate(TObject*) { SetPath(rtl::GetCurrentDir()); }

void TdialogPath::SetPath(const std::string& Value) {
    if (Value == FPath) return;
    FPath = Value;
    if (Value.empty()) return;
    dcbPathDrv->SetDrive(Value[0]);
    dlbPath->SetDrive(Value[0]);
    // A folder that has gone since it was chosen leaves the list where it stands.
    if (rtl::DirectoryExists(Value)) dlbPath->SetDirectory(Value);
}

void TdialogPath::OnDcbPathDrvChange(TObject*) {
    char drive = Upper(dcbPathDrv->Drive());
    if (FFixedOnly && (drive == 'A' || drive == 'B')) {
        char kept = FPath.empty() ? dlbPath->Drive() : FPath[0];
        dcbPathDrv->SetDrive(kept);
        dlbPath->SetDrive(kept);
        return;
    }
    dlbPath->SetDrive(drive);
}

void TdialogPath::btnOkClick(TObject*) { FPath = dlbPath->Directory(); }

// --- TAvPathDialog -----------------------------------------------------------------------------

TAvPathDialog::TAvPathDialog(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    CopyOwnerFont();
}

TAvPathDialog::~TAvPathDialog() = default;

void TAvPathDialog::CopyOwnerFont() {
    if (auto* window = dynamic_cast<TControl*>(Owner())) FFont->Assign(window->Font());
}

void TAvPathDialog::SetDialogTop(int Value) {
    FDialogTop = Value;
    FPosition = TPathDialogPosition::posDesigned;
}

void TAvPathDialog::SetDialogLeft(int Value) {
    FDialogLeft = Value;
    FPosition = TPathDialogPosition::posDesigned;
}

void TAvPathDialog::SetPosition(TPathDialogPosition Value) {
    FPosition = Value;
    FDialogTop = 0;
    FDialogLeft = 0;
}

void TAvPathDialog::SetFont(TFont* Value) {
    FFont->Assign(Value);
    FParentFont = false;
}

void TAvPathDialog::SetParentFont(bool Value) {
    if (Value && !FParentFont) CopyOwnerFont();
    FParentFont = Value;
}

bool TAvPathDialog::Execute() {
    std::unique_ptr<TdialogPath> picker(Make<TdialogPath>(Application));
    if (FParentFont) CopyOwnerFont();
    picker->Font()->Assign(FFont.get());
    picker->SetCaption(FCaption);
    picker->SetFixedOnly(FFixedOnly);
    if (!FPath.empty()) picker->SetPath(FPath);
    if (FPosition == TPathDialogPosition::posScreenCenter) {
        picker->SetPosition(TPosition::poScreenCenter);
    } else {
        picker->SetPosition(TPosition::poDesigned);
        picker->SetBounds(FDialogLeft, FDialogTop, picker->Width(), picker->Height());
    }
    bool ok = picker->ShowModal() == mrOk;
    FPath = picker->Path();
    return ok;
}

namespace {

struct TPickerRegistration {
    TPickerRegistration() {
        using F = TdialogPath;
        RegisterFormClass<F>("TdialogPath", "TForm",
                             {
                                 PublishedField("Panel1", &F::Panel1),
                                 PublishedField("Label1", &F::Label1),
                                 PublishedField("lblPath", &F::lblPath),
                                 PublishedField("dlbPath", &F::dlbPath),
                                 PublishedField("Label2", &F::Label2),
                                 PublishedField("dcbPathDrv", &F::dcbPathDrv),
                                 PublishedField("btnOk", &F::btnOk),
                                 PublishedField("btnCancel", &F::btnCancel),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("OnDcbPathDrvChange", &F::OnDcbPathDrvChange),
                                 PublishedMethod("btnOkClick", &F::btnOkClick),
                             });
    }
} pickerRegistration;

struct TRegistration {
    TRegistration() {
        using D = TAvPathDialog;
        RegisterClass<D>("TAvPathDialog", "", {
            StringProperty<D>("Caption", &D::Caption, &D::SetCaption),
            StringProperty<D>("Path", &D::Path, &D::SetPath),
            // Position is read first: setting it clears the place the two after it give.
            EnumProperty<D>("Position", &D::Position, &D::SetPosition, {"posDesigned", "posScreenCenter"})
                .WithDefault(int(TPathDialogPosition::posScreenCenter)),
            IntegerProperty<D>("DialogTop", &D::DialogTop, &D::SetDialogTop).WithDefault(0),
            IntegerProperty<D>("DialogLeft", &D::DialogLeft, &D::SetDialogLeft).WithDefault(0),
            ClassProperty<D>("Font", &D::Font).StoredWhen([](TPersistent* O) { return !static_cast<D*>(O)->ParentFont(); }),
            BooleanProperty<D>("ParentFont", &D::ParentFont, &D::SetParentFont).WithDefault(1),
            BooleanProperty<D>("FixedOnly", &D::FixedOnly, &D::SetFixedOnly).WithDefault(0),
        });
    }
} registration;

} // namespace

} // namespace libconfig
