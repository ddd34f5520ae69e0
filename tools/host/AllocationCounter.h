#pragma once

#include <cstdint>

namespace vst2host {

// Counts the heap allocations (malloc, calloc, realloc, the aligned variants
// and everything built on them, operator new included) that the calling
// thread makes while the scope lives. Scopes do not nest.
//
// The counting replaces the process's allocator entry points, so it is linked
// into the vst2-host executable only, never into a library: a plug-in loaded
// by the executable allocates through it. In sanitizer builds, whose runtime
// owns the allocator, the sanitizer's allocation hook counts instead.
class AllocationScope
{
public:
    AllocationScope();
    ~AllocationScope();
    AllocationScope(const AllocationScope&) = delete;
    AllocationScope& operator=(const AllocationScope&) = delete;

    // Allocations so far in this scope.
    int64_t count() const;
};

} // namespace vst2host
