#pragma once

class CDropListWnd;
class QWidget;

// Opens a skin image menu (the speed or the rotation list) above `button`, placed by
// DropListTopLeftAbove() with the menu's own item count and item height.
void OpenDropListAbove(CDropListWnd& list, const QWidget& button);
