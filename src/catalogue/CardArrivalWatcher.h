#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class MountWatcher;
class RemovableVolumes;

// Notices a camera card inserted while the viewer runs: each time the mount table changes it compares the
// removable volumes with those it saw before, and reports every newly mounted one that holds recordings (by
// the same scan that opens a card at start-up). Volumes present when it starts are the start-up's business;
// a volume that goes away is forgotten, so that inserting it again is noticed again.
class CardArrivalWatcher : public QObject
{
    Q_OBJECT
public:
    using RecordingsCheck = std::function<bool(const QString& root)>;

    // `volumes` and `watcher` must outlive this object. Without a check, HoldsRecordings is used.
    CardArrivalWatcher(const RemovableVolumes& volumes, MountWatcher& watcher, RecordingsCheck holdsRecordings = {},
        QObject* parent = nullptr);

    // What the viewer does with an inserted card.
    enum class Action {
        Open, // open it as the drive dialog would
        Ask, // a recording plays: ask first
        Ignore // the window is busy (a dialog is open, a repair runs), or the card is the one already open
    };
    static Action Decide(bool recordingPlays, bool windowBusy, bool sameAsOpenFolder);

    // The roots in `now` that were not in `before`, in `now`'s order.
    static QStringList NewRoots(const QStringList& before, const QStringList& now);

    // The start-up's rule: the card's model (from its settings file) and a scan of its root find recordings.
    static bool HoldsRecordings(const QString& root);

    QStringList knownRoots() const { return m_known; }

Q_SIGNALS:
    void cardInserted(const QString& root);

private:
    void mountsChanged();

    const RemovableVolumes& m_volumes;
    RecordingsCheck m_holdsRecordings;
    QStringList m_known;
};
