#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstddef>
#include <memory>

class FrameMemory;

// Puts video frames held in shared frame memory (FrameMemory::Shared) straight on a native window through the
// display server. The toolkit would first copy each frame into its own window buffer and then hand that to
// the server; here the server reads the frame where the video library wrote it.
class NativeFramePresenter
{
public:
    // For the native window `window` (its window id); null where frames cannot be handed over this way: not
    // an X11 session, no shared-memory extension, a window whose pixels are not 32-bit (A)RGB.
    static std::unique_ptr<NativeFramePresenter> create(unsigned long window);
    ~NativeFramePresenter();
    NativeFramePresenter(const NativeFramePresenter&) = delete;
    NativeFramePresenter& operator=(const NativeFramePresenter&) = delete;

    // Puts `size` pixels of the frame `offset` bytes into `memory` (rows `stride` bytes apart) at `at` in the
    // window. Pixels are 32-bit words 0xAARRGGBB with the alpha opaque, since the window may have an alpha
    // channel. False when the memory cannot be shared with the server; the caller paints another way.
    bool put(const FrameMemory& memory, size_t offset, QSize size, int stride, QPoint at);
    void fillBlack(const QRect& rect);
    // Returns once the server has read every frame put so far, so that their memory may be written again.
    void finishReading();
    // False once the server refused to share memory (an X server on another machine reports the extension
    // but cannot map our memory): the window is then better painted the toolkit's way.
    bool usable() const;

private:
    struct Impl;
    explicit NativeFramePresenter(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};
