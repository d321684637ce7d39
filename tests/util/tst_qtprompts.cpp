#include "ui/QtPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QList<QMessageBox::StandardButton> buttons;
    QWidget* parent = nullptr;
};

// Waits for the box to open, notes what it shows and presses a button.
void AnswerNextBox(SeenBox& seen, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [&seen, press]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextBox(seen, press);
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.format = box->textFormat();
        seen.parent = box->parentWidget();
        for (QAbstractButton* button : box->buttons())
            seen.buttons.append(box->standardButton(button));
        box->button(press)->click();
    });
}

} // namespace

class TestQtPrompts : public QObject {
    Q_OBJECT

private slots:
    void InfoBox();
    void QuestionBox_data();
    void QuestionBox();
};

void TestQtPrompts::InfoBox()
{
    QWidget window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    SeenBox seen;
    AnswerNextBox(seen, QMessageBox::Ok);
    QtPrompts().ShowInfo("Tarnwell", "C:\\site\\<b>x</b>\rfile not found");
    QCOMPARE(seen.title, QString("Tarnwell"));
    QCOMPARE(seen.text, QString("C:\\site\\<b>x</b>\nfile not found"));
    QCOMPARE(seen.icon, QMessageBox::Information);
    QCOMPARE(seen.format, Qt::PlainText); // "<b>" stays text
    QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    QCOMPARE(seen.parent, &window);
}

void TestQtPrompts::QuestionBox_data()
{
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("code");
    QTest::newRow("yes") << int(QMessageBox::Yes) << IDYES;
    QTest::newRow("no") << int(QMessageBox::No) << IDNO;
}

void TestQtPrompts::QuestionBox()
{
    QFETCH(int, press);
    SeenBox seen;
    AnswerNextBox(seen, QMessageBox::StandardButton(press));
    const int answer = QtPrompts().AskQuestion("Tarnwell", "Delete?", MB_YESNO);
    QTEST(answer, "code");
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.title, QString("Tarnwell"));
    QVERIFY(seen.buttons.contains(QMessageBox::Yes) && seen.buttons.contains(QMessageBox::No));
    QCOMPARE(seen.buttons.size(), 2);
}

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
