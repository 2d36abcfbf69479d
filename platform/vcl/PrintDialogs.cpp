// The printer-setup dialog, built as a form over the printer object and the window system's
// printer list and paper table.
#include "vcl/PrintDialogs.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/DialogBuilding.h"
#include "vcl/ListCtrls.h"
#include "vcl/Printers.h"
#include "vcl/StdCtrls.h"

#include <memory>

namespace vcl {

using namespace win;

namespace {

// A sheet standing or lying, with a letter on it, as the orientation buttons choose.
class TOrientationImage : public TGraphicControl {
public:
    explicit TOrientationImage(TComponent* AOwner) : TGraphicControl(AOwner) {}
    void SetLandscape(bool Value) {
        FLandscape = Value;
        Invalidate();
    }

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        int w = FLandscape ? 40 : 30, h = FLandscape ? 30 : 40;
        int x = (Width() - w) / 2, y = (Height() - h) / 2, fold = 8;
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetColor(clWhite);
        c->Polygon({Point(x, y), Point(x + w - fold, y), Point(x + w - 1, y + fold), Point(x + w - 1, y + h - 1),
                    Point(x, y + h - 1)});
        c->Polyline({Point(x + w - fold, y), Point(x + w - fold, y + fold), Point(x + w - 1, y + fold)});
        c->Font()->SetName("Times New Roman");
        c->Font()->SetHeight(-20);
        c->Font()->SetStyle(fsBold);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        win::SIZE size = c->TextExtent("A");
        c->TextOut(x + (w - size.cx) / 2, y + (h - size.cy) / 2, "A");
    }

private:
    bool FLandscape = false;
};

} // namespace

bool TPrinterSetupDialog::Execute() {
    TPrinter* printer = Printer();
    std::string device, port;
    DEVMODE dm;
    printer->GetPrinter(device, port, dm);
    rtl::TStrings* printers = printer->Printers();

    auto form = std::unique_ptr<TForm>(Make<TForm>(Application));
    TComboBox *printerBox, *paperBox;
    TLabel* where;
    TRadioButton *portrait, *landscape;
    TOrientationImage* image;
    std::vector<WORD> papers;
    {
        TLoadingBracket loading(form.get());
        SetUpDialogForm(form.get(), "PrintSetupDlg", "Print Setup", 400, 194);
        form->SetHelpContext(FHelpContext);

        auto* group = AddControl<TGroupBox>(form.get(), form.get(), "PrinterGroup", 8, 6, 384, 74);
        group->SetCaption("Printer");
        printerBox = AddControl<TComboBox>(form.get(), group, "PrinterBox", 64, 18, 308, 21);
        printerBox->SetStyle(TComboBoxStyle::csDropDownList);
        AddLabel(form.get(), group, "NameLabel", "&Name:", 12, 22)->SetFocusControl(printerBox);
        AddLabel(form.get(), group, "WhereLabel", "Where:", 12, 50);
        where = AddLabel(form.get(), group, "WhereText", "", 64, 50);

        group = AddControl<TGroupBox>(form.get(), form.get(), "PaperGroup", 8, 88, 220, 66);
        group->SetCaption("Paper");
        paperBox = AddControl<TComboBox>(form.get(), group, "PaperBox", 48, 18, 160, 21);
        paperBox->SetStyle(TComboBoxStyle::csDropDownList);
        AddLabel(form.get(), group, "SizeLabel", "Si&ze:", 12, 22)->SetFocusControl(paperBox);

        group = AddControl<TGroupBox>(form.get(), form.get(), "OrientationGroup", 236, 88, 156, 66);
        group->SetCaption("Orientation");
        image = AddControl<TOrientationImage>(form.get(), group, "OrientationImage", 8, 16, 44, 44);
        portrait = AddControl<TRadioButton>(form.get(), group, "PortraitButton", 60, 18, 88, 17);
        portrait->SetCaption("P&ortrait");
        landscape = AddControl<TRadioButton>(form.get(), group, "LandscapeButton", 60, 40, 88, 17);
        landscape->SetCaption("L&andscape");

        AddOkCancel(form.get(), Point(236, 162), Point(317, 162), 75, 24);
    }

    // The papers are the chosen printer's; a paper it lacks falls back to its first.
    auto fillPapers = [&](int index, short chosen) {
        std::string name = printers->Strings(index);
        name = name.substr(0, name.rfind(" on "));
        int n = DeviceCapabilities(name.c_str(), nullptr, DC_PAPERS, nullptr, nullptr);
        papers.assign(std::size_t(std::max(0, n)), 0);
        std::vector<char> names(papers.size() * 64);
        if (n > 0) {
            DeviceCapabilities(name.c_str(), nullptr, DC_PAPERS, papers.data(), nullptr);
            DeviceCapabilities(name.c_str(), nullptr, DC_PAPERNAMES, names.data(), nullptr);
        }
        paperBox->Items()->Clear();
        int at = 0;
        for (std::size_t i = 0; i < papers.size(); ++i) {
            paperBox->Items()->Add(std::string(names.data() + i * 64));
            if (short(papers[i]) == chosen) at = int(i);
        }
        paperBox->SetItemIndex(papers.empty() ? -1 : at);
        std::string line = printers->Strings(index);
        where->SetCaption(line.substr(std::min(line.size(), name.size() + 4)));
    };
    for (int i = 0; i < printers->Count(); ++i) printerBox->Items()->Add(printers->Strings(i));
    printerBox->SetItemIndex(printer->PrinterIndex());
    fillPapers(printer->PrinterIndex(), dm.dmPaperSize);
    printerBox->OnChange = [&](TObject*) {
        short chosen = paperBox->ItemIndex() >= 0 ? short(papers[std::size_t(paperBox->ItemIndex())]) : 0;
        fillPapers(printerBox->ItemIndex(), chosen);
    };
    bool lying = dm.dmOrientation == DMORIENT_LANDSCAPE;
    (lying ? landscape : portrait)->SetChecked(true);
    image->SetLandscape(lying);
    portrait->OnClick = [&](TObject*) { image->SetLandscape(false); };
    landscape->OnClick = [&](TObject*) { image->SetLandscape(true); };

    if (form->ShowModal() != mrOk) return false;
    std::string name = printers->Strings(printerBox->ItemIndex());
    name = name.substr(0, name.rfind(" on "));
    DEVMODE chosen;
    chosen.dmFields = DM_ORIENTATION;
    chosen.dmOrientation = landscape->Checked() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    if (paperBox->ItemIndex() >= 0) {
        chosen.dmFields |= DM_PAPERSIZE;
        chosen.dmPaperSize = short(papers[std::size_t(paperBox->ItemIndex())]);
    }
    printer->SetPrinter(name, port, chosen);
    return true;
}

} // namespace vcl
