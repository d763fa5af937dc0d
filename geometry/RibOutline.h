#pragma once

#include "geometry/OutlineCurves.h"
#include "geometry/Polygons.h"
#include "geometry/ViewGeometry.h"
#include "geometry/WorkingData.h"

#include <utility>
#include <vector>

// The cut line of a rib: the template outline checked against the profile
// in millimetres, and the exact inward offset of the profile where the
// outline found from the template points is not sound.
//
// Millimetres here run from the leading edge along the chord, y downwards as
// in the view (cutOutline turns its ring y up for the cutting files).
namespace RibOutline
{

// The outline may come closer to the profile than the skin by this much.
inline constexpr double kShortfall = 0.02;
// Its ends lie within this of the ends of the room a skin leaves.
inline constexpr double kEndSlack = 0.1;
// What paper and files are checked against, with a little in hand: the
// room's ends come from an offset whose arcs lie within 2.25 µm of true
// (Clipper's last step of an arc is up to half as long again as the
// others), and a file rounds to 0.1 µm, so an outline passed at the very
// limit could be found a hair past it by a reader of the file.
inline constexpr double kCheckedShortfall = kShortfall - 0.002;
inline constexpr double kCheckedEndSlack = kEndSlack - 0.005;
// A rib is refused when the largest circle inside the profile beats the
// skin by less than this: such a sliver cannot be cut.
inline constexpr double kSliverMargin = 0.05;

// What a profile as drawn leaves for a skin, worked out once in millimetres
// whatever the output: the first stretch of the chord where the section is
// at least two skins thick, as the exact inward offset of the profile.
struct Room {
    Polygons::Ring profile; // the profile as drawn, closed
    double skin = 0;
    // True when no circle of skin + kSliverMargin fits inside the profile.
    bool refused = true;
    // The offset piece of the first stretch that is not a sliver, and its
    // extent along the chord.
    Polygons::Ring offsetRing;
    double front = 0;
    double rear = 0;
};

// The profile of the working data at its chord, as the view draws it with
// the smoothing coefficient (Bezier pieces as 16 straight lines), in mm.
Polygons::Ring profileRing(const WorkingData &wd, int smoothing);
// The room of that profile for a skin in tenths of a millimetre.
Room room(const WorkingData &wd, float skinTenths, int smoothing);

// Whether a skin in tenths leaves a rib; the largest whole skin in tenths,
// below the working skin, that does (0 when none).
bool fits(const WorkingData &wd, float skinTenths, int smoothing);
int largestSkin(const WorkingData &wd, int smoothing);

// The smoothed template outline of the lists as drawn (clipped at the
// tail), as one closed ring in mm: along the upper list, back along the
// lower one. view maps the lists' pixels to mm.
Polygons::Ring curvesRing(const OutlineCurves &curves, const ViewGeometry &view);

// True when ring is one simple closed curve, lies at least skin - shortfall
// inside the profile everywhere along it, and spans the room's stretch to
// within endSlack at each end.
bool sound(const Polygons::Ring &ring, const Room &room, double shortfall, double endSlack);

enum class Kind {
    Kept,    // the outline of the template points and ends, found sound
    Offset,  // the exact offset of the profile
    Refused, // a sliver or no room: no rib
};

// The template outline of one laid-out output (wd holds the template points
// of view): the ends and knots found from the template points go into
// curves, smoothed; when they are not sound against room, the room's
// offset ring stands instead. ring receives the outline in mm.
Kind build(const WorkingData &wd, const ViewGeometry &view, int smoothing, const Room &room,
           double shortfall, double endSlack, OutlineCurves &curves, Polygons::Ring *ring);

// The cut line of a rib for the cutting files, as a 600 dpi print draws it
// but without laying a print out: the closed ring in mm, x from the leading
// edge, y upwards, or refused with the largest skin in tenths that fits.
struct Cut {
    bool refused = false;
    int largestSkin = 0;
    Kind kind = Kind::Refused;
    Polygons::Ring ring;
    // The profile as drawn that the cut line was measured against, in the
    // same millimetres (y upwards): the files show it, so that what they
    // show is what the cut keeps its distance from.
    Polygons::Ring profile;
};
inline constexpr double kCutDotsPerInch = 600;
Cut cutOutline(const WorkingData &work, float chordMm, float skinTenths, int smoothing);

} // namespace RibOutline
