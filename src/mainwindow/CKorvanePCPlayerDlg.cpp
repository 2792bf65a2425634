#include "mainwindow/CKorvanePCPlayerDlg.h"

#include "app/NotifyEvent.h"
#include "app/StartupChecks.h"
#include "app/StartupSettings.h"
#include "app/StartupTrace.h"
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "camera/CameraIdentification.h"
#include "camera/CameraSettingsCommand.h"
#include "catalogue/CXListCtrl.h"
#include "catalogue/CatalogueOpenFlow.h"
#include "catalogue/RecordingNames.h"
#include "incident/IncidentNavigator.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/StartupNotices.h"
#include "platform/RemovableVolumes.h"
#include "platform/SettingsStore.h"
#include "playback/CDlgAdjustment.h"
#include "playback/CPlayWnd.h"
#include "playback/MediaLibrary.h"
#include "playback/PlaybackDropLists.h"
#include "playback/PlayerController.h"
#include "repair/RecoveryWorkflow.h"
#include "sdcard/CDlgDisk.h"
#include "sensor/CDataParser.h"
#include "sensor/SensorDataTables.h"
#include "map/MapPanel.h"
#include "skin/CDlgMessage.h"
#include "skin/CDropListWnd.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinModule.h"
#include "trips/TripView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QThread>

using namespace mainwindow;

namespace {

const QString kViewerKey = QString::fromLatin1(SettingsStore::kViewerKey);
constexpr int kFirstFrameTimeoutMs = 15000;

bool isMaplessType(const QString& type)
{
    return type == QLatin1String("KRV-DELTA") || type == QLatin1String("KRV-ECHO_WDR");
}

} // namespace

CKorvanePCPlayerDlg::CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent)
    : CDlgMain(parent)
    , m_folderArgument(folderArgument)
{
    // The title doubles as the name a later instance looks for.
    setWindowTitle(QStringLiteral("Korvane PC Player"));

    const int country = viewerEnvironment().countryCode;
    // The recording list reports double clicks (9), header clicks (10) and sorts (11) to this window.
    m_rows = new CXListCtrl(client(), this, country);
    m_rows->setCatalogue(&m_catalogue);
    setListWidget(m_rows);
    // The graph under the video reports seeks (12).
    m_graphView = new CDataParser(client(), this, country);
    setGraphWidget(m_graphView);
    m_readouts = new SensorReadouts(country, this);
    m_readouts->setWindowBackground(backgroundColour());

    m_controller = std::make_unique<PlayerController>(m_player, *this, this);
    m_controller->setCountryCode(country);
    // The surface draws and steers the controller's magnifier (zoom, region, overview).
    playWnd()->setMagnifier(&m_controller->magnifier());
    // The slider shows the volume the player starts with, so that the first Vol up moves it by one step.
    moveVolumeSlider(m_controller->volume());

    layoutChanged();

    m_startupTimer.setObjectName(QStringLiteral("timer3"));
    m_startupTimer.setSingleShot(true);
    connect(&m_startupTimer, &QTimer::timeout, this, [this] { onTimer(TimerStartup); });
    m_frameWatch.setInterval(15);
    connect(&m_frameWatch, &QTimer::timeout, this, &CKorvanePCPlayerDlg::watchFirstFrame);
    // The first painted frame is noticed when it is painted, not at the next turn of the watch (which is
    // still there for the time-out and for a player that stops).
    connect(playWnd(), &CPlayWnd::framePainted, this, [this] {
        if (m_frameWatch.isActive())
            watchFirstFrame();
    }, Qt::QueuedConnection);

    new IncidentNavigator(this);
    connect(this, &CKorvanePCPlayerDlg::videoMenuAboutToShow, this, &CKorvanePCPlayerDlg::addTripMenuEntries);
    qApp->installEventFilter(this);
}

CKorvanePCPlayerDlg::~CKorvanePCPlayerDlg()
{
    qApp->removeEventFilter(this);
    // The surface receives the player's frames: release the player while the surface still exists.
    m_player.CloseMedia();
}

