// The pair renderer for processors with AVX2; the build compiles this file
// alone with AVX2 enabled (and never with fused multiply-add, which would
// round differently).
#define FAST_PATH_RENDERER renderPairAvx2
#define FAST_PATH_WIDE 1
#define FAST_PATH_CHAIN_WALK walkChainAvx2
#define FAST_PATH_INPUT_SCAN scanInputAvx2
#define FAST_PATH_SIDE_SIGNAL sideSignalAvx2
#define FAST_PATH_SIDE_NOISE sideNoiseAvx2
#define FAST_PATH_FINISH_OUTPUTS finishOutputsAvx2
#include "FastPathKernel.inc"
