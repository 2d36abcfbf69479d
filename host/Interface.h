// The reference-counted base of every object the IDE and the libraries hand each other, and a
// small holder that releases a reference when it goes out of scope. Header only.
#pragma once

#include <cstdint>
#include <utility>

namespace host {

// Window and icon handles as the IDE passes them (the parent window handle, an expert's glyph).
using THandle = std::uintptr_t;

// A new object holds one reference; the release that brings the count to 0 destroys it.
class TInterface {
public:
    TInterface() = default;
    TInterface(const TInterface&) = delete;
    TInterface& operator=(const TInterface&) = delete;

    virtual int AddRef() { return ++FRefCount; }
    virtual int Release() {
        int count = --FRefCount;
        if (count == 0)
            delete this;
        return count;
    }
    virtual int GetVersion() { return 1; }

    int RefCount() const { return FRefCount; }

protected:
    // Only Release destroys: an object that others may still hold is never deleted directly.
    virtual ~TInterface() = default;

private:
    int FRefCount = 1;
};

// Holds one reference, taken over from whoever handed the object out, and releases it at the
// end of its scope, also when an exception passes.
template <class T>
class TInterfaceRef {
public:
    TInterfaceRef() = default;
    explicit TInterfaceRef(T* adopted) : FIntf(adopted) {}
    TInterfaceRef(const TInterfaceRef&) = delete;
    TInterfaceRef& operator=(const TInterfaceRef&) = delete;
    TInterfaceRef(TInterfaceRef&& other) noexcept : FIntf(std::exchange(other.FIntf, nullptr)) {}
    TInterfaceRef& operator=(TInterfaceRef&& other) noexcept {
        if (this != &other) {
            Reset();
            FIntf = std::exchange(other.FIntf, nullptr);
        }
        return *this;
    }
    ~TInterfaceRef() { Reset(); }

    void Reset(T* adopted = nullptr) {
        if (FIntf)
            FIntf->Release();
        FIntf = adopted;
    }
    // Gives the reference away without releasing it.
    T* Detach() { return std::exchange(FIntf, nullptr); }

    T* Get() const { return FIntf; }
    T* operator->() const { return FIntf; }
    explicit operator bool() const { return FIntf != nullptr; }

private:
    T* FIntf = nullptr;
};

} // namespace host
