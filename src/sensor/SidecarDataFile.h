#pragma once

#include <QString>

#include <cstdint>

class QIODevice;

// The sidecar data file the camera writes next to every recording: a "SENS" block of acceleration
// samples, a "GPSI" block of one GPS fix per second, a settings block and a trailing parking-type byte.
// All numbers are little-endian.
namespace sidecar {

inline constexpr int kRecordSize = 20;
inline constexpr int kUnitsPerG = 1024;

struct SensorRecord
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    int32_t mark = 0; // 1 marks the sample (an impact); the graph draws a bar there
};

struct GpsRecord
{
    int32_t fix = 0; // 0: no position in this record
    int32_t latitude = 0; // NMEA ddmm.mmmm x 10000
    int32_t longitude = 0; // NMEA dddmm.mmmm x 10000
    uint32_t speedKnots = 0;
};

// What one playback second of the GPS table gives the speed readout and the map.
struct GpsSample
{
    bool valid = false;
    int speedKmh = 0;
    double latitude = 0.0;
    double longitude = 0.0;
};

} // namespace sidecar

// The little-endian length field of the three blocks: b0 + 256 b1 + 65536 b2 + 16777216 b3.
uint32_t ReadLength32(const unsigned char* bytes);

// One NMEA coordinate field (ddmm.mmmm or dddmm.mmmm times 10000) in decimal degrees.
double NmeaFieldToDegrees(int32_t field);

// Speed over ground in knots as whole km/h (truncated). Values beyond the int range saturate.
int KnotsToKmh(uint32_t knots);

// The mi/h figure of the speed readout: km/h x 0.6213, truncated.
int KmhToMph(int kmh);

// The speed the readout shows: mi/h only outside Korea and Japan when the user chose mi/h.
int DisplayedSpeed(int kmh, int countryCode, bool milesPerHour);

// A coordinate as the map receives it: decimal degrees with six decimals ("%lf"), always with a dot
// whatever the user's locale.
QString FormatMapCoordinate(double degrees);

// The parking-type byte of a data file: 1 when the byte is 1, 0 when it is 2, 2 for any other byte and
// for any file that is missing, unreadable or malformed. Reads only the few fields on the way to the byte.
int ReadParkingType(const QString& path);
int ReadParkingType(QIODevice& device);
