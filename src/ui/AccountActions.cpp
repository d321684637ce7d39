#include "ui/AccountActions.h"

#include "projects/AccountStore.h"
#include "projects/ProjectSites.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "ui/Controls.h"
#include "ui/SlotGuard.h"
#include "ui/pages/AccountsPage.h"
#include "util/Prompts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <algorithm>

namespace {

// The trust the page shows: the host key of an SFTP account, the
// certificate of an FTP one.
QString TrustShown(const TAccountFields& f)
{
    return f.Protocol == TRemoteProtocol::Sftp ? f.TrustedHostKey : f.TrustedCertificate;
}

} // namespace

AccountActions::AccountActions(const ActionContext& context, const Pages& pages, QObject* parent)
    : QObject(parent), context_(context), pages_(pages)
{
    AccountsPage* page = pages_.accounts;
    // Only a selection loads an account: focus alone makes a row current
    // without selecting it, and that must not load anything.
    connect(page->lbxAccount, &QListWidget::itemSelectionChanged, this, Guarded([this] {
                if (!selecting)
                    DoAccountLoad();
            }));
    connect(page->btnAccountNew, &QPushButton::clicked, this, Guarded([this] { AccountNewClick(false); }));
    connect(page->bbtnAccountCopy, &QPushButton::clicked, this, Guarded([this] { AccountNewClick(true); }));
    connect(page->bbtnAccountDelete, &QPushButton::clicked, this,
            Guarded(this, &AccountActions::btnAccountDeleteClick));
    connect(page->lbeServerHomePath, &QLineEdit::textChanged, this,
            Guarded(this, &AccountActions::AccountChange));
    connect(page->lbeServerRootPath, &QLineEdit::textChanged, this,
            Guarded(this, &AccountActions::AccountChange));
    // A choice of protection is stored when the page is left, so that an
    // upload started from another page already connects as chosen.
    connect(page->cbxFtpSecurity, &QComboBox::activated, this, Guarded(this, &AccountActions::AccountChange));
    connect(page->speConnections, &QSpinBox::valueChanged, this,
            Guarded(this, &AccountActions::AccountChange));
    connect(page->cbxProtocol, &QComboBox::activated, this, Guarded(this, &AccountActions::AccountChange));
    connect(page->cbxSshAuth, &QComboBox::activated, this, Guarded(this, &AccountActions::AccountChange));
    connect(page->bbtnForgetCertificate, &QPushButton::clicked, this,
            Guarded(this, &AccountActions::ForgetCertificateClick));
    page->lbeSshKeyFile->installEventFilter(this);
    lastPage = pages_.pageControl->currentIndex();
    connect(pages_.pageControl, &QTabWidget::currentChanged, this,
            Guarded(this, &AccountActions::PageControl1Change));
}

