#include "camera/SetupEditorRules.h"

#include <QRegularExpression>

using namespace setup;
using M = CameraModel;

namespace {

bool isAscii(QChar c, bool lettersToo)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return true;
    return lettersToo && ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z'));
}

bool allOf(const QString& text, bool lettersToo)
{
    for (const QChar c : text) {
        if (!isAscii(c, lettersToo))
            return false;
    }
    return true;
}

} // namespace

SetupEditorRules::SetupEditorRules(SetupRecord& record)
    : m_record(record)
{
}

int SetupEditorRules::byteOf(CameraModel model, SetupOption option)
{
    switch (option) {
    case SetupOption::Quality:
        return kQuality;
    case SetupOption::FrameRate:
        return kFrameRate;
    case SetupOption::ShockSensing:
        return kShockSensing;
    case SetupOption::Brightness:
        return kBrightness;
    case SetupOption::SpeedDisplay:
        return kSpeedDisplay;
    case SetupOption::RecordingVolume:
        return kRecordingVolume;
    case SetupOption::VoiceGuidance:
        return voiceGuidanceOffset(model).value_or(-1);
    case SetupOption::VoiceVolume: {
        const auto voice = voiceGuidanceOffset(model);
        return voice ? *voice + 1 : -1;
    }
    case SetupOption::ParkingMode:
    case SetupOption::ParkingSensing:
        return kParkingMode;
    case SetupOption::ParkingShock:
        return kParkingShock;
    case SetupOption::MotionSensitivity:
        return kMotionSensitivity;
    case SetupOption::Alarm:
        return kAlarm;
    case SetupOption::RecordingSound:
        return kRecordingSound;
    case SetupOption::DeletionMethod:
        return kDeletionMethod;
    case SetupOption::FtpService:
        return kFtpService;
    }
    return -1;
}

bool SetupEditorRules::offers(CameraModel model, SetupOption option)
{
    switch (option) {
    case SetupOption::SpeedDisplay:
        return !hasNetworkFields(model);
    case SetupOption::RecordingVolume:
        return model == M::Foxtrot;
    case SetupOption::VoiceGuidance:
    case SetupOption::VoiceVolume:
        return voiceGuidanceOffset(model).has_value();
    case SetupOption::RecordingSound:
        return model == M::Charlie;
    case SetupOption::FtpService:
        return hasNetworkFields(model);
    default:
        return true;
    }
}

int SetupEditorRules::value(SetupOption option) const
{
    const int offset = byteOf(model(), option);
    return offset < 0 ? 0 : m_record.byte(offset);
}

bool SetupEditorRules::parkingOn() const
{
    return m_record.byte(kParkingMode) != 0;
}

bool SetupEditorRules::voiceGuidanceOn() const
{
    const auto voice = voiceGuidanceOffset(model());
    return voice && m_record.byte(*voice) == 0;
}

bool SetupEditorRules::shockSensingOn() const
{
    return m_record.byte(kShockSensing) != 0;
}

bool SetupEditorRules::deletionByFileType() const
{
    return m_record.byte(kDeletionMethod) == 0;
}

bool SetupEditorRules::wideMode() const
{
    return model() == M::Charlie && m_record.byte(kQuality) == 0;
}

void SetupEditorRules::setRatios(int normal, int event, int parking)
{
    setByte(kRatioNormal, normal);
    setByte(kRatioEvent, event);
    setByte(kRatioParking, parking);
}

