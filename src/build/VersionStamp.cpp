#include "VersionStamp.h"

#include "StagedFiles.h"
#include "TextLines.h"
#include "util/ExtraCode.h"
#include "util/OperationHost.h"
#include "util/TarnwellError.h"

#include <QFile>
#include <QFileInfo>

namespace {

// How much of the AppName= and OutputDir= values is taken.
constexpr qsizetype AppNameLimit = 50;
constexpr qsizetype OutputDirLimit = 200;

// What the user typed goes into the files in the local 8-bit encoding.
QByteArray Bytes(const QString& text)
{
    return text.toLocal8Bit();
}

// The text after the first "=" of a line, at most limit bytes.
QByteArray AfterEquals(const QByteArray& line, qsizetype limit)
{
    return line.mid(line.indexOf('=') + 1, limit);
}

bool SameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

class Stamper {
public:
    Stamper(const VersionStampInput& input, OperationHost& host) : in_(input), host_(host) {}
    VersionStampResult Run();

private:
    bool ReadPhp();
    bool ReadPage();
    bool ReadScript();
    void EditLines();
    bool RewriteLink(QByteArray& line) const;
    bool Save();
    bool Load(const QString& path, QList<QByteArray>& lines);
    void Log(const QString& line) { host_.Log(line); }

    const VersionStampInput& in_;
    OperationHost& host_;
    VersionStampResult r_;
    bool phpRead_ = false;
    bool pageRead_ = false;
    bool pageEdited_ = false;
    int phpIndex_ = -1;
    int linkIndex_ = -1;
    int versionIndex_ = -1;
    int verNameIndex_ = -1;
    int baseNameIndex_ = -1;
    int outputDirIndex_ = -1;
    QByteArray setupAppName_;
};

VersionStampResult Stamper::Run()
{
    // A file that cannot be read ends the step at once; nothing is written.
    if (!ReadPhp() || !ReadPage() || !ReadScript()) {
        r_.Ok = false;
        return r_;
    }
    if (!r_.AllEntriesFound()) {
        // Lines inserted into the script in memory never reach the disk.
        Log(QStringLiteral("One or more entries not found in php,iss or html file"));
        r_.Ok = false;
        return r_;
    }
    Log(QStringLiteral("All entries found in the above files"));
    EditLines();
    if (!Save())
        r_.Ok = false;
    return r_;
}

bool Stamper::Load(const QString& path, QList<QByteArray>& lines)
{
    QFile file(path);
    QByteArray contents;
    if (file.open(QIODevice::ReadOnly))
        contents = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        Log(QStringLiteral("Couldn't read %1: %2").arg(path, file.errorString()));
        return false;
    }
    lines = SplitTextLines(contents);
    return true;
}

bool Stamper::ReadPhp()
{
    if (in_.PhpFile.isEmpty() || in_.PhpVar.isEmpty()) {
        r_.FoundMask |= StampBits::PhpLine;
        return true;
    }
    if (!QFileInfo(in_.PhpFile).isFile()) {
        Log(in_.PhpFile + QStringLiteral(" does not exist"));
        return true;
    }
    Log(QStringLiteral("Reading ") + in_.PhpFile);
    r_.PhpLines.clear();
    if (!Load(in_.PhpFile, r_.PhpLines))
        return false;
    phpIndex_ = FindLineContaining(Bytes(in_.PhpVar), r_.PhpLines, StampBits::PhpLine, r_.FoundMask);
    phpRead_ = true;
    return true;
}

bool Stamper::ReadPage()
{
    r_.LinkPageLines.clear();
    if (in_.DownLoadLinkFile.isEmpty()) {
        r_.FoundMask |= StampBits::LinkLine;
        return true;
    }
    if (!QFileInfo(in_.DownLoadLinkFile).isFile()) {
        Log(in_.DownLoadLinkFile + QStringLiteral(" does not exist"));
        return true;
    }
    if (!Load(in_.DownLoadLinkFile, r_.LinkPageLines))
        return false;
    Log(QStringLiteral("Reading ") + in_.DownLoadLinkFile);
    const QByteArray idAttribute = "id=\"" + Bytes(in_.DownLoadLinkId) + '"';
    linkIndex_ = FindLineContaining(idAttribute, r_.LinkPageLines, StampBits::LinkLine, r_.FoundMask);
    pageRead_ = true;
    // A link whose tag goes on on the next line has no link text on this
    // one: rewriting it would overwrite the target's closing quote.
    TSplitLine parts;
    if (linkIndex_ >= 0 &&
        SplitLineAroundToken(QStringLiteral("href"), QString::fromLatin1(r_.LinkPageLines.at(linkIndex_)),
                             parts) == SplitOutcome::NoTagEnd) {
        Log(in_.DownLoadLinkFile + QStringLiteral(": the download link's tag does not end on the line of "
                                                  "its id"));
        r_.FoundMask &= ~StampBits::LinkLine;
    }
    return true;
}

