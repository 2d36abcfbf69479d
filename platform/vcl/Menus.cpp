// Shortcut values and texts.
#include "vcl/Menus.h"

#include <cctype>

namespace vcl {

using namespace win;

namespace {

std::string KeyName(unsigned key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F1 + 11) return "F" + std::to_string(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + std::to_string(key - VK_NUMPAD0);
    switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    case VK_OEM_1: return ";";
    case VK_OEM_PLUS: return "=";
    case VK_OEM_COMMA: return ",";
    case VK_OEM_MINUS: return "-";
    case VK_OEM_PERIOD: return ".";
    case VK_OEM_2: return "/";
    case VK_OEM_3: return "`";
    case VK_OEM_4: return "[";
    case VK_OEM_5: return "\\";
    case VK_OEM_6: return "]";
    case VK_OEM_7: return "'";
    default: return {};
    }
}

bool SameTextPrefix(const std::string& text, std::size_t at, const std::string& word) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    return true;
}

} // namespace

TShortCut ShortCut(unsigned Key, TShiftState Shift) {
    if (Key & 0xFF00) return scNone;
    TShortCut result = TShortCut(Key & 0xFF);
    if (Shift & ssShift) result |= scShift;
    if (Shift & ssCtrl) result |= scCtrl;
    if (Shift & ssAlt) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut Value, unsigned& Key, TShiftState& Shift) {
    Key = Value & 0xFF;
    Shift = 0;
    if (Value & scShift) Shift |= ssShift;
    if (Value & scCtrl) Shift |= ssCtrl;
    if (Value & scAlt) Shift |= ssAlt;
}

std::string ShortCutToText(TShortCut Value) {
    std::string name = KeyName(Value & 0xFF);
    if (name.empty()) return {};
    std::string prefix;
    if (Value & scShift) prefix += "Shift+";
    if (Value & scCtrl) prefix += "Ctrl+";
    if (Value & scAlt) prefix += "Alt+";
    return prefix + name;
}

TShortCut TextToShortCut(const std::string& Text) {
    TShortCut shift = 0;
    std::size_t at = 0;
    for (;;) {
        if (SameTextPrefix(Text, at, "Shift+")) { shift |= scShift; at += 6; }
        else if (SameTextPrefix(Text, at, "Ctrl+")) { shift |= scCtrl; at += 5; }
        else if (SameTextPrefix(Text, at, "Alt+")) { shift |= scAlt; at += 4; }
        else break;
    }
    std::string rest = Text.substr(at);
    if (rest.empty()) return scNone;
    for (unsigned key = 0x08; key <= 0xFF; ++key) {
        std::string name = KeyName(key);
        if (!name.empty() && name.size() == rest.size() && SameTextPrefix(rest, 0, name))
            return TShortCut(key | shift);
    }
    return scNone;
}

} // namespace vcl
