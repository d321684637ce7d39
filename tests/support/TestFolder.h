#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, removed when it goes out of scope.
// While it lives, XDG_DATA_HOME points into it (when asked), so a settings
// store created by the code under test lands here and never in the real home.
class TestFolder {
public:
    explicit TestFolder(bool asDataHome = false);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    bool IsValid() const { return dir_.isValid(); }
    QString Path() const { return dir_.path(); }
    // Absolute path of a name inside the folder ("a/b.txt" allowed).
    QString FilePath(const QString& relative) const;
    // Writes a file (creating its folders) and returns its absolute path.
    QString Write(const QString& relative, const QByteArray& bytes) const;
    QString MakeFolder(const QString& relative) const;
    QByteArray Read(const QString& relative) const;

private:
    QTemporaryDir dir_;
    QByteArray oldDataHome_;
    bool setDataHome_ = false;
};

// Whole-file reads and writes by absolute path; an unreadable file reads as
// empty, a failed write answers false.
QByteArray ReadFileBytes(const QString& path);
bool WriteFileBytes(const QString& path, const QByteArray& bytes);
// Sets a file's last-write time; false when it cannot be set.
bool SetFileModified(const QString& path, const QDateTime& time);
