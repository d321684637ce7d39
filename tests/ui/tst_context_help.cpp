// The right click that explains a control, the help button, and the help
// pages the program ships: one per help context, every link between them
// leading somewhere, shown in the program's own help window.
#include "WindowFixture.h"
#include "app/HelpLocation.h"
#include "ui/HelpViewer.h"
#include "ui/Hints.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTextBrowser>

namespace {

const QString Sorry = QStringLiteral("Sorry, there is no specific help for that");

// Counts the presses and context menus that reach a control (its viewport
// included), and keeps any menu from opening.
class ClickSpy : public QObject {
public:
    explicit ClickSpy(QWidget* control)
    {
        control->installEventFilter(this);
        for (QWidget* inner : control->findChildren<QWidget*>())
            inner->installEventFilter(this);
    }
    int presses = 0;
    int menus = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            ++presses;
        if (event->type() == QEvent::ContextMenu) {
            ++menus;
            return true;
        }
        return false;
    }
};

THelpViewer* OpenViewer()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<THelpViewer*>(w); viewer && viewer->isVisible())
            return viewer;
    return nullptr;
}

QString HelpFolder()
{
    return LocateHelpFolder(QCoreApplication::applicationDirPath());
}

} // namespace

class ContextHelpUi : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fx.reset(); }

    void RightClick_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("topic"); // 0: no help window
        QTest::addColumn<bool>("sorry");
        QTest::addColumn<bool>("controlGetsIt");
        QTest::newRow("field opens its topic") << "TabSelectLocalFiles"
                                               << "lbeLocalRoot" << 560 << false << false;
        QTest::newRow("list without a hint") << "TabBrokenLinks"
                                             << "lbxBrokenLinks" << 640 << false << false;
        QTest::newRow("button without help") << "TabInternet"
                                             << "btnAddAll" << 0 << true << true;
        QTest::newRow("update button when shown") << ""
                                                  << "btnUpdate" << 0 << true << true;
        QTest::newRow("place of the hidden update button") << ""
                                                           << "-btnUpdate" << 0 << false << false;
        QTest::newRow("shared place, front page") << "TabSelectLocalFiles"
                                                  << "clbxFiles|lbxAccount" << 540 << false << false;
        QTest::newRow("shared place, other page") << "TabAccounts"
                                                  << "lbxAccount|clbxFiles" << 840 << false << false;
    }
    void RightClick()
    {
        QFETCH(QString, page);
        QFETCH(QString, control);
        QFETCH(int, topic);
        QFETCH(bool, sorry);
        QFETCH(bool, controlGetsIt);
        fx = std::make_unique<WindowFixture>();

        // The broken-link list shows only when a scan found some.
        fx->Find<QWidget>("pnlBrokenFound")->setVisible(true);
        fx->Find<QWidget>("pnlBrokenNotFound")->setVisible(false);
        auto* update = fx->Button("btnUpdate");
        update->setText(QStringLiteral("Update Available"));
        update->setVisible(control == QStringLiteral("btnUpdate"));
        const bool hidden = control.startsWith(QLatin1Char('-'));
        const QStringList names = control.mid(hidden ? 1 : 0).split(QLatin1Char('|'));

        // The point: the middle of the control, or of the place two controls
        // of different pages share.
        QRect place = Place(names.first(), page);
        for (const QString& other : names.mid(1))
            place &=
                Place(other, other == QStringLiteral("clbxFiles") ? "TabSelectLocalFiles" : "TabAccounts");
        QVERIFY(!place.isEmpty());
        if (hidden) {
            update->show();
            place = Place(names.first(), {});
            update->hide();
            QApplication::processEvents();
        }
        Front(page);
        QWidget* target = fx->Find<QWidget>(names.first().toLatin1());
        ClickSpy spy(target);

        QWindow* window = fx->window->windowHandle();
        QTest::mousePress(window, Qt::RightButton, {}, place.center());
        QTest::mouseRelease(window, Qt::RightButton, {}, place.center());

        THelpViewer* viewer = OpenViewer();
        QCOMPARE(viewer ? viewer->Topic() : 0, topic);
        QCOMPARE(fx->prompts.Texts(), sorry ? QStringList{Sorry} : QStringList{});
        QCOMPARE(spy.presses > 0, controlGetsIt);
        QCOMPARE(spy.menus > 0, controlGetsIt && !hidden && target->isVisible());
    }

    void HelpButtonOpensTheMainTopicUntilTheProgramCloses()
    {
        fx = std::make_unique<WindowFixture>();
        fx->Button("bbtnHelp")->click();
        THelpViewer* viewer = OpenViewer();
        QVERIFY(viewer);
        QCOMPARE(viewer->Topic(), MainHelpContext);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Tarnwell Help - How Tarnwell works"));
        fx->window->close();
        QVERIFY(!OpenViewer());
    }

    void LinksLeadOnAndBackReturns()
    {
        fx = std::make_unique<WindowFixture>();
        Front("TabSelectLocalFiles");
        QWidget* root = fx->Find<QWidget>("lbeLocalRoot");
        QTest::mousePress(fx->window->windowHandle(), Qt::RightButton, {},
                          root->mapTo(fx->window.get(), root->rect().center()));
        THelpViewer* viewer = OpenViewer();
        QVERIFY(viewer);
        // The first link of every topic leads to the contents.
        viewer->Browser->setFocus();
        QTest::keyClick(viewer->Browser, Qt::Key_Tab);
        QTest::keyClick(viewer->Browser, Qt::Key_Return);
        QCOMPARE(viewer->Topic(), MainHelpContext);
        QVERIFY(viewer->btnBack->isEnabled());
        viewer->btnBack->click();
        QCOMPARE(viewer->Topic(), 560);
        viewer->btnForward->click();
        QCOMPARE(viewer->Topic(), MainHelpContext);
    }

    void EveryContextHasItsPage()
    {
        QVERIFY2(!HelpFolder().isEmpty(), "no help pages found");
        QVERIFY(QFileInfo::exists(HelpTopicPath(HelpFolder(), MainHelpContext)));
        for (const THintRow& row : MainScreenHintRows())
            QVERIFY2(row.context == 0 || QFileInfo::exists(HelpTopicPath(HelpFolder(), row.context)),
                     row.control);
    }

    void EveryLinkLeadsToAPage_data()
    {
        QTest::addColumn<QString>("file");
        const QDir folder(HelpFolder());
        for (const QString& name : folder.entryList({QStringLiteral("*.html")}))
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
    }
    void EveryLinkLeadsToAPage()
    {
        QFETCH(QString, file);
        const QString text = ReadText(file);
        // Links of the pages' own tags; examples written in the text are no links.
        const QRegularExpression href(QStringLiteral("<(?:a|link)\\s[^>]*href=\"([^\"]*)\""));
        for (auto it = href.globalMatch(text); it.hasNext();) {
            const QString link = it.next().captured(1);
            if (link.startsWith(QStringLiteral("http")))
                continue;
            const QString target = link.section(QLatin1Char('#'), 0, 0);
            const QString anchor = link.section(QLatin1Char('#'), 1);
            const QString path =
                QFileInfo(file).dir().filePath(target.isEmpty() ? QFileInfo(file).fileName() : target);
            QVERIFY2(QFileInfo::exists(path), qPrintable(link));
            if (!anchor.isEmpty())
                QVERIFY2(ReadText(path).contains(QStringLiteral("id=\"%1\"").arg(anchor)), qPrintable(link));
        }
    }

private:
    static QString ReadText(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // Brings a page (of either page control) to the front.
    void Front(const QString& page) const
    {
        if (page.isEmpty())
            return;
        auto* folders = fx->Find<QTabWidget>("TabFolders");
        QWidget* sheet = fx->Find<QWidget>(page.toLatin1());
        if (folders->indexOf(sheet) >= 0) {
            fx->ShowPage("TabMaintenance");
            folders->setCurrentWidget(sheet);
        } else {
            fx->ShowPage(page.toLatin1());
        }
        QApplication::processEvents();
    }

    // Where a control is in the window while its page is in front.
    QRect Place(const QString& control, const QString& page) const
    {
        Front(page);
        QWidget* w = fx->Find<QWidget>(control.toLatin1());
        return QRect(w->mapTo(fx->window.get(), QPoint(0, 0)), w->size());
    }

    std::unique_ptr<WindowFixture> fx;
};

QTEST_MAIN(ContextHelpUi)
#include "tst_context_help.moc"
