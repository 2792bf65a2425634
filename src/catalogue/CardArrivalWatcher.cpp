#include "catalogue/CardArrivalWatcher.h"

#include "catalogue/CatalogueOpenFlow.h"
#include "catalogue/RecordingCatalogue.h"
#include "platform/MountWatcher.h"
#include "platform/RemovableVolumes.h"

CardArrivalWatcher::CardArrivalWatcher(
    const RemovableVolumes& volumes, MountWatcher& watcher, RecordingsCheck holdsRecordings, QObject* parent)
    : QObject(parent)
    , m_volumes(volumes)
    , m_holdsRecordings(holdsRecordings ? std::move(holdsRecordings) : RecordingsCheck(&HoldsRecordings))
    , m_known(volumes.removableRoots())
{
    connect(&watcher, &MountWatcher::mountsChanged, this, &CardArrivalWatcher::mountsChanged);
}

CardArrivalWatcher::Action CardArrivalWatcher::Decide(bool recordingPlays, bool windowBusy, bool sameAsOpenFolder)
{
    // A dialog or a repair may be working on a card (a format mounts it again); the open card needs no opening.
    if (windowBusy || sameAsOpenFolder)
        return Action::Ignore;
    return recordingPlays ? Action::Ask : Action::Open;
}

QStringList CardArrivalWatcher::NewRoots(const QStringList& before, const QStringList& now)
{
    QStringList added;
    for (const QString& root : now) {
        if (!before.contains(root) && !added.contains(root))
            added << root;
    }
    return added;
}

bool CardArrivalWatcher::HoldsRecordings(const QString& root)
{
    int model = DefaultModelIdentifier()(root).value_or(0);
    RecordingCatalogue catalogue;
    return catalogue.ScanCatalogueFolder(root, model);
}

void CardArrivalWatcher::mountsChanged()
{
    const QStringList now = m_volumes.removableRoots();
    const QStringList added = NewRoots(m_known, now);
    m_known = now;
    for (const QString& root : added) {
        if (m_holdsRecordings(root))
            Q_EMIT cardInserted(root);
    }
}
