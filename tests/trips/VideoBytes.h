#pragma once

#include <QByteArray>

#include <cstdint>

// The few header bytes of AVI and MP4 files that carry their length, built by hand.
namespace videobytes {

inline QByteArray le32(uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xff);
    return b;
}

inline QByteArray be32(uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[3 - i] = static_cast<char>((v >> (8 * i)) & 0xff);
    return b;
}

inline QByteArray be64(uint64_t v)
{
    return be32(uint32_t(v >> 32)) + be32(uint32_t(v));
}

inline QByteArray chunk(const char* id, const QByteArray& body)
{
    return QByteArray(id, 4) + le32(uint32_t(body.size())) + body;
}

// RIFF AVI with LIST hdrl whose avih states the frame time and count; `before` goes in front of avih.
inline QByteArray avi(uint32_t microsPerFrame, uint32_t totalFrames, const QByteArray& before = QByteArray())
{
    QByteArray avih = le32(microsPerFrame) + le32(0) + le32(0) + le32(0x10) + le32(totalFrames) + QByteArray(36, '\0');
    QByteArray hdrl = QByteArray("hdrl", 4) + before + chunk("avih", avih);
    QByteArray body = QByteArray("AVI ", 4) + chunk("JUNK", QByteArray(6, '\0')) + chunk("LIST", hdrl)
        + chunk("LIST", QByteArray("movi", 4));
    return chunk("RIFF", body);
}

inline QByteArray box(const char* type, const QByteArray& body)
{
    return be32(uint32_t(body.size() + 8)) + QByteArray(type, 4) + body;
}

inline QByteArray mvhd0(uint32_t timeScale, uint32_t duration)
{
    return box(
        "mvhd", QByteArray(4, '\0') + be32(0) + be32(0) + be32(timeScale) + be32(duration) + QByteArray(80, '\0'));
}

inline QByteArray mvhd1(uint32_t timeScale, uint64_t duration)
{
    return box("mvhd",
        QByteArray(1, '\1') + QByteArray(3, '\0') + be64(0) + be64(0) + be32(timeScale) + be64(duration)
            + QByteArray(80, '\0'));
}

// ftyp, a media box, then moov with the given movie header (the camera writes moov last).
inline QByteArray mp4(const QByteArray& mvhd)
{
    return box("ftyp", QByteArray("isom\0\0\2\0isom", 12)) + box("mdat", QByteArray(1000, '\x55'))
        + box("moov", box("udta", QByteArray(8, '\0')) + mvhd);
}

} // namespace videobytes
