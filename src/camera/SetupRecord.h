#pragma once

#include "camera/CameraModel.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QDateTime;
class QIODevice;

// Byte offsets in the settings record. Bytes 0-17 are common to every model (Alpha's record ends there); the
// rest belong to the models named beside them.
namespace setup {
inline constexpr int kFirmwareMajor = 0;
inline constexpr int kFirmwareMinor = 1;
inline constexpr int kFrameRate = 2;
inline constexpr int kTimeZone = 3; // not Delta, Echo
inline constexpr int kRecordingSound = 4; // Charlie
inline constexpr int kShockSensing = 5;
inline constexpr int kParkingMode = 6;
inline constexpr int kQuality = 7;
inline constexpr int kParkingShock = 8;
inline constexpr int kBrightness = 9;
inline constexpr int kReserved = 10;
inline constexpr int kMotionSensitivity = 11;
inline constexpr int kAlarm = 12;
inline constexpr int kDeletionMethod = 13;
inline constexpr int kRatioNormal = 14;
inline constexpr int kRatioEvent = 15;
inline constexpr int kRatioParking = 16;
inline constexpr int kSpeedDisplay = 17; // not Delta, Echo
inline constexpr int kModelCode = 18; // all but Alpha
inline constexpr int kRecordingVolume = 29; // Foxtrot
// Delta and Echo
inline constexpr int kFtpService = 27;
inline constexpr int kFtpChanged = 28;
inline constexpr int kFtpId = 29;
inline constexpr int kFtpPassword = 46;
inline constexpr int kWifiChanged = 63;
inline constexpr int kWifiName = 64;
inline constexpr int kWifiPassword = 81;

// Text fields: single-byte text, NUL-terminated inside 17 bytes, so at most 16 characters.
inline constexpr int kTextFieldLength = 17;
inline constexpr int kTextMaxCharacters = kTextFieldLength - 1;

inline constexpr int kDefaultRatioNormal = 40;
inline constexpr int kDefaultRatioEvent = 30;
inline constexpr int kDefaultRatioParking = 30;
} // namespace setup

// Where a model keeps its time-set block: the flag byte, then the year (16-bit little-endian), month, day, hour,
// minute and, where the model has it, second.
struct ClockBlockLayout
{
    int flagOffset;
    bool hasSeconds;
};
std::optional<ClockBlockLayout> clockBlockLayout(CameraModel model);

// The voice-guidance byte (1 = OFF, 0 = ON) of the models that have one; the volume byte follows it.
std::optional<int> voiceGuidanceOffset(CameraModel model);

// Whether byte 3 holds a time zone for this model.
bool hasTimeZone(CameraModel model);

// Whether the model has the Wi-Fi and FTP fields.
bool hasNetworkFields(CameraModel model);

enum class SetupSaveResult {
    Saved, // the record was written and read back as meant
    NotLoaded, // no file was loaded, so there is nothing of the camera's to write back
    SizeChanged, // the file did not have the model's record length when loaded: left alone, like a cancel
    OpenFailed, // the existing file could not be opened for writing (or does not exist, or is no file)
    WriteFailed, // the new contents could not be written, flushed or put in place; the old file stays
    ChangedOnDisk, // the file no longer holds what was loaded (another card, the camera, another viewer)
    BackupFailed, // the copy of the previous file could not be kept on the PC, so nothing was written
    VerifyFailed, // the file read back after the write does not hold what was meant
};

// Whether a save result means the camera's part could not be saved (the editor then ends with 7). A size
// mismatch at load is not a failure: the editor closes as cancelled.
bool isSaveFailure(SetupSaveResult result);

// The byte image of the camera settings file for one model, the flag that it came from a file, and the image
// as it stood right after loading, which tells on save what the user changed.
class SetupRecord
{
public:
    explicit SetupRecord(CameraModel model = CameraModel::Alpha);

    CameraModel model() const { return m_model; }
    int length() const { return static_cast<int>(m_image.size()); }
    const QByteArray& image() const { return m_image; }
    const QByteArray& loadedCopy() const { return m_loadedCopy; }
    bool isLoaded() const { return m_loaded; }
    // The size the file had when it was loaded; 0 when unknown.
    qint64 loadedFileSize() const { return m_loadedFileSize; }
    QString errorString() const { return m_errorString; }
    // The whole file as it was read (at most 64 KiB), before normalising; what a save expects to find.
    const QByteArray& fileAtLoad() const { return m_fileAtLoad; }

    // The code page of the text fields (a converter name, see AnsiCodePage.h); the system's by default.
    QString codePage() const { return m_codePage; }
    void setCodePage(const QString& codePage) { m_codePage = codePage; }

