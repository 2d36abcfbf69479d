// The exception tree of the runtime: every error the suite raises derives from Exception.
// Implementations in Exceptions.cpp.
#pragma once

#include <exception>
#include <string>

namespace rtl {

class Exception : public std::exception {
public:
    explicit Exception(std::string message = {}, int helpContext = 0)
        : FMessage(std::move(message)), FHelpContext(helpContext) {}

    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string value) { FMessage = std::move(value); }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }

    // The class name as the class library reports it ("EConvertError").
    virtual const char* ClassName() const { return "Exception"; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
    int FHelpContext;
};

// Declares an exception class with the constructors of its base.
#define RTL_DECLARE_EXCEPTION(Name, Base)                                   \
    class Name : public Base {                                             \
        using Inherited = Base;                                            \
    public:                                                                \
        using Inherited::Inherited;                                        \
        const char* ClassName() const override { return #Name; }           \
    }

// The silent abort: the message loop swallows it without an error box.
RTL_DECLARE_EXCEPTION(EAbort, Exception);
RTL_DECLARE_EXCEPTION(EConvertError, Exception);
RTL_DECLARE_EXCEPTION(EAbstractError, Exception);
RTL_DECLARE_EXCEPTION(EOutOfMemory, Exception);
RTL_DECLARE_EXCEPTION(EInvalidOperation, Exception);
RTL_DECLARE_EXCEPTION(EInvalidPointer, Exception);
RTL_DECLARE_EXCEPTION(EInvalidCast, Exception);
RTL_DECLARE_EXCEPTION(EIntError, Exception);
RTL_DECLARE_EXCEPTION(ERangeError, EIntError);
RTL_DECLARE_EXCEPTION(EDivByZero, EIntError);
RTL_DECLARE_EXCEPTION(EListError, Exception);
RTL_DECLARE_EXCEPTION(EStringListError, Exception);
RTL_DECLARE_EXCEPTION(EStreamError, Exception);
RTL_DECLARE_EXCEPTION(EFCreateError, EStreamError);
RTL_DECLARE_EXCEPTION(EFOpenError, EStreamError);
RTL_DECLARE_EXCEPTION(EReadError, EStreamError);
RTL_DECLARE_EXCEPTION(EWriteError, EStreamError);
RTL_DECLARE_EXCEPTION(EParserError, Exception);
RTL_DECLARE_EXCEPTION(EResNotFound, Exception);
RTL_DECLARE_EXCEPTION(EModuleError, Exception);

// An input-output error carries the operating system's error code.
class EInOutError : public Exception {
public:
    explicit EInOutError(std::string message = {}, int errorCode = 0)
        : Exception(std::move(message)), ErrorCode(errorCode) {}
    const char* ClassName() const override { return "EInOutError"; }
    int ErrorCode;
};

// Raises the silent abort.
[[noreturn]] void Abort();

// The message of the exception being handled, for reporting it from inside a catch block.
std::string CurrentExceptionMessage();

} // namespace rtl
