#include "UpdateTestServer.h"
#include "projects/WorkingState.h"
#include "update/UpdateCheck.h"

#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(TUpdateResult)

namespace {

const QDate Today(2026, 12, 9);
const QByteArray Same = "TarnwellSetup-2-1-0-15.exe"; // the running 2.1.0.15
const QByteArray Newer = "TarnwellSetup-2-2-0-1.exe";

// "+3", "-2": days from today as short date text; other texts as they stand.
QString DateText(const QString& when)
{
    bool days = false;
    const int n = when.toInt(&days);
    return days ? ShortDateText(Today.addDays(n)) : when;
}

} // namespace

// The update check against a stand-in service on 127.0.0.1.
class UpdateCheckTest : public QObject {
    Q_OBJECT
private slots:
    void CheckAgainstTheService_data()
    {
        QTest::addColumn<bool>("forced");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("status"); // 0: the server never answers; -1: the check is off
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<TUpdateResult>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("next");
        const auto newer = TUpdateResult::NewerRelease;
        const auto none = TUpdateResult::NoAnswer;
        const QString noAnswer = QStringLiteral(
            "Tarnwell could not reach its update service. It will ask again at its next start.");
        QTest::newRow("newer, answered automatic check moves a week")
            << false << "+0" << 200 << Newer << newer << ""
            << "+7";
        QTest::newRow("newer, forced before the date leaves it")
            << true << "+3" << 200 << Newer << newer << "Installed version: 2.1.0.15\rLatest version: 2.2.0.1"
            << "+3";
        QTest::newRow("equal, forced") << true << "+3" << 200 << Same << TUpdateResult::UpToDate
                                       << "You have the latest version of Tarnwell."
                                       << "+3";
        QTest::newRow("older is offered too")
            << false << "-2" << 200 << QByteArray("TarnwellSetup-1-9-0-0.exe") << newer << ""
            << "+7";
        QTest::newRow("blanks around the reply")
            << false << "+0" << 200 << QByteArray(" \t" + Same + "\r\n\x01") << TUpdateResult::UpToDate << ""
            << "+7";
        QTest::newRow("error status") << false << "+0" << 500 << Newer << none << noAnswer << "+0";
        QTest::newRow("no answer") << true << "+0" << 0 << Newer << none << noAnswer << "+0";
        QTest::newRow("not due") << false << "+1" << 200 << Newer << TUpdateResult::NotDue << ""
                                 << "+1";
        QTest::newRow("date in a format no longer used")
            << false << "9 Dec 2026" << 200 << Newer << newer << ""
            << "+7";
        QTest::newRow("no address, forced") << true << "+0" << -1 << Newer << TUpdateResult::Off
                                            << "This build of Tarnwell has no update service."
                                            << "+0";
        QTest::newRow("no address, at start") << false << "+0" << -1 << Newer << TUpdateResult::Off << ""
                                              << "+0";
    }
    void CheckAgainstTheService()
    {
        QFETCH(bool, forced);
        QFETCH(QString, stored);
        QFETCH(int, status);
        QFETCH(QByteArray, reply);
        QFETCH(TUpdateResult, result);
        QFETCH(QString, message);
        QFETCH(QString, next);

        UpdateTestServer service({status, reply, status == 0});
        QVERIFY2(service.IsRunning(), qPrintable(service.Error()));
        WorkingState state;
        state.NextUpdateCheck = DateText(stored);
        const QString address = status < 0 ? QString() : service.Address();
        const TUpdateOutcome outcome = CheckForUpdate(
            {forced, Today, QStringLiteral("2.1.0.15"), address}, state, [](const QString& to) {
                return PostUpdateQuery(to, UpdateProductCode, {1000, 1500});
            });

        QCOMPARE(outcome.Result, result);
        QCOMPARE(outcome.Message, message);
        QCOMPARE(state.NextUpdateCheck, DateText(next));
        const bool asked = result != TUpdateResult::NotDue && result != TUpdateResult::Off;
        QCOMPARE(service.Requests().size(), asked ? 1 : 0);
    }

    // The build's address, deciphered as the program keeps it, unless the
    // environment names another or none.
    void AddressFromBuildAndEnvironment_data()
    {
        QTest::addColumn<bool>("set");
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QString>("address");
        QTest::newRow("built in") << false << QByteArray() << QStringLiteral(BUILT_IN_UPDATE_ADDRESS);
        QTest::newRow("environment") << true << QByteArray("http://127.0.0.1:9/check")
                                     << QStringLiteral("http://127.0.0.1:9/check");
        QTest::newRow("environment empty: off") << true << QByteArray() << QString();
    }
    void AddressFromBuildAndEnvironment()
    {
        QFETCH(bool, set);
        QFETCH(QByteArray, environment);
        QFETCH(QString, address);
        const QByteArray before = qgetenv("TARNWELL_UPDATE_ADDRESS");
        if (set)
            qputenv("TARNWELL_UPDATE_ADDRESS", environment);
        else
            qunsetenv("TARNWELL_UPDATE_ADDRESS");
        const QString found = UpdateServiceAddress();
        qputenv("TARNWELL_UPDATE_ADDRESS", before);
        QCOMPARE(found, address);
    }

    void RequestIsAMultipartFormWithTheProductCode()
    {
        UpdateTestServer service({200, Same, false});
        QVERIFY2(service.IsRunning(), qPrintable(service.Error()));
        QCOMPARE(PostUpdateQuery(service.Address(), UpdateProductCode).Text, QString::fromLatin1(Same));
        const QJsonObject request = service.Requests().value(0);
        QCOMPARE(request.value(QStringLiteral("method")).toString(), QStringLiteral("POST"));
        QCOMPARE(request.value(QStringLiteral("user_agent")).toString(),
                 QStringLiteral("Mozilla/3.0 (compatible;KTZ)"));
        QCOMPARE(request.value(QStringLiteral("fields")).toObject(),
                 QJsonObject({{QStringLiteral("App"), QStringLiteral("KTZ")}}));
    }
};

QTEST_GUILESS_MAIN(UpdateCheckTest)
#include "tst_update_check.moc"
