#include "ConsoleHost.h"

#include <QtGlobal>

#include <atomic>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

// Set by the signal handler, read by every thread of an operation.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set in a signal handler");

#ifdef Q_OS_UNIX
void OnInterrupt(int)
{
    interrupted = true;
    // The next Ctrl-C is not waited for.
    std::signal(SIGINT, SIG_DFL);
}
#endif

QString ByteText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 B").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg(double(bytes) / 1024, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
}

} // namespace

ConsoleHost::ConsoleHost(bool logToError) : log_(logToError ? stderr : stdout)
{
#ifdef Q_OS_UNIX
    terminal_ = isatty(fileno(stderr)) != 0;
    interrupted = false;
    std::signal(SIGINT, OnInterrupt);
#endif
    started_.start();
    lastDraw_.start();
}

ConsoleHost::~ConsoleHost()
{
    Finish();
#ifdef Q_OS_UNIX
    std::signal(SIGINT, SIG_DFL);
#endif
}

void ConsoleHost::Log(const QString& line)
{
    FlushLine();
    pending_ = line;
    hasPending_ = true;
}

void ConsoleHost::AppendToLastLine(const QString& text)
{
    pending_ += text;
    hasPending_ = true;
}

void ConsoleHost::SetFileProgress(qint64 done, qint64 total)
{
    fileBytes_ = done;
    Q_UNUSED(total);
    DrawProgress(false);
}

void ConsoleHost::SetOverallProgress(qint64 done, qint64 total)
{
    if (done != filesDone_) {
        bytesBefore_ += fileBytes_;
        fileBytes_ = 0;
    }
    filesDone_ = done;
    filesTotal_ = total;
    DrawProgress(true);
}

bool ConsoleHost::Cancelled()
{
    return interrupted;
}

void ConsoleHost::Finish()
{
    FlushLine();
    ClearProgress();
}

void ConsoleHost::FlushLine()
{
    if (!hasPending_)
        return;
    ClearProgress();
    std::fputs(pending_.toLocal8Bit().constData(), log_);
    std::fputc('\n', log_);
    std::fflush(log_);
    hasPending_ = false;
    pending_.clear();
    DrawProgress(true);
}

void ConsoleHost::DrawProgress(bool force)
{
    if (!terminal_ || filesTotal_ <= 0)
        return;
    if (!force && lastDraw_.elapsed() < 200)
        return;
    lastDraw_.restart();
    const qint64 bytes = bytesBefore_ + fileBytes_;
    const double seconds = qMax<qint64>(started_.elapsed(), 1) / 1000.0;
    const QString line = QStringLiteral("\r%1 of %2 files, %3, %4/s\x1b[K")
                             .arg(filesDone_)
                             .arg(filesTotal_)
                             .arg(ByteText(bytes), ByteText(qint64(double(bytes) / seconds)));
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    progressShown_ = true;
}

void ConsoleHost::ClearProgress()
{
    if (!progressShown_)
        return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    progressShown_ = false;
}