void CKorvanePCPlayerDlg::InitDialog(const StartupEnvironment& startEnv)
{
    ViewerEnvironment& env = viewerEnvironment();
    SettingsStore& store = startEnv.store ? *startEnv.store : SettingsStore::user();
    m_store = &store;

    // Timer 3 opens row 0 100 ms from here, so the start-up below counts towards its 100 ms instead of coming
    // on top of them. The notices below run event loops of their own: the timer waits for the window (onTimer).
    m_watchingStartup = true;
    m_startupTimer.start(100);

    setWindowIcon(SkinModule::icon(ImageIcon));
    QString type;
    store.ReadRegistryText(kViewerKey, QStringLiteral("Type"), type);
    if (isMaplessType(type))
        MaplessLayout();
    else
        StandardLayout();
    startuptrace::Mark("layout");

    // 1. The capability warning.
    if (startEnv.checkPcCapability)
        startEnv.checkPcCapability();
    else
        CheckPcCapability(this);

    // 2. The card: the folder named on the command line, else the first removable volume with recordings.
    std::unique_ptr<RemovableVolumes> systemVolumes;
    const RemovableVolumes* volumes = startEnv.volumes;
    FixedRemovableVolumes argumentVolume(QStringList { WithTrailingSeparator(m_folderArgument) });
    if (!m_folderArgument.isEmpty()) {
        volumes = &argumentVolume;
    } else if (!volumes) {
        systemVolumes = CreateRemovableVolumes();
        volumes = systemVolumes.get();
    }
    int model = modelIndex();
    CatalogueOpenOutcome outcome
        = OpenCardAtStartup(m_catalogue, *volumes, ListCategory(m_categoryIndex), model, DefaultModelIdentifier());
    setModelIndex(model);
    applyOutcome(outcome);
    startuptrace::Mark("card opened");

    // 3. The camera model from the card's settings file; without one the scan's model stays.
    if (const std::optional<CameraModel> identified = IdentifyCameraModel(m_catalogue.folder())) {
        ShowFirmwareNotice(*identified, m_catalogue.folder(), env.countryCode, this);
        setModelIndex(int(*identified));
        applyModelLayout();
    }

    // 4. The map-less models write their type (each its own, so that the settings command opens the right
    // editor for it once the card is gone) and use the short context menu.
    if (modelIndex() == 4 || modelIndex() == 5) {
        store.WriteRegistryText(kViewerKey, QStringLiteral("Type"), ModelTypeName(modelIndex()));
        m_contextMenuId = MenuMapless;
    } else {
        m_contextMenuId = MenuStandard;
    }

    // 5-11. The administrator notice has no counterpart here (the value is still defaulted); the tier.
    StartupHooks hooks;
    hooks.chooseViewerTier = startEnv.chooseViewerTier
        ? startEnv.chooseViewerTier
        : std::function<int(int)>([this, &store](int tier) { return ChooseViewerTier(tier, store, this); });
    hooks.installLibraryVariant = startEnv.installLibraryVariant
        ? startEnv.installLibraryVariant
        : std::function<void(int)>([](int tier) { InstallLibraryVariant(tier); });
    ApplyStartupSettings(store, env, hooks);
    startuptrace::Mark("settings");
    setRecordingText(m_recordingText);

    // 12. The magnifier exists in the High tier only.
    m_controller->setZoomAllowed(env.viewerTier == int(ViewerTier::High));
    if (startEnv.mapView) {
        m_mapView = new MapPanel;
        setMapWidget(m_mapView);
        connect(m_mapView, &MapPanel::SeekRequested, this, [this](qint64 ms) {
            if (m_ready)
                m_controller->SeekTo(ms);
        });
        connect(m_readouts, &SensorReadouts::mapPositionChanged, m_mapView, &MapPanel::SetPosition);
        m_mapView->NavigateToDefaultPage(env.countryCode);
        // The map's module is loaded once row 0's first frame is on the screen (or start-up found nothing
        // to play): its browser engine never delays that frame.
        connect(this, &CKorvanePCPlayerDlg::startupPlaybackSettled, m_mapView, &MapPanel::LoadModule);
    }
    startuptrace::Mark("map view");
    if (env.viewerTier != int(ViewerTier::High)) {
        button(IdZoomOn)->hide();
        button(IdZoomOff)->hide();
    }

    // 13. The media library and the one player, drawing into the video surface.
    if (startEnv.loadMediaLibrary) {
        const bool loaded = LoadMediaLibrary();
        startuptrace::Mark("media library loaded");
        if (loaded && CreateMediaPlayer(m_player, store)) {
            m_player.setMainWindow(this);
            playWnd()->attachPlayer(m_player);
        }
        startuptrace::Mark("media player created");
        const QString notice = TakeMediaLibraryNotice();
        if (!notice.isEmpty())
            CDlgMessage::ask(0, StringById(kStrPlaybackUnavailable).arg(notice), QString(), this);
    }

    // Raw mouse input needs no registration here: the window gets every mouse event it needs from Qt.
}

// ---------------------------------------------------------------------------------------------------------
// The list

SettingsStore& CKorvanePCPlayerDlg::settings() const
{
    return m_store ? *m_store : SettingsStore::user();
}

int CKorvanePCPlayerDlg::rowCount() const
{
    return m_rows->rowCount();
}

int CKorvanePCPlayerDlg::selectedRow() const
{
    const std::vector<int> rows = m_rows->selectedRows();
    return rows.empty() ? -1 : rows.front();
}

RowWalker::Rows CKorvanePCPlayerDlg::walkerRows() const
{
    return { [this] { return rowCount(); },
        [this](int row, int column) { return recordinglist::columnText(m_rows->entryAt(row), column); } };
}

void CKorvanePCPlayerDlg::fillList(std::vector<RecordingEntry> entries)
{
    m_rows->fill(std::move(entries));
    m_rows->fitColumnsToScrollBar();
    setListEmpty(rowCount() == 0);
}

void CKorvanePCPlayerDlg::selectRow(int row)
{
    if (row >= 0 && row < rowCount())
        m_rows->selectOnly(row);
}

void CKorvanePCPlayerDlg::moveSelection(int delta)
{
    if (delta < 0)
        m_rows->selectPrevious();
    else
        m_rows->selectNext();
}

// ---------------------------------------------------------------------------------------------------------
// Opening rows

void CKorvanePCPlayerDlg::OpenListRow(int index)
{
    carryOut(m_walker.open(index, walkerRows()));
}

void CKorvanePCPlayerDlg::Previous()
{
    carryOut(m_walker.previous(walkerRows(), isPlaying()));
}

void CKorvanePCPlayerDlg::Next()
{
    carryOut(m_walker.next(walkerRows()));
}

