#pragma once

#include "trips/DayTimeline.h"
#include "trips/DayTimelineRenderer.h"

#include <QWidget>

#include <memory>

// The day strip over the bottom of the video: paints DayTimelineRenderer and turns clicks into a moment
// to play or a step to another day. It holds no trips of its own; TripView gives it the list and the state.
class CTripTimeline : public QWidget
{
    Q_OBJECT
public:
    explicit CTripTimeline(QWidget* parent = nullptr);

    // The list must outlive the strip's use of it (TripView owns both).
    void SetDay(const TripList* list, QDate day);
    void SetState(const DayTimelineRenderer::State& state);
    QDate day() const { return m_day; }
    const DayTimelineRenderer::State& state() const { return m_state; }

    QSize sizeHint() const override { return QSize(640, DayTimeline::kStripHeight); }

Q_SIGNALS:
    void MomentChosen(int recording, qint64 offsetMs);
    void DayStep(int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const TripList* m_list = nullptr;
    QDate m_day;
    std::unique_ptr<DayTimeline> m_timeline;
    DayTimelineRenderer::State m_state;
};
