#include "playback/CPlayWnd.h"

#include "platform/FrameMemory.h"
#include "platform/NativeFramePresenter.h"
#include "playback/Magnifier.h"
#include "playback/PlayerContext.h"
#include "playback/VideoFrameSink.h"
#include "playback/VideoSurfaceLayout.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>
#include <array>
#include <memory>

// The inner video window. It paints every pixel itself (picture and black bars), so Qt need not clear it.
class CPlayWnd::VideoWindow : public QWidget
{
public:
    explicit VideoWindow(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }

    void setSink(VideoFrameSink* sink)
    {
        if (m_sink)
            disconnect(m_sink.data(), nullptr, this, nullptr);
        m_sink = sink;
        m_painted = 0;
        if (m_sink) {
            m_sink->setSharedFrames(m_presenter != nullptr);
            connect(
                m_sink.data(), &VideoFrameSink::frameReady, this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
            updateDisplayArea();
        }
    }

    void updateDisplayArea()
    {
        if (m_sink)
            m_sink->setDisplayArea(size() * devicePixelRatioF());
    }

    VideoFrameSink* sink() const { return m_sink; }

    void setMagnifier(Magnifier* magnifier)
    {
        if (m_magnifier)
            disconnect(m_magnifier.data(), nullptr, this, nullptr);
        m_magnifier = magnifier;
        if (m_magnifier)
            connect(m_magnifier.data(), &Magnifier::changed, this, qOverload<>(&QWidget::update));
        update();
    }
    Magnifier* magnifier() const { return m_magnifier; }
    bool magnifying() const { return m_magnifier && m_magnifier->isAllowed() && m_magnifier->isOn(); }
    QRect pictureRect() const { return m_pictureRect; }
    uint64_t painted() const { return m_painted; }
    bool presentsNatively() const { return m_presenter != nullptr; }

protected:
    // Where the window system can take frames from shared memory, the window is painted only that way (the
    // toolkit gets no painting engine for it); elsewhere Qt paints it.
    QPaintEngine* paintEngine() const override { return m_presenter ? nullptr : QWidget::paintEngine(); }

    void showEvent(QShowEvent*) override { setUpNativePresenting(); }

    void paintEvent(QPaintEvent*) override
    {
        // The frame put last goes back to the video thread when the next one is taken: the server must have
        // read it by then.
        if (m_presenter)
            m_presenter->finishReading();
        VideoFrameSink::Frame frame;
        bool fresh = false;
        const bool haveFrame = m_sink && m_sink->takeFrame(frame, &fresh);
        if (haveFrame && fresh) {
            ++m_painted;
            if (auto* surface = qobject_cast<CPlayWnd*>(parentWidget()))
                Q_EMIT surface->framePainted();
        }
        if (!m_presenter) {
            QPainter painter(this);
            paintPicture(painter, haveFrame ? &frame : nullptr);
            return;
        }
        if (haveFrame && putAsItIs(frame))
            return;
        if (!m_presenter->usable()) {
            stopNativePresenting();
            update();
            return;
        }
        // Anything else (the magnifier, flips, a picture to be scaled) is composed in shared memory and put
        // whole.
        const QSize area = size();
        if (area.isEmpty())
            return;
        if (!m_compose || m_composeSize != area) {
            m_compose.reset();
            m_compose = std::make_unique<FrameMemory>(
                1, size_t(area.width()) * 4 * size_t(area.height()), FrameMemory::Shared);
            m_composeSize = area;
        }
        if (!m_compose->isNull()) {
            QImage canvas(m_compose->frame(0), area.width(), area.height(), area.width() * 4, QImage::Format_RGB32);
            {
                QPainter painter(&canvas);
                painter.setFont(font());
                paintPicture(painter, haveFrame ? &frame : nullptr);
            }
            if (m_presenter->put(*m_compose, 0, area, area.width() * 4, QPoint(0, 0)))
                return;
        }
        if (!m_presenter->usable()) {
            stopNativePresenting();
            update();
            return;
        }
        m_presenter->fillBlack(rect());
    }

    void paintPicture(QPainter& painter, const VideoFrameSink::Frame* frame)
    {
        if (!frame) {
            painter.fillRect(rect(), Qt::black);
            m_pictureRect = QRect();
            return;
        }
        const QImage image(frame->bits, frame->width, frame->height, frame->stride, QImage::Format_RGB32);
        const QRect target = FitPictureRect(size(), image.size());
        m_pictureRect = target;

        // Bars around the picture.
        for (const QRect& bar : barsAround(target))
            painter.fillRect(bar, Qt::black);

        const int flips = m_sink->flips();
        if (magnifying()) {
            paintMagnified(painter, image, target, flips);
            return;
        }
        if (flips == VideoFrameSink::NoFlip && target.size() == image.size()) {
            // The library delivered the frame at the painted size: a plain copy.
            painter.drawImage(target.topLeft(), image);
            return;
        }
        // A surface resized since the video started, or a flipped picture: a non-smooth scale, which keeps
        // repaints cheap.
        const bool first = flips & VideoFrameSink::FirstFlip;
        const bool second = flips & VideoFrameSink::SecondFlip;
        painter.translate(first ? target.right() + 1 : target.left(), second ? target.bottom() + 1 : target.top());
        painter.scale(first ? -1 : 1, second ? -1 : 1);
        painter.drawImage(QRect(QPoint(0, 0), target.size()), image);
    }

    void resizeEvent(QResizeEvent*) override { updateDisplayArea(); }

    // One wheel notch is one gauge step; a turn with the magnifier off only arms the gauge.
    void wheelEvent(QWheelEvent* event) override
    {
        if (!m_magnifier || !m_magnifier->isAllowed()) {
            event->ignore();
            return;
        }
        // Fine-grained wheels send parts of a notch; they add up to whole steps.
        m_wheelRemainder += event->angleDelta().y();
        const int notches = m_wheelRemainder / 120;
        m_wheelRemainder -= notches * 120;
        for (int i = 0; i < qAbs(notches); ++i)
            m_magnifier->wheel(notches > 0 ? 120 : -120);
        event->accept();
    }

    // Dragging the magnified picture moves the region with the hand, as on a map.
    void mousePressEvent(QMouseEvent* event) override
    {
        if (!magnifying() || event->button() != Qt::LeftButton) {
            QWidget::mousePressEvent(event);
            return;
        }
        m_dragging = true;
        m_dragFrom = event->position();
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!m_dragging || !magnifying() || m_pictureRect.isEmpty()) {
            QWidget::mouseMoveEvent(event);
            return;
        }
        const QPointF delta = event->position() - m_dragFrom;
        m_dragFrom = event->position();
        const QRectF region = m_magnifier->regionFraction();
        m_magnifier->moveRegionBy(QPointF(-delta.x() * region.width() / m_pictureRect.width(),
            -delta.y() * region.height() / m_pictureRect.height()));
        event->accept();
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        m_dragging = false;
        QWidget::mouseReleaseEvent(event);
    }

private:
    void paintMagnified(QPainter& painter, const QImage& image, const QRect& target, int flips)
    {
        const MagnifierLayout layout = m_magnifier->layout(image.size(), target, flips);
        const bool first = flips & VideoFrameSink::FirstFlip;
        const bool second = flips & VideoFrameSink::SecondFlip;
        // Drawn with the flips, so that the region chosen on the picture as seen is what shows.
        const auto drawFlipped = [&](const QRect& to, const QRect& from, bool smooth) {
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
            painter.translate(first ? to.right() + 1 : to.left(), second ? to.bottom() + 1 : to.top());
            painter.scale(first ? -1 : 1, second ? -1 : 1);
            painter.drawImage(QRect(QPoint(0, 0), to.size()), image, from);
            painter.restore();
        };
        // Enlarged pixels are smoothed so that edges (a number plate's letters) stay readable; a region
        // still larger than the picture is reduced without it, which costs little.
        const bool enlarging = layout.source.width() < target.width();
        drawFlipped(target, layout.source, enlarging);

        // The overview with the region marked.
        drawFlipped(layout.overview, image.rect(), false);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
        painter.drawRect(layout.overview.adjusted(-1, -1, 0, 0));
        painter.setPen(QPen(QColor(255, 210, 0), 2));
        painter.drawRect(layout.overviewMark.adjusted(0, 0, -1, -1));

        // The zoom gauge: the track, the part up to the current step, the position and the factor.
        const QRect g = layout.gauge;
        painter.fillRect(g.adjusted(-2, -2, 2, 2), QColor(0, 0, 0, 140));
        painter.fillRect(g, QColor(70, 70, 70, 220));
        painter.fillRect(QRect(g.left(), layout.gaugeMarkY, g.width(), g.bottom() - layout.gaugeMarkY + 1),
            QColor(255, 210, 0, 230));
        painter.setPen(QPen(Qt::white, 2));
        painter.drawLine(g.left() - 3, layout.gaugeMarkY, g.right() + 3, layout.gaugeMarkY);
        QFont font = painter.font();
        font.setPixelSize(qMax(10, g.width() + 4));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(g.left() - 4, g.bottom() + 6, 80, font.pixelSize() + 4), Qt::AlignLeft | Qt::AlignTop,
            QStringLiteral("%1x").arg(m_magnifier->zoomFactor(), 0, 'f', 1));
    }

    std::array<QRect, 4> barsAround(const QRect& target) const
    {
        return { QRect(0, 0, width(), target.top()),
            QRect(0, target.bottom() + 1, width(), height() - target.bottom() - 1),
            QRect(0, target.top(), target.left(), target.height()),
            QRect(target.right() + 1, target.top(), width() - target.right() - 1, target.height()) };
    }

    // The frame as the library delivered it, straight from its buffer: the usual case while playing.
    bool putAsItIs(const VideoFrameSink::Frame& frame)
    {
        const QSize frameSize(frame.width, frame.height);
        const QRect target = FitPictureRect(size(), frameSize);
        if (magnifying() || m_sink->flips() != VideoFrameSink::NoFlip || target.size() != frameSize || !frame.memory
            || !m_presenter->put(*frame.memory, frame.offset, frameSize, frame.stride, target.topLeft()))
            return false;
        m_pictureRect = target;
        for (const QRect& bar : barsAround(target))
            m_presenter->fillBlack(bar);
        return true;
    }

    void setUpNativePresenting()
    {
        if (m_triedNative || QGuiApplication::platformName() != QLatin1String("xcb") || devicePixelRatioF() != 1.0)
            return;
        m_triedNative = true;
        // Only this window becomes native; the window around it stays as it is.
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        setAttribute(Qt::WA_NativeWindow);
        m_presenter = NativeFramePresenter::create(winId());
        if (!m_presenter)
            return;
        setAttribute(Qt::WA_PaintOnScreen);
        if (m_sink)
            m_sink->setSharedFrames(true);
    }

    void stopNativePresenting()
    {
        m_presenter.reset();
        m_compose.reset();
        setAttribute(Qt::WA_PaintOnScreen, false);
        if (m_sink)
            m_sink->setSharedFrames(false);
    }

    std::unique_ptr<NativeFramePresenter> m_presenter;
    std::unique_ptr<FrameMemory> m_compose;
    QSize m_composeSize;
    bool m_triedNative = false;

    QPointer<Magnifier> m_magnifier;
    int m_wheelRemainder = 0;
    bool m_dragging = false;
    QPointF m_dragFrom;

    // The player context that owns the sink may go before the surface does.
    QPointer<VideoFrameSink> m_sink;
    QRect m_pictureRect;
    uint64_t m_painted = 0;
};

