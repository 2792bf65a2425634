#pragma once

#include <functional>

// The brightness and contrast dialog's rules, free of any widget: slider positions 0 … 6 stand for the
// values 0.4 … 1.6 in steps of 0.2. Moving a slider changes the value at once and applies it (live
// preview); Cancel puts back the values of the starting positions and applies them.
class PictureAdjustment
{
public:
    static constexpr int kMinPosition = 0;
    static constexpr int kMaxPosition = 6;
    static constexpr int kNeutralPosition = 3; // 1.0

    // `brightness` and `contrast` are the player's values, changed in place; `apply` shows them.
    PictureAdjustment(float& brightness, float& contrast, bool nightVision, std::function<void()> apply);

    // 0.4 + 0.2 × position, as the 32-bit float nearest to it.
    static float valueAt(int position);
    // Truncation of (value − 0.4) / 0.2, kept within 0 … 6.
    static int positionOf(float value);

    // Positions the sliders start at: from the values, or both neutral while night vision is on.
    int initialBrightnessPosition() const { return m_initialBrightness; }
    int initialContrastPosition() const { return m_initialContrast; }

    void setBrightnessPosition(int position);
    void setContrastPosition(int position);
    // Cancel: the values of the starting positions (so an unquantised value comes back quantised).
    void restore();

    float brightness() const { return m_brightness; }
    float contrast() const { return m_contrast; }

private:
    float& m_brightness;
    float& m_contrast;
    std::function<void()> m_apply;
    int m_initialBrightness = kNeutralPosition;
    int m_initialContrast = kNeutralPosition;
};
