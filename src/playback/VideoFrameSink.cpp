#include "playback/VideoFrameSink.h"

#include "app/StartupTrace.h"
#include "platform/FrameMemory.h"
#include "playback/VideoSurfaceLayout.h"

#include <cstdint>
#include <cstring>

namespace {

// The hand-over state lives in one atomic word: the buffer the painter holds, up to two finished frames
// waiting (older first) and how many wait. The video thread's own buffer is the one none of these name.
constexpr int kBuffers = 4;

struct Slots
{
    int reader;
    int older;
    int newer;
    int pending;
};

uint32_t pack(const Slots& s)
{
    return uint32_t(s.reader) | uint32_t(s.older) << 2 | uint32_t(s.newer) << 4 | uint32_t(s.pending) << 6;
}

Slots unpack(uint32_t word)
{
    return { int(word & 3), int(word >> 2 & 3), int(word >> 4 & 3), int(word >> 6 & 3) };
}

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

bool MakeOpaque(unsigned char* bits, int width, int height, int stride)
{
    if (!bits || width <= 0 || height <= 0)
        return false;
    const auto pixel = [&](int x, int y) { return reinterpret_cast<uint32_t*>(bits + size_t(y) * size_t(stride)) + x; };
    // The converter sets the fourth byte of every pixel or of none: a few pixels across the frame tell.
    bool opaque = true;
    for (int i = 0; i < 16 && opaque; ++i)
        opaque = (*pixel(width * (i % 4) / 4 + width / 8, height * (i / 4) / 4 + height / 8) >> 24) == 0xff;
    if (opaque)
        return false;
    for (int y = 0; y < height; ++y) {
        uint32_t* row = pixel(0, y);
        for (int x = 0; x < width; ++x)
            row[x] |= 0xff000000u;
    }
    return true;
}

struct VideoFrameSink::FrameSet
{
    FrameSet(int w, int h, FrameMemory::Sharing sharing)
        : width(w)
        , height(h)
        , stride(w * 4)
        , memory(kBuffers, size_t(w) * 4 * size_t(h), sharing)
    {
    }

    unsigned char* buffer(int index) const { return memory.frame(index); }

