#pragma once

#include <QString>

// How long the update request may take: to connect, and the whole exchange.
// The request blocks the window, so neither may be long.
struct TUpdateTimeouts {
    int ConnectMs = 5000;
    int TotalMs = 10000;
};

// The answer of the update service: the reply body with leading and
// trailing blanks and control characters removed. Empty when no answer came
// (no connection, an error status, a broken transfer, an empty body).
struct TUpdateReply {
    QString Text;
    bool Answered() const { return !Text.isEmpty(); }
};

// Posts the multipart form field "App" = productCode to address, with the
// user agent "Mozilla/3.0 (compatible;" + productCode + ")". Throws
// TarnwellError only when the network library cannot be started.
TUpdateReply PostUpdateQuery(const QString& address, const QString& productCode,
                             const TUpdateTimeouts& timeouts = {});

// The text with everything up to a blank (control characters included)
// removed from both ends.
QString TrimReply(const QByteArray& body);
