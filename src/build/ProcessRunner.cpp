#include "ProcessRunner.h"

#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Starting a program normally takes milliseconds; this only bounds a start
// that hangs (a stalled network drive, say).
constexpr int StartTimeLimitMs = 60 * 1000;

} // namespace

int Win32RunWait(const QString& program, const QString& commandLine)
{
    // Exactly the file named, as CreateProcess takes its application name: a
    // bare name must not find some other program on PATH, and a relative one
    // is taken from the current folder.
    const QFileInfo file(program);
    if (program.isEmpty() || !file.isFile())
        return -1;
    QProcess process;
    process.setProgram(file.absoluteFilePath());
#ifdef Q_OS_WIN
    // Handed to the program exactly as given, as CreateProcess would.
    process.setNativeArguments(commandLine);
#else
    process.setArguments(QProcess::splitCommand(commandLine));
#endif
    // A tool that asks a question must not wait for an answer nobody can give.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
#ifdef Q_OS_UNIX
    // What a tool prints is no line of the operation's log: send it to our
    // standard error, so the command line's standard output carries the log
    // alone (a script's own redirections, such as the capture file, stay).
    process.setChildProcessModifier([] { ::dup2(STDERR_FILENO, STDOUT_FILENO); });
#endif
    process.start();
    if (!process.waitForStarted(StartTimeLimitMs)) {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(StartTimeLimitMs);
        }
        return -1;
    }
    process.waitForFinished(-1);
    if (process.exitStatus() == QProcess::CrashExit) {
#ifdef Q_OS_WIN
        return process.exitCode() != 0 ? process.exitCode() : 1;
#else
        // As a shell reports a program ended by a signal; never 0.
        return 128 + process.exitCode();
#endif
    }
    return process.exitCode();
}
