#include "ui/EditingLock.h"

#include "util/TarnwellError.h"

#include <QWidget>

const QStringList& EditingControlNames()
{
    static const QStringList names = {
        QStringLiteral("lbxAccount"),
        QStringLiteral("bbtnDeleteProject"),
        QStringLiteral("btnSave"),
        QStringLiteral("btnAbandon"),
        QStringLiteral("bbtnAddApp"),
        QStringLiteral("bbtnDeleteApp"),
        QStringLiteral("chkSoftWare"),
        QStringLiteral("chkProjectApps"),
        QStringLiteral("lbePhpFile"),
        QStringLiteral("lbePHPVar"),
        QStringLiteral("lbeDownLoadLinkFile"),
        QStringLiteral("lbeDownLoadLinkId"),
        QStringLiteral("lbeDownLoadLinkText"),
        QStringLiteral("lbeHelpBuilderBatch"),
        QStringLiteral("lbeHelpMaker"),
        QStringLiteral("lbeBaseFileName"),
        QStringLiteral("lbeInnoSetupFile"),
        QStringLiteral("lbePrebuild"),
        QStringLiteral("cbxAutoUpload"),
        QStringLiteral("lbxUploadSites"),
        QStringLiteral("lbxAvailable"),
        QStringLiteral("cbxtimeStamp"),
        QStringLiteral("lbePFX"),
        QStringLiteral("lbePFXPass"),
        QStringLiteral("pfxShowPass"),
        QStringLiteral("bbtnSaveSoftUploadLog"),
        QStringLiteral("lbeLocalRoot"),
        QStringLiteral("lbeLocalHome"),
        QStringLiteral("chkPageRelative"),
        QStringLiteral("btnAddAll"),
        QStringLiteral("bbtnAddAccount"),
        QStringLiteral("bbtnRemoveAccount"),
        QStringLiteral("lbeLinkUploadURL"),
        QStringLiteral("lbeUploadInstallerPath"),
        QStringLiteral("lbeUploadPhpPath"),
        QStringLiteral("lbeServerHomePath"),
        QStringLiteral("bbtnAccountCopy"),
        QStringLiteral("bbtnAccountDelete"),
        QStringLiteral("btnAccountNew"),
        QStringLiteral("edtNewAccount"),
        QStringLiteral("lbeFTPHost"),
        QStringLiteral("lbeFTPPass"),
        QStringLiteral("lbeFTPUserName"),
        QStringLiteral("lbeInnoCompiler"),
        QStringLiteral("lbeEditor"),
        QStringLiteral("lbeSignTool"),
        QStringLiteral("lbeNewTimeServer"),
        QStringLiteral("bbtnUp"),
        QStringLiteral("bbtnDown"),
        QStringLiteral("bbtnDeleteTimeServer"),
        QStringLiteral("bbtnAddTimeServer"),
        QStringLiteral("speAttempts"),
        QStringLiteral("comboSite"),
        QStringLiteral("lbeImportLocalHome"),
        QStringLiteral("lbeImportLocalRoot"),
        QStringLiteral("btnImportSite"),
        QStringLiteral("lbxTimeServers"),
        QStringLiteral("bbtnTimeStamp"),
        QStringLiteral("bbtnUpload"),
        QStringLiteral("bbtnAutoUpload"),
        QStringLiteral("cbxFtpSecurity"),
        QStringLiteral("bbtnForgetCertificate"),
        QStringLiteral("speConnections"),
        QStringLiteral("cbxProtocol"),
        QStringLiteral("cbxSshAuth"),
        QStringLiteral("lbeSshKeyFile"),
        QStringLiteral("lbeSshKeyPass"),
    };
    return names;
}

void SetControlsEnabled(QWidget* root, const QStringList& names, bool enabled)
{
    for (const QString& name : names) {
        auto* control = root->findChild<QWidget*>(name);
        if (!control)
            throw TarnwellError(QStringLiteral("The window has no control named %1").arg(name));
        control->setEnabled(enabled);
    }
}
