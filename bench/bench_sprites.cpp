// Time of one tick of the start window's animation at the highest speed
// (16 steps: erase, move, draw and show the three planes, the figure and
// the swoop logic) beside the time to copy the whole 600 x 375 scene once,
// with the swooping plane kept in the air throughout.
//
//   bench_sprites [ticks]
#include "BenchTiming.h"

#include "app/sprites/IntroAnimation.h"
#include "app/sprites/MaskedBitmap.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace
{

double mean(const std::vector<double> &v)
{
    return std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(10, std::atoi(argv[1])) : 3000;

    ImageTarget target(QSize(IntroAnimation::kWidth, IntroAnimation::kHeight));
    IntroAnimation scene(&target, QRect(21, 63, IntroAnimation::kWidth, IntroAnimation::kHeight));
    scene.album().Paint(QRect(0, 0, IntroAnimation::kWidth, IntroAnimation::kHeight));

    std::vector<double> tick, copy;
    tick.reserve(size_t(ticks));
    QElapsedTimer clock;
    for (int i = 0; i < ticks; ++i) {
        scene.ShowSwoop();
        clock.start();
        scene.Tick(16);
        tick.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const QRect whole(0, 0, IntroAnimation::kWidth, IntroAnimation::kHeight);
    for (int i = 0; i < ticks; ++i) {
        clock.start();
        MaskedBitmap::copyRect(target.screen, scene.album().work(), whole);
        copy.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const double worst = *std::max_element(tick.begin(), tick.end());
    std::printf("%d ticks of 16 steps, scene %dx%d, three planes in the air\n", ticks,
                IntroAnimation::kWidth, IntroAnimation::kHeight);
    std::printf("tick: median %.4f ms, mean %.4f ms, worst %.4f ms (target: within 1 ms)\n",
                median(tick), mean(tick), worst);
    std::printf("scene copy: median %.4f ms, mean %.4f ms\n", median(copy), mean(copy));
    std::printf("median tick / scene copy = %.1fx\n", median(tick) / median(copy));
    std::printf("mean tick / scene copy = %.1fx\n", mean(tick) / mean(copy));
    return 0;
}
