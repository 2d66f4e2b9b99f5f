#pragma once
// The worker thread of a blocking session, and the call that waits for it while the caller's
// event loop runs.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace quillon {

// Runs the jobs of one session, one at a time, so its libssh handles are only ever used by
// one thread.
class Worker {
public:
    Worker();
    ~Worker();  // runs the jobs still queued, then joins
    void post(std::function<void()> job);

private:
    void run();
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_jobs;
    bool m_stop = false;
    std::thread m_thread;
};

// Runs job on the worker while the calling thread serves its own event loop (so a window's
// timers keep firing) and returns when the job has returned. The jobs bound their own waits.
void runBlocking(Worker& worker, std::function<void()> job);

}  // namespace quillon
