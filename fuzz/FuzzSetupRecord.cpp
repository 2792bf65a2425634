// The settings record of every model: load (with its normalising), save and load again, on any bytes.
// Byte 0 picks the model, byte 1 the country; the rest is the settings file.
#include "FuzzSupport.h"
#include "camera/CameraModel.h"
#include "camera/SetupRecord.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const CameraModel model = kAllCameraModels[data[0] % kCameraModelCount];
    static constexpr int kCountries[] = { 82, 81, 1, 44, 61, 86, 0, 7 };
    const int country = kCountries[data[1] % 8];
    const QByteArray original(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    QByteArray file = original;
    QBuffer in(&file);
    in.open(QIODevice::ReadOnly);
    SetupRecord record(model);
    const bool loaded = LoadSetupRecord(record, in, model, country);
    FUZZ_CHECK(loaded == record.isLoaded(), "the load answers the loaded flag");
    FUZZ_CHECK(record.length() == SetupRecordLength(model), "the image has the model's record length");
    FUZZ_CHECK(file == original, "loading never changes the file");
    (void)record.firmwareText();

    QBuffer out(&file);
    out.open(QIODevice::ReadWrite);
    const SetupSaveResult saved = SaveSetupRecord(record, out);
    FUZZ_CHECK(loaded || saved != SetupSaveResult::Saved, "a record that was not loaded is never written");
    if (saved != SetupSaveResult::Saved) {
        FUZZ_CHECK(file == original, "a refused save leaves the file as it was");
        return 0;
    }
    FUZZ_CHECK(file.left(record.length()) == record.image(), "the saved file starts with the record");
    FUZZ_CHECK(file.size() == std::max<qsizetype>(original.size(), record.length()), "a save never truncates");
    FUZZ_CHECK(file.mid(record.length()) == original.mid(record.length()), "bytes past the record stay");

    // What was saved loads back as the very same record: normalising a normalised record changes nothing.
    QBuffer again(&file);
    again.open(QIODevice::ReadOnly);
    SetupRecord reloaded(model);
    FUZZ_CHECK(LoadSetupRecord(reloaded, again, model, country), "the saved file loads");
    FUZZ_CHECK(reloaded.image() == record.image(), "a saved record loads back unchanged");
    return 0;
}
