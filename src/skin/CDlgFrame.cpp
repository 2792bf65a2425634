#include "skin/CDlgFrame.h"

#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "skin/SkinModule.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QWindow>

namespace {

// Window menu texts in the string tables.
constexpr int kStrRestore = 900;
constexpr int kStrMove = 901;
constexpr int kStrSize = 902;
constexpr int kStrMinimise = 903;
constexpr int kStrMaximise = 904;
constexpr int kStrClose = 905;

// Width of the band along each edge that sizes a resizable window.
constexpr int kSizeGrip = 4;

} // namespace

// The client area: paints the background and the dialog's content, and hands the notifications of the
// controls placed on it to the dialog.
class CDlgFrame::ClientArea : public QWidget
{
public:
    explicit ClientArea(CDlgFrame* frame)
        : QWidget(frame)
        , m_frame(frame)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), m_frame->m_background);
        m_frame->paintClient(p);
    }

    bool event(QEvent* event) override
    {
        // Notifications of the controls (NotifyEvent, the drop-down selection) belong to the dialog.
        if (event->type() >= QEvent::User && event->type() <= QEvent::MaxUser)
            return QCoreApplication::sendEvent(m_frame, event);
        return QWidget::event(event);
    }

private:
    CDlgFrame* m_frame;
};

CDlgFrame::CDlgFrame(int templateId, QWidget* parent)
    : QDialog(parent)
    , m_templateId(templateId)
{
    // The frame is drawn by the dialog; no system caption, menu or border.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowMinMaxButtonsHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    m_titleFont.setFamily(QStringLiteral("Arial"));
    m_titleFont.setPixelSize(13);
    m_titleFont.setBold(true);
    m_client = new ClientArea(this);
    m_client->setMouseTracking(false);
    loadImages();
    m_moveSizeEndTimer.setSingleShot(true);
    m_moveSizeEndTimer.setInterval(400);
    connect(&m_moveSizeEndTimer, &QTimer::timeout, this, &CDlgFrame::endMoveSize);
    resize(m_margins.left() + m_margins.right() + 200, m_margins.top() + m_margins.bottom() + 100);
}

void CDlgFrame::loadImages()
{
    m_close = SkinModule::image(ImageClose);
    m_maximise = SkinModule::image(ImageMaximise);
    m_minimise = SkinModule::image(ImageMinimise);
    m_restore = SkinModule::image(ImageRestore);
    m_caption = SkinModule::image(ImageCaption);
    m_topLeft = SkinModule::image(ImageTopLeft);
    m_topRight = SkinModule::image(ImageTopRight);
    m_left = SkinModule::image(ImageLeft);
    m_right = SkinModule::image(ImageRight);
    m_bottom = SkinModule::image(ImageBottom);
    m_bottomLeft = SkinModule::image(ImageBottomLeft);
    m_bottomRight = SkinModule::image(ImageBottomRight);
    m_status = SkinModule::image(ImageStatus);
    m_icon = SkinModule::image(ImageIcon);
    // The borders are the sizes of the frame pieces: the caption's height on top, the edges' widths at
    // the sides, the bottom piece's height below.
    m_margins = QMargins(m_left.width(), m_caption.height(), m_right.width(), m_bottom.height());
    if (!m_icon.isNull())
        setWindowIcon(QIcon(m_icon));
}

QMargins CDlgFrame::frameMargins() const
{
    return m_margins;
}

void CDlgFrame::setClientSize(const QSize& size)
{
    resize(size.width() + m_margins.left() + m_margins.right(), size.height() + m_margins.top() + m_margins.bottom());
}

void CDlgFrame::setTitle(const QString& text)
{
    m_title = viewerEnvironment().tierLabel + QStringLiteral("   ") + text;
    setWindowTitle(m_title.trimmed());
    update();
}

void CDlgFrame::setTitleVisible(bool visible)
{
    m_titleVisible = visible;
    update();
}

void CDlgFrame::setTitleColour(const QColor& colour)
{
    m_titleColour = colour;
    update();
}

