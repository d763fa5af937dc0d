#pragma once

#include "cutting/RibVectors.h"
#include "geometry/Polygons.h"

#include <QString>

#include <vector>

// A rib's cut made ready for a laser: the template outline and every
// cut-out as closed contours, figures checked against the outline, the
// kerf taken into account, inner contours before the outer one.
namespace RibContours
{

struct Finding {
    enum Kind {
        CutsEdge,        // the figure crosses or touches the outline: a notch in it
        Outside,         // wholly outside the outline: left out of the cut
        NarrowerThanKerf // the cut-out is narrower than the kerf: the laser cannot cut it
    };
    Kind kind = CutsEdge;
    int figure = -1; // index in the template
};

// "la figure N coupe le gabarit" / "figure N cuts the template edge", and
// the like, N counted from 1.
QString message(const Finding &finding);

// The figures of a rib against its outline, as apply() finds them, without
// changing the rib (for the drawing window).
std::vector<Finding> check(const RibVectors::Rib &rib);

// Turns the rib's cut layer into its one outer contour (its closed cut path
// of largest area), with the figures that cross it taken out as notches;
// figures wholly inside join the cut layer as inner contours, next to any
// closed cut path already there; figures wholly outside are removed. With a
// kerf (mm), the outer contour grows and inner ones shrink by half of it.
// The inner contours are put before the outer one. Without an outline the
// figures stay on their layer. Returns what it found, figure by figure.
std::vector<Finding> apply(RibVectors::Rib &rib, double kerfMm);

// Where a closed figure lies against a rib's outer contour, given as the
// polygon library returns a region (rings that never cross, holes the other
// way round): wholly inside, wholly outside (no area in common), or on the
// edge (crossing it, or closer to it than the touching distance).
enum class Place { Inside, Outside, Edge };
// A figure far from every edge of the outline (the usual spar hole) is
// placed by one point: the outline never comes between its points. A
// figure near an edge is placed by a point well inside both it and the
// outline and one of it well beyond the outline where they are found, and
// otherwise worked out with booleans.
Place place(const Polygons::Shape &outer, const Polygons::Ring &figure);
// The same with booleans whatever the distance: what place() must match.
Place placeByBooleans(const Polygons::Shape &outer, const Polygons::Ring &figure);

// The closed ring of a closed path or a circle, in mm (flattened within
// 0.01 mm); empty for anything open.
Polygons::Ring ring(const RibVectors::Shape &shape);

} // namespace RibContours
