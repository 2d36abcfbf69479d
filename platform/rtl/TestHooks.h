// What tests reach in the runtime besides its contract. Implementations in Files.cpp.
#pragma once

#include <functional>
#include <string_view>

namespace rtl {

// Asked at each commit of an atomic rewrite (TAtomicFile) with the target's name; a non-zero
// error code makes that commit fail with it, as a full disk would. An empty hook removes it.
void SetWriteFailureHook(std::function<int(std::string_view fileName)> hook);

} // namespace rtl
