#pragma once

#include "camera/SetupRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// The options of the settings record an editor offers, each stored in one byte (the values are the byte's
// values: voice guidance 1 = OFF, 0 = ON; parking mode 0 = OFF, 2 = ON with shock and motion sensing).
enum class SetupOption {
    Quality,
    FrameRate,
    ShockSensing,
    Brightness,
    SpeedDisplay,
    RecordingVolume,
    VoiceGuidance,
    VoiceVolume,
    ParkingMode,
    ParkingSensing,
    ParkingShock,
    MotionSensitivity,
    Alarm,
    RecordingSound,
    DeletionMethod,
    FtpService,
};

// String ids of the notices and questions the editor shows.
namespace editornotice {
inline constexpr int kNone = 0;
inline constexpr int kSaveFailed = 258;
inline constexpr int kFirmwareNotice = 266;
inline constexpr int kTierAfterRestart = 276;
inline constexpr int kAdvancedAfterRestart = 282;
inline constexpr int kRatioMethodChanged = 552;
inline constexpr int kRatioChanged = 553;
inline constexpr int kAlarmRefused = 557;
inline constexpr int kEventOff = 558;
inline constexpr int kFtpLength = 569;
inline constexpr int kFtpCharacters = 573;
inline constexpr int kFileTypeRefused = 591;
inline constexpr int kParkingOff = 593;
inline constexpr int kClockQuestion = 602;
inline constexpr int kClockQuestionSeconds = 603;
inline constexpr int kWifiLength = 616;
inline constexpr int kWifiDigits = 617;
inline constexpr int kSaving = 618;
inline constexpr int kSaved = 619;
} // namespace editornotice

// How the storage ratios are shown: pie slices, the option slider's thumbs and the legend lines.
struct RatioView
{
    bool shown = false; // only with deletion by file type
    int parts = 3; // pie slices: 3, or 2 when shock sensing or parking mode is OFF
    bool twoThumbs = true;
    int sliderFirst = 0; // the option slider's setPosition(first, second, twoThumbs)
    int sliderSecond = 0;
    QList<qint64> pieValues;
    // Legend lines: the string id ("Normal : %d%%" ...) and its value.
    QList<QPair<int, int>> legend;

    bool operator==(const RatioView&) const = default;
};

// A question or notice text with its printf-style values.
struct EditorMessage
{
    int stringId = 0;
    QList<QVariant> values;
};

// The editor's rules, free of any window: what choosing an option does to the record and to the other
// options, how the ratios are shown, what the OK button asks and checks. The editor dialog only shows them.
class SetupEditorRules
{
public:
    explicit SetupEditorRules(SetupRecord& record);

    CameraModel model() const { return m_record.model(); }
    const SetupRecord& record() const { return m_record; }

    // Whether the model's editor offers the option.
    static bool offers(CameraModel model, SetupOption option);
    static int byteOf(CameraModel model, SetupOption option);

    int value(SetupOption option) const;
    // Applies a choice with its interplay. Returns the notice that refuses it (nothing changed), or 0.
    int choose(SetupOption option, int value);

    bool parkingOn() const;
    bool voiceGuidanceOn() const;
    bool shockSensingOn() const;
    bool deletionByFileType() const;
    // Charlie in Wide Mode records at one rate only, shown as "22fps".
    bool wideMode() const;

    RatioView ratioView() const;
    // The ratio slider moved: one thumb at step `first`, or two at `first` <= `second`. Ignored while
    // deletion is by time order.
    void moveRatioSlider(int first, int second, bool singleThumb);

    // The four-step motion slider (Alpha, AlphaSp, Foxtrot): positions 1..4 mean byte 11 = 3..0; any other
    // position snaps back to 1.
    static int motionValueForSliderPosition(int position);
    static int motionSliderPosition(int value);

    // The label id of a frame-rate choice: "24fps" (564) on Alpha and Bravo at FULL HD, "22fps" (563) on
    // Charlie in Wide Mode, else "30fps" (565) / "15fps" (562).
    int frameRateLabel(int frameRate) const;

    // OK, step 2: the one notice about the deletion method or the ratios (0 when none).
    int deletionNotice() const;

    // OK, steps 4 and 5: the notice that keeps the dialog open, or 0.
    static int wifiPasswordNotice(const QString& password);
    static int ftpAccountNotice(const QString& id, const QString& password);

    // OK, step 1: the question asked before the clock is set to `chosen` (nothing for models without a
    // clock). Korean systems get the four-digit year (and seconds where the model keeps them).
    static std::optional<EditorMessage> clockQuestion(CameraModel model, int countryCode, const QDateTime& chosen);

private:
    void setByte(int offset, int value) { m_record.setByte(offset, static_cast<quint8>(value)); }
    void setRatios(int normal, int event, int parking);

    SetupRecord& m_record;
};

// The firmware notice shown at start on Korean systems: string 266 with the firmware version, the viewer
// version (string 131) and the deletion method's name (273 by file type, 556 by time order). Nothing when
// the record was not loaded or the country is not Korea.
struct FirmwareNotice
{
    int major = 0;
    int minor = 0;
    int deletionMethodStringId = 0;
};
std::optional<FirmwareNotice> firmwareNoticeFor(const SetupRecord& record, int countryCode);

// printf-style formatting of a string-table text: %d, %s (also with flags and width, e.g. "%-5d"), "%%".
QString FormatMessageText(const QString& format, const QList<QVariant>& values);
