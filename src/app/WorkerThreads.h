#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace orvane {

// Short-lived worker threads that the owner waits for when it goes away: the
// Apply runs and the waits of following the mouse. A finished worker's thread
// is joined the next time one starts.
class WorkerThreads {
  public:
    WorkerThreads() = default;
    ~WorkerThreads() { waitForAll(); }
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    void start(std::function<void()> work);
    void waitForAll();

  private:
    struct Worker {
        std::thread thread;
        std::atomic<bool> finished{false};
    };

    std::mutex mutex;
    std::list<Worker> workers;
};

}  // namespace orvane
