#include "catalogue/RecordingListModel.h"

#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "skin/SkinModule.h"

RecordingListModel::RecordingListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void RecordingListModel::fill(std::vector<RecordingEntry> entries)
{
    beginResetModel();
    m_rows.fill(std::move(entries));
    endResetModel();
}

void RecordingListModel::sortRows(int column)
{
    // Sorting by date compares every row's date text.
    if (column == recordinglist::kDateColumn && m_catalogue) {
        for (int row = 0; row < m_rows.count(); ++row)
            m_catalogue->ResolveEntryDate(m_rows.at(row));
    }
    beginResetModel();
    m_rows.sort(column);
    endResetModel();
}

void RecordingListModel::removeRowAt(int row)
{
    if (row < 0 || row >= m_rows.count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void RecordingListModel::clearRows()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

std::optional<int> RecordingListModel::iconIndex(int row) const
{
    if (row < 0 || row >= m_rows.count())
        return std::nullopt;
    RecordingEntry& entry = m_rows.at(row);
    if (entry.iconPending && m_catalogue)
        m_catalogue->ResolveEntryIcon(entry);
    return entry.iconIndex;
}

const RecordingEntry& RecordingListModel::entry(int row) const
{
    RecordingEntry& e = m_rows.at(row);
    if (e.datePending && m_catalogue)
        m_catalogue->ResolveEntryDate(e);
    return e;
}

QModelIndex RecordingListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= m_rows.count() || column < 0 || column >= recordinglist::kColumnCount)
        return QModelIndex();
    return createIndex(row, column);
}

Qt::ItemFlags RecordingListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

int RecordingListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.count();
}

int RecordingListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : recordinglist::kColumnCount;
}

QVariant RecordingListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.count())
        return QVariant();
    if (role == Qt::DisplayRole)
        return recordinglist::columnText(entry(index.row()), index.column());
    if (role == Qt::DecorationRole && index.column() == recordinglist::kCategoryColumn) {
        if (const std::optional<int> icon = iconIndex(index.row()))
            return SkinModule::image(recording::iconBitmapId(*icon));
    }
    return QVariant();
}
