// Four single-precision lanes in the compiler's portable vector type, with
// unaligned loads and stores. Lane arithmetic is the same IEEE operation per
// lane as the scalar code it replaces, so block passes keep every bit.
#pragma once

#include <cstdint>
#include <cstring>

namespace dsp {

typedef float F4 __attribute__((vector_size(16)));
typedef int32_t I4 __attribute__((vector_size(16)));
typedef uint32_t U4 __attribute__((vector_size(16)));

inline F4 load4(const float* p)
{
    F4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void store4(float* p, F4 v)
{
    std::memcpy(p, &v, sizeof v);
}

} // namespace dsp
