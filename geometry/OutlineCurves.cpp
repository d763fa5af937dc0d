#include "geometry/OutlineCurves.h"

#include "ui/DirectPixels.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

// The whole steps that fit in a span of pixels. Loops over a template count
// them rather than let a float position grow: far from zero a float stops
// moving by a small step. The cap lies far beyond any drawable template.
int stepsWithin(float span, float step)
{
    if (!(span > 0))
        return 0;
    return int(std::min(std::floor(double(span) / double(step)), double(1 << 26)));
}

// Linear interpolation between a and b at x; the y of a when the two are
// closer in x than the threshold (their order makes the gap positive).
float interpolate(FPoint a, FPoint b, float x, float flatThreshold)
{
    const float gap = b.x - a.x;
    if (gap < flatThreshold)
        return a.y;
    return a.y + (x - a.x) * (b.y - a.y) / gap;
}

void smoothList(std::array<FPoint, OutlineCurves::kListSize> &list, int last, float s)
{
    auto control = [s](FPoint k, FPoint towards, FPoint away) {
        // R is the knot pushed away from the far neighbour; the control point
        // is the mean of the two half-way points.
        const FPoint r{k.x - s * (away.x - k.x), k.y - s * (away.y - k.y)};
        return FPoint{((k.x + r.x) / 2 + (k.x + towards.x) / 2) / 2,
                      ((k.y + r.y) / 2 + (k.y + towards.y) / 2) / 2};
    };
    for (int g = 3; g <= last - 3; g += 3) {
        const FPoint a = list[g - 3];
        const FPoint k = list[g];
        const FPoint b = list[g + 3];
        list[g - 1] = control(k, a, b);
        list[g + 1] = control(k, b, a);
    }
    if (last >= 3) {
        list[1] = {list[0].x, (list[0].y + list[3].y) / 2};
        list[last - 1] = list[last];
    }
}

} // namespace

void OutlineCurves::storeProfileKnots(const ViewGeometry &view, int lastPoint,
                                      const KnotSink &onKnot)
{
    for (int i = 0; i <= lastPoint; ++i) {
        upperList[3 * i] = view.upperView[i];
        if (onKnot)
            onKnot(view.upperView[i]);
        lowerList[3 * i] = view.lowerView[i];
        if (onKnot)
            onKnot(view.lowerView[i]);
    }
    lastIndex = 3 * lastPoint;
}

float OutlineCurves::scanHeight(const FPoint *points, int lastPoint, float x, int *from)
{
    for (int i = from ? std::max(*from, 0) : 0; i < lastPoint; ++i) {
        if (points[i + 1].x > x) {
            if (from)
                *from = i;
            return interpolate(points[i], points[i + 1], x, 1.0f);
        }
    }
    return kInvalidHeight;
}

float OutlineCurves::tailHeight(const FPoint *points, int lastPoint, float x, int *from)
{
    const int mid = lastPoint / 2;
    if (x > points[lastPoint].x || x < points[mid].x)
        return kInvalidHeight;
    // The first point past x from the middle: none before *from was, for a
    // smaller x, so none is now.
    for (int j = from ? std::max(*from, mid + 1) : mid + 1; j <= lastPoint; ++j) {
        if (points[j].x > x) {
            if (from)
                *from = j;
            return interpolate(points[j - 1], points[j], x, 1.0f);
        }
    }
    return kInvalidHeight;
}

float OutlineCurves::noseHeight(const FPoint *points, int lastPoint, float x, float flatThreshold,
                                int *from)
{
    const int mid = lastPoint / 2;
    if (x < points[0].x || x > points[mid].x)
        return kInvalidHeight;
    // The first point short of x down from the middle: none after *from
    // was, for a larger x, so none is now.
    for (int j = from ? std::min(*from, mid - 1) : mid - 1; j >= 0; --j) {
        if (points[j].x < x) {
            if (from)
                *from = j;
            return interpolate(points[j], points[j + 1], x, flatThreshold);
        }
    }
    return kInvalidHeight;
}

