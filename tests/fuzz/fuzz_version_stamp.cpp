// Version stamping of the PHP file, the installer script and the download
// page. The input holds the three texts in that order, split at zero bytes.
#include "FuzzSupport.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "build/VersionStamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QList<QByteArray> parts = FuzzBytes(data, size).split('\0');
    const QByteArray php = parts.value(0), script = parts.value(1), page = parts.value(2);
    const QString folder = FuzzFolder();
    VersionStampInput in{folder + QStringLiteral("/version.php"),
                         QStringLiteral("$latest"),
                         folder + QStringLiteral("/download.html"),
                         QStringLiteral("dl"),
                         QStringLiteral("Download"),
                         QStringLiteral("MyAppSetup"),
                         folder + QStringLiteral("/app.iss"),
                         QStringLiteral("2.1.0.7")};
    FUZZ_CHECK(WriteFileBytes(in.PhpFile, php) && WriteFileBytes(in.InnoSetupFile, script) &&
               WriteFileBytes(in.DownLoadLinkFile, page));

    RecordingHost host;
    const VersionStampResult result = StampVersion(in, host);
    FUZZ_CHECK(!result.Ok || result.AllEntriesFound());
    // A stamp that fails leaves every file as it was.
    if (!result.Ok)
        FUZZ_CHECK(ReadFileBytes(in.PhpFile) == php && ReadFileBytes(in.InnoSetupFile) == script &&
                   ReadFileBytes(in.DownLoadLinkFile) == page);
    return 0;
}
