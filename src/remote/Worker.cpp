#include "remote/Worker.h"

#include "remote/ServerWaits.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <memory>

namespace quillon {

Worker::Worker() : m_thread([this] { run(); }) {}

Worker::~Worker() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_cv.notify_all();
    m_thread.join();
}

void Worker::post(std::function<void()> job) {
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_cv.notify_all();
}

void Worker::run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_cv.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
            if (m_jobs.empty()) return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
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
