#include "ui/ToolActions.h"

#include "build/SignToolDiscovery.h"
#include "build/TimeServers.h"
#include "projects/FilePicker.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "ui/Controls.h"
#include "ui/SlotGuard.h"
#include "ui/pages/BuilderPage.h"
#include "ui/pages/ImportPage.h"
#include "ui/pages/SelectFilesPage.h"
#include "ui/pages/TimeServersPage.h"
#include "ui/pages/UtilitiesPage.h"
#include "util/ExtraCode.h"
#include "util/MyFileOpsU.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>

#include <algorithm>

namespace {

// A masked password shows "*" for every character, whatever the style's own
// mask character is.
class AsteriskMaskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The settings section of a tool field.
QString ToolSection(const UtilitiesPage* page, const QLineEdit* field)
{
    if (field == page->lbeInnoCompiler)
        return Schema::SecInnoCompiler;
    if (field == page->lbeEditor)
        return Schema::SecEditor;
    return Schema::SecHelpMaker;
}

// The selected row of a single-selection list, or -1.
int SelectedRow(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

} // namespace

ToolActions::ToolActions(const ActionContext& context, const Pages& pages, QObject* parent)
    : QObject(parent), context_(context), pages_(pages)
{
    for (QLineEdit* field :
         {pages_.utilities->lbeInnoCompiler, pages_.utilities->lbeEditor, pages_.utilities->lbeHelpMaker})
        connect(field, &QLineEdit::textChanged, this, Guarded([this, field] { ProgramChange(field); }));
    connect(pages_.utilities->lbeSignTool, &QLineEdit::textChanged, this,
            Guarded(this, &ToolActions::SignToolChange));

    TimeServersPage* servers = pages_.timeServers;
    connect(servers->bbtnAddTimeServer, &QPushButton::clicked, this,
            Guarded(this, &ToolActions::btnAddTimeServerClick));
    connect(servers->bbtnDeleteTimeServer, &QPushButton::clicked, this,
            Guarded(this, &ToolActions::btnDeleteTimeServerClick));
    connect(servers->bbtnUp, &QPushButton::clicked, this,
            Guarded([this] { DoMoveServer(QLatin1Char('u')); }));
    connect(servers->bbtnDown, &QPushButton::clicked, this,
            Guarded([this] { DoMoveServer(QLatin1Char('d')); }));

    auto* mask = new AsteriskMaskStyle;
    mask->setParent(pages_.builder->lbePFXPass);
    pages_.builder->lbePFXPass->setStyle(mask);
    connect(pages_.builder->pfxShowPass, &QCheckBox::toggled, this,
            Guarded(this, &ToolActions::pfxShowPassClick));
    pfxShowPassClick();

    const QString noFilter;
    BuilderPage* b = pages_.builder;
    browses = {
        {pages_.selectFiles->lbeLocalHome, true, false,
         QStringLiteral("Select Local Home folder for this project"), noFilter},
        {pages_.selectFiles->lbeLocalRoot, true, false,
         QStringLiteral("Select Local Root folder for this project"), noFilter},
        {pages_.import->lbeImportLocalHome, true, true, QStringLiteral("Select Local Home folder for IMPORT"),
         noFilter},
        {pages_.import->lbeImportLocalRoot, true, true, QStringLiteral("Select Local Root folder for IMPORT"),
         noFilter},
        {b->lbePFX, false, false, QStringLiteral("Find a signing certificate"), QStringLiteral("PFX|*.pfx")},
        {pages_.utilities->lbeEditor, false, false, QStringLiteral("Find your favourite text editor"),
         QStringLiteral("Application Files|*.exe")},
        {b->lbeHelpBuilderBatch, false, false, QStringLiteral("Find the HelpMaker project file"),
         QStringLiteral("Batch Files|*.sh6")},
        {pages_.utilities->lbeHelpMaker, false, false, QStringLiteral("Find the HelpMaker application"),
         QStringLiteral("Application Files|*.exe")},
        {b->lbeInnoSetupFile, false, false, QStringLiteral("Find the InnoSetup file"),
         QStringLiteral("InnoSetup Files|*.iss")},
        {b->lbeDownLoadLinkFile, false, false, QStringLiteral("Find the web page with the download link"),
         QStringLiteral("Web Page|*.html")},
        {pages_.utilities->lbeInnoCompiler, false, false, QStringLiteral("Find Inno Setup Compiler"),
         QStringLiteral("Application|*.exe")},
        {pages_.utilities->lbeSignTool, false, false, QStringLiteral("Find the signing tool"),
         QStringLiteral("Signing Tool|osslsigncode*;signtool.exe")},
        {b->lbePrebuild, false, false, QStringLiteral("Find Pre-build command or batch"),
         QStringLiteral("Commands|*.exe;*.cmd;*.bat")},
        {b->lbePhpFile, false, false, QStringLiteral("Find php file to hold version"),
         QStringLiteral("Php Files|*.php")},
    };
    for (const Browse& browse : browses)
        browse.target->installEventFilter(this);
}

bool ToolActions::eventFilter(QObject* watched, QEvent* event)
{
    // Filters see the events of disabled widgets too: a locked field opens
    // no picker.
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (static_cast<QWidget*>(watched)->isEnabled())
            RunGuarded([&] { BrowseClick(watched); });
        // The chosen path replaces the text; selecting a word of it would
        // only invite typing over it.
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ToolActions::ProgramChange(QLineEdit* field)
{
    // There is no store after a failed set-up or after the close.
    if (TAppData* store = context_.Store())
        store->WriteString(ToolSection(pages_.utilities, field), Schema::KeyCommand, field->text());
}

void ToolActions::SignToolChange()
{
    TAppData* store = context_.Store();
    if (!store)
        return;
    const QString typed = pages_.utilities->lbeSignTool->text();
    // Showing the stored tool is no change (a search in vain shows as empty).
    if (typed == StoredSignToolPath(store->ReadString(Schema::SecSignTool, Schema::KeyCommand, QString())))
        return;
    const QString stored = typed.isEmpty() ? QString() : QLatin1Char('"') + typed + QLatin1Char('"');
    store->WriteString(Schema::SecSignTool, Schema::KeyCommand, stored);
    pages_.builder->SetSigningAvailable(SignToolUsable(stored));
}

void ToolActions::btnAddTimeServerClick()
{
    QListWidget* list = pages_.timeServers->lbxTimeServers;
    QStringList servers = ListItems(list);
    if (!AddTimeServer(servers, pages_.timeServers->lbeNewTimeServer->text()))
        return;
    list->addItem(servers.last());
    pages_.timeServers->lbeNewTimeServer->clear();
}

void ToolActions::btnDeleteTimeServerClick()
{
    QListWidget* list = pages_.timeServers->lbxTimeServers;
    const int row = SelectedRow(list);
    if (row < 0)
        return;
    delete list->takeItem(row);
    // Nothing is selected afterwards, so a second click removes nothing.
    list->setCurrentRow(-1);
    list->clearSelection();
}

void ToolActions::DoMoveServer(QChar direction)
{
    QListWidget* list = pages_.timeServers->lbxTimeServers;
    QStringList servers = ListItems(list);
    int selected = SelectedRow(list);
    if (!MoveListItem(servers, selected, direction))
        return;
    ShowItems(list, servers);
    list->setCurrentRow(selected);
}

void ToolActions::pfxShowPassClick()
{
    pages_.builder->lbePFXPass->setEchoMode(pages_.builder->pfxShowPass->isChecked() ? QLineEdit::Normal
                                                                                     : QLineEdit::Password);
}

void ToolActions::BrowseClick(QObject* sender)
{
    const auto browse = std::find_if(browses.cbegin(), browses.cend(),
                                     [sender](const Browse& b) { return b.target == sender; });
    if (browse == browses.cend())
        return;
    if (browse->folder) {
        QString folder;
        if (BrowseForFolder(context_.services.folders, browse->title, QString(), browse->allowNewFolder,
                            folder))
            browse->target->setText(folder);
        return;
    }
    if (const std::optional<QString> file = context_.services.files.PickFile(browse->title, browse->filter))
        browse->target->setText(*file);
}
