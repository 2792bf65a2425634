#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// Writes data files the way the camera does: "SENS" block, "GPSI" block, "setup" settings block, four
// unused bytes and the parking-type byte. Used by the demo card maker and the catalogue benchmark.
namespace sidecarwriter {

struct Sensor
{
    int32_t x = 0, y = 0, z = 0, mark = 0;
};

struct Gps
{
    int32_t fix = 1;
    int32_t latitude = 0; // NMEA ddmm.mmmm x 10000
    int32_t longitude = 0; // NMEA dddmm.mmmm x 10000
    uint32_t speedKnots = 0;
};

inline void putU32(QByteArray& out, uint32_t v)
{
    const char bytes[4] = { static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
        static_cast<char>((v >> 16) & 0xff), static_cast<char>((v >> 24) & 0xff) };
    out.append(bytes, 4);
}

inline void putI32(QByteArray& out, int32_t v)
{
    putU32(out, static_cast<uint32_t>(v));
}

// Decimal degrees as the camera's NMEA field: (degrees x 100 + minutes) x 10000.
inline int32_t degreesToNmeaField(double degrees)
{
    const bool negative = degrees < 0;
    const double magnitude = negative ? -degrees : degrees;
    const int whole = static_cast<int>(magnitude);
    const double minutes = (magnitude - whole) * 60.0;
    const auto field = static_cast<int32_t>(whole * 1000000.0 + minutes * 10000.0 + 0.5);
    return negative ? -field : field;
}

inline QByteArray buildDataFile(const std::vector<Sensor>& sensors, const std::vector<Gps>& gps,
    const QByteArray& settings, uint8_t parkingType, uint32_t firstTick = 0)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(40 + sensors.size() * 20 + gps.size() * 20) + settings.size());
    out.append("SENS", 4);
    putU32(out, static_cast<uint32_t>(sensors.size() * 20));
    uint32_t tick = firstTick;
    for (const Sensor& s : sensors) {
        putU32(out, tick++);
        putI32(out, s.x);
        putI32(out, s.y);
        putI32(out, s.z);
        putI32(out, s.mark);
    }
    out.append("GPSI", 4);
    putU32(out, static_cast<uint32_t>(gps.size() * 20));
    tick = firstTick;
    for (const Gps& g : gps) {
        putU32(out, tick++);
        putI32(out, g.fix);
        putI32(out, g.latitude);
        putI32(out, g.longitude);
        putU32(out, g.speedKnots);
    }
    out.append("setup", 5);
    putU32(out, static_cast<uint32_t>(settings.size()));
    out.append(settings);
    putU32(out, 0);
    out.append(static_cast<char>(parkingType));
    return out;
}

} // namespace sidecarwriter