int SetupEditorRules::choose(SetupOption option, int value)
{
    if (!offers(model(), option))
        return editornotice::kNone;
    const bool fileType = deletionByFileType();
    switch (option) {
    case SetupOption::ShockSensing:
        if (value == 0) {
            setByte(kShockSensing, 0);
            // The alarm sounds on sensed shocks: without sensing it has nothing to do.
            setByte(kAlarm, 0);
            if (fileType) {
                if (parkingOn()) {
                    setRatios(50, 0, 50);
                } else {
                    setByte(kDeletionMethod, 1);
                    setRatios(kDefaultRatioNormal, kDefaultRatioEvent, kDefaultRatioParking);
                }
            }
        } else {
            if (fileType && !shockSensingOn() && parkingOn())
                setRatios(kDefaultRatioNormal, kDefaultRatioEvent, kDefaultRatioParking);
            setByte(kShockSensing, value);
        }
        return editornotice::kNone;

    case SetupOption::ParkingMode:
        if (value != 0) {
            setByte(kParkingMode, 2);
            if (fileType && shockSensingOn())
                setRatios(kDefaultRatioNormal, kDefaultRatioEvent, kDefaultRatioParking);
        } else {
            setByte(kParkingMode, 0);
            if (fileType) {
                if (shockSensingOn()) {
                    setRatios(50, 50, 0);
                } else {
                    setByte(kDeletionMethod, 1);
                    setRatios(kDefaultRatioNormal, kDefaultRatioEvent, kDefaultRatioParking);
                }
            }
        }
        return editornotice::kNone;

    case SetupOption::ParkingSensing:
        // The sensing choice exists only while parking mode is on.
        if (parkingOn())
            setByte(kParkingMode, value == 1 ? 1 : 2);
        return editornotice::kNone;

    case SetupOption::DeletionMethod:
        if (value != 0) {
            setByte(kDeletionMethod, 1);
            m_record.applyStorageRatioRule();
            return editornotice::kNone;
        }
        if (!shockSensingOn() && !parkingOn())
            return editornotice::kFileTypeRefused;
        setByte(kDeletionMethod, 0);
        if (shockSensingOn() && parkingOn()) {
            m_record.applyStorageRatioRule();
        } else {
            const int normal = m_record.byte(kRatioNormal);
            const int other = m_record.byte(parkingOn() ? kRatioParking : kRatioEvent);
            const bool adds = normal + other == 100;
            if (parkingOn())
                setRatios(adds ? normal : 50, 0, adds ? other : 50);
            else
                setRatios(adds ? normal : 50, adds ? other : 50, 0);
        }
        return editornotice::kNone;

    case SetupOption::Alarm:
        if (value != 0 && !shockSensingOn())
            return editornotice::kAlarmRefused;
        setByte(kAlarm, value != 0 ? 1 : 0);
        return editornotice::kNone;

    case SetupOption::Quality:
        setByte(kQuality, value);
        // Wide Mode offers one frame rate only, stored as the reduced one.
        if (model() == M::Charlie && value == 0)
            setByte(kFrameRate, 1);
        return editornotice::kNone;

    case SetupOption::FrameRate:
        if (wideMode())
            return editornotice::kNone;
        setByte(kFrameRate, value);
        return editornotice::kNone;

    case SetupOption::MotionSensitivity:
    case SetupOption::Brightness:
    case SetupOption::SpeedDisplay:
    case SetupOption::RecordingVolume:
    case SetupOption::VoiceGuidance:
    case SetupOption::VoiceVolume:
    case SetupOption::ParkingShock:
    case SetupOption::RecordingSound:
    case SetupOption::FtpService:
        setByte(byteOf(model(), option), value);
        return editornotice::kNone;
    }
    return editornotice::kNone;
}

RatioView SetupEditorRules::ratioView() const
{
    RatioView view;
    view.shown = deletionByFileType();
    const int normal = m_record.byte(kRatioNormal);
    const int event = m_record.byte(kRatioEvent);
    const int parking = m_record.byte(kRatioParking);
    if (parkingOn() && shockSensingOn()) {
        view.parts = 3;
        view.twoThumbs = true;
        view.sliderFirst = normal;
        view.sliderSecond = event;
        view.pieValues = { normal, event, parking };
    } else {
        view.parts = 2;
        view.twoThumbs = false;
        view.sliderFirst = normal;
        view.sliderSecond = 0;
        view.pieValues = { normal, parkingOn() ? parking : event };
    }
    view.legend.append({ 560, normal });
    if (event > 0)
        view.legend.append({ 559, event });
    if (parking > 0)
        view.legend.append({ 561, parking });
    return view;
}

void SetupEditorRules::moveRatioSlider(int first, int second, bool singleThumb)
{
    if (!deletionByFileType())
        return;
    first = qBound(0, first, 10);
    second = qBound(0, second, 10);
    if (singleThumb) {
        const int normal = 10 * first;
        if (m_record.byte(kRatioEvent) != 0)
            setRatios(normal, 100 - normal, 0);
        else
            setRatios(normal, 0, 100 - normal);
    } else {
        if (second < first)
            std::swap(first, second);
        setRatios(10 * first, 10 * (second - first), 100 - 10 * second);
    }
}

int SetupEditorRules::motionValueForSliderPosition(int position)
{
    return (position >= 1 && position <= 4) ? 4 - position : 3;
}

int SetupEditorRules::motionSliderPosition(int value)
{
    return (value >= 0 && value <= 3) ? 4 - value : 1;
}