bool Stamper::ReadScript()
{
    QList<QByteArray>& lines = r_.SetupScriptLines;
    int& mask = r_.FoundMask;
    lines.clear();
    if (in_.InnoSetupFile.isEmpty()) {
        Log(QStringLiteral("InnoSetup file not specified"));
        return true;
    }
    if (!QFileInfo(in_.InnoSetupFile).isFile()) {
        Log(in_.InnoSetupFile + QStringLiteral(" does not exist"));
        return true;
    }
    if (!Load(in_.InnoSetupFile, lines))
        return false;
    Log(QStringLiteral("Reading ") + in_.InnoSetupFile);

    const int setupIndex = FindLineContaining("[Setup]", lines, StampBits::Setup, mask);
    const int appNameIndex = FindLineContaining("AppName=", lines, StampBits::AppName, mask);
    if (appNameIndex < 0) {
        Log(QStringLiteral("AppName not found in InnoSetup Script"));
        r_.Ok = false;
    } else {
        setupAppName_ = AfterEquals(lines.at(appNameIndex), AppNameLimit);
    }

    // A missing key gets a line of its own right below [Setup] (the top when
    // there is none); the edit below fills it in. Each insertion goes to the
    // same place, so the last key inserted ends up first.
    struct Key {
        QByteArray name;
        int bit;
        QByteArray filler;
    };
    const Key keys[] = {{"AppVersion=", StampBits::AppVersion, " "},
                        {"AppVerName=", StampBits::AppVerName, " "},
                        {"OutputBaseFilename=", StampBits::OutputBaseFilename, "Setup "}};
    for (const Key& key : keys) {
        if (FindLineContaining(key.name, lines, key.bit, mask) < 0) {
            lines.insert(setupIndex + 1, key.name + setupAppName_ + key.filler);
            mask |= key.bit;
        }
    }
    // Insertions move lines: look the keys up again.
    versionIndex_ = FindLineContaining(keys[0].name, lines, 0, mask);
    verNameIndex_ = FindLineContaining(keys[1].name, lines, 0, mask);
    baseNameIndex_ = FindLineContaining(keys[2].name, lines, 0, mask);
    outputDirIndex_ = FindLineContaining("OutputDir=", lines, StampBits::OutputDir, mask);
    return true;
}

void Stamper::EditLines()
{
    const QString& version = in_.PrimaryVersion;
    const QByteArray installerBase = Bytes(in_.BaseFileName) + '-' + Bytes(DashedVersion(version));
    if (phpRead_)
        r_.PhpLines[phpIndex_] = Bytes(in_.PhpVar) + " = '" + installerBase + ".exe';";

    QList<QByteArray>& script = r_.SetupScriptLines;
    r_.ShortVersion = ShortVersion(version);
    script[versionIndex_] = "AppVersion=" + setupAppName_ + ' ' + Bytes(version);
    script[verNameIndex_] = "AppVerName=" + setupAppName_ + ' ' + Bytes(r_.ShortVersion);
    script[baseNameIndex_] = "OutputBaseFilename=" + installerBase;

    r_.SetupExeName = in_.BaseFileName + QLatin1Char('-') + DashedVersion(version) + QStringLiteral(".exe");
    // Taken as written: the compiler resolves it, not us.
    r_.SetupOutputDir = QString::fromLocal8Bit(AfterEquals(script.at(outputDirIndex_), OutputDirLimit));

    if (pageRead_) {
        // A page that is also the PHP file takes the link edit on top of the
        // PHP edit; saving its own copy would undo the variable line.
        if (phpRead_ && SameFile(in_.PhpFile, in_.DownLoadLinkFile))
            r_.LinkPageLines = r_.PhpLines;
        pageEdited_ = RewriteLink(r_.LinkPageLines[linkIndex_]);
    }
}

bool Stamper::RewriteLink(QByteArray& line) const
{
    // Latin-1 maps each byte to one character and back, so the split works
    // on the line's own bytes and gives them back unchanged.
    TSplitLine parts;
    if (!SplitAroundToken(QStringLiteral("href"), QString::fromLatin1(line), parts))
        return false;
    const QString exeName = QString::fromLatin1(Bytes(r_.SetupExeName));
    const int slash = LastPos(QStringLiteral("/"), parts.Value);
    parts.Value = slash > 0 ? parts.Value.left(slash) + exeName : exeName;
    parts.LinkText = QString::fromLatin1(Bytes(in_.DownLoadLinkText + QLatin1Char(' ') + r_.ShortVersion));
    line = JoinSplitLine(parts).toLatin1();
    return true;
}

bool Stamper::Save()
{
    struct Write {
        QString path;
        int entry;
    };
    StagedFiles staged;
    QList<Write> writes;
    try {
        if (phpRead_)
            writes.append({in_.PhpFile, staged.Stage(in_.PhpFile, JoinTextLines(r_.PhpLines))});
        writes.append(
            {in_.InnoSetupFile, staged.Stage(in_.InnoSetupFile, JoinTextLines(r_.SetupScriptLines))});
        if (pageEdited_)
            writes.append(
                {in_.DownLoadLinkFile, staged.Stage(in_.DownLoadLinkFile, JoinTextLines(r_.LinkPageLines))});
    } catch (const TarnwellError& error) {
        Log(error.Message());
        Log(QStringLiteral("No file was edited"));
        return false;
    }
    for (const Write& write : writes) {
        try {
            staged.Commit(write.entry);
        } catch (const TarnwellError& error) {
            Log(error.Message());
            return false;
        }
        Log(QStringLiteral("Edited: ") + write.path);
    }
    return true;
}

} // namespace

VersionStampResult StampVersion(const VersionStampInput& input, OperationHost& host)
{
    return Stamper(input, host).Run();
}

int FindLineContaining(const QByteArray& text, const QList<QByteArray>& lines, int bit, int& foundMask)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(text)) {
            foundMask |= bit;
            return int(i);
        }
    }
    return -1;
}

QString DashedVersion(const QString& version)
{
    return QString(version).replace(QLatin1Char('.'), QLatin1Char('-'));
}

QString ShortVersion(const QString& version)
{
    // Characters, not numbers: 1.10.0.0 gives 1.1 and 10.2.0.0 gives "10.".
    return version.count(QLatin1Char('.')) >= 2 ? version.left(3) : version.left(1);
}
