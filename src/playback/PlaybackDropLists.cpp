#include "playback/PlaybackDropLists.h"

#include "playback/DropListPlacement.h"
#include "skin/CDropListWnd.h"

#include <QWidget>

void OpenDropListAbove(CDropListWnd& list, const QWidget& button)
{
    const QRect global(button.mapToGlobal(QPoint(0, 0)), button.size());
    list.showAt(DropListTopLeftAbove(global, list.count(), list.itemSize().height()));
}