void CKorvanePCPlayerDlg::carryOut(const RowWalker::Plan& plan)
{
    using Action = RowWalker::Plan::Action;
    switch (plan.action) {
    case Action::Nothing:
        return;
    case Action::EmptyReset:
        emptyListReset();
        return;
    case Action::EndOfList:
        endOfList(plan.selectLastRow);
        return;
    case Action::Open:
        break;
    }
    if (!plan.captionText.isEmpty())
        setRecordingText(plan.captionText);
    m_currentFileName = MakeRecordingFileName(plan.kindLabel, plan.baseName, m_catalogue.videoExtension());
    const QString path = m_catalogue.folder() + m_currentFileName;
    // A damaged AVI recording goes to the recovery and is not opened. A file that is not there (the card
    // was pulled) is no damaged recording: the player reports it.
    if (!m_catalogue.isMp4() && QFileInfo::exists(path) && !IsIntactAvi(path)) {
        OfferRecovery(path, *this);
        return;
    }
    const bool folderAvailable = PlayerController::RecordingFolderAvailable(path);
    m_controller->PlayRecording(path);
    selectRow(plan.index);
    // Nothing opened because the card (or the folder) has gone: say so rather than stay silent, but only
    // once until a recording's folder is found again.
    if (m_missingCard.opened(folderAvailable))
        showMessage(MissingCardNotice::kStringId);
}

void CKorvanePCPlayerDlg::endOfList(bool selectLastRow)
{
    m_controller->Stop();
    setRecordingText(QString());
    reset();
    ShowCurrentTime(0);
    ShowLength(0);
    playWnd()->update();
    if (selectLastRow)
        selectRow(rowCount() - 1);
}

void CKorvanePCPlayerDlg::emptyListReset()
{
    setRecordingText(QString());
    reset();
    ShowCurrentTime(0);
    ShowLength(0);
    m_controller->StopGraphTimer();
    m_rows->clearRows();
    setListEmpty(true);
    showPlayButton(false);
    m_controller->Stop();
}

bool CKorvanePCPlayerDlg::isPlaying() const
{
    return m_controller->isPlaying();
}

bool CKorvanePCPlayerDlg::lastPlayOk() const
{
    return m_controller->lastPlayOk();
}

// ---------------------------------------------------------------------------------------------------------
// What the player shows through the window

void CKorvanePCPlayerDlg::showPlayButton(bool play)
{
    button(IdPlay)->setVisible(play);
    button(IdPause)->setVisible(!play);
}

void CKorvanePCPlayerDlg::showSoundButtons(bool soundAudible)
{
    button(IdVolOff)->setVisible(soundAudible);
    button(IdVolOn)->setVisible(!soundAudible);
}

void CKorvanePCPlayerDlg::setVolumeSliderEnabled(bool enabled)
{
    volumeSlider()->setSliderEnabled(enabled);
    volumeSlider()->update();
}

void CKorvanePCPlayerDlg::moveVolumeSlider(int level)
{
    volumeSlider()->setPosition(level);
    volumeSlider()->update();
}

void CKorvanePCPlayerDlg::showNightButtons(bool nightOn)
{
    button(IdNightOff)->setVisible(nightOn);
    button(IdNightOn)->setVisible(!nightOn);
}

void CKorvanePCPlayerDlg::showZoomButtons(bool zoomOn)
{
    if (!m_controller->zoomAllowed())
        return;
    button(IdZoomOff)->setVisible(zoomOn);
    button(IdZoomOn)->setVisible(!zoomOn);
}

void CKorvanePCPlayerDlg::setSpeedButtonImage(int imageId)
{
    button(IdSpeed)->changeOverlay(imageId);
}

void CKorvanePCPlayerDlg::openSpeedList()
{
    showDropList(DropSpeed, IdSpeed);
}

void CKorvanePCPlayerDlg::openRotationList()
{
    showDropList(DropRotation, IdRotate);
}

void CKorvanePCPlayerDlg::showRecordingLength(int64_t ms)
{
    ShowLength(ms > 0 ? ms : 0);
}

void CKorvanePCPlayerDlg::videoSizeKnown(int width, int height)
{
    playWnd()->setVideoSize(width, height);
    SetVideoSize(width, height, true);
    m_framesAtOpen = playWnd()->framesPainted();
    ShowCurrentTime(0);
}

void CKorvanePCPlayerDlg::playerEmptied()
{
    // No last picture of a recording that is no longer open (end of the list, an empty folder or list, a
    // deleted recording, a failed open), and the minimum size of a window without a recording.
    playWnd()->clearPicture();
    RecordingClosed();
}

void CKorvanePCPlayerDlg::checkWindowGrowth(int sizeClass)
{
    if (FitsWindowAfterOpen(sizeClass, currentLayout().video.size(), m_controller->videoWidth(), m_controller->videoHeight()))
        SizeMode(1);
}

void CKorvanePCPlayerDlg::lockInput()
{
    m_inputLock = true;
    m_lockClock.start();
}

void CKorvanePCPlayerDlg::showMessage(int stringId)
{
    CDlgMessage::ask(CDlgMessage::StyleOk, stringId, this);
}

QString CKorvanePCPlayerDlg::currentRowName() const
{
    const int row = m_walker.position();
    return row >= 0 && row < rowCount() ? m_rows->entryAt(row).baseName : QString();
}

