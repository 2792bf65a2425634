#include "sdcard/CardTarget.h"

#include "platform/CardDevices.h"
#include "sdcard/FatBootSector.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// A disk image starts with a boot sector (FAT, exFAT or a partition table): the 0x55 0xAA signature.
bool looksLikeImage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray sector = file.read(512);
    return sector.size() == 512 && static_cast<uint8_t>(sector[510]) == 0x55
        && static_cast<uint8_t>(sector[511]) == 0xAA;
}

} // namespace

std::optional<CardTarget> ResolveCardTarget(const QString& target, const platform::CardDevices& devices, QString* why)
{
    auto refuse = [why](const QString& text) -> std::optional<CardTarget> {
        if (why)
            *why = text;
        return std::nullopt;
    };
    const QFileInfo info(target);
    if (!info.exists())
        return refuse(QStringLiteral("%1 does not exist").arg(target));

    CardTarget card;
    if (info.isDir()) {
        const std::optional<platform::VolumeDetails> volume = devices.volumeAt(target);
        if (!volume)
            return refuse(QStringLiteral("%1 is not the mount point of a volume").arg(target));
        if (!devices.isRemovableDevice(volume->device))
            return refuse(
                QStringLiteral("%1 is mounted from %2, which is not a removable device").arg(target, volume->device));
        card.kind = CardTarget::Kind::Device;
        card.path = volume->device;
        card.mountPoint = volume->root;
        card.fsType = volume->fsType;
        card.label = volume->label;
        card.mountOptions = volume->options;
    } else if (devices.isBlockDevice(target)) {
        if (!devices.isRemovableDevice(target))
            return refuse(QStringLiteral("%1 is not a removable device").arg(target));
        card.kind = CardTarget::Kind::Device;
        card.path = target;
        if (const std::optional<QString> mountPoint = devices.mountPointOf(target)) {
            card.mountPoint = *mountPoint;
            if (const std::optional<platform::VolumeDetails> volume = devices.volumeAt(*mountPoint)) {
                card.fsType = volume->fsType;
                card.label = volume->label;
                card.mountOptions = volume->options;
            }
        }
    } else if (info.isFile()) {
        if (!looksLikeImage(target))
            return refuse(
                QStringLiteral("%1 is neither a removable device nor a disk image (no boot sector)").arg(target));
        if (devices.mountPointOf(info.absoluteFilePath()))
            return refuse(QStringLiteral("%1 is mounted; unmount it first").arg(target));
        card.kind = CardTarget::Kind::ImageFile;
        card.path = info.absoluteFilePath();
    } else {
        return refuse(QStringLiteral("%1 is neither a removable device nor a disk image").arg(target));
    }
    if (card.label.isEmpty()) {
        if (const std::optional<FatBootSector> bs = ReadFatBootSector(card.path))
            card.label = bs->label;
    }
    return card;
}

uint64_t CardTargetCapacity(const CardTarget& target, const platform::CardDevices& devices)
{
    if (target.mounted()) {
        const platform::DiskSpace space = devices.diskSpace(target.mountPoint);
        if (space.capacity > 0)
            return space.capacity;
    }
    if (target.kind == CardTarget::Kind::ImageFile)
        return static_cast<uint64_t>(QFileInfo(target.path).size());
    const std::unique_ptr<platform::RawVolume> raw
        = devices.openRaw(target.path, platform::RawAccess::ReadTimed, nullptr);
    return raw ? static_cast<uint64_t>(raw->size()) : 0;
}

uint64_t CardTargetDeviceBytes(const CardTarget& target, const platform::CardDevices& devices)
{
    if (target.kind == CardTarget::Kind::ImageFile)
        return static_cast<uint64_t>(QFileInfo(target.path).size());
    const platform::DeviceFacts facts = devices.deviceFacts(target.path);
    if (facts.known && facts.bytes > 0)
        return facts.bytes;
    const std::unique_ptr<platform::RawVolume> raw
        = devices.openRaw(target.path, platform::RawAccess::ReadTimed, nullptr);
    return raw ? static_cast<uint64_t>(raw->size()) : 0;
}

FormatGuard::Facts CardTargetFacts(const CardTarget& target, const platform::CardDevices& devices)
{
    FormatGuard::Facts facts;
    facts.bytes = CardTargetDeviceBytes(target, devices);
    if (facts.bytes == 0)
        facts.bytes = CardTargetCapacity(target, devices); // the file system's size stands in
    facts.diskBytes = facts.bytes;
    if (target.kind == CardTarget::Kind::Device) {
        const platform::DeviceFacts device = devices.deviceFacts(target.path);
        if (device.known) {
            facts.diskBytes = std::max(device.diskBytes, facts.bytes);
            facts.partitions = device.diskPartitions;
            facts.model = device.model;
            return facts;
        }
    }
    // An image (or a device the system says nothing of): its own partition table, GPT entries included.
    QFile file(target.path);
    if (file.open(QIODevice::ReadOnly))
        facts.partitions = FormatGuard::partitionsInTable(file.read(64 * 1024));
    return facts;
}
