#include "geometry/Trig.h"

#include <array>
#include <cmath>

namespace
{

struct Tables {
    std::array<float, 361> sine{};
    std::array<float, 361> cosine{};
    Tables()
    {
        for (int i = 0; i <= 360; ++i) {
            const float a = float(i) * float(M_PI / 180.0);
            sine[i] = std::sin(a);
            cosine[i] = std::cos(a);
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

int normalise(int degrees)
{
    degrees %= 360;
    if (degrees < 0)
        degrees += 360;
    return degrees;
}

} // namespace

float Trig::sinDeg(int degrees)
{
    return tables().sine[normalise(degrees)];
}
float Trig::cosDeg(int degrees)
{
    return tables().cosine[normalise(degrees)];
}
float Trig::tanDeg(int degrees)
{
    return sinDeg(degrees) / cosDeg(degrees);
}

long long Trig::isqrt(long long n)
{
    if (n <= 0)
        return 0;
    // Integer Newton steps from above converge on floor(sqrt(n)).
    long long x = n;
    long long y = (x + 1) / 2;
    while (y < x) {
        x = y;
        y = (x + n / x) / 2;
    }
    return x;
}

int Trig::distance(int x1, int y1, int x2, int y2)
{
    const long long dx = (long long)x2 - x1;
    const long long dy = (long long)y2 - y1;
    return int(isqrt(dx * dx + dy * dy));
}

int Trig::directionAngle(float a, float b, float c, float d)
{
    const float dx = c - a;
    const float dy = b - d;
    if (std::fabs(dx) < 0.001f)
        return dy >= 0 ? 90 : 270;
    float deg = std::atan(dy / std::fabs(dx)) * float(180.0 / M_PI);
    if (dx < 0)
        deg = 180.0f - deg;
    return int(std::nearbyint(deg));
}
