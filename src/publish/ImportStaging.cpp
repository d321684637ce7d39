#include "ImportStaging.h"

#include "settings/AtomicFile.h"
#include "util/PathStyle.h"
#include "util/TarnwellError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool SameBytes(QFile& a, QFile& b)
{
    constexpr qint64 chunk = 64 * 1024;
    while (!a.atEnd()) {
        const QByteArray left = a.read(chunk);
        if (left.isEmpty() || left != b.read(left.size()))
            return false;
    }
    return b.atEnd();
}

} // namespace

ImportStaging::ImportStaging(const QString& localRoot)
    : root_(PathStyle::Native().ToFileSystem(localRoot)), madeRoot_(!QFileInfo::exists(root_))
{
    if (madeRoot_ && !QDir().mkpath(root_))
        throw TarnwellError(QStringLiteral("Couldn't create the folder ") + localRoot);
    folder_.emplace(QDir(root_).filePath(QStringLiteral(".tarnwell-import-XXXXXX")));
    if (!folder_->isValid()) {
        const QString reason = folder_->errorString();
        if (madeRoot_)
            QDir().rmdir(root_);
        throw TarnwellError(
            QStringLiteral("Couldn't make a folder for the downloads in %1: %2").arg(localRoot, reason));
    }
}

ImportStaging::~ImportStaging()
{
    folder_->remove();
    if (madeRoot_)
        QDir().rmdir(root_); // only when it stayed empty
}

QString ImportStaging::PathFor(qsizetype index) const
{
    return folder_->filePath(QString::number(index));
}

LocalCopy CompareWithLocal(const QString& staged, const QString& local)
{
    const QFileInfo there(local);
    if (!there.exists() && !there.isSymLink())
        return LocalCopy::Missing;
    if (!there.isFile() || there.size() != QFileInfo(staged).size())
        return LocalCopy::Differs;
    QFile a(staged);
    QFile b(local);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return LocalCopy::Differs;
    return SameBytes(a, b) ? LocalCopy::Same : LocalCopy::Differs;
}

QString PlaceFile(const QString& staged, const QString& local)
{
    const QFileInfo there(local);
    if (there.exists()) {
        // A file the user protected from writing is not replaced behind
        // their back by a rename.
        if (!there.isWritable())
            return QStringLiteral("the local file is read-only");
        QFile::setPermissions(staged, there.permissions());
    }
    if (ReplaceFile(staged, local))
        return QString();
    // Local Home may lie on another disk than Local Root: copy beside the
    // target first, so the target is still replaced in one step.
    const QString beside = AtomicTempPath(local);
    QFile::remove(beside);
    if (QFile::copy(staged, beside) && ReplaceFile(beside, local))
        return QString();
    QFile::remove(beside);
    return QStringLiteral("it could not be moved into place");
}
