#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Replaces several files as one set: each new content is first written in
// full to a temporary file beside its target (the name of AtomicTempPath),
// and only once every one of them is on disk are they renamed over their
// targets. A failure while writing the temporaries thus leaves every target
// as it was, and no target is ever half-written. Temporaries that were not
// renamed are removed when the set goes away.
class StagedFiles {
public:
    StagedFiles() = default;
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes contents for the file at path and returns the entry to commit.
    // A symbolic link is followed, so the link itself survives. Staging the
    // same file again replaces what was staged for it and returns the same
    // entry. Throws TarnwellError when the file is read-only or the
    // temporary cannot be written.
    int Stage(const QString& path, const QByteArray& contents);

    // Renames the entry's temporary over its file; an entry already
    // committed is left alone. Throws TarnwellError on failure.
    void Commit(int entry);

private:
    struct Entry {
        QString path; // as given, for messages
        QString target;
        QString temp;
        bool committed = false;
    };
    std::vector<Entry> entries_;
};
