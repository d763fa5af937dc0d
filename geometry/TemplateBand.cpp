#include "geometry/TemplateBand.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr float kNone = std::numeric_limits<float>::infinity();

// Square of the distance from p to the segment ab.
float squaredDistanceToSegment(FPoint p, FPoint a, FPoint b)
{
    const float vx = b.x - a.x, vy = b.y - a.y;
    const float wx = p.x - a.x, wy = p.y - a.y;
    const float len2 = vx * vx + vy * vy;
    const float t = len2 > 0 ? std::clamp((wx * vx + wy * vy) / len2, 0.0f, 1.0f) : 0.0f;
    const float dx = wx - t * vx, dy = wy - t * vy;
    return dx * dx + dy * dy;
}

// The polyline without the points that lie closer than minLength to the
// last one kept (the ends are always kept): the drawn curve has 16 points
// for each interval between profile points, far more than a skin needs.
std::vector<FPoint> thinned(const std::vector<FPoint> &points, float minLength)
{
    std::vector<FPoint> kept;
    if (points.empty())
        return kept;
    kept.push_back(points.front());
    for (size_t i = 1; i + 1 < points.size(); ++i) {
        const FPoint p = points[i];
        const float dx = p.x - kept.back().x, dy = p.y - kept.back().y;
        if (dx * dx + dy * dy >= minLength * minLength)
            kept.push_back(p);
    }
    if (points.size() > 1)
        kept.push_back(points.back());
    return kept;
}

} // namespace

TemplateBand::TemplateBand(std::vector<FPoint> upper, std::vector<FPoint> lower, float skin)
    : m_skin(skin)
{
    if (upper.empty() || lower.empty())
        return;
    // Pieces an eighth of a skin long bend away from the curve by far less
    // than any tolerance of the drawing.
    upper = thinned(upper, skin / 8);
    lower = thinned(lower, skin / 8);
    m_xMin = kNone;
    m_xMax = -kNone;
    auto add = [this](FPoint a, FPoint b, bool bound) {
        if (!std::isfinite(a.x + a.y + b.x + b.y))
            return;
        Segment s{a, b, bound};
        s.length = std::hypot(b.x - a.x, b.y - a.y);
        if (s.length > 0) {
            s.nx = -(b.y - a.y) / s.length;
            s.ny = (b.x - a.x) / s.length;
            if (s.ny < 0 || (s.ny == 0 && s.nx < 0)) {
                s.nx = -s.nx;
                s.ny = -s.ny;
            }
        }
        m_segments.push_back(s);
    };
    for (size_t i = 1; i < upper.size(); ++i)
        add(upper[i - 1], upper[i], true);
    for (size_t i = 1; i < lower.size(); ++i)
        add(lower[i - 1], lower[i], false);
    if (!(upper.back() == lower.back()))
        add(upper.back(), lower.back(), true);
    if (!(upper.front() == lower.front()))
        add(lower.front(), upper.front(), true);

    for (const Segment &s : m_segments) {
        m_xMin = std::min({m_xMin, s.a.x, s.b.x});
        m_xMax = std::max({m_xMax, s.a.x, s.b.x});
    }
    // An outline without finite points leaves no band.
    const float span = std::max(m_xMax - m_xMin, 1e-6f);
    if (m_segments.empty() || !std::isfinite(span) || !(skin >= 0)) {
        m_segments.clear();
        m_xMin = m_xMax = 0;
        return;
    }
    // Buckets about a skin wide, at most a few thousand of them.
    m_bucketWidth = std::max(skin, span / 2000.0f);
    for (auto &buckets : m_buckets)
        buckets.assign(size_t(span / m_bucketWidth) + 2, Bucket{{}, kNone, -kNone});
    for (int k = 0; k < int(m_segments.size()); ++k) {
        Segment &s = m_segments[size_t(k)];
        auto &buckets = m_buckets[s.upper ? 0 : 1];
        const auto first = size_t((std::min(s.a.x, s.b.x) - m_xMin) / m_bucketWidth);
        const auto last = size_t((std::max(s.a.x, s.b.x) - m_xMin) / m_bucketWidth);
        s.home = first;
        for (size_t b = first; b <= last && b < buckets.size(); ++b) {
            Bucket &bucket = buckets[b];
            bucket.segments.push_back(k);
            bucket.yMin = std::min({bucket.yMin, s.a.y, s.b.y});
            bucket.yMax = std::max({bucket.yMax, s.a.y, s.b.y});
        }
        m_spans[s.upper ? 0 : 1].emplace_back(std::min(s.a.x, s.b.x), std::max(s.a.x, s.b.x));
    }
    for (auto &spans : m_spans) {
        std::sort(spans.begin(), spans.end());
        std::vector<std::pair<float, float>> merged;
        for (const auto &span : spans) {
            if (!merged.empty() && span.first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, span.second);
            else
                merged.push_back(span);
        }
        spans = std::move(merged);
    }
}

