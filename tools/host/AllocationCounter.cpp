#include "tools/host/AllocationCounter.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VST2HOST_SANITIZED_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VST2HOST_SANITIZED_ALLOCATOR 1
#endif
#endif

namespace {

// Plain thread-local integers: reading them needs no allocation and no
// initialisation guard, which matters inside malloc itself.
thread_local bool counting = false;
thread_local int64_t allocations = 0;

inline void countOne()
{
    if (counting)
        ++allocations;
}

} // namespace

#if defined(VST2HOST_SANITIZED_ALLOCATOR)

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            size_t),
                                                         void (*freeHook)(const volatile void*));

namespace {

void onAllocation(const volatile void*, size_t)
{
    countOne();
}
void onRelease(const volatile void*) {}

void installHooks()
{
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks(onAllocation, onRelease) != 0;
    (void)installed;
}

} // namespace

#else

// glibc's allocator under its own names; the definitions below take the place
// of the public names for the whole process, plug-ins included.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);

__attribute__((visibility("default"))) void* malloc(size_t size) noexcept
{
    countOne();
    return __libc_malloc(size);
}

__attribute__((visibility("default"))) void* calloc(size_t count, size_t size) noexcept
{
    countOne();
    return __libc_calloc(count, size);
}

__attribute__((visibility("default"))) void* realloc(void* pointer, size_t size) noexcept
{
    countOne();
    return __libc_realloc(pointer, size);
}

__attribute__((visibility("default"))) void free(void* pointer) noexcept
{
    __libc_free(pointer);
}

__attribute__((visibility("default"))) void* memalign(size_t alignment, size_t size) noexcept
{
    countOne();
    return __libc_memalign(alignment, size);
}

__attribute__((visibility("default"))) void* aligned_alloc(size_t alignment, size_t size) noexcept
{
    countOne();
    return __libc_memalign(alignment, size);
}

__attribute__((visibility("default"))) int posix_memalign(void** result, size_t alignment,
                                                          size_t size) noexcept
{
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0 || alignment == 0)
        return EINVAL;
    countOne();
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr)
        return ENOMEM;
    *result = pointer;
    return 0;
}
}

namespace {
void installHooks() {}
} // namespace

#endif

namespace vst2host {

AllocationScope::AllocationScope()
{
    installHooks();
    allocations = 0;
    counting = true;
}

AllocationScope::~AllocationScope()
{
    counting = false;
}

int64_t AllocationScope::count() const
{
    return allocations;
}

} // namespace vst2host
