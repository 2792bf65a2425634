#include "camera/SetupEditorLayout.h"

#include <algorithm>

namespace {

using M = CameraModel;
using O = SetupOption;
using K = EditorControlKind;
using V = EditorVisibility;

// Wide enough for the longest label right of the last radio column (the tab strip divides whatever width
// there is).
constexpr int kWidth = 470;
constexpr int kRadio = 15;
constexpr int kTitleX = 16;
constexpr int kMinButtonTop = 370;

// Label ids of texts that every page uses.
namespace label {
constexpr int kOff = 587;
constexpr int kOn = 588;
constexpr int kInsensitive = 578;
constexpr int kNormal = 586;
constexpr int kSensitive = 601;
constexpr int kMinimum = 580;
constexpr int kMiddle = 581;
constexpr int kMaximum = 579;
} // namespace label

class Builder
{
public:
    Builder(EditorLayout& layout, EditorTab tab)
        : m_layout(layout)
        , m_tab(tab)
    {
    }

    bool ko() const { return m_layout.korean; }
    // The first radio column of the page: section titles end before it.
    void setColumn(int x) { m_column = x; }

    void radio(int id, int x, int y, int labelId, O option, int value, V visibility = V::Always)
    {
        EditorControl c;
        c.id = id;
        c.kind = K::Radio;
        c.tab = m_tab;
        c.rect = QRect(x, y, kRadio, kRadio);
        c.labelId = labelId;
        c.setupOption = true;
        c.option = option;
        c.value = value;
        c.visibility = visibility;
        m_layout.controls.append(c);
    }
    void viewer(int id, int x, int y, int labelId, ViewerChoice choice, int value)
    {
        EditorControl c;
        c.id = id;
        c.kind = K::Radio;
        c.tab = m_tab;
        c.rect = QRect(x, y, kRadio, kRadio);
        c.labelId = labelId;
        c.viewer = choice;
        c.value = value;
        m_layout.controls.append(c);
    }
    void control(int id, K kind, const QRect& rect, V visibility = V::Always, int field = -1, int labelId = 0)
    {
        EditorControl c;
        c.id = id;
        c.kind = kind;
        c.tab = m_tab;
        c.rect = rect;
        c.visibility = visibility;
        c.field = field;
        c.labelId = labelId;
        m_layout.controls.append(c);
    }
    void section(int titleId, int y, V visibility = V::Always)
    {
        EditorSection s;
        s.tab = m_tab;
        s.titleId = titleId;
        s.rect = QRect(kTitleX, y - 1, m_column - kTitleX - 6, 32);
        s.visibility = visibility;
        s.separatorAbove = m_sections++ > 0;
        m_layout.sections.append(s);
    }

private:
    EditorLayout& m_layout;
    EditorTab m_tab;
    int m_column = 195;
    int m_sections = 0;
};

bool hasFourStepMotion(M model)
{
    return model == M::Alpha || model == M::AlphaSp || model == M::Foxtrot;
}

void motionRow(Builder& b, M model, int col1, int col2, int col3, int y)
{
    b.section(584, y);
    if (hasFourStepMotion(model)) {
        // "Sensitive" left of the slider, "Insensitive" right of it (the dialog places both labels).
        const QRect slider = b.ko() ? QRect(180, y - 6, 150, 25) : QRect(255, y - 6, 130, 25);
        b.control(editorid::kMotionSlider, K::MotionSlider, slider);
        return;
    }
    b.radio(1100, col1, y, label::kInsensitive, O::MotionSensitivity, 0);
    b.radio(1101, col2, y, label::kNormal, O::MotionSensitivity, 1);
    b.radio(1102, col3, y, label::kSensitive, O::MotionSensitivity, 2);
}

void parkingPage(EditorLayout& layout, M model)
{
    Builder b(layout, EditorTab::Parking);
    const bool ko = layout.korean;
    const int c1 = ko ? 135 : 195;
    b.setColumn(c1);
    b.section(592, 50);
    b.radio(1093, c1, 50, label::kOn, O::ParkingMode, 2);
    b.radio(1094, ko ? 265 : 280, 50, 583, O::ParkingSensing, 2, V::ParkingOn);
    b.radio(1095, c1, 80, label::kOff, O::ParkingMode, 0);
    b.radio(1096, ko ? 265 : 280, 80, 574, O::ParkingSensing, 1, V::ParkingOn);
    const int c2 = ko ? 230 : 290;
    const int c3 = ko ? 330 : 365;
    b.section(576, 119);
    b.radio(1097, c1, 119, label::kInsensitive, O::ParkingShock, 0);
    b.radio(1098, c2, 119, label::kNormal, O::ParkingShock, 1);
    b.radio(1099, c3, 119, label::kSensitive, O::ParkingShock, 2);
    motionRow(b, model, c1, c2, c3, 157);
}

void wifiPage(EditorLayout& layout)
{
    Builder b(layout, EditorTab::WiFi);
    const bool ko = layout.korean;
    const int c1 = ko ? 135 : 195;
    const int width = ko ? 200 : 235;
    b.setColumn(c1);
    b.section(613, 50);
    b.control(editorid::kWifiName, K::Text, QRect(c1, 48, width, 20), V::Always, setup::kWifiName);
    b.section(614, 80);
    b.control(editorid::kWifiPassword, K::Edit, QRect(c1, 80, width, 20), V::Always, setup::kWifiPassword);
    b.control(0, K::Text, QRect(c1 + 2, 101, width, 16), V::Always, -1, 615);
    b.section(566, 121);
    b.radio(1103, c1, 121, label::kOff, O::FtpService, 0);
    b.radio(1104, ko ? 265 : 310, 121, label::kOn, O::FtpService, 1);
    EditorSection id;
    id.tab = EditorTab::WiFi;
    id.titleId = 567;
    id.rect = QRect(kTitleX + 12, 151, c1 - kTitleX - 18, 20);
    layout.sections.append(id);
    EditorSection password = id;
    password.titleId = 568;
    password.rect.moveTop(181);
    layout.sections.append(password);
    b.control(editorid::kFtpId, K::Edit, QRect(c1, 150, width, 20), V::Always, setup::kFtpId);
    b.control(editorid::kFtpPassword, K::Edit, QRect(c1, 180, width, 20), V::Always, setup::kFtpPassword);
}

// The deletion method with its ratio controls and the alarm, at the top of every General page.
void deletionAndAlarm(Builder& b, bool ko, int c1)
{
    b.section(554, 50);
    b.radio(1105, c1, 50, 556, O::DeletionMethod, 1);
    b.radio(1106, c1, 95, 555, O::DeletionMethod, 0);
    b.control(editorid::kPie, K::Pie, ko ? QRect(280, 41, 75, 75) : QRect(295, 50, 60, 60), V::FileType);
    b.control(editorid::kLegend, K::Legend, ko ? QRect(362, 46, 84, 50) : QRect(362, 52, 84, 50), V::FileType);
    b.control(editorid::kRatioSlider, K::RatioSlider, QRect(150, 115, 260, 25), V::FileType);
    b.section(577, 158);
    b.radio(1107, c1, 158, label::kOff, O::Alarm, 0);
    b.radio(1108, ko ? 265 : 290, 158, label::kOn, O::Alarm, 1);
}

void viewerRows(Builder& b, bool ko, int c1, int y)
{
    b.section(275, y);
    b.viewer(1116, c1, y, 609, ViewerChoice::Tier, 0);
    b.viewer(1117, ko ? 230 : 250, y, 608, ViewerChoice::Tier, 1);
    b.viewer(1118, ko ? 330 : 355, y, 607, ViewerChoice::Tier, 2);
    y += 40;
    b.section(621, y);
    b.viewer(1127, c1, y, 622, ViewerChoice::ChooserHidden, 0);
    b.viewer(1128, ko ? 265 : 290, y, 623, ViewerChoice::ChooserHidden, 1);
}

void advancedPage(EditorLayout& layout)
{
    Builder b(layout, EditorTab::Advanced);
    const bool ko = layout.korean;
    const int c1 = ko ? 135 : 155;
    b.setColumn(c1);
    b.section(606, 50);
    b.viewer(1119, c1, 50, label::kOff, ViewerChoice::PostProcessing, 0);
    b.viewer(1120, ko ? 200 : 215, 50, label::kMinimum, ViewerChoice::PostProcessing, 1);
    b.viewer(1121, ko ? 265 : 295, 50, label::kMiddle, ViewerChoice::PostProcessing, 3);
    b.viewer(1122, ko ? 330 : 365, 50, label::kMaximum, ViewerChoice::PostProcessing, 6);
    b.section(585, 89);
    b.viewer(1123, c1, 89, label::kOff, ViewerChoice::NoiseReduction, 0);
    b.viewer(1124, ko ? 265 : 285, 89, label::kOn, ViewerChoice::NoiseReduction, 1);
    b.section(572, 127);
    b.viewer(1125, c1, 127, label::kOff, ViewerChoice::Resampling, 0);
    b.viewer(1126, ko ? 265 : 285, 127, label::kOn, ViewerChoice::Resampling, 1);
}

// Delta and Echo: the positions of the five-tab editor.
void networkModelPages(EditorLayout& layout, M model)
{
    const bool ko = layout.korean;
    {
        Builder b(layout, EditorTab::Driving);
        const int c1 = ko ? 135 : 195;
        const int c2 = ko ? 265 : 310;
        b.setColumn(c1);
        b.section(596, 50);
        b.radio(editorid::kQualityHd, c1, 50, 589, O::Quality, 1);
        b.radio(editorid::kQualityD1, c1, 80, 594, O::Quality, 2);
        b.radio(editorid::kFrameFull, c2, 50, 565, O::FrameRate, 0);
        b.radio(editorid::kFrameReduced, c2, 80, 562, O::FrameRate, 1);
        b.section(575, 118);
        if (ko) {
            b.radio(1087, 135, 118, label::kOff, O::ShockSensing, 0);
            b.radio(1088, 200, 118, label::kInsensitive, O::ShockSensing, 1);
            b.radio(1089, 256, 118, label::kNormal, O::ShockSensing, 2);
            b.radio(1090, 330, 118, label::kSensitive, O::ShockSensing, 3);
        } else {
            b.radio(1087, 195, 118, label::kOff, O::ShockSensing, 0);
            b.radio(1088, 310, 118, label::kInsensitive, O::ShockSensing, 1);
            b.radio(1089, 195, 148, label::kNormal, O::ShockSensing, 2);
            b.radio(1090, 310, 148, label::kSensitive, O::ShockSensing, 3);
        }
        const int bright = ko ? 157 : 187;
        b.section(595, bright);
        b.radio(1091, c1, bright, label::kNormal, O::Brightness, 0);
        b.radio(1092, c2, bright, 551, O::Brightness, 1);
        const QRect clock = ko ? QRect(QPoint(130, 192), QPoint(400, 217)) : QRect(QPoint(198, 221), QPoint(430, 248));
        b.section(604, clock.top() + 5);
        b.control(editorid::kDateTime, K::DateTime, clock);
        if (model == M::Echo) {
            const int voice = ko ? 237 : 267;
            b.section(610, voice);
            b.radio(1111, c1, voice, label::kOff, O::VoiceGuidance, 1);
            b.radio(1112, c2, voice, label::kOn, O::VoiceGuidance, 0);
            const int volume = voice + 38;
            b.section(611, volume, V::VoiceOn);
            b.radio(1113, c1, volume, label::kMinimum, O::VoiceVolume, 0, V::VoiceOn);
            b.radio(1114, ko ? 230 : 290, volume, label::kMiddle, O::VoiceVolume, 1, V::VoiceOn);
            b.radio(1115, ko ? 330 : 365, volume, label::kMaximum, O::VoiceVolume, 2, V::VoiceOn);
        }
    }
    parkingPage(layout, model);
    wifiPage(layout);
    {
        Builder b(layout, EditorTab::General);
        const int c1 = ko ? 135 : 145;
        b.setColumn(c1);
        deletionAndAlarm(b, ko, c1);
        b.section(570, 197);
        b.control(editorid::kFirmware, K::Text, QRect(c1, 195, 285, 20));
        viewerRows(b, ko, c1, 237);
    }
}

void fourTabPages(EditorLayout& layout, M model)
{
    const bool ko = layout.korean;
    {
        Builder b(layout, EditorTab::Driving);
        const int c1 = ko ? 135 : 195;
        const int c2 = ko ? 265 : 310;
        b.setColumn(c1);
        b.section(596, 50);
        b.radio(editorid::kQualityFullHd, c1, 50, model == M::Charlie ? 598 : 597, O::Quality, 0);
        b.radio(editorid::kQualityHd, c1, 80, 589, O::Quality, 1);
        b.radio(editorid::kQualityD1, c1, 110, 594, O::Quality, 2);
        // Right of the widest quality label.
        const int rate = ko ? 265 : 330;
        b.radio(editorid::kFrameFull, rate, 50, 565, O::FrameRate, 0, V::NotWideMode);
        b.radio(editorid::kFrameReduced, rate, 80, 562, O::FrameRate, 1);
        int y = 148;
        b.section(575, y);
        if (ko) {
            b.radio(1087, 135, y, label::kOff, O::ShockSensing, 0);
            b.radio(1088, 200, y, label::kInsensitive, O::ShockSensing, 1);
            b.radio(1089, 256, y, label::kNormal, O::ShockSensing, 2);
            b.radio(1090, 330, y, label::kSensitive, O::ShockSensing, 3);
            y += 38;
        } else {
            b.radio(1087, 195, y, label::kOff, O::ShockSensing, 0);
            b.radio(1088, 310, y, label::kInsensitive, O::ShockSensing, 1);
            b.radio(1089, 195, y + 30, label::kNormal, O::ShockSensing, 2);
            b.radio(1090, 310, y + 30, label::kSensitive, O::ShockSensing, 3);
            y += 68;
        }
        b.section(595, y);
        b.radio(1091, c1, y, label::kNormal, O::Brightness, 0);
        b.radio(1092, c2, y, 551, O::Brightness, 1);
        y += 38;
        b.section(590, y);
        b.radio(editorid::kSpeedOff, c1, y, label::kOff, O::SpeedDisplay, 1);
        b.radio(editorid::kSpeedOn, c2, y, label::kOn, O::SpeedDisplay, 0);
        if (model == M::Foxtrot) {
            y += 38;
            b.section(620, y);
            b.radio(editorid::kVolumeMiddle, c1, y, label::kMiddle, O::RecordingVolume, 0);
            b.radio(editorid::kVolumeHigh, c2, y, 571, O::RecordingVolume, 1);
        }
        if (voiceGuidanceOffset(model)) {
            y += 38;
            b.section(610, y);
            b.radio(1111, c1, y, label::kOff, O::VoiceGuidance, 1);
            b.radio(1112, c2, y, label::kOn, O::VoiceGuidance, 0);
            y += 38;
            b.section(611, y, V::VoiceOn);
            b.radio(1113, c1, y, label::kMinimum, O::VoiceVolume, 0, V::VoiceOn);
            b.radio(1114, ko ? 230 : 290, y, label::kMiddle, O::VoiceVolume, 1, V::VoiceOn);
            b.radio(1115, ko ? 330 : 365, y, label::kMaximum, O::VoiceVolume, 2, V::VoiceOn);
        }
    }
    parkingPage(layout, model);
    {
        Builder b(layout, EditorTab::General);
        const int c1 = ko ? 135 : 145;
        b.setColumn(c1);
        deletionAndAlarm(b, ko, c1);
        int y = 196;
        if (model == M::Charlie) {
            b.section(612, y);
            b.radio(editorid::kSoundOff, c1, y, label::kOff, O::RecordingSound, 0);
            b.radio(editorid::kSoundOn, ko ? 265 : 290, y, label::kOn, O::RecordingSound, 1);
            y += 38;
        }
        b.section(605, y);
        b.control(editorid::kTimeZone, K::TimeZoneList, QRect(c1, y - 3, (ko ? 400 : 430) - c1, 21));
        y += 38;
        if (clockBlockLayout(model)) {
            b.section(604, y);
            b.control(editorid::kDateTime, K::DateTime, QRect(c1, y - 5, (ko ? 400 : 430) - c1, 26));
            y += 44;
        }
        b.section(570, y);
        b.control(editorid::kFirmware, K::Text, QRect(c1, y - 2, 285, 20));
        y += 40;
        viewerRows(b, ko, c1, y);
    }
}

} // namespace

