#pragma once

#include "trips/DayTimeline.h"

#include <QColor>
#include <QString>

#include <optional>

class QPainter;

// Draws the day's strip: a line of text (the trip being played, or the day), the hour axis with the trips
// as bars, the event and parking recordings in their colours over them, impact ticks, the playing position
// and the arrows to the neighbouring days. A pure function of its input, so that tests draw it into an image.
class DayTimelineRenderer
{
public:
    struct State
    {
        std::optional<int64_t> playingMsIntoDay;
        QString summary;
        bool hasPreviousDay = false;
        bool hasNextDay = false;
    };

    static const QColor kBackground;
    static const QColor kAxis;
    static const QColor kTrip;
    static const QColor kEvent;
    static const QColor kParking;
    static const QColor kImpact;
    static const QColor kPlaying;
    static const QColor kText;

    static void Paint(QPainter& painter, const QRect& strip, const DayTimeline& day, const State& state);
};
