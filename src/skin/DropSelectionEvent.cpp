#include "skin/DropSelectionEvent.h"

DropSelectionEvent::DropSelectionEvent(int controlId, int index)
    : QEvent(eventType())
    , m_controlId(controlId)
    , m_index(index)
{
}

QEvent::Type DropSelectionEvent::eventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
