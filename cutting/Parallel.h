#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>

// Independent pieces of one job (a rib each) shared among the processor's
// cores. Each piece writes only its own result slot, so the results come out
// in the same order, and the same, whatever the number of threads.
namespace Parallel
{

// The threads a job uses: the processor's cores, at least one.
int threads();

// Calls work(i, worker) once for every i in [0, count), on up to threads()
// threads (the caller's among them), and returns when all are done. worker
// (0 to threads() - 1) names the thread, for tools of its own.
void forEach(std::size_t count, const std::function<void(std::size_t, int)> &work);

// Makes the pieces [0, count) on every core, make(i, slot) filling
// buffer slot (i % ahead) of the caller's, and hands each over to
// take(i, slot) on the calling thread in order, once it and all before it
// are made. At most ahead pieces are made and not yet taken, so that a
// slot is filled again only once taken: memory stays that of ahead pieces.
// A take that returns false stops the job: no later piece is taken, none
// not yet begun is made, and inOrder returns false.
bool inOrder(std::size_t count, std::size_t ahead,
             const std::function<void(std::size_t, std::size_t)> &make,
             const std::function<bool(std::size_t, std::size_t)> &take);

// A second thread kept for a run of jobs too short to start one for (a few
// microseconds each, one after the other): each is handed over by a flag
// the helper watches. A job the helper has not taken up by the time the
// caller is done with its own is taken back and done by the caller; one it
// has, the caller waits for. Both spin a little, then yield. With one core
// there is no helper, and the jobs run on the caller's thread.
class Helper
{
public:
    Helper();
    ~Helper();
    Helper(const Helper &) = delete;
    Helper &operator=(const Helper &) = delete;

    // Runs mine on the calling thread and theirs on the helper, and returns
    // when both are done.
    void both(const std::function<void()> &mine, const std::function<void()> &theirs);

private:
    void serve();

    enum State { Idle, Given, Running, Stop };
    std::atomic<int> m_state{Idle};
    const std::function<void()> *m_job = nullptr;
    std::thread m_thread;
};

} // namespace Parallel
