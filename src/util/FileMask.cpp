#include "FileMask.h"

namespace {

bool SameChar(QChar a, QChar b, Qt::CaseSensitivity caseRule)
{
    return caseRule == Qt::CaseSensitive ? a == b : a.toCaseFolded() == b.toCaseFolded();
}

// Glob match with a single back-tracking point per "*": linear in practice,
// never exponential.
bool GlobMatches(QStringView mask, QStringView name, Qt::CaseSensitivity caseRule)
{
    qsizetype m = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            starAt = m++;
            resumeAt = n;
        } else if (m < mask.size() && (mask[m] == QLatin1Char('?') || SameChar(mask[m], name[n], caseRule))) {
            ++m;
            ++n;
        } else if (starAt >= 0) {
            m = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

} // namespace

bool MaskMatches(const QString& mask, const QString& name, Qt::CaseSensitivity caseRule)
{
    if (GlobMatches(mask, name, caseRule))
        return true;
    if (mask.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.')))
        return GlobMatches(QStringView(mask).chopped(2), name, caseRule);
    return false;
}
