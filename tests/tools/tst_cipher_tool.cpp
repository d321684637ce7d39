// tarnwell-cipher run as a process, the way constants are made for the program.
#include "settings/TextCipher.h"

#include <QProcess>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run Cipher(const QStringList& arguments)
{
    QProcess process;
    // A plain C locale: arguments must still be taken as UTF-8.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.remove(QStringLiteral("LANG"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TARNWELL_CIPHER_TOOL), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestCipherTool : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void wrongPassphraseFails();
    void wrongUsage_data();
    void wrongUsage();
};

void TestCipherTool::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("passphrase");
    QTest::newRow("ASCII") << QStringLiteral("Tarnwell") << QStringLiteral("a passphrase");
    QTest::newRow("non-ASCII text") << QStringLiteral("Zürich € \U0001F600") << QStringLiteral("pw");
    QTest::newRow("non-ASCII passphrase") << QStringLiteral("folder") << QStringLiteral("Grüße ☃");
    QTest::newRow("empty text") << QString() << QStringLiteral("pw");
}

void TestCipherTool::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, passphrase);
    const Run enciphered = Cipher({QStringLiteral("encipher"), passphrase, text});
    QCOMPARE(enciphered.exitCode, 0);
    const QString base64 = enciphered.out.trimmed();
    QVERIFY(!base64.isEmpty());
    // The program's own function reads what the tool made...
    QCOMPARE(DecipherText(base64, passphrase), text);
    // ...and the tool reads it back.
    const Run deciphered = Cipher({QStringLiteral("decipher"), passphrase, base64});
    QCOMPARE(deciphered.exitCode, 0);
    QCOMPARE(deciphered.out, text + QLatin1Char('\n'));
    // It also reads what the program made, with its fresh salt.
    const Run fromProgram = Cipher({QStringLiteral("decipher"), passphrase, EncipherText(text, passphrase)});
    QCOMPARE(fromProgram.exitCode, 0);
    QCOMPARE(fromProgram.out, text + QLatin1Char('\n'));
}

void TestCipherTool::wrongPassphraseFails()
{
    const QString base64 = EncipherText(QStringLiteral("secret"), QStringLiteral("right"));
    const Run run = Cipher({QStringLiteral("decipher"), QStringLiteral("wrong"), base64});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err.trimmed(), QStringLiteral("Invalid data"));
}

void TestCipherTool::wrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList(
        {QStringLiteral("scramble"), QStringLiteral("pw"), QStringLiteral("x")});
    QTest::newRow("text missing") << QStringList({QStringLiteral("encipher"), QStringLiteral("pw")});
    QTest::newRow("one too many") << QStringList(
        {QStringLiteral("decipher"), QStringLiteral("pw"), QStringLiteral("x"), QStringLiteral("y")});
}

void TestCipherTool::wrongUsage()
{
    QFETCH(QStringList, arguments);
    const Run run = Cipher(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.startsWith(QStringLiteral("usage: tarnwell-cipher")));
}

QTEST_GUILESS_MAIN(TestCipherTool)
#include "tst_cipher_tool.moc"
