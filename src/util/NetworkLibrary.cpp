#include "util/NetworkLibrary.h"

#include "util/TarnwellError.h"

#include <curl/curl.h>

void InitialiseNetworkLibrary()
{
    static const bool done = [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            throw TarnwellError(QStringLiteral("The network library could not be started."));
        return true;
    }();
    (void)done;
}
