// Clean-up that runs on every way out of a scope: the scope-exit guard and the update bracket.
// Header only.
#pragma once

#include <exception>
#include <utility>

namespace rtl {

// Runs its action when the scope is left, normally or by an exception, so that the undo of a
// change is written once. Dismiss() keeps the action from running: clean-up wanted only when
// the scope fails is dismissed on its last line.
//   rtl::TScopeExit restore([&] { FBusy = false; });
template <class F>
class [[nodiscard]] TScopeExit {
public:
    explicit TScopeExit(F action) : FAction(std::move(action)) {}
    // An action that fails while an exception is already on its way out is dropped, so that the
    // caller sees the first fault and the program is not terminated.
    ~TScopeExit() noexcept(false) {
        if (!FArmed) return;
        if (std::uncaught_exceptions() > FUncaught) {
            try {
                FAction();
            } catch (...) {
            }
        } else {
            FAction();
        }
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

    void Dismiss() noexcept { FArmed = false; }

private:
    F FAction;
    int FUncaught = std::uncaught_exceptions();
    bool FArmed = true;
};

// Holds back the change notifications of anything with BeginUpdate and EndUpdate (a string
// list, a collection) for the length of a compound change.
template <class T>
class [[nodiscard]] TUpdateGuard {
public:
    explicit TUpdateGuard(T& target) : FEnd((target.BeginUpdate(), TEnd{&target})) {}

private:
    struct TEnd {
        T* Target;
        void operator()() const { Target->EndUpdate(); }
    };
    TScopeExit<TEnd> FEnd;
};

} // namespace rtl
