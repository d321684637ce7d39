#include "ui/ScannerU.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>

TScanner::TScanner(QWidget* parent)
    // A dialog frame with a title but no system menu or close button: the
    // window goes away when the scan ends, not before.
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Scanner"));
    setWindowTitle(QStringLiteral("Scanning Files"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(16);
    setFont(arial);
    setFixedSize(ClientWidth, ClientHeight);
    move(555, 406);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(4, 232, 697, 8);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    memTask = new QPlainTextEdit(this);
    memTask->setObjectName(QStringLiteral("memTask"));
    memTask->setGeometry(0, 0, 697, 225);
    memTask->setReadOnly(true);
    memTask->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memTask->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memTask->setLineWrapMode(QPlainTextEdit::NoWrap);

    setTabOrder(ProgressBar1, memTask);
}

void TScanner::BeginScan(const QString& projectName)
{
    StartScan(ScanCaption(projectName));
}

void TScanner::StartScan(const QString& caption)
{
    memTask->clear();
    SetCaption(caption);
    show();
}

void TScanner::AddLine(const QString& line)
{
    memTask->appendPlainText(line);
    // No scroll bars to drag: follow the newest line ourselves.
    QScrollBar* bar = memTask->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void TScanner::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void TScanner::SetProgress(int percent)
{
    ProgressBar1->setValue(qBound(0, percent, 100));
}

void TScanner::EndScan()
{
    hide();
}

QStringList TScanner::Lines() const
{
    QStringList lines = memTask->toPlainText().split(QLatin1Char('\n'));
    if (memTask->document()->isEmpty())
        lines.clear();
    return lines;
}
