#pragma once

#include <QRect>
#include <QSize>

// Geometry of the video surface, free of any widget so it can be tested on its own.

// The inner video window inside a client area of `client`: the video's own size, centred, when it is
// smaller than the client area both ways; otherwise the whole client area. Before the video's size is known
// the inner window keeps `current`.
QRect InnerVideoRect(const QSize& client, const QSize& video, bool videoKnown, const QRect& current);

// The largest rectangle of the picture's proportions inside `area`, centred (the rest is black bars).
QRect FitPictureRect(const QSize& area, const QSize& picture);
