#include "playback/VideoSurfaceLayout.h"

QRect InnerVideoRect(const QSize& client, const QSize& video, bool videoKnown, const QRect& current)
{
    if (!videoKnown)
        return current;
    // A size the header could not give (zero) still shows the picture, fitted into the whole area.
    if (video.isEmpty())
        return QRect(QPoint(0, 0), client);
    if (video.width() < client.width() && video.height() < client.height())
        return QRect((client.width() - video.width()) / 2, (client.height() - video.height()) / 2, video.width(),
            video.height());
    return QRect(QPoint(0, 0), client);
}

QRect FitPictureRect(const QSize& area, const QSize& picture)
{
    if (area.isEmpty() || picture.isEmpty())
        return QRect(QPoint(0, 0), area);
    // Compare in 64 bits: width * height products of large frames overflow 32 bits only in theory, but the
    // exact comparison avoids rounding either way.
    const qint64 aw = area.width(), ah = area.height(), pw = picture.width(), ph = picture.height();
    int w, h;
    if (aw * ph <= ah * pw) {
        w = int(aw);
        h = int((aw * ph + pw / 2) / pw);
    } else {
        h = int(ah);
        w = int((ah * pw + ph / 2) / ph);
    }
    w = qMax(1, w);
    h = qMax(1, h);
    return QRect(int((aw - w) / 2), int((ah - h) / 2), w, h);
}
