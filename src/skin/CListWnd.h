#pragma once

#include <QWidget>

class CDropList;

// The pop-up window of a drop-down button: one CDropList filling it. Being a pop-up it keeps the mouse
// while open, so a click anywhere outside closes it.
class CListWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CListWnd(QWidget* owner);

    CDropList* list() const { return m_list; }
    QWidget* owner() const { return m_owner; }
    // The index selected before the list was opened; restored when a choice is refused.
    int previousIndex() const { return m_previous; }
    void setPreviousIndex(int index) { m_previous = index; }

Q_SIGNALS:
    // The pop-up closed itself without a choice (click outside, Escape, focus lost).
    void dismissed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* m_owner;
    CDropList* m_list;
    int m_previous = -1;
    bool m_onButton = false;
};
