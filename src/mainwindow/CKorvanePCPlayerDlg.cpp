#include "mainwindow/CKorvanePCPlayerDlg.h"

#include "app/NotifyEvent.h"
#include "app/StartupChecks.h"
#include "app/StartupSettings.h"
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "camera/CameraIdentification.h"
#include "catalogue/CatalogueOpenFlow.h"
#include "catalogue/RecordingNames.h"
#include "mainwindow/MainWindowIds.h"
#include "platform/RemovableVolumes.h"
#include "platform/SettingsStore.h"
#include "playback/CPlayWnd.h"
#include "playback/MediaLibrary.h"
#include "skin/CDlgMessage.h"
#include "skin/CDropListWnd.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QThread>
#include <QTreeWidget>

using namespace mainwindow;

namespace {

const QString kViewerKey = QString::fromLatin1(SettingsStore::kViewerKey);
constexpr float kRates[5] = { 0.4f, 0.6f, 0.8f, 1.0f, 2.0f };
constexpr int kFirstFrameTimeoutMs = 15000;

bool isMaplessType(const QString& type)
{
    return type == QLatin1String("KRV-DELTA") || type == QLatin1String("KRV-ECHO_WDR");
}

void defaultCapabilityCheck(QWidget* parent)
{
    if (!NeedsCapabilityWarning(SystemProcessorCount(), SystemMemoryBytes()))
        return;
    QMessageBox::warning(
        parent, QStringLiteral("Korvane PC Player"), CapabilityWarningText(viewerEnvironment().countryCode));
}

// The tier chooser: the radio buttons set the tier at once, the check box writes ViewerSettingInit at once.
int defaultChooseViewerTier(int currentTier, SettingsStore& store, QWidget* parent)
{
    int tier = currentTier;
    CDlgMessage box(CDlgMessage::StyleViewerChooser, ViewerChooserText(), QString(), parent);
    box.setCheckText(ViewerChooserCheckText());
    const int radios[3] = { CDlgMessage::RadioHigh, CDlgMessage::RadioMid, CDlgMessage::RadioLow };
    for (int i = 0; i < 3; ++i) {
        if (CSkinRadioButton* r = box.radio(radios[i]))
            r->setChecked(i == tier);
    }
    QObject::connect(&box, &CDlgMessage::radioClicked, &box, [&](int id) {
        for (int i = 0; i < 3; ++i) {
            if (radios[i] == id)
                tier = i;
            else if (CSkinRadioButton* r = box.radio(radios[i]))
                r->setChecked(false);
        }
    });
    QObject::connect(&box, &CDlgMessage::checkToggled, &box, [&store](bool checked) {
        store.WriteRegistryNumber(kViewerKey, QStringLiteral("ViewerSettingInit"), checked ? 1 : 0);
    });
    box.exec();
    return tier;
}

} // namespace

