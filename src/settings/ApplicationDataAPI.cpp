#include "ApplicationDataAPI.h"

#include "AtomicFile.h"
#include "EntryTable.h"
#include "LineCipher.h"
#include "util/Clock.h"
#include "util/TarnwellError.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <limits>

struct TAppData::Impl {
    QString fileName;
    QString baseFolder;
    QString tempFolder;
    QString dataFolder;
    QString passphrase;
    EntryTable lines;
    int invalidLines = 0;
    // The last load dropped lines: keep the original file before replacing it.
    bool damagedCopyPending = false;
    // Dates the damaged copy.
    const Clock* clock = nullptr;

    void Load();
    QString FilePath() const { return dataFolder.isEmpty() ? QString() : dataFolder + fileName; }
    void KeepDamagedCopy() const;
    QDate Today() const;
};

void TAppData::SetClock(const Clock& clock)
{
    d_->clock = &clock;
}

namespace {

QString Prefix(const QString& section, const QString& key)
{
    // Built in one allocation: every read and write starts here.
    QString prefix;
    prefix.reserve(section.size() + key.size() + 4);
    prefix.append(QLatin1Char('<'))
        .append(section)
        .append(QLatin1String("><"))
        .append(key)
        .append(QLatin1Char('>'));
    return prefix;
}

QString SectionPrefix(const QString& section)
{
    return QLatin1Char('<') + section + QLatin1Char('>');
}

// Decimal text only: an optional "-" and at least one digit, in range.
bool ParseDecimal(const QString& text, int& value)
{
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() == start)
        return false;
    long long magnitude = 0;
    for (qsizetype i = start; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    const long long signedValue = start ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

} // namespace

TAppData::TAppData(int folderId) : d_(new Impl)
{
    if (folderId != CSIDL_LOCAL_APPDATA)
        return;
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!base.isEmpty() && QDir().mkpath(base))
        d_->baseFolder = QDir::cleanPath(base);
}

TAppData::~TAppData()
{
    delete d_;
}

bool TAppData::SetConfigFile(const QString& company, const QString& product, const QString& fileName,
                             const QString& passphrase)
{
    if (d_->baseFolder.isEmpty())
        return false;
    const QString folder = d_->baseFolder + QLatin1Char('/') + company + QLatin1Char('/') + product;
    if (!QDir().mkpath(folder))
        return false;
    d_->dataFolder = folder + QLatin1Char('/');
    d_->fileName = fileName;
    d_->passphrase = passphrase;
    d_->Load();

    const QString temp = folder + QStringLiteral("/Temp");
    if (!QDir().mkpath(temp)) {
        d_->tempFolder.clear();
        return false;
    }
    d_->tempFolder = temp;
    return true;
}

void TAppData::Impl::Load()
{
    lines.Clear();
    invalidLines = 0;
    damagedCopyPending = false;
    QFile file(FilePath());
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw TarnwellError(QStringLiteral("Couldn't read %1: %2").arg(file.fileName(), file.errorString()));
    const QByteArray contents = file.readAll();

    QList<QByteArray> fileLines = contents.split('\n');
    // The last line ends with a line break, so the split leaves an empty piece.
    if (!fileLines.isEmpty() && fileLines.last().isEmpty())
        fileLines.removeLast();
    for (const auto& plain : LineCipher::DecryptAll(fileLines, passphrase)) {
        if (plain)
            lines.Append(*plain);
        else
            ++invalidLines;
    }
    damagedCopyPending = invalidLines > 0;
}

QDate TAppData::Impl::Today() const
{
    static const SystemClock systemClock;
    return (clock ? clock : &systemClock)->Today();
}

void TAppData::Impl::KeepDamagedCopy() const
{
    const QString path = FilePath();
    if (!QFile::exists(path))
        return;
    const QString stem = path + QStringLiteral(".damaged-") + Today().toString(Qt::ISODate);
    QString copy = stem;
    for (int n = 2; QFile::exists(copy); ++n)
        copy = stem + QLatin1Char('-') + QString::number(n);
    if (!QFile::copy(path, copy))
        throw TarnwellError(
            QStringLiteral("Couldn't keep a copy of the damaged settings file as %1").arg(copy));
}

void TAppData::Save()
{
    if (d_->lines.Count() == 0)
        return;
    const QString path = d_->FilePath();
    if (path.isEmpty())
        throw TarnwellError(QStringLiteral("The settings file has not been set up"));

    QByteArray contents;
    for (const QByteArray& line : LineCipher::EncryptAll(d_->lines.Lines(), d_->passphrase)) {
        contents.append(line);
        contents.append("\r\n");
    }
    if (d_->damagedCopyPending)
        d_->KeepDamagedCopy();
    WriteFileAtomically(path, contents);
    d_->damagedCopyPending = false;
}

void TAppData::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString prefix = Prefix(section, key);
    const qsizetype at = d_->lines.FindFirst(prefix);
    if (at == EntryTable::NotFound)
        d_->lines.Append(prefix + value);
    else
        d_->lines.Replace(at, prefix + value);
}

QString TAppData::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const QString prefix = Prefix(section, key);
    const qsizetype at = d_->lines.FindFirst(prefix);
    return at == EntryTable::NotFound ? defaultValue : d_->lines.At(at).mid(prefix.size());
}

void TAppData::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

int TAppData::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    const QString prefix = Prefix(section, key);
    const qsizetype at = d_->lines.FindFirst(prefix);
    if (at == EntryTable::NotFound)
        return defaultValue;
    const QString text = d_->lines.At(at).mid(prefix.size());
    int value = 0;
    if (!ParseDecimal(text, value))
        throw TarnwellError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

void TAppData::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TAppData::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    const QString prefix = Prefix(section, key);
    const qsizetype at = d_->lines.FindFirst(prefix);
    if (at == EntryTable::NotFound)
        return defaultValue;
    return QStringView(d_->lines.At(at)).mid(prefix.size()) == u"1";
}

void TAppData::DeleteKey(const QString& section, const QString& key)
{
    d_->lines.RemoveAll(Prefix(section, key));
}

void TAppData::DeleteSection(const QString& section)
{
    d_->lines.RemoveAll(SectionPrefix(section));
}

void TAppData::WriteList(const QString& section, const QString& key, const QStringList& items)
{
    const QString prefix = Prefix(section, key);
    d_->lines.RemoveAll(prefix);
    for (const QString& item : items)
        d_->lines.Append(prefix + item);
}

QStringList TAppData::ReadList(const QString& section, const QString& key) const
{
    const QString prefix = Prefix(section, key);
    QStringList items;
    for (qsizetype at : d_->lines.FindAll(prefix))
        items.append(d_->lines.At(at).mid(prefix.size()));
    return items;
}

QStringList TAppData::ReadSectionEntries(const QString& section, const QString& filter) const
{
    const QString prefix = SectionPrefix(section);
    const QString wanted = QLatin1Char('<') + filter;
    QStringList entries;
    for (qsizetype at : d_->lines.FindAll(prefix)) {
        const QString& line = d_->lines.At(at);
        if (line.contains(wanted))
            entries.append(line.mid(prefix.size()));
    }
    return entries;
}

QString TAppData::TempFolder() const
{
    return d_->tempFolder;
}

int TAppData::InvalidLineCount() const
{
    return d_->invalidLines;
}

QString TAppData::FilePath() const
{
    return d_->FilePath();
}

QString TAppData::BaseFolder() const
{
    return d_->baseFolder;
}
