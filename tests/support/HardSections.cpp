#include "HardSections.h"

#include <algorithm>
#include <cmath>

namespace HardSections
{

namespace
{

constexpr double kPi = 3.14159265358979323846;

// Solves the 3x3 system m v = r by Cramer's rule.
void solve3(const double m[3][3], const double r[3], double v[3])
{
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    for (int k = 0; k < 3; ++k) {
        double c[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                c[i][j] = j == k ? r[i] : m[i][j];
        v[k] = det(c) / d;
    }
}

double station(const Section &s, int i, int count)
{
    const double u = double(i) / (count - 1);
    switch (s.spacing) {
    case 1:
        return u;
    case 2:
        return u * u * u * (0.5 + 0.5 * u) + 0.5 * u * (1 - u * u);
    case 3: {
        if (i == 0 || i == count - 1)
            return (1 - std::cos(kPi * u)) / 2;
        const quint64 h = (s.seed + quint64(i)) * 6364136223846793005ull + 1442695040888963407ull;
        const double jitter = (double((h >> 33) % 1000) / 1000.0 - 0.5) * 0.8 / (count - 1);
        return std::clamp((1 - std::cos(kPi * (u + jitter))) / 2, 0.0, 1.0);
    }
    default:
        return (1 - std::cos(kPi * u)) / 2;
    }
}

std::vector<double> stations(const Section &s, int count)
{
    std::vector<double> xs;
    for (int i = 0; i < count; ++i)
        xs.push_back(station(s, i, count));
    std::sort(xs.begin(), xs.end());
    return xs;
}

} // namespace

QString Section::describe() const
{
    return QString::asprintf("t %.1f%% at %.0f%%, nose r %.2f%%, tail gap %.2f%%, camber %.1f%% at "
                             "%.0f%%, reflex %.1f%%, spacing %d, %d/%d points, %d mm, skin %d, "
                             "smoothing %d",
                             thickness * 100, thickestAt * 100, noseRadius * 100, tailGap * 100,
                             camber * 100, camberAt * 100, reflex * 100, spacing, upperCount,
                             lowerCount, chord, skin, smoothing);
}

// sqrt(2 r x) near the nose (a circle of radius r), then a cubic that
// reaches half the thickness with a level top at thickestAt and half the
// trailing-edge gap at 1.
double halfThickness(const Section &s, double x)
{
    const double a0 = std::sqrt(2 * s.noseRadius);
    const double p = s.thickestAt;
    const double m[3][3] = {{p, p * p, p * p * p}, {1, 2 * p, 3 * p * p}, {1, 1, 1}};
    const double r[3] = {s.thickness / 2 - a0 * std::sqrt(p), -a0 / (2 * std::sqrt(p)),
                         s.tailGap / 2 - a0};
    double c[3];
    solve3(m, r, c);
    const double h = a0 * std::sqrt(x) + c[0] * x + c[1] * x * x + c[2] * x * x * x;
    // Never thinner than the gap's share towards the rear.
    return std::max(h, s.tailGap / 2 * x);
}

double camberLine(const Section &s, double x)
{
    const double m = s.camber, p = s.camberAt;
    double y = x < p ? m / (p * p) * (2 * p * x - x * x)
                     : m / ((1 - p) * (1 - p)) * ((1 - 2 * p) + 2 * p * x - x * x);
    if (x > 0.6)
        y += s.reflex * (x - 0.6) * (1 - x) / 0.04;
    return y;
}

QStringList pointLines(const Section &s)
{
    const std::vector<double> up = stations(s, s.upperCount);
    const std::vector<double> low = stations(s, s.lowerCount);
    const int count = std::max(s.upperCount, s.lowerCount);
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const double xu = up[size_t(std::min(i, s.upperCount - 1))];
        const double xl = low[size_t(std::min(i, s.lowerCount - 1))];
        double yu = camberLine(s, xu) + halfThickness(s, xu);
        double yl = camberLine(s, xl) - halfThickness(s, xl);
        // The catalogue's rows start at (0, 0) and end at (100, 0): a blunt
        // trailing edge is closed by its last, steep, piece, and a shorter
        // surface is padded with that end.
        const bool first = i == 0;
        const bool upperEnd = i >= s.upperCount - 1, lowerEnd = i >= s.lowerCount - 1;
        if (first)
            yu = yl = 0;
        if (upperEnd)
            yu = 0;
        if (lowerEnd)
            yl = 0;
        lines << QString::asprintf("%.2f;%.2f;%.2f;%.2f;", first ? 0.0 : upperEnd ? 100.0 : xu * 100,
                                   yu * 100, first ? 0.0 : lowerEnd ? 100.0 : xl * 100, yl * 100);
    }
    return lines;
}

std::vector<Section> family(int count, quint64 seed)
{
    quint64 state = seed;
    auto next = [&state](int lo, int hi) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return lo + int((state >> 33) % quint64(hi - lo + 1));
    };
    std::vector<Section> out;
    for (int k = 0; k < count; ++k) {
        Section s;
        const int kind = k % 5;
        s.thickness = next(20, 200) / 1000.0;
        s.thickestAt = next(20, 40) / 100.0;
        s.noseRadius = next(1, 30) / 1000.0;
        s.tailGap = next(0, 1) ? next(0, 60) / 10000.0 : 0;
        s.camber = next(0, 60) / 1000.0;
        s.camberAt = next(20, 60) / 100.0;
        if (kind == 1) { // high lift: strong camber, thin curved rear
            s.camber = next(80, 120) / 1000.0;
            s.camberAt = next(40, 60) / 100.0;
            s.thickness = next(60, 120) / 1000.0;
            s.thickestAt = next(20, 30) / 100.0;
        } else if (kind == 2) { // sharp nose
            s.noseRadius = next(1, 5) / 1000.0;
        } else if (kind == 3) { // reflexed rear
            s.reflex = next(5, 20) / 1000.0;
            s.camber = next(0, 30) / 1000.0;
        } else if (kind == 4) { // blunt trailing edge, surfaces nearly parallel
            s.tailGap = next(10, 60) / 10000.0;
        }
        s.spacing = next(0, 3);
        const int ratio = next(0, 2) == 0 ? 1 : next(1, 6);
        const int larger = next(20 * ratio, 400);
        (next(0, 1) ? s.upperCount : s.lowerCount) = larger;
        (s.upperCount == larger ? s.lowerCount : s.upperCount) = std::max(8, larger / ratio);
        s.chord = next(20, 280) * 2;
        s.skin = next(5, 40);
        const int smoothing = next(0, 9);
        s.smoothing = smoothing == 0 ? 0 : smoothing == 1 ? 100 : 50;
        s.seed = state;
        out.push_back(s);
    }
    return out;
}

} // namespace HardSections
