#include "camera/CDlgOption.h"

#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "camera/TimeZoneTable.h"
#include "platform/SettingsStore.h"
#include "skin/CCircleChart.h"
#include "skin/CDlgMessage.h"
#include "skin/CDropButton.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CSliderOption.h"
#include "skin/DropSelectionEvent.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QDateTimeEdit>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kTabStrip = 3014;
constexpr int kSeparator = 3016;
constexpr int kTitleMark = 3017;
constexpr int kRadioImage = 3139;
constexpr int kOkImage = 3124;
constexpr int kCancelImage = 3125;
constexpr int kRatioTrack = 3206;
constexpr int kMotionTrack = 3207;
constexpr int kMotionThumb = 3209;
constexpr int kOptionSliderCode = 6;

const QColor kText(230, 230, 230);
const QColor kTitle(255, 255, 255);
const QColor kDim(150, 150, 150);
const QColor kPanel(36, 37, 40);

// The string tables keep the Windows convention of "&&" for a shown "&".
QString shown(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return out;
}

QString text(int id)
{
    return shown(StringById(id));
}

SettingsStore& storeOf(const CDlgOption::Environment& env)
{
    return env.store ? *env.store : SettingsStore::user();
}

} // namespace

CDlgOption::CDlgOption(CameraModel model, ClockMemory& clock, const Environment& environment, QWidget* parent)
    : CDlgFrame(0, parent)
    , m_env(environment)
    , m_store(storeOf(environment))
    , m_clock(clock)
    , m_record(model)
    , m_rules(m_record)
    , m_viewer(std::make_unique<ViewerOptionsSession>(m_store))
{
    if (!m_env.codePage.isEmpty())
        m_record.setCodePage(m_env.codePage);
    // The Advanced page exists only for the tier the registry holds now.
    m_constructedTier = ViewerOptionsSession::constructedTier(m_store);
    m_layout = MakeEditorLayout(model, m_env.countryCode == 82, m_constructedTier == 0);
    setTitle(CameraModelRegistryName(model));
    setTitleVisible(true);
    setCaptionButtons(false);
    setClientSize(m_layout.clientSize);
}

CDlgOption::~CDlgOption() = default;

void CDlgOption::initialise()
{
    if (m_initialised)
        return;
    m_initialised = true;
    m_initialClock = m_clock.has ? m_clock.value : QDateTime::currentDateTime();
    m_viewer->load();
    const int country = m_env.countryCode;
    if (!LoadSetupRecord(m_record, m_path, model(), country))
        m_record.resetToDefaults(country);
    buildControls();
    client()->installEventFilter(this);
    client()->setMouseTracking(true);
    selectTab(0);
}

int CDlgOption::exec()
{
    initialise();
    return CDlgFrame::exec();
}

