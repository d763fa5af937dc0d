#include "geometry/TemplateGeometry.h"

#include "geometry/RibOutline.h"

#include <cmath>

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

bool TemplateGeometry::templateFits(const WorkingData &wd, float skinTenths, int coefficient)
{
    return RibOutline::fits(wd, skinTenths, coefficient);
}

int TemplateGeometry::largestSkinThatFits(const WorkingData &wd, int coefficient)
{
    return RibOutline::largestSkin(wd, coefficient);
}
