// Shortcuts: a key with its shift state in one word, and their texts ("Ctrl+Alt+X").
// Implementations in Menus.cpp.
#pragma once

#include "vcl/Controls.h"

#include <cstdint>
#include <string>

namespace vcl {

using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(unsigned Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, unsigned& Key, TShiftState& Shift);
// "Ctrl+Shift+F5"; the empty text for none or an unnamed key.
std::string ShortCutToText(TShortCut ShortCut);
// Without regard to case and with the modifiers in any order; 0 when the text is no shortcut.
TShortCut TextToShortCut(const std::string& Text);

} // namespace vcl
