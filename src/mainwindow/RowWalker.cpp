#include "mainwindow/RowWalker.h"

#include "catalogue/RecordingNames.h"

#include <algorithm>

namespace {

bool isSpanMarker(const QString& baseName)
{
    return baseName.contains(QLatin1Char('p'));
}

} // namespace

RowWalker::Plan RowWalker::open(int index, const Rows& rows)
{
    Plan plan;
    const int n = rows.count();
    if (n <= 0) {
        m_direction = Direction::None;
        plan.action = Plan::Action::EmptyReset;
        return plan;
    }
    // A position from a list that has since shrunk can lie beyond it: that is the end of the list.
    index = std::clamp(index, 0, n);
    m_position = index;
    if (index == n) {
        m_direction = Direction::None;
        plan.action = Plan::Action::EndOfList;
        plan.index = n;
        return plan;
    }

    auto readRow = [&](int row) {
        plan.kindLabel = rows.text(row, 0);
        plan.baseName = BaseNameFromRow(rows.text(row, 1));
        plan.counter = QStringLiteral("(%1/%2)").arg(row + 1).arg(n);
    };
    readRow(index);
    while (isSpanMarker(plan.baseName)) {
        if (m_direction == Direction::Backward && index > 0) {
            --index;
        } else {
            // Running into the top turns a backward search forwards for good; otherwise the walk would
            // swing between the first two markers for ever.
            m_direction = Direction::Forward;
            ++index;
        }
        m_position = index;
        if (index == n) {
            m_direction = Direction::None;
            plan = Plan();
            plan.action = Plan::Action::EndOfList;
            plan.index = n;
            plan.selectLastRow = true;
            return plan;
        }
        readRow(index);
    }

    m_direction = Direction::None;
    plan.action = Plan::Action::Open;
    plan.index = index;
    if (!plan.baseName.isEmpty())
        plan.captionText = plan.baseName + plan.counter;
    return plan;
}

RowWalker::Plan RowWalker::previous(const Rows& rows, bool playing)
{
    const int n = rows.count();
    if (n <= 0)
        return Plan();
    const int index = m_position - 1;
    if (index < 0 && playing)
        return Plan();
    m_direction = Direction::Backward;
    return open(std::max(index, 0), rows);
}

RowWalker::Plan RowWalker::next(const Rows& rows)
{
    const int n = rows.count();
    if (n <= 0)
        return Plan();
    const int index = m_position < n ? m_position + 1 : m_position;
    m_direction = Direction::Forward;
    return open(index, rows);
}
