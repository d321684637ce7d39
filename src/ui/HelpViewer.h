#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;

// The program's help window: the help pages in a browser whose links lead
// from topic to topic, with Back, Forward and Contents (the main topic).
class THelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit THelpViewer(QWidget* parent = nullptr);

    // The folder of the pages (LocateHelpFolder); empty when none was found.
    void SetFolder(const QString& folder);
    // Shows the page of context and brings the window to the front. A topic
    // without a page says so in the window.
    void ShowTopic(int context);
    // The context of the page shown; 0 when none of the numbered pages is.
    int Topic() const;

    QPushButton* btnBack;
    QPushButton* btnForward;
    QPushButton* btnContents;
    QTextBrowser* Browser;

private:
    QString folder_;
    // The window says a page is missing instead of showing one.
    bool missing_ = false;
};
