#include "RemoteClientFactory.h"

#include "FtpRemoteClient.h"
#include "SftpClient.h"

std::unique_ptr<RemoteClient> MakeRemoteClient(const TConnectionSettings& account, OperationHost& host,
                                               const FtpTimeouts& timeouts)
{
    if (account.Protocol == TRemoteProtocol::Sftp) {
        auto sftp = std::make_unique<SftpClient>(host);
        sftp->SetTimeouts(timeouts);
        return sftp;
    }
    auto ftp = std::make_unique<FtpRemoteClient>(host);
    ftp->SetTimeouts(timeouts);
    return ftp;
}

QString ConnectionName(const TConnectionSettings& account)
{
    return account.Protocol == TRemoteProtocol::Sftp ? QStringLiteral("(SFTP) ") + account.AccountName
                                                     : account.AccountName;
}
