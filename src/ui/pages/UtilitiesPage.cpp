#include "ui/pages/UtilitiesPage.h"

#include "ui/Controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QWidget* ToolPanel(QWidget* parent, const QString& panelName, const QString& name, const QString& caption,
                   QLineEdit** edit)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(panelName);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 2, 0);
    const TLabeledEdit field = MakeLabeledEdit(panel, name, caption);
    layout->addWidget(LabelAbove(panel, field));
    *edit = field.edit;
    return panel;
}

} // namespace

UtilitiesPage::UtilitiesPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabPrograms"));
    pnlInnoSetup = ToolPanel(this, QStringLiteral("pnlInnoSetup"), QStringLiteral("lbeInnoCompiler"),
                             QStringLiteral("Inno Setup Compiler"), &lbeInnoCompiler);
    pnlEditor = ToolPanel(this, QStringLiteral("pnlEditor"), QStringLiteral("lbeEditor"),
                          QStringLiteral("Text Editor"), &lbeEditor);
    const TLabeledEdit helpMaker =
        MakeLabeledEdit(this, QStringLiteral("lbeHelpMaker"), QStringLiteral("HelpMaker"));
    lbeHelpMaker = helpMaker.edit;
    const TLabeledEdit signTool =
        MakeLabeledEdit(this, QStringLiteral("lbeSignTool"), QStringLiteral("Signing Tool"));
    lbeSignTool = signTool.edit;
    bbtnUpdateCheck = MakeButton(this, QStringLiteral("bbtnUpdateCheck"), QStringLiteral("Check for Update"));
    bbtnUpdateCheck->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);
    layout->addWidget(pnlInnoSetup);
    layout->addWidget(pnlEditor);
    auto* helpRow = new QWidget(this);
    auto* helpLayout = new QVBoxLayout(helpRow);
    helpLayout->setContentsMargins(0, 0, 2, 0);
    helpLayout->addWidget(LabelAbove(helpRow, helpMaker));
    layout->addWidget(helpRow);
    auto* signRow = new QWidget(this);
    auto* signLayout = new QVBoxLayout(signRow);
    signLayout->setContentsMargins(0, 0, 2, 0);
    signLayout->addWidget(LabelAbove(signRow, signTool));
    layout->addWidget(signRow);
    layout->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(bbtnUpdateCheck);
    layout->addLayout(bottom);
}