CPlayWnd::CPlayWnd(QWidget* parent)
    : QWidget(parent)
    , m_videoWindow(new VideoWindow(this))
{
    // Black background; the inner window starts with no size until a video's size is known.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    m_videoWindow->setGeometry(0, 0, 0, 0);
    m_videoWindow->show();
}

CPlayWnd::~CPlayWnd() = default;

bool CPlayWnd::attachPlayer(PlayerContext& context)
{
    context.setSnapshotFinisher([](const QString& path, int flips) {
        QImage image(path);
        if (image.isNull())
            return false;
        return image.mirrored((flips & VideoFrameSink::FirstFlip) != 0, (flips & VideoFrameSink::SecondFlip) != 0)
            .save(path, "PNG");
    });
    m_videoWindow->setSink(&context.videoSink());
    if (m_videoKnown)
        context.videoSink().setVideoSizeHint(videoSize());
    return context.AttachVideoOutput();
}

void CPlayWnd::setVideoSize(int width, int height)
{
    m_videoKnown = true;
    m_videoWidth = width;
    m_videoHeight = height;
    if (VideoFrameSink* sink = m_videoWindow->sink())
        sink->setVideoSizeHint(QSize(width, height));
    layoutVideoWindow();
}

void CPlayWnd::clearPicture()
{
    if (VideoFrameSink* sink = m_videoWindow->sink())
        sink->discardFrames();
    m_videoWindow->update();
    update();
}

QWidget* CPlayWnd::videoWindow() const
{
    return m_videoWindow;
}

QRect CPlayWnd::pictureRect() const
{
    return m_videoWindow->pictureRect();
}

void CPlayWnd::setMagnifier(Magnifier* magnifier)
{
    m_videoWindow->setMagnifier(magnifier);
}

Magnifier* CPlayWnd::magnifier() const
{
    return m_videoWindow->magnifier();
}

uint64_t CPlayWnd::framesPainted() const
{
    return m_videoWindow->painted();
}

bool CPlayWnd::presentsNatively() const
{
    return m_videoWindow->presentsNatively();
}

void CPlayWnd::layoutVideoWindow()
{
    const QRect inner = InnerVideoRect(size(), videoSize(), m_videoKnown, m_videoWindow->geometry());
    m_videoWindow->setGeometry(inner);
    m_videoWindow->updateDisplayArea();
}

void CPlayWnd::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
}

void CPlayWnd::resizeEvent(QResizeEvent*)
{
    layoutVideoWindow();
}