bool AccountActions::eventFilter(QObject* watched, QEvent* event)
{
    // Like the other file fields: a double click on the key file's field
    // (the one object watched) picks the file, unless the field is locked.
    // The type comes first: the page is not touched for the events its
    // fields receive while it is destroyed.
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (static_cast<QWidget*>(watched)->isEnabled())
            RunGuarded([this] { KeyFileBrowseClick(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void AccountActions::KeyFileBrowseClick()
{
    const std::optional<QString> file = context_.services.files.PickFile(
        QStringLiteral("Find the private key for this account"), QStringLiteral("Private Key Files|*"));
    if (file)
        pages_.accounts->lbeSshKeyFile->setText(*file);
}

void AccountActions::PageControl1Change(int index)
{
    const int accounts = pages_.pageControl->indexOf(pages_.accounts);
    if (lastPage == accounts && index != accounts)
        TabAccountsExit();
    if (index == accounts && lastPage != accounts)
        TabAccountsEnter();
    lastPage = index;
}

void AccountActions::DoAccountLoad()
{
    const QListWidgetItem* item = pages_.accounts->lbxAccount->currentItem();
    if (!item || !item->isSelected())
        return;
    SaveAccount();
    pages_.accounts->lblAccountName->setText(item->text());
    LoadAccount(LoadStored);
}

void AccountActions::ShowFields(const TAccountFields& f)
{
    AccountsPage* page = pages_.accounts;
    page->lbeUploadInstallerPath->setText(f.InstallerPath);
    page->lbeUploadPhpPath->setText(f.PhpPath);
    page->lbeLinkUploadURL->setText(f.LinkUploadPath);
    page->lbeFTPPass->setText(f.Pass);
    page->lbeFTPUserName->setText(f.User);
    page->lbeFTPHost->setText(f.Host);
    page->lbeServerHomePath->setText(f.ServerHome);
    page->lbeServerRootPath->setText(f.ServerRoot);
    page->cbxFtpSecurity->setCurrentIndex(static_cast<int>(f.Security));
    {
        // Only the user's own change of the count marks the account changed.
        const QSignalBlocker quiet(page->speConnections);
        page->speConnections->setValue(f.Connections);
    }
    page->cbxProtocol->setCurrentIndex(static_cast<int>(f.Protocol));
    page->cbxSshAuth->setCurrentIndex(static_cast<int>(f.Authentication));
    page->lbeSshKeyFile->setText(f.KeyFile);
    page->lbeSshKeyPass->setText(f.KeyPass);
    page->ShowTrustedCertificate(TrustShown(f));
}

void AccountActions::ForgetCertificateClick()
{
    const QString account = pages_.accounts->lblAccountName->text();
    if (!context_.Store() || account.isEmpty())
        return;
    // One button forgets the trust of either protocol.
    ForgetCertificate(*context_.Store(), account);
    ForgetHostKey(*context_.Store(), account);
    pages_.accounts->ShowTrustedCertificate(QString());
}

void AccountActions::LoadAccount(LoadMode mode)
{
    if (!context_.Store())
        return;
    TAppData& appData = *context_.Store();
    AccountsPage* page = pages_.accounts;
    const QString newName = page->edtNewAccount->text();
    if (mode == LoadNewEmpty) {
        page->lblAccountName->setText(newName);
        ShowFields(::LoadAccount(appData, newName));
    } else if (mode == LoadStored) {
        const TAccountFields fields = ::LoadAccount(appData, page->lblAccountName->text());
        page->lblAccountName->setText(fields.Name);
        ShowFields(fields);
    } else if (page->lbxAccount->count() > 0 && !newName.isEmpty() &&
               appData.ReadString(Schema::AccountSection(newName), Schema::KeyFtpAccount, QString())
                   .isEmpty()) {
        // A copy keeps the fields on screen under the new name.
        page->lblAccountName->setText(newName);
    }
    page->edtNewAccount->clear();
}

void AccountActions::SaveAccount()
{
    if (!context_.Store())
        return;
    TAppData& appData = *context_.Store();
    const AccountsPage* page = pages_.accounts;
    TAccountFields f;
    f.Name = page->lblAccountName->text();
    f.Host = page->lbeFTPHost->text();
    f.User = page->lbeFTPUserName->text();
    f.Pass = page->lbeFTPPass->text();
    f.InstallerPath = page->lbeUploadInstallerPath->text();
    f.PhpPath = page->lbeUploadPhpPath->text();
    f.LinkUploadPath = page->lbeLinkUploadURL->text();
    f.ServerHome = page->lbeServerHomePath->text();
    f.ServerRoot = page->lbeServerRootPath->text();
    f.Security = static_cast<TFtpSecurity>(std::max(0, page->cbxFtpSecurity->currentIndex()));
    f.Connections = page->speConnections->value();
    f.Protocol = static_cast<TRemoteProtocol>(std::max(0, page->cbxProtocol->currentIndex()));
    f.Authentication = static_cast<TSshAuthentication>(std::max(0, page->cbxSshAuth->currentIndex()));
    f.KeyFile = page->lbeSshKeyFile->text();
    f.KeyPass = page->lbeSshKeyPass->text();
    ::SaveAccount(appData, f);
}

void AccountActions::AccountNewClick(bool copy)
{
    AccountsPage* page = pages_.accounts;
    Prompts& prompts = context_.UserPrompts();
    if (copy) {
        const QString refusal = CopyAccountRefusal(page->lblAccountName->text());
        if (!refusal.isEmpty()) {
            prompts.ShowInfo(ProductCaption, refusal);
            return;
        }
    }
    if (context_.state.AccountChanged)
        SaveAccount();
    const QString name = page->edtNewAccount->text();
    const QString refusal = NewAccountNameRefusal(name, ListItems(page->lbxAccount));
    if (!refusal.isEmpty()) {
        prompts.ShowInfo(ProductCaption, refusal);
        return;
    }
    selecting = true;
    page->lbxAccount->addItem(name);
    page->lbxAccount->setCurrentRow(page->lbxAccount->count() - 1);
    selecting = false;
    if (copy) {
        LoadAccount(LoadCopy);
    } else {
        // The shown account's edits would otherwise be emptied away unsaved.
        SaveAccount();
        LoadAccount(LoadNewEmpty);
    }
}

void AccountActions::btnAccountDeleteClick()
{
    if (!context_.Store())
        return;
    TAppData& appData = *context_.Store();
    AccountsPage* page = pages_.accounts;
    const QListWidgetItem* item = page->lbxAccount->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString account = item->text();
    const int row = page->lbxAccount->row(item);
    const bool wasShown = page->lblAccountName->text() == account;
    const QStringList users = ProjectsUsingAccount(appData, account);
    if (!users.isEmpty() && context_.UserPrompts().AskQuestion(
                                ProductCaption, DeleteAccountQuestion(account, users), MB_YESNO) != IDYES)
        return;
    DeleteAccount(appData, account, users);
    selecting = true;
    delete page->lbxAccount->takeItem(row);
    page->lbxAccount->setCurrentRow(-1);
    selecting = false;
    if (wasShown) {
        ShowFields(TAccountFields{});
        page->lblAccountName->clear();
    }
    QListWidget* sites = pages_.uploadSites;
    const QString project = pages_.editingProject->text();
    if (!users.isEmpty() && !project.isEmpty()) {
        sites->clear();
        sites->addItems(appData.ReadList(Schema::SecSites, project));
    }
    // An unsaved list on screen must not bring the deleted account back.
    for (int i = sites->count() - 1; i >= 0; --i)
        if (sites->item(i)->text() == account)
            delete sites->takeItem(i);
}

void AccountActions::AccountChange()
{
    context_.state.AccountChanged = true;
}

void AccountActions::TabAccountsEnter()
{
    context_.state.AccountChanged = false;
    // An upload or import may have trusted a certificate meanwhile.
    const QString account = pages_.accounts->lblAccountName->text();
    if (context_.Store() && !account.isEmpty())
        pages_.accounts->ShowTrustedCertificate(TrustShown(::LoadAccount(*context_.Store(), account)));
}

void AccountActions::TabAccountsExit()
{
    if (context_.state.AccountChanged)
        SaveAccount();
}
