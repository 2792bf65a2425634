#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The mounted volumes of removable media (card readers, USB sticks): where the viewer looks for a
// camera card at start-up.
class RemovableVolumes
{
public:
    virtual ~RemovableVolumes() = default;
    // Roots of the removable volumes in mount-point order, each ending in "/".
    virtual QStringList removableRoots() const = 0;
};

// The implementation for this operating system.
std::unique_ptr<RemovableVolumes> CreateRemovableVolumes();
// The same over another mount table and device tree (Linux: a mountinfo file and a sysfs root).
std::unique_ptr<RemovableVolumes> CreateRemovableVolumes(const QString& mountInfoPath, const QString& deviceTreeRoot);

// A fixed list, for tests and for callers that already know the folders.
class FixedRemovableVolumes : public RemovableVolumes
{
public:
    explicit FixedRemovableVolumes(QStringList roots)
        : m_roots(std::move(roots))
    {
    }
    QStringList removableRoots() const override { return m_roots; }

private:
    QStringList m_roots;
};
