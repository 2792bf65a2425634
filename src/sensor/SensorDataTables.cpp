#include "sensor/SensorDataTables.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

int& ProcessSensorCount()
{
    static int count = 0;
    return count;
}

double& ProcessMsPerSample()
{
    static double ms = 0.0;
    return ms;
}

namespace {

int32_t int32At(const char* p)
{
    return static_cast<int32_t>(ReadLength32(reinterpret_cast<const unsigned char*>(p)));
}

int clampToInt(int64_t v)
{
    return static_cast<int>(
        std::clamp<int64_t>(v, -int64_t { std::numeric_limits<int>::max() }, std::numeric_limits<int>::max()));
}

// Reads the whole records of a block of `declared` bytes starting at the device's position. Only the
// bytes that are really there are read, so a lying length field cannot ask for a huge buffer; `complete`
// tells whether the whole block was inside the file.
QByteArray readBlock(QIODevice& device, qint64 available, uint32_t declared, bool& complete)
{
    const qint64 wanted = declared;
    const qint64 present = std::clamp<qint64>(available, 0, wanted);
    complete = present == wanted;
    const qint64 wholeRecords = present / sidecar::kRecordSize;
    QByteArray bytes = device.read(wholeRecords * sidecar::kRecordSize);
    if (bytes.size() != wholeRecords * sidecar::kRecordSize) {
        complete = false;
        bytes.truncate(bytes.size() - bytes.size() % sidecar::kRecordSize);
    }
    return bytes;
}

} // namespace

SensorDataTables::SensorDataTables(int countryCode)
    : m_countryCode(countryCode)
{
}

void SensorDataTables::reset()
{
    m_durationMs = 0;
    m_positionMs = 0;
    m_loaded = false;
    m_sensors.clear();
    m_sensors.shrink_to_fit();
    m_gps.clear();
    m_gps.shrink_to_fit();
    ProcessSensorCount() = 0;
}

void SensorDataTables::unload()
{
    const int duration = m_durationMs;
    const int position = m_positionMs;
    reset();
    m_durationMs = duration;
    m_positionMs = position;
    m_lastResult = LoadResult::NoData;
}

