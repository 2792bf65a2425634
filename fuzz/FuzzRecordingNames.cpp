// The rules between recording file names and list texts, on any name. The first byte picks the video
// extension; the rest is the name (UTF-8).
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
    return 0;
}
