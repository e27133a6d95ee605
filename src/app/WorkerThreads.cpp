#include "app/WorkerThreads.h"

namespace orvane {

void WorkerThreads::start(std::function<void()> work) {
    std::lock_guard guard(mutex);
    for (auto it = workers.begin(); it != workers.end();) {
        if (it->finished) {
            it->thread.join();
            it = workers.erase(it);
        } else {
            ++it;
        }
    }
    Worker& worker = workers.emplace_back();
    worker.thread = std::thread([&worker, work = std::move(work)] {
        work();
        worker.finished = true;
    });
}

void WorkerThreads::waitForAll() {
    std::list<Worker> running;
    {
        std::lock_guard guard(mutex);
        running.splice(running.end(), workers);
    }
    for (Worker& worker : running) {
        worker.thread.join();
    }
}

}  // namespace orvane
