#include "ui/pages/ImportPage.h"

#include "ui/Controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ImportPage::ImportPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabImport"));
    lblImportWarning = MakeLabel(this, QStringLiteral("lblImportWarning"),
                                 QStringLiteral("This feature is not intended for routine use!"));
    QFont bold = lblImportWarning->font();
    bold.setBold(true);
    lblImportWarning->setFont(bold);
    Label5 = MakeLabel(this, QStringLiteral("Label5"), QStringLiteral("Connection"));
    comboSite = new QComboBox(this);
    comboSite->setObjectName(QStringLiteral("comboSite"));
    comboSite->setEditable(true);
    Label5->setBuddy(comboSite);
    const TLabeledEdit home =
        MakeLabeledEdit(this, QStringLiteral("lbeImportLocalHome"), QStringLiteral("Local Home"));
    const TLabeledEdit root =
        MakeLabeledEdit(this, QStringLiteral("lbeImportLocalRoot"), QStringLiteral("Local Root"));
    lbeImportLocalHome = home.edit;
    lbeImportLocalRoot = root.edit;
    memImportProgress = MakeMemo(this, QStringLiteral("memImportProgress"), QString());
    pbFile = MakeProgressBar(this, QStringLiteral("pbFile"));
    pbFiles = MakeProgressBar(this, QStringLiteral("pbFiles"));
    btnImportSite = MakeButton(this, QStringLiteral("btnImportSite"), QStringLiteral("Import Site"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 2, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    auto* fields = new QVBoxLayout;
    fields->setSpacing(3);
    fields->addWidget(lblImportWarning);
    fields->addWidget(Label5);
    fields->addWidget(comboSite);
    fields->addWidget(LabelAbove(this, home));
    fields->addWidget(LabelAbove(this, root));
    fields->addStretch(1);
    grid->addLayout(fields, 0, 0);
    grid->addWidget(memImportProgress, 0, 1);
    grid->addWidget(btnImportSite, 0, 2, Qt::AlignTop);
    grid->addWidget(pbFile, 1, 0, 1, 3);
    grid->addWidget(pbFiles, 2, 0, 1, 3);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setRowStretch(0, 1);
}