void CDlgFrame::setTitleFont(const QFont& font)
{
    m_titleFont = font;
    update();
}

void CDlgFrame::setCaptionButtons(bool on)
{
    m_captionButtons = on;
    for (int& s : m_buttonState)
        s = 0;
    update();
}

void CDlgFrame::setCaptionStatus(bool on, const QString& text)
{
    m_statusOn = on;
    m_statusText = text;
    update();
}

void CDlgFrame::setBackgroundColour(const QColor& colour)
{
    m_background = colour;
    m_client->update();
}

void CDlgFrame::addToolTip(QWidget* control, const QString& text, int stringId)
{
    if (!control)
        return;
    QString tip = text;
    if (tip.isEmpty()) {
        tip = StringById(stringId);
        const int lineBreak = tip.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
        if (lineBreak >= 0)
            tip.truncate(lineBreak);
    }
    control->setToolTip(tip);
}

QRect CDlgFrame::captionButtonRect(CaptionButton button) const
{
    const int w = m_close.width() / 3;
    const int h = m_close.height();
    const int right = width() - m_buttonRightMargin;
    return QRect(right - (int(button) + 1) * w, m_buttonTopMargin, w, h);
}

CDlgFrame::CaptionButton CDlgFrame::buttonAt(const QPoint& pos) const
{
    if (!m_captionButtons || m_close.isNull())
        return NoButton;
    for (CaptionButton b : { Close, Maximise, Minimise }) {
        if (captionButtonRect(b).contains(pos))
            return b;
    }
    return NoButton;
}

bool CDlgFrame::inCaption(const QPoint& pos) const
{
    return pos.y() >= 0 && pos.y() < m_margins.top() && pos.x() >= 0 && pos.x() < width();
}

Qt::Edges CDlgFrame::edgesAt(const QPoint& pos) const
{
    Qt::Edges edges;
    if (minimumSize() == maximumSize() || m_maximised)
        return edges;
    if (pos.x() < kSizeGrip)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - kSizeGrip)
        edges |= Qt::RightEdge;
    if (pos.y() < kSizeGrip)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - kSizeGrip)
        edges |= Qt::BottomEdge;
    return edges;
}

void CDlgFrame::paintClient(QPainter&)
{
}

void CDlgFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int w = width();
    const int h = height();
    const int captionH = m_margins.top();
    const int bottomH = m_margins.bottom();

    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.fillRect(contentsRect().marginsRemoved(m_margins), m_background);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // Caption.
    p.drawPixmap(0, 0, m_topLeft);
    p.drawPixmap(QRect(m_topLeft.width(), 0, w - m_topLeft.width() - m_topRight.width(), captionH), m_caption);
    p.drawPixmap(w - m_topRight.width(), 0, m_topRight);
    // Side edges.
    p.drawPixmap(QRect(0, captionH, m_left.width(), h - captionH - bottomH), m_left);
    p.drawPixmap(QRect(w - m_right.width(), captionH, m_right.width(), h - captionH - bottomH), m_right);
    // Bottom.
    p.drawPixmap(0, h - m_bottomLeft.height(), m_bottomLeft);
    p.drawPixmap(
        QRect(m_bottomLeft.width(), h - bottomH, w - m_bottomLeft.width() - m_bottomRight.width(), bottomH), m_bottom);
    p.drawPixmap(w - m_bottomRight.width(), h - m_bottomRight.height(), m_bottomRight);

    if (m_captionButtons && !m_close.isNull()) {
        auto drawButton = [&](CaptionButton b, const QPixmap& strip) {
            if (strip.isNull())
                return;
            const int bw = strip.width() / 3;
            p.drawPixmap(captionButtonRect(b).topLeft(), strip, QRect(m_buttonState[b] * bw, 0, bw, strip.height()));
        };
        drawButton(Close, m_close);
        drawButton(Maximise, m_maximised ? m_restore : m_maximise);
        drawButton(Minimise, m_minimise);
    }

    if (m_titleVisible && captionH > 0) {
        p.setFont(m_titleFont);
        p.setPen(m_titleColour);
        const QRect titleRect(0, 0, w, captionH);
        const QString shown = QFontMetrics(m_titleFont).elidedText(m_title, Qt::ElideRight, w);
        p.drawText(titleRect, Qt::AlignCenter | Qt::TextSingleLine, shown);
    }

    p.drawPixmap(10, 4, m_icon);

    if (m_statusOn && captionH > 0) {
        const int x = w - m_status.width() - 10;
        p.drawPixmap(x, 0, m_status);
        p.setFont(m_titleFont);
        p.setPen(m_titleColour);
        const QRect statusRect(x, 0, 50, captionH);
        p.drawText(statusRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
            QFontMetrics(m_titleFont).elidedText(m_statusText, Qt::ElideRight, 50));
    }
}

