#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QString>

#include <initializer_list>
#include <utility>

namespace camera_test {

// A settings image of the given length with chosen bytes set, every other byte zero.
inline QByteArray bytes(int length, std::initializer_list<std::pair<int, int>> values = {})
{
    QByteArray image(length, '\0');
    for (auto [offset, value] : values)
        image[offset] = static_cast<char>(value);
    return image;
}

// A record that normalising leaves alone for any model: ratios 40/30/30, every option at a valid value.
inline QByteArray validImage(int length, int modelCode = -1)
{
    QByteArray image = bytes(length, { { 14, 40 }, { 15, 30 }, { 16, 30 }, { 7, 1 } });
    if (modelCode >= 0 && length > 18)
        image[18] = static_cast<char>(modelCode);
    return image;
}

inline bool writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(content) == content.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// A device that accepts writes up to a limit and then fails, or fails every read.
class FailDevice : public QIODevice
{
public:
    FailDevice(QByteArray content, qint64 writeLimit, bool failReads = false)
        : m_content(std::move(content))
        , m_writeLimit(writeLimit)
        , m_failReads(failReads)
    {
    }
    qint64 size() const override { return m_content.size(); }
    QByteArray written() const { return m_written; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_failReads)
            return -1;
        const qint64 n = qMin(maxSize, static_cast<qint64>(m_content.size()) - pos());
        if (n <= 0)
            return 0;
        memcpy(data, m_content.constData() + pos(), static_cast<size_t>(n));
        return n;
    }
    qint64 writeData(const char* data, qint64 maxSize) override
    {
        const qint64 room = m_writeLimit - m_written.size();
        if (room <= 0) {
            setErrorString(QStringLiteral("device full"));
            return -1;
        }
        const qint64 n = qMin(room, maxSize);
        m_written.append(data, n);
        return n;
    }

private:
    QByteArray m_content;
    QByteArray m_written;
    qint64 m_writeLimit;
    bool m_failReads;
};

} // namespace camera_test
