// The silent abort; the exception classes themselves live in Exceptions.h.
#include "rtl/Exceptions.h"

namespace rtl {

void Abort() { throw EAbort("Operation aborted"); }

} // namespace rtl
