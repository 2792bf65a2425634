#include "playback/DropListPlacement.h"

QPoint DropListTopLeftAbove(const QRect& button, int entries, int entryHeight)
{
    return QPoint(button.left() - 1, button.top() - ((entries + 1) * entryHeight + 1));
}