bool SensorDataTables::load(const QString& path)
{
    reset();
    m_lastResult = LoadResult::NoData;
    if (!QFileInfo::exists(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return load(file);
}

bool SensorDataTables::load(QIODevice& device)
{
    reset();
    m_lastResult = LoadResult::NoData;
    if (!device.isOpen() || !device.isReadable())
        return false;
    if (device.isSequential()) {
        // A pipe has no size to check the blocks against.
        m_lastResult = LoadResult::Damaged;
        return false;
    }
    const qint64 size = device.size();
    if (!device.seek(0))
        return false;

    char head[8];
    if (device.read(head, 8) != 8 || std::memcmp(head, "SENS", 4) != 0)
        return false;
    const uint32_t s = ReadLength32(reinterpret_cast<unsigned char*>(head + 4));
    bool complete = false;
    const QByteArray sensorBytes = readBlock(device, size - 8, s, complete);
    const int sensorRecords = static_cast<int>(sensorBytes.size() / sidecar::kRecordSize);
    m_sensors.resize(static_cast<size_t>(sensorRecords));
    for (int i = 0; i < sensorRecords; ++i) {
        const char* r = sensorBytes.constData() + static_cast<qsizetype>(i) * sidecar::kRecordSize;
        m_sensors[static_cast<size_t>(i)] = { int32At(r + 4), int32At(r + 8), int32At(r + 12), int32At(r + 16) };
    }
    ProcessSensorCount() = sensorRecords;
    computeRange();
    if (!complete)
        return false;

    const qint64 gpsTagAt = 8 + static_cast<qint64>(s);
    if (!device.seek(gpsTagAt) || device.read(head, 8) != 8 || std::memcmp(head, "GPSI", 4) != 0)
        return false;
    const uint32_t g = ReadLength32(reinterpret_cast<unsigned char*>(head + 4));
    const QByteArray gpsBytes = readBlock(device, size - (gpsTagAt + 8), g, complete);
    // A GPS block cut short leaves the file unloaded, and an unloaded file answers every GPS lookup with
    // "no fix": its table stays empty, so the GPS count says the same as the lookups.
    if (!complete)
        return false;
    const int gpsRecords = static_cast<int>(gpsBytes.size() / sidecar::kRecordSize);
    m_gps.resize(static_cast<size_t>(gpsRecords));
    for (int i = 0; i < gpsRecords; ++i) {
        const char* r = gpsBytes.constData() + static_cast<qsizetype>(i) * sidecar::kRecordSize;
        m_gps[static_cast<size_t>(i)] = { int32At(r + 4), int32At(r + 8), int32At(r + 12),
            ReadLength32(reinterpret_cast<const unsigned char*>(r + 16)) };
    }

    m_loaded = true;
    m_lastResult = LoadResult::Loaded;
    return true;
}

void SensorDataTables::computeRange()
{
    if (m_countryCode == 81) {
        m_rangeTop = 2048;
        m_rangeBottom = -2048;
        return;
    }
    int64_t positiveSum = 0;
    int64_t positiveCount = 0;
    int64_t negativeSum = 0;
    int64_t negativeCount = 0;
    for (const sidecar::SensorRecord& r : m_sensors) {
        if (r.x > 0) {
            positiveSum += r.x;
            ++positiveCount;
        } else {
            negativeSum += r.x;
            ++negativeCount;
        }
    }
    if (positiveCount == 0 && negativeCount == 0) {
        m_rangeTop = 0;
        m_rangeBottom = 0;
        return;
    }
    const int64_t p = positiveCount > 0 ? positiveSum / positiveCount : 0;
    const int64_t n = negativeCount > 0 ? negativeSum / negativeCount : 0;
    const bool usePositive = positiveCount > 0 && (negativeCount == 0 || p > -n);
    // Means of 32-bit values times nine can leave the int range; the graph clamps to these anyway.
    if (usePositive) {
        m_rangeTop = clampToInt(9 * p);
        m_rangeBottom = clampToInt(-9 * p);
    } else {
        m_rangeTop = clampToInt(-9 * n);
        m_rangeBottom = clampToInt(9 * n);
    }
}

sidecar::GpsSample SensorDataTables::gpsSample(qint64 timeMs) const
{
    sidecar::GpsSample sample;
    if (!m_loaded || m_gps.empty())
        return sample;
    qint64 k = timeMs / 1000;
    const qint64 count = static_cast<qint64>(m_gps.size());
    if (k >= count)
        k = count - 1;
    if (k < 0)
        k = 0; // the player reports -1 while it has no media
    const sidecar::GpsRecord& r = m_gps[static_cast<size_t>(k)];
    if (r.fix == 0)
        return sample;
    sample.latitude = NmeaFieldToDegrees(r.latitude);
    sample.longitude = NmeaFieldToDegrees(r.longitude);
    sample.speedKmh = KnotsToKmh(r.speedKnots);
    sample.valid = sample.speedKmh >= -300 && sample.speedKmh <= 300;
    return sample;
}

std::optional<sidecar::SensorRecord> SensorDataTables::sensorSample(double timeMs, double msPerSample) const
{
    if (timeMs == 0.0)
        return sidecar::SensorRecord {};
    if (m_sensors.empty() || !(msPerSample > 0.0))
        return std::nullopt;
    const double position = std::floor(timeMs / msPerSample + 0.5);
    if (!(position >= 0.0) || position >= static_cast<double>(m_sensors.size()))
        return std::nullopt;
    const sidecar::SensorRecord& r = m_sensors[static_cast<size_t>(position)];
    if (r.x > 2048)
        return std::nullopt;
    return r;
}
