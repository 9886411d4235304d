#include "raster/Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace zp {

void ParallelFor(int Count, const std::function<void(int)>& Work, int Threads) {
    if (Count <= 0) return;
    if (Threads <= 0) Threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    Threads = std::min({Threads, Count, 64});
    std::vector<std::exception_ptr> Errors(static_cast<std::size_t>(Count));
    std::atomic<int> Next{0};
    auto Run = [&] {
        for (int I = Next++; I < Count; I = Next++) {
            try {
                Work(I);
            } catch (...) {
                Errors[static_cast<std::size_t>(I)] = std::current_exception();
            }
        }
    };
    std::vector<std::thread> Pool;
    // A thread that cannot start leaves its share to the others.
    try {
        for (int T = 1; T < Threads; ++T) Pool.emplace_back(Run);
    } catch (const std::system_error&) {}
    Run();
    for (std::thread& T : Pool) T.join();
    for (const std::exception_ptr& E : Errors)
        if (E) std::rethrow_exception(E);
}

} // namespace zp
