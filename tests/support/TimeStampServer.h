#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A local RFC 3161 time-stamp service (tsa_server.py, answering with
// `openssl ts -reply`) on 127.0.0.1, signing with the given time-stamping
// certificate while the object lives.
class TimeStampServer {
public:
    TimeStampServer(const QString& certificate, const QString& key);
    ~TimeStampServer();
    TimeStampServer(const TimeStampServer&) = delete;
    TimeStampServer& operator=(const TimeStampServer&) = delete;

    // False when it did not start; Error() says why.
    bool IsReady() const { return port_ != 0; }
    QString Error() const { return error_; }
    // "http://127.0.0.1:PORT/"; after Stop, an address where nobody listens.
    QString Url() const;
    void Stop();
    // How many time stamps it has given.
    int Answered() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};
