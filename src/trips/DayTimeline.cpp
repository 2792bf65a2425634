#include "trips/DayTimeline.h"

#include <QDateTime>

#include <algorithm>
#include <set>

namespace {

int64_t dayStartOf(QDate day)
{
    return QDateTime(day, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
}

} // namespace

DayTimeline::DayTimeline(const TripList& list, QDate day)
    : m_list(list)
    , m_day(day)
    , m_dayStart(dayStartOf(day))
{
    const int64_t dayEnd = m_dayStart + kDayMs;
    auto clipped = [&](int64_t start, int64_t end, BarKind kind, int entry, int recording) {
        if (end < m_dayStart || start >= dayEnd || (end == m_dayStart && start < m_dayStart))
            return;
        m_bars.push_back(Bar {
            kind, std::max(start, m_dayStart) - m_dayStart, std::min(end, dayEnd) - m_dayStart, entry, recording });
    };
    // Trips first, then what is drawn over them: the bars come out in drawing order.
    for (size_t e = 0; e < list.entries.size(); ++e) {
        const Trip& t = list.entries[e];
        if (!t.parking)
            clipped(t.startMs, t.endMs, BarKind::Trip, int(e), -1);
    }
    for (size_t e = 0; e < list.entries.size(); ++e) {
        const Trip& t = list.entries[e];
        for (int r : t.recordings) {
            const TripRecording& rec = list.recordings[size_t(r)];
            if (rec.kind == RecordingKind::Event)
                clipped(rec.startMs, rec.endMs(), BarKind::Event, int(e), r);
            else if (rec.kind == RecordingKind::Parking)
                clipped(rec.startMs, rec.endMs(), BarKind::Parking, int(e), r);
            for (int64_t offset : rec.impactOffsetsMs) {
                const int64_t at = rec.startMs + offset;
                if (at >= m_dayStart && at < dayEnd)
                    m_impacts.push_back(at);
            }
        }
    }
    std::sort(m_impacts.begin(), m_impacts.end());
}

DayTimeline::Layout DayTimeline::Place(const QRect& strip)
{
    Layout l;
    const int arrow = 20;
    l.summary = QRect(strip.left() + 6, strip.top() + 2, strip.width() - 12, 18);
    const int axisTop = strip.top() + 30; // room above the axis for the impact and position markers
    const int axisHeight = 20;
    l.previousDay = QRect(strip.left(), axisTop, arrow, axisHeight);
    l.nextDay = QRect(strip.right() - arrow + 1, axisTop, arrow, axisHeight);
    l.axis = QRect(strip.left() + arrow + 6, axisTop, std::max(1, strip.width() - 2 * (arrow + 6)), axisHeight);
    l.labels = QRect(
        l.axis.left(), axisTop + axisHeight + 1, l.axis.width(), std::max(0, strip.bottom() - axisTop - axisHeight));
    return l;
}

std::vector<QDate> DayTimeline::Days(const TripList& list)
{
    std::set<QDate> days;
    for (const TripRecording& r : list.recordings) {
        const QDate first = DayOf(r.startMs);
        const QDate last = DayOf(std::max(r.startMs, r.endMs() - 1));
        for (QDate d = first; d <= last; d = d.addDays(1))
            days.insert(d);
    }
    return std::vector<QDate>(days.begin(), days.end());
}

QDate DayTimeline::DayOf(int64_t ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).date();
}

int DayTimeline::XOfTime(const QRect& axis, int64_t msIntoDay)
{
    const int64_t t = std::clamp<int64_t>(msIntoDay, 0, kDayMs);
    return axis.left() + int(t * (axis.width() - 1) / kDayMs);
}

int64_t DayTimeline::TimeOfX(const QRect& axis, int x)
{
    const int dx = std::clamp(x - axis.left(), 0, std::max(0, axis.width() - 1));
    return axis.width() > 1 ? int64_t(dx) * kDayMs / (axis.width() - 1) : 0;
}

QRect DayTimeline::BarRect(const QRect& axis, const Bar& bar) const
{
    const int x0 = XOfTime(axis, bar.startMs);
    const int x1 = std::max(XOfTime(axis, bar.endMs), x0 + kMinBarWidth - 1);
    return QRect(x0, axis.top(), x1 - x0 + 1, axis.height());
}

std::optional<DayTimeline::Moment> DayTimeline::MomentAt(int64_t msIntoDay) const
{
    return MomentAtTime(m_list, m_dayStart + msIntoDay);
}

std::optional<DayTimeline::Moment> DayTimeline::MomentAtTime(const TripList& list, int64_t t)
{
    // A driving recording running then; recordings are in start order, so the last match started latest.
    std::optional<Moment> found;
    for (size_t i = 0; i < list.recordings.size(); ++i) {
        const TripRecording& r = list.recordings[i];
        if (r.startMs > t)
            break;
        if (r.kind != RecordingKind::Parking && t < r.endMs())
            found = Moment { int(i), t - r.startMs };
    }
    if (found)
        return found;
    for (const Trip& trip : list.entries) {
        if (trip.parking || t < trip.startMs || t >= trip.endMs)
            continue;
        for (int r : trip.recordings) {
            if (list.recordings[size_t(r)].startMs >= t)
                return Moment { r, 0 };
        }
    }
    for (const Trip& trip : list.entries) {
        if (trip.parking && t >= trip.startMs && t < trip.endMs)
            return Moment { trip.recordings.front(), t - trip.startMs };
    }
    return std::nullopt;
}
