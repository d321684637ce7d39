#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Stops the run with a report when a property the program relies on does
// not hold, so that libFuzzer keeps the input like any other crash.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);               \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

// The input as the program would hold it after reading a file: a copy that
// ends with the terminating zero Qt adds.
inline QByteArray FuzzBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder of the fuzzer's own under TMPDIR for the files a target needs,
// removed when the run ends.
inline const QString& FuzzFolder()
{
    static QTemporaryDir dir;
    static const QString path = dir.path();
    FUZZ_CHECK(dir.isValid());
    return path;
}
