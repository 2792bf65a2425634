#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingListRules.h"
#include "catalogue/RecordingNames.h"

#include "CatalogueFixture.h"

#include <gtest/gtest.h>

#include <QSet>

#include <random>

namespace {

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

QStringList rowTexts(const std::vector<RecordingEntry>& rows)
{
    QStringList texts;
    for (const RecordingEntry& e : rows)
        texts << QStringLiteral("%1 %2 [%3] %4")
                     .arg(e.kindLabel, e.baseName, EntryDateText(e),
                         e.iconIndex ? QString::number(*e.iconIndex) : QStringLiteral("-"));
    return texts;
}

std::vector<RecordingEntry> build(RecordingCatalogue& catalogue, const CardFolder& card, ListCategory category)
{
    catalogue.setFolder(card.path());
    return catalogue.BuildCategoryEntries(category);
}

TEST(ScanCatalogueFolder, SortsNamesIntoKindsAndCountsMarkers)
{
    CardFolder card;
    for (const char* n : { "rec_20120101_120000.avi", "evt_20120101_110000.avi", "pmr_20120101_100000.AVI",
             "rec_20120101_123456p.vlm", "rec_20120101_120000.dat", "REC_20120101_000000.avi",
             "Rec_20120101_000000.avi", "20120101_000000.avi", "rec_20120101_000000.txt", "rec_noext",
             // Near misses: a control character where the dot belongs (it differs from the dot by one bit),
             // an extension cut short or followed by more, and the prefix alone.
             "rec_20120101_000001\x0e" "avi", "rec_20120101_000002.av", "rec_20120101_000003.avi~", "rec_",
             "evt_20120101_000004.avl" })
        card.add(QString::fromLatin1(n));
    card.addFolder(QStringLiteral("evt_20120101_090000.avi")); // a folder named like a recording counts too
    card.addSetup(setupWithCode(26, 20));

    RecordingCatalogue catalogue;
    EXPECT_TRUE(catalogue.ScanCatalogueFolder(card.path(), 0)); // no trailing separator: one is added
    EXPECT_FALSE(catalogue.isMp4());
    EXPECT_EQ(catalogue.videoExtension(), QStringLiteral(".avi"));
    EXPECT_EQ(sorted(catalogue.names(RecordingKind::Normal)),
        QStringList({ "rec_20120101_120000.avi", "rec_20120101_123456p.vlm" }));
    EXPECT_EQ(sorted(catalogue.names(RecordingKind::Event)),
        QStringList({ "evt_20120101_090000.avi", "evt_20120101_110000.avi" }));
    EXPECT_EQ(catalogue.names(RecordingKind::Parking), QStringList({ "pmr_20120101_100000.AVI" }));
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Normal), 1);
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Event), 0);
}

TEST(ScanCatalogueFolder, NamesBeyondAsciiKeepTheirText)
{
    // Names copied from elsewhere may carry any character; only the prefix and extension are ASCII.
    CardFolder card;
    card.add(QStringLiteral("rec_Fahrt_über_Land.avi"));
    card.add(QStringLiteral("evt_주행_20120101.avi"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    EXPECT_EQ(catalogue.names(RecordingKind::Normal), QStringList({ QStringLiteral("rec_Fahrt_über_Land.avi") }));
    EXPECT_EQ(catalogue.names(RecordingKind::Event), QStringList({ QStringLiteral("evt_주행_20120101.avi") }));
    const std::vector<RecordingEntry> rows = build(catalogue, card, ListCategory::Normal);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].baseName, QStringLiteral("Fahrt_über_Land"));
}

