#include "ui/CancelFormU.h"
#include "ui/ColorButton.h"
#include "ui/Placement.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QTest>

namespace {

// A point on the button's face, clear of the frame, the focus rectangle and
// the centred caption.
const QPoint FacePoint(12, 12);

QColor FaceColour(QWidget& button)
{
    return button.grab().toImage().pixelColor(FacePoint);
}

void SendEnter(QWidget& widget)
{
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), widget.mapToGlobal(QPointF(10, 10)));
    QApplication::sendEvent(&widget, &enter);
}

void SendLeave(QWidget& widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

// The offscreen cursor rests at the origin; a window shown there would be
// hovered from the start.
void ShowAwayFromTheCursor(QWidget& window)
{
    window.move(300, 200);
    window.show();
}

bool HasColourInside(const QImage& image, const QRect& area, const QColor& colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
    return false;
}

} // namespace

class TestCancelForm : public QObject {
    Q_OBJECT
private slots:
    void IsABorderlessWindowFilledByTheRedButton()
    {
        TCancelForm form;
        ShowAwayFromTheCursor(form);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.objectName(), QStringLiteral("CancelForm"));
        QVERIFY(form.isWindow());
        QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(form.size(), QSize(203, 113));
        QCOMPARE(form.CancelButton->objectName(), QStringLiteral("CancelButton"));
        QCOMPARE(form.CancelButton->geometry(), form.rect());
        QCOMPARE(form.CancelButton->text(), QStringLiteral("Cancel Operation"));
        QCOMPARE(form.CancelButton->BackColor(), QColor(Qt::red));
        QCOMPARE(form.CancelButton->HoverColor(), form.palette().color(QPalette::Button));
        QCOMPARE(FaceColour(*form.CancelButton), QColor(Qt::red));
    }

    void CancelledIsClearedOnlyWhenTheWindowBecomesVisible()
    {
        TCancelForm form;
        QVERIFY(!form.Cancelled());

        form.show();
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        QVERIFY(form.Cancelled());

        // An upload shows the window again for each account: a cancel pressed
        // during one account must survive that.
        form.show();
        QVERIFY(form.Cancelled());

        // The import reads the flag after closing the window.
        form.close();
        QVERIFY(!form.isVisible());
        QVERIFY(form.Cancelled());

        // The next operation starts afresh.
        form.show();
        QVERIFY(!form.Cancelled());

        // A click while hidden counts until the window shows.
        form.hide();
        form.CancelButtonClick();
        QVERIFY(form.Cancelled());
        form.show();
        QVERIFY(!form.Cancelled());
    }

    void ShowOverCentresCaptionsAndShows()
    {
        QWidget owner;
        owner.setGeometry(31, 47, 747, 655);
        owner.setEnabled(false); // as a long operation leaves the main window
        TCancelForm form;
        form.CancelButtonClick();
        form.ShowOver(owner, QStringLiteral("Cancel Upload"));
        QVERIFY(form.isVisible());
        QVERIFY(!form.Cancelled());
        QCOMPARE(form.pos(), CentredOn(owner.frameGeometry(), QSize(203, 113)));
        QCOMPARE(form.CancelButton->text(), QStringLiteral("Cancel Upload"));
        // The user must still be able to press it while the main window is disabled.
        QVERIFY(form.CancelButton->isEnabled());
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        QVERIFY(form.Cancelled());
    }

    void HoverColourComesAndGoes()
    {
        TCancelForm form;
        ShowAwayFromTheCursor(form);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TColorButton& button = *form.CancelButton;
        const QColor hover = button.HoverColor();
        QVERIFY(hover != QColor(Qt::red));

        SendEnter(button);
        QCOMPARE(FaceColour(button), hover);
        SendLeave(button);
        QCOMPARE(FaceColour(button), QColor(Qt::red));

        // A repeated enter must not make the hover colour the resting one.
        SendEnter(button);
        SendEnter(button);
        SendLeave(button);
        QCOMPARE(FaceColour(button), QColor(Qt::red));

        // Hidden under the mouse (the operation ended): red again next time.
        SendEnter(button);
        form.hide();
        form.show();
        QCOMPARE(FaceColour(button), QColor(Qt::red));
    }

    void ColourChangesShowAtOnce()
    {
        TColorButton button(QStringLiteral("Go"));
        button.resize(120, 40);
        button.SetBackColor(Qt::blue);
        QCOMPARE(FaceColour(button), QColor(Qt::blue));
        button.SetHoverColor(Qt::green);
        SendEnter(button);
        QCOMPARE(FaceColour(button), QColor(Qt::green));
        SendLeave(button);
        QCOMPARE(FaceColour(button), QColor(Qt::blue));
    }

    void DisabledCaptionIsEmbossed()
    {
        TColorButton button(QStringLiteral("Cancel Operation"));
        button.resize(203, 113);
        button.SetBackColor(Qt::red);
        button.SetForeColor(Qt::black);
        const QRect captionArea = button.rect().adjusted(20, 30, -20, -30);

        const QImage enabled = button.grab().toImage();
        QVERIFY(HasColourInside(enabled, captionArea, Qt::black));
        const QColor light = button.palette().color(QPalette::Light);
        QVERIFY(!HasColourInside(enabled, captionArea, light));

        button.setEnabled(false);
        const QImage disabled = button.grab().toImage();
        QVERIFY(disabled != enabled);
        // The light half of the embossing is drawn; the caption colour is not used.
        QVERIFY(HasColourInside(disabled, captionArea, light));
        QVERIFY(!HasColourInside(disabled, captionArea, Qt::black));
        // The face keeps its colour.
        QCOMPARE(disabled.pixelColor(FacePoint), QColor(Qt::red));
    }
};

QTEST_MAIN(TestCancelForm)
#include "tst_cancelform.moc"
