#pragma once

#include <QString>

#include <functional>

// Which list row the player opens: OpenListRow, Previous, Next and end of media walk the list with these
// rules, skipping span markers (rows whose name holds a "p"; they are never played). The walker decides;
// the window carries the plan out (closing the player, selecting rows, playing).
class RowWalker
{
public:
    enum class Direction : int { None = 0, Backward = 1, Forward = 2 };

    // The list as the walker sees it: the number of rows and the text of a row's column (0 kind, 1 name).
    struct Rows
    {
        std::function<int()> count;
        std::function<QString(int row, int column)> text;
    };

    struct Plan
    {
        enum class Action {
            Nothing, // Previous/Next on an empty list, Previous on the first row while playing
            EmptyReset, // no rows: clear everything, stop the player
            EndOfList, // one past the last row: stop, clear the caption and the readouts
            Open, // play `index`
        };
        Action action = Action::Nothing;
        int index = 0; // the row to open; the position after an end of list
        QString kindLabel; // column 0 of the row
        QString baseName; // BaseNameFromRow of column 1
        QString counter; // "(%d/%d)"
        QString captionText; // baseName + counter; empty when the name is empty
        // A forward search for a playable row ran off the end: the last row is selected after the stop.
        bool selectLastRow = false;
    };

    // OpenListRow(index). The position becomes the opened (or end-of-list) index.
    Plan open(int index, const Rows& rows);
    Plan previous(const Rows& rows, bool playing);
    Plan next(const Rows& rows);

    int position() const { return m_position; }
    void setPosition(int position) { m_position = position; }
    Direction moveDirection() const { return m_direction; }

private:
    int m_position = 0;
    Direction m_direction = Direction::None;
};
