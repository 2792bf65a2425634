#include "skin/CDlgMessage.h"

#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/MessageBoxLayout.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QOperatingSystemVersion>
#include <QPainter>

#include <utility>

namespace {

struct ButtonSpec
{
    int image = 0;
    int result = 0;
};

struct StyleSpec
{
    ButtonSpec slots[3];
};

// Buttons per style: left, middle, right.
StyleSpec styleSpec(int style)
{
    constexpr ButtonSpec none {};
    constexpr ButtonSpec ok { 3131, 1 };
    constexpr ButtonSpec cancel { 3126, 2 };
    switch (style) {
    case 0:
        return { { none, none, ok } };
    case 1:
        return { { none, ok, cancel } };
    case 2:
        return { { { 3133, 3 }, { 3132, 4 }, { 3128, 5 } } };
    case 3:
        return { { { 3134, 6 }, { 3130, 7 }, cancel } };
    case 4:
        return { { none, { 3134, 6 }, { 3130, 7 } } };
    case 5:
        return { { none, { 3132, 4 }, cancel } };
    case 1024:
        return { { { 3127, 1 }, { 3129, 7 }, cancel } };
    case 1025:
        return { { none, none, none } };
    case 1026:
        return { { { 3155, 1 }, { 3156, 7 }, cancel } };
    case 1027:
    case 1028:
        return { { none, none, ok } };
    default:
        // An unknown style still gets a way out.
        return { { none, none, ok } };
    }
}

const int kSlotControlIds[3] = { CDlgMessage::LeftButton, CDlgMessage::MiddleButton, CDlgMessage::RightButton };

constexpr int kCheckImage = 3139;
constexpr int kRadioSize = 15;
// Line pitch of the viewer chooser's text, which lines up with its radio buttons.
constexpr int kChooserLinePitch = 17;

struct AskState
{
    QList<int> answers;
    QList<CDlgMessage::Asked> asked;
    bool autoClose = false;
    qint64 autoCloseStart = 0;
    std::function<qint64()> clock;
};

AskState& askState()
{
    static AskState s;
    return s;
}

const QColor kTextColour(180, 180, 180);
const QColor kBoxBackground(24, 24, 24);

} // namespace

CDlgMessage::CDlgMessage(int style, const QString& text, const QString& caption, QWidget* parent)
    : CDlgFrame(kTemplateId, parent)
    , m_style(style)
    , m_text(text)
    , m_caption(caption)
{
    setModal(true);
    setFocusPolicy(Qt::StrongFocus);
    setCaptionButtons(false);
    setBackgroundColour(kBoxBackground);
    setFixedSize(msgbox::kWindowWidth, msgbox::kWindowHeight);
    setTitle(caption);
    setTitleVisible(!caption.isEmpty());
    if (style == StyleAbortRetryIgnore)
        m_decoration = 3321;
    else if (style == StyleRetryCancel)
        m_decoration = 3320;
    else if (style != StyleViewerChooser)
        m_decoration = 3319;
    m_checkText = defaultCheckText();
    client()->setGeometry(rect().marginsRemoved(frameMargins()));
    buildControls();
    layoutText();
    m_autoCloseTimer.setInterval(200);
    connect(&m_autoCloseTimer, &QTimer::timeout, this, &CDlgMessage::checkAutoClose);
}

QString CDlgMessage::defaultCheckText()
{
    // "Do not show again"; the same Korean text in every language.
    return QStringLiteral("     다시 보지 않기");
}

QFont CDlgMessage::textFont()
{
    return SkinFont(17);
}

void CDlgMessage::buildControls()
{
    const int w = client()->width();
    const int h = client()->height();
    const StyleSpec layout = styleSpec(m_style);
    for (int slot = 0; slot < 3; ++slot) {
        const ButtonSpec& b = layout.slots[slot];
        if (!b.image)
            continue;
        if (m_style == StyleOk && slot == 2 && isAutoClose())
            continue;
        auto* button = new CSkinButton(client(), kSlotControlIds[slot]);
        button->setImage(b.image);
        button->setGeometry(msgbox::buttonRect(msgbox::ButtonSlot(slot), w, h, m_style));
        m_buttons[slot] = button;
        m_results[slot] = b.result;
    }
    auto addRadio = [&](int id, int x, int y) {
        auto* radio = new CSkinRadioButton(client(), id);
        radio->setImage(kCheckImage);
        radio->setGeometry(x, y, kRadioSize, kRadioSize);
        m_radios << radio;
    };
    if (m_style == StyleViewerChooser) {
        addRadio(RadioHigh, 15, 32);
        addRadio(RadioMid, 15, 49);
        addRadio(RadioLow, 15, 66);
    }
    if (m_style == StyleViewerChooser || m_style == StyleDoNotShowAgain)
        addRadio(CheckBox, 15, 135);
}

QRect CDlgMessage::textArea() const
{
    const int w = client()->width();
    if (m_style == StyleViewerChooser)
        return QRect(QPoint(15, 15), QPoint(w - 15 - 1, 135 - 1));
    return msgbox::textArea(w, client()->height());
}

void CDlgMessage::layoutText()
{
    QString text = m_text;
    if (m_style == StyleDoNotShowAgain) {
        QString osLine;
#ifdef Q_OS_WIN
        const QOperatingSystemVersion os = QOperatingSystemVersion::current();
        osLine = msgbox::windowsVersionLine(os.majorVersion(), os.minorVersion());
#endif
        if (!osLine.isEmpty())
            text = osLine + QLatin1Char('\n') + text;
    }
    const QFontMetrics fm(textFont());
    m_lines = msgbox::wrapText(text, textArea().width(), [&fm](const QString& s) { return fm.horizontalAdvance(s); });
}