QLabel* CDlgOption::makeLabel(const QString& labelText, const QRect& rect, bool title)
{
    auto* label = new QLabel(labelText, client());
    label->setFont(SkinFont(title ? 14 : 13, title));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, title ? kTitle : kText);
    label->setPalette(palette);
    label->setGeometry(rect);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void CDlgOption::buildControls()
{
    const QString editStyle = QStringLiteral(
        "QLineEdit { color: white; background: black; border: 1px solid rgb(90, 90, 90); padding: 0 3px; }"
        "QLineEdit:disabled { color: rgb(110, 110, 110); border-color: rgb(60, 60, 60); }");

    for (const EditorSection& section : m_layout.sections) {
        QLabel* title = makeLabel(text(section.titleId), section.rect.adjusted(8, 0, 0, 0), true);
        title->setWordWrap(true);
        title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_sectionLabels.append(title);
    }

    for (const EditorControl& c : m_layout.controls) {
        QWidget* widget = nullptr;
        switch (c.kind) {
        case EditorControlKind::Radio: {
            auto* radio = new CSkinRadioButton(client(), c.id);
            radio->setImage(kRadioImage);
            widget = radio;
            QLabel* label = makeLabel(text(c.labelId), QRect(c.rect.right() + 5, c.rect.top() - 1, 10, 17), false);
            label->adjustSize();
            m_labels.insert(c.id, label);
            break;
        }
        case EditorControlKind::DateTime: {
            auto* edit = new QDateTimeEdit(m_initialClock, client());
            edit->setDisplayFormat(m_layout.korean ? QStringLiteral("yyyy년-MM월-dd일  HH시-mm분-ss초")
                                                   : QStringLiteral("yyyy-MM-dd HH-mm-ss"));
            edit->setFont(SkinFont(14));
            edit->setStyleSheet(QStringLiteral("QDateTimeEdit { color: white; background: black; border: 1px solid "
                                               "rgb(90, 90, 90); padding-left: 3px; }"));
            widget = edit;
            break;
        }
        case EditorControlKind::TimeZoneList: {
            const int zone = m_record.byte(setup::kTimeZone);
            auto* list = new CDropButton(shown(TimeZoneName(zone)), c.rect, client(), c.id);
            for (int i = 0; i < kTimeZoneCount; ++i)
                list->addItem(shown(TimeZoneName(i)));
            list->setCurrentIndex(zone);
            list->setMaxListHeight(200);
            widget = list;
            break;
        }
        case EditorControlKind::Edit: {
            auto* edit = new QLineEdit(m_record.textField(c.field), client());
            edit->setFont(SkinFont(14));
            edit->setStyleSheet(editStyle);
            if (c.id == editorid::kWifiPassword || c.id == editorid::kFtpPassword)
                edit->setInputMethodHints(Qt::ImhNoPredictiveText);
            widget = edit;
            break;
        }
        case EditorControlKind::Pie: {
            auto* chart = new CCircleChart(client());
            chart->setBackgroundColour(kPanel);
            widget = chart;
            break;
        }
        case EditorControlKind::RatioSlider: {
            auto* slider = new CSliderOption(client(), c.id);
            slider->setTrackImage(kRatioTrack);
            widget = slider;
            break;
        }
        case EditorControlKind::MotionSlider: {
            auto* slider = new CSkinSlider(client(), c.id);
            slider->setTrackImage(kMotionTrack);
            slider->setThumbImage(kMotionThumb);
            // Positions in tenths of the track; 1 to 4 are the four steps (the artwork marks them).
            slider->setRange(0, 10);
            slider->setMargin(9);
            widget = slider;
            // "Sensitive" in the first radio column, "Insensitive" right of the slider.
            const int column = m_layout.korean ? 135 : 195;
            m_motionLeft = makeLabel(text(601), QRect(column, c.rect.top() + 4, c.rect.left() - column - 4, 17), false);
            m_motionRight = makeLabel(text(578), QRect(c.rect.right() + 6, c.rect.top() + 4, 80, 17), false);
            break;
        }
        case EditorControlKind::Text: {
            QString value;
            if (c.id == editorid::kFirmware)
                value = m_record.firmwareText();
            else if (c.field >= 0)
                value = m_record.isLoaded() ? m_record.textField(c.field) : QString();
            else
                value = text(c.labelId);
            QLabel* label = makeLabel(value, c.rect, false);
            if (c.labelId) {
                label->setFont(SkinFont(13));
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText, kDim);
                label->setPalette(palette);
            }
            if (c.id == 0)
                m_plainTexts.append({ &c, label });
            widget = label;
            break;
        }
        case EditorControlKind::Legend: {
            QLabel* label = makeLabel(QString(), c.rect, false);
            label->setFont(SkinFont(13));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        }
        if (!widget)
            continue;
        widget->setGeometry(c.rect);
        if (c.id)
            m_controls.insert(c.id, widget);
    }

    m_okButton = new CSkinButton(client(), 1);
    m_okButton->setImage(kOkImage);
    m_okButton->setGeometry(m_layout.okButton);
    m_cancelButton = new CSkinButton(client(), 2);
    m_cancelButton->setImage(kCancelImage);
    m_cancelButton->setGeometry(m_layout.cancelButton);

    if (auto* slider = motionSlider())
        slider->setPosition(SetupEditorRules::motionSliderPosition(m_record.byte(setup::kMotionSensitivity)));

    installEventFilter(this);
    refresh();
}

