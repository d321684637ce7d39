#pragma once

#include "FtpTransport.h"
#include "RemoteClient.h"

#include <memory>

class OperationHost;

// The client an account's protocol calls for, FTP or SFTP, with its time-outs
// set and nothing connected yet.
std::unique_ptr<RemoteClient> MakeRemoteClient(const TConnectionSettings& account, OperationHost& host,
                                               const FtpTimeouts& timeouts);

// The account's name as the log lines that name the connection give it:
// "A" over FTP, "(SFTP) A" over SFTP.
QString ConnectionName(const TConnectionSettings& account);
