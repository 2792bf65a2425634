#include "catalogue/CXListCtrl.h"

#include "app/NotifyEvent.h"
#include "catalogue/CXListHeader.h"
#include "catalogue/RecordingListModel.h"
#include "catalogue/RecordingNames.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace {

constexpr int kRowImage = 3402;
constexpr int kAlternateRowImage = 3403;
constexpr int kSelectedRowImage = 3404;
constexpr int kIconSize = 20;
constexpr int kRowTextCellHeight = 13;

// Every row is as high as the skin's row picture, and never lower than its icon.
int skinRowHeight()
{
    const int skinHeight = SkinModule::size(kRowImage).height();
    return std::max(skinHeight > 0 ? skinHeight : 26, kIconSize + 4);
}

// A cell's text, shaped once. A text that fits is drawn as it stands; a longer one (a font wider than the one
// the columns were sized for) is elided or, for a label the icon beside it already says, left out. Measuring
// first and drawing after would shape every text twice, and the first screen of a large card is mostly text.
void drawCellText(QPainter* painter, const QRect& cell, const QString& text, bool leaveOutWhenLong)
{
    QTextLayout layout(text, painter->font(), painter->device());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return;
    if (line.naturalTextWidth() <= cell.width()) {
        layout.draw(painter, QPointF(cell.left(), cell.top() + (cell.height() - line.height()) / 2));
        return;
    }
    if (leaveOutWhenLong)
        return;
    painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        QFontMetrics(painter->font(), painter->device()).elidedText(text, Qt::ElideRight, cell.width()));
}

// Rows drawn with the skin's row pictures: dark, alternating, and a selection that reads well on them.
class RowDelegate : public QStyledItemDelegate
{
public:
    RowDelegate(RecordingListModel* model, const CXListCtrl* list)
        : QStyledItemDelegate(const_cast<CXListCtrl*>(list))
        , m_model(model)
        , m_list(list)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const int image = selected ? kSelectedRowImage : index.row() % 2 ? kAlternateRowImage : kRowImage;
        const QPixmap background = SkinModule::image(image);
        if (background.isNull())
            painter->fillRect(option.rect, selected ? QColor(34, 98, 170) : QColor(26, 29, 35));
        else
            painter->drawPixmap(option.rect, background);

        QRect text = option.rect.adjusted(4, 0, -2, 0);
        const bool category = index.column() == recordinglist::kCategoryColumn;
        if (category) {
            if (const std::optional<int> icon = m_model->iconIndex(index.row())) {
                const QPixmap pixmap = SkinModule::image(recording::iconBitmapId(*icon));
                const QRect target(
                    text.left(), option.rect.top() + (option.rect.height() - kIconSize) / 2, kIconSize, kIconSize);
                painter->drawPixmap(target, pixmap);
            }
            if (m_list->rowMarker() && index.row() < m_list->rowCount() && m_list->rowMarker()(m_list->entryAt(index.row()))) {
                // A corner flag over the icon: the row keeps its columns and texts.
                const int size = kIconSize / 2;
                const int top = option.rect.top() + (option.rect.height() - kIconSize) / 2;
                const QPoint flag[3] = { QPoint(text.left() + kIconSize - size, top), QPoint(text.left() + kIconSize, top),
                    QPoint(text.left() + kIconSize, top + size) };
                painter->save();
                painter->setPen(Qt::NoPen);
                painter->setBrush(QColor(0, 220, 255));
                painter->drawPolygon(flag, 3);
                painter->restore();
            }
            text.setLeft(text.left() + kIconSize + 3);
        }
        painter->setFont(option.font);
        painter->setPen(selected ? QColor(255, 255, 255) : QColor(214, 219, 227));
        // The kind column is narrow: where its label does not fit beside the icon, the icon alone says it
        // better than a lone ellipsis.
        drawCellText(painter, text, index.data(Qt::DisplayRole).toString(), category);
    }

private:
    RecordingListModel* m_model;
    const CXListCtrl* m_list;
};

} // namespace

CXListCtrl::CXListCtrl(QWidget* parent, QObject* notifyTarget, int countryCode)
    : QTableView(parent)
    , m_notifyTarget(notifyTarget)
    , m_countryCode(countryCode)
    , m_model(new RecordingListModel(this))
    , m_header(new CXListHeader(this))
{
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new RowDelegate(m_model, this));
    // Every row has the same height, and a table places its rows by that height alone; a tree view lays out
    // each of a card's tens of thousands of rows before it paints the first screen.
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(skinRowHeight());
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // The header click is ours (category or inverted sort); turning the view's own sorting off also makes
    // the sections unclickable, so they are made clickable again.
    setSortingEnabled(false);
    m_header->setSectionsClickable(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setIconSize(QSize(kIconSize, kIconSize));
    // Rows are 22 pixels high; the text inside them is sized so that a whole base name ("20260314_071502") and a
    // whole date fit their columns, since a name cut after the date hides which recording a row is.
    setFont(SkinFont(kRowTextCellHeight));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, QColor(20, 22, 27));
    palette.setColor(QPalette::Window, QColor(20, 22, 27));
    palette.setColor(QPalette::Text, QColor(214, 219, 227));
    setPalette(palette);
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: #1b1e25; width: 10px; margin: 0; }"
        "QScrollBar::handle:vertical { background: #5b6372; border-radius: 4px; min-height: 24px; margin: 1px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    for (int column = 0; column < recordinglist::kColumnCount; ++column)
        setColumnWidth(column, recordinglist::columnWidth(column, countryCode));
    connect(m_header, &QHeaderView::sectionClicked, this, &CXListCtrl::onHeaderClicked);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            m_remembered = current.row();
    });
}

