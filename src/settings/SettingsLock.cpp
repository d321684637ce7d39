#include "settings/SettingsLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

QByteArray HolderText()
{
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        name = QStringLiteral("Tarnwell");
    return (name + QStringLiteral(" (process ") + QString::number(QCoreApplication::applicationPid()) +
            QStringLiteral(")\n"))
        .toUtf8();
}

QString HolderIn(const QByteArray& text)
{
    return QString::fromUtf8(text).trimmed();
}

} // namespace

SettingsLock::SettingsLock(const QString& settingsFile) : path_(settingsFile + QStringLiteral(".lock")) {}

SettingsLock::~SettingsLock()
{
    Release();
}

QString SettingsLock::InUseText() const
{
    const QString by = holder_.isEmpty() ? QStringLiteral("another Tarnwell program") : holder_;
    return QStringLiteral("The settings file %1 is in use by %2; try again once it has ended.")
        .arg(QDir::toNativeSeparators(path_.chopped(5)), by);
}

#ifdef Q_OS_WIN

SettingsLock::Outcome SettingsLock::Acquire()
{
    if (IsHeld())
        return Outcome::Acquired;
    holder_.clear();
    errorText_.clear();
    if (!QDir().mkpath(QFileInfo(path_).path())) {
        errorText_ = QStringLiteral("Cannot create %1").arg(QDir::toNativeSeparators(path_));
        return Outcome::Failed;
    }
    HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(path_.utf16()), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errorText_ = QStringLiteral("Cannot create %1").arg(QDir::toNativeSeparators(path_));
        return Outcome::Failed;
    }
    // The locked range lies far past the text, so others can still read who holds it.
    OVERLAPPED at{};
    at.OffsetHigh = 0x7fffffff;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const bool held = GetLastError() == ERROR_LOCK_VIOLATION;
        char text[200];
        DWORD read = 0;
        if (held && ReadFile(file, text, sizeof text, &read, nullptr))
            holder_ = HolderIn(QByteArray(text, int(read)));
        CloseHandle(file);
        if (held)
            return Outcome::Held;
        errorText_ = QStringLiteral("Cannot lock %1").arg(QDir::toNativeSeparators(path_));
        return Outcome::Failed;
    }
    const QByteArray text = HolderText();
    DWORD written = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    WriteFile(file, text.constData(), DWORD(text.size()), &written, nullptr);
    handle_ = reinterpret_cast<qintptr>(file);
    return Outcome::Acquired;
}

void SettingsLock::Release()
{
    if (!IsHeld())
        return;
    // Closing the handle ends the lock.
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = NoHandle;
}

#else

SettingsLock::Outcome SettingsLock::Acquire()
{
    if (IsHeld())
        return Outcome::Acquired;
    holder_.clear();
    errorText_.clear();
    const auto fail = [this](const char* what) {
        errorText_ = QStringLiteral("%1 %2: %3")
                         .arg(QString::fromLatin1(what), QDir::toNativeSeparators(path_),
                              QString::fromLocal8Bit(std::strerror(errno)));
        return Outcome::Failed;
    };
    if (!QDir().mkpath(QFileInfo(path_).path()))
        return fail("Cannot create the folder of");
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail("Cannot create");
    // flock belongs to the open file, not to the process: two locks taken in
    // one process exclude each other too, and the kernel drops it when the
    // process ends, however it ends.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) {
            const Outcome failed = fail("Cannot lock");
            ::close(fd);
            return failed;
        }
        char text[200];
        const ssize_t read = ::pread(fd, text, sizeof text, 0);
        holder_ = read > 0 ? HolderIn(QByteArray(text, int(read))) : QString();
        ::close(fd);
        return Outcome::Held;
    }
    const QByteArray text = HolderText();
    // Only the name in a refusal depends on the text; the lock holds without it.
    [[maybe_unused]] const bool named =
        ::ftruncate(fd, 0) == 0 && ::pwrite(fd, text.constData(), size_t(text.size()), 0) == text.size();
    handle_ = fd;
    return Outcome::Acquired;
}

void SettingsLock::Release()
{
    if (!IsHeld())
        return;
    // The text stays: it is read only while the lock is held, and removing the
    // file would let a second process lock a file that a third no longer sees.
    ::close(int(handle_));
    handle_ = NoHandle;
}

#endif
