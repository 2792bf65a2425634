#pragma once

#include <QEvent>
#include <cstdint>

// The main window's notification: a code and a parameter posted to the window that handles it.
// Components and other threads only ever post these; they never call into the window directly.
class NotifyEvent : public QEvent
{
public:
    // Notification codes the main window dispatches.
    enum Code : int {
        SkinButton = 1,
        SkinRadioButton = 2,
        DropDownSelection = 3,
        VolumeSlider = 5,
        EndOfMedia = 7,
        TimeChanged = 8,
        ListDoubleClick = 9,
        ListHeaderClick = 10,
        ListResorted = 11,
        GraphSeek = 12,
    };

    NotifyEvent(int code, intptr_t param);

    static QEvent::Type eventType();

    int code() const { return m_code; }
    intptr_t param() const { return m_param; }

    // Posts a notification; safe from any thread.
    static void post(QObject* receiver, int code, intptr_t param = 0);

private:
    int m_code;
    intptr_t m_param;
};
