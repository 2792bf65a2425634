#include "skin/CSkinButton.h"

#include "app/NotifyEvent.h"
#include "skin/SkinModule.h"

#include <QMouseEvent>
#include <QPainter>

CSkinButton::CSkinButton(QWidget* parent, int controlId)
    : CSkinControl(parent, controlId)
{
    setAttribute(Qt::WA_Hover, false);
    setMouseTracking(true);
}

void CSkinButton::setImage(int imageId)
{
    m_imageId = imageId;
    m_strip = SkinModule::image(imageId);
    m_overlayOn = false;
    m_overlayId = 0;
    m_overlay = QPixmap();
    update();
}

void CSkinButton::setImageWithOverlay(int imageId)
{
    m_imageId = kCommonBackground;
    m_strip = SkinModule::image(kCommonBackground);
    m_overlayId = imageId;
    m_overlay = SkinModule::image(imageId);
    m_overlayOn = true;
    update();
}

void CSkinButton::setStrip(const QPixmap& strip, const QPixmap& overlay)
{
    m_imageId = 0;
    m_strip = strip;
    m_overlayId = 0;
    m_overlay = overlay;
    m_overlayOn = !overlay.isNull();
    update();
}

void CSkinButton::changeOverlay(int imageId)
{
    setImageWithOverlay(imageId);
    repaint();
}

QSize CSkinButton::sizeHint() const
{
    if (m_strip.isNull())
        return QSize(84, 34);
    return QSize(stateWidth(), m_strip.height());
}

void CSkinButton::setState(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    update();
}

void CSkinButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!m_strip.isNull()) {
        const int w = stateWidth();
        p.setRenderHint(QPainter::SmoothPixmapTransform, size() != QSize(w, m_strip.height()));
        p.drawPixmap(rect(), m_strip, QRect(m_state * w, 0, w, m_strip.height()));
    }
    if (m_overlayOn && !m_overlay.isNull()) {
        // Lower by one pixel, and one to the right while pressed, so the face seems to sink in.
        const int x = (width() - m_overlay.width()) / 2 + (m_state == Pressed ? 1 : 0);
        const int y = (height() - m_overlay.height()) / 2 + 1;
        p.drawPixmap(x, y, m_overlay);
    }
}

void CSkinButton::enterEvent(QEnterEvent* event)
{
    // Qt re-sends an enter after a grab ends wherever the cursor is; only a cursor really over the
    // button hovers it.
    if (!m_pressed && rect().contains(event->position().toPoint()))
        setState(Hover);
}

void CSkinButton::leaveEvent(QEvent*)
{
    if (!m_pressed)
        setState(Normal);
}

void CSkinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // The widget keeps the mouse until the release (Qt's implicit grab).
    m_pressed = true;
    setState(Pressed);
}

void CSkinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        event->ignore();
        return;
    }
    m_pressed = false;
    if (rect().contains(event->position().toPoint())) {
        notify(NotifyEvent::SkinButton, controlId());
        setState(Hover);
    } else {
        setState(Normal);
    }
}
