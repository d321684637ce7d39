#include "StandInTools.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QByteArray LogVariable = "STANDIN_LOG";

} // namespace

QString StandInTool(const QString& name)
{
    return QStringLiteral(TARNWELL_STANDIN_TOOLS "/") + name;
}

StandInSession::StandInSession(const QString& folder)
    : logPath_(QDir(folder).filePath("standin-calls.log")),
      findingsPath_(QDir(folder).filePath("standin-findings.log"))
{
    Set(LogVariable, QFile::encodeName(logPath_));
    Set("STANDIN_FINDINGS", QFile::encodeName(findingsPath_));
}

StandInSession::~StandInSession()
{
    for (auto it = saved_.crbegin(); it != saved_.crend(); ++it) {
        if (it->WasSet)
            qputenv(it->Name.constData(), it->Value);
        else
            qunsetenv(it->Name.constData());
    }
}

void StandInSession::Set(const QByteArray& name, const QByteArray& value)
{
    saved_.append({name, qEnvironmentVariableIsSet(name.constData()), qgetenv(name.constData())});
    qputenv(name.constData(), value);
}

void StandInSession::Fail(const QString& tool, const QString& rules)
{
    Set("STANDIN_" + tool.toLatin1() + "_FAIL", rules.toUtf8());
}

void StandInSession::RequirePfxPassword(const QString& password)
{
    Set("STANDIN_PFX_PASSWORD", password.toUtf8());
}

void StandInSession::InstallerFrom(const QString& programFile)
{
    Set("STANDIN_INSTALLER_FROM", QFile::encodeName(programFile));
}

void StandInSession::WatchPassword(const QString& password)
{
    Set("STANDIN_SECRET", password.toUtf8());
}

QStringList StandInSession::PasswordFindings() const
{
    QFile findings(findingsPath_);
    if (!findings.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(findings.readAll()).split('\n', Qt::SkipEmptyParts);
}

QList<StandInCall> StandInSession::Calls() const
{
    QList<StandInCall> calls;
    QFile log(logPath_);
    if (!log.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray& line : log.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject call = QJsonDocument::fromJson(line).object();
        StandInCall entry{call.value("tool").toString(), {}};
        for (const QJsonValue& arg : call.value("args").toArray())
            entry.Args << arg.toString();
        calls << entry;
    }
    return calls;
}
