// The rules between recording file names and list texts. On any name (the first byte picks the video
// extension, the rest is the name in UTF-8) the texts keep their shape; and a well-formed name built from
// the same bytes (kind, base name of digits, underscores and the parking "p") makes the round trips the
// list depends on: file name to base name and back, base name to the row's date text and back.
#include "FuzzSupport.h"
#include "catalogue/RecordingNames.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const QString kExtensions[]
        = { recording::kAviExtension, recording::kMp4Extension, QString(), QStringLiteral(".AVI") };
    const QString& extension = kExtensions[data[0] % 4];
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const QString base = MakeBaseName(name, extension);
    FUZZ_CHECK(base.size() <= name.size(), "a base name is never longer than the file name");
    const QString date = FormatEntryDate(base);
    FUZZ_CHECK(date.size() == base.size() + 4, "the date text adds its four separators");
    const QString row = BaseNameFromRow(date);
    FUZZ_CHECK(!row.contains(QLatin1Char(' ')), "a row's base name has no spaces");
    for (const char* label : { "Normal", "Event", "Parking", "Other" }) {
        const QString file = MakeRecordingFileName(QLatin1String(label), base, extension);
        FUZZ_CHECK(file.endsWith(extension), "a rebuilt file name ends with the extension");
        FUZZ_CHECK(!file.contains(QLatin1Char(' ')), "a rebuilt file name has no spaces");
    }
    if (const auto kind = recording::kindFromName(name)) {
        FUZZ_CHECK(name.startsWith(recording::prefix(*kind)), "the kind read from a name matches its prefix");
        for (int parking : { 0, 1, 2 }) {
            if (const auto icon = recording::iconIndex(*kind, base, parking))
                FUZZ_CHECK(recording::iconBitmapId(*icon) != 0, "every icon index has a bitmap");
        }
    }
    const QString ext = recording::extensionOf(name);
    FUZZ_CHECK(name.endsWith(ext), "the extension is the end of the name");
    const QString dataPath = DataFilePath(name, extension);
    FUZZ_CHECK(dataPath.endsWith(recording::kDataExtension), "the data file ends with .dat");
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    FUZZ_CHECK(slash < 0 || dataPath.startsWith(name.left(slash + 1)), "the data file stays in the same folder");

    // Round trips on a well-formed name.
    static const RecordingKind kKinds[] = { RecordingKind::Normal, RecordingKind::Event, RecordingKind::Parking };
    const RecordingKind kind = kKinds[(data[0] >> 2) % 3];
    QString wellFormed;
    for (size_t i = 1; i < size && wellFormed.size() < 40; ++i) {
        const uint8_t b = data[i] % 12;
        wellFormed += b < 10 ? QLatin1Char(char('0' + b)) : b == 10 ? QLatin1Char('_') : QLatin1Char('p');
    }
    const QString wellExtension = extension.isEmpty() ? recording::kAviExtension : extension;
    const QString fileName = recording::prefix(kind) + wellFormed + wellExtension;
    FUZZ_CHECK(recording::kindFromName(fileName) == kind, "the kind comes back from the name's prefix");
    FUZZ_CHECK(MakeBaseName(fileName, wellExtension) == wellFormed, "the base name comes back from the file name");
    FUZZ_CHECK(MakeRecordingFileName(recording::kindLabel(kind), wellFormed, wellExtension) == fileName,
        "the file name comes back from the kind and the base name");
    FUZZ_CHECK(BaseNameFromRow(FormatEntryDate(wellFormed)) == wellFormed,
        "the base name comes back from the row's date text");
    // Any base name without the separators the date text adds comes back from it too.
    if (!base.contains(QLatin1Char(' ')) && !base.contains(QLatin1Char(':')) && !base.contains(QLatin1Char('-')))
        FUZZ_CHECK(BaseNameFromRow(FormatEntryDate(base)) == base, "a base name survives its date text");
    return 0;
}
