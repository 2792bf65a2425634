#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The figures of a FAT12/16/32 boot sector that the card tools need: the cluster geometry for the read-speed
// test and the check, the label kept across a format.
struct FatBootSector
{
    uint32_t bytesPerSector = 0;
    uint32_t sectorsPerCluster = 0;
    uint64_t totalSectors = 0;
    uint64_t dataClusters = 0;
    bool fat32 = false;
    QString label; // trimmed; empty for "NO NAME"

    uint32_t clusterBytes() const { return bytesPerSector * sectorsPerCluster; }
    uint64_t dataBytes() const { return dataClusters * clusterBytes(); }
};

// Parses the first sector of a volume; nothing when it is not a plausible FAT boot sector.
std::optional<FatBootSector> ParseFatBootSector(const QByteArray& sector);
// Reads and parses the first sector of an image file or device.
std::optional<FatBootSector> ReadFatBootSector(const QString& path);
