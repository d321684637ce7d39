#pragma once

#include "publish/CertificateTrust.h"

#include <QString>
#include <QStringList>

class Prompts;
class TAppData;

// Checks the values the command's parser collected for
// "--trust-fingerprint HEX" and puts HEX into `fingerprint` (left alone when
// the option is not there). Returns the usage problem, or empty when there
// is none: HEX not a SHA-256 fingerprint (64 hex digits, ":" between pairs
// allowed), or the option given twice.
QString TakeTrustFingerprint(const QStringList& values, QString& fingerprint);

// The command line never asks about a certificate. One the system does not
// trust is accepted only when it is the one named by --trust-fingerprint
// (then stored with the account, when a store is given, for the runs that
// follow); the one trusted before is accepted by the client without asking.
// Any other is refused, and standard error (the prompts' information) says
// how to trust it.
class CliCertificateDecision : public CertificateDecision {
public:
    CliCertificateDecision(Prompts& prompts, TAppData* store, const QString& trustFingerprint)
        : prompts_(prompts), store_(store), trusted_(ParseFingerprint(trustFingerprint)),
          trustedHostKey_(ParseHostKeyFingerprint(trustFingerprint))
    {
    }
    bool Trust(const ServerCertificate& certificate) override;

private:
    Prompts& prompts_;
    TAppData* store_;
    QByteArray trusted_;
    QByteArray trustedHostKey_;
};
