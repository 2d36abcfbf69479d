// The path-order window: moves the entries of the search path up and down. Implementations in
// Vororder.cpp.
#pragma once

#include "vcl/ButtonCtrls.h"
#include "vcl/Buttons.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"

namespace libconfig {

class TfrmPathOrder : public vcl::TForm {
public:
    explicit TfrmPathOrder(vcl::TComponent* AOwner);

    vcl::TGroupBox* GroupBox1 = nullptr;
    vcl::TListBox* lbSearchPath = nullptr;
    vcl::TBitBtn* btnUp = nullptr;
    vcl::TBitBtn* btnDown = nullptr;
    vcl::TButton* btnOk = nullptr;
    vcl::TButton* btnCancel = nullptr;

    void FormCreate(vcl::TObject* Sender);
    void btnUpClick(vcl::TObject* Sender);
    void btnDownClick(vcl::TObject* Sender);
    // Swaps the selected entry with its neighbour above (-1) or below (+1), keeping it selected.
    void MoveItem(int Direction);
};

} // namespace libconfig
