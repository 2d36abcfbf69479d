// The silent abort and the current exception's message; the exception classes themselves live in
// Exceptions.h.
#include "rtl/Exceptions.h"

namespace rtl {

void Abort() { throw EAbort("Operation aborted"); }

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

} // namespace rtl
