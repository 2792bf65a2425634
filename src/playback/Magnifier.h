#pragma once

#include <QObject>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

// Where the magnifier's parts go on the painted picture, free of any widget.
struct MagnifierLayout
{
    QRect source; // the frame's pixels shown magnified, in the frame's own (unflipped) coordinates
    QRect overview; // the small whole-frame picture
    QRect overviewMark; // the magnified region marked inside it
    QRect gauge; // the zoom gauge in the left column
    int gaugeMarkY = 0; // the gauge's current position
};

// The magnifier's state, shared by the player controller (on/off, re-arm) and the video surface (wheel,
// drag, drawing). The zoom is chosen on a gauge of kGaugeSteps steps drawn in the surface's left column:
// `gaugeOffset` counts steps up from the gauge's bottom as a negative number (0 at the bottom, −70 at the
// top). One wheel step moves it by one step; the wheel's limits are the gauge's top and, towards the user,
// 13 steps above its bottom. The factor grows linearly from 1× at the bottom to kMaxZoom at the top, so
// the −14 an open arms gives 2×.
class Magnifier : public QObject
{
    Q_OBJECT
public:
    static constexpr int kGaugeSteps = 70;
    static constexpr int kArmedOffset = -14;
    static constexpr double kMaxZoom = 6.0;

    explicit Magnifier(QObject* parent = nullptr);

    // Offered only in the High viewer tier; elsewhere the wheel and the drag do nothing.
    bool isAllowed() const { return m_allowed; }
    void setAllowed(bool allowed) { m_allowed = allowed; }
    bool isOn() const { return m_on; }
    int gaugeOffset() const { return m_gaugeOffset; }
    bool gaugeResync() const { return m_gaugeResync; }
    // The gauge's ends as offsets from its bottom.
    static constexpr int gaugeTop() { return -kGaugeSteps; }
    static constexpr int gaugeBottom() { return 0; }

    void setOn(bool on);
    void setGaugeOffset(int offset);
    // The video area changed size or another recording opened: the next wheel turn re-applies the gauge.
    void setGaugeResync(bool resync) { m_gaugeResync = resync; }

    // A wheel turn over the video (delta > 0 away from the user: more zoom). With the magnifier off it
    // only arms the offset (−14).
    void wheel(int delta);

    // Re-arms after an open: the armed zoom, the region back in the middle.
    void rearm();

    // Magnification of the current gauge position (1 … kMaxZoom).
    double zoomFactor() const;
    static double zoomFactorAt(int gaugeOffset);

    // Centre of the magnified region in frame fractions (0 … 1 each way).
    QPointF regionCentre() const { return m_centre; }
    void setRegionCentre(const QPointF& centre);
    // Moves the region by a distance in frame fractions (a drag).
    void moveRegionBy(const QPointF& delta);
    // The magnified region in frame fractions: 1/zoom of the frame each way, kept inside the frame.
    QRectF regionFraction() const;

    // The layout for a frame of `frame` pixels painted into `picture`, with the picture's flips
    // (VideoFrameSink::Flip bits): the region is chosen on the picture as seen, so the flips mirror it
    // back into the frame's coordinates.
    MagnifierLayout layout(const QSize& frame, const QRect& picture, int flips) const;
    static MagnifierLayout Layout(
        const QSize& frame, const QRect& picture, const QRectF& region, int flips, int gaugeOffset);

Q_SIGNALS:
    // Anything that changes what the surface draws.
    void changed();

private:
    void clampCentre();

    bool m_allowed = false;
    bool m_on = false;
    int m_gaugeOffset = kArmedOffset;
    bool m_gaugeResync = false;
    QPointF m_centre { 0.5, 0.5 };
};
