// The main window: the library's export shows it modally, and its buttons start a run of the
// check (ProjectCheck.h), which it holds; its layout is its form file QuilloMain.dfm.
// Implementations in QuilloMain.cpp.
#pragma once

#include "spellexpert/ProjectCheck.h"

#include "host/ToolServices.h"
#include "vcl/ButtonCtrls.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/FileDialogs.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <memory>

namespace spellexpert {

class TfrmOptions;
class TIDESpeller;

class TMainForm : public vcl::TForm {
public:
    explicit TMainForm(vcl::TComponent* AOwner);
    ~TMainForm() override;
    void AfterConstruction() override;

    void FormCreate(vcl::TObject* Sender);
    void FormShow(vcl::TObject* Sender);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
    void FormResize(vcl::TObject* Sender);
    void btnCheckStringsClick(vcl::TObject* Sender);
    void btnCheckCommentsClick(vcl::TObject* Sender);
    void btnOptionsClick(vcl::TObject* Sender);
    void btnCancelClick(vcl::TObject* Sender);
    void btnHtlpClick(vcl::TObject* Sender);

    // Writes the options and the IDE's names of the moment to the settings file.
    void WriteSettings();
    // The editor and options windows and the unit list, made each time the window is shown.
    void FreeShowingWindows();

    // The run the buttons start, with the IDE's names of the last one.
    const TProjectCheck& Check() const { return FCheck; }
    TfrmOptions* OptionsWindow() const { return FOptions.get(); }
    TIDESpeller* Speller() const { return FSpeller.get(); }

    vcl::TPanel* pnlMain = nullptr;
    vcl::TImage* Image1 = nullptr;
    vcl::TBitBtn* btnCheckStrings = nullptr;
    vcl::TBitBtn* btnCheckComments = nullptr;
    vcl::TCheckBox* cbProject = nullptr;
    vcl::TPanel* pnlButtons = nullptr;
    vcl::TBitBtn* btnOptions = nullptr;
    vcl::TBitBtn* btnCancel = nullptr;
    vcl::TBitBtn* btnHtlp = nullptr;
    vcl::TOpenDialog* OpenDialog1 = nullptr;

private:
    void Run(int Mode);

    TProjectCheck FCheck;
    std::unique_ptr<TfrmOptions> FOptions;
    std::unique_ptr<TIDESpeller> FSpeller;
};

// The export's work: made on the first call, the main window is shown modally on every call;
// the result is its modal result.
int QuilloCheck(host::TIToolServices* Services);
// Frees the main window (the library going away, or a test done with it).
void DoneQuillo();
TMainForm* MainForm();

} // namespace spellexpert
