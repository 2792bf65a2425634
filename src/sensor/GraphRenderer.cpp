#include "sensor/GraphRenderer.h"

#include "sensor/GraphGeometry.h"
#include "skin/SkinFont.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace {

// Pens of one pixel without a last point, so that consecutive segments join without doubling a pixel.
QPen curvePen(const QColor& colour)
{
    QPen pen(colour);
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// The three curves, one segment per axis and step, always in the order x, y, z.
class CurveSteps
{
public:
    CurveSteps(QPainter& painter, const GraphScene& scene)
        : m_painter(painter)
        , m_height(scene.size.height())
        , m_top(scene.rangeTop)
        , m_bottom(scene.rangeBottom)
        , m_pens { curvePen(graphcolours::kX), curvePen(graphcolours::kY), curvePen(graphcolours::kZ) }
    {
        const int zero = graph::valueRow(0, m_height, m_top, m_bottom);
        m_previous = { zero, zero, zero };
    }

    void step(int fromColumn, int toColumn, const sidecar::SensorRecord& r)
    {
        const int values[3] = { r.x, r.y, r.z };
        for (size_t axis = 0; axis < 3; ++axis) {
            const int row = graph::valueRow(values[axis], m_height, m_top, m_bottom);
            m_painter.setPen(m_pens[axis]);
            m_painter.drawLine(fromColumn, m_previous[axis], toColumn, row);
            m_previous[axis] = row;
        }
    }

private:
    QPainter& m_painter;
    int m_height;
    int m_top;
    int m_bottom;
    std::array<QPen, 3> m_pens;
    std::array<int, 3> m_previous {};
};

void fillMark(QPainter& painter, int left, int rightExclusive, int height)
{
    painter.fillRect(QRect(left, 0, rightExclusive - left, height), graphcolours::kMark);
}

void drawStretched(QPainter& painter, const GraphScene& scene, int plotWidth)
{
    const std::vector<sidecar::SensorRecord>& sensors = *scene.sensors;
    const int count = static_cast<int>(sensors.size());
    const int height = scene.size.height();
    CurveSteps curves(painter, scene);
    for (int i = 2; i <= plotWidth - 1; ++i) {
        const sidecar::SensorRecord& r = sensors[static_cast<size_t>(graph::sampleAtColumn(i, count, plotWidth))];
        if (r.mark == 1)
            fillMark(painter, i - 4, i + 8, height);
        curves.step(i - 1, i, r);
    }
}

// The curves of one sample per column squeezed to the window keeping, for each window column d, the
// column s = d x count / width of that wide picture (no smoothing, so the curves keep their colours). Only
// segments s and s + 1 put pixels into column s (segment i covers columns i - 1 and i), so each window
// column draws just those two, in the order a full drawing would, into its own three columns s - 1 .. s + 1
// of a scratch picture: no picture as wide as the recording, and a cost set by the window's width.
void drawCompressed(QPainter& painter, const GraphScene& scene, int plotWidth)
{
    const std::vector<sidecar::SensorRecord>& sensors = *scene.sensors;
    const int count = static_cast<int>(sensors.size());
    const int width = scene.size.width();
    const int height = scene.size.height();
    for (int i = 0; i < count; ++i) {
        if (sensors[static_cast<size_t>(i)].mark != 1)
            continue;
        if (const std::optional<int> column = graph::compressedMarkColumn(i, count, plotWidth))
            fillMark(painter, *column - 5, *column + 5, height);
    }
    const auto row = [&](int sample, size_t axis) {
        if (sample < 0)
            return graph::valueRow(0, height, scene.rangeTop, scene.rangeBottom); // the curves start at zero
        const sidecar::SensorRecord& r = sensors[static_cast<size_t>(sample)];
        const int values[3] = { r.x, r.y, r.z };
        return graph::valueRow(values[axis], height, scene.rangeTop, scene.rangeBottom);
    };
    QImage scratch(3 * width, height, QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    {
        QPainter p(&scratch);
        const std::array<QPen, 3> pens { curvePen(graphcolours::kX), curvePen(graphcolours::kY),
            curvePen(graphcolours::kZ) };
        for (int d = 0; d < width; ++d) {
            const int kept = graph::sampleAtColumn(d, count, width);
            // Column kept - 1 of the wide picture lands on scratch column 3 d.
            const int shift = 3 * d - (kept - 1);
            for (int i = kept; i <= kept + 1 && i < count; ++i) {
                for (size_t axis = 0; axis < 3; ++axis) {
                    p.setPen(pens[axis]);
                    p.drawLine(i - 1 + shift, row(i - 1, axis), i + shift, row(i, axis));
                }
            }
        }
    }
    QImage squeezed(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(squeezed.scanLine(y));
        for (int d = 0; d < width; ++d)
            to[d] = from[3 * d + 1];
    }
    // The transparent background lets the marks show through.
    painter.drawImage(0, 0, squeezed);
}

void drawCompressedJapan(QPainter& painter, const GraphScene& scene, int plotWidth)
{
    const std::vector<sidecar::SensorRecord>& sensors = *scene.sensors;
    const int count = static_cast<int>(sensors.size());
    const int height = scene.size.height();
    // Marks first: a sample squeezed out between two columns still shows its bar.
    int previousIndex = -1;
    for (int k = 0; k < plotWidth; ++k) {
        const int index = graph::sampleAtColumn(k, count, plotWidth);
        for (int s = previousIndex + 1; s <= index; ++s) {
            if (sensors[static_cast<size_t>(s)].mark == 1)
                fillMark(painter, k - 2, k + 8, height);
        }
        previousIndex = std::max(previousIndex, index);
    }
    CurveSteps curves(painter, scene);
    for (int k = 0; k < plotWidth; ++k)
        curves.step(k - 1, k, sensors[static_cast<size_t>(graph::sampleAtColumn(k, count, plotWidth))]);
}

void drawFrame(QPainter& painter, const QSize& size, int countryCode)
{
    const int w = size.width();
    const int h = size.height();
    QPen pen = curvePen(graphcolours::kFrame);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    if (countryCode != 81) {
        painter.drawRect(0, 0, w - 1, h - 1);
        painter.drawLine(0, h / 2, w - 1, h / 2);
        return;
    }
    const int plotRight = w - graph::kJapanLabelMargin;
    painter.drawRect(0, 0, plotRight - 1, h - 1);
    painter.drawLine(0, h / 2, plotRight - 1, h / 2);
    for (int x = 0; x < plotRight; x += 2) {
        painter.drawPoint(x, h / 4);
        painter.drawPoint(x, h / 4 + h / 2);
    }
    painter.setFont(SkinFont(14));
    painter.setPen(graphcolours::kLabel);
    const QRect labels(0, 0, w - 2, h);
    painter.drawText(labels, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, QStringLiteral("-2.0"));
    painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral("0"));
    painter.drawText(labels, Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine, QStringLiteral("+2.0"));
}

} // namespace

