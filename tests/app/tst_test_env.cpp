#include "TestFolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTest>

// The test harness must keep every test away from the user's real home.
class TestEnv : public QObject {
    Q_OBJECT
private slots:
    void DataLocationIsInsideTheTestFolder()
    {
        TestFolder folder(true);
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        QVERIFY(data.startsWith(folder.Path()));
        QVERIFY(QDir::tempPath().contains(QStringLiteral("testhome")));
    }
};

QTEST_GUILESS_MAIN(TestEnv)
#include "tst_test_env.moc"
