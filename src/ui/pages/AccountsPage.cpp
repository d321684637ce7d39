#include "ui/pages/AccountsPage.h"

#include "projects/AccountStore.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLineEdit* AddField(QWidget* page, QGridLayout* grid, int row, int column, const char* name,
                    const char* caption)
{
    const TLabeledEdit field = MakeLabeledEdit(page, QString::fromLatin1(name), QString::fromLatin1(caption));
    grid->addWidget(LabelAbove(page, field), row, column);
    return field.edit;
}

} // namespace

AccountsPage::AccountsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabAccounts"));
    lbxAccount = MakeList(this, QStringLiteral("lbxAccount"));
    lblAccountName = MakeLabel(this, QStringLiteral("lblAccountName"), QString());
    QFont bold = lblAccountName->font();
    bold.setBold(true);
    lblAccountName->setFont(bold);
    lblNewAccount = MakeLabel(this, QStringLiteral("lblNewAccount"), QStringLiteral("New Account Name"));
    edtNewAccount = new QLineEdit(this);
    edtNewAccount->setObjectName(QStringLiteral("edtNewAccount"));
    btnAccountNew = MakeButton(this, QStringLiteral("btnAccountNew"), QStringLiteral("Empty"));
    bbtnAccountCopy = MakeButton(this, QStringLiteral("bbtnAccountCopy"), QStringLiteral("Copy"));
    bbtnAccountCopy->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    bbtnAccountDelete = MakeButton(this, QStringLiteral("bbtnAccountDelete"), QStringLiteral("Delete"));
    bbtnAccountDelete->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));

    // Left column: the account list and the buttons that make or delete one.
    auto* left = new QVBoxLayout;
    left->setSpacing(3);
    left->addWidget(lbxAccount, 1);
    left->addWidget(lblNewAccount);
    left->addWidget(edtNewAccount);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    buttons->addWidget(btnAccountNew);
    buttons->addWidget(bbtnAccountCopy);
    buttons->addWidget(bbtnAccountDelete);
    left->addLayout(buttons);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(10);
    fields->setVerticalSpacing(2);
    fields->addWidget(lblAccountName, 0, 0, 1, 2);
    lbeFTPHost = AddField(this, fields, 1, 0, "lbeFTPHost", "Host FTP");
    lbeFTPUserName = AddField(this, fields, 2, 0, "lbeFTPUserName", "User name FTP");
    lbeFTPPass = AddField(this, fields, 3, 0, "lbeFTPPass", "User Pass FTP");
    lbeServerRootPath = AddField(this, fields, 4, 0, "lbeServerRootPath", "Server Root Path");
    lbeServerHomePath = AddField(this, fields, 1, 1, "lbeServerHomePath", "Server Home Path");
    lbeUploadInstallerPath = AddField(this, fields, 2, 1, "lbeUploadInstallerPath", "Server Installer Path");
    lbeUploadPhpPath = AddField(this, fields, 3, 1, "lbeUploadPhpPath", "Server Php Path");
    lbeLinkUploadURL = AddField(this, fields, 4, 1, "lbeLinkUploadURL", "Server Link Page Path");

    lblFtpSecurity = MakeLabel(this, QStringLiteral("lblFtpSecurity"), QStringLiteral("FTP Security"));
    cbxFtpSecurity = new QComboBox(this);
    cbxFtpSecurity->setObjectName(QStringLiteral("cbxFtpSecurity"));
    cbxFtpSecurity->addItems(FtpSecurityChoices());
    lblFtpSecurity->setBuddy(cbxFtpSecurity);
    auto* security = new QVBoxLayout;
    security->setSpacing(0);
    security->addWidget(lblFtpSecurity);
    security->addWidget(cbxFtpSecurity);
    fields->addLayout(security, 5, 0);

    lblTrustedCertificate = MakeLabel(this, QStringLiteral("lblTrustedCertificate"), QString());
    lblTrustedCertificate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Never widens its column; the whole fingerprint is in the tool tip.
    lblTrustedCertificate->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bbtnForgetCertificate =
        MakeButton(this, QStringLiteral("bbtnForgetCertificate"), QStringLiteral("Forget Certificate"));
    auto* certificate = new QVBoxLayout;
    certificate->setSpacing(0);
    certificate->addWidget(lblTrustedCertificate);
    certificate->addWidget(bbtnForgetCertificate, 0, Qt::AlignLeft);
    fields->addLayout(certificate, 5, 1);

    lblConnections = MakeLabel(this, QStringLiteral("lblConnections"), QStringLiteral("Connections"));
    speConnections = new QSpinBox(this);
    speConnections->setObjectName(QStringLiteral("speConnections"));
    speConnections->setRange(MinConnections, MaxConnections);
    speConnections->setValue(DefaultConnections);
    lblConnections->setBuddy(speConnections);
    auto* connections = new QVBoxLayout;
    connections->setSpacing(0);
    connections->addWidget(lblConnections);
    connections->addWidget(speConnections, 0, Qt::AlignLeft);
    fields->addLayout(connections, 8, 0);
    lblProtocol = MakeLabel(this, QStringLiteral("lblProtocol"), QStringLiteral("Protocol"));
    cbxProtocol = new QComboBox(this);
    cbxProtocol->setObjectName(QStringLiteral("cbxProtocol"));
    cbxProtocol->addItems(RemoteProtocolChoices());
    lblProtocol->setBuddy(cbxProtocol);
    auto* protocol = new QVBoxLayout;
    protocol->setSpacing(0);
    protocol->addWidget(lblProtocol);
    protocol->addWidget(cbxProtocol);
    fields->addLayout(protocol, 6, 0);
    lblSshAuth = MakeLabel(this, QStringLiteral("lblSshAuth"), QStringLiteral("SFTP Log-in"));
    cbxSshAuth = new QComboBox(this);
    cbxSshAuth->setObjectName(QStringLiteral("cbxSshAuth"));
    cbxSshAuth->addItems(SshAuthenticationChoices());
    lblSshAuth->setBuddy(cbxSshAuth);
    auto* login = new QVBoxLayout;
    login->setSpacing(0);
    login->addWidget(lblSshAuth);
    login->addWidget(cbxSshAuth);
    fields->addLayout(login, 6, 1);
    lbeSshKeyFile = AddField(this, fields, 7, 0, "lbeSshKeyFile", "Private Key File");
    lbeSshKeyPass = AddField(this, fields, 7, 1, "lbeSshKeyPass", "Key Passphrase");
    lbeSshKeyPass->setEchoMode(QLineEdit::Password);
    fields->setRowStretch(9, 1);
    connect(cbxProtocol, &QComboBox::currentIndexChanged, this, [this] { ApplyChoices(); });
    connect(cbxSshAuth, &QComboBox::currentIndexChanged, this, [this] { ApplyChoices(); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(12);
    layout->addLayout(left, 2);
    layout->addLayout(fields, 5);
}

void AccountsPage::SetEditable(bool editable)
{
    editable_ = editable;
    ApplyChoices();
}

void AccountsPage::ApplyChoices()
{
    const bool sftp = cbxProtocol->currentIndex() == static_cast<int>(TRemoteProtocol::Sftp);
    const bool keyFile = cbxSshAuth->currentIndex() == static_cast<int>(TSshAuthentication::KeyFile);
    cbxFtpSecurity->setEnabled(editable_ && !sftp);
    lbeFTPPass->setEnabled(editable_ && !(sftp && keyFile));
    cbxSshAuth->setEnabled(editable_ && sftp);
    lbeSshKeyFile->setEnabled(editable_ && sftp && keyFile);
    lbeSshKeyPass->setEnabled(editable_ && sftp && keyFile);
}

void AccountsPage::ShowTrustedCertificate(const QString& fingerprint)
{
    // Whole, the 95 characters would not fit beside the choice.
    const QString shown = fingerprint.size() > 12
                              ? fingerprint.left(5) + QStringLiteral("\u2026") + fingerprint.right(5)
                              : fingerprint;
    lblTrustedCertificate->setText(fingerprint.isEmpty() ? QString() : QStringLiteral("Trusted: ") + shown);
    const bool hostKey = fingerprint.startsWith(QLatin1String("SHA256:"));
    lblTrustedCertificate->setToolTip(
        fingerprint.isEmpty() || hostKey ? fingerprint : QStringLiteral("SHA-256 ") + fingerprint);
}