    const int width;
    const int height;
    const int stride;
    // The buffers are written before they are given out, so they need no clearing (clearing them would
    // touch every page of a block that the frames will touch anyway).
    const FrameMemory memory;
    // Painter on buffer 3 (nothing painted yet), nothing waiting; the video thread starts on buffer 0.
    std::atomic<uint32_t> state { pack({ 3, 0, 0, 0 }) };
    int writing = 0; // video thread only
    bool readerHasFrame = false; // UI thread only
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

QSize VideoFrameSink::targetSize(const QSize& source) const
{
    QSize area = unpackSize(m_area.load());
    if (area.isEmpty() || m_fullResolution.load())
        area = source;
    // Never larger than the video itself: enlarging is left to the painter, shrinking is done once by the
    // library's converter instead of on every repaint.
    QSize target = FitPictureRect(area, source).size();
    if (target.width() > source.width() || target.height() > source.height())
        target = source;
    return target;
}

bool VideoFrameSink::needsNewFormat() const
{
    const auto set = m_set.load();
    const QSize source = unpackSize(m_source.load());
    if (!set || source.isEmpty())
        return false;
    return targetSize(source) != QSize(set->width, set->height);
}

QSize VideoFrameSink::requestedFrameSize() const
{
    const auto set = m_set.load();
    return set ? QSize(set->width, set->height) : QSize();
}

void VideoFrameSink::setFullResolution(bool on)
{
    if (m_fullResolution.exchange(on) != on)
        requestPaint();
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

void VideoFrameSink::holdFrames()
{
    {
        std::lock_guard<std::mutex> guard(m_holdLock);
        m_heldFrame = false;
        m_holdWaitCancelled = false;
    }
    m_holding.store(true);
}

void VideoFrameSink::releaseFrames()
{
    if (!m_holding.exchange(false))
        return;
    cancelHeldFrameWait();
    requestPaint();
}

bool VideoFrameSink::hasHeldFrame() const
{
    std::lock_guard<std::mutex> guard(m_holdLock);
    return m_heldFrame;
}

bool VideoFrameSink::waitForHeldFrame()
{
    std::unique_lock<std::mutex> lock(m_holdLock);
    m_holdChanged.wait(lock, [this] { return m_heldFrame || m_holdWaitCancelled; });
    return m_heldFrame && !m_holdWaitCancelled;
}

void VideoFrameSink::cancelHeldFrameWait()
{
    {
        std::lock_guard<std::mutex> guard(m_holdLock);
        m_holdWaitCancelled = true;
    }
    m_holdChanged.notify_all();
}

void VideoFrameSink::discardFrames()
{
    std::shared_ptr<FrameSet> published = m_set.load();
    m_discardedSet = published;
    m_deliveredAtDiscard = m_delivered.load();
    m_readerSet.reset();
    if (!published)
        return;
    // Frames finished before the discard are handed back to the video thread unpainted.
    uint32_t word = published->state.load();
    for (;;) {
        const Slots s = unpack(word);
        if (s.pending == 0)
            break;
        // The painter's hold moves to the newest waiting buffer; the others go back to the video thread.
        const Slots next { s.newer, 0, 0, 0 };
        if (published->state.compare_exchange_weak(word, pack(next)))
            break;
    }
    published->readerHasFrame = false;
}

bool VideoFrameSink::takeFrame(Frame& frame, bool* fresh)
{
    m_paintPending.store(false);
    if (fresh)
        *fresh = false;
    if (m_holding.load())
        return false;
    // A new format takes over once its first frame is there; until then the last picture stays. A set
    // whose frames were discarded comes back only with a frame delivered after the discard.
    std::shared_ptr<FrameSet> published = m_set.load();
    if (published && published != m_readerSet && unpack(published->state.load()).pending > 0) {
        const bool discarded = !m_discardedSet.owner_before(published) && !published.owner_before(m_discardedSet);
        if (!discarded || m_delivered.load() != m_deliveredAtDiscard)
            m_readerSet = std::move(published);
    }
    FrameSet* set = m_readerSet.get();
    if (!set)
        return false;

    // Take the older waiting frame, so that a frame finished just after another is painted next time
    // instead of replacing it; the buffer painted so far goes back to the video thread.
    uint32_t word = set->state.load();
    Slots next {};
    for (;;) {
        const Slots s = unpack(word);
        if (s.pending == 0) {
            next = s;
            break;
        }
        next = s.pending == 2 ? Slots { s.older, 0, s.newer, 1 } : Slots { s.newer, 0, 0, 0 };
        if (set->state.compare_exchange_weak(word, pack(next)))
            break;
    }
    if (next.reader != unpack(word).reader) {
        set->readerHasFrame = true;
        ++m_taken;
        if (fresh)
            *fresh = true;
        if (next.pending > 0)
            requestPaint();
    }
    if (!set->readerHasFrame)
        return false;
    frame.bits = set->buffer(next.reader);
    frame.width = set->width;
    frame.height = set->height;
    frame.stride = set->stride;
    frame.memory = &set->memory;
    frame.offset = set->memory.frameSpan() * size_t(next.reader);
    return true;
}

unsigned VideoFrameSink::formatCallback(
    void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches, unsigned* lines)
{
    static std::atomic<bool> first { true };
    if (first.exchange(false))
        startuptrace::Mark("first video format");
    auto* sink = static_cast<VideoFrameSink*>(*opaque);
    QSize source = unpackSize(sink->m_sizeHint.load());
    if (source.isEmpty())
        source = QSize(int(*width), int(*height));
    sink->m_source.store(packSize(source));
    const QSize target = sink->targetSize(source);
    if (target.isEmpty())
        return 0;

    // The library opens the video output more than once while it settles on a decoder (it tries the
    // hardware ones first), asking each time: frames of the size already in use go on in the same buffers,
    // handed over as before, instead of a fresh block whose pages would all be touched again.
    std::shared_ptr<FrameSet> set = sink->m_writerSet;
    const FrameMemory::Sharing sharing = sink->m_sharedFrames.load() ? FrameMemory::Shared : FrameMemory::Private;
    if (!set || set->width != target.width() || set->height != target.height()
        || (set->memory.shareHandle() >= 0) != (sharing == FrameMemory::Shared)) {
        set = std::make_shared<FrameSet>(target.width(), target.height(), sharing);
        if (set->memory.isNull() && sharing == FrameMemory::Shared)
            set = std::make_shared<FrameSet>(target.width(), target.height(), FrameMemory::Private);
        if (set->memory.isNull())
            return 0;
    }
    std::memcpy(chroma, "RV32", 4);
    *width = unsigned(set->width);
    *height = unsigned(set->height);
    pitches[0] = unsigned(set->stride);
    lines[0] = unsigned(set->height);
    sink->m_writerSet = set;
    sink->m_set.store(std::move(set));
    return kBuffers;
}

void VideoFrameSink::cleanupCallback(void*)
{
    // The last picture stays on the surface until the next video starts.
}

void* VideoFrameSink::lockCallback(void* opaque, void** planes)
{
    auto* sink = static_cast<VideoFrameSink*>(opaque);
    FrameSet* set = sink->m_writerSet.get();
    void* bits = set->buffer(set->writing);
    planes[0] = bits;
    return bits;
}

void VideoFrameSink::unlockCallback(void*, void*, void* const*)
{
}

void VideoFrameSink::displayCallback(void* opaque, void* picture)
{
    static std::atomic<bool> first { true };
    if (first.exchange(false))
        startuptrace::Mark("first frame decoded");
    auto* sink = static_cast<VideoFrameSink*>(opaque);
    FrameSet* set = sink->m_writerSet.get();
    if (!set || picture != set->buffer(set->writing))
        return;
    // While holding, only the first picture is kept (the library may finish another before its pause
    // arrives, and repeats the last one while paused): the recording is to start with its first frame.
    bool firstHeld = false;
    if (sink->m_holding.load()) {
        std::lock_guard<std::mutex> guard(sink->m_holdLock);
        if (sink->m_heldFrame) {
            sink->m_dropped.fetch_add(1);
            return;
        }
        sink->m_heldFrame = true;
        firstHeld = true;
    }
    const int written = set->writing;
    if (set->memory.shareHandle() >= 0)
        MakeOpaque(set->buffer(written), set->width, set->height, set->stride);
    uint32_t word = set->state.load();
    int nextWriting = 0;
    bool dropped = false;
    for (;;) {
        const Slots s = unpack(word);
        Slots next {};
        if (s.pending < 2) {
            next = s.pending == 0 ? Slots { s.reader, 0, written, 1 } : Slots { s.reader, s.newer, written, 2 };
            // Any buffer nobody holds: not the painter's, not a waiting one, not the one just finished.
            for (int i = 0; i < kBuffers; ++i) {
                if (i != s.reader && i != written && !(s.pending >= 1 && i == s.newer)) {
                    nextWriting = i;
                    break;
                }
            }
            dropped = false;
        } else {
            // Two already wait: the older one is never painted, and its buffer is written next.
            next = Slots { s.reader, s.newer, written, 2 };
            nextWriting = s.older;
            dropped = true;
        }
        if (set->state.compare_exchange_weak(word, pack(next)))
            break;
    }
    set->writing = nextWriting;
    sink->m_delivered.fetch_add(1);
    if (dropped)
        sink->m_dropped.fetch_add(1);
    if (firstHeld) {
        sink->m_holdChanged.notify_all();
        // Released meanwhile: the release's paint request may have come before this frame.
        if (sink->m_holding.load())
            return;
    }
    sink->requestPaint();
}
