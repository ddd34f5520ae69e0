#include "dsp/NumericHelpers.h"

// The helpers are inline; this unit checks that the header stands alone.
