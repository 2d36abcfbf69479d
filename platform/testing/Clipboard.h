// The clipboard's text for the tests of cut, copy and paste, read and put through the window
// system as another program would. Header only.
#pragma once

#include "win/Windows.h"

#include <cstring>
#include <string>

namespace testing_support {

// What the clipboard holds as text; "<closed>" when it cannot be opened, so that a test which
// left it open says so in its failure.
inline std::string ClipboardText() {
    std::string text;
    if (!win::OpenClipboard(nullptr)) return "<closed>";
    if (win::HGLOBAL mem = win::GetClipboardData(win::CF_TEXT)) {
        text = static_cast<const char*>(win::GlobalLock(mem));
        win::GlobalUnlock(mem);
    }
    win::CloseClipboard();
    return text;
}

inline void SetClipboardText(const std::string& Text) {
    win::HGLOBAL mem = win::GlobalAlloc(win::GMEM_MOVEABLE, Text.size() + 1);
    std::memcpy(win::GlobalLock(mem), Text.c_str(), Text.size() + 1);
    win::GlobalUnlock(mem);
    win::OpenClipboard(nullptr);
    win::EmptyClipboard();
    win::SetClipboardData(win::CF_TEXT, mem);
    win::CloseClipboard();
}

} // namespace testing_support
