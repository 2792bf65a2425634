#include "sdcard/FormatGuard.h"

#include "sdcard/FatBootSector.h"
#include "sdcard/FatLayout.h"

#include <QtEndian>

#include <algorithm>

FormatGuard::Refusal FormatGuard::check(const Facts& facts, int cameraClusterSectors, bool force)
{
    if (!FatLayout::forCard(facts.bytes, cameraClusterSectors))
        return Refusal::TooSmall;
    if (force)
        return Refusal::None;
    if (facts.bytes > kLargestCardBytes || facts.diskBytes > kLargestCardBytes)
        return Refusal::TooLarge;
    if (facts.partitions > 1)
        return Refusal::SeveralPartitions;
    return Refusal::None;
}

QString FormatGuard::describe(Refusal refusal, const Facts& facts)
{
    switch (refusal) {
    case Refusal::None:
        return {};
    case Refusal::TooLarge:
        return QStringLiteral("%1 bytes is more than any SD card holds (over 2 TB); --force formats it anyway")
            .arg(std::max(facts.bytes, facts.diskBytes));
    case Refusal::SeveralPartitions:
        return QStringLiteral("its disk holds a partition table with %1 partitions, which no camera card has; "
                              "--force formats it anyway")
            .arg(facts.partitions);
    case Refusal::TooSmall:
        return QStringLiteral("%1 bytes is too small for a valid FAT file system").arg(facts.bytes);
    }
    return {};
}

int FormatGuard::partitionsInTable(const QByteArray& s)
{
    if (s.size() < 512 || static_cast<uint8_t>(s[510]) != 0x55 || static_cast<uint8_t>(s[511]) != 0xAA)
        return 0;
    // A FAT boot sector's tail is boot code, not a table.
    if (ParseFatBootSector(s.left(512)))
        return 0;
    const auto* bytes = reinterpret_cast<const uchar*>(s.constData());
    int mbr = 0;
    bool gpt = false;
    for (int i = 0; i < 4; ++i) {
        const uchar type = bytes[446 + 16 * i + 4];
        if (type == 0xEE)
            gpt = true;
        else if (type != 0)
            ++mbr;
    }
    if (!gpt)
        return mbr;
    // The protective MBR points at the GPT header in sector 1.
    if (s.size() < 1024 || s.mid(512, 8) != QByteArray("EFI PART"))
        return 1;
    const uint64_t entriesLba = qFromLittleEndian<quint64>(bytes + 512 + 72);
    const uint32_t count = qFromLittleEndian<quint32>(bytes + 512 + 80);
    const uint32_t entrySize = qFromLittleEndian<quint32>(bytes + 512 + 84);
    if (entrySize < 128 || entriesLba > static_cast<uint64_t>(s.size()) / 512)
        return 1;
    int used = 0;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t at = entriesLba * 512 + i * entrySize;
        if (at + 16 > static_cast<uint64_t>(s.size()))
            break;
        const QByteArray typeGuid = s.mid(static_cast<qsizetype>(at), 16);
        if (typeGuid != QByteArray(16, '\0'))
            ++used;
    }
    return std::max(used, 1);
}
