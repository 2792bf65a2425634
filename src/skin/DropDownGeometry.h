#pragma once

#include <QRect>

// Sizes and hit bands of the drop-down list and the image menu.
namespace dropdown {

inline constexpr int kDefaultItemHeight = 16;
inline constexpr int kDefaultMaxListHeight = 100;

// The pop-up list below a drop-down button (button in screen coordinates): at the button's left, one
// pixel above its bottom, as wide as the button, as high as its items up to the maximum, plus one pixel.
QRect popupRect(const QRect& button, int itemCount, int itemHeight, int maxHeight);

// Whether the pop-up needs a scroll bar to show every item.
bool needsScrollBar(int itemCount, int itemHeight, int popupHeight);

// Top of image-menu item i (from 0); items are separated by 1-pixel gaps.
int menuItemTop(int index, int itemHeight);

// Window height of an image menu with n items.
int menuHeight(int itemCount, int itemHeight);

// The hovered image-menu item (1-based, 0 for none) at y: y = 0 gives none, y equal to the window height
// the last item; the gap rows between items give none.
int menuHoveredItem(int y, int itemHeight, int itemCount, int windowHeight);

} // namespace dropdown
