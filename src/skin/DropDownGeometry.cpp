#include "skin/DropDownGeometry.h"

namespace dropdown {

QRect popupRect(const QRect& button, int itemCount, int itemHeight, int maxHeight)
{
    const int wanted = itemCount * itemHeight;
    const int height = (wanted < maxHeight ? wanted : maxHeight) + 1;
    // QRect::bottom() is inclusive; the pop-up overlaps the button's last row.
    return QRect(button.left(), button.bottom(), button.width(), height);
}

bool needsScrollBar(int itemCount, int itemHeight, int popupHeight)
{
    return itemCount * itemHeight > popupHeight;
}

int menuItemTop(int index, int itemHeight)
{
    return index * (itemHeight + 1) + 1;
}

int menuHeight(int itemCount, int itemHeight)
{
    return itemCount * (itemHeight + 1) + 1;
}

int menuHoveredItem(int y, int itemHeight, int itemCount, int windowHeight)
{
    if (itemCount <= 0 || y <= 0)
        return 0;
    if (y == windowHeight)
        return itemCount;
    for (int i = 0; i < itemCount; ++i) {
        if (y >= 1 + i * (itemHeight + 1) && y < (i + 1) * (itemHeight + 1))
            return i + 1;
    }
    return 0;
}

} // namespace dropdown
