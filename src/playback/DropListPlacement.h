#pragma once

#include <QPoint>
#include <QRect>

// Where the speed (103) and rotation (105) lists open: above their button, the list's left edge one pixel
// left of the button's and its top (entries + 1) × entry height + 1 pixels above the button's top. The
// list keeps its own size. `button` and the result are in the same (screen) coordinates.
QPoint DropListTopLeftAbove(const QRect& button, int entries, int entryHeight);
