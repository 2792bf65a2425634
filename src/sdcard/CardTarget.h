#pragma once

#include "sdcard/FormatGuard.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace platform {
class CardDevices;
}

// What the card tools may work on: a removable device (given as its mount point or its device node) or a disk
// image file. Everything else is refused, so a typing error can never format a system disk.
struct CardTarget
{
    enum class Kind { Device, ImageFile };
    Kind kind = Kind::ImageFile;
    QString path; // the device node or image file
    QString mountPoint; // "/"-terminated, empty when not mounted
    QString fsType; // of the mount, empty when not mounted
    QString label; // the volume label, kept across a format
    QString mountOptions; // of the mount, empty when not mounted

    bool mounted() const { return !mountPoint.isEmpty(); }
};

// Resolves a user's TARGET; on refusal returns nothing and says why.
std::optional<CardTarget> ResolveCardTarget(const QString& target, const platform::CardDevices& devices, QString* why);

// The capacity the formatter rule looks at: the mounted file system's total bytes, else the size of the
// device or image.
uint64_t CardTargetCapacity(const CardTarget& target, const platform::CardDevices& devices);

// The bytes a format writes over: the device's or image's own size.
uint64_t CardTargetDeviceBytes(const CardTarget& target, const platform::CardDevices& devices);

// What the format's refusal rule and confirmation look at: sizes, the partition table, the model.
FormatGuard::Facts CardTargetFacts(const CardTarget& target, const platform::CardDevices& devices);
