#include "catalogue/CDlgCopy.h"

#include "app/StringTables.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kLeftX = 25;
constexpr int kTop = 35;
constexpr int kRightTop = 34;
constexpr int kBarHeight = 10;
constexpr int kTextTop = 130;
constexpr int kTextGap = 3;
constexpr int kLinePitch = 20;
constexpr int kLineHeight = 15;
// Sizes the layout falls back to when the skin module is missing.
const QSize kFallbackPiece(100, 90);
const QSize kFallbackFrame(157, 90);

QSize sizeOr(int id, const QSize& fallback)
{
    const QSize s = SkinModule::size(id);
    return s.isValid() && !s.isEmpty() ? s : fallback;
}

} // namespace

CDlgCopy::CDlgCopy(const QString& videoExtension, QWidget* parent)
    : CDlgFrame(kTemplateId, parent)
    , m_job(videoExtension)
{
    setModal(true);
    setCaptionButtons(false);
    setTitleVisible(false);
    setBackgroundColour(Qt::black);
    setFixedSize(kWidth, kHeight);
    client()->setGeometry(rect().marginsRemoved(frameMargins()));
    m_progress = new CSkinSlider(client(), kProgressId);
    m_progress->setTrackImage(kImageTrack);
    m_progress->setFillImage(kImageFill);
    m_progress->setThumbImage(0);
    // It shows progress; a click must not move it.
    m_progress->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &CDlgCopy::tick);
    layout();
}

CDlgCopy::~CDlgCopy()
{
    m_timer.stop();
    if (m_worker.joinable()) {
        m_job.Cancel();
        m_worker.join();
    }
}

void CDlgCopy::layout()
{
    const QSize left = sizeOr(kImageLeft, kFallbackPiece);
    QSize frame = kFallbackFrame;
    const QSize strip = SkinModule::size(kImageStrip);
    if (strip.isValid() && strip.height() >= kFrames)
        frame = QSize(strip.width(), strip.height() / kFrames);
    const QSize right = sizeOr(kImageRight, kFallbackPiece);
    m_leftRect = QRect(QPoint(kLeftX, kTop), left);
    m_stripRect = QRect(QPoint(m_leftRect.right() + 1, kTop), frame);
    m_rightRect = QRect(QPoint(m_stripRect.right() + 1, kRightTop), right);
    m_progress->setGeometry(kLeftX, m_leftRect.bottom() + 1, m_rightRect.right() + 1 - kLeftX, kBarHeight);
}

QRect CDlgCopy::textRect(int line) const
{
    // The lines stand at y 130 and 150 under artwork up to 95 pixels high; taller artwork pushes the
    // progress bar down into them, and then they move below the bar instead of being covered by it.
    const int top = std::max(kTextTop, m_progress->geometry().bottom() + 1 + kTextGap) + line * kLinePitch;
    return QRect(QPoint(30, top), QPoint(380 - 1, top + kLineHeight - 1));
}

void CDlgCopy::showEvent(QShowEvent* event)
{
    CDlgFrame::showEvent(event);
    startWorker();
}

void CDlgCopy::startWorker()
{
    if (m_worker.joinable() || m_job.isDone())
        return;
    m_progress->setRange(0, m_job.queuedVideoCount());
    m_progress->setPosition(0);
    m_timer.start();
    m_worker = std::thread([this] { m_job.Run(); });
}

void CDlgCopy::tick()
{
    m_frame = (m_frame + 1) % kFrames;
    client()->update(m_stripRect);
    m_progress->setPosition(m_job.finishedVideoCount());
    if (!m_job.isDone())
        return;
    if (++m_afterDoneTicks > 2) {
        m_timer.stop();
        if (m_worker.joinable())
            m_worker.join();
        done(0);
    }
}

void CDlgCopy::paintClient(QPainter& p)
{
    p.drawPixmap(m_leftRect.topLeft(), SkinModule::image(kImageLeft));
    const QPixmap strip = SkinModule::image(kImageStrip);
    if (!strip.isNull())
        p.drawPixmap(m_stripRect.topLeft(), strip,
            QRect(0, m_frame * m_stripRect.height(), m_stripRect.width(), m_stripRect.height()));
    p.drawPixmap(m_rightRect.topLeft(), SkinModule::image(kImageRight));

    p.setPen(Qt::white);
    p.setFont(SkinFont(13));
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    p.drawText(textRect(0), flags, StringById(251));
    p.drawText(textRect(1), flags, StringById(252));
}

void CDlgCopy::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        m_job.Cancel();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    CDlgFrame::keyPressEvent(event);
}

void CDlgCopy::reject()
{
    // Only the job's end closes the dialog; a close request counts as ESC.
    m_job.Cancel();
}