CSkinRadioButton* CDlgOption::radio(int id) const
{
    return qobject_cast<CSkinRadioButton*>(m_controls.value(id));
}

QDateTimeEdit* CDlgOption::dateTimeEdit() const
{
    return qobject_cast<QDateTimeEdit*>(m_controls.value(editorid::kDateTime));
}

QLineEdit* CDlgOption::edit(int id) const
{
    return qobject_cast<QLineEdit*>(m_controls.value(id));
}

CDropButton* CDlgOption::timeZoneList() const
{
    return qobject_cast<CDropButton*>(m_controls.value(editorid::kTimeZone));
}

CSliderOption* CDlgOption::ratioSlider() const
{
    return qobject_cast<CSliderOption*>(m_controls.value(editorid::kRatioSlider));
}

CSkinSlider* CDlgOption::motionSlider() const
{
    return qobject_cast<CSkinSlider*>(m_controls.value(editorid::kMotionSlider));
}

CCircleChart* CDlgOption::pie() const
{
    return qobject_cast<CCircleChart*>(m_controls.value(editorid::kPie));
}

QString CDlgOption::legendText() const
{
    auto* label = qobject_cast<QLabel*>(m_controls.value(editorid::kLegend));
    return label ? label->text() : QString();
}

QString CDlgOption::firmwareLabelText() const
{
    auto* label = qobject_cast<QLabel*>(m_controls.value(editorid::kFirmware));
    return label ? label->text() : QString();
}

QStringList CDlgOption::visibleSectionTitles() const
{
    QStringList titles;
    for (QLabel* label : m_sectionLabels) {
        if (label->isVisibleTo(this))
            titles.append(label->text());
    }
    return titles;
}

bool CDlgOption::visibleNow(EditorTab tab, EditorVisibility visibility) const
{
    if (tab != currentPage())
        return false;
    switch (visibility) {
    case EditorVisibility::Always:
        return true;
    case EditorVisibility::VoiceOn:
        return m_rules.voiceGuidanceOn();
    case EditorVisibility::ParkingOn:
        return m_rules.parkingOn();
    case EditorVisibility::FileType:
        return m_rules.deletionByFileType();
    case EditorVisibility::NotWideMode:
        return !m_rules.wideMode();
    }
    return true;
}

void CDlgOption::selectTab(int index)
{
    if (index < 0 || index >= m_layout.tabs.size())
        return;
    m_currentTab = index;
    refreshVisibility();
    client()->update();
}

void CDlgOption::refresh()
{
    refreshChecks();
    refreshRatios();
    refreshVisibility();
    // Frame-rate labels follow the quality ("24fps" at FULL HD on Alpha and Bravo, "22fps" in Wide Mode).
    for (int id : { editorid::kFrameFull, editorid::kFrameReduced }) {
        if (QLabel* label = m_labels.value(id)) {
            label->setText(text(m_rules.frameRateLabel(id == editorid::kFrameFull ? 0 : 1)));
            label->adjustSize();
        }
    }
    const bool ftp = m_rules.value(SetupOption::FtpService) == 1;
    for (int id : { editorid::kFtpId, editorid::kFtpPassword }) {
        if (QWidget* edit = m_controls.value(id))
            edit->setEnabled(ftp);
    }
    client()->update();
}

