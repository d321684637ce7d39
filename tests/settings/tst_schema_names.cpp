// Every fixed section and key name, as literal text. Files written by other
// copies of the program use these exact names; a typo in a constant would
// pass every test that goes through the constant, but not this one.
#include "settings/SettingsSchema.h"

#include <QTest>

using namespace Schema;

class SchemaNames : public QObject {
    Q_OBJECT
private slots:
    void NamesAreExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("literal");
        const QList<QPair<QString, const char*>> names = {
            {SecSettings, "Settings"},
            {KeyUpdateCheck, "upc"},
            {SecProjects, "Projects"},
            {KeyProjectNames, "ProjectNames"},
            {SecAccounts, "Accounts"},
            {KeyAccountNames, "AccountNames"},
            {SecTimeServers, "TimeServers"},
            {KeyServerURLs, "ServerURLs"},
            {KeyAttempts, "Attempts"},
            {SecInnoCompiler, "InnoCompiler"},
            {SecEditor, "Editor"},
            {SecHelpMaker, "HelpMaker"},
            {SecSignTool, "SignTool"},
            {KeyCommand, "Command"},
            {SignToolNeedFind, "needfind"},
            {KeyTop, "top"},
            {KeyLeft, "left"},
            {KeyHeight, "height"},
            {KeyWidth, "width"},
            {WindowSection("MainScreen"), "Window\\MainScreen"},
            {KeyPhpFile, "PhpFile"},
            {KeyPhpVar, "PhpVar"},
            {KeyDownLoadLink, "DownLoadLink"},
            {KeyDLinkId, "DLinkId"},
            {KeyDLinkText, "DLinkText"},
            {KeyHelpBatch, "HelpBatch"},
            {KeyBaseFile, "BaseFile"},
            {KeyInnoSetupFile, "InnoSetupFile"},
            {KeyPreBuild, "PreBuild"},
            {KeyPFX, "PFX"},
            {KeyPFXPass, "PFXPass"},
            {KeyApps, "Apps"},
            {KeyPrimary, "Primary"},
            {KeyFullVersion, "FullVersion"},
            {KeyPrimaryPath, "PrimaryPath"},
            {KeyLocalRoot, "LocalRoot"},
            {KeyLocalHome, "LocalHome"},
            {KeySoftWareDev, "SoftWareDev"},
            {KeyTimeStamp, "TimeStamp"},
            {KeyAutoUpload, "AutoUpload"},
            {KeyFileSelection, "LFLS"},
            {SecSites, "Sites"},
            {AccountSection("Main host"), "Account/Main host"},
            {KeyFtpAccount, "FtpAccount"},
            {KeyFtpHost, "FtpHost"},
            {KeyFtpUser, "FtpUser"},
            {KeyFtpPass, "FtpPass"},
            {KeyULInstall, "ULInstall"},
            {KeyULPhp, "ULPhp"},
            {KeyULLinkUpLoad, "ULLinkUpLoad"},
            {KeyServerHome, "ServerHome"},
            {KeyServerRoot, "ServerRoot"},
            {KeyHTTPHost, "HTTPHost"},
            {KeyFtpSecurity, "FtpSecurity"},
            {FtpSecurityPlain, "plain"},
            {FtpSecurityTlsIfOffered, "tls-if-offered"},
            {FtpSecurityTlsRequired, "tls-required"},
            {KeyFtpCertificate, "FtpCertificate"},
            {UploadRecordSection("Alpha", "Main host"), "ULF-Alpha-Main host"},
        };
        for (const auto& [name, literal] : names)
            QTest::newRow(literal) << name << QString::fromLatin1(literal);
    }
    void NamesAreExactly()
    {
        QFETCH(QString, name);
        QFETCH(QString, literal);
        QCOMPARE(name, literal);
    }
};

QTEST_GUILESS_MAIN(SchemaNames)
#include "tst_schema_names.moc"
