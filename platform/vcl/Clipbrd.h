// The clipboard's plain text, as the controls put it there and take it back.
// Implementations in Clipbrd.cpp.
#pragma once

#include "win/Windows.h"

#include <string>

namespace vcl {

enum class TClipboardResult { crOk, crOutOfMemory, crUnavailable };

// Empties the clipboard and puts Text there as CF_TEXT in one zero-initialised movable block.
TClipboardResult PutClipboardText(win::HWND Owner, const std::string& Text);
// The clipboard's CF_TEXT up to its zero; false when there is none or it cannot be opened.
bool GetClipboardText(win::HWND Owner, std::string& Text);

} // namespace vcl
