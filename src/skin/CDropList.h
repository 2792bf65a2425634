#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QWidget>

class QScrollBar;

// Owner-drawn list of texts with a fixed item height, shown in a drop-down button's pop-up. It reports a
// selection when the mouse button is released (or Enter is pressed), with the cursor's screen position,
// and leaves it to the pop-up to take or refuse it.
class CDropList : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kControlId = 1125;

    explicit CDropList(QWidget* parent = nullptr);

    // Appends an item; items keep the order in which they were added.
    void addItem(const QString& text, const QColor& textColour = QColor(255, 255, 255),
        const QColor& backgroundColour = QColor(255, 255, 255));
    int count() const { return int(m_items.size()); }
    QString itemText(int index) const;

    // 16 pixels, or the height of the font when one is set.
    int itemHeight() const { return m_itemHeight; }
    void setListFont(const QFont& font);

    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    void scrollTo(int index);
    int topIndex() const;
    // Item at a y in widget coordinates, -1 for none.
    int indexAt(int y) const;
    bool scrollBarVisible() const;
    // The selection colour used after the selection colour is reset.
    void resetSelectionColour();
    QColor selectionColour() const { return m_selection; }

Q_SIGNALS:
    void selectionReported(const QPoint& globalCursor);
    void cancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Item
    {
        QString text;
        QColor textColour;
        QColor backgroundColour;
    };

    void updateScrollBar();
    void trackTo(int y);
    int visibleRows() const;

    QList<Item> m_items;
    int m_itemHeight = 16;
    QFont m_font;
    int m_current = -1;
    bool m_tracking = false;
    QColor m_background = QColor(255, 255, 255);
    QColor m_selection = QColor(247, 247, 239);
    QColor m_outline = QColor(255, 255, 255);
    QScrollBar* m_scrollBar = nullptr;
};
