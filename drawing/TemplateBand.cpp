#include "drawing/TemplateBand.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr float kNone = std::numeric_limits<float>::infinity();

float distanceToSegment(FPoint p, FPoint a, FPoint b)
{
    const double vx = double(b.x) - a.x, vy = double(b.y) - a.y;
    const double wx = double(p.x) - a.x, wy = double(p.y) - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? (wx * vx + wy * vy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return float(std::hypot(wx - t * vx, wy - t * vy));
}

// The lowest (downwards = +1) or highest (downwards = -1) point at x of the
// region within r of the segment ab; -kNone * downwards when x is not
// covered.
float capsuleEdge(FPoint a, FPoint b, float r, float x, float downwards)
{
    float best = -kNone;
    for (FPoint e : {a, b}) {
        const float dx = x - e.x;
        if (std::fabs(dx) <= r)
            best = std::max(best, downwards * e.y + std::sqrt(r * r - dx * dx));
    }
    const float vx = b.x - a.x;
    const float vy = b.y - a.y;
    const float len = std::hypot(vx, vy);
    if (len > 0) {
        // The side of the capsule facing the asked direction.
        float nx = -vy / len;
        float ny = vx / len;
        if (ny * downwards < 0) {
            nx = -nx;
            ny = -ny;
        }
        const float ax = a.x + r * nx, bx = b.x + r * nx;
        const float ay = a.y + r * ny, by = b.y + r * ny;
        const float lo = std::min(ax, bx), hi = std::max(ax, bx);
        if (hi > lo && x >= lo && x <= hi)
            best = std::max(best, downwards * (ay + (x - ax) * (by - ay) / (bx - ax)));
    }
    return best == -kNone ? -kNone * downwards : downwards * best;
}

} // namespace

TemplateBand::TemplateBand(std::vector<FPoint> upper, std::vector<FPoint> lower, float skin)
    : m_skin(skin)
{
    if (upper.empty() || lower.empty())
        return;
    m_xMin = std::min(upper.front().x, lower.front().x);
    m_xMax = std::max(upper.back().x, lower.back().x);
    for (size_t i = 1; i < upper.size(); ++i)
        m_segments.push_back({upper[i - 1], upper[i], true});
    for (size_t i = 1; i < lower.size(); ++i)
        m_segments.push_back({lower[i - 1], lower[i], false});
    if (!(upper.back() == lower.back()))
        m_segments.push_back({upper.back(), lower.back(), true});
    if (!(upper.front() == lower.front()))
        m_segments.push_back({lower.front(), upper.front(), true});

    for (const Segment &s : m_segments) {
        m_xMin = std::min({m_xMin, s.a.x, s.b.x});
        m_xMax = std::max({m_xMax, s.a.x, s.b.x});
    }
    // Buckets about a skin wide, at most a few thousand of them.
    const float span = std::max(m_xMax - m_xMin, 1e-6f);
    m_bucketWidth = std::max(skin, span / 2000.0f);
    m_buckets.resize(size_t(span / m_bucketWidth) + 2);
    for (int k = 0; k < int(m_segments.size()); ++k) {
        const Segment &s = m_segments[size_t(k)];
        const auto first = size_t((std::min(s.a.x, s.b.x) - m_xMin) / m_bucketWidth);
        const auto last = size_t((std::max(s.a.x, s.b.x) - m_xMin) / m_bucketWidth);
        for (size_t b = first; b <= last && b < m_buckets.size(); ++b)
            m_buckets[b].push_back(k);
    }
}

template <typename F> void TemplateBand::forSegmentsNear(float x0, float x1, F &&f) const
{
    if (m_buckets.empty() || x1 < m_xMin || x0 > m_xMax)
        return;
    const auto first = size_t(std::max(0.0f, (x0 - m_xMin) / m_bucketWidth));
    const auto last = std::min(m_buckets.size() - 1, size_t((x1 - m_xMin) / m_bucketWidth));
    // A segment spanning several buckets is met once, in the first of them
    // that the range covers.
    for (size_t b = first; b <= last; ++b) {
        for (int k : m_buckets[b]) {
            const Segment &s = m_segments[size_t(k)];
            const auto home = size_t((std::min(s.a.x, s.b.x) - m_xMin) / m_bucketWidth);
            if (home == b || (b == first && home < first))
                f(s);
        }
    }
}

