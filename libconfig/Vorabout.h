// Vorl's about window: the product's name and version on a framed panel with the program's icon,
// laid out by its form file Vorabout.dfm. Implementations in Vorabout.cpp.
#pragma once

#include "libconfig/LuLabel.h"

#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace libconfig {

class TfrmAbout : public vcl::TForm {
public:
    explicit TfrmAbout(vcl::TComponent* AOwner);

    vcl::TPanel* Panel1 = nullptr;
    TLuLabel* LuLabel1 = nullptr;
    TLuLabel* lblVersion = nullptr;
    vcl::TLabel* lblFreeware = nullptr;
    vcl::TImage* Image1 = nullptr;
    vcl::TButton* OKButton = nullptr;

    void FormCreate(vcl::TObject* Sender);
};

} // namespace libconfig
