#pragma once

#include "platform/CardDevices.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>
#include <functional>

namespace card_test {

// A card in memory: reads and writes stop at its end, and can be made to fail from an offset on.
class MemoryVolume : public platform::RawVolume
{
public:
    explicit MemoryVolume(int64_t size)
        : bytes(size, char(0x5a))
    {
    }
    int64_t read(void* into, int64_t size) override
    {
        if (onRead)
            onRead();
        if (failAt >= 0 && pos >= failAt)
            return -1;
        const int64_t n = std::min<int64_t>(size, bytes.size() - pos);
        std::memcpy(into, bytes.constData() + pos, static_cast<size_t>(n));
        pos += n;
        return n;
    }
    int64_t write(const void* data, int64_t size) override
    {
        if (failAt >= 0 && pos >= failAt)
            return -1;
        const int64_t n = std::min<int64_t>(size, bytes.size() - pos);
        std::memcpy(bytes.data() + pos, data, static_cast<size_t>(n));
        pos += n;
        return n;
    }
    bool seek(int64_t to) override
    {
        pos = to;
        return true;
    }
    bool flush() override { return true; }
    int64_t size() const override { return bytes.size(); }
    int alignment() const override { return 1; }
    QString errorString() const override { return {}; }

    QByteArray bytes;
    int64_t pos = 0;
    int64_t failAt = -1;
    std::function<void()> onRead;
};

} // namespace card_test
