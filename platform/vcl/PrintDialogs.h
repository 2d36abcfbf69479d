// The printer-setup dialog: a modal window to choose the printer, the paper and the orientation
// that the printer keeps for its next jobs. Implementations in PrintDialogs.cpp.
#pragma once

#include "vcl/Forms.h"

namespace vcl {

// The window is made for each Execute: "Print Setup", a "Printer" group with the printer box
// ("PrinterBox") and its port, a "Paper" group with the paper box ("PaperBox"), an "Orientation"
// group with "Portrait" and "Landscape" ("PortraitButton", "LandscapeButton"), OK and Cancel.
class TPrinterSetupDialog : public TComponent {
public:
    explicit TPrinterSetupDialog(TComponent* AOwner) : TComponent(AOwner) {}

    // OK puts the choice into Printer() and answers true; Cancel changes nothing.
    virtual bool Execute();

    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

private:
    int FHelpContext = 0;
};

} // namespace vcl
