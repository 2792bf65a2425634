#include "incident/WriteBackPacer.h"

#include "platform/FileTransfer.h"

#include <QFile>

#include <chrono>

WriteBackPacer::WriteBackPacer(QString path)
    : m_thread([this, path = std::move(path)] { run(path); })
{
}

WriteBackPacer::~WriteBackPacer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void WriteBackPacer::run(const QString& path)
{
    QFile file(path);
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(8), [this] { return m_stop; })) {
        lock.unlock();
        if (file.isOpen() || file.open(QIODevice::ReadOnly))
            platform::startWriteBack(file);
        lock.lock();
    }
}
