#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The small pieces of FTP the client reads and writes itself: the server
// address of an account, the addresses handed to the transfer library, and
// the replies on the control connection.

// Where an account's server listens: "host" or "host:port", port 21 unless
// given.
struct FtpAddress {
    QString Host;
    int Port = 21;
};

// None when the text is not a plain host name or IPv4 address with an
// optional port of 1-65535 (nothing that could smuggle a user, a path or a
// second address into the connection). Blanks around it are ignored.
std::optional<FtpAddress> ParseFtpHost(const QString& text);

// The address of a server path for the transfer library. A path beginning
// with "/" is taken from the server's root, any other from the current
// folder. asFolder asks for a listing of the path itself; an empty path
// then lists the current folder.
QByteArray FtpUrl(const FtpAddress& address, const QString& path, bool asFolder);

// True when the text may go into a command line: no line break, no NUL.
bool IsSafeCommandArgument(const QString& text);

// One reply of the server: its code, the text of its last line after the
// code, and every line it had (a multi-line reply has several).
struct FtpServerReply {
    int Code = 0;
    QString Text;
    QStringList Lines;
};

// The replies among the lines received on the control connection, in order.
// Lines outside a reply are skipped.
QList<FtpServerReply> SplitReplies(const QStringList& lines);

// The folder named in a PWD reply ('257 "/a ""b"" c" is current' gives
// /a "b" c); empty when the reply names none.
QString PwdFolder(const QString& replyText);

// True when a FEAT reply announces machine-readable listings (MLST, which
// brings MLSD with it, or MLSD itself).
bool OffersMlsd(const FtpServerReply& featReply);
