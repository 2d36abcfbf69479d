// TObject's class name and TPersistent's assignment protocol.
#include "vcl/Persistent.h"

#include "rtl/Exceptions.h"

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace vcl {

std::string TObject::ClassName() const {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status), std::free);
    std::string full = status == 0 && name ? name.get() : typeid(*this).name();
    auto colon = full.rfind("::");
    return colon == std::string::npos ? full : full.substr(colon + 2);
}

void TPersistent::Assign(TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw rtl::EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) {
    throw rtl::EConvertError("Cannot assign a " + ClassName() + " to a " + Dest->ClassName());
}

} // namespace vcl