int CKorvanePCPlayerDlg::runAdjustmentDialog(PictureAdjustment& adjustment)
{
    CDlgAdjustment dialog(adjustment, viewerEnvironment().countryCode, this);
    return dialog.exec();
}

void CKorvanePCPlayerDlg::stopPlaybackAndClearDisplays()
{
    m_controller->Stop();
    setRecordingText(QString());
    reset();
    ShowCurrentTime(0);
    ShowLength(0);
}

std::vector<SelectedRow> CKorvanePCPlayerDlg::selectedRows()
{
    std::vector<SelectedRow> rows;
    for (int row : m_rows->selectedRows()) {
        const RecordingEntry& e = m_rows->entryAt(row);
        rows.push_back({ row, e.kindLabel, e.baseName });
    }
    return rows;
}

void CKorvanePCPlayerDlg::togglePause()
{
    if (m_controller->isPlaying())
        m_controller->Pause();
    else
        m_controller->Play();
}

void CKorvanePCPlayerDlg::showStopped()
{
    if (m_controller->isPlaying())
        m_controller->Pause();
    showPlayButton(true);
}

void CKorvanePCPlayerDlg::releaseCurrentRecording()
{
    m_controller->Stop();
}

void CKorvanePCPlayerDlg::removeRow(int row)
{
    m_rows->removeRowAt(row);
    setListEmpty(rowCount() == 0);
}

void CKorvanePCPlayerDlg::refreshCaption()
{
    const int row = m_walker.position();
    if (row < 0 || row >= rowCount()) {
        setRecordingText(QString());
        return;
    }
    setRecordingText(m_rows->entryAt(row).baseName + QStringLiteral("(%1/%2)").arg(row + 1).arg(rowCount()));
}

void CKorvanePCPlayerDlg::selectCurrentRow()
{
    selectRow(m_walker.position());
}

QString CKorvanePCPlayerDlg::shownSpeed() const
{
    return m_readouts->speed().text();
}

void CKorvanePCPlayerDlg::markHasData()
{
    m_graphView->setHasData(true);
}

bool CKorvanePCPlayerDlg::hasData() const
{
    return m_graphView->hasData();
}

int CKorvanePCPlayerDlg::sampleCount() const
{
    return m_graphView->tables().sensorCount();
}

void CKorvanePCPlayerDlg::reset()
{
    m_graphView->reset();
    client()->update(m_readouts->resetSpeed());
    client()->update(m_readouts->showAxisValues(m_graphView->tables(), 0, m_controller->graphTimerPeriod()));
    if (m_mapView)
        m_mapView->SetTrack({});
}

void CKorvanePCPlayerDlg::loadDataFile(const QString& datPath)
{
    const SensorDataTables::LoadResult result = m_graphView->loadDataFile(datPath);
    m_graphView->setHasData(true);
    client()->update(m_readouts->resetSpeed());
    // The three-axis readout starts the new recording at its time 0; timer 4 moves it on from there.
    client()->update(m_readouts->showAxisValues(m_graphView->tables(), 0, m_controller->graphTimerPeriod()));
    if (result == SensorDataTables::LoadResult::Damaged)
        showMessage(278);
    // The whole drive goes to the map once per recording; the position follows the playback time.
    QList<mappages::TrackPoint> track;
    const SensorDataTables& tables = m_graphView->tables();
    if (modelIndex() != 4 && modelIndex() != 5) {
        for (int second = 0; second < tables.gpsCount(); ++second) {
            const sidecar::GpsSample sample = tables.gpsSample(qint64(second) * 1000);
            if (sample.valid)
                track.append({ qint64(second) * 1000, QString::asprintf("%lf", sample.longitude),
                    QString::asprintf("%lf", sample.latitude) });
        }
    }
    if (m_mapView)
        m_mapView->SetTrack(track);
}

void CKorvanePCPlayerDlg::setRecordingLength(int64_t ms)
{
    m_graphView->setDuration(int(ms));
}

void CKorvanePCPlayerDlg::showTime(int64_t ms)
{
    // Timer 4 (Japan): the graph and the three-axis readout follow the samples, at the period timer 4 runs
    // at (the recording's length spread over its samples).
    m_graphView->setPosition(int(ms));
    client()->update(m_readouts->showAxisValues(m_graphView->tables(), double(ms), m_controller->graphTimerPeriod()));
}

void CKorvanePCPlayerDlg::showTimeChanged(int64_t ms)
{
    ShowCurrentTime(ms);
    m_graphView->setPosition(int(ms));
    // The map-less models record no position.
    if (modelIndex() == 4 || modelIndex() == 5)
        return;
    client()->update(m_readouts->updateSpeed(m_graphView->tables(), ms));
}

void CKorvanePCPlayerDlg::layoutChanged()
{
    if (!m_readouts)
        return;
    m_readouts->place(currentLayout().video);
    m_readouts->setSpeedPanelShown(modelIndex() != 4);
    // The layout runs before the window is first shown, when no child counts as visible yet: what matters is
    // whether the map column was hidden on purpose.
    m_readouts->setUnitLabelsShown(!mapWidget()->isHidden());
}

void CKorvanePCPlayerDlg::paintReadouts(QPainter& painter)
{
    if (m_readouts)
        m_readouts->paint(painter, client()->rect());
}

