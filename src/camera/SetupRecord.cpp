#include "camera/SetupRecord.h"

#include "camera/AnsiCodePage.h"
#include "camera/SetupBackup.h"
#include "camera/TimeZoneTable.h"
#include "platform/FileTransfer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// One enumerated option: values min..max are valid, anything else is replaced by reset on load.
struct ByteRule
{
    int offset;
    quint8 min;
    quint8 max;
    quint8 reset;
};

std::vector<ByteRule> byteRules(CameraModel model)
{
    using namespace setup;
    using M = CameraModel;
    std::vector<ByteRule> rules = {
        { kFrameRate, 0, 1, 0 },
        { kShockSensing, 0, 3, 2 },
        { kParkingMode, 0, 2, 2 },
        { kParkingShock, 0, 2, 1 },
        { kBrightness, 0, 1, 0 },
        { kDeletionMethod, 0, 1, 1 },
    };
    const bool fullHd = model == M::Alpha || model == M::AlphaSp || model == M::Bravo || model == M::Foxtrot;
    const bool fourStepMotion = model == M::Alpha || model == M::AlphaSp || model == M::Foxtrot;
    const bool mp4 = model == M::Delta || model == M::Echo;

    if (fullHd)
        rules.push_back({ kQuality, 0, 2, 0 });
    else if (model == M::Charlie)
        rules.push_back({ kQuality, 0, 2, 1 });
    else
        rules.push_back({ kQuality, 1, 2, 1 });

    rules.push_back(
        fourStepMotion ? ByteRule { kMotionSensitivity, 0, 3, 3 } : ByteRule { kMotionSensitivity, 0, 2, 1 });
    rules.push_back({ kAlarm, 0, 1, static_cast<quint8>(fullHd ? 1 : 0) });
    if (!mp4)
        rules.push_back({ kSpeedDisplay, 0, 1, 1 });
    if (model == M::Charlie)
        rules.push_back({ kRecordingSound, 0, 1, 1 });
    if (const auto voice = voiceGuidanceOffset(model)) {
        rules.push_back({ *voice, 0, 1, 1 });
        rules.push_back({ *voice + 1, 0, 2, 1 });
    }
    if (model == M::Foxtrot)
        rules.push_back({ kRecordingVolume, 0, 1, 0 });
    if (mp4)
        rules.push_back({ kFtpService, 0, 1, 0 });
    return rules;
}

// Text fields compare as C strings: up to the first NUL, never past the 17-byte field.
QByteArray fieldText(const QByteArray& image, int offset)
{
    if (offset < 0 || offset + setup::kTextFieldLength > image.size())
        return QByteArray();
    const char* start = image.constData() + offset;
    const void* nul = std::memchr(start, 0, setup::kTextFieldLength);
    const qsizetype length = nul ? static_cast<const char*>(nul) - start : setup::kTextFieldLength;
    return QByteArray(start, length);
}

// Reads up to length bytes; false only when the device reports an error.
bool readUpTo(QIODevice& device, char* into, qint64 length)
{
    qint64 total = 0;
    while (total < length) {
        const qint64 got = device.read(into + total, length - total);
        if (got < 0)
            return false;
        if (got == 0 && !device.waitForReadyRead(0))
            break;
        total += got;
    }
    return true;
}

// A settings file is a few dozen bytes; anything far larger is not one the camera wrote, and is not read whole.
constexpr qint64 kMaxFileBytes = 64 * 1024;

// Reads the whole file (up to the cap); false when it cannot be read.
bool readWhole(const QString& path, QByteArray& out, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly)) {
        error = file.errorString();
        return false;
    }
    out = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

// Makes the rename itself durable; some file systems cannot sync a folder, which is no failure.
void syncFolder(const QString& folder)
{
    platform::syncDirectory(folder);
}

std::function<void(SetupSaveStage, const QString&)>& saveHook()
{
    static std::function<void(SetupSaveStage, const QString&)> hook;
    return hook;
}

} // namespace

void setSetupSaveHookForTesting(std::function<void(SetupSaveStage, const QString&)> hook)
{
    saveHook() = std::move(hook);
}

bool isSaveFailure(SetupSaveResult result)
{
    return result != SetupSaveResult::Saved && result != SetupSaveResult::SizeChanged;
}

std::optional<ClockBlockLayout> clockBlockLayout(CameraModel model)
{
    switch (model) {
    case CameraModel::Bravo:
    case CameraModel::Charlie:
        return ClockBlockLayout { 19, false };
    case CameraModel::Delta:
    case CameraModel::Echo:
        return ClockBlockLayout { 19, true };
    case CameraModel::Foxtrot:
        return ClockBlockLayout { 21, true };
    case CameraModel::Alpha:
    case CameraModel::AlphaSp:
        break;
    }
    return std::nullopt;
}

