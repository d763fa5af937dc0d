#pragma once

#include "geometry/WorkingData.h"

#include <cstddef>
#include <utility>
#include <vector>

// Where a template can lie: the points that are at least a skin inside the
// profile as it is drawn. Works in any unit (view pixels, millimetres) as
// long as the outline and the skin share it.
//
// The profile is given as its two drawn surfaces, each a fine polyline from
// the leading edge to the trailing edge (x growing, y downwards as on
// screen). A blunt trailing edge is closed by the straight piece between
// the two last points.
class TemplateBand
{
public:
    TemplateBand(std::vector<FPoint> upper, std::vector<FPoint> lower, float skin);

    float skin() const { return m_skin; }
    float frontX() const { return m_xMin; }
    float rearX() const { return m_xMax; }

    // Distance from p to the nearest point of the profile outline, or
    // upTo when nothing of the outline is that close.
    float distance(FPoint p, float upTo) const;
    // True when p lies inside the closed profile outline.
    bool inside(FPoint p) const;

    // At x, the points from upperLimit(x) down to lowerLimit(x) are at least
    // a skin from the outline; width(x) is the distance between the two,
    // negative where nothing at x is a skin inside (and outside the chord).
    float upperLimit(float x) const;
    float lowerLimit(float x) const;
    float width(float x) const;

    // The first stretch of the chord, from the front, where the band has a
    // positive width: its two ends. Empty (found false) when the section is
    // nowhere thicker than two skins. The chord is searched in steps of a
    // four-thousandth of its length, so the answer scales with the drawing.
    struct Stretch {
        bool found = false;
        float front = 0;
        float rear = 0;
    };
    Stretch firstStretch() const;

    // The outline of that stretch as curve knots: the nose, points of the
    // upper and lower limits at the same x positions, closer together where
    // the limits turn quickly, then the tail. Both lists have the same
    // length, at most maxKnots. spacing is the largest distance between two
    // knots along either limit; towards the ends the knots come closer, down
    // to fine. Empty when there is no stretch.
    struct Knots {
        std::vector<FPoint> upper;
        std::vector<FPoint> lower;
    };
    Knots knots(const Stretch &stretch, float spacing, float fine, int maxKnots) const;

private:
    struct Segment {
        FPoint a, b;
        bool upper; // bounds the band from above
        float length = 0;
        float nx = 0, ny = 0; // unit normal, pointing downwards
        std::size_t home = 0; // the bucket of its front end
    };
    // The segments of one bound that reach into a stretch of x, and how
    // high and low the lowest and highest of them go.
    struct Bucket {
        std::vector<int> segments;
        float yMin, yMax;
    };
    static float capsuleEdge(const Segment &s, float r, float x, float downwards);
    // Calls f for each segment that may reach between x0 and x1: of the
    // upper bound, the lower bound, or both (the bound's list, or -1),
    // leaving out the buckets whose segments all lie above y1 or below y0.
    template <typename F>
    void forSegmentsNear(float x0, float x1, int bound, F &&f, float y0, float y1) const;
    template <typename F> void forSegmentsNear(float x0, float x1, int bound, F &&f) const;

    // True only where width(x) is sure to be positive from the buckets'
    // heights alone: every surface point near x lies more than two skins
    // and a margin apart, and both surfaces reach x.
    bool surelyWide(float x) const;
    // The first and last buckets over x0 to x1, within the buckets there are.
    std::pair<std::size_t, std::size_t> bucketRange(float x0, float x1) const;
    bool reaches(int bound, float x) const;

    float m_skin;
    float m_xMin = 0;
    float m_xMax = 0;
    float m_bucketWidth = 1;
    std::vector<Segment> m_segments;
    // For each bound (upper, lower), the segments by x bucket.
    std::vector<Bucket> m_buckets[2];
    // For each bound, the stretches of x its segments span, in order.
    std::vector<std::pair<float, float>> m_spans[2];
};
