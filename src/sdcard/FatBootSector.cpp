#include "sdcard/FatBootSector.h"

#include <QFile>

namespace {

uint32_t le16(const QByteArray& b, int at)
{
    return static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8);
}

uint32_t le32(const QByteArray& b, int at)
{
    return le16(b, at) | (le16(b, at + 2) << 16);
}

bool powerOfTwo(uint32_t v)
{
    return v != 0 && (v & (v - 1)) == 0;
}

} // namespace

std::optional<FatBootSector> ParseFatBootSector(const QByteArray& sector)
{
    if (sector.size() < 512 || static_cast<uint8_t>(sector[510]) != 0x55 || static_cast<uint8_t>(sector[511]) != 0xAA)
        return std::nullopt;
    FatBootSector bs;
    bs.bytesPerSector = le16(sector, 11);
    bs.sectorsPerCluster = static_cast<uint8_t>(sector[13]);
    const uint32_t reserved = le16(sector, 14);
    const uint32_t fats = static_cast<uint8_t>(sector[16]);
    const uint32_t rootEntries = le16(sector, 17);
    const uint32_t total16 = le16(sector, 19);
    const uint32_t fatSize16 = le16(sector, 22);
    const uint32_t total32 = le32(sector, 32);
    if (!powerOfTwo(bs.bytesPerSector) || bs.bytesPerSector < 512 || bs.bytesPerSector > 4096
        || !powerOfTwo(bs.sectorsPerCluster) || reserved == 0 || fats == 0)
        return std::nullopt;
    bs.fat32 = fatSize16 == 0;
    const uint32_t fatSize = bs.fat32 ? le32(sector, 36) : fatSize16;
    bs.totalSectors = total16 != 0 ? total16 : total32;
    const uint64_t rootSectors = (uint64_t(rootEntries) * 32 + bs.bytesPerSector - 1) / bs.bytesPerSector;
    const uint64_t meta = reserved + uint64_t(fats) * fatSize + rootSectors;
    if (fatSize == 0 || bs.totalSectors <= meta)
        return std::nullopt;
    bs.dataClusters = (bs.totalSectors - meta) / bs.sectorsPerCluster;
    const int labelAt = bs.fat32 ? 71 : 43;
    bs.label = QString::fromLatin1(sector.mid(labelAt, 11)).trimmed();
    if (bs.label == QLatin1String("NO NAME"))
        bs.label.clear();
    return bs;
}

std::optional<FatBootSector> ReadFatBootSector(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseFatBootSector(file.read(512));
}