std::optional<int> voiceGuidanceOffset(CameraModel model)
{
    switch (model) {
    case CameraModel::AlphaSp:
    case CameraModel::Foxtrot:
        return 19;
    case CameraModel::Echo:
        return 98;
    default:
        return std::nullopt;
    }
}

bool hasTimeZone(CameraModel model)
{
    return !hasNetworkFields(model);
}

bool hasNetworkFields(CameraModel model)
{
    return model == CameraModel::Delta || model == CameraModel::Echo;
}

SetupRecord::SetupRecord(CameraModel model)
    : m_model(model)
    , m_image(SetupRecordLength(model), '\0')
    , m_loadedCopy(m_image)
    , m_codePage(ansicodepage::system())
{
}

quint8 SetupRecord::byte(int offset) const
{
    if (offset < 0 || offset >= m_image.size())
        return 0;
    return static_cast<quint8>(m_image.at(offset));
}

void SetupRecord::setByte(int offset, quint8 value)
{
    if (offset < 0 || offset >= m_image.size())
        return;
    m_image[offset] = static_cast<char>(value);
}

QString SetupRecord::firmwareText() const
{
    if (!m_loaded)
        return QString();
    return FirmwareText(m_model, byte(setup::kFirmwareMajor), byte(setup::kFirmwareMinor));
}

QString SetupRecord::textField(int offset) const
{
    return ansicodepage::decode(fieldText(m_image, offset), m_codePage);
}

