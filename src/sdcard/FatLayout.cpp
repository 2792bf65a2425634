#include "sdcard/FatLayout.h"

namespace {
// What mkfs.fat reserves: 32 sectors before a FAT32's tables, at most 4 before a FAT16's, and 512 root folder
// entries (32 sectors) on FAT16. A few clusters more than the floor keep the choice clear of rounding.
constexpr uint64_t kSafety = 16;
} // namespace

uint64_t FatLayout::clustersAtLeast(uint64_t sectors, int fatBits, int clusterSectors)
{
    const uint64_t c = static_cast<uint64_t>(clusterSectors);
    const uint64_t reserved = fatBits == 32 ? 32 : 4;
    const uint64_t rootSectors = fatBits == 32 ? 0 : 32;
    const uint64_t upper = sectors / c + 2;
    const uint64_t entryBytes = fatBits == 32 ? 4 : 2;
    const uint64_t fatSectors = (upper * entryBytes + kSectorBytes - 1) / kSectorBytes;
    const uint64_t overhead = reserved + 2 * fatSectors + rootSectors + (c - 1); // the alignment pads < 1 cluster
    return sectors > overhead ? (sectors - overhead) / c : 0;
}

std::optional<FatLayout> FatLayout::forCard(uint64_t bytes, int cameraClusterSectors)
{
    const uint64_t sectors = bytes / kSectorBytes;
    for (int c = cameraClusterSectors; c >= 1; c /= 2) {
        const uint64_t clusters = clustersAtLeast(sectors, 32, c);
        if (clusters >= kMinFat32Clusters + kSafety)
            return FatLayout { 32, c, clusters };
    }
    // FAT16: the smallest cluster (up to 32 KiB, the largest every system reads) that keeps the cluster count
    // under FAT16's ceiling, counted high (every sector a cluster), and over its floor, counted low.
    for (int c = 1; c <= 64 && c <= cameraClusterSectors; c *= 2) {
        if (sectors / static_cast<uint64_t>(c) > kMaxFat16Clusters)
            continue;
        const uint64_t clusters = clustersAtLeast(sectors, 16, c);
        if (clusters >= kMinFat16Clusters + kSafety)
            return FatLayout { 16, c, clusters };
        break;
    }
    return std::nullopt;
}
