// The draw panel.
#include "libconfig/DrawPanel.h"

#include "vcl/StoredControls.h"

namespace libconfig {

void TDrawPanel::Paint() {
    vcl::TCustomPanel::Paint();
    if (OnPaint) OnPaint(this);
}

namespace {

struct TRegistration {
    TRegistration() {
        using namespace vcl;
        using D = TDrawPanel;
        RegisterClass<D>("TDrawPanel", "", With<D>(PanelProperties<D>(), {EventProperty<D>("OnPaint", &D::OnPaint)}));
    }
} registration;

} // namespace

} // namespace libconfig