void SetupRecord::setTextField(int offset, const QString& text)
{
    if (offset < 0 || offset + setup::kTextFieldLength > m_image.size())
        return;
    // An unedited field keeps its bytes: re-encoding could change bytes the code page cannot show.
    if (text == textField(offset))
        return;
    QString cut = text;
    // An embedded NUL would end the text for the camera anyway; nothing after it is stored.
    const qsizetype nul = cut.indexOf(QChar(0));
    if (nul >= 0)
        cut.truncate(nul);
    const QByteArray bytes = ansicodepage::encode(cut, m_codePage, setup::kTextMaxCharacters);
    char* field = m_image.data() + offset;
    std::memset(field, 0, setup::kTextFieldLength);
    std::memcpy(field, bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool SetupRecord::setWifiPassword(const QString& password)
{
    if (!hasNetworkFields(m_model))
        return false;
    setTextField(setup::kWifiPassword, password);
    // The flag is only ever raised: a change the camera has not yet taken over stays announced.
    if (fieldText(m_image, setup::kWifiPassword) != fieldText(m_loadedCopy, setup::kWifiPassword))
        setByte(setup::kWifiChanged, 1);
    return true;
}

bool SetupRecord::setFtpAccount(const QString& id, const QString& password)
{
    if (!hasNetworkFields(m_model) || byte(setup::kFtpService) != 1)
        return false;
    setTextField(setup::kFtpId, id);
    setTextField(setup::kFtpPassword, password);
    if (fieldText(m_image, setup::kFtpId) != fieldText(m_loadedCopy, setup::kFtpId)
        || fieldText(m_image, setup::kFtpPassword) != fieldText(m_loadedCopy, setup::kFtpPassword))
        setByte(setup::kFtpChanged, 1);
    return true;
}

bool SetupRecord::setCameraClock(const QDateTime& localTime)
{
    const auto layout = clockBlockLayout(m_model);
    if (!layout || !localTime.isValid())
        return false;
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    if (date.year() < 1 || date.year() > 0xFFFF)
        return false;
    const int at = layout->flagOffset;
    const auto year = static_cast<quint16>(date.year());
    setByte(at + 1, static_cast<quint8>(year & 0xFF));
    setByte(at + 2, static_cast<quint8>(year >> 8));
    setByte(at + 3, static_cast<quint8>(date.month()));
    setByte(at + 4, static_cast<quint8>(date.day()));
    setByte(at + 5, static_cast<quint8>(time.hour()));
    setByte(at + 6, static_cast<quint8>(time.minute()));
    if (layout->hasSeconds)
        setByte(at + 7, static_cast<quint8>(time.second()));
    setByte(at, 1);
    return true;
}

bool SetupRecord::applyStorageRatioRule()
{
    using namespace setup;
    const int sum = byte(kRatioNormal) + byte(kRatioEvent) + byte(kRatioParking);
    if (sum == 100)
        return false;
    setByte(kRatioNormal, kDefaultRatioNormal);
    setByte(kRatioEvent, kDefaultRatioEvent);
    setByte(kRatioParking, kDefaultRatioParking);
    return true;
}

void SetupRecord::normalise(int countryCode)
{
    applyStorageRatioRule();
    for (const ByteRule& rule : byteRules(m_model)) {
        const quint8 value = byte(rule.offset);
        if (value < rule.min || value > rule.max)
            setByte(rule.offset, rule.reset);
    }
    if (hasTimeZone(m_model) && byte(setup::kTimeZone) >= kTimeZoneCount)
        setByte(setup::kTimeZone, static_cast<quint8>(DefaultTimeZoneIndex(countryCode)));
    // Wide Mode records at one frame rate only (shown as 22 fps), stored as the reduced rate.
    if (m_model == CameraModel::Charlie && byte(setup::kQuality) == 0)
        setByte(setup::kFrameRate, 1);
}

void SetupRecord::resetToDefaults(int countryCode)
{
    m_image.fill('\0', SetupRecordLength(m_model));
    for (const ByteRule& rule : byteRules(m_model))
        setByte(rule.offset, rule.reset);
    applyStorageRatioRule();
    if (hasTimeZone(m_model))
        setByte(setup::kTimeZone, static_cast<quint8>(DefaultTimeZoneIndex(countryCode)));
    const int code = cameraModelInfo(m_model).modelCode;
    if (code != kNoModelCode)
        setByte(setup::kModelCode, static_cast<quint8>(code));
    m_loaded = false;
    m_loadedCopy = m_image;
}

void SetupRecord::startLoad(CameraModel model, int countryCode)
{
    m_model = model;
    m_loaded = false;
    m_loadedFileSize = 0;
    m_errorString.clear();
    m_fileAtLoad.clear();
    resetToDefaults(countryCode);
}

std::optional<SetupSaveResult> SetupRecord::saveRefusal()
{
    if (!m_loaded) {
        m_errorString = QStringLiteral("no settings file was loaded");
        return SetupSaveResult::NotLoaded;
    }
    if (cameraModelInfo(m_model).checksSizeOnSave && m_loadedFileSize != length()) {
        // A file of another length may belong to another model or firmware: overwriting it could ruin it.
        m_errorString = QStringLiteral("the settings file did not have the model's record length");
        return SetupSaveResult::SizeChanged;
    }
    return std::nullopt;
}

bool LoadSetupRecord(SetupRecord& record, QIODevice& device, CameraModel model, int countryCode)
{
    record.startLoad(model, countryCode);
    if (!device.isOpen() || !device.isReadable()) {
        record.m_errorString = QStringLiteral("the settings file is not open for reading");
        return false;
    }
    if (!device.isSequential()) {
        record.m_loadedFileSize = device.size();
        if (!device.seek(0)) {
            record.m_errorString = device.errorString();
            return false;
        }
    }

    // Zeroed first: the tail of a short file must not keep the defaults or an earlier image.
    QByteArray image(SetupRecordLength(model), '\0');
    if (!readUpTo(device, image.data(), image.size())) {
        record.m_errorString = device.errorString();
        return false;
    }
    record.m_image = image;
    record.m_fileAtLoad = image;
    record.normalise(countryCode);
    record.m_loaded = true;
    // Taken after normalising, so a value repaired on load does not count as a change on save.
    record.m_loadedCopy = record.m_image;
    return true;
}

bool LoadSetupRecord(SetupRecord& record, const QString& path, CameraModel model, int countryCode)
{
    QFile file(path);
    // Loading only reads: a write-protected card still shows its settings (saving then reports the failure).
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly)) {
        record.startLoad(model, countryCode);
        record.m_errorString = file.errorString();
        return false;
    }
    const bool loaded = LoadSetupRecord(record, file, model, countryCode);
    if (loaded) {
        // What a save expects to find there: the whole file, tail included.
        file.seek(0);
        record.m_fileAtLoad = file.read(kMaxFileBytes + 1);
    }
    return loaded;
}

SetupSaveResult SaveSetupRecord(SetupRecord& record, QIODevice& device)
{
    if (const auto refusal = record.saveRefusal())
        return *refusal;
    if (!device.isOpen() || !device.isWritable()) {
        record.m_errorString = QStringLiteral("the settings file is not open for writing");
        return SetupSaveResult::OpenFailed;
    }
    if (cameraModelInfo(record.m_model).checksSizeOnSave && !device.isSequential()
        && device.size() != record.length()) {
        // The file changed length since it was loaded: what is there now is not the record that was edited.
        record.m_errorString = QStringLiteral("the settings file no longer has the model's record length");
        return SetupSaveResult::SizeChanged;
    }
    record.applyStorageRatioRule();
    if (!device.isSequential() && !device.seek(0)) {
        record.m_errorString = device.errorString();
        return SetupSaveResult::WriteFailed;
    }
    const qint64 written = device.write(record.m_image);
    bool ok = written == record.length();
    if (ok) {
        if (auto* file = qobject_cast<QFileDevice*>(&device))
            ok = file->flush();
    }
    if (!ok) {
        record.m_errorString = device.errorString();
        return SetupSaveResult::WriteFailed;
    }
    return SetupSaveResult::Saved;
}

