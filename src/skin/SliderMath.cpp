#include "skin/SliderMath.h"

#include <cmath>

namespace slidermath {

bool accepts(int value, int minimum, int maximum, bool enabled)
{
    return enabled && value >= minimum && value <= maximum;
}

double ratio(int value, int minimum, int maximum)
{
    if (maximum <= minimum)
        return 0.0;
    return double(value - minimum) / double(maximum - minimum);
}

double stepWidth(int width, int margin, int minimum, int maximum)
{
    if (maximum <= minimum)
        return 0.0;
    return double(width - 2 * margin) / double(maximum - minimum);
}

int thumbX(int value, int minimum, int maximum, int width, int thumbWidth, int margin)
{
    if (value <= minimum || maximum <= minimum)
        return margin - thumbWidth / 2;
    if (value >= maximum)
        return width - thumbWidth / 2 - margin;
    return int((long long)(value - minimum) * width / (maximum - minimum)) - thumbWidth / 2;
}

Hit valueAtNoThumb(int x, int width, int minimum, int maximum)
{
    if (x < 0 || width <= 0)
        return { minimum, 0.0 };
    if (x > width)
        return { maximum, maximum > minimum ? 1.0 : 0.0 };
    const double share = double(x) / double(width);
    // The value counts from the minimum so that ranges not starting at 0 map correctly.
    return { minimum + int(share * double(maximum - minimum)), maximum > minimum ? share : 0.0 };
}

std::optional<int> valueAtWithThumb(int x, int width, int margin, int minimum, int maximum)
{
    const double step = stepWidth(width, margin, minimum, maximum);
    if (step <= 0.0)
        return std::nullopt;
    const double half = step / 2.0;
    if (x > width - margin - half)
        return maximum;
    if (x < half)
        return minimum;
    for (int i = 0; i <= maximum - minimum; ++i) {
        if (std::abs(double(x) - (margin + i * step)) <= half)
            return minimum + i;
    }
    return std::nullopt;
}

int progressFillWidth(int value, int maximum, int width)
{
    if (maximum <= 0 || value <= 0)
        return 0;
    if (value >= maximum)
        return width;
    return int(double(value) / double(maximum) * double(width));
}

} // namespace slidermath

namespace optionslider {

double stepWidth(int width, int margin)
{
    return double(width - 2 * margin) / double(kSteps);
}

double stepCentre(int step, int width, int margin)
{
    return step * stepWidth(width, margin) + margin;
}

int thumbX(int step, int width, int thumbWidth, int margin)
{
    return int(stepCentre(step, width, margin)) - thumbWidth / 2;
}

std::optional<int> nearestStep(int x, int width, int margin)
{
    const double step = stepWidth(width, margin);
    if (step <= 0.0)
        return std::nullopt;
    for (int i = 0; i <= kSteps - 1; ++i) {
        if (std::abs(double(x) - stepCentre(i, width, margin)) <= step / 2.0)
            return i;
    }
    return std::nullopt;
}

bool inEdgeZone(int x, int width, int margin)
{
    return x < margin + kGrabDistance || width - x < margin + kGrabDistance;
}

bool nearThumb(int x, int step, int width, int margin)
{
    return std::abs(double(x) - stepCentre(step, width, margin)) <= kGrabDistance;
}

int firstStepFor(int firstPercent)
{
    return firstPercent / 10;
}

int secondStepFor(int firstPercent, int secondPercent)
{
    return (firstPercent + secondPercent) / 10;
}

std::optional<int> dragTwoThumb(int x, int width, bool draggingFirst, int first, int second, int margin)
{
    if (inEdgeZone(x, width, margin))
        return std::nullopt;
    if (draggingFirst) {
        if (nearThumb(x, second, width, margin))
            return second - 1;
        const std::optional<int> step = nearestStep(x, width, margin);
        if (!step)
            return std::nullopt;
        // A fast drag can jump past the other thumb; the thumbs still never meet.
        return *step > second - 1 ? second - 1 : *step;
    }
    if (nearThumb(x, first, width, margin))
        return first + 1;
    const std::optional<int> step = nearestStep(x, width, margin);
    if (!step)
        return std::nullopt;
    return *step < first + 1 ? first + 1 : *step;
}

std::optional<int> dragSingleThumb(int x, int width, int margin)
{
    if (inEdgeZone(x, width, margin))
        return std::nullopt;
    const double half = stepWidth(width, margin) / 2.0;
    if (x > width - margin - half)
        return kSteps - 1;
    if (x < margin + half)
        return 1;
    return nearestStep(x, width, margin);
}

} // namespace optionslider
