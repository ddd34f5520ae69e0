// Reference-counted base of toolkit objects that several owners share
// (bitmaps, fonts, paths, gradients, views). remember() takes a reference,
// forget() drops one and deletes the object with the last.
#pragma once

#include <atomic>
#include <cstdint>

namespace VSTGUI {

class CBaseObject
{
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) : refCount_(1) {}
    CBaseObject& operator=(const CBaseObject&) { return *this; }
    virtual ~CBaseObject() = default;

    void remember() { refCount_.fetch_add(1, std::memory_order_relaxed); }
    void forget()
    {
        if (refCount_.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    int32_t getNbReference() const { return refCount_.load(std::memory_order_relaxed); }

private:
    std::atomic<int32_t> refCount_{1};
};

} // namespace VSTGUI
