#include "catalogue/RecordingCatalogue.h"

#include "catalogue/RecordingNames.h"
#include "catalogue/TextPool.h"
#include "platform/DirectoryListing.h"
#include "sensor/SidecarDataFile.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

// Four bytes of a raw name as one word, in the same order whatever the processor's: the scan tells prefixes
// and extensions by comparing words, since it looks at every entry of a card (tens of thousands).
constexpr uint32_t word(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}

uint32_t wordAt(std::string_view name, size_t at)
{
    return word(name[at], name[at + 1], name[at + 2], name[at + 3]);
}

std::optional<RecordingKind> kindFromRawName(std::string_view name)
{
    if (name.size() < 4)
        return std::nullopt;
    switch (wordAt(name, 0)) {
    case word('r', 'e', 'c', '_'):
        return RecordingKind::Normal;
    case word('e', 'v', 't', '_'):
        return RecordingKind::Event;
    case word('p', 'm', 'r', '_'):
        return RecordingKind::Parking;
    default:
        return std::nullopt;
    }
}

enum class RawExtension { Other, Avi, Mp4, Marker };

// The extension (from the last dot) of a raw name, letter case aside: the three the scan keeps are four bytes
// each, so only the last four bytes need a look. Setting bit 5 lowers a letter and makes no other byte a
// lower-case letter, so it is set on the letters' places only (never on the dot or the 4).
RawExtension rawExtension(std::string_view name)
{
    if (name.size() < 4)
        return RawExtension::Other;
    const uint32_t last = wordAt(name, name.size() - 4);
    constexpr uint32_t threeLetters = word(0, 0x20, 0x20, 0x20);
    constexpr uint32_t twoLetters = word(0, 0x20, 0x20, 0);
    if ((last | threeLetters) == word('.', 'a', 'v', 'i'))
        return RawExtension::Avi;
    if ((last | threeLetters) == word('.', 'v', 'l', 'm'))
        return RawExtension::Marker;
    if ((last | twoLetters) == word('.', 'm', 'p', '4'))
        return RawExtension::Mp4;
    return RawExtension::Other;
}

