#include "TestFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

TestFolder::TestFolder(bool asDataHome)
{
    if (asDataHome) {
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
        setDataHome_ = true;
        QDir().mkpath(FilePath(QStringLiteral("data")));
        qputenv("XDG_DATA_HOME", FilePath(QStringLiteral("data")).toLocal8Bit());
    }
}

TestFolder::~TestFolder()
{
    if (setDataHome_)
        qputenv("XDG_DATA_HOME", oldDataHome_);
    // Folders a test made read-only must not stop the clean-up.
    const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(dir_.path(), owner);
    QDirIterator it(dir_.path(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::setPermissions(it.next(), owner);
}

QString TestFolder::FilePath(const QString& relative) const
{
    return QDir(dir_.path()).filePath(relative);
}

QString TestFolder::Write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = FilePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteFileBytes(path, bytes);
    return path;
}

QString TestFolder::MakeFolder(const QString& relative) const
{
    const QString path = FilePath(relative);
    QDir().mkpath(path);
    return path;
}

QByteArray TestFolder::Read(const QString& relative) const
{
    return ReadFileBytes(FilePath(relative));
}

QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool SetFileModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
}
