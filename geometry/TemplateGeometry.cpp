#include "geometry/TemplateGeometry.h"

#include "geometry/OutlineCurves.h"
#include "geometry/TemplateBand.h"

#include <cmath>
#include <memory>

float TemplateGeometry::surfaceAngle(FPoint p, FPoint q)
{
    const float dx = p.x - q.x;
    const float dy = p.y - q.y;
    const float b = -dy;
    const float m = std::fabs(dx);
    if (m < 0.0001f)
        return b < 0 ? 4.712389f : 1.5707964f;
    float a = std::atan(b / m);
    if (dx < 0)
        a = 3.1415927f - a;
    return a;
}

void TemplateGeometry::applySkinOffset(WorkingData &wd, const ViewGeometry &view)
{
    const float d = wd.skinThickness * view.scale * 0.1f;
    wd.skinOffset = d;
    wd.skinOffsetRounded = roundPixel(d);

    const int n = wd.lastPoint;
    if (n <= 0 || n >= kMaxProfilePoints || wd.skinThickness <= 0)
        return;

    const auto &uv = view.upperView;
    const auto &lv = view.lowerView;
    wd.upperTemplate[0] = {uv[0].x + d, uv[0].y};
    wd.lowerTemplate[0] = {lv[0].x + d, lv[0].y};
    wd.upperTemplate[n] = {uv[n].x + d, uv[n].y};
    wd.lowerTemplate[n] = {lv[n].x + d, lv[n].y};

    for (int i = 1; i < n; ++i) {
        const float au = surfaceAngle(uv[i - 1], uv[i + 1]);
        wd.upperTemplate[i] = {uv[i].x - std::sin(au) * d, uv[i].y - std::cos(au) * d};
        const float al = surfaceAngle(lv[i - 1], lv[i + 1]);
        wd.lowerTemplate[i] = {lv[i].x + std::sin(al) * d, lv[i].y + std::cos(al) * d};
    }
}

namespace
{

// The profile as drawn, in millimetres from the leading edge.
std::unique_ptr<OutlineCurves> profileInMillimetres(const WorkingData &wd, int coefficient)
{
    auto curves = std::make_unique<OutlineCurves>();
    ViewGeometry mm;
    mm.originX = 0;
    mm.originY = 0;
    const float k = wd.chord * 0.01f;
    for (int i = 0; i <= wd.lastPoint; ++i) {
        mm.upperView[size_t(i)] = {wd.upper[size_t(i)].x * k, wd.upper[size_t(i)].y * k};
        mm.lowerView[size_t(i)] = {wd.lower[size_t(i)].x * k, wd.lower[size_t(i)].y * k};
    }
    curves->storeProfileKnots(mm, wd.lastPoint);
    curves->smooth(coefficient);
    return curves;
}

} // namespace

bool TemplateGeometry::templateFits(const WorkingData &wd, float skinTenths, int coefficient)
{
    if (wd.lastPoint <= 0 || wd.lastPoint >= kMaxProfilePoints || !(skinTenths > 0))
        return false;
    const auto curves = profileInMillimetres(wd, coefficient);
    const TemplateBand band(curves->curveSamples(true), curves->curveSamples(false),
                            skinTenths * 0.1f);
    return band.firstStretch().found;
}

int TemplateGeometry::largestSkinThatFits(const WorkingData &wd, int coefficient)
{
    if (wd.lastPoint <= 0 || wd.lastPoint >= kMaxProfilePoints)
        return 0;
    const auto curves = profileInMillimetres(wd, coefficient);
    const std::vector<FPoint> upper = curves->curveSamples(true);
    const std::vector<FPoint> lower = curves->curveSamples(false);
    auto fits = [&](int tenths) {
        return TemplateBand(upper, lower, float(tenths) * 0.1f).firstStretch().found;
    };
    // Halving: fits(low) holds (or low is 0), fits(high) does not.
    int low = 0;
    int high = std::max(1, int(std::ceil(wd.skinThickness)));
    if (fits(high))
        return high;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (fits(mid) ? low : high) = mid;
    }
    return low;
}
