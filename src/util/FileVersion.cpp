// GetVersionString: the file version of a program file, formatted.
#include "ExtraCode.h"
#include "PeVersionReader.h"

#include <TarnwellVersion.h>

#include <array>
#include <optional>

namespace {

using VersionNumbers = std::array<quint32, 4>;

// Substitutes the numbers for %d in turn and "%" for %%. The format comes
// from the caller and is never handed to a C formatter; anything else after
// a "%", or more %d than numbers, is a format error.
std::optional<QString> FormatNumbers(const QString& format, const VersionNumbers& numbers)
{
    QString result;
    size_t next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%')) {
            result.append(c);
            continue;
        }
        if (i + 1 >= format.size())
            return std::nullopt;
        const QChar conversion = format.at(++i);
        if (conversion == QLatin1Char('%')) {
            result.append(c);
        } else if (conversion == QLatin1Char('d') && next < numbers.size()) {
            result.append(QString::number(numbers[next++]));
        } else {
            return std::nullopt;
        }
    }
    return result;
}

} // namespace

QString GetVersionString(const QString& path, const QString& format)
{
    VersionNumbers numbers;
    if (path.isEmpty()) {
        // This program carries no resource on every platform: its version
        // is compiled in.
        // "+ 0" keeps a project version without all four parts compiling.
        numbers = {TARNWELL_VERSION_MAJOR + 0, TARNWELL_VERSION_MINOR + 0, TARNWELL_VERSION_PATCH + 0,
                   TARNWELL_VERSION_TWEAK + 0};
    } else {
        const auto fixed = ReadPeFixedVersionFromFile(path);
        if (!fixed)
            return QString();
        numbers = {fixed->FileVersionMS >> 16, fixed->FileVersionMS & 0xFFFFu, fixed->FileVersionLS >> 16,
                   fixed->FileVersionLS & 0xFFFFu};
    }
    return FormatNumbers(format, numbers).value_or(QString());
}