void CXListCtrl::setCatalogue(const RecordingCatalogue* catalogue)
{
    m_model->setCatalogue(catalogue);
}

void CXListCtrl::post(int code, intptr_t param)
{
    if (m_notifyTarget)
        NotifyEvent::post(m_notifyTarget, code, param);
}

void CXListCtrl::fill(std::vector<RecordingEntry> entries)
{
    m_model->fill(std::move(entries));
    m_remembered = -1;
    fitColumnsToScrollBar();
}

void CXListCtrl::sortRows(int column, bool announce)
{
    m_model->sortRows(column); // a model reset: no row stays selected or current
    setFocus(Qt::OtherFocusReason);
    if (announce)
        post(NotifyEvent::ListResorted, kControlId);
}

bool CXListCtrl::ascending() const
{
    return m_model->rows().ascending();
}

void CXListCtrl::setAscending(bool ascending)
{
    m_model->rows().setAscending(ascending);
}

void CXListCtrl::setCategoryPicture(ListCategory category)
{
    m_header->setCategoryPicture(category);
}

void CXListCtrl::onHeaderClicked(int section)
{
    if (section == recordinglist::kCategoryColumn) {
        post(NotifyEvent::ListHeaderClick, kControlId);
        return;
    }
    m_model->rows().invertDirection();
    sortRows(section, true);
}

QString CXListCtrl::locateCurrentRecording(const QString& currentFileName, int& currentPosition)
{
    const LocatedRecording located = LocateCurrentRecording(m_model->rows(), currentFileName, currentPosition);
    currentPosition = located.position;
    if (located.rowToSelect)
        selectOnly(*located.rowToSelect);
    else
        selectionModel()->clear();
    return located.caption;
}

int CXListCtrl::rowCount() const
{
    return m_model->rows().count();
}

void CXListCtrl::setRowMarker(std::function<bool(const RecordingEntry&)> marker)
{
    m_rowMarker = std::move(marker);
    viewport()->update();
}

const RecordingEntry& CXListCtrl::entryAt(int row) const
{
    return m_model->entry(row);
}

std::optional<int> CXListCtrl::iconIndexAt(int row) const
{
    return m_model->iconIndex(row);
}

void CXListCtrl::removeRowAt(int row)
{
    m_model->removeRowAt(row);
    if (m_remembered >= rowCount())
        m_remembered = rowCount() - 1;
}

void CXListCtrl::clearRows()
{
    m_model->clearRows();
    m_remembered = -1;
}

void CXListCtrl::selectOnly(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
    setFocus(Qt::OtherFocusReason);
}

void CXListCtrl::selectPrevious()
{
    if (const std::optional<int> row = PreviousRowSelection(selectedRows(), rowCount()))
        selectOnly(*row);
}

void CXListCtrl::selectNext()
{
    if (const std::optional<int> row = NextRowSelection(selectedRows(), rowCount()))
        selectOnly(*row);
}

std::optional<int> CXListCtrl::rowToOpen() const
{
    return RowToOpen(selectedRows());
}

std::vector<int> CXListCtrl::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList CXListCtrl::selectedBaseNames() const
{
    QStringList names;
    for (int row : selectedRows())
        names.append(entryAt(row).baseName);
    return names;
}

void CXListCtrl::fitColumnsToScrollBar()
{
    const int last = recordinglist::kColumnCount - 1;
    const int bar = verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0;
    setColumnWidth(last, recordinglist::columnWidth(last, m_countryCode) - bar);
}

void CXListCtrl::reselectRemembered()
{
    if (m_remembered >= 0 && m_remembered < rowCount())
        selectOnly(m_remembered);
}

void CXListCtrl::mousePressEvent(QMouseEvent* event)
{
    // A click beside the rows keeps the selection: the row is selected again instead of cleared.
    if (!indexAt(event->position().toPoint()).isValid()) {
        reselectRemembered();
        return;
    }
    QTableView::mousePressEvent(event);
}

void CXListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        reselectRemembered();
        return;
    }
    m_remembered = index.row();
    post(NotifyEvent::ListDoubleClick, index.row());
}

void CXListCtrl::keyPressEvent(QKeyEvent* event)
{
    // The window binds these keys (they move the selection or open a row through its own handlers).
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();
        return;
    default:
        QTableView::keyPressEvent(event);
    }
}

QModelIndex CXListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Home and End go to the first and the last recording, as in any list; a table would only move along the
    // row, which changes nothing here since whole rows are selected.
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void CXListCtrl::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    fitColumnsToScrollBar();
}
