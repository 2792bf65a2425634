#include "sensor/SensorReadouts.h"

#include "app/StringTables.h"
#include "sensor/SensorDataTables.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QPainter>

namespace {

// Per axis: the two label images, plus, minus and the first digit (digits follow in order 0..9).
struct AxisImages
{
    int label1, label2, plus, minus, digit0;
};
constexpr AxisImages kAxisImages[3] = {
    { 3322, 3323, 3324, 3325, 3326 },
    { 3336, 3337, 3339, 3338, 3340 },
    { 3350, 3351, 3352, 3353, 3354 },
};
constexpr int kBlankImage = 3364;
constexpr int kGroupGap = 10;

int cellWidth()
{
    return SkinModule::size(3322).width();
}

int glyphImage(int axis, int glyph)
{
    const AxisImages& images = kAxisImages[axis];
    if (glyph == AxisReadout::kPlus)
        return images.plus;
    if (glyph == AxisReadout::kMinus)
        return images.minus;
    if (glyph == AxisReadout::kBlank)
        return kBlankImage;
    return images.digit0 + glyph;
}

int groupWidth()
{
    return cellWidth() + SkinModule::size(3323).width() + AxisReadout::kCellsPerAxis * cellWidth();
}

} // namespace

SensorReadouts::SensorReadouts(int countryCode, QObject* parent)
    : QObject(parent)
    , m_countryCode(countryCode)
    , m_speed(countryCode)
{
}

int SensorReadouts::axisRowWidth()
{
    return 3 * groupWidth() + 2 * kGroupGap;
}

void SensorReadouts::place(const QRect& videoArea)
{
    const int right = videoArea.left() + videoArea.width();
    const QSize panel = SkinModule::size(m_speed.panelImageId());
    m_panel = QRect(right - panel.width(), 40 - panel.height(), panel.width(), panel.height());
    const int gpsWidth = SkinModule::size(3316).width();
    m_gps = QRect(m_panel.left() - gpsWidth, m_panel.top(), gpsWidth, 40 - m_panel.top());
    m_speedText = QRect(QPoint(m_panel.left(), m_panel.top() + 3), QPoint(right - 45 - 1, 40 - 1));
    // The last digit cell of z begins 142 pixels left of the video's right edge.
    const int rowRight = right - 142 + cellWidth();
    const int top = videoArea.top() + videoArea.height() + 97;
    m_axisRow = QRect(rowRight - axisRowWidth(), top, axisRowWidth(), SkinModule::size(3322).height());
}

QRect SensorReadouts::axisCellRect(int axis, int cell) const
{
    const int left = m_axisRow.left() + axis * (groupWidth() + kGroupGap) + cellWidth() + SkinModule::size(3323).width()
        + cell * cellWidth();
    return QRect(left, m_axisRow.top(), cellWidth(), m_axisRow.height());
}

QRegion SensorReadouts::updateSpeed(const SensorDataTables& tables, qint64 timeMs)
{
    const SpeedReadout::Update u = m_speed.update(tables.gpsSample(timeMs));
    if (u.longitude && u.latitude)
        Q_EMIT mapPositionChanged(*u.longitude, *u.latitude);
    QRegion dirty;
    if (u.gpsChanged)
        dirty += m_gps;
    if (u.speedChanged)
        dirty += m_speedText;
    return dirty;
}

QRegion SensorReadouts::resetSpeed()
{
    m_speed.reset();
    return QRegion(m_gps) + m_speedText;
}

QRegion SensorReadouts::selectUnit(int controlId)
{
    if (!m_speed.selectUnit(controlId))
        return QRegion();
    return QRegion(m_panel) + m_gps;
}

QRegion SensorReadouts::showAxisValues(const SensorDataTables& tables, double timeMs, double msPerSample)
{
    const unsigned changed = m_axes.show(tables.sensorSample(timeMs, msPerSample));
    QRegion dirty;
    for (int axis = 0; axis < AxisReadout::kAxes; ++axis) {
        for (int cell = 0; cell < AxisReadout::kCellsPerAxis; ++cell) {
            if (changed & (1u << (axis * AxisReadout::kCellsPerAxis + cell)))
                dirty += axisCellRect(axis, cell);
        }
    }
    return dirty;
}

void SensorReadouts::paint(QPainter& painter, const QRect& clientRect) const
{
    painter.save();
    if (m_speedShown) {
        painter.drawPixmap(m_panel.topLeft(), SkinModule::image(m_speed.panelImageId()));
        painter.drawPixmap(m_gps.topLeft(), SkinModule::image(m_speed.gpsImageId()));
        if (m_speed.offersUnitChoice() && m_unitLabelsShown) {
            painter.setPen(Qt::white);
            const QRect kmh(clientRect.width() - 290, clientRect.height() - 379, 30, 15);
            painter.drawText(kmh, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, StringById(234));
            painter.drawText(kmh.translated(80, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, StringById(233));
        }
        painter.setFont(SkinFont(30, true));
        painter.setPen(Qt::white);
        painter.drawText(m_speedText, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, m_speed.text());
    }
    if (m_countryCode == 81) {
        painter.fillRect(m_axisRow, m_background);
        for (int axis = 0; axis < AxisReadout::kAxes; ++axis) {
            const QRect sign = axisCellRect(axis, 0);
            const int label1Left = sign.left() - SkinModule::size(3323).width() - cellWidth();
            painter.drawPixmap(label1Left, sign.top(), SkinModule::image(kAxisImages[axis].label1));
            painter.drawPixmap(label1Left + cellWidth(), sign.top(), SkinModule::image(kAxisImages[axis].label2));
            for (int cell = 0; cell < AxisReadout::kCellsPerAxis; ++cell)
                painter.drawPixmap(
                    axisCellRect(axis, cell).topLeft(), SkinModule::image(glyphImage(axis, m_axes.glyph(axis, cell))));
        }
    }
    painter.restore();
}
