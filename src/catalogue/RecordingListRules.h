#pragma once

#include "catalogue/RecordingEntry.h"

#include <QString>

#include <optional>
#include <vector>

// The rules of the recording list, kept apart from the widget so they are tested without one: its columns,
// the category cycle, the sort order, finding the playing recording again and the keyboard moves.
namespace recordinglist {

inline constexpr int kControlId = 1010; // what codes 10 and 11 carry
inline constexpr int kColumnCount = 3;
inline constexpr int kCategoryColumn = 0; // a click on its header cycles the category instead of sorting
inline constexpr int kBaseNameColumn = 1;
inline constexpr int kDateColumn = 2;

// Column widths in pixels: Korea's narrower first column fits its shorter kind labels.
int columnWidth(int column, int countryCode);

// The picture a header section shows in place of a text: the category's for column 0, then "file name"
// (3413) and "date" (3412).
int categoryPictureId(ListCategory category);
int headerPictureId(int column, ListCategory category);

// All -> Event -> Parking -> Normal -> All.
ListCategory nextCategory(ListCategory category);

// The text of a row's column: kind label, base name, date text.
QString columnText(const RecordingEntry& entry, int column);

} // namespace recordinglist

// The rows of the list and its one sort direction flag (ascending 1, descending 0, for every column).
class RecordingListRows
{
public:
    // Replaces the rows and sorts them by base name in the current direction.
    void fill(std::vector<RecordingEntry> entries);
    // Orders the rows by a column's text, both texts lower-cased and compared UTF-16 code unit by code unit,
    // in the current direction; rows with equal texts keep their order.
    void sort(int column);

    bool ascending() const { return m_ascending; }
    void setAscending(bool ascending) { m_ascending = ascending; }
    void invertDirection() { m_ascending = !m_ascending; }

    int count() const { return static_cast<int>(m_order.size()); }
    const RecordingEntry& at(int row) const { return m_entries[m_order[static_cast<size_t>(row)]]; }
    RecordingEntry& at(int row) { return m_entries[m_order[static_cast<size_t>(row)]]; }
    void removeAt(int row);
    void clear();

private:
    // The entries stay where the fill put them; the list's order is an order of their places. A card's list
    // holds tens of thousands of entries of a hundred bytes, and sorting (on every fill) then moves four-byte
    // places instead of entries.
    std::vector<RecordingEntry> m_entries;
    std::vector<uint32_t> m_order; // row -> place in m_entries
    bool m_ascending = true;
};

// Where the playing recording is after a sort (code 11), and the caption that says so.
struct LocatedRecording
{
    int position = -1; // the current list position afterwards (kept when the recording is not listed)
    std::optional<int> rowToSelect; // the row to select, when the position names a row
    QString caption; // base name + "(position+1/row count)"
};

// currentFileName is prefix + base name + extension; its base name is looked for in column 1, exactly.
LocatedRecording LocateCurrentRecording(
    const RecordingListRows& rows, const QString& currentFileName, int currentPosition);

// The Up and Down keys: the row that becomes the only selected one, or nothing. selectedRows ascending.
std::optional<int> PreviousRowSelection(const std::vector<int>& selectedRows, int rowCount);
std::optional<int> NextRowSelection(const std::vector<int>& selectedRows, int rowCount);
// Enter: the lowest selected row, when any row is selected.
std::optional<int> RowToOpen(const std::vector<int>& selectedRows);
