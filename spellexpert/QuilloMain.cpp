#include "spellexpert/QuilloMain.h"

#include "spellexpert/QuilloOptions.h"
#include "spellexpert/Settings.h"

#include "rtl/Files.h"
#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/Dialogs.h"

namespace spellexpert {

using namespace vcl;

host::TIToolServices* ToolServices = nullptr;

namespace {

TMainForm* TheMainForm = nullptr;

template <class T>
T* Add(TForm* Form, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height) {
    auto* c = new T(Form);
    c->SetName(Name);
    c->SetParent(Parent);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

} // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
    {
        TLoadingBracket loading(this);
        SetName("MainForm");
        SetCaption("Quillo Checking Expert");
        SetBorderStyle(TFormBorderStyle::bsDialog);
        SetBorderIcons(0);
        SetPosition(TPosition::poScreenCenter);
        Font()->SetName("MS Sans Serif");
        Font()->SetHeight(-11);
        Font()->SetStyle(fsBold);
        SetClientSize(320, 172);

        pnlButtons = Add<TPanel>(this, this, "pnlButtons", 0, 130, 320, 42);
        pnlButtons->SetAlign(TAlign::alBottom);
        pnlButtons->SetCaption("");
        btnOptions = Add<TBitBtn>(this, pnlButtons, "btnOptions", 8, 7, 96, 28);
        btnOptions->SetCaption("Options");
        btnCancel = Add<TBitBtn>(this, pnlButtons, "btnCancel", 112, 7, 96, 28);
        btnCancel->SetKind(TBitBtnKind::bkCancel);
        btnCancel->SetCaption("Close");
        btnCancel->SetModalResult(mrCancel);
        btnHtlp = Add<TBitBtn>(this, pnlButtons, "btnHtlp", 216, 7, 96, 28);
        btnHtlp->SetKind(TBitBtnKind::bkHelp);
        btnHtlp->SetCaption("Help");

        pnlMain = Add<TPanel>(this, this, "pnlMain", 0, 0, 320, 130);
        pnlMain->SetAlign(TAlign::alClient);
        pnlMain->SetCaption("");
        Image1 = Add<TImage>(this, pnlMain, "Image1", 16, 16, 32, 32);
        Image1->SetTransparent(true);
        Image1->Picture()->Bitmap()->LoadFromResourceName(nullptr, "QUILLO");
        btnCheckStrings = Add<TBitBtn>(this, pnlMain, "btnCheckStrings", 96, 12, 212, 30);
        btnCheckStrings->SetCaption("Spell Check Strings");
        btnCheckStrings->SetModalResult(mrOk);
        btnCheckComments = Add<TBitBtn>(this, pnlMain, "btnCheckComments", 96, 50, 212, 30);
        btnCheckComments->SetCaption("Spell Check Comments");
        btnCheckComments->SetModalResult(mrOk);
        cbProject = Add<TCheckBox>(this, pnlMain, "cbProject", 96, 96, 212, 17);
        cbProject->SetCaption("Check Entire Project");
        cbProject->SetChecked(true);

        OpenDialog1 = new TOpenDialog(this);
        OpenDialog1->SetName("OpenDialog1");
        OpenDialog1->SetDefaultExt("PAS");
        OpenDialog1->SetFilter("Pascal Files (*.pa?)|*.pa?|Include Files (*.in?)|*.in?|Project Files (*.dpr)|*.dpr");
    }

