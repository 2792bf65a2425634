#pragma once

#include <cstdint>
#include <optional>

// The file system a format gives a card of a given size. The camera's cluster size (64 or 128 sectors) is kept
// where FAT32 stays valid with it; FAT32 needs at least 65,525 clusters, so below about 2 GiB the camera's
// cluster size would leave a FAT32 that other tools misread. Then the largest smaller cluster size that keeps
// FAT32 valid is taken, and where no FAT32 can be valid (below about 33 MiB), FAT16. A card too small even for
// FAT16 gets no layout and is refused before it is touched.
struct FatLayout
{
    static constexpr uint64_t kMinFat32Clusters = 65525;
    static constexpr uint64_t kMinFat16Clusters = 4085;
    static constexpr uint64_t kMaxFat16Clusters = 65524;
    static constexpr uint32_t kSectorBytes = 512;

    int fatBits = 32; // 32 or 16
    int clusterSectors = 64;
    uint64_t clusters = 0; // the estimate the choice rests on (at least this many for FAT32 and FAT16's floor)

    bool operator==(const FatLayout&) const = default;

    static std::optional<FatLayout> forCard(uint64_t bytes, int cameraClusterSectors);

    // The clusters a FAT of this kind leaves on the card, estimated low: reserved sectors, two FATs, FAT16's root
    // folder and mkfs.fat's alignment of the data area to whole clusters taken off.
    static uint64_t clustersAtLeast(uint64_t sectors, int fatBits, int clusterSectors);
};
