#include "sdcard/CDlgDisk.h"

#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "platform/CardDevices.h"
#include "platform/RemovableVolumes.h"
#include "sdcard/SizeText.h"
#include "skin/CDlgMessage.h"
#include "skin/CSkinButton.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QTreeWidget>

namespace {

constexpr int kStrSelectCard = 257;
constexpr int kStrSelectOneCard = 256;
constexpr int kStrCapacityTestItem = 1506;
constexpr int kStrNoFileSystem = 1512;
constexpr int kRootRole = Qt::UserRole + 1;
constexpr int kUnmountedRole = Qt::UserRole + 2;

const int kButtonIds[5]
    = { CDlgDisk::ChooseId, CDlgDisk::CancelId, CDlgDisk::RefreshId, CDlgDisk::FormatId, CDlgDisk::CheckId };
const int kButtonImages[5] = { 3124, 3125, 3135, 3136, 3154 };
const int kColumnWidths[5] = { 104, 72, 72, 72, 0 };
const int kHeaderImages[5] = { 3413, 3411, 3409, 3417, 0 };

// The header draws each column's skin image under its (Korean, in every language) title.
class DiskHeader : public QHeaderView
{
public:
    explicit DiskHeader(QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
        setSectionsClickable(false);
        setFont(SkinFont(13));
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        const QPixmap image = logicalIndex < 5 && kHeaderImages[logicalIndex]
            ? SkinModule::image(kHeaderImages[logicalIndex])
            : QPixmap();
        // The images carry the column's word; the title is drawn only where an image is missing.
        if (!image.isNull()) {
            painter->drawPixmap(rect, image);
            return;
        }
        painter->fillRect(rect, QColor(40, 40, 40));
        painter->setPen(QColor(220, 220, 220));
        painter->drawText(
            rect.adjusted(4, 0, -4, 0), Qt::AlignCenter, model()->headerData(logicalIndex, Qt::Horizontal).toString());
    }
};

QString displayName(const QString& root, const platform::CardDevices& devices)
{
    QString mountPoint = root;
    if (mountPoint.size() > 1 && mountPoint.endsWith(QLatin1Char('/')))
        mountPoint.chop(1);
    QString name;
    if (const std::optional<platform::VolumeDetails> v = devices.volumeAt(root))
        name = v->label.isEmpty() ? QFileInfo(v->device).fileName() : v->label;
    if (name.isEmpty())
        name = QFileInfo(mountPoint).fileName();
    return name + QStringLiteral(" (") + mountPoint + QLatin1Char(')');
}

} // namespace

CDlgDisk::CDlgDisk(QWidget* parent)
    : CDlgFrame(kTemplateId, parent)
{
    setModal(true);
    setFixedSize(kWindowSize);
    client()->setGeometry(rect().marginsRemoved(frameMargins()));

    m_list = new QTreeWidget(client());
    m_list->setObjectName(QStringLiteral("driveList"));
    m_list->setHeader(new DiskHeader(m_list));
    m_list->setColumnCount(5);
    m_list->setHeaderLabels(
        { QStringLiteral("이름"), QStringLiteral("용량"), QStringLiteral("사용"), QStringLiteral("여유"), QString() });
    for (int i = 0; i < 5; ++i)
        m_list->setColumnWidth(i, kColumnWidths[i]);
    m_list->header()->setStretchLastSection(false);
    m_list->setRootIsDecorated(false);
    // The four columns fill the list's width exactly.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setFont(SkinFont(13));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setStyleSheet(QStringLiteral(
        "QTreeWidget { background: rgb(16,16,16); color: rgb(220,220,220); border: 1px solid rgb(60,60,60); }"
        "QTreeWidget::item:selected { background: rgb(170,30,30); color: white; }"));
    m_list->setGeometry(7, 5, 320, client()->height() - 10);
    m_list->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
        [this] { NotifyEvent::post(this, NotifyEvent::ListDoubleClick, ListId); });
    connect(m_list, &QTreeWidget::customContextMenuRequested, this, &CDlgDisk::showContextMenu);

    for (int i = 0; i < 5; ++i) {
        auto* b = new CSkinButton(client(), kButtonIds[i]);
        b->setImage(kButtonImages[i]);
        b->setGeometry(332, 5 + 32 * i, 64, 29);
        m_buttons[i] = b;
    }
}