QRect EditorLayout::tabRect(int index) const
{
    const int n = static_cast<int>(tabs.size());
    if (index < 0 || index >= n)
        return QRect();
    const int width = (clientSize.width() - 20) / n;
    return QRect(10 + index * width, tabTop, width, tabBottom - tabTop);
}

int EditorLayout::tabAt(const QPoint& point) const
{
    for (int i = 0; i < tabs.size(); ++i) {
        if (tabRect(i).contains(point))
            return i;
    }
    return -1;
}

int EditorLayout::tabTitleId(EditorTab tab) const
{
    const bool longTitles = korean || !tabs.contains(EditorTab::WiFi);
    switch (tab) {
    case EditorTab::Driving:
        return longTitles ? 502 : 507;
    case EditorTab::Parking:
        return longTitles ? 504 : 509;
    case EditorTab::WiFi:
        return longTitles ? 505 : 510;
    case EditorTab::General:
        return longTitles ? 503 : 508;
    case EditorTab::Advanced:
        return tabs.contains(EditorTab::WiFi) ? 506 : 501;
    }
    return 0;
}

const EditorControl* EditorLayout::control(int id) const
{
    for (const EditorControl& c : controls) {
        if (c.id == id && id != 0)
            return &c;
    }
    return nullptr;
}

EditorLayout MakeEditorLayout(CameraModel model, bool korean, bool advancedTab)
{
    EditorLayout layout;
    layout.model = model;
    layout.korean = korean;
    layout.tabs = { EditorTab::Driving, EditorTab::Parking };
    if (hasNetworkFields(model)) {
        layout.tabs.append(EditorTab::WiFi);
        networkModelPages(layout, model);
    } else {
        fourTabPages(layout, model);
    }
    layout.tabs.append(EditorTab::General);
    if (advancedTab) {
        layout.tabs.append(EditorTab::Advanced);
        advancedPage(layout);
    }
    // The buttons sit below the longest page.
    int bottom = 0;
    for (const EditorControl& c : layout.controls)
        bottom = std::max(bottom, c.rect.bottom());
    const int buttonTop = std::max(kMinButtonTop, bottom + 26);
    layout.okButton = QRect(145, buttonTop, 64, 29);
    layout.cancelButton = QRect(237, buttonTop, 64, 29);
    layout.clientSize = QSize(kWidth, buttonTop + 29 + 11);
    return layout;
}
