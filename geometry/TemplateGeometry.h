#pragma once

#include "geometry/ViewGeometry.h"
#include "geometry/WorkingData.h"

// The template outline points: the profile's view points moved inwards by
// the thickness of the wing skin.
namespace TemplateGeometry
{

// Direction of the vector from q to p in radians, anticlockwise with y
// counted upwards (view y grows downwards), in single precision, between
// -pi/2 and 3pi/2. A pair closer than 0.0001 pixel in x counts as vertical:
// 3pi/2 (downwards) when p lies lower on screen than q, pi/2 otherwise
// (also for coincident points).
float surfaceAngle(FPoint p, FPoint q);

// The skin offset step, run at the end of every layout step once the view
// points are known: sets the skin offset (skin thickness x scale x 0.1) and
// its rounded value, then, when there are at least two points and a skin,
// the template points. Both ends move by the offset towards the trailing
// edge; every interior point moves by the offset at right angles to the
// chord joining its two neighbours, into the profile.
void applySkinOffset(WorkingData &wd, const ViewGeometry &view);

// Whether the selected profile leaves room for a template of the given skin
// (tenths of a millimetre) at the working chord: a circle of the skin and
// 0.05 mm more fits inside the section as drawn with the smoothing
// coefficient (anything thinner is a sliver, not a rib). Worked
// out in millimetres, so the screen, the preview, the printer and the export
// all agree. A skin of 0 or less has no template and nothing to refuse.
bool templateFits(const WorkingData &wd, float skinTenths, int coefficient);
// The largest whole skin in tenths of a millimetre, below the working skin,
// that still leaves a template (0 when none does).
int largestSkinThatFits(const WorkingData &wd, int coefficient);

} // namespace TemplateGeometry
