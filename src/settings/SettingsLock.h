#pragma once

#include <QString>
#include <QtGlobal>

// Held by every process that may write the settings file: an operating-system
// lock on a file beside it, so two writers of one file exclude each other
// whatever their environment (runtime and temporary folders differ under
// cron, CI or sudo). The system ends the lock with the process, so a crashed
// holder never blocks the next start. The holder's program name and process
// id are written into the lock file for the refusal to name it.
class SettingsLock {
public:
    enum class Outcome {
        Acquired, // this process may write the file
        Held,     // another process writes it (see Holder)
        Failed,   // the lock file could not be made (see ErrorText)
    };

    // `settingsFile`: the settings file's full path; the lock is
    // "<settingsFile>.lock". Its folder is made when missing.
    explicit SettingsLock(const QString& settingsFile);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    // Never waits.
    Outcome Acquire();
    void Release();
    bool IsHeld() const { return handle_ != NoHandle; }

    QString LockFilePath() const { return path_; }
    QString ErrorText() const { return errorText_; }
    // "tarnwell-cli (process 1234)" for the holder found by the last refused
    // Acquire; empty when it did not say.
    QString Holder() const { return holder_; }
    // The sentence a refusal shows.
    QString InUseText() const;

private:
    // A file descriptor, or a Windows file handle.
    static constexpr qintptr NoHandle = -1;

    QString path_;
    QString errorText_;
    QString holder_;
    qintptr handle_ = NoHandle;
};
