#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The roots ("/"-terminated mount points, sorted, each once) of the mounts listed in /proc/self/mountinfo
// text whose source device the predicate calls removable.
QStringList RemovableRootsFromMountInfo(
    const QByteArray& mountInfo, const std::function<bool(const QString& device)>& isRemovable);

// Whether the block device of a mount is removable media, judged from the sysfs tree under sysRoot.
bool IsRemovableBlockDevice(const QString& devicePath, const QString& sysRoot);

// /proc/self/mountinfo escapes blanks, tabs, newlines and backslashes in its fields as \ooo.
QString UnescapeMountField(const QByteArray& field);
