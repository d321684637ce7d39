#pragma once

#include <QString>
#include <QTemporaryDir>

#include <optional>

// Where the import's downloads wait until it is known what they would
// replace: one hidden folder under the import's Local Root (so that moving
// a file into place is a rename on the same disk), removed with whatever is
// left in it when the import ends, however it ends.
class ImportStaging {
public:
    // Makes the folder, and Local Root first when it is missing. Throws
    // TarnwellError when either cannot be made.
    explicit ImportStaging(const QString& localRoot);
    // Removes the folder, and Local Root too when this made it and nothing
    // was put there.
    ~ImportStaging();
    ImportStaging(const ImportStaging&) = delete;
    ImportStaging& operator=(const ImportStaging&) = delete;

    // Where the download of the index-th file of the listing waits.
    QString PathFor(qsizetype index) const;

private:
    QString root_;
    bool madeRoot_ = false;
    std::optional<QTemporaryDir> folder_;
};

// What a download would do to the local file it is meant for.
enum class LocalCopy {
    Missing, // nothing there: written without a question
    Same,    // the same bytes: left untouched
    Differs, // replaced only with the user's consent
};
LocalCopy CompareWithLocal(const QString& staged, const QString& local);

// Moves a staged download onto its local path in one step, keeping the
// permissions of a file it replaces. Empty when done, else why not; the
// local file is as it was then.
QString PlaceFile(const QString& staged, const QString& local);