// The lowest (downwards = +1) or highest (downwards = -1) point at x of the
// region within r of the segment; -kNone * downwards when x is not covered.
float TemplateBand::capsuleEdge(const Segment &s, float r, float x, float downwards)
{
    float best = -kNone;
    for (FPoint e : {s.a, s.b}) {
        const float dx = x - e.x;
        if (std::fabs(dx) <= r)
            best = std::max(best, downwards * e.y + std::sqrt(r * r - dx * dx));
    }
    if (s.length > 0) {
        // The side of the capsule facing the asked direction (the stored
        // normal points downwards).
        const float nx = downwards * s.nx;
        const float ny = downwards * s.ny;
        const float ax = s.a.x + r * nx, bx = s.b.x + r * nx;
        const float ay = s.a.y + r * ny, by = s.b.y + r * ny;
        const float lo = std::min(ax, bx), hi = std::max(ax, bx);
        if (hi > lo && x >= lo && x <= hi)
            best = std::max(best, downwards * (ay + (x - ax) * (by - ay) / (bx - ax)));
    }
    return best == -kNone ? -kNone * downwards : downwards * best;
}

std::pair<size_t, size_t> TemplateBand::bucketRange(float x0, float x1) const
{
    const float top = float(m_buckets[0].size() - 1);
    return {size_t(std::clamp((x0 - m_xMin) / m_bucketWidth, 0.0f, top)),
            size_t(std::clamp((x1 - m_xMin) / m_bucketWidth, 0.0f, top))};
}

template <typename F>
void TemplateBand::forSegmentsNear(float x0, float x1, int bound, F &&f, float y0, float y1) const
{
    if (m_buckets[0].empty() || !(x1 >= m_xMin) || !(x0 <= m_xMax))
        return;
    const auto [first, last] = bucketRange(x0, x1);
    // A segment spanning several buckets is met once, in the first of them
    // that the range covers.
    for (int list = 0; list < 2; ++list) {
        if (bound >= 0 && bound != list)
            continue;
        for (size_t b = first; b <= last; ++b) {
            const Bucket &bucket = m_buckets[list][b];
            if (bucket.yMin > y1 || bucket.yMax < y0)
                continue;
            for (int k : bucket.segments) {
                const Segment &s = m_segments[size_t(k)];
                if (s.home == b || (b == first && s.home < first))
                    f(s);
            }
        }
    }
}

template <typename F> void TemplateBand::forSegmentsNear(float x0, float x1, int bound, F &&f) const
{
    forSegmentsNear(x0, x1, bound, std::forward<F>(f), -kNone, kNone);
}

float TemplateBand::distance(FPoint p, float upTo) const
{
    float best = upTo * upTo;
    float reach = std::sqrt(best);
    // Nothing closer than upTo lies outside p.y +- upTo: those buckets are
    // passed by whole.
    forSegmentsNear(
        p.x - upTo, p.x + upTo, -1,
        [&](const Segment &s) {
            if (std::min(s.a.y, s.b.y) > p.y + reach || std::max(s.a.y, s.b.y) < p.y - reach)
                return;
            const float d = squaredDistanceToSegment(p, s.a, s.b);
            if (d < best) {
                best = d;
                reach = std::sqrt(best);
            }
        },
        p.y - reach, p.y + reach);
    return std::sqrt(best);
}

