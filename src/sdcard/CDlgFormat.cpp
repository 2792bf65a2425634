#include "sdcard/CDlgFormat.h"

#include "app/StringTables.h"
#include "skin/CProgress.h"
#include "skin/SkinFont.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr int kStrFormatting = 262;
constexpr int kStrTesting = 263;
constexpr int kMargin = 30;
} // namespace

CDlgFormat::CDlgFormat(MaintenanceMode mode, int countryCode, Job job, QWidget* parent)
    : CDlgFrame(kTemplateId, parent)
    , m_mode(mode)
    , m_country(countryCode)
    , m_job(std::move(job))
{
    setModal(true);
    // No caption buttons: the job must not be left half done.
    setCaptionButtons(false);
    setBackgroundColour(QColor(27, 27, 27));
    setFixedSize(kWindowSize);
    client()->setGeometry(rect().marginsRemoved(frameMargins()));
    m_warning = CardWarningLine(countryCode, mode != MaintenanceMode::LowFormat);
    m_progress = new CProgress(client());
    m_progress->setGeometry(30, 10, 490, 30);
    m_progress->show();
    refreshStatus();
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &CDlgFormat::tick);
}

void CDlgFormat::showEvent(QShowEvent* event)
{
    CDlgFrame::showEvent(event);
    if (!m_timer.isActive() && !m_done)
        m_timer.start();
}

void CDlgFormat::setPercent(int percent)
{
    m_percent = qBound(0, percent, 100);
}

void CDlgFormat::pump()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void CDlgFormat::tick()
{
    if (!m_started) {
        m_started = true;
        // The job runs outside this handler: a timer is never re-entered from its own handler, and the ticks
        // during the job (it pumps) are what refresh the display.
        QMetaObject::invokeMethod(this, &CDlgFormat::runJob, Qt::QueuedConnection);
    }
    if (m_percent != m_shownPercent)
        update();
    refreshStatus();
    if (m_done) {
        m_timer.stop();
        done(m_result);
    }
}

void CDlgFormat::runJob()
{
    m_result = m_job ? m_job(*this) : 2;
    m_done = true;
}

void CDlgFormat::refreshStatus()
{
    const int id = m_mode == MaintenanceMode::LowFormat ? kStrFormatting : kStrTesting;
    m_status = FormatNumbers(StringById(id), { m_percent });
    m_progress->setValue(m_percent);
    m_progress->setLabel(QStringLiteral("%1%").arg(m_percent));
    m_shownPercent = m_percent;
    client()->update();
}

QRect CDlgFormat::statusRect() const
{
    const int w = client()->width();
    if (m_country == 82)
        return QRect(QPoint(kMargin, 45), QPoint(w - kMargin - 1, client()->height() - 1));
    return QRect(QPoint(kMargin, 55), QPoint(w - kMargin - 1, 85 - 1));
}

QRect CDlgFormat::warningRect() const
{
    return QRect(QPoint(kMargin, 85), QPoint(client()->width() - kMargin - 1, 115 - 1));
}

void CDlgFormat::paintClient(QPainter& painter)
{
    painter.setPen(Qt::white);
    painter.setFont(SkinFont(15));
    const int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.drawText(statusRect(), flags, m_status);
    if (!m_warning.isEmpty())
        painter.drawText(warningRect(), flags, m_warning);
}

void CDlgFormat::reject()
{
    // Escape and the window system's close reach here; only the finished job ends the dialog.
    if (m_done)
        CDlgFrame::reject();
}

void CDlgFormat::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void CDlgFormat::closeEvent(QCloseEvent* event)
{
    if (!m_done)
        event->ignore();
    else
        CDlgFrame::closeEvent(event);
}
