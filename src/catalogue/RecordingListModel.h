#pragma once

#include "catalogue/RecordingListRules.h"

#include <QAbstractTableModel>

#include <optional>

class RecordingCatalogue;

// The rows of the recording list as a Qt model over the entries themselves (no copies of their texts).
// A parking row's icon that depends on its data file is read the first time the row is painted.
class RecordingListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit RecordingListModel(QObject* parent = nullptr);

    // The catalogue that reads the pending parking icons and span marker dates; without one the icons stay
    // at 4 and the dates empty.
    void setCatalogue(const RecordingCatalogue* catalogue) { m_catalogue = catalogue; }

    void fill(std::vector<RecordingEntry> entries);
    void sortRows(int column);
    void removeRowAt(int row);
    void clearRows();
    RecordingListRows& rows() { return m_rows; }
    const RecordingListRows& rows() const { return m_rows; }

    // The row's icon index, reading the parking-type byte when it is still pending.
    std::optional<int> iconIndex(int row) const;
    // The row with its date text read when it was left pending (0 <= row < count). Its icon may still be
    // pending: that is read only when the row is painted.
    const RecordingEntry& entry(int row) const;

    // Asked for every cell the view paints, selects or walks: answered straight from the row count, the same
    // answers a table model gives.
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // Painting resolves icons: the rows are the model's cache of what was read.
    mutable RecordingListRows m_rows;
    const RecordingCatalogue* m_catalogue = nullptr;
};
