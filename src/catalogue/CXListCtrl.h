#pragma once

#include "catalogue/RecordingListRules.h"

#include <QPointer>
#include <QTableView>

#include <functional>
#include <optional>
#include <vector>

class CXListHeader;
class RecordingCatalogue;
class RecordingListModel;

// The recording list (control 1010): kind with icon, base name and date of every recording of the current
// category. It reports to the window given at creation with NotifyEvent:
//   ListDoubleClick (9, row)       a row was double-clicked: open it
//   ListHeaderClick (10, 1010)     the category column's header was clicked: cycle the category
//   ListResorted    (11, 1010)     rows were re-sorted with announcement: locate the playing recording
// How the main window drives it:
//   list = new CXListCtrl(this, this, countryCode); list->setCatalogue(&catalogue);
//   list->fill(catalogue.BuildCategoryEntries(category, RecordingCatalogue::MarkerDates::WhenShown));
//                                                                // sorts by base name, no announcement
//   list->sortRows(recordinglist::kBaseNameColumn, true);        // after an open: posts 11
//   code 10: category = recordinglist::nextCategory(category); list->setCategoryPicture(category);
//            reset the speed readout; list->fill(...); list->fitColumnsToScrollBar();
//            list->setAscending(true); list->sortRows(1, true); OpenListRow(0)
//   code 11: caption = list->locateCurrentRecording(currentFileName, currentPosition)
//   OpenListRow: list->entryAt(row), list->selectOnly(row)
//   Up / Down / Enter (the list leaves these keys to its window): selectPrevious(), selectNext(),
//            rowToOpen()
//   copy / delete: selectedRows(), selectedBaseNames(), removeRowAt(row)
class CXListCtrl : public QTableView
{
    Q_OBJECT
public:
    static constexpr int kControlId = recordinglist::kControlId;

    CXListCtrl(QWidget* parent, QObject* notifyTarget, int countryCode);

    // Reads the icons of parking rows when they are painted.
    void setCatalogue(const RecordingCatalogue* catalogue);

    // Replaces every row; then sorts by base name in the current direction without announcement.
    void fill(std::vector<RecordingEntry> entries);
    // Sorts by a column in the current direction; clears the selection, takes the focus and, with
    // announce, posts code 11.
    void sortRows(int column, bool announce);
    bool ascending() const;
    void setAscending(bool ascending);

    void setCategoryPicture(ListCategory category);
    CXListHeader* listHeader() const { return m_header; }

    // Finds the playing recording's row after a sort: it becomes currentPosition, is selected and shown.
    // Returns the caption text ("20120101_123456(3/120)").
    QString locateCurrentRecording(const QString& currentFileName, int& currentPosition);

    // A mark drawn over a row's icon when the predicate says so (rows holding an impact); asked only for
    // the rows being painted. No predicate: no marks.
    void setRowMarker(std::function<bool(const RecordingEntry&)> marker);
    const std::function<bool(const RecordingEntry&)>& rowMarker() const { return m_rowMarker; }

    int rowCount() const;
    // 0 <= row < rowCount(); a span marker's date is read here when the build left it for later.
    const RecordingEntry& entryAt(int row) const;
    std::optional<int> iconIndexAt(int row) const;
    void removeRowAt(int row);
    void clearRows();

    // Clears every selection, selects the row, scrolls it into view, focuses the list, sets the mark.
    void selectOnly(int row);
    void selectPrevious();
    void selectNext();
    std::optional<int> rowToOpen() const;
    std::vector<int> selectedRows() const; // ascending
    QStringList selectedBaseNames() const;
    int rememberedRow() const { return m_remembered; }

    // The last column gives up the scroll bar's width while the bar is shown.
    void fitColumnsToScrollBar();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void onHeaderClicked(int section);
    void reselectRemembered();
    void post(int code, intptr_t param);

    QPointer<QObject> m_notifyTarget;
    int m_countryCode = 0;
    RecordingListModel* m_model = nullptr;
    CXListHeader* m_header = nullptr;
    int m_remembered = -1;
    std::function<bool(const RecordingEntry&)> m_rowMarker;
};
