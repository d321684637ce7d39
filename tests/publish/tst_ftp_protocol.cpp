#include "publish/FtpProtocol.h"

#include <QTest>

class FtpProtocolTest : public QObject {
    Q_OBJECT
private slots:
    void ReadsTheAccountHost_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host"); // empty: refused
        QTest::addColumn<int>("port");

        QTest::newRow("name alone") << "ftp.example.com"
                                    << "ftp.example.com" << 21;
        QTest::newRow("name and port") << "ftp.example.com:2121"
                                       << "ftp.example.com" << 2121;
        QTest::newRow("address, blanks around") << " 10.0.0.5:990 "
                                                << "10.0.0.5" << 990;
        QTest::newRow("empty") << ""
                               << "" << 0;
        QTest::newRow("port 0") << "host:0"
                                << "" << 0;
        QTest::newRow("port too big") << "host:70000"
                                      << "" << 0;
        QTest::newRow("port not a number") << "host:abc"
                                           << "" << 0;
        QTest::newRow("two ports") << "host:21:22"
                                   << "" << 0;
        QTest::newRow("user smuggled in") << "user@evil.example:21"
                                          << "" << 0;
        QTest::newRow("path smuggled in") << "host/path"
                                          << "" << 0;
        QTest::newRow("a whole address") << "ftp://host"
                                         << "" << 0;
        QTest::newRow("leading dash") << "-host"
                                      << "" << 0;
    }
    void ReadsTheAccountHost()
    {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        const std::optional<FtpAddress> address = ParseFtpHost(text);
        QCOMPARE(address.has_value(), !host.isEmpty());
        if (address) {
            QCOMPARE(address->Host, host);
            QCOMPARE(address->Port, port);
        }
    }
};

QTEST_GUILESS_MAIN(FtpProtocolTest)
#include "tst_ftp_protocol.moc"
