#include "Mp4CameraLayout.h"

#include <QList>

#include <cstdint>

namespace mp4layout {

namespace {

struct Box
{
    QByteArray type;
    qsizetype start = 0; // of the header
    qsizetype header = 8; // header length
    qsizetype size = 0; // whole box
};

uint32_t be32(const QByteArray& d, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(d.constData() + at);
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

uint64_t be64(const QByteArray& d, qsizetype at)
{
    return (uint64_t(be32(d, at)) << 32) | be32(d, at + 4);
}

void putBe32(QByteArray& d, qsizetype at, uint32_t v)
{
    d[at] = char(v >> 24);
    d[at + 1] = char(v >> 16);
    d[at + 2] = char(v >> 8);
    d[at + 3] = char(v);
}

void putBe64(QByteArray& d, qsizetype at, uint64_t v)
{
    putBe32(d, at, uint32_t(v >> 32));
    putBe32(d, at + 4, uint32_t(v));
}

bool children(const QByteArray& d, qsizetype from, qsizetype to, QList<Box>& out)
{
    qsizetype at = from;
    while (at + 8 <= to) {
        Box b;
        b.start = at;
        b.type = d.mid(at + 4, 4);
        uint64_t size = be32(d, at);
        if (size == 1) {
            if (at + 16 > to)
                return false;
            size = be64(d, at + 8);
            b.header = 16;
        } else if (size == 0) {
            size = uint64_t(to - at);
        }
        if (size < uint64_t(b.header) || at + qsizetype(size) > to)
            return false;
        b.size = qsizetype(size);
        out.append(b);
        at += b.size;
    }
    return at == to;
}

const Box* find(const QList<Box>& boxes, const char* type)
{
    for (const Box& b : boxes)
        if (b.type == type)
            return &b;
    return nullptr;
}

bool isVideoTrack(const QByteArray& d, const Box& trak)
{
    QList<Box> inTrak, inMdia;
    if (!children(d, trak.start + 8, trak.start + trak.size, inTrak))
        return false;
    const Box* mdia = find(inTrak, "mdia");
    if (!mdia || !children(d, mdia->start + 8, mdia->start + mdia->size, inMdia))
        return false;
    const Box* hdlr = find(inMdia, "hdlr");
    return hdlr && d.mid(hdlr->start + 16, 4) == "vide";
}

// Adds delta to every chunk offset below `box` (moov relative data in `d`).
bool shiftChunkOffsets(QByteArray& d, qsizetype from, qsizetype to, int64_t delta)
{
    QList<Box> boxes;
    if (!children(d, from, to, boxes))
        return false;
    for (const Box& b : boxes) {
        if (b.type == "trak" || b.type == "mdia" || b.type == "minf" || b.type == "stbl") {
            if (!shiftChunkOffsets(d, b.start + b.header, b.start + b.size, delta))
                return false;
        } else if (b.type == "stco" || b.type == "co64") {
            const qsizetype countAt = b.start + b.header + 4;
            const uint32_t count = be32(d, countAt);
            const qsizetype entry = b.type == "stco" ? 4 : 8;
            if (countAt + 4 + qsizetype(count) * entry > b.start + b.size)
                return false;
            for (uint32_t i = 0; i < count; ++i) {
                const qsizetype at = countAt + 4 + qsizetype(i) * entry;
                if (entry == 4) {
                    const int64_t v = int64_t(be32(d, at)) + delta;
                    if (v < 0 || v > int64_t(UINT32_MAX))
                        return false;
                    putBe32(d, at, uint32_t(v));
                } else {
                    putBe64(d, at, uint64_t(int64_t(be64(d, at)) + delta));
                }
            }
        }
    }
    return true;
}

} // namespace

bool probeSize(const QByteArray& head, int& width, int& height)
{
    if (head.size() < 238)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(head.constData());
    width = (p[232] << 8) | p[233];
    height = (p[236] << 8) | p[237];
    return true;
}

bool rewriteToCameraLayout(const QByteArray& input, QByteArray& output, QString& error)
{
    QList<Box> top;
    if (!children(input, 0, input.size(), top)) {
        error = QStringLiteral("the file is not a sequence of MP4 boxes");
        return false;
    }
    const Box* moov = find(top, "moov");
    const Box* mdat = find(top, "mdat");
    if (!moov || !mdat) {
        error = QStringLiteral("moov or mdat missing");
        return false;
    }
    QList<Box> inMoov;
    if (!children(input, moov->start + 8, moov->start + moov->size, inMoov)) {
        error = QStringLiteral("moov is damaged");
        return false;
    }
    const Box* mvhd = find(inMoov, "mvhd");
    if (!mvhd || mvhd->size != 108 || input.at(mvhd->start + 8) != 0) {
        error = QStringLiteral("mvhd is not a version-0 box of 108 bytes");
        return false;
    }
    // New moov: mvhd, the video track, the other tracks, everything else.
    QByteArray moovBody = input.mid(mvhd->start, mvhd->size);
    const Box* video = nullptr;
    for (const Box& b : inMoov)
        if (b.type == "trak" && isVideoTrack(input, b)) {
            video = &b;
            break;
        }
    if (!video) {
        error = QStringLiteral("no video track");
        return false;
    }
    QList<Box> inVideo;
    children(input, video->start + 8, video->start + video->size, inVideo);
    const Box* tkhd = inVideo.isEmpty() ? nullptr : &inVideo.first();
    if (!tkhd || tkhd->type != "tkhd" || tkhd->size != 92 || input.at(tkhd->start + 8) != 0) {
        error = QStringLiteral("the video track does not start with a version-0 tkhd");
        return false;
    }
    moovBody += input.mid(video->start, video->size);
    for (const Box& b : inMoov)
        if (b.type == "trak" && &b != video)
            moovBody += input.mid(b.start, b.size);
    for (const Box& b : inMoov)
        if (b.type != "trak" && b.type != "mvhd")
            moovBody += input.mid(b.start, b.size);

    QByteArray ftyp;
    ftyp.append("\0\0\0\x18"
                "ftyp"
                "isom"
                "\0\0\x02\0"
                "isom"
                "avc1",
        24);
    QByteArray newMoov(8, '\0');
    putBe32(newMoov, 0, uint32_t(8 + moovBody.size()));
    newMoov.replace(4, 4, "moov");
    newMoov += moovBody;
    const qsizetype newMdatStart = ftyp.size() + newMoov.size();
    if (!shiftChunkOffsets(newMoov, 8, newMoov.size(), int64_t(newMdatStart) - int64_t(mdat->start))) {
        error = QStringLiteral("chunk offsets cannot be moved");
        return false;
    }
    output = ftyp + newMoov + input.mid(mdat->start, mdat->size);
    return true;
}

} // namespace mp4layout
