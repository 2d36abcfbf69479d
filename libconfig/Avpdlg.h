// The folder picker: a component that runs a small window with a drive box and a folder tree and
// hands back the folder chosen. Implementations in Avpdlg.cpp.
#pragma once

#include "vcl/ExtCtrls.h"
#include "vcl/FileCtrls.h"
#include "vcl/Forms.h"

#include <memory>
#include <string>

namespace libconfig {

enum class TPathDialogPosition { posDesigned, posScreenCenter };

// The picker's window, made for one Execute; laid out by its form file Avpdlg.dfm.
class TdialogPath : public vcl::TForm {
public:
    explicit TdialogPath(vcl::TComponent* AOwner);

    // The folder the picker stands for: the current folder of the current drive at first, the
    // folder list's on OK.
    const std::string& Path() const { return FPath; }
    void SetPath(const std::string& Value);
    bool FixedOnly() const { return FFixedOnly; }
    void SetFixedOnly(bool Value) { FFixedOnly = Value; }

    vcl::TPanel* Panel1 = nullptr;
    vcl::TLabel* Label1 = nullptr;
    vcl::TLabel* lblPath = nullptr;
    vcl::TDirectoryListBox* dlbPath = nullptr;
    vcl::TLabel* Label2 = nullptr;
    vcl::TDriveComboBox* dcbPathDrv = nullptr;
    vcl::TButton* btnOk = nullptr;
    vcl::TButton* btnCancel = nullptr;

    void FormCreate(vcl::TObject* Sender);
    void OnDcbPathDrvChange(vcl::TObject* Sender);
    void btnOkClick(vcl::TObject* Sender);

private:
    std::string FPath;
    bool FFixedOnly = false;
};

class TAvPathDialog : public vcl::TComponent {
public:
    explicit TAvPathDialog(vcl::TComponent* AOwner);
    ~TAvPathDialog() override;

    // Runs the picker modally; true when it was closed with OK. Path takes the picker's folder
    // whichever way it closed.
    bool Execute();

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    const std::string& Path() const { return FPath; }
    void SetPath(const std::string& Value) { FPath = Value; }
    int DialogTop() const { return FDialogTop; }
    void SetDialogTop(int Value);
    int DialogLeft() const { return FDialogLeft; }
    void SetDialogLeft(int Value);
    vcl::TFont* Font() const { return FFont.get(); }
    // Takes a copy of Value; the font is then the component's own.
    void SetFont(vcl::TFont* Value);
    TPathDialogPosition Position() const { return FPosition; }
    void SetPosition(TPathDialogPosition Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    bool FixedOnly() const { return FFixedOnly; }
    void SetFixedOnly(bool Value) { FFixedOnly = Value; }

private:
    void CopyOwnerFont();

    std::string FCaption = " Select Path";
    std::string FPath;
    int FDialogTop = 0;
    int FDialogLeft = 0;
    std::unique_ptr<vcl::TFont> FFont;
    TPathDialogPosition FPosition = TPathDialogPosition::posScreenCenter;
    bool FParentFont = true;
    bool FFixedOnly = false;
};

} // namespace libconfig
