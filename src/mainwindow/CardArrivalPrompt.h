#pragma once

#include "catalogue/CardArrivalWatcher.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class CKorvanePCPlayerDlg;
class MountWatcher;
class RemovableVolumes;

// What the main window does with a card inserted while it runs: nothing playing, the card opens as the drive
// dialog would open it; while a recording plays, a skinned box asks first; while a dialog is open or a repair
// runs, or for the card already open, nothing happens. A card pulled out changes nothing here.
class CardArrivalPrompt : public QObject
{
    Q_OBJECT
public:
    // The window's side: whether a recording plays, whether the window is busy with work of its own (a
    // repair), the folder open now, and opening a card's root.
    struct Host
    {
        std::function<bool()> recordingPlays;
        std::function<bool()> busy;
        std::function<QString()> openFolder;
        std::function<void(const QString& root)> openCard;
    };

    CardArrivalPrompt(QWidget* window, Host host, QObject* parent = nullptr);
    ~CardArrivalPrompt() override;

    // The viewer's prompt: the system's mount table and removable volumes, over the main window. Owned by
    // the window.
    static CardArrivalPrompt* Install(CKorvanePCPlayerDlg& window);

    // Listens to `watcher` (which must outlive the prompt, or be owned by it through adopt()).
    void listenTo(CardArrivalWatcher& watcher);
    void adopt(std::unique_ptr<MountWatcher> mounts, std::unique_ptr<RemovableVolumes> volumes,
        std::unique_ptr<CardArrivalWatcher> watcher);

    // Handles one inserted card with recordings.
    void cardInserted(const QString& root);

private:
    QPointer<QWidget> m_window;
    Host m_host;
    std::unique_ptr<MountWatcher> m_mounts;
    std::unique_ptr<RemovableVolumes> m_volumes;
    std::unique_ptr<CardArrivalWatcher> m_watcher;
};
