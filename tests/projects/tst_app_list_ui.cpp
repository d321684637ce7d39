#include "WindowFixture.h"
#include "settings/SettingsSchema.h"
#include "ui/Controls.h"

#include <QDir>

using namespace Schema;

// The application band: adding with the picker, removing, the primary check
// and its version read from real program files.
class AppListUi : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fx = std::make_unique<WindowFixture>();
        versioned = Fixture("app-1234.exe");
        split = Fixture("app-split.exe");
        plain = Fixture("app-noversion.exe");
        fx->NewProject("Alpha");
    }
    void cleanup() { fx.reset(); }

    void AddUsesThePickerAndAppendsUnchecked()
    {
        fx->services.files.QueueFile(versioned);
        fx->services.files.QueueFile(versioned);
        fx->services.files.QueueCancel();
        for (int i = 0; i < 3; ++i)
            fx->Button("bbtnAddApp")->click();
        QCOMPARE(fx->services.files.Calls().size(), 3);
        QCOMPARE(fx->services.files.Calls().first().title,
                 QStringLiteral("Find an application to digitally sign"));
        QCOMPARE(fx->services.files.Calls().first().filter,
                 QStringLiteral("Application Files|*.exe;*.ocx;*.dll"));
        // A path chosen twice is listed twice; a cancel adds nothing.
        QCOMPARE(Apps()->Items(), QStringList({versioned, versioned}));
        QVERIFY(!Apps()->Checked(0) && !Apps()->Checked(1));
        // A new project has no primary and shows an empty caption.
        QCOMPARE(fx->Caption("lblPrimaryApp"), QString());
    }

    void CheckMovesThePrimary()
    {
        AddApps({versioned, split});
        Apps()->SetChecked(0, true);
        QCOMPARE(fx->Caption("lblPrimaryApp"), QStringLiteral("app-1234.exe"));
        QCOMPARE(fx->Caption("lblVersion"), QStringLiteral("Version 1.2.3.4"));
        QVERIFY(fx->Find<QLabel>("lblVersion")->isVisible());
        QCOMPARE(fx->window->State.PrimaryAppFile, versioned);
        QCOMPARE(fx->window->State.PrimaryAppFolder, QFileInfo(versioned).absolutePath() + QLatin1Char('/'));
        QCOMPARE(fx->window->State.PrimaryVersion, QStringLiteral("1.2.3.4"));

        Apps()->SetChecked(1, true);
        QVERIFY(!Apps()->Checked(0));
        QVERIFY(Apps()->Checked(1));
        QCOMPARE(fx->Caption("lblPrimaryApp"), QStringLiteral("app-split.exe"));
        QCOMPARE(fx->Caption("lblVersion"), QStringLiteral("Version 2.1.0.37"));
        QCOMPARE(fx->window->State.PrimaryAppFile, split);

        Apps()->SetChecked(1, false);
        QCOMPARE(fx->Caption("lblPrimaryApp"), QStringLiteral("No Primary Selected"));
        QVERIFY(!fx->Find<QLabel>("lblVersion")->isVisible());
        QVERIFY(fx->window->State.PrimaryAppFile.isEmpty());
        QVERIFY(fx->window->State.PrimaryAppFolder.isEmpty());
        QVERIFY(fx->window->State.PrimaryVersion.isEmpty());
    }

    void FileWithoutVersionShowsTheBareCaption()
    {
        AddApps({plain});
        Apps()->SetChecked(0, true);
        QCOMPARE(fx->Caption("lblVersion"), QStringLiteral("Version "));
        QVERIFY(fx->window->State.PrimaryVersion.isEmpty());
    }

    void VersionFollowsThePrimaryName()
    {
        AddApps({versioned});
        Apps()->SetChecked(0, true);
        QApplication::processEvents();
        auto* primary = fx->Find<QLabel>("lblPrimaryApp");
        auto* version = fx->Find<QLabel>("lblVersion");
        QCOMPARE(version->x(), primary->x() + primary->width() + 8);
    }

    // Buttons stay at the right edge and the list ends 8 pixels before them.
    void BandFollowsTheWindowWidth()
    {
        auto* band = fx->Find<QWidget>("pnlApps");
        for (int width : {746, 1000}) {
            fx->window->resize(width, fx->window->height());
            QApplication::processEvents();
            QTRY_COMPARE(band->width(), width);
            const QRect client = band->contentsRect();
            QPushButton* add = fx->Button("bbtnAddApp");
            QCOMPARE(add->x(), client.right() + 1 - add->width() - 2);
            QCOMPARE(fx->Button("bbtnDeleteApp")->x(), add->x());
            QCOMPARE(Apps()->width(), client.right() + 1 - add->width() - Apps()->x() - 10);
        }
    }

    void RemoveAsksWithThePrimaryMarker()
    {
        const QString sameName = CopyTo("other/app-1234.exe", versioned);
        AddApps({versioned, split, sameName});
        Apps()->SetChecked(0, true);

        fx->prompts.QueueAnswers({IDNO});
        SelectApp(1);
        fx->Button("bbtnDeleteApp")->click();
        QCOMPARE(fx->prompts.Texts().last(),
                 QStringLiteral("Remove Application from code signing list?\r") + split);
        QCOMPARE(Apps()->count(), 3);

        // Same file name in another folder counts as the primary.
        fx->prompts.QueueAnswers({IDYES});
        SelectApp(2);
        fx->Button("bbtnDeleteApp")->click();
        QCOMPARE(fx->prompts.Texts().last(),
                 QStringLiteral("Remove PRIMARY Application from code signing list?\r") + sameName);
        QCOMPARE(Apps()->Items(), QStringList({versioned, split}));
        QCOMPARE(fx->Caption("lblPrimaryApp"), QStringLiteral("No Primary Selected"));
        QVERIFY(fx->window->State.PrimaryAppFile.isEmpty());
    }

    void PrimaryComesBackOnLoad()
    {
        AddApps({split, versioned});
        Apps()->SetChecked(1, true);
        fx->NewProject("Beta");
        QCOMPARE(Apps()->count(), 0);
        // Beta has no primary: nothing of Alpha's version lingers.
        QCOMPARE(fx->Caption("lblPrimaryApp"), QString());
        QVERIFY(fx->window->State.PrimaryVersion.isEmpty());
        QVERIFY(!fx->Find<QLabel>("lblVersion")->isVisible());

        fx->Select("Projects", {"Alpha"});
        fx->Button("bbtnSelectProject")->click();
        QCOMPARE(Apps()->Items(), QStringList({split, versioned}));
        QVERIFY(!Apps()->Checked(0));
        QVERIFY(Apps()->Checked(1));
        QCOMPARE(fx->Caption("lblPrimaryApp"), QStringLiteral("app-1234.exe"));
        QCOMPARE(fx->Caption("lblVersion"), QStringLiteral("Version 1.2.3.4"));
        QCOMPARE(fx->window->State.PrimaryVersion, QStringLiteral("1.2.3.4"));
        QCOMPARE(fx->Store().ReadString("Alpha", KeyFullVersion, {}), versioned);
        QCOMPARE(fx->Store().ReadString("Alpha", KeyPrimaryPath, {}),
                 QFileInfo(versioned).absolutePath() + "/");
    }

    void LongNameIsCutTo40Characters()
    {
        const QString longName = QStringLiteral("a-program-whose-file-name-runs-past-forty-characters.exe");
        const QString path = CopyTo(longName, versioned);
        AddApps({path});
        Apps()->SetChecked(0, true);
        QCOMPARE(fx->Caption("lblPrimaryApp"), longName.left(40));
        fx->Button("btnSave")->click();
        QCOMPARE(fx->Store().ReadString("Alpha", KeyPrimary, {}), longName.left(40));
        QCOMPARE(fx->Store().ReadString("Alpha", KeyFullVersion, {}), path);
    }

private:
    static QString Fixture(const char* name)
    {
        return QDir(QStringLiteral(TARNWELL_TEST_DATA "/version"))
            .absoluteFilePath(QString::fromLatin1(name));
    }
    QString CopyTo(const QString& relative, const QString& source) const
    {
        const QByteArray bytes = ReadFileBytes(source);
        if (bytes.isEmpty())
            qFatal("cannot read fixture");
        return fx->folder->Write(relative, bytes);
    }
    void AddApps(const QStringList& paths)
    {
        for (const QString& path : paths) {
            fx->services.files.QueueFile(path);
            fx->Button("bbtnAddApp")->click();
        }
    }
    void SelectApp(int row) { Apps()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }
    TCheckListBox* Apps() const { return fx->Find<TCheckListBox>("chkProjectApps"); }

    QString versioned;
    QString split;
    QString plain;
    std::unique_ptr<WindowFixture> fx;
};

QTEST_MAIN(AppListUi)
#include "tst_app_list_ui.moc"
