#include "experts/Library.h"

namespace experts {

host::TIToolServices* ToolServices = nullptr;

} // namespace experts
