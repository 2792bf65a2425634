#pragma once

#include "sensor/SidecarDataFile.h"

#include <QString>

#include <optional>
#include <vector>

class QIODevice;

// The loaded data file of the recording being played: the sensor table the graph draws and the GPS
// table the speed readout and the map read. The graph window owns one; a second load replaces the first.
class SensorDataTables
{
public:
    enum class LoadResult {
        Loaded, // both tables read
        NoData, // missing or unreadable file, a wrong tag or a block cut short: nothing to report
        Damaged, // the file's size cannot be had: the caller tells the user (string 278)
    };

    static constexpr int kInitialDurationMs = 60000;
    static constexpr int kSensorRecordSize = sidecar::kRecordSize;
    static constexpr int kGpsRecordSize = sidecar::kRecordSize;

    // countryCode picks the graph range rule (81 draws a fixed +-2 g range).
    explicit SensorDataTables(int countryCode = 0);

    void setCountryCode(int countryCode) { m_countryCode = countryCode; }

    bool load(const QString& path);
    bool load(QIODevice& device);
    LoadResult lastLoadResult() const { return m_lastResult; }

    // Forgets both tables and the loaded flag (the graph's reset); duration and position stay.
    void unload();

    bool isLoaded() const { return m_loaded; }
    int sensorCount() const { return static_cast<int>(m_sensors.size()); }
    // 0 unless the file loaded: a GPS block cut short keeps no partial table the lookups would not use.
    int gpsCount() const { return static_cast<int>(m_gps.size()); }
    const std::vector<sidecar::SensorRecord>& sensorTable() const { return m_sensors; }
    const std::vector<sidecar::GpsRecord>& gpsTable() const { return m_gps; }
    int rangeTop() const { return m_rangeTop; }
    int rangeBottom() const { return m_rangeBottom; }

    int duration() const { return m_durationMs; }
    void setDuration(int ms) { m_durationMs = ms; }
    int position() const { return m_positionMs; }
    void setPosition(int ms) { m_positionMs = ms; }

    // The GPS record of the playback second of timeMs (the last record past the end of the table).
    sidecar::GpsSample gpsSample(qint64 timeMs) const;

    // The nearest sensor record for the three-axis readout; zeros at time 0, nothing past the table or
    // when x lies beyond +2 g.
    std::optional<sidecar::SensorRecord> sensorSample(double timeMs, double msPerSample) const;

private:
    void reset();
    void computeRange();

    int m_countryCode = 0;
    bool m_loaded = false;
    LoadResult m_lastResult = LoadResult::NoData;
    std::vector<sidecar::SensorRecord> m_sensors;
    std::vector<sidecar::GpsRecord> m_gps;
    int m_rangeTop = 0;
    int m_rangeBottom = 0;
    int m_durationMs = kInitialDurationMs;
    int m_positionMs = 0;
};

// The sensor count and ms per sample are read by the playback timer as well as by the graph.
int& ProcessSensorCount();
double& ProcessMsPerSample();
