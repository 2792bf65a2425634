#include "sensor/SpeedReadout.h"

SpeedReadout::SpeedReadout(int countryCode)
    : m_countryCode(countryCode)
{
}

SpeedReadout::Update SpeedReadout::update(const sidecar::GpsSample& sample)
{
    Update result;
    m_speed = DisplayedSpeed(sample.speedKmh, m_countryCode, m_unit == 1);
    m_text = QString::number(m_speed);
    m_valid = sample.valid;
    if (m_valid) {
        result.longitude = FormatMapCoordinate(sample.longitude);
        result.latitude = FormatMapCoordinate(sample.latitude);
    }
    result.gpsChanged = m_valid != m_previousValid;
    result.speedChanged = m_speed != m_previousSpeed;
    m_previousValid = m_valid;
    m_previousSpeed = m_speed;
    return result;
}

void SpeedReadout::reset()
{
    m_speed = 0;
    m_previousSpeed = 0;
    m_text = QStringLiteral("0");
    m_valid = false;
    m_previousValid = false;
}

bool SpeedReadout::selectUnit(int controlId)
{
    if (controlId == kKmhControlId)
        m_unit = 0;
    else if (controlId == kMphControlId)
        m_unit = 1;
    else
        return false;
    return true;
}

bool SpeedReadout::offersUnitChoice() const
{
    return m_countryCode != 82 && m_countryCode != 81;
}

int SpeedReadout::panelImageId() const
{
    return offersUnitChoice() && m_unit == 1 ? 3318 : 3317;
}

int SpeedReadout::gpsImageId() const
{
    return m_valid ? 3316 : 3315;
}
