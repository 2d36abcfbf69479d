// A panel that lets its owner paint over it. Implementations in DrawPanel.cpp.
#pragma once

#include "vcl/ExtCtrls.h"

namespace libconfig {

class TDrawPanel : public vcl::TCustomPanel {
public:
    using vcl::TCustomPanel::TCustomPanel;
    // Runs after the panel has drawn itself, with the panel as sender.
    vcl::TNotifyEvent OnPaint;
    using vcl::TCustomControl::Canvas;

protected:
    void Paint() override;
};

} // namespace libconfig
