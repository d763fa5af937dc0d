#pragma once

#include "geometry/ViewGeometry.h"
#include "geometry/WorkingData.h"

#include <QColor>
#include <QPolygon>

#include <array>
#include <functional>
#include <vector>

class QPainter;

// The outlines of one render: the profile and the template drawn as smooth
// curves through their points, the two ends of the template outline, and the
// camber line and maximum thickness of the profile. Everything here is
// scratch data, rebuilt by every render; coordinates are view pixels
// (x to the rear, y downwards).
//
// Each outline is held as two lists (upper and lower surface) of cubic
// Bezier pieces: knots at entries 0, 3, 6, ... up to lastIndex, and between
// two knots their two control points. Both lists always end at the same
// knot index.
class OutlineCurves
{
public:
    static constexpr int kListSize = 3 * (kMaxProfilePoints + 1) + 1;
    // Returned by the height functions outside their range.
    static constexpr float kInvalidHeight = -999.0f;

    // Called for each knot as it is stored, so that the caller can draw a
    // point marker there.
    using KnotSink = std::function<void(FPoint)>;

    std::array<FPoint, kListSize> upperList{};
    std::array<FPoint, kListSize> lowerList{};
    int lastIndex = 0;

    FPoint nose;
    FPoint tail;

    // Results of the last camber scan: largest distance between the surfaces
    // in pixels, and the x where it was first met.
    float maxThickness = 0;
    float maxThicknessX = 0;

    // The profile's view points as knots, upper then lower for each point.
    void storeProfileKnots(const ViewGeometry &view, int lastPoint, const KnotSink &onKnot = {});

    // Finds the nose (where the two offset curves cross, searching forwards
    // from a third of the points) and the tail (where the profile is no
    // thicker than two skins, searching rearwards from two thirds), with
    // their fixed fallbacks when a search runs out of points.
    void computeTemplateEnds(const WorkingData &wd, const ViewGeometry &view);

    // The template outline: the nose, then every template point that lies
    // between the nose and the tail (each surface on its own), then the tail,
    // the shorter list padded with copies of the tail. onKnot sees the nose,
    // each appended point and the tail once.
    void storeTemplateKnots(const WorkingData &wd, int lastPoint, const KnotSink &onKnot = {});

    // Writes the control points of both lists from the knots. coefficient is
    // the smoothing spinner's position 0..100: at 0 each control point lies
    // a quarter of the way from its knot to the neighbouring knot; at 100
    // the tangent at each interior knot is parallel to the line joining its
    // neighbours. Each curve leaves its first knot vertically.
    void smooth(int coefficient);

    // Draws both lists with the painter's pen, each Bezier piece as 16
    // straight lines, never to the right of the upper list's last knot.
    void draw(QPainter &painter) const;
    // The curve of one list as drawn, before rounding: its first knot, then
    // 16 points for each Bezier piece.
    std::vector<FPoint> curveSamples(bool upperSurface) const;
    // The points draw() joins, for one list (rounded, clipped at the
    // trailing edge, consecutive repeats dropped).
    QPolygon curvePoints(bool upperSurface) const;

    // The camber line and thickness scan: samples the profile every 4 pixels
    // from the leading edge to 16 pixels before the trailing edge, keeping
    // the largest thickness and its x. With a painter and showCamber, sets a
    // pixel of camberColour at each sample's mid-point (and the pixel below
    // it on the printer), then reports the camber points at 25, 30, 40 and
    // 50 % of the chord to onCamberPoint.
    void scanCamber(const ViewGeometry &view, int lastPoint, QPainter *painter, bool showCamber,
                    const QColor &camberColour, const KnotSink &onCamberPoint = {});

    // Height functions: a y in pixels, or kInvalidHeight.
    //
    // The profile surface at x, for the scan: from the first point whose
    // successor lies to the right of x.
    // With from, the search starts at *from and leaves there the point it
    // used: for a growing x, that first point never moves back.
    static float scanHeight(const FPoint *points, int lastPoint, float x, int *from = nullptr);
    // The profile surface at x over its rear half, for the tail search.
    // With from, as scanHeight's: for a growing x, the point whose
    // successor is used never moves back.
    static float tailHeight(const FPoint *points, int lastPoint, float x, int *from = nullptr);
    // A template surface at x over its front half, for the nose search;
    // flatThreshold is the x gap below which the first point's y is taken.
    // With from, the search starts at *from and leaves there the point it
    // used: for a falling x, that point never moves forwards.
    static float noseHeight(const FPoint *points, int lastPoint, float x, float flatThreshold,
                            int *from = nullptr);

private:
    // The points draw() joins for the lists as they stand, with the knots
    // and control points they came from.
    struct DrawnCurve {
        int lastIndex = -1;
        std::vector<FPoint> upperKnots, lowerKnots;
        QPolygon upper, lower;
    };
    const DrawnCurve &drawnCurve() const;
    mutable std::array<DrawnCurve, 2> m_drawn;
    mutable size_t m_nextDrawn = 0;
};
