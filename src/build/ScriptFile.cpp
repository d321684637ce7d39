#include "ScriptFile.h"

#include "ProcessRunner.h"
#include "settings/AtomicFile.h"
#include "util/PathStyle.h"
#include "util/TarnwellError.h"

#include <QFile>

namespace {

// The script is run by its path, so its owner may also execute it; nobody
// else may even read it.
constexpr QFileDevice::Permissions OwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

QString FolderPrefix(const QString& path)
{
    int cut = path.lastIndexOf(QLatin1Char('/'));
    if (PathStyle::Native().IsWindows())
        cut = qMax(cut, path.lastIndexOf(QLatin1Char('\\')));
    return path.left(cut + 1);
}

void RemoveIfPresent(const QString& path)
{
    if (QFile::exists(path))
        QFile::remove(path);
}

// Made with the owner's rights alone, so the contents are never readable by
// anybody else, not even for a moment.
QString WriteOwnersOnly(const QString& path, const QByteArray& contents)
{
    RemoveIfPresent(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(contents) != contents.size() || !file.flush())
        return QStringLiteral("Couldn't write %1: %2").arg(path, file.errorString());
    return QString();
}

} // namespace

BuildScriptFile::BuildScriptFile(const QString& scriptPath, ScriptFlavour flavour)
    : path_(scriptPath), flavour_(flavour)
{
    const QString folder = FolderPrefix(scriptPath);
    capturePath_ = folder + QStringLiteral("lessee.txt");
    leftOverPath_ = folder + (flavour == ScriptFlavour::Batch ? QStringLiteral("buildhelp.bat")
                                                              : QStringLiteral("buildhelp.sh"));
    passwordPath_ = folder + QStringLiteral("signpass");
}

QString BuildScriptFile::PathIn(const QString& tempFolder, ScriptFlavour flavour)
{
    return PathStyle::Native().Join(tempFolder, ScriptFileName(flavour));
}

void BuildScriptFile::Reset() const
{
    for (const QString& path : {path_, passwordPath_})
        if (QFile::exists(path) && !QFile::remove(path))
            throw TarnwellError(QStringLiteral("Couldn't delete %1").arg(path));
    const QString error = Write(QByteArray());
    if (!error.isEmpty())
        throw TarnwellError(error);
}

ScriptRunResult BuildScriptFile::Run(const QByteArray& script) const
{
    RemoveIfPresent(capturePath_);
    const QString error = Write(script);
    if (!error.isEmpty())
        return {-1, error};
    return {Win32RunWait(path_, QString()), QString()};
}

ScriptRunResult BuildScriptFile::RunWithPassword(const QByteArray& script, const QString& password) const
{
    struct Remover {
        const QString& path;
        ~Remover() { RemoveIfPresent(path); }
    } remover{passwordPath_};
    const QString error = WriteOwnersOnly(passwordPath_, password.toUtf8());
    if (!error.isEmpty())
        return {-1, error};
    return Run(script);
}

std::optional<QStringList> BuildScriptFile::ReadCapture() const
{
    QFile file(capturePath_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QList<QByteArray> raw = file.readAll().split('\n');
    // A final line end closes the last line; it does not open another.
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();
    QStringList lines;
    for (QByteArray& line : raw) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromLocal8Bit(line);
    }
    return lines;
}

void BuildScriptFile::RemoveTemporaryFiles() const
{
    RemoveIfPresent(path_);
    RemoveIfPresent(leftOverPath_);
    RemoveIfPresent(capturePath_);
    RemoveIfPresent(passwordPath_);
}

QString BuildScriptFile::Write(const QByteArray& contents) const
{
    const QString tempPath = path_ + QStringLiteral(".saving");
    try {
        // Created with its final permissions: it may hold a password.
        WriteTemporaryFile(path_, tempPath, contents, OwnerOnly);
    } catch (const TarnwellError& error) {
        return error.Message();
    }
    if (!ReplaceFile(tempPath, path_)) {
        QFile::remove(tempPath);
        return QStringLiteral("Couldn't write %1: the new script could not replace the old one").arg(path_);
    }
    return QString();
}