    btnCheckStrings->OnClick = [this](TObject* s) { btnCheckStringsClick(s); };
    btnCheckComments->OnClick = [this](TObject* s) { btnCheckCommentsClick(s); };
    btnOptions->OnClick = [this](TObject* s) { btnOptionsClick(s); };
    btnCancel->OnClick = [this](TObject* s) { btnCancelClick(s); };
    btnHtlp->OnClick = [this](TObject* s) { btnHtlpClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnResize = [this](TObject* s) { FormResize(s); };
    FormCreate(this);
    FormResize(this);
}

TMainForm::~TMainForm() {
    if (TheMainForm == this) TheMainForm = nullptr;
}

void TMainForm::FormCreate(TObject*) {
    FProjectFile.clear();
    FCurrentFile.clear();
}

void TMainForm::FormShow(TObject*) {
    // Made anew each showing, so the settings file is read again.
    FOptions = std::make_unique<TfrmOptions>(nullptr);
}

void TMainForm::FormClose(TObject*, TCloseAction&) { FOptions.reset(); }

void TMainForm::FormResize(TObject*) {
    Canvas()->Font()->Assign(Font());
    int width = Canvas()->TextWidth(cbProject->Caption()) + 20;
    cbProject->SetWidth(width);
    cbProject->SetLeft(btnCheckStrings->Left() + btnCheckStrings->Width() - width);
}

void TMainForm::btnCheckStringsClick(TObject*) { Run(0); }

void TMainForm::btnCheckCommentsClick(TObject*) { Run(1); }

void TMainForm::Run(int Mode) {
    if (!PrepareIDE()) return; // the button's modal result 1 closes the window
    Hide();
    FCheckMode = Mode;
    // Whatever ends the walk, the IDE gets its project and file back.
    try {
        CheckFiles();
    } catch (...) {
        RestoreIDE();
        SetModalResult(mrCancel);
        throw;
    }
    RestoreIDE();
    SetModalResult(mrCancel);
}

bool TMainForm::PrepareIDE() {
    FPrepared = false;
    if (!ToolServices) return true;
    FCurrentFile = ToolServices->GetCurrentFile();
    FProjectFile = ToolServices->GetProjectName();
    if (FProjectFile.empty()) {
        MessageDlg(NoProjectMessage, TMsgDlgType::mtError, mbOK | mbHelp, MainHelpContext);
        return false;
    }
    ToolServices->SaveProject();
    FCurrentFile = ToolServices->GetCurrentFile();
    FProjectFile = ToolServices->GetProjectName();
    FSourceFile = FCurrentFile.empty() ? std::string() : rtl::ChangeFileExt(FCurrentFile, ".PAS");
    // Saved while the IDE still holds it: after the close it has nothing to save.
    if (!FCurrentFile.empty()) ToolServices->SaveFile(FCurrentFile);
    ToolServices->CloseProject();
    FPrepared = true;
    return true;
}

void TMainForm::CheckFiles() {
    FSourceFile = FCurrentFile.empty() ? std::string() : rtl::ChangeFileExt(FCurrentFile, ".PAS");
    if (!cbProject->Checked() && !FSourceFile.empty() && !rtl::FileExists(FSourceFile)) FSourceFile = FCurrentFile;
}

void TMainForm::RestoreIDE() {
    if (!ToolServices || !FPrepared) return;
    FPrepared = false;
    if (!FProjectFile.empty()) ToolServices->OpenProject(FProjectFile);
    if (!FCurrentFile.empty()) {
        if (rtl::UpperCase(rtl::ExtractFileExt(FCurrentFile)) == ".DFM") {
            if (!FSourceFile.empty()) ToolServices->OpenFile(FSourceFile);
        } else {
            ToolServices->OpenFile(FCurrentFile);
        }
    }
}

void TMainForm::WriteSettings() {
    if (ToolServices) {
        FCurrentFile = ToolServices->GetCurrentFile();
        FProjectFile = ToolServices->GetProjectName();
    }
    spellexpert::WriteSettings(FProjectFile, FCurrentFile);
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
        TheMainForm = new TMainForm(Application);
    }
    return TheMainForm->ShowModal();
}

void DoneQuillo() {
    delete TheMainForm;
    TheMainForm = nullptr;
    ToolServices = nullptr;
}

TMainForm* MainForm() { return TheMainForm; }

std::string BackupName(const std::string& FileName) {
    std::string ext = rtl::ExtractFileExt(FileName).substr(0, 4);
    if (ext.empty()) return FileName;
    ext.insert(1, "~");
    return FileName.substr(0, FileName.size() - rtl::ExtractFileExt(FileName).size()) + ext.substr(0, 4);
}

bool BackupFile(const std::string& FileName) { return rtl::CopyFile(FileName, BackupName(FileName), false); }

std::string IncludeFileOf(const std::string& Line, const std::string& Folder) {
    std::string line = Line.substr(0, 255);
    std::string upper = rtl::UpperCase(line);
    std::size_t start = std::string::npos;
    for (const char* directive : {"{$I ", "{$INCLUDE "}) {
        std::size_t at = upper.find(directive);
        if (at != std::string::npos && at < start) start = at + std::string(directive).size();
    }
    if (start == std::string::npos) return {};
    std::size_t end = line.find('}', start);
    std::string name;
    for (std::size_t i = start; i < line.size() && i < end; ++i)
        if (line[i] != ' ') name += line[i];
    if (name.empty()) return {};
    bool ownFolder = name.find_first_of("\\/:") != std::string::npos;
    return ownFolder ? name : Folder + name;
}

std::string ProjectUnitOf(const std::string& Line, std::string_view Attrs, const std::string& Folder) {
    std::string line = Line.substr(0, 255);
    std::size_t quote = line.find('\'');
    if (quote == std::string::npos) return {};
    // A quote inside a comment names nothing.
    if (!Attrs.empty() && (quote + 1 >= Attrs.size() || Attrs[quote + 1] != 's')) return {};
    std::size_t close = line.find('\'', quote + 1);
    if (close == std::string::npos) return {};
    std::string name = line.substr(quote + 1, close - quote - 1);
    if (name.empty()) return {};
    if (!rtl::FileExists(name) && name.find_first_of("\\/:") == std::string::npos) name = Folder + name;
    return name;
}

} // namespace spellexpert
