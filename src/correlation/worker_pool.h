#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ai {

// The threads of one correlation, started once and given one batch of jobs after another.
// A batch runs jobs 0 .. count-1, each on some thread; the calling thread works too and
// `run` returns when all are done. Results stay deterministic as long as each job writes
// only its own output.
class WorkerPool {
public:
    // One thread per core, the caller's included, at most `most`.
    explicit WorkerPool(unsigned most = 8);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void run(int count, const std::function<void(int)>& job);

private:
    void work();
    void takeJobs();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const std::function<void(int)>* job_ = nullptr;
    int count_ = 0;
    int next_ = 0;
    int unfinished_ = 0;
    unsigned batch_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace ai
