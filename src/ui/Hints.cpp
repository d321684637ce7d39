#include "ui/Hints.h"

#include "util/TarnwellError.h"

#include <QVariant>
#include <QWidget>

namespace {

const char* const HelpContextProperty = "helpContext";
const char* const HintProperty = "hint";

// Hints and help contexts of the main window, in the window's design order.
// A null hint means the control has a help context but no hint.
const THintRow Rows[] = {
    {"bbtnAddApp", 420, nullptr},
    {"bbtnDeleteApp", 410, nullptr},
    {"chkEnable", 510, "Check this to enable editing"},
    {"bbtnSelectProject", 460, "Select a project to the left and then click this to load it"},
    {"bbtnDeleteProject", 490, "Select a project to the left and the click this to delete it"},
    {"bbtnNew", 470, "Click this when you've entered a new name to the right"},
    {"edtNewProject", 470, "Enter a unique name for a new project"},
    {"chkSoftWare", 500, "Show or Hide the software project options\rthis has no effect of your stored data"},
    {"bbtnHelp", 0, "Click this to read the help"},
    {"lbePhpFile", 260,
     "Enter the full path and filename of the php file\rdouble click to browse for file\rleave blank if you "
     "don't have one"},
    {"lbePHPVar", 270, "Enter the name of the variable in your php file\rleave blank if you don't have one"},
    {"lbeDownLoadLinkText", 300,
     "e.g. Download AmazingBitofSoftwareSetup\rthis will have the version added to it like -\rDownload "
     "AmazingBitofSoftwareSetup 1.1"},
    {"lbeDownLoadLinkId", 290,
     "Enter the download link ID \rleave blank if you don't want your link page edited"},
    {"lbeDownLoadLinkFile", 280,
     "Enter the full path and filename of the download link file\rdouble click to browse for file\rleave "
     "blank if you don't want your link page edited"},
    {"lbeHelpBuilderBatch", 310,
     "Enter the full path and filename of the HelpMaker project file\rdouble click to browse for file\rleave "
     "blank if you don't use HelpMaker"},
    {"lbeBaseFileName", 330, "Enter the setup basefilename"},
    {"lbeInnoSetupFile", 340,
     "Enter the full path and filename of the innosetup file\rdouble click to browse for file"},
    {"lbePrebuild", 350,
     "Enter the full path and filename of your prebuild batch or command\rleave blank if you don't have "
     "one\rdouble click to browse for file"},
    {"bbtnGetItDone", 380, "Click this to build your installer"},
    {"cbxtimeStamp", 390, "Check this to get your digital signatures timestamped"},
    {"cbxAutoUpload", 400,
     "Check this to have your new build automatically uploaded\ruploads only happen if project build is "
     "entirely successful"},
    {"bbtnTimeStamp", 390, nullptr},
    {"bbtnAutoUpload", 390, nullptr},
    {"lbePFX", 240, "Leave blank and signtool will find the best certificate for you"},
    {"pfxShowPass", 250, "Hide or Show password"},
    {"ProgressPane", 1050, nullptr},
    {"bbtnSaveSoftUploadLog", 530, "Click this to save a copy of the log"},
    {"bbtnUpload", 520, "Click this to upload your installer to your site(s)"},
    {"clbxFiles", 540,
     "Check the files that you want included in your site updates\rctrl-click selects/deselects all files in "
     "this folder\rAny dependencies of index.html will always be automatically selected"},
    {"lbeLocalRoot", 560,
     "Enter the full path of your local root (usually one level up from home\rdouble click to browse for "
     "folder"},
    {"lbeLocalHome", 550,
     "Enter the full path for your local home folder\rdouble click to browse for folder"},
    {"bbtnUpdateFiles", 570, nullptr},
    {"lbxLocalFiles", 610, "These are the files that are checked in select files"},
    {"bbtnedit", 620, nullptr},
    {"lbxLocalFolders", 630, nullptr},
    {"lbxBrokenLinks", 640, nullptr},
    {"bbtnEditBroken", 660, nullptr},
    {"btnReScan", 650, nullptr},
    {"bbtnAgain", 650, "Analyse all files again"},
    {"lbxUploadSites", 670, "These are the sites your updates will be sent to"},
    {"lbxAvailable", 680, "Choose from these sites for your updates"},
    {"bbtnRemoveAccount", 690, "Remove selected account from update list (does not delete it)"},
    {"bbtnAddAccount", 700, "Add selected account to update list"},
    {"btnAddAll", 0, "Add all the listed accounts to your update list"},
    {"SiteUploadProgress", 720, nullptr},
    {"bbtnSaveUploadLog", 760, nullptr},
    {"bbtnUploadSite", 730, "Click this to upload checked files that have been altered since last upload"},
    {"bbtnUploadAll", 740, "Click this to upload all checked files regardless of their status"},
    {"bbtnEntire", 750, "Click this to upload the entire site"},
    {"chkDeleteOrphans", 750,
     "Check this to have Entire Site delete the files on the server that are no longer part of the site"},
    {"bbtnPreview", 750, "Click this to see what an upload would send, without sending anything"},
    {"lbeServerHomePath", 880, "the path to your home page (ie public or home path)"},
    {"lbeLinkUploadURL", 850, "the path where your link page should go"},
    {"lbeUploadPhpPath", 860, "the path where your php file should go"},
    {"lbeUploadInstallerPath", 870, "the path where your installer should go"},
    {"lbeServerRootPath", 1110,
     "the path to the root of your site (not necessarily the server root on a shared host)"},
    {"edtNewAccount", 830, "Enter a new unique account name here"},
    {"bbtnAccountCopy", 810, "Create a new account copied from the currently selected account"},
    {"bbtnAccountDelete", 820, "Delete the selected account"},
    {"lbxAccount", 840, nullptr},
    {"btnAccountNew", 800, "Create a new blank account"},
    {"lbeFTPHost", 790, "Enter the Ftp url here"},
    {"lbeFTPPass", 780, "Enter the user passowrd here"},
    {"lbeFTPUserName", 770, "Enter the user name here"},
    {"lbeInnoCompiler", 890,
     "enter the full path and file name for the InnoSetup compiler\rdouble click to browse for file"},
    {"lbeSignTool", 890,
     "the full path of the signing tool, osslsigncode or signtool.exe; empty to search "
     "for it\rdouble click to browse for file"},
    {"lbeEditor", 900,
     "Enter the full path and file name of your text editor\rdouble click to browse for file"},
    {"lbxTimeServers", 950, nullptr},
    {"lbeNewTimeServer", 960, "Enter the url for a new timeserver here"},
    {"speConnections", 0, "How many connections an upload opens to this server at once (1 to 8)"},
    {"speAttempts", 970, "This is the number of attempts to use each time server"},
    {"comboSite", 980, "Choose the account to import from"},
    {"lbeImportLocalHome", 990,
     "Enter the full path for your local home folder for the import\rdouble click to browse for folder"},
    {"lbeImportLocalRoot", 1000,
     "Enter the full path of your local root (usually one level up from home) for the import\rdouble click "
     "to browse for folder"},
    {"memImportProgress", 1010, nullptr},
    {"btnImportSite", 0, "Click to import entire site"},
};

} // namespace

