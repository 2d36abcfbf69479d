// The about window, laid out as its stored form has it.
#include "libconfig/Vorabout.h"

namespace libconfig {

using namespace vcl;

TfrmAbout::TfrmAbout(TComponent* AOwner) : TForm(AOwner) {
    TLoadingBracket loading(this);
    SetName("frmAbout");
    SetCaption(" About");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(302, 225);

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(8, 8, 286, 172);
    Panel1->SetBevelInner(TPanelBevel::bvRaised);
    Panel1->SetBevelOuter(TPanelBevel::bvLowered);
    Panel1->SetCaption("");
    Panel1->SetHelpContext(21);

    LuLabel1 = new TLuLabel(this);
    LuLabel1->SetName("LuLabel1");
    LuLabel1->SetParent(Panel1);
    LuLabel1->SetAutoSize(false);
    LuLabel1->SetWordWrap(true);
    LuLabel1->SetBounds(12, 12, 220, 32);
    LuLabel1->Font()->SetColor(clNavy);
    LuLabel1->Font()->SetHeight(-24);
    LuLabel1->Font()->SetName("Arial");
    LuLabel1->Font()->SetStyle(fsBold);
    LuLabel1->SetCaption("Vorl");

    lblVersion = new TLuLabel(this);
    lblVersion->SetName("lblVersion");
    lblVersion->SetParent(Panel1);
    lblVersion->SetAutoSize(false);
    lblVersion->SetAlignment(TAlignment::taRightJustify);
    lblVersion->SetBounds(12, 56, 262, 18);
    lblVersion->Font()->SetColor(clNavy);
    lblVersion->Font()->SetHeight(-13);
    lblVersion->Font()->SetName("Arial");

    lblFreeware = new TLabel(this);
    lblFreeware->SetName("lblFreeware");
    lblFreeware->SetParent(Panel1);
    lblFreeware->SetAutoSize(false);
    lblFreeware->SetWordWrap(true);
    lblFreeware->SetAlignment(TAlignment::taCenter);
    lblFreeware->SetBounds(12, 88, 262, 72);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(Panel1);
    Image1->SetBounds(242, 12, 32, 32);
    Image1->Picture()->Icon()->LoadFromResourceName(nullptr, "MAINICON");

    OKButton = new TButton(this);
    OKButton->SetName("OKButton");
    OKButton->SetParent(this);
    OKButton->SetBounds(113, 190, 75, 25);
    OKButton->SetCaption("&OK");
    OKButton->SetDefault(true);
    OKButton->SetCancel(true);
    OKButton->SetModalResult(mrOk);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
}

void TfrmAbout::FormCreate(TObject*) {
    lblVersion->SetCaption("Version 1.1");
    lblFreeware->SetCaption("");
}

} // namespace libconfig
