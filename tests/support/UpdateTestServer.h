#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A stand-in for the update service: tests/support/update_server.py on
// 127.0.0.1, answering every request with the same status and body (or not
// at all), started in the constructor and stopped when the object goes.
class UpdateTestServer {
public:
    struct Options {
        int Status = 200;
        QByteArray Body;
        bool Mute = false; // takes the request and never replies
    };

    explicit UpdateTestServer(const Options& options);
    ~UpdateTestServer();
    UpdateTestServer(const UpdateTestServer&) = delete;
    UpdateTestServer& operator=(const UpdateTestServer&) = delete;

    bool IsRunning() const { return port_ != 0; }
    QString Error() const { return error_; }
    // "http://127.0.0.1:port/latest"
    QString Address() const;
    // One object per request received: method, path, user_agent,
    // content_type and fields (the form fields by name).
    QList<QJsonObject> Requests() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};