CKorvanePCPlayerDlg::CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent)
    : CDlgMain(parent)
    , m_folderArgument(folderArgument)
{
    // The title doubles as the name a later instance looks for.
    setWindowTitle(QStringLiteral("Korvane PC Player"));

    // The recording list: kind, base name, date. The category column's header cycles the category.
    m_rows = new QTreeWidget;
    m_rows->setColumnCount(3);
    m_rows->setHeaderLabels({ QStringLiteral("Type"), QStringLiteral("File"), QStringLiteral("Date") });
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    m_rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_rows->setColumnWidth(0, 60);
    m_rows->setColumnWidth(1, 130);
    m_rows->header()->setSectionsClickable(true);
    connect(m_rows->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == 0) {
            NotifyEvent::post(this, NotifyEvent::ListHeaderClick, 0);
            return;
        }
        const bool ascending = m_rows->header()->sortIndicatorOrder() != Qt::AscendingOrder
            || m_rows->header()->sortIndicatorSection() != section;
        m_rows->header()->setSortIndicator(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        m_rows->sortItems(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        NotifyEvent::post(this, NotifyEvent::ListResorted, 0);
    });
    connect(m_rows, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        NotifyEvent::post(this, NotifyEvent::ListDoubleClick, m_rows->indexOfTopLevelItem(item));
    });
    setListWidget(m_rows);

    for (int id = 0; id < int(m_timers.size()); ++id) {
        m_timers[size_t(id)].setObjectName(QStringLiteral("timer%1").arg(id));
        m_timers[size_t(id)].setSingleShot(id != TimerGraph);
        connect(&m_timers[size_t(id)], &QTimer::timeout, this, [this, id] { onTimer(id); });
    }
    m_frameWatch.setInterval(15);
    connect(&m_frameWatch, &QTimer::timeout, this, &CKorvanePCPlayerDlg::watchFirstFrame);

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

    setWindowIcon(SkinModule::icon(ImageIcon));
    QString type;
    store.ReadRegistryText(kViewerKey, QStringLiteral("Type"), type);
    if (isMaplessType(type))
        MaplessLayout();
    else
        StandardLayout();

    // 1. The capability warning.
    if (startEnv.checkPcCapability)
        startEnv.checkPcCapability();
    else
        defaultCapabilityCheck(this);

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

    // 3. The camera model from the card's settings file; without one the scan's model stays.
    if (const std::optional<CameraModel> identified = IdentifyCameraModel(m_catalogue.folder())) {
        setModelIndex(int(*identified));
        // The firmware notice (Korea) belongs to the settings editor and is shown by it.
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
        : std::function<int(int)>([this, &store](int tier) { return defaultChooseViewerTier(tier, store, this); });
    hooks.installLibraryVariant = startEnv.installLibraryVariant
        ? startEnv.installLibraryVariant
        : std::function<void(int)>([](int tier) { InstallLibraryVariant(tier); });
    ApplyStartupSettings(store, env, hooks);
    setRecordingText(m_recordingText);

    // 12. The magnifier exists in the High tier only.
    if (env.viewerTier != int(ViewerTier::High)) {
        button(IdZoomOn)->hide();
        button(IdZoomOff)->hide();
    }

    // 13. The media library and the one player, drawing into the video surface.
    if (startEnv.loadMediaLibrary) {
        if (LoadMediaLibrary() && CreateMediaPlayer(m_player, store)) {
            m_player.setMainWindow(this);
            playWnd()->attachPlayer(m_player);
        }
        const QString notice = TakeMediaLibraryNotice();
        if (!notice.isEmpty())
            CDlgMessage::ask(0, StringById(kStrPlaybackUnavailable).arg(notice), QString(), this);
    }

    // Raw mouse input needs no registration here: the window gets every mouse event it needs from Qt.
    m_watchingStartup = true;
    m_timers[TimerStartup].start(100);
}

// ---------------------------------------------------------------------------------------------------------
// The list

int CKorvanePCPlayerDlg::rowCount() const
{
    return m_rows->topLevelItemCount();
}

int CKorvanePCPlayerDlg::selectedRow() const
{
    int first = -1;
    for (QTreeWidgetItem* item : m_rows->selectedItems()) {
        const int row = m_rows->indexOfTopLevelItem(item);
        if (first < 0 || row < first)
            first = row;
    }
    return first;
}

RowWalker::Rows CKorvanePCPlayerDlg::walkerRows() const
{
    return { [this] { return rowCount(); },
        [this](int row, int column) {
            const QTreeWidgetItem* item = m_rows->topLevelItem(row);
            return item ? item->text(column) : QString();
        } };
}

void CKorvanePCPlayerDlg::fillList(std::vector<RecordingEntry> entries)
{
    SortEntriesByBaseName(entries, true);
    m_catalogue.ResolveEntryIcons(entries);
    m_entries = std::move(entries);
    m_rows->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(m_entries.size()));
    for (const RecordingEntry& e : m_entries) {
        auto* item = new QTreeWidgetItem({ e.kindLabel, e.baseName, e.dateText });
        if (e.iconIndex)
            item->setIcon(0, SkinModule::icon(recording::iconBitmapId(*e.iconIndex)));
        items << item;
    }
    m_rows->addTopLevelItems(items);
    m_rows->header()->setSortIndicator(1, Qt::AscendingOrder);
    setListEmpty(m_entries.empty());
}

void CKorvanePCPlayerDlg::selectRow(int row)
{
    QTreeWidgetItem* item = m_rows->topLevelItem(row);
    m_rows->clearSelection();
    if (!item)
        return;
    m_rows->setCurrentItem(item);
    item->setSelected(true);
    m_rows->scrollToItem(item);
    m_rows->setFocus();
}

