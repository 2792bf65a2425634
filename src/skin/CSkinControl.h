#pragma once

#include <QWidget>
#include <cstdint>

// Base of the skinned child controls: a control ID and the window its notifications go to. Like the
// controls they stand in for, they report to their parent window, which may be redirected (a dialog
// that lays its controls out on an inner client widget sends them to itself).
class CSkinControl : public QWidget
{
    Q_OBJECT
public:
    explicit CSkinControl(QWidget* parent = nullptr, int controlId = 0);

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    // Where notifications are posted; the parent widget unless set.
    QObject* notifyTarget() const;
    void setNotifyTarget(QObject* target) { m_notifyTarget = target; }

protected:
    void notify(int code, intptr_t param);

private:
    int m_controlId = 0;
    QObject* m_notifyTarget = nullptr;
};
