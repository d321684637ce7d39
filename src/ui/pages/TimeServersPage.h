#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

// "Time Servers" (tabTimeServers): the time-stamp servers in the order they
// are tried, and how many times the list is tried.
class TimeServersPage : public QWidget {
    Q_OBJECT
public:
    explicit TimeServersPage(QWidget* parent = nullptr);

    QLabel* lblTimeServers;
    QListWidget* lbxTimeServers;
    QLineEdit* lbeNewTimeServer;
    QPushButton* bbtnAddTimeServer;
    QPushButton* bbtnDeleteTimeServer;
    QPushButton* bbtnUp;
    QPushButton* bbtnDown;
    QLabel* lblAttempts;
    QSpinBox* speAttempts;
};
