#pragma once

#include <QSize>
#include <QWidget>
#include <cstdint>

class Magnifier;
class PlayerContext;
class VideoFrameSink;

// The video surface: a black control holding the inner video window, which paints the frames the media
// library delivers, fitted into it with the picture's proportions and flipped as the player context says.
class CPlayWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CPlayWnd(QWidget* parent = nullptr);
    ~CPlayWnd() override;

    // Routes the player's frames to this surface.
    bool attachPlayer(PlayerContext& context);

    // The video's own size (from the file's header): the inner window is laid out for it.
    void setVideoSize(int width, int height);
    bool videoSizeKnown() const { return m_videoKnown; }
    QSize videoSize() const { return QSize(m_videoWidth, m_videoHeight); }

    // The magnifier to draw and to steer with the wheel and the mouse (PlayerController::magnifier()).
    // While it is on the picture shows the magnified region, an overview of the whole frame with the
    // region marked and the zoom gauge in the left column; the wheel moves the zoom one gauge step per
    // notch and dragging moves the region. Below the High tier (not allowed) it does nothing.
    void setMagnifier(Magnifier* magnifier);
    Magnifier* magnifier() const;

    // The player was closed with no recording to follow: the surface shows black instead of the last
    // picture until the library delivers frames again.
    void clearPicture();

    QWidget* videoWindow() const;
    // Where the picture was last painted, in the inner window's coordinates.
    QRect pictureRect() const;
    // New frames painted since the player was attached.
    uint64_t framesPainted() const;
    // Frames go to the display server straight from the memory they were decoded into (X11 with shared
    // memory), not through Qt's window buffer.
    bool presentsNatively() const;

Q_SIGNALS:
    // A new frame was painted (framesPainted() grew); emitted from inside the paint.
    void framePainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class VideoWindow;

    void layoutVideoWindow();

    VideoWindow* m_videoWindow;
    bool m_videoKnown = false;
    int m_videoWidth = 0;
    int m_videoHeight = 0;
};
