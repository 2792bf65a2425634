#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// A removable device that carries no mounted volume (a damaged or unformatted card): reachable by Format and
// Check, not by opening recordings.
struct UnmountedCard
{
    QString device; // the device node, e.g. "/dev/sdb1"
    uint64_t bytes = 0;
    QString model; // vendor and model, or the SD card's product name; may be empty
};

// The mounted volumes of removable media (card readers, USB sticks): where the viewer looks for a
// camera card at start-up.
class RemovableVolumes
{
public:
    virtual ~RemovableVolumes() = default;
    // Roots of the removable volumes in mount-point order, each ending in "/".
    virtual QStringList removableRoots() const = 0;
    // The removable devices without a mounted volume, by device name.
    virtual QList<UnmountedCard> unmountedCards() const { return {}; }
};

// The implementation for this operating system.
std::unique_ptr<RemovableVolumes> CreateRemovableVolumes();
// The same over another mount table and device tree (Linux: a mountinfo file and a sysfs root).
std::unique_ptr<RemovableVolumes> CreateRemovableVolumes(const QString& mountInfoPath, const QString& deviceTreeRoot);

// A fixed list, for tests and for callers that already know the folders.
class FixedRemovableVolumes : public RemovableVolumes
{
public:
    explicit FixedRemovableVolumes(QStringList roots, QList<UnmountedCard> unmounted = {})
        : m_roots(std::move(roots))
        , m_unmounted(std::move(unmounted))
    {
    }
    QStringList removableRoots() const override { return m_roots; }
    QList<UnmountedCard> unmountedCards() const override { return m_unmounted; }

private:
    QStringList m_roots;
    QList<UnmountedCard> m_unmounted;
};
