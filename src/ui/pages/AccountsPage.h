#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

// "Accounts" (TabAccounts): the FTP accounts, one shown for editing.
class AccountsPage : public QWidget {
    Q_OBJECT
public:
    explicit AccountsPage(QWidget* parent = nullptr);

    QListWidget* lbxAccount;
    QLabel* lblAccountName;
    QLabel* lblNewAccount;
    QLineEdit* edtNewAccount;
    QPushButton* btnAccountNew;
    QPushButton* bbtnAccountCopy;
    QPushButton* bbtnAccountDelete;
    QLineEdit* lbeFTPUserName;
    QLineEdit* lbeFTPPass;
    QLineEdit* lbeFTPHost;
    QLineEdit* lbeLinkUploadURL;
    QLineEdit* lbeUploadPhpPath;
    QLineEdit* lbeUploadInstallerPath;
    QLineEdit* lbeServerHomePath;
    QLineEdit* lbeServerRootPath;
    // FTP over TLS: the choice, and the certificate trusted for the account
    // although the system does not trust it.
    QLabel* lblFtpSecurity;
    QComboBox* cbxFtpSecurity;
    QLabel* lblTrustedCertificate;
    QPushButton* bbtnForgetCertificate;
    // How many connections an upload opens to the server at once.
    QLabel* lblConnections;
    QSpinBox* speConnections;
    // FTP or SFTP, and how an SFTP account logs in: by password, or by a
    // private key file with its passphrase when it has one.
    QLabel* lblProtocol;
    QComboBox* cbxProtocol;
    QLabel* lblSshAuth;
    QComboBox* cbxSshAuth;
    QLineEdit* lbeSshKeyFile;
    QLineEdit* lbeSshKeyPass;

    // Shows a trusted fingerprint ("AB:CD:..." of a certificate, or
    // "SHA256:..." of a host key) shortened, whole in the tool tip; empty
    // shows none.
    void ShowTrustedCertificate(const QString& fingerprint);

    // Whether the editing lock is open. The fields that only one protocol
    // or way of logging in uses are enabled only while the shown choices
    // call for them; the lock decides for the rest.
    void SetEditable(bool editable);

private:
    void ApplyChoices();
    bool editable_ = false;
};
