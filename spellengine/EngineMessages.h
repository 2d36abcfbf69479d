// The one way the spell engine shows the user a message: an error box with an OK button. The
// dialogs bind it to their message box; tests replace it to record what would be shown.
// Implementations in EngineMessages.cpp.
#pragma once

#include <functional>
#include <string>

namespace spellengine {

// Text is in the ANSI code page.
using TEngineMessageProc = std::function<void(const std::string& Text)>;

// Installs Proc (none restores the default, which writes to standard error) and returns the
// previous one.
TEngineMessageProc SetEngineMessageProc(TEngineMessageProc Proc);
void EngineMessage(const std::string& Text);

} // namespace spellengine
