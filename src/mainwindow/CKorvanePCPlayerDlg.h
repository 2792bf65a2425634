#pragma once

#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingEntry.h"
#include "mainwindow/CDlgMain.h"
#include "mainwindow/MissingCardNotice.h"
#include "mainwindow/RowWalker.h"
#include "playback/PlayerContext.h"
#include "playback/PlayerControllerHost.h"
#include "catalogue/RecordingCommands.h"
#include "repair/OfferRecovery.h"
#include "sensor/SensorReadouts.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class CDropListWnd;
class MapPanel;
class PlayerController;
class QMenu;
class CDataParser;
class CXListCtrl;
class RemovableVolumes;
class SettingsStore;
class TripView;

// What start-up asks of the world, so that tests can run it without a card, dialogs or libvlc.
struct MainWindowStartup
{
    SettingsStore* store = nullptr; // the user's settings when null
    const RemovableVolumes* volumes = nullptr; // the system's removable volumes when null
    std::function<void()> checkPcCapability; // the default shows the system's warning when needed
    std::function<int(int currentTier)> chooseViewerTier; // the default shows the chooser (style 1027)
    std::function<void(int tier)> installLibraryVariant; // the default installs the tier's build
    bool loadMediaLibrary = true;
    // The map view with its browser engine; without it the map's place stays an empty panel.
    bool mapView = true;
};

// The viewer's main window: the commands of every button, key, menu and notification, the timers, the
// player and the catalogue of the open card or folder, and the walk from one recording to the next.
class CKorvanePCPlayerDlg : public CDlgMain,
                            public PlayerControllerHost,
                            public PlaybackGraph,
                            public RecoveryHost,
                            public RecordingCommandHost
{
    Q_OBJECT
public:
    using StartupEnvironment = MainWindowStartup;

    // A folder given here opens instead of the first removable card.
    explicit CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent = nullptr);
    ~CKorvanePCPlayerDlg() override;

    // The start-up sequence, run once before the window is shown. Timer 3 then opens row 0.
    void InitDialog(const StartupEnvironment& env = StartupEnvironment());

    // Opens a row of the list and plays it (span markers are skipped in the direction of travel).
    void OpenListRow(int index);
    void Previous();
    void Next();
    void OpenFolder(const QString& folder);

    PlayerContext& player() { return m_player; }
    PlayerController& controller() { return *m_controller; }
    const SensorReadouts& readouts() const { return *m_readouts; }
    CDataParser* graph() const { return m_graphView; }
    QString shownSpeed() const;
    bool isReady() const { return m_ready; }
    void setReady(bool ready) override { m_ready = ready; }
    bool inputLocked() const { return m_inputLock; }
    bool isPlaying() const override;
    bool lastPlayOk() const;
    int currentListPosition() const { return m_walker.position(); }
    // Timer 3, for tests that decide when it fires.
    QTimer& startupTimer() { return m_startupTimer; }
    int categoryIndex() const { return m_categoryIndex; }
    int contextMenuId() const { return m_contextMenuId; }
    QString recordingText() const { return m_recordingText; }
    QString currentFileName() const { return m_currentFileName; }
    const RecordingCatalogue& catalogue() const { return m_catalogue; }
    CXListCtrl* rows() const { return m_rows; }
    int rowCount() const;
    int selectedRow() const;
    // The context menu for the current language (129 or 130), built from the string tables.
    std::unique_ptr<QMenu> createContextMenu() const;

    // The trips view (day strip, whole route, export), made on first use.
    TripView& tripView();
    bool hasTripView() const { return m_tripView != nullptr; }
    // The trips' entries at the end of the video's right-click menu (the strip shown or hidden, the trip's
    // export); adding them leaves the trips view unmade until one is chosen.
    void addTripMenuEntries(QMenu* menu);

    // Runs a command as the buttons, keys and menus do.
    void Command(int id);

    // PlayerControllerHost: what the player shows through the window.
    void showPlayButton(bool play) override;
    void showSoundButtons(bool soundAudible) override;
    void setVolumeSliderEnabled(bool enabled) override;
    void moveVolumeSlider(int level) override;
    void showNightButtons(bool nightOn) override;
    void showZoomButtons(bool zoomOn) override;
    void setSpeedButtonImage(int imageId) override;
    void openSpeedList() override;
    void openRotationList() override;
    void showRecordingLength(int64_t ms) override;
    void videoSizeKnown(int width, int height) override;
    void lockInput() override;
    void playerEmptied() override;
    void showMessage(int stringId) override;
    QString currentRowName() const override;
    int runAdjustmentDialog(PictureAdjustment& adjustment) override;
    void checkWindowGrowth(int sizeClass) override;

    // RecoveryHost: a damaged AVI recording is offered for repair instead of being opened.
    QWidget* recoveryParent() override { return this; }
    void stopPlaybackAndClearDisplays() override;

    // RecordingCommandHost: copy, event backup and delete work on the list and the player through these.
    QWidget* commandParent() override { return this; }
    RecordingCatalogue& catalogue() override { return m_catalogue; }
    std::vector<SelectedRow> selectedRows() override;
    bool hasPlayer() const override { return m_player.hasPlayer(); }
    void togglePause() override;
    void showStopped() override;
    void releaseCurrentRecording() override;
    int currentPosition() const override { return m_walker.position(); }
    void setCurrentPosition(int position) override { m_walker.setPosition(position); }
    void removeRow(int row) override;
    void refreshCaption() override;
    void selectCurrentRow() override;
    void openListRow(int index) override { OpenListRow(index); }

    // PlaybackGraph: the recording's data file in the graph, read by the readouts and the map.
    void markHasData() override;
    bool hasData() const override;
    void reset() override;
    void loadDataFile(const QString& datPath) override;
    void setRecordingLength(int64_t ms) override;
    int sampleCount() const override;
    void showTime(int64_t ms) override;

