// Zestor's library-wide state: the IDE's tool-services object, kept by the entry export.
#pragma once

#include "host/ToolServices.h"

namespace experts {

// Unset until the IDE calls the entry export; no host call is made while it is unset.
extern host::TIToolServices* ToolServices;

} // namespace experts