SetupSaveResult SaveSetupRecord(SetupRecord& record, const QString& path)
{
    if (const auto refusal = record.saveRefusal())
        return *refusal;
    const auto fail = [&record](SetupSaveResult result, const QString& why) {
        record.m_errorString = why;
        return result;
    };

    // Only an existing regular file is written: never created, never a device or a folder in its place. The
    // rename replaces the file the path leads to, not a link on the way.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return fail(SetupSaveResult::OpenFailed, QStringLiteral("the settings file does not exist"));
    const QString target = info.canonicalFilePath();
    // A read-only file stays unwritten, whoever runs the viewer: a rename would otherwise replace it
    // regardless of its permissions.
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!(info.permissions() & writeBits))
        return fail(SetupSaveResult::OpenFailed, QStringLiteral("the settings file is read-only"));
    {
        // Opening for writing proves the file may be written (a read-only file or card refuses here).
        QFile probe(target);
        if (!probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            return fail(SetupSaveResult::OpenFailed, probe.errorString());
    }

    QByteArray current;
    QString error;
    if (!readWhole(target, current, error))
        return fail(SetupSaveResult::OpenFailed, error);
    if (current.size() > kMaxFileBytes)
        return fail(SetupSaveResult::ChangedOnDisk, QStringLiteral("the settings file is far too large"));
    if (cameraModelInfo(record.m_model).checksSizeOnSave && current.size() != record.length()) {
        // The file changed length since it was loaded: what is there now is not the record that was edited.
        return fail(SetupSaveResult::SizeChanged, QStringLiteral("the settings file no longer has the model's record length"));
    }
    if (current != record.m_fileAtLoad) {
        // Another card in the slot, the camera or another viewer rewrote it: writing the edited image would
        // put one card's settings on another, or undo a change nobody saw.
        return fail(SetupSaveResult::ChangedOnDisk, QStringLiteral("the settings file changed since it was loaded"));
    }

    record.applyStorageRatioRule();
    QByteArray wanted = record.m_image;
    if (current.size() > wanted.size())
        wanted += current.mid(wanted.size()); // a longer file keeps its tail

    if (!setupbackup::keepBeforeWrite(target, current))
        return fail(SetupSaveResult::BackupFailed, QStringLiteral("the previous settings file could not be kept on the PC"));

    // The new contents go to a temporary file beside the old one, reach the medium, then replace it in one
    // rename: at any moment the card holds either the whole old file or the whole new one.
    const QString folder = QFileInfo(target).absolutePath();
    const QString temporary = QDir(folder).filePath(QFileInfo(target).fileName() + QStringLiteral(".krv-new"));
    {
        QFile::remove(temporary); // a leftover of an earlier, interrupted save
        QFile out(temporary);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return fail(SetupSaveResult::WriteFailed, out.errorString());
        out.setPermissions(QFile(target).permissions());
        // Through the platform's file layer, whose faults the tests can inject.
        const bool ok = platform::writeAt(out, 0, wanted.constData(), wanted.size()) == wanted.size()
            && platform::syncFile(out);
        const QString why = out.errorString();
        out.close();
        if (!ok || out.error() != QFileDevice::NoError) {
            QFile::remove(temporary);
            return fail(SetupSaveResult::WriteFailed, why.isEmpty() ? QStringLiteral("the new settings could not be written") : why);
        }
    }
    if (saveHook())
        saveHook()(SetupSaveStage::TemporaryWritten, temporary);
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        return fail(SetupSaveResult::WriteFailed, why);
    }
    syncFolder(folder);
    if (saveHook())
        saveHook()(SetupSaveStage::Replaced, target);

    QByteArray readBack;
    if (!readWhole(target, readBack, error))
        return fail(SetupSaveResult::VerifyFailed, error);
    if (readBack != wanted)
        return fail(SetupSaveResult::VerifyFailed, QStringLiteral("the settings file read back differs from what was written"));

    setupbackup::noteWritten(target, wanted);
    record.m_fileAtLoad = wanted;
    return SetupSaveResult::Saved;
}

SetupRecord MakeDefaultSetupRecord(CameraModel model, int countryCode, quint8 firmwareMajor, quint8 firmwareMinor)
{
    SetupRecord record(model);
    record.resetToDefaults(countryCode);
    record.setByte(setup::kFirmwareMajor, firmwareMajor);
    record.setByte(setup::kFirmwareMinor, firmwareMinor);
    record.m_loadedCopy = record.m_image;
    return record;
}