int SetupEditorRules::frameRateLabel(int frameRate) const
{
    if (frameRate != 0)
        return wideMode() ? 563 : 562;
    if ((model() == M::Alpha || model() == M::Bravo) && m_record.byte(kQuality) == 0)
        return 564;
    return 565;
}

int SetupEditorRules::deletionNotice() const
{
    const QByteArray& loaded = m_record.loadedCopy();
    const auto before = [&loaded](int offset) { return static_cast<quint8>(loaded.at(offset)); };
    if (m_record.byte(kDeletionMethod) != before(kDeletionMethod))
        return editornotice::kRatioMethodChanged;
    if (!deletionByFileType())
        return editornotice::kNone;
    if (before(kShockSensing) != 0 && m_record.byte(kShockSensing) == 0)
        return editornotice::kEventOff;
    if (before(kParkingMode) != 0 && m_record.byte(kParkingMode) == 0)
        return editornotice::kParkingOff;
    for (int offset : { kRatioNormal, kRatioEvent, kRatioParking }) {
        if (m_record.byte(offset) != before(offset))
            return editornotice::kRatioChanged;
    }
    return editornotice::kNone;
}

int SetupEditorRules::wifiPasswordNotice(const QString& password)
{
    if (password.size() != 10)
        return editornotice::kWifiLength;
    if (!allOf(password, false))
        return editornotice::kWifiDigits;
    return editornotice::kNone;
}

int SetupEditorRules::ftpAccountNotice(const QString& id, const QString& password)
{
    for (const QString& text : { id, password }) {
        if (text.size() < 8 || text.size() > 16)
            return editornotice::kFtpLength;
        if (!allOf(text, true))
            return editornotice::kFtpCharacters;
    }
    return editornotice::kNone;
}

std::optional<EditorMessage> SetupEditorRules::clockQuestion(CameraModel model, int countryCode, const QDateTime& chosen)
{
    const auto layout = clockBlockLayout(model);
    if (!layout)
        return std::nullopt;
    const bool korea = countryCode == 82;
    const QDate date = chosen.date();
    const QTime time = chosen.time();
    // The two-digit year is the third and fourth character of the year's decimal text.
    const QString yearText = QString::number(date.year());
    const int shortYear = yearText.size() >= 4 ? yearText.mid(2, 2).toInt() : date.year();
    const int year = korea ? date.year() : shortYear;
    EditorMessage message;
    message.values = { year, date.month(), date.day(), time.hour(), time.minute() };
    if (korea && layout->hasSeconds) {
        message.stringId = editornotice::kClockQuestionSeconds;
        message.values.append(time.second());
    } else {
        message.stringId = editornotice::kClockQuestion;
    }
    return message;
}

std::optional<FirmwareNotice> firmwareNoticeFor(const SetupRecord& record, int countryCode)
{
    if (!record.isLoaded() || countryCode != 82)
        return std::nullopt;
    FirmwareNotice notice;
    notice.major = record.byte(kFirmwareMajor);
    notice.minor = record.byte(kFirmwareMinor);
    notice.deletionMethodStringId = record.byte(kDeletionMethod) == 0 ? 273 : 556;
    return notice;
}

QString FormatMessageText(const QString& format, const QList<QVariant>& values)
{
    static const QRegularExpression spec(QStringLiteral("%([-+ 0#]*)(\\d*)(?:\\.(\\d+))?(l{0,2}[dius]|%)"));
    QString out;
    qsizetype from = 0;
    int next = 0;
    auto it = spec.globalMatch(format);
    while (it.hasNext()) {
        const auto match = it.next();
        out += format.mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        const QString conversion = match.captured(4);
        if (conversion == QLatin1String("%")) {
            out += QLatin1Char('%');
            continue;
        }
        const QVariant value = next < values.size() ? values.at(next) : QVariant();
        ++next;
        QString text = conversion.endsWith(QLatin1Char('s')) ? value.toString() : QString::number(value.toLongLong());
        const int width = match.captured(2).toInt();
        const bool left = match.captured(1).contains(QLatin1Char('-'));
        const bool zero = match.captured(1).contains(QLatin1Char('0')) && !left;
        if (text.size() < width)
            text = left ? text.leftJustified(width) : text.rightJustified(width, zero ? QLatin1Char('0') : QLatin1Char(' '));
        out += text;
    }
    out += format.mid(from);
    return out;
}
