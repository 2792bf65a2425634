#include "app/NotifyEvent.h"

#include <QCoreApplication>

NotifyEvent::NotifyEvent(int code, intptr_t param)
    : QEvent(eventType())
    , m_code(code)
    , m_param(param)
{
}

QEvent::Type NotifyEvent::eventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void NotifyEvent::post(QObject* receiver, int code, intptr_t param)
{
    if (receiver)
        QCoreApplication::postEvent(receiver, new NotifyEvent(code, param));
}
