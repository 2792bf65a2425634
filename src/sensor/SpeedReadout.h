#pragma once

#include "sensor/SidecarDataFile.h"

#include <QString>

#include <optional>

// The rules of the speed readout: the number of the current second in the user's unit, the GPS fix flag,
// which of them changed since the last second, and the position texts the map receives.
class SpeedReadout
{
public:
    static constexpr int kKmhControlId = 1081;
    static constexpr int kMphControlId = 1082;

    struct Update
    {
        bool gpsChanged = false; // repaint the fix indicator
        bool speedChanged = false; // repaint the number
        std::optional<QString> longitude; // "%lf" texts, only for a valid sample
        std::optional<QString> latitude;
    };

    explicit SpeedReadout(int countryCode = 0);

    // One GPS lookup's answer. A speed above 300 km/h is shown but is no fix and moves no map.
    Update update(const sidecar::GpsSample& sample);
    // "0", no fix, and no fix remembered either (a new category, an empty list).
    void reset();

    // The unit buttons (notification 2): 1081 km/h, 1082 mi/h. False for any other control.
    bool selectUnit(int controlId);
    int unit() const { return m_unit; } // 0 km/h, 1 mi/h
    // Korea and Japan show km/h only; elsewhere two buttons offer the choice.
    bool offersUnitChoice() const;

    int speed() const { return m_speed; }
    QString text() const { return m_text; }
    bool valid() const { return m_valid; }

    int panelImageId() const; // 3317 km/h, 3318 mi/h
    int gpsImageId() const; // 3316 fix, 3315 none

private:
    int m_countryCode = 0;
    int m_unit = 0;
    int m_speed = 0;
    int m_previousSpeed = 0;
    QString m_text = QStringLiteral("0");
    bool m_valid = false;
    bool m_previousValid = false;
};