TEST(ScanCatalogueFolder, TheFirstRecordingDecidesTheFormat)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_120000.avi"));
    card.add(QStringLiteral("rec_20120101_130000.mp4"));
    card.add(QStringLiteral("evt_20120101_140000.mp4"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    // Whichever the enumeration met first, the other format is not listed.
    const QString listed = catalogue.isMp4() ? QStringLiteral(".mp4") : QStringLiteral(".avi");
    QStringList all = catalogue.names(RecordingKind::Normal) + catalogue.names(RecordingKind::Event);
    EXPECT_EQ(all.size(), catalogue.isMp4() ? 2 : 1);
    for (const QString& n : all)
        EXPECT_TRUE(n.endsWith(listed)) << n.toStdString();
}

TEST(ScanCatalogueFolder, Mp4ModelsListOnlyMp4AndAlwaysOpen)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_120000.avi"));
    card.add(QStringLiteral("rec_20120101_123456p.vlm"));
    card.add(QStringLiteral("evt_20120101_130000.MP4"));
    card.add(QString::fromLatin1("evt_20120101_140000.mP4"));
    card.add(QString::fromLatin1("evt_20120101_150000.mp\x14")); // one bit away from the 4
    card.add(QString::fromLatin1("evt_20120101_160000.mpa"));
    for (int model : { 4, 5 }) {
        RecordingCatalogue catalogue;
        EXPECT_TRUE(catalogue.ScanCatalogueFolder(card.root(), model));
        EXPECT_TRUE(catalogue.isMp4());
        EXPECT_TRUE(catalogue.names(RecordingKind::Normal).isEmpty());
        EXPECT_EQ(sorted(catalogue.names(RecordingKind::Event)),
            QStringList({ "evt_20120101_130000.MP4", "evt_20120101_140000.mP4" }));
        EXPECT_EQ(catalogue.markerCount(RecordingKind::Normal), 0);
    }
    CardFolder empty;
    RecordingCatalogue catalogue;
    EXPECT_TRUE(catalogue.ScanCatalogueFolder(empty.root(), 5));
    EXPECT_TRUE(build(catalogue, empty, ListCategory::All).empty());
    EXPECT_FALSE(catalogue.ScanCatalogueFolder(empty.root(), 3));
    EXPECT_FALSE(catalogue.ScanCatalogueFolder(empty.root() + QStringLiteral("missing"), 0));
    EXPECT_TRUE(catalogue.ScanCatalogueFolder(empty.root() + QStringLiteral("missing"), 4));
}

TEST(ScanCatalogueFolder, AMarkerAloneDecidesAvi)
{
    CardFolder card;
    card.add(QStringLiteral("evt_20120101_080000p.vlm"));
    RecordingCatalogue catalogue;
    EXPECT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    EXPECT_FALSE(catalogue.isMp4());
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Event), 1);
}

TEST(ScanCatalogueFolder, ARescanStartsEmpty)
{
    CardFolder first;
    first.add(QStringLiteral("rec_20120101_120000.avi"));
    first.add(QStringLiteral("rec_20120101_123456p.vlm"));
    CardFolder second;
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(first.root(), 0));
    build(catalogue, first, ListCategory::All);
    EXPECT_FALSE(catalogue.ScanCatalogueFolder(second.root(), 0));
    EXPECT_TRUE(catalogue.names(RecordingKind::Normal).isEmpty());
    EXPECT_TRUE(catalogue.savedNames(RecordingKind::Normal).isEmpty());
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Normal), 0);
}

TEST(BuildCategoryEntries, KindViewDropsLeadingMarkersOnly)
{
    CardFolder card;
    card.add(QStringLiteral("evt_20120101_080000p.vlm"), "20120101_081500");
    card.add(QStringLiteral("evt_20120101_090000p.vlm"), "20120101_091500");
    card.add(QStringLiteral("evt_20120101_100000.avi"));
    card.add(QStringLiteral("evt_20120101_110000p.vlm"), "20120101_113000");
    card.add(QStringLiteral("evt_20120101_120000X.avi"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Event), 3);
    const auto rows = build(catalogue, card, ListCategory::Event);
    EXPECT_EQ(rowTexts(rows),
        QStringList({ "Event 20120101_100000 [2012-01-01 10:00:00] 0", "Event 20120101_110000p [11:00:00 ~ 11:30:00] 7",
            "Event 20120101_120000X [2012-01-01 12:00:00X] 1" }));
    EXPECT_TRUE(rows[1].spanMarker);
    EXPECT_EQ(catalogue.names(RecordingKind::Event),
        QStringList({ "evt_20120101_100000.avi", "evt_20120101_110000p.vlm", "evt_20120101_120000X.avi" }));
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Event), 1);
    EXPECT_TRUE(build(catalogue, card, ListCategory::Normal).empty());
}

