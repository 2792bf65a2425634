#pragma once

#include "sdcard/CardToolFlows.h"
#include "skin/CDlgFrame.h"

#include <QStringList>

#include <functional>
#include <memory>

class CSkinButton;
class QTreeWidget;
class QTreeWidgetItem;
class RemovableVolumes;
namespace platform {
class CardDevices;
}

// The drive dialog: the removable volumes with their capacity, used and free space; Choose, Cancel,
// Refresh, Format and Check; a capacity test from the list's context menu.
//
// Use from the main window:
//     CDlgDisk dialog(this);
//     dialog.setUp(emptyListReset, currentCatalogueFolder, countryCode);
//     if (dialog.exec() == CDlgDisk::Chosen)
//         open(dialog.chosenRoot()); // the mount point, ending in "/"
// The empty-list reset (close the open recording, empty the list) runs before a format, check or capacity
// test touches the card.
class CDlgDisk : public CDlgFrame
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 107;
    static constexpr QSize kWindowSize { 402, 198 };
    enum Result { Chosen = 1, Cancelled = 2 };
    enum ControlId {
        ListId = 1018,
        ChooseId = 1014,
        CancelId = 1015,
        RefreshId = 1016,
        FormatId = 1017,
        CheckId = 1019
    };
    enum Column { NameColumn, CapacityColumn, UsedColumn, FreeColumn, SpareColumn };

    explicit CDlgDisk(QWidget* parent = nullptr);
    ~CDlgDisk() override;

    // Before exec: the main window's empty-list reset, the root to select (the open catalogue folder) and
    // the system country code (unit word of the sizes, warning lines).
    void setUp(std::function<void()> emptyListReset, const QString& proposedRoot, int countryCode);
    // Where the volumes and their details come from; the system's unless set (tests, galleries).
    void setSources(std::shared_ptr<RemovableVolumes> volumes, std::shared_ptr<platform::CardDevices> devices);
    // Where the settings backup of a format goes (tests); the desktop's KORVANE folder unless set.
    void setBackupPath(const QString& path) { m_backupPath = path; }

    // The root of the chosen volume once exec returned Chosen.
    QString chosenRoot() const { return m_chosenRoot; }

    void fillList();
    QTreeWidget* list() const { return m_list; }
    CSkinButton* button(int controlId) const;
    // The roots of the rows, in row order.
    QStringList rowRoots() const;

    // The single selected root, after the selection check (string 257 with none, 256 with several).
    QString selectedRootChecked();
    // Whether a card tool runs: the dialog then takes no buttons, keys or closing until it is over.
    bool isBusy() const { return m_busy; }

public Q_SLOTS:
    void done(int result) override;

protected:
    void customEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onButton(int controlId);
    // Runs a card tool with the dialog held still.
    void runTool(const std::function<void()>& tool);
    // Whether the row is a card without a mounted volume (Format and Check only).
    static bool isUnmountedRow(const QTreeWidgetItem* item);
    bool choose(const QTreeWidgetItem* item);
    void chooseFirstSelected();
    void showContextMenu(const QPoint& pos);
    CardToolContext toolContext() const;

    QTreeWidget* m_list = nullptr;
    CSkinButton* m_buttons[5] = {};
    std::function<void()> m_emptyListReset;
    QString m_chosenRoot;
    int m_country = 0;
    bool m_filled = false;
    bool m_busy = false;
    QString m_backupPath;
    std::shared_ptr<RemovableVolumes> m_volumes;
    std::shared_ptr<platform::CardDevices> m_devices;
};
