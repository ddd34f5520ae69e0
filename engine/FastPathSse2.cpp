// The pair renderer for every x86-64 processor.
#define FAST_PATH_RENDERER renderPairSse2
#define FAST_PATH_WIDE 0
#define FAST_PATH_CHAIN_WALK walkChainSse2
#define FAST_PATH_INPUT_SCAN scanInputSse2
#define FAST_PATH_SIDE_SIGNAL sideSignalSse2
#define FAST_PATH_SIDE_NOISE sideNoiseSse2
#define FAST_PATH_FINISH_OUTPUTS finishOutputsSse2
#include "FastPathKernel.inc"