void CKorvanePCPlayerDlg::moveSelection(int delta)
{
    const int n = rowCount();
    const int current = selectedRow();
    if (current < 0 && delta < 0)
        return; // from no selection, Up selects nothing
    const int target = std::clamp(current + delta, 0, std::max(0, n - 1));
    if (n > 0)
        selectRow(target);
}

// ---------------------------------------------------------------------------------------------------------
// Opening rows

void CKorvanePCPlayerDlg::OpenListRow(int index)
{
    carryOut(m_walker.open(index, walkerRows()));
}

void CKorvanePCPlayerDlg::Previous()
{
    carryOut(m_walker.previous(walkerRows(), m_isPlaying));
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
    playRecording(path);
    selectRow(plan.index);
}

void CKorvanePCPlayerDlg::endOfList(bool selectLastRow)
{
    m_player.StopMedia();
    m_player.CloseMedia();
    m_timers[TimerGraph].stop();
    m_isPlaying = false;
    setRecordingText(QString());
    ShowCurrentTime(0);
    ShowLength(0);
    ShowSpeed(QStringLiteral("0"), false);
    playWnd()->update();
    if (selectLastRow)
        selectRow(rowCount() - 1);
}

void CKorvanePCPlayerDlg::emptyListReset()
{
    setRecordingText(QString());
    ShowCurrentTime(0);
    ShowLength(0);
    ShowSpeed(QStringLiteral("0"), false);
    m_timers[TimerGraph].stop();
    m_isPlaying = false;
    m_rows->clear();
    m_entries.clear();
    setListEmpty(true);
    showPlay(false);
    m_player.StopMedia();
    m_player.CloseMedia();
}

void CKorvanePCPlayerDlg::showPlay(bool playShown)
{
    button(IdPlay)->setVisible(playShown);
    button(IdPause)->setVisible(!playShown);
}

void CKorvanePCPlayerDlg::playRecording(const QString& path)
{
    m_timers[TimerAfterOpen].stop();
    int width = 1920;
    int height = 1080;
    const bool readable = QFileInfo(path).isFile()
        && PlayerContext::ProbeVideoSize(path, m_catalogue.isMp4(), width, height);
    // The player takes one media at a time: the one playing goes first.
    m_player.StopMedia();
    m_player.CloseMedia();
    // A card pulled out, or no player: the row stays selected and Play is offered.
    if (!readable || !m_player.hasPlayer() || !m_player.OpenMedia(path) || !m_player.PlayMedia()) {
        m_player.CloseMedia();
        m_isPlaying = false;
        m_lastPlayOk = false;
        showPlay(true);
        return;
    }
    playWnd()->setVideoSize(width, height);
    SetVideoSize(width, height, true);
    m_framesAtOpen = playWnd()->framesPainted();
    m_isPlaying = true;
    m_lastPlayOk = true;
    showPlay(false);
    ShowCurrentTime(0);
    m_timers[TimerAfterOpen].start(500);
    m_inputLock = true;
    m_lockClock.start();
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
    if (outcome.clearListCaptionAndStop) {
        emptyListReset();
        return;
    }
    if (outcome.fillList)
        fillList(std::move(outcome.entries));
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
        SettingsStore::user().WriteRegistryText(kViewerKey, QStringLiteral("Type"), ModelTypeName(modelIndex()));
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
    applyOutcome(outcome);
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
    // The drive dialog comes with the card tools; until then the folder browser opens the card's folder.
    chooseFolder();
}

