#include "catalogue/RecordingNames.h"

#include "catalogue/LowerCaseOrder.h"
#include "catalogue/TextPool.h"

#include "platform/FileRangeReader.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <utility>

namespace recording {

QString prefix(RecordingKind kind)
{
    switch (kind) {
    case RecordingKind::Event:
        return QStringLiteral("evt_");
    case RecordingKind::Parking:
        return QStringLiteral("pmr_");
    case RecordingKind::Normal:
        break;
    }
    return QStringLiteral("rec_");
}

QString kindLabel(RecordingKind kind)
{
    switch (kind) {
    case RecordingKind::Event:
        return QStringLiteral("Event");
    case RecordingKind::Parking:
        return QStringLiteral("Parking");
    case RecordingKind::Normal:
        break;
    }
    return QStringLiteral("Normal");
}

std::optional<RecordingKind> kindFromLabel(const QString& label)
{
    if (label == QLatin1String("Event"))
        return RecordingKind::Event;
    if (label == QLatin1String("Parking"))
        return RecordingKind::Parking;
    if (label == QLatin1String("Normal"))
        return RecordingKind::Normal;
    return std::nullopt;
}

std::optional<RecordingKind> kindFromName(const QString& fileName)
{
    if (fileName.startsWith(QLatin1String("rec_")))
        return RecordingKind::Normal;
    if (fileName.startsWith(QLatin1String("evt_")))
        return RecordingKind::Event;
    if (fileName.startsWith(QLatin1String("pmr_")))
        return RecordingKind::Parking;
    return std::nullopt;
}

QString extensionOf(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot);
}

std::optional<int> iconIndex(RecordingKind kind, const QString& baseName, int parkingType)
{
    const qsizetype length = baseName.size();
    if (length != 15 && length != 16)
        return std::nullopt;
    const bool shortName = length == 15;
    switch (kind) {
    case RecordingKind::Event:
        return shortName ? 0 : 1;
    case RecordingKind::Normal:
        return shortName ? 2 : 3;
    case RecordingKind::Parking:
        if (!shortName)
            return 6;
        return parkingType == 1 ? 5 : 4;
    }
    return std::nullopt;
}

int iconBitmapId(int iconIndex)
{
    static constexpr int kIds[] = { 3501, 3503, 3500, 3504, 3502, 3506, 3505, 3507 };
    if (iconIndex < 0 || iconIndex >= 8)
        return 0;
    return kIds[iconIndex];
}

} // namespace recording

namespace {

// Inserts at a position of the current text; a position past the end appends (QString would pad).
void insertAt(QString& text, qsizetype position, QChar c)
{
    if (position >= text.size())
        text.append(c);
    else
        text.insert(position, c);
}

QString withTimeColons(QString digits)
{
    insertAt(digits, 2, QLatin1Char(':'));
    insertAt(digits, 5, QLatin1Char(':'));
    return digits;
}

} // namespace

namespace {

// Where needle occurs in text from a position on, unit by unit: a card's names are a couple of dozen units
// and the needles four, where the general search costs more in setting up than in searching.
template <typename Needle> qsizetype findShort(QStringView text, Needle needle, qsizetype from)
{
    const qsizetype length = needle.size();
    for (qsizetype at = from; at + length <= text.size(); ++at) {
        qsizetype i = 0;
        while (i < length && text[at + i] == needle[i])
            ++i;
        if (i == length)
            return at;
    }
    return -1;
}

// The usual name (its prefix once, at the start; its extension once, at the end) as a view of the name;
// nothing for any other name, which the general rules handle.
std::optional<QStringView> plainBaseName(QStringView name, const QString& videoExtension)
{
    std::optional<QStringView> base;
    for (const char* p : { "rec_", "evt_", "pmr_" }) {
        const QLatin1String prefix(p);
        if (name.startsWith(prefix)) {
            if (findShort(name, prefix, prefix.size()) >= 0)
                return std::nullopt;
            base = name.mid(prefix.size());
            break;
        }
    }
    if (!base)
        return std::nullopt;
    const QString& extension
        = base->endsWith(recording::kMarkerExtension) ? recording::kMarkerExtension : videoExtension;
    if (extension.isEmpty())
        return base;
    const qsizetype first = findShort(*base, QStringView(extension), 0);
    if (first < 0)
        return base;
    if (first != base->size() - extension.size())
        return std::nullopt;
    return base->chopped(extension.size());
}

} // namespace

