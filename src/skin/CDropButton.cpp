#include "skin/CDropButton.h"

#include "skin/CDropList.h"
#include "skin/CListWnd.h"
#include "skin/DropDownGeometry.h"
#include "skin/DropSelectionEvent.h"
#include "skin/SkinFont.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

CDropButton::CDropButton(
    const QString& text, const QRect& rect, QWidget* parent, int controlId, const Colours& colours, const QFont* font)
    : QWidget(parent)
    , m_controlId(controlId)
    , m_text(text)
    , m_colours(colours)
{
    if (font) {
        m_font = *font;
        // A given font sets the list's item height too; the default keeps 16-pixel items.
        m_hasOwnFont = true;
    } else {
        m_font = SkinFont(15);
    }
    setGeometry(rect);
    setMouseTracking(true);
    m_listWnd = new CListWnd(this);
    if (m_hasOwnFont)
        m_listWnd->list()->setListFont(m_font);
    connect(m_listWnd->list(), &CDropList::selectionReported, this, &CDropButton::onSelectionReported);
    connect(m_listWnd, &CListWnd::dismissed, this, [this] {
        m_highlighted = underMouse();
        update();
    });
    show();
}

CDropButton::~CDropButton() = default;

CDropList* CDropButton::list() const
{
    return m_listWnd->list();
}

void CDropButton::addItem(const QString& text)
{
    // The items take the button's text colours: the normal one, and the highlighted one while selected.
    list()->addItem(text, m_colours.text, m_colours.highlightText);
}

int CDropButton::count() const
{
    return list()->count();
}

QString CDropButton::itemText(int index) const
{
    return list()->itemText(index);
}

void CDropButton::setText(const QString& text)
{
    m_text = text;
    update();
}

void CDropButton::setCurrentIndex(int index)
{
    m_current = index;
    list()->setCurrentIndex(index);
    if (m_autoText && index >= 0 && index < count())
        setText(itemText(index));
}

bool CDropButton::isListOpen() const
{
    return m_listWnd->isVisible();
}

void CDropButton::openList()
{
    const QRect global(mapToGlobal(QPoint(0, 0)), size());
    const QRect popup = dropdown::popupRect(global, count(), list()->itemHeight(), m_maxListHeight);
    m_listWnd->setPreviousIndex(list()->currentIndex());
    m_listWnd->setGeometry(popup);
    m_listWnd->show();
    list()->scrollTo(list()->currentIndex());
    // The button passes its keyboard focus on to the list while it is open.
    list()->setFocus(Qt::PopupFocusReason);
    update();
}

void CDropButton::closeList()
{
    m_listWnd->hide();
    update();
}

void CDropButton::onSelectionReported(const QPoint& globalCursor)
{
    const bool inside = m_listWnd->frameGeometry().contains(globalCursor);
    m_listWnd->hide();
    CDropList* l = list();
    if (inside && l->currentIndex() >= 0) {
        m_current = l->currentIndex();
        if (m_autoText)
            m_text = l->itemText(m_current);
        repaint();
        if (parentWidget())
            QCoreApplication::postEvent(parentWidget(), new DropSelectionEvent(m_controlId, m_current));
        Q_EMIT itemChosen(m_controlId, m_current);
    } else {
        // Released away from the list: the earlier choice stands.
        l->setCurrentIndex(m_listWnd->previousIndex());
        l->scrollTo(m_listWnd->previousIndex());
    }
    m_highlighted = underMouse();
    update();
}

void CDropButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool highlighted = m_highlighted || isListOpen();
    p.setPen(m_colours.outline);
    p.setBrush(m_highlighted ? m_colours.highlightBackground : m_colours.background);
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    p.setFont(m_font);
    const QFontMetrics fm(m_font);
    const int arrowWidth = fm.horizontalAdvance(QLatin1Char('M'));
    const QRect textRect(5, 0, width() - arrowWidth - 10 - 5, height());
    p.setPen(highlighted ? m_colours.highlightText : m_colours.text);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        fm.elidedText(m_text, Qt::ElideRight, textRect.width()));

    const int textTop = (height() - fm.height()) / 2;
    const int x = width() - arrowWidth - 5;
    const int y = textTop + fm.height() / 3;
    const QPoint triangle[3]
        = { QPoint(x, y), QPoint(x + arrowWidth - 1, y), QPoint(x + arrowWidth / 2, y + arrowWidth / 2) };
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(m_colours.arrow);
    p.setBrush(m_colours.arrow);
    p.drawPolygon(triangle, 3);
}

void CDropButton::enterEvent(QEnterEvent*)
{
    m_highlighted = true;
    update();
}

void CDropButton::leaveEvent(QEvent*)
{
    if (isListOpen()) {
        if (!m_listWnd->frameGeometry().contains(QCursor::pos()))
            closeList();
        return;
    }
    m_highlighted = false;
    update();
}

void CDropButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (isListOpen()) {
        if (!m_listWnd->frameGeometry().contains(event->globalPosition().toPoint()))
            closeList();
        return;
    }
    openList();
}
