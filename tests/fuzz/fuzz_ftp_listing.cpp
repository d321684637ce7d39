// A server's folder listing, read both as MLSD facts and as LIST lines.
#include "FuzzSupport.h"
#include "publish/FtpListing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray listing = FuzzBytes(data, size);
    for (const bool mlsd : {true, false}) {
        for (const FtpEntry& entry : ParseListing(listing, mlsd)) {
            // The uploads and the import take every name as one entry of
            // the folder listed.
            FUZZ_CHECK(!entry.Name.isEmpty());
            FUZZ_CHECK(entry.Name != QLatin1String(".") && entry.Name != QLatin1String(".."));
        }
    }
    return 0;
}
