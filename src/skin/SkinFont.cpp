#include "skin/SkinFont.h"

#include <QFontMetrics>
#include <QHash>

QFont SkinFont(int cellHeight, bool bold)
{
    static QHash<int, int> pixelSizes;
    const int key = cellHeight * 2 + (bold ? 1 : 0);
    QFont font(QStringLiteral("Arial"));
    font.setBold(bold);
    auto it = pixelSizes.constFind(key);
    if (it != pixelSizes.constEnd()) {
        font.setPixelSize(it.value());
        return font;
    }
    int size = qMax(1, cellHeight);
    for (; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cellHeight)
            break;
    }
    font.setPixelSize(size);
    pixelSizes.insert(key, size);
    return font;
}
