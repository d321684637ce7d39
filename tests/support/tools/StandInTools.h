#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The stand-in build tools of this folder ("signtool", "inno-compiler",
// "helpmaker", and "osslsigncode", which watches the real one): absolute
// path of one of them.
QString StandInTool(const QString& name);

// One call of a stand-in tool, as its call log recorded it.
struct StandInCall {
    QString Tool;
    QStringList Args;
};

// While it lives, the stand-ins log their calls into a file of the given
// folder and fail only as told; the environment is put back afterwards.
class StandInSession {
public:
    explicit StandInSession(const QString& folder);
    ~StandInSession();
    StandInSession(const StandInSession&) = delete;
    StandInSession& operator=(const StandInSession&) = delete;

    // tool: "SIGNTOOL", "COMPILER" or "HELPMAKER"; rules as standin.py
    // describes them ("always", "server=URL", "file=PATH", "sign=PATH",
    // "until=N", joined by ";").
    void Fail(const QString& tool, const QString& rules);
    // The password the stand-in signtool wants for a certificate file.
    void RequirePfxPassword(const QString& password);
    // The stand-in compiler's installer: a copy of this program file.
    void InstallerFrom(const QString& programFile);
    // The osslsigncode wrapper watches for this password on command lines
    // and in its password file; what it finds, one line each.
    void WatchPassword(const QString& password);
    QStringList PasswordFindings() const;
    // Every call so far, oldest first.
    QList<StandInCall> Calls() const;

private:
    void Set(const QByteArray& name, const QByteArray& value);

    QString logPath_;
    QString findingsPath_;
    // Each variable set, with whether and what it was before.
    struct Saved {
        QByteArray Name;
        bool WasSet;
        QByteArray Value;
    };
    QList<Saved> saved_;
};