    // 0 for offsets outside the record.
    quint8 byte(int offset) const;
    // Ignored for offsets outside the record.
    void setByte(int offset, quint8 value);

    // The firmware text with bytes 0 and 1; empty when no file was loaded.
    QString firmwareText() const;

    // A text field read up to its NUL (or its 17th byte) in the record's code page.
    QString textField(int offset) const;
    // Zeroes the field, then copies the text in the record's code page, at most 16 bytes and never half a
    // double-byte character; characters the code page lacks become "?". A text equal to what the field
    // shows leaves its bytes exactly as they are, so an unedited field is never re-encoded.
    void setTextField(int offset, const QString& text);

    // Delta and Echo: stores the Wi-Fi password and sets the changed flag (byte 63) when it differs from the
    // loaded one. Returns false, changing nothing, for other models.
    bool setWifiPassword(const QString& password);
    // Delta and Echo, while FTP is ON: stores the FTP ID and password and sets the changed flag (byte 28) when
    // either differs from the loaded one. With FTP OFF the account is left as loaded and false is returned.
    bool setFtpAccount(const QString& id, const QString& password);
    // Writes the chosen local time into the model's time-set block and raises its flag. False, changing
    // nothing, for models without a clock block or a date the block cannot hold.
    bool setCameraClock(const QDateTime& localTime);

    // Storage ratios that do not add up to 100 become 40/30/30. Returns whether they were changed.
    bool applyStorageRatioRule();

    // Brings a loaded image into the model's value sets, in the order the camera's own viewer always has.
    void normalise(int countryCode);

    // The display defaults: every option at its reset value, ratios 40/30/30, the country's time zone, voice
    // guidance OFF at Middle volume, empty texts, no clock request, the model's code in byte 18. Not loaded.
    void resetToDefaults(int countryCode);

private:
    friend bool LoadSetupRecord(SetupRecord&, QIODevice&, CameraModel, int);
    friend bool LoadSetupRecord(SetupRecord&, const QString&, CameraModel, int);
    friend SetupSaveResult SaveSetupRecord(SetupRecord&, QIODevice&);
    friend SetupSaveResult SaveSetupRecord(SetupRecord&, const QString&);

    friend SetupRecord MakeDefaultSetupRecord(CameraModel, int, quint8, quint8);

    void startLoad(CameraModel model, int countryCode);
    // Why the record must not be written at all, if it must not.
    std::optional<SetupSaveResult> saveRefusal();

    CameraModel m_model;
    QByteArray m_image;
    QByteArray m_loadedCopy;
    bool m_loaded = false;
    qint64 m_loadedFileSize = 0;
    QString m_errorString;
    QByteArray m_fileAtLoad;
    QString m_codePage;
};

// Reads the model's record from the file, normalises it and takes the loaded copy. Returns the loaded flag.
// The image is zeroed before the read, so the tail of a short file reads as zeros; a file that cannot be opened
// or read leaves the display defaults in the image. The file is only read.
bool LoadSetupRecord(SetupRecord& record, const QString& path, CameraModel model, int countryCode);
// The same from an open device, read from its start.
bool LoadSetupRecord(SetupRecord& record, QIODevice& device, CameraModel model, int countryCode);

// Writes the whole record over the start of the existing file: never creates the file, never truncates it,
// leaves bytes past the record as they are. The models that check the size write only when the file had
// exactly their record length at load. Storage ratios are repaired to 40/30/30 first when they do not add up.
//
// The file is the camera's only configuration, so it is never left half-written: the new contents go to a
// temporary file beside it, are flushed to the medium and then replace the file in one rename; the file is
// read back and compared with what was meant. A file that no longer holds what was loaded is left alone.
// Before the first write to a card in a session the previous file is copied to the PC (SetupBackup.h).
SetupSaveResult SaveSetupRecord(SetupRecord& record, const QString& path);
// Tests look into a save between its steps: after the temporary file was written and flushed, and after it
// replaced the settings file (before the read-back).
enum class SetupSaveStage { TemporaryWritten, Replaced };
void setSetupSaveHookForTesting(std::function<void(SetupSaveStage stage, const QString& path)> hook);

// The same onto a device open for writing (written at its start).
SetupSaveResult SaveSetupRecord(SetupRecord& record, QIODevice& device);

// A valid settings record of a model with its default options (for making a card), e.g. for writing a new
// setup.bin: MakeDefaultSetupRecord(CameraModel::Delta, 82).image().
SetupRecord MakeDefaultSetupRecord(
    CameraModel model, int countryCode, quint8 firmwareMajor = 1, quint8 firmwareMinor = 0);
