#include "trips/CTripTimeline.h"

#include <QMouseEvent>
#include <QPainter>

CTripTimeline::CTripTimeline(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CTripTimeline"));
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::PointingHandCursor);
}

void CTripTimeline::SetDay(const TripList* list, QDate day)
{
    m_list = list;
    m_day = day;
    m_timeline = list ? std::make_unique<DayTimeline>(*list, day) : nullptr;
    update();
}

void CTripTimeline::SetState(const DayTimelineRenderer::State& state)
{
    const bool changed = state.playingMsIntoDay != m_state.playingMsIntoDay || state.summary != m_state.summary
        || state.hasPreviousDay != m_state.hasPreviousDay || state.hasNextDay != m_state.hasNextDay;
    m_state = state;
    if (changed)
        update();
}

void CTripTimeline::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_timeline) {
        DayTimelineRenderer::Paint(p, rect(), *m_timeline, m_state);
    } else {
        const TripList empty;
        DayTimelineRenderer::Paint(p, rect(), DayTimeline(empty, m_day), m_state);
    }
}

void CTripTimeline::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_timeline) {
        QWidget::mousePressEvent(event);
        return;
    }
    const DayTimeline::Layout l = DayTimeline::Place(rect());
    const QPoint at = event->position().toPoint();
    if (l.previousDay.contains(at)) {
        Q_EMIT DayStep(-1);
    } else if (l.nextDay.contains(at)) {
        Q_EMIT DayStep(1);
    } else if (at.x() >= l.axis.left() && at.x() <= l.axis.right() && at.y() >= l.axis.top() - 6) {
        if (const std::optional<DayTimeline::Moment> m = m_timeline->MomentAt(DayTimeline::TimeOfX(l.axis, at.x())))
            Q_EMIT MomentChosen(m->recording, m->offsetMs);
    }
    event->accept();
}
