#include "skin/CSkinControl.h"

#include "app/NotifyEvent.h"

CSkinControl::CSkinControl(QWidget* parent, int controlId)
    : QWidget(parent)
    , m_controlId(controlId)
{
}

QObject* CSkinControl::notifyTarget() const
{
    return m_notifyTarget ? m_notifyTarget : parentWidget();
}

void CSkinControl::notify(int code, intptr_t param)
{
    NotifyEvent::post(notifyTarget(), code, param);
}
