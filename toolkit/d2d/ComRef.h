// One owning reference to a COM object (Direct2D, DirectWrite, WIC), counted
// as a Direct2D resource of the toolkit while it is held.
#pragma once

#include "toolkit/platform/win32/ResourceCount.h"

#include <type_traits>
#include <utility>

namespace VSTGUI::D2D {

template <class T>
class ComRef
{
public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept
    {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }

    // Holds a more derived interface as its base (one held object, counted
    // once).
    template <class U>
    requires std::is_base_of_v<T, U> ComRef(ComRef<U>&& other)
    noexcept : object_(other.detach()) {}

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    void reset()
    {
        if (object_) {
            object_->Release();
            object_ = nullptr;
            Win32::noteReleased(Win32::ResourceKind::kDirect2D);
        }
    }

    // For the creating call's out parameter: releases what is held, and
    // counts the object the call stores (call adopt() after a success).
    T** receive()
    {
        reset();
        return &object_;
    }
    // Marks the object just received as held; drops a null result.
    bool adopt()
    {
        if (!object_)
            return false;
        Win32::noteCreated(Win32::ResourceKind::kDirect2D);
        return true;
    }

    // Hands the held object (and its count) to the caller.
    T* detach() { return std::exchange(object_, nullptr); }

private:
    T* object_ = nullptr;
};

// Stores the object that `create` (taking the out parameter) makes; false
// when the call fails or makes nothing.
template <class T, class Create>
bool make(ComRef<T>& ref, Create&& create)
{
    T** out = ref.receive();
    const long hr = create(out);
    if (hr < 0) {
        if (*out) {
            (*out)->Release();
            *out = nullptr;
        }
        return false;
    }
    return ref.adopt();
}

} // namespace VSTGUI::D2D