TEST(BuildCategoryEntries, KindViewOfOnlyMarkersShowsNothing)
{
    CardFolder card;
    card.add(QStringLiteral("pmr_20120101_080000p.vlm"));
    card.add(QStringLiteral("pmr_20120101_090000p.vlm"));
    card.add(QStringLiteral("rec_20120101_100000.avi"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    EXPECT_TRUE(build(catalogue, card, ListCategory::Parking).empty());
    EXPECT_TRUE(catalogue.names(RecordingKind::Parking).isEmpty());
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Parking), 0);
}

TEST(BuildCategoryEntries, AllViewDropsMarkersWhileTheSmallestBaseNameIsOne)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_070000p.vlm"), "20120101_071000");
    card.add(QStringLiteral("pmr_20120101_070000p.vlm"), "20120101_072000");
    card.add(QStringLiteral("evt_20120101_075000p.vlm"), "20120101_075500");
    card.add(QStringLiteral("rec_20120101_080000.avi"));
    card.add(QStringLiteral("pmr_20120101_090000p.vlm"), "20120101_093000");
    card.add(QStringLiteral("evt_20120101_100000.avi"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    auto rows = build(catalogue, card, ListCategory::All);
    SortEntriesByBaseName(rows);
    EXPECT_EQ(rowTexts(rows),
        QStringList({ "Normal 20120101_080000 [2012-01-01 08:00:00] 2",
            "Parking 20120101_090000p [09:00:00 ~ 09:30:00] 7", "Event 20120101_100000 [2012-01-01 10:00:00] 0" }));
    EXPECT_EQ(catalogue.names(RecordingKind::Normal), QStringList({ "rec_20120101_080000.avi" }));
    EXPECT_EQ(catalogue.names(RecordingKind::Event), QStringList({ "evt_20120101_100000.avi" }));
    EXPECT_EQ(catalogue.names(RecordingKind::Parking), QStringList({ "pmr_20120101_090000p.vlm" }));
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Normal), 0);
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Event), 0);
    EXPECT_EQ(catalogue.markerCount(RecordingKind::Parking), 1);
    // The saved lists keep what the scan found.
    EXPECT_EQ(catalogue.savedNames(RecordingKind::Normal).size(), 2);
}

TEST(BuildCategoryEntries, AllViewListsEventsThenParkingThenNormal)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_120000.avi"));
    card.add(QStringLiteral("evt_20120101_110000.avi"));
    card.add(QStringLiteral("pmr_20120101_130000.avi"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    auto rows = build(catalogue, card, ListCategory::All);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].kindLabel, QStringLiteral("Event"));
    EXPECT_EQ(rows[1].kindLabel, QStringLiteral("Parking"));
    EXPECT_EQ(rows[2].kindLabel, QStringLiteral("Normal"));
    SortEntriesByBaseName(rows);
    EXPECT_EQ(rows[0].kindLabel, QStringLiteral("Event")); // 11:00 before 12:00
}

