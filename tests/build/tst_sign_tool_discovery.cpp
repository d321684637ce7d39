#include "RecordingPrompts.h"
#include "TestStore.h"
#include "build/SignToolDiscovery.h"
#include "settings/SettingsSchema.h"

#include <QFile>
#include <QTest>

#include <memory>

namespace {

const QString NotFound = "Unable to find SignTool.exe\rTo sign your apps you need to install Windows SDK";

} // namespace

class SignToolDiscoveryTest : public QObject {
    Q_OBJECT
private slots:
    // The search looks on the PATH first: each test sets its own.
    void init()
    {
        savedPath_ = qgetenv("PATH");
        pathFolder_ = std::make_unique<TestFolder>();
        qputenv("PATH", pathFolder_->Path().toLocal8Bit());
    }
    void cleanup()
    {
        qputenv("PATH", savedPath_);
        pathFolder_.reset();
    }

    void LocateSignTool_data()
    {
        QTest::addColumn<QStringList>("files"); // under the search root
        QTest::addColumn<QString>("stored");    // before; "{root}" is the search root
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QStringList>("boxes");
        const QString needfind = Schema::SignToolNeedFind;
        const QStringList sdk{"sdk/bin/signtool.exe"};
        QTest::newRow("first start, two SDK versions: the last one walked wins")
            << QStringList{"Kits/10/bin/signtool.exe", "Kits/8.1/bin/signtool.exe"} << "" << false
            << "\"{root}/Kits/8.1/bin/signtool.exe\"" << true << QStringList{};
        QTest::newRow("a folder's own file comes before its sub-folders")
            << QStringList{"sdk/bin/signtool.exe", "sdk/signtool.exe"} << "" << false
            << "\"{root}/sdk/bin/signtool.exe\"" << true << QStringList{};
        QTest::newRow("help file beside the program")
            << QStringList{"sdk/signtool.chm", "sdk/signtool.exe"} << "" << false
            << "\"{root}/sdk/signtool.exe\"" << true << QStringList{};
        QTest::newRow("extension in capitals is not taken")
            << QStringList{"sdk/signtool.EXE"} << "" << false << needfind << false << QStringList{NotFound};
        QTest::newRow("remembered file present")
            << sdk << "\"{root}/sdk/bin/signtool.exe\"" << false << "\"{root}/sdk/bin/signtool.exe\"" << true
            << QStringList{};
        QTest::newRow("remembered file gone")
            << sdk << "\"{root}/old/signtool.exe\"" << false << needfind << false
            << QStringList{"{root}/old/signtool.exe\rfile not found"};
        // Only the button searches again.
        QTest::newRow("searched in vain before")
            << sdk << needfind << false << needfind << false << QStringList{};
        QTest::newRow("button after installing the SDK")
            << sdk << needfind << true << "\"{root}/sdk/bin/signtool.exe\"" << true << QStringList{};
        QTest::newRow("button, still nothing")
            << QStringList{} << needfind << true << needfind << false << QStringList{NotFound};
        QTest::newRow("path typed without quotes") << sdk << "{root}/sdk/bin/signtool.exe" << false
                                                   << "{root}/sdk/bin/signtool.exe" << true << QStringList{};
    }
    void LocateSignTool()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(bool, force);
        QFETCH(QString, storedAfter);
        QFETCH(bool, available);
        QFETCH(QStringList, boxes);
        TestStore store;
        TestFolder programs;
        for (const QString& file : files)
            programs.Write(file, "MZ");
        const auto expand = [&](QString text) { return text.replace("{root}", programs.Path()); };
        store->WriteString(Schema::SecSignTool, Schema::KeyCommand, expand(stored));
        RecordingPrompts prompts;

        QCOMPARE(::LocateSignTool(*store, force, prompts, programs.Path()), available);
        QCOMPARE(store->ReadString(Schema::SecSignTool, Schema::KeyCommand, QString()), expand(storedAfter));
        QStringList expected;
        for (const QString& box : boxes)
            expected << expand(box);
        QCOMPARE(prompts.Texts(), expected);
    }

    void OsslsigncodeOnPathComesFirst_data()
    {
        QTest::addColumn<QString>("stored"); // "{ossl}" is osslsigncode on the PATH, "{sdk}" signtool.exe
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("first start with both installed") << "" << false << "\"{ossl}\"";
        QTest::newRow("button after installing it")
            << QString(Schema::SignToolNeedFind) << true << "\"{ossl}\"";
        // A tool set by hand stays: the search runs only when nothing is set.
        QTest::newRow("signtool.exe set by hand") << "\"{sdk}\"" << false << "\"{sdk}\"";
    }
    void OsslsigncodeOnPathComesFirst()
    {
        QFETCH(QString, stored);
        QFETCH(bool, force);
        QFETCH(QString, storedAfter);
        TestStore store;
        TestFolder programs;
        const QString sdk = programs.Write("sdk/bin/signtool.exe", "MZ");
        const QString ossl = pathFolder_->Write("osslsigncode", "#!/bin/sh\n");
        QFile::setPermissions(ossl, QFile::ReadOwner | QFile::ExeOwner);
        const auto expand = [&](QString text) { return text.replace("{ossl}", ossl).replace("{sdk}", sdk); };
        store->WriteString(Schema::SecSignTool, Schema::KeyCommand, expand(stored));
        RecordingPrompts prompts;

        QVERIFY(::LocateSignTool(*store, force, prompts, programs.Path()));
        QCOMPARE(store->ReadString(Schema::SecSignTool, Schema::KeyCommand, QString()), expand(storedAfter));
        QVERIFY(prompts.Texts().isEmpty());
    }

    void SearchRootIsProgramFilesOrOpt()
    {
        const QByteArray saved = qgetenv("ProgramFiles");
        qputenv("ProgramFiles", "/srv/programs");
        QCOMPARE(SignToolSearchRoot(), "/srv/programs");
        // Never the whole file system.
        qunsetenv("ProgramFiles");
        QCOMPARE(SignToolSearchRoot(), "/opt");
        qputenv("ProgramFiles", saved);
    }

private:
    QByteArray savedPath_;
    std::unique_ptr<TestFolder> pathFolder_;
};

QTEST_GUILESS_MAIN(SignToolDiscoveryTest)
#include "tst_sign_tool_discovery.moc"
