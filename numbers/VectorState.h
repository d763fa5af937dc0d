#pragma once

// Qt's raster routines (an image fill, among others) may leave the upper
// halves of the processor's wide vector registers in use when they return.
// Until something clears them, every floating-point instruction of code
// built for the baseline instruction set runs with a false dependency on
// them: the outline, offset and thinning code that follows a render ran
// more than twice as slowly. settle() clears them (nothing where the
// processor has no such registers); the geometry calls it on entry to its
// long computations.
namespace VectorState
{

void settle();

} // namespace VectorState
