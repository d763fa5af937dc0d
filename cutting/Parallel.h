#pragma once

#include <cstddef>
#include <functional>

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

} // namespace Parallel