bool TemplateBand::inside(FPoint p) const
{
    // Crossings of the outline above p on the vertical through it.
    int crossings = 0;
    forSegmentsNear(p.x, p.x, -1, [&](const Segment &s) {
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
    forSegmentsNear(x - m_skin, x + m_skin, 0, [&](const Segment &s) {
        limit = std::max(limit, capsuleEdge(s, m_skin, x, 1.0f));
    });
    return limit;
}

float TemplateBand::lowerLimit(float x) const
{
    float limit = kNone;
    forSegmentsNear(x - m_skin, x + m_skin, 1, [&](const Segment &s) {
        limit = std::min(limit, capsuleEdge(s, m_skin, x, -1.0f));
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

bool TemplateBand::reaches(int bound, float x) const
{
    const auto &spans = m_spans[bound];
    auto it = std::upper_bound(spans.begin(), spans.end(), x,
                               [](float v, const std::pair<float, float> &s) { return v < s.first; });
    return it != spans.begin() && x <= (it - 1)->second;
}

bool TemplateBand::surelyWide(float x) const
{
    if (!(x > m_xMin && x < m_xMax) || m_buckets[0].empty())
        return false;
    // Where a segment's span holds x, its capsule has a point at x: both
    // limits are then finite. The lowest point of an upper capsule is no
    // lower than its segment's lower end plus a skin, and the same upwards
    // for the lower surface; the margin is far above the rounding of the
    // limits' own arithmetic.
    if (!reaches(0, x) || !reaches(1, x))
        return false;
    const auto [first, last] = bucketRange(x - m_skin, x + m_skin);
    float upperLowest = -kNone;
    float lowerHighest = kNone;
    for (size_t b = first; b <= last; ++b) {
        upperLowest = std::max(upperLowest, m_buckets[0][b].yMax);
        lowerHighest = std::min(lowerHighest, m_buckets[1][b].yMin);
    }
    if (!std::isfinite(upperLowest) || !std::isfinite(lowerHighest))
        return false;
    const float margin =
        1e-4f * (std::fabs(upperLowest) + std::fabs(lowerHighest) + std::fabs(x) + m_skin);
    return (lowerHighest - m_skin) - (upperLowest + m_skin) > margin;
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
        const bool positive = surelyWide(x) || width(x) > 0;
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

TemplateBand::Knots TemplateBand::knots(const Stretch &stretch, float spacing, float fine,
                                        int maxKnots) const
{
    Knots k;
    if (!stretch.found || maxKnots < 4)
        return k;
    auto middle = [this](float x) { return FPoint{x, (upperLimit(x) + lowerLimit(x)) / 2}; };
    const FPoint nose = middle(stretch.front);
    const FPoint tail = middle(stretch.rear);

    // Both limits sampled closer together at the two ends, where they turn
    // fastest, with the distance run along the faster of the two.
    constexpr int kSamples = 2000;
    const float span = stretch.rear - stretch.front;
    std::vector<FPoint> ups{nose}, lows{nose};
    std::vector<float> run{0};
    for (int j = 1; j < kSamples; ++j) {
        const float t = float(0.5 * (1 - std::cos(M_PI * j / kSamples)));
        const float x = stretch.front + span * t;
        const FPoint up{x, upperLimit(x)};
        const FPoint low{x, lowerLimit(x)};
        if (!(low.y > up.y))
            continue;
        run.push_back(run.back() +
                      std::max(std::hypot(up.x - ups.back().x, up.y - ups.back().y),
                               std::hypot(low.x - lows.back().x, low.y - lows.back().y)));
        ups.push_back(up);
        lows.push_back(low);
    }
    const float total =
        run.back() + std::max(std::hypot(tail.x - ups.back().x, tail.y - ups.back().y),
                              std::hypot(tail.x - lows.back().x, tail.y - lows.back().y));

    // Knots at most `spacing` apart, closer near the ends (the outline
    // leaves the nose vertically and meets the tail at an angle, so the
    // pieces there must be short), never more than the lists hold.
    const float widest = std::max(spacing, total / float(maxKnots - 3));
    k.upper.push_back(nose);
    k.lower.push_back(nose);
    float lastRun = 0;
    for (size_t j = 1; j < run.size(); ++j) {
        const float toEnd = std::min(run[j], total - run[j]);
        const float wanted = std::min(widest, std::max(fine, 0.5f * toEnd));
        if (run[j] - lastRun >= wanted && int(k.upper.size()) < maxKnots - 1) {
            k.upper.push_back(ups[j]);
            k.lower.push_back(lows[j]);
            lastRun = run[j];
        }
    }
    k.upper.push_back(tail);
    k.lower.push_back(tail);
    return k;
}
