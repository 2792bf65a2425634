#pragma once

#include <QObject>

#include <memory>

// Tells when the system's table of mounted volumes changes (a card mounted or unmounted), without polling:
// the operating system wakes the event loop. Which volume changed is for the caller to find out.
class MountWatcher : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MountWatcher() override = default;
    // False when the operating system offers no way to watch; then mountsChanged never comes.
    virtual bool isWatching() const = 0;

Q_SIGNALS:
    void mountsChanged();
};

// The implementation for this operating system.
std::unique_ptr<MountWatcher> CreateMountWatcher(QObject* parent = nullptr);

// A watcher that reports when told to, for tests.
class ManualMountWatcher : public MountWatcher
{
    Q_OBJECT
public:
    using MountWatcher::MountWatcher;
    bool isWatching() const override { return true; }
    void reportChange() { Q_EMIT mountsChanged(); }
};
