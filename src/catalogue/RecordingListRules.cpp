#include "catalogue/RecordingListRules.h"

#include "catalogue/LowerCaseOrder.h"
#include "catalogue/RecordingNames.h"

#include <algorithm>
#include <utility>

namespace recordinglist {

int columnWidth(int column, int countryCode)
{
    const bool korea = countryCode == 82;
    switch (column) {
    case 0:
        return korea ? 40 : 53;
    case 1:
        return korea ? 120 : 110;
    case 2:
        return korea ? 140 : 137;
    default:
        return 0;
    }
}

int categoryPictureId(ListCategory category)
{
    switch (category) {
    case ListCategory::All:
        return 3410;
    case ListCategory::Event:
        return 3416;
    case ListCategory::Parking:
        return 3415;
    case ListCategory::Normal:
        return 3414;
    }
    return 3410;
}

int headerPictureId(int column, ListCategory category)
{
    switch (column) {
    case kCategoryColumn:
        return categoryPictureId(category);
    case kBaseNameColumn:
        return 3413;
    case kDateColumn:
        return 3412;
    default:
        return 0;
    }
}

ListCategory nextCategory(ListCategory category)
{
    switch (category) {
    case ListCategory::All:
        return ListCategory::Event;
    case ListCategory::Event:
        return ListCategory::Parking;
    case ListCategory::Parking:
        return ListCategory::Normal;
    case ListCategory::Normal:
        return ListCategory::All;
    }
    return ListCategory::All;
}

QString columnText(const RecordingEntry& entry, int column)
{
    switch (column) {
    case 0:
        return entry.kindLabel;
    case 1:
        return entry.baseName;
    case 2:
        return EntryDateText(entry);
    default:
        return QString();
    }
}

} // namespace recordinglist

void RecordingListRows::fill(std::vector<RecordingEntry> entries)
{
    m_entries = std::move(entries);
    m_order = LowerCaseOrderOfViews(
        m_entries.size(), [this](size_t place) { return QStringView(m_entries[place].baseName); }, m_ascending);
}

void RecordingListRows::sort(int column)
{
    // The kind and the base name are texts the rows hold; only the date may have to be formatted first.
    std::vector<uint32_t> order;
    if (column == recordinglist::kCategoryColumn || column == recordinglist::kBaseNameColumn) {
        const bool kind = column == recordinglist::kCategoryColumn;
        order = LowerCaseOrderOfViews(
            m_order.size(),
            [this, kind](size_t row) {
                const RecordingEntry& entry = at(static_cast<int>(row));
                return QStringView(kind ? entry.kindLabel : entry.baseName);
            },
            m_ascending);
    } else {
        order = LowerCaseOrder(
            m_order.size(), [this, column](size_t row) { return recordinglist::columnText(at(static_cast<int>(row)), column); },
            m_ascending);
    }
    // order lists rows; the new order lists their places.
    for (uint32_t& row : order)
        row = m_order[row];
    m_order = std::move(order);
}

void RecordingListRows::removeAt(int row)
{
    // The entry keeps its place (nothing else refers to it) until the next fill or clear.
    if (row >= 0 && row < count())
        m_order.erase(m_order.begin() + row);
}

void RecordingListRows::clear()
{
    m_entries.clear();
    m_order.clear();
}

LocatedRecording LocateCurrentRecording(
    const RecordingListRows& rows, const QString& currentFileName, int currentPosition)
{
    LocatedRecording result;
    // Without the four characters of the prefix and the four of the extension.
    const QString base = currentFileName.size() > 8 ? currentFileName.mid(4, currentFileName.size() - 8) : QString();
    result.position = currentPosition;
    const int count = rows.count();
    for (int row = 0; row < count; ++row) {
        if (rows.at(row).baseName == base) {
            result.position = row;
            break;
        }
    }
    if (result.position >= 0 && result.position < count)
        result.rowToSelect = result.position;
    result.caption = base + QStringLiteral("(%1/%2)").arg(result.position + 1).arg(count);
    return result;
}

std::optional<int> PreviousRowSelection(const std::vector<int>& selectedRows, int rowCount)
{
    if (selectedRows.empty() || rowCount <= 0)
        return std::nullopt;
    const int first = *std::min_element(selectedRows.begin(), selectedRows.end());
    return std::clamp(first - 1, 0, rowCount - 1);
}

std::optional<int> NextRowSelection(const std::vector<int>& selectedRows, int rowCount)
{
    if (rowCount <= 0)
        return std::nullopt;
    if (selectedRows.empty())
        return 0;
    const int first = *std::min_element(selectedRows.begin(), selectedRows.end());
    return std::clamp(first + 1, 0, rowCount - 1);
}

std::optional<int> RowToOpen(const std::vector<int>& selectedRows)
{
    if (selectedRows.empty())
        return std::nullopt;
    return *std::min_element(selectedRows.begin(), selectedRows.end());
}
