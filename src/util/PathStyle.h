#pragma once

#include <QChar>
#include <QString>
#include <Qt>

// How local paths are written and compared: Windows uses "\" and ignores
// letter case, POSIX uses "/" and compares exactly. Path functions take a
// style so that both kinds of path can be exercised on any machine.
class PathStyle {
public:
    static PathStyle Windows();
    static PathStyle Posix();
    // The style of the platform the program runs on.
    static PathStyle Native();

    QChar Separator() const { return separator_; }
    Qt::CaseSensitivity CaseRule() const { return caseRule_; }
    bool IsWindows() const { return separator_ == QLatin1Char('\\'); }

    // Whole-text comparison of two paths under the style's case rule.
    bool SamePath(const QString& a, const QString& b) const;
    // A key that is equal for two paths exactly when SamePath holds.
    QString LookupKey(const QString& path) const;
    // The path with a separator appended unless it already ends with one.
    QString WithTrailingSeparator(const QString& path) const;
    // The path as Qt's file functions take it ("/" works on every platform).
    QString ToFileSystem(const QString& path) const;
    // Joins a folder (with or without its trailing separator) and a name.
    QString Join(const QString& folder, const QString& name) const;

private:
    PathStyle(QChar separator, Qt::CaseSensitivity caseRule);
    QChar separator_;
    Qt::CaseSensitivity caseRule_;
};
