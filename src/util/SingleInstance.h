#pragma once

#include <QString>

#include <memory>

class QLockFile;

// The fixed name that marks a running copy of the program.
inline constexpr char InstanceGuid[] = "6F3A1C2E-9B47-4D85-A1E0-52C7D8B93F16";

// Keeps a second copy of the program from running: a lock file named after
// InstanceGuid in the user's runtime folder (or the temporary folder). The
// lock is held until the guard is released or destroyed; a lock left by a
// copy that crashed is recognised by its dead process and taken over.
class SingleInstanceGuard {
public:
    enum class Outcome {
        Acquired,    // this is the only copy
        AnotherRuns, // a live copy holds the lock
        Failed,      // the lock file could not be made (see ErrorText)
    };

    explicit SingleInstanceGuard(const QString& folder = DefaultFolder());
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // Never waits. Touches nothing but the lock file.
    Outcome Acquire();
    bool TryAcquire() { return Acquire() == Outcome::Acquired; }
    void Release();
    bool IsHeld() const;

    QString LockFilePath() const { return path_; }
    QString ErrorText() const { return errorText_; }

    // The user's runtime folder, or the temporary folder when there is none.
    static QString DefaultFolder();

private:
    QString path_;
    QString errorText_;
    std::unique_ptr<QLockFile> lock_;
};
