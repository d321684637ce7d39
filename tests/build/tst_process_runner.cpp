#include "TestFolder.h"
#include "build/ProcessRunner.h"

#include <QDir>
#include <QFile>
#include <QTest>

class ProcessRunnerTest : public QObject {
    Q_OBJECT
private slots:
    void ReturnsTheExitCode_data()
    {
        // A script is written as the program, executable when it starts with "#!".
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("success") << QByteArray("#!/bin/sh\necho done\nexit 0\n") << ""
                                 << "" << 0;
        QTest::newRow("failure") << QByteArray("#!/bin/sh\necho failed >&2\nexit 1\n") << ""
                                 << "" << 1;
        QTest::newRow("other code") << QByteArray("#!/bin/sh\nexit 3\n") << ""
                                    << "" << 3;
        QTest::newRow("command line") << QByteArray() << "/bin/sh"
                                      << "-c \"exit 7\"" << 7;
        QTest::newRow("killed by a signal") << QByteArray("#!/bin/sh\nkill -9 $$\n") << ""
                                            << "" << 128 + 9;
        QTest::newRow("missing program") << QByteArray() << "/nonexistent/tool"
                                         << "" << -1;
        QTest::newRow("empty path") << QByteArray() << ""
                                    << "" << -1;
        // The file named, never a program of that name found on PATH.
        QTest::newRow("name found only on PATH") << QByteArray() << "true"
                                                 << "" << -1;
        QTest::newRow("relative name in the current folder") << QByteArray("#!/bin/sh\nexit 5\n") << "tool.sh"
                                                             << "" << 5;
    }
    void ReturnsTheExitCode()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, program);
        QFETCH(QString, commandLine);
        QFETCH(int, exitCode);
        TestFolder folder;
        const QString saved = QDir::currentPath();
        if (!script.isEmpty()) {
            const QString path = folder.Write("tool.sh", script);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            // A relative name is taken from the current folder.
            if (program.isEmpty())
                program = path;
            else
                QVERIFY(QDir::setCurrent(folder.Path()));
        }
        const int code = Win32RunWait(program, commandLine);
        QDir::setCurrent(saved);
        QCOMPARE(code, exitCode);
    }
};

QTEST_GUILESS_MAIN(ProcessRunnerTest)
#include "tst_process_runner.moc"