CDlgDisk::~CDlgDisk() = default;

void CDlgDisk::setUp(std::function<void()> emptyListReset, const QString& proposedRoot, int countryCode)
{
    m_emptyListReset = std::move(emptyListReset);
    m_chosenRoot = proposedRoot;
    m_country = countryCode;
}

void CDlgDisk::setSources(std::shared_ptr<RemovableVolumes> volumes, std::shared_ptr<platform::CardDevices> devices)
{
    m_volumes = std::move(volumes);
    m_devices = std::move(devices);
}

CSkinButton* CDlgDisk::button(int controlId) const
{
    for (int i = 0; i < 5; ++i) {
        if (kButtonIds[i] == controlId)
            return m_buttons[i];
    }
    return nullptr;
}

void CDlgDisk::showEvent(QShowEvent* event)
{
    CDlgFrame::showEvent(event);
    if (!m_filled)
        fillList();
}

void CDlgDisk::fillList()
{
    m_filled = true;
    if (!m_volumes)
        m_volumes = CreateRemovableVolumes();
    if (!m_devices)
        m_devices = platform::CreateCardDevices();
    // The root chosen before (or proposed) is selected again when it is still there.
    QString keep = m_chosenRoot;
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (!selected.isEmpty())
        keep = selected.first()->data(0, kRootRole).toString();
    const QString keepDevice = keep; // an unmounted card's row is keyed by its device
    if (!keep.isEmpty() && !keep.endsWith(QLatin1Char('/')))
        keep += QLatin1Char('/');

    m_list->clear();
    for (const QString& root : m_volumes->removableRoots()) {
        const platform::DiskSpace space = m_devices->diskSpace(root);
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(NameColumn, displayName(root, *m_devices));
        item->setText(CapacityColumn, DriveSizeText(space.capacity, m_country));
        item->setText(UsedColumn, DriveSizeText(space.used, m_country));
        item->setText(FreeColumn, DriveSizeText(space.free, m_country));
        for (int c = CapacityColumn; c <= FreeColumn; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, kRootRole, root);
        item->setToolTip(NameColumn, item->text(NameColumn));
        if (!keep.isEmpty() && root == keep)
            item->setSelected(true);
    }
    // Cards without a mounted volume (a damaged or unformatted file system) follow, by device and size, so that
    // Format and Check can reach the cards that need them most.
    for (const UnmountedCard& card : m_volumes->unmountedCards()) {
        auto* item = new QTreeWidgetItem(m_list);
        const QString name = QFileInfo(card.device).fileName();
        item->setText(NameColumn, name + QStringLiteral(" (") + card.device + QLatin1Char(')'));
        item->setText(CapacityColumn, DriveSizeText(card.bytes, m_country));
        item->setTextAlignment(CapacityColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, kRootRole, card.device);
        item->setData(0, kUnmountedRole, true);
        item->setToolTip(NameColumn,
            card.model.isEmpty() ? item->text(NameColumn)
                                 : card.model + QStringLiteral(" - ") + item->text(NameColumn));
        item->setForeground(NameColumn, QColor(150, 150, 150));
        if (!keepDevice.isEmpty() && card.device == keepDevice)
            item->setSelected(true);
    }
}

bool CDlgDisk::isUnmountedRow(const QTreeWidgetItem* item)
{
    return item && item->data(0, kUnmountedRole).toBool();
}

bool CDlgDisk::choose(const QTreeWidgetItem* item)
{
    // A card without a mounted volume has no recordings to open.
    if (isUnmountedRow(item)) {
        CDlgMessage::ask(CDlgMessage::StyleOk, kStrNoFileSystem, this);
        return false;
    }
    m_chosenRoot = item->data(0, kRootRole).toString();
    done(Chosen);
    return true;
}

void CDlgDisk::runTool(const std::function<void()>& tool)
{
    if (m_busy)
        return;
    m_busy = true;
    for (CSkinButton* b : m_buttons)
        b->setEnabled(false);
    m_list->setEnabled(false);
    tool();
    m_list->setEnabled(true);
    for (CSkinButton* b : m_buttons)
        b->setEnabled(true);
    m_busy = false;
}