Q_SIGNALS:
    // The first frame of a recording opened by timer 3 has been painted (or start-up found nothing to play).
    void startupPlaybackSettled(bool framePainted);
    // The video's right-click menu is built and about to show; added commands may add their entries.
    void videoMenuAboutToShow(QMenu* menu);

protected:
    void layoutChanged() override;
    void paintReadouts(QPainter& painter) override;
    void customEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void handleNotification(int code, intptr_t param);
    bool handleKey(int key);
    void handleButton(int id);
    bool transportLocked(int id) const;
    void fillList(std::vector<RecordingEntry> entries);
    void selectRow(int row);
    void moveSelection(int delta);
    RowWalker::Rows walkerRows() const;
    void carryOut(const RowWalker::Plan& plan);
    void endOfList(bool selectLastRow);
    void emptyListReset();
    void showTimeChanged(int64_t ms);
    void setRecordingText(const QString& text);
    void applyOutcome(struct CatalogueOpenOutcome& outcome);
    void modelStep();
    void applyModelLayout();
    void nextCategory();
    void openDrive();
    void chooseFolder();
    void showDropList(int listId, int buttonId);
    void onTimer(int id);
    void watchFirstFrame();
    // Row 0 made ready in the player while timer 3 waits (see PlayerContext::PrepareMedia).
    void prepareStartupRow();

    SettingsStore& settings() const;

    QString m_folderArgument;
    SettingsStore* m_store = nullptr;
    PlayerContext m_player;
    std::unique_ptr<PlayerController> m_controller;
    CDataParser* m_graphView = nullptr;
    SensorReadouts* m_readouts = nullptr;
    MapPanel* m_mapView = nullptr;
    RecordingCatalogue m_catalogue;
    RowWalker m_walker;
    MissingCardNotice m_missingCard;
    CXListCtrl* m_rows = nullptr;

    bool m_ready = true;
    bool m_inputLock = false;
    QElapsedTimer m_lockClock;
    int m_categoryIndex = 0;
    int m_contextMenuId = 129;
    QString m_recordingText;
    QString m_currentFileName;
    QTimer m_startupTimer; // timer 3: row 0 shortly after start-up
    std::unique_ptr<CDropListWnd> m_speedList;
    std::unique_ptr<CDropListWnd> m_mapList;
    std::unique_ptr<CDropListWnd> m_rotationList;
    QTimer m_frameWatch;
    QElapsedTimer m_frameWatchClock;
    bool m_watchingStartup = false;
    bool m_startupRowPrepared = false;
    uint64_t m_framesAtOpen = 0;
    std::unique_ptr<TripView> m_tripView;
};
