#include "playback/CPlayWnd.h"

#include "playback/PlayerContext.h"
#include "playback/VideoFrameSink.h"
#include "playback/VideoSurfaceLayout.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

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
    QRect pictureRect() const { return m_pictureRect; }
    uint64_t painted() const { return m_painted; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        VideoFrameSink::Frame frame;
        bool fresh = false;
        if (!m_sink || !m_sink->takeFrame(frame, &fresh)) {
            painter.fillRect(rect(), Qt::black);
            m_pictureRect = QRect();
            return;
        }
        if (fresh)
            ++m_painted;
        const QImage image(frame.bits, frame.width, frame.height, frame.stride, QImage::Format_RGB32);
        const QRect target = FitPictureRect(size(), image.size());
        m_pictureRect = target;

        // Bars around the picture.
        painter.fillRect(QRect(0, 0, width(), target.top()), Qt::black);
        painter.fillRect(QRect(0, target.bottom() + 1, width(), height() - target.bottom() - 1), Qt::black);
        painter.fillRect(QRect(0, target.top(), target.left(), target.height()), Qt::black);
        painter.fillRect(
            QRect(target.right() + 1, target.top(), width() - target.right() - 1, target.height()), Qt::black);

        const int flips = m_sink->flips();
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

private:
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

QWidget* CPlayWnd::videoWindow() const
{
    return m_videoWindow;
}

QRect CPlayWnd::pictureRect() const
{
    return m_videoWindow->pictureRect();
}

uint64_t CPlayWnd::framesPainted() const
{
    return m_videoWindow->painted();
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