bool isAscii(std::string_view name)
{
    return std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Where the base name lies in a usual name of the camera (its prefix once, at the start; its extension once, at
// the end, letter case included), read from the raw bytes; nothing for any other name, which MakeBaseName's
// general rules handle. The name starts with one of the three prefixes.
std::optional<std::pair<size_t, size_t>> plainBaseRange(std::string_view name, std::string_view videoExtension)
{
    const std::string_view prefix = name.substr(0, 4);
    const std::string_view rest = name.substr(4);
    if (rest.find(prefix) != std::string_view::npos)
        return std::nullopt;
    const std::string_view extension = rest.ends_with(".vlm") ? std::string_view(".vlm") : videoExtension;
    const size_t first = rest.find(extension);
    if (first == std::string_view::npos)
        return std::pair { size_t(4), rest.size() };
    if (first != rest.size() - extension.size())
        return std::nullopt;
    return std::pair { size_t(4), first };
}

} // namespace

QString WithTrailingSeparator(const QString& folder)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

void RecordingCatalogue::setFolder(const QString& folder)
{
    m_folder = WithTrailingSeparator(folder);
}

QString RecordingCatalogue::videoExtension() const
{
    return m_mp4 ? recording::kMp4Extension : recording::kAviExtension;
}

bool RecordingCatalogue::ScanCatalogueFolder(const QString& folder, int modelIndex)
{
    for (size_t i = 0; i < 3; ++i) {
        m_names[i].clear();
        m_saved[i].clear();
        m_markerCounts[i] = 0;
        m_scanned[i] = ScannedBases();
    }
    bool decided = false;
    bool result = false;
    if (modelIndex == 4 || modelIndex == 5) {
        m_mp4 = true;
        decided = true;
        result = true;
    } else {
        m_mp4 = false;
    }

    DirectoryListing listing(WithTrailingSeparator(folder));
    if (!listing.isOpen())
        return result;
    TextPool pool; // a card holds tens of thousands of names: a few buffers instead of one each
    for (std::string_view native = listing.next(); !native.empty(); native = listing.next()) {
        // Prefixes and extensions are ASCII, so they can be told from the raw name; only names that may be
        // recordings are decoded (a card holds as many data files as recordings).
        const std::optional<RecordingKind> kind = kindFromRawName(native);
        if (!kind)
            continue;
        const RawExtension extension = rawExtension(native);
        if (extension == RawExtension::Other)
            continue;
        const bool mp4 = extension == RawExtension::Mp4;
        const bool marker = extension == RawExtension::Marker;
        const size_t k = index(*kind);
        if (!decided) {
            decided = true;
            result = true;
            m_mp4 = mp4;
        } else if (m_mp4 != mp4) {
            continue; // an MP4 card lists only MP4 recordings, an AVI card AVI recordings and markers
        }
        // The camera writes ASCII names: those become text without the general decoder, into the scan's pool,
        // and their base name is a part of that text.
        QString base;
        if (isAscii(native)) {
            m_names[k].append(pool.addLatin1(native));
            if (const auto range = plainBaseRange(native, m_mp4 ? ".mp4" : ".avi"))
                base = TextPool::part(m_names[k].constLast(), static_cast<qsizetype>(range->first),
                    static_cast<qsizetype>(range->second));
        } else {
            m_names[k].append(QFile::decodeName(QByteArray(native.data(), static_cast<qsizetype>(native.size()))));
        }
        if (base.isNull())
            base = MakeBaseName(m_names[k].constLast(), videoExtension());
        if (marker)
            ++m_markerCounts[k];
        m_scanned[k].bases.push_back(std::move(base));
    }
    for (size_t i = 0; i < 3; ++i)
        m_scanned[i].names = m_names[i];
    return result;
}

std::vector<RecordingEntry> RecordingCatalogue::BuildCategoryEntries(ListCategory category, MarkerDates markerDates)
{
    const QString extension = videoExtension();
    std::vector<RecordingEntry> entries;
    if (category == ListCategory::All) {
        if (m_saved[0].isEmpty() && m_saved[1].isEmpty() && m_saved[2].isEmpty())
            m_saved = m_names;
        bool sizesDiffer = false;
        for (size_t i = 0; i < 3; ++i)
            sizesDiffer = sizesDiffer || m_names[i].size() != m_saved[i].size();
        if (sizesDiffer)
            m_names = m_saved;
        std::array<std::vector<QString>, 3> bases;
        if (!takeScannedBases(bases)) {
            for (size_t i = 0; i < 3; ++i) {
                bases[i].reserve(static_cast<size_t>(m_names[i].size()));
                for (const QString& name : m_names[i])
                    bases[i].push_back(MakeBaseName(name, extension));
            }
        }
        dropLeadingMarkersOfAll(bases);
        entries.resize(bases[0].size() + bases[1].size() + bases[2].size());
        auto entry = entries.begin();
        for (RecordingKind kind : { RecordingKind::Event, RecordingKind::Parking, RecordingKind::Normal }) {
            for (QString& base : bases[index(kind)])
                fillEntry(*entry++, std::move(base), kind, markerDates);
        }
        return entries;
    }

    const RecordingKind kind = category == ListCategory::Event ? RecordingKind::Event
        : category == ListCategory::Parking                    ? RecordingKind::Parking
                                                               : RecordingKind::Normal;
    QStringList& list = m_names[index(kind)];
    int& markers = m_markerCounts[index(kind)];
    // Sorted once: the drop below only removes from the front, which keeps the list sorted.
    std::sort(list.begin(), list.end());
    qsizetype leading = 0;
    while (leading < list.size() && list[leading].endsWith(recording::kMarkerExtension))
        ++leading;
    list.erase(list.begin(), list.begin() + leading);
    markers -= static_cast<int>(leading);
    if (markers < list.size()) {
        entries.reserve(static_cast<size_t>(list.size()));
        for (const QString& name : list)
            entries.push_back(makeEntry(MakeBaseName(name, extension), kind, markerDates));
    }
    return entries;
}

// The scan's base names serve once, and only while every name list is still the one the scan filled: any
// change to a list (a kind view's drop, a removed name) gave it data of its own.
bool RecordingCatalogue::takeScannedBases(std::array<std::vector<QString>, 3>& bases)
{
    bool unchanged = true;
    for (size_t i = 0; i < 3; ++i) {
        unchanged = unchanged && m_names[i].isSharedWith(m_scanned[i].names)
            && static_cast<size_t>(m_names[i].size()) == m_scanned[i].bases.size();
    }
    if (unchanged) {
        for (size_t i = 0; i < 3; ++i)
            bases[i] = std::move(m_scanned[i].bases);
    }
    for (size_t i = 0; i < 3; ++i)
        m_scanned[i] = ScannedBases();
    return unchanged;
}

// Span markers are dropped while the smallest base name of all three kinds is one; each dropped base name
// takes the first name of the merged list (normal, event, parking order) that has that base name.
void RecordingCatalogue::dropLeadingMarkersOfAll(std::array<std::vector<QString>, 3>& bases)
{
    // Usually the smallest base name is a recording and nothing is dropped: one pass over the lists tells.
    const QString* smallest = nullptr;
    for (const std::vector<QString>& list : bases) {
        for (const QString& base : list) {
            if (!smallest || base < *smallest)
                smallest = &base;
        }
    }
    if (!smallest || !smallest->contains(QLatin1Char('p')))
        return;
    std::vector<const QString*> merged;
    for (const std::vector<QString>& list : bases)
        for (const QString& base : list)
            merged.push_back(&base);
    std::vector<size_t> order(merged.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&merged](size_t a, size_t b) { return *merged[a] < *merged[b]; });

    // Equal base names leave the sorted sequence one after another, and the rule always takes the first one
    // still in the merged list: remember where the search for each name stopped.
    std::vector<bool> removed(merged.size(), false);
    QHash<QString, size_t> nextSearch;
    bool any = false;
    for (size_t i : order) {
        const QString& base = *merged[i];
        if (!base.contains(QLatin1Char('p')))
            break;
        size_t& from = nextSearch[base];
        size_t k = from;
        while (k < merged.size() && (removed[k] || *merged[k] != base))
            ++k;
        from = k + 1;
        removed[k] = true;
        any = true;
    }
    if (!any)
        return;
    size_t position = 0;
    for (size_t list = 0; list < 3; ++list) {
        QStringList keptNames;
        std::vector<QString> keptBases;
        for (qsizetype j = 0; j < m_names[list].size(); ++j) {
            if (removed[position++]) {
                --m_markerCounts[list];
            } else {
                keptNames.append(m_names[list][j]);
                keptBases.push_back(bases[list][static_cast<size_t>(j)]);
            }
        }
        m_names[list] = std::move(keptNames);
        bases[list] = std::move(keptBases);
    }
}

