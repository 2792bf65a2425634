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
    // Sorted as sort(kBaseNameColumn) would, but each row is moved once, straight to its place in the list's
    // own storage (kept from the fill before), instead of being moved in and then along the order's cycles.
    const std::vector<uint32_t> order = LowerCaseOrderOfViews(
        entries.size(), [&entries](size_t row) { return QStringView(entries[row].baseName); }, m_ascending);
    m_rows.clear();
    m_rows.reserve(entries.size());
    for (const uint32_t row : order)
        m_rows.push_back(std::move(entries[row]));
}

void RecordingListRows::sort(int column)
{
    // The kind and the base name are texts the rows hold; only the date may have to be formatted first.
    if (column == recordinglist::kCategoryColumn || column == recordinglist::kBaseNameColumn) {
        const bool kind = column == recordinglist::kCategoryColumn;
        const std::vector<uint32_t> order = LowerCaseOrderOfViews(
            m_rows.size(),
            [this, kind](size_t row) {
                const RecordingEntry& entry = m_rows[row];
                return QStringView(kind ? entry.kindLabel : entry.baseName);
            },
            m_ascending);
        ApplyOrder(m_rows, order);
        return;
    }
    const std::vector<uint32_t> order = LowerCaseOrder(
        m_rows.size(), [this, column](size_t row) { return recordinglist::columnText(m_rows[row], column); },
        m_ascending);
    ApplyOrder(m_rows, order);
}

void RecordingListRows::removeAt(int row)
{
    if (row >= 0 && row < count())
        m_rows.erase(m_rows.begin() + row);
}

LocatedRecording LocateCurrentRecording(
    const std::vector<RecordingEntry>& rows, const QString& currentFileName, int currentPosition)
{
    LocatedRecording result;
    // Without the four characters of the prefix and the four of the extension.
    const QString base = currentFileName.size() > 8 ? currentFileName.mid(4, currentFileName.size() - 8) : QString();
    result.position = currentPosition;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].baseName == base) {
            result.position = static_cast<int>(i);
            break;
        }
    }
    const int count = static_cast<int>(rows.size());
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