void CKorvanePCPlayerDlg::setRecordingText(const QString& text)
{
    m_recordingText = text;
    setTitle(text);
    // The caption bar shows the recording; the system's title stays the name a later instance looks for.
    setWindowTitle(QStringLiteral("Korvane PC Player"));
}

void CKorvanePCPlayerDlg::applyOutcome(CatalogueOpenOutcome& outcome)
{
    if (outcome.setCategoryAll)
        m_categoryIndex = 0;
    // The header shows the category in force, also when the folder held nothing and the list empties.
    if (outcome.showAllHeaderPicture)
        m_rows->setCategoryPicture(ListCategory(m_categoryIndex));
    if (outcome.clearListCaptionAndStop) {
        emptyListReset();
        return;
    }
    if (outcome.fillList)
        fillList(std::move(outcome.entries));
    if (outcome.sortByBaseNameAscending) {
        m_rows->setAscending(true);
        m_rows->sortRows(recordinglist::kBaseNameColumn, true);
    }
    if (outcome.openFirstRow)
        OpenListRow(0);
}

void CKorvanePCPlayerDlg::applyModelLayout()
{
    if (modelIndex() == 4 || modelIndex() == 5)
        MaplessLayout();
    else
        StandardLayout();
}

void CKorvanePCPlayerDlg::modelStep()
{
    if (modelIndex() == 4 || modelIndex() == 5) {
        settings().WriteRegistryText(kViewerKey, QStringLiteral("Type"), ModelTypeName(modelIndex()));
        m_contextMenuId = MenuMapless;
    } else {
        m_contextMenuId = MenuStandard;
    }
    applyModelLayout();
    update();
}

void CKorvanePCPlayerDlg::OpenFolder(const QString& folder)
{
    int model = modelIndex();
    CatalogueOpenOutcome outcome = OpenCatalogueFolder(m_catalogue, folder, model, DefaultModelIdentifier());
    setModelIndex(model);
    if (outcome.switchMagnificationOff)
        m_controller->MagnifierOff();
    applyOutcome(outcome);
    if (outcome.opened)
        m_controller->NightOff();
    const std::optional<CameraModel> identified = IdentifyCameraModel(m_catalogue.folder());
    setModelIndex(identified ? int(*identified) : 0);
    modelStep();
}

void CKorvanePCPlayerDlg::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, StringById(272), m_catalogue.folder());
    if (!folder.isEmpty())
        OpenFolder(folder);
}

void CKorvanePCPlayerDlg::openDrive()
{
    CDlgDisk dialog(this);
    dialog.setUp([this] { emptyListReset(); }, m_catalogue.folder(), viewerEnvironment().countryCode);
    if (dialog.exec() == CDlgDisk::Chosen) {
        OpenFolder(dialog.chosenRoot());
        return;
    }
    const std::optional<CameraModel> identified = IdentifyCameraModel(m_catalogue.folder());
    setModelIndex(identified ? int(*identified) : 0);
    modelStep();
}

void CKorvanePCPlayerDlg::nextCategory()
{
    const ListCategory category = recordinglist::nextCategory(ListCategory(m_categoryIndex));
    m_categoryIndex = int(category);
    m_rows->setCategoryPicture(category);
    client()->update(m_readouts->resetSpeed());
    fillList(m_catalogue.BuildCategoryEntries(category, RecordingCatalogue::MarkerDates::WhenShown));
    m_rows->setAscending(true);
    m_rows->sortRows(recordinglist::kBaseNameColumn, true);
    OpenListRow(0);
}

// ---------------------------------------------------------------------------------------------------------
// Commands

bool CKorvanePCPlayerDlg::transportLocked(int id) const
{
    if (!m_inputLock)
        return false;
    return (id >= IdPrev && id <= IdSpeed) || (id >= IdVolOn && id <= IdNightOn) || id == IdVolOff
        || id == IdZoomOff || id == IdZoomOn;
}

void CKorvanePCPlayerDlg::Command(int id)
{
    PlayerController& c = *m_controller;
    switch (id) {
    case CmdSelectFolder:
        chooseFolder();
        return;
    case CmdSelectDrive:
        openDrive();
        return;
    case CmdPlayPause:
        c.PlayPause();
        return;
    case CmdBackward:
        c.Backward();
        return;
    case CmdForward:
        c.Forward();
        return;
    case CmdPrevious:
        Previous();
        return;
    case CmdNext:
        Next();
        return;
    case CmdVolumeUp:
        c.VolumeUp();
        return;
    case CmdVolumeDown:
        c.VolumeDown();
        return;
    case CmdMute:
        c.ToggleMute();
        return;
    case CmdMapGoogle:
    case CmdMapDaum:
    case CmdMapNaver:
        if (!m_mapView)
            return;
        if (const std::optional<int> picture = m_mapView->ChooseProvider(id)) {
            if (CSkinButton* b = button(IdDropMap))
                b->setImage(*picture);
        }
        return;
    case CmdSettings: {
        CameraSettingsContext context;
        context.cardRoot = m_catalogue.folder();
        context.countryCode = viewerEnvironment().countryCode;
        context.store = &settings();
        context.parent = this;
        context.applyModelLayout = [this](CameraModel model) {
            setModelIndex(int(model));
            applyModelLayout();
        };
        OpenCameraSettings(context);
        return;
    }
    case CmdExit:
        done(1);
        return;
    case CmdSaveEvents:
        SaveAllEventFiles(*this);
        return;
    case CmdTripTimeline:
        tripView().Toggle();
        return;
    default:
        return;
    }
}

