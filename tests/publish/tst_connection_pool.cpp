// The pool's contract with the operation that runs it: items come back in
// list order whichever connection finished first, and an error raised
// while the operation's thread delivers or waits reaches the operation with
// every connection's thread ended and the first client reporting to the
// operation's host again.
#include "FtpTestServer.h"
#include "RecordingHost.h"
#include "publish/ConnectionPool.h"
#include "publish/FtpRemoteClient.h"
#include "util/TarnwellError.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

class ConnectionPoolTest : public QObject {
    Q_OBJECT

private slots:
    void DeliversInOrderAndSurvivesErrors_data()
    {
        QTest::addColumn<int>("connections");
        QTest::addColumn<QString>("failAt"); // "": no error; "deliver 3"; "waiting"
        QTest::addColumn<int>("delivered");  // items delivered before the end
        for (int connections : {1, 4}) {
            const QByteArray n = QByteArray::number(connections);
            QTest::newRow(n + " connections") << connections << "" << 12;
            QTest::newRow(n + " connections, error while delivering") << connections << "deliver 3" << 3;
            QTest::newRow(n + " connections, error while waiting") << connections << "waiting" << -1;
        }
    }
    void DeliversInOrderAndSurvivesErrors()
    {
        QFETCH(int, connections);
        QFETCH(QString, failAt);
        QFETCH(int, delivered);

        FtpTestServer server;
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));
        RecordingHost host;
        FtpRemoteClient first(host);
        const TConnectionSettings account = server.Account(QStringLiteral("Shop"));
        QVERIFY(first.Connect(account).Ok);

        constexpr int count = 12;
        std::atomic<int> working{0};
        QList<int> order;
        ConnectionPool pool(first, account, {5, 5, 5}, connections);
        ConnectionPool::Work work;
        work.Do = [&](ConnectionPool::Connection&, int index) {
            ++working;
            // Later items finish sooner, so the connections end out of order.
            std::this_thread::sleep_for(std::chrono::milliseconds(5 * (count - index)));
            --working;
        };
        work.Deliver = [&](int index) {
            if (failAt == QStringLiteral("deliver %1").arg(index))
                throw TarnwellError(QStringLiteral("stopped"));
            order.append(index);
            return true;
        };
        work.Waiting = [&] {
            if (failAt == QLatin1String("waiting"))
                throw TarnwellError(QStringLiteral("stopped"));
            return true;
        };

        bool thrown = false;
        try {
            QCOMPARE(pool.Run(count, work), count);
        } catch (const TarnwellError&) {
            thrown = true;
        }
        QCOMPARE(thrown, !failAt.isEmpty());
        QCOMPARE(working.load(), 0);
        QCOMPARE(&first.Host(), static_cast<OperationHost*>(&host));
        if (delivered >= 0) {
            QList<int> expected;
            for (int i = 0; i < delivered; ++i)
                expected.append(i);
            QCOMPARE(order, expected);
        }
        QVERIFY(first.IsLoggedIn());
    }
};

QTEST_GUILESS_MAIN(ConnectionPoolTest)
#include "tst_connection_pool.moc"
