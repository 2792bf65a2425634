#include "skin/CDropListWnd.h"

#include "app/NotifyEvent.h"
#include "skin/DropDownGeometry.h"
#include "skin/SkinModule.h"

#include <QMouseEvent>
#include <QKeyEvent>
#include <QPainter>

CDropListWnd::CDropListWnd(
    QObject* owner, int menuId, int mode, int width, int height, int backgroundImage, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_owner(owner)
    , m_mode(mode)
{
    setAttribute(Qt::WA_NoMouseReplay);
    setMouseTracking(true);
    m_record.menuId = menuId;
    if (backgroundImage)
        m_background = SkinModule::image(backgroundImage);
    resize(width, height);
}

void CDropListWnd::addItem(int imageId)
{
    const QPixmap image = SkinModule::image(imageId);
    if (m_items.isEmpty()) {
        m_itemWidth = m_mode == OwnStrips ? image.width() / 3 : image.width();
        m_itemHeight = image.height();
    }
    m_items.append(image);
    update();
}

void CDropListWnd::showAt(const QPoint& globalTopLeft)
{
    m_hovered = 0;
    m_pressedInside = false;
    m_open = true;
    move(globalTopLeft);
    show();
}

void CDropListWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        dismiss();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CDropListWnd::hideEvent(QHideEvent* event)
{
    // Closed by the window system (focus moved away, a pop-up closed from outside): the owner still
    // learns that no item was chosen.
    QWidget::hideEvent(event);
    if (m_open)
        dismiss();
}

void CDropListWnd::dismiss()
{
    if (!m_open)
        return;
    m_record.item = 0;
    finish();
    NotifyEvent::post(m_owner, kDismissed, reinterpret_cast<intptr_t>(&m_record));
}

void CDropListWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < m_items.size(); ++i) {
        const QRect target(
            0, dropdown::menuItemTop(i, m_itemHeight), m_itemWidth > 0 ? m_itemWidth : width(), m_itemHeight);
        const int third = (i + 1 == m_hovered) ? 1 : 0;
        if (m_mode == OverBackground) {
            if (!m_background.isNull()) {
                const int w = m_background.width() / 3;
                p.drawPixmap(target, m_background, QRect(third * w, 0, w, m_background.height()));
            }
            const QPixmap& image = m_items.at(i);
            p.drawPixmap(QRect(target.topLeft(), image.size()), image);
        } else {
            const QPixmap& strip = m_items.at(i);
            const int w = strip.width() / 3;
            p.drawPixmap(target, strip, QRect(third * w, 0, w, strip.height()));
        }
    }
}

void CDropListWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressedInside)
        return;
    // The menu holds the mouse, so the row is taken from y alone, wherever the cursor is sideways.
    const int y = event->position().toPoint().y();
    const int hovered = dropdown::menuHoveredItem(y, m_itemHeight, int(m_items.size()), height());
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
}

void CDropListWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!rect().contains(event->position().toPoint())) {
        dismiss();
        return;
    }
    m_pressedInside = true;
}

void CDropListWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!m_open)
        return;
    if (!rect().contains(event->position().toPoint())) {
        dismiss();
        return;
    }
    m_record.item = m_hovered;
    finish();
    NotifyEvent::post(m_owner, kItemClicked, reinterpret_cast<intptr_t>(&m_record));
}

void CDropListWnd::finish()
{
    m_open = false;
    m_hovered = 0;
    m_pressedInside = false;
    hide();
}