void OutlineCurves::computeTemplateEnds(const WorkingData &wd, const ViewGeometry &view)
{
    const int n = wd.lastPoint;
    const FPoint *ut = wd.upperTemplate.data();
    const FPoint *lt = wd.lowerTemplate.data();

    // Forwards until the two offset curves cross. Each step moves one pixel
    // and the heights turn invalid in front of the first template point, so
    // the search ends there at the latest. The steps are counted: a float
    // position far from zero would stop moving by one.
    const float noseFrom = ut[n / 3].x;
    const int noseSteps = stepsWithin(noseFrom - std::min(ut[0].x, lt[0].x), 1.0f) + 2;
    float x = noseFrom;
    float up = kInvalidHeight;
    float low = kInvalidHeight;
    int upperAt = n, lowerAt = n; // where the last searches stopped
    for (int k = 1; k <= noseSteps; ++k) {
        x = noseFrom - float(k);
        up = noseHeight(ut, n, x, 0.001f, &upperAt);
        low = noseHeight(lt, n, x, 1.0f, &lowerAt);
        if (!(up != kInvalidHeight && low != kInvalidHeight && low - up >= 0))
            break;
    }
    if (up != kInvalidHeight && low != kInvalidHeight)
        nose = {x, (up + low) / 2};
    else
        nose = {float(view.originX + wd.skinOffsetRounded), float(view.originY)};

    // Rearwards until the profile is no thicker than two skins.
    const FPoint *uv = view.upperView.data();
    const FPoint *lv = view.lowerView.data();
    const float twoSkins = 2.0f * float(wd.skinOffsetRounded);
    const float tailFrom = ut[2 * n / 3].x;
    const int tailSteps = stepsWithin(std::max(uv[n].x, lv[n].x) - tailFrom, 1.0f) + 2;
    x = tailFrom;
    up = low = kInvalidHeight;
    upperAt = lowerAt = 0;
    for (int k = 1; k <= tailSteps; ++k) {
        x = tailFrom + float(k);
        up = tailHeight(uv, n, x, &upperAt);
        low = tailHeight(lv, n, x, &lowerAt);
        if (!(up != kInvalidHeight && low != kInvalidHeight && std::fabs(low - up) > twoSkins))
            break;
    }
    if (up != kInvalidHeight && low != kInvalidHeight)
        tail = {x, (up + low) / 2};
    else
        tail = {ut[n].x - 3.0f * float(wd.skinOffsetRounded), ut[n].y};
}

void OutlineCurves::storeTemplateKnots(const WorkingData &wd, int lastPoint, const KnotSink &onKnot)
{
    upperList[0] = nose;
    lowerList[0] = nose;
    if (onKnot)
        onKnot(nose);
    int upperKnots = 1;
    int lowerKnots = 1;
    const int noseX = roundPixel(nose.x);
    for (int i = 0; i <= lastPoint; ++i) {
        const FPoint u = wd.upperTemplate[i];
        if (noseX < roundPixel(u.x) && u.x < tail.x) {
            upperList[3 * upperKnots++] = u;
            if (onKnot)
                onKnot(u);
        }
        const FPoint l = wd.lowerTemplate[i];
        if (noseX < roundPixel(l.x) && l.x < tail.x) {
            lowerList[3 * lowerKnots++] = l;
            if (onKnot)
                onKnot(l);
        }
    }
    upperList[3 * upperKnots++] = tail;
    lowerList[3 * lowerKnots++] = tail;
    if (onKnot)
        onKnot(tail);
    while (upperKnots < lowerKnots)
        upperList[3 * upperKnots++] = tail;
    while (lowerKnots < upperKnots)
        lowerList[3 * lowerKnots++] = tail;
    lastIndex = 3 * upperKnots - 3;
}

void OutlineCurves::smooth(int coefficient)
{
    const float s = float(coefficient) * 0.01f;
    smoothList(upperList, lastIndex, s);
    smoothList(lowerList, lastIndex, s);
}

std::vector<FPoint> OutlineCurves::curveSamples(bool upperSurface) const
{
    const auto &list = upperSurface ? upperList : lowerList;
    std::vector<FPoint> samples;
    samples.reserve(size_t(16 * (lastIndex / 3) + 1));
    samples.push_back(list[0]);
    for (int j = 3; j <= lastIndex; j += 3) {
        const FPoint p0 = list[j - 3], p1 = list[j - 2], p2 = list[j - 1], p3 = list[j];
        float t = 0;
        for (int k = 0; k < 16; ++k) {
            t += 0.0625f;
            const float u = 1.0f - t;
            const float b0 = u * u * u;
            const float b1 = 3.0f * t * u * u;
            const float b2 = 3.0f * t * t * u;
            const float b3 = t * t * t;
            samples.push_back({b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x,
                               b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y});
        }
    }
    return samples;
}

