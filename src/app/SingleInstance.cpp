#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent)
    , m_name(name)
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::socketName() const
{
    return QStringLiteral("%1-%2").arg(m_name).arg(getuid());
}

QString SingleInstance::lockPath() const
{
    return QDir(QDir::tempPath()).filePath(socketName() + QStringLiteral(".lock"));
}

bool SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(lockPath());
    // A lock whose process is gone is stale at once; a live holder keeps it for its whole life.
    m_lock->setStaleLockTime(0);
    m_first = m_lock->tryLock(0);
    if (m_first) {
        listen();
        return true;
    }
    askFirstToRaise();
    return false;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    // Only the lock holder gets here: any socket of this name belongs to an instance that has died.
    QLocalServer::removeServer(socketName());
    if (!m_server->listen(socketName()))
        return; // no raising then, but the rule itself holds through the lock
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (peer->readAll().startsWith("raise") && m_raise)
                    m_raise();
            });
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::askFirstToRaise()
{
    // The first instance may have taken the lock a moment ago and not be listening yet: try twice.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QLocalSocket probe;
        probe.connectToServer(socketName());
        if (probe.waitForConnected(300)) {
            probe.write("raise\n");
            probe.waitForBytesWritten(300);
            probe.disconnectFromServer();
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}
