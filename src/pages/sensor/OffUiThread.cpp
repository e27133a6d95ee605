#include "pages/sensor/OffUiThread.h"

#include <QEventLoop>
#include <QMetaObject>
#include <atomic>
#include <thread>

namespace orvane {

void runOffUiThread(const std::function<void()>& work) {
    QEventLoop loop;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        work();
        finished = true;
        // Posted, so that it reaches the loop even when the work ends before
        // the loop has started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    while (!finished) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    worker.join();
}

}  // namespace orvane
