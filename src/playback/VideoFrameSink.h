#pragma once

#include <QObject>
#include <QSize>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

class FrameMemory;

// Frames in shared memory may be shown by the display server in a window with an alpha channel (the children
// of a translucent top level have one), where a pixel whose fourth byte is not 0xff would let the desktop
// through. The library's RV32 frames leave that byte to the converter, which in practice sets it: this checks
// a few pixels and sets the byte in the whole frame only when they do not have it. True when it had to.
bool MakeOpaque(unsigned char* bits, int width, int height, int stride);

// Receives the decoded frames from the media library's video callbacks (on the library's video thread) and
// hands them to the painter (on the UI thread) without copying: four buffers, one being written, one being
// painted and up to two finished frames waiting, handed over through one atomic word. Frames are asked for
// already at the size they will be painted at, so painting is a plain blit.
class VideoFrameSink : public QObject
{
    Q_OBJECT
public:
    // Bits of the orientation state; the first flip mirrors left and right, the second upside down.
    enum Flip : int { NoFlip = 0, FirstFlip = 1, SecondFlip = 2 };

    struct Frame
    {
        const unsigned char* bits = nullptr; // 32-bit pixels 0xffRRGGBB
        int width = 0;
        int height = 0;
        int stride = 0;
        // The block the frame lives in and where in it, for handing the frame to the display server.
        const FrameMemory* memory = nullptr;
        size_t offset = 0;
    };

    VideoFrameSink();
    ~VideoFrameSink() override;

    // UI side. The area the picture is fitted into (the inner video window); the next video start asks the
    // library for frames of the fitted size.
    void setDisplayArea(const QSize& area);
    // The video's own size, as the file's header tells it. Decoders report padded sizes (1088 lines for
    // 1080), so this is what the picture's proportions are taken from when known.
    void setVideoSizeHint(const QSize& size);
    QSize requestedFrameSize() const;
    // The frames the library delivers now are not the size the current settings ask for (the magnifier was
    // switched since the video started): the video output must start again to change it.
    bool needsNewFormat() const;

    // The next frame to paint: the oldest waiting one, or the one painted last when none waits; `fresh`
    // tells whether it is a new one. False when no frame has come yet.
    bool takeFrame(Frame& frame, bool* fresh = nullptr);
    // UI side: the player was closed with no recording to follow. The picture painted last, and frames that
    // were still waiting, are not given out again; takeFrame() is false until the library delivers anew.
    void discardFrames();

    // Holding: a recording started ahead of its time (the start-up's row 0, prepared while its timer waits)
    // must not be seen yet. The first frame the library delivers while holding is kept, later ones are given
    // up, and nothing is given to the painter until releaseFrames(), which hands over the kept frame at once.
    void holdFrames();
    void releaseFrames();
    bool holding() const { return m_holding.load(); }
    bool hasHeldFrame() const;
    // Any thread: waits until the first frame while holding has come (true) or cancelHeldFrameWait() was
    // called (false). Used to pause the prepared recording on its first picture.
    bool waitForHeldFrame();
    void cancelHeldFrameWait();

    // Frames at the video's own size instead of the display area's (the magnifier needs every pixel). Takes
    // effect at the next video format.
    void setFullResolution(bool on);
    bool fullResolution() const { return m_fullResolution.load(); }

    // Frames in memory the display server can map (see FrameMemory); takes effect at the next video format.
    void setSharedFrames(bool on) { m_sharedFrames.store(on); }

    void setFlips(int flips);
    int flips() const { return m_flips.load(); }

    // Counters of the display path: frames the library finished, frames the painter took, and frames
    // given up because two newer ones were waiting before the painter got to them.
    uint64_t framesDelivered() const { return m_delivered.load(); }
    uint64_t framesTaken() const { return m_taken; }
    uint64_t framesDropped() const { return m_dropped.load(); }
    void resetCounters();

    // The library's callbacks; `opaque` is the sink.
    static unsigned formatCallback(
        void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches, unsigned* lines);
    static void cleanupCallback(void* opaque);
    static void* lockCallback(void* opaque, void** planes);
    static void unlockCallback(void* opaque, void* picture, void* const* planes);
    static void displayCallback(void* opaque, void* picture);

Q_SIGNALS:
    // A new frame or a new orientation waits to be painted. Emitted from any thread, at most once until the
    // painter takes the frame.
    void frameReady();

private:
    struct FrameSet;

    void requestPaint();
    // Frame size for a video of `source` size under the current area and resolution settings.
    QSize targetSize(const QSize& source) const;

    std::atomic<uint64_t> m_area { 0 };
    std::atomic<uint64_t> m_sizeHint { 0 };
    std::atomic<uint64_t> m_source { 0 }; // the video size the current format was made for
    std::atomic<int> m_flips { NoFlip };
    std::atomic<bool> m_fullResolution { false };
    std::atomic<bool> m_sharedFrames { false };
    std::atomic<bool> m_paintPending { false };
    std::atomic<bool> m_holding { false };
    mutable std::mutex m_holdLock;
    std::condition_variable m_holdChanged;
    bool m_heldFrame = false; // under m_holdLock
    bool m_holdWaitCancelled = false; // under m_holdLock
    std::atomic<uint64_t> m_delivered { 0 };
    std::atomic<uint64_t> m_dropped { 0 };
    uint64_t m_taken = 0;

    std::atomic<std::shared_ptr<FrameSet>> m_set; // published by the video thread at each format
    std::shared_ptr<FrameSet> m_writerSet; // video thread only
    std::shared_ptr<FrameSet> m_readerSet; // UI thread only
    // UI thread only: the set whose frames were discarded, and how many frames had come when that was done.
    std::weak_ptr<FrameSet> m_discardedSet;
    uint64_t m_deliveredAtDiscard = 0;
};
