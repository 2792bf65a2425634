#pragma once

#include "sensor/SidecarDataFile.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

class QPainter;

// The acceleration graph drawn as pure functions of the tables, the range, the size, the country and the
// cursor, so the pixels are tested without a window. The curves cost as much as the recording is long; the
// cursor costs the same for every recording. The widget therefore keeps the curves in a picture made once
// per load and size (RenderGraphCurves) and paints the cursor under it on every position (PaintGraph).
namespace graphcolours {
inline const QColor kFrame(152, 152, 152);
inline const QColor kX(200, 30, 30);
inline const QColor kY(30, 200, 30);
inline const QColor kZ(30, 30, 200);
inline const QColor kMark(255, 157, 33); // cursor bar and sample marks
inline const QColor kLabel(255, 255, 255);
inline const QColor kImpact(0, 220, 255); // impact ticks, apart from the curves and the marks
} // namespace graphcolours

struct GraphScene
{
    const std::vector<sidecar::SensorRecord>* sensors = nullptr;
    bool loaded = false;
    int rangeTop = 0;
    int rangeBottom = 0;
    QSize size;
    int countryCode = 0;
    // Sensor samples where an impact peaks: each gets a tick at the top and bottom edge. None: the graph is
    // drawn exactly as without them.
    const std::vector<int>* impactSamples = nullptr;
};

// Marks, the three curves, frame, grid and labels over a transparent background.
QImage RenderGraphCurves(const GraphScene& scene);

// The cursor bar's pixels: x - 5 up to x + 5 (exclusive), full height; for country 81 it ends at the plot.
QRect CursorBarRect(int cursorX, const QSize& size, int countryCode);

// Paints the part `dirty` of the graph: black, the cursor bar, then the curves picture over them.
void PaintGraph(
    QPainter& painter, const QRect& dirty, const QImage& curves, std::optional<int> cursorX, int countryCode);

// The whole graph in one picture (what the window shows).
QImage RenderGraph(const GraphScene& scene, std::optional<int> cursorX);
