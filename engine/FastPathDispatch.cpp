#include "engine/FastPath.h"

namespace fast_path {
bool hasAvx2()
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    // The AVX2 renderer also takes BMI2's shifts; processors with AVX2 have
    // them.
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("bmi2") != 0;
#else
    return false;
#endif
}

bool hasAvx512()
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    // Each answer also needs the system to save the wide registers on a
    // context switch, which the run-time check reads from XCR0.
    return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512vl") != 0 &&
           __builtin_cpu_supports("avx512bw") != 0 && __builtin_cpu_supports("avx512dq") != 0 &&
           __builtin_cpu_supports("bmi2") != 0;
#else
    return false;
#endif
}

const Passes kPasses[kInstructionSets] = {
    {"SSE2", renderPairSse2, walkChainSse2, scanInputSse2, sideSignalSse2, sideNoiseSse2,
     finishOutputsSse2},
    {"AVX2", renderPairAvx2, walkChainAvx2, scanInputAvx2, sideSignalAvx2, sideNoiseAvx2,
     finishOutputsAvx2},
    {"AVX-512", renderPairAvx512, walkChainAvx512, scanInputAvx512, sideSignalAvx512,
     sideNoiseAvx512, finishOutputsAvx512},
};

bool processorRuns(int set)
{
    return set == 0 || (set == 1 && hasAvx2()) || (set == 2 && hasAvx512());
}
} // namespace fast_path
