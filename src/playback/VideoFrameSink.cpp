#include "playback/VideoFrameSink.h"

#include "playback/VideoSurfaceLayout.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kFresh = 4; // set in the shared index while the newest frame has not been taken

uint64_t packSize(const QSize& size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return 0;
    return (uint64_t(uint32_t(size.width())) << 32) | uint32_t(size.height());
}

QSize unpackSize(uint64_t packed)
{
    return QSize(int(packed >> 32), int(packed & 0xffffffffu));
}

} // namespace

struct VideoFrameSink::FrameSet
{
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<unsigned char> buffers[3];
    std::atomic<int> shared{1}; // index of the newest finished frame, with kFresh while not taken
    int writing = 0;            // video thread only
    int reading = 2;            // UI thread only
    bool readerHasFrame = false;
};

VideoFrameSink::VideoFrameSink() = default;
VideoFrameSink::~VideoFrameSink() = default;

void VideoFrameSink::setDisplayArea(const QSize& area)
{
    m_area.store(packSize(area));
}

void VideoFrameSink::setVideoSizeHint(const QSize& size)
{
    m_sizeHint.store(packSize(size));
}

QSize VideoFrameSink::requestedFrameSize() const
{
    const auto set = m_set.load();
    return set ? QSize(set->width, set->height) : QSize();
}

void VideoFrameSink::setFlips(int flips)
{
    if (m_flips.exchange(flips & (FirstFlip | SecondFlip)) != (flips & (FirstFlip | SecondFlip)))
        requestPaint();
}

void VideoFrameSink::resetCounters()
{
    m_delivered.store(0);
    m_dropped.store(0);
    m_taken = 0;
}

void VideoFrameSink::requestPaint()
{
    if (!m_paintPending.exchange(true))
        Q_EMIT frameReady();
}

bool VideoFrameSink::takeFrame(Frame& frame, bool* fresh)
{
    m_paintPending.store(false);
    if (fresh)
        *fresh = false;
    // A new format takes over once its first frame is there; until then the last picture stays.
    std::shared_ptr<FrameSet> published = m_set.load();
    if (published && published != m_readerSet && (published->shared.load() & kFresh))
        m_readerSet = std::move(published);
    FrameSet* set = m_readerSet.get();
    if (!set)
        return false;
    if (set->shared.load() & kFresh) {
        set->reading = set->shared.exchange(set->reading) & ~kFresh;
        set->readerHasFrame = true;
        ++m_taken;
        if (fresh)
            *fresh = true;
    }
    if (!set->readerHasFrame)
        return false;
    frame.bits = set->buffers[set->reading].data();
    frame.width = set->width;
    frame.height = set->height;
    frame.stride = set->stride;
    return true;
}

unsigned VideoFrameSink::formatCallback(void** opaque, char* chroma, unsigned* width, unsigned* height,
                                        unsigned* pitches, unsigned* lines)
{
    auto* sink = static_cast<VideoFrameSink*>(*opaque);
    QSize source = unpackSize(sink->m_sizeHint.load());
    if (source.isEmpty())
        source = QSize(int(*width), int(*height));
    QSize area = unpackSize(sink->m_area.load());
    if (area.isEmpty())
        area = source;
    // Never larger than the video itself: enlarging is left to the painter, shrinking is done once here by
    // the library's converter instead of on every repaint.
    QSize target = FitPictureRect(area, source).size();
    if (target.width() > source.width() || target.height() > source.height())
        target = source;
    if (target.isEmpty())
        return 0;

    auto set = std::make_shared<FrameSet>();
    set->width = target.width();
    set->height = target.height();
    set->stride = target.width() * 4;
    for (auto& buffer : set->buffers)
        buffer.assign(size_t(set->stride) * size_t(set->height), 0);
    std::memcpy(chroma, "RV32", 4);
    *width = unsigned(set->width);
    *height = unsigned(set->height);
    pitches[0] = unsigned(set->stride);
    lines[0] = unsigned(set->height);
    sink->m_writerSet = set;
    sink->m_set.store(std::move(set));
    return 3;
}

void VideoFrameSink::cleanupCallback(void*)
{
    // The last picture stays on the surface until the next video starts.
}

void* VideoFrameSink::lockCallback(void* opaque, void** planes)
{
    auto* sink = static_cast<VideoFrameSink*>(opaque);
    FrameSet* set = sink->m_writerSet.get();
    void* bits = set->buffers[set->writing].data();
    planes[0] = bits;
    return bits;
}

void VideoFrameSink::unlockCallback(void*, void*, void* const*)
{
}

void VideoFrameSink::displayCallback(void* opaque, void* picture)
{
    auto* sink = static_cast<VideoFrameSink*>(opaque);
    FrameSet* set = sink->m_writerSet.get();
    if (!set || picture != set->buffers[set->writing].data())
        return;
    const int previous = set->shared.exchange(set->writing | kFresh);
    set->writing = previous & ~kFresh;
    sink->m_delivered.fetch_add(1);
    if (previous & kFresh)
        sink->m_dropped.fetch_add(1);
    sink->requestPaint();
}
