#pragma once

#include <optional>

// The arithmetic of the skinned sliders, the stepped option slider and the progress bar, kept free of any
// GUI. Widths are client widths in pixels.
namespace slidermath {

// A position is accepted only inside [minimum, maximum] and while the slider is enabled.
bool accepts(int value, int minimum, int maximum, bool enabled);

// (value - minimum) / (maximum - minimum); 0 when the range is empty.
double ratio(int value, int minimum, int maximum);

// (width - 2 * margin) / (maximum - minimum); 0 when the range is empty.
double stepWidth(int width, int margin, int minimum, int maximum);

// Left edge of the thumb image for a value: the ends sit on the margins, the rest is spread over the whole
// width.
int thumbX(int value, int minimum, int maximum, int width, int thumbWidth, int margin);

struct Hit
{
    int value = 0;
    double ratio = 0.0;
};

// Slider without a thumb: the cursor's share of the width picks the value.
Hit valueAtNoThumb(int x, int width, int minimum, int maximum);

// Slider with a thumb: the step whose centre is within half a step of the cursor; the far ends snap to
// the minimum and maximum. Nothing when the cursor lies between steps that no rule covers.
std::optional<int> valueAtWithThumb(int x, int width, int margin, int minimum, int maximum);

// Width of the filled part of a progress bar.
int progressFillWidth(int value, int maximum, int width);

} // namespace slidermath

// The stepped option slider: steps 0 to 10 spread over the width between two margins, one or two thumbs.
namespace optionslider {

inline constexpr int kSteps = 10;
inline constexpr int kMargin = 9;
inline constexpr int kGrabDistance = 15;

double stepWidth(int width, int margin = kMargin);

// Centre of a step's thumb.
double stepCentre(int step, int width, int margin = kMargin);

// Left edge of a step's thumb image.
int thumbX(int step, int width, int thumbWidth, int margin = kMargin);

// The step 0..9 whose centre lies within half a step of x, if any. The mouse never reaches step 10.
std::optional<int> nearestStep(int x, int width, int margin = kMargin);

// Closer than margin + 15 pixels to either edge the mouse does nothing.
bool inEdgeZone(int x, int width, int margin = kMargin);

// Whether x is within 15 pixels of a step's thumb centre.
bool nearThumb(int x, int step, int width, int margin = kMargin);

// Steps of the two thumbs from the percentages set by the owner: a / 10 and (a + b) / 10.
int firstStepFor(int firstPercent);
int secondStepFor(int firstPercent, int secondPercent);

// Where a dragged thumb of a two-thumb slider goes: the nearest step, but never onto or past the other
// thumb (the first stays left of the second, the second right of the first). Nothing when no step is near.
std::optional<int> dragTwoThumb(int x, int width, bool draggingFirst, int first, int second, int margin = kMargin);

// Where the single thumb goes while dragged: step 9 past the right end, step 1 before the left end,
// otherwise the nearest step. Nothing inside the edge zones.
std::optional<int> dragSingleThumb(int x, int width, int margin = kMargin);

} // namespace optionslider
