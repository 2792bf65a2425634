#include "playback/PictureAdjustment.h"

#include <QtGlobal>
#include <cmath>

PictureAdjustment::PictureAdjustment(float& brightness, float& contrast, bool nightVision, std::function<void()> apply)
    : m_brightness(brightness)
    , m_contrast(contrast)
    , m_apply(std::move(apply))
{
    if (!nightVision) {
        m_initialBrightness = positionOf(brightness);
        m_initialContrast = positionOf(contrast);
    }
}

float PictureAdjustment::valueAt(int position)
{
    const int p = qBound(kMinPosition, position, kMaxPosition);
    return float(0.4 + 0.2 * p);
}

int PictureAdjustment::positionOf(float value)
{
    // Computed in double from the float the player holds: 1.4f is a little below 1.4, and the truncation
    // of (1.3999999 − 0.4) / 0.2 must still give 5, so a tiny tolerance absorbs the float's error.
    const double steps = (double(value) - 0.4) / 0.2;
    if (!std::isfinite(steps))
        return kNeutralPosition;
    return qBound(kMinPosition, int(std::trunc(steps + 1e-5)), kMaxPosition);
}

void PictureAdjustment::setBrightnessPosition(int position)
{
    m_brightness = valueAt(position);
    if (m_apply)
        m_apply();
}

void PictureAdjustment::setContrastPosition(int position)
{
    m_contrast = valueAt(position);
    if (m_apply)
        m_apply();
}

void PictureAdjustment::restore()
{
    m_brightness = valueAt(m_initialBrightness);
    m_contrast = valueAt(m_initialContrast);
    // The live preview changed the picture: it goes back with the values.
    if (m_apply)
        m_apply();
}
