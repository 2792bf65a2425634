#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

// Geometry and text layout of the skinned message box, kept free of any GUI so that it can be checked
// without a display. All rectangles are in the box's client coordinates (width W, height H).
namespace msgbox {

enum class ButtonSlot { Left, Middle, Right };

inline constexpr int kButtonWidth = 84;
inline constexpr int kButtonHeight = 34;
inline constexpr int kWindowWidth = 400;
inline constexpr int kWindowHeight = 200;

// Where a button of the box stands; the viewer chooser (style 1027) moves the right button 7 pixels
// right and every button 9 pixels down.
QRect buttonRect(ButtonSlot slot, int clientWidth, int clientHeight, int style);

// The area the message text is laid out in.
QRect textArea(int clientWidth, int clientHeight);

// The rectangle the decoration image is stretched into.
QRect decorationRect(int clientWidth, int clientHeight);

// Greedy word wrap: each line is the longest prefix that fits, cut back to the last space before the
// overflow (that space is dropped). A line with no such space is cut at the last character that fits
// (closing punctuation such as "。" or "？" hangs at its end rather than starting the next line), and
// every line takes at least one character so the wrap always ends. Line breaks in the text force a new
// line. widthOf measures a text in the box's font.
QStringList wrapText(const QString& text, int maxWidth, const std::function<int(const QString&)>& widthOf);

// The band line i of n is drawn into, for a text area from top to bottom. Fewer lines get more room
// and sit lower, so short messages look centred against the decoration.
QRect lineBand(int lineCount, int index, const QRect& area);

// The first text line of the do-not-show-again notice naming a Windows version (5.x XP, 6.0 Vista, 6.1
// 7, 6.2 8); empty for every other version.
QString windowsVersionLine(int major, int minor);

} // namespace msgbox