void CKorvanePCPlayerDlg::handleButton(int id)
{
    if (transportLocked(id))
        return;
    PlayerController& c = *m_controller;
    switch (id) {
    case IdPrev:
        Previous();
        return;
    case IdNext:
        Next();
        return;
    case IdBackward:
        c.Backward();
        return;
    case IdForward:
        c.Forward();
        return;
    case IdPlay:
        c.Play();
        return;
    case IdPause:
        c.Pause();
        return;
    case IdVolOff:
        c.Mute();
        return;
    case IdVolOn:
        c.SoundOn();
        return;
    case IdSpeed:
        c.SpeedMenu();
        return;
    case IdRotate:
        c.RotateMenu();
        return;
    case IdBright:
        c.AdjustPicture();
        return;
    case IdNightOn:
        c.NightOn();
        return;
    case IdNightOff:
        c.NightOff();
        return;
    case IdCapture:
        c.Capture();
        return;
    case IdZoomOn:
    case IdZoomOff:
        c.ZoomToggle();
        return;
    case IdDropMap:
        if (viewerEnvironment().countryCode == kCountryKorea)
            showDropList(DropMapProvider, IdDropMap);
        return;
    case IdListOn:
        ListOn();
        c.RequestGaugeResync();
        return;
    case IdListOff:
        ListOff();
        c.RequestGaugeResync();
        return;
    case IdMapOn:
        MapOn();
        return;
    case IdMapOff:
        MapOff();
        return;
    case IdDrive:
        Command(CmdSelectDrive);
        return;
    case IdFolder:
        Command(CmdSelectFolder);
        return;
    case IdOption:
        Command(CmdSettings);
        return;
    case IdCopy:
        CopySelectedRecordings(*this);
        return;
    case IdEvent:
        SaveAllEventFiles(*this);
        return;
    case IdDelete:
        DeleteSelectedRecordings(*this);
        return;
    default:
        return;
    }
}

void CKorvanePCPlayerDlg::showDropList(int listId, int buttonId)
{
    std::unique_ptr<CDropListWnd>* slot = listId == DropSpeed ? &m_speedList
        : listId == DropRotation                             ? &m_rotationList
                                                             : &m_mapList;
    if (!*slot) {
        std::vector<int> images;
        int mode = CDropListWnd::OwnStrips;
        int background = 0;
        if (listId == DropSpeed) {
            images = { 3140, 3141, 3142, 3143, 3144 };
            mode = CDropListWnd::OverBackground;
            background = 3148;
        } else if (listId == DropRotation) {
            images = { 3149, 3150, 3151 };
        } else {
            images = { 3146, 3145, 3147 };
        }
        const QSize strip = SkinModule::size(background ? background : images.front());
        const QSize item(strip.width() / 3, strip.height());
        const int count = int(images.size());
        *slot = std::make_unique<CDropListWnd>(this, listId, mode, item.width(), count * (item.height() + 1) + 1,
            background);
        for (int image : images)
            (*slot)->addItem(image);
        (*slot)->resize(item.width(), count * (item.height() + 1) + 1);
    }
    CSkinButton* b = button(buttonId);
    if (listId == DropMapProvider) {
        // The provider list opens under its button, at the top of the map.
        (*slot)->showAt(b->mapToGlobal(QPoint(0, b->height())));
        return;
    }
    OpenDropListAbove(**slot, *b);
}

std::unique_ptr<QMenu> CKorvanePCPlayerDlg::createContextMenu() const
{
    // The menu texts are string ids 12900 + 10 n: entry n of menu 129, in order.
    auto menu = std::make_unique<QMenu>();
    auto add = [](QMenu* m, int stringId, int command) {
        QAction* a = m->addAction(StringById(stringId));
        a->setData(command);
    };
    add(menu.get(), 12900, CmdSelectFolder);
    add(menu.get(), 12910, CmdSelectDrive);
    menu->addSeparator();
    QMenu* play = menu->addMenu(StringById(12920));
    add(play, 12930, CmdPlayPause);
    play->addSeparator();
    add(play, 12940, CmdBackward);
    add(play, 12950, CmdForward);
    play->addSeparator();
    add(play, 12960, CmdPrevious);
    add(play, 12970, CmdNext);
    QMenu* sound = menu->addMenu(StringById(12980));
    add(sound, 12990, CmdVolumeUp);
    add(sound, 13000, CmdVolumeDown);
    add(sound, 13010, CmdMute);
    menu->addSeparator();
    add(menu.get(), 13020, CmdSaveEvents);
    // Only the Korean standard menu chooses the map provider.
    const bool korean = StringTableForLanguages(QLocale::system().uiLanguages()) == QLatin1String("ko");
    if (m_contextMenuId == MenuStandard && korean) {
        QMenu* map = menu->addMenu(StringById(13030));
        add(map, 13040, CmdMapGoogle);
        add(map, 13050, CmdMapDaum);
        add(map, 13060, CmdMapNaver);
    }
    add(menu.get(), 13070, CmdSettings);
    add(menu.get(), 13080, CmdExit);
    return menu;
}

// ---------------------------------------------------------------------------------------------------------
// Notifications, timers, keys and mouse

