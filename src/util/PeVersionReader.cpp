#include "PeVersionReader.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

namespace {

constexpr quint32 kHighBit = 0x80000000u;
constexpr quint32 kVersionType = 16; // RT_VERSION
constexpr quint32 kFixedSignature = 0xFEEF04BDu;

// Little-endian reads that refuse anything outside the data.
class Bytes {
public:
    explicit Bytes(QByteArrayView data) : data_(data) {}

    bool Has(quint64 offset, quint64 size) const
    {
        const quint64 total = quint64(data_.size());
        return offset <= total && size <= total - offset;
    }
    std::optional<quint16> U16(quint64 offset) const
    {
        if (!Has(offset, 2))
            return std::nullopt;
        return quint16(Byte(offset) | Byte(offset + 1) << 8);
    }
    std::optional<quint32> U32(quint64 offset) const
    {
        if (!Has(offset, 4))
            return std::nullopt;
        return quint32(Byte(offset)) | quint32(Byte(offset + 1)) << 8 | quint32(Byte(offset + 2)) << 16 |
               quint32(Byte(offset + 3)) << 24;
    }

private:
    quint32 Byte(quint64 offset) const { return quint8(data_[qsizetype(offset)]); }
    QByteArrayView data_;
};

struct Section {
    quint32 VirtualAddress = 0;
    quint32 RawSize = 0;
    quint32 RawOffset = 0;
};

struct DirectoryEntry {
    quint32 Name = 0;
    quint32 Data = 0;
};

class PeImage {
public:
    explicit PeImage(QByteArrayView data) : bytes_(data) {}

    std::optional<PeFixedVersion> FixedVersion()
    {
        if (!ReadHeaders())
            return std::nullopt;
        // Resource tree: type -> first name -> first language -> data entry.
        const auto types = ReadDirectory(0);
        if (!types)
            return std::nullopt;
        const DirectoryEntry* version = nullptr;
        for (const DirectoryEntry& entry : *types) {
            if (!(entry.Name & kHighBit) && entry.Name == kVersionType) {
                version = &entry;
                break;
            }
        }
        if (!version || !(version->Data & kHighBit))
            return std::nullopt;
        const auto names = ReadDirectory(version->Data & ~kHighBit);
        if (!names || names->isEmpty() || !(names->first().Data & kHighBit))
            return std::nullopt;
        const auto languages = ReadDirectory(names->first().Data & ~kHighBit);
        if (!languages || languages->isEmpty() || (languages->first().Data & kHighBit))
            return std::nullopt;
        const auto leaf = ResourceOffset(languages->first().Data, 16);
        if (!leaf)
            return std::nullopt;
        const auto dataRva = bytes_.U32(*leaf);
        const auto dataSize = bytes_.U32(*leaf + 4);
        if (!dataRva || !dataSize)
            return std::nullopt;
        const auto block = RvaToOffset(*dataRva, *dataSize);
        if (!block)
            return std::nullopt;
        return ReadVersionBlock(*block, *dataSize);
    }

private:
    bool ReadHeaders()
    {
        if (!bytes_.Has(0, 64) || bytes_.U16(0) != quint16(0x5A4D)) // "MZ"
            return false;
        const auto peAt = bytes_.U32(0x3C);
        if (!peAt || bytes_.U32(*peAt) != quint32(0x00004550)) // "PE\0\0"
            return false;
        const quint64 coff = quint64(*peAt) + 4;
        const auto sectionCount = bytes_.U16(coff + 2);
        const auto optionalSize = bytes_.U16(coff + 16);
        if (!sectionCount || !optionalSize)
            return false;
        const quint64 optional = coff + 20;
        if (!bytes_.Has(optional, *optionalSize))
            return false;
        const auto magic = bytes_.U16(optional);
        quint64 countAt = 0;
        quint64 directoriesAt = 0;
        if (magic == quint16(0x10B)) {
            countAt = 92;
            directoriesAt = 96;
        } else if (magic == quint16(0x20B)) {
            countAt = 108;
            directoriesAt = 112;
        } else {
            return false;
        }
        // The resource directory is entry 2 of the data directories.
        const quint64 resourceEntry = directoriesAt + 2 * 8;
        if (resourceEntry + 8 > *optionalSize)
            return false;
        const auto directoryCount = bytes_.U32(optional + countAt);
        const auto resourceRva = bytes_.U32(optional + resourceEntry);
        if (!directoryCount || *directoryCount < 3 || !resourceRva || *resourceRva == 0)
            return false;
        resourceRva_ = *resourceRva;

        const quint64 table = optional + *optionalSize;
        if (!bytes_.Has(table, quint64(*sectionCount) * 40))
            return false;
        for (quint64 i = 0; i < *sectionCount; ++i) {
            const quint64 at = table + i * 40;
            Section section;
            section.VirtualAddress = *bytes_.U32(at + 12);
            section.RawSize = *bytes_.U32(at + 16);
            section.RawOffset = *bytes_.U32(at + 20);
            sections_.append(section);
        }
        return true;
    }

