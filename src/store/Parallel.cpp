#include "store/Parallel.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace parallel {

void forEveryRow(int count, const std::function<void(int)>& work, int perThread)
{
    std::atomic<int> next{0};
    const auto take = [&] {
        const int batch = std::min(16, perThread);
        for (int first; (first = next.fetch_add(batch)) < count;)
            for (int row = first; row < std::min(first + batch, count); ++row)
                work(row);
    };
    const int helpers = std::clamp(QThread::idealThreadCount(), 1, 8) - 1;
    std::vector<std::thread> threads;
    for (int k = 0; k < helpers && (k + 1) * perThread < count; ++k)
        threads.emplace_back(take);
    take();
    for (std::thread& thread : threads)
        thread.join();
}

} // namespace parallel
