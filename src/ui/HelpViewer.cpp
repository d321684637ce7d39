#include "ui/HelpViewer.h"

#include "app/HelpLocation.h"
#include "ui/Controls.h"
#include "ui/Hints.h"
#include "ui/SlotGuard.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Tarnwell Help"));
    resize(680, 600);

    btnBack = MakeButton(this, QStringLiteral("btnBack"), QStringLiteral("Back"));
    btnBack->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    btnForward = MakeButton(this, QStringLiteral("btnForward"), QStringLiteral("Forward"));
    btnForward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    btnContents = MakeButton(this, QStringLiteral("btnContents"), QStringLiteral("Contents"));
    btnContents->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("HelpBrowser"));
    // Pages may point at the web; those open in the user's browser.
    Browser->setOpenExternalLinks(true);
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnBack);
    buttons->addWidget(btnForward);
    buttons->addWidget(btnContents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Browser);

    connect(btnBack, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(btnForward, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(btnContents, &QPushButton::clicked, this, Guarded([this] { ShowTopic(MainHelpContext); }));
    connect(Browser, &QTextBrowser::backwardAvailable, btnBack, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, btnForward, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, Guarded([this] {
                missing_ = false;
                const QString title = Browser->documentTitle();
                setWindowTitle(title.isEmpty() ? QStringLiteral("Tarnwell Help")
                                               : QStringLiteral("Tarnwell Help - ") + title);
            }));
}

void THelpViewer::SetFolder(const QString& folder)
{
    folder_ = folder;
}

void THelpViewer::ShowTopic(int context)
{
    const QString page = folder_.isEmpty() ? QString() : HelpTopicPath(folder_, context);
    if (!page.isEmpty() && QFileInfo::exists(page)) {
        Browser->setSource(QUrl::fromLocalFile(page));
        missing_ = false;
    } else {
        missing_ = true;
        Browser->setHtml(
            QStringLiteral("<h2>No help page</h2><p>The help page for this topic (%1) was not found%2.</p>")
                .arg(context)
                .arg(folder_.isEmpty() ? QStringLiteral(": the help pages are not installed")
                                       : QStringLiteral(" in ") + folder_.toHtmlEscaped()));
        setWindowTitle(QStringLiteral("Tarnwell Help"));
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

int THelpViewer::Topic() const
{
    const QUrl source = Browser->source();
    if (missing_ || !source.isLocalFile())
        return 0;
    const QFileInfo page(source.toLocalFile());
    bool ok = false;
    const int context = page.completeBaseName().toInt(&ok);
    return ok && page.suffix() == QStringLiteral("html") ? context : 0;
}
