// The draw panel.
#include "libconfig/DrawPanel.h"

namespace libconfig {

void TDrawPanel::Paint() {
    TCustomPanel::Paint();
    if (OnPaint) OnPaint(this);
}

} // namespace libconfig
