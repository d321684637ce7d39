#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>

// The fixed part of a version resource: each version is two double words,
// major.minor in the high one and release.build in the low one.
struct PeFixedVersion {
    quint32 FileVersionMS = 0;
    quint32 FileVersionLS = 0;
    quint32 ProductVersionMS = 0;
    quint32 ProductVersionLS = 0;
};

// Reads the version resource of a Windows program file (.exe, .dll, .ocx)
// on any platform. Every offset and size is checked against the data; any
// inconsistency gives no result.
std::optional<PeFixedVersion> ReadPeFixedVersion(QByteArrayView image);
std::optional<PeFixedVersion> ReadPeFixedVersionFromFile(const QString& path);
