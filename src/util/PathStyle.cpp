#include "PathStyle.h"

PathStyle::PathStyle(QChar separator, Qt::CaseSensitivity caseRule)
    : separator_(separator), caseRule_(caseRule)
{
}

PathStyle PathStyle::Windows()
{
    return PathStyle(QLatin1Char('\\'), Qt::CaseInsensitive);
}

PathStyle PathStyle::Posix()
{
    return PathStyle(QLatin1Char('/'), Qt::CaseSensitive);
}

PathStyle PathStyle::Native()
{
#ifdef Q_OS_WIN
    return Windows();
#else
    return Posix();
#endif
}

bool PathStyle::SamePath(const QString& a, const QString& b) const
{
    return a.compare(b, caseRule_) == 0;
}

QString PathStyle::LookupKey(const QString& path) const
{
    return caseRule_ == Qt::CaseInsensitive ? path.toCaseFolded() : path;
}

QString PathStyle::WithTrailingSeparator(const QString& path) const
{
    return path.endsWith(separator_) ? path : path + separator_;
}

QString PathStyle::ToFileSystem(const QString& path) const
{
    if (separator_ == QLatin1Char('/'))
        return path;
    QString result = path;
    result.replace(separator_, QLatin1Char('/'));
    return result;
}

QString PathStyle::Join(const QString& folder, const QString& name) const
{
    return WithTrailingSeparator(folder) + name;
}