void CDlgOption::refreshChecks()
{
    const ViewerOptionsSession::Values& viewer = m_viewer->values();
    for (const EditorControl& c : m_layout.controls) {
        if (c.kind != EditorControlKind::Radio)
            continue;
        CSkinRadioButton* button = radio(c.id);
        if (!button)
            continue;
        bool checked = false;
        if (c.setupOption) {
            if (c.option == SetupOption::ParkingMode)
                checked = m_rules.parkingOn() == (c.value != 0);
            else
                checked = m_rules.value(c.option) == c.value;
        } else {
            switch (c.viewer) {
            case ViewerChoice::Tier:
                checked = viewer.tier == c.value;
                break;
            case ViewerChoice::ChooserHidden:
                checked = viewer.chooserHidden == c.value;
                break;
            case ViewerChoice::PostProcessing:
                checked = viewer.postProcessing == c.value;
                break;
            case ViewerChoice::NoiseReduction:
                checked = viewer.noiseReduction == c.value;
                break;
            case ViewerChoice::Resampling:
                checked = viewer.resampling == c.value;
                break;
            case ViewerChoice::None:
                break;
            }
        }
        button->setChecked(checked);
    }
}

void CDlgOption::refreshVisibility()
{
    for (const EditorControl& c : m_layout.controls) {
        const bool visible = visibleNow(c.tab, c.visibility);
        if (QWidget* widget = m_controls.value(c.id))
            widget->setVisible(visible);
        if (QLabel* label = m_labels.value(c.id))
            label->setVisible(visible);
        if (c.kind == EditorControlKind::MotionSlider) {
            m_motionLeft->setVisible(visible);
            m_motionRight->setVisible(visible);
        }
    }
    for (const auto& [control, label] : m_plainTexts)
        label->setVisible(visibleNow(control->tab, control->visibility));
    for (int i = 0; i < m_sectionLabels.size(); ++i) {
        const EditorSection& s = m_layout.sections.at(i);
        m_sectionLabels.at(i)->setVisible(visibleNow(s.tab, s.visibility));
    }
}

void CDlgOption::refreshRatios()
{
    const RatioView view = m_rules.ratioView();
    if (CCircleChart* chart = pie())
        chart->setValues(view.pieValues);
    if (CSliderOption* slider = ratioSlider())
        slider->setPosition(view.sliderFirst, view.sliderSecond, view.twoThumbs);
    if (auto* legend = qobject_cast<QLabel*>(m_controls.value(editorid::kLegend))) {
        QStringList lines;
        for (const auto& [id, value] : view.legend)
            lines.append(FormatMessageText(StringById(id), { value }));
        legend->setText(lines.join(QLatin1Char('\n')));
    }
}

void CDlgOption::notice(int stringId)
{
    CDlgMessage::ask(CDlgMessage::StyleOk, stringId, this);
}

void CDlgOption::radioClicked(int id)
{
    const EditorControl* c = m_layout.control(id);
    if (!c || c->kind != EditorControlKind::Radio)
        return;
    if (c->setupOption) {
        const int refusal = m_rules.choose(c->option, c->value);
        // The box is shown after the checks are put right, so the refused radio never stays checked.
        refresh();
        if (refusal)
            notice(refusal);
        return;
    }
    switch (c->viewer) {
    case ViewerChoice::Tier:
        m_viewer->setTier(c->value);
        break;
    case ViewerChoice::ChooserHidden:
        m_viewer->setChooserHidden(c->value != 0);
        break;
    case ViewerChoice::PostProcessing:
        m_viewer->setPostProcessing(c->value);
        break;
    case ViewerChoice::NoiseReduction:
        m_viewer->setNoiseReduction(c->value != 0);
        break;
    case ViewerChoice::Resampling:
        m_viewer->setResampling(c->value != 0);
        break;
    case ViewerChoice::None:
        break;
    }
    refreshChecks();
}

