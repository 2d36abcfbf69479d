#include "editor/ZelExceptions.h"

#include <gtest/gtest.h>

using namespace editor;

TEST(ZelExceptions, EditorErrorCarriesCodeAndMessage) {
    struct Case { int code; const char* message; };
    const Case cases[] = {
        {263, "insufficient memory for requested operation"},
        {264, "Region is too large (> 64K)"},
        {265, "Current operation will exceed the maximum number of allowed paragraphs"},
        {266, "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size"},
        {267, "Current operation will exceed the maximum editor text size"},
        {268, "Current operation will exceed the maximum paragraph size"},
        {300, "Unknown Error condition"},
        {0, "Unknown Error condition"},
    };
    for (const auto& c : cases) {
        try {
            throw MakeEditorError(c.code);
        } catch (const EZelException& e) {
            EXPECT_EQ(e.ErrorCode(), c.code);
            EXPECT_EQ(e.Message(), c.message) << c.code;
            EXPECT_STREQ(e.ClassName(), "EEditorError");
        }
    }
}

TEST(ZelExceptions, LeavesTakeTheirMessagesAndSitInTheTree) {
    try {
        throw EDuplicateCommand();
    } catch (const ECmdProcessorError& e) {
        EXPECT_EQ(e.Message(), "Duplicate command found while adding a new command to the table");
        EXPECT_EQ(e.ErrorCode(), 0);
    }
    try {
        throw EInvalidFontParam();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid font assignemnt. Font must be a TFont or TZelFixedFont");
        EXPECT_STREQ(e.ClassName(), "EInvalidFontParam");
    }
    EXPECT_THROW(throw EInvalidLineOrPara(), EEditorError);
    EXPECT_THROW(throw ENoControllerAssigned(), EControllerError);
    EXPECT_THROW(throw EInvalidTabFont(), ENotebookError);
    EXPECT_EQ(ETableNotFound().Message(), "Command table not found or command table index out of range");
    EXPECT_EQ(ENoTimersAvailable().Message(), "No Window's timers are available");
    EXPECT_EQ(EEntryFieldError("bad", 7).ErrorCode(), 7);
}