QRect CDlgMessage::lineRect(int index) const
{
    const QRect area = textArea();
    if (m_style == StyleViewerChooser)
        return QRect(area.left(), area.top() + index * kChooserLinePitch, area.width(), kChooserLinePitch);
    return msgbox::lineBand(int(m_lines.size()), index, area);
}

CSkinRadioButton* CDlgMessage::radio(int controlId) const
{
    for (CSkinRadioButton* r : m_radios) {
        if (r->controlId() == controlId)
            return r;
    }
    return nullptr;
}

bool CDlgMessage::isChecked() const
{
    return m_checked;
}

void CDlgMessage::setChecked(bool checked)
{
    m_checked = checked;
    if (CSkinRadioButton* box = radio(CheckBox))
        box->setChecked(checked);
}

void CDlgMessage::setCheckText(const QString& text)
{
    m_checkText = text;
    client()->update();
}

void CDlgMessage::paintClient(QPainter& p)
{
    const int w = client()->width();
    const int h = client()->height();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (m_decoration) {
        const QPixmap decoration = SkinModule::image(m_decoration);
        const QRect target = msgbox::decorationRect(w, h);
        if (!decoration.isNull() && target.isValid())
            p.drawPixmap(target, decoration);
    }
    p.setFont(textFont());
    p.setPen(kTextColour);
    for (int i = 0; i < m_lines.size(); ++i)
        p.drawText(lineRect(i), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip, m_lines.at(i));
    if (radio(CheckBox))
        p.drawText(QRect(15, 135 - 1, w - 30, kRadioSize + 2), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
            m_checkText);
}

void CDlgMessage::customEvent(QEvent* event)
{
    if (event->type() != NotifyEvent::eventType()) {
        CDlgFrame::customEvent(event);
        return;
    }
    const auto* notify = static_cast<NotifyEvent*>(event);
    const int id = int(notify->param());
    if (notify->code() == NotifyEvent::SkinButton) {
        for (int slot = 0; slot < 3; ++slot) {
            if (m_buttons[slot] && kSlotControlIds[slot] == id) {
                done(m_results[slot]);
                return;
            }
        }
        return;
    }
    if (notify->code() == NotifyEvent::SkinRadioButton) {
        if (id == CheckBox) {
            // A check box: every click flips it.
            setChecked(!m_checked);
            Q_EMIT checkToggled(m_checked);
            return;
        }
        for (CSkinRadioButton* r : m_radios) {
            if (r->controlId() != CheckBox)
                r->setChecked(r->controlId() == id);
        }
        Q_EMIT radioClicked(id);
    }
}

void CDlgMessage::keyPressEvent(QKeyEvent* event)
{
    if (isAutoClose()) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        done(ResultCancel);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        done(ResultYes);
        return;
    default:
        CDlgFrame::keyPressEvent(event);
    }
}

void CDlgMessage::reject()
{
    // Closing the window answers like Cancel.
    done(ResultCancel);
}

bool CDlgMessage::event(QEvent* event)
{
    const bool handled = CDlgFrame::event(event);
    if (isVisible() && isAutoClose())
        checkAutoClose();
    return handled;
}

void CDlgMessage::showEvent(QShowEvent* event)
{
    CDlgFrame::showEvent(event);
    if (isAutoClose())
        m_autoCloseTimer.start();
}

void CDlgMessage::checkAutoClose()
{
    if (!isAutoClose()) {
        m_autoCloseTimer.stop();
        return;
    }
    if (!isVisible() || clockSeconds() - askState().autoCloseStart <= 2)
        return;
    setAutoClose(false);
    m_autoCloseTimer.stop();
    // Closed like a window-close message: after the event being handled, never inside it.
    QMetaObject::invokeMethod(this, &CDlgMessage::reject, Qt::QueuedConnection);
}

int CDlgMessage::ask(int style, const QString& text, const QString& caption, QWidget* parent)
{
    AskState& s = askState();
    if (!s.answers.isEmpty()) {
        s.asked.append({ style, text, caption });
        return s.answers.takeFirst();
    }
    CDlgMessage box(style, text, caption, parent ? parent : QApplication::activeWindow());
    return box.exec();
}

int CDlgMessage::ask(int style, int stringId, QWidget* parent)
{
    return ask(style, StringById(stringId), QString(), parent);
}

void CDlgMessage::setNextAnswer(int result)
{
    askState().answers.append(result);
}

void CDlgMessage::clearNextAnswers()
{
    askState().answers.clear();
    askState().asked.clear();
}

QList<CDlgMessage::Asked> CDlgMessage::takeAsked()
{
    return std::exchange(askState().asked, {});
}

void CDlgMessage::setAutoClose(bool on)
{
    askState().autoClose = on;
    if (on)
        askState().autoCloseStart = clockSeconds();
}

bool CDlgMessage::isAutoClose()
{
    return askState().autoClose;
}

qint64 CDlgMessage::clockSeconds()
{
    if (askState().clock)
        return askState().clock();
    static QElapsedTimer processClock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return processClock.elapsed() / 1000;
}

void CDlgMessage::setClockForTesting(std::function<qint64()> clock)
{
    askState().clock = std::move(clock);
}
