// The editor library's exception tree, rooted at EZelException, and the messages of the
// paragraph model's result codes. Implementations in ZelExceptions.cpp.
#pragma once

#include "rtl/Exceptions.h"

#include <cstdint>
#include <string>

namespace editor {

// Identifiers of the library's string table.
enum TZelStringId : int {
    SNoTimersAvailable = 1,
    SNoControllerAssigned,
    SDuplicateCommand,
    STableNotFound,
    SInvalidLineOrCol,
    SInvalidLineOrPara,
    SInvalidPageIndex,
    SInvalidTabFont,
    SInvalidFixedFont,
    SInvalidFontParam,
    SOutOfMemory,       // 263
    SRegionTooLarge,    // 264
    STooManyParas,      // 265
    SCannotJoin,        // 266
    STextTooLarge,      // 267
    SParaTooLarge,      // 268
    SUnknownError,
    // One-character answers of the entry fields.
    SYesChar = 34368,
    SNoChar = 34369,
    STrueChar = 34370,
    SFalseChar = 34371,
};

// Text of the library's string table; empty for an unknown identifier.
std::string ZelLoadStr(int id);

// The message of a result code of the paragraph model ("Unknown Error condition" for others).
std::string EditorErrorText(int code);

class EZelException : public rtl::Exception {
public:
    EZelException(std::string message, std::int32_t errorCode = 0)
        : rtl::Exception(std::move(message)), FErrorCode(errorCode) {}

    std::int32_t ErrorCode() const { return FErrorCode; }
    void SetErrorCode(std::int32_t value) { FErrorCode = value; }
    const char* ClassName() const override { return "EZelException"; }

private:
    std::int32_t FErrorCode;
};

// A branch of the tree: the constructors of its base, no message of its own.
#define ZEL_DECLARE_EXCEPTION(Name, Base)                                   \
    class Name : public Base {                                             \
    public:                                                                \
        using Base::Base;                                                  \
        const char* ClassName() const override { return #Name; }           \
    }

// A leaf whose constructor without arguments takes its message from the string table.
#define ZEL_DECLARE_LEAF_EXCEPTION(Name, Base, Id)                          \
    class Name : public Base {                                             \
    public:                                                                \
        using Base::Base;                                                  \
        Name() : Base(ZelLoadStr(Id), 0) {}                                \
        const char* ClassName() const override { return #Name; }           \
    }

ZEL_DECLARE_LEAF_EXCEPTION(ENoTimersAvailable, EZelException, SNoTimersAvailable);
ZEL_DECLARE_EXCEPTION(EControllerError, EZelException);
ZEL_DECLARE_LEAF_EXCEPTION(ENoControllerAssigned, EControllerError, SNoControllerAssigned);
ZEL_DECLARE_EXCEPTION(ECmdProcessorError, EZelException);
ZEL_DECLARE_LEAF_EXCEPTION(EDuplicateCommand, ECmdProcessorError, SDuplicateCommand);
ZEL_DECLARE_LEAF_EXCEPTION(ETableNotFound, ECmdProcessorError, STableNotFound);
ZEL_DECLARE_EXCEPTION(EEntryFieldError, EZelException);
ZEL_DECLARE_EXCEPTION(EEditorError, EZelException);
ZEL_DECLARE_LEAF_EXCEPTION(EInvalidLineOrCol, EEditorError, SInvalidLineOrCol);
ZEL_DECLARE_LEAF_EXCEPTION(EInvalidLineOrPara, EEditorError, SInvalidLineOrPara);
ZEL_DECLARE_EXCEPTION(ENotebookError, EZelException);
ZEL_DECLARE_LEAF_EXCEPTION(EInvalidPageIndex, ENotebookError, SInvalidPageIndex);
ZEL_DECLARE_LEAF_EXCEPTION(EInvalidTabFont, ENotebookError, SInvalidTabFont);
ZEL_DECLARE_EXCEPTION(EFixedFontError, EZelException);
ZEL_DECLARE_LEAF_EXCEPTION(EInvalidFixedFont, EFixedFontError, SInvalidFixedFont);
ZEL_DECLARE_LEAF_EXCEPTION(EInvalidFontParam, EFixedFontError, SInvalidFontParam);

// The editor's error for a result code of the paragraph model, with the code's message.
inline EEditorError MakeEditorError(int code) { return EEditorError(EditorErrorText(code), code); }

} // namespace editor