    // File offset of an image range that lies wholly in one section's data.
    std::optional<quint64> RvaToOffset(quint64 rva, quint64 size) const
    {
        for (const Section& section : sections_) {
            if (rva < section.VirtualAddress)
                continue;
            const quint64 into = rva - section.VirtualAddress;
            if (into >= section.RawSize || size > section.RawSize - into)
                continue;
            const quint64 offset = quint64(section.RawOffset) + into;
            if (bytes_.Has(offset, size))
                return offset;
        }
        return std::nullopt;
    }

    std::optional<quint64> ResourceOffset(quint64 relative, quint64 size) const
    {
        return RvaToOffset(quint64(resourceRva_) + relative, size);
    }

    std::optional<QList<DirectoryEntry>> ReadDirectory(quint32 relative) const
    {
        const auto header = ResourceOffset(relative, 16);
        if (!header)
            return std::nullopt;
        const quint64 count = quint64(*bytes_.U16(*header + 12)) + *bytes_.U16(*header + 14);
        const auto entries = ResourceOffset(quint64(relative) + 16, count * 8);
        if (!entries)
            return std::nullopt;
        QList<DirectoryEntry> result;
        result.reserve(qsizetype(count));
        for (quint64 i = 0; i < count; ++i)
            result.append({*bytes_.U32(*entries + i * 8), *bytes_.U32(*entries + i * 8 + 4)});
        return result;
    }

    // VS_VERSIONINFO: length, value length, type, the key "VS_VERSION_INFO"
    // in UTF-16, padding to a double word, then VS_FIXEDFILEINFO.
    std::optional<PeFixedVersion> ReadVersionBlock(quint64 at, quint64 size) const
    {
        static const char16_t kKey[] = u"VS_VERSION_INFO";
        constexpr quint64 keyAt = 6;
        constexpr quint64 keyBytes = sizeof(kKey); // with its terminating zero
        constexpr quint64 valueAt = (keyAt + keyBytes + 3) & ~quint64(3);
        constexpr quint64 fixedSize = 52;
        if (size < valueAt + fixedSize)
            return std::nullopt;
        const auto length = bytes_.U16(at);
        const auto valueLength = bytes_.U16(at + 2);
        if (!length || *length > size || *length < valueAt + fixedSize || !valueLength ||
            *valueLength < fixedSize)
            return std::nullopt;
        for (quint64 i = 0; i < keyBytes / 2; ++i) {
            if (bytes_.U16(at + keyAt + 2 * i) != quint16(kKey[i]))
                return std::nullopt;
        }
        const quint64 fixed = at + valueAt;
        if (bytes_.U32(fixed) != kFixedSignature)
            return std::nullopt;
        PeFixedVersion version;
        version.FileVersionMS = *bytes_.U32(fixed + 8);
        version.FileVersionLS = *bytes_.U32(fixed + 12);
        version.ProductVersionMS = *bytes_.U32(fixed + 16);
        version.ProductVersionLS = *bytes_.U32(fixed + 20);
        return version;
    }

    Bytes bytes_;
    QList<Section> sections_;
    quint32 resourceRva_ = 0;
};

} // namespace

std::optional<PeFixedVersion> ReadPeFixedVersion(QByteArrayView image)
{
    return PeImage(image).FixedVersion();
}

std::optional<PeFixedVersion> ReadPeFixedVersionFromFile(const QString& path)
{
    // Only regular files: a fifo or device would block or never end.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return std::nullopt;
    if (const uchar* mapped = file.map(0, file.size())) {
        const auto result = ReadPeFixedVersion(QByteArrayView(mapped, file.size()));
        file.unmap(const_cast<uchar*>(mapped));
        return result;
    }
    return ReadPeFixedVersion(file.readAll());
}
