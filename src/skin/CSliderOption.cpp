#include "skin/CSliderOption.h"

#include "skin/SkinModule.h"
#include "skin/SliderMath.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kOptionSliderCode = 6;
}

CSliderOption::CSliderOption(QWidget* parent, int controlId)
    : CSkinControl(parent, controlId)
{
    m_thumb = SkinModule::image(kThumbImage);
    m_record.controlId = controlId;
}

void CSliderOption::setTrackImage(int imageId)
{
    m_track = SkinModule::image(imageId);
    update();
}

void CSliderOption::setPixmaps(const QPixmap& track, const QPixmap& thumb)
{
    m_track = track;
    m_thumb = thumb;
    update();
}

void CSliderOption::setPosition(int firstPercent, int secondPercent, bool twoThumbs)
{
    m_twoThumbs = twoThumbs;
    m_first = optionslider::firstStepFor(firstPercent);
    if (twoThumbs)
        m_second = optionslider::secondStepFor(firstPercent, secondPercent);
    update();
}

double CSliderOption::stepWidth() const
{
    return optionslider::stepWidth(width());
}

int CSliderOption::firstThumbX() const
{
    return optionslider::thumbX(m_first, width(), m_thumb.width());
}

int CSliderOption::secondThumbX() const
{
    return optionslider::thumbX(m_second, width(), m_thumb.width());
}

void CSliderOption::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_track.isNull())
        p.drawPixmap(rect(), m_track);
    if (m_thumb.isNull())
        return;
    const int y = (height() - m_thumb.height()) / 2;
    p.drawPixmap(firstThumbX(), y, m_thumb);
    if (m_twoThumbs)
        p.drawPixmap(secondThumbX(), y, m_thumb);
}

void CSliderOption::post(bool single)
{
    m_record.first = m_first;
    m_record.second = m_second;
    m_record.singleThumb = single ? 1 : 0;
    m_record.controlId = controlId();
    notify(kOptionSliderCode, reinterpret_cast<intptr_t>(&m_record));
}

void CSliderOption::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // The press is kept (Qt's implicit grab) even where it does nothing, like a captured mouse.
    m_dragging = true;
    const int x = event->position().toPoint().x();
    if (optionslider::inEdgeZone(x, width()))
        return;
    if (m_twoThumbs) {
        if (optionslider::nearThumb(x, m_first, width()))
            m_grabbed = GrabFirst;
        else if (optionslider::nearThumb(x, m_second, width()))
            m_grabbed = GrabSecond;
        else
            m_grabbed = GrabNone;
        return;
    }
    if (const std::optional<int> step = optionslider::nearestStep(x, width())) {
        m_first = *step;
        post(true);
        update();
    }
}

void CSliderOption::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const int x = event->position().toPoint().x();
    if (m_twoThumbs) {
        if (m_grabbed == GrabNone)
            return;
        const bool first = m_grabbed == GrabFirst;
        const std::optional<int> step = optionslider::dragTwoThumb(x, width(), first, m_first, m_second);
        if (!step)
            return;
        (first ? m_first : m_second) = *step;
        post(false);
        update();
        return;
    }
    if (const std::optional<int> step = optionslider::dragSingleThumb(x, width())) {
        m_first = *step;
        post(true);
        update();
    }
}

void CSliderOption::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    m_grabbed = GrabNone;
}
