#include "skin/CSkinSlider.h"

#include "app/NotifyEvent.h"
#include "skin/SkinModule.h"
#include "skin/SliderMath.h"

#include <QMouseEvent>
#include <QPainter>

CSkinSlider::CSkinSlider(QWidget* parent, int controlId)
    : CSkinControl(parent, controlId)
{
    m_record.controlId = controlId;
}

void CSkinSlider::setTrackImage(int imageId)
{
    m_track = SkinModule::image(imageId);
    update();
}

void CSkinSlider::setFillImage(int imageId)
{
    m_fill = SkinModule::image(imageId);
    update();
}

void CSkinSlider::setThumbImage(int imageId)
{
    m_thumb = imageId ? SkinModule::image(imageId) : QPixmap();
    updateThumbX();
    update();
}

void CSkinSlider::setPixmaps(const QPixmap& track, const QPixmap& fill, const QPixmap& thumb)
{
    m_track = track;
    m_fill = fill;
    m_thumb = thumb;
    updateThumbX();
    update();
}

void CSkinSlider::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_stepWidth = slidermath::stepWidth(width(), m_margin, m_minimum, m_maximum);
    updateThumbX();
    update();
}

void CSkinSlider::setMargin(int margin)
{
    m_margin = margin;
    m_stepWidth = slidermath::stepWidth(width(), m_margin, m_minimum, m_maximum);
    updateThumbX();
    update();
}

void CSkinSlider::setSliderEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        m_dragging = false;
    update();
}

bool CSkinSlider::setPosition(int value)
{
    if (!slidermath::accepts(value, m_minimum, m_maximum, m_enabled))
        return false;
    m_value = value;
    m_ratio = slidermath::ratio(value, m_minimum, m_maximum);
    updateThumbX();
    update();
    return true;
}

void CSkinSlider::updateThumbX()
{
    if (m_thumb.isNull())
        return;
    m_thumbX = slidermath::thumbX(m_value, m_minimum, m_maximum, width(), m_thumb.width(), m_margin);
}

void CSkinSlider::resizeEvent(QResizeEvent*)
{
    m_stepWidth = slidermath::stepWidth(width(), m_margin, m_minimum, m_maximum);
    updateThumbX();
}

void CSkinSlider::paintEvent(QPaintEvent*)
{
    // Composed at the track's own size and then stretched over the control, as the artwork is drawn.
    const QSize canvasSize = m_track.isNull() ? size() : m_track.size();
    if (canvasSize.isEmpty())
        return;
    QPixmap canvas(canvasSize * devicePixelRatioF());
    canvas.setDevicePixelRatio(devicePixelRatioF());
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        if (!m_track.isNull())
            p.drawPixmap(0, 0, m_track);
        if (m_enabled) {
            if (!m_thumb.isNull()) {
                p.drawPixmap(m_thumbX, (canvasSize.height() - m_thumb.height()) / 2, m_thumb);
            } else if (!m_fill.isNull()) {
                const int fillWidth = int(m_ratio * canvasSize.width());
                if (fillWidth > 0)
                    p.drawPixmap(0, 0, m_fill, 0, 0, qMin(fillWidth, m_fill.width()), m_fill.height());
            }
        }
    }
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, canvasSize != size());
    p.drawPixmap(rect(), canvas);
}

void CSkinSlider::setFromMouse(int x)
{
    const int oldValue = m_value;
    const double oldRatio = m_ratio;
    if (m_thumb.isNull()) {
        const slidermath::Hit hit = slidermath::valueAtNoThumb(x, width(), m_minimum, m_maximum);
        m_value = hit.value;
        m_ratio = hit.ratio;
        // The owner hears of each change once; a press that lands on the current value changes nothing.
        if (m_ratio != oldRatio)
            update();
        if (m_value != oldValue)
            notify(NotifyEvent::VolumeSlider, m_value);
        return;
    }
    const std::optional<int> value = slidermath::valueAtWithThumb(x, width(), m_margin, m_minimum, m_maximum);
    if (!value)
        return;
    m_value = *value;
    m_ratio = slidermath::ratio(m_value, m_minimum, m_maximum);
    updateThumbX();
    if (m_value != oldValue) {
        m_record.value = m_value;
        m_record.controlId = controlId();
        notify(NotifyEvent::VolumeSlider, reinterpret_cast<intptr_t>(&m_record));
        update();
    }
}

void CSkinSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_enabled) {
        event->ignore();
        return;
    }
    m_dragging = true;
    setFromMouse(event->position().toPoint().x());
}

void CSkinSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !m_enabled)
        return;
    setFromMouse(event->position().toPoint().x());
}

void CSkinSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}
