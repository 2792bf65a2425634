#include "mainwindow/CDlgMain.h"

#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "mainwindow/MainWindowIds.h"
#include "playback/CPlayWnd.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinModule.h"

#include <QGuiApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>

using namespace mainwindow;

namespace {

constexpr int kDigitZero = 3303;
constexpr int kColon = 3313;
constexpr int kSeparator = 3314;
constexpr int kGpsFix = 3316;
constexpr int kPanelKmh = 3317;
constexpr int kPanelMph = 3318;

// One state of a three-state strip.
QSize stateSize(int imageId)
{
    const QSize s = SkinModule::size(imageId);
    return QSize(s.width() / 3, s.height());
}

bool isMapless(int model)
{
    return model == 4 || model == 5;
}

// A dark panel standing in for a part another component fills (graph, map) until it is attached.
QWidget* placeholder(QWidget* parent, const QColor& colour)
{
    auto* w = new QWidget(parent);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    return w;
}

} // namespace

CDlgMain::CDlgMain(QWidget* parent)
    : CDlgFrame(kTemplateId, parent)
{
    setTitleVisible(true);
    setTitle(QString());
    createControls();
    // The viewer starts maximised over the work area of its monitor.
    placeOverWorkArea();
    Relayout();
}

CSkinButton* CDlgMain::addButton(int id, int image, bool overlay, int tooltip)
{
    auto* b = new CSkinButton(client(), id);
    if (overlay)
        b->setImageWithOverlay(image);
    else
        b->setImage(image);
    if (tooltip)
        addToolTip(b, QString(), tooltip);
    m_buttons[id] = b;
    return b;
}

void CDlgMain::createControls()
{
    const int country = viewerEnvironment().countryCode;
    struct Spec
    {
        int id;
        int image;
        bool overlay;
        int tooltip;
    };
    const Spec specs[] = {
        { IdPrev, 3105, true, 419 },
        { IdBackward, 3102, true, 423 },
        { IdPlay, 3103, true, 418 },
        { IdPause, 3104, true, 417 },
        { IdForward, 3101, true, 406 },
        { IdNext, 3106, true, 413 },
        { IdBright, 3107, true, 401 },
        { IdNightOn, 3108, true, 415 },
        { IdNightOff, 3109, true, 414 },
        { IdRotate, 3110, true, 422 },
        { IdCapture, 3111, true, 402 },
        { IdSpeed, 3143, true, 425 },
        { IdZoomOn, 3152, true, 421 },
        { IdZoomOff, 3153, true, 420 },
        { IdDrive, 3122, true, 424 },
        { IdFolder, 3120, true, 407 },
        { IdCopy, 3118, true, 403 },
        { IdEvent, 3119, true, 405 },
        { IdDelete, 3123, true, 404 },
        { IdOption, 3121, true, 416 },
        { IdListOn, 3114, false, 409 },
        { IdListOff, 3115, false, 408 },
        { IdVolOn, 3113, false, 427 },
        { IdVolOff, 3112, false, 426 },
        { IdMapOn, 3116, false, 412 },
        { IdMapOff, 3117, false, 411 },
    };
    for (const Spec& s : specs)
        addButton(s.id, s.image, s.overlay, s.tooltip);
    // Drop Map works in Korea only; elsewhere it has no image, no tooltip and no action.
    if (country == kCountryKorea)
        addButton(IdDropMap, 3147, false, 410);
    else
        addButton(IdDropMap, 0, false, 0)->hide();

    // Each of these is shown in place of its partner.
    for (int id : { IdPause, IdNightOff, IdListOn, IdVolOn, IdMapOn, IdZoomOff })
        m_buttons[id]->hide();

    m_volume = new CSkinSlider(client(), IdVolume);
    m_volume->setTrackImage(3200);
    m_volume->setFillImage(3201);
    m_volume->setRange(0, 100);
    m_volume->setPosition(100);

    m_unitKmh = new CSkinRadioButton(client(), IdUnitKmh);
    m_unitKmh->setImage(3139);
    m_unitKmh->setChecked(true);
    m_unitMph = new CSkinRadioButton(client(), IdUnitMph);
    m_unitMph->setImage(3139);
    if (country == kCountryKorea || country == kCountryJapan) {
        m_unitKmh->hide();
        m_unitMph->hide();
    }

    m_playWnd = new CPlayWnd(client());
    m_graph = placeholder(client(), QColor(16, 16, 16));
    m_map = placeholder(client(), QColor(38, 42, 48));
    m_list = placeholder(client(), QColor(240, 240, 240));
}