void CKorvanePCPlayerDlg::nextCategory()
{
    m_categoryIndex = (m_categoryIndex + 1) % 4;
    fillList(m_catalogue.BuildCategoryEntries(ListCategory(m_categoryIndex)));
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
    switch (id) {
    case CmdSelectFolder:
        chooseFolder();
        return;
    case CmdSelectDrive:
        openDrive();
        return;
    case CmdPlayPause:
        if (m_player.isOpen()) {
            m_player.TogglePause();
            m_isPlaying = !m_isPlaying;
            showPlay(!m_isPlaying);
        } else if (rowCount() > 0) {
            OpenListRow(std::min(m_walker.position(), rowCount() - 1));
        }
        return;
    case CmdBackward:
        m_player.SkipBy(-10);
        return;
    case CmdForward:
        m_player.SkipBy(10);
        return;
    case CmdPrevious:
        Previous();
        return;
    case CmdNext:
        Next();
        return;
    case CmdVolumeUp:
    case CmdVolumeDown: {
        const int level = std::clamp(volumeSlider()->value() + (id == CmdVolumeUp ? 10 : -10), 0, 100);
        volumeSlider()->setPosition(level);
        if (!m_muted)
            m_player.SetSound(level);
        return;
    }
    case CmdMute:
        handleButton(m_muted ? IdVolOn : IdVolOff);
        return;
    case CmdExit:
        done(1);
        return;
    default:
        // Event backup and settings come with the copy and settings-editor features.
        return;
    }
}

void CKorvanePCPlayerDlg::handleButton(int id)
{
    if (transportLocked(id))
        return;
    switch (id) {
    case IdPrev:
        Previous();
        return;
    case IdNext:
        Next();
        return;
    case IdBackward:
        Command(CmdBackward);
        return;
    case IdForward:
        Command(CmdForward);
        return;
    case IdPlay:
        if (m_player.isOpen()) {
            if (!m_isPlaying)
                m_player.TogglePause();
            m_isPlaying = true;
            showPlay(false);
        } else if (rowCount() > 0) {
            OpenListRow(std::min(m_walker.position(), rowCount() - 1));
        }
        return;
    case IdPause:
        if (m_player.isOpen() && m_isPlaying) {
            m_player.TogglePause();
            m_isPlaying = false;
        }
        showPlay(true);
        return;
    case IdVolOff:
        m_muted = true;
        m_player.SetSound(0);
        button(IdVolOff)->hide();
        button(IdVolOn)->show();
        return;
    case IdVolOn:
        m_muted = false;
        m_player.SetSound(volumeSlider()->value());
        button(IdVolOn)->hide();
        button(IdVolOff)->show();
        return;
    case IdSpeed:
        showDropList(DropSpeed, IdSpeed);
        return;
    case IdRotate:
        showDropList(DropRotation, IdRotate);
        return;
    case IdDropMap:
        if (viewerEnvironment().countryCode == kCountryKorea)
            showDropList(DropMapProvider, IdDropMap);
        return;
    case IdListOn:
        ListOn();
        return;
    case IdListOff:
        ListOff();
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
    default:
        // Brightness, night vision, capture, magnifier, copy, delete, event backup and settings are
        // carried out by their own features once those are part of the viewer.
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
    // The list opens above its button, which sits on the bottom row.
    const QPoint topLeft = b->mapToGlobal(QPoint(0, -(*slot)->height()));
    (*slot)->showAt(topLeft);
}

std::unique_ptr<QMenu> CKorvanePCPlayerDlg::createContextMenu() const
{
    auto menu = std::make_unique<QMenu>();
    auto add = [](QMenu* m, int stringId, int command) {
        QAction* a = m->addAction(StringById(stringId));
        a->setData(command);
    };
    add(menu.get(), 1290, CmdSelectFolder);
    add(menu.get(), 1291, CmdSelectDrive);
    menu->addSeparator();
    QMenu* play = menu->addMenu(StringById(1292));
    add(play, 1293, CmdPlayPause);
    play->addSeparator();
    add(play, 1294, CmdBackward);
    add(play, 1295, CmdForward);
    play->addSeparator();
    add(play, 1296, CmdPrevious);
    add(play, 1297, CmdNext);
    QMenu* sound = menu->addMenu(StringById(1298));
    add(sound, 1299, CmdVolumeUp);
    add(sound, 1300, CmdVolumeDown);
    add(sound, 1301, CmdMute);
    menu->addSeparator();
    add(menu.get(), 1302, CmdSaveEvents);
    // Only the Korean standard menu chooses the map provider.
    const bool korean = StringTableForLanguages(QLocale::system().uiLanguages()) == QLatin1String("ko");
    if (m_contextMenuId == MenuStandard && korean) {
        QMenu* map = menu->addMenu(StringById(1303));
        add(map, 1304, CmdMapGoogle);
        add(map, 1305, CmdMapDaum);
        add(map, 1306, CmdMapNaver);
    }
    add(menu.get(), 1307, CmdSettings);
    add(menu.get(), 1308, CmdExit);
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
        Relayout();
        return;
    }
    case NotifyEvent::DropDownSelection: {
        const auto* record = reinterpret_cast<const CDropListWnd::Record*>(param);
        if (!record || record->item < 1)
            return;
        if (record->menuId == DropSpeed && record->item <= 5) {
            m_player.SetRate(kRates[record->item - 1]);
            button(IdSpeed)->changeOverlay(3139 + record->item);
        } else if (record->menuId == DropRotation) {
            if (record->item == 1)
                m_player.RotateOn(1);
            else if (record->item == 2)
                m_player.RotateOn(0);
            else
                m_player.RotateOff();
            playWnd()->update();
        } else if (record->menuId == DropMapProvider && viewerEnvironment().countryCode == kCountryKorea) {
            const int commands[3] = { CmdMapGoogle, CmdMapDaum, CmdMapNaver };
            if (record->item <= 3)
                Command(commands[record->item - 1]);
        }
        return;
    }
    case NotifyEvent::VolumeSlider:
        if (!m_muted)
            m_player.SetSound(int(param));
        return;
    case NotifyEvent::EndOfMedia:
        Next();
        return;
    case NotifyEvent::TimeChanged:
        ShowCurrentTime(param);
        return;
    case NotifyEvent::ListDoubleClick:
        OpenListRow(int(param));
        return;
    case NotifyEvent::ListHeaderClick:
        nextCategory();
        return;
    case NotifyEvent::ListResorted: {
        const QString base = MakeBaseName(m_currentFileName, m_catalogue.videoExtension());
        for (int row = 0; row < rowCount(); ++row) {
            if (m_rows->topLevelItem(row)->text(1) == base) {
                m_walker.setPosition(row);
                selectRow(row);
                setRecordingText(base + QStringLiteral("(%1/%2)").arg(row + 1).arg(rowCount()));
                break;
            }
        }
        return;
    }
    case NotifyEvent::GraphSeek:
        m_player.SeekTo(param);
        return;
    default:
        return;
    }
}

