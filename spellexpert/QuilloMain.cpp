#include "spellexpert/QuilloMain.h"

#include "spellexpert/IDESpeller.h"
#include "spellexpert/QuilloOptions.h"
#include "spellexpert/Settings.h"
#include "spellexpert/SyntaxColour.h"

#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/ScopeGuards.h"
#include "vcl/Streaming.h"

namespace spellexpert {

using namespace vcl;

host::TIToolServices* ToolServices = nullptr;

namespace {

TMainForm* TheMainForm = nullptr;

} // namespace

// Laid out by its form file, QuilloMain.dfm.
TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {}

void TMainForm::AfterConstruction() {
    TForm::AfterConstruction();
    // A dialog frame gets no first size of its own: its resize rule runs once it is made.
    if (!IsDesigning()) FormResize(this);
}

TMainForm::~TMainForm() {
    if (TheMainForm == this) TheMainForm = nullptr;
}

void TMainForm::FormCreate(TObject*) { FCheck.ClearNames(); }

void TMainForm::FormShow(TObject*) {
    FSpeller.reset(Make<TIDESpeller>(nullptr));
    // Made anew each showing, so the settings file is read again.
    FOptions.reset(Make<TfrmOptions>(nullptr));
    FCheck.SetWindows(FSpeller.get(), OpenDialog1);
}

void TMainForm::FormClose(TObject*, TCloseAction&) { FreeShowingWindows(); }

void TMainForm::FreeShowingWindows() {
    FCheck.SetWindows(nullptr, nullptr);
    FOptions.reset();
    FSpeller.reset();
}

void TMainForm::FormResize(TObject*) {
    Canvas()->Font()->Assign(Font());
    int width = Canvas()->TextWidth(cbProject->Caption()) + 20;
    cbProject->SetWidth(width);
    cbProject->SetLeft(btnCheckStrings->Left() + btnCheckStrings->Width() - width);
}

void TMainForm::btnCheckStringsClick(TObject*) { Run(0); }

void TMainForm::btnCheckCommentsClick(TObject*) { Run(1); }

void TMainForm::Run(int Mode) {
    if (!FCheck.PrepareIDE()) return; // the button's modal result 1 closes the window
    Hide();
    // The selected word is drawn in the style of the text around it.
    AttributeRecord('h').Style = FindAttribute(Mode == 0 ? 's' : 'c').Style;
    // Whatever ends the walk, the dictionary is closed, the windows are hidden and the IDE gets
    // its project and file back before an error is reported.
    rtl::TScopeExit ended([this] {
        FCheck.EndRun();
        FCheck.RestoreIDE();
        SetModalResult(mrCancel);
    });
    if (FCheck.PlaceWindows()) FCheck.CheckFiles(Mode, cbProject->Checked());
}

void TMainForm::WriteSettings() {
    FCheck.ReadIDENames();
    spellexpert::WriteSettings(FCheck.ProjectFile(), FCheck.CurrentFile());
}

void TMainForm::btnOptionsClick(TObject*) {
    if (FOptions && FOptions->ShowModal() == mrOk) WriteSettings();
}

void TMainForm::btnCancelClick(TObject*) { Close(); }

void TMainForm::btnHtlpClick(TObject*) { Application->HelpContext(MainHelpContext); }

int QuilloCheck(host::TIToolServices* Services) {
    if (!TheMainForm) {
        ToolServices = Services;
        if (ToolServices)
            Application->SetHandle(reinterpret_cast<win::HWND>(ToolServices->GetParentHandle()));
        Application->SetHelpFile(rtl::ExtractFilePath(rtl::GetModuleFileName()) + "QUILLO.HLP");
        // Owned by the library's application, so it goes when the library is unloaded.
        TheMainForm = Make<TMainForm>(Application);
    }
    rtl::TScopeExit release([] {
        // Not left for the library's unloading, when the window system's state may be gone.
        TheMainForm->FreeShowingWindows();
    });
    const int result = TheMainForm->ShowModal();
    release.Dismiss();
    return result;
}

void DoneQuillo() {
    delete TheMainForm;
    TheMainForm = nullptr;
    ToolServices = nullptr;
}

TMainForm* MainForm() { return TheMainForm; }

namespace {

struct TMainFormRegistration {
    TMainFormRegistration() {
        using F = TMainForm;
        RegisterFormClass<F>("TMainForm", "TForm",
                             {
                                 PublishedField("pnlMain", &F::pnlMain),
                                 PublishedField("Image1", &F::Image1),
                                 PublishedField("btnCheckStrings", &F::btnCheckStrings),
                                 PublishedField("btnCheckComments", &F::btnCheckComments),
                                 PublishedField("cbProject", &F::cbProject),
                                 PublishedField("pnlButtons", &F::pnlButtons),
                                 PublishedField("btnOptions", &F::btnOptions),
                                 PublishedField("btnCancel", &F::btnCancel),
                                 PublishedField("btnHtlp", &F::btnHtlp),
                                 PublishedField("OpenDialog1", &F::OpenDialog1),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("FormShow", &F::FormShow),
                                 PublishedMethod("FormClose", &F::FormClose),
                                 PublishedMethod("FormResize", &F::FormResize),
                                 PublishedMethod("btnCheckStringsClick", &F::btnCheckStringsClick),
                                 PublishedMethod("btnCheckCommentsClick", &F::btnCheckCommentsClick),
                                 PublishedMethod("btnOptionsClick", &F::btnOptionsClick),
                                 PublishedMethod("btnCancelClick", &F::btnCancelClick),
                                 PublishedMethod("btnHtlpClick", &F::btnHtlpClick),
                             });
    }
} registration;

} // namespace

} // namespace spellexpert
