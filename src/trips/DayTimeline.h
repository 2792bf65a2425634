#pragma once

#include "trips/TripList.h"

#include <QDate>
#include <QRect>

#include <cstdint>
#include <optional>
#include <vector>

// One day of the card on an hour axis: the trips as bars, the event and parking recordings in their own
// colours, the impacts as ticks, and the way back from a point on the axis to a moment of a recording.
// Everything here is arithmetic on the trip list; the strip that draws it only paints these figures.
class DayTimeline
{
public:
    enum class BarKind { Trip, Event, Parking };

    struct Bar
    {
        BarKind kind = BarKind::Trip;
        int64_t startMs = 0; // clipped to the day
        int64_t endMs = 0;
        int entry = -1; // index into TripList::entries
        int recording = -1; // the event or parking recording; -1 for a trip bar
    };

    // A moment to play: a recording and the time into it.
    struct Moment
    {
        int recording = -1;
        int64_t offsetMs = 0;
    };

    // Where the parts of the strip lie within its rectangle.
    struct Layout
    {
        QRect summary; // the text line of the trip being played
        QRect previousDay; // the arrows that step through the days with recordings
        QRect nextDay;
        QRect axis; // the bars
        QRect labels; // the hour labels under the axis
    };

    static constexpr int kDayMs = 24 * 3600 * 1000;
    static constexpr int kStripHeight = 64;
    static constexpr int kMinBarWidth = 3; // a one-minute event or a ten-second parking clip stays visible

    DayTimeline(const TripList& list, QDate day);

    static Layout Place(const QRect& strip);

    QDate day() const { return m_day; }
    int64_t dayStartMs() const { return m_dayStart; }
    const std::vector<Bar>& bars() const { return m_bars; }
    // Impacts of the day, ms since 1970 on the camera clock.
    const std::vector<int64_t>& impacts() const { return m_impacts; }

    // The days that hold recordings, in order; the day of a time.
    static std::vector<QDate> Days(const TripList& list);
    static QDate DayOf(int64_t ms);

    // Axis x of a time (clamped to the axis) and the time of an axis x.
    static int XOfTime(const QRect& axis, int64_t msIntoDay);
    static int64_t TimeOfX(const QRect& axis, int x);
    // The horizontal span of a bar, at least kMinBarWidth wide.
    QRect BarRect(const QRect& axis, const Bar& bar) const;

    // What a click at a time of this day plays: the driving recording running then (the latest-started when
    // several overlap), else the next recording of the trip in whose pause the time falls (from its start),
    // else the parking recording running then; nothing elsewhere.
    std::optional<Moment> MomentAt(int64_t msIntoDay) const;
    // The same rule for a time on the camera clock (ms since 1970), any day.
    static std::optional<Moment> MomentAtTime(const TripList& list, int64_t ms);

private:
    const TripList& m_list;
    QDate m_day;
    int64_t m_dayStart = 0;
    std::vector<Bar> m_bars;
    std::vector<int64_t> m_impacts;
};
