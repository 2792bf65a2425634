#include "sensor/SidecarDataFile.h"

#include "platform/FileRangeReader.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

uint32_t ReadLength32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8)
        | (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

double NmeaFieldToDegrees(int32_t field)
{
    const double value = static_cast<double>(field) / 1000000.0;
    const double whole = std::trunc(value);
    return whole + (value - whole) * 100.0 / 60.0;
}

int KnotsToKmh(uint32_t knots)
{
    const double kmh = std::trunc(static_cast<double>(knots) * 1.852);
    if (kmh >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(kmh);
}

int KmhToMph(int kmh)
{
    return static_cast<int>(std::trunc(static_cast<double>(kmh) * 0.6213));
}

int DisplayedSpeed(int kmh, int countryCode, bool milesPerHour)
{
    if (countryCode != 82 && countryCode != 81 && milesPerHour)
        return KmhToMph(kmh);
    return kmh;
}

QString FormatMapCoordinate(double degrees)
{
    // printf's own rounding, so the map gets exactly the "%lf" text; the process's locale may write a
    // decimal comma, the map page needs a dot.
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%lf", degrees);
    if (n <= 0 || n >= static_cast<int>(sizeof text))
        return QString::number(degrees, 'f', 6);
    QString result = QString::fromLatin1(text, n);
    result.replace(QLatin1Char(','), QLatin1Char('.'));
    return result;
}

namespace {

// Reads exactly `count` bytes at `offset`; false when they do not all lie inside the device.
bool readAt(QIODevice& device, qint64 offset, unsigned char* out, qint64 count)
{
    if (offset < 0 || offset + count > device.size())
        return false;
    if (!device.seek(offset))
        return false;
    return device.read(reinterpret_cast<char*>(out), count) == count;
}

} // namespace

int ReadParkingType(QIODevice& device)
{
    constexpr int kOther = 2;
    if (!device.isOpen() || !device.isReadable() || device.isSequential())
        return kOther;
    unsigned char head[8];
    if (!readAt(device, 0, head, 8) || std::memcmp(head, "SENS", 4) != 0)
        return kOther;
    const qint64 s = ReadLength32(head + 4);
    if (!readAt(device, 8 + s, head, 8) || std::memcmp(head, "GPSI", 4) != 0)
        return kOther;
    const qint64 g = ReadLength32(head + 4);
    if (!readAt(device, 16 + s + g, head, 4) || std::memcmp(head, "setu", 4) != 0)
        return kOther;
    if (!readAt(device, 21 + s + g, head, 4))
        return kOther;
    const qint64 l = ReadLength32(head);
    unsigned char type = 0;
    if (!readAt(device, 29 + s + g + l, &type, 1))
        return kOther;
    if (type == 1)
        return 1;
    if (type == 2)
        return 0;
    return kOther;
}

int ReadParkingType(const QString& path)
{
    // Opening a card reads this byte for every parking recording, thousands of files: one small read per
    // field and no read-ahead.
    FileRangeReader file(path);
    if (!file.isOpen())
        return 2;
    unsigned char head[9];
    if (!file.readAt(0, head, 8) || std::memcmp(head, "SENS", 4) != 0)
        return 2;
    const int64_t s = ReadLength32(head + 4);
    if (!file.readAt(8 + s, head, 8) || std::memcmp(head, "GPSI", 4) != 0)
        return 2;
    const int64_t g = ReadLength32(head + 4);
    // The settings tag (five bytes, the fifth not looked at) and its length lie back to back; a short
    // settings block puts the parking-type byte inside the same small read.
    unsigned char tail[64];
    const int64_t tailAt = 16 + s + g;
    const int64_t got = file.readUpTo(tailAt, tail, sizeof tail);
    if (got < 9 || std::memcmp(tail, "setu", 4) != 0)
        return 2;
    const int64_t typeAt = 29 + s + g + ReadLength32(tail + 5);
    unsigned char type = 0;
    if (typeAt - tailAt < got)
        type = tail[typeAt - tailAt];
    else if (!file.readAt(typeAt, &type, 1))
        return 2;
    return type == 1 ? 1 : type == 2 ? 0 : 2;
}
