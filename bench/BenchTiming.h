#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

// The median of some timings (0 for none): steadier than the mean on a
// machine shared with other work.
inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median time of f over some repetitions, in milliseconds.
template <typename F> double timeMs(int repetitions, F &&f)
{
    std::vector<double> times;
    for (int r = 0; r < repetitions; ++r) {
        QElapsedTimer timer;
        timer.start();
        f();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}