const QString HelpLine = QStringLiteral("Right click for help");

void SetHelpContext(QWidget* control, int context)
{
    control->setProperty(HelpContextProperty, context);
}

int HelpContext(const QWidget* control)
{
    return control->property(HelpContextProperty).toInt();
}

void SetControlHint(QWidget* control, const QString& text)
{
    QString hint = text;
    if (HelpContext(control) != 0 && !hint.contains(QStringLiteral("Right click")))
        hint += QLatin1Char('\r') + HelpLine;
    control->setProperty(HintProperty, hint);
    // Tool tips break lines at LF; the hint keeps its CR as written.
    control->setToolTip(QString(hint).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    control->setToolTipDuration(HintHidePause);
}

QString ControlHint(const QWidget* control)
{
    return control->property(HintProperty).toString();
}

std::span<const THintRow> MainScreenHintRows()
{
    return Rows;
}

namespace {

QWidget* Control(QWidget* root, const char* name)
{
    auto* control = root->findChild<QWidget*>(QString::fromLatin1(name));
    if (!control)
        throw TarnwellError(
            QStringLiteral("The window has no control named %1").arg(QString::fromLatin1(name)));
    return control;
}

} // namespace

void SetMainScreenHelpContexts(QWidget* root)
{
    for (const THintRow& row : Rows)
        SetHelpContext(Control(root, row.control), row.context);
}

void SetMainScreenHints(QWidget* root)
{
    for (const THintRow& row : Rows) {
        if (row.hint)
            SetControlHint(Control(root, row.control), QString::fromUtf8(row.hint));
    }
}