TEST(BuildCategoryEntries, AllViewRestoresWhatAKindViewDropped)
{
    CardFolder card;
    card.add(QStringLiteral("evt_20120101_070000p.vlm"));
    card.add(QStringLiteral("rec_20120101_060000.avi"));
    card.add(QStringLiteral("evt_20120101_080000.avi"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    EXPECT_EQ(build(catalogue, card, ListCategory::All).size(), 3u); // the marker is not the smallest
    EXPECT_EQ(build(catalogue, card, ListCategory::Event).size(), 1u);
    EXPECT_EQ(catalogue.names(RecordingKind::Event).size(), 1);
    EXPECT_EQ(build(catalogue, card, ListCategory::All).size(), 3u);
    EXPECT_EQ(catalogue.names(RecordingKind::Event).size(), 2);
}

TEST(BuildCategoryEntries, ParkingIconsComeFromTheDataFile)
{
    CardFolder card;
    card.add(QStringLiteral("pmr_20120101_100000.avi"));
    card.addParkingData(QStringLiteral("20120101_100000"), 1);
    card.add(QStringLiteral("pmr_20120101_110000.avi"));
    card.addParkingData(QStringLiteral("20120101_110000"), 2);
    card.add(QStringLiteral("pmr_20120101_120000.avi")); // no data file
    card.add(QStringLiteral("pmr_20120101_130000X.avi"));
    card.addParkingData(QStringLiteral("20120101_130000X"), 1); // 16 characters: never read
    card.add(QStringLiteral("pmr_20120101_140000.avi"));
    card.add(QStringLiteral("pmr_20120101_140000.dat"), QByteArray("SENS\xff\xff\xff\x7f", 8));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    auto rows = build(catalogue, card, ListCategory::Parking);
    // The build reads no data file: the rows that need one wait for the list to ask.
    QList<bool> pending;
    for (const RecordingEntry& e : rows)
        pending << e.iconPending;
    EXPECT_EQ(pending, QList<bool>({ true, true, true, false, true }));
    // The byte is read when the icon is asked for, not when the card was opened.
    card.addParkingData(QStringLiteral("20120101_110000"), 1);
    catalogue.ResolveEntryIcons(rows);
    QList<int> icons;
    for (const RecordingEntry& e : rows) {
        icons << e.iconIndex.value_or(-1);
        EXPECT_FALSE(e.iconPending);
    }
    EXPECT_EQ(icons, QList<int>({ 5, 5, 4, 6, 4 }));
}

TEST(BuildCategoryEntries, EntryOfAnEventRecording)
{
    CardFolder card;
    card.add(QStringLiteral("evt_20120101_123456.avi"));
    card.add(QStringLiteral("rec_2012.avi"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    auto rows = build(catalogue, card, ListCategory::All);
    SortEntriesByBaseName(rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].baseName, QStringLiteral("2012"));
    EXPECT_FALSE(rows[0].iconIndex.has_value());
    const RecordingEntry& e = rows[1];
    EXPECT_EQ(e.kindLabel, QStringLiteral("Event"));
    EXPECT_EQ(e.baseName, QStringLiteral("20120101_123456"));
    EXPECT_EQ(EntryDateText(e), QStringLiteral("2012-01-01 12:34:56"));
    EXPECT_EQ(recordinglist::columnText(e, recordinglist::kDateColumn), QStringLiteral("2012-01-01 12:34:56"));
    EXPECT_EQ(e.iconIndex, 0);
    EXPECT_EQ(catalogue.videoPath(e.kindLabel, EntryDateText(e)), card.root() + QStringLiteral("evt_20120101_123456.avi"));
    EXPECT_EQ(catalogue.dataPath(e.kindLabel, e.baseName), card.root() + QStringLiteral("evt_20120101_123456.dat"));
}

TEST(RemoveCatalogueName, ADeletedRecordingStaysGoneInTheAllView)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_100000.avi"));
    card.add(QStringLiteral("rec_20120101_110000.avi"));
    card.add(QStringLiteral("evt_20120101_120000.avi"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    EXPECT_EQ(build(catalogue, card, ListCategory::All).size(), 3u);
    catalogue.RemoveCatalogueName(RecordingKind::Normal, card.root() + QStringLiteral("rec_20120101_100000.avi"));
    EXPECT_EQ(catalogue.names(RecordingKind::Normal), QStringList({ "rec_20120101_110000.avi" }));
    // Case matters, and a name of another kind is not touched.
    catalogue.RemoveCatalogueName(RecordingKind::Normal, card.root() + QStringLiteral("REC_20120101_110000.avi"));
    catalogue.RemoveCatalogueName(RecordingKind::Event, card.root() + QStringLiteral("rec_20120101_110000.avi"));
    EXPECT_EQ(catalogue.names(RecordingKind::Normal).size(), 1);
    const auto rows = build(catalogue, card, ListCategory::All);
    EXPECT_EQ(rows.size(), 2u);
    for (const RecordingEntry& e : rows)
        EXPECT_NE(e.baseName, QStringLiteral("20120101_100000"));
}

} // namespace

namespace {

TEST(BuildCategoryEntries, AMarkerThatCannotBeReadEndsWithTheTilde)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_100000.avi"));
    card.addFolder(QStringLiteral("rec_20120101_110000p.vlm"));
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(card.root(), 0));
    catalogue.setFolder(card.path());
    auto rows = catalogue.BuildCategoryEntries(ListCategory::Normal);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(EntryDateText(rows[1]), QStringLiteral("11:00:00 ~ "));
    EXPECT_EQ(rows[1].iconIndex, 7);
}

} // namespace

namespace {

// A build for the list leaves the span markers' end times in their files; read later, every row comes out
// as the build that reads them at once makes it, in every category.
TEST(BuildCategoryEntries, MarkerDatesReadWhenShownEqualThoseReadAtOnce)
{
    const ListCategory categories[]
        = { ListCategory::All, ListCategory::Event, ListCategory::Parking, ListCategory::Normal };
    for (const ListCategory category : categories) {
        CardFolder card;
        card.add(QStringLiteral("rec_20120101_100000.avi"));
        card.add(QStringLiteral("rec_20120101_110000p.vlm"), "20120101_113000");
        card.add(QStringLiteral("evt_20120101_120000.avi"));
        card.add(QStringLiteral("evt_20120101_130000p.vlm"), "20120101_131500");
        card.add(QStringLiteral("pmr_20120101_140000.avi"));
        card.add(QStringLiteral("pmr_20120101_150000p.vlm")); // no end time in it
        card.add(QStringLiteral("rec_20120101_16|0000p.vlm"), "20120101_170000"); // a bar: read at once
        RecordingCatalogue now;
        RecordingCatalogue later;
        ASSERT_TRUE(now.ScanCatalogueFolder(card.root(), 0));
        ASSERT_TRUE(later.ScanCatalogueFolder(card.root(), 0));
        now.setFolder(card.path());
        later.setFolder(card.path());
        const std::vector<RecordingEntry> read = now.BuildCategoryEntries(category);
        std::vector<RecordingEntry> pending
            = later.BuildCategoryEntries(category, RecordingCatalogue::MarkerDates::WhenShown);
        ASSERT_EQ(pending.size(), read.size()) << int(category);
        int pendingCount = 0;
        for (RecordingEntry& e : pending) {
            EXPECT_EQ(e.datePending,
                e.spanMarker && !e.baseName.contains(QLatin1Char('|'))
                    && !e.baseName.startsWith(QLatin1String("20120101_16")))
                << qPrintable(e.baseName);
            if (e.datePending) {
                ++pendingCount;
                EXPECT_TRUE(e.dateText.isEmpty());
            }
            later.ResolveEntryDate(e);
            EXPECT_FALSE(e.datePending);
            later.ResolveEntryDate(e); // a second call changes nothing
        }
        EXPECT_EQ(pendingCount, category == ListCategory::All ? 3 : 1) << int(category);
        EXPECT_EQ(rowTexts(pending), rowTexts(read)) << int(category);
        for (size_t i = 0; i < read.size(); ++i)
            EXPECT_EQ(pending[i].spanMarker, read[i].spanMarker);
    }
}

} // namespace

namespace {

// The scan works out the All view's base names while it reads the folder; the view built from them must equal
// the one built from the name lists alone (the second build of the same catalogue, whose scan results are
// spent), for names of every shape: prefixes and extensions repeated inside, letter case, markers, names
// beyond ASCII, and files of the other format or no recording at all.
TEST(BuildCategoryEntries, TheScansBaseNamesEqualThoseOfTheNameLists)
{
    std::mt19937 random(7);
    const QStringList prefixes { "rec_", "evt_", "pmr_", "REC_", "dat_" };
    const QStringList pieces { "2026", "0101", "_", "1234", "p", "rec_", "evt_", ".avi", ".vlm", ".mp4", "x",
        QString::fromUtf8("\u00e9"), "A", "|" };
    const QStringList extensions { ".avi", ".avi", ".avi", ".AVI", ".Avi", ".vlm", ".VLM", ".mp4", ".dat", "" };
    for (const bool mp4Card : { false, true }) {
        CardFolder card;
        QSet<QString> written;
        for (int i = 0; i < 400; ++i) {
            QString name = prefixes[static_cast<qsizetype>(random() % prefixes.size())];
            const int count = 1 + static_cast<int>(random() % 5);
            for (int j = 0; j < count; ++j)
                name += pieces[static_cast<qsizetype>(random() % pieces.size())];
            QString extension = extensions[static_cast<qsizetype>(random() % extensions.size())];
            if (mp4Card) // mostly the card's own format, and a few of the other
                extension.replace(QStringLiteral("avi"), QStringLiteral("mp4")).replace(QStringLiteral("AVI"), QStringLiteral("MP4"));
            name += extension;
            if (!written.contains(name)) {
                written.insert(name);
                card.add(name, QByteArray("20260101_235959"));
            }
        }
        for (const auto dates : { RecordingCatalogue::MarkerDates::Read, RecordingCatalogue::MarkerDates::WhenShown }) {
            RecordingCatalogue catalogue;
            catalogue.ScanCatalogueFolder(card.root(), mp4Card ? 4 : 0);
            catalogue.setFolder(card.path());
            const std::vector<RecordingEntry> fromScan = catalogue.BuildCategoryEntries(ListCategory::All, dates);
            const std::vector<RecordingEntry> fromLists = catalogue.BuildCategoryEntries(ListCategory::All, dates);
            EXPECT_GT(fromScan.size(), 50u) << mp4Card;
            EXPECT_EQ(rowTexts(fromScan), rowTexts(fromLists)) << mp4Card;
            // Each row's base name is MakeBaseName's for its file name (a marker's up to a bar in it, where the
            // row's text is split), in the order of the kept names: events, parking, normal.
            QStringList expected;
            for (const RecordingKind kind : { RecordingKind::Event, RecordingKind::Parking, RecordingKind::Normal }) {
                for (const QString& name : catalogue.names(kind)) {
                    const QString base = MakeBaseName(name, catalogue.videoExtension());
                    expected << (base.endsWith(QLatin1Char('p')) ? base.left(base.indexOf(QLatin1Char('|'))) : base);
                }
            }
            QStringList bases;
            for (const RecordingEntry& e : fromScan)
                bases << e.baseName;
            EXPECT_EQ(bases, expected) << mp4Card;
        }
    }
}

} // namespace

namespace {

// The scan's base names serve only the name lists as the scan left them: a name removed, or a kind view that
// dropped leading markers, must show in the All view as it does without them.
TEST(BuildCategoryEntries, TheScansBaseNamesServeOnlyTheListsAsScanned)
{
    CardFolder card;
    for (const char* name : { "rec_20120101_100000.avi", "rec_20120101_110000.avi", "evt_20120101_120000.avi",
             "evt_20110101_090000p.vlm", "pmr_20120101_130000.avi" })
        card.add(QString::fromLatin1(name), QByteArray("20110101_091000"));
    RecordingCatalogue removed;
    ASSERT_TRUE(removed.ScanCatalogueFolder(card.root(), 0));
    removed.setFolder(card.path());
    removed.RemoveCatalogueName(RecordingKind::Normal, card.root() + QStringLiteral("rec_20120101_100000.avi"));
    QStringList bases;
    for (const RecordingEntry& e : build(removed, card, ListCategory::All))
        bases << e.baseName;
    bases.sort();
    EXPECT_EQ(bases, QStringList({ "20120101_110000", "20120101_120000", "20120101_130000" }));

    RecordingCatalogue viewed;
    ASSERT_TRUE(viewed.ScanCatalogueFolder(card.root(), 0));
    EXPECT_EQ(build(viewed, card, ListCategory::Event).size(), 1u); // the leading marker is dropped there
    RecordingCatalogue fresh;
    ASSERT_TRUE(fresh.ScanCatalogueFolder(card.root(), 0));
    EXPECT_EQ(rowTexts(build(viewed, card, ListCategory::All)), rowTexts(build(fresh, card, ListCategory::All)));
}

} // namespace
