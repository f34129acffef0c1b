#include "correlation/worker_pool.h"

#include <algorithm>

namespace ai {

WorkerPool::WorkerPool(unsigned most)
{
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, std::max(most, 1u));
    for (unsigned t = 1; t < cores; ++t)
        threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

void WorkerPool::run(int count, const std::function<void(int)>& job)
{
    if (count <= 0)
        return;
    {
        const std::lock_guard lock(mutex_);
        job_ = &job;
        count_ = count;
        next_ = 0;
        unfinished_ = count;
        ++batch_;
    }
    wake_.notify_all();
    takeJobs();
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return unfinished_ == 0; });
    job_ = nullptr;
}

// Jobs one at a time from the shared counter: subsets cost unequally, so fixed shares
// would leave threads idle.
void WorkerPool::takeJobs()
{
    std::unique_lock lock(mutex_);
    while (job_ && next_ < count_) {
        const int index = next_++;
        const auto* job = job_;
        lock.unlock();
        (*job)(index);
        lock.lock();
        if (--unfinished_ == 0)
            done_.notify_all();
    }
}

void WorkerPool::work()
{
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || (batch_ != seen && job_); });
            if (stopping_)
                return;
            seen = batch_;
        }
        takeJobs();
    }
}

} // namespace ai
