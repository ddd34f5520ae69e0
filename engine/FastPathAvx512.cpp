// The pair renderer for processors with AVX-512 (foundation, vector-length,
// byte/word and doubleword/quadword sets); the build compiles this file
// alone with them enabled (and never with fused multiply-add, which would
// round differently).
#define FAST_PATH_RENDERER renderPairAvx512
#define FAST_PATH_WIDE 2
#define FAST_PATH_CHAIN_WALK walkChainAvx512
#define FAST_PATH_INPUT_SCAN scanInputAvx512
#define FAST_PATH_SIDE_SIGNAL sideSignalAvx512
#define FAST_PATH_SIDE_NOISE sideNoiseAvx512
#define FAST_PATH_FINISH_OUTPUTS finishOutputsAvx512
#include "FastPathKernel.inc"
