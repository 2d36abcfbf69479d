// The draw panel.
#include "libconfig/DrawPanel.h"

namespace libconfig {

void TDrawPanel::Paint() {
    vcl::TCustomPanel::Paint();
    if (OnPaint) OnPaint(this);
}

} // namespace libconfig
