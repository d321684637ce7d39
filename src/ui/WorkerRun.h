#pragma once

#include <functional>

class QObject;

// The window runs each long operation on a worker thread and keeps showing
// meanwhile: its own events (repaints, the cancel button, a close request)
// go on while the operation works.

// Runs work on a worker thread and returns once it has ended, rethrowing
// here what it threw. The window thread goes on with its events meanwhile.
// False, with nothing run, when another operation is still running (a
// click that reached the window before it was disabled).
bool RunOnWorker(const std::function<void()>& work);

// True while RunOnWorker runs an operation.
bool WorkerRunning();

// Posts call to the window thread, behind the events already waiting, once
// the running operation has ended (at once when none runs). Dropped when
// context is gone by then.
void AfterWorker(QObject* context, std::function<void()> call);

// Runs call on the window thread and waits for it, rethrowing there what it
// threw; directly when called on the window thread.
void OnWindowThread(const std::function<void()>& call);

// call, wrapped to run on the window thread wherever it is called from;
// empty stays empty.
std::function<void()> OnWindowThreadLater(std::function<void()> call);
