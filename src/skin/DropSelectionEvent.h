#pragma once

#include <QEvent>

// Posted by a drop-down button to its parent when the user picked an item: the button's control ID and
// the item's index (the design's message 1126).
class DropSelectionEvent : public QEvent
{
public:
    static constexpr int kMessage = 1126;

    DropSelectionEvent(int controlId, int index);

    static QEvent::Type eventType();

    int controlId() const { return m_controlId; }
    int index() const { return m_index; }

private:
    int m_controlId;
    int m_index;
};