void CKorvanePCPlayerDlg::customEvent(QEvent* event)
{
    if (event->type() != NotifyEvent::eventType()) {
        CDlgMain::customEvent(event);
        return;
    }
    const auto* n = static_cast<NotifyEvent*>(event);
    // During a repair nothing is handled.
    if (m_ready)
        handleNotification(n->code(), n->param());
}

void CKorvanePCPlayerDlg::handleNotification(int code, intptr_t param)
{
    switch (code) {
    case NotifyEvent::SkinButton:
        handleButton(int(param));
        return;
    case NotifyEvent::SkinRadioButton: {
        const bool mph = param == IdUnitMph;
        for (CSkinRadioButton* r : findChildren<CSkinRadioButton*>()) {
            if (r->controlId() == IdUnitKmh)
                r->setChecked(!mph);
            else if (r->controlId() == IdUnitMph)
                r->setChecked(mph);
        }
        client()->update(m_readouts->selectUnit(int(param)));
        Relayout();
        return;
    }
    case NotifyEvent::DropDownSelection: {
        const auto* record = reinterpret_cast<const CDropListWnd::Record*>(param);
        if (!record || record->item < 1)
            return;
        if (record->menuId == DropSpeed) {
            m_controller->SetRate(record->item);
        } else if (record->menuId == DropRotation) {
            m_controller->RotateEntry(record->item);
        } else if (record->menuId == DropMapProvider && viewerEnvironment().countryCode == kCountryKorea) {
            const int commands[3] = { CmdMapGoogle, CmdMapDaum, CmdMapNaver };
            if (record->item <= 3)
                Command(commands[record->item - 1]);
        }
        return;
    }
    case NotifyEvent::VolumeSlider:
        m_controller->SetVolume(int(param));
        return;
    case NotifyEvent::EndOfMedia:
        Next();
        return;
    case NotifyEvent::TimeChanged:
        showTimeChanged(param);
        return;
    case NotifyEvent::ListDoubleClick:
        OpenListRow(int(param));
        return;
    case NotifyEvent::ListHeaderClick:
        nextCategory();
        return;
    case NotifyEvent::ListResorted: {
        int position = m_walker.position();
        const QString caption = m_rows->locateCurrentRecording(m_currentFileName, position);
        m_walker.setPosition(position);
        if (!caption.isEmpty() && !m_recordingText.isEmpty())
            setRecordingText(caption);
        return;
    }
    case NotifyEvent::GraphSeek:
        m_controller->SeekTo(param);
        return;
    default:
        return;
    }
}

void CKorvanePCPlayerDlg::onTimer(int id)
{
    if (id != TimerStartup)
        return;
    m_startupTimer.stop();
    // Row 0 opens in the shown window, never behind a start-up notice.
    if (!isVisible()) {
        m_startupTimer.start(10);
        return;
    }
    startuptrace::Mark("timer 3");
    OpenListRow(0);
    startuptrace::Mark("row 0 playing");
    if (!m_watchingStartup)
        return;
    if (isPlaying()) {
        m_frameWatchClock.start();
        m_frameWatch.start();
    } else {
        m_watchingStartup = false;
        Q_EMIT startupPlaybackSettled(false);
    }
}

void CKorvanePCPlayerDlg::showEvent(QShowEvent* event)
{
    CDlgMain::showEvent(event);
    // Row 0 is prepared once the window is shown: the video surface has then set up how its frames reach
    // the screen (the frame memory is chosen with the first frame's format) and its final size.
    if (m_startupTimer.isActive() && !m_startupRowPrepared) {
        m_startupRowPrepared = true;
        prepareStartupRow();
    }
}

void CKorvanePCPlayerDlg::prepareStartupRow()
{
    // Timer 3 waits its 100 ms, and opening, decoding and converting the first picture take about as long
    // again: both happen together, and timer 3 only starts what is ready. What timer 3 opens is decided
    // then as always; a prepared recording that is not that one is released.
    if (!m_player.hasPlayer() || m_player.isOpen())
        return;
    RowWalker probe = m_walker;
    const RowWalker::Plan plan = probe.open(0, walkerRows());
    if (plan.action != RowWalker::Plan::Action::Open)
        return;
    const QString path
        = m_catalogue.folder() + MakeRecordingFileName(plan.kindLabel, plan.baseName, m_catalogue.videoExtension());
    // A damaged recording goes to the recovery at timer 3, and a missing one is reported then.
    if (!PlayerController::RecordingFolderAvailable(path) || !QFileInfo(path).isFile())
        return;
    if (!m_catalogue.isMp4() && !IsIntactAvi(path))
        return;
    const bool mp4 = m_catalogue.isMp4();
    int width = 0;
    int height = 0;
    if (PlayerContext::ProbeVideoSize(path, mp4, width, height))
        playWnd()->setVideoSize(width, height);
    startuptrace::Mark("row 0 preparing");
    m_player.PrepareMedia(path);
}

void CKorvanePCPlayerDlg::watchFirstFrame()
{
    const bool painted = playWnd()->framesPainted() > m_framesAtOpen;
    if (painted || m_frameWatchClock.elapsed() > kFirstFrameTimeoutMs || !isPlaying()) {
        m_frameWatch.stop();
        m_watchingStartup = false;
        Q_EMIT startupPlaybackSettled(painted);
    }
}