// A small triangle pointing in from the top and from the bottom edge at the impact's column, above
// everything else, so the impact shows whatever the curves do there.
static void drawImpactTicks(QPainter& painter, const std::vector<int>& samples, int count, int plotWidth, int height)
{
    const int size = std::max(3, std::min(6, height / 4));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(graphcolours::kImpact);
    for (int sample : samples) {
        if (sample < 0 || sample >= count)
            continue;
        const int x = static_cast<int>(static_cast<int64_t>(sample) * plotWidth / count);
        const QPoint top[3] = { QPoint(x - size, 0), QPoint(x + size, 0), QPoint(x, size) };
        const QPoint bottom[3] = { QPoint(x - size, height), QPoint(x + size, height), QPoint(x, height - size) };
        painter.drawPolygon(top, 3);
        painter.drawPolygon(bottom, 3);
    }
    painter.restore();
}

QImage RenderGraphCurves(const GraphScene& scene)
{
    QImage image(scene.size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int plotWidth = graph::plotWidth(scene.size.width(), scene.countryCode);
    const int count = scene.sensors ? static_cast<int>(scene.sensors->size()) : 0;
    switch (graph::plotKind(scene.loaded, count, plotWidth, scene.countryCode)) {
    case graph::PlotKind::Stretched:
        drawStretched(painter, scene, plotWidth);
        break;
    case graph::PlotKind::Compressed:
        drawCompressed(painter, scene, plotWidth);
        break;
    case graph::PlotKind::CompressedJapan:
        drawCompressedJapan(painter, scene, plotWidth);
        break;
    case graph::PlotKind::None:
        break;
    }
    drawFrame(painter, scene.size, scene.countryCode);
    if (scene.impactSamples && count > 0)
        drawImpactTicks(painter, *scene.impactSamples, count, plotWidth, scene.size.height());
    return image;
}

QRect CursorBarRect(int cursorX, const QSize& size, int countryCode)
{
    const int left = cursorX - graph::kCursorHalfWidth;
    int right = cursorX + graph::kCursorHalfWidth;
    if (countryCode == 81)
        right = std::min(right, graph::plotWidth(size.width(), countryCode));
    if (right <= left)
        return QRect();
    return QRect(left, 0, right - left, size.height());
}

void PaintGraph(
    QPainter& painter, const QRect& dirty, const QImage& curves, std::optional<int> cursorX, int countryCode)
{
    painter.fillRect(dirty, Qt::black);
    if (cursorX) {
        const QRect bar = CursorBarRect(*cursorX, curves.size(), countryCode) & dirty;
        if (!bar.isEmpty())
            painter.fillRect(bar, graphcolours::kMark);
    }
    painter.drawImage(dirty.topLeft(), curves, dirty);
}

QImage RenderGraph(const GraphScene& scene, std::optional<int> cursorX)
{
    const QImage curves = RenderGraphCurves(scene);
    QImage image(scene.size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    PaintGraph(painter, image.rect(), curves, cursorX, scene.countryCode);
    return image;
}
