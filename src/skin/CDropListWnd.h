#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

// Image menu: a pop-up column of image items. A click on an item posts code 3, a click outside code 4,
// both with the address of the menu's record {hovered item (1-based), menu ID}. Escape, or any other way
// the menu closes without a choice, counts as a click outside; each showing reports exactly once.
class CDropListWnd : public QWidget
{
    Q_OBJECT
public:
    enum Mode { OverBackground = 0, OwnStrips = 1 };

    struct Record
    {
        int item = 0;
        int menuId = 0;
    };

    static constexpr int kItemClicked = 3;
    static constexpr int kDismissed = 4;

    // Mode 0 draws the item images over the background strip; mode 1 uses each item's own strip.
    CDropListWnd(QObject* owner, int menuId, int mode, int width, int height, int backgroundImage = 0,
        QWidget* parent = nullptr);

    void addItem(int imageId);
    int count() const { return int(m_items.size()); }
    QSize itemSize() const { return QSize(m_itemWidth, m_itemHeight); }
    int hoveredItem() const { return m_hovered; }
    const Record& record() const { return m_record; }
    int menuId() const { return m_record.menuId; }

    // Shows the menu with its top-left corner at a screen point chosen by the owner.
    void showAt(const QPoint& globalTopLeft);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void finish();
    // Closes without a choice and tells the owner, once per showing.
    void dismiss();

    QObject* m_owner;
    int m_mode;
    QPixmap m_background;
    QList<QPixmap> m_items;
    int m_itemWidth = 0;
    int m_itemHeight = 0;
    int m_hovered = 0;
    bool m_pressedInside = false;
    bool m_open = false; // shown and not yet reported
    Record m_record;
};
