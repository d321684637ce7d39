// GetFileInfo, AllFilesExist and the DOS date packing of file times.
#include "MyFileOpsU.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

QString FileDateText(const QDateTime& localTime)
{
    const QLocale locale = QLocale::system();
    const QDateTime time = localTime.addMSecs(-localTime.time().msec());
    QString text = locale.toString(time.date(), locale.dateFormat(QLocale::ShortFormat));
    if (time.time() != QTime(0, 0))
        text += QLatin1Char(' ') + locale.toString(time.time(), locale.timeFormat(QLocale::LongFormat));
    return text;
}

// The entry of the file in its folder listing, as the file system stores its
// name. With a case-insensitive style the look-up ignores case but prefers
// the exact name.
QFileInfo FindStoredEntry(const QFileInfo& given, const PathStyle& style)
{
    if (style.CaseRule() == Qt::CaseSensitive)
        return given.isFile() ? given : QFileInfo();
    const QString wanted = given.fileName();
    QFileInfo match;
    const QFileInfoList entries = given.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName() == wanted)
            return entry;
        if (!match.exists() && style.SamePath(entry.fileName(), wanted))
            match = entry;
    }
    return match;
}

} // namespace

qint32 PackDosDateTime(const QDateTime& localTime)
{
    if (!localTime.isValid())
        return -1;
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    if (date.year() < 1980 || date.year() > 2107)
        return -1;
    const quint32 packed = quint32(date.year() - 1980) << 25 | quint32(date.month()) << 21 |
                           quint32(date.day()) << 16 | quint32(time.hour()) << 11 |
                           quint32(time.minute()) << 5 | quint32(time.second() / 2);
    // Years from 2044 on set the top bit: the value is negative, as stored.
    return static_cast<qint32>(packed);
}

void GetFileInfo(const QString& fileName, TFileOpsSettings& info, const PathStyle& style)
{
    if (fileName.isEmpty()) {
        info.Age = -1;
        return;
    }
    const QFileInfo given(style.ToFileSystem(fileName));
    QFileInfo entry = FindStoredEntry(given, style);
    const bool listed = entry.exists();
    if (!listed) {
        // Listing refused (a folder we may search but not read) yet the file
        // is there: take what can be read, keep Name.
        if (!given.isFile()) {
            info.Age = -1;
            return;
        }
        entry = given;
    }
    const QDateTime modified = entry.lastModified(); // local time
    info.Age = PackDosDateTime(modified);
    info.DateText = FileDateText(modified);
    // POSIX has no attribute bits: a leading dot hides, a missing owner
    // write bit makes read-only, and nothing is a system or archive file.
    info.Hidden = entry.isHidden();
    info.ReadOnly = !entry.permission(QFile::WriteOwner);
    info.SysFile = false;
    info.Archive = false;
    if (listed)
        info.Name = entry.fileName();
}

bool AllFilesExist(const QStringList& paths, const PathStyle& style)
{
    for (const QString& path : paths) {
        if (path.isEmpty() || !QFileInfo(style.ToFileSystem(path)).isFile())
            return false;
    }
    return true;
}
