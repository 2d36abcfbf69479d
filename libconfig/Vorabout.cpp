// The about window: laid out by its form file (Vorabout.dfm); the texts are set when it is made.
#include "libconfig/Vorabout.h"

#include "vcl/Streaming.h"

namespace libconfig {

using namespace vcl;

// Out of line, so that a module making the window links its registration too.
TfrmAbout::TfrmAbout(TComponent* AOwner) : TForm(AOwner) {}

void TfrmAbout::FormCreate(TObject*) {
    lblVersion->SetCaption("Version 1.1");
    lblFreeware->SetCaption("");
}

namespace {

struct TAboutRegistration {
    TAboutRegistration() {
        using F = TfrmAbout;
        RegisterFormClass<F>("TfrmAbout", "TForm",
                             {
                                 PublishedField("Panel1", &F::Panel1),
                                 PublishedField("LuLabel1", &F::LuLabel1),
                                 PublishedField("lblVersion", &F::lblVersion),
                                 PublishedField("lblFreeware", &F::lblFreeware),
                                 PublishedField("Image1", &F::Image1),
                                 PublishedField("OKButton", &F::OKButton),
                             },
                             {PublishedMethod("FormCreate", &F::FormCreate)});
    }
} registration;

} // namespace

} // namespace libconfig
