#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One entry of a server's folder listing, as the uploads and the import need
// it: the name, what it is and how big it is.
enum class FtpEntryKind { File, Folder, Link, Other };

struct FtpEntry {
    QString Name;
    FtpEntryKind Kind = FtpEntryKind::Other;
    qint64 Size = 0; // bytes; 0 when the listing gives none
};

// One line of an MLSD reply ("type=file;size=12; name"). None for lines that
// are not facts and for the listed folder itself and its parent (cdir, pdir).
std::optional<FtpEntry> ParseMlsdLine(const QString& line);

// One line of a LIST reply in the Unix "ls -l" form or the DOS/IIS form.
// None for anything else ("total 12", banners, empty lines).
std::optional<FtpEntry> ParseListLine(const QString& line);

// A whole listing as received (UTF-8, lines ended by LF or CR LF), parsed as
// MLSD facts or as LIST lines. Lines that are not entries are left out, and
// so are "." and "..".
QList<FtpEntry> ParseListing(const QByteArray& data, bool mlsd);
