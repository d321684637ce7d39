#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A small web site for link checks: tests/support/web_server.py on
// 127.0.0.1 (see there for what each path answers), started in the
// constructor and stopped when the object goes.
class WebTestServer {
public:
    explicit WebTestServer(int delayMs = 0);
    ~WebTestServer();
    WebTestServer(const WebTestServer&) = delete;
    WebTestServer& operator=(const WebTestServer&) = delete;

    bool IsRunning() const { return port_ != 0; }
    QString Error() const { return error_; }
    quint16 Port() const { return port_; }
    // "http://127.0.0.1:port" followed by the path.
    QString Address(const QString& path) const;
    // One "METHOD PATH IN-FLIGHT" line per request received.
    QStringList Requests() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};
