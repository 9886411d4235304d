#pragma once

#include <functional>

namespace zp {

// Runs Work(0) .. Work(Count - 1) on up to Threads threads (0: one per core), the calling
// thread included, and returns when all have run. Items are independent; each runs once. When
// items throw, the error of the lowest such index is rethrown after every thread has stopped.
void ParallelFor(int Count, const std::function<void(int)>& Work, int Threads = 0);

} // namespace zp
