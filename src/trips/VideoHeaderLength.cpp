#include "trips/VideoHeaderLength.h"

#include <QFile>

#include <algorithm>

namespace {

uint32_t le32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

uint32_t be32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
}

uint64_t be64(const char* p)
{
    return (uint64_t(be32(p)) << 32) | be32(p + 4);
}

bool readAt(QIODevice& device, int64_t offset, char* out, int64_t count)
{
    return device.seek(offset) && device.read(out, count) == count;
}

std::optional<int64_t> plausible(int64_t ms)
{
    if (ms <= 0 || ms > VideoHeaderLength::kMaxLengthMs)
        return std::nullopt;
    return ms;
}

// The header of the first box of `type` among the boxes in [from, to): its content offset and end.
struct Box
{
    int64_t content = 0;
    int64_t end = 0;
};

std::optional<Box> findBox(QIODevice& device, int64_t from, int64_t to, const char* type)
{
    int64_t at = from;
    // A bounded walk: a corrupt size that does not advance, or a flood of tiny boxes, ends it.
    for (int steps = 0; steps < 4096 && at + 8 <= to; ++steps) {
        char head[16];
        if (!readAt(device, at, head, 8))
            return std::nullopt;
        int64_t size = be32(head);
        int64_t headerSize = 8;
        if (size == 1) {
            if (at + 16 > to || !readAt(device, at + 8, head + 8, 8))
                return std::nullopt;
            const uint64_t large = be64(head + 8);
            if (large > uint64_t(INT64_MAX))
                return std::nullopt;
            size = int64_t(large);
            headerSize = 16;
        } else if (size == 0) {
            size = to - at;
        }
        if (size < headerSize || at + size > to)
            return std::nullopt;
        if (std::equal(head + 4, head + 8, type))
            return Box { at + headerSize, at + size };
        at += size;
    }
    return std::nullopt;
}

} // namespace

std::optional<int64_t> VideoHeaderLength::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Read(file);
}

std::optional<int64_t> VideoHeaderLength::Read(QIODevice& device)
{
    char magic[12];
    if (device.isSequential() || !readAt(device, 0, magic, 12))
        return std::nullopt;
    if (std::equal(magic, magic + 4, "RIFF") && std::equal(magic + 8, magic + 12, "AVI "))
        return readAvi(device);
    return readMp4(device);
}

std::optional<int64_t> VideoHeaderLength::readAvi(QIODevice& device)
{
    // RIFF "AVI " holds LIST "hdrl", whose first chunk is normally "avih"; the walk allows other chunks
    // before either, within the file's first megabyte.
    const int64_t limit = std::min<int64_t>(device.size(), 1 << 20);
    int64_t at = 12;
    for (int steps = 0; steps < 256 && at + 12 <= limit; ++steps) {
        char head[12];
        if (!readAt(device, at, head, 12))
            return std::nullopt;
        const int64_t size = le32(head + 4);
        if (std::equal(head, head + 4, "LIST") && std::equal(head + 8, head + 12, "hdrl")) {
            const int64_t end = std::min(limit, at + 8 + size);
            int64_t inner = at + 12;
            for (int k = 0; k < 64 && inner + 8 <= end; ++k) {
                char chunk[8];
                if (!readAt(device, inner, chunk, 8))
                    return std::nullopt;
                const int64_t chunkSize = le32(chunk + 4);
                if (std::equal(chunk, chunk + 4, "avih")) {
                    char avih[20];
                    if (chunkSize < 20 || !readAt(device, inner + 8, avih, 20))
                        return std::nullopt;
                    const uint64_t microsPerFrame = le32(avih);
                    const uint64_t totalFrames = le32(avih + 16);
                    return plausible(int64_t(totalFrames * microsPerFrame / 1000));
                }
                inner += 8 + chunkSize + (chunkSize & 1);
            }
            return std::nullopt;
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

std::optional<int64_t> VideoHeaderLength::readMp4(QIODevice& device)
{
    const int64_t size = device.size();
    const std::optional<Box> moov = findBox(device, 0, size, "moov");
    if (!moov)
        return std::nullopt;
    const std::optional<Box> mvhd = findBox(device, moov->content, moov->end, "mvhd");
    if (!mvhd)
        return std::nullopt;
    char body[32];
    if (mvhd->end - mvhd->content < 20 || !readAt(device, mvhd->content, body, 1))
        return std::nullopt;
    uint64_t timeScale = 0;
    uint64_t duration = 0;
    if (body[0] == 1) {
        if (mvhd->end - mvhd->content < 32 || !readAt(device, mvhd->content, body, 32))
            return std::nullopt;
        timeScale = be32(body + 20);
        duration = be64(body + 24);
    } else {
        if (!readAt(device, mvhd->content, body, 20))
            return std::nullopt;
        timeScale = be32(body + 12);
        duration = be32(body + 16);
        if (duration == 0xffffffffu)
            return std::nullopt;
    }
    if (timeScale == 0 || duration > uint64_t(kMaxLengthMs) * timeScale / 1000 + timeScale)
        return std::nullopt;
    return plausible(int64_t(duration * 1000 / timeScale));
}