void CKorvanePCPlayerDlg::onTimer(int id)
{
    m_timers[size_t(id)].stop();
    switch (id) {
    case TimerAfterOpen: {
        const int64_t length = m_player.length();
        ShowLength(length > 0 ? length : 0);
        if (!m_muted)
            m_player.SetSound(volumeSlider()->value());
        return;
    }
    case TimerStartup:
        OpenListRow(0);
        if (m_watchingStartup) {
            if (m_isPlaying) {
                m_frameWatchClock.start();
                m_frameWatch.start();
            } else {
                m_watchingStartup = false;
                Q_EMIT startupPlaybackSettled(false);
            }
        }
        return;
    default:
        return;
    }
}

void CKorvanePCPlayerDlg::watchFirstFrame()
{
    const bool painted = playWnd()->framesPainted() > m_framesAtOpen;
    if (painted || m_frameWatchClock.elapsed() > kFirstFrameTimeoutMs || !m_isPlaying) {
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
        if (selectedRow() >= 0)
            OpenListRow(selectedRow());
        return true;
    case Qt::Key_Space:
        if (!locked && m_player.isOpen())
            handleButton(m_isPlaying ? IdPause : IdPlay);
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
            m_player.SkipBy(-10);
        return true;
    case Qt::Key_Right:
        if (!locked)
            m_player.SkipBy(10);
        return true;
    case Qt::Key_Up:
        moveSelection(-1);
        return true;
    case Qt::Key_Down:
        moveSelection(1);
        return true;
    case Qt::Key_Delete:
        // Deleting recordings comes with the copy and delete feature.
        return true;
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
        SizeMode(key - Qt::Key_0);
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
        if (mouse->button() == Qt::RightButton && m_ready && m_lastPlayOk) {
            const QPoint global = mouse->globalPosition().toPoint();
            const QRect video(playWnd()->mapToGlobal(QPoint(0, 0)), playWnd()->size());
            if (!video.contains(global))
                return false;
            std::unique_ptr<QMenu> menu = createContextMenu();
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
    m_timers[TimerStartup].stop();
    m_frameWatch.stop();
    m_player.StopMedia();
    CDlgMain::closeEvent(event);
}
