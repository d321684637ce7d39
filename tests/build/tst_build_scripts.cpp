#include "build/BuildScripts.h"

#include <QTest>

namespace {

const ScriptFlavour Batch = ScriptFlavour::Batch;
const QString Tool = QStringLiteral("\"C:\\Program Files (x86)\\Windows Kits\\10\\bin\\x86\\signtool.exe\"");
const QString Capture = QStringLiteral("C:\\Users\\dev\\AppData\\Local\\Acme\\Tarnwell\\Temp\\lessee.txt");
const QString Apps[] = {QStringLiteral("C:\\Build\\Editor.exe"), QStringLiteral("C:\\Build\\Help Viewer.exe"),
                        QStringLiteral("C:\\Build\\plugin.dll")};

// The expected lines of a batch script, each closed by CR LF.
QByteArray Lines(std::initializer_list<QByteArray> lines)
{
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

class BuildScriptsTest : public QObject {
    Q_OBJECT
private slots:
    void BatchTextIsExact_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("expected");
        const SigningSetup withPassword{Tool, QStringLiteral("C:\\Certs\\code.pfx"),
                                        QStringLiteral("s3cret")};
        const SigningSetup noPassword{Tool, QStringLiteral("C:\\Certs\\code.pfx"), QString()};
        const SigningSetup toolChooses{Tool, QString(), QString()};
        const char* signtool = R"("C:\Program Files (x86)\Windows Kits\10\bin\x86\signtool.exe")";
        const char* lessee = R"(C:\Users\dev\AppData\Local\Acme\Tarnwell\Temp\lessee.txt)";

        QTest::newRow("help")
            << HelpScript(Batch, QStringLiteral("C:\\Program Files\\HelpMaker\\HelpMaker.exe"),
                          QStringLiteral("C:\\Help\\MyHelp.sh6"))
            << Lines({"@echo off", "@echo Building Help",
                      R"("C:\Program Files\HelpMaker\HelpMaker.exe" /ch "C:\Help\MyHelp.sh6")", "exit"});
        QTest::newRow("sign three apps with a password")
            << SignAppsScript(Batch, withPassword, {Apps[0], Apps[1], Apps[2]}, Capture)
            << Lines({"@echo signing apps",
                      QByteArray(signtool) +
                          R"( sign /f C:\Certs\code.pfx /p s3cret "C:\Build\Editor.exe" )" +
                          R"("C:\Build\Help Viewer.exe" "C:\Build\plugin.dll" > )" + lessee,
                      "exit"});
        QTest::newRow("sign one app without a password")
            << SignAppsScript(Batch, noPassword, {Apps[0]}, Capture)
            << Lines(
                   {"@echo signing apps",
                    QByteArray(signtool) + R"( sign /f C:\Certs\code.pfx "C:\Build\Editor.exe" > )" + lessee,
                    "exit"});
        QTest::newRow("time stamp over two servers")
            << TimestampScript(Batch, Tool, {"http://ts.one.test", "http://ts.two.test/tsa"}, 10, Apps[1])
            << Lines({"@echo off", "set SERVERLIST=(http://ts.one.test http://ts.two.test/tsa)",
                      "for /L %%a in (1,1,10) do (", "for %%s in %SERVERLIST% do (",
                      QByteArray(signtool) + R"( timestamp /t  %%s  "C:\Build\Help Viewer.exe")",
                      "if not ERRORLEVEL 1 GOTO succeeded", ")", ")", "exit /b 1", ":succeeded",
                      "exit /b 0"});
        QTest::newRow("installer")
            << InstallerScript(Batch, QStringLiteral("C:\\Program Files (x86)\\Inno Setup 6\\ISCC.exe"),
                               QStringLiteral("C:\\Setup\\editor.iss"))
            << Lines({R"("C:\Program Files (x86)\Inno Setup 6\ISCC.exe" /cc "C:\Setup\editor.iss")"});
        QTest::newRow("sign the installer, tool chooses the certificate")
            << SignInstallerScript(Batch, toolChooses,
                                   QStringLiteral("C:\\Setup\\Output\\EditorSetup1.2.exe"), Capture)
            << Lines({"@echo signing Installer",
                      QByteArray(signtool) + R"( sign /a "C:\Setup\Output\EditorSetup1.2.exe" > )" + lessee,
                      "exit"});
        // Values the interpreter would otherwise split, redirect or expand.
        const SigningSetup awkward{Tool, QStringLiteral("C:\\My Certs\\code.pfx"),
                                   QStringLiteral("p&ss>%PATH% \"q\"")};
        QTest::newRow("awkward values are quoted and escaped")
            << SignAppsScript(Batch, awkward, {QStringLiteral("C:\\50%\\app.exe")},
                              QStringLiteral("C:\\Users\\Jo Smith\\Temp\\lessee.txt"))
            << Lines(
                   {"@echo signing apps",
                    QByteArray(signtool) +
                        R"( sign /f "C:\My Certs\code.pfx" /p ^"p^&ss^>%%PATH%% \^"q\^"^" "C:\50%%\app.exe" > )" +
                        R"("C:\Users\Jo Smith\Temp\lessee.txt")",
                    "exit"});
        const QString ossl = QStringLiteral("\"C:\\Tools\\osslsigncode.exe\"");
        const SigningSetup osslSetup{ossl, QStringLiteral("C:\\Certs\\code.pfx"), QStringLiteral("s3cret"),
                                     QStringLiteral("C:\\Temp\\signpass")};
        QTest::newRow("osslsigncode signs each app into a new file")
            << SignAppsScript(Batch, osslSetup, {Apps[0], Apps[1]}, Capture)
            << Lines(
                   {"@echo signing apps",
                    R"((for %%f in ("C:\Build\Editor.exe" "C:\Build\Help Viewer.exe") do ()",
                    R"("C:\Tools\osslsigncode.exe" sign -pkcs12 "C:\Certs\code.pfx" -readpass "C:\Temp\signpass")"
                    R"( -h sha256 -in %%f -out "%%~f.signing" || (del "%%~f.signing" 2>nul & exit 1))",
                    R"(move /y "%%~f.signing" %%f >nul || (del "%%~f.signing" 2>nul & exit 1))",
                    QByteArray(")) > ") + lessee, "exit 0"});
        QTest::newRow("osslsigncode time stamp over two servers")
            << TimestampScript(Batch, QStringLiteral("C:\\Tools\\OSSLSIGNCODE.EXE"),
                               {"http://ts.one.test", "https://ts.two.test/tsa"}, 3, Apps[1])
            << Lines(
                   {"@echo off", "set SERVERLIST=(http://ts.one.test https://ts.two.test/tsa)",
                    "for /L %%a in (1,1,3) do (", "for %%s in %SERVERLIST% do (",
                    R"("C:\Tools\OSSLSIGNCODE.EXE" add -ts %%s -h sha256 -in "C:\Build\Help Viewer.exe")"
                    R"( -out "C:\Build\Help Viewer.exe.signing" && move /y "C:\Build\Help Viewer.exe.signing")"
                    R"( "C:\Build\Help Viewer.exe" >nul && GOTO succeeded)",
                    R"(del "C:\Build\Help Viewer.exe.signing" 2>nul)", ")", ")", "exit /b 1", ":succeeded",
                    "exit /b 0"});
    }
    void BatchTextIsExact()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, expected);
        QCOMPARE(script, expected);
    }
};

QTEST_GUILESS_MAIN(BuildScriptsTest)
#include "tst_build_scripts.moc"
