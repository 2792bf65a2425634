#include "skin/CListWnd.h"

#include "skin/CDropList.h"

#include <QMouseEvent>

CListWnd::CListWnd(QWidget* owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint)
    , m_owner(owner)
{
    // A click outside that closes the list must not reach the button and open it again.
    setAttribute(Qt::WA_NoMouseReplay);
    setMouseTracking(true);
    resize(200, 200);
    m_list = new CDropList(this);
    m_list->setGeometry(rect());
    connect(m_list, &CDropList::cancelled, this, [this] {
        if (isVisible()) {
            hide();
            Q_EMIT dismissed();
        }
    });
}

void CListWnd::resizeEvent(QResizeEvent*)
{
    m_list->setGeometry(rect());
}

void CListWnd::mousePressEvent(QMouseEvent* event)
{
    if (!rect().contains(event->position().toPoint())) {
        hide();
        Q_EMIT dismissed();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CListWnd::mouseMoveEvent(QMouseEvent* event)
{
    // While open, the pop-up sees every move. Leaving the button closes the list unless the cursor goes
    // onto the list; once on the list, moving away leaves it open.
    const QPoint global = event->globalPosition().toPoint();
    const bool overList = rect().contains(mapFromGlobal(global));
    const bool overButton = m_owner && m_owner->rect().contains(m_owner->mapFromGlobal(global));
    if (overButton) {
        m_onButton = true;
        return;
    }
    if (overList) {
        m_onButton = false;
        return;
    }
    if (m_onButton && !(event->buttons() & Qt::LeftButton)) {
        m_onButton = false;
        hide();
        Q_EMIT dismissed();
    }
}

void CListWnd::showEvent(QShowEvent* event)
{
    // The list opens under the cursor's button.
    m_onButton = true;
    QWidget::showEvent(event);
}
