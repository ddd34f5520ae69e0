#pragma once

// Double-precision arctangent and tangent built from the basic operations
// alone (add, multiply, divide, square root), which IEEE arithmetic rounds
// the same way everywhere. The Windows build would otherwise take these two
// from the system's C runtime, whose last bits differ from one system to the
// next; the filter designs that use them then give the same coefficients on
// every build. Within a few units in the last place of the exact value.

// Any finite or infinite x; NaN passes through.
double portableAtan(double x);

// For |x| below 1e6 (NaN beyond, and for NaN and infinities); near odd
// multiples of pi/2 the result is large, never infinite.
double portableTan(double x);
