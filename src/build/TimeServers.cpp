#include "build/TimeServers.h"

#include "util/ExtraCode.h"

#include <algorithm>

bool AddTimeServer(QStringList& servers, const QString& address)
{
    const QString server = address.trimmed();
    if (server.isEmpty() || std::any_of(server.begin(), server.end(), [](QChar ch) { return ch.isSpace(); }))
        return false;
    const QString lowered = LowerAscii(server);
    for (const QString& listed : servers)
        if (LowerAscii(listed) == lowered)
            return false;
    servers.append(server);
    return true;
}