void CDlgFrame::resizeEvent(QResizeEvent* event)
{
    m_client->setGeometry(rect().marginsRemoved(m_margins));
    if (m_moveSizeActive)
        m_moveSizeEndTimer.start();
    QDialog::resizeEvent(event);
}

void CDlgFrame::moveEvent(QMoveEvent* event)
{
    if (m_moveSizeActive && !m_manualMove)
        m_moveSizeEndTimer.start();
    QDialog::moveEvent(event);
}

void CDlgFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        // The window system may maximise or restore the window by itself (keyboard, window menu).
        m_maximised = windowState().testFlag(Qt::WindowMaximized);
        update();
    } else if (event->type() == QEvent::ActivationChange) {
        update();
    }
    QDialog::changeEvent(event);
}

void CDlgFrame::updateHover(const QPoint& pos)
{
    const CaptionButton over = buttonAt(pos);
    bool changed = false;
    for (CaptionButton b : { Close, Maximise, Minimise }) {
        const int wanted = (b == over) ? 1 : 0;
        if (m_buttonState[b] != wanted) {
            m_buttonState[b] = wanted;
            changed = true;
        }
    }
    if (changed)
        update();
}

void CDlgFrame::toggleMaximised()
{
    m_maximised = !m_maximised;
    if (m_maximised)
        showMaximized();
    else
        showNormal();
    update();
}

void CDlgFrame::beginMove(const QPoint& globalPos)
{
    onMoveSizeStart();
    m_moveSizeActive = true;
    if (windowHandle() && windowHandle()->startSystemMove()) {
        // The window system moves the window from here on; the move ends when it stops moving.
        m_manualMove = false;
        m_lastMoveManual = false;
        m_moveSizeEndTimer.start();
        return;
    }
    m_manualMove = true;
    m_lastMoveManual = true;
    m_moveOffset = globalPos - frameGeometry().topLeft();
}

void CDlgFrame::endMoveSize()
{
    if (!m_moveSizeActive)
        return;
    m_moveSizeActive = false;
    m_manualMove = false;
    m_moveSizeEndTimer.stop();
    onMoveSizeEnd();
}

void CDlgFrame::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton && inCaption(pos) && buttonAt(pos) == NoButton) {
        showWindowMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    const CaptionButton button = buttonAt(pos);
    if (button != NoButton) {
        m_pressedButton = button;
        m_buttonState[button] = 2;
        update();
        return;
    }
    if (inCaption(pos)) {
        // A maximised window stays where it is.
        if (m_maximised)
            return;
        for (int& s : m_buttonState)
            s = 0;
        update();
        const Qt::Edges edges = edgesAt(pos);
        if (edges) {
            onMoveSizeStart();
            m_moveSizeActive = true;
            if (windowHandle())
                windowHandle()->startSystemResize(edges);
            m_moveSizeEndTimer.start();
            return;
        }
        beginMove(event->globalPosition().toPoint());
        return;
    }
    const Qt::Edges edges = edgesAt(pos);
    if (edges && windowHandle()) {
        onMoveSizeStart();
        m_moveSizeActive = true;
        windowHandle()->startSystemResize(edges);
        m_moveSizeEndTimer.start();
    }
}

