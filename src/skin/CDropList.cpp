#include "skin/CDropList.h"

#include "skin/DropDownGeometry.h"
#include "skin/SkinFont.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

CDropList::CDropList(QWidget* parent)
    : QWidget(parent)
{
    m_font = SkinFont(15);
    m_itemHeight = dropdown::kDefaultItemHeight;
    setFocusPolicy(Qt::StrongFocus);
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->hide();
    connect(m_scrollBar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

void CDropList::addItem(const QString& text, const QColor& textColour, const QColor& backgroundColour)
{
    m_items.append({ text, textColour, backgroundColour });
    updateScrollBar();
    update();
}

QString CDropList::itemText(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index).text : QString();
}

void CDropList::setListFont(const QFont& font)
{
    m_font = font;
    m_itemHeight = QFontMetrics(font).height();
    updateScrollBar();
    update();
}

void CDropList::setCurrentIndex(int index)
{
    m_current = (index >= 0 && index < m_items.size()) ? index : -1;
    update();
}

void CDropList::resetSelectionColour()
{
    m_selection = QColor(200, 200, 200);
    update();
}

int CDropList::visibleRows() const
{
    return m_itemHeight > 0 ? height() / m_itemHeight : 0;
}

int CDropList::topIndex() const
{
    return m_scrollBar->isVisible() ? m_scrollBar->value() : 0;
}

void CDropList::scrollTo(int index)
{
    if (index < 0 || !m_scrollBar->isVisible())
        return;
    const int rows = qMax(1, visibleRows());
    if (index < m_scrollBar->value())
        m_scrollBar->setValue(index);
    else if (index >= m_scrollBar->value() + rows)
        m_scrollBar->setValue(index - rows + 1);
}

int CDropList::indexAt(int y) const
{
    if (y < 0 || m_itemHeight <= 0)
        return -1;
    const int index = topIndex() + y / m_itemHeight;
    return index < m_items.size() ? index : -1;
}

bool CDropList::scrollBarVisible() const
{
    return !m_scrollBar->isHidden();
}

void CDropList::updateScrollBar()
{
    const bool needed = dropdown::needsScrollBar(int(m_items.size()), m_itemHeight, height());
    const int w = m_scrollBar->sizeHint().width();
    m_scrollBar->setGeometry(width() - w, 0, w, height());
    m_scrollBar->setRange(0, qMax(0, int(m_items.size()) - qMax(1, visibleRows())));
    m_scrollBar->setPageStep(qMax(1, visibleRows()));
    m_scrollBar->setVisible(needed);
}

void CDropList::resizeEvent(QResizeEvent*)
{
    updateScrollBar();
}

void CDropList::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_background);
    p.setFont(m_font);
    const int right = scrollBarVisible() ? m_scrollBar->x() : width();
    const QFontMetrics fm(m_font);
    for (int i = topIndex(), row = 0; i < m_items.size() && row * m_itemHeight < height(); ++i, ++row) {
        const Item& item = m_items.at(i);
        const QRect r(0, row * m_itemHeight, right, m_itemHeight);
        const bool selected = i == m_current;
        p.setPen(m_outline);
        p.setBrush(selected ? m_selection : m_background);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(selected ? item.backgroundColour : item.textColour);
        const QRect textRect(4, r.top(), r.width() - 4 - 5, r.height());
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            fm.elidedText(item.text, Qt::ElideRight, textRect.width()));
    }
}

void CDropList::trackTo(int y)
{
    // Dragging past the ends scrolls the list one row at a time, as a list box does.
    if (y < 0 && scrollBarVisible())
        m_scrollBar->setValue(m_scrollBar->value() - 1);
    else if (y >= height() && scrollBarVisible())
        m_scrollBar->setValue(m_scrollBar->value() + 1);
    const int clamped = qBound(0, y, qMax(0, height() - 1));
    int index = indexAt(clamped);
    if (index < 0 && !m_items.isEmpty())
        index = int(m_items.size()) - 1; // below the last item
    if (index >= 0 && index != m_current) {
        m_current = index;
        update();
    }
}

void CDropList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!rect().contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    m_tracking = true;
    trackTo(event->position().toPoint().y());
}

void CDropList::mouseMoveEvent(QMouseEvent* event)
{
    if (m_tracking)
        trackTo(event->position().toPoint().y());
}

void CDropList::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_tracking)
        return;
    m_tracking = false;
    Q_EMIT selectionReported(event->globalPosition().toPoint());
}

void CDropList::wheelEvent(QWheelEvent* event)
{
    if (!scrollBarVisible())
        return;
    const int steps = event->angleDelta().y() / 120;
    m_scrollBar->setValue(m_scrollBar->value() - steps);
    event->accept();
}

void CDropList::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        if (m_current > 0) {
            setCurrentIndex(m_current - 1);
            scrollTo(m_current);
        }
        return;
    case Qt::Key_Down:
        if (m_current + 1 < m_items.size()) {
            setCurrentIndex(m_current + 1);
            scrollTo(m_current);
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Keyboard choices are taken as if the cursor were on the list.
        Q_EMIT selectionReported(mapToGlobal(rect().center()));
        return;
    case Qt::Key_Escape:
        Q_EMIT cancelled();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CDropList::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        Q_EMIT cancelled();
}