float TemplateBand::distance(FPoint p, float upTo) const
{
    float best = upTo;
    forSegmentsNear(p.x - upTo, p.x + upTo, [&](const Segment &s) {
        best = std::min(best, distanceToSegment(p, s.a, s.b));
    });
    return best;
}

bool TemplateBand::inside(FPoint p) const
{
    // Crossings of the outline above p on the vertical through it.
    int crossings = 0;
    forSegmentsNear(p.x, p.x, [&](const Segment &s) {
        const FPoint a = s.a.x <= s.b.x ? s.a : s.b;
        const FPoint b = s.a.x <= s.b.x ? s.b : s.a;
        if (!(p.x >= a.x && p.x < b.x))
            return;
        const float y = a.y + (p.x - a.x) * (b.y - a.y) / (b.x - a.x);
        crossings += y < p.y;
    });
    return crossings % 2 == 1;
}

float TemplateBand::upperLimit(float x) const
{
    float limit = -kNone;
    forSegmentsNear(x - m_skin, x + m_skin, [&](const Segment &s) {
        if (s.upper)
            limit = std::max(limit, capsuleEdge(s.a, s.b, m_skin, x, 1.0f));
    });
    return limit;
}

float TemplateBand::lowerLimit(float x) const
{
    float limit = kNone;
    forSegmentsNear(x - m_skin, x + m_skin, [&](const Segment &s) {
        if (!s.upper)
            limit = std::min(limit, capsuleEdge(s.a, s.b, m_skin, x, -1.0f));
    });
    return limit;
}

float TemplateBand::width(float x) const
{
    if (!(x > m_xMin && x < m_xMax))
        return -1;
    const float up = upperLimit(x);
    const float low = lowerLimit(x);
    // Uncovered by either surface: only possible outside the outline.
    if (up == -kNone || low == kNone)
        return -1;
    return low - up;
}

TemplateBand::Stretch TemplateBand::firstStretch() const
{
    Stretch s;
    const float step = (m_xMax - m_xMin) / 4000.0f;
    if (!(step > 0))
        return s;
    // Halving between an x outside the band and one inside it.
    auto edge = [this](float out, float in) {
        for (int k = 0; k < 30; ++k) {
            const float mid = (out + in) / 2;
            if (mid == out || mid == in)
                break;
            (width(mid) > 0 ? in : out) = mid;
        }
        return in;
    };
    float previous = m_xMin;
    bool inBand = false;
    for (int k = 1; k <= 4000; ++k) {
        const float x = m_xMin + step * float(k);
        const bool positive = width(x) > 0;
        if (positive && !inBand) {
            s.found = true;
            s.front = edge(previous, x);
            inBand = true;
        } else if (!positive && inBand) {
            s.rear = edge(x, previous);
            return s;
        }
        previous = x;
    }
    if (inBand)
        s.rear = previous;
    return s;
}

TemplateBand::Knots TemplateBand::knots(const Stretch &stretch, float spacing, int maxKnots) const
{
    Knots k;
    if (!stretch.found || maxKnots < 2)
        return k;
    auto middle = [this](float x) { return FPoint{x, (upperLimit(x) + lowerLimit(x)) / 2}; };
    const FPoint nose = middle(stretch.front);
    const FPoint tail = middle(stretch.rear);
    k.upper.push_back(nose);
    k.lower.push_back(nose);

    // Samples closer together at both ends, where the limits turn fastest.
    constexpr int kSamples = 2000;
    const float span = stretch.rear - stretch.front;
    float pathUp = 0, pathLow = 0;
    FPoint prevUp = nose, prevLow = nose;
    for (int j = 1; j < kSamples; ++j) {
        const float t = float(0.5 * (1 - std::cos(M_PI * j / kSamples)));
        const float x = stretch.front + span * t;
        const FPoint up{x, upperLimit(x)};
        const FPoint low{x, lowerLimit(x)};
        if (!(low.y > up.y))
            continue;
        pathUp += std::hypot(up.x - prevUp.x, up.y - prevUp.y);
        pathLow += std::hypot(low.x - prevLow.x, low.y - prevLow.y);
        prevUp = up;
        prevLow = low;
        if (std::max(pathUp, pathLow) >= spacing && int(k.upper.size()) < maxKnots - 1) {
            k.upper.push_back(up);
            k.lower.push_back(low);
            pathUp = pathLow = 0;
        }
    }
    k.upper.push_back(tail);
    k.lower.push_back(tail);
    return k;
}