void CDlgDisk::done(int result)
{
    if (m_busy)
        return;
    CDlgFrame::done(result);
}

void CDlgDisk::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    CDlgFrame::closeEvent(event);
}

QStringList CDlgDisk::rowRoots() const
{
    QStringList roots;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        roots << m_list->topLevelItem(i)->data(0, kRootRole).toString();
    return roots;
}

QString CDlgDisk::selectedRootChecked()
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        CDlgMessage::ask(CDlgMessage::StyleOk, kStrSelectCard, this);
        return {};
    }
    if (selected.size() > 1) {
        CDlgMessage::ask(CDlgMessage::StyleOk, kStrSelectOneCard, this);
        return {};
    }
    return selected.first()->data(0, kRootRole).toString();
}

CardToolContext CDlgDisk::toolContext() const
{
    CardToolContext c;
    c.parent = const_cast<CDlgDisk*>(this);
    c.countryCode = m_country;
    c.emptyListReset = m_emptyListReset;
    c.devices = m_devices.get();
    c.backupPath = m_backupPath;
    return c;
}

void CDlgDisk::chooseFirstSelected()
{
    // The first selected row in list order, as the list control reports it.
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->isSelected()) {
            choose(m_list->topLevelItem(i));
            return;
        }
    }
    done(Cancelled);
}

void CDlgDisk::onButton(int controlId)
{
    // One job at a time: clicks that were queued while a tool ran are dropped.
    if (m_busy)
        return;
    switch (controlId) {
    case ChooseId:
        if (m_list->selectedItems().size() == 1) {
            choose(m_list->selectedItems().first());
        } else {
            done(Cancelled);
        }
        return;
    case CancelId:
        done(Cancelled);
        return;
    case RefreshId:
        fillList();
        return;
    case FormatId: {
        const QString root = selectedRootChecked();
        if (root.isEmpty())
            return;
        bool refill = false;
        runTool([&] { refill = cardtools::FormatCard(toolContext(), root); });
        if (refill)
            fillList();
        return;
    }
    case CheckId: {
        const QString root = selectedRootChecked();
        if (!root.isEmpty())
            runTool([&] { cardtools::CheckCard(toolContext(), root); });
        return;
    }
    default:
        return;
    }
}

void CDlgDisk::showContextMenu(const QPoint& pos)
{
    QTreeWidgetItem* item = m_list->itemAt(pos);
    // The capacity test works through the mounted file system.
    if (!item || m_busy || isUnmountedRow(item))
        return;
    QMenu menu(this);
    QAction* capacity = menu.addAction(StringById(kStrCapacityTestItem));
    if (menu.exec(m_list->viewport()->mapToGlobal(pos)) == capacity) {
        const QString root = item->data(0, kRootRole).toString();
        runTool([&] { cardtools::CapacityTestCard(toolContext(), root); });
        fillList();
    }
}

void CDlgDisk::customEvent(QEvent* event)
{
    if (event->type() != NotifyEvent::eventType()) {
        CDlgFrame::customEvent(event);
        return;
    }
    const auto* notify = static_cast<NotifyEvent*>(event);
    if (notify->code() == NotifyEvent::SkinButton)
        onButton(int(notify->param()));
    else if (notify->code() == NotifyEvent::ListDoubleClick)
        chooseFirstSelected();
}

void CDlgDisk::keyPressEvent(QKeyEvent* event)
{
    if (m_busy) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_list->selectedItems().isEmpty())
            done(Cancelled);
        else
            chooseFirstSelected();
        event->accept();
        return;
    case Qt::Key_Escape:
        done(Cancelled);
        event->accept();
        return;
    default:
        CDlgFrame::keyPressEvent(event);
    }
}

bool CDlgDisk::eventFilter(QObject* watched, QEvent* event)
{
    // The list would take Enter, Space and Escape for itself; they belong to the dialog.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space || key == Qt::Key_Escape) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return CDlgFrame::eventFilter(watched, event);
}
