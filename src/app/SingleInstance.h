#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

// The single-instance rule. The first instance is the one that holds a lock file named after the
// instance name and the user; the lock is taken atomically, so of any number of processes started at
// the same moment exactly one becomes first, and a lock left by a process that died is taken over.
// Only the holder of the lock listens on the local socket of that name (removing a stale socket name is
// safe for it alone); a later instance asks it, through that socket, to bring its window forward.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Decides once; true for the first instance. A later instance has asked the first to come forward
    // (when it answers within a short time).
    bool claim();
    bool isFirst() const { return m_first; }

    // Called in the first instance when a later one asks.
    void setRaiseHandler(std::function<void()> handler) { m_raise = std::move(handler); }

    // The per-user name of the socket and the lock file, in the temporary folder.
    QString socketName() const;
    QString lockPath() const;

private:
    bool askFirstToRaise();
    void listen();

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    bool m_first = false;
    std::function<void()> m_raise;
};
