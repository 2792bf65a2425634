#pragma once

#include "camera/CameraModel.h"
#include "camera/SetupEditorRules.h"

#include <QList>
#include <QRect>
#include <QSize>

// The pages of a settings editor. Four-tab editors have no Wi-Fi page; the Advanced page exists only when
// the viewer tier is High at construction.
enum class EditorTab { Driving, Parking, WiFi, General, Advanced };

enum class EditorControlKind {
    Radio, // a skin radio button with its label to the right
    DateTime, // the camera clock to set (id 100)
    TimeZoneList, // the time-zone drop-down (id 101)
    Edit, // a text field of the record (Wi-Fi password, FTP ID, FTP password)
    Pie, // the storage-ratio pie (1110)
    RatioSlider, // the storage-ratio option slider (1109)
    MotionSlider, // the four-step motion slider with "Sensitive" left and "Insensitive" right
    Text, // a text of the record shown as it is (Wi-Fi name, firmware version)
    Legend, // the storage-ratio legend lines
};

// The viewer options on the General and Advanced pages.
enum class ViewerChoice { None, Tier, ChooserHidden, PostProcessing, NoiseReduction, Resampling };

// When a control is shown on its page.
enum class EditorVisibility { Always, VoiceOn, ParkingOn, FileType, NotWideMode };

struct EditorControl
{
    int id = 0;
    EditorControlKind kind = EditorControlKind::Radio;
    EditorTab tab = EditorTab::Driving;
    QRect rect; // client coordinates
    int labelId = 0; // string id of a radio's label
    bool setupOption = false; // the radio sets a record option ...
    SetupOption option = SetupOption::Quality;
    ViewerChoice viewer = ViewerChoice::None; // ... or a viewer option
    int value = 0; // the value the radio stands for
    EditorVisibility visibility = EditorVisibility::Always;
    int field = -1; // record offset of an Edit or a Text
};

// A section title at the left of a row group; groups after the first of a page are separated by a line.
struct EditorSection
{
    EditorTab tab = EditorTab::Driving;
    int titleId = 0;
    QRect rect;
    EditorVisibility visibility = EditorVisibility::Always;
    bool separatorAbove = false;
};

struct EditorLayout
{
    CameraModel model = CameraModel::Echo;
    bool korean = false;
    QSize clientSize;
    QList<EditorTab> tabs; // in strip order
    QList<EditorControl> controls;
    QList<EditorSection> sections;
    QRect okButton;
    QRect cancelButton;
    int tabTop = 5;
    int tabBottom = 35;

    // The rectangle of tab i of the strip: left 10, top 5, bottom 35, (W - 20) / n wide.
    QRect tabRect(int index) const;
    // The strip index under a point, or -1.
    int tabAt(const QPoint& point) const;
    // The tab's title id: long titles in the Korean layout and in every four-tab editor.
    int tabTitleId(EditorTab tab) const;
    const EditorControl* control(int id) const;
};

// Control ids beyond the Echo editor's own, for the options only the other models have.
namespace editorid {
inline constexpr int kQualityFullHd = 1080; // FULL HD (1080P), or Charlie's Wide Mode
inline constexpr int kQualityHd = 1083;
inline constexpr int kQualityD1 = 1084;
inline constexpr int kFrameFull = 1085;
inline constexpr int kFrameReduced = 1086;
inline constexpr int kDateTime = 100;
inline constexpr int kTimeZone = 101;
inline constexpr int kWifiPassword = 1076;
inline constexpr int kFtpId = 1077;
inline constexpr int kFtpPassword = 1078;
inline constexpr int kRatioSlider = 1109;
inline constexpr int kPie = 1110;
inline constexpr int kSpeedOff = 1129;
inline constexpr int kSpeedOn = 1130;
inline constexpr int kVolumeMiddle = 1131;
inline constexpr int kVolumeHigh = 1132;
inline constexpr int kSoundOff = 1133;
inline constexpr int kSoundOn = 1134;
inline constexpr int kMotionSlider = 1135;
inline constexpr int kWifiName = 1136;
inline constexpr int kFirmware = 1137;
inline constexpr int kLegend = 1138;
} // namespace editorid

// The layout of a model's editor for the Korean or the other countries' layout, with or without the
// Advanced page.
EditorLayout MakeEditorLayout(CameraModel model, bool korean, bool advancedTab);
