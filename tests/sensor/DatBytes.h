#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <vector>

// Builds data files byte by byte, so a test shows exactly which field lies or where the file ends.
namespace datbytes {

inline QByteArray u32(uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xff);
    return b;
}

inline QByteArray i32(int32_t v)
{
    return u32(static_cast<uint32_t>(v));
}

inline QByteArray sensorRecord(int32_t x, int32_t y = 0, int32_t z = 0, int32_t mark = 0)
{
    return u32(0) + i32(x) + i32(y) + i32(z) + i32(mark);
}

inline QByteArray gpsRecord(int32_t fix, int32_t latitude, int32_t longitude, uint32_t speed)
{
    return u32(0) + i32(fix) + i32(latitude) + i32(longitude) + u32(speed);
}

inline QByteArray block(const char* tag, const QByteArray& body)
{
    return QByteArray(tag, 4) + u32(static_cast<uint32_t>(body.size())) + body;
}

// SENS, GPSI, "setup" settings block, four unused bytes and the parking-type byte.
inline QByteArray dataFile(const QByteArray& sensorBody, const QByteArray& gpsBody, uint8_t parkingType,
    const QByteArray& settings = QByteArray(26, '\x07'))
{
    return block("SENS", sensorBody) + block("GPSI", gpsBody) + QByteArray("setup", 5)
        + u32(static_cast<uint32_t>(settings.size())) + settings + u32(0)
        + QByteArray(1, static_cast<char>(parkingType));
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace datbytes