bool CKorvanePCPlayerDlg::handleKey(int key)
{
    const bool locked = m_inputLock;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const std::optional<int> row = m_rows->rowToOpen())
            OpenListRow(*row);
        return true;
    case Qt::Key_Space:
        if (!locked && m_player.isOpen())
            m_controller->PlayPause();
        return true;
    case Qt::Key_PageUp:
        if (!locked)
            Previous();
        return true;
    case Qt::Key_PageDown:
        if (!locked)
            Next();
        return true;
    case Qt::Key_Left:
        if (!locked)
            m_controller->Backward();
        return true;
    case Qt::Key_Right:
        if (!locked)
            m_controller->Forward();
        return true;
    case Qt::Key_Up:
        moveSelection(-1);
        return true;
    case Qt::Key_Down:
        moveSelection(1);
        return true;
    case Qt::Key_Delete:
        DeleteSelectedRecordings(*this);
        return true;
    case Qt::Key_T:
        Command(CmdTripTimeline);
        return true;
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
        SizeMode(key - Qt::Key_0);
        m_controller->RequestGaugeResync();
        return true;
    default:
        return false;
    }
}

bool CKorvanePCPlayerDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return CDlgMain::eventFilter(watched, event);

    // The lock after an open ends with the first event seen 200 ms later.
    if (m_inputLock && m_lockClock.elapsed() > kInputLockMs)
        m_inputLock = false;

    switch (event->type()) {
    case QEvent::KeyPress: {
        if (!m_ready)
            return true;
        return handleKey(static_cast<QKeyEvent*>(event)->key());
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (widget == this)
            break; // the frame's own caption and edges
        if (mouse->button() == Qt::MiddleButton && isActiveWindow()) {
            if (listHidden())
                ListOn(false);
            else
                ListOff(false);
            return true;
        }
        // The trips strip over the video has a menu of its own.
        if (mouse->button() == Qt::RightButton && m_tripView && m_tripView->IsStrip(widget))
            break;
        if (mouse->button() == Qt::RightButton && m_ready && lastPlayOk()) {
            const QPoint global = mouse->globalPosition().toPoint();
            const QRect video(playWnd()->mapToGlobal(QPoint(0, 0)), playWnd()->size());
            if (!video.contains(global))
                return false;
            std::unique_ptr<QMenu> menu = createContextMenu();
            Q_EMIT videoMenuAboutToShow(menu.get());
            if (QAction* chosen = menu->exec(global))
                Command(chosen->data().toInt());
            return true;
        }
        break;
    }
    default:
        break;
    }
    return CDlgMain::eventFilter(watched, event);
}

void CKorvanePCPlayerDlg::closeEvent(QCloseEvent* event)
{
    m_startupTimer.stop();
    m_frameWatch.stop();
    m_player.StopMedia();
    CDlgMain::closeEvent(event);
}

void CKorvanePCPlayerDlg::addTripMenuEntries(QMenu* menu)
{
    // The entries carry no command id: the menu runs the chosen entry's id as well, and 0 runs nothing.
    menu->addSeparator();
    QAction* shown = menu->addAction(StringById(TripView::kStrMenuTimeline), this, [this] { Command(CmdTripTimeline); });
    shown->setCheckable(true);
    shown->setChecked(m_tripView && m_tripView->IsShown());
    shown->setShortcut(QKeySequence(Qt::Key_T));
    menu->addAction(StringById(TripView::kStrExportGpx), this, [this] { tripView().ExportCurrentTrip(true); });
    menu->addAction(StringById(TripView::kStrExportKml), this, [this] { tripView().ExportCurrentTrip(false); });
}

TripView& CKorvanePCPlayerDlg::tripView()
{
    if (m_tripView)
        return *m_tripView;
    TripViewHooks hooks;
    hooks.catalogue = [this]() -> const RecordingCatalogue& { return m_catalogue; };
    hooks.currentVideoPath = [this] {
        return m_player.isOpen() && !m_currentFileName.isEmpty() ? m_catalogue.folder() + m_currentFileName : QString();
    };
    hooks.currentTimeMs = [this] { return m_player.currentTime(); };
    hooks.openRecording = [this](const QString& path) {
        for (int row = 0; row < rowCount(); ++row) {
            const RecordingEntry& e = m_rows->entryAt(row);
            if (!e.spanMarker && m_catalogue.videoPath(e.kindLabel, e.baseName) == path) {
                OpenListRow(row);
                return true;
            }
        }
        return false;
    };
    hooks.seek = [this](int64_t ms) { return m_ready && m_player.SeekTo(ms); };
    hooks.message = [this](int stringId) { showMessage(stringId); };
    TripGrouping::Options options;
    int32_t gapSeconds = 0;
    if (settings().ReadRegistryNumber(kViewerKey, QStringLiteral("TripGapSeconds"), gapSeconds) && gapSeconds >= 0)
        options.maxGapMs = int64_t(gapSeconds) * 1000;
    m_tripView = std::make_unique<TripView>(client(), playWnd(), m_mapView, std::move(hooks), options);
    // The trips count impacts at the threshold the video menu sets.
    if (auto* navigator = findChild<IncidentNavigator*>()) {
        m_tripView->SetImpactThresholdG(navigator->thresholdG());
        connect(navigator, &IncidentNavigator::thresholdChanged, m_tripView.get(), &TripView::SetImpactThresholdG);
    }
    return *m_tripView;
}