void RecordingCatalogue::ResolveEntryIcon(RecordingEntry& entry) const
{
    if (!entry.iconPending)
        return;
    const int parkingType
        = ReadParkingType(m_folder + QStringLiteral("pmr_") + entry.baseName + recording::kDataExtension);
    entry.iconIndex = recording::iconIndex(entry.kind, entry.baseName, parkingType);
    entry.iconPending = false;
}

void RecordingCatalogue::ResolveEntryIcons(std::vector<RecordingEntry>& entries) const
{
    for (RecordingEntry& entry : entries)
        ResolveEntryIcon(entry);
}

void RecordingCatalogue::ResolveEntryDate(RecordingEntry& entry) const
{
    if (!entry.datePending)
        return;
    const QString text = ReadSpanMarkerText(markerPath(entry.kind, entry.baseName), entry.baseName);
    entry.dateText = text.mid(text.indexOf(QLatin1Char('|')) + 1);
    entry.datePending = false;
}

QString RecordingCatalogue::markerPath(RecordingKind kind, const QString& base) const
{
    return m_folder + recording::prefix(kind) + base + recording::kMarkerExtension;
}

RecordingEntry RecordingCatalogue::makeEntry(QString base, RecordingKind kind, MarkerDates markerDates) const
{
    RecordingEntry entry;
    fillEntry(entry, std::move(base), kind, markerDates);
    return entry;
}

// Fills a default entry in place, taking the base name over: the All view builds tens of thousands of rows, and
// each copy of a base name (all parts of the scan's few buffers) is a counted hold taken and given up again.
void RecordingCatalogue::fillEntry(RecordingEntry& entry, QString base, RecordingKind kind, MarkerDates markerDates) const
{
    entry.kind = kind;
    entry.kindLabel = recording::kindLabel(kind);
    if (base.isEmpty() || base.at(base.size() - 1) != QLatin1Char('p')) {
        entry.dateFromBaseName = true;
        entry.iconIndex = recording::iconIndex(kind, base, 2);
        entry.iconPending = kind == RecordingKind::Parking && base.size() == 15;
        entry.baseName = std::move(base);
        return;
    }
    entry.iconIndex = 7;
    entry.spanMarker = true;
    // The row's texts are split at the first bar of the marker text, so a base name holding a bar (never one
    // the camera writes) loses its tail to the date: such a row cannot be read again from its base name later.
    if (markerDates == MarkerDates::WhenShown && !base.contains(QLatin1Char('|'))) {
        entry.baseName = std::move(base);
        entry.datePending = true;
        return;
    }
    const QString text = ReadSpanMarkerText(markerPath(kind, base), base);
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    entry.baseName = text.left(bar);
    entry.dateText = text.mid(bar + 1);
}

void RecordingCatalogue::RemoveCatalogueName(RecordingKind kind, const QString& fullPath)
{
    QString remainder = fullPath;
    if (!m_folder.isEmpty())
        remainder.remove(m_folder);
    m_names[index(kind)].removeOne(remainder);
    // The All view restores its saved copy whenever a list changed size; without this a deleted recording
    // would come back as a row there.
    m_saved[index(kind)].removeOne(remainder);
}

QString RecordingCatalogue::videoPath(const QString& kindLabel, const QString& baseName) const
{
    return m_folder + MakeRecordingFileName(kindLabel, BaseNameFromRow(baseName), videoExtension());
}

QString RecordingCatalogue::dataPath(const QString& kindLabel, const QString& baseName) const
{
    return DataFilePath(videoPath(kindLabel, baseName), videoExtension());
}
