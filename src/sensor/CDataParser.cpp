#include "sensor/CDataParser.h"

#include "app/NotifyEvent.h"
#include "sensor/GraphGeometry.h"
#include "sensor/GraphRenderer.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

CDataParser::CDataParser(QWidget* parent, QObject* notifyTarget, int countryCode)
    : QWidget(parent)
    , m_notifyTarget(notifyTarget)
    , m_countryCode(countryCode)
    , m_tables(countryCode)
{
    // Every pixel is painted each time: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

SensorDataTables::LoadResult CDataParser::loadDataFile(const QString& path)
{
    m_tables.load(path);
    m_impactSamples.clear();
    m_curvesValid = false;
    update();
    Q_EMIT dataFileLoaded();
    return m_tables.lastLoadResult();
}

void CDataParser::setHasData(bool hasData)
{
    m_hasData = hasData;
}

void CDataParser::reset()
{
    m_hasData = false;
    m_dragging = false;
    m_tables.unload();
    m_impactSamples.clear();
    m_cursorX = 0;
    m_curvesValid = false;
    update();
}

void CDataParser::setDuration(int ms)
{
    m_tables.setDuration(ms);
    Q_EMIT durationChanged(ms);
}

void CDataParser::setImpactSamples(std::vector<int> samples)
{
    m_impactSamples = std::move(samples);
    m_curvesValid = false;
    update();
}

int CDataParser::plotWidth() const
{
    return graph::plotWidth(width(), m_countryCode);
}

void CDataParser::setPosition(int ms)
{
    if (!graph::acceptsPosition(ms, m_tables.duration(), m_hasData))
        return;
    m_tables.setPosition(ms);
    moveCursor(graph::cursorX(plotWidth(), ms, m_tables.duration()));
}

void CDataParser::moveCursor(std::optional<int> x)
{
    if (x == m_cursorX)
        return;
    QRect dirty;
    if (m_cursorX)
        dirty |= CursorBarRect(*m_cursorX, size(), m_countryCode);
    if (x)
        dirty |= CursorBarRect(*x, size(), m_countryCode);
    m_cursorX = x;
    update(dirty & rect());
}

const QImage& CDataParser::curves()
{
    if (!m_curvesValid || m_curves.size() != size()) {
        GraphScene scene;
        scene.sensors = &m_tables.sensorTable();
        scene.loaded = m_tables.isLoaded();
        scene.rangeTop = m_tables.rangeTop();
        scene.rangeBottom = m_tables.rangeBottom();
        scene.size = size();
        scene.countryCode = m_countryCode;
        scene.impactSamples = m_impactSamples.empty() ? nullptr : &m_impactSamples;
        m_curves = RenderGraphCurves(scene);
        m_curvesValid = true;
    }
    return m_curves;
}

void CDataParser::paintEvent(QPaintEvent* event)
{
    if (width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    PaintGraph(painter, event->rect(), curves(), m_cursorX, m_countryCode);
}

void CDataParser::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int position = m_tables.position();
    if (m_hasData && position >= 0 && position <= m_tables.duration())
        m_cursorX = graph::cursorX(plotWidth(), position, m_tables.duration());
    else
        m_cursorX = 0;
    m_curvesValid = false;
    update();
}

void CDataParser::seekFromMouse(int mouseX)
{
    const graph::MouseUpdate u = graph::mouseUpdate(mouseX, plotWidth(), m_countryCode, m_tables.duration());
    if (u.cursorX)
        moveCursor(u.cursorX);
    m_tables.setPosition(static_cast<int>(u.positionMs));
    if (m_notifyTarget)
        NotifyEvent::post(m_notifyTarget, NotifyEvent::GraphSeek, static_cast<intptr_t>(u.positionMs));
}

void CDataParser::mousePressEvent(QMouseEvent* event)
{
    if (!m_hasData || event->button() != Qt::LeftButton)
        return;
    // The widget keeps the mouse while a button is down, so a drag past the edges still seeks.
    m_dragging = true;
    seekFromMouse(event->position().toPoint().x());
}

void CDataParser::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !m_hasData)
        return;
    seekFromMouse(event->position().toPoint().x());
}

void CDataParser::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_hasData || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    seekFromMouse(event->position().toPoint().x());
}