void CDlgOption::customEvent(QEvent* event)
{
    if (event->type() == DropSelectionEvent::eventType()) {
        const auto* selection = static_cast<DropSelectionEvent*>(event);
        if (selection->controlId() == editorid::kTimeZone && selection->index() >= 0
            && selection->index() < kTimeZoneCount)
            m_record.setByte(setup::kTimeZone, static_cast<quint8>(selection->index()));
        return;
    }
    if (event->type() != NotifyEvent::eventType()) {
        CDlgFrame::customEvent(event);
        return;
    }
    const auto* notify = static_cast<NotifyEvent*>(event);
    switch (notify->code()) {
    case NotifyEvent::SkinButton:
        if (notify->param() == 1)
            ok();
        else if (notify->param() == 2)
            cancel();
        break;
    case NotifyEvent::SkinRadioButton:
        radioClicked(static_cast<int>(notify->param()));
        break;
    case NotifyEvent::VolumeSlider: {
        // The four-step motion slider reports its record.
        const auto* record = reinterpret_cast<const CSkinSlider::Record*>(notify->param());
        CSkinSlider* slider = motionSlider();
        if (!record || !slider || record->controlId != editorid::kMotionSlider)
            break;
        const int value = SetupEditorRules::motionValueForSliderPosition(record->value);
        m_record.setByte(setup::kMotionSensitivity, static_cast<quint8>(value));
        if (SetupEditorRules::motionSliderPosition(value) != record->value)
            slider->setPosition(SetupEditorRules::motionSliderPosition(value));
        break;
    }
    case kOptionSliderCode: {
        const auto* record = reinterpret_cast<const CSliderOption::Record*>(notify->param());
        if (!record)
            break;
        m_rules.moveRatioSlider(record->first, record->second, record->singleThumb != 0);
        refreshRatios();
        break;
    }
    default:
        break;
    }
}

bool CDlgOption::eventFilter(QObject* watched, QEvent* event)
{
    // Keys are looked at when they reach the dialog: a control that has no use for Enter, Escape or Space
    // (every one but a text field taking a typed space) passes them up to it.
    if (watched == this && event->type() == QEvent::KeyPress && isVisible()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ok();
            return true;
        case Qt::Key_Space:
            ok();
            return false;
        case Qt::Key_Escape:
            cancel();
            return true;
        default:
            break;
        }
    }
    if (watched == client()) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const int index = m_layout.tabAt(mouse->position().toPoint());
                if (index >= 0) {
                    selectTab(index);
                    return true;
                }
            }
        } else if (event->type() == QEvent::MouseMove) {
            const int hover = m_layout.tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (hover != m_hoverTab) {
                m_hoverTab = hover;
                client()->update();
            }
        } else if (event->type() == QEvent::Leave && m_hoverTab != -1) {
            m_hoverTab = -1;
            client()->update();
        }
    }
    return CDlgFrame::eventFilter(watched, event);
}

void CDlgOption::paintClient(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPixmap strip = SkinModule::image(kTabStrip);
    const int state = strip.width() / 3;
    // The page panel under the strip.
    const QRect panel(10, m_layout.tabBottom, m_layout.clientSize.width() - 20, m_layout.okButton.top() - 8 - m_layout.tabBottom);
    painter.fillRect(panel, kPanel);
    painter.setPen(QColor(70, 72, 78));
    painter.drawRect(panel.adjusted(0, 0, -1, -1));

    const QFont tabFont = SkinFont(14, true);
    const QFont wrappedTabFont = SkinFont(12, true);
    for (int i = 0; i < m_layout.tabs.size(); ++i) {
        const QRect r = m_layout.tabRect(i);
        const QString title = text(m_layout.tabTitleId(m_layout.tabs.at(i)));
        // A long title takes two smaller lines rather than overflowing its tab.
        painter.setFont(QFontMetrics(tabFont).horizontalAdvance(title) > r.width() - 6 ? wrappedTabFont : tabFont);
        const int look = i == m_currentTab ? 2 : (i == m_hoverTab ? 1 : 0);
        if (!strip.isNull())
            painter.drawPixmap(r, strip, QRect(look * state, 0, state, strip.height()));
        else
            painter.fillRect(r, look == 2 ? QColor(60, 62, 68) : QColor(40, 41, 45));
        painter.setPen(i == m_currentTab ? kTitle : kDim);
        painter.drawText(r.adjusted(2, 2, -2, 0), Qt::AlignCenter | Qt::TextWordWrap, title);
    }

    const QPixmap separator = SkinModule::image(kSeparator);
    const QPixmap mark = SkinModule::image(kTitleMark);
    int previous = -1;
    for (int i = 0; i < m_layout.sections.size(); ++i) {
        const EditorSection& s = m_layout.sections.at(i);
        if (!visibleNow(s.tab, s.visibility))
            continue;
        const int above = std::exchange(previous, i);
        if (!mark.isNull() && s.titleId != 567 && s.titleId != 568)
            painter.drawPixmap(QRect(s.rect.left(), s.rect.top() + 2, 4, 13), mark);
        if (!s.separatorAbove)
            continue;
        // A title above that takes two lines reaches down to this row: the line then starts right of it.
        int left = 16;
        if (above >= 0) {
            QLabel* title = m_sectionLabels.at(above);
            if (title->heightForWidth(title->width()) > title->heightForWidth(QWIDGETSIZE_MAX / 2))
                left = m_layout.sections.at(above).rect.right() + 4;
        }
        const QRect line(left, s.rect.top() - 11, m_layout.clientSize.width() - 16 - left, 2);
        if (!separator.isNull())
            painter.drawPixmap(line, separator);
        else
            painter.fillRect(line, QColor(70, 72, 78));
    }
}

