#pragma once

#include <QtGlobal>

#include <optional>

// The arithmetic of the acceleration graph: where the cursor stands, what a click means, which plot draws
// the curves and where a value lies. The widget and the renderer only call these.
namespace graph {

inline constexpr int kControlId = 1009;
inline constexpr int kJapanLabelMargin = 25; // country 81 keeps this strip right of the plot for its labels
inline constexpr int kCursorHalfWidth = 5;

enum class PlotKind {
    None, // nothing loaded, or no samples
    Stretched, // no more samples than columns: each column picks its sample
    Compressed, // more samples than columns: one column per sample, then squeezed to the width
    CompressedJapan, // country 81: each column picks its sample, marks of skipped samples kept
};

// The client width minus the label strip for country 81.
int plotWidth(int clientWidth, int countryCode);

// plot width x t / duration, truncated; nothing while the duration is unknown (0) or negative.
std::optional<int> cursorX(int plotWidth, qint64 positionMs, qint64 durationMs);

// Set position: accepted only with data, and within 0 .. duration.
bool acceptsPosition(qint64 positionMs, qint64 durationMs, bool hasData);

// A press, drag or release at mouse x. The cursor stays put (nothing) when country 81's click lies right of
// the plot; the position is still reported (a seek beyond the length is ignored by the player).
struct MouseUpdate
{
    std::optional<int> cursorX;
    qint64 positionMs = 0;
};
MouseUpdate mouseUpdate(int mouseX, int plotWidth, int countryCode, qint64 durationMs);

PlotKind plotKind(bool loaded, int sensorCount, int plotWidth, int countryCode);

// The row of a value: zero line at height / 2, height / (2 x range top) pixels per unit, positive values
// below the zero line; the value is clamped to the range first.
int valueRow(int value, int clientHeight, int rangeTop, int rangeBottom);

// The sample drawn at column i of the stretched plot and at column k of country 81's compressed plot.
int sampleAtColumn(int column, int sampleCount, int plotWidth);

// Where the compressed plot's mark bar of sample i stands: i (i + 1) / (i count / plot width), close to
// (i + 1) x plot width / count. Sample 0 gets no bar (nothing).
std::optional<int> compressedMarkColumn(int sample, int sampleCount, int plotWidth);

} // namespace graph
