#include "ui/WorkerRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>

namespace {

// Touched on the window thread only.
bool running = false;

bool OnTheWindowThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

} // namespace

bool RunOnWorker(const std::function<void()>& work)
{
    if (running)
        return false;
    running = true;
    std::exception_ptr failure;
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    // Queued: the quit comes after everything the operation posted before it
    // ended, so its last log lines are shown when this returns.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    loop.exec();
    worker->wait();
    running = false;
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

bool WorkerRunning()
{
    return running;
}

void OnWindowThread(const std::function<void()>& call)
{
    if (OnTheWindowThread()) {
        call();
        return;
    }
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&call, &failure] {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

std::function<void()> OnWindowThreadLater(std::function<void()> call)
{
    if (!call)
        return {};
    return [call = std::move(call)] { OnWindowThread(call); };
}
