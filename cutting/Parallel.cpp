#include "cutting/Parallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace Parallel
{

int threads()
{
    return int(std::max(1U, std::thread::hardware_concurrency()));
}

void forEach(std::size_t count, const std::function<void(std::size_t, int)> &work)
{
    const std::size_t helpers = std::min(std::size_t(threads()), count) - (count > 0 ? 1 : 0);
    // Pieces handed out one at a time: ribs differ in their cost, so fixed
    // halves would leave one core idle at the end.
    std::atomic<std::size_t> next{0};
    auto run = [&](int worker) {
        for (std::size_t i = next++; i < count; i = next++)
            work(i, worker);
    };
    std::vector<std::thread> pool;
    pool.reserve(helpers);
    for (std::size_t k = 0; k < helpers; ++k)
        pool.emplace_back(run, int(k + 1));
    run(0);
    for (std::thread &t : pool)
        t.join();
}

} // namespace Parallel