void CDlgFrame::mouseMoveEvent(QMouseEvent* event)
{
    if (m_manualMove && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_moveOffset);
        return;
    }
    if (m_pressedButton != NoButton)
        return;
    const QPoint pos = event->position().toPoint();
    updateHover(pos);
    const Qt::Edges edges = edgesAt(pos);
    if ((edges & Qt::LeftEdge && edges & Qt::TopEdge) || (edges & Qt::RightEdge && edges & Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if ((edges & Qt::RightEdge && edges & Qt::TopEdge) || (edges & Qt::LeftEdge && edges & Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (edges & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

void CDlgFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    if (m_manualMove) {
        endMoveSize();
        return;
    }
    const QPoint pos = event->position().toPoint();
    const CaptionButton pressed = m_pressedButton;
    m_pressedButton = NoButton;
    if (pressed != NoButton) {
        m_buttonState[pressed] = 0;
        if (buttonAt(pos) == pressed) {
            if (pressed == Close)
                QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            else if (pressed == Maximise)
                toggleMaximised();
            else
                showMinimized();
        }
    }
    updateHover(pos);
    update();
}

void CDlgFrame::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !inCaption(pos) || !m_captionButtons)
        return;
    if (buttonAt(pos) != NoButton) {
        // The second press of a double click on a button is an ordinary press.
        mousePressEvent(event);
        return;
    }
    toggleMaximised();
}

void CDlgFrame::leaveEvent(QEvent* event)
{
    if (m_pressedButton == NoButton)
        updateHover(QPoint(-1, -1));
    QDialog::leaveEvent(event);
}

void CDlgFrame::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A dialog closes through its own buttons, never by the default key handling.
        event->accept();
        return;
    case Qt::Key_Space:
        if (event->modifiers() & Qt::AltModifier) {
            showWindowMenu(mapToGlobal(QPoint(0, m_margins.top())));
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

QMenu* CDlgFrame::createWindowMenu()
{
    auto* menu = new QMenu(this);
    const bool minimised = isMinimized();
    const bool maximised = m_maximised && !minimised;
    const bool normal = !minimised && !maximised;

    QAction* restore = menu->addAction(StringById(kStrRestore));
    restore->setObjectName(QStringLiteral("restore"));
    restore->setEnabled(!normal);
    connect(restore, &QAction::triggered, this, [this] {
        m_maximised = false;
        showNormal();
    });
    QAction* moveAction = menu->addAction(StringById(kStrMove));
    moveAction->setObjectName(QStringLiteral("move"));
    moveAction->setEnabled(normal);
    connect(moveAction, &QAction::triggered, this, [this] { beginMove(QCursor::pos()); });
    QAction* sizeAction = menu->addAction(StringById(kStrSize));
    sizeAction->setObjectName(QStringLiteral("size"));
    sizeAction->setEnabled(normal);
    connect(sizeAction, &QAction::triggered, this, [this] {
        if (!windowHandle())
            return;
        onMoveSizeStart();
        m_moveSizeActive = true;
        windowHandle()->startSystemResize(Qt::RightEdge | Qt::BottomEdge);
        m_moveSizeEndTimer.start();
    });
    QAction* minimise = menu->addAction(StringById(kStrMinimise));
    minimise->setObjectName(QStringLiteral("minimise"));
    minimise->setEnabled(!minimised);
    connect(minimise, &QAction::triggered, this, &QWidget::showMinimized);
    QAction* maximise = menu->addAction(StringById(kStrMaximise));
    maximise->setObjectName(QStringLiteral("maximise"));
    maximise->setEnabled(!maximised);
    connect(maximise, &QAction::triggered, this, [this] {
        m_maximised = true;
        showMaximized();
    });
    menu->addSeparator();
    QAction* closeAction = menu->addAction(StringById(kStrClose));
    closeAction->setObjectName(QStringLiteral("close"));
    connect(closeAction, &QAction::triggered, this, &QWidget::close, Qt::QueuedConnection);
    return menu;
}

void CDlgFrame::showWindowMenu(const QPoint& globalPos)
{
    QMenu* menu = createWindowMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}