void CDlgMain::setListWidget(QWidget* list)
{
    const bool shown = m_list ? !m_list->isHidden() : true;
    delete m_list;
    m_list = list;
    m_list->setParent(client());
    m_list->setVisible(shown);
    Relayout();
}

void CDlgMain::setGraphWidget(QWidget* graph)
{
    delete m_graph;
    m_graph = graph;
    m_graph->setParent(client());
    m_graph->show();
    Relayout();
}

void CDlgMain::setMapWidget(QWidget* map)
{
    const bool shown = m_map ? !m_map->isHidden() : true;
    delete m_map;
    m_map = map;
    m_map->setParent(client());
    m_map->setVisible(shown);
    Relayout();
}

CSkinButton* CDlgMain::button(int id) const
{
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

bool CDlgMain::listVisible() const
{
    return m_list && !m_list->isHidden();
}

LayoutImageSizes CDlgMain::imageSizes() const
{
    LayoutImageSizes s;
    s.gpsFix = SkinModule::size(kGpsFix);
    s.digit = SkinModule::size(kDigitZero);
    s.colon = SkinModule::size(kColon);
    s.separator = SkinModule::size(kSeparator);
    s.speedPanel = SkinModule::size(m_unitMph && m_unitMph->isChecked() ? kPanelMph : kPanelKmh);
    s.volumeButton = stateSize(3113);
    s.listButton = stateSize(3114);
    s.axisLabelFirst = SkinModule::size(3322);
    s.axisLabelSecond = SkinModule::size(3323);
    return s;
}

int CDlgMain::frameRoom() const
{
    const QMargins m = frameMargins();
    return FrameRoom(m.top(), m.bottom(), GraphHeight(viewerEnvironment().countryCode));
}

void CDlgMain::Relayout()
{
    LayoutInput in;
    in.clientWidth = client()->width();
    in.clientHeight = client()->height();
    in.listHidden = m_listHidden;
    in.mapShown = m_mapShown;
    in.countryCode = viewerEnvironment().countryCode;
    in.images = imageSizes();
    m_layout = ComputeMainWindowLayout(in);

    m_playWnd->setGeometry(m_layout.video);
    m_graph->setGeometry(m_layout.graph);
    m_volume->setGeometry(m_layout.volumeSlider);
    for (int id : { IdVolOn, IdVolOff })
        m_buttons[id]->setGeometry(m_layout.volumeButton);
    for (int id : { IdListOn, IdListOff })
        m_buttons[id]->setGeometry(m_layout.listButton);
    for (const auto& [id, rect] : m_layout.buttons)
        m_buttons[id]->setGeometry(rect);
    for (int id : { IdMapOn, IdMapOff })
        m_buttons[id]->setGeometry(m_layout.mapButton);
    m_buttons[IdDropMap]->setGeometry(m_layout.dropMap);
    m_unitKmh->setGeometry(m_layout.unitKmh);
    m_unitMph->setGeometry(m_layout.unitMph);
    m_list->setGeometry(m_layout.list);
    m_map->setGeometry(m_layout.map);
    updateMinimumSize();
    layoutChanged();
    update();
}

void CDlgMain::resizeEvent(QResizeEvent* event)
{
    CDlgFrame::resizeEvent(event);
    if (m_playWnd)
        Relayout();
}

QSize CDlgMain::minimumWindowSize() const
{
    MinimumSizeInput in;
    in.recordingOpen = m_recordingOpen;
    in.listHidden = m_listHidden;
    in.sizeClass = m_sizeClass;
    in.videoWidth = m_videoWidth;
    in.videoHeight = m_videoHeight;
    in.frameRoom = frameRoom();
    in.countryCode = viewerEnvironment().countryCode;
    in.axisRowWidth = AxisRowWidth(imageSizes());
    return MinimumWindowSize(in);
}

void CDlgMain::updateMinimumSize()
{
    // A screen smaller than the minimum still gets the whole window: the work area wins.
    QSize minimum = minimumWindowSize();
    if (const QScreen* screen = this->screen())
        minimum = minimum.boundedTo(screen->availableGeometry().size());
    if (minimumSize() != minimum)
        setMinimumSize(minimum);
}

void CDlgMain::setShown(int id, bool shown)
{
    if (CSkinButton* b = button(id))
        b->setVisible(shown);
}

void CDlgMain::showUnitButtons(bool shown)
{
    const int country = viewerEnvironment().countryCode;
    if (country == kCountryKorea || country == kCountryJapan)
        return;
    m_unitKmh->setVisible(shown);
    m_unitMph->setVisible(shown);
}

void CDlgMain::resizeWindowBy(int dx)
{
    // The target is taken first: raising the minimum may already widen the window.
    const int target = width() + dx;
    updateMinimumSize();
    resize(target, height());
}

void CDlgMain::placeOverWorkArea()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

void CDlgMain::ListOn(bool fromButton)
{
    if (listVisible())
        return;
    m_listWanted = true;
    m_listHidden = false;
    if (isMaximisedFlag())
        Relayout();
    else
        resizeWindowBy(kListColumnWidth);
    showListControls();
    // List On hides the provider button; Map On brings it back.
    if (viewerEnvironment().countryCode == kCountryKorea)
        setShown(IdDropMap, false);
    Relayout();
    if (fromButton && viewerEnvironment().viewerTier == int(ViewerTier::High))
        m_gaugeResync = true;
}

void CDlgMain::ListOff(bool fromButton)
{
    if (!listVisible())
        return;
    m_listWanted = false;
    m_listHidden = true;
    setShown(IdListOff, false);
    setShown(IdListOn, true);
    for (int id : { IdDrive, IdFolder, IdDelete, IdCopy, IdEvent, IdOption, IdMapOn, IdMapOff })
        setShown(id, false);
    m_map->hide();
    const int country = viewerEnvironment().countryCode;
    if (country == kCountryKorea || country == kCountryJapan)
        setShown(IdDropMap, false);
    else
        showUnitButtons(false);
    m_list->hide();
    if (isMaximisedFlag())
        Relayout();
    else
        resizeWindowBy(-kListColumnWidth);
    Relayout();
    if (fromButton && viewerEnvironment().viewerTier == int(ViewerTier::High))
        m_gaugeResync = true;
}

void CDlgMain::MapOn()
{
    setShown(IdMapOff, !isMapless(m_modelIndex));
    setShown(IdMapOn, false);
    m_map->show();
    const int country = viewerEnvironment().countryCode;
    if (country == kCountryKorea || country == kCountryJapan)
        setShown(IdDropMap, country == kCountryKorea);
    else
        showUnitButtons(true);
    m_mapShown = true;
    Relayout();
    m_list->update();
}

void CDlgMain::MapOff()
{
    setShown(IdMapOff, false);
    m_map->hide();
    const int country = viewerEnvironment().countryCode;
    if (country == kCountryKorea || country == kCountryJapan)
        setShown(IdDropMap, false);
    else
        showUnitButtons(false);
    setShown(IdMapOn, !isMapless(m_modelIndex));
    m_mapShown = false;
    Relayout();
    m_list->update();
}

void CDlgMain::StandardLayout()
{
    m_listWanted = true;
    m_listHidden = false;
    Relayout();
    showListControls();
    MapOn();
}

void CDlgMain::MaplessLayout()
{
    MapOff();
    setShown(IdListOff, true);
    for (int id : { IdMapOn, IdMapOff })
        setShown(id, false);
    m_map->hide();
    const int country = viewerEnvironment().countryCode;
    if (country == kCountryKorea || country == kCountryJapan)
        setShown(IdDropMap, false);
    else
        showUnitButtons(false);
    Relayout();
}

// What List On and the standard layout show: the list, its buttons, and the map (or its button) as the user
// left it.
void CDlgMain::showListControls()
{
    setShown(IdListOff, true);
    setShown(IdListOn, false);
    const bool mapless = isMapless(m_modelIndex);
    if (m_mapShown) {
        setShown(IdMapOff, !mapless);
        showUnitButtons(true);
        m_map->show();
    } else {
        setShown(IdMapOn, !mapless);
    }
    for (int id : { IdDrive, IdFolder, IdDelete, IdCopy, IdEvent, IdOption })
        setShown(id, true);
    m_list->show();
    m_list->update();
}

void CDlgMain::showListColumn(bool mapButtonsHidden, bool mapButtonByMapShown)
{
    setShown(IdListOff, true);
    setShown(IdListOn, false);
    if (mapButtonsHidden && !mapButtonByMapShown) {
        setShown(IdMapOff, false);
        setShown(IdMapOn, false);
    } else {
        setShown(IdMapOff, m_mapShown);
        setShown(IdMapOn, !m_mapShown);
    }
    for (int id : { IdDrive, IdFolder, IdDelete, IdCopy, IdEvent, IdOption })
        setShown(id, true);
    if (viewerEnvironment().countryCode == kCountryKorea)
        setShown(IdDropMap, true);
    m_map->show();
    m_list->show();
    m_list->update();
}

void CDlgMain::hideListColumn()
{
    setShown(IdListOff, false);
    setShown(IdListOn, true);
    for (int id : { IdMapOn, IdMapOff, IdDrive, IdFolder, IdDelete, IdCopy, IdEvent, IdOption })
        setShown(id, false);
    if (viewerEnvironment().countryCode == kCountryKorea)
        setShown(IdDropMap, false);
    m_map->hide();
    m_list->hide();
}

void CDlgMain::SizeMode(int mode)
{
    SizeModeInput in;
    in.mode = mode;
    in.listEmpty = m_listEmpty;
    in.window = frameGeometry();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    in.workArea = screen ? screen->availableGeometry() : in.window;
    in.videoWidth = m_videoWidth;
    in.videoHeight = m_videoHeight;
    in.sizeClass = m_sizeClass;
    in.listWanted = m_listWanted;
    in.listVisible = listVisible();
    in.frameRoom = frameRoom();
    in.modelIndex = m_modelIndex;
    const SizeModeResult r = ApplySizeMode(in);
    if (!r.acted)
        return;

    m_listHidden = r.listHidden;
    if (r.step == SizeModeResult::ColumnStep::ShowList)
        showListColumn(r.hideMapButtons, r.mapButtonByMapShownForEveryModel);
    else if (r.step == SizeModeResult::ColumnStep::HideList)
        hideListColumn();
    // The minimum follows the new column state before the window may shrink to it.
    updateMinimumSize();
    if (r.maximised) {
        setGeometry(r.window);
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        setWindowState(windowState() & ~Qt::WindowMaximized);
        setGeometry(QRect(r.window.topLeft(), r.window.size()));
    }
    Relayout();
    if (viewerEnvironment().viewerTier == int(ViewerTier::High))
        m_gaugeResync = true;
}

void CDlgMain::SetVideoSize(int width, int height, bool recordingOpen)
{
    m_previousSizeClass = m_sizeClass;
    m_videoWidth = width;
    m_videoHeight = height;
    m_sizeClass = SizeClassOf(width, height);
    m_recordingOpen = recordingOpen;
    updateMinimumSize();
    // A smaller recording than before in a video area too small for it: fit the window to it.
    const QSize area = m_layout.video.size();
    if (recordingOpen && m_sizeClass < m_previousSizeClass && m_sizeClass < 2) {
        const double share = m_sizeClass == 0 ? 0.5 : 0.6;
        if (area.width() < share * width || area.height() < share * height)
            SizeMode(1);
    }
}

void CDlgMain::RecordingClosed()
{
    m_recordingOpen = false;
    updateMinimumSize();
}

void CDlgMain::ShowCurrentTime(long long ms)
{
    const auto before = TimeDigits(m_currentMs);
    m_currentMs = ms;
    const auto after = TimeDigits(ms);
    // Only the digits that changed are repainted.
    const size_t cells[4] = { 0, 1, 3, 4 };
    for (size_t i = 0; i < 4; ++i) {
        if (before[i] != after[i])
            client()->update(m_layout.timeCells[cells[i]]);
    }
}

void CDlgMain::ShowLength(long long ms)
{
    m_lengthMs = ms;
    client()->update(m_layout.timeRow);
}

void CDlgMain::paintClient(QPainter& p)
{
    paintTimeRow(p);
    // The speed panel, the unit labels and (Japan) the three-axis row.
    paintReadouts(p);
}

void CDlgMain::paintTimeRow(QPainter& p)
{
    p.fillRect(m_layout.timeRow, backgroundColour());
    const auto now = TimeDigits(m_currentMs);
    const auto length = TimeDigits(m_lengthMs);
    const int ids[11] = { kDigitZero + now[0], kDigitZero + now[1], kColon, kDigitZero + now[2], kDigitZero + now[3],
        kSeparator, kDigitZero + length[0], kDigitZero + length[1], kColon, kDigitZero + length[2],
        kDigitZero + length[3] };
    for (size_t i = 0; i < 11; ++i)
        p.drawPixmap(m_layout.timeCells[i], SkinModule::image(ids[i]));
}
