#include "remote/Worker.h"

#include "remote/ServerWaits.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <memory>

namespace quillon {

Worker::Worker() : thread_([this] { run(); }) {}

Worker::~Worker() {
    {
        std::lock_guard lock(m_);
        stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
}

void Worker::post(std::function<void()> job) {
    {
        std::lock_guard lock(m_);
        jobs_.push_back(std::move(job));
    }
    cv_.notify_all();
}

void Worker::run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_);
            cv_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

void runBlocking(Worker& worker, std::function<void()> job) {
    struct Sync {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
    };
    auto sync = std::make_shared<Sync>();
    if (!QCoreApplication::instance()) {
        worker.post([job = std::move(job), sync] {
            job();
            std::lock_guard lock(sync->m);
            sync->done = true;
            sync->cv.notify_all();
        });
        std::unique_lock lock(sync->m);
        sync->cv.wait(lock, [&] { return sync->done; });
        return;
    }
    const ServerWaits::Scope waiting;
    QEventLoop loop;
    QEventLoop* target = &loop;
    worker.post([job = std::move(job), sync, target] {
        job();
        // Posted under the lock that the caller takes to see done, so the loop still exists
        // when the quit is posted; a quit that lands while an inner loop of the same thread
        // runs reaches ours once that one returns.
        std::lock_guard lock(sync->m);
        sync->done = true;
        QMetaObject::invokeMethod(target, "quit", Qt::QueuedConnection);
    });
    for (;;) {
        {
            std::lock_guard lock(sync->m);
            if (sync->done) break;
        }
        loop.exec();
    }
}

}  // namespace quillon
