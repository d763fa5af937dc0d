#include "cutting/Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
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

bool inOrder(std::size_t count, std::size_t ahead,
             const std::function<void(std::size_t, std::size_t)> &make,
             const std::function<bool(std::size_t, std::size_t)> &take)
{
    ahead = std::max<std::size_t>(ahead, 1);
    std::mutex lock;
    std::condition_variable madeOne, tookOne;
    std::vector<char> made(count, 0);
    std::size_t taken = 0;
    bool stop = false;
    std::atomic<std::size_t> next{0};
    auto run = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            {
                // Its slot free: the piece ahead before it taken.
                std::unique_lock<std::mutex> hold(lock);
                tookOne.wait(hold, [&] { return stop || i < taken + ahead; });
                if (stop)
                    return;
            }
            make(i, i % ahead);
            {
                const std::lock_guard<std::mutex> hold(lock);
                made[i] = 1;
            }
            madeOne.notify_one();
        }
    };
    std::vector<std::thread> pool;
    const std::size_t makers = std::min(std::size_t(threads()), count);
    pool.reserve(makers);
    for (std::size_t k = 0; k < makers; ++k)
        pool.emplace_back(run);
    bool ok = true;
    for (std::size_t i = 0; i < count && ok; ++i) {
        {
            std::unique_lock<std::mutex> hold(lock);
            madeOne.wait(hold, [&] { return made[i] != 0; });
        }
        ok = take(i, i % ahead);
        {
            const std::lock_guard<std::mutex> hold(lock);
            taken = i + 1;
            stop = !ok;
        }
        tookOne.notify_all();
    }
    for (std::thread &t : pool)
        t.join();
    return ok;
}

namespace
{

// A short spin, then the core is offered to others: a job taken up within
// microseconds, without holding a core others wait for.
template <typename Done> void waitUntil(Done done)
{
    for (int spins = 0; !done(); ++spins) {
        if (spins > 2000)
            std::this_thread::yield();
    }
}

} // namespace

Helper::Helper()
{
    if (threads() > 1)
        m_thread = std::thread([this] { serve(); });
}

Helper::~Helper()
{
    if (!m_thread.joinable())
        return;
    m_state.store(Stop, std::memory_order_release);
    m_thread.join();
}

void Helper::both(const std::function<void()> &mine, const std::function<void()> &theirs)
{
    if (!m_thread.joinable()) {
        mine();
        theirs();
        return;
    }
    m_job = &theirs;
    m_state.store(Given, std::memory_order_release);
    mine();
    // Not taken up yet (the helper's core busy elsewhere): taken back and
    // done here, rather than waited for.
    int given = Given;
    if (m_state.compare_exchange_strong(given, Idle, std::memory_order_acq_rel)) {
        theirs();
        return;
    }
    waitUntil([this] { return m_state.load(std::memory_order_acquire) == Idle; });
}

void Helper::serve()
{
    for (;;) {
        int state = Idle;
        waitUntil([&] {
            state = m_state.load(std::memory_order_acquire);
            return state != Idle;
        });
        if (state == Stop)
            return;
        if (state == Given &&
            m_state.compare_exchange_strong(state, Running, std::memory_order_acq_rel)) {
            (*m_job)();
            m_state.store(Idle, std::memory_order_release);
        }
    }
}

} // namespace Parallel
