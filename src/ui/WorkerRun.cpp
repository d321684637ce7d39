#include "ui/WorkerRun.h"

#include "ui/OperationScope.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QThread>

#include <exception>
#include <memory>
#include <utility>

namespace {

// Touched on the window thread only.
bool running = false;
QList<QPair<QPointer<QObject>, std::function<void()>>> afterWorker;

void Post(QObject* context, std::function<void()> call)
{
    if (context)
        QMetaObject::invokeMethod(context, std::move(call), Qt::QueuedConnection);
}

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
    std::unique_ptr<QThread> worker(QThread::create([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    // Queued: the end comes after everything the operation posted before it
    // ended, so its last log lines are shown when this returns.
    bool ended = false;
    QObject ending;
    QObject::connect(
        worker.get(), &QThread::finished, &ending, [&ended] { ended = true; }, Qt::QueuedConnection);
    worker->start();
    // Until the operation disables the window and shows the cancel window,
    // clicks and keys wait, as they did while its checks ran on this thread;
    // the boxes it asks meanwhile take them as usual.
    while (!ended) {
        QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
        if (!OperationScope::AnyRunning())
            flags |= QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(flags);
    }
    worker->wait();
    running = false;
    for (auto& [context, call] : std::exchange(afterWorker, {}))
        Post(context, std::move(call));
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

bool WorkerRunning()
{
    return running;
}

void AfterWorker(QObject* context, std::function<void()> call)
{
    if (running)
        afterWorker.append({context, std::move(call)});
    else
        Post(context, std::move(call));
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
