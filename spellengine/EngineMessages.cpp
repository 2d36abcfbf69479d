#include "spellengine/EngineMessages.h"

#include "rtl/CodePages.h"

#include <cstdio>
#include <utility>

namespace spellengine {
namespace {

TEngineMessageProc& CurrentProc() {
    static TEngineMessageProc proc;
    return proc;
}

} // namespace

TEngineMessageProc SetEngineMessageProc(TEngineMessageProc Proc) {
    return std::exchange(CurrentProc(), std::move(Proc));
}

void EngineMessage(const std::string& Text) {
    if (CurrentProc()) {
        CurrentProc()(Text);
        return;
    }
    std::fprintf(stderr, "%s\n", rtl::AnsiToUtf8(Text).c_str());
}

} // namespace spellengine