void CDlgOption::reject()
{
    cancel();
}

void CDlgOption::cancel()
{
    // The viewer options were only held by the editor: nothing to undo, nothing written.
    finish(Cancelled);
}

void CDlgOption::commitViewerOptions()
{
    for (int id : m_viewer->commit())
        notice(id);
}

void CDlgOption::finish(int result)
{
    done(result);
}

void CDlgOption::ok()
{
    if (!m_record.isLoaded()) {
        // Nothing of the camera's can be saved without its file; the viewer's own options still are.
        commitViewerOptions();
        finish(SaveFailed);
        return;
    }

    // 1. The camera clock, when the user moved it.
    if (QDateTimeEdit* clock = dateTimeEdit()) {
        const QDateTime chosen = clock->dateTime();
        if (chosen.toSecsSinceEpoch() != m_initialClock.toSecsSinceEpoch()) {
            if (const auto question = SetupEditorRules::clockQuestion(model(), m_env.countryCode, chosen)) {
                const QString asked = FormatMessageText(StringById(question->stringId), question->values);
                if (CDlgMessage::ask(CDlgMessage::StyleYesNo, asked, QString(), this) == CDlgMessage::ResultYes) {
                    m_record.setCameraClock(chosen);
                    m_clock.has = true;
                    m_clock.value = chosen;
                }
            }
        }
    }

    // 2. What the deletion method means for the files on the card.
    if (const int id = m_rules.deletionNotice())
        notice(id);

    // 3. Ratios that do not add up.
    m_record.applyStorageRatioRule();
    refreshRatios();

    // 4. and 5. The network fields; a notice keeps the dialog open with every edit intact.
    if (hasNetworkFields(model())) {
        const QString wifi = edit(editorid::kWifiPassword)->text();
        if (const int id = SetupEditorRules::wifiPasswordNotice(wifi)) {
            notice(id);
            return;
        }
        if (m_rules.value(SetupOption::FtpService) == 1) {
            const QString id = edit(editorid::kFtpId)->text();
            const QString password = edit(editorid::kFtpPassword)->text();
            if (const int refusal = SetupEditorRules::ftpAccountNotice(id, password)) {
                notice(refusal);
                return;
            }
            m_record.setFtpAccount(id, password);
        }
        m_record.setWifiPassword(wifi);
    }

    // 6. The file.
    const SetupSaveResult saved = SaveSetupRecord(m_record, m_path);
    if (saved == SetupSaveResult::SizeChanged) {
        // A file of another length may belong to another model: left alone, closed like a cancel.
        finish(Cancelled);
        return;
    }
    if (saved == SetupSaveResult::Saved && model() == CameraModel::Foxtrot) {
        // The camera's own viewer tells the user twice: saving, then saved.
        CDlgMessage::setAutoClose(true);
        notice(editornotice::kSaving);
        notice(editornotice::kSaved);
    }

    // 7. The viewer's own options (kept even when the card refused the write).
    commitViewerOptions();
    finish(isSaveFailure(saved) ? SaveFailed : Saved);
}
