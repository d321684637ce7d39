#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class OperationHost;

// The stamping fields of the Builder tab as they stand on the screen, saved
// or not, and the primary application's version.
struct VersionStampInput {
    QString PhpFile;          // lbePhpFile; empty: no PHP file is edited
    QString PhpVar;           // lbePHPVar; empty: no PHP file is edited
    QString DownLoadLinkFile; // lbeDownLoadLinkFile; empty: no page is edited
    QString DownLoadLinkId;   // lbeDownLoadLinkId
    QString DownLoadLinkText; // lbeDownLoadLinkText
    QString BaseFileName;     // lbeBaseFileName
    QString InnoSetupFile;    // lbeInnoSetupFile; required
    QString PrimaryVersion;   // "a.b.c.d", empty when the file carries none
};

// The bits of FoundMask, one per entry the stamping needs.
namespace StampBits {
constexpr int PhpLine = 1;
constexpr int LinkLine = 2;
constexpr int AppVersion = 4;
constexpr int AppVerName = 8;
constexpr int OutputBaseFilename = 16;
constexpr int OutputDir = 32;
constexpr int Setup = 64;
constexpr int AppName = 128;
constexpr int All = 255;
} // namespace StampBits

struct VersionStampResult {
    // False when the build must fail: an entry missing, no AppName= line, or
    // a file that could not be read or written.
    bool Ok = true;
    int FoundMask = 0;
    // Set only when every entry was found; the build then copies them into
    // the working state, otherwise the previous build's values stay.
    QString ShortVersion;
    QString SetupExeName;
    QString SetupOutputDir;
    // The three files as read and edited in memory (the build's work lists).
    QList<QByteArray> PhpLines;
    QList<QByteArray> LinkPageLines;
    QList<QByteArray> SetupScriptLines;

    bool AllEntriesFound() const { return FoundMask == StampBits::All; }
};

// Writes the primary version into the PHP file, the setup script and the
// download page. Every file is read and every entry looked for first;
// nothing is written unless all were found. The new contents are then
// written beside their files and renamed over them only once all three are
// on disk, so a write failure leaves the files as they were. Progress and
// failures go to the build log through host.
VersionStampResult StampVersion(const VersionStampInput& input, OperationHost& host);

// Index (0-based) of the first line that holds text, case-sensitive, and
// bit added to foundMask; -1 and the mask unchanged when no line does. Bit 0
// locates a line without counting it.
int FindLineContaining(const QByteArray& text, const QList<QByteArray>& lines, int bit, int& foundMask);

// The version with every "." replaced by "-": 1.2.3.4 gives 1-2-3-4.
QString DashedVersion(const QString& version);

// The first three characters of a version with two or more dots, otherwise
// its first: 1.2.3.4 gives 1.2, 1.10.0.0 gives 1.1, 10.2.0.0 gives "10.".
QString ShortVersion(const QString& version);
