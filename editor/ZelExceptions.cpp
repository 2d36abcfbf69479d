// The editor library's string table and the messages of the paragraph model's result codes.
#include "editor/ZelExceptions.h"

namespace editor {

std::string ZelLoadStr(int id) {
    switch (id) {
    case SNoTimersAvailable: return "No Window's timers are available";
    case SNoControllerAssigned: return "No Controller assigned";
    case SDuplicateCommand: return "Duplicate command found while adding a new command to the table";
    case STableNotFound: return "Command table not found or command table index out of range";
    case SInvalidLineOrCol: return "Invalid line or column";
    case SInvalidLineOrPara: return "Invalid line or paragraph index";
    case SInvalidPageIndex: return "Invalid page index value";
    case SInvalidTabFont: return "Invalid font. toRight oriented tabs require a True-Type font";
    case SInvalidFixedFont: return "Invalid font assignment. Font must be a fixed font";
    case SInvalidFontParam: return "Invalid font assignemnt. Font must be a TFont or TZelFixedFont";
    case SOutOfMemory: return "insufficient memory for requested operation";
    case SRegionTooLarge: return "Region is too large (> 64K)";
    case STooManyParas: return "Current operation will exceed the maximum number of allowed paragraphs";
    case SCannotJoin: return "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size";
    case STextTooLarge: return "Current operation will exceed the maximum editor text size";
    case SParaTooLarge: return "Current operation will exceed the maximum paragraph size";
    case SUnknownError: return "Unknown Error condition";
    case SYesChar: return "Y";
    case SNoChar: return "N";
    case STrueChar: return "T";
    case SFalseChar: return "F";
    default: return {};
    }
}

std::string EditorErrorText(int code) {
    if (code >= 263 && code <= 268) return ZelLoadStr(SOutOfMemory + (code - 263));
    return ZelLoadStr(SUnknownError);
}

} // namespace editor
