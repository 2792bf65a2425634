#pragma once

#include <QIODevice>

// Passes reads and writes to another device until `budget` bytes have been written; from then on every write
// fails, as on a full disk.
class FailDevice : public QIODevice
{
public:
    FailDevice(QIODevice* inner, qint64 budget)
        : m_inner(inner)
        , m_budget(budget)
    {
        open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_inner->size(); }
    bool seek(qint64 pos) override { return QIODevice::seek(pos) && m_inner->seek(pos); }
    qint64 written() const { return m_written; }

protected:
    qint64 readData(char* data, qint64 maxSize) override { return m_inner->read(data, maxSize); }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (m_written + size > m_budget) {
            setErrorString(QStringLiteral("no space left on device"));
            return -1;
        }
        const qint64 n = m_inner->write(data, size);
        if (n > 0)
            m_written += n;
        return n;
    }

private:
    QIODevice* m_inner;
    qint64 m_budget;
    qint64 m_written = 0;
};
