#include "ClientSession.h"

void ClientSession::Start()
{
    loggedIn_ = false;
    lostReason_.clear();
}

bool ClientSession::End()
{
    const bool wasOpen = open_;
    open_ = false;
    loggedIn_ = false;
    lostReason_.clear();
    return wasOpen;
}

void ClientSession::Broke(const QString& account)
{
    loggedIn_ = false;
    lostReason_ = QStringLiteral("The connection to %1 was closed after an error.").arg(account);
}

QString ClientSession::LostReason(const QString& account, bool refusedByUs, bool timedOut,
                                  const QString& error)
{
    if (refusedByUs)
        return QStringLiteral("The connection to %1 was lost.").arg(account);
    if (timedOut)
        return QStringLiteral("%1 did not answer in time; the connection was closed.").arg(account);
    return QStringLiteral("The connection to %1 was lost: %2").arg(account, error);
}

QString ConnectError(const QString& account, const QString& host, int port, bool loginRefused,
                     const QString& refusal, bool timedOut, const QString& error)
{
    if (loginRefused)
        return QStringLiteral("%1 refused the login: %2").arg(account, refusal);
    if (timedOut)
        return QStringLiteral("%1 (%2:%3) did not answer in time.").arg(account, host).arg(port);
    return QStringLiteral("Could not connect to %1 (%2:%3): %4").arg(account, host).arg(port).arg(error);
}
