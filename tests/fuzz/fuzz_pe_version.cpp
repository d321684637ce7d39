// The version resource of a program file, read from any bytes.
#include "FuzzSupport.h"
#include "util/PeVersionReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray image = FuzzBytes(data, size);
    (void)ReadPeFixedVersion(QByteArrayView(image));
    return 0;
}
