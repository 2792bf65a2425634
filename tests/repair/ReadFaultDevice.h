#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>

#include <algorithm>
#include <cstring>

// A readable device over bytes whose reads fail where the test says: a read touching a bad range fails
// (`failures` times per range, or always when negative), and from `vanishAt` on the device reads as if the file
// had been cut off there (the card pulled).
class ReadFaultDevice : public QIODevice
{
public:
    struct Bad
    {
        qint64 from;
        qint64 length;
        int failures = -1;
    };

    ReadFaultDevice(QByteArray data, QList<Bad> bad, qint64 vanishAt = -1)
        : m_data(std::move(data))
        , m_bad(std::move(bad))
        , m_vanishAt(vanishAt)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_data.size(); }
    int failedReads() const { return m_failedReads; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 from = pos();
        const qint64 end = std::min<qint64>(from + maxSize, m_vanishAt >= 0 ? m_vanishAt : m_data.size());
        for (Bad& b : m_bad) {
            if (b.failures != 0 && from < b.from + b.length && b.from < from + maxSize) {
                if (b.failures > 0)
                    --b.failures;
                ++m_failedReads;
                setErrorString(QStringLiteral("input/output error"));
                return -1;
            }
        }
        if (end <= from)
            return 0;
        std::memcpy(data, m_data.constData() + from, size_t(end - from));
        return end - from;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    QList<Bad> m_bad;
    qint64 m_vanishAt;
    int m_failedReads = 0;
};