QString MakeBaseName(const QString& fileName, const QString& videoExtension)
{
    // A card holds tens of thousands of names: the usual one is a part of the name, sharing its text.
    if (const std::optional<QStringView> plain = plainBaseName(fileName, videoExtension))
        return TextPool::part(fileName, plain->data() - fileName.constData(), plain->size());
    QString base = fileName;
    for (const char* p : { "rec_", "evt_", "pmr_" }) {
        const QLatin1String prefix(p);
        if (base.startsWith(prefix)) {
            base.remove(prefix); // every occurrence goes
            break;
        }
    }
    const QString& extension
        = base.endsWith(recording::kMarkerExtension) ? recording::kMarkerExtension : videoExtension;
    if (!extension.isEmpty())
        base.remove(extension);
    return base;
}

QString FormatEntryDate(const QString& baseName)
{
    // Built in a buffer on the stack and copied out once: this runs for every row of a card.
    QVarLengthArray<char16_t, 32> text(baseName.utf16(), baseName.utf16() + baseName.size());
    std::replace(text.begin(), text.end(), u'_', u' ');
    for (const auto& [position, c] :
        { std::pair { 4, u'-' }, std::pair { 7, u'-' }, std::pair { 13, u':' }, std::pair { 16, u':' } }) {
        // A position past the end appends (QString::insert would pad).
        if (position >= text.size())
            text.append(c);
        else
            text.insert(text.begin() + position, c);
    }
    return QString(reinterpret_cast<const QChar*>(text.constData()), text.size());
}

QString EntryDateText(const RecordingEntry& entry)
{
    return entry.dateFromBaseName ? FormatEntryDate(entry.baseName) : entry.dateText;
}

QString MakeRecordingFileName(const QString& kindLabel, const QString& baseName, const QString& videoExtension)
{
    QString name;
    if (const std::optional<RecordingKind> kind = recording::kindFromLabel(kindLabel))
        name = recording::prefix(*kind);
    name += baseName;
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    return name + videoExtension;
}

QString BaseNameFromRow(const QString& column1Text)
{
    QString base = column1Text;
    base.remove(QLatin1Char(':'));
    base.remove(QLatin1Char('-'));
    base.replace(QLatin1Char(' '), QLatin1Char('_'));
    return base;
}

QString ReadSpanMarkerText(const QString& markerPath, const QString& baseName)
{
    QString start = baseName.section(QLatin1Char('_'), 1, 1);
    start.remove(QLatin1Char('p'));
    start = withTimeColons(start);

    QString end;
    FileRangeReader file(markerPath); // one open and one read: a card may hold hundreds of markers
    if (file.isOpen()) {
        char buffer[513];
        std::memset(buffer, 0, sizeof buffer);
        const int64_t got = file.readUpTo(0, buffer, 512);
        if (got >= 0) {
            // The camera writes the end as "date_time" in plain text; the buffer is zero-filled, so the
            // text ends at the first zero byte or after the bytes read.
            const QString text = QString::fromLocal8Bit(buffer, static_cast<qsizetype>(std::strlen(buffer)));
            end = withTimeColons(text.section(QLatin1Char('_'), 1, 1));
        }
    }
    return baseName + QLatin1Char('|') + start + QLatin1String(" ~ ") + end;
}

QString DataFilePath(const QString& videoPath, const QString& videoExtension)
{
    if (!videoExtension.isEmpty() && videoPath.endsWith(videoExtension, Qt::CaseInsensitive))
        return videoPath.left(videoPath.size() - videoExtension.size()) + recording::kDataExtension;
    const QString extension = recording::extensionOf(videoPath);
    if (!extension.isEmpty() && !extension.contains(QLatin1Char('/')))
        return videoPath.left(videoPath.size() - extension.size()) + recording::kDataExtension;
    return videoPath + recording::kDataExtension;
}

void SortEntriesByBaseName(std::vector<RecordingEntry>& entries, bool ascending)
{
    const std::vector<uint32_t> order = LowerCaseOrderOfViews(
        entries.size(), [&entries](size_t row) { return QStringView(entries[row].baseName); }, ascending);
    ApplyOrder(entries, order);
}
