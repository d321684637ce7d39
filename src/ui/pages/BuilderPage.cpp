#include "ui/pages/BuilderPage.h"

#include "ui/Controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {

QWidget* Panel(QWidget* parent, const QString& name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 2, 0);
    layout->setSpacing(8);
    return panel;
}

QLineEdit* AddField(QWidget* page, QGridLayout* grid, int row, int column, int span, const char* name,
                    const char* caption)
{
    const TLabeledEdit field = MakeLabeledEdit(page, QString::fromLatin1(name), QString::fromLatin1(caption));
    grid->addWidget(LabelAbove(page, field), row, column, 1, span);
    return field.edit;
}

QLineEdit* AddPanelField(QWidget* panel, const char* name, const char* caption, int stretch)
{
    const TLabeledEdit field =
        MakeLabeledEdit(panel, QString::fromLatin1(name), QString::fromLatin1(caption));
    panel->layout()->addWidget(LabelAbove(panel, field));
    static_cast<QHBoxLayout*>(panel->layout())->setStretch(panel->layout()->count() - 1, stretch);
    return field.edit;
}

QPushButton* GlyphButton(QWidget* parent, const QString& name, QStyle::StandardPixmap glyph)
{
    QPushButton* button = MakeButton(parent, name, QString());
    button->setIcon(parent->style()->standardIcon(glyph));
    button->setFixedSize(26, 24);
    return button;
}

} // namespace

BuilderPage::BuilderPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabResources"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);

    lbePhpFile = AddField(this, grid, 0, 0, 1, "lbePhpFile", "PHP File");
    lbePHPVar = AddField(this, grid, 0, 1, 1, "lbePHPVar", "Version Variable Name");
    lbeDownLoadLinkFile = AddField(this, grid, 1, 0, 1, "lbeDownLoadLinkFile", "Download Link Page");
    lbeDownLoadLinkId = AddField(this, grid, 1, 1, 1, "lbeDownLoadLinkId", "Link ID");
    lbeDownLoadLinkText = AddField(this, grid, 2, 0, 1, "lbeDownLoadLinkText", "Link Text");

    Panel3 = Panel(this, QStringLiteral("Panel3"));
    lbeHelpBuilderBatch = AddPanelField(Panel3, "lbeHelpBuilderBatch", "HelpMaker  File", 1);
    grid->addWidget(Panel3, 2, 1);

    Panel4 = Panel(this, QStringLiteral("Panel4"));
    lbeBaseFileName = AddPanelField(Panel4, "lbeBaseFileName", "Setup Base filename", 1);
    lbeInnoSetupFile = AddPanelField(Panel4, "lbeInnoSetupFile", "InnoSetup File", 2);
    grid->addWidget(Panel4, 3, 0, 1, 2);

    Panel6 = Panel(this, QStringLiteral("Panel6"));
    lbePrebuild =
        AddPanelField(Panel6, "lbePrebuild", "Pre-Build Command or batch  (must return 0 on success)", 1);
    grid->addWidget(Panel6, 4, 0, 1, 2);

    // The signing fields; btnNoSignTool takes their place while no signing tool is known.
    const TLabeledEdit pfx = MakeLabeledEdit(this, QStringLiteral("lbePFX"), QStringLiteral("PFX File"));
    lbePFX = pfx.edit;
    QWidget* pfxField = LabelAbove(this, pfx);
    grid->addWidget(pfxField, 5, 0);
    auto* passRow = new QWidget(this);
    auto* passLayout = new QHBoxLayout(passRow);
    passLayout->setContentsMargins(0, 0, 0, 0);
    const TLabeledEdit pass =
        MakeLabeledEdit(passRow, QStringLiteral("lbePFXPass"), QStringLiteral("Password"));
    lbePFXPass = pass.edit;
    lbePFXPass->setEchoMode(QLineEdit::Password);
    pfxShowPass = MakeCheckBox(passRow, QStringLiteral("pfxShowPass"), QStringLiteral("Show"));
    passLayout->addWidget(LabelAbove(passRow, pass), 1);
    passLayout->addWidget(pfxShowPass, 0, Qt::AlignBottom);
    grid->addWidget(passRow, 5, 1);
    signingFields = {pfxField, passRow};
    btnNoSignTool = MakeButton(
        this, QStringLiteral("btnNoSignTool"),
        QStringLiteral("SignTool not found Please click here when you have installed the Windows SDK"));
    grid->addWidget(btnNoSignTool, 5, 0, 1, 2);
    SetSigningAvailable(true);

    auto* options = new QHBoxLayout;
    options->setSpacing(4);
    cbxtimeStamp = MakeCheckBox(this, QStringLiteral("cbxtimeStamp"), QStringLiteral("Time Stamp"));
    bbtnTimeStamp = GlyphButton(this, QStringLiteral("bbtnTimeStamp"), QStyle::SP_BrowserReload);
    cbxAutoUpload = MakeCheckBox(this, QStringLiteral("cbxAutoUpload"), QStringLiteral("Auto Upload"));
    bbtnAutoUpload = GlyphButton(this, QStringLiteral("bbtnAutoUpload"), QStyle::SP_BrowserReload);
    bbtnGetItDone = MakeButton(this, QStringLiteral("bbtnGetItDone"), QStringLiteral("Build"));
    bbtnGetItDone->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    bbtnGetItDone->setMinimumWidth(110);
    options->addWidget(cbxtimeStamp);
    options->addWidget(bbtnTimeStamp);
    options->addSpacing(24);
    options->addWidget(cbxAutoUpload);
    options->addWidget(bbtnAutoUpload);
    options->addStretch(1);
    options->addWidget(bbtnGetItDone);
    grid->addLayout(options, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
}

void BuilderPage::SetSigningAvailable(bool available)
{
    btnNoSignTool->setVisible(!available);
    for (QWidget* field : signingFields)
        field->setVisible(available);
}