QPolygon OutlineCurves::curvePoints(bool upperSurface) const
{
    const std::vector<FPoint> samples = curveSamples(upperSurface);
    const int limit = roundPixel(upperList[lastIndex].x);
    QPolygon poly;
    poly.reserve(int(samples.size()));
    QPoint previous(roundPixel(samples[0].x), roundPixel(samples[0].y));
    poly << previous;
    for (size_t k = 1; k < samples.size(); ++k) {
        QPoint pt(roundPixel(samples[k].x), roundPixel(samples[k].y));
        if (pt.x() > limit)
            pt.setX(limit);
        if (pt != previous)
            poly << pt;
        previous = pt;
    }
    return poly;
}

const OutlineCurves::DrawnCurve &OutlineCurves::drawnCurve() const
{
    // A render draws two outlines (the profile's, then the template's), each
    // usually the same as in the last render: the last two are kept.
    const auto count = size_t(lastIndex + 1);
    auto same = [&](const DrawnCurve &d) {
        return d.lastIndex == lastIndex &&
               std::memcmp(d.upperKnots.data(), upperList.data(), count * sizeof(FPoint)) == 0 &&
               std::memcmp(d.lowerKnots.data(), lowerList.data(), count * sizeof(FPoint)) == 0;
    };
    for (const DrawnCurve &d : m_drawn) {
        if (same(d))
            return d;
    }
    DrawnCurve &d = m_drawn[m_nextDrawn];
    m_nextDrawn = (m_nextDrawn + 1) % m_drawn.size();
    d.lastIndex = lastIndex;
    d.upperKnots.assign(upperList.begin(), upperList.begin() + count);
    d.lowerKnots.assign(lowerList.begin(), lowerList.begin() + count);
    d.upper = curvePoints(true);
    d.lower = curvePoints(false);
    return d;
}

void OutlineCurves::draw(QPainter &painter) const
{
    const DrawnCurve &d = drawnCurve();
    DirectPixels::drawPolylineWithVertices(painter, d.upper);
    DirectPixels::drawPolylineWithVertices(painter, d.lower);
}

void OutlineCurves::scanCamber(const ViewGeometry &view, int lastPoint, QPainter *painter,
                               bool showCamber, const QColor &camberColour,
                               const KnotSink &onCamberPoint)
{
    const FPoint *uv = view.upperView.data();
    const FPoint *lv = view.lowerView.data();
    const bool draw = painter && showCamber;
    const bool printer = view.mode == OutputMode::Printer;
    if (draw)
        painter->setPen(QPen(camberColour, 1));

    maxThickness = 0;
    maxThicknessX = 0;
    // Every fourth pixel from just behind the nose to just before the tail,
    // counted in whole steps (the first one always).
    const float end = uv[lastPoint].x - 16.0f;
    const float first = uv[0].x + 4.0f;
    const int lastStep = stepsWithin(end - first, 4.0f);
    int upperFrom = 0, lowerFrom = 0;
    std::vector<QPoint> camber;
    for (int k = 0; k <= lastStep; ++k) {
        const float x = first + 4.0f * float(k);
        if (x > end && k > 0)
            break;
        const float up = scanHeight(uv, lastPoint, x, &upperFrom);
        const float low = scanHeight(lv, lastPoint, x, &lowerFrom);
        if (up != kInvalidHeight && low != kInvalidHeight) {
            const float thickness = std::fabs(low - up);
            if (thickness > maxThickness) {
                maxThickness = thickness;
                maxThicknessX = x;
            }
            if (draw) {
                const QPoint px(roundPixel(x), roundPixel((up + low) / 2));
                camber.push_back(px);
                if (printer)
                    camber.push_back(px + QPoint(0, 1));
            }
        }
    }
    if (draw)
        DirectPixels::drawPoints(*painter, camber.data(), int(camber.size()));

    if (!showCamber || !onCamberPoint)
        return;
    const float chordPixels = uv[lastPoint].x - float(view.originX);
    for (float fraction : {0.25f, 0.30f, 0.40f, 0.50f}) {
        const float cx = float(view.originX + roundPixel(fraction * chordPixels));
        const float up = scanHeight(uv, lastPoint, cx);
        const float low = scanHeight(lv, lastPoint, cx);
        onCamberPoint({cx, float(roundPixel((up + low) / 2))});
    }
}
