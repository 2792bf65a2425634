#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// What may be formatted as a camera card. USB hard disks count as removable too, so a format looks at what the
// target plainly is before it asks: nothing larger than any SD card (the SDXC ceiling of 2 TiB) and nothing that
// holds a partition table with more than one partition; and nothing too small for any FAT (FatLayout). The
// first two yield to the command line's --force; a card too small never does.
struct FormatGuard
{
    static constexpr uint64_t kLargestCardBytes = 2ULL << 40;

    enum class Refusal { None, TooLarge, SeveralPartitions, TooSmall };

    // The figures the rule looks at.
    struct Facts
    {
        uint64_t bytes = 0; // what the format writes over (the partition, the whole device, the image)
        uint64_t diskBytes = 0; // of the whole device (the image itself for an image)
        int partitions = 0; // partitions in the partition table that holds the target (or that the target holds)
        QString model; // for the confirmation only
    };

    static Refusal check(const Facts& facts, int cameraClusterSectors, bool force);
    // English for the command line and the helper's diagnostics.
    static QString describe(Refusal refusal, const Facts& facts);

    // The partitions an MBR or GPT partition table in the first sectors of a device or image lists; 0 when those
    // sectors hold a FAT boot sector (a card formatted without a table) or no table at all.
    static int partitionsInTable(const QByteArray& firstSectors);
};
